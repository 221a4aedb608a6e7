#include "result_record.h"
#include "core/ansi_file.h"

#include "core/numbers.h"

using namespace Qt::StringLiterals;

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
    QString text = u"Item %1: "_s.arg(item) + column(6, 6, watts.text()) + u"W, "_s +
                   column(4, 4, format(number(standby.text()), 1)) + u"W Standby plus "_s +
                   column(4, 4, format(number(continuous.text()), 1)) + u"W Continuous Standby"_s;
    if (!share.text().isEmpty())
        text += u" ("_s + column(5, 5, share.text()) + u" Standby Cost)"_s;
    if (!life.text().isEmpty()) {
        const QString costText = cost.text().isEmpty() ? u"n-a"_s : cost.text();
        text += CrLf + u"        Replace "_s + column(2, 2, count.text()) + u" times, "_s +
                column(5, 6, life.text()) + u"hrs Life, Cost "_s + column(8, 8, costText);
    }
    line(text);
}

void RecordWriter::unitsLine(const QString& head, const QString& day, const QString& part,
                             const QString& period, const QString& co2)
{
    line(head + column(6, 7, reformat(day, 3)) + u"KWHr/day, "_s + column(7, 7, reformat(part, 2)) +
         u"KWHr/"_s + periodLabel + u", "_s + column(7, 7, reformat(period, 1)) + u"KWHr/"_s +
         f.PayPeriod.text() + u"yrs,"_s + column(7, 8, co2) + unit + u" CO2"_s);
}

void RecordWriter::costLine(const QString& head, const QString& day, const QString& part,
                            const QString& period)
{
    line(head + money5(day) + u"/day, "_s + column(9, 10, currency(part)) + QLatin1Char('/') +
         periodLabel + u", "_s + column(12, 12, period) + QLatin1Char('/') + f.PayPeriod.text() +
         u"yrs,"_s);
}

void RecordWriter::compose()
{
    periodLabel = f.MonthlyT.value() == 1 ? u"Mth"_s : u"Qtr"_s;
    f.StepNumber = 201;
    unit = f.Units1.value() == 1 ? u"lb"_s : u"Kg"_s;
    const QDateTime now = c.clock.now();
    f.PendingLogText = c.regional.formatShortDate(now.date()) + QLatin1Char(' ') +
                       now.time().toString(u"hh:mm:ss"_s) + CrLf;
    f.RecordText.clear();

    const bool kept = f.TariffKept;
    const bool item1 = f.Item1Blank == 0;
    const bool item2 = f.Item2Blank == 0;

    if (!f.Notes.text().isEmpty())
        line(f.Notes.text());
    line(QString());
    if (kept)
        line(u"Item 1 Data"_s);
    line(u"VAT         : "_s + column(5, 4, format(number(f.VAT.text()), 1)) + QLatin1Char('%'));
    const double inflation = number(f.AnInfT.text());
    if (inflation != 0) {
        QString text = u"Inflation   : "_s + column(5, 4, format(inflation, 1)) + u"%/year"_s;
        if (number(f.PayPeriod.text()) > 1) {
            const float total = (f.InflationFactor - 1.0f) * 100.0f;
            text += u" ("_s + format(total, 1) + u"% total inflation over "_s + f.PayPeriod.text() +
                    u" years)"_s;
        }
        line(text);
    }
    line(u"CO2 Convert : "_s + column(6, 5, format(number(f.CO2.text()), 2)) + QLatin1Char(' ') +
         unit + u"/KWHr"_s);
    const auto rateLine = [&](const QString& head, int width, const QString& rate,
                              const QString& on, const QString& standby) {
        line(head + column(width, width, rate) + u"/KWhr "_s + column(5, 5, general(on)) +
             u"hrs On + "_s + column(5, 5, general(standby)) + u"hrs On Standby per day"_s);
    };
    const auto runningLine = [&](int onWidth, int standbyWidth, const QString& on,
                                 const QString& standby) {
        line(u"Running Time: "_s + column(onWidth, onWidth, general(on)) + u"hrs On + "_s +
             column(standbyWidth, standbyWidth, general(standby)) +
             u"hrs On Standby over Pay Back Period"_s);
    };
    const QString normalHead = u"Normal Rate : "_s;
    const QString cheapHead = u"Cheap Rate  : "_s;
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
        line(u"Item 2 Data"_s);
        line(u"VAT         : "_s + column(4, 3, format(number(f.VAT.text()), 1)) +
             QLatin1Char('%'));
        if (inflation != 0)
            line(u"Inflation   : "_s + column(4, 3, format(inflation, 1)) + QLatin1Char('%'));
        line(u"CO2 Convert : "_s + column(5, 4, format(number(f.CO2.text()), 2)) +
             QLatin1Char(' ') + unit + u"/KWHr"_s);
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
        unitsLine(u"Item 1 Units: "_s, f.Item1DayUnits, f.Item1QtrUnits, f.Item1PeriodUnits,
                  f.Item1CO2.text());
    f.StepNumber = 206;
    if (item2)
        unitsLine(u"Item 2 Units: "_s, f.Item2DayUnits, f.Item2QtrUnits, f.Item2PeriodUnits,
                  f.Item2CO2.text());
    f.StepNumber = 207;
    if (item1 && item2)
        unitsLine(u"      Saving: "_s, f.DayUnitsSave, f.QtrUnitsSave, f.PeriodUnitsSave,
                  f.CO2Save.text());
    rule();

    f.StepNumber = 208;
    if (item1)
        costLine(u"Item 1 Cost : "_s, f.Item1DayCost, f.Item1QtrCost, f.Item1PeriodCost);
    f.StepNumber = 209;
    if (item2)
        costLine(u"Item 2 Cost : "_s, f.Item2DayCost, f.Item2QtrCost, f.Item2PeriodCost);
    f.StepNumber = 210;
    if (item1 && item2)
        costLine(u"     Saving : "_s, f.DayCostSave, f.QtrCostSave, currency(f.PeriodCostSave));

    f.PendingLogText += f.RecordText + CrLf;
}

} // namespace

void ComposeResultRecord(FormContext& context)
{
    withErrorTrap(context, "Log Generation Error", [&] { RecordWriter(context).compose(); });
}

} // namespace torvane
