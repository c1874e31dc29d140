// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/options/frmPubOptions.h"

#include "app/options/designfont.h"
#include "app/options/optionsmodel.h"
#include "app/options/regionsettings.h"
#include "app/window/messagebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QStylePainter>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

namespace mrb::ui
{

namespace
{

using core::OptionsModel;

const QColor blue(0, 0, 255);
const QColor red(255, 0, 0);

// A place in twips (1/1440 inch), relative to the parent control.
struct Twips {
    int left, top, width, height;
};

// The client area ends 90 twips beyond the Close button (7980 + 990, 3990 + 360).
constexpr Twips closeButtonPlace {7980, 3990, 990, 360};
constexpr int clientWidthTwips = closeButtonPlace.left + closeButtonPlace.width + 90;
constexpr int clientHeightTwips = closeButtonPlace.top + closeButtonPlace.height + 90;

// The design's twips on the screen, grown with the font in use (FontScale),
// so the proportions stay and every place holds its text.
class Layout
{
public:
    Layout(double dotsPerInch, FontScale scale)
        : m_twipsPerPixel(1440.0 / (dotsPerInch > 0 ? dotsPerInch : 96.0))
        , m_scale(scale)
    {
    }

    int pixelsX(int twips) const { return static_cast<int>(std::lround(m_scale.width(twips) / m_twipsPerPixel)); }
    int pixelsY(int twips) const { return static_cast<int>(std::lround(m_scale.height(twips) / m_twipsPerPixel)); }

    QRect rect(const Twips &t) const { return {pixelsX(t.left), pixelsY(t.top), pixelsX(t.width), pixelsY(t.height)}; }

    // A control with a caption: never narrower than its caption needs, so
    // no text is cut. It only grows taller when the text or the indicator
    // would not fit, and then by the same amount above and below, so the
    // caption stays on the line its place gives.
    void placeCaptioned(QWidget *w, const Twips &t) const
    {
        QRect r = rect(t);
        r.setWidth(std::max(r.width(), w->sizeHint().width()));
        int needed = w->fontMetrics().height();
        if (qobject_cast<QCheckBox *>(w))
            needed = std::max(needed, w->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, w));
        else if (qobject_cast<QRadioButton *>(w))
            needed = std::max(needed, w->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, w));
        if (needed > r.height()) {
            r.translate(0, -((needed - r.height()) / 2));
            r.setHeight(needed);
        }
        w->setGeometry(r);
    }

private:
    double m_twipsPerPixel;
    FontScale m_scale;
};

// Where a control's caption ends, in its parent's coordinates.
int captionRight(QWidget *w)
{
    if (auto *l = qobject_cast<QLabel *>(w))
        return w->x() + w->fontMetrics().horizontalAdvance(l->text());
    auto *b = qobject_cast<QAbstractButton *>(w);
    if (!b)
        return w->x() + w->width();
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    const auto element = qobject_cast<QCheckBox *>(w) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
    const QString caption = b->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
    return w->x() + w->style()->subElementRect(element, &option, w).left()
        + w->fontMetrics().horizontalAdvance(caption);
}

// A caption in the design face can come out a few pixels wider than its
// place, and then reads as one phrase with the caption after it. Each control
// of the row moves right until it keeps this many pixels from the caption
// before it; a combo box gives up that much of its width instead, so what
// follows it stays in place.
constexpr int captionClearance = 6;

void keepCaptionsApart(std::initializer_list<QWidget *> controls)
{
    const std::vector<QWidget *> row(controls);
    for (std::size_t i = 1; i < row.size(); ++i) {
        const int shortfall = captionRight(row[i - 1]) + captionClearance - row[i]->x();
        if (shortfall <= 0)
            continue;
        QRect r = row[i]->geometry();
        if (qobject_cast<QComboBox *>(row[i]))
            r.setLeft(r.left() + shortfall);
        else
            r.translate(shortfall, 0);
        row[i]->setGeometry(r);
    }
}

void setTextColour(QWidget *w, const QColor &colour)
{
    QPalette p = w->palette();
    // only the active and inactive looks: a disabled control stays grey
    p.setColor(QPalette::Active, QPalette::WindowText, colour);
    p.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    w->setPalette(p);
}

