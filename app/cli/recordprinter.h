// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include "app/cli/catalogoptions.h"
#include "platform/fs/filesystem.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace mrb::cli
{

// One value of a printed record.
struct PrintValue {
    enum class Kind { Unknown, Text, Number, Time };
    Kind kind = Kind::Unknown;
    std::string text; // bytes, UTF-8 or not
    std::int64_t number = 0; // a number, or seconds since 1970

    static PrintValue textOf(std::string_view text) { return {Kind::Text, std::string(text), 0}; }
    static PrintValue numberOf(std::int64_t n) { return {Kind::Number, {}, n}; }
    static PrintValue timeOf(const platform::Timestamp &t)
    {
        return t ? PrintValue {Kind::Time, {}, *t} : PrintValue {};
    }
};

// Records printed as the catalog commands print them: text (one line a
// record, fields separated by TAB and escaped as --show escapes them), csv
// (a header line, then RFC 4180 records ending with CR LF) or jsonl (one
// object a line, null for an unknown value, "_bytes" beside a text that is
// not UTF-8). Times are ISO 8601 with the UTC offset.
class RecordPrinter
{
public:
    RecordPrinter(std::ostream &out, CatalogPrint format, std::vector<std::string_view> fields);

    void print(const std::vector<PrintValue> &values);

private:
    std::ostream &m_out;
    CatalogPrint m_format;
    std::vector<std::string_view> m_fields;
    std::string m_line;
};

} // namespace mrb::cli
