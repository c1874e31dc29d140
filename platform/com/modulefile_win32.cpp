// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/modulefile.h"
#include "platform/com/utf16.h"

#include <vector>
#include <windows.h>

namespace mrb::platform
{

std::string moduleFileOf(const void *address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCWSTR>(address),
            &module))
        return {};
    // Long paths: grow the buffer until the whole name fits.
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return {};
        if (length < name.size())
            return utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t *>(name.data()), length));
        name.resize(name.size() * 2);
    }
}

std::string moduleFolderOf(const void *address)
{
    const std::string file = moduleFileOf(address);
    return file.substr(0, file.find_last_of("\\/") + 1);
}

} // namespace mrb::platform
