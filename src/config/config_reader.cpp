#include "config_reader.h"

#include "config_keys.h"

#include "core/ansi_file.h"
#include "core/numbers.h"
#include "core/runtime_error.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

using config::ConfigKey;
using config::Keys;

// Stores a value read from the file as its member holds it. A value beyond what a
// figure can hold is kept as the largest one of its sign, which no range accepts; only
// the 16-bit member overflows.
void store(Settings& settings, const ConfigKey& key, double value)
{
    if (auto figure = std::get_if<double Settings::*>(&key.member)) {
        const double general = roundToGeneral(value);
        settings.*(*figure) = std::isfinite(general) ? general : value;
    } else if (auto single = std::get_if<float Settings::*>(&key.member)) {
        constexpr double Largest = std::numeric_limits<float>::max();
        settings.*(*single) = static_cast<float>(std::clamp(value, -Largest, Largest));
    } else {
        // Halves go to the even neighbour.
        const double whole = std::nearbyint(value);
        if (whole < std::numeric_limits<qint16>::min() ||
            whole > std::numeric_limits<qint16>::max())
            throw RuntimeError::overflow();
        settings.*std::get<qint16 Settings::*>(key.member) = static_cast<qint16>(whole);
    }
}

double stored(const Settings& settings, const ConfigKey& key)
{
    return std::visit([&](auto member) { return checkedFigure(settings.*member); }, key.member);
}

// The 16-bit counters of keys and sections; going below their range is a run-time error.
void countDown(qint16& counter)
{
    if (counter == std::numeric_limits<qint16>::min())
        throw RuntimeError::overflow();
    --counter;
}

} // namespace

QString configTranscriptHead()
{
    return u"Torvane Configuration"_s + CrLf + QString(21, QLatin1Char('-'));
}

bool readConfiguration(const QStringList& lines, const Regional& regional, Settings& settings,
                       QString& transcript, qint16& step)
{
    step = ConfigReadStep::ReadingLines;
    qint16 keys = 22;
    qint16 sections = 1;
    for (const QString& raw : lines) {
        if (raw.isEmpty() || raw.front() == QLatin1Char('#'))
            continue;
        const QStringView line = trimBlanks(raw);
        for (const ConfigKey& key : Keys) {
            const auto prefix = QLatin1String(key.prefix);
            if (line.startsWith(prefix)) {
                store(settings, key, LeadingValue(line.sliced(prefix.size()), regional));
                countDown(keys);
                break;
            }
        }
        if (line == QLatin1String("[Run]"))
            countDown(sections);
        transcript += CrLf;
        transcript += line;
    }
    transcript += CrLf + CrLf;
    step = ConfigReadStep::CheckingValues;
    bool allAccepted = true;
    for (const ConfigKey& key : Keys) {
        if (key.accepts(stored(settings, key)))
            countDown(keys);
        else
            allAccepted = false;
    }
    step = ConfigReadStep::Checked;
    // Keys given twice may make the count come out right with a value still out of range.
    if (keys != 0 || sections != 0 || !allAccepted)
        return false;
    if (settings.LogLevel == 3)
        settings.LogLevel = 2;
    // A stored cheap rate from 101 up is the rate plus 101; below 100 it is the rate.
    if (settings.CheapRate < 100)
        settings.CheapRate = roundToGeneral(settings.CheapRate + 101);
    settings.CheapRate = roundToGeneral(settings.CheapRate - 101);
    return true;
}

} // namespace torvane
