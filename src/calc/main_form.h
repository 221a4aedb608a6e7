#pragma once

#include "control.h"

#include <QString>

#include <vector>

namespace torvane {

// The four coloured areas of the main window.
enum class FormArea { Hours, ElectricityData, Comparison, Results };
Colour areaColour(FormArea area);
QString areaHeading(FormArea area);

// The main window as the program defines it: its controls with their names, captions,
// tooltips, enabled states and colours, and the window's own state. Toolkit-neutral: a
// view mirrors it, the procedures of the comparison act on it.
class MainForm {
public:
    MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Hours area.
    TextBox NormalHr, NormalSHr, CheapHr, CheapSHr, Notes;
    // Electricity data area.
    TextBox NormalR, CheapR, VAT, CO2, PayPeriod, AnInfT;
    Label VATH, CO2L;
    CheckBox Units1, OnTop, AutoSave, UpEnable1, MonthlyT;
    // Comparison area.
    TextBox Item1Watts, Item1SWatts, Item1CWatts, Item1Life, Item1Cost, Item1No;
    TextBox Item2Watts, Item2SWatts, Item2CWatts, Item2Life, Item2Cost, Item2No;
    // Results area.
    TextBox HoursUsed, HoursSUsed;
    TextBox Item1Day, Item2Day, DaySave, Item1Qtr, Item2Qtr, QtrSave;
    TextBox Item1Period, Item2Period, PeriodSave;
    TextBox Item1CO2, Item2CO2, CO2Save, Item1SB, Item2SB;
    Label ItemDayL, ItemQtrL, ItemPeriodL, ItemCO2L;
    // Buttons and the status line.
    Button Calc, Keep, Save, Clear, OutputType, Save_Defaults, Reset_Defaults;
    Button ViewL, Archive, Update, Help1, About, Exit;
    Label Status;

    // Window state.
    QString Caption;
    bool UpdatingFields = false;
    bool TariffKept = false;
    qint16 StepNumber = 0;
    QString MsgText;
    qint16 Item1Blank = 0;
    qint16 Item2Blank = 0;
    QString PendingLogText;
    QString RecordText;
    QString PreviousRecordText;
    QString CurrencySymbol;

    // Comparison results, kept as the texts the calculation leaves.
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
    // The hours Item 1 was last worked out with.
    QString Item1NormalHr, Item1CheapHr, Item1NormalSHr, Item1CheapSHr;
    QString Item1HoursUsed, Item1HoursSUsed;

    // Every control, in the order above, for views and for look-up by name.
    const std::vector<Control*>& controls() const { return m_controls; }
    Control* control(QStringView name) const;

    // Where the input focus is; the procedures move it, the view follows.
    const Control* focus() const { return m_focus; }
    void setFocus(const Control& control) { m_focus = &control; }

private:
    std::vector<Control*> m_controls;
    const Control* m_focus = nullptr;
};

} // namespace torvane
