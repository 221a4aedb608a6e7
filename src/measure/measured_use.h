#pragma once

#include "cheap_window.h"
#include "log_format.h"
#include "log_reader.h"
#include "reading_time.h"
#include "usage_tally.h"

#include <QDateTime>
#include <QIODevice>
#include <QStringList>

#include <array>
#include <optional>

namespace torvane {

class Regional;

// What the user may set; the rest is found from the log.
struct MeasureOptions {
    std::optional<CheapWindow> cheap;
    std::optional<double> offBelow;     // watts; 0.5 when not given
    std::optional<double> standbyBelow; // watts; found from the readings when not given
    // Longest hold that counts as known, in minutes: 60 when not given, except for a state
    // history, which logs only changes, where a state holds until the next however long.
    std::optional<double> maxGapMinutes;
};

// An appliance's use as a log of its power tells it, with what was found on the way.
struct MeasuredUse {
    enum class Outcome { Measured, Unusable, Cancelled } outcome = Outcome::Unusable;
    QString problem; // Unusable: why, for the user

    // The log as read.
    LogFormat format;
    TimeForm timeForm = TimeForm::Iso;
    bool decimalComma = false;
    QString entity;             // a history's entity: the one whose states are powers
    qint64 otherEntityRows = 0; // a history's rows of other entities, left out
    QStringList otherEntities;  // the first few of those entities
    bool sorted = false;        // the rows were out of time order and were sorted
    qint64 unreadableLines = 0;
    QList<UnreadableLine> firstUnreadable; // the first LogReader::KeptUnreadable of them

    // The time it covers.
    qint64 readings = 0;
    QDateTime first, last; // local time
    qint64 spanMs = 0, knownMs = 0;
    double knownDays = 0;
    double knownPercent = 0; // of the span from the first reading to the last

    // The rules applied.
    double offBelow = 0.5;
    bool offGiven = false;
    double standbyBelow = 0;
    ThresholdChoice threshold = ThresholdChoice::Given;
    double belowGap = 0, aboveGap = 0; // Found: the powers either side of the gap
    qint64 maxGapMs = 0;               // 0: none
    std::optional<CheapWindow> cheap;

    // The figures for an item's fields: hours a day on and on standby at each rate, and the
    // mean powers of the time on and on standby (0 when there is none).
    double normalHours = 0, cheapHours = 0;
    double normalStandbyHours = 0, cheapStandbyHours = 0;
    double onWatts = 0, standbyWatts = 0;
    double offHours = 0;

    // The known time at each hour of the day on the local clock, all days together.
    DayByHour hours;
};

// Reads a log from the device (a file's whole contents, from where it stands) and works out
// the use. Rows in time order stream through in flat memory; rows out of order are sorted
// when the device can be read again from the start and holds at most SortLimit bytes
// (progress then starts again from 0), and refused otherwise. A device that is sequential
// must block for its data, as a pipe does.
//
// A history may log several entities. From a device that can be read again, it is read
// once to choose the one to measure (progress then starts again from 0 for the reading
// proper): of the entities with states that are numbers and a name that does not say
// energy, one whose name says power before others, then the one with the most such states,
// then the first; the only entity, whatever its name. Only the first thousand entities are
// counted. From a pipe, the first whose name does not say energy.
inline constexpr qint64 SortLimit = 64 * 1024 * 1024;
MeasuredUse measureUse(QIODevice& device, const MeasureOptions& options,
                       const MeasureProgress& progress = {});
MeasuredUse measureFile(const QString& path, const MeasureOptions& options,
                        const MeasureProgress& progress = {});

// The four hour figures as the fields show them, to one decimal, in the order normal, cheap,
// normal standby, cheap standby: each the nearest tenth, except that where those would add
// up to more than the 24 hours of the day they share, the figures rounded up the most
// (the larger of two alike) come down a tenth until they fit.
std::array<double, 4> shownHours(const MeasuredUse& use);

// The figures as the batch tool writes them: a header, and a row of plain numbers with a
// full stop (hours and watts to one decimal, days to two, the known share to one).
QString measuredHeader();
QString measuredRow(const MeasuredUse& use);
// What was read and chosen, a line each: the format, the time covered, the thresholds,
// the cheap-rate hours, the rows sorted and the lines that could not be read. Numbers are
// plain with a full stop, or in the user's format when regional settings are given.
QStringList measuredNotes(const MeasuredUse& use, const Regional* regional = nullptr);
// The lines that could not be read, for the notes or beside why the log cannot be used.
QStringList unreadableNotes(const MeasuredUse& use);

// Numbers as the notes and figures write them: plain with a full stop for the batch tool,
// as the user's fields show numbers for the window; rounded as the fields round.
class NoteNumbers {
public:
    explicit NoteNumbers(const Regional* regional);
    QString fixed(double value, int decimals) const;
    QString general(double value) const;
    // A power to one decimal, or two significant digits when too small for one; with "W".
    QString watts(double value) const;

private:
    const Regional* m_regional;
};

// The thresholds as the notes and the picture's key tell them, with "W": the off threshold,
// and a standby threshold given, as they are; a standby threshold found, which lies in a gap
// between the powers read, to a tenth.
QString offThresholdText(const MeasuredUse& use, const NoteNumbers& numbers);
QString standbyThresholdText(const MeasuredUse& use, const NoteNumbers& numbers);

// The first LogReader::KeptOtherEntities names, apart by commas, then "..." when there are
// more.
QString someNames(const QStringList& names);

} // namespace torvane
