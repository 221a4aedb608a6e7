#include "clearing.h"

#include "form_actions.h"
#include "presentation.h"
#include "steps.h"

namespace torvane {
namespace {

void clearTexts(std::initializer_list<TextBox*> fields)
{
    for (TextBox* field : fields)
        field->setText(QString());
}

void clearStrings(std::initializer_list<QString*> texts)
{
    for (QString* text : texts)
        text->clear();
}

} // namespace

void emptyZeroInputs(FormContext& context)
{
    withErrorTrap(context, "Cleanup Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::EmptyZeroInputs;
        if (!f.MsgText.isEmpty())
            return;
        const auto emptyZero = [&](TextBox& field, TextBox* alsoEmptied = nullptr) {
            if (context.num(field) == 0) {
                field.setText(QString());
                if (alsoEmptied)
                    alsoEmptied->setText(QString());
            }
        };
        for (TextBox* field : {&f.NormalHr, &f.CheapHr, &f.NormalSHr, &f.CheapSHr, &f.CheapR,
                               &f.VAT, &f.AnInfT, &f.Item1Watts, &f.Item2Watts, &f.Item1SWatts,
                               &f.Item2SWatts, &f.Item1CWatts, &f.Item2CWatts}) {
            emptyZero(*field);
        }
        emptyZero(f.Item1Life, &f.Item1No);
        emptyZero(f.Item2Life, &f.Item2No);
        for (TextBox* field : {&f.Item1Cost, &f.Item2Cost, &f.Item1No, &f.Item2No})
            emptyZero(*field);
    });
}

void clearBlankItemResults(FormContext& context)
{
    withErrorTrap(context, "Cleanup 1 Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::ClearBlankItemResults;
        if (f.Item1Blank) {
            clearTexts({&f.Item1No, &f.Item1Day, &f.Item1Qtr, &f.Item1Period, &f.Item1SB,
                        &f.Item1CO2, &f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save});
            clearStrings({&f.Item1DayCost, &f.Item1QtrCost, &f.Item1PeriodCost, &f.Item1DayUnits,
                          &f.Item1QtrUnits, &f.Item1PeriodUnits, &f.DayCostSave, &f.QtrCostSave,
                          &f.PeriodCostSave, &f.DayUnitsSave, &f.QtrUnitsSave, &f.PeriodUnitsSave});
        }
        if (f.Item2Blank) {
            clearTexts({&f.Item2No, &f.Item2Day, &f.Item2Qtr, &f.Item2Period, &f.Item2SB,
                        &f.Item2CO2, &f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save});
            clearStrings({&f.Item2DayCost, &f.Item2QtrCost, &f.Item2PeriodCost, &f.Item2DayUnits,
                          &f.Item2QtrUnits, &f.Item2PeriodUnits, &f.DayCostSave, &f.QtrCostSave,
                          &f.PeriodCostSave, &f.DayUnitsSave, &f.QtrUnitsSave, &f.PeriodUnitsSave});
        }
        // A share of nothing, as the calculation writes it in this locale.
        const QString noShare = context.fixed(0, 1) + QLatin1Char('%');
        for (TextBox* share : {&f.Item1SB, &f.Item2SB}) {
            if (share->text() == noShare)
                share->setText(QString());
        }
        for (TextBox* hours : {&f.HoursUsed, &f.HoursSUsed}) {
            if (hours->text() == QLatin1String("0"))
                hours->setText(QString());
        }
    });
}

void clearResults(FormContext& context)
{
    withErrorTrap(context, "Cleanup 2 Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::ClearResults;
        clearTexts({&f.Item1No, &f.Item1Day, &f.Item1Qtr, &f.Item1Period, &f.Item1SB, &f.Item1CO2,
                    &f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save});
        clearStrings({&f.Item1DayCost, &f.Item1QtrCost, &f.Item1PeriodCost, &f.Item1DayUnits,
                      &f.Item1QtrUnits, &f.Item1PeriodUnits});
        clearTexts({&f.Item2No, &f.Item2Day, &f.Item2Qtr, &f.Item2Period, &f.Item2SB, &f.Item2CO2,
                    &f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save, &f.Item1SB, &f.Item2SB});
        clearStrings({&f.Item2DayCost, &f.Item2QtrCost, &f.Item2PeriodCost, &f.Item2DayUnits,
                      &f.Item2QtrUnits, &f.Item2PeriodUnits});
        clearTexts({&f.HoursUsed, &f.HoursSUsed});
    });
}

void clearInputs(FormContext& context)
{
    withErrorTrap(context, "Clear Data Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::ClearInputs;
        clearTexts({&f.NormalHr,    &f.CheapHr,     &f.NormalSHr,   &f.CheapSHr,    &f.Item1Watts,
                    &f.Item2Watts,  &f.Item1SWatts, &f.Item2SWatts, &f.Item1CWatts, &f.Item2CWatts,
                    &f.Item1Life,   &f.Item2Life,   &f.Item1Cost,   &f.Item2Cost,   &f.Item1Day,
                    &f.Item2Day,    &f.Item1Qtr,    &f.Item2Qtr,    &f.Item1Period, &f.Item1CO2,
                    &f.Item2Period, &f.Item2CO2,    &f.HoursUsed,   &f.HoursSUsed,  &f.Notes});
        clearStrings({&f.PendingLogText, &f.RecordText, &f.PreviousRecordText, &f.Item1Appliance,
                      &f.Item2Appliance});
        renewCurrencySymbol(context, SymbolOnMoney::Renewed);
        if (f.TariffKept)
            toggleKeptTariff(context);
        f.Keep.setEnabled(false);
    });
}

void clearResultFields(FormContext& context)
{
    withErrorTrap(context, "Clear Output Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::ClearResultFields;
        clearTexts({&f.Item1Day, &f.Item2Day, &f.Item1Qtr, &f.Item2Qtr, &f.Item1Period, &f.Item1CO2,
                    &f.Item2Period, &f.Item2CO2, &f.HoursUsed, &f.HoursSUsed, &f.DaySave,
                    &f.QtrSave, &f.PeriodSave, &f.CO2Save, &f.Item1No, &f.Item2No, &f.Item1SB,
                    &f.Item2SB});
        f.CostChart.reset();
        // Item 1's hours go with its figures: the next record starts from nothing.
        f.Item1Hours = DayHours();
        f.Item1HoursUsed = 0;
        f.Item1HoursSUsed = 0;
        for (TextBox* saving : {&f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save})
            saving->setForeColour(Colours::black);
    });
}

} // namespace torvane
