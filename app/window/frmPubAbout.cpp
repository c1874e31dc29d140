// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/frmPubAbout.h"

#include "app/options/designfont.h"
#include "app/window/icons.h"
#include "app/window/mainlayout.h"
#include "app/window/weblinks.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace mrb::ui
{

frmPubAbout::frmPubAbout(LinkOpener openLink, QWidget *parent)
    : QDialog(parent)
    , m_openLink(std::move(openLink))
{
    setObjectName(QStringLiteral("frmPubAbout"));
    setWindowTitle(QStringLiteral("About Marrowby"));
    setModal(true);
    const PixelGrid grid = PixelGrid::forDpi(logicalDpiX());
    // the design's twips grown with the font in use, so every text has its room
    const FontScale scale = FontScale::of(font());
    const auto x = [&grid, &scale](double twips) { return grid.toPixels(scale.width(twips)); };
    const auto y = [&grid, &scale](double twips) { return grid.toPixels(scale.height(twips)); };
    const auto rect = [&x, &y](const TwipRect &r) { return QRect(x(r.left), y(r.top), x(r.width), y(r.height)); };
    // a label never narrower than its text needs
    const auto place = [&rect](QWidget *w, const TwipRect &r) {
        QRect g = rect(r);
        g.setWidth(std::max(g.width(), w->sizeHint().width()));
        g.setHeight(std::max(g.height(), w->sizeHint().height()));
        w->setGeometry(g);
    };

    auto *fra = new QFrame(this);
    fra->setObjectName(QStringLiteral("fra"));
    fra->setFrameStyle(QFrame::Box | QFrame::Sunken);
    fra->setGeometry(rect(AboutGeometry::fra));

    m_productLogo = new QLabel(fra);
    m_productLogo->setObjectName(QStringLiteral("imgProdLogo"));
    m_productLogo->setPixmap(icons::productLogo(72));
    m_productLogo->setAlignment(Qt::AlignCenter);
    m_productLogo->setToolTip(QStringLiteral("Opens Marrowby's homepage."));
    m_productLogo->setCursor(Qt::PointingHandCursor);
    m_productLogo->setGeometry(rect({90, 180, 1110, 1110}));
    m_productLogo->installEventFilter(this);

    auto *name = new QLabel(QStringLiteral("Marrowby"), fra);
    name->setObjectName(QStringLiteral("Label1_0"));
    QFont bold = font();
    bold.setBold(true);
    name->setFont(bold);
    place(name, {1320, 180, 1560, 195});

    auto *family = new QLabel(QStringLiteral("Free tools for files and folders"), fra);
    family->setObjectName(QStringLiteral("Label1_1"));
    place(family, {1320, 465, 3915, 195});

    auto *version = new QLabel(QStringLiteral("Version 2.1 (Build 014)"), fra);
    version->setObjectName(QStringLiteral("Label2"));
    place(version, {1320, 750, 1620, 195});

    auto *legal = new QLabel(QStringLiteral("Copyright \u00A9 2026 The Marrowby developers. MIT licence."), fra);
    legal->setObjectName(QStringLiteral("Label3"));
    place(legal, {1320, 1170, 4935, 195});

    m_makerLogo = new QLabel(fra);
    m_makerLogo->setObjectName(QStringLiteral("imgCompLogo"));
    m_makerLogo->setToolTip(QStringLiteral("Visits our homepage."));
    m_makerLogo->setCursor(Qt::PointingHandCursor);
    const QRect makerRect = rect({AboutGeometry::compLogoLeft(),
        AboutGeometry::compLogoTop,
        AboutGeometry::compLogoWidth,
        AboutGeometry::compLogoHeight});
    m_makerLogo->setPixmap(icons::makerLogo(makerRect.width(), makerRect.height()));
    m_makerLogo->setGeometry(makerRect);
    m_makerLogo->installEventFilter(this);

    // The separator keeps the design's distance from the legal line above
    // it, however tall its text; the button and the frame's end move down
    // with it.
    const int lineY = std::max(y(1410), legal->geometry().bottom() + 1 + y(1410 - 1365));
    auto *line = new QFrame(fra);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, lineY - 1, x(7600), 2);

    auto *donate =
        new QPushButton(QStringLiteral("It's 100% Freeware, welcome your donation with any amount as you like."), fra);
    donate->setObjectName(QStringLiteral("cmbDonate"));
    donate->setFont(bold);
    donate->setAutoDefault(false);
    QRect button = rect({90, 1501, 7445, 360});
    button.moveTop(lineY + y(1501 - 1410));
    // as wide as its caption needs, not as roomy as a button would like to be
    const int caption = QFontMetrics(bold).horizontalAdvance(donate->text())
        + 2 * (style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2);
    button.setWidth(std::max(button.width(), caption));
    button.setHeight(std::max(button.height(), donate->sizeHint().height()));
    donate->setGeometry(button);
    connect(donate, &QPushButton::clicked, this, [this] { m_openLink(weblinks::donationPage); });

    // the frame holds whatever grew, with its design margins
    const QRect inside = fra->childrenRect();
    fra->resize(std::max(fra->width(), inside.right() + 1 + x(90)),
        std::max(fra->height(), inside.bottom() + 1 + y(AboutGeometry::fra.bottom() - 1861)));
    // the client area ends 90 twips beyond the frame
    setFixedSize(fra->geometry().right() + 1 + x(90), fra->geometry().bottom() + 1 + y(90));
}

bool frmPubAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == m_productLogo) {
            m_openLink(weblinks::productHomepage);
            return true;
        }
        if (watched == m_makerLogo) {
            m_openLink(weblinks::makerHomepage);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace mrb::ui
