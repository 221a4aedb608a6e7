#include "calculation.h"

#include "clearing.h"
#include "core/ansi_file.h"
#include "input_checks.h"
#include "messages.h"
#include "presentation.h"
#include "resultslog/result_record.h"
#include "resultslog/results_log.h"
#include "steps.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// The fields and kept results in which an item's figures are shown.
struct ItemFields {
    TextBox& No;
    TextBox& SB;
    TextBox& CO2;
    QString& DayCost;
    QString& QtrCost;
    QString& PeriodCost;
    QString& DayUnits;
    QString& QtrUnits;
    QString& PeriodUnits;
};

ItemFields item1Fields(MainForm& f)
{
    return {f.Item1No,         f.Item1SB,       f.Item1CO2,      f.Item1DayCost,    f.Item1QtrCost,
            f.Item1PeriodCost, f.Item1DayUnits, f.Item1QtrUnits, f.Item1PeriodUnits};
}

ItemFields item2Fields(MainForm& f)
{
    return {f.Item2No,         f.Item2SB,       f.Item2CO2,      f.Item2DayCost,    f.Item2QtrCost,
            f.Item2PeriodCost, f.Item2DayUnits, f.Item2QtrUnits, f.Item2PeriodUnits};
}

// Shows the figures of an item that are known so far.
void showKnown(const FormContext& c, ItemFields& fields, const ItemFigures& figures)
{
    if (figures.count)
        fields.No.setText(c.gen(*figures.count));
    if (figures.standbyShare)
        fields.SB.setText(c.fixed(*figures.standbyShare, 1) + QLatin1Char('%'));
    else if (figures.co2) // worked out without electricity: no share
        fields.SB.setText(QString());
    if (figures.co2)
        fields.CO2.setText(c.fixed(*figures.co2, 1));
}

// Works an item out and shows it. Its kept results read "0" until it is done, so that a
// run-time error part-way leaves no stale figures for the report.
void workOut(const FormContext& c, ItemFields fields, const ItemCalculation& calculation,
             ItemFigures& figures)
{
    for (QString* kept : {&fields.DayCost, &fields.QtrCost, &fields.PeriodCost, &fields.DayUnits,
                          &fields.QtrUnits, &fields.PeriodUnits}) {
        *kept = u"0"_s;
    }
    figures = ItemFigures();
    try {
        workOutItem(calculation, figures);
    } catch (const RuntimeError&) {
        showKnown(c, fields, figures);
        throw;
    }
    showKnown(c, fields, figures);
    const Regional& r = c.regional;
    fields.DayCost = r.formatCurrency(figures.cost.day, 5);
    fields.QtrCost = r.formatCurrency(figures.cost.part, 2);
    fields.PeriodCost = r.formatCurrency(figures.cost.period, 2);
    fields.DayUnits = r.formatFixed(figures.units.day, 3);
    fields.QtrUnits = r.formatFixed(figures.units.part, 2);
    fields.PeriodUnits = r.formatFixed(figures.units.period, 1);
}

void showDifferences(const FormContext& c, const Differences& d)
{
    MainForm& f = c.form;
    f.DayUnitsSave = c.fixed(d.units.day, 3);
    f.QtrUnitsSave = c.fixed(d.units.part, 2);
    f.PeriodUnitsSave = c.fixed(d.units.period, 1);
    f.UnitsSaveNegative = d.unitsNegative;
    // A symbol before the amount is put on with the money fields'; one after it goes on here.
    const QString& symbolAfter = c.regional.currencySuffix();
    f.DayCostSave = c.fixed(d.cost.day, 5) + symbolAfter;
    f.QtrCostSave = c.fixed(d.cost.part, 2) + symbolAfter;
    f.PeriodCostSave = c.fixed(d.cost.period, 2) + symbolAfter;
    f.CostSaveNegative = d.costNegative;
    if (d.co2Negative)
        f.CO2Save.setForeColour(Colours::orange);
    f.CO2Save.setText(c.fixed(d.co2, 1));
}

