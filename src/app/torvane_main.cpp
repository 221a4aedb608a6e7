#include "torvane_main.h"

#include "app/error_report.h"
#include "mainform/appliance_fill.h"
#include "mainform/calculation.h"
#include "mainform/defaults.h"
#include "mainform/form_actions.h"
#include "catalogue/catalogue_messages.h"
#include "mainform/presentation.h"
#include "core/ansi_file.h"
#include "core/version.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace torvane {

TorvaneMain::TorvaneMain(Desktop& desktop, const Clock& clock, const Regional& regional,
                         const QString& programFolder, const QString& siteRoot, QString arguments,
                         QObject* parent)
    : QObject(parent)
    , context{form, regional, desktop, *this, clock, TestMode()}
    , folder(programFolder, desktop, siteRoot)
    , log(folder, desktop, regional, clock)
    , chart(regional, desktop)
    , m_desktop(desktop)
    , m_arguments(std::move(arguments))
{
    connectComparisonHandlers(context);
    // The chart follows every calculation of both items, open or not.
    form.Calc.onClick = [this] {
        Calc(context);
        followChart();
    };
    // A result that goes (Clear, a refused calculation, Months) takes the chart with it.
    for (TextBox* period : {&form.Item1Period, &form.Item2Period})
        period->onChange = [this, showButton = period->onChange] {
            showButton();
            if (!form.Chart.enabled())
                chart.clear();
        };
    form.Units1.onClick = [this] {
        Units1Click(context);
        followChart();
    };
    form.OnTop.onClick = [this] {
        OnTopClick();
    };
    form.Exit.onClick = [this] {
        ExitClick();
    };
    form.Help1.onClick = [this] {
        Help1Click();
    };
    form.About.onClick = [this] {
        AboutClick();
    };
    form.Save_Defaults.onClick = [this] {
        SaveDefaultsClick(context, folder);
    };
    form.Reset_Defaults.onClick = [this] {
        ResetDefaultsClick(context, folder, settings, ConfigTranscript);
    };
    form.Archive.onClick = [this] {
        ArchiveClick();
    };
    form.ViewL.onClick = [this] {
        log.View();
    };
    form.Update.onClick = [this] {
        UpdateClick();
    };
    form.Chart.onClick = [this] {
        ChartClick();
    };
    form.Pick1.onClick = [this] {
        PickClick(1);
    };
    form.Pick2.onClick = [this] {
        PickClick(2);
    };
    Timer1.setSingleShot(true);
    Timer1.setInterval(2000);
    connect(&Timer1, &QTimer::timeout, this, &TorvaneMain::Timer1Tick);
}

void TorvaneMain::Load()
{
    withErrorTrap(context, "Loading Error", [&] {
        form.StepNumber = 181;
        form.UpdatingFields = true;
        folder.CheckFolder(u"data"_s);
        folder.CheckFolder(u"help"_s);
        form.Caption = u"Torvane"_s;
        form.StepNumber = 182;
        context.testMode = TestMode::fromArguments(m_arguments);
        settings = Settings(); // back to the markers of values not yet read
        form.TariffKept = false;
        form.StepNumber = 183;
        form.CurrencySymbol = context.regional.currencyPrefix();
        CurrencyManagement(context, true, true);
        ReadConfiguration(context, folder, settings, ConfigTranscript);
        form.StepNumber = 184;
        log.CreateResultsLog();
        form.StepNumber = 184;
        form.PendingLogText = u"Torvane Started"_s + CrLf + u"Version "_s + versionText() + CrLf +
                              log.timeStamp() + CrLf;
        AppendPendingLogText();
        form.StepNumber = 186;
        finishLoading(context);
        const qint16 mode = context.testMode.number();
        if (settings.UpEnableSetting == 2 &&
            (mode == TestMode::None || mode == TestMode::ShortUpdateTime))
            openUpdateWindow(false);
    });
}

void TorvaneMain::Activate()
{
    if (form.OnTop.value() == 1)
        Q_EMIT placeOnTopRequested(true);
    form.Save.setEnabled(false);
}

void TorvaneMain::OnTopClick()
{
    Q_EMIT placeOnTopRequested(form.OnTop.value() == 1);
    if (!form.UpdatingFields)
        form.Save_Defaults.setEnabled(true);
}

void TorvaneMain::ExitClick()
{
    if (form.Save.enabled() || form.Save_Defaults.enabled()) {
        QString reasons;
        if (form.Save.enabled())
            reasons += u"There is an unsaved calculation!"_s + CrLf;
        if (form.Save_Defaults.enabled())
            reasons += u"The Electricity Data has not been saved!"_s + CrLf;
        const MessageAnswer answer = m_desktop.messageBox(
            u"To exit without saving click OK"_s + CrLf + reasons, u"Torvane Data Not Saved"_s,
            MessageIcon::Question, MessageButtons::OkCancel);
        if (answer != MessageAnswer::Ok)
            return;
    }
    m_desktop.endProgram();
}

