#include "timeline.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

constexpr double DaysPerMonth = 365.0 / 12;

// What an item has cost and used by the end of each month, one month after another.
class MonthByMonth {
public:
    MonthByMonth(const TimelineItem& item, double inflation)
        : m_item(item)
        , m_inflation(inflation)
    {}

    // Goes on to the end of the month; returns the units bought at its start.
    int next(int month)
    {
        if (month % 12 == 1)
            m_price *= 1 + m_inflation; // a new year's prices
        // Hours used by the start of the month against the life of the units bought.
        const double hoursSoFar = (month - 1) * 365 * m_item.hoursDay / 12;
        // Unit k (from 0) is due once the hours reach k lives; without a life all at once.
        // Below as many lives as units bought, none is due.
        const int before = m_bought;
        const double lives = m_item.life > 0 ? hoursSoFar / m_item.life : 0;
        if (m_item.life <= 0 || lives >= m_bought) {
            const double due = m_item.life > 0 ? std::floor(lives) + 1 : m_item.units;
            m_bought = std::max(m_bought, static_cast<int>(std::min<double>(due, m_item.units)));
        }
        if (m_bought > before)
            m_spent += (m_bought - before) * m_item.price;
        m_spent += m_item.runningDay * DaysPerMonth * m_price;
        m_used += m_item.unitsDay * DaysPerMonth;
        return m_bought - before;
    }
    double spent() const { return m_spent; }
    double used() const { return m_used; }

private:
    const TimelineItem& m_item;
    double m_inflation;
    double m_spent = 0;
    double m_used = 0;
    double m_price = 1;
    int m_bought = 0;
};

// The break-even month, found month by month: the first of the last run of months in
// which Item 2 has cost no more than Item 1.
class BreakEvenSearch {
public:
    void month(int month, double cost1, double cost2)
    {
        if (cost2 > cost1 + 1e-9)
            m_month.reset();
        else if (!m_month)
            m_month = month;
    }
    std::optional<int> result() const { return m_month; }

private:
    std::optional<int> m_month;
};

// At most a century of months, for a period that only the checks turned off allow.
int monthsOver(double years)
{
    const double wanted = 12 * years;
    return std::isfinite(wanted) && wanted > 0
               ? static_cast<int>(std::ceil(std::min(wanted, 1200.0) - 1e-9))
               : 0;
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
    const int months = monthsOver(years);
    Timeline timeline;
    for (std::vector<double>* figures :
         {&timeline.cost1, &timeline.cost2, &timeline.kwh1, &timeline.kwh2})
        figures->reserve(static_cast<std::size_t>(months));
    MonthByMonth first(one, inflation);
    MonthByMonth second(two, inflation);
    BreakEvenSearch breakEven;
    for (int month = 1; month <= months; ++month) {
        if (const int units = first.next(month))
            timeline.bought1.push_back({month, units});
        if (const int units = second.next(month))
            timeline.bought2.push_back({month, units});
        timeline.cost1.push_back(first.spent());
        timeline.cost2.push_back(second.spent());
        timeline.kwh1.push_back(first.used());
        timeline.kwh2.push_back(second.used());
        breakEven.month(month, first.spent(), second.spent());
    }
    timeline.breakEven = breakEven.result();
    return timeline;
}

std::optional<int> breakEvenMonth(const TimelineItem& one, const TimelineItem& two, double years,
                                  double inflation)
{
    const int months = monthsOver(years);
    MonthByMonth first(one, inflation);
    MonthByMonth second(two, inflation);
    BreakEvenSearch breakEven;
    for (int month = 1; month <= months; ++month) {
        first.next(month);
        second.next(month);
        breakEven.month(month, first.spent(), second.spent());
    }
    return breakEven.result();
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
