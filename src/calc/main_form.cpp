#include "main_form.h"

namespace torvane {
namespace {

QString itemText(const char* text, int item)
{
    return QString::fromUtf8(text).arg(item);
}

} // namespace

Colour areaColour(FormArea area)
{
    switch (area) {
    case FormArea::Hours:
        return Colours::lightYellow;
    case FormArea::ElectricityData:
        return Colours::lightGreen;
    case FormArea::Comparison:
        return Colours::lightBlue;
    case FormArea::Results:
        break;
    }
    return Colours::lightPink;
}

QString areaHeading(FormArea area)
{
    switch (area) {
    case FormArea::Hours:
        return QStringLiteral("Hours Used Daily");
    case FormArea::ElectricityData:
        return QStringLiteral("Electricity Data");
    case FormArea::Comparison:
        return QStringLiteral("Comparison");
    case FormArea::Results:
        break;
    }
    return QString();
}

MainForm::MainForm()
    : NormalHr(QStringLiteral("NormalHr"),
               QStringLiteral("Normal rate hours on per day (min 0, max 24)"))
    , NormalSHr(QStringLiteral("NormalSHr"),
                QStringLiteral("Normal rate hours on standby per day (min 0, max 23.9)"))
    , CheapHr(QStringLiteral("CheapHr"),
              QStringLiteral("Cheap rate hours on per day (min 0, max 8)"))
    , CheapSHr(QStringLiteral("CheapSHr"),
               QStringLiteral("Cheap rate hours on standby per day (min 0, max 8)"))
    , Notes(QStringLiteral("Notes"),
            QStringLiteral("Notes relating to calculation (max 75 characters)"), false, 75)
    , NormalR(
          QStringLiteral("NormalR"),
          QStringLiteral("Normal rate electricity cost per KWHr (between 0.010000 and 0.990000)"))
    , CheapR(
          QStringLiteral("CheapR"),
          QStringLiteral("Cheap rate electricity cost per KWHr (either 0 or between  0.010000 and "
                         "0.990000)"))
    , VAT(QStringLiteral("VAT"), QStringLiteral("VAT Rate (0 or between 1 and 50%)"))
    , CO2(QStringLiteral("CO2"), QStringLiteral("CO2 conversion rate ( between 0.1 and 1) Kg/KWHr"))
    , PayPeriod(QStringLiteral("PayPeriod"),
                QStringLiteral("Payback period ( between 1 and 10) years"))
    , AnInfT(QStringLiteral("AnInfT"), QStringLiteral("Annual inflation  (between -30 and 199) %"))
    , VATH(QStringLiteral("VATH"), QStringLiteral("VAT:"), Colours::lightGreen)
    , CO2L(QStringLiteral("CO2L"), QStringLiteral("Kg/KWHr"), Colours::lightGreen)
    , Units1(QStringLiteral("Units1"), QStringLiteral("Tick to set CO2 units to ibs"))
    , OnTop(QStringLiteral("OnTop"), QStringLiteral("Set Torvane to run on top"))
    , AutoSave(QStringLiteral("AutoSave"),
               QStringLiteral("Save results to log file when calculate clicked (provided no errors "
                              "occur)"))
    , UpEnable1(QStringLiteral("UpEnable1"),
                QStringLiteral("Enable automatic check for new version"))
    , MonthlyT(QStringLiteral("MonthlyT"),
               QStringLiteral("Tick to set show usage monthly rather than quarterly"))
    , Item1Watts(QStringLiteral("Item1Watts"),
                 itemText("Item %1 power in watts ( min 0.1W, max 7000.0W)", 1))
    , Item1SWatts(QStringLiteral("Item1SWatts"),
                  itemText("Item %1 standby power in watts ( min 0W, max 99.0W)", 1))
    , Item1CWatts(QStringLiteral("Item1CWatts"),
                  itemText("Item %1 continuous power in watts ( min 0W, max 99.0W)", 1))
    , Item1Life(QStringLiteral("Item1Life"),
                itemText("Life of item %1 in hrs (0 or between 500Hrs and 50000Hrs)", 1))
    , Item1Cost(QStringLiteral("Item1Cost"),
                itemText("Cost of item %1 ( 0 or between 0.1 and 5000)", 1))
    , Item1No(QStringLiteral("Item1No"),
              itemText("Number of times Item %1 will need replacing during payback period", 1))
    , Item2Watts(QStringLiteral("Item2Watts"),
                 itemText("Item %1 power in watts ( min 0.1W, max 7000.0W)", 2))
    , Item2SWatts(QStringLiteral("Item2SWatts"),
                  itemText("Item %1 standby power in watts ( min 0W, max 99.0W)", 2))
    , Item2CWatts(QStringLiteral("Item2CWatts"),
                  itemText("Item %1 continuous power in watts ( min 0W, max 99.0W)", 2))
    , Item2Life(QStringLiteral("Item2Life"),
                itemText("Life of item %1 in hrs (0 or between 500Hrs and 50000Hrs)", 2))
    , Item2Cost(QStringLiteral("Item2Cost"),
                itemText("Cost of item %1 ( 0 or between 0.1 and 5000)", 2))
    , Item2No(QStringLiteral("Item2No"),
              itemText("Number of times Item %1 will need replacing during payback period", 2))
    , HoursUsed(QStringLiteral("HoursUsed"), QStringLiteral("Total hours on over payback period"),
                true)
    , HoursSUsed(QStringLiteral("HoursSUsed"),
                 QStringLiteral("Total hours on standby over payback period"), true)
    , Item1Day(QStringLiteral("Item1Day"), QString(), true)
    , Item2Day(QStringLiteral("Item2Day"), QString(), true)
    , DaySave(QStringLiteral("DaySave"), QString(), true)
    , Item1Qtr(QStringLiteral("Item1Qtr"), QString(), true)
    , Item2Qtr(QStringLiteral("Item2Qtr"), QString(), true)
    , QtrSave(QStringLiteral("QtrSave"), QString(), true)
    , Item1Period(QStringLiteral("Item1Period"), QString(), true)
    , Item2Period(QStringLiteral("Item2Period"), QString(), true)
    , PeriodSave(QStringLiteral("PeriodSave"), QString(), true)
    , Item1CO2(QStringLiteral("Item1CO2"),
               QStringLiteral("Amount of CO2 generated by Item 1 in Kg"), true)
    , Item2CO2(QStringLiteral("Item2CO2"),
               QStringLiteral("Amount of CO2 generated by Item 2 in Kg"), true)
    , CO2Save(QStringLiteral("CO2Save"),
              QStringLiteral("Difference between item 1 and item 2 CO2 over payback period"), true)
    , Item1SB(QStringLiteral("Item1SB"),
              QStringLiteral("Share of the daily running cost of item 1 spent on standby"), true)
    , Item2SB(QStringLiteral("Item2SB"),
              QStringLiteral("Share of the daily running cost of item 2 spent on standby"), true)
    , ItemDayL(QStringLiteral("ItemDayL"), QStringLiteral("Cost / Day"), Colours::lightPink)
    , ItemQtrL(QStringLiteral("ItemQtrL"), QStringLiteral(" Cost / Qtr"), Colours::lightPink)
    , ItemPeriodL(QStringLiteral("ItemPeriodL"), QStringLiteral(" Cost / Period"),
                  Colours::lightPink)
    , ItemCO2L(QStringLiteral("ItemCO2L"), QStringLiteral("CO2 Kg /Period "), Colours::lightPink)
    , Calc(QStringLiteral("Calc"), QStringLiteral("&Calculate"),
           QStringLiteral("Calculate results"))
    , Keep(QStringLiteral("Keep"), QStringLiteral("&Keep 1"),
           QStringLiteral(
               "Keep hours for item 1. Item 1 details can still be changed and calculated"),
           false)
    , Save(QStringLiteral("Save"), QStringLiteral("&Save"),
           QStringLiteral("Save results  ( each result can only be saved once)"), false)
    , Clear(QStringLiteral("Clear"), QStringLiteral("C&lear"),
            QStringLiteral("Clear all hours used, comparison data and results"))
    , OutputType(QStringLiteral("OutputType"), QStringLiteral("C&ost"),
                 QStringLiteral("Click to change between electricity use and cost"))
    , Save_Defaults(QStringLiteral("Save_Defaults"), QStringLiteral("Sa&ve Data"),
                    QStringLiteral("Save electricity data"), false)
    , Reset_Defaults(QStringLiteral("Reset_Defaults"), QStringLiteral("Reset &Data"),
                     QStringLiteral("Reset electricity data"))
    , ViewL(QStringLiteral("ViewL"), QStringLiteral("&Results"),
            QStringLiteral("View Torvane results log file (it will not be updated while open)"))
    , Archive(QStringLiteral("Archive"), QStringLiteral("&Archive"),
              QStringLiteral("Archive Torvane results log file and create new one"))
    , Update(QStringLiteral("Update"), QStringLiteral("&Update"),
             QStringLiteral("Check the Marnoft web site for the latest version of Torvane"))
    , Help1(QStringLiteral("Help1"), QStringLiteral("&Help"), QStringLiteral("Torvane Help"))
    , About(QStringLiteral("About"), QStringLiteral("A&bout"), QStringLiteral("About Torvane"))
    , Exit(QStringLiteral("Exit"), QStringLiteral("&Exit"), QStringLiteral("Close Torvane"))
    , Status(QStringLiteral("Status"), QString())
    , Caption(QStringLiteral("Torvane"))
{
    m_controls = {&NormalHr,      &NormalSHr,      &CheapHr,   &CheapSHr,    &Notes,
                  &NormalR,       &CheapR,         &VAT,       &CO2,         &PayPeriod,
                  &AnInfT,        &VATH,           &CO2L,      &Units1,      &OnTop,
                  &AutoSave,      &UpEnable1,      &MonthlyT,  &Item1Watts,  &Item1SWatts,
                  &Item1CWatts,   &Item1Life,      &Item1Cost, &Item1No,     &Item2Watts,
                  &Item2SWatts,   &Item2CWatts,    &Item2Life, &Item2Cost,   &Item2No,
                  &HoursUsed,     &HoursSUsed,     &Item1Day,  &Item2Day,    &DaySave,
                  &Item1Qtr,      &Item2Qtr,       &QtrSave,   &Item1Period, &Item2Period,
                  &PeriodSave,    &Item1CO2,       &Item2CO2,  &CO2Save,     &Item1SB,
                  &Item2SB,       &ItemDayL,       &ItemQtrL,  &ItemPeriodL, &ItemCO2L,
                  &Calc,          &Keep,           &Save,      &Clear,       &OutputType,
                  &Save_Defaults, &Reset_Defaults, &ViewL,     &Archive,     &Update,
                  &Help1,         &About,          &Exit,      &Status};
    for (CheckBox* box : {&Units1, &OnTop, &AutoSave, &UpEnable1, &MonthlyT})
        box->setBackColour(Colours::lightGreen);
    for (TextBox* saving : {&DaySave, &QtrSave, &PeriodSave, &CO2Save})
        saving->setForeColour(Colours::black);
}

Control* MainForm::control(QStringView name) const
{
    for (Control* control : m_controls) {
        if (control->name() == name)
            return control;
    }
    return nullptr;
}

} // namespace torvane
