#pragma once

#include <QtGlobal>

#include <string_view>

namespace torvane {

// How a log writes its times.
enum class TimeForm {
    Iso,         // 2026-01-01T06:00:00, a blank for the T, seconds and fractions optional
    Dotted,      // 01.01.2026 06:00:00, seconds optional
    UnixSeconds, // 1767243600, fractions allowed
    UnixMillis,  // 1767243600000: a Unix time from 10^11 up is in milliseconds
};

// A time as the log writes it: milliseconds since 1970 on the clock it names, UTC when
// the text gave a zone ("Z", "+01:00") or is a Unix time, local (wall-clock milliseconds
// counted as if they were UTC) when it did not.
struct ReadingTime {
    qint64 ms = 0;
    bool utc = false;
    TimeForm form = TimeForm::Iso;
};

// The text read whole as a time from 1970 to 9999, blanks around it allowed; false for
// anything else, a day or hour that does not exist among it.
bool parseReadingTime(std::string_view text, ReadingTime& time);

// Days from 1970-01-01 to the given date of the Gregorian calendar.
qint64 daysFromCivil(int year, int month, int day);

} // namespace torvane
