#pragma once

#include "engine/timeline.h"
#include "form/form.h"

#include <QString>

namespace torvane {

// The four coloured areas of the main window.
enum class FormArea { Hours, ElectricityData, Comparison, Results };
Colour areaColour(FormArea area);
QString areaHeading(FormArea area);

// What the result fields show: the output mode that the OutputType button switches.
enum class OutputMode { Electricity, Cost };

// The main window's state besides its controls: the flags, texts and figures that its
// procedures share.
struct MainFormState {
    QString Caption = QStringLiteral("Torvane");
    bool UpdatingFields = false;
    bool TariffKept = false;
    qint16 StepNumber = 0;
    QString MsgText;
    bool Item1Blank = false; // nothing entered for the item
    bool Item2Blank = false;
    QString PendingLogText;
    QString RecordText;
    QString PreviousRecordText;
    QString CurrencySymbol;
    OutputMode Output = OutputMode::Electricity;

    // Comparison results, kept as the texts the calculation shows.
    QString Item1DayCost, Item1QtrCost, Item1PeriodCost;
    QString Item2DayCost, Item2QtrCost, Item2PeriodCost;
    QString DayCostSave, QtrCostSave, PeriodCostSave;
    QString Item1DayUnits, Item1QtrUnits, Item1PeriodUnits;
    QString Item2DayUnits, Item2QtrUnits, Item2PeriodUnits;
    QString DayUnitsSave, QtrUnitsSave, PeriodUnitsSave;
    bool CostSaveNegative = false;
    bool UnitsSaveNegative = false;
    float InflationFactor = 1.0f;
    float InflationSum = 1.0f;

    // Item 1 as last worked out: the hours of a day and of the period it was worked out
    // with, and its figures, which stand while the tariff is kept.
    DayHours Item1Hours;
    double Item1HoursUsed = 0;
    double Item1HoursSUsed = 0;
    ItemFigures Item1Figures;
    TimelineItem Item1Timeline;

    // The last calculation of both items, for the Chart button.
    std::optional<CostOverTime> CostChart;
    // The catalogue appliance each item was filled from, while its powers are the
    // catalogue's; empty for an item typed in.
    QString Item1Appliance, Item2Appliance;
};

// The main window as the program defines it: its controls, each declared with its name,
// caption or tooltip, and the window's own state. Toolkit-neutral: a view mirrors it, the
// procedures of the comparison act on it.
class MainForm final : public Form, public MainFormState {
public:
    MainForm();

    // The most a user can type into Notes.
    static constexpr int NotesLength = 75;

