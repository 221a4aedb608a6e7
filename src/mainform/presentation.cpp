#include "presentation.h"
#include "steps.h"

using namespace Qt::StringLiterals;

namespace torvane {

void renewCurrencySymbol(FormContext& context, SymbolOnMoney money)
{
    const bool strip = money == SymbolOnMoney::TakenOff || money == SymbolOnMoney::Renewed;
    const bool add = money == SymbolOnMoney::PutOn || money == SymbolOnMoney::Renewed;
    withErrorTrap(context, "Currency Management Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = Step::CurrencyStrip;
        const std::initializer_list<QString*> results = {
            &f.Item1DayCost, &f.Item1QtrCost, &f.Item1PeriodCost,
            &f.Item2DayCost, &f.Item2QtrCost, &f.Item2PeriodCost,
            &f.DayCostSave,  &f.QtrCostSave,  &f.PeriodCostSave};
        const std::initializer_list<TextBox*> fields = {&f.CheapR, &f.NormalR, &f.Item1Cost,
                                                        &f.Item2Cost};
        if (strip && !f.CurrencySymbol.isEmpty()) {
            const QString& old = f.CurrencySymbol;
            for (TextBox* field : fields) {
                if (field->text().startsWith(old))
                    field->setText(field->text().mid(old.size()));
            }
            for (QString* result : results) {
                if (result->startsWith(old))
                    result->remove(0, old.size());
            }
        }
        f.StepNumber = Step::CurrencyRenew;
        f.CurrencySymbol = context.regional.currencyPrefix();
        const QString& symbol = f.CurrencySymbol;
        if (add && !symbol.isEmpty()) {
            for (TextBox* rate : {&f.CheapR, &f.NormalR}) {
                if (!rate->text().isEmpty())
                    rate->setText(symbol + rate->text());
            }
            for (TextBox* cost : {&f.Item1Cost, &f.Item2Cost}) {
                if (!cost->text().isEmpty() && !cost->text().startsWith(symbol))
                    cost->setText(symbol + cost->text());
            }
            for (QString* result : results) {
                if (!result->isEmpty() && !result->startsWith(symbol))
                    result->prepend(symbol);
            }
        }
        f.StepNumber = Step::CurrencyTax;
        const bool vat = symbol == u"£"_s || symbol == u"€"_s;
        f.VATH.setCaption(vat ? u"VAT:"_s : u"Tax:"_s);
        f.VAT.setToolTip(vat ? u"VAT Rate (0 or between 1 and 50%)"_s
                             : u"Tax Rate (0 or between 1 and 50%)"_s);
    });
}

namespace {

// The texts of the result fields' tooltips and the column captions, for one period and
// one output mode.
struct ResultLabels {
    QString tips[9];
    QString dayCaption;
    QString partCaption;
    QString periodCaption;
};

ResultLabels resultLabels(bool monthly, bool cost)
{
    const QString longWord = monthly ? u"month"_s : u"quarter"_s;
    const QString shortWord = monthly ? u"Mth"_s : u"Qtr"_s;
    if (cost)
        return {{u"Total cost of item 1 per day"_s, u"Total cost of item 2 per day"_s,
                 u"Total cost of item 1 per "_s + longWord,
                 u"Total cost of item 2 per "_s + longWord,
                 u"Total cost of item 1 over payback period"_s,
                 u"Total Cost of item 2 over payback period"_s,
                 u"Difference between item 1 and item 2 cost per day"_s,
                 u"Difference between item 1 and item 2 cost per "_s + longWord,
                 u"Difference between item 1 and item 2 cost over payback period"_s},
                u"Cost / Day"_s,
                u" Cost / "_s + shortWord,
                u"Cost / Period"_s};
    return {{u"Electricity used by item 1 in KWHr per day"_s,
             u"Electricity used by item 2 in KWHr per day"_s,
             u"Electricity used by item 1 in KWHr per "_s + longWord,
             u"Electricity used by item 2 in KWHr per "_s + longWord,
             u"Electricity used by item 1 in KWHr over payback period"_s,
             u"Electricity used by item 2 in KWHr over payback period"_s,
             u"Difference between item 1 and item 2 electricity use in KWHr per day"_s,
             u"Difference between item 1 and item 2 electricity use in KWHr per "_s + longWord,
             u"Difference between item 1 and item 2 electricity use in KWHr over payback "
             "period"_s},
            u" KWHr / Day"_s,
            u" KWHr /  "_s + shortWord,
            u" KWHr / Period"_s};
}

} // namespace

