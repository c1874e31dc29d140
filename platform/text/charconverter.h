// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace mrb::platform
{

// Converts text between two character sets named as the system's converter
// names them ("UTF-8", "UTF-16LE", "WINDOWS-1252" ...).
class CharConverter
{
public:
    CharConverter(const std::string &to, const std::string &from);
    ~CharConverter();
    CharConverter(const CharConverter &) = delete;
    CharConverter &operator=(const CharConverter &) = delete;
    // False when either name is unknown; nothing converts then.
    bool ok() const;

    // Called at a sequence the converter refuses, with the rest of the input:
    // it must consume input (advance src, lessen left) and may append to out.
    using OnBad = std::function<void(const char *&src, std::size_t &left, std::string &out)>;
    // Converts in, appending to out.
    void run(std::string_view in, std::string &out, const OnBad &onBad);
    // One more piece of input, converted as far as it goes.
    void append(std::string_view in, std::string &out);

private:
    void *m_cd;
};

// The character set of the user's locale, as the converter names it ("" when
// the locale does not say).
std::string localeCharset();

} // namespace mrb::platform