    // Hours area.
    TextBox NormalHr{QStringLiteral("NormalHr"),
                     QStringLiteral("Normal rate hours on per day (min 0, max 24)")};
    TextBox NormalSHr{QStringLiteral("NormalSHr"),
                      QStringLiteral("Normal rate hours on standby per day (min 0, max 23.9)")};
    TextBox CheapHr{QStringLiteral("CheapHr"),
                    QStringLiteral("Cheap rate hours on per day (min 0, max 8)")};
    TextBox CheapSHr{QStringLiteral("CheapSHr"),
                     QStringLiteral("Cheap rate hours on standby per day (min 0, max 8)")};
    TextBox Notes{QStringLiteral("Notes"),
                  QStringLiteral("Notes relating to calculation (max 75 characters)"), false,
                  NotesLength};
    // Electricity data area.
    TextBox NormalR{
        QStringLiteral("NormalR"),
        QStringLiteral("Normal rate electricity cost per KWHr (between 0.010000 and 0.990000)")};
    TextBox CheapR{
        QStringLiteral("CheapR"),
        QStringLiteral("Cheap rate electricity cost per KWHr (either 0 or between  0.010000 and "
                       "0.990000)")};
    TextBox VAT{QStringLiteral("VAT"), QStringLiteral("VAT Rate (0 or between 1 and 50%)")};
    TextBox CO2{QStringLiteral("CO2"),
                QStringLiteral("CO2 conversion rate ( between 0.1 and 1) Kg/KWHr")};
    TextBox PayPeriod{QStringLiteral("PayPeriod"),
                      QStringLiteral("Payback period ( between 1 and 10) years")};
    TextBox AnInfT{QStringLiteral("AnInfT"),
                   QStringLiteral("Annual inflation  (between -30 and 199) %")};
    Label VATH{QStringLiteral("VATH"), QStringLiteral("VAT:"), Colours::lightGreen};
    Label CO2L{QStringLiteral("CO2L"), QStringLiteral("Kg/KWHr"), Colours::lightGreen};
    CheckBox Units1{QStringLiteral("Units1"), QStringLiteral("Tick to set CO2 units to ibs")};
    CheckBox OnTop{QStringLiteral("OnTop"), QStringLiteral("Set Torvane to run on top")};
    CheckBox AutoSave{
        QStringLiteral("AutoSave"),
        QStringLiteral("Save results to log file when calculate clicked (provided no errors "
                       "occur)")};
    CheckBox UpEnable1{QStringLiteral("UpEnable1"),
                       QStringLiteral("Enable automatic check for new version")};
    CheckBox MonthlyT{QStringLiteral("MonthlyT"),
                      QStringLiteral("Tick to set show usage monthly rather than quarterly")};
    // Comparison area.
    TextBox Item1Watts{QStringLiteral("Item1Watts"),
                       itemToolTip("Item %1 power in watts ( min 0.1W, max 7000.0W)", 1)};
    TextBox Item1SWatts{QStringLiteral("Item1SWatts"),
                        itemToolTip("Item %1 standby power in watts ( min 0W, max 99.0W)", 1)};
    TextBox Item1CWatts{QStringLiteral("Item1CWatts"),
                        itemToolTip("Item %1 continuous power in watts ( min 0W, max 99.0W)", 1)};
    TextBox Item1Life{QStringLiteral("Item1Life"),
                      itemToolTip("Life of item %1 in hrs (0 or between 500Hrs and 50000Hrs)", 1)};
    TextBox Item1Cost{QStringLiteral("Item1Cost"),
                      itemToolTip("Cost of item %1 ( 0 or between 0.1 and 5000)", 1)};
    TextBox Item1No{
        QStringLiteral("Item1No"),
        itemToolTip("Number of times Item %1 will need replacing during payback period", 1)};
    TextBox Item2Watts{QStringLiteral("Item2Watts"),
                       itemToolTip("Item %1 power in watts ( min 0.1W, max 7000.0W)", 2)};
    TextBox Item2SWatts{QStringLiteral("Item2SWatts"),
                        itemToolTip("Item %1 standby power in watts ( min 0W, max 99.0W)", 2)};
    TextBox Item2CWatts{QStringLiteral("Item2CWatts"),
                        itemToolTip("Item %1 continuous power in watts ( min 0W, max 99.0W)", 2)};
    TextBox Item2Life{QStringLiteral("Item2Life"),
                      itemToolTip("Life of item %1 in hrs (0 or between 500Hrs and 50000Hrs)", 2)};
    TextBox Item2Cost{QStringLiteral("Item2Cost"),
                      itemToolTip("Cost of item %1 ( 0 or between 0.1 and 5000)", 2)};
    TextBox Item2No{
        QStringLiteral("Item2No"),
        itemToolTip("Number of times Item %1 will need replacing during payback period", 2)};
    // Fill an item from the appliance catalogue or an energy label.
    Button Pick1{
        QStringLiteral("Pick1"), QStringLiteral("&Pick..."),
        QStringLiteral("Fill item 1 from the appliance catalogue or from its energy label")};
    Button Pick2{
        QStringLiteral("Pick2"), QStringLiteral("P&ick..."),
        QStringLiteral("Fill item 2 from the appliance catalogue or from its energy label")};
    // Fill an item from a log of its measured power.
    Button Measure1{QStringLiteral("Measure1"), QStringLiteral("Measure..."),
                    QStringLiteral("Fill item 1 from measured power readings")};
    Button Measure2{QStringLiteral("Measure2"), QStringLiteral("Measure..."),
                    QStringLiteral("Fill item 2 from measured power readings")};
    // Results area.
    TextBox HoursUsed{QStringLiteral("HoursUsed"),
                      QStringLiteral("Total hours on over payback period"), true};
    TextBox HoursSUsed{QStringLiteral("HoursSUsed"),
                       QStringLiteral("Total hours on standby over payback period"), true};
    TextBox Item1Day{QStringLiteral("Item1Day"), QString(), true};
    TextBox Item2Day{QStringLiteral("Item2Day"), QString(), true};
    TextBox DaySave{QStringLiteral("DaySave"), QString(), true};
    TextBox Item1Qtr{QStringLiteral("Item1Qtr"), QString(), true};
    TextBox Item2Qtr{QStringLiteral("Item2Qtr"), QString(), true};
    TextBox QtrSave{QStringLiteral("QtrSave"), QString(), true};
    TextBox Item1Period{QStringLiteral("Item1Period"), QString(), true};
    TextBox Item2Period{QStringLiteral("Item2Period"), QString(), true};
    TextBox PeriodSave{QStringLiteral("PeriodSave"), QString(), true};
    TextBox Item1CO2{QStringLiteral("Item1CO2"),
                     QStringLiteral("Amount of CO2 generated by Item 1 in Kg"), true};
    TextBox Item2CO2{QStringLiteral("Item2CO2"),
                     QStringLiteral("Amount of CO2 generated by Item 2 in Kg"), true};
    TextBox CO2Save{QStringLiteral("CO2Save"),
                    QStringLiteral("Difference between item 1 and item 2 CO2 over payback period"),
                    true};
    TextBox Item1SB{QStringLiteral("Item1SB"),
                    QStringLiteral("Share of the daily running cost of item 1 spent on standby"),
                    true};
    TextBox Item2SB{QStringLiteral("Item2SB"),
                    QStringLiteral("Share of the daily running cost of item 2 spent on standby"),
                    true};
    Label ItemDayL{QStringLiteral("ItemDayL"), QStringLiteral("Cost / Day"), Colours::lightPink};
    Label ItemQtrL{QStringLiteral("ItemQtrL"), QStringLiteral(" Cost / Qtr"), Colours::lightPink};
    Label ItemPeriodL{QStringLiteral("ItemPeriodL"), QStringLiteral(" Cost / Period"),
                      Colours::lightPink};
    Label ItemCO2L{QStringLiteral("ItemCO2L"), QStringLiteral("CO2 Kg /Period "),
                   Colours::lightPink};
    // Buttons and the status line.
    Button Calc{QStringLiteral("Calc"), QStringLiteral("&Calculate"),
                QStringLiteral("Calculate results")};
    Button Keep{
        QStringLiteral("Keep"), QStringLiteral("&Keep 1"),
        QStringLiteral("Keep hours for item 1. Item 1 details can still be changed and calculated"),
        false};
    Button Save{QStringLiteral("Save"), QStringLiteral("&Save"),
                QStringLiteral("Save results  ( each result can only be saved once)"), false};
    Button Clear{QStringLiteral("Clear"), QStringLiteral("C&lear"),
                 QStringLiteral("Clear all hours used, comparison data and results")};
    Button OutputType{QStringLiteral("OutputType"), QStringLiteral("C&ost"),
                      QStringLiteral("Click to change between electricity use and cost")};
    Button Chart{
        QStringLiteral("Chart"), QStringLiteral("Char&t"),
        QStringLiteral(
            "Show the costs of both items month by month, and when Item 2 pays for itself"),
        false};
    Button Save_Defaults{QStringLiteral("Save_Defaults"), QStringLiteral("Sa&ve Data"),
                         QStringLiteral("Save electricity data"), false};
    Button Reset_Defaults{QStringLiteral("Reset_Defaults"), QStringLiteral("Reset &Data"),
                          QStringLiteral("Reset electricity data")};
    Button ViewL{
        QStringLiteral("ViewL"), QStringLiteral("&Results"),
        QStringLiteral("View Torvane results log file (it will not be updated while open)")};
    Button Archive{QStringLiteral("Archive"), QStringLiteral("&Archive"),
                   QStringLiteral("Archive Torvane results log file and create new one")};
    Button Update{QStringLiteral("Update"), QStringLiteral("&Update"),
                  QStringLiteral("Check the Marnoft web site for the latest version of Torvane")};
    Button Help1{QStringLiteral("Help1"), QStringLiteral("&Help"), QStringLiteral("Torvane Help")};
    Button About{QStringLiteral("About"), QStringLiteral("A&bout"),
                 QStringLiteral("About Torvane")};
    Button Exit{QStringLiteral("Exit"), QStringLiteral("&Exit"), QStringLiteral("Close Torvane")};
    Label Status{QStringLiteral("Status"), QString()};

    // Shows cost or electricity: the mode and the OutputType button's caption, which
    // offers the other one.
    void setOutput(OutputMode mode);

private:
    // An item field's tooltip, "%1" standing for the item's number.
    static QString itemToolTip(const char* text, int item);
};

} // namespace torvane
