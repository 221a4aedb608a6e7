#include "calculation.h"

#include "cleanup.h"
#include "core/numbers.h"
#include "messages.h"
#include "presentation.h"
#include "resultslog/result_record.h"
#include "validation.h"

#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

constexpr double DaysPerYear = 365;

// A figure as stored between steps: the general format keeps 15 significant digits.
double store(double value)
{
    return checkedFigure(roundToGeneral(checkedFigure(value)));
}

// The fields and kept results of one item.
struct Item {
    TextBox& Watts;
    TextBox& SWatts;
    TextBox& CWatts;
    TextBox& Life;
    TextBox& Cost;
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

// The hours an item is worked out with: Item 1's copies, or the fields for Item 2.
struct Hours {
    double normal;
    double cheap;
    double normalStandby;
    double cheapStandby;
};

Item item1(MainForm& f)
{
    return {f.Item1Watts,      f.Item1SWatts,   f.Item1CWatts,   f.Item1Life,       f.Item1Cost,
            f.Item1No,         f.Item1SB,       f.Item1CO2,      f.Item1DayCost,    f.Item1QtrCost,
            f.Item1PeriodCost, f.Item1DayUnits, f.Item1QtrUnits, f.Item1PeriodUnits};
}

Item item2(MainForm& f)
{
    return {f.Item2Watts,      f.Item2SWatts,   f.Item2CWatts,   f.Item2Life,       f.Item2Cost,
            f.Item2No,         f.Item2SB,       f.Item2CO2,      f.Item2DayCost,    f.Item2QtrCost,
            f.Item2PeriodCost, f.Item2DayUnits, f.Item2QtrUnits, f.Item2PeriodUnits};
}

class ItemCalculation {
public:
    ItemCalculation(FormContext& context, Item fields, Hours itemHours, bool secondItem)
        : c(context)
        , f(context.form)
        , item(fields)
        , hours(itemHours)
        , isItem2(secondItem)
    {}

    void run()
    {
        // Reset first, so that a failure part-way leaves no stale figures for the report.
        for (QString* result : {&item.DayCost, &item.QtrCost, &item.PeriodCost, &item.DayUnits,
                                &item.QtrUnits, &item.PeriodUnits}) {
            *result = u"0"_s;
        }
        numberOfItems();
        const double watts = c.num(item.Watts.text());
        if (!isItem2 || watts > 0) {
            runningCost(watts);
            carbon();
        } else {
            // No electricity at all: no standby share, no CO2.
            item.SB.setText(QString());
            item.CO2.setText(c.fixed(0, 1));
        }
        periodFigures();
    }

private:
    // Items needed over the period: hours on divided by the life, rounded up.
    void numberOfItems()
    {
        if (c.num(item.Life.text()) == 0)
            return;
        const double ratio = divide(c.strict(f.HoursUsed.text()), c.strict(item.Life.text()));
        double count = std::floor(ratio);
        if (count < ratio)
            count += 1;
        item.No.setText(c.gen(store(count)));
    }

    void runningCost(double watts)
    {
        const double normalRate = c.strict(f.NormalR.text());
        const double cheapHr = c.num(f.CheapHr.text());
        const double standbyWatts = c.num(item.SWatts.text());
        const double continuousWatts = c.num(item.CWatts.text());

        dayCost = store(c.num(f.NormalHr.text()) * normalRate * watts / 1000);
        if (cheapHr != 0) {
            const double cheapRate = isItem2 ? c.strict(f.CheapR.text()) : c.num(f.CheapR.text());
            dayCost = store(dayCost + cheapRate * cheapHr * watts / 1000);
        }
        dayUnits = store(c.num(f.NormalHr.text()) * watts / 1000);
        if (cheapHr != 0)
            dayUnits = store(dayUnits + watts * cheapHr / 1000);

        // Standby, charged at the cheap rate only when cheap hours are set.
        dayUnits = store(dayUnits + standbyWatts * hours.normalStandby / 1000);
        if (hours.cheap != 0)
            dayUnits = store(dayUnits + standbyWatts * hours.cheapStandby / 1000);
        double standbyCost = store(hours.normalStandby * normalRate * standbyWatts / 1000);
        if (hours.cheap != 0)
            standbyCost = store(standbyCost +
                                c.num(f.CheapR.text()) * hours.cheapStandby * standbyWatts / 1000);

        // Continuous standby: 18 hours at the normal rate, 6 at the cheap rate if any.
        const double numNormalRate = c.num(f.NormalR.text());
        const double numCheapRate = c.num(f.CheapR.text());
        dayUnits = store(dayUnits + continuousWatts * 24 / 1000);
        standbyCost = store(standbyCost + numNormalRate * 18 * continuousWatts / 1000);
        standbyCost = store(standbyCost + (numCheapRate != 0 ? numCheapRate : numNormalRate) * 6 *
                                              continuousWatts / 1000);

        dayCost = store(dayCost + standbyCost);
        const double share = store(divide(standbyCost, dayCost));
        item.SB.setText(c.fixed(std::floor(share * 1000) / 10, 1) + QLatin1Char('%'));

        dayCost = store(dayCost * (c.strict(f.VAT.text()) + 100) / 100);
        dayCost = store(dayCost * 100 * f.InflationFactor);
        periodCost = store(divide(dayCost * DaysPerYear * f.InflationSum, f.InflationFactor));
    }

