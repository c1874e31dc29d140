// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The four entry points of the library file; everything else stays hidden.
#include "lib/frame/classtable.h"
#include "lib/frame/module.h"
#include "lib/frame/registration.h"

#include <mutex>

#ifdef _WIN32
#define QFC_API // exports.def names them
#else
#define QFC_API __attribute__((visibility("default")))
#endif

extern "C" QFC_API HRESULT DllGetClassObject(const GUID *clsid, const GUID *iid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!clsid || !iid)
        return E_POINTER;
    try {
        static std::once_flag started;
        std::call_once(started, [] {
            // a failure here must not keep the classes from the caller
            try {
                qfc::libraryStarted();
            } catch (...) {
            }
        });
        return qfc::classObject(qfc::libraryClasses(), *clsid, *iid, out);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

extern "C" QFC_API HRESULT DllCanUnloadNow()
{
    return qfc::canUnloadNow() ? S_OK : S_FALSE;
}

extern "C" QFC_API HRESULT DllRegisterServer()
{
    try {
        return qfc::registerServer(qfc::libraryClasses(), qfc::libraryData(false), qfc::libraryPath());
    } catch (...) {
        return E_UNEXPECTED;
    }
}

extern "C" QFC_API HRESULT DllUnregisterServer()
{
    try {
        return qfc::unregisterServer(qfc::libraryClasses(), qfc::libraryData(true));
    } catch (...) {
        return E_UNEXPECTED;
    }
}
