// Start-up: from process start to the idle, shown main window, against a bare window with
// as many controls of the same kinds. Run without arguments: it starts itself in either
// role in turn and reports the median times.

#include "app/main_controller.h"
#include "core/clock.h"
#include "ui/main_window.h"
#include "ui/qt_desktop.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

extern char** environ;

namespace {

// Ends the process once the event loop has nothing left to do after showing.
void endWhenIdle()
{
    QTimer::singleShot(0, [] { std::_Exit(0); });
}

int runTorvane(int argc, char** argv)
{
    QApplication application(argc, argv);
    using namespace torvane;
    const Regional regional(QLocale::system());
    SystemClock clock;
    QtDesktop desktop;
    MainController main(desktop, clock, regional, QDir::currentPath(), u"https://x/"_s, QString());
    MainWindow window(main);
    desktop.setParentWindow(&window);
    main.load();
    window.show();
    endWhenIdle();
    return QApplication::exec();
}

int runBare(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    auto* grid = new QGridLayout(&window);
    // The main window's controls by kind: 42 text boxes, 5 check boxes, 13 buttons,
    // 7 captioned labels, and its 47 fixed labels.
    int at = 0;
    const auto add = [&](QWidget* widget) {
        grid->addWidget(widget, at / 8, at % 8), ++at;
    };
    for (int i = 0; i < 42; ++i)
        add(new QLineEdit(u"text"_s));
    for (int i = 0; i < 5; ++i)
        add(new QCheckBox);
    for (int i = 0; i < 13; ++i)
        add(new QPushButton(u"&Button"_s));
    for (int i = 0; i < 54; ++i)
        add(new QLabel(u"Label:"_s));
    window.show();
    endWhenIdle();
    return QApplication::exec();
}

double runOnce(const char* self, const char* role, const QString& folder)
{
    char roleArgument[32];
    std::snprintf(roleArgument, sizeof roleArgument, "%s", role);
    char* argv[] = {const_cast<char*>(self), roleArgument, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const QByteArray directory = QFile::encodeName(folder);
    const QByteArray here = QFile::encodeName(QDir::currentPath());
    chdir(directory.constData());
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    double ms = -1;
    if (posix_spawn(&pid, self, &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    chdir(here.constData());
    posix_spawn_file_actions_destroy(&actions);
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string_view(argv[1]) == "torvane")
        return runTorvane(argc, argv);
    if (argc > 1 && std::string_view(argv[1]) == "bare")
        return runBare(argc, argv);

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("LC_ALL", "en_GB.UTF-8", 1);
    // A program folder with the shipped defaults.
    QTemporaryDir folder;
    QDir root(folder.path());
    for (const char* sub : {"Data", "Help", "Log"})
        root.mkpath(QString::fromLatin1(sub));
    QFile::copy(QStringLiteral(TORVANE_DIST "/Data/Torvane.ini"),
                root.filePath(u"Data/Torvane.ini"_s));

    // Started again from another folder: the absolute path to this program.
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    const int rounds = 15;
    std::vector<double> torvane;
    std::vector<double> bare;
    for (int i = 0; i < rounds; ++i) {
        torvane.push_back(runOnce(self, "torvane", folder.path()));
        bare.push_back(runOnce(self, "bare", folder.path()));
        if (torvane.back() < 0 || bare.back() < 0) {
            std::fprintf(stderr, "a start failed\n");
            return 1;
        }
    }
    const double t = median(torvane);
    const double b = median(bare);
    std::printf("start-up to the idle, shown window (median of %d, ms)\n", rounds);
    std::printf("  Torvane main window: %8.1f\n  bare window:         %8.1f\n  ratio:              "
                " %8.2f\n",
                t, b, t / b);
    return 0;
}