    void carbon()
    {
        const double co2 =
            store((c.strict(item.Watts.text()) * (hours.normal + hours.cheap) +
                   (hours.cheapStandby + hours.normalStandby) * c.num(item.SWatts.text()) +
                   c.num(item.CWatts.text()) * 24) *
                  (c.num(f.PayPeriod.text()) * DaysPerYear) * c.num(f.CO2.text()) / 1000);
        item.CO2.setText(c.fixed(co2, 1));
    }

    void periodFigures()
    {
        const double daysPerPart = f.MonthlyT.value() == 1 ? DaysPerYear / 12 : DaysPerYear / 4;
        const double periodUnits = store(c.strict(f.PayPeriod.text()) * (dayUnits * DaysPerYear));
        const double partUnits = store(dayUnits * daysPerPart);

        const double purchases = c.num(item.No.text()) * c.num(item.Cost.text());
        periodCost = store(periodCost + purchases * 100);
        dayCost = store(dayCost + divide(purchases, c.num(f.PayPeriod.text()) * DaysPerYear) * 100);
        const double partCost = store(dayCost * daysPerPart);

        const Regional& r = c.regional;
        item.DayCost = r.formatCurrency(dayCost / 100, 5);
        item.QtrCost = r.formatCurrency(partCost / 100, 2);
        item.PeriodCost = r.formatCurrency(periodCost / 100, 2);
        item.DayUnits = r.formatFixed(dayUnits, 3);
        item.QtrUnits = r.formatFixed(partUnits, 2);
        item.PeriodUnits = r.formatFixed(periodUnits, 1);
    }

    FormContext& c;
    MainForm& f;
    Item item;
    Hours hours;
    bool isItem2;
    double dayCost = 0;
    double dayUnits = 0;
    double periodCost = 0;
};

void inflation(FormContext& c)
{
    MainForm& f = c.form;
    const auto applies = [&] {
        return c.num(f.AnInfT.text()) >= -30 && c.strict(f.PayPeriod.text()) >= 1;
    };
    const double years = std::floor(c.num(f.PayPeriod.text()));
    const double rate = c.num(f.AnInfT.text()) / 100;
    f.InflationFactor = 1.0f;
    if (applies()) {
        for (double y = 1; y <= years; ++y)
            f.InflationFactor = static_cast<float>((rate + 1) * f.InflationFactor);
    }
    f.InflationSum = 1.0f;
    if (applies()) {
        for (double y = 1; y <= years; ++y)
            f.InflationSum = static_cast<float>(std::pow(1 + rate, y) + f.InflationSum);
        f.InflationSum = f.InflationSum - 1.0f;
    }
    // Single precision runs out long before a double does.
    checkedFigure(f.InflationFactor);
    checkedFigure(f.InflationSum);
}

// The day, quarter (or month) and period figures of one kind of result.
struct Figures {
    const QString& day;
    const QString& part;
    const QString& period;
};

// Item 1 minus Item 2 for the three figures. The day difference is kept as its size and
// decides the sign of the other two; returns whether Item 2's day figure is the larger.
bool difference(FormContext& c, Figures one, Figures two, std::array<QString*, 3> out,
                std::array<int, 3> decimals)
{
    const auto minus = [&](const QString& a, const QString& b) {
        return store(c.strict(a) - c.strict(b));
    };
    const double day = minus(one.day, two.day);
    const bool negative = day < 0;
    const double sign = negative ? -1 : 1;
    *out[0] = c.fixed(sign * day, decimals[0]);
    *out[1] = c.fixed(sign * minus(one.part, two.part), decimals[1]);
    *out[2] = c.fixed(sign * minus(one.period, two.period), decimals[2]);
    return negative;
}

void differences(FormContext& c)
{
    MainForm& f = c.form;
    f.UnitsSaveNegative =
        difference(c, {f.Item1DayUnits, f.Item1QtrUnits, f.Item1PeriodUnits},
                   {f.Item2DayUnits, f.Item2QtrUnits, f.Item2PeriodUnits},
                   {&f.DayUnitsSave, &f.QtrUnitsSave, &f.PeriodUnitsSave}, {3, 2, 1});
    f.CostSaveNegative = difference(c, {f.Item1DayCost, f.Item1QtrCost, f.Item1PeriodCost},
                                    {f.Item2DayCost, f.Item2QtrCost, f.Item2PeriodCost},
                                    {&f.DayCostSave, &f.QtrCostSave, &f.PeriodCostSave}, {5, 2, 2});

    double co2 = store(c.strict(f.Item1CO2.text()) - c.strict(f.Item2CO2.text()));
    if (co2 < 0) {
        f.CO2Save.setForeColour(Colours::orange);
        co2 = -co2;
    }
    f.CO2Save.setText(c.fixed(co2, 1));
}

} // namespace

