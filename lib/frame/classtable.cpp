// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "lib/frame/classtable.h"

#include "lib/apifuns/apifuns.h"
#include "lib/apifuns/deferreddeletes.h"
#include "lib/base64/base64.h"
#include "lib/common/codepages.h"
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

std::vector<RegistrationEntry> libraryData(bool all)
{
    std::vector<RegistrationEntry> entries;
    const std::span<const CodePage> table = allCodePages();
    const std::vector<CodePage> pages = all ? std::vector<CodePage>(table.begin(), table.end()) : knownCodePages();
    for (const CodePage &page : pages) {
        const std::string key = std::string(codePageKey) + "\\" + std::to_string(page.number);
        entries.push_back({key, "BodyCharset", page.bodyCharset});
        entries.push_back({key, "Description", page.description});
    }
    return entries;
}

void libraryStarted()
{
    carryOutDeletesAfterRestart();
}

} // namespace qfc
