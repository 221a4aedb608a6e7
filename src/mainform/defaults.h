#pragma once

#include "config/settings.h"
#include "core/program_folder.h"
#include "form_context.h"

namespace torvane {

// Reads Data\Torvane.ini, checks every value and puts them into the window's fields and
// check boxes, their change and click handlers running as for the user's edits. A missing
// or damaged file ends the program.
void loadDefaults(FormContext& context, ProgramFolder& folder, Settings& settings,
                  QString& configTranscript);

// The same from a configuration file elsewhere, as the batch tool names one.
void loadDefaultsFromFile(FormContext& context, const QString& path, Settings& settings,
                          QString& configTranscript);
// The same from the lines of a configuration file, as the batch tool keeps the shipped one.
void loadDefaultsFromLines(FormContext& context, const QStringList& lines, Settings& settings,
                           QString& configTranscript);

// Save_Defaults: checks the tariff and writes it, with the options, as the new
// configuration file. Nothing is written unless every check passes, also under the test
// switch that lets calculations through unchecked, so the file always reads back.
void saveDefaults(FormContext& context, ProgramFolder& folder);

// Reset_Defaults: the configuration file read again into the tariff and the options.
void restoreDefaults(FormContext& context, ProgramFolder& folder, Settings& settings,
                     QString& configTranscript);

} // namespace torvane
