#pragma once

#include "engine/comparison.h"
#include "form_context.h"

namespace torvane {

// The input fields, each read once, as a calculation (or the saving of the tariff) starts.
TariffInputs readTariff(const MainForm& form, const Regional& regional);
ComparisonInputs readComparison(const MainForm& form, const Regional& regional);

// The window's checks (the rules are in rules.h): each broken rule appends its message
// and a line feed to MsgText. A field they rewrite has its input changed to the value its
// new text holds, worked out by rounding rather than by reading the text again.
void checkTariff(FormContext& context, TariffInputs& tariff); // rewrites the tariff when it passed
void checkRanges(FormContext& context, const ComparisonInputs& inputs); // blank items, hours, items
void normaliseInputFields(FormContext& context,
                          ComparisonInputs& inputs); // normalises hours and items
void checkCombinations(FormContext& context, const ComparisonInputs& inputs); // combinations

// The messages the checks collected, in one "Torvane Data Error" box.
void showDataErrors(FormContext& context);

} // namespace torvane