void showResults(FormContext& context)
{
    MainForm& f = context.form;
    const bool monthly = f.MonthlyT.value() == 1;
    const bool cost = f.Output == OutputMode::Cost;
    // Written once for each period and mode, then only shared.
    static const ResultLabels labels[2][2] = {
        {resultLabels(false, false), resultLabels(false, true)},
        {resultLabels(true, false), resultLabels(true, true)}};
    const ResultLabels& shown = labels[monthly][cost];

    struct Row {
        TextBox& field;
        const QString& costText;
        const QString& unitsText;
    };
    const Row rows[] = {
        {f.Item1Day, f.Item1DayCost, f.Item1DayUnits},
        {f.Item2Day, f.Item2DayCost, f.Item2DayUnits},
        {f.Item1Qtr, f.Item1QtrCost, f.Item1QtrUnits},
        {f.Item2Qtr, f.Item2QtrCost, f.Item2QtrUnits},
        {f.Item1Period, f.Item1PeriodCost, f.Item1PeriodUnits},
        {f.Item2Period, f.Item2PeriodCost, f.Item2PeriodUnits},
        {f.DaySave, f.DayCostSave, f.DayUnitsSave},
        {f.QtrSave, f.QtrCostSave, f.QtrUnitsSave},
        {f.PeriodSave, f.PeriodCostSave, f.PeriodUnitsSave},
    };
    for (const Row& row : rows)
        row.field.setText(cost ? row.costText : row.unitsText);
    for (std::size_t i = 0; i < std::size(rows); ++i)
        rows[i].field.setToolTip(shown.tips[i]);

    f.ItemDayL.setCaption(shown.dayCaption);
    f.ItemQtrL.setCaption(shown.partCaption);
    f.ItemPeriodL.setCaption(shown.periodCaption);

    if (cost ? f.CostSaveNegative : f.UnitsSaveNegative) {
        for (TextBox* saving : {&f.DaySave, &f.QtrSave, &f.PeriodSave})
            saving->setForeColour(Colours::orange);
    }
}

void switchCostAndElectricity(FormContext& context)
{
    MainForm& f = context.form;
    f.setOutput(f.Output == OutputMode::Cost ? OutputMode::Electricity : OutputMode::Cost);
    showResults(context);
    f.requestFocus(f.NormalHr);
}

void switchCo2Units(FormContext& context)
{
    MainForm& f = context.form;
    const bool kilograms = f.Units1.value() == 0;
    const QString unit = kilograms ? u"Kg"_s : u"lb"_s;
    f.CO2L.setCaption(unit + u"/KWHr"_s);
    if (f.CostChart)
        f.CostChart->co2Unit = unit;
    f.CO2.setToolTip(u"CO2 Conversion Rate ( between 0.1 and 1) "_s + unit + u"/KWHr"_s);
    f.ItemCO2L.setCaption(u"CO2 "_s + unit + u" /Period"_s);
    f.Item1CO2.setToolTip(u"Amount of CO2 generated by Item 1 in "_s + unit);
    f.Item2CO2.setToolTip(u"Amount of CO2 generated by Item 2 in "_s + unit);
    f.PreviousRecordText.clear();
    if (!f.UpdatingFields)
        f.Save_Defaults.setEnabled(true);
}

} // namespace torvane
