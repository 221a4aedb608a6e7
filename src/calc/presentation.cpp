#include "presentation.h"

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

const QString& costCaption()
{
    static const QString caption = u"K&WHr"_s;
    return caption;
}

} // namespace

void CurrencyManagement(FormContext& context, bool add, bool strip)
{
    withErrorTrap(context, "Currency Management Error", [&] {
        MainForm& f = context.form;
        f.StepNumber = 211;
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
        f.StepNumber = 212;
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
        f.StepNumber = 214;
        const bool vat = symbol == u"£"_s || symbol == u"€"_s;
        f.VATH.setCaption(vat ? u"VAT:"_s : u"Tax:"_s);
        f.VAT.setToolTip(vat ? u"VAT Rate (0 or between 1 and 50%)"_s
                             : u"Tax Rate (0 or between 1 and 50%)"_s);
    });
}

void OutputDisplay(FormContext& context)
{
    MainForm& f = context.form;
    const bool monthly = f.MonthlyT.value() == 1;
    const QString longWord = monthly ? u"month"_s : u"quarter"_s;
    const QString shortWord = monthly ? u"Mth"_s : u"Qtr"_s;
    const bool cost = f.OutputType.text() == costCaption();

    struct Row {
        TextBox& field;
        const QString& costText;
        const QString& unitsText;
        QString costTip;
        QString unitsTip;
    };
    const Row rows[] = {
        {f.Item1Day, f.Item1DayCost, f.Item1DayUnits, u"Total cost of item 1 per day"_s,
         u"Electricity used by item 1 in KWHr per day"_s},
        {f.Item2Day, f.Item2DayCost, f.Item2DayUnits, u"Total cost of item 2 per day"_s,
         u"Electricity used by item 2 in KWHr per day"_s},
        {f.Item1Qtr, f.Item1QtrCost, f.Item1QtrUnits, u"Total cost of item 1 per "_s + longWord,
         u"Electricity used by item 1 in KWHr per "_s + longWord},
        {f.Item2Qtr, f.Item2QtrCost, f.Item2QtrUnits, u"Total cost of item 2 per "_s + longWord,
         u"Electricity used by item 2 in KWHr per "_s + longWord},
        {f.Item1Period, f.Item1PeriodCost, f.Item1PeriodUnits,
         u"Total cost of item 1 over payback period"_s,
         u"Electricity used by item 1 in KWHr over payback period"_s},
        {f.Item2Period, f.Item2PeriodCost, f.Item2PeriodUnits,
         u"Total Cost of item 2 over payback period"_s,
         u"Electricity used by item 2 in KWHr over payback period"_s},
        {f.DaySave, f.DayCostSave, f.DayUnitsSave,
         u"Difference between item 1 and item 2 cost per day"_s,
         u"Difference between item 1 and item 2 electricity use in KWHr per day"_s},
        {f.QtrSave, f.QtrCostSave, f.QtrUnitsSave,
         u"Difference between item 1 and item 2 cost per "_s + longWord,
         u"Difference between item 1 and item 2 electricity use in KWHr per "_s + longWord},
        {f.PeriodSave, f.PeriodCostSave, f.PeriodUnitsSave,
         u"Difference between item 1 and item 2 cost over payback period"_s,
         u"Difference between item 1 and item 2 electricity use in KWHr over payback period"_s},
    };
    for (const Row& row : rows)
        row.field.setText(cost ? row.costText : row.unitsText);
    for (const Row& row : rows)
        row.field.setToolTip(cost ? row.costTip : row.unitsTip);

    f.ItemDayL.setCaption(cost ? u"Cost / Day"_s : u" KWHr / Day"_s);
    f.ItemQtrL.setCaption((cost ? u" Cost / "_s : u" KWHr /  "_s) + shortWord);
    f.ItemPeriodL.setCaption(cost ? u"Cost / Period"_s : u" KWHr / Period"_s);

    if (cost ? f.CostSaveNegative : f.UnitsSaveNegative) {
        for (TextBox* saving : {&f.DaySave, &f.QtrSave, &f.PeriodSave})
            saving->setForeColour(Colours::orange);
    }
}

void OutputTypeClick(FormContext& context)
{
    MainForm& f = context.form;
    const QString electricity = u"C&ost"_s;
    f.OutputType.setCaption(f.OutputType.text() != electricity ? electricity : costCaption());
    OutputDisplay(context);
    f.setFocus(f.NormalHr);
}

void Units1Click(FormContext& context)
{
    MainForm& f = context.form;
    const bool kilograms = f.Units1.value() == 0;
    const QString unit = kilograms ? u"Kg"_s : u"lb"_s;
    f.CO2L.setCaption(unit + u"/KWHr"_s);
    f.CO2.setToolTip(u"CO2 Conversion Rate ( between 0.1 and 1) "_s + unit + u"/KWHr"_s);
    f.ItemCO2L.setCaption(u"CO2 "_s + unit + u" /Period"_s);
    f.Item1CO2.setToolTip(u"Amount of CO2 generated by Item 1 in "_s + unit);
    f.Item2CO2.setToolTip(u"Amount of CO2 generated by Item 2 in "_s + unit);
    f.PreviousRecordText.clear();
    if (!f.UpdatingFields)
        f.Save_Defaults.setEnabled(true);
}

} // namespace torvane
