#pragma once

#include "measure/measured_use.h"

#include <QString>
#include <QStringList>

namespace torvane {

// torvane-calc's exit statuses: a fatal row outweighs a refused one, and unusable
// arguments, input or output outweigh both.
enum BatchStatus { AllCalculated = 0, SomeRefused = 1, Unusable = 2, SomeFailed = 3 };

// Written before the help, and after every refusal of the arguments.
inline constexpr char BatchUsage[] =
    "usage: torvane-calc [--format record|csv|timeline] [--settings INI] [FILE]\n"
    "       torvane-calc --measure FILE [--cheap-hours HH:MM-HH:MM] [--off-below W]\n"
    "                    [--standby-below W] [--max-gap MINUTES]\n";

// What a run of torvane-calc was asked to do.
struct BatchOptions {
    enum class Format { Record, Csv, Timeline } format = Format::Record;
    QString file;     // empty: standard input
    QString settings; // a configuration file to start every window from
    QString measure;  // a log of an appliance's power: its use is worked out instead
    MeasureOptions measureOptions;
};

// The command line read: options to run with, a question (--help, --version) already
// answered on standard output, or arguments refused.
struct ParsedArguments {
    enum class Outcome { Run, Answered, Refused } outcome = Outcome::Run;
    BatchOptions options;       // for Run
    int status = AllCalculated; // for Answered: Unusable when the answer could not be written
    QString refusal;            // for Refused: why, for standard error before the usage
};

// The arguments as given to main, the program's name first.
ParsedArguments parseArguments(const QStringList& arguments);

} // namespace torvane
