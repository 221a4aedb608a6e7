#pragma once

#include "core/clock.h"
#include "core/program_folder.h"
#include "core/regional.h"

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

private:
    ProgramFolder& m_folder;
    Desktop& m_desktop;
    const Regional& m_regional;
    const Clock& m_clock;
};

} // namespace torvane
