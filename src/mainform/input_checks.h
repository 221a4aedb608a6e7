#pragma once

#include "engine/comparison.h"
#include "form_context.h"

namespace torvane {

// The input fields, each read once, as a calculation (or the saving of the tariff) starts.
TariffInputs readTariff(const MainForm& form, const Regional& regional);
ComparisonInputs readComparison(const MainForm& form, const Regional& regional);

// The window's checks (the rules are in engine/rules.h), in the order a calculation runs
// them: each broken rule appends its message and a line feed to MsgText. A field they
// rewrite has its input changed to the value its new text holds, worked out by rounding
// rather than by reading the text again.

// The tariff's ranges; a tariff that passes is rewritten in its fixed formats.
void checkTariff(FormContext& context, TariffInputs& tariff);
// Marks the items with nothing entered as blank, then checks the ranges of the hours and
// of each item that is not blank.
void checkRanges(FormContext& context, const ComparisonInputs& inputs);
// Rewrites the hours and item fields that were given in their fixed formats (the number
// of items in the general format), while no check has failed.
void normaliseInputFields(FormContext& context, ComparisonInputs& inputs);
// The rules that tie fields together: the day's hours, the cheap rate's hours, life and
// cost set together, Item 2's standby only with a wattage.
void checkCombinations(FormContext& context, const ComparisonInputs& inputs);

// The messages the checks collected, in one "Torvane Data Error" box.
void showDataErrors(FormContext& context);

} // namespace torvane
