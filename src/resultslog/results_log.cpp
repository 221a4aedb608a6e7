#include "results_log.h"

#include "core/ansi_file.h"
#include "core/version.h"

namespace torvane {
ResultsLog::ResultsLog(ProgramFolder& folder, Desktop& desktop, const Regional& regional,
                       const Clock& clock)
    : m_folder(folder)
    , m_desktop(desktop)
    , m_regional(regional)
    , m_clock(clock)
{}

QString ResultsLog::timeStamp() const
{
    const QDateTime now = m_clock.now();
    return m_regional.formatShortDate(now.date()) + QLatin1Char(' ') +
           now.time().toString(QStringLiteral("hh:mm:ss"));
}

QString ResultsLog::header() const
{
    return QStringLiteral("Torvane Results Log") + CrLf + QStringLiteral("Version ") +
           versionText() + CrLf + QStringLiteral("File Created") + CrLf + timeStamp() + CrLf + CrLf;
}

void ResultsLog::CreateResultsLog()
{
    m_folder.CheckFolder(QStringLiteral("log"));
    const QString path = m_folder.path(fileName());
    if (AnsiFile::exists(path))
        return;
    if (!AnsiFile::create(path, header() + CrLf))
        m_desktop.messageBox(QStringLiteral("Unable to create the log file Torvane.log") + CrLf +
                                 QStringLiteral("This may be a permissions problem."),
                             QStringLiteral("Torvane Results Log File Error"),
                             MessageIcon::Exclamation, MessageButtons::Ok);
}

void ResultsLog::AppendPendingLogText(const QString& pendingLogText)
{
    m_folder.CheckFolder(QStringLiteral("log"));
    if (!m_folder.CheckFile(QStringLiteral("Results Log"), QStringLiteral("Log\\"),
                            QStringLiteral("Torvane.log")))
        return;
    if (AnsiFile::append(m_folder.path(fileName()), pendingLogText + CrLf) !=
        AnsiFile::Append::Done)
        m_desktop.messageBox(QStringLiteral("Unable to write to the results log file Torvane.log") +
                                 CrLf + QStringLiteral("This may be a permissions problem."),
                             QStringLiteral("Torvane Results Log File Error"),
                             MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace torvane
