// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/frmPubMain.h"
#include "app/window/singleinstance.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // a second start while the program runs ends at once, silently
    const mrb::ui::SingleInstance instance;
    if (!instance.isFirst())
        return 0;
    QApplication app(argc, argv);
    // the desktop shows the window with the installed entry's name and icon
    QGuiApplication::setDesktopFileName(QStringLiteral("marrowby"));
    mrb::ui::frmPubMain window(mrb::ui::createStartupObjects(QCoreApplication::applicationDirPath().toStdString()));
    window.show();
    return app.exec();
}
