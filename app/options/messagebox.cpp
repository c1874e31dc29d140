// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/options/messagebox.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>

namespace mrb::ui
{

void showMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    const QString title = QStringLiteral("Marrowby");
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    // A title bar shows the title in bold beside the window's icon and its
    // buttons; a short message would leave too little room for it. The box
    // takes no minimum width of its own, but its layout does.
    QFont bold = box.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int titleBar = metrics.horizontalAdvance(title) + 8 * metrics.height();
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        grid->addItem(new QSpacerItem(titleBar, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(),
            0,
            1,
            grid->columnCount());
    }
    box.exec();
}

} // namespace mrb::ui