void TorvaneMain::Timer1Tick()
{
    form.Status.setCaption(QString());
    Timer1.stop();
}

void TorvaneMain::Help1Click()
{
    const QString title = u"Torvane Help File Error"_s;
    folder.CheckFolder(u"help"_s);
    const QString page = folder.path(u"Help\\index.htm"_s);
    if (!AnsiFile::exists(page)) {
        m_desktop.messageBox(u"The help file is either missing or"_s + CrLf +
                                 u"corrupted. Reinstall the program"_s + CrLf +
                                 u"to correct the error."_s + CrLf,
                             title, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    if (!m_desktop.openUrl(QUrl::fromLocalFile(page).toString()))
        m_desktop.messageBox(u"Unable to launch Browser."_s, u"Torvane Error"_s, MessageIcon::None,
                             MessageButtons::Ok);
}

void TorvaneMain::ArchiveClick()
{
    form.Status.setCaption(QString());
    Timer1.stop();
    log.Archive([this](const QString& status) {
        form.Status.setCaption(status);
        Timer1.start();
    });
}

void TorvaneMain::UpdateClick()
{
    openUpdateWindow(true);
}

void TorvaneMain::openUpdateWindow(bool manual)
{
    form.Update.setEnabled(false);
    ManualUpdateCheck = manual;
    auto* updater = new UpdateForm(folder, m_desktop, context.regional, context.clock,
                                   context.testMode, manual, this);
    m_updater = updater;
    Q_EMIT updateWindowOpened(*updater, manual);
    // Connected after the view, so that its window goes before the model it is bound to.
    connect(updater, &UpdateForm::unloadRequested, this, [this, updater] {
        form.Update.setEnabled(true);
        updater->deleteLater();
    });
    updater->Load();
}

void TorvaneMain::LogoClick()
{
    folder.OpenWebPage(QString());
}

void TorvaneMain::followChart()
{
    if (form.Chart.enabled())
        chart.setResult(*form.CostChart, context.clock.now().date());
    else
        chart.clear();
}

void TorvaneMain::ChartClick()
{
    Q_EMIT chartRequested();
}

void TorvaneMain::PickClick(int item)
{
    const Catalogue catalogue = readCatalogue(folder.path(CatalogueFile));
    if (!catalogue.problems.isEmpty())
        m_desktop.messageBox(catalogueProblemsText(catalogue.problems),
                             QString::fromLatin1(messages::CatalogueTitle),
                             MessageIcon::Exclamation, MessageButtons::Ok);
    // The energy label needs no catalogue: the choice is offered even without one.
    Q_EMIT pickRequested(item, catalogue.appliances);
}

void TorvaneMain::PickChosen(int item, const std::variant<Appliance, LabelPower>& choice)
{
    if (const auto* appliance = std::get_if<Appliance>(&choice))
        FillItem(context, item, *appliance);
    else if (const auto* label = std::get_if<LabelPower>(&choice))
        FillOnPower(context, item, label->watts, label->hoursPerDay);
    form.requestFocus(item == 1 ? form.Item1Watts : form.Item2Watts);
}

void TorvaneMain::AboutClick()
{
    settings.RunOnTopSetting = static_cast<qint16>(form.OnTop.value() + 1);
    Q_EMIT aboutRequested();
}

void TorvaneMain::AppendPendingLogText()
{
    log.AppendPendingLogText(form.PendingLogText);
}

void TorvaneMain::ShowStatusMessage(const QString& message)
{
    form.Status.setCaption(message);
    Timer1.start();
    if (context.testMode.showsStatusInBox())
        m_desktop.messageBox(message, u"Torvane Status Message"_s, MessageIcon::Exclamation,
                             MessageButtons::Ok);
}

void TorvaneMain::ReportFatalError(const QString& title, qint16 step)
{
    // Best effort: the log is not created for the dump, and a failure only shortens it.
    const QString dump = fatalErrorDump(form, settings, ConfigTranscript, log.timeStamp(), title,
                                        step, context.regional);
    AnsiFile::append(folder.path(ResultsLog::fileName()), dump);
    m_desktop.messageBox(fatalErrorMessage(title, step), u"Torvane Fatal Error"_s,
                         MessageIcon::Stop, MessageButtons::Ok);
    m_desktop.endProgram();
}

} // namespace torvane
