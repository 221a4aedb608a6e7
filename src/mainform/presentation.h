#pragma once

#include "form_context.h"

namespace torvane {

// What renewing the currency symbol does to the money fields (the rates and item costs)
// and the kept money results: the old symbol taken off, the new one put on, both, or
// neither.
enum class SymbolOnMoney { Left, TakenOff, PutOn, Renewed };

// Renews CurrencySymbol from the regional settings, takes the old one off the money and
// puts the new one on as asked, and names the tax (VAT where the symbol is the pound or
// the euro).
void renewCurrencySymbol(FormContext& context, SymbolOnMoney money);

// Fills the nine result fields, their tooltips and the column captions for cost or
// electricity, per month or quarter, and colours a negative difference.
void showResults(FormContext& context);

// The KWHr/Cost button: the results in the other of cost and electricity.
void switchCostAndElectricity(FormContext& context);
// Units: CO2 in kilograms or pounds, in the captions and tooltips.
void switchCo2Units(FormContext& context);

} // namespace torvane
