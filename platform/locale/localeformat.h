// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace mrb::platform
{

// A locale's number separators and its general date-and-time text, read once
// when the object is made. All texts are UTF-8.
//
// The date text is the short date, a blank and the long time without a
// time-zone name, in the local time zone; at exactly midnight the time is left
// out. No locale or time-zone look-up per call, so listing many files stays
// cheap.
class LocaleFormat
{
public:
    // The named locale ("en_US", "de_DE"); an empty name means the user's own
    // locale, as the environment sets it. The time zone (TZ) is read here too.
    explicit LocaleFormat(std::string_view localeName = {});
    ~LocaleFormat();
    LocaleFormat(const LocaleFormat &other);
    LocaleFormat &operator=(const LocaleFormat &other);

    // The locale's name as the locale data gives it ("en_US", "C").
    const std::string &name() const;
    const std::string &groupSeparator() const;
    const std::string &decimalSeparator() const;

    std::string formatDateTime(std::int64_t secondsSinceEpoch) const;
    // The same text, added at the end of out. The date part of a day is made
    // once and kept (a few days at a time); the time part is arithmetic, so a
    // listing of many files costs no time-zone conversion per row. Safe to
    // call from several threads.
    void appendDateTime(std::string &out, std::int64_t secondsSinceEpoch) const;

    // The user's locale, made on first use and kept for the run.
    static const LocaleFormat &user();
    // Makes user() answer for the named locale from now on (tests and tools
    // that fix the locale); an empty name goes back to the user's own.
    // References handed out earlier stay valid and see the change.
    static void setUser(std::string_view localeName);

private:
    void makeDateTime(std::string &out, std::int64_t secondsSinceEpoch) const; // past the last-time memo
    struct Data;
    std::unique_ptr<Data> d;
};

} // namespace mrb::platform
