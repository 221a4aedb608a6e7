#pragma once

#include "app/program_folder.h"
#include "calc/form_context.h"
#include "config/settings.h"
#include "resultslog/results_log.h"

#include <functional>

namespace torvane {

// The test mode that the argument string (the program's own path excluded) selects.
qint16 testModeFromArguments(const QString& arguments);

// The main window's model: owns the form and the settings, runs the load sequence and
// handles the window's own events; the comparison's procedures do the rest.
class TorvaneMain final : public FormServices {
public:
    TorvaneMain(Desktop& desktop, const Clock& clock, const Regional& regional,
                const QString& programFolder, const QString& siteRoot, QString arguments);
    TorvaneMain(const TorvaneMain&) = delete;
    TorvaneMain& operator=(const TorvaneMain&) = delete;

    MainForm form;
    FormContext context;
    Settings settings;
    QString ConfigTranscript;
    ProgramFolder folder;
    ResultsLog log;
    bool ManualUpdateCheck = false;
    bool Timer1Enabled = false; // the status line's 2000 ms timer

    qint16 testMode() const { return context.TestMode; }

    void Load();
    void Activate();
    void ExitClick();
    void OnTopClick();
    void Timer1Tick();
    void Help1Click();
    void LogoClick();
    void AboutClick();

    void AppendPendingLogText() override;
    void ShowStatusMessage(const QString& message) override;
    [[noreturn]] void ReportFatalError(const QString& title, qint16 step) override;

    // What the view does for the model: realise the always-on-top band, open About.
    std::function<void(bool)> placeOnTop;
    std::function<void()> showAbout;
    // Told when Timer1 starts, so that the view can run it.
    std::function<void()> timer1Started;

private:
    Desktop& m_desktop;
    QString m_arguments;
};

} // namespace torvane
