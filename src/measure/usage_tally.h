#pragma once

#include "cheap_window.h"
#include "local_clock.h"
#include "log_reader.h"

#include <array>
#include <optional>
#include <vector>

namespace torvane {

// How the standby threshold came about.
enum class ThresholdChoice {
    Given,    // by the user
    Found,    // at the widest gap between the powers read
    OneLevel, // no gap wide enough: everything from the off threshold up is on
};

// The known time of one hour of the day on the local clock (from 13:00 up to 14:00, say),
// all days together, by kind of use, in milliseconds.
struct HourUse {
    qint64 offMs = 0, standbyMs = 0, onMs = 0;
    friend bool operator==(const HourUse&, const HourUse&) = default;
};
using DayByHour = std::array<HourUse, 24>;

// The time and energy at each kind of use, in milliseconds and watt-milliseconds.
struct UsageTotals {
    qint64 firstMs = 0, lastMs = 0; // UTC, of the first and last reading
    qint64 readings = 0;
    qint64 knownMs = 0, offMs = 0;
    qint64 standbyMs = 0, standbyCheapMs = 0;
    qint64 onMs = 0, onCheapMs = 0;
    double standbyEnergy = 0, onEnergy = 0;
    double standbyBelow = 0;
    ThresholdChoice choice = ThresholdChoice::Given;
    double belowGap = 0, aboveGap = 0; // the powers either side of the gap found
    DayByHour hours;                   // the known time split by hour of the day
};

struct TallyRules {
    double offBelow = 0.5;
    std::optional<double> standbyBelow;
    qint64 maxGapMs = 0; // 0: a hold may be as long as it is
    std::optional<CheapWindow> cheap;
    bool counter = false; // readings are an energy counter's, in watt-hours
};

// Readings, in time order, made into holds and added up: each reading holds until the next
// (a counter's rise over the interval is its power), unknown when the hold is longer than
// the gap limit, the reading is not a number or the counter went down. Known holds are
// added up by level of power, so that the standby threshold can be found once all are in.
//
// The standby threshold, when not given: among the powers at or above the off threshold,
// the widest gap between two consecutive powers on a log scale (the largest ratio of a
// power to the next lower one) parts standby from on, at the geometric mean of the powers
// either side (0.9 W and 95 W: 9.2 W). A ratio below LevelRatio parts nothing: one level,
// all on. The levels are bins a sixteenth of an octave wide that keep their lowest and
// highest power, so the gap is measured between the powers themselves and memory stays flat.
// Each level also keeps its time by hour of the day, to be split by the threshold with it.
class UsageTally {
public:
    // Powers below 2^-40 W and from 2^40 W share the ends of the scale.
    static constexpr int Octaves = 80;
    static constexpr int PerOctave = 16;
    // The powers either side of a gap must differ by this factor for it to part two levels.
    static constexpr double LevelRatio = 3;

    UsageTally(const TallyRules& rules, LocalClock& clock);
    void add(const LogReading& reading);
    UsageTotals finish() const;

private:
    struct Level {
        qint64 ms = 0, cheapMs = 0;
        double energy = 0;
        double lowest = 0, highest = 0;
        std::array<qint64, 24> hourMs{};
    };
    // A stretch of UTC time in one hour of the day at one offset from UTC.
    struct HourSpan {
        qint64 fromMs = 0, toMs = 0; // empty until the first hold
        int hour = 0;
    };
    std::size_t levelOf(double watts) const;
    void hold(qint64 fromMs, qint64 toMs, double watts);
    qint64 cheapMs(qint64 fromMs, qint64 toMs);
    qint64 offsetChange(qint64 fromMs, qint64 endMs, int offset);
    // The end of the part of [fromMs, toMs) from its start that keeps one offset from UTC
    // (its offset, in offset), a week at most: a zone keeps an offset a week at least.
    qint64 sameOffsetEnd(qint64 fromMs, qint64 toMs, int& offset);
    void addHours(Level& level, qint64 fromMs, qint64 toMs);
    void addHourByHour(Level& level, qint64 fromMs, qint64 toMs);
    void findSpan(qint64 utcMs);
    void findThreshold(UsageTotals& totals) const;

    TallyRules m_rules;
    LocalClock& m_clock;
    std::vector<Level> m_levels; // off, then standby and on, or the octaves' parts
    HourSpan m_span;
    LogReading m_previous;
    UsageTotals m_totals;
};

} // namespace torvane
