#include "local_clock.h"

#include <QDateTime>

namespace torvane {
namespace {

constexpr qint64 MsPerHour = 3'600'000;
constexpr qint64 MsPerDay = 86'400'000;

qint64 hourOf(qint64 ms)
{
    return ms >= 0 ? ms / MsPerHour : (ms + 1) / MsPerHour - 1;
}

} // namespace

int LocalClock::offsetNow(qint64 utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::LocalTime).offsetFromUtc();
}

int LocalClock::offsetAt(qint64 utcMs)
{
    const qint64 key = hourOf(utcMs);
    if (key != m_utcHour.key) {
        const int first = offsetNow(key * MsPerHour);
        m_utcHour = {key, first == offsetNow(key * MsPerHour + MsPerHour - 1), first};
    }
    return m_utcHour.steady ? m_utcHour.offset : offsetNow(utcMs);
}

// Zones change their offset at most twice a year: a day either side sees past any change
// near the time.
LocalClock::Readings LocalClock::readingsOf(qint64 localMs)
{
    Readings r;
    r.before = offsetNow(localMs - MsPerDay);
    r.after = offsetNow(localMs + MsPerDay);
    r.beforeFits = offsetNow(localMs - r.before * qint64(1000)) == r.before;
    r.afterFits = offsetNow(localMs - r.after * qint64(1000)) == r.after;
    return r;
}

qint64 LocalClock::choose(qint64 localMs, const Readings& r, qint64 notBefore)
{
    const qint64 first = localMs - r.before * qint64(1000);
    const qint64 second = localMs - r.after * qint64(1000);
    if (r.beforeFits && r.afterFits)
        return first < notBefore && second >= notBefore ? second : std::min(first, second);
    return r.afterFits && !r.beforeFits ? second : first;
}

qint64 LocalClock::utcOf(qint64 localMs, qint64 notBefore)
{
    const qint64 key = hourOf(localMs);
    if (key != m_localHour.key) {
        const Readings start = readingsOf(key * MsPerHour);
        const Readings end = readingsOf(key * MsPerHour + MsPerHour - 1);
        const auto unique = [](const Readings& r) {
            return r.before == r.after ? r.beforeFits : r.beforeFits != r.afterFits;
        };
        const auto offset = [](const Readings& r) {
            return r.beforeFits ? r.before : r.after;
        };
        const bool steady = unique(start) && unique(end) && offset(start) == offset(end);
        m_localHour = {key, steady, offset(start)};
    }
    if (m_localHour.steady)
        return localMs - m_localHour.offset * qint64(1000);
    return choose(localMs, readingsOf(localMs), notBefore);
}

} // namespace torvane
