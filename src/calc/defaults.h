#pragma once

#include "config/settings.h"
#include "core/program_folder.h"
#include "form_context.h"

namespace torvane {

// Reads Data\Torvane.ini, checks every value and puts them into the window's fields and
// check boxes, their change and click handlers running as for the user's edits. A missing
// or damaged file ends the program.
void ReadConfiguration(FormContext& context, ProgramFolder& folder, Settings& settings,
                       QString& configTranscript);

// The same on the lines of a file already read: the batch tool reads its file once.
void ReadConfigurationLines(FormContext& context, const QStringList& lines, Settings& settings,
                            QString& configTranscript);

} // namespace torvane
