// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The user's formats as the system keeps them: GetLocaleInfoEx for the
// separators, GetDateFormatEx and GetTimeFormatEx for the date text.
#include "platform/com/widestring_p.h"
#include "platform/locale/localeformat.h"

#include <windows.h>

namespace mrb::platform
{

struct LocaleFormat::Data {
    std::wstring system; // "en-US"; empty: the user's own
    std::string name;
    std::string groupSeparator;
    std::string decimalSeparator;
};

namespace
{

std::string localeText(const std::wstring &locale, LCTYPE what)
{
    wchar_t text[128];
    const int length = GetLocaleInfoEx(locale.empty() ? LOCALE_NAME_USER_DEFAULT : locale.c_str(), what, text, 128);
    return length > 1 ? fromWide(std::wstring_view(text, static_cast<std::size_t>(length - 1))) : std::string();
}

} // namespace

LocaleFormat::LocaleFormat(std::string_view localeName)
    : d(std::make_unique<Data>())
{
    std::string system(localeName);
    for (char &c : system) {
        if (c == '_')
            c = '-';
    }
    d->system = toWide(system);
    d->name = localeText(d->system, LOCALE_SNAME);
    for (char &c : d->name) {
        if (c == '-')
            c = '_';
    }
    d->groupSeparator = localeText(d->system, LOCALE_STHOUSAND);
    d->decimalSeparator = localeText(d->system, LOCALE_SDECIMAL);
}

void LocaleFormat::appendDateTime(std::string &out, std::int64_t secondsSinceEpoch) const
{
    const std::uint64_t ticks = static_cast<std::uint64_t>(secondsSinceEpoch + 11644473600LL) * 10000000ULL;
    const FILETIME utc {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal;
    SYSTEMTIME local;
    if (!FileTimeToSystemTime(&utc, &universal) || !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return;
    const wchar_t *locale = d->system.empty() ? LOCALE_NAME_USER_DEFAULT : d->system.c_str();
    wchar_t text[128];
    int length = GetDateFormatEx(locale, DATE_SHORTDATE, &local, nullptr, text, 128, nullptr);
    if (length > 1)
        out += fromWide(std::wstring_view(text, static_cast<std::size_t>(length - 1)));
    if (local.wHour == 0 && local.wMinute == 0 && local.wSecond == 0)
        return;
    length = GetTimeFormatEx(locale, 0, &local, nullptr, text, 128);
    if (length > 1) {
        out += ' ';
        out += fromWide(std::wstring_view(text, static_cast<std::size_t>(length - 1)));
    }
}

} // namespace mrb::platform

#include "platform/locale/localeformatmembers_p.h"
