#include "rules.h"

#include "check_messages.h"

#include <array>

namespace torvane {
namespace {

// One range rule over a field of Fields. An optional field may be empty; a field that
// allows zero passes at exactly 0 whatever its bounds; a required field fails when its
// text is not a number. A numbered message takes the item's number for "%1".
template <typename Fields> struct RangeRule {
    Reading Fields::*field;
    bool required;
    bool zeroAllowed;
    Range range;
    const char* message;
    bool numbered = false;
};

void addMessage(const char* text, int item, QString& messages)
{
    const QString message = QString::fromLatin1(text);
    messages += item ? message.arg(item) : message;
    messages += QLatin1Char('\n');
}

// Every rule of every row is applied, and nearly all pass: the rules are tables made once,
// and the check is kept apart from the message, so that it is worked out in place.
template <typename Fields, std::size_t N>
void apply(const Fields& fields, const std::array<RangeRule<Fields>, N>& rules, int item,
           QString& messages)
{
    for (const RangeRule<Fields>& rule : rules) {
        const Reading& field = fields.*rule.field;
        const bool malformed =
            rule.required ? !field.numeric() : (!field.empty && !field.numeric());
        const bool outside = field.value < rule.range.low || field.value > rule.range.high;
        if (malformed || (rule.zeroAllowed ? field.value != 0 && outside : outside))
            addMessage(rule.message, rule.numbered ? item : 0, messages);
    }
}

constexpr std::array<RangeRule<TariffInputs>, 6> TariffRules{{
    {&TariffInputs::CheapR, false, true, Ranges::Rate, messages::CheapRate},
    {&TariffInputs::NormalR, true, false, Ranges::Rate, messages::NormalRate},
    {&TariffInputs::PayPeriod, true, false, Ranges::PayPeriod, messages::PaybackPeriod},
    {&TariffInputs::VAT, false, true, Ranges::Vat, messages::VatRate},
    {&TariffInputs::CO2, true, false, Ranges::Co2, messages::Co2Rate},
    {&TariffInputs::AnInfT, false, false, Ranges::Inflation, messages::InflationRate},
}};

constexpr std::array<RangeRule<HourInputs>, 4> HourRules{{
    {&HourInputs::NormalHr, false, false, Ranges::NormalHours, messages::NormalHours},
    {&HourInputs::CheapHr, false, false, Ranges::CheapHours, messages::CheapHours},
    {&HourInputs::NormalSHr, false, false, Ranges::NormalStandbyHours,
     messages::NormalStandbyHours},
    {&HourInputs::CheapSHr, false, false, Ranges::CheapStandbyHours, messages::CheapStandbyHours},
}};

// An item's rules; only the wattage's message names the item in its text.
constexpr std::array<RangeRule<ItemInputs>, 5> itemRuleTable(const char* wattage)
{
    using namespace messages;
    return {{
        {&ItemInputs::Life, false, true, Ranges::Life, ItemLife, true},
        {&ItemInputs::Watts, false, false, Ranges::Watts, wattage},
        {&ItemInputs::SWatts, false, false, Ranges::StandbyWatts, ItemStandbyWattage, true},
        {&ItemInputs::CWatts, false, false, Ranges::StandbyWatts, ItemContinuousWattage, true},
        {&ItemInputs::Cost, false, true, Ranges::Cost, ItemCost, true},
    }};
}
constexpr auto Item1Rules = itemRuleTable(messages::Item1Wattage);
constexpr auto Item2Rules = itemRuleTable(messages::Item2Wattage);

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
    apply(t, TariffRules, 0, messages);
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
    apply(h, HourRules, 0, messages);
}

void itemRules(int item, const ItemInputs& fields, QString& messages)
{
    apply(fields, item == 1 ? Item1Rules : Item2Rules, item, messages);
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
