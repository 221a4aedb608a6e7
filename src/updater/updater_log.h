#pragma once

#include "core/clock.h"
#include "core/program_folder.h"
#include "core/regional.h"

namespace torvane {

// The update checker's trace, Log/Updater.log, kept only while Log/LogOn.txt exists.
// A file that cannot be created or written ends the program.
class UpdaterLog {
public:
    UpdaterLog(ProgramFolder& folder, Desktop& desktop, const Regional& regional,
               const Clock& clock);

    // Whether the switch file asks for the trace.
    bool on() const;
    // Creates the log with its header when it does not exist.
    void createUpdaterLog();
    // Appends the entry and a CR LF, when the switch file exists.
    void writeUpdaterLog(const QString& entry);
    // "dd-mmm-yy hh:mm:ss", the time entries are stamped with.
    QString stamp() const;

private:
    [[noreturn]] void fatal(const QString& title, const QString& problem);

    ProgramFolder& m_folder;
    Desktop& m_desktop;
    const Regional& m_regional;
    const Clock& m_clock;
};

} // namespace torvane
