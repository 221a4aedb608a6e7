// Start-up of the window program: from launching the real torvane executable to its shown,
// idle main window, against a bare Qt Widgets window that this benchmark builds itself
// with as many controls of the same kinds; and the peak resident memory of each (ru_maxrss
// from wait4). Both end by the same rule (ui/end_when_idle.h; torvane honours
// TORVANE_QUIT_WHEN_IDLE). The two take turns, 11 runs each after one unmeasured run, and
// the medians are reported.
//
// It runs on the X server that DISPLAY names, through the xcb platform, and with the session
// bus that DBUS_SESSION_BUS_ADDRESS names, as a user's desktop would (scripts/bench.sh
// starts an Xvfb and a bus of their own for it). Without a DISPLAY it falls back to the
// offscreen platform (a QT_QPA_PLATFORM given is kept); without a bus, every start
// launches one for itself, which adds the same to both. The output says which. The
// runtime folder is one of its own in memory unless XDG_RUNTIME_DIR names one.
//
//   bench_startup [runs [torvane]]     (11 runs of the torvane built beside it by default)

#include "ui/end_when_idle.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

extern char** environ;

namespace {

// The main window's controls by kind, as it shows them: 39 text boxes, 57 labels (fixed
// captions, headings and the model's labels), 17 push buttons (the model's sixteen and the
// logo) and 5 check boxes.
int showBareWindow(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(u"Bare"_s);
    auto* grid = new QGridLayout(&window);
    int at = 0;
    const auto add = [&](QWidget* widget) {
        grid->addWidget(widget, at / 8, at % 8);
        ++at;
    };
    for (int i = 0; i < 57; ++i)
        add(new QLabel(u"Label:"_s));
    for (int i = 0; i < 39; ++i)
        add(new QLineEdit(u"text"_s));
    for (int i = 0; i < 17; ++i)
        add(new QPushButton(u"&Button"_s));
    for (int i = 0; i < 5; ++i)
        add(new QCheckBox);
    new torvane::EndWhenIdle(window, [] {
        std::fflush(nullptr);
        std::_Exit(0);
    });
    window.show();
    return QApplication::exec();
}

struct Run {
    double ms = -1;
    double cpuMs = 0; // user and system time: steadier than the wall clock on a busy machine
    long peakKiB = 0;
};

// Starts the program in the folder, waits for its end and takes its time and peak memory.
Run runOnce(const char* program, const char* role, const QByteArray& folder)
{
    char roleArgument[16];
    std::snprintf(roleArgument, sizeof roleArgument, "%s", role);
    char* argv[] = {const_cast<char*>(program), role[0] ? roleArgument : nullptr, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const QByteArray here = QFile::encodeName(QDir::currentPath());
    Run run;
    if (chdir(folder.constData()) != 0)
        return run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) &&
            WEXITSTATUS(status) == 0) {
            run.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            const auto ms = [](const timeval& time) {
                return static_cast<double>(time.tv_sec) * 1e3 +
                       static_cast<double>(time.tv_usec) / 1e3;
            };
            run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
            run.peakKiB = usage.ru_maxrss;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    if (chdir(here.constData()) != 0)
        run.ms = -1;
    return run;
}

// A program folder with what a user's holds on the first start: the shipped defaults, the
// catalogue, the help page and an empty log folder.
bool makeProgramFolder(const QString& path)
{
    QDir root(path);
    bool made = root.mkpath(u"Log"_s);
    for (const char* file : {"Data/Torvane.ini", "Data/Appliances.csv", "Help/index.htm"}) {
        const QString name = QString::fromLatin1(file);
        made = made && root.mkpath(QFileInfo(name).path()) &&
               QFile::copy(QStringLiteral(TORVANE_DIST "/") + name, root.filePath(name));
    }
    return made;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string_view(argv[1]) == "bare")
        return showBareWindow(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 11;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_startup [runs [torvane]]\n");
        return 2;
    }
    const char* program = argc > 2 ? argv[2] : TORVANE_EXE;

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb", 1);
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    setenv("LC_ALL", "en_GB.UTF-8", 1);
    setenv("TORVANE_QUIT_WHEN_IDLE", "1", 1);
    // A desktop session's runtime folder is in memory (/run/user/...). Without one, Qt puts
    // it in /tmp, on the disk, and every start would wait for its running mark to be synced.
    QTemporaryDir runtime(u"/dev/shm/torvane-bench-XXXXXX"_s);
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        setenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()).constData(), 1);
    QTemporaryDir folder;
    if (!folder.isValid() || !makeProgramFolder(folder.path())) {
        std::fprintf(stderr, "the program folder could not be made\n");
        return 1;
    }
    const QByteArray where = QFile::encodeName(folder.path());

    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    std::vector<Run> torvane;
    std::vector<Run> bare;
    for (int i = 0; i <= runs; ++i) {
        const Run torvaneRun = runOnce(program, "", where);
        const Run window = runOnce(self, "bare", where);
        if (torvaneRun.ms < 0 || window.ms < 0) {
            std::fprintf(stderr, "a start failed\n");
            return 1;
        }
        if (i == 0) // the unmeasured run, which fills the caches
            continue;
        torvane.push_back(torvaneRun);
        bare.push_back(window);
    }
    const auto median = [](const std::vector<Run>& all, auto figure) {
        std::vector<double> values;
        for (const Run& run : all)
            values.push_back(static_cast<double>(run.*figure));
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const double torvaneMs = median(torvane, &Run::ms);
    const double bareMs = median(bare, &Run::ms);
    const double torvaneCpu = median(torvane, &Run::cpuMs);
    const double bareCpu = median(bare, &Run::cpuMs);
    const double torvaneKiB = median(torvane, &Run::peakKiB);
    const double bareKiB = median(bare, &Run::peakKiB);
    std::printf("start-up to the shown, idle window on %s, %s session bus (median of %d runs "
                "each, taking turns)\n"
                "                    ms     cpu ms   peak KiB\n"
                "  torvane     %8.1f   %8.1f %10.0f\n"
                "  bare window %8.1f   %8.1f %10.0f\n"
                "  ratio       %8.2f   %8.2f %10.2f\n",
                platform.constData(),
                qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") ? "no" : "with a", runs,
                torvaneMs, torvaneCpu, torvaneKiB, bareMs, bareCpu, bareKiB, torvaneMs / bareMs,
                torvaneCpu / bareCpu, torvaneKiB / bareKiB);
    return 0;
}
