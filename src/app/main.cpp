// Torvane: the entry procedure.

#include "app/torvane_main.h"
#include "core/clock.h"
#include "ui/logo.h"
#include "ui/main_window.h"
#include "ui/qt_desktop.h"

#include "core/version.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

void nameApplication()
{
    QCoreApplication::setOrganizationName(u"Marnoft"_s);
    QCoreApplication::setApplicationName(u"Torvane"_s);
    QCoreApplication::setApplicationVersion(torvane::versionText());
}

// Answers "--help" or "--version" on the terminal, without a window, and ends.
[[noreturn]] void answerOnTerminal(int argc, char** argv)
{
    // The help names the program as a user types it, wherever it was started from.
    char name[] = "torvane";
    argv[0] = name;
    QCoreApplication application(argc, argv);
    nameApplication();
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Tells a household what an electrical appliance really costs to run, and whether\n"
        "a replacement pays for itself.\n\n"
        "Torvane works in its program folder: Data/Torvane.ini holds the defaults,\n"
        "Help/index.htm the help page, Log/Torvane.log the results log.\n\n"
        "Test switches, matched against the start of the arguments (-OutputStatus against\n"
        "their end): -InhibitErrorCheck, -InhibitCombCheck, -OutputStatus,\n"
        "-ShortUpdateTime, -InhibitUpdate, -LowerVersion, -HigherVersion."_s);
    parser.addOption({u"help"_s, u"Shows this help and ends."_s});
    parser.addOption({u"version"_s, u"Shows the version and ends."_s});
    parser.process(application);
    if (parser.isSet(u"version"_s))
        parser.showVersion();
    parser.showHelp(0);
}

} // namespace

int main(int argc, char** argv)
{
    // Only an argument string that is exactly one of these is answered: any other goes to
    // the test switches as it is.
    if (argc == 2 &&
        (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "--version") == 0))
        answerOnTerminal(argc, argv);
    QApplication application(argc, argv);
    nameApplication();
    QApplication::setWindowIcon(torvane::logoIcon());
    QGuiApplication::setDesktopFileName(u"org.example.marnoft.Torvane"_s);
    using namespace torvane;

    // Marks the running copy; a second copy runs all the same, without the mark. Each
    // user has a mark of their own.
    QLockFile running(QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
                          .filePath(u"Torvane.lock"_s));
    running.tryLock(0);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const Regional regional(QLocale::system());
    SystemClock clock;
    QtDesktop desktop;
    // What cannot be used as given is told on the terminal; the program starts all the same.
    const auto told = [](const QString& complaint) {
        if (!complaint.isEmpty())
            std::fprintf(stderr, "torvane: %s\n", qPrintable(complaint));
    };
    QString complaint;
    const QString siteRoot = chooseSiteRoot(QStringLiteral(TORVANE_SITE_ROOT),
                                            qEnvironmentVariable("TORVANE_SITE_ROOT"), complaint);
    told(std::exchange(complaint, QString()));
    const QString folder =
        chooseProgramFolder(QCoreApplication::applicationDirPath() + u"/../share/torvane/program"_s,
                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                            QDir::currentPath(), complaint);
    told(complaint);
    // The program's paths are relative to its folder.
    QDir::setCurrent(folder);
    TorvaneMain main(desktop, clock, regional, folder, siteRoot, arguments.join(QLatin1Char(' ')));
    MainWindow window(main);
    desktop.setParentWindow(&window);
    main.Load();
    window.show();
    return QApplication::exec();
}
