#pragma once

#include "app/program_folder.h"
#include "calc/form_context.h"
#include "settings.h"

namespace torvane {

// Reads Data\Torvane.ini, checks every value and puts them into the window's fields and
// check boxes, their change and click handlers running as for the user's edits. A missing
// or damaged file ends the program.
void ReadConfiguration(FormContext& context, ProgramFolder& folder, Settings& settings,
                       QString& configTranscript);

// The same on the lines of a file already read: for the batch tool, which reads its
// configuration once for every row.
void ReadConfigurationLines(FormContext& context, const QStringList& lines, Settings& settings,
                            QString& configTranscript);

} // namespace torvane
