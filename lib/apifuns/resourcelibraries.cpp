// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/apifuns/resourcelibraries.h"

#include "lib/apifuns/handletable.h"
#include "lib/apifuns/stringtable.h"
#include "platform/os/sharedlibrary.h"

#include <QObject>
#include <QString>

#include <map>
#include <mutex>

namespace qfc
{

namespace
{

// A loaded library as the handle table holds it: the loader's handle and how
// many loads it stands for.
class ResourceLibrary : public QObject
{
public:
    explicit ResourceLibrary(void *module)
        : module(module)
    {
    }
    void *module;
    int loads = 1;
};

// Loads and unloads change the counts; one at a time.
std::mutex &lock()
{
    static std::mutex m;
    return m;
}

// The handle of each loaded module.
std::map<void *, std::int32_t> &loaded()
{
    static std::map<void *, std::int32_t> modules;
    return modules;
}

ResourceLibrary *libraryOf(std::int32_t handle)
{
    return static_cast<ResourceLibrary *>(handles::objectOf(handle, HandleKind::ResourceLibrary));
}

// A table too long to be meant is read no further.
constexpr int mostStrings = 1 << 20;
// What the caller's buffer of 255 characters holds besides its NUL.
constexpr qsizetype longestString = 254;

} // namespace

std::int32_t loadResourceLibrary(const std::string &file)
{
    void *module = mrb::platform::loadSharedLibrary(file);
    if (!module)
        return 0;
    const std::lock_guard guard(lock());
    // The loader hands out one module per file and counts its loads; so do we.
    if (const auto it = loaded().find(module); it != loaded().end()) {
        if (ResourceLibrary *library = libraryOf(it->second)) {
            ++library->loads;
            return it->second;
        }
    }
    auto *library = new ResourceLibrary(module);
    const std::int32_t handle = handles::handleOf(library, HandleKind::ResourceLibrary);
    if (handle == 0) {
        delete library;
        mrb::platform::unloadSharedLibrary(module);
        return 0;
    }
    loaded()[module] = handle;
    return handle;
}

std::string resourceString(std::int32_t handle, std::int32_t id)
{
    const std::lock_guard guard(lock());
    ResourceLibrary *library = libraryOf(handle);
    if (!library)
        return {};
    const auto *table = static_cast<const QfcStringResource *>(
        mrb::platform::sharedLibrarySymbol(library->module, QFC_STRING_TABLE_SYMBOL));
    for (int i = 0; table && i < mostStrings && table[i].text; ++i) {
        if (table[i].id != id)
            continue;
        QString text = QString::fromUtf8(table[i].text).left(longestString);
        if (!text.isEmpty() && text.back().isHighSurrogate())
            text.chop(1); // never half a character
        return text.toStdString();
    }
    return {};
}

void unloadResourceLibrary(std::int32_t handle)
{
    const std::lock_guard guard(lock());
    ResourceLibrary *library = libraryOf(handle);
    if (!library)
        return;
    void *module = library->module;
    if (--library->loads == 0) {
        loaded().erase(module);
        delete library; // the handle goes stale with it
    }
    mrb::platform::unloadSharedLibrary(module);
}

} // namespace qfc
