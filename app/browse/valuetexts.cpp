// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/browse/valuetexts.h"

#include "app/browse/column.h"
#include "app/browse/sizetext.h"

#include <memory>

namespace mrb::core
{

namespace
{

class DateText : public platform::ValueText
{
public:
    explicit DateText(const platform::LocaleFormat &locale)
        : m_locale(locale)
    {
    }
    void append(std::int64_t value, std::string &out) const override { m_locale.appendDateTime(out, value); }

private:
    const platform::LocaleFormat &m_locale;
};

class SizeText : public platform::ValueText
{
public:
    SizeText(const SettingsRecord &settings, const platform::LocaleFormat &locale)
        : m_settings(settings) // the unit and precision of this moment
        , m_locale(locale)
    {
    }
    void append(std::int64_t value, std::string &out) const override
    {
        if (value >= 0)
            out += FormatSize(static_cast<std::uint64_t>(value), m_settings, m_locale);
    }

private:
    const SettingsRecord m_settings;
    const platform::LocaleFormat &m_locale;
};

} // namespace

void makeTextsFromValues(
    platform::ListModel &listing, const SettingsRecord &settings, const platform::LocaleFormat &locale)
{
    listing.setValueText(numbersOf(Column::Size).subItem, std::make_shared<SizeText>(settings, locale));
    const auto dates = std::make_shared<DateText>(locale);
    for (const Column column : {Column::Created, Column::Modified, Column::Accessed})
        listing.setValueText(numbersOf(column).subItem, dates);
}

} // namespace mrb::core
