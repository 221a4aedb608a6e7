// A log's measured use on any bytes: never a crash; the figures finite and not negative, at
// most 24 hours a day in all, the known share from 0 to 100; read whole, again, and in
// pieces of any size, the same figures and notes; a refusal says why, each note is a line.

#include "fuzz_check.h"
#include "measure/measured_use.h"

#include <cmath>

using namespace Qt::StringLiterals;
using namespace torvane;

namespace {

// Everything measured, as one text to compare.
QString described(const MeasuredUse& use)
{
    if (use.outcome != MeasuredUse::Outcome::Measured)
        return u"refused: "_s + use.problem;
    QStringList parts{measuredRow(use)};
    for (const double value :
         {use.normalHours, use.cheapHours, use.normalStandbyHours, use.cheapStandbyHours,
          use.onWatts, use.standbyWatts, use.knownDays, use.knownPercent, use.standbyBelow})
        parts.append(QString::number(value, 'g', 17));
    return (parts + measuredNotes(use)).join(u'\n');
}

MeasuredUse read(const QByteArray& bytes, qint64 piece, const MeasureOptions& options)
{
    Trickle device(piece);
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    return measureUse(device, options);
}

void checkFigures(const MeasuredUse& use)
{
    const QString row = measuredRow(use);
    for (const double value :
         {use.normalHours, use.cheapHours, use.normalStandbyHours, use.cheapStandbyHours,
          use.onWatts, use.standbyWatts, use.offHours, use.knownDays, use.knownPercent})
        require(std::isfinite(value) && value >= 0, "figures finite and not negative", row);
    require(use.normalHours + use.cheapHours + use.normalStandbyHours + use.cheapStandbyHours <=
                24 + 1e-9,
            "at most 24 hours a day", row);
    require(use.knownPercent <= 100 + 1e-9, "known share at most 100", row);
    require(use.knownMs > 0 && use.knownMs <= use.spanMs, "known time within the span", row);
    require(use.unreadableLines >= use.firstUnreadable.size(), "unreadable lines counted", row);
}

// The first byte chooses the options and the size of the pieces.
MeasureOptions optionsOf(quint8 choice)
{
    MeasureOptions options;
    if (choice & 1)
        options.cheap = CheapWindow{22 * 60, 6 * 60};
    if (choice & 2)
        options.standbyBelow = 5;
    if (choice & 4)
        options.maxGapMinutes = 1;
    if (choice & 8)
        options.offBelow = 0;
    return options;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const MeasureOptions options = optionsOf(data[0]);
    const MeasuredUse whole = read(bytes, qint64(1) << 30, options);
    const QString first = described(whole);
    require(described(read(bytes, qint64(1) << 30, options)) == first, "read again, the same",
            first);
    require(described(read(bytes, qint64(1) << (data[0] >> 4), options)) == first,
            "pieces read as the whole", first);
    if (whole.outcome == MeasuredUse::Outcome::Measured)
        checkFigures(whole);
    else
        require(!whole.problem.isEmpty(), "a refusal says why");
    for (const QString& note : measuredNotes(whole))
        require(!note.contains(u'\n') && !note.contains(u'\r'), "a note is one line", note);
    return 0;
}
