#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace torvane {

// Starts programs that run on their own (a browser's launcher may wait until the browser
// closes) and tells, later and from the event loop, of each that ends in failure: a
// non-zero status or a signal. Nothing it started is killed when it goes; it only stops
// watching, and calls nothing more.
class ProgramLauncher final : public QObject {
public:
    // How an end is noticed: by a process file descriptor where the system gives one,
    // otherwise by asking a few times a second.
    enum class Watching { ProcessFd, Polling };

    explicit ProgramLauncher(Watching watching = Watching::ProcessFd)
        : m_watching(watching)
    {}

    // Starts the program (looked for on PATH when its name has no "/") with the
    // arguments, in a session of its own; false, and whenFailed is not called, when it
    // could not be started.
    bool start(const QString& program, const QStringList& arguments,
               std::function<void()> whenFailed);

private:
    Watching m_watching;
};

} // namespace torvane
