#include "batch.h"

#include "calc/form_actions.h"
#include "config/config_reader.h"
#include "core/clock.h"

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
        QStringLiteral("NormalR"),     QStringLiteral("CheapR"),      QStringLiteral("NormalHr"),
        QStringLiteral("CheapHr"),     QStringLiteral("NormalSHr"),   QStringLiteral("CheapSHr"),
        QStringLiteral("PayPeriod"),   QStringLiteral("VAT"),         QStringLiteral("AnInfT"),
        QStringLiteral("CO2"),         QStringLiteral("Item1Watts"),  QStringLiteral("Item1SWatts"),
        QStringLiteral("Item1CWatts"), QStringLiteral("Item1Life"),   QStringLiteral("Item1Cost"),
        QStringLiteral("Item2Watts"),  QStringLiteral("Item2SWatts"), QStringLiteral("Item2CWatts"),
        QStringLiteral("Item2Life"),   QStringLiteral("Item2Cost"),   QStringLiteral("Notes"),
        QStringLiteral("MonthlyT"),    QStringLiteral("Units1")};
    return columns;
}

bool BatchComparison::isCheckBox(QStringView column)
{
    return column == QLatin1String("MonthlyT") || column == QLatin1String("Units1");
}

const QStringList& BatchComparison::resultColumns()
{
    static const QStringList columns = {
        QStringLiteral("HoursUsed"),        QStringLiteral("HoursSUsed"),
        QStringLiteral("Item1No"),          QStringLiteral("Item2No"),
        QStringLiteral("Item1DayCost"),     QStringLiteral("Item1QtrCost"),
        QStringLiteral("Item1PeriodCost"),  QStringLiteral("Item2DayCost"),
        QStringLiteral("Item2QtrCost"),     QStringLiteral("Item2PeriodCost"),
        QStringLiteral("DayCostSave"),      QStringLiteral("QtrCostSave"),
        QStringLiteral("PeriodCostSave"),   QStringLiteral("Item1DayUnits"),
        QStringLiteral("Item1QtrUnits"),    QStringLiteral("Item1PeriodUnits"),
        QStringLiteral("Item2DayUnits"),    QStringLiteral("Item2QtrUnits"),
        QStringLiteral("Item2PeriodUnits"), QStringLiteral("DayUnitsSave"),
        QStringLiteral("QtrUnitsSave"),     QStringLiteral("PeriodUnitsSave"),
        QStringLiteral("Item1SB"),          QStringLiteral("Item2SB"),
        QStringLiteral("Item1CO2"),         QStringLiteral("Item2CO2"),
        QStringLiteral("CO2Save")};
    return columns;
}

QString BatchComparison::setConfiguration(const QStringList& lines)
{
    m_configuration = lines;
    try {
        run({}, {});
    } catch (const FatalCalculation&) {
        m_configuration.reset();
        QString message = m_recorder->boxText;
        return message.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
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
