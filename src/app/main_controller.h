#pragma once

#include "app/chart_form.h"
#include "app/update_form.h"
#include "catalogue/appliance_catalogue.h"
#include "config/settings.h"
#include "core/program_folder.h"
#include "mainform/appliance_fill.h"
#include "mainform/form_context.h"
#include "resultslog/results_log.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <variant>

namespace torvane {

// The running program behind the main window: owns the window's model, the settings, the
// results log and the chart, runs the load sequence and handles the window's own buttons
// (the comparison's procedures handle the rest). What only a view can do (the
// always-on-top band, the About, chart, catalogue and update windows) it asks for by its
// signals.
class MainController final : public QObject, public FormServices {
    Q_OBJECT

public:
    MainController(Desktop& desktop, const Clock& clock, const Regional& regional,
                   const QString& programFolder, const QString& siteRoot, QString arguments,
                   QObject* parent = nullptr);

    MainForm& form() { return m_form; }
    const MainForm& form() const { return m_form; }
    ChartForm& chart() { return m_chart; }
    ProgramFolder& folder() { return m_folder; }
    const Regional& regional() const { return m_context.regional; }
    // What the main window's procedures work on, for a window that fills its fields.
    FormContext& context() { return m_context; }
    TestMode testMode() const { return m_context.testMode; }
    const Settings& settings() const { return m_settings; }
    // The configuration file as last read, for the fatal-error dump.
    const QString& configTranscript() const { return m_configTranscript; }
    // The update window while one exists.
    UpdateForm* updater() const { return m_updater; }
    // Whether the status line will be cleared: a message stands in it.
    bool statusMessageShown() const { return m_statusTimer.isActive(); }

    // Checks the folders, reads the switches and the configuration, starts the results log
    // and empties the window; then the automatic update check, when it is on.
    void load();
    // The window became the active one.
    void activate();
    // The Marnoft logo: the maker's home page.
    void openMakerHomePage();
    // What the user chose in the catalogue window for the item: an appliance, one the
    // household has or would buy, or an energy label's power.
    void fillItem(int item, const std::variant<Appliance, LabelPower>& choice, Ownership ownership);

    void appendPendingLogText() override;
    // Shows the message in the status line for 2 seconds (and in a box in some test modes).
    void showStatusMessage(const QString& message) override;
    [[noreturn]] void reportFatalError(const QString& title, qint16 step) override;

Q_SIGNALS:
    // The window goes into the always-on-top band, or out of it, where it stands.
    void placeOnTopRequested(bool onTop);
    // The About window is shown modally; the view activates the model again after it.
    void aboutRequested();
    // The chart window, showing the last calculation of both items, is to come forward.
    void chartRequested();
    // The view offers the catalogue for the item, and reports the choice to fillItem.
    void pickRequested(int item, const std::vector<Appliance>& appliances);
    // The view opens the Measured Use window for the item, which fills it through context().
    void measureRequested(int item);
    // An update window was made; the view shows it at once when visible, otherwise when
    // it asks to be shown.
    void updateWindowOpened(UpdateForm& updater, bool visible);

private:
    void connectWindowButtons();
    void connectChartToResults();
    // Exit: warns of an unsaved calculation or electricity data, then ends the program.
    void confirmExit();
    void applyOnTop();
    void clearStatusLine();
    void openHelp();
    void archiveResultsLog();
    void showAbout();
    // Pick1 and Pick2: the catalogue is read afresh, so that the user's edits count, and
    // its damaged lines are told before the choice is offered.
    void offerCatalogue(int item);
    // Opens the update window: shown for the Update button, hidden for the check at
    // start-up. Update stays disabled until the window unloads.
    void openUpdateWindow(bool manual);
    // The chart shows the calculation of both items that the window shows, or nothing.
    void followChart();

    MainForm m_form;
    FormContext m_context;
    Settings m_settings;
    QString m_configTranscript;
    ProgramFolder m_folder;
    ResultsLog m_log;
    ChartForm m_chart;
    QTimer m_statusTimer; // clears the status line 2000 ms after a message
    Desktop& m_desktop;
    QPointer<UpdateForm> m_updater;
    QString m_arguments;
};

} // namespace torvane
