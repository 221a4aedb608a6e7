#include "reading_time.h"

#include <charconv>

namespace torvane {
namespace {

constexpr qint64 MsPerDay = 86'400'000;
// 9999-12-31T23:59:59.999Z: later times are not readings.
constexpr qint64 LatestMs = 253'402'300'799'999;

// Reads exactly `count` digits at `at`, moving past them.
bool digits(std::string_view text, std::size_t& at, int count, int& value)
{
    if (at + static_cast<std::size_t>(count) > text.size())
        return false;
    value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[at++];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

bool take(std::string_view text, std::size_t& at, char c)
{
    if (at < text.size() && text[at] == c) {
        ++at;
        return true;
    }
    return false;
}

int daysInMonth(int year, int month)
{
    static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : Days[month - 1];
}

struct Clock {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millis = 0;
};

// ":ss" and ".fff" (any number of digits, milliseconds kept), both optional.
bool secondsAndFraction(std::string_view text, std::size_t& at, Clock& clock)
{
    if (take(text, at, ':') && !digits(text, at, 2, clock.second))
        return false;
    if (take(text, at, '.') || take(text, at, ',')) {
        int places = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            if (places++ < 3)
                clock.millis = clock.millis * 10 + (text[at] - '0');
            ++at;
        }
        if (places == 0)
            return false;
        for (; places < 3; ++places)
            clock.millis *= 10;
    }
    return true;
}

// "Z", "+01:00", "+0100" or "+01": the zone's offset in minutes.
bool zone(std::string_view text, std::size_t& at, bool& given, int& minutes)
{
    given = at < text.size();
    if (!given)
        return true;
    if (take(text, at, 'Z') || take(text, at, 'z')) {
        minutes = 0;
        return at == text.size();
    }
    const char sign = text[at++];
    int hours = 0, mins = 0;
    if ((sign != '+' && sign != '-') || !digits(text, at, 2, hours))
        return false;
    take(text, at, ':');
    if (at < text.size() && !digits(text, at, 2, mins))
        return false;
    minutes = (hours * 60 + mins) * (sign == '-' ? -1 : 1);
    return at == text.size() && hours <= 18 && mins < 60;
}

bool valid(const Clock& c)
{
    return c.year >= 1970 && c.month >= 1 && c.month <= 12 && c.day >= 1 &&
           c.day <= daysInMonth(c.year, c.month) && c.hour < 24 && c.minute < 60 && c.second < 60;
}

qint64 msOf(const Clock& c)
{
    return daysFromCivil(c.year, c.month, c.day) * MsPerDay +
           ((c.hour * 60 + c.minute) * 60 + c.second) * qint64(1000) + c.millis;
}

// yyyy-MM-dd[T ]HH:mm[:ss[.fff]][zone] or dd.MM.yyyy HH:mm[:ss[.fff]][zone].
bool calendarTime(std::string_view text, ReadingTime& time)
{
    Clock c;
    std::size_t at = 0;
    const bool iso = text.size() > 4 && text[4] == '-';
    if (iso) {
        if (!digits(text, at, 4, c.year) || !take(text, at, '-') || !digits(text, at, 2, c.month) ||
            !take(text, at, '-') || !digits(text, at, 2, c.day) ||
            !(take(text, at, 'T') || take(text, at, ' ')))
            return false;
    } else if (!digits(text, at, 2, c.day) || !take(text, at, '.') ||
               !digits(text, at, 2, c.month) || !take(text, at, '.') ||
               !digits(text, at, 4, c.year) || !take(text, at, ' ')) {
        return false;
    }
    bool zoned = false;
    int offset = 0;
    if (!digits(text, at, 2, c.hour) || !take(text, at, ':') || !digits(text, at, 2, c.minute) ||
        !secondsAndFraction(text, at, c) || !zone(text, at, zoned, offset) || !valid(c))
        return false;
    time.ms = msOf(c) - offset * qint64(60'000);
    time.utc = zoned;
    time.form = iso ? TimeForm::Iso : TimeForm::Dotted;
    return time.ms >= 0 && time.ms <= LatestMs;
}

// Seconds since 1970, or milliseconds from 10^11 up; a fraction is allowed.
bool unixTime(std::string_view text, ReadingTime& time)
{
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 0))
        return false;
    const bool millis = value >= 1e11;
    const double ms = millis ? value : value * 1000;
    if (!(ms <= static_cast<double>(LatestMs)))
        return false;
    time.ms = static_cast<qint64>(ms);
    time.utc = true;
    time.form = millis ? TimeForm::UnixMillis : TimeForm::UnixSeconds;
    return true;
}

} // namespace

qint64 daysFromCivil(int year, int month, int day)
{
    // Counted in eras of 400 years, from March so that the leap day ends the year.
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return qint64(era) * 146097 + dayOfEra - 719468;
}

bool parseReadingTime(std::string_view text, ReadingTime& time)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.size() >= 16 && (text[4] == '-' || text[2] == '.'))
        return calendarTime(text, time);
    return !text.empty() && unixTime(text, time);
}

} // namespace torvane
