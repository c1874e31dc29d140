// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QTimer>

#include <gtest/gtest.h>

using mrb::ui::fittedText;

namespace
{

const QString longPath = QStringLiteral("/") + QString(80000, QLatin1Char('x')) + QStringLiteral("/list.txt");
const QString message = QStringLiteral("Cannot output to '") + longPath + QStringLiteral("': No space left on device!");

} // namespace

TEST(MessageBox, FittedTextKeepsBothEndsOfWhatItCuts)
{
    const QFontMetrics metrics(QApplication::font());
    const int width = 400;
    const QSize room(width, 5 * metrics.lineSpacing());
    const QString manyLines = QStringLiteral("a\nb\nc\nd\ne\nf\ng");
    const QString longWords = QStringLiteral("Outputted 12 items to '/a/b c/d e/f g/h/i/j/k' successfully!");
    const struct {
        const char *name;
        QString text;
        QString start;
        QString end;
        int lines;
    } cases[] = {
        {"short: as it is", QStringLiteral("Ready."), QStringLiteral("Ready."), QStringLiteral("Ready."), 1},
        {"wrapped at its blanks: as it is", longWords, longWords, longWords, 1},
        {"a long path: cut in its middle",
            message,
            QStringLiteral("Cannot output to '/x"),
            QStringLiteral("device!"),
            1},
        {"too many lines: the middle ones go", manyLines, QStringLiteral("a\nb\n…\n"), QStringLiteral("\nf\ng"), 5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString fitted = fittedText(c.text, metrics, room);
        EXPECT_TRUE(fitted.startsWith(c.start)) << fitted.left(100).toStdString();
        EXPECT_TRUE(fitted.endsWith(c.end)) << fitted.right(100).toStdString();
        const QStringList lines = fitted.split(QLatin1Char('\n'));
        EXPECT_EQ(lines.size(), c.lines);
        for (const QString &line : lines)
            EXPECT_LE(metrics.boundingRect(QRect(0, 0, width, 1000), Qt::TextWordWrap, line).width(), width);
    }
}

// A message box with an 80,000-character path used to grow far past the screen.
TEST(MessageBox, AVeryLongPathStillFitsTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QSize shown;
    QString text;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->size();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    mrb::ui::showMessageBox(nullptr, QMessageBox::Warning, message);
    EXPECT_GT(shown.width(), 0);
    EXPECT_LE(shown.width(), screen.width());
    EXPECT_LE(shown.height(), screen.height());
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot output to '/xx"))) << text.left(100).toStdString();
}
