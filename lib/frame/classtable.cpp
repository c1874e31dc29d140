// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/classtable.h"

#include "lib/apifuns/apifuns.h"
#include "lib/base64/base64.h"
#include "lib/frame/identities.h"
#include "lib/genfuns/genfuns.h"
#include "lib/registry/registry.h"
#include "lib/txtfile/txtfile.h"

namespace qfc
{

namespace
{

template <class T> ObjectBase *make()
{
    return new T();
}

const ClassInfo classes[] = {
    {&CLSID_GenFuns, &IID_GenFuns, "GenFuns", &make<GenFuns>},
    {&CLSID_APIFuns, &IID_APIFuns, "APIFuns", &make<ApiFuns>},
    {&CLSID_TxtFile, &IID_TxtFile, "TxtFile", &make<TxtFile>},
    {&CLSID_Base64, &IID_Base64, "Base64", &make<Base64>},
    {&CLSID_Registry, &IID_Registry, "Registry", &make<Registry>},
};

} // namespace

std::span<const ClassInfo> libraryClasses()
{
    return classes;
}

} // namespace qfc
