#pragma once

#include "form_context.h"

#include <functional>

namespace torvane {

// The buttons and check boxes of the comparison.
// Keep 1: keeps the tariff and Item 1's figures (the tariff locked, the hours marked), or
// releases them.
void toggleKeptTariff(FormContext& context);
// Clear: empties the inputs and the results of the comparison.
void clearComparison(FormContext& context);
// Save: appends the calculation waiting to be saved to the results log, once.
void savePendingResult(FormContext& context);
// AutoSave: calculations are saved as they are made, or offered for saving.
void applyAutoSave(FormContext& context);
// Months: the results per month or per quarter (emptied until the next calculation).
void switchMonthsAndQuarters(FormContext& context);
// Change handlers of the savable electricity data (the tariff fields and UpEnable1).
void markElectricityDataChanged(FormContext& context);

// Wires the comparison's event handlers to the form's controls.
void connectComparisonHandlers(FormContext& context);

// What loading does to the comparison part of a fresh window: symbols, the defaults (when
// readDefaults is given, at the point where loading reads them), empty inputs and
// outputs, cost output, no pending edits.
void prepareFreshForm(FormContext& context, const std::function<void()>& readDefaults = {});

// The last stage of loading: no negative differences or blank items, empty inputs and
// outputs, cost output, and from here on the user's edits count as such.
void finishLoading(FormContext& context);

} // namespace torvane
