#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <optional>

#include <sys/types.h>

namespace torvane::test {

// Sets an environment variable (or removes it, for no value) while it lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<QByteArray>& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    std::optional<QByteArray> m_before;
};

// The desktop's launcher, xdg-open, played by a shell script of the test's own, first on
// PATH while it lives. The script writes its pid to "pid", then its argument count and
// arguments, one a line, to "arguments", then runs the body. Without a body there is no
// launcher at all: PATH holds only an empty folder.
class FakeLauncher {
public:
    explicit FakeLauncher(const char* body);

    // What the script wrote to "arguments": empty until it has run.
    QByteArray arguments() const;
    // The script's process, once it has run; 0 before.
    pid_t pid() const;

private:
    QTemporaryDir m_dir;
    ScopedEnvironment m_path;
};

// The pid is no longer a process: it ended and its parent reaped it.
bool reaped(pid_t pid);

} // namespace torvane::test
