#include "field_extremes.h"

#include "engine/rules.h"

namespace torvane {

std::vector<FieldExtremes> fieldExtremes(MainForm& f, const Regional& regional)
{
    const auto ends = [&](Range range, int decimals, const QString& before = QString()) {
        return QStringList{before + regional.formatFixed(range.low, decimals),
                           before + regional.formatFixed(range.high, decimals)};
    };
    const QString& money = regional.currencyPrefix();
    // Every hour of the longest period on, and the shortest life.
    TariffInputs longest;
    longest.PayPeriod = Reading::number(Ranges::PayPeriod.high);
    const PeriodHours allDay = periodHours(longest, {Ranges::NormalHours.high, 0, 0, 0});
    const QStringList mostItems{
        regional.formatGeneral(itemsNeeded(allDay.on, Reading::number(Ranges::Life.low)))};

    std::vector<FieldExtremes> fields = {
        {&f.NormalHr, ends(Ranges::NormalHours, Decimals::Hours)},
        {&f.NormalSHr, ends(Ranges::NormalStandbyHours, Decimals::Hours)},
        {&f.CheapHr, ends(Ranges::CheapHours, Decimals::Hours)},
        {&f.CheapSHr, ends(Ranges::CheapStandbyHours, Decimals::Hours)},
        {&f.NormalR, ends(Ranges::Rate, Decimals::Rate, money)},
        {&f.CheapR, ends(Ranges::Rate, Decimals::Rate, money)},
        {&f.VAT, ends(Ranges::Vat, Decimals::Vat)},
        {&f.CO2, ends(Ranges::Co2, Decimals::Co2)},
        {&f.PayPeriod, ends(Ranges::PayPeriod, Decimals::PayPeriod)},
        {&f.AnInfT, ends(Ranges::Inflation, Decimals::Inflation)},
    };
    const auto item = [&](TextBox& watts, TextBox& standby, TextBox& continuous, TextBox& life,
                          TextBox& cost, TextBox& count) {
        fields.insert(fields.end(), {{&watts, ends(Ranges::Watts, Decimals::Watts)},
                                     {&standby, ends(Ranges::StandbyWatts, Decimals::Watts)},
                                     {&continuous, ends(Ranges::StandbyWatts, Decimals::Watts)},
                                     {&life, ends(Ranges::Life, Decimals::Life)},
                                     {&cost, ends(Ranges::Cost, Decimals::Cost, money)},
                                     {&count, mostItems}});
    };
    item(f.Item1Watts, f.Item1SWatts, f.Item1CWatts, f.Item1Life, f.Item1Cost, f.Item1No);
    item(f.Item2Watts, f.Item2SWatts, f.Item2CWatts, f.Item2Life, f.Item2Cost, f.Item2No);
    return fields;
}

} // namespace torvane
