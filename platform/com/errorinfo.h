// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/com/abi.h"

#include <optional>
#include <string>

namespace mrb::platform
{

// What an operation that fails on purpose tells its caller.
struct ErrorInfo {
    HRESULT number = S_OK;
    std::string source;
    std::string description;
};

// Fills a late-bound caller's exception record (the caller frees the strings).
void fillExcepInfo(const ErrorInfo &info, EXCEPINFO *out);
// Reads an exception record and frees its strings.
ErrorInfo takeExcepInfo(EXCEPINFO *record);

// A new IErrorInfo object describing info (one reference, for the caller).
IErrorInfo *makeErrorInfo(const ErrorInfo &info);

// The failure an object recorded for the call that just returned status,
// asked through QueryInterface for IErrorInfo (the record carries source and
// description; the number is the status itself); nothing when it has none.
std::optional<ErrorInfo> lastErrorOf(IUnknown *object, HRESULT status);

// A short text for a status code: "class not registered (0x80040154)".
std::string describeStatus(HRESULT status);

} // namespace mrb::platform
