#pragma once

#include "form_context.h"

namespace torvane {

// Empties the inputs whose value is zero (only while MsgText is empty).
void emptyZeroInputs(FormContext& context);
// Empties the outputs of blank items and the zero standby shares and hour totals.
void clearBlankItemResults(FormContext& context);
// Empties the results after a refused calculation or restored defaults.
void clearResults(FormContext& context);
// Empties the inputs of a new comparison; the tariff prices and options stay.
void clearInputs(FormContext& context);
// Empties the outputs.
void clearResultFields(FormContext& context);

} // namespace torvane
