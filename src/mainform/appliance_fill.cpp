#include "appliance_fill.h"

#include "engine/rules.h"

#include <algorithm>

namespace torvane {
namespace {

// The five item fields in the order of Appliance's figures.
struct ItemFields {
    TextBox &watts, &standby, &continuous, &life, &cost;
    QString& appliance;
};

ItemFields itemFields(MainForm& f, int item)
{
    if (item == 1)
        return {f.Item1Watts, f.Item1SWatts, f.Item1CWatts,
                f.Item1Life,  f.Item1Cost,   f.Item1Appliance};
    return {f.Item2Watts, f.Item2SWatts, f.Item2CWatts, f.Item2Life, f.Item2Cost, f.Item2Appliance};
}

// As the user would type it under the regional settings; nothing for zero.
void typeFigure(FormContext& context, TextBox& field, double value)
{
    field.type(value == 0 ? QString() : context.gen(value));
}

void typeHours(FormContext& context, double hoursDay, bool standby)
{
    MainForm& f = context.form;
    for (const TextBox* field : {&f.NormalHr, &f.NormalSHr, &f.CheapHr, &f.CheapSHr}) {
        if (!field->text().trimmed().isEmpty())
            return; // the user's own hours stand
    }
    // As the checks will round them, so that the day still adds up to 24 hours at most.
    hoursDay = roundToDecimals(hoursDay, Decimals::Hours);
    if (hoursDay <= 0)
        return;
    typeFigure(context, f.NormalHr, hoursDay);
    // The standby field takes at most 23.9 hours.
    if (standby && hoursDay < 24)
        typeFigure(context, f.NormalSHr,
                   std::min(roundToDecimals(24 - hoursDay, Decimals::Hours), 23.9));
}

} // namespace

Ownership defaultOwnership(int item)
{
    return item == 1 ? Ownership::Owned : Ownership::ToBuy;
}

void fillItemFromAppliance(FormContext& context, int item, const Appliance& appliance,
                           Ownership ownership)
{
    const ItemFields fields = itemFields(context.form, item);
    typeFigure(context, fields.watts, appliance.watts);
    typeFigure(context, fields.standby, appliance.standbyWatts);
    typeFigure(context, fields.continuous, appliance.continuousWatts);
    // Otherwise the appliance in use would be bought again in the first month.
    const bool owned = ownership == Ownership::Owned;
    typeFigure(context, fields.life, owned ? 0 : appliance.lifeHours);
    typeFigure(context, fields.cost, owned ? 0 : appliance.price);
    typeHours(context, appliance.hoursDay, appliance.standbyWatts > 0);
    // After the typing, which forgets the item's earlier appliance.
    fields.appliance = appliance.name;
}

void fillItemOnPower(FormContext& context, int item, double watts, double hoursPerDay)
{
    const ItemFields fields = itemFields(context.form, item);
    // The checks keep a wattage to a tenth of a watt, so more digits would not stand.
    typeFigure(context, fields.watts, roundToDecimals(watts, Decimals::Watts));
    fields.appliance.clear();
    typeHours(context, hoursPerDay, context.num(fields.standby) > 0);
}

} // namespace torvane
