#include "validation.h"

#include "core/numbers.h"
#include "messages.h"

namespace torvane {
namespace {

// One range rule. An optional field may be empty; a field that allows zero passes at
// exactly 0 whatever its bounds; a required field fails when its text is not a number.
struct RangeRule {
    const TextBox& field;
    bool required;
    bool zeroAllowed;
    double low;
    double high;
    QString message;
};

void apply(FormContext& context, const RangeRule& rule)
{
    const QString& text = rule.field.text();
    const bool numeric = IsNumericText(text, context.regional);
    const double value = context.num(text);
    const bool malformed = rule.required ? !numeric : (!text.isEmpty() && !numeric);
    const bool outside = value < rule.low || value > rule.high;
    if (malformed || (rule.zeroAllowed ? value != 0 && outside : outside))
        addCheckMessage(context.form, rule.message);
}

QString itemMessage(const char* text, int item)
{
    return QString::fromLatin1(text).arg(item);
}

void checkItem(FormContext& context, int item, const TextBox& life, const TextBox& watts,
               const TextBox& standby, const TextBox& continuous, const TextBox& cost)
{
    using namespace messages;
    const QString wattage = QString::fromLatin1(item == 1 ? Item1Wattage : Item2Wattage);
    for (const RangeRule& rule : {
             RangeRule{life, false, true, 500, 50000, itemMessage(ItemLife, item)},
             RangeRule{watts, false, false, 0.1, 7000, wattage},
             RangeRule{standby, false, false, 0, 99, itemMessage(ItemStandbyWattage, item)},
             RangeRule{continuous, false, false, 0, 99, itemMessage(ItemContinuousWattage, item)},
             RangeRule{cost, false, true, 0.1, 5000, itemMessage(ItemCost, item)},
         }) {
        apply(context, rule);
    }
}

// Life + 1 + Watts + SWatts + CWatts + Cost, added in this order, equal to 1.
qint16 blankFlag(const FormContext& context, const TextBox& life, const TextBox& watts,
                 const TextBox& standby, const TextBox& continuous, const TextBox& cost)
{
    double sum = context.num(life.text());
    for (double term : {1.0, context.num(watts.text()), context.num(standby.text()),
                        context.num(continuous.text()), context.num(cost.text())}) {
        sum += term;
    }
    return sum == 1.0 ? 1 : 0;
}

void rewrite(FormContext& context, TextBox& field, int decimals)
{
    if (!field.text().isEmpty())
        field.setText(context.fixed(context.num(field.text()), decimals));
}

} // namespace

void addCheckMessage(MainForm& form, const QString& message)
{
    form.MsgText += message;
    form.MsgText += QLatin1Char('\n');
}

void Check(FormContext& context)
{
    withErrorTrap(context, "Check Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = 111;
        using namespace messages;
        const auto text = [](const char* message) {
            return QString::fromLatin1(message);
        };
        for (const RangeRule& rule : {
                 RangeRule{f.CheapR, false, true, 0.01, 0.99, text(CheapRate)},
                 RangeRule{f.NormalR, true, false, 0.01, 0.99, text(NormalRate)},
                 RangeRule{f.PayPeriod, true, false, 1, 10, text(PaybackPeriod)},
                 RangeRule{f.VAT, false, true, 1, 50, text(VatRate)},
                 RangeRule{f.CO2, true, false, 0.1, 2, text(Co2Rate)},
                 RangeRule{f.AnInfT, false, false, -30, 199, text(InflationRate)},
             }) {
            apply(context, rule);
        }
        f.StepNumber = 112;
        if (f.MsgText.isEmpty()) {
            for (auto [field, decimals] : {std::pair{&f.CheapR, 6},
                                           {&f.NormalR, 6},
                                           {&f.PayPeriod, 1},
                                           {&f.VAT, 1},
                                           {&f.CO2, 2},
                                           {&f.AnInfT, 1}}) {
                field->setText(context.fixed(context.num(field->text()), decimals));
            }
        }
        if (context.TestMode % 10 == 1)
            f.MsgText.clear();
    });
}

