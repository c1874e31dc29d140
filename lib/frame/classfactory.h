// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "lib/frame/object.h"

#include <span>

namespace qfc
{

// One public class of the library.
struct ClassInfo {
    const CLSID *clsid;
    const IID *iid;
    const char *name; // "APIFuns"
    ObjectBase *(*create)(); // a new object holding one reference, or nullptr
};

// DllGetClassObject: a class factory for one of classes, asked for iid
// (IUnknown or IClassFactory). Each CreateInstance makes a new object.
HRESULT classObject(std::span<const ClassInfo> classes, const CLSID &clsid, const IID &iid, void **out);

} // namespace qfc
