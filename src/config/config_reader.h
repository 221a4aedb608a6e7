#pragma once

#include "core/regional.h"
#include "settings.h"

#include <QStringList>

namespace torvane {

// "Torvane Configuration", CR LF and its underline: where every transcript starts.
QString configTranscriptHead();

// Reads the lines of a configuration file into the settings: each key line stores its
// value (the number its text begins with), and the transcript gains every line that is
// neither a comment nor empty, trimmed. Returns whether each key occurred once with an
// accepted value and "[Run]" once; an accepted file is then decoded (a log level of 3
// is 2, the cheap rate's offset taken off). A value beyond every range is kept as out of
// range; only one beyond the 16-bit on-top member is a run-time error. step marks the stage
// reached, for the fatal-error report.
namespace ConfigReadStep {
inline constexpr qint16 ReadingLines = 192;
inline constexpr qint16 CheckingValues = 193;
inline constexpr qint16 Checked = 194;
} // namespace ConfigReadStep
bool readConfiguration(const QStringList& lines, const Regional& regional, Settings& settings,
                       QString& transcript, qint16& step);

} // namespace torvane