RecordItem recordItem(const TextBox& watts, const ItemInputs& in, const TextBox& share,
                      const TextBox& life, const TextBox& count, const TextBox& cost,
                      const ItemFigures& figures, const TextBox& co2, const QString& periodCost)
{
    return {watts.text(),
            in.SWatts.value,
            in.CWatts.value,
            share.text(),
            life.text(),
            count.text(),
            cost.text(),
            {figures.units.day, figures.units.part, figures.units.period, co2.text(),
             figures.cost.day, figures.cost.part, periodCost}};
}

// Whether the money texts of these figures read back: a text written for a figure of at
// least 0 always does; a negative one (only met with the checks off) may not, when the
// symbol was put before a sign or a parenthesis.
bool moneyReads(const Regional& regional,
                std::initializer_list<std::pair<double, const QString&>> money)
{
    return std::ranges::all_of(money, [&](const auto& figure) {
        return figure.first >= 0 || Reading::of(figure.second, regional).numeric();
    });
}

// The record of the calculation just made, from its figures and the fields as they stand;
// periodSaving holds the saving over the period as the record writes it.
ResultRecord resultRecord(const FormContext& c, const ComparisonInputs& in, PeriodHours hours,
                          const ItemFigures& item2, const Differences& saving,
                          const QString& periodSaving)
{
    const MainForm& f = c.form;
    ResultRecord r;
    r.notes = f.Notes.text();
    r.tariffKept = f.TariffKept;
    r.monthly = f.MonthlyT.value() == 1;
    r.pounds = f.Units1.value() == 1;
    r.vat = in.tariff.VAT.value;
    r.inflation = in.tariff.AnInfT.value;
    r.co2Rate = in.tariff.CO2.value;
    r.payPeriodText = f.PayPeriod.text();
    r.payPeriod = in.tariff.PayPeriod.value;
    r.inflationFactor = f.InflationFactor;
    const DayHours& h1 = f.Item1Hours;
    r.item1Tariff = {f.NormalR.text(), f.CheapR.text(), h1.normal,        h1.normalStandby,
                     h1.cheap,         h1.cheapStandby, f.Item1HoursUsed, f.Item1HoursSUsed};
    const DayHours now = DayHours::of(in.hours);
    r.tariff = {f.NormalR.text(), f.CheapR.text(),  now.normal, now.normalStandby,
                now.cheap,        now.cheapStandby, hours.on,   hours.standby};
    const Regional& regional = c.regional;
    const Amounts& cost1 = f.Item1Figures.cost;
    if (!f.Item1Blank) {
        r.item1 = recordItem(f.Item1Watts, in.item1, f.Item1SB, f.Item1Life, f.Item1No, f.Item1Cost,
                             f.Item1Figures, f.Item1CO2, f.Item1PeriodCost);
        r.item1->figures.moneyReads =
            moneyReads(regional, {{cost1.day, f.Item1DayCost}, {cost1.part, f.Item1QtrCost}});
    }
    if (!f.Item2Blank) {
        r.item2 = recordItem(f.Item2Watts, in.item2, f.Item2SB, f.Item2Life, f.Item2No, f.Item2Cost,
                             item2, f.Item2CO2, f.Item2PeriodCost);
        r.item2->figures.moneyReads = moneyReads(
            regional, {{item2.cost.day, f.Item2DayCost}, {item2.cost.part, f.Item2QtrCost}});
    }
    if (r.item1 && r.item2) {
        r.saving = RecordFigures{saving.units.day, saving.units.part, saving.units.period,
                                 f.CO2Save.text(), saving.cost.day,   saving.cost.part,
                                 periodSaving};
        r.saving->moneyReads = moneyReads(regional, {{saving.cost.day, f.DayCostSave},
                                                     {saving.cost.part, f.QtrCostSave},
                                                     {saving.cost.period, f.PeriodCostSave}});
    }
    return r;
}

