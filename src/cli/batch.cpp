#include "batch.h"

#include "calc/form_actions.h"
#include "config/config_reader.h"
#include "core/clock.h"

using namespace Qt::StringLiterals;

namespace torvane {

// Stands in for the desktop and the log: remembers the message box and status line.
class BatchComparison::Recorder final : public Desktop, public FormServices {
public:
    MessageAnswer messageBox(const QString& text, const QString&, MessageIcon,
                             MessageButtons) override
    {
        boxText = text;
        return MessageAnswer::Ok;
    }
    bool openUrl(const QString&) override { return false; }
    bool startProgram(const QString&, const QStringList&) override { return false; }
    void quit() override { throw FatalCalculation{QString(), 0}; }

    void AppendPendingLogText() override {}
    void ShowStatusMessage(const QString& message) override { status = message; }
    [[noreturn]] void ReportFatalError(const QString& title, qint16 step) override
    {
        throw FatalCalculation{title, step};
    }

    QString boxText;
    QString status;
    SystemClock clock;
};

BatchComparison::BatchComparison(const Regional& regional)
    : m_regional(regional)
    , m_recorder(std::make_unique<Recorder>())
{}

BatchComparison::~BatchComparison() = default;

const QStringList& BatchComparison::inputColumns()
{
    static const QStringList columns = {
        u"NormalR"_s,    u"CheapR"_s,      u"NormalHr"_s,    u"CheapHr"_s,   u"NormalSHr"_s,
        u"CheapSHr"_s,   u"PayPeriod"_s,   u"VAT"_s,         u"AnInfT"_s,    u"CO2"_s,
        u"Item1Watts"_s, u"Item1SWatts"_s, u"Item1CWatts"_s, u"Item1Life"_s, u"Item1Cost"_s,
        u"Item2Watts"_s, u"Item2SWatts"_s, u"Item2CWatts"_s, u"Item2Life"_s, u"Item2Cost"_s,
        u"Notes"_s,      u"MonthlyT"_s,    u"Units1"_s};
    return columns;
}

bool BatchComparison::isCheckBox(QStringView column)
{
    return column == QLatin1String("MonthlyT") || column == QLatin1String("Units1");
}

const QStringList& BatchComparison::resultColumns()
{
    static const QStringList columns = {
        u"HoursUsed"_s,      u"HoursSUsed"_s,      u"Item1No"_s,          u"Item2No"_s,
        u"Item1DayCost"_s,   u"Item1QtrCost"_s,    u"Item1PeriodCost"_s,  u"Item2DayCost"_s,
        u"Item2QtrCost"_s,   u"Item2PeriodCost"_s, u"DayCostSave"_s,      u"QtrCostSave"_s,
        u"PeriodCostSave"_s, u"Item1DayUnits"_s,   u"Item1QtrUnits"_s,    u"Item1PeriodUnits"_s,
        u"Item2DayUnits"_s,  u"Item2QtrUnits"_s,   u"Item2PeriodUnits"_s, u"DayUnitsSave"_s,
        u"QtrUnitsSave"_s,   u"PeriodUnitsSave"_s, u"Item1SB"_s,          u"Item2SB"_s,
        u"Item1CO2"_s,       u"Item2CO2"_s,        u"CO2Save"_s};
    return columns;
}

QString BatchComparison::setConfiguration(const QStringList& lines)
{
    m_configuration = lines;
    try {
        run({}, {});
    } catch (const FatalCalculation& fatal) {
        m_configuration.reset();
        // The reader's own message, or the run-time error it met.
        QString message = m_recorder->boxText;
        if (message.isEmpty())
            message =
                u"A Fatal %1 Has Occurred (Error Number %2)"_s.arg(fatal.title).arg(fatal.step);
        return message.replace(u"\r\n"_s, u" "_s);
    }
    return QString();
}

BatchComparison::Result BatchComparison::run(const QStringList& columns, const QStringList& values)
{
    Recorder& recorder = *m_recorder;
    recorder.boxText.clear();
    recorder.status.clear();

    MainForm form;
    FormContext context{form, m_regional, recorder, recorder, recorder.clock};
    connectComparisonHandlers(context);
    Settings settings;
    QString transcript;
    prepareFreshForm(context, [&] {
        if (m_configuration)
            ReadConfigurationLines(context, *m_configuration, settings, transcript);
    });

    for (qsizetype i = 0; i < columns.size(); ++i) {
        Control* control = form.control(columns[i]);
        if (control->kind() == Control::Kind::CheckBox)
            static_cast<CheckBox*>(control)->setValue(values[i] == QLatin1String("1") ? 1 : 0);
        else
            static_cast<TextBox*>(control)->type(values[i]);
    }
    form.Calc.click();

    Result result;
    if (!recorder.boxText.isEmpty()) {
        result.outcome = Outcome::Refused;
        result.messages = recorder.boxText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    } else if (!recorder.status.isEmpty()) {
        result.outcome = Outcome::Status;
        result.status = recorder.status;
    } else {
        result.record = form.RecordText;
    }
    const QString* kept[] = {&form.Item1DayCost,  &form.Item1QtrCost,  &form.Item1PeriodCost,
                             &form.Item2DayCost,  &form.Item2QtrCost,  &form.Item2PeriodCost,
                             &form.DayCostSave,   &form.QtrCostSave,   &form.PeriodCostSave,
                             &form.Item1DayUnits, &form.Item1QtrUnits, &form.Item1PeriodUnits,
                             &form.Item2DayUnits, &form.Item2QtrUnits, &form.Item2PeriodUnits,
                             &form.DayUnitsSave,  &form.QtrUnitsSave,  &form.PeriodUnitsSave};
    result.results.reserve(resultColumns().size());
    for (const TextBox* field : {&form.HoursUsed, &form.HoursSUsed, &form.Item1No, &form.Item2No})
        result.results.append(field->text());
    for (const QString* text : kept)
        result.results.append(*text);
    for (const TextBox* field :
         {&form.Item1SB, &form.Item2SB, &form.Item1CO2, &form.Item2CO2, &form.CO2Save})
        result.results.append(field->text());
    return result;
}

} // namespace torvane
