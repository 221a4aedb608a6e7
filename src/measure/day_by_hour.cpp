#include "day_by_hour.h"

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// Hours of the day from start up to end; past 24 when the run goes on past midnight.
struct Run {
    int start = 0, end = 0;
};

QList<Run> runsOf(const std::array<HourState, 24>& states, HourState state)
{
    QList<Run> runs;
    for (int hour = 0; hour < 24; ++hour) {
        if (states[static_cast<std::size_t>(hour)] != state)
            continue;
        if (!runs.isEmpty() && runs.last().end == hour)
            runs.last().end = hour + 1;
        else
            runs.append({hour, hour + 1});
    }
    // A run up to midnight goes on into the one from midnight: 22:00-06:00.
    if (runs.size() > 1 && runs.first().start == 0 && runs.last().end == 24) {
        runs.last().end = 24 + runs.first().end;
        runs.removeFirst();
    }
    return runs;
}

QString runsText(const QList<Run>& runs)
{
    if (runs.size() == 1 && runs[0].start == 0 && runs[0].end == 24)
        return u"all day"_s;
    const auto clock = [](int hour) {
        return u"%1:00"_s.arg(hour > 24 ? hour - 24 : hour, 2, 10, QChar(u'0'));
    };
    QStringList texts;
    for (const Run& run : runs)
        texts.append(clock(run.start) + u'-' + clock(run.end));
    return texts.join(u", "_s);
}

} // namespace

HourState hourState(const HourUse& hour)
{
    if (hour.offMs == 0 && hour.standbyMs == 0 && hour.onMs == 0)
        return HourState::Unknown;
    if (hour.onMs >= hour.standbyMs && hour.onMs >= hour.offMs)
        return HourState::On;
    return hour.standbyMs >= hour.offMs ? HourState::Standby : HourState::Off;
}

HourShares hourShares(const HourUse& hour)
{
    const qint64 known = hour.offMs + hour.standbyMs + hour.onMs;
    if (known == 0)
        return {};
    const auto share = [known](qint64 ms) {
        return static_cast<double>(ms) / static_cast<double>(known);
    };
    return {share(hour.offMs), share(hour.standbyMs), share(hour.onMs)};
}

QList<StateKey> stateKeys(const MeasuredUse& use, const Regional* regional)
{
    const NoteNumbers numbers(regional);
    const QString off = offThresholdText(use, numbers);
    if (use.threshold == ThresholdChoice::OneLevel)
        return {{HourState::Off, u"Off below "_s + off}, {HourState::On, u"On from "_s + off}};
    const QString standby = standbyThresholdText(use, numbers);
    return {{HourState::Off, u"Off below "_s + off},
            {HourState::Standby, u"Standby %1 to %2"_s.arg(off, standby)},
            {HourState::On, u"On from "_s + standby}};
}

QString dayByHourText(const MeasuredUse& use, const Regional* regional)
{
    if (use.outcome != MeasuredUse::Outcome::Measured)
        return QString();
    std::array<HourState, 24> states{};
    for (std::size_t hour = 0; hour < states.size(); ++hour)
        states[hour] = hourState(use.hours[hour]);
    QStringList keys;
    for (const StateKey& key : stateKeys(use, regional))
        keys.append(key.text);
    QStringList sentences{
        u"How each hour of the day splits into off, standby and on, over %1 days of known "
        "time."_s.arg(NoteNumbers(regional).fixed(use.knownDays, 2)),
        keys.join(u"; "_s) + u'.'};
    const std::pair<HourState, QString> kinds[] = {{HourState::On, u"Mostly on"_s},
                                                   {HourState::Standby, u"Mostly on standby"_s},
                                                   {HourState::Off, u"Mostly off"_s},
                                                   {HourState::Unknown, u"No known time"_s}};
    for (const auto& [state, name] : kinds) {
        const QList<Run> runs = runsOf(states, state);
        if (!runs.isEmpty())
            sentences.append(u"%1: %2."_s.arg(name, runsText(runs)));
    }
    if (use.cheap)
        sentences.append(u"Cheap rate: %1."_s.arg(cheapWindowText(*use.cheap)));
    return sentences.join(u' ');
}

} // namespace torvane
