#include "rules.h"

#include "check_messages.h"

namespace torvane {
namespace {

// One range rule. An optional field may be empty; a field that allows zero passes at
// exactly 0 whatever its bounds; a required field fails when its text is not a number.
struct RangeRule {
    const Reading& field;
    bool required;
    bool zeroAllowed;
    Range range;
    const char* message;
    int item = 0; // the item number that "%1" in the message stands for
};

void addMessage(const RangeRule& rule, QString& messages)
{
    const QString message = QString::fromLatin1(rule.message);
    messages += rule.item ? message.arg(rule.item) : message;
    messages += QLatin1Char('\n');
}

// Every rule of every row is applied, and nearly all pass: the check is kept apart from
// the message, so that it is worked out in place.
inline void apply(const RangeRule& rule, QString& messages)
{
    const Reading& field = rule.field;
    const bool malformed = rule.required ? !field.numeric() : (!field.empty && !field.numeric());
    const bool outside = field.value < rule.range.low || field.value > rule.range.high;
    if (malformed || (rule.zeroAllowed ? field.value != 0 && outside : outside))
        addMessage(rule, messages);
}

void add(QString& messages, const QString& message)
{
    messages += message;
    messages += QLatin1Char('\n');
}

void normalise(Reading& field, int decimals)
{
    field = field.rounded(decimals);
}

void normaliseGiven(Reading& field, int decimals)
{
    if (!field.empty)
        normalise(field, decimals);
}

} // namespace

void tariffRules(const TariffInputs& t, QString& messages)
{
    using namespace messages;
    for (const RangeRule& rule : {
             RangeRule{t.CheapR, false, true, Ranges::Rate, CheapRate},
             RangeRule{t.NormalR, true, false, Ranges::Rate, NormalRate},
             RangeRule{t.PayPeriod, true, false, Ranges::PayPeriod, PaybackPeriod},
             RangeRule{t.VAT, false, true, Ranges::Vat, VatRate},
             RangeRule{t.CO2, true, false, Ranges::Co2, Co2Rate},
             RangeRule{t.AnInfT, false, false, Ranges::Inflation, InflationRate},
         }) {
        apply(rule, messages);
    }
}

bool isBlank(const ItemInputs& item)
{
    // Life + 1 + Watts + SWatts + CWatts + Cost, added in this order, equal to 1.
    double sum = item.Life.value;
    for (double term :
         {1.0, item.Watts.value, item.SWatts.value, item.CWatts.value, item.Cost.value})
        sum += term;
    return sum == 1.0;
}

void hourRules(const HourInputs& h, QString& messages)
{
    using namespace messages;
    for (const RangeRule& rule : {
             RangeRule{h.NormalHr, false, false, Ranges::NormalHours, NormalHours},
             RangeRule{h.CheapHr, false, false, Ranges::CheapHours, CheapHours},
             RangeRule{h.NormalSHr, false, false, Ranges::NormalStandbyHours, NormalStandbyHours},
             RangeRule{h.CheapSHr, false, false, Ranges::CheapStandbyHours, CheapStandbyHours},
         }) {
        apply(rule, messages);
    }
}

void itemRules(int item, const ItemInputs& fields, QString& messages)
{
    using namespace messages;
    for (const RangeRule& rule : {
             RangeRule{fields.Life, false, true, Ranges::Life, ItemLife, item},
             RangeRule{fields.Watts, false, false, Ranges::Watts,
                       item == 1 ? Item1Wattage : Item2Wattage},
             RangeRule{fields.SWatts, false, false, Ranges::StandbyWatts, ItemStandbyWattage, item},
             RangeRule{fields.CWatts, false, false, Ranges::StandbyWatts, ItemContinuousWattage,
                       item},
             RangeRule{fields.Cost, false, true, Ranges::Cost, ItemCost, item},
         }) {
        apply(rule, messages);
    }
}

void combinationRules(const ComparisonInputs& in, bool item1Blank, bool item2Blank,
                      QString& messages)
{
    const double normalHr = in.hours.NormalHr.value;
    const double cheapHr = in.hours.CheapHr.value;
    const double normalSHr = in.hours.NormalSHr.value;
    const double cheapSHr = in.hours.CheapSHr.value;
    const double cheapRate = in.tariff.CheapR.value;
    const auto rule = [&](bool fails, const char* message) {
        if (fails)
            add(messages, QString::fromLatin1(message));
    };
    // Exactly one of life and cost set.
    const auto lifeWithoutCost = [](const ItemInputs& item) {
        return (item.Life.value == 0) != (item.Cost.value == 0);
    };
    using namespace messages;
    rule(normalHr + cheapHr > 24, DailyHours);
    rule(cheapHr + cheapSHr > 8, CheapDayHours);
    rule(normalHr + cheapHr + normalSHr + cheapSHr > 24 && normalSHr + cheapSHr != 0, AllDayHours);
    rule(normalHr == 0 && cheapHr == 0, NoHours);
    rule(cheapRate == 0 && cheapHr != 0, CheapHoursWithoutRate);
    rule(cheapRate == 0 && cheapSHr > 0, CheapStandbyWithoutRate);
    if (!item1Blank && lifeWithoutCost(in.item1))
        add(messages, QString::fromLatin1(LifeAndCost).arg(1));
    if (!item2Blank) {
        if (lifeWithoutCost(in.item2))
            add(messages, QString::fromLatin1(LifeAndCost).arg(2));
        rule(in.item2.Watts.value == 0 && in.item2.SWatts.value > 0, Item2StandbyWithoutWattage);
    }
}

void normaliseTariff(TariffInputs& t)
{
    normalise(t.CheapR, Decimals::Rate);
    normalise(t.NormalR, Decimals::Rate);
    normalise(t.PayPeriod, Decimals::PayPeriod);
    normalise(t.VAT, Decimals::Vat);
    normalise(t.CO2, Decimals::Co2);
    normalise(t.AnInfT, Decimals::Inflation);
}

void normaliseHoursAndItems(ComparisonInputs& in)
{
    for (Reading* count : {&in.item1.No, &in.item2.No}) {
        if (!count->empty)
            *count = Reading::general(count->value);
    }
    for (Reading* hours :
         {&in.hours.NormalHr, &in.hours.CheapHr, &in.hours.NormalSHr, &in.hours.CheapSHr})
        normaliseGiven(*hours, Decimals::Hours);
    for (ItemInputs* item : {&in.item1, &in.item2}) {
        normaliseGiven(item->Life, Decimals::Life);
        normaliseGiven(item->Watts, Decimals::Watts);
        normaliseGiven(item->SWatts, Decimals::Watts);
        normaliseGiven(item->CWatts, Decimals::Watts);
        normaliseGiven(item->Cost, Decimals::Cost);
    }
}

} // namespace torvane
