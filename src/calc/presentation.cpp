#include "presentation.h"

namespace torvane {
namespace {

const QString& costCaption()
{
    static const QString caption = QStringLiteral("K&WHr");
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
        // Where the symbol follows the amount the locale's own symbol names the tax.
        const QString named =
            symbol.isEmpty() ? context.regional.locale().currencySymbol() : symbol;
        const bool vat = named == QStringLiteral("£") || named == QStringLiteral("€");
        f.VATH.setCaption(vat ? QStringLiteral("VAT:") : QStringLiteral("Tax:"));
        f.VAT.setToolTip(vat ? QStringLiteral("VAT Rate (0 or between 1 and 50%)")
                             : QStringLiteral("Tax Rate (0 or between 1 and 50%)"));
    });
}

void OutputDisplay(FormContext& context)
{
    MainForm& f = context.form;
    const bool monthly = f.MonthlyT.value() == 1;
    const QString longWord = monthly ? QStringLiteral("month") : QStringLiteral("quarter");
    const QString shortWord = monthly ? QStringLiteral("Mth") : QStringLiteral("Qtr");
    const bool cost = f.OutputType.text() == costCaption();

    struct Row {
        TextBox& field;
        const QString& costText;
        const QString& unitsText;
        QString costTip;
        QString unitsTip;
    };
    const Row rows[] = {
        {f.Item1Day, f.Item1DayCost, f.Item1DayUnits,
         QStringLiteral("Total cost of item 1 per day"),
         QStringLiteral("Electricity used by item 1 in KWHr per day")},
        {f.Item2Day, f.Item2DayCost, f.Item2DayUnits,
         QStringLiteral("Total cost of item 2 per day"),
         QStringLiteral("Electricity used by item 2 in KWHr per day")},
        {f.Item1Qtr, f.Item1QtrCost, f.Item1QtrUnits,
         QStringLiteral("Total cost of item 1 per ") + longWord,
         QStringLiteral("Electricity used by item 1 in KWHr per ") + longWord},
        {f.Item2Qtr, f.Item2QtrCost, f.Item2QtrUnits,
         QStringLiteral("Total cost of item 2 per ") + longWord,
         QStringLiteral("Electricity used by item 2 in KWHr per ") + longWord},
        {f.Item1Period, f.Item1PeriodCost, f.Item1PeriodUnits,
         QStringLiteral("Total cost of item 1 over payback period"),
         QStringLiteral("Electricity used by item 1 in KWHr over payback period")},
        {f.Item2Period, f.Item2PeriodCost, f.Item2PeriodUnits,
         QStringLiteral("Total Cost of item 2 over payback period"),
         QStringLiteral("Electricity used by item 2 in KWHr over payback period")},
        {f.DaySave, f.DayCostSave, f.DayUnitsSave,
         QStringLiteral("Difference between item 1 and item 2 cost per day"),
         QStringLiteral("Difference between item 1 and item 2 electricity use in KWHr per day")},
        {f.QtrSave, f.QtrCostSave, f.QtrUnitsSave,
         QStringLiteral("Difference between item 1 and item 2 cost per ") + longWord,
         QStringLiteral("Difference between item 1 and item 2 electricity use in KWHr per ") +
             longWord},
        {f.PeriodSave, f.PeriodCostSave, f.PeriodUnitsSave,
         QStringLiteral("Difference between item 1 and item 2 cost over payback period"),
         QStringLiteral(
             "Difference between item 1 and item 2 electricity use in KWHr over payback period")},
    };
    for (const Row& row : rows)
        row.field.setText(cost ? row.costText : row.unitsText);
    for (const Row& row : rows)
        row.field.setToolTip(cost ? row.costTip : row.unitsTip);

    f.ItemDayL.setCaption(cost ? QStringLiteral("Cost / Day") : QStringLiteral(" KWHr / Day"));
    f.ItemQtrL.setCaption((cost ? QStringLiteral(" Cost / ") : QStringLiteral(" KWHr /  ")) +
                          shortWord);
    f.ItemPeriodL.setCaption(cost ? QStringLiteral("Cost / Period")
                                  : QStringLiteral(" KWHr / Period"));

    if (cost ? f.CostSaveNegative : f.UnitsSaveNegative) {
        for (TextBox* saving : {&f.DaySave, &f.QtrSave, &f.PeriodSave})
            saving->setForeColour(Colours::orange);
    }
}

void OutputTypeClick(FormContext& context)
{
    MainForm& f = context.form;
    const QString electricity = QStringLiteral("C&ost");
    f.OutputType.setCaption(f.OutputType.text() != electricity ? electricity : costCaption());
    OutputDisplay(context);
    f.setFocus(f.NormalHr);
}

void Units1Click(FormContext& context)
{
    MainForm& f = context.form;
    const bool kilograms = f.Units1.value() == 0;
    const QString unit = kilograms ? QStringLiteral("Kg") : QStringLiteral("lb");
    f.CO2L.setCaption(unit + QStringLiteral("/KWHr"));
    f.CO2.setToolTip(QStringLiteral("CO2 Conversion Rate ( between 0.1 and 1) ") + unit +
                     QStringLiteral("/KWHr"));
    f.ItemCO2L.setCaption(QStringLiteral("CO2 ") + unit + QStringLiteral(" /Period"));
    f.Item1CO2.setToolTip(QStringLiteral("Amount of CO2 generated by Item 1 in ") + unit);
    f.Item2CO2.setToolTip(QStringLiteral("Amount of CO2 generated by Item 2 in ") + unit);
    f.PreviousRecordText.clear();
    if (!f.UpdatingFields)
        f.Save_Defaults.setEnabled(true);
}

} // namespace torvane
