// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/com/threaderror.h"
#include "platform/com/widestring_p.h"

#include <windows.h>
// after windows.h, whose types it uses
#include <oleauto.h>

namespace mrb::platform
{

void setThreadError(const std::string &source, const std::string &description)
{
    ICreateErrorInfo *record = nullptr;
    if (FAILED(CreateErrorInfo(&record)))
        return;
    std::wstring text = toWide(source);
    record->SetSource(text.data());
    text = toWide(description);
    record->SetDescription(text.data());
    IErrorInfo *error = nullptr;
    if (SUCCEEDED(record->QueryInterface(IID_IErrorInfo, reinterpret_cast<void **>(&error)))) {
        SetErrorInfo(0, error);
        error->Release();
    }
    record->Release();
}

} // namespace mrb::platform
