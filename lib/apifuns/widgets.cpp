// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/widgets.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QThread>
#include <QWidget>

namespace qfc
{

bool widgetsAvailable()
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    return app && QThread::currentThread() == app->thread();
}

void showPlainMessage(QWidget *owner, const QString &title, const QString &text, MessageKind kind)
{
    QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning : QMessageBox::Information,
        title,
        text,
        QMessageBox::Ok,
        owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QWidget *widgetOf(std::int32_t handle)
{
    if (handle == 0 || !widgetsAvailable())
        return nullptr;
    return QWidget::find(static_cast<WId>(static_cast<std::uint32_t>(handle)));
}

QWidget *ownerOf(std::int32_t handle)
{
    QWidget *widget = widgetOf(handle);
    return widget ? widget->window() : nullptr;
}

QString toQPath(const std::string &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string fromQPath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace qfc
