#pragma once

#include "catalogue/appliance_catalogue.h"
#include "app/chart_form.h"
#include "mainform/form_context.h"
#include "config/settings.h"
#include "core/program_folder.h"
#include "resultslog/results_log.h"
#include "app/update_form.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <variant>

namespace torvane {

// The main window's model: owns the form and the settings, runs the load sequence and
// handles the window's own events; the comparison's procedures do the rest. What only a
// view can do (the always-on-top band, the About window) it asks for by its signals.
class TorvaneMain final : public QObject, public FormServices {
    Q_OBJECT

public:
    TorvaneMain(Desktop& desktop, const Clock& clock, const Regional& regional,
                const QString& programFolder, const QString& siteRoot, QString arguments,
                QObject* parent = nullptr);

    MainForm form;
    FormContext context;
    Settings settings;
    QString ConfigTranscript;
    ProgramFolder folder;
    ResultsLog log;
    ChartForm chart;
    bool ManualUpdateCheck = false;
    QTimer Timer1; // clears the status line 2000 ms after a message

    TestMode testMode() const { return context.testMode; }

    void Load();
    void Activate();
    void ExitClick();
    void OnTopClick();
    void Timer1Tick();
    void Help1Click();
    void LogoClick();
    void ArchiveClick();
    void UpdateClick();
    // The update window while one exists.
    UpdateForm* updater() const { return m_updater; }
    void AboutClick();
    void ChartClick();
    // Pick1 and Pick2: the catalogue is read afresh, so that the user's edits count, and
    // its damaged lines are told before the choice is offered.
    void PickClick(int item);
    // What the user chose for the item: a catalogue appliance, or an energy label's power.
    void PickChosen(int item, const std::variant<Appliance, LabelPower>& choice);

    void AppendPendingLogText() override;
    void ShowStatusMessage(const QString& message) override;
    [[noreturn]] void ReportFatalError(const QString& title, qint16 step) override;

Q_SIGNALS:
    // The window goes into the always-on-top band, or out of it, where it stands.
    void placeOnTopRequested(bool onTop);
    // The About window is shown modally; the view activates the model again after it.
    void aboutRequested();
    // The chart window, showing the last calculation of both items, is to come forward.
    void chartRequested();
    // The view offers the catalogue for the item, and reports the choice to PickChosen.
    void pickRequested(int item, const std::vector<Appliance>& appliances);
    // An update window was made; the view shows it at once when visible, otherwise when
    // it asks to be shown.
    void updateWindowOpened(UpdateForm& updater, bool visible);

private:
    // Opens the update window: shown for the Update button, hidden for the check at
    // start-up. Update stays disabled until the window unloads.
    void openUpdateWindow(bool manual);
    // The chart shows the calculation of both items that the window shows, or nothing.
    void followChart();

    Desktop& m_desktop;
    QPointer<UpdateForm> m_updater;
    QString m_arguments;
};

} // namespace torvane
