#include "timeline.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

constexpr double DaysPerMonth = 365.0 / 12;

// A century of months at most, for a period that only the checks turned off allow.
constexpr int MostMonths = 1200;
constexpr int AfterLastMonth = MostMonths + 1;

// The lives of the units used up by the start of the month: unit k (from 0) is due once
// they reach k. Never fewer in a later month while the hours a day are positive.
double livesBy(const TimelineItem& item, int month)
{
    const double hoursSoFar = (month - 1) * 365 * item.hoursDay / 12;
    return hoursSoFar / item.life;
}

// The first month from this one in which a unit can be due: from where the hours reach the
// next life, settled on the months either side; none once every unit is bought. Where the
// lives do not grow steadily, every month is looked at.
int firstDueMonth(const TimelineItem& item, int from, int bought)
{
    if (bought >= item.units)
        return AfterLastMonth;
    const double yearHours = 365 * item.hoursDay;
    if (!(item.life > 0 && yearHours > 0 && std::isfinite(item.life * yearHours)))
        return from;
    const double estimate = 1 + bought * item.life * 12 / yearHours;
    int month = std::clamp(static_cast<int>(std::min(estimate, 1e6)), from, AfterLastMonth);
    while (month > from && livesBy(item, month - 1) >= bought)
        --month;
    while (month < AfterLastMonth && livesBy(item, month) < bought)
        ++month;
    return month;
}

struct UnitsDue {
    int bought;    // by the end of the month
    int nextMonth; // the first month after it in which a unit can be due
};

// The units bought by the start of the month, and when more can be due. Out of line and
// apart from the month by month's state, which then stays in registers: few months buy.
[[gnu::noinline]] UnitsDue unitsDue(const TimelineItem& item, int month, int bought)
{
    // Below as many lives as units bought, none is due; without a life all at once.
    if (item.life <= 0 || livesBy(item, month) >= bought) {
        const double due = item.life > 0 ? std::floor(livesBy(item, month)) + 1 : item.units;
        bought = std::max(bought, static_cast<int>(std::min<double>(due, item.units)));
    }
    return {bought, firstDueMonth(item, month + 1, bought)};
}

// What an item has cost and used by the end of each month, one month after another.
class MonthByMonth {
public:
    MonthByMonth(const TimelineItem& item, double inflation)
        : m_item(item)
        , m_inflation(inflation)
        , m_runningMonth(item.runningDay * DaysPerMonth)
        , m_unitsMonth(item.unitsDay * DaysPerMonth)
    {}

    // Goes on to the end of the month, the first of a year at that year's prices; returns
    // the units bought at its start.
    int next(int month, bool newYear)
    {
        if (newYear) {
            m_price *= 1 + m_inflation;
            m_monthCost = m_runningMonth * m_price;
        }
        const int before = m_bought;
        if (month >= m_firstDueMonth) {
            const UnitsDue due = unitsDue(m_item, month, m_bought);
            m_bought = due.bought;
            m_firstDueMonth = due.nextMonth;
        }
        if (m_bought > before)
            m_spent += (m_bought - before) * m_item.price;
        m_spent += m_monthCost;
        m_used += m_unitsMonth;
        return m_bought - before;
    }
    double spent() const { return m_spent; }
    double used() const { return m_used; }

private:
    const TimelineItem& m_item;
    double m_inflation;
    double m_runningMonth; // a month's running cost at today's prices
    double m_unitsMonth;
    double m_monthCost = 0; // at this year's prices
    double m_spent = 0;
    double m_used = 0;
    double m_price = 1;
    int m_bought = 0;
    int m_firstDueMonth = 1;
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

// Calls visit(month, newYear) for each month from the first, newYear on the first month of
// each year: counted year by year, which spares a division every month.
template <typename Visit> void eachMonth(int months, Visit visit)
{
    for (int first = 1; first <= months; first += 12) {
        visit(first, true);
        const int last = std::min(first + 11, months);
        for (int month = first + 1; month <= last; ++month)
            visit(month, false);
    }
}

int monthsOver(double years)
{
    const double wanted = 12 * years;
    return std::isfinite(wanted) && wanted > 0
               ? static_cast<int>(std::ceil(std::min(wanted, double{MostMonths}) - 1e-9))
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
    eachMonth(months, [&](int month, bool newYear) {
        if (const int units = first.next(month, newYear))
            timeline.bought1.push_back({month, units});
        if (const int units = second.next(month, newYear))
            timeline.bought2.push_back({month, units});
        timeline.cost1.push_back(first.spent());
        timeline.cost2.push_back(second.spent());
        timeline.kwh1.push_back(first.used());
        timeline.kwh2.push_back(second.used());
        breakEven.month(month, first.spent(), second.spent());
    });
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
    eachMonth(months, [&](int month, bool newYear) {
        first.next(month, newYear);
        second.next(month, newYear);
        breakEven.month(month, first.spent(), second.spent());
    });
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