// Composes the record into RecordText, and the log entry (time stamp, record, empty line)
// into PendingLogText. Writes nothing.
void composeRecord(FormContext& c, const ResultRecord& record)
{
    withErrorTrap(c, "Log Generation Error", [&] {
        MainForm& f = c.form;
        f.RecordText = composeResultRecord(record, c.regional, f.StepNumber);
        f.PendingLogText = ResultsLog::timeStamp(c.regional, c.clock) + CrLf + f.RecordText + CrLf;
    });
}

// Step 43's case: no item, or only one against a kept tariff.
bool nothingToCalculate(const MainForm& f)
{
    return (f.Item1Blank && f.Item2Blank) || (f.TariffKept && (f.Item1Blank || f.Item2Blank));
}

void showStatus(FormContext& c, const char* message)
{
    c.form.MsgText = QString::fromLatin1(message);
    c.services.showStatusMessage(c.form.MsgText);
}

// Reads, checks and normalises the inputs, and works out the hours over the period; false
// when the checks refused the inputs (their messages are in MsgText).
bool checkInputs(FormContext& c, ComparisonInputs& in, PeriodHours& hours)
{
    MainForm& f = c.form;
    f.StepNumber = Step::CalculationChecks;
    f.UpdatingFields = true;
    f.MsgText.clear();
    renewCurrencySymbol(c, SymbolOnMoney::TakenOff);
    in = readComparison(f, c.regional);
    checkTariff(c, in.tariff);
    checkRanges(c, in);
    normaliseInputFields(c, in);
    for (TextBox* saving : {&f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save})
        saving->setForeColour(Colours::black);
    f.CostSaveNegative = false;
    f.UnitsSaveNegative = false;

    f.StepNumber = Step::CalculationPeriodHours;
    if (f.MsgText.isEmpty()) {
        hours = periodHours(in.tariff, DayHours::of(in.hours));
        f.HoursUsed.setText(c.gen(hours.on));
        f.HoursSUsed.setText(c.gen(hours.standby));
        checkCombinations(c, in);
    }
    return f.MsgText.isEmpty();
}

// The checks refused the inputs: no results, nothing to save, and the messages in a box.
void refuseCalculation(FormContext& c)
{
    emptyZeroInputs(c);
    c.form.Save.setEnabled(false);
    renewCurrencySymbol(c, SymbolOnMoney::PutOn);
    clearResults(c);
    showDataErrors(c);
}

// What one calculation works out besides what the form keeps.
struct Calculation {
    PeriodHours hours;
    ItemFigures item2;
    Differences saving;
};

// Item 1 as its hours now stand, unless a kept tariff keeps its figures.
void workOutItem1(FormContext& c, const ComparisonInputs& in, const ItemCalculation& item1)
{
    MainForm& f = c.form;
    // A kept Item 1 whose figures were emptied since (a refused calculation, a switch to
    // months) is worked out again rather than compared as nothing.
    const bool item1Standing =
        f.TariffKept && !f.Item1DayCost.isEmpty() && !f.Item1CO2.text().isEmpty();
    if (f.Item1Blank || item1Standing)
        return;
    f.Item1Hours = item1.hours;
    const PeriodHours item1Hours = periodHours(in.tariff, f.Item1Hours);
    f.Item1HoursUsed = item1Hours.on;
    f.Item1HoursSUsed = item1Hours.standby;
    workOut(c, item1Fields(f), item1, f.Item1Figures);
    f.Item1Timeline =
        timelineItem(in.item1, f.Item1Figures, f.Item1Hours.normal + f.Item1Hours.cheap);
}

