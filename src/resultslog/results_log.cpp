#include "results_log.h"

#include "core/ansi_file.h"
#include "core/version.h"
#include "log_archive.h"

#include <QFile>
#include <QUrl>

#include <limits>

using namespace Qt::StringLiterals;

namespace torvane {

namespace {

void warnAbout(Desktop& desktop, const QString& text)
{
    desktop.messageBox(text, u"Torvane Results Log File Error"_s, MessageIcon::Exclamation,
                       MessageButtons::Ok);
}

} // namespace

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

void ResultsLog::createResultsLog()
{
    m_folder.checkFolder(u"log"_s);
    const QString path = m_folder.path(fileName());
    if (AnsiFile::exists(path))
        return;
    if (!AnsiFile::create(path, header() + CrLf))
        warn(u"Unable to create the log file Torvane.log"_s + CrLf +
             u"This may be a permissions problem."_s);
}

void ResultsLog::appendPendingLogText(const QString& pendingLogText)
{
    if (!logExists())
        return;
    if (AnsiFile::append(m_folder.path(fileName()), pendingLogText + CrLf) !=
        AnsiFile::Append::Done)
        warn(u"Unable to write to the results log file Torvane.log"_s + CrLf +
             u"This may be a permissions problem."_s);
}

void ResultsLog::archive(const std::function<void(const QString&)>& showStatus)
{
    if (logExists() && !archiveOrClear(showStatus))
        warn(u"Unable to archive the results log file Torvane.log."_s + CrLf +
             u"This may be a permissions problem."_s);
}

bool ResultsLog::archiveOrClear(const std::function<void(const QString&)>& showStatus)
{
    const QString path = m_folder.path(fileName());
    LogScan scan = scanLog(path);
    if (!scan.readable)
        return false;
    const MessageAnswer answer = m_desktop.messageBox(
        u"Do you want to archive the log file?"_s + CrLf +
            u"To Archive the results log file and create a new one click Yes"_s + CrLf +
            u"To Clear the results log file without archiving it click No"_s + CrLf +
            u"Click Cancel to return"_s,
        u"Archive Torvane Results Log File"_s, MessageIcon::Exclamation,
        MessageButtons::YesNoCancel);
    if (answer != MessageAnswer::Yes && answer != MessageAnswer::No)
        return true;
    // The log as it is now: another copy of the program may have written to it meanwhile.
    if (!scan.hasData && QFile(path).size() != scan.size) {
        scan = scanLog(path);
        if (!scan.readable)
            return false;
    }
    if (answer == MessageAnswer::Yes) {
        if (!scan.hasData) {
            warn(u"There is no data to archive!"_s + CrLf + u"Results log file not archived."_s);
            return true;
        }
        if (!archiveCopy())
            return false;
        showStatus(u"Results Log File Archived"_s);
    } else {
        if (scan.hasData &&
            m_desktop.messageBox(u"Are you sure you want to create a new results log file?"_s,
                                 u"Torvane Create New Log File"_s, MessageIcon::None,
                                 MessageButtons::YesNo) != MessageAnswer::Yes)
            return true;
        showStatus(u"Results Log File Cleared"_s);
    }
    return startNewLog();
}

bool ResultsLog::archiveCopy()
{
    const QString path = m_folder.path(fileName());
    const QDate today = m_clock.now().date();
    int sequence = 1;
    while (AnsiFile::exists(m_folder.path(u"Log/"_s + archiveFileName(today, sequence))))
        if (++sequence > std::numeric_limits<qint16>::max())
            return false;
    const QString archive = m_folder.path(u"Log/"_s + archiveFileName(today, sequence));
    // Another copy of the program may append as the log is copied: copied again until
    // the copy holds all of it, or the log is left as it is.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const qint64 copied = copyVerified(path, archive);
        if (copied < 0)
            return false;
        if (QFile(path).size() == copied)
            return true;
    }
    QFile::remove(archive);
    return false;
}

bool ResultsLog::startNewLog()
{
    const QString path = m_folder.path(fileName());
    const QFileDevice::Permissions permissions = QFile::permissions(path);
    QFile::setPermissions(path, permissions | QFileDevice::WriteOwner);
    if (AnsiFile::replace(path, header() + CrLf))
        return true;
    QFile::setPermissions(path, permissions);
    return false;
}

void ResultsLog::showInViewer()
{
    if (!logExists())
        return;
    // The failure may come after the log is gone; the desktop is still there.
    m_desktop.openUrl(
        QUrl::fromLocalFile(m_folder.path(fileName())).toString(), [&desktop = m_desktop] {
            warnAbout(desktop, u"Unable to run Notepad"_s + CrLf + u"Check that it exists and"_s +
                                   CrLf + u"is working properly."_s);
        });
}

bool ResultsLog::logExists()
{
    m_folder.checkFolder(u"log"_s);
    return m_folder.checkFile(u"Results Log"_s, u"Log\\"_s, u"Torvane.log"_s);
}

void ResultsLog::warn(const QString& text)
{
    warnAbout(m_desktop, text);
}

} // namespace torvane
