#include "updater_log.h"

#include "core/ansi_file.h"
#include "core/version.h"

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

const QString LogFile = QStringLiteral("Log/Updater.log");

} // namespace

UpdaterLog::UpdaterLog(ProgramFolder& folder, Desktop& desktop, const Regional& regional,
                       const Clock& clock)
    : m_folder(folder)
    , m_desktop(desktop)
    , m_regional(regional)
    , m_clock(clock)
{}

bool UpdaterLog::on() const
{
    return AnsiFile::exists(m_folder.path(u"Log/LogOn.txt"_s));
}

QString UpdaterLog::stamp() const
{
    return m_regional.formatStamp(m_clock.now());
}

void UpdaterLog::createUpdaterLog()
{
    m_folder.checkFolder(u"log"_s);
    const QString path = m_folder.path(LogFile);
    if (AnsiFile::exists(path))
        return;
    const QString header = u"Updater"_s + CrLf + u"Version "_s + versionText() + CrLf +
                           u"File Created"_s + CrLf + stamp() + CrLf + CrLf;
    if (!AnsiFile::create(path, header + CrLf))
        fatal(u"Updater Log File Error"_s, u"Unable to create the log file Updater.log."_s);
}

void UpdaterLog::writeUpdaterLog(const QString& entry)
{
    if (!on())
        return;
    m_folder.checkFile(u"log"_s, u"Log/"_s, u"Updater.log"_s);
    if (AnsiFile::append(m_folder.path(LogFile), entry + CrLf) != AnsiFile::Append::Done)
        fatal(u"Updater Log File Write Error"_s, u"Unable to write to the log file Updater.log."_s);
}

void UpdaterLog::fatal(const QString& title, const QString& problem)
{
    m_desktop.messageBox(problem + CrLf + u"This may be a permissions problem."_s + CrLf +
                             u"The program will now terminate."_s,
                         title, MessageIcon::Exclamation, MessageButtons::Ok);
    m_desktop.endProgram();
}

} // namespace torvane