void Check1(FormContext& context)
{
    withErrorTrap(context, "Check 1 Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = 131;
        if (blankFlag(context, f.Item1Life, f.Item1Watts, f.Item1SWatts, f.Item1CWatts,
                      f.Item1Cost))
            f.Item1Blank = 1;
        if (blankFlag(context, f.Item2Life, f.Item2Watts, f.Item2SWatts, f.Item2CWatts,
                      f.Item2Cost))
            f.Item2Blank = 1;

        f.StepNumber = 132;
        using namespace messages;
        const auto text = [](const char* message) {
            return QString::fromLatin1(message);
        };
        for (const RangeRule& rule : {
                 RangeRule{f.NormalHr, false, false, 0, 24, text(NormalHours)},
                 RangeRule{f.CheapHr, false, false, 0, 8, text(CheapHours)},
                 RangeRule{f.NormalSHr, false, false, 0, 23.9, text(NormalStandbyHours)},
                 RangeRule{f.CheapSHr, false, false, 0, 8, text(CheapStandbyHours)},
             }) {
            apply(context, rule);
        }
        f.StepNumber = 133;
        if (f.Item1Blank == 0)
            checkItem(context, 1, f.Item1Life, f.Item1Watts, f.Item1SWatts, f.Item1CWatts,
                      f.Item1Cost);
        f.StepNumber = 134;
        if (f.Item2Blank == 0)
            checkItem(context, 2, f.Item2Life, f.Item2Watts, f.Item2SWatts, f.Item2CWatts,
                      f.Item2Cost);
        if (context.TestMode == 1)
            f.MsgText.clear();
    });
}

void Check0(FormContext& context)
{
    withErrorTrap(context, "Check 0 Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = 121;
        if (!f.MsgText.isEmpty())
            return;
        for (TextBox* count : {&f.Item1No, &f.Item2No}) {
            if (!count->text().isEmpty())
                count->setText(context.gen(context.num(count->text())));
        }
        for (TextBox* hours : {&f.NormalHr, &f.CheapHr, &f.NormalSHr, &f.CheapSHr})
            rewrite(context, *hours, 1);
        f.StepNumber = 122;
        for (TextBox* life : {&f.Item1Life, &f.Item2Life})
            rewrite(context, *life, 0);
        for (TextBox* watts : {&f.Item1Watts, &f.Item2Watts, &f.Item1SWatts, &f.Item2SWatts,
                               &f.Item1CWatts, &f.Item2CWatts})
            rewrite(context, *watts, 1);
        for (TextBox* cost : {&f.Item1Cost, &f.Item2Cost})
            rewrite(context, *cost, 2);
    });
}

void Check2(FormContext& context)
{
    withErrorTrap(context, "Check 2 Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = 141;
        if (context.TestMode == 2)
            return;
        const auto value = [&](const TextBox& field) {
            return context.num(field.text());
        };
        const double normalHr = value(f.NormalHr);
        const double cheapHr = value(f.CheapHr);
        const double normalSHr = value(f.NormalSHr);
        const double cheapSHr = value(f.CheapSHr);
        const double cheapRate = value(f.CheapR);
        const auto rule = [&](bool fails, const char* message) {
            if (fails)
                addCheckMessage(f, QString::fromLatin1(message));
        };
        // Exactly one of life and cost set.
        const auto lifeWithoutCost = [&](const TextBox& life, const TextBox& cost) {
            return (value(life) == 0) != (value(cost) == 0);
        };
        using namespace messages;
        rule(normalHr + cheapHr > 24, DayHours);
        rule(cheapHr + cheapSHr > 8, CheapDayHours);
        rule(normalHr + cheapHr + normalSHr + cheapSHr > 24 && normalSHr + cheapSHr != 0,
             AllDayHours);
        f.StepNumber = 142;
        rule(normalHr == 0 && cheapHr == 0, NoHours);
        rule(cheapRate == 0 && cheapHr != 0, CheapHoursWithoutRate);
        rule(cheapRate == 0 && cheapSHr > 0, CheapStandbyWithoutRate);
        if (f.Item1Blank == 0 && lifeWithoutCost(f.Item1Life, f.Item1Cost))
            addCheckMessage(f, itemMessage(LifeAndCost, 1));
        if (f.Item2Blank == 0) {
            if (lifeWithoutCost(f.Item2Life, f.Item2Cost))
                addCheckMessage(f, itemMessage(LifeAndCost, 2));
            rule(value(f.Item2Watts) == 0 && value(f.Item2SWatts) > 0, Item2StandbyWithoutWattage);
        }
        if (context.TestMode == 1)
            f.MsgText.clear();
    });
}

} // namespace torvane
