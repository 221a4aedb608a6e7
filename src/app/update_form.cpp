#include "update_form.h"

#include "core/ansi_file.h"
#include "core/version.h"

using namespace Qt::StringLiterals;

namespace torvane {

UpdateForm::UpdateForm(ProgramFolder& folder, Desktop& desktop, const Regional& regional,
                       const Clock& clock, TestMode testMode, bool manualUpdateCheck,
                       QObject* parent)
    : QObject(parent)
    , Status(u"Status"_s, QString(), true)
    , Message(u"Message"_s, QString(), true)
    , UVersion(u"UVersion"_s, QString(), true)
    , Contact(u"Contact"_s, u"&Contact"_s, u"Contact Marnoft"_s, false)
    , Download(u"Download"_s, u"&Download"_s, u"Download the latest version of Torvane"_s, false)
    , History(u"History"_s, u"&History"_s, u"Torvane change history"_s, false)
    , KIssues(u"KIssues"_s, u"&Known Issues"_s, u"Torvane known issues"_s, false)
    , WebSite(u"WebSite"_s, u"&Web Site"_s, u"Torvane website"_s, false)
    , Exit(u"Exit"_s, u"&Exit"_s, u"Close Torvane update check"_s)
    , Park(u"Park"_s, QString())
    , m_folder(folder)
    , m_log(folder, desktop, regional, clock)
    , m_testMode(testMode)
    , m_manual(manualUpdateCheck)
{
    Message.setMultiLine(true);
    addControls({&Status, &Message, &UVersion, &Contact, &Download, &History, &KIssues, &WebSite,
                 &Exit, &Park});
    Contact.onClick = [this] {
        openPage(Document.ContactUrl, true);
    };
    Download.onClick = [this] {
        openPage(Document.DownloadUrl, true);
    };
    History.onClick = [this] {
        openPage(Document.HistoryUrl, true);
    };
    KIssues.onClick = [this] {
        openPage(Document.KnownIssuesUrl, true);
    };
    WebSite.onClick = [this] {
        openPage(Document.HomePageUrl, false);
    };
    Exit.onClick = [this] {
        unload();
    };
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &UpdateForm::countTick);
    connect(&urlGet1, &UrlGet::progressed, this,
            [this] { Status.setText(u"Getting latest version of Torvane"_s); });
    connect(&urlGet1, &UrlGet::failed, this, [this](qint32 error, const QString& why) {
        // The one failure the platform does not name is the answer's size.
        if (error == UrlGet::TooLarge)
            m_log.writeUpdaterLog(u"Answer refused: "_s + why + CrLf);
        Status.setText(u"Unable to contact web site"_s);
        if (!m_manual)
            unload();
    });
    connect(&urlGet1, &UrlGet::completed, this, &UpdateForm::readAnswer);
}

void UpdateForm::load()
{
    // The request.
    m_folder.checkFolder(u"log"_s);
    if (m_log.on())
        m_log.createUpdaterLog();
    VersionHigh = versionText();
    VersionLow = u"0.0"_s;
    const qint16 mode = m_testMode.number();
    if (mode == TestMode::ShortUpdateTime || mode == TestMode::LowerVersion)
        VersionHigh = u"0.9"_s;
    else if (mode == TestMode::HigherVersion)
        VersionHigh = u"10.0"_s;
    OSVersion = osVersion();
    RequestUrl = requestUrl(m_folder.siteRoot(), VersionHigh, VersionLow, OSVersion);
    m_log.writeUpdaterLog(m_log.stamp() + CrLf + u"Update Check"_s + CrLf + CrLf + u"Web URL"_s +
                          CrLf + u"-------"_s + CrLf + RequestUrl + CrLf);
    // The window.
    Status.setText(u"Please Wait - Checking for the latest version"_s);
    UVersion.setText(u"Torvane Version "_s + VersionHigh);
    m_log.writeUpdaterLog(u"Program Data"_s + CrLf + u"------------"_s + CrLf +
                          u"Control Mode :  "_s + QString::number(mode) + CrLf +
                          u"Program Name :  Torvane"_s + CrLf + u"Major Version:  "_s +
                          VersionHigh + CrLf + u"Minor Version:  "_s + VersionLow + CrLf +
                          u"OS Version:     "_s + OSVersion + CrLf);
    TimerTicks = 0;
    Timer1.start();
}

