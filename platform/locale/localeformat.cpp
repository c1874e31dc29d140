// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "platform/locale/localeformat.h"

#include <QLocale>
#include <QString>

#include <array>
#include <ctime>
#include <mutex>
#include <vector>

namespace mrb::platform
{

namespace
{

enum class Field {
    Literal,
    Day,
    Day2,
    DayShortName,
    DayLongName,
    Month,
    Month2,
    MonthShortName,
    MonthLongName,
    Year2,
    Year4,
    Hour12,
    Hour12Padded,
    Hour24,
    Hour24Padded,
    Minute,
    Minute2,
    Second,
    Second2,
    Millis,
    Millis3,
    AmPmUpper,
    AmPmLower,
    AmPmAsIs,
    TimeZone,
};

struct Token {
    Field field = Field::Literal;
    std::string text; // the literal text
};

using Tokens = std::vector<Token>;

void addLiteral(Tokens &tokens, const QString &text)
{
    if (text.isEmpty())
        return;
    if (!tokens.empty() && tokens.back().field == Field::Literal)
        tokens.back().text += text.toStdString();
    else
        tokens.push_back({Field::Literal, text.toStdString()});
}

int repeatCount(const QString &format, qsizetype i)
{
    int n = 1;
    while (i + n < format.size() && format.at(i + n) == format.at(i))
        ++n;
    return n;
}

bool containsAmPm(const QString &format)
{
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && (c == u'a' || c == u'A'))
            return true;
    }
    return false;
}

// Splits a Qt date or time format into fields and literal runs, reading the
// letters the way QLocale's own formatting does: quotes, repeat counts and
// caps, and letters of the other kind taken as literal text.
enum class Part { Date, Time };

Tokens parseFormat(const QString &format, Part part)
{
    Tokens tokens;
    const bool twelveHour = part == Part::Time && containsAmPm(format);
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            QString text;
            if (i + 1 < format.size() && format.at(i + 1) == u'\'') {
                text = u'\'';
                i += 2;
            } else {
                ++i;
                while (i < format.size()) {
                    if (format.at(i) == u'\'') {
                        if (i + 1 < format.size() && format.at(i + 1) == u'\'') {
                            text += u'\'';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    text += format.at(i++);
                }
            }
            addLiteral(tokens, text);
            continue;
        }
        int repeat = repeatCount(format, i);
        Field field = Field::Literal;
        if (part == Part::Date) {
            switch (c.unicode()) {
            case 'y':
                if (repeat >= 4) {
                    repeat = 4;
                    field = Field::Year4;
                } else if (repeat >= 2) {
                    repeat = 2;
                    field = Field::Year2;
                } else {
                    repeat = 1;
                }
                break;
            case 'M': {
                repeat = std::min(repeat, 4);
                constexpr Field kinds[] = {Field::Month, Field::Month2, Field::MonthShortName, Field::MonthLongName};
                field = kinds[repeat - 1];
                break;
            }
            case 'd': {
                repeat = std::min(repeat, 4);
                constexpr Field kinds[] = {Field::Day, Field::Day2, Field::DayShortName, Field::DayLongName};
                field = kinds[repeat - 1];
                break;
            }
            default:
                break;
            }
        } else {
            switch (c.unicode()) {
            case 'h':
                repeat = std::min(repeat, 2);
                if (twelveHour)
                    field = repeat == 2 ? Field::Hour12Padded : Field::Hour12;
                else
                    field = repeat == 2 ? Field::Hour24Padded : Field::Hour24;
                break;
            case 'H':
                repeat = std::min(repeat, 2);
                field = repeat == 2 ? Field::Hour24Padded : Field::Hour24;
                break;
            case 'm':
                repeat = std::min(repeat, 2);
                field = repeat == 2 ? Field::Minute2 : Field::Minute;
                break;
            case 's':
                repeat = std::min(repeat, 2);
                field = repeat == 2 ? Field::Second2 : Field::Second;
                break;
            case 'z':
                repeat = repeat >= 3 ? 3 : 1;
                field = repeat == 3 ? Field::Millis3 : Field::Millis;
                break;
            case 'a':
            case 'A': {
                repeat = 1;
                field = c == u'A' ? Field::AmPmUpper : Field::AmPmLower;
                if (i + 1 < format.size()) {
                    const QChar next = format.at(i + 1);
                    if (next == u'p' || next == u'P') {
                        repeat = 2;
                        // "AP" upper, "ap" lower, "Ap" and "aP" as the locale spells it
                        if ((c == u'A') != (next == u'P'))
                            field = Field::AmPmAsIs;
                    }
                }
                break;
            }
            case 't':
                repeat = 1;
                field = Field::TimeZone;
                break;
            default:
                break;
            }
        }
        if (field == Field::Literal)
            addLiteral(tokens, QString(repeat, c));
        else
            tokens.push_back({field, {}});
        i += repeat;
    }
    return tokens;
}

