// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/text/charconverter.h"

#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

namespace mrb::platform
{

namespace
{

iconv_t handleOf(void *cd)
{
    return static_cast<iconv_t>(cd);
}

const auto noHandle = reinterpret_cast<iconv_t>(-1);

} // namespace

CharConverter::CharConverter(const std::string &to, const std::string &from)
    : m_cd(iconv_open(to.c_str(), from.c_str()))
{
}

CharConverter::~CharConverter()
{
    if (ok())
        iconv_close(handleOf(m_cd));
}

bool CharConverter::ok() const
{
    return handleOf(m_cd) != noHandle;
}

void CharConverter::run(std::string_view in, std::string &out, const OnBad &onBad)
{
    char *src = const_cast<char *>(in.data());
    std::size_t left = in.size();
    std::size_t used = out.size();
    out.resize(used + in.size() * 2 + 16);
    auto step = [&](char **s, std::size_t *l) {
        char *dst = out.data() + used;
        std::size_t room = out.size() - used;
        const std::size_t r = iconv(handleOf(m_cd), s, l, &dst, &room);
        used = static_cast<std::size_t>(dst - out.data());
        return r == static_cast<std::size_t>(-1) ? errno : 0;
    };
    while (left > 0) {
        const int err = step(&src, &left);
        if (err == E2BIG) {
            out.resize(out.size() * 2);
        } else if (err == EILSEQ || err == EINVAL) {
            out.resize(used);
            const char *bad = src;
            onBad(bad, left, out);
            src = const_cast<char *>(bad);
            used = out.size();
            out.resize(used + left * 2 + 16);
        } else if (err != 0) {
            break;
        }
    }
    // The shift back to the initial state of a stateful charset.
    while (step(nullptr, nullptr) == E2BIG)
        out.resize(out.size() * 2);
    out.resize(used);
}

void CharConverter::append(std::string_view in, std::string &out)
{
    run(in, out, [](const char *&, std::size_t &left, std::string &) { left = 0; });
}

std::string localeCharset()
{
    std::string codeset;
    if (locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr))) {
        codeset = nl_langinfo_l(CODESET, user);
        freelocale(user);
    }
    return codeset;
}

} // namespace mrb::platform
