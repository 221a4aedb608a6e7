#include "program_launcher.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <memory>
#include <vector>

#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace torvane {

namespace {

// One started program, until it ends. A child of the launcher, so that it goes with it.
class Watch final : public QObject {
public:
    Watch(QObject* launcher, pid_t pid, std::function<void()> whenFailed, bool polled)
        : QObject(launcher)
        , m_pid(pid)
        , m_whenFailed(std::move(whenFailed))
    {
        // The pid cannot be taken by another process before it is reaped here. Called by
        // number: the C library's declaration of it is not usable from C++ here.
        m_fd = polled ? -1 : static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
        if (m_fd >= 0) {
            m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
            connect(m_notifier.get(), &QSocketNotifier::activated, this, &Watch::check);
        } else {
            m_timer = std::make_unique<QTimer>();
            connect(m_timer.get(), &QTimer::timeout, this, &Watch::check);
            m_timer->start(200);
        }
    }

    ~Watch() override { stop(); }

private:
    void check()
    {
        int status = 0;
        pid_t ended = 0;
        do
            ended = ::waitpid(m_pid, &status, WNOHANG);
        while (ended < 0 && errno == EINTR);
        if (ended == 0)
            return;
        stop();
        // Not ended here (reaped elsewhere) tells nothing: no failure is claimed.
        const bool failed =
            ended == m_pid && !(WIFEXITED(status) && WEXITSTATUS(status) == EXIT_SUCCESS);
        // Called by the launcher, not from this watch's notice: the call may hold a modal
        // box open, and the watch is gone by then.
        if (failed && m_whenFailed)
            QMetaObject::invokeMethod(parent(), std::move(m_whenFailed), Qt::QueuedConnection);
        deleteLater();
    }

    void stop()
    {
        m_notifier.reset();
        m_timer.reset();
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    pid_t m_pid;
    int m_fd = -1;
    std::function<void()> m_whenFailed;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<QTimer> m_timer;
};

// The attributes of a start: no signal blocked, the usual ignored ones back to their
// defaults, and a session of its own, so that a Ctrl+C to the program does not reach it.
struct SpawnAttributes {
    SpawnAttributes()
    {
        posix_spawnattr_init(&attributes);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes, &signals);
        for (const int signal : {SIGPIPE, SIGXFSZ, SIGCHLD})
            sigaddset(&signals, signal);
        posix_spawnattr_setsigdefault(&attributes, &signals);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                  POSIX_SPAWN_SETSID);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    posix_spawnattr_t attributes;
};

} // namespace

bool ProgramLauncher::start(const QString& program, const QStringList& arguments,
                            std::function<void()> whenFailed)
{
    // An ignored SIGCHLD, which a parent may hand down, has the kernel reap every child at
    // once and its exit status lost: a failure could not be told.
    struct sigaction children {};
    if (::sigaction(SIGCHLD, nullptr, &children) == 0 && children.sa_handler == SIG_IGN)
        std::signal(SIGCHLD, SIG_DFL);
    std::vector<QByteArray> texts{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        texts.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    const SpawnAttributes spawn;
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, &spawn.attributes, argv.data(), environ) != 0)
        return false;
    new Watch(this, pid, std::move(whenFailed), m_watching == Watching::Polling);
    return true;
}

} // namespace torvane