void UpdateForm::countTick()
{
    ++TimerTicks;
    if (TimerTicks == 1201 ||
        (TimerTicks == 31 && m_testMode.number() == TestMode::ShortUpdateTime)) {
        unload();
        return;
    }
    if (TimerTicks != 2)
        return;
    urlGet1.start(RequestUrl.trimmed(), UrlGet::FreshCopy);
    // Only an answer that came at once has been taken apart by now.
    if (ErrorCount != 0) {
        Status.setText(u"Unable to contact web site - try later"_s);
        if (!m_manual)
            unload();
    }
}

void UpdateForm::readAnswer()
{
    PageXml = AnsiFile::decode(urlGet1.bytes());
    m_log.writeUpdaterLog(u"Web Page xml"_s + CrLf + u"------------"_s);
    m_log.writeUpdaterLog(trimBlanks(PageXml) + CrLf);
    Document = parseUpdateDocument(PageXml);
    ErrorCount = Document.ErrorCount;
    m_log.writeUpdaterLog(documentEntry(Document));
    bool show = false;
    if (ErrorCount == 0) {
        show = reportOutcome();
        if (show && !m_manual)
            Q_EMIT showRequested();
    } else {
        Status.setText(u"Error getting data - try again later"_s);
    }
    if (!m_manual && !(show && ErrorCount == 0))
        unload();
}

bool UpdateForm::reportOutcome()
{
    const UpdateDocument& d = Document;
    offerPage(Contact, d.ContactUrl);
    const OfferedVersion offered = offeredVersion(d.Version1, d.Version2, VersionHigh, VersionLow);
    if (offered == OfferedVersion::Same) {
        Status.setText(u"You have the latest version of Torvane"_s);
        Message.setText(u"Click Known Issues to see any problems we are aware of."_s + CrLf +
                        d.UpdateMessage);
        offerPage(WebSite, d.HomePageUrl);
        offerPage(KIssues, d.KnownIssuesUrl);
        offerPage(History, d.HistoryUrl);
        return false;
    }
    if (offered == OfferedVersion::Newer) {
        Status.setText(u"Version "_s + d.Version1 + u" of "_s + d.ProgramName +
                       u" is available "_s);
        QString message = u"Click Download to get it"_s + CrLf +
                          u"Click History for change info and Known Issues for any problems."_s +
                          CrLf + d.UpdateMessage;
        if (d.UninstallFirst == u"Yes")
            message += CrLf + u"You must uninstall Torvane first."_s;
        Message.setText(message);
        offerPage(WebSite, d.HomePageUrl);
        offerPage(KIssues, d.KnownIssuesUrl);
        offerPage(History, d.HistoryUrl);
        offerPage(Download, d.DownloadUrl);
        return true;
    }
    Status.setText(u"Unrecognised version of Torvane"_s);
    Message.setText(u"Contact Marnoft for assistance."_s);
    return false;
}

void UpdateForm::offerPage(Button& button, const QString& path)
{
    if (path == u"Error")
        return;
    const QString refusal = pageRefusal(m_folder.siteRoot(), path);
    if (refusal.isEmpty())
        button.setEnabled(true);
    else
        m_log.writeUpdaterLog(refusal + CrLf);
}

void UpdateForm::openPage(const QString& path, bool park)
{
    // Checked again where it is opened: only a page of the maker's site ever is.
    if (pageRefusal(m_folder.siteRoot(), path).isEmpty())
        m_folder.openWebPage(path);
    if (park)
        requestFocus(Park);
}

void UpdateForm::openMakerHomePage()
{
    m_folder.openWebPage(QString());
}

void UpdateForm::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Timer1.stop();
    urlGet1.cancel();
    Q_EMIT unloadRequested();
}

} // namespace torvane
