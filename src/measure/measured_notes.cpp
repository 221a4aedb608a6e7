// The figures and notes of a measurement as text: plain numbers with a full stop, and
// notes in the words of the batch tool's messages, their numbers plain or in the user's
// format.

#include "measured_use.h"

#include "core/numbers.h"
#include "core/regional.h"

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

QString timeFormName(TimeForm form)
{
    switch (form) {
    case TimeForm::Iso:
        return u"ISO 8601"_s;
    case TimeForm::Dotted:
        return u"dd.MM.yyyy HH:mm:ss"_s;
    case TimeForm::UnixSeconds:
        return u"Unix seconds"_s;
    case TimeForm::UnixMillis:
        return u"Unix milliseconds"_s;
    }
    return QString();
}

QString formatNote(const MeasuredUse& use)
{
    const LogFormat& f = use.format;
    QString kind = f.kind == LogKind::Energy ? u"energy counter"_s : u"power log"_s;
    if (f.kind == LogKind::History)
        kind = u"state history of %1"_s.arg(use.entity);
    else if (!f.header)
        kind += u" without a header"_s;
    const QString quoted = f.header ? u"\"%1\""_s : u"%1"_s;
    QString note = u"%1: time in %2 (%3), %4 in %5 (%6), separator %7"_s.arg(
        kind, quoted.arg(f.timeName), timeFormName(use.timeForm),
        f.kind == LogKind::Energy ? u"energy"_s : u"power"_s, quoted.arg(f.valueName), f.unit,
        f.separator == '\t' ? u"tab"_s : u"\"%1\""_s.arg(QLatin1Char(f.separator)));
    if (use.decimalComma)
        note += u", decimal comma"_s;
    if (use.otherEntityRows > 0) {
        const QString others = someNames(use.otherEntities);
        note += use.otherEntityRows == 1
                    ? u"; 1 row of another entity left out (%1)"_s.arg(others)
                    : u"; %1 rows of other entities left out (%2)"_s.arg(use.otherEntityRows)
                          .arg(others);
    }
    return note;
}

QString spanNote(const MeasuredUse& use, const NoteNumbers& numbers)
{
    const QString gap = use.maxGapMs == 0 ? u"a hold counts however long"_s
                                          : u"holds over %1 min unknown"_s.arg(numbers.general(
                                                static_cast<double>(use.maxGapMs) / 60000));
    return u"%1 readings from %2 to %3: %4 days known (%5%), %6"_s.arg(
        QString::number(use.readings), use.first.toString(u"yyyy-MM-dd HH:mm:ss"_s),
        use.last.toString(u"yyyy-MM-dd HH:mm:ss"_s), numbers.fixed(use.knownDays, 2),
        numbers.fixed(use.knownPercent, 1), gap);
}

QString thresholdNote(const MeasuredUse& use, const NoteNumbers& numbers)
{
    const QString off = u"off below %1 (%2)"_s.arg(offThresholdText(use, numbers),
                                                   use.offGiven ? u"given"_s : u"default"_s);
    switch (use.threshold) {
    case ThresholdChoice::Given:
        return off + u", standby below %1 (given)"_s.arg(standbyThresholdText(use, numbers));
    case ThresholdChoice::Found:
        return off +
               u", standby below %1 (found: the widest gap in the powers, from %2 to %3)"_s.arg(
                   standbyThresholdText(use, numbers), numbers.watts(use.belowGap),
                   numbers.watts(use.aboveGap));
    case ThresholdChoice::OneLevel:
        break;
    }
    return off + u", no standby level found (no gap of 3 times or more in the powers): "
                 "everything from %1 up is on"_s.arg(offThresholdText(use, numbers));
}

} // namespace

QString measuredHeader()
{
    return u"NormalHr,CheapHr,NormalSHr,CheapSHr,Item1Watts,Item1SWatts,Days,KnownPercent"_s;
}

QString measuredRow(const MeasuredUse& use)
{
    const NoteNumbers plain(nullptr);
    QStringList fields;
    for (const double value : shownHours(use))
        fields.append(plain.fixed(value, 1));
    for (const double value : {use.onWatts, use.standbyWatts})
        fields.append(plain.fixed(value, 1));
    fields.append(plain.fixed(use.knownDays, 2));
    fields.append(plain.fixed(use.knownPercent, 1));
    return fields.join(u',');
}

NoteNumbers::NoteNumbers(const Regional* regional)
    : m_regional(regional)
{}

QString NoteNumbers::fixed(double value, int decimals) const
{
    // Rounded as the window's fields round, so that the tool and the window agree.
    return m_regional ? m_regional->formatFixed(value, decimals)
                      : QString::number(roundToDecimals(value, decimals), 'f', decimals);
}

QString NoteNumbers::general(double value) const
{
    return m_regional ? m_regional->formatGeneral(value) : QString::number(value);
}

QString NoteNumbers::watts(double value) const
{
    if (value == 0 || std::abs(value) >= 0.05)
        return fixed(value, 1) + u" W"_s;
    QString digits = QString::number(value, 'g', 2);
    if (m_regional)
        digits.replace(u'.', m_regional->decimalPoint());
    return digits + u" W"_s;
}

QString offThresholdText(const MeasuredUse& use, const NoteNumbers& numbers)
{
    // As given: rounded, it might not be the one applied.
    return numbers.general(use.offBelow) + u" W"_s;
}

QString standbyThresholdText(const MeasuredUse& use, const NoteNumbers& numbers)
{
    return use.threshold == ThresholdChoice::Given ? numbers.general(use.standbyBelow) + u" W"_s
                                                   : numbers.watts(use.standbyBelow);
}

QString someNames(const QStringList& names)
{
    const qsizetype told = std::min<qsizetype>(names.size(), LogReader::KeptOtherEntities);
    return names.first(told).join(u", "_s) + (names.size() > told ? u", ..."_s : QString());
}

QStringList unreadableNotes(const MeasuredUse& use)
{
    if (use.unreadableLines == 0)
        return {};
    QStringList notes{use.unreadableLines == 1
                          ? u"1 line could not be read:"_s
                          : u"%1 lines could not be read:"_s.arg(use.unreadableLines)};
    for (const UnreadableLine& line : use.firstUnreadable)
        notes.append(u"  line %1: %2"_s.arg(line.line).arg(line.reason));
    if (use.unreadableLines > use.firstUnreadable.size())
        notes.append(u"  and %1 more"_s.arg(use.unreadableLines - use.firstUnreadable.size()));
    return notes;
}

QStringList measuredNotes(const MeasuredUse& use, const Regional* regional)
{
    const NoteNumbers numbers(regional);
    QStringList notes{formatNote(use), spanNote(use, numbers), thresholdNote(use, numbers)};
    if (use.cheap)
        notes.append(u"cheap rate %1 local time"_s.arg(cheapWindowText(*use.cheap)));
    if (use.sorted)
        notes.append(u"rows out of time order were sorted"_s);
    return notes + unreadableNotes(use);
}

} // namespace torvane
