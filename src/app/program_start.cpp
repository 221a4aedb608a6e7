#include "program_start.h"

#include "core/program_folder.h"
#include "core/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

const auto Description =
    u"Tells a household what an electrical appliance really costs to run, and whether\n"
    "a replacement pays for itself.\n\n"
    "Torvane works in its program folder: Data/Torvane.ini holds the defaults,\n"
    "Help/index.htm the help page, Log/Torvane.log the results log.\n\n"
    "Test switches, matched against the start of the arguments (-OutputStatus against\n"
    "their end): -InhibitErrorCheck, -InhibitCombCheck, -OutputStatus,\n"
    "-ShortUpdateTime, -InhibitUpdate, -LowerVersion, -HigherVersion."_s;

void tell(const QString& complaint)
{
    if (!complaint.isEmpty())
        std::fprintf(stderr, "torvane: %s\n", qPrintable(complaint));
}

} // namespace

bool asksForTerminalAnswer(int argc, char** argv)
{
    return argc == 2 &&
           (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "--version") == 0);
}

void answerOnTerminal(int argc, char** argv)
{
    // The help names the program as a user types it, wherever it was started from.
    char name[] = "torvane";
    argv[0] = name;
    QCoreApplication application(argc, argv);
    nameApplication();
    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    parser.addOption({u"help"_s, u"Shows this help and ends."_s});
    parser.addOption({u"version"_s, u"Shows the version and ends."_s});
    parser.process(application);
    if (parser.isSet(u"version"_s))
        parser.showVersion();
    parser.showHelp(0);
}

void failWritesBeyondSizeLimit()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

void nameApplication()
{
    QCoreApplication::setOrganizationName(u"Marnoft"_s);
    QCoreApplication::setApplicationName(u"Torvane"_s);
    QCoreApplication::setApplicationVersion(versionText());
}

std::unique_ptr<QLockFile> markRunningCopy()
{
    auto mark = std::make_unique<QLockFile>(
        QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
            .filePath(u"Torvane.lock"_s));
    mark->tryLock(0);
    return mark;
}

ProgramPlaces chooseProgramPlaces(const QString& builtInSiteRoot)
{
    ProgramPlaces places;
    QString complaint;
    places.siteRoot =
        chooseSiteRoot(builtInSiteRoot, qEnvironmentVariable("TORVANE_SITE_ROOT"), complaint);
    tell(complaint);
    complaint.clear();
    places.folder =
        chooseProgramFolder(QCoreApplication::applicationDirPath() + u"/../share/torvane/program"_s,
                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                            QDir::currentPath(), complaint);
    tell(complaint);
    return places;
}

bool quitsWhenIdle()
{
    return qEnvironmentVariableIsSet("TORVANE_QUIT_WHEN_IDLE");
}

} // namespace torvane
