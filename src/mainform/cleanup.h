#pragma once

#include "form_context.h"

namespace torvane {

// Empties the inputs whose value is zero (only while MsgText is empty).
void Cleanup(FormContext& context);
// Empties the outputs of blank items and the zero standby shares and hour totals.
void Cleanup1(FormContext& context);
// Empties the results after a refused calculation or restored defaults.
void Cleanup2(FormContext& context);
// Empties the inputs of a new comparison; the tariff prices and options stay.
void ClearData(FormContext& context);
// Empties the outputs.
void ClearOutput(FormContext& context);

} // namespace torvane
