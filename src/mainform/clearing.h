#pragma once

#include "form_context.h"

namespace torvane {

// Empties the inputs whose value is zero (only while MsgText is empty).
void emptyZeroInputs(FormContext& context);
// Empties the outputs of blank items and the zero standby shares and hour totals.
void clearBlankItemResults(FormContext& context);
// Empties both items' results and their differences, the fields and the kept texts,
// after a refused calculation or restored defaults.
void clearResults(FormContext& context);
// Empties the inputs of a new comparison and releases a kept tariff; the tariff's prices
// and the options stay.
void clearInputs(FormContext& context);
// Empties the result fields and forgets the chart and Item 1's hours; the kept result
// texts stay.
void clearResultFields(FormContext& context);

} // namespace torvane
