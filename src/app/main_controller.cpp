#include "main_controller.h"

#include "app/error_report.h"
#include "catalogue/catalogue_messages.h"
#include "core/ansi_file.h"
#include "core/version.h"
#include "mainform/calculation.h"
#include "mainform/defaults.h"
#include "mainform/form_actions.h"
#include "mainform/presentation.h"
#include "mainform/steps.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace torvane {

MainController::MainController(Desktop& desktop, const Clock& clock, const Regional& regional,
                               const QString& programFolder, const QString& siteRoot,
                               QString arguments, QObject* parent)
    : QObject(parent)
    , m_context{m_form, regional, desktop, *this, clock, TestMode()}
    , m_folder(programFolder, desktop, siteRoot)
    , m_log(m_folder, desktop, regional, clock)
    , m_chart(regional, desktop)
    , m_desktop(desktop)
    , m_arguments(std::move(arguments))
{
    connectComparisonHandlers(m_context);
    connectChartToResults();
    connectWindowButtons();
    m_statusTimer.setSingleShot(true);
    m_statusTimer.setInterval(2000);
    connect(&m_statusTimer, &QTimer::timeout, this, &MainController::clearStatusLine);
}

void MainController::connectChartToResults()
{
    // The chart follows every calculation of both items, open or not.
    m_form.Calc.onClick = [this] {
        calculateComparison(m_context);
        followChart();
    };
    // A result that goes (Clear, a refused calculation, Months) takes the chart with it.
    for (TextBox* period : {&m_form.Item1Period, &m_form.Item2Period})
        period->onChange = [this, showButton = period->onChange] {
            showButton();
            if (!m_form.Chart.enabled())
                m_chart.clear();
        };
    m_form.Units1.onClick = [this] {
        switchCo2Units(m_context);
        followChart();
    };
}

void MainController::connectWindowButtons()
{
    const auto call = [this](void (MainController::*handler)()) {
        return [this, handler] {
            (this->*handler)();
        };
    };
    MainForm& f = m_form;
    f.OnTop.onClick = call(&MainController::applyOnTop);
    f.Exit.onClick = call(&MainController::confirmExit);
    f.Help1.onClick = call(&MainController::openHelp);
    f.About.onClick = call(&MainController::showAbout);
    f.Archive.onClick = call(&MainController::archiveResultsLog);
    f.Chart.onClick = [this] {
        Q_EMIT chartRequested();
    };
    f.ViewL.onClick = [this] {
        m_log.showInViewer();
    };
    f.Update.onClick = [this] {
        openUpdateWindow(true);
    };
    f.Save_Defaults.onClick = [this] {
        saveDefaults(m_context, m_folder);
    };
    f.Reset_Defaults.onClick = [this] {
        restoreDefaults(m_context, m_folder, m_settings, m_configTranscript);
    };
    f.Pick1.onClick = [this] {
        offerCatalogue(1);
    };
    f.Pick2.onClick = [this] {
        offerCatalogue(2);
    };
    f.Measure1.onClick = [this] {
        Q_EMIT measureRequested(1);
    };
    f.Measure2.onClick = [this] {
        Q_EMIT measureRequested(2);
    };
}

void MainController::load()
{
    withErrorTrap(m_context, "Loading Error", [&] {
        m_form.StepNumber = Step::LoadFolders;
        m_form.UpdatingFields = true;
        m_folder.checkFolder(u"data"_s);
        m_folder.checkFolder(u"help"_s);
        m_form.Caption = u"Torvane"_s;
        m_form.StepNumber = Step::LoadSwitches;
        m_context.testMode = TestMode::fromArguments(m_arguments);
        m_settings = Settings(); // back to the markers of values not yet read
        m_form.TariffKept = false;
        m_form.StepNumber = Step::LoadDefaults;
        m_form.CurrencySymbol = m_context.regional.currencyPrefix();
        renewCurrencySymbol(m_context, SymbolOnMoney::Renewed);
        loadDefaults(m_context, m_folder, m_settings, m_configTranscript);
        m_form.StepNumber = Step::LoadResultsLog;
        m_log.createResultsLog();
        m_form.StepNumber = Step::LoadResultsLog;
        m_form.PendingLogText = u"Torvane Started"_s + CrLf + u"Version "_s + versionText() + CrLf +
                                m_log.timeStamp() + CrLf;
        appendPendingLogText();
        m_form.StepNumber = Step::LoadFinish;
        finishLoading(m_context);
        const qint16 mode = m_context.testMode.number();
        if (m_settings.UpEnableSetting == 2 &&
            (mode == TestMode::None || mode == TestMode::ShortUpdateTime))
            openUpdateWindow(false);
    });
}

void MainController::activate()
{
    if (m_form.OnTop.value() == 1)
        Q_EMIT placeOnTopRequested(true);
    m_form.Save.setEnabled(false);
}

