#pragma once

#include "calc/form_context.h"

namespace torvane {

// Composes the fixed-layout record of the calculation just made into RecordText, and
// the log entry (time stamp, record, empty line) into PendingLogText. Writes nothing.
void ComposeResultRecord(FormContext& context);

} // namespace torvane