// A frame whose caption alone has its own colour: a palette would pass the
// colour on to every control inside, and a style sheet their fonts.
class CaptionFrame : public QGroupBox
{
public:
    CaptionFrame(const QString &caption, const QColor &colour, QWidget *parent)
        : QGroupBox(caption, parent)
        , m_colour(colour)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        if (isEnabled()) {
            // some styles take the caption's colour from the option, others
            // from its palette
            option.textColor = m_colour;
            option.palette.setColor(QPalette::WindowText, m_colour);
        }
        painter.drawComplexControl(QStyle::CC_GroupBox, option);
    }

private:
    QColor m_colour;
};

// The small pictures of the two picture buttons, drawn where the icon theme
// has none.
QIcon drawnFolderIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(140, 100, 20));
    p.setBrush(QColor(240, 200, 80));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.5, 3.5);
    back.lineTo(8, 5.5);
    back.lineTo(13.5, 5.5);
    back.lineTo(13.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 220, 120));
    QPainterPath front;
    front.moveTo(3.5, 7.5);
    front.lineTo(15.5, 7.5);
    front.lineTo(13.5, 13.5);
    front.lineTo(1.5, 13.5);
    front.closeSubpath();
    p.drawPath(front);
    return QIcon(pm);
}

QIcon drawnCalendarIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 12);
    p.fillRect(2, 3, 12, 3, QColor(200, 40, 40));
    p.setPen(QColor(90, 90, 90));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col)
            p.drawPoint(3 + col * 3, 8 + row * 2);
    }
    return QIcon(pm);
}

QIcon themeIcon(std::initializer_list<const char *> names, const QIcon &fallback)
{
    for (const char *name : names) {
        const QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
        if (!icon.isNull())
            return icon;
    }
    return fallback;
}

QString qs(const std::string &utf8)
{
    return QString::fromStdString(utf8);
}

} // namespace

