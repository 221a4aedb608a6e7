#include "form_actions.h"

#include "calculation.h"
#include "clearing.h"
#include "messages.h"
#include "presentation.h"
#include "steps.h"

using namespace Qt::StringLiterals;

namespace torvane {

void toggleKeptTariff(FormContext& context)
{
    MainForm& f = context.form;
    f.UpdatingFields = true;
    const std::initializer_list<TextBox*> hours = {&f.NormalHr, &f.NormalSHr, &f.CheapHr,
                                                   &f.CheapSHr};
    const std::initializer_list<Control*> tariff = {&f.AnInfT,         &f.CheapR,    &f.CO2,
                                                    &f.NormalR,        &f.PayPeriod, &f.VAT,
                                                    &f.Reset_Defaults, &f.Units1};
    const bool keep = !f.TariffKept;
    f.TariffKept = keep;
    f.Keep.setBackColour(keep ? Colours::lightGreen : Colours::buttonFace);
    for (TextBox* field : hours)
        field->setBackColour(keep ? Colours::lightGreen : Colours::windowBackground);
    for (Control* control : tariff)
        control->setEnabled(!keep);
    renewCurrencySymbol(context, SymbolOnMoney::Renewed);
    f.UpdatingFields = false;
}

void clearComparison(FormContext& context)
{
    withErrorTrap(context, "Clear Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::ClearComparison;
        f.UpdatingFields = true;
        f.Save.setEnabled(false);
        clearInputs(context);
        clearResultFields(context);
        context.services.showStatusMessage(QString::fromLatin1(messages::DataCleared));
        f.requestFocus(f.NormalHr);
        f.UpdatingFields = false;
    });
}

void savePendingResult(FormContext& context)
{
    MainForm& f = context.form;
    if (!f.Save.enabled())
        return;
    context.services.appendPendingLogText();
    f.Save.setEnabled(false);
}

void applyAutoSave(FormContext& context)
{
    MainForm& f = context.form;
    if (f.AutoSave.value() == 1) {
        f.Save.setEnabled(false);
        f.Calc.setToolTip(u"Calculate and save results"_s);
    } else {
        f.Calc.setToolTip(u"Calculate results"_s);
    }
    if (!f.UpdatingFields)
        f.Save_Defaults.setEnabled(true);
}

void switchMonthsAndQuarters(FormContext& context)
{
    MainForm& f = context.form;
    if (f.UpdatingFields)
        return;
    showResults(context);
    clearResultFields(context);
    f.Save_Defaults.setEnabled(true);
}

void markElectricityDataChanged(FormContext& context)
{
    if (!context.form.UpdatingFields)
        context.form.Save_Defaults.setEnabled(true);
}

void connectComparisonHandlers(FormContext& context)
{
    MainForm& f = context.form;
    const auto call = [c = &context](void (*procedure)(FormContext&)) {
        return [c, procedure] {
            procedure(*c);
        };
    };
    for (TextBox* tariff : {&f.AnInfT, &f.CheapR, &f.CO2, &f.NormalR, &f.PayPeriod, &f.VAT})
        tariff->onChange = call(markElectricityDataChanged);
    f.UpEnable1.onClick = call(markElectricityDataChanged);
    f.MonthlyT.onClick = call(switchMonthsAndQuarters);
    f.AutoSave.onClick = call(applyAutoSave);
    f.Units1.onClick = call(switchCo2Units);
    f.Keep.onClick = call(toggleKeptTariff);
    f.Clear.onClick = call(clearComparison);
    f.Save.onClick = call(savePendingResult);
    f.Calc.onClick = call(calculateComparison);
    f.OutputType.onClick = call(switchCostAndElectricity);
    for (TextBox* period : {&f.Item1Period, &f.Item2Period})
        period->onChange = [&f] {
            updateChartButton(f);
        };
    // The powers make the appliance: changed by the user, the item is no longer the one
    // picked. A price or life of the user's own leaves it the same appliance.
    const auto forget = [&f](QString& appliance) {
        return [&f, name = &appliance] {
            if (!f.UpdatingFields)
                name->clear();
        };
    };
    for (TextBox* power : {&f.Item1Watts, &f.Item1SWatts, &f.Item1CWatts})
        power->onChange = forget(f.Item1Appliance);
    for (TextBox* power : {&f.Item2Watts, &f.Item2SWatts, &f.Item2CWatts})
        power->onChange = forget(f.Item2Appliance);
}

void prepareFreshForm(FormContext& context, const std::function<void()>& readDefaults)
{
    MainForm& f = context.form;
    f.UpdatingFields = true;
    f.TariffKept = false;
    renewCurrencySymbol(context, SymbolOnMoney::Renewed);
    if (readDefaults)
        readDefaults();
    finishLoading(context);
}

void finishLoading(FormContext& context)
{
    MainForm& f = context.form;
    f.CostSaveNegative = false;
    f.UnitsSaveNegative = false;
    f.Item1Blank = false;
    f.Item2Blank = false;
    clearInputs(context);
    clearResultFields(context);
    f.setOutput(OutputMode::Cost);
    showResults(context);
    f.UpdatingFields = false;
}

} // namespace torvane
