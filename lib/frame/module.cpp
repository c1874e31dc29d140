// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/module.h"

#include "platform/com/modulefile.h"

#include <atomic>

namespace qfc
{

namespace
{

std::atomic<long> liveObjects {0};
std::atomic<long> serverLocks {0};

} // namespace

void objectCreated()
{
    liveObjects.fetch_add(1);
}

void objectDestroyed()
{
    liveObjects.fetch_sub(1);
}

void lockServer(bool lock)
{
    if (lock) {
        serverLocks.fetch_add(1);
    } else {
        // An unbalanced unlock never drives the count below zero.
        long current = serverLocks.load();
        while (current > 0 && !serverLocks.compare_exchange_weak(current, current - 1)) { }
    }
}

bool canUnloadNow()
{
    return liveObjects.load() == 0 && serverLocks.load() == 0;
}

std::string libraryPath()
{
    return mrb::platform::moduleFileOf(reinterpret_cast<const void *>(&libraryPath));
}

std::string libraryFolder()
{
    return mrb::platform::moduleFolderOf(reinterpret_cast<const void *>(&libraryFolder));
}

} // namespace qfc
