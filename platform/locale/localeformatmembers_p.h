// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// The members of LocaleFormat that are the same on every system. Each
// system's file includes this once, at its end, after defining
// LocaleFormat::Data (copyable, with name, groupSeparator and
// decimalSeparator) and appendDateTime.
#pragma once

namespace mrb::platform
{

LocaleFormat::~LocaleFormat() = default;

LocaleFormat::LocaleFormat(const LocaleFormat &other)
    : d(std::make_unique<Data>(*other.d))
{
}

LocaleFormat &LocaleFormat::operator=(const LocaleFormat &other)
{
    if (this != &other)
        *d = *other.d;
    return *this;
}

const std::string &LocaleFormat::name() const
{
    return d->name;
}

const std::string &LocaleFormat::groupSeparator() const
{
    return d->groupSeparator;
}

const std::string &LocaleFormat::decimalSeparator() const
{
    return d->decimalSeparator;
}

std::string LocaleFormat::formatDateTime(std::int64_t secondsSinceEpoch) const
{
    std::string out;
    out.reserve(24);
    appendDateTime(out, secondsSinceEpoch);
    return out;
}

namespace
{

LocaleFormat &userInstance()
{
    static LocaleFormat instance;
    return instance;
}

} // namespace

const LocaleFormat &LocaleFormat::user()
{
    return userInstance();
}

void LocaleFormat::setUser(std::string_view localeName)
{
    userInstance() = LocaleFormat(localeName);
}

} // namespace mrb::platform
