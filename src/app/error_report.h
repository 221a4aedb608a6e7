#pragma once

#include "config/settings.h"
#include "core/regional.h"
#include "mainform/main_form.h"

namespace torvane {

// The dump of the program's visible state that a fatal error appends to the results log:
// its 28 entries, each ended by CR LF.
QString fatalErrorDump(const MainForm& form, const Settings& settings,
                       const QString& configTranscript, const QString& timeStamp,
                       const QString& title, qint16 step, const Regional& regional);

// The message shown before the program ends.
QString fatalErrorMessage(const QString& title, qint16 step);

} // namespace torvane
