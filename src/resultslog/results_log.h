#pragma once

#include "core/clock.h"
#include "core/program_folder.h"
#include "core/regional.h"

#include <functional>

namespace torvane {

// The results log, Log\Torvane.log: created with its header, appended to, never rewritten.
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

    void CreateResultsLog();
    // Appends the text and a CR LF when the log exists; tells the user when it cannot.
    void AppendPendingLogText(const QString& pendingLogText);

    // Archive: archives the log (a dated copy, then a new log) or clears it (a new log),
    // as the user answers. showStatus gets the status text of what was done.
    void Archive(const std::function<void(const QString&)>& showStatus);
    // ViewL: opens the log in the user's viewer, without waiting for it.
    void View();

private:
    // A new log with its header in place of the old one, also when that is read-only.
    bool startNewLog();
    // Copies the log to the first free archive name of the day: the bytes copied, or -1.
    qint64 archiveCopy();
    void archiveFailed();

    ProgramFolder& m_folder;
    Desktop& m_desktop;
    const Regional& m_regional;
    const Clock& m_clock;
};

} // namespace torvane