void Calc(FormContext& c)
{
    MainForm& f = c.form;
    const auto finish = [&] {
        f.UpdatingFields = false;
        f.Item1Blank = 0;
        f.Item2Blank = 0;
        f.setFocus(f.NormalHr);
    };
    withErrorTrap(c, "Calculation Error", [&] {
        f.StepNumber = 101;
        f.UpdatingFields = true;
        f.MsgText.clear();
        CurrencyManagement(c, false, true);
        Check(c);
        Check1(c);
        Check0(c);
        for (TextBox* saving : {&f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save})
            saving->setForeColour(Colours::black);
        f.CostSaveNegative = false;
        f.UnitsSaveNegative = false;

        f.StepNumber = 102;
        if (f.MsgText.isEmpty()) {
            const double days = c.strict(f.PayPeriod.text()) * DaysPerYear;
            f.HoursUsed.setText(
                c.gen(store(days * (c.num(f.CheapHr.text()) + c.num(f.NormalHr.text())))));
            f.HoursSUsed.setText(
                c.gen(store(days * (c.num(f.CheapSHr.text()) + c.num(f.NormalSHr.text())))));
            Check2(c);
        }
        if (!f.MsgText.isEmpty()) {
            Cleanup(c);
            f.Save.setEnabled(false);
            CurrencyManagement(c, true, false);
            Cleanup2(c);
            c.desktop.messageBox(f.MsgText, QString::fromLatin1(messages::DataErrorTitle),
                                 MessageIcon::Exclamation, MessageButtons::Ok);
            finish();
            return;
        }

        f.StepNumber = 103;
        inflation(c);

        f.StepNumber = 104;
        // A kept Item 1 whose figures were emptied since (a refused calculation, a switch
        // to months) is worked out again rather than compared as nothing.
        const bool item1Standing =
            f.TariffKept && !f.Item1DayCost.isEmpty() && !f.Item1CO2.text().isEmpty();
        if (f.Item1Blank == 0 && !item1Standing) {
            f.Item1CheapHr = f.CheapHr.text();
            f.Item1CheapSHr = f.CheapSHr.text();
            f.Item1NormalHr = f.NormalHr.text();
            f.Item1NormalSHr = f.NormalSHr.text();
            const Hours hours{c.num(f.Item1NormalHr), c.num(f.Item1CheapHr),
                              c.num(f.Item1NormalSHr), c.num(f.Item1CheapSHr)};
            const double days = c.strict(f.PayPeriod.text()) * DaysPerYear;
            f.Item1HoursUsed = c.gen(store(days * (hours.cheap + hours.normal)));
            f.Item1HoursSUsed = c.gen(store(days * (hours.cheapStandby + hours.normalStandby)));
            ItemCalculation(c, item1(f), hours, false).run();
        }

        f.StepNumber = 105;
        if (f.Item2Blank == 0) {
            const Hours hours{c.num(f.NormalHr.text()), c.num(f.CheapHr.text()),
                              c.num(f.NormalSHr.text()), c.num(f.CheapSHr.text())};
            ItemCalculation(c, item2(f), hours, true).run();
        }

        f.StepNumber = 106;
        if (f.Item1Blank + f.Item2Blank == 0)
            differences(c);

        Cleanup(c);
        Cleanup1(c);
        CurrencyManagement(c, true, false);
        OutputDisplay(c);

        f.StepNumber = 107;
        f.PreviousRecordText = f.RecordText + f.CurrencySymbol;
        ComposeResultRecord(c);
        if (f.PreviousRecordText == f.RecordText + f.CurrencySymbol) {
            f.MsgText = QString::fromLatin1(messages::DataNotChanged);
            c.services.ShowStatusMessage(f.MsgText);
            f.Keep.setEnabled(true);
        } else if ((f.Item1Blank != 0 && f.Item2Blank != 0) ||
                   (f.TariffKept && (f.Item1Blank != 0 || f.Item2Blank != 0))) {
            f.Item1No.setText(QString());
            f.Item2No.setText(QString());
            f.MsgText = QString::fromLatin1(messages::NoDataToCalculate);
            c.services.ShowStatusMessage(f.MsgText);
            f.PendingLogText.clear();
            f.RecordText.clear();
            f.PreviousRecordText.clear();
        } else {
            if (f.AutoSave.value() == 1)
                c.services.AppendPendingLogText();
            else if (f.AutoSave.value() == 0)
                f.Save.setEnabled(true);
            f.Keep.setEnabled(true);
        }
        finish();
    });
}

} // namespace torvane
