#include "result_record.h"
#include "core/ansi_file.h"

#include "core/numbers.h"

namespace torvane {
namespace {

// p blanks in front of the value, then only the last n characters.
QString column(int n, int pad, const QString& value)
{
    const QString padded = QString(pad, QLatin1Char(' ')) + value;
    return padded.right(n);
}

class RecordWriter {
public:
    explicit RecordWriter(FormContext& context)
        : c(context)
        , f(context.form)
    {}

    void compose();

private:
    double number(const QString& text) const { return c.num(text); }
    QString general(const QString& text) const { return c.gen(number(text)); }
    QString format(double value, int decimals) const { return c.fixed(value, decimals); }
    // A stored result text formatted again; an empty text stays empty.
    QString reformat(const QString& text, int decimals) const
    {
        return text.isEmpty() ? QString() : format(c.strict(text), decimals);
    }
    QString currency(const QString& text) const
    {
        return text.isEmpty() ? QString() : c.regional.formatCurrency(c.strict(text), 2);
    }
    QString money5(const QString& text) const
    {
        return text.isEmpty() ? QString() : c.regional.currencyPrefix() + format(c.strict(text), 5);
    }

    void line(const QString& text) { f.RecordText += text + CrLf; }
    void rule() { line(QString(81, QLatin1Char('-'))); }
    void itemLines(int item, const TextBox& watts, const TextBox& standby,
                   const TextBox& continuous, const TextBox& share, const TextBox& life,
                   const TextBox& count, const TextBox& cost);
    void unitsLine(const QString& head, const QString& day, const QString& part,
                   const QString& period, const QString& co2);
    void costLine(const QString& head, const QString& day, const QString& part,
                  const QString& period);

