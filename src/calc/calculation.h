#pragma once

#include "form_context.h"

namespace torvane {

// What becomes of the record at the end of a calculation: the window composes it,
// compares it with the last one and saves it or offers it for saving; a batch run that
// writes only the figures wants none.
enum class RecordUse { Compose, None };

// The Calculate button: checks the inputs, works out both items and their differences,
// shows them, composes the record and saves it or offers it for saving.
void Calc(FormContext& context, RecordUse record = RecordUse::Compose);

} // namespace torvane
