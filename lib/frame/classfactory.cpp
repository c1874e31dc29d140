// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/classfactory.h"

#include "lib/frame/module.h"
#include "platform/com/guid.h"

#include <atomic>
#include <new>

namespace qfc
{

namespace
{

using mrb::platform::IID_IClassFactory;
using mrb::platform::IID_IUnknown;

// A class factory, created with one reference.
struct Factory {
    Factory(const IClassFactoryVtbl *table, const ClassInfo *classInfo)
        : iface {table}
        , info(classInfo)
    {
    }
    IClassFactory iface;
    std::atomic<std::uint32_t> refs {1};
    const ClassInfo *info;
};

Factory *factoryOf(IClassFactory *p)
{
    return reinterpret_cast<Factory *>(p);
}

std::uint32_t factoryAddRef(IClassFactory *self)
{
    return self ? factoryOf(self)->refs.fetch_add(1) + 1 : 0;
}

std::uint32_t factoryRelease(IClassFactory *self)
{
    if (!self)
        return 0;
    const std::uint32_t left = factoryOf(self)->refs.fetch_sub(1) - 1;
    if (left == 0) {
        delete factoryOf(self);
        objectDestroyed();
    }
    return left;
}

HRESULT factoryQueryInterface(IClassFactory *self, const IID *iid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!self || !iid)
        return E_POINTER;
    if (*iid == IID_IUnknown || *iid == IID_IClassFactory) {
        factoryAddRef(self);
        *out = self;
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT factoryCreateInstance(IClassFactory *self, IUnknown *outer, const IID *iid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!self || !iid)
        return E_POINTER;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    try {
        ObjectBase *object = factoryOf(self)->info->create();
        if (!object)
            return E_OUTOFMEMORY;
        const HRESULT hr = object->queryInterface(*iid, out);
        object->release();
        return hr;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT factoryLockServer(IClassFactory *, std::int32_t lock)
{
    lockServer(lock != 0);
    return S_OK;
}

const IClassFactoryVtbl factoryTable = {
    factoryQueryInterface,
    factoryAddRef,
    factoryRelease,
    factoryCreateInstance,
    factoryLockServer,
};

} // namespace

HRESULT classObject(std::span<const ClassInfo> classes, const CLSID &clsid, const IID &iid, void **out)
{
    *out = nullptr;
    for (const ClassInfo &info : classes) {
        if (!(*info.clsid == clsid))
            continue;
        auto *factory = new (std::nothrow) Factory(&factoryTable, &info);
        if (!factory)
            return E_OUTOFMEMORY;
        objectCreated();
        const HRESULT hr = factoryQueryInterface(&factory->iface, &iid, out);
        factoryRelease(&factory->iface);
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

} // namespace qfc