void MainController::applyOnTop()
{
    Q_EMIT placeOnTopRequested(m_form.OnTop.value() == 1);
    if (!m_form.UpdatingFields)
        m_form.Save_Defaults.setEnabled(true);
}

void MainController::confirmExit()
{
    if (m_form.Save.enabled() || m_form.Save_Defaults.enabled()) {
        QString reasons;
        if (m_form.Save.enabled())
            reasons += u"There is an unsaved calculation!"_s + CrLf;
        if (m_form.Save_Defaults.enabled())
            reasons += u"The Electricity Data has not been saved!"_s + CrLf;
        const MessageAnswer answer = m_desktop.messageBox(
            u"To exit without saving click OK"_s + CrLf + reasons, u"Torvane Data Not Saved"_s,
            MessageIcon::Question, MessageButtons::OkCancel);
        if (answer != MessageAnswer::Ok)
            return;
    }
    m_desktop.endProgram();
}

void MainController::clearStatusLine()
{
    m_form.Status.setCaption(QString());
    m_statusTimer.stop();
}

void MainController::openHelp()
{
    const QString title = u"Torvane Help File Error"_s;
    m_folder.checkFolder(u"help"_s);
    const QString page = m_folder.path(u"Help\\index.htm"_s);
    if (!AnsiFile::exists(page)) {
        m_desktop.messageBox(u"The help file is either missing or"_s + CrLf +
                                 u"corrupted. Reinstall the program"_s + CrLf +
                                 u"to correct the error."_s + CrLf,
                             title, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    m_folder.openInBrowser(QUrl::fromLocalFile(page).toString());
}

void MainController::archiveResultsLog()
{
    m_form.Status.setCaption(QString());
    m_statusTimer.stop();
    m_log.archive([this](const QString& status) {
        m_form.Status.setCaption(status);
        m_statusTimer.start();
    });
}

void MainController::openUpdateWindow(bool manual)
{
    m_form.Update.setEnabled(false);
    auto* updater = new UpdateForm(m_folder, m_desktop, m_context.regional, m_context.clock,
                                   m_context.testMode, manual, this);
    m_updater = updater;
    Q_EMIT updateWindowOpened(*updater, manual);
    // Connected after the view, so that its window goes before the model it is bound to.
    connect(updater, &UpdateForm::unloadRequested, this, [this, updater] {
        m_form.Update.setEnabled(true);
        updater->deleteLater();
    });
    updater->load();
}

void MainController::openMakerHomePage()
{
    m_folder.openWebPage(QString());
}

void MainController::followChart()
{
    if (m_form.Chart.enabled())
        m_chart.setResult(*m_form.CostChart, m_context.clock.now().date(),
                          {m_form.Notes.text(), m_form.Item1Appliance, m_form.Item2Appliance});
    else
        m_chart.clear();
}

void MainController::offerCatalogue(int item)
{
    const Catalogue catalogue = readCatalogue(m_folder.path(CatalogueFile));
    if (!catalogue.problems.isEmpty())
        m_desktop.messageBox(catalogueProblemsText(catalogue.problems),
                             QString::fromLatin1(messages::CatalogueTitle),
                             MessageIcon::Exclamation, MessageButtons::Ok);
    // The energy label needs no catalogue: the choice is offered even without one.
    Q_EMIT pickRequested(item, catalogue.appliances);
}

void MainController::fillItem(int item, const std::variant<Appliance, LabelPower>& choice,
                              Ownership ownership)
{
    if (const auto* appliance = std::get_if<Appliance>(&choice))
        fillItemFromAppliance(m_context, item, *appliance, ownership);
    else if (const auto* label = std::get_if<LabelPower>(&choice))
        fillItemOnPower(m_context, item, label->watts, label->hoursPerDay);
    m_form.requestFocus(item == 1 ? m_form.Item1Watts : m_form.Item2Watts);
}

void MainController::showAbout()
{
    m_settings.RunOnTopSetting = static_cast<qint16>(m_form.OnTop.value() + 1);
    Q_EMIT aboutRequested();
}

void MainController::appendPendingLogText()
{
    m_log.appendPendingLogText(m_form.PendingLogText);
}

void MainController::showStatusMessage(const QString& message)
{
    m_form.Status.setCaption(message);
    m_statusTimer.start();
    if (m_context.testMode.showsStatusInBox())
        m_desktop.messageBox(message, u"Torvane Status Message"_s, MessageIcon::Exclamation,
                             MessageButtons::Ok);
}

void MainController::reportFatalError(const QString& title, qint16 step)
{
    // Best effort: the log is not created for the dump, and a failure only shortens it.
    const QString dump = fatalErrorDump(m_form, m_settings, m_configTranscript, m_log.timeStamp(),
                                        title, step, m_context.regional);
    AnsiFile::append(m_folder.path(ResultsLog::fileName()), dump);
    m_desktop.messageBox(fatalErrorMessage(title, step), u"Torvane Fatal Error"_s,
                         MessageIcon::Stop, MessageButtons::Ok);
    m_desktop.endProgram();
}

} // namespace torvane
