#include "main_form.h"

using namespace Qt::StringLiterals;

namespace torvane {

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
        return u"Hours Used Daily"_s;
    case FormArea::ElectricityData:
        return u"Electricity Data"_s;
    case FormArea::Comparison:
        return u"Comparison"_s;
    case FormArea::Results:
        break;
    }
    return QString();
}

QString MainForm::itemToolTip(const char* text, int item)
{
    return QString::fromUtf8(text).arg(item);
}

MainForm::MainForm()
{
    addControls({&NormalHr,      &NormalSHr,      &CheapHr,     &CheapSHr,    &Notes,
                 &NormalR,       &CheapR,         &VAT,         &CO2,         &PayPeriod,
                 &AnInfT,        &VATH,           &CO2L,        &Units1,      &OnTop,
                 &AutoSave,      &UpEnable1,      &MonthlyT,    &Item1Watts,  &Item1SWatts,
                 &Item1CWatts,   &Item1Life,      &Item1Cost,   &Item1No,     &Pick1,
                 &Measure1,      &Item2Watts,     &Item2SWatts, &Item2CWatts, &Item2Life,
                 &Item2Cost,     &Item2No,        &Pick2,       &Measure2,    &HoursUsed,
                 &HoursSUsed,    &Item1Day,       &Item2Day,    &DaySave,     &Item1Qtr,
                 &Item2Qtr,      &QtrSave,        &Item1Period, &Item2Period, &PeriodSave,
                 &Item1CO2,      &Item2CO2,       &CO2Save,     &Item1SB,     &Item2SB,
                 &ItemDayL,      &ItemQtrL,       &ItemPeriodL, &ItemCO2L,    &Calc,
                 &Keep,          &Save,           &Clear,       &OutputType,  &Chart,
                 &Save_Defaults, &Reset_Defaults, &ViewL,       &Archive,     &Update,
                 &Help1,         &About,          &Exit,        &Status});
    for (CheckBox* box : {&Units1, &OnTop, &AutoSave, &UpEnable1, &MonthlyT})
        box->setBackColour(Colours::lightGreen);
    for (TextBox* saving : {&DaySave, &QtrSave, &PeriodSave, &CO2Save})
        saving->setForeColour(Colours::black);
}

void MainForm::setOutput(OutputMode mode)
{
    Output = mode;
    OutputType.setCaption(mode == OutputMode::Cost ? u"K&WHr"_s : u"C&ost"_s);
}

} // namespace torvane
