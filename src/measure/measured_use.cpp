#include "measured_use.h"

#include "core/numbers.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

constexpr qint64 MsPerMinute = 60'000;
constexpr double MsPerDay = 86'400'000;

// How reading the log through ended.
struct Pass {
    enum class End { Done, OutOfOrder } end = End::Done;
    qint64 line = 0, earlierLine = 0; // OutOfOrder: the row, and the row before it in the file
};

// With the lines the reader could not read, which may be why.
MeasuredUse unusable(const QString& why, const LogReader* reader = nullptr)
{
    MeasuredUse use;
    use.problem = why;
    if (reader) {
        use.unreadableLines = reader->unreadableLines();
        use.firstUnreadable = reader->firstUnreadable();
    }
    return use;
}

TallyRules rulesOf(const MeasureOptions& options, const LogFormat& format)
{
    TallyRules rules;
    rules.offBelow = options.offBelow.value_or(0.5);
    rules.standbyBelow = options.standbyBelow;
    rules.cheap = options.cheap;
    rules.counter = format.kind == LogKind::Energy;
    // A limit past 1,900 years limits nothing a log can hold.
    if (options.maxGapMinutes)
        rules.maxGapMs =
            std::max<qint64>(std::llround(std::min(*options.maxGapMinutes, 1e9) * MsPerMinute), 1);
    else if (format.kind != LogKind::History)
        rules.maxGapMs = 60 * MsPerMinute;
    return rules;
}

// The readings in file order, until one comes before the one above it.
Pass streamed(LogReader& reader, UsageTally& tally)
{
    LogReading reading;
    qint64 latest = std::numeric_limits<qint64>::min();
    qint64 latestLine = 0;
    while (reader.next(reading)) {
        if (reading.utcMs < latest)
            return {Pass::End::OutOfOrder, reading.line, latestLine};
        tally.add(reading);
        latest = reading.utcMs;
        latestLine = reading.line;
    }
    return {};
}

// All the readings, sorted by time (rows of the same time in file order).
Pass sorted(LogReader& reader, UsageTally& tally)
{
    std::vector<LogReading> readings;
    LogReading reading;
    while (reader.next(reading))
        readings.push_back(reading);
    std::stable_sort(readings.begin(), readings.end(),
                     [](const LogReading& a, const LogReading& b) { return a.utcMs < b.utcMs; });
    for (const LogReading& r : readings)
        tally.add(r);
    return {};
}

QString noKnownTime(const MeasuredUse& use)
{
    // The lines that could not be read are told with the problem.
    if (use.readings == 0)
        return u"no reading could be read"_s;
    if (use.readings == 1)
        return u"no known time: there is only one reading"_s;
    return u"no known time: every hold is unknown (longer than the gap limit, or a state or "
           "counter that is unknown)"_s;
}

void setFigures(MeasuredUse& use, const UsageTotals& t)
{
    const auto perDay = [&](qint64 ms) {
        return static_cast<double>(ms) * 24 / static_cast<double>(use.knownMs);
    };
    use.normalHours = perDay(t.onMs - t.onCheapMs);
    use.cheapHours = perDay(t.onCheapMs);
    use.normalStandbyHours = perDay(t.standbyMs - t.standbyCheapMs);
    use.cheapStandbyHours = perDay(t.standbyCheapMs);
    use.offHours = perDay(t.offMs);
    use.onWatts = t.onMs > 0 ? t.onEnergy / static_cast<double>(t.onMs) : 0;
    use.standbyWatts = t.standbyMs > 0 ? t.standbyEnergy / static_cast<double>(t.standbyMs) : 0;
}

MeasuredUse finished(const LogReader& reader, const UsageTotals& t, const TallyRules& rules,
                     const MeasureOptions& options)
{
    MeasuredUse use;
    use.outcome = MeasuredUse::Outcome::Measured;
    use.format = reader.format();
    use.timeForm = reader.timeForm();
    use.decimalComma = reader.decimalComma();
    use.entity = reader.entity();
    use.otherEntityRows = reader.otherEntityRows();
    use.otherEntities = reader.otherEntities();
    use.unreadableLines = reader.unreadableLines();
    use.firstUnreadable = reader.firstUnreadable();
    use.readings = t.readings;
    use.first = QDateTime::fromMSecsSinceEpoch(t.firstMs, Qt::LocalTime);
    use.last = QDateTime::fromMSecsSinceEpoch(t.lastMs, Qt::LocalTime);
    use.spanMs = t.lastMs - t.firstMs;
    use.knownMs = t.knownMs;
    use.offBelow = rules.offBelow;
    use.offGiven = options.offBelow.has_value();
    use.standbyBelow = t.standbyBelow;
    use.threshold = t.choice;
    use.belowGap = t.belowGap;
    use.aboveGap = t.aboveGap;
    use.maxGapMs = rules.maxGapMs;
    use.cheap = rules.cheap;
    if (use.knownMs == 0) {
        use.outcome = MeasuredUse::Outcome::Unusable;
        use.problem = noKnownTime(use);
        return use;
    }
    use.knownDays = static_cast<double>(use.knownMs) / MsPerDay;
    use.knownPercent = static_cast<double>(use.knownMs) * 100 / static_cast<double>(use.spanMs);
    setFigures(use, t);
    use.hours = t.hours;
    return use;
}

// What a survey of a history's rows found of one entity.
struct EntityCount {
    QByteArray name;
    NamedFor namedFor = NamedFor::Other;
    qint64 numbers = 0; // states that are numbers
};

