#pragma once

#include "core/clock.h"
#include "core/program_folder.h"
#include "core/regional.h"

#include <functional>

namespace torvane {

// The results log, Log\Torvane.log: created with its header and appended to; archiving
// and clearing put a new log with a new header in its place.
class ResultsLog {
public:
    ResultsLog(ProgramFolder& folder, Desktop& desktop, const Regional& regional,
               const Clock& clock);

    static QString fileName() { return QStringLiteral("Log\\Torvane.log"); }
    // The header that starts a new log.
    QString header() const;
    // Date and time as every log entry writes them.
    static QString timeStamp(const Regional& regional, const Clock& clock);
    QString timeStamp() const { return timeStamp(m_regional, m_clock); }

    void createResultsLog();
    // Appends the text and a CR LF when the log exists; tells the user when it cannot.
    void appendPendingLogText(const QString& pendingLogText);

    // Archive: archives the log (a dated copy, then a new log) or clears it (a new log),
    // as the user answers. showStatus gets the status text of what was done.
    void archive(const std::function<void(const QString&)>& showStatus);
    // ViewL: opens the log in the user's viewer, without waiting for it.
    void showInViewer();

private:
    // The question and what the answer asks for; false when the log could not be read,
    // copied or replaced.
    bool archiveOrClear(const std::function<void(const QString&)>& showStatus);
    // A new log with its header in place of the old one, also when that is read-only.
    bool startNewLog();
    // Copies the log whole to the first free archive name of the day.
    bool archiveCopy();
    // Checks the folder (its absence ends the program) and the file (its absence is told).
    bool logExists();
    // Tells the user of a problem with the log.
    void warn(const QString& text);

    ProgramFolder& m_folder;
    Desktop& m_desktop;
    const Regional& m_regional;
    const Clock& m_clock;
};

} // namespace torvane