    FormContext& c;
    MainForm& f;
    QString periodLabel;
    QString unit;
};

void RecordWriter::itemLines(int item, const TextBox& watts, const TextBox& standby,
                             const TextBox& continuous, const TextBox& share, const TextBox& life,
                             const TextBox& count, const TextBox& cost)
{
    QString text =
        QStringLiteral("Item %1: ").arg(item) + column(6, 6, watts.text()) + QStringLiteral("W, ") +
        column(4, 4, format(number(standby.text()), 1)) + QStringLiteral("W Standby plus ") +
        column(4, 4, format(number(continuous.text()), 1)) + QStringLiteral("W Continuous Standby");
    if (!share.text().isEmpty())
        text +=
            QStringLiteral(" (") + column(5, 5, share.text()) + QStringLiteral(" Standby Cost)");
    if (!life.text().isEmpty()) {
        const QString costText = cost.text().isEmpty() ? QStringLiteral("n-a") : cost.text();
        text += CrLf + QStringLiteral("        Replace ") + column(2, 2, count.text()) +
                QStringLiteral(" times, ") + column(5, 6, life.text()) +
                QStringLiteral("hrs Life, Cost ") + column(8, 8, costText);
    }
    line(text);
}

void RecordWriter::unitsLine(const QString& head, const QString& day, const QString& part,
                             const QString& period, const QString& co2)
{
    line(head + column(6, 7, reformat(day, 3)) + QStringLiteral("KWHr/day, ") +
         column(7, 7, reformat(part, 2)) + QStringLiteral("KWHr/") + periodLabel +
         QStringLiteral(", ") + column(7, 7, reformat(period, 1)) + QStringLiteral("KWHr/") +
         f.PayPeriod.text() + QStringLiteral("yrs,") + column(7, 8, co2) + unit +
         QStringLiteral(" CO2"));
}

void RecordWriter::costLine(const QString& head, const QString& day, const QString& part,
                            const QString& period)
{
    line(head + money5(day) + QStringLiteral("/day, ") + column(9, 10, currency(part)) +
         QLatin1Char('/') + periodLabel + QStringLiteral(", ") + column(12, 12, period) +
         QLatin1Char('/') + f.PayPeriod.text() + QStringLiteral("yrs,"));
}

void RecordWriter::compose()
{
    periodLabel = f.MonthlyT.value() == 1 ? QStringLiteral("Mth") : QStringLiteral("Qtr");
    f.StepNumber = 201;
    unit = f.Units1.value() == 1 ? QStringLiteral("lb") : QStringLiteral("Kg");
    const QDateTime now = c.clock.now();
    f.PendingLogText = c.regional.formatShortDate(now.date()) + QLatin1Char(' ') +
                       now.time().toString(QStringLiteral("hh:mm:ss")) + CrLf;
    f.RecordText.clear();

    const bool kept = f.TariffKept;
    const bool item1 = f.Item1Blank == 0;
    const bool item2 = f.Item2Blank == 0;

    if (!f.Notes.text().isEmpty())
        line(f.Notes.text());
    line(QString());
    if (kept)
        line(QStringLiteral("Item 1 Data"));
    line(QStringLiteral("VAT         : ") + column(5, 4, format(number(f.VAT.text()), 1)) +
         QLatin1Char('%'));
    const double inflation = number(f.AnInfT.text());
    if (inflation != 0) {
        QString text = QStringLiteral("Inflation   : ") + column(5, 4, format(inflation, 1)) +
                       QStringLiteral("%/year");
        if (number(f.PayPeriod.text()) > 1) {
            const float total = (f.InflationFactor - 1.0f) * 100.0f;
            text += QStringLiteral(" (") + format(total, 1) +
                    QStringLiteral("% total inflation over ") + f.PayPeriod.text() +
                    QStringLiteral(" years)");
        }
        line(text);
    }
    line(QStringLiteral("CO2 Convert : ") + column(6, 5, format(number(f.CO2.text()), 2)) +
         QLatin1Char(' ') + unit + QStringLiteral("/KWHr"));
    const auto rateLine = [&](const QString& head, int width, const QString& rate,
                              const QString& on, const QString& standby) {
        line(head + column(width, width, rate) + QStringLiteral("/KWhr ") +
             column(5, 5, general(on)) + QStringLiteral("hrs On + ") +
             column(5, 5, general(standby)) + QStringLiteral("hrs On Standby per day"));
    };
    const auto runningLine = [&](int onWidth, int standbyWidth, const QString& on,
                                 const QString& standby) {
        line(QStringLiteral("Running Time: ") + column(onWidth, onWidth, general(on)) +
             QStringLiteral("hrs On + ") + column(standbyWidth, standbyWidth, general(standby)) +
             QStringLiteral("hrs On Standby over Pay Back Period"));
    };
    const QString normalHead = QStringLiteral("Normal Rate : ");
    const QString cheapHead = QStringLiteral("Cheap Rate  : ");
    rateLine(normalHead, 10, f.NormalR.text(), f.Item1NormalHr, f.Item1NormalSHr);
    rateLine(cheapHead, 10, f.CheapR.text(), f.Item1CheapHr, f.Item1CheapSHr);
    runningLine(8, 6, f.Item1HoursUsed, f.Item1HoursSUsed);
    rule();

    f.StepNumber = 202;
    if (item1)
        itemLines(1, f.Item1Watts, f.Item1SWatts, f.Item1CWatts, f.Item1SB, f.Item1Life, f.Item1No,
                  f.Item1Cost);
    f.StepNumber = 203;
    if (kept) {
        rule();
        line(QString());
        line(QStringLiteral("Item 2 Data"));
        line(QStringLiteral("VAT         : ") + column(4, 3, format(number(f.VAT.text()), 1)) +
             QLatin1Char('%'));
        if (inflation != 0)
            line(QStringLiteral("Inflation   : ") + column(4, 3, format(inflation, 1)) +
                 QLatin1Char('%'));
        line(QStringLiteral("CO2 Convert : ") + column(5, 4, format(number(f.CO2.text()), 2)) +
             QLatin1Char(' ') + unit + QStringLiteral("/KWHr"));
        rateLine(normalHead, 8, f.NormalR.text(), f.NormalHr.text(), f.NormalSHr.text());
        rateLine(cheapHead, 8, f.CheapR.text(), f.CheapHr.text(), f.CheapSHr.text());
        runningLine(6, 6, f.HoursUsed.text(), f.HoursSUsed.text());
        rule();
    }
    f.StepNumber = 204;
    if (item2)
        itemLines(2, f.Item2Watts, f.Item2SWatts, f.Item2CWatts, f.Item2SB, f.Item2Life, f.Item2No,
                  f.Item2Cost);
    rule();

    f.StepNumber = 205;
    if (item1)
        unitsLine(QStringLiteral("Item 1 Units: "), f.Item1DayUnits, f.Item1QtrUnits,
                  f.Item1PeriodUnits, f.Item1CO2.text());
    f.StepNumber = 206;
    if (item2)
        unitsLine(QStringLiteral("Item 2 Units: "), f.Item2DayUnits, f.Item2QtrUnits,
                  f.Item2PeriodUnits, f.Item2CO2.text());
    f.StepNumber = 207;
    if (item1 && item2)
        unitsLine(QStringLiteral("      Saving: "), f.DayUnitsSave, f.QtrUnitsSave,
                  f.PeriodUnitsSave, f.CO2Save.text());
    rule();

    f.StepNumber = 208;
    if (item1)
        costLine(QStringLiteral("Item 1 Cost : "), f.Item1DayCost, f.Item1QtrCost,
                 f.Item1PeriodCost);
    f.StepNumber = 209;
    if (item2)
        costLine(QStringLiteral("Item 2 Cost : "), f.Item2DayCost, f.Item2QtrCost,
                 f.Item2PeriodCost);
    f.StepNumber = 210;
    if (item1 && item2)
        costLine(QStringLiteral("     Saving : "), f.DayCostSave, f.QtrCostSave,
                 currency(f.PeriodCostSave));

    f.PendingLogText += f.RecordText + CrLf;
}

} // namespace

void ComposeResultRecord(FormContext& context)
{
    withErrorTrap(context, "Log Generation Error", [&] { RecordWriter(context).compose(); });
}

} // namespace torvane
