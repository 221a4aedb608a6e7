#include "results_log.h"

#include "core/ansi_file.h"
#include "core/version.h"

using namespace Qt::StringLiterals;

namespace torvane {
ResultsLog::ResultsLog(ProgramFolder& folder, Desktop& desktop, const Regional& regional,
                       const Clock& clock)
    : m_folder(folder)
    , m_desktop(desktop)
    , m_regional(regional)
    , m_clock(clock)
{}

QString ResultsLog::timeStamp(const Regional& regional, const Clock& clock)
{
    const QDateTime now = clock.now();
    return regional.formatShortDate(now.date()) + QLatin1Char(' ') +
           now.time().toString(u"hh:mm:ss"_s);
}

QString ResultsLog::header() const
{
    return u"Torvane Results Log"_s + CrLf + u"Version "_s + versionText() + CrLf +
           u"File Created"_s + CrLf + timeStamp() + CrLf + CrLf;
}

void ResultsLog::CreateResultsLog()
{
    m_folder.CheckFolder(u"log"_s);
    const QString path = m_folder.path(fileName());
    if (AnsiFile::exists(path))
        return;
    if (!AnsiFile::create(path, header() + CrLf))
        m_desktop.messageBox(u"Unable to create the log file Torvane.log"_s + CrLf +
                                 u"This may be a permissions problem."_s,
                             u"Torvane Results Log File Error"_s, MessageIcon::Exclamation,
                             MessageButtons::Ok);
}

void ResultsLog::AppendPendingLogText(const QString& pendingLogText)
{
    m_folder.CheckFolder(u"log"_s);
    if (!m_folder.CheckFile(u"Results Log"_s, u"Log\\"_s, u"Torvane.log"_s))
        return;
    if (AnsiFile::append(m_folder.path(fileName()), pendingLogText + CrLf) !=
        AnsiFile::Append::Done)
        m_desktop.messageBox(u"Unable to write to the results log file Torvane.log"_s + CrLf +
                                 u"This may be a permissions problem."_s,
                             u"Torvane Results Log File Error"_s, MessageIcon::Exclamation,
                             MessageButtons::Ok);
}

} // namespace torvane
