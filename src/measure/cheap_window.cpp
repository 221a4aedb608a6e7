#include "cheap_window.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

constexpr qint64 MsPerMinute = 60'000;
constexpr qint64 MsPerDay = 1440 * MsPerMinute;

// The window's time in the days before msSince (local milliseconds since 1970).
qint64 windowMsBefore(const CheapWindow& w, qint64 msSince)
{
    const qint64 day = msSince >= 0 ? msSince / MsPerDay : (msSince + 1) / MsPerDay - 1;
    const qint64 intoDay = msSince - day * MsPerDay;
    const qint64 start = w.startMinute * MsPerMinute;
    const qint64 end = w.endMinute * MsPerMinute;
    if (start < end)
        return day * (end - start) + std::clamp(intoDay - start, qint64(0), end - start);
    // Past midnight: from midnight to the end, and from the start to midnight.
    return day * (end + MsPerDay - start) + std::min(intoDay, end) +
           std::max(intoDay - start, qint64(0));
}

int minuteOf(const QString& hours, const QString& minutes)
{
    const int h = hours.toInt();
    const int m = minutes.toInt();
    return h > 24 || m > 59 || (h == 24 && m != 0) ? -1 : h * 60 + m;
}

} // namespace

QString parseCheapWindow(QStringView text, CheapWindow& window)
{
    static const QRegularExpression form(u"^(\\d\\d):(\\d\\d)-(\\d\\d):(\\d\\d)$"_s);
    const QRegularExpressionMatch match = form.match(text.trimmed().toString());
    if (!match.hasMatch())
        return u"the cheap-rate hours must be written HH:MM-HH:MM, not \"%1\""_s.arg(text);
    const int start = minuteOf(match.captured(1), match.captured(2));
    const int end = minuteOf(match.captured(3), match.captured(4));
    if (start < 0 || end < 0)
        return u"the cheap-rate hours \"%1\" are not times of day"_s.arg(text);
    if (start % 1440 == end % 1440)
        return u"the cheap-rate hours \"%1\" start and end at the same time"_s.arg(text);
    window = {start % 1440, end == 0 ? 1440 : end};
    return QString();
}

QString cheapWindowText(const CheapWindow& window)
{
    const auto clock = [](int minute) {
        return u"%1:%2"_s.arg(minute / 60, 2, 10, QChar(u'0')).arg(minute % 60, 2, 10, QChar(u'0'));
    };
    return clock(window.startMinute) + u'-' + clock(window.endMinute);
}

qint64 cheapMsWithin(const CheapWindow& window, qint64 fromMs, qint64 toMs)
{
    return windowMsBefore(window, toMs) - windowMsBefore(window, fromMs);
}

} // namespace torvane
