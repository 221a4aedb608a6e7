#pragma once

#include "form_context.h"

namespace torvane {

// The Calculate button: checks the inputs, works out both items and their differences,
// shows them, composes the record and saves it or offers it for saving.
void calculateComparison(FormContext& context);

// The Chart button is there while the window shows a calculated result for both items.
void updateChartButton(MainForm& form);

} // namespace torvane
