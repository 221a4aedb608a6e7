#include "form_actions.h"

#include "calculation.h"
#include "cleanup.h"
#include "messages.h"
#include "presentation.h"

using namespace Qt::StringLiterals;

namespace torvane {

void KeepClick(FormContext& context)
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
    CurrencyManagement(context, true, true);
    f.UpdatingFields = false;
}

void ClearClick(FormContext& context)
{
    withErrorTrap(context, "Clear Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = 231;
        f.UpdatingFields = true;
        f.Save.setEnabled(false);
        ClearData(context);
        ClearOutput(context);
        context.services.showStatusMessage(QString::fromLatin1(messages::DataCleared));
        f.requestFocus(f.NormalHr);
        f.UpdatingFields = false;
    });
}

void SaveClick(FormContext& context)
{
    MainForm& f = context.form;
    if (!f.Save.enabled())
        return;
    context.services.appendPendingLogText();
    f.Save.setEnabled(false);
}

void AutoSaveClick(FormContext& context)
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

void MonthlyTClick(FormContext& context)
{
    MainForm& f = context.form;
    if (f.UpdatingFields)
        return;
    OutputDisplay(context);
    ClearOutput(context);
    f.Save_Defaults.setEnabled(true);
}

void ElectricityDataChanged(FormContext& context)
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
        tariff->onChange = call(ElectricityDataChanged);
    f.UpEnable1.onClick = call(ElectricityDataChanged);
    f.MonthlyT.onClick = call(MonthlyTClick);
    f.AutoSave.onClick = call(AutoSaveClick);
    f.Units1.onClick = call(Units1Click);
    f.Keep.onClick = call(KeepClick);
    f.Clear.onClick = call(ClearClick);
    f.Save.onClick = call(SaveClick);
    f.Calc.onClick = call(Calc);
    f.OutputType.onClick = call(OutputTypeClick);
    for (TextBox* period : {&f.Item1Period, &f.Item2Period})
        period->onChange = [&f] {
            ShowChartButton(f);
        };
}

void prepareFreshForm(FormContext& context, const std::function<void()>& readDefaults)
{
    MainForm& f = context.form;
    f.UpdatingFields = true;
    f.TariffKept = false;
    CurrencyManagement(context, true, true);
    if (readDefaults)
        readDefaults();
    finishLoading(context);
}

void finishLoading(FormContext& context)
{
    MainForm& f = context.form;
    f.CostSaveNegative = false;
    f.UnitsSaveNegative = false;
    f.Item1Blank = 0;
    f.Item2Blank = 0;
    ClearData(context);
    ClearOutput(context);
    f.setOutput(OutputMode::Cost);
    OutputDisplay(context);
    f.UpdatingFields = false;
}

} // namespace torvane
