// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/library/com/libraryobjects.h"

#include "app/library/com/comapifuns.h"
#include "app/library/com/comgenfuns.h"
#include "platform/com/errorinfo.h"
#include "platform/com/guid.h"
#include "platform/com/runtime.h"

namespace mrb::core
{

namespace
{

constexpr CLSID clsidAPIFuns = QFC_CLSID_APIFUNS_INIT;
constexpr IID iidAPIFuns = QFC_IID_APIFUNS_INIT;
constexpr CLSID clsidGenFuns = QFC_CLSID_GENFUNS_INIT;
constexpr IID iidGenFuns = QFC_IID_GENFUNS_INIT;

template <class Iface>
platform::ComPtr<Iface> create(const CLSID &clsid, const IID &iid, const char *progId, std::string &error)
{
    HRESULT status = S_OK;
    std::string why;
    auto object = platform::createInstance<Iface>(clsid, iid, &status, &why);
    if (!object && error.empty()) {
        const auto entry = platform::findClass(clsid);
        error = std::string("The component library class ") + progId + " " + platform::formatGuid(clsid);
        if (entry)
            error += " (library " + entry->serverPath + ")";
        error += " could not be created: ";
        error += why.empty() ? platform::describeStatus(status) : why + " [" + platform::describeStatus(status) + "]";
        error += ".";
    }
    return object;
}

} // namespace

LibraryObjects createLibraryObjects()
{
    LibraryObjects objects;
    auto api = create<QfcAPIFuns>(clsidAPIFuns, iidAPIFuns, "QFC_MRB.APIFuns", objects.error);
    auto gen = create<QfcGenFuns>(clsidGenFuns, iidGenFuns, "QFC_MRB.GenFuns", objects.error);
    if (api && gen) {
        objects.apiFuns = std::make_unique<ComApiFuns>(std::move(api));
        objects.genFuns = std::make_unique<ComGenFuns>(std::move(gen));
        if (const auto entry = platform::findClass(clsidAPIFuns)) {
            objects.libraryPath = entry->serverPath;
            objects.registeredIn = entry->storeFolder;
        }
    }
    return objects;
}

} // namespace mrb::core
