#pragma once

#include "form_context.h"

#include <functional>

namespace torvane {

void toggleKeptTariff(FormContext& context);
void clearComparison(FormContext& context);
void savePendingResult(FormContext& context);
void applyAutoSave(FormContext& context);
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
