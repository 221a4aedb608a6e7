#pragma once

#include "catalogue/appliance_catalogue.h"
#include "form_context.h"

namespace torvane {

// Whether an item is an appliance the household already has or one it would buy. One it
// has costs nothing to buy again until it wears out, so it takes no price and no life.
enum class Ownership { Owned, ToBuy };
// Item 1 is usually the appliance in use, Item 2 the one that might replace it.
Ownership defaultOwnership(int item);

// Puts a catalogue appliance into item 1 or 2 as if the user typed its figures: every
// change handler, the checks and the prompt to save run as for typed values. A zero
// figure leaves its field empty, and so does the life and price of an owned appliance.
// The item keeps the appliance's name until the user changes one of its powers.
// The hours go in only while all four hour fields are empty: hours on at the normal
// rate, and the rest of the day on standby when the appliance has a standby power.
void fillItemFromAppliance(FormContext& context, int item, const Appliance& appliance,
                           Ownership ownership);

// Puts only an on power (worked out from an energy label) into the item, to a tenth of a
// watt, and the hours as fillItemFromAppliance does.
void fillItemOnPower(FormContext& context, int item, double watts, double hoursPerDay);

} // namespace torvane
