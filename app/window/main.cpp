// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/window/frmPubMain.h"
#include "app/window/raisechannel.h"
#include "app/window/singleinstance.h"

#include <QApplication>

int main(int argc, char **argv)
{
    const mrb::ui::SingleInstance instance;
    if (!instance.isFirst()) {
        // a second start brings the running window to the front and ends at once, silently
        QCoreApplication asking(argc, argv);
        mrb::ui::RaiseChannel::askToRaise(mrb::ui::RaiseChannel::defaultPath());
        return 0;
    }
    QApplication app(argc, argv);
    // the desktop shows the window with the installed entry's name and icon
    QGuiApplication::setDesktopFileName(QStringLiteral("marrowby"));
    mrb::ui::frmPubMain window(mrb::ui::createStartupObjects(QCoreApplication::applicationDirPath().toStdString()));
    const mrb::ui::RaiseChannel channel(mrb::ui::RaiseChannel::defaultPath(), [&window] { window.bringToFront(); });
    window.show();
    return app.exec();
}
