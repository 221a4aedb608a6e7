#include "fake_launcher.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>

using namespace Qt::StringLiterals;

namespace torvane::test {

namespace {

std::optional<QByteArray> environmentValue(const char* name)
{
    if (!qEnvironmentVariableIsSet(name))
        return std::nullopt;
    return qgetenv(name);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray launcherPath(const QTemporaryDir& dir, const char* body)
{
    const QByteArray folder = QFile::encodeName(dir.path());
    return body ? folder + ':' + qgetenv("PATH") : folder;
}

} // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const std::optional<QByteArray>& value)
    : m_name(name)
    , m_before(environmentValue(name))
{
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

ScopedEnvironment::~ScopedEnvironment()
{
    if (m_before)
        qputenv(m_name, *m_before);
    else
        qunsetenv(m_name);
}

FakeLauncher::FakeLauncher(const char* body)
    : m_path("PATH", launcherPath(m_dir, body))
{
    if (!body)
        return;
    const QByteArray folder = QFile::encodeName(m_dir.path());
    QFile script(m_dir.filePath(u"xdg-open"_s));
    // Written whole, then renamed, so that a test never reads half of it. Quiet, so that
    // a script left sleeping holds no test output open.
    const QByteArray text = "#!/bin/sh\nexec >/dev/null 2>&1\nPATH=/usr/bin:/bin\ncd '" + folder +
                            "' || exit 99\n"
                            "echo $$ > pid\n"
                            "printf '%s\\n' \"$#\" \"$@\" > arguments.part\n"
                            "mv arguments.part arguments\n" +
                            body + '\n';
    if (script.open(QIODevice::WriteOnly))
        script.write(text);
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray FakeLauncher::arguments() const
{
    return readAll(m_dir.filePath(u"arguments"_s));
}

pid_t FakeLauncher::pid() const
{
    return static_cast<pid_t>(readAll(m_dir.filePath(u"pid"_s)).trimmed().toInt());
}

bool reaped(pid_t pid)
{
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

} // namespace torvane::test
