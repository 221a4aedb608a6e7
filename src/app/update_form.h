#pragma once

#include "core/test_mode.h"
#include "form/form.h"
#include "updater/update_check.h"
#include "updater/updater_log.h"
#include "updater/url_get.h"

#include <QObject>
#include <QTimer>

namespace torvane {

// The update window's model, frmUpdater: one update check from the request to the
// outcome, and the buttons that open the maker's pages the document names. Opened by the
// Update button it is shown at once; opened by the check at start-up it stays hidden and
// asks to be shown only when a newer version exists. It closes itself after 1201 ticks
// of its timer (31 under "-ShortUpdateTime").
class UpdateForm final : public QObject, public Form {
    Q_OBJECT

public:
    UpdateForm(ProgramFolder& folder, Desktop& desktop, const Regional& regional,
               const Clock& clock, TestMode testMode, bool manualUpdateCheck,
               QObject* parent = nullptr);

    QString Caption = QStringLiteral("Torvane Update Check");
    TextBox Status, Message, UVersion;
    Button Contact, Download, History, KIssues, WebSite, Exit;
    TextBox Park; // takes the focus once a page has been opened

    QString VersionHigh, VersionLow, OSVersion, RequestUrl, PageXml;
    UpdateDocument Document;
    qint16 ErrorCount = 0; // tags missing from the document received; 0 before one arrives
    qint16 TimerTicks = 0;
    QTimer Timer1;
    UrlGet urlGet1;

    // Prepares the request, fills the window and starts the timer.
    void load();
    // Every 100 ms: the request goes on the second tick; the last tick closes the window.
    void countTick();
    // The Marnoft logo: the maker's home page.
    void openMakerHomePage();
    bool unloaded() const { return m_unloaded; }

Q_SIGNALS:
    // An automatic check found a newer version: the hidden window is to be shown.
    void showRequested();
    // The window is gone, for whatever reason; it happens once.
    void unloadRequested();

private:
    // The answer arrived: it is logged, taken apart and reported.
    void readAnswer();
    // Fills the window from the document; true when a newer version exists.
    bool reportOutcome();
    // Enables a page button when the document names a page on the maker's site.
    void offerPage(Button& button, const QString& path);
    void openPage(const QString& path, bool park);
    void unload();

    ProgramFolder& m_folder;
    UpdaterLog m_log;
    TestMode m_testMode;
    bool m_manual;
    bool m_unloaded = false;
};

} // namespace torvane
