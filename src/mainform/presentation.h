#pragma once

#include "form_context.h"

namespace torvane {

// Takes the currency symbol off the money fields and results (Strip, with the symbol of
// the previous call), renews CurrencySymbol, puts it on again (Add) and names the tax.
void CurrencyManagement(FormContext& context, bool add, bool strip);

// Fills the nine result fields, their tooltips and the column captions for cost or
// electricity, per month or quarter, and colours a negative difference.
void OutputDisplay(FormContext& context);

void OutputTypeClick(FormContext& context);
void Units1Click(FormContext& context);

} // namespace torvane