// The differences between both items, and what the chart will show of them.
void compareItems(FormContext& c, const ComparisonInputs& in, Calculation& done)
{
    MainForm& f = c.form;
    done.saving = differences(f.Item1Figures, done.item2);
    showDifferences(c, done.saving);
    const TimelineItem item2Timeline =
        timelineItem(in.item2, done.item2, in.hours.NormalHr.value + in.hours.CheapHr.value);
    f.CostChart =
        CostOverTime{f.Item1Timeline,           item2Timeline,
                     in.tariff.PayPeriod.value, in.tariff.AnInfT.value / 100,
                     in.tariff.CO2.value,       f.Units1.value() == 1 ? u"lb"_s : u"Kg"_s};
}

// Inflation, both items and their differences, each stage marked for the error report.
void workOutItems(FormContext& c, const ComparisonInputs& in, Calculation& done)
{
    MainForm& f = c.form;
    f.StepNumber = Step::CalculationInflation;
    const Inflation inflated = inflation(in.tariff);
    f.InflationFactor = inflated.factor;
    f.InflationSum = inflated.sum;
    const bool monthly = f.MonthlyT.value() == 1;
    const DayHours day = DayHours::of(in.hours);

    f.StepNumber = Step::CalculationItem1;
    workOutItem1(c, in, {in.tariff, in.item1, day, done.hours.on, inflated, false, monthly});

    f.StepNumber = Step::CalculationItem2;
    if (!f.Item2Blank)
        workOut(c, item2Fields(f),
                {in.tariff, in.item2, day, done.hours.on, inflated, true, monthly}, done.item2);

    f.StepNumber = Step::CalculationDifferences;
    f.CostChart.reset();
    if (!f.Item1Blank && !f.Item2Blank)
        compareItems(c, in, done);
}

// The results into the fields, as the window shows them.
void showCalculation(FormContext& c)
{
    emptyZeroInputs(c);
    clearBlankItemResults(c);
    renewCurrencySymbol(c, SymbolOnMoney::PutOn);
    showResults(c);
}

// Composes the record and saves it or offers it for saving, unless nothing changed since
// the last calculation or there was nothing to calculate.
void recordCalculation(FormContext& c, const ComparisonInputs& in, const Calculation& done)
{
    MainForm& f = c.form;
    f.StepNumber = Step::CalculationRecord;
    f.PreviousRecordText = f.RecordText + f.CurrencySymbol;
    const QString periodSaving = c.regional.formatCurrency(done.saving.cost.period, 2);
    composeRecord(c, resultRecord(c, in, done.hours, done.item2, done.saving, periodSaving));
    if (f.PreviousRecordText == f.RecordText + f.CurrencySymbol) {
        showStatus(c, messages::DataNotChanged);
        f.Keep.setEnabled(true);
    } else if (nothingToCalculate(f)) {
        f.Item1No.setText(QString());
        f.Item2No.setText(QString());
        showStatus(c, messages::NoDataToCalculate);
        f.PendingLogText.clear();
        f.RecordText.clear();
        f.PreviousRecordText.clear();
    } else {
        if (f.AutoSave.value() == 1)
            c.services.appendPendingLogText();
        else if (f.AutoSave.value() == 0)
            f.Save.setEnabled(true);
        f.Keep.setEnabled(true);
    }
}

void finishCalculation(MainForm& f)
{
    f.UpdatingFields = false;
    f.Item1Blank = false;
    f.Item2Blank = false;
    updateChartButton(f);
    f.requestFocus(f.NormalHr);
}

} // namespace

void updateChartButton(MainForm& f)
{
    f.Chart.setEnabled(f.CostChart && !f.Item1Period.text().isEmpty() &&
                       !f.Item2Period.text().isEmpty());
}

void calculateComparison(FormContext& c)
{
    withErrorTrap(c, "Calculation Error", [&] {
        ComparisonInputs in;
        Calculation done;
        if (checkInputs(c, in, done.hours)) {
            workOutItems(c, in, done);
            showCalculation(c);
            recordCalculation(c, in, done);
        } else {
            refuseCalculation(c);
        }
        finishCalculation(c.form);
    });
}

} // namespace torvane
