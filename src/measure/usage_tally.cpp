#include "usage_tally.h"

#include <cmath>

namespace torvane {
namespace {

constexpr qint64 MsPerHour = 3'600'000;
constexpr qint64 MsPerDay = 24 * MsPerHour;
constexpr qint64 MsPerWeek = 7 * MsPerDay;

void addHourMs(DayByHour& hours, const std::array<qint64, 24>& ms, qint64 HourUse::*kind)
{
    for (std::size_t h = 0; h < hours.size(); ++h)
        hours[h].*kind += ms[h];
}

} // namespace

UsageTally::UsageTally(const TallyRules& rules, LocalClock& clock)
    : m_rules(rules)
    , m_clock(clock)
    , m_levels(rules.standbyBelow ? 3 : 2 + Octaves * PerOctave)
{}

// 0: off. With a standby threshold, 1 standby and 2 on; without, 1 for 0 W (when off is
// below that) and then a sixteenth of an octave each, by the binary exponent and the
// mantissa's first four bits.
std::size_t UsageTally::levelOf(double watts) const
{
    if (watts < m_rules.offBelow)
        return 0;
    if (m_rules.standbyBelow)
        return watts < *m_rules.standbyBelow ? 1 : 2;
    if (watts <= 0)
        return 1;
    int exponent = 0;
    const double mantissa = std::frexp(watts, &exponent); // from 0.5 up to 1
    const int octave = std::clamp(exponent + Octaves / 2, 0, Octaves - 1);
    const int part = std::clamp(static_cast<int>((mantissa - 0.5) * 2 * PerOctave), 0, 15);
    return static_cast<std::size_t>(2 + octave * PerOctave + part);
}

void UsageTally::add(const LogReading& reading)
{
    if (m_totals.readings++ == 0) {
        m_totals.firstMs = reading.utcMs;
    } else {
        const qint64 length = reading.utcMs - m_previous.utcMs;
        bool known = length > 0 && (m_rules.maxGapMs == 0 || length <= m_rules.maxGapMs) &&
                     !std::isnan(m_previous.value);
        double watts = m_previous.value;
        if (m_rules.counter) {
            known = known && reading.value >= m_previous.value;
            watts = (reading.value - m_previous.value) * static_cast<double>(MsPerHour) /
                    static_cast<double>(length);
        }
        if (known)
            hold(m_previous.utcMs, reading.utcMs, watts);
    }
    m_totals.lastMs = reading.utcMs;
    m_previous = reading;
}

void UsageTally::hold(qint64 fromMs, qint64 toMs, double watts)
{
    Level& level = m_levels[levelOf(watts)];
    const qint64 length = toMs - fromMs;
    if (level.ms == 0) {
        level.lowest = watts;
        level.highest = watts;
    }
    level.ms += length;
    level.energy += watts * static_cast<double>(length);
    level.lowest = std::min(level.lowest, watts);
    level.highest = std::max(level.highest, watts);
    if (m_rules.cheap)
        level.cheapMs += cheapMs(fromMs, toMs);
    // Most holds lie within the hour of the one before.
    if (fromMs >= m_span.fromMs && toMs <= m_span.toMs)
        level.hourMs[static_cast<std::size_t>(m_span.hour)] += length;
    else
        addHours(level, fromMs, toMs);
}

// The window is on the local clock: the hold is cut where the offset from UTC changes, and
// each part counted on the wall clock.
qint64 UsageTally::cheapMs(qint64 fromMs, qint64 toMs)
{
    qint64 total = 0;
    while (fromMs < toMs) {
        int offset = 0;
        const qint64 end = sameOffsetEnd(fromMs, toMs, offset);
        const qint64 shift = offset * qint64(1000);
        total += cheapMsWithin(*m_rules.cheap, fromMs + shift, end + shift);
        fromMs = end;
    }
    return total;
}

qint64 UsageTally::sameOffsetEnd(qint64 fromMs, qint64 toMs, int& offset)
{
    offset = m_clock.offsetAt(fromMs);
    const qint64 end = std::min(toMs, fromMs + MsPerWeek);
    return m_clock.offsetAt(end - 1) == offset ? end : offsetChange(fromMs, end, offset);
}

// The first millisecond of another offset in [fromMs, endMs), which ends in one; the span
// is at most a week, and a zone changes at most once a week.
qint64 UsageTally::offsetChange(qint64 fromMs, qint64 endMs, int offset)
{
    qint64 same = fromMs; // still the old offset
    qint64 changed = endMs - 1;
    while (changed - same > 1) {
        const qint64 middle = same + (changed - same) / 2;
        (m_clock.offsetAt(middle) == offset ? same : changed) = middle;
    }
    return changed;
}

// The hour of the day on the local clock at a UTC time, and until when it lasts: the end of
// that wall-clock hour, or sooner where the offset changes (the clocks going forward skip
// an hour of the day, going back give one twice).
void UsageTally::findSpan(qint64 utcMs)
{
    const int offset = m_clock.offsetAt(utcMs);
    const qint64 shift = offset * qint64(1000);
    const qint64 local = utcMs + shift;
    const qint64 localHour = local >= 0 ? local / MsPerHour : (local + 1) / MsPerHour - 1;
    m_span.fromMs = utcMs;
    m_span.toMs = (localHour + 1) * MsPerHour - shift;
    if (m_clock.offsetAt(m_span.toMs - 1) != offset)
        m_span.toMs = offsetChange(utcMs, m_span.toMs, offset);
    m_span.hour = static_cast<int>((localHour % 24 + 24) % 24);
}

// A hold cut at the local hours it spans. The span found is kept: a log's readings come
// thousands to the hour, so the clock is asked about once an hour.
void UsageTally::addHourByHour(Level& level, qint64 fromMs, qint64 toMs)
{
    while (fromMs < toMs) {
        if (fromMs < m_span.fromMs || fromMs >= m_span.toMs)
            findSpan(fromMs);
        const qint64 end = std::min(toMs, m_span.toMs);
        level.hourMs[static_cast<std::size_t>(m_span.hour)] += end - fromMs;
        fromMs = end;
    }
}

// A hold of days (a state history holds a state however long) is counted a day at a time,
// a part of constant offset at a time: a day of one offset is an hour to every hour of
// the day.
void UsageTally::addHours(Level& level, qint64 fromMs, qint64 toMs)
{
    while (toMs - fromMs >= MsPerDay) {
        int offset = 0;
        const qint64 end = sameOffsetEnd(fromMs, toMs, offset);
        const qint64 days = (end - fromMs) / MsPerDay;
        if (days == 0) { // the offset changes within the day
            addHourByHour(level, fromMs, end);
            fromMs = end;
            continue;
        }
        for (qint64& ms : level.hourMs)
            ms += days * MsPerHour;
        fromMs += days * MsPerDay;
    }
    addHourByHour(level, fromMs, toMs);
}

// Without a given threshold, the widest gap between consecutive levels of power at or above
// the off threshold parts standby from on, at the geometric mean of the powers either side,
// when they differ by LevelRatio or more. A level holds powers within a factor of 17/16, so
// the gap found is the widest between any two consecutive powers read.
void UsageTally::findThreshold(UsageTotals& totals) const
{
    totals.choice = ThresholdChoice::OneLevel;
    totals.standbyBelow = m_rules.offBelow;
    double widest = LevelRatio;
    const Level* below = nullptr;
    for (std::size_t i = 2; i < m_levels.size(); ++i) {
        const Level& level = m_levels[i];
        if (level.ms == 0)
            continue;
        if (below && level.lowest / below->highest >= widest) {
            widest = level.lowest / below->highest;
            totals.choice = ThresholdChoice::Found;
            totals.belowGap = below->highest;
            totals.aboveGap = level.lowest;
            totals.standbyBelow = std::sqrt(below->highest * level.lowest);
        }
        below = &level;
    }
}

UsageTotals UsageTally::finish() const
{
    UsageTotals totals = m_totals;
    if (m_rules.standbyBelow)
        totals.standbyBelow = *m_rules.standbyBelow;
    else
        findThreshold(totals);
    totals.offMs = m_levels[0].ms;
    addHourMs(totals.hours, m_levels[0].hourMs, &HourUse::offMs);
    for (std::size_t i = 1; i < m_levels.size(); ++i) {
        const Level& level = m_levels[i];
        const bool standby = m_rules.standbyBelow ? i == 1 : level.highest < totals.standbyBelow;
        if (level.ms == 0)
            continue;
        (standby ? totals.standbyMs : totals.onMs) += level.ms;
        (standby ? totals.standbyCheapMs : totals.onCheapMs) += level.cheapMs;
        (standby ? totals.standbyEnergy : totals.onEnergy) += level.energy;
        addHourMs(totals.hours, level.hourMs, standby ? &HourUse::standbyMs : &HourUse::onMs);
    }
    totals.knownMs = totals.offMs + totals.standbyMs + totals.onMs;
    return totals;
}

} // namespace torvane