bool strippableAt(std::string_view text, std::string_view &matched, bool atEnd)
{
    // Blanks (plain, no-break, narrow no-break) and the brackets that some
    // locales put around the zone name.
    static constexpr std::string_view strippable[] = {" ", "\xC2\xA0", "\xE2\x80\xAF", "(", ")"};
    for (std::string_view s : strippable) {
        if (atEnd ? text.ends_with(s) : text.starts_with(s)) {
            matched = s;
            return true;
        }
    }
    return false;
}

std::string trimmed(std::string text, bool fromEnd)
{
    std::string_view matched;
    while (strippableAt(text, matched, fromEnd)) {
        if (fromEnd)
            text.erase(text.size() - matched.size());
        else
            text.erase(0, matched.size());
    }
    return text;
}

// Takes the time-zone name out of a time format, with the blanks and brackets
// that only served to set it apart; the fields on both sides of it stay
// separated by one blank.
Tokens withoutTimeZone(Tokens tokens)
{
    for (std::size_t i = 0; i < tokens.size();) {
        if (tokens[i].field != Field::TimeZone) {
            ++i;
            continue;
        }
        std::size_t first = i;
        std::size_t last = i + 1; // one past
        std::string left;
        std::string right;
        if (first > 0 && tokens[first - 1].field == Field::Literal) {
            --first;
            left = trimmed(tokens[first].text, true);
        }
        if (last < tokens.size() && tokens[last].field == Field::Literal) {
            right = trimmed(tokens[last].text, false);
            ++last;
        }
        const bool fieldBefore = first > 0 || !left.empty();
        const bool fieldAfter = last < tokens.size() || !right.empty();
        std::string joined = left;
        if (fieldBefore && fieldAfter)
            joined += ' ';
        joined += right;
        tokens.erase(
            tokens.begin() + static_cast<std::ptrdiff_t>(first), tokens.begin() + static_cast<std::ptrdiff_t>(last));
        if (!joined.empty()) {
            tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(first), Token {Field::Literal, joined});
            ++first;
        }
        i = first;
    }
    return tokens;
}

} // namespace

// The date text of one local day that has 86,400 seconds and no change of
// the clock's offset: every time in [start, start + 86400) shares it, and its
// time of day is the seconds since start.
struct CachedDay {
    std::int64_t start = 1; // 1: empty (a day starts at a whole minute)
    std::string dateText;
};

constexpr std::int64_t secondsPerDay = 86400;
constexpr std::size_t cachedDays = 8;

struct LocaleFormat::Data {
    std::string name;
    std::string groupSeparator;
    std::string decimalSeparator;
    Tokens dateTokens;
    Tokens timeTokens;
    std::array<std::string, 10> digits;
    std::array<std::string, 12> monthShort;
    std::array<std::string, 12> monthLong;
    std::array<std::string, 7> dayShort; // Sunday first, as struct tm counts
    std::array<std::string, 7> dayLong;
    std::array<std::string, 2> amPmUpper;
    std::array<std::string, 2> amPmLower;
    std::array<std::string, 2> amPmAsIs;
    bool asciiDigits = true;

    // Days looked up lately, by day number modulo their count.
    mutable std::mutex cacheMutex;
    mutable std::array<CachedDay, cachedDays> days;
    mutable std::size_t nextDay = 0; // the slot to replace next
    // The last time made into a text: the three dates of a file, and files
    // made together, often share their second.
    mutable std::int64_t lastTime = 0;
    mutable std::string lastText;
    mutable bool hasLast = false;

    Data() = default;
    Data(const Data &other)
        : name(other.name)
        , groupSeparator(other.groupSeparator)
        , decimalSeparator(other.decimalSeparator)
        , dateTokens(other.dateTokens)
        , timeTokens(other.timeTokens)
        , digits(other.digits)
        , monthShort(other.monthShort)
        , monthLong(other.monthLong)
        , dayShort(other.dayShort)
        , dayLong(other.dayLong)
        , amPmUpper(other.amPmUpper)
        , amPmLower(other.amPmLower)
        , amPmAsIs(other.amPmAsIs)
        , asciiDigits(other.asciiDigits)
    {
    }
    Data &operator=(const Data &other)
    {
        if (this != &other) {
            Data copy(other);
            const std::lock_guard<std::mutex> lock(cacheMutex);
            name = std::move(copy.name);
            groupSeparator = std::move(copy.groupSeparator);
            decimalSeparator = std::move(copy.decimalSeparator);
            dateTokens = std::move(copy.dateTokens);
            timeTokens = std::move(copy.timeTokens);
            digits = copy.digits;
            monthShort = copy.monthShort;
            monthLong = copy.monthLong;
            dayShort = copy.dayShort;
            dayLong = copy.dayLong;
            amPmUpper = copy.amPmUpper;
            amPmLower = copy.amPmLower;
            amPmAsIs = copy.amPmAsIs;
            asciiDigits = copy.asciiDigits;
            days = {};
            nextDay = 0;
            hasLast = false;
        }
        return *this;
    }

