#pragma once

#include "comparison.h"
#include "core/regional.h"

#include <QDate>

#include <optional>
#include <vector>

// Cost over time: month by month over the payback period, what each item has cost so far,
// running cost at each year's prices and the units bought, and the month from which the
// replacement has cost no more than the appliance in use.
namespace torvane {

// One item as the model needs it, from the calculation's inputs and figures.
struct TimelineItem {
    double runningDay = 0; // running cost a day with tax, at today's prices, no purchases
    double unitsDay = 0;   // kWh a day
    double hoursDay = 0;   // hours on a day
    double life = 0;       // hours; none when 0
    double price = 0;      // of one unit
    int units = 0;         // bought over the period, the first at the start
};

// An item as its calculation left it: the running cost and kWh of its figures, the life and
// price entered, and the units it needs (as many as entered when no life is given).
TimelineItem timelineItem(const ItemInputs& inputs, const ItemFigures& figures, double hoursDay);

// Units bought at the start of a month.
struct Purchase {
    int month = 0;
    int units = 0;
    friend bool operator==(const Purchase&, const Purchase&) = default;
};

struct Timeline {
    // Month by month, from the first: what each item has cost and used so far.
    std::vector<double> cost1, cost2;
    std::vector<double> kwh1, kwh2;
    // The units bought, month by month.
    std::vector<Purchase> bought1, bought2;
    // The first month from which Item 2 has cost no more than Item 1 to the end.
    std::optional<int> breakEven;
};

// What a calculation of both items leaves for its chart: the items, the period, inflation
// as a rate, and what turns kWh into CO2.
struct CostOverTime {
    TimelineItem item1, item2;
    double years = 0;
    double inflation = 0;
    double co2Rate = 0; // per kWh, in co2Unit
    QString co2Unit;    // "Kg" or "lb", as the window shows CO2
};

// The model over ceil(12 x years) months. A month of year y costs the running cost of a
// day x 365 / 12 x (1 + inflation)^y; unit k is bought in the first month by whose
// start the hours used reach (k - 1) x the life.
Timeline costTimeline(const TimelineItem& one, const TimelineItem& two, double years,
                      double inflation);

// The break-even month alone, worked out as the model works it out, without keeping the
// months.
std::optional<int> breakEvenMonth(const TimelineItem& one, const TimelineItem& two, double years,
                                  double inflation);

// What the break-even month means, its months counted from today: "Item 2 pays for itself
// after 19 months (July 2028)", or "Item 2 does not pay for itself within 4.0 years".
QString breakEvenSentence(const Timeline& timeline, double years, const QDate& today,
                          const Regional& regional);

} // namespace torvane
