#include "error_report.h"
#include "core/ansi_file.h"

#include "core/version.h"

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

QString heading(const char* text)
{
    const QString words = QString::fromLatin1(text);
    return words + CrLf + QString(words.size(), QLatin1Char('-'));
}

// A data line: the values joined by a comma and a blank.
QString texts(const QStringList& values)
{
    return values.join(u", "_s) + CrLf;
}

} // namespace

QString fatalErrorDump(const MainForm& f, const Settings& settings, const QString& configTranscript,
                       const QString& timeStamp, const QString& title, qint16 step,
                       const Regional& regional)
{
    const auto value = [](const CheckBox& box) {
        return QString::number(box.value());
    };
    const auto general = [&](double number) {
        return regional.formatGeneral(number);
    };
    const QStringList entries = {
        timeStamp,
        u"Torvane"_s + CrLf + u"Version "_s + versionText() + CrLf,
        u"******** "_s + title + QLatin1Char(' ') + QString::number(step) + u" ********"_s + CrLf,
        u"Dump of configuration file and available program data follows:"_s + CrLf,
        configTranscript,
        heading("Program Defaults & Status Flags"),
        texts({f.NormalR.text(), f.CheapR.text(), f.PayPeriod.text(), f.VAT.text(), f.CO2.text(),
               f.AnInfT.text(), value(f.OnTop), value(f.AutoSave), general(settings.VUnits),
               f.TariffKept ? u"True"_s : u"False"_s, value(f.MonthlyT),
               general(settings.UpEnableSetting)}),
        heading("Program Data"),
        texts({f.NormalHr.text(), f.CheapHr.text(), f.NormalSHr.text(), f.CheapSHr.text()}),
        heading("Item 1 Data"),
        texts({f.Item1Watts.text(), f.Item1SWatts.text(), f.Item1CWatts.text(), f.Item1No.text(),
               f.Item1Life.text(), f.Item1Cost.text()}),
        heading("Item 1 Units"),
        texts({f.Item1DayUnits, f.Item1QtrUnits, f.Item1PeriodUnits, f.Item1CO2.text()}),
        heading("Item 1 Cost"),
        texts({f.Item1Day.text(), f.Item1Qtr.text(), f.Item1Period.text(), f.Item1SB.text(),
               f.Item1CO2.text()}),
        heading("Item 2 Data"),
        texts({f.Item2Watts.text(), f.Item2SWatts.text(), f.Item2CWatts.text(), f.Item2No.text(),
               f.Item2Life.text(), f.Item2Cost.text()}),
        heading("Item 2 Units"),
        texts({f.Item2DayUnits, f.Item2QtrUnits, f.Item2PeriodUnits, f.Item2CO2.text()}),
        heading("Item 2 Cost"),
        texts({f.Item2DayCost, f.Item2QtrCost, f.Item2PeriodCost, f.Item2SB.text()}),
        heading("Item Unit Save"),
        texts({f.DayUnitsSave, f.QtrUnitsSave, f.PeriodUnitsSave}),
        heading("Item Cost Save"),
        texts({f.DayCostSave, f.QtrCostSave, f.PeriodCostSave}),
        heading("Item Save"),
        texts({f.HoursUsed.text(), f.HoursSUsed.text(), f.DaySave.text(), f.QtrSave.text(),
               f.PeriodSave.text(), f.CO2Save.text()}),
        u"********** End of Error Dump **********"_s + CrLf + CrLf,
    };
    return entries.join(CrLf) + CrLf;
}

QString fatalErrorMessage(const QString& title, qint16 step)
{
    return u"Error Number "_s + QString::number(step) + CrLf + u"A Fatal "_s + title +
           u" Has Occurred."_s + CrLf + u"The Program Will Now Terminate."_s;
}

} // namespace torvane
