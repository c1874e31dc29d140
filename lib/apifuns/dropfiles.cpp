// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/dropfiles.h"

#include "lib/apifuns/widgets.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <map>

namespace qfc
{

namespace
{

std::map<std::int32_t, std::vector<std::string>> &drops()
{
    static std::map<std::int32_t, std::vector<std::string>> pending;
    return pending;
}

std::vector<std::string> localFilesOf(const QMimeData *data)
{
    std::vector<std::string> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            files.push_back(fromQPath(url.toLocalFile()));
    }
    return files;
}

// Accepts drags of local files and records their drops.
class DropFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget)
            return false;
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto *drag = static_cast<QDropEvent *>(event);
            if (!localFilesOf(drag->mimeData()).empty()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto *drop = static_cast<QDropEvent *>(event);
            const auto files = localFilesOf(drop->mimeData());
            if (!files.empty()) {
                drop->acceptProposedAction();
                recordDrop(widget, files);
                return true;
            }
        }
        return false;
    }
};

constexpr const char *filterName = "qfcDropFilter";

} // namespace

void acceptDroppedFiles(QWidget *widget, bool accept)
{
    if (!widget)
        return;
    auto *existing = widget->findChild<QObject *>(QLatin1String(filterName), Qt::FindDirectChildrenOnly);
    if (accept && !existing) {
        auto *filter = new DropFilter(widget);
        filter->setObjectName(QLatin1String(filterName));
        widget->installEventFilter(filter);
    } else if (!accept && existing) {
        widget->removeEventFilter(existing);
        delete existing;
    }
    widget->setAcceptDrops(accept);
}

std::int32_t recordDrop(QWidget *widget, const std::vector<std::string> &files)
{
    static std::int32_t next = 0;
    if (++next <= 0)
        next = 1;
    drops()[next] = files;
    if (widget) {
        widget->setProperty("hDrop", next);
        QCoreApplication::postEvent(widget, new QEvent(dropFilesEvent));
    }
    return next;
}

std::string takeDroppedFile(std::int32_t handle)
{
    const auto it = drops().find(handle);
    if (it == drops().end())
        return {};
    std::string first = it->second.empty() ? std::string() : it->second.front();
    drops().erase(it);
    return first;
}

} // namespace qfc
