// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "tests/windows/win32client.h"

#include "platform/com/widestring_p.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <oleauto.h>

namespace win32client
{

void *exportOf(const std::string &file, const char *name)
{
    HMODULE module = LoadLibraryW(mrb::platform::toWide(file).c_str());
    return module ? reinterpret_cast<void *>(GetProcAddress(module, name)) : nullptr;
}

bool takeThreadError(std::string *source, std::string *description)
{
    IErrorInfo *error = nullptr;
    if (GetErrorInfo(0, &error) != S_OK || !error)
        return false;
    BSTR text = nullptr;
    error->GetSource(&text);
    *source = mrb::platform::fromWide(text ? text : L"");
    SysFreeString(text);
    text = nullptr;
    error->GetDescription(&text);
    *description = mrb::platform::fromWide(text ? text : L"");
    SysFreeString(text);
    error->Release();
    return true;
}

} // namespace win32client
