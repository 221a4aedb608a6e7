#pragma once

#include "settings.h"

#include "core/regional.h"

#include <QDateTime>
#include <QString>

namespace torvane {

// The text of a configuration file that keeps these settings, saved at that moment: the
// comment header (its date in the language's month names), "[Run]" and the eleven key
// lines, each ended by CR LF, the last included. Each member holds the value its key line
// gets, as the file keeps it (the cheap rate in hundredths plus 101, for example). Numbers
// are written with a full stop whatever the language: the reader takes it under every one.
QString configurationText(const Settings& settings, const Regional& regional,
                          const QDateTime& savedAt);

} // namespace torvane
