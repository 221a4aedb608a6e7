#include "timeline.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

constexpr double DaysPerMonth = 365.0 / 12;

// What the item has cost and used by the end of each month.
void workOut(const TimelineItem& item, int months, double inflation, std::vector<double>& cost,
             std::vector<double>& kwh, std::vector<Purchase>& purchases)
{
    cost.resize(static_cast<std::size_t>(months));
    kwh.resize(static_cast<std::size_t>(months));
    double spent = 0;
    double used = 0;
    double price = 1;
    int bought = 0;
    for (int month = 1; month <= months; ++month) {
        if (month % 12 == 1)
            price *= 1 + inflation; // a new year's prices
        // Hours used by the start of the month against the life of the units bought.
        const double hoursSoFar = (month - 1) * 365 * item.hoursDay / 12;
        // Unit k (from 0) is due once the hours reach k lives; without a life all at once.
        const int before = bought;
        const double due = item.life > 0 ? std::floor(hoursSoFar / item.life) + 1 : item.units;
        bought = std::max(bought, static_cast<int>(std::min<double>(due, item.units)));
        if (bought > before) {
            spent += (bought - before) * item.price;
            purchases.push_back({month, bought - before});
        }
        spent += item.runningDay * DaysPerMonth * price;
        used += item.unitsDay * DaysPerMonth;
        cost[static_cast<std::size_t>(month - 1)] = spent;
        kwh[static_cast<std::size_t>(month - 1)] = used;
    }
}

} // namespace

TimelineItem timelineItem(const ItemInputs& inputs, const ItemFigures& figures, double hoursDay)
{
    // A number typed without a life (only checked loosely) is bought in the first month;
    // a million units is more than any household buys.
    const double units = figures.count.value_or(inputs.No.value);
    return {figures.runningDay, figures.unitsDay,
            hoursDay,           inputs.Life.value,
            inputs.Cost.value,  units > 0 ? static_cast<int>(std::min(units, 1e6)) : 0};
}

Timeline costTimeline(const TimelineItem& one, const TimelineItem& two, double years,
                      double inflation)
{
    // At most a century of months, for a period that only the checks turned off allow.
    const double wanted = 12 * years;
    const int months = std::isfinite(wanted) && wanted > 0
                           ? static_cast<int>(std::ceil(std::min(wanted, 1200.0) - 1e-9))
                           : 0;
    Timeline timeline;
    workOut(one, months, inflation, timeline.cost1, timeline.kwh1, timeline.bought1);
    workOut(two, months, inflation, timeline.cost2, timeline.kwh2, timeline.bought2);
    // Searched from the end: the break-even month starts the last run of months in which
    // Item 2 costs no more than Item 1.
    for (int month = months; month >= 1; --month) {
        const auto at = static_cast<std::size_t>(month - 1);
        if (timeline.cost2[at] > timeline.cost1[at] + 1e-9)
            break;
        timeline.breakEven = month;
    }
    return timeline;
}

QString breakEvenSentence(const Timeline& timeline, double years, const QDate& today,
                          const Regional& regional)
{
    if (!timeline.breakEven)
        return u"Item 2 does not pay for itself within %1 years"_s.arg(
            regional.formatFixed(years, 1));
    const int months = *timeline.breakEven;
    return u"Item 2 pays for itself after %1 %2 (%3)"_s.arg(months).arg(
        months == 1 ? u"month"_s : u"months"_s,
        regional.locale().toString(today.addMonths(months), u"MMMM yyyy"_s));
}

} // namespace torvane
