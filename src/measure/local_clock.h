#pragma once

#include <QtGlobal>

namespace torvane {

// The machine's local time (the zone TZ names, or the system's), between UTC and wall-clock
// milliseconds. The offset of the hour last asked about is kept, so that a log's readings,
// thousands to the hour, cost one look-up an hour; an hour in which the offset changes is
// looked up reading by reading.
class LocalClock {
public:
    // Seconds east of UTC at a UTC time.
    int offsetAt(qint64 utcMs);
    // The UTC time of a wall-clock time. An hour that occurs twice (clocks going back) is
    // taken the first time, unless that falls before notBefore and the second does not, as
    // for the rows of a log in time order; an hour that is skipped (clocks going forward)
    // is read with the offset before the change.
    qint64 utcOf(qint64 localMs, qint64 notBefore);

private:
    struct Hour {
        qint64 key = -1;
        bool steady = false; // the same offset all hour, and only one way to read it
        int offset = 0;
    };
    // What a wall-clock time can be: the offsets before and after a nearby change and
    // whether each reads it.
    struct Readings {
        int before = 0, after = 0;
        bool beforeFits = false, afterFits = false;
    };
    static int offsetNow(qint64 utcMs);
    static Readings readingsOf(qint64 localMs);
    static qint64 choose(qint64 localMs, const Readings& r, qint64 notBefore);

    Hour m_utcHour;
    Hour m_localHour;
};

} // namespace torvane
