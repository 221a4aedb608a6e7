#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// What the window program does before its window exists: the answers it gives on the
// terminal, its names, the mark of a running copy, and where it works.
namespace torvane {

// Whether the arguments are exactly "--help" or "--version", which are answered on the
// terminal; any other argument string goes to the test switches as it is.
bool asksForTerminalAnswer(int argc, char** argv);
// Answers "--help" or "--version" without a window, and ends the program.
[[noreturn]] void answerOnTerminal(int argc, char** argv);

// A file that may grow no further (a size limit set for the program) fails the write,
// which the program tells and recovers from, instead of ending the program.
void failWritesBeyondSizeLimit();

// The organisation, name and version the application is known by.
void nameApplication();

// Marks the running copy; a second copy runs all the same, without the mark. Each user has
// a mark of their own, held while the returned lock lives.
std::unique_ptr<QLockFile> markRunningCopy();

// The maker's web-site root and the program folder. What cannot be used as given (an
// unusable TORVANE_SITE_ROOT, a user folder that cannot be made) is told on the terminal;
// the program starts all the same.
struct ProgramPlaces {
    QString siteRoot;
    QString folder;
};
ProgramPlaces chooseProgramPlaces(const QString& builtInSiteRoot);

// Whether the program ends by itself once its window is shown and idle
// (TORVANE_QUIT_WHEN_IDLE set), so that its start-up can be timed from outside.
bool quitsWhenIdle();

} // namespace torvane
