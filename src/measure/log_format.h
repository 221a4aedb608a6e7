#pragma once

#include <QString>

#include <string_view>

namespace torvane {

enum class LogKind {
    Power,   // a power reading at each time
    Energy,  // a counter of the energy used so far
    History, // a home-automation system's state changes: entity_id, state, last_changed
};

// Where a log keeps its times and readings, as its header (or, lacking one, its first row)
// tells.
struct LogFormat {
    LogKind kind = LogKind::Power;
    char separator = ',';
    bool header = true;
    int timeColumn = 0;
    int valueColumn = 1;
    int entityColumn = -1; // a history's entity_id
    int columns = 2;       // in the header (or, lacking one, the first row)
    QString timeName;      // the columns as the header names them
    QString valueName;
    QString unit; // W, kW, Wh or kWh
    // Watts in a unit of power, or watt-hours in a unit of energy.
    double scale = 1;

    int columnsNeeded() const { return std::max({timeColumn, valueColumn, entityColumn}) + 1; }
};

// What a column's or a history entity's name says its numbers are.
enum class NamedFor { Other, Power, Energy };
NamedFor namedFor(std::string_view name);

// The separator a header line uses: a tab, else ";" when it has as many as ",", else ",".
char detectSeparator(std::string_view line);
// The line's fields, apart by the separator; a field in double quotes loses them and may hold
// the separator. At most `most` fields are split off: the last holds the rest of the line.
// The number of fields placed in `fields`.
int splitFields(std::string_view line, char separator, std::string_view* fields, int most);

// How many fields the line has, a separator in double quotes not counted.
int countFields(std::string_view line, char separator);

// The format of a log whose first line is given: its columns found by name, or, when no
// column is named, a time and a power in watts in the first two. Empty, or why the log
// cannot be used.
QString detectLogFormat(std::string_view firstLine, LogFormat& format);

// Bytes of the log as a message may show them: UTF-8, a control character (a line break in
// quotes) as U+FFFD.
QString visibleText(std::string_view bytes);

// A number written with a full stop or a decimal comma; false unless the whole field is one.
bool parseReadingNumber(std::string_view text, double& value, bool& decimalComma);

} // namespace torvane
