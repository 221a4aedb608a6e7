#pragma once

#include "settings.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace torvane {

// The text of a configuration file that keeps these settings, saved at that moment: the
// comment header (its date in the language's month names), "[Run]" and the eleven key
// lines, each ended by CR LF, the last included. The members hold what the file keeps: the cheap
// rate plus 101 from 101 up. Numbers are written with a full stop whatever the language, the one
// decimal point the reader takes under every language.
QString configurationText(const Settings& settings, const QLocale& locale,
                          const QDateTime& savedAt);

} // namespace torvane
