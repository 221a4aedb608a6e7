#pragma once

#include <QString>

namespace torvane {

// The cheap-rate hours of a day, on the local clock: from start up to end, past midnight
// when end comes before start ("22:00-06:00").
struct CheapWindow {
    int startMinute = 0; // from midnight
    int endMinute = 0;   // 1440 for midnight at the end
};

// "HH:MM-HH:MM", 00:00 to 24:00; the start and end differ. Empty: why not.
QString parseCheapWindow(QStringView text, CheapWindow& window);
QString cheapWindowText(const CheapWindow& window);

// How much of the wall-clock span [fromMs, toMs) (local milliseconds since 1970) lies in
// the window, counting exactly from edge to edge.
qint64 cheapMsWithin(const CheapWindow& window, qint64 fromMs, qint64 toMs);

} // namespace torvane