// Whether `a` is a better choice than `b` for the entity whose states are the powers.
bool betterEntity(const EntityCount& a, const EntityCount& b)
{
    const bool aPower = a.namedFor == NamedFor::Power, bPower = b.namedFor == NamedFor::Power;
    return aPower != bPower ? aPower : a.numbers > b.numbers;
}

QString entityNames(const std::vector<EntityCount>& entities)
{
    QStringList names;
    for (std::size_t i = 0; i < entities.size() && i <= LogReader::KeptOtherEntities; ++i)
        names << visibleText(entities[i].name.toStdString());
    return someNames(names);
}

// The entity of a history whose states are the powers to measure, from every row; empty
// when none is (problem says why) or the reading stopped.
QByteArray chooseEntity(LogReader& reader, QString& problem)
{
    // Entities past these are not counted, so that memory stays flat.
    constexpr std::size_t MostEntities = 1000;
    reader.readEveryEntity();
    std::vector<EntityCount> entities;
    QHash<QByteArray, std::size_t> at;
    LogReading reading;
    while (reader.next(reading)) {
        const std::string_view name = reader.rowEntity();
        const QByteArray key(name.data(), static_cast<qsizetype>(name.size()));
        auto found = at.constFind(key);
        if (found == at.constEnd()) {
            if (entities.size() == MostEntities)
                continue;
            found = at.insert(key, entities.size());
            entities.push_back({key, namedFor(name)});
        }
        entities[*found].numbers += std::isnan(reading.value) ? 0 : 1;
    }
    const EntityCount* best = nullptr;
    for (const EntityCount& e : entities) {
        if (e.numbers > 0 && e.namedFor != NamedFor::Energy && (!best || betterEntity(e, *best)))
            best = &e;
    }
    if (best)
        return best->name;
    // An export of one entity is of the one the user chose, whatever its name.
    if (entities.size() == 1 && entities[0].numbers > 0)
        return entities[0].name;
    if (!entities.empty())
        problem = u"no entity of the history has powers as its states (it has %1; an entity "
                  "named for energy counts energy, not power)"_s.arg(entityNames(entities));
    return {};
}

MeasuredUse cancelledUse()
{
    MeasuredUse use;
    use.outcome = MeasuredUse::Outcome::Cancelled;
    return use;
}

} // namespace

MeasuredUse measureUse(QIODevice& device, const MeasureOptions& options,
                       const MeasureProgress& progress)
{
    const qint64 start = device.pos();
    QByteArray entity;
    bool surveyed = false, sorting = false;
    for (;;) {
        LogReader reader(device, progress);
        const QString why = reader.start();
        if (reader.cancelled()) // before the format was found: the rows cannot be read
            return cancelledUse();
        if (!why.isEmpty())
            return unusable(why);
        const bool survey =
            reader.format().kind == LogKind::History && !surveyed && !device.isSequential();
        surveyed = surveyed || survey;
        QString problem;
        Pass pass;
        if (survey) {
            entity = chooseEntity(reader, problem);
        } else {
            if (!entity.isEmpty())
                reader.readEntity(entity);
            LocalClock clock;
            const TallyRules rules = rulesOf(options, reader.format());
            UsageTally tally(rules, clock);
            pass = sorting ? sorted(reader, tally) : streamed(reader, tally);
            if (pass.end == Pass::End::Done && !reader.cancelled() && reader.failure().isEmpty()) {
                MeasuredUse use = finished(reader, tally.finish(), rules, options);
                use.sorted = sorting;
                return use;
            }
        }
        if (reader.cancelled())
            return cancelledUse();
        if (!reader.failure().isEmpty() || !problem.isEmpty())
            return unusable(!problem.isEmpty() ? problem : reader.failure(), &reader);
        // Read again from the start: for the entity chosen, or to sort the rows.
        if (pass.end == Pass::End::OutOfOrder &&
            (device.isSequential() || device.size() - start > SortLimit))
            return unusable(
                u"line %1 is out of time order (before line %2): rows are sorted only in a "
                "file of at most 64 MiB, so sort this one by time"_s.arg(pass.line)
                    .arg(pass.earlierLine),
                &reader);
        if (!device.seek(start))
            return unusable(u"the file could not be read again: %1"_s.arg(device.errorString()));
        sorting = sorting || pass.end == Pass::End::OutOfOrder;
    }
}

std::array<double, 4> shownHours(const MeasuredUse& use)
{
    const std::array<double, 4> exact{use.normalHours, use.cheapHours, use.normalStandbyHours,
                                      use.cheapStandbyHours};
    std::array<long long, 4> tenths{};
    for (std::size_t i = 0; i < exact.size(); ++i)
        tenths[i] = std::llround(roundToDecimals(exact[i], 1) * 10);
    // The exact figures share at most a day, so the floors of their tenths always fit.
    while (std::accumulate(tenths.begin(), tenths.end(), 0LL) > 240) {
        std::size_t most = 0;
        for (std::size_t i = 1; i < exact.size(); ++i) {
            const double up = static_cast<double>(tenths[i]) - exact[i] * 10;
            const double mostUp = static_cast<double>(tenths[most]) - exact[most] * 10;
            if (up > mostUp || (up == mostUp && exact[i] > exact[most]))
                most = i;
        }
        --tenths[most];
    }
    std::array<double, 4> shown{};
    for (std::size_t i = 0; i < shown.size(); ++i)
        shown[i] = static_cast<double>(tenths[i]) / 10;
    return shown;
}

MeasuredUse measureFile(const QString& path, const MeasureOptions& options,
                        const MeasureProgress& progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unusable(u"cannot be read: %1"_s.arg(file.errorString()));
    return measureUse(file, options, progress);
}

} // namespace torvane