frmPubOptions::frmPubOptions(core::SettingsStore &store,
    core::LibraryApiFuns &api,
    platform::FileSystem &fs,
    std::function<void()> applyDisplaySettings,
    QWidget *parent)
    : QDialog(parent)
    , m_openRegionSettings([] { core::openRegionSettings(); })
{
    // The model calls through this form's launcher, so a test can replace it
    // after construction.
    m_model = std::make_unique<OptionsModel>(store, api, fs, std::move(applyDisplaySettings), [this] {
        if (m_openRegionSettings)
            m_openRegionSettings();
    });

    setObjectName(QStringLiteral("frmPubOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    buildControls();
    connectControls();
    refresh();
}

frmPubOptions::~frmPubOptions() = default;

void frmPubOptions::setRegionSettingsLauncher(std::function<void()> launcher)
{
    m_openRegionSettings = std::move(launcher);
}

void frmPubOptions::buildControls()
{
    const Layout layout(logicalDpiX(), FontScale::of(font()));
    const auto label = [&](int index, const char *caption, QWidget *parent, const Twips &place) {
        auto *w = new QLabel(QString::fromLatin1(caption), parent);
        w->setObjectName(QStringLiteral("lbl%1").arg(index));
        // labels show their text as it is, never as markup
        w->setTextFormat(Qt::PlainText);
        layout.placeCaptioned(w, place);
        lbl[index] = w;
        return w;
    };
    const auto checkBox = [&](int index, const char *caption, QWidget *parent, const Twips &place) {
        auto *w = new QCheckBox(QString::fromLatin1(caption), parent);
        w->setObjectName(QStringLiteral("cbx%1").arg(index));
        layout.placeCaptioned(w, place);
        cbx[index] = w;
        return w;
    };
    const auto option = [&](int index, const char *caption, QWidget *parent, const Twips &place) {
        auto *w = new QRadioButton(QString::fromLatin1(caption), parent);
        w->setObjectName(QStringLiteral("opt%1").arg(index));
        layout.placeCaptioned(w, place);
        opt[index] = w;
        return w;
    };
    const auto textBox = [&](int index, QWidget *parent, const Twips &place) {
        auto *w = new QLineEdit(parent);
        w->setObjectName(QStringLiteral("txt%1").arg(index));
        w->setGeometry(layout.rect(place));
        txt[index] = w;
        return w;
    };
    const auto frame = [&](int index, const char *caption, const Twips &place) {
        auto *w = new CaptionFrame(QString::fromLatin1(caption), blue, this);
        w->setObjectName(QStringLiteral("fra%1").arg(index));
        w->setGeometry(layout.rect(place));
        fra[index] = w;
        return w;
    };
    const auto pictureButton =
        [&](const char *name, const char *tip, const QIcon &icon, QWidget *parent, const Twips &place) {
            auto *w = new QToolButton(parent);
            w->setObjectName(QString::fromLatin1(name));
            w->setToolTip(QString::fromLatin1(tip));
            w->setIcon(icon);
            w->setIconSize(QSize(16, 16));
            w->setGeometry(layout.rect(place));
            return w;
        };
    const auto button = [&](const char *name, const char *caption, const char *tip, const Twips &place) {
        auto *w = new QPushButton(QString::fromLatin1(caption), this);
        w->setObjectName(QString::fromLatin1(name));
        w->setToolTip(QString::fromLatin1(tip));
        w->setGeometry(layout.rect(place));
        return w;
    };

    // Output
    QGroupBox *output = frame(0, "Output", {90, 90, 8880, 1635});
    setTextColour(label(2, "These options affect the output file only.", output, {90, 270, 2955, 195}), blue);
    label(1, "File Type", output, {90, 615, 645, 195});
    option(0, "Playlist", output, {825, 615, 795, 195});
    option(1, "PowerBuilder Resources", output, {1710, 615, 2025, 195});
    option(2, "Customize", output, {3825, 615, 1035, 195});
    label(5, "Separator", output, {4950, 615, 720, 195});
    cbbSeparator = new QComboBox(output);
    cbbSeparator->setObjectName(QStringLiteral("cbbSeparator"));
    cbbSeparator->setEditable(true);
    // a typed separator is a value, not a new entry of the list
    cbbSeparator->setInsertPolicy(QComboBox::NoInsert);
    for (std::string_view choice : OptionsModel::separatorChoices)
        cbbSeparator->addItem(QString::fromUtf8(choice.data(), static_cast<qsizetype>(choice.size())));
    cbbSeparator->setGeometry(layout.rect({5760, 555, 1320, 315}));
    label(3, "Repeat", output, {7170, 615, 525, 195});
    textBox(OptionsModel::RepeatText, output, {7785, 562, 405, 300});
    label(0, "Times", output, {8280, 615, 405, 195});
    checkBox(0, "Standard mode (full path and name).", output, {90, 960, 2955, 195});
    checkBox(1, "Output headers.", output, {3135, 960, 1500, 195});
    setTextColour(
        checkBox(2, "Delete files/folders really after outputted listing.", output, {4725, 960, 3765, 195}), red);
    keepCaptionsApart({opt[1], opt[2], lbl[5], cbbSeparator});
    keepCaptionsApart({cbx[0], cbx[1], cbx[2]});
    label(4, "Output Path", output, {90, 1305, 885, 195});
    textBox(OptionsModel::PathText, output, {1065, 1245, 7335, 300});
    sbtChoose = pictureButton("sbtChoose",
        "Chooses an output folder.",
        themeIcon({"folder-open", "document-open-folder"}, drawnFolderIcon()),
        output,
        {8490, 1245, 300, 300});

    // Common
    QGroupBox *common = frame(1, "Common", {90, 1815, 8895, 2085});
    setTextColour(label(8, "These options affect the display and output file.", common, {90, 270, 3465, 195}), blue);
    label(7, "Precision Of Size", common, {90, 608, 1185, 195});
    textBox(OptionsModel::PrecisionText, common, {1365, 555, 405, 300});
    label(6, "Unit Of Size", common, {1860, 608, 840, 195});
    // The unit buttons sit in a borderless container of their own so that
    // they form a group apart from the item-kind buttons.
    Frame1 = new QWidget(common);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(layout.rect({2790, 615, 2550, 255}));
    // Their widths reach to the next button's left, less a small gap.
    option(3, "Bytes", Frame1, {0, 0, 705, 195});
    option(4, "KB", Frame1, {795, 0, 480, 195});
    option(5, "MB", Frame1, {1365, 0, 510, 195});
    option(6, "GB", Frame1, {1965, 0, 585, 195});
    sbtDTF = pictureButton("sbtDTF",
        "Changes the date time format.",
        themeIcon({"preferences-system-time", "x-office-calendar"}, drawnCalendarIcon()),
        common,
        {5340, 555, 300, 300});
    label(9, "Displays and outputs the following fileds:", common, {90, 945, 2940, 195});
    checkBox(5, "Name", common, {90, 1230, 705, 195});
    checkBox(6, "Path", common, {885, 1230, 630, 195});
    checkBox(7, "Size", common, {1605, 1230, 585, 195});
    checkBox(8, "Type", common, {2280, 1230, 660, 195});
    checkBox(10, "Created Date", common, {3030, 1230, 1275, 195});
    checkBox(9, "Modified Date", common, {4395, 1230, 1290, 195});
    checkBox(11, "Last Accessed Date", common, {5775, 1230, 1710, 195});
    checkBox(3, "When add a folder to the destination listing:", common, {90, 1515, 3465, 195});
    label(11, "add all", common, {90, 1800, 465, 195});
    option(7, "files", common, {645, 1800, 585, 195});
    option(8, "folders", common, {1320, 1800, 795, 195});
    option(9, "files && folders", common, {2205, 1800, 1380, 195});
    label(10, "under the selected folder and all its sub folders simultaneously.", common, {3585, 1800, 4530, 195});

    checkBox(12, "Do not show this dialog box when perform the <Make> command.", this, {90, 4073, 5145, 195});
    sbtOK = button("sbtOK", "OK", "Confirms your changes and closes this dialog box.", {5820, 3990, 990, 360});
    sbtRestore = button("sbtRestore", "Restore", "Restores the default settings.", {6900, 3990, 990, 360});
    sbtClose = button("sbtClose", "Close", "Cancels your changes and closes this dialog box <Esc>.", closeButtonPlace);
    // Enter presses OK wherever the focus is, but on another button, which
    // it presses instead; Esc is Close (reject)
    sbtOK->setDefault(true);

    for (int index : {OptionsModel::RepeatText, OptionsModel::PrecisionText})
        txt[index]->installEventFilter(this);
    // an editable combo box keeps Enter and Esc for itself
    cbbSeparator->lineEdit()->installEventFilter(this);

    setFixedSize(layout.pixelsX(clientWidthTwips), layout.pixelsY(clientHeightTwips));
}

void frmPubOptions::connectControls()
{
    for (int i = 0; i < static_cast<int>(cbx.size()); ++i) {
        if (cbx[i])
            connect(cbx[i], &QCheckBox::clicked, this, [this, i] { onCheckBoxClicked(i); });
    }
    for (int i = 0; i < static_cast<int>(opt.size()); ++i)
        connect(opt[i], &QRadioButton::clicked, this, [this, i] { onOptionClicked(i); });
    for (int i = 0; i < static_cast<int>(txt.size()); ++i) {
        if (txt[i])
            connect(txt[i], &QLineEdit::textEdited, this, [this, i](const QString &t) { onTextEdited(i, t); });
    }
    connect(cbbSeparator->lineEdit(), &QLineEdit::textEdited, this, &frmPubOptions::onSeparatorEdited);
    connect(cbbSeparator, &QComboBox::textActivated, this, &frmPubOptions::onSeparatorEdited);
    connect(sbtChoose, &QToolButton::clicked, this, &frmPubOptions::onChooseFolder);
    connect(sbtDTF, &QToolButton::clicked, this, &frmPubOptions::onDateFormat);
    connect(sbtOK, &QPushButton::clicked, this, &frmPubOptions::onOk);
    connect(sbtRestore, &QPushButton::clicked, this, &frmPubOptions::onRestore);
    connect(sbtClose, &QPushButton::clicked, this, &frmPubOptions::reject);
}

void frmPubOptions::showModal()
{
    m_model->open();
    refresh();
    exec();
}

void frmPubOptions::refresh()
{
    const OptionsModel &m = *m_model;
    for (int i = 0; i < static_cast<int>(cbx.size()); ++i) {
        if (!cbx[i])
            continue;
        cbx[i]->setChecked(m.isChecked(i));
        cbx[i]->setEnabled(m.isCheckBoxEnabled(i));
    }
    for (int i = 0; i < static_cast<int>(opt.size()); ++i) {
        QRadioButton *b = opt[i];
        const bool selected = m.isSelected(i);
        if (b->isChecked() != selected) {
            // A group may have no selection at all (an unknown stored value);
            // an exclusive button refuses to be cleared, so let go briefly.
            b->setAutoExclusive(false);
            b->setChecked(selected);
            b->setAutoExclusive(true);
        }
        b->setEnabled(m.isOptionEnabled(i));
    }
    for (int i = 0; i < static_cast<int>(txt.size()); ++i) {
        if (!txt[i])
            continue;
        const QString value = qs(m.text(i));
        // left alone when equal, so the cursor and selection stay
        if (txt[i]->text() != value)
            txt[i]->setText(value);
        txt[i]->setEnabled(m.isTextEnabled(i));
    }
    for (int i = 0; i < static_cast<int>(lbl.size()); ++i)
        lbl[i]->setEnabled(m.isLabelEnabled(i));
    const QString separator = qs(m.separatorText());
    if (cbbSeparator->currentText() != separator)
        cbbSeparator->setEditText(separator);
    cbbSeparator->setEnabled(m.isSeparatorEnabled());
}

bool frmPubOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == cbbSeparator->lineEdit()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            sbtOK->click();
            return true;
        }
        if (key == Qt::Key_Escape) {
            reject();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        for (int index : {OptionsModel::RepeatText, OptionsModel::PrecisionText}) {
            if (watched != txt[index])
                continue;
            const auto *key = static_cast<QKeyEvent *>(event);
            // Only typed characters are filtered; Tab, the arrows and the
            // editing shortcuts (control characters) keep working.
            for (char32_t c : key->text().toUcs4()) {
                if (c >= 0x20 && c != 0x7f && !OptionsModel::acceptsKey(index, c))
                    return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmPubOptions::onCheckBoxClicked(int index)
{
    m_model->clickCheckBox(index);
    refresh();
}

void frmPubOptions::onOptionClicked(int index)
{
    m_model->selectOption(index);
    refresh();
}

void frmPubOptions::onTextEdited(int index, const QString &text)
{
    QLineEdit *edit = txt[index];
    if (!m_model->setText(index, text.toStdString())) {
        // refused (a second digit, a pasted letter): the box keeps its text
        const int cursor = edit->cursorPosition();
        edit->setText(qs(m_model->text(index)));
        edit->setCursorPosition(std::min(std::max(cursor - 1, 0), static_cast<int>(edit->text().size())));
    }
    refresh();
}

void frmPubOptions::onSeparatorEdited(const QString &text)
{
    if (!m_model->setSeparatorText(text.toStdString()))
        cbbSeparator->setEditText(qs(m_model->separatorText()));
    refresh();
}

void frmPubOptions::onChooseFolder()
{
    m_model->chooseFolder(static_cast<core::WinHandle>(winId()));
    refresh();
}

void frmPubOptions::onDateFormat()
{
    m_model->changeDateFormat();
    refresh();
}

void frmPubOptions::onOk()
{
    const core::OkResult result = m_model->ok();
    if (result.outcome == core::OkOutcome::Closed) {
        accept();
        return;
    }
    showMessageBox(this, QMessageBox::Warning, qs(result.message));
    if (result.focusTextBox < 0 || result.focusTextBox >= static_cast<int>(txt.size()) || !txt[result.focusTextBox])
        return;
    QLineEdit *edit = txt[result.focusTextBox];
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void frmPubOptions::onRestore()
{
    m_model->restore();
    refresh();
}

void frmPubOptions::reject()
{
    m_model->close();
    QDialog::reject();
}

} // namespace mrb::ui
