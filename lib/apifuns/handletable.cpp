// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/handletable.h"

#include <QObject>
#include <QPointer>

#include <mutex>
#include <unordered_map>

namespace qfc::handles
{

namespace
{

struct Entry {
    QPointer<QObject> object;
    HandleKind kind;
};

struct Table {
    std::mutex lock;
    std::unordered_map<std::int32_t, Entry> entries;
    // Numbers start high so that they are never mistaken for small counts,
    // and only grow.
    std::int32_t next = 0x00100001;
};

Table &table()
{
    static Table t;
    return t;
}

} // namespace

std::int32_t handleOf(QObject *object, HandleKind kind)
{
    if (!object)
        return 0;
    Table &t = table();
    const std::lock_guard guard(t.lock);
    for (auto it = t.entries.begin(); it != t.entries.end();) {
        if (!it->second.object) {
            it = t.entries.erase(it); // its object is gone
            continue;
        }
        if (it->second.object == object && it->second.kind == kind)
            return it->first;
        ++it;
    }
    if (t.next == INT32_MAX)
        return 0; // every number has been handed out once
    const std::int32_t handle = t.next++;
    t.entries.emplace(handle, Entry {object, kind});
    return handle;
}

QObject *objectOf(std::int32_t handle, HandleKind kind)
{
    Table &t = table();
    const std::lock_guard guard(t.lock);
    const auto it = t.entries.find(handle);
    if (it == t.entries.end() || it->second.kind != kind)
        return nullptr;
    return it->second.object.data();
}

void forget(std::int32_t handle)
{
    Table &t = table();
    const std::lock_guard guard(t.lock);
    t.entries.erase(handle);
}

} // namespace qfc::handles
