#include "input_checks.h"

#include "engine/rules.h"
#include "messages.h"
#include "steps.h"

namespace torvane {
namespace {

// Writes a field as its input now reads, in its fixed format; a field read as empty stays
// empty (a tariff field never is by now: the tariff's empty inputs were made 0).
void show(FormContext& context, TextBox& field, const Reading& reading, int decimals)
{
    if (!reading.empty)
        field.setText(context.fixed(reading.value, decimals));
}

} // namespace

TariffInputs readTariff(const MainForm& f, const Regional& regional)
{
    const auto read = [&](const TextBox& field) {
        return Reading::of(field.text(), regional);
    };
    return {read(f.NormalR), read(f.CheapR), read(f.PayPeriod),
            read(f.VAT),     read(f.CO2),    read(f.AnInfT)};
}

ComparisonInputs readComparison(const MainForm& f, const Regional& regional)
{
    const auto read = [&](const TextBox& field) {
        return Reading::of(field.text(), regional);
    };
    return {readTariff(f, regional),
            {read(f.NormalHr), read(f.CheapHr), read(f.NormalSHr), read(f.CheapSHr)},
            {read(f.Item1Watts), read(f.Item1SWatts), read(f.Item1CWatts), read(f.Item1Life),
             read(f.Item1Cost), read(f.Item1No)},
            {read(f.Item2Watts), read(f.Item2SWatts), read(f.Item2CWatts), read(f.Item2Life),
             read(f.Item2Cost), read(f.Item2No)}};
}

void checkTariff(FormContext& context, TariffInputs& t)
{
    withErrorTrap(context, "Check Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::TariffRules;
        tariffRules(t, f.MsgText);
        f.StepNumber = Step::TariffRewrite;
        if (f.MsgText.isEmpty()) {
            normaliseTariff(t);
            show(context, f.CheapR, t.CheapR, Decimals::Rate);
            show(context, f.NormalR, t.NormalR, Decimals::Rate);
            show(context, f.PayPeriod, t.PayPeriod, Decimals::PayPeriod);
            show(context, f.VAT, t.VAT, Decimals::Vat);
            show(context, f.CO2, t.CO2, Decimals::Co2);
            show(context, f.AnInfT, t.AnInfT, Decimals::Inflation);
        }
        if (context.testMode.dropsTariffMessages())
            f.MsgText.clear();
    });
}

void checkRanges(FormContext& context, const ComparisonInputs& in)
{
    withErrorTrap(context, "Check 1 Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::BlankItems;
        if (isBlank(in.item1))
            f.Item1Blank = true;
        if (isBlank(in.item2))
            f.Item2Blank = true;
        f.StepNumber = Step::HourRanges;
        hourRules(in.hours, f.MsgText);
        f.StepNumber = Step::Item1Ranges;
        if (!f.Item1Blank)
            itemRules(1, in.item1, f.MsgText);
        f.StepNumber = Step::Item2Ranges;
        if (!f.Item2Blank)
            itemRules(2, in.item2, f.MsgText);
        if (context.testMode.dropsCheckMessages())
            f.MsgText.clear();
    });
}

void normaliseInputFields(FormContext& context, ComparisonInputs& in)
{
    withErrorTrap(context, "Check 0 Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::NormaliseHours;
        if (!f.MsgText.isEmpty())
            return;
        normaliseHoursAndItems(in);
        for (auto [field, reading] :
             {std::pair{&f.Item1No, &in.item1.No}, {&f.Item2No, &in.item2.No}}) {
            if (!reading->empty)
                field->setText(context.gen(reading->value));
        }
        const HourInputs& h = in.hours;
        show(context, f.NormalHr, h.NormalHr, Decimals::Hours);
        show(context, f.CheapHr, h.CheapHr, Decimals::Hours);
        show(context, f.NormalSHr, h.NormalSHr, Decimals::Hours);
        show(context, f.CheapSHr, h.CheapSHr, Decimals::Hours);
        f.StepNumber = Step::NormaliseItems;
        show(context, f.Item1Life, in.item1.Life, Decimals::Life);
        show(context, f.Item2Life, in.item2.Life, Decimals::Life);
        show(context, f.Item1Watts, in.item1.Watts, Decimals::Watts);
        show(context, f.Item2Watts, in.item2.Watts, Decimals::Watts);
        show(context, f.Item1SWatts, in.item1.SWatts, Decimals::Watts);
        show(context, f.Item2SWatts, in.item2.SWatts, Decimals::Watts);
        show(context, f.Item1CWatts, in.item1.CWatts, Decimals::Watts);
        show(context, f.Item2CWatts, in.item2.CWatts, Decimals::Watts);
        show(context, f.Item1Cost, in.item1.Cost, Decimals::Cost);
        show(context, f.Item2Cost, in.item2.Cost, Decimals::Cost);
    });
}

void checkCombinations(FormContext& context, const ComparisonInputs& in)
{
    withErrorTrap(context, "Check 2 Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::CombinationsStart;
        if (context.testMode.skipsCombinationChecks())
            return;
        f.StepNumber = Step::CombinationRules;
        combinationRules(in, f.Item1Blank, f.Item2Blank, f.MsgText);
        if (context.testMode.dropsCheckMessages())
            f.MsgText.clear();
    });
}

void showDataErrors(FormContext& context)
{
    context.desktop.messageBox(context.form.MsgText, QString::fromLatin1(messages::DataErrorTitle),
                               MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace torvane