    void appendNumber(std::string &out, long value, int width) const
    {
        char buffer[24];
        int n = 0;
        unsigned long v = value < 0 ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
        do {
            buffer[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v != 0);
        while (n < width)
            buffer[n++] = '0';
        if (value < 0)
            out += '-';
        if (asciiDigits) {
            while (n > 0)
                out += buffer[--n];
            return;
        }
        while (n > 0)
            out += digits[static_cast<std::size_t>(buffer[--n] - '0')];
    }

    // The time of day, seconds since midnight, as the time format gives it.
    void renderTime(std::string &out, int secondOfDay) const
    {
        std::tm tm {};
        tm.tm_hour = secondOfDay / 3600;
        tm.tm_min = secondOfDay / 60 % 60;
        tm.tm_sec = secondOfDay % 60;
        render(out, timeTokens, tm);
    }

    // The start of t's local day when that day can be kept (see CachedDay),
    // with its date text; false for a day of a clock change or an error.
    bool dayOf(std::time_t t, const std::tm &tm, CachedDay &day) const
    {
        const std::int64_t start = static_cast<std::int64_t>(t) - (tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec);
        const auto startTime = static_cast<std::time_t>(start);
        const auto lastTime = static_cast<std::time_t>(start + secondsPerDay - 1);
        std::tm first {};
        std::tm last {};
        if (!::localtime_r(&startTime, &first) || !::localtime_r(&lastTime, &last))
            return false;
        const bool sameDay = first.tm_mday == tm.tm_mday && last.tm_mday == tm.tm_mday && first.tm_mon == tm.tm_mon
            && last.tm_mon == tm.tm_mon && first.tm_year == tm.tm_year && last.tm_year == tm.tm_year;
        if (!sameDay || first.tm_hour != 0 || first.tm_min != 0 || first.tm_sec != 0 || last.tm_hour != 23
            || last.tm_min != 59 || last.tm_sec != 59)
            return false;
        day.start = start;
        day.dateText.clear();
        render(day.dateText, dateTokens, tm);
        return true;
    }

    void render(std::string &out, const Tokens &tokens, const std::tm &tm) const
    {
        const std::size_t half = tm.tm_hour < 12 ? 0 : 1;
        for (const Token &token : tokens) {
            switch (token.field) {
            case Field::Literal:
                out += token.text;
                break;
            case Field::Day:
                appendNumber(out, tm.tm_mday, 1);
                break;
            case Field::Day2:
                appendNumber(out, tm.tm_mday, 2);
                break;
            case Field::DayShortName:
                out += dayShort[static_cast<std::size_t>(tm.tm_wday)];
                break;
            case Field::DayLongName:
                out += dayLong[static_cast<std::size_t>(tm.tm_wday)];
                break;
            case Field::Month:
                appendNumber(out, tm.tm_mon + 1, 1);
                break;
            case Field::Month2:
                appendNumber(out, tm.tm_mon + 1, 2);
                break;
            case Field::MonthShortName:
                out += monthShort[static_cast<std::size_t>(tm.tm_mon)];
                break;
            case Field::MonthLongName:
                out += monthLong[static_cast<std::size_t>(tm.tm_mon)];
                break;
            case Field::Year2: {
                const long year = static_cast<long>(tm.tm_year) + 1900;
                appendNumber(out, year < 0 ? -(-year % 100) : year % 100, 2);
                break;
            }
            case Field::Year4:
                appendNumber(out, static_cast<long>(tm.tm_year) + 1900, 4);
                break;
            case Field::Hour12:
            case Field::Hour12Padded: {
                int hour = tm.tm_hour % 12;
                if (hour == 0)
                    hour = 12;
                appendNumber(out, hour, token.field == Field::Hour12Padded ? 2 : 1);
                break;
            }
            case Field::Hour24:
                appendNumber(out, tm.tm_hour, 1);
                break;
            case Field::Hour24Padded:
                appendNumber(out, tm.tm_hour, 2);
                break;
            case Field::Minute:
                appendNumber(out, tm.tm_min, 1);
                break;
            case Field::Minute2:
                appendNumber(out, tm.tm_min, 2);
                break;
            case Field::Second:
                appendNumber(out, tm.tm_sec, 1);
                break;
            case Field::Second2:
                appendNumber(out, tm.tm_sec, 2);
                break;
            case Field::Millis:
                appendNumber(out, 0, 1); // times are whole seconds
                break;
            case Field::Millis3:
                appendNumber(out, 0, 3);
                break;
            case Field::AmPmUpper:
                out += amPmUpper[half];
                break;
            case Field::AmPmLower:
                out += amPmLower[half];
                break;
            case Field::AmPmAsIs:
                out += amPmAsIs[half];
                break;
            case Field::TimeZone:
                break; // taken out when the format was read
            }
        }
    }
};

LocaleFormat::LocaleFormat(std::string_view localeName)
    : d(std::make_unique<Data>())
{
    ::tzset();
    const QLocale locale = localeName.empty()
        ? QLocale::system()
        : QLocale(QString::fromUtf8(localeName.data(), static_cast<qsizetype>(localeName.size())));
    d->name = locale.name().toStdString();
    d->groupSeparator = locale.groupSeparator().toStdString();
    d->decimalSeparator = locale.decimalPoint().toStdString();
    d->dateTokens = parseFormat(locale.dateFormat(QLocale::ShortFormat), Part::Date);
    d->timeTokens = withoutTimeZone(parseFormat(locale.timeFormat(QLocale::LongFormat), Part::Time));

    const QString zero = locale.zeroDigit();
    const char32_t zeroCode = zero.isEmpty() ? U'0' : zero.toUcs4().value(0, U'0');
    d->asciiDigits = zeroCode == U'0';
    for (char32_t k = 0; k < 10; ++k) {
        const char32_t code = zeroCode + k;
        d->digits[k] = QString::fromUcs4(&code, 1).toStdString();
    }
    for (int m = 0; m < 12; ++m) {
        d->monthShort[static_cast<std::size_t>(m)] = locale.monthName(m + 1, QLocale::ShortFormat).toStdString();
        d->monthLong[static_cast<std::size_t>(m)] = locale.monthName(m + 1, QLocale::LongFormat).toStdString();
    }
    for (int w = 0; w < 7; ++w) {
        const int qtDay = w == 0 ? 7 : w; // Qt counts Monday 1 .. Sunday 7
        d->dayShort[static_cast<std::size_t>(w)] = locale.dayName(qtDay, QLocale::ShortFormat).toStdString();
        d->dayLong[static_cast<std::size_t>(w)] = locale.dayName(qtDay, QLocale::LongFormat).toStdString();
    }
    const QString am = locale.amText();
    const QString pm = locale.pmText();
    d->amPmUpper = {am.toUpper().toStdString(), pm.toUpper().toStdString()};
    d->amPmLower = {am.toLower().toStdString(), pm.toLower().toStdString()};
    d->amPmAsIs = {am.toStdString(), pm.toStdString()};
}

void LocaleFormat::appendDateTime(std::string &out, std::int64_t secondsSinceEpoch) const
{
    const std::size_t start = out.size();
    {
        const std::lock_guard<std::mutex> lock(d->cacheMutex);
        if (d->hasLast && d->lastTime == secondsSinceEpoch) {
            out += d->lastText;
            return;
        }
    }
    makeDateTime(out, secondsSinceEpoch);
    const std::lock_guard<std::mutex> lock(d->cacheMutex);
    d->lastTime = secondsSinceEpoch;
    d->lastText.assign(out, start);
    d->hasLast = true;
}

void LocaleFormat::makeDateTime(std::string &out, std::int64_t secondsSinceEpoch) const
{
    {
        const std::lock_guard<std::mutex> lock(d->cacheMutex);
        for (const CachedDay &day : d->days) {
            if (day.start == 1 || secondsSinceEpoch < day.start || secondsSinceEpoch - day.start >= secondsPerDay)
                continue;
            const int secondOfDay = static_cast<int>(secondsSinceEpoch - day.start);
            out += day.dateText;
            if (secondOfDay != 0) {
                out += ' ';
                d->renderTime(out, secondOfDay);
            }
            return;
        }
    }
    const auto t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm tm {};
    if (!::localtime_r(&t, &tm))
        return;
    CachedDay day;
    if (d->dayOf(t, tm, day)) {
        out += day.dateText;
        const std::lock_guard<std::mutex> lock(d->cacheMutex);
        d->days[d->nextDay++ % cachedDays] = std::move(day);
    } else {
        d->render(out, d->dateTokens, tm);
    }
    if (tm.tm_hour != 0 || tm.tm_min != 0 || tm.tm_sec != 0) {
        out += ' ';
        d->render(out, d->timeTokens, tm);
    }
}

} // namespace mrb::platform

#include "platform/locale/localeformatmembers_p.h"
