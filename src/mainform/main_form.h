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
};

// The main window as the program defines it: its controls with their names, captions,
// tooltips, enabled states and colours, and the window's own state. Toolkit-neutral: a
// view mirrors it, the procedures of the comparison act on it.
class MainForm final : public Form, public MainFormState {
public:
    MainForm();

    // The most a user can type into Notes.
    static constexpr int NotesLength = 75;

    // Hours area.
    TextBox NormalHr, NormalSHr, CheapHr, CheapSHr, Notes;
    // Electricity data area.
    TextBox NormalR, CheapR, VAT, CO2, PayPeriod, AnInfT;
    Label VATH, CO2L;
    CheckBox Units1, OnTop, AutoSave, UpEnable1, MonthlyT;
    // Comparison area.
    TextBox Item1Watts, Item1SWatts, Item1CWatts, Item1Life, Item1Cost, Item1No;
    TextBox Item2Watts, Item2SWatts, Item2CWatts, Item2Life, Item2Cost, Item2No;
    Button Pick1, Pick2; // an item from the appliance catalogue or an energy label
    // Results area.
    TextBox HoursUsed, HoursSUsed;
    TextBox Item1Day, Item2Day, DaySave, Item1Qtr, Item2Qtr, QtrSave;
    TextBox Item1Period, Item2Period, PeriodSave;
    TextBox Item1CO2, Item2CO2, CO2Save, Item1SB, Item2SB;
    Label ItemDayL, ItemQtrL, ItemPeriodL, ItemCO2L;
    // Buttons and the status line.
    Button Calc, Keep, Save, Clear, OutputType, Chart, Save_Defaults, Reset_Defaults;
    Button ViewL, Archive, Update, Help1, About, Exit;
    Label Status;

    // Shows cost or electricity: the mode and the OutputType button's caption, which
    // offers the other one.
    void setOutput(OutputMode mode);
};

} // namespace torvane
