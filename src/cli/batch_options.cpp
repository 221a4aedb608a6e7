#include "batch_options.h"

#include "core/version.h"

#include <QCommandLineParser>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

const char Help[] =
    "Compares the running cost of two appliances for each row of a CSV file (standard\n"
    "input when no FILE or - is given), as the Torvane window does on Calculate.\n"
    "\n"
    "  --format record    each row's result record, as the results log keeps it (default)\n"
    "  --format csv       each row's status, messages and figures as a CSV line\n"
    "  --format timeline  each calculated row's costs and kWh so far, a CSV line a month\n"
    "  --settings INI     start every row from this configuration file instead of the\n"
    "                     one Torvane is installed with\n"
    "  --help             show this help and end\n"
    "  --version          show the version and end\n"
    "\n"
    "The first line names the columns, in any order; a field no column names keeps what\n"
    "a freshly installed window holds (the tariff of the shipped defaults):\n"
    "\n"
    "  Notes                      what is compared, for the record\n"
    "  NormalR, CheapR            the normal and the cheap rate per kWh\n"
    "  NormalHr, NormalSHr        hours a day on, and on standby, at the normal rate\n"
    "  CheapHr, CheapSHr          hours a day on, and on standby, at the cheap rate\n"
    "  PayPeriod                  the payback period in years, 1 to 10\n"
    "  VAT, AnInfT                VAT or sales tax, and inflation a year, in %\n"
    "  CO2                        CO2 per kWh, in kg (lb with Units1)\n"
    "  Item1Watts, Item1SWatts    item 1's power on, and on standby, in W\n"
    "  Item1CWatts                item 1's continuous standby power, in W\n"
    "  Item1Life, Item1Cost       item 1's life in hours and its price (both or neither)\n"
    "  Item2Watts ... Item2Cost   the same for item 2\n"
    "  MonthlyT, Units1           1: costs a month, not a quarter; 1: CO2 in lb\n"
    "\n"
    "With --measure, works out an item's hours a day on and on standby and its powers\n"
    "from a smart plug's or meter's log (a power log, an energy counter or a state\n"
    "history, in CSV) and writes them as a CSV row; what it read and chose goes to\n"
    "standard error.\n"
    "\n"
    "  --measure FILE             the log to read (- for standard input)\n"
    "  --cheap-hours HH:MM-HH:MM  the cheap-rate hours on the local clock (default none)\n"
    "  --off-below W              off below this power (default 0.5)\n"
    "  --standby-below W          standby below this power (default: found in the log)\n"
    "  --max-gap MINUTES          a reading held longer is unknown time (default 60;\n"
    "                             none for a state history)\n"
    "\n"
    "Exit status: 0 every row calculated, 1 a row refused, 2 unusable arguments, input\n"
    "or output, 3 a row met a fatal error. See torvane-calc(1).\n";

// The options torvane-calc knows, and the parser that reads them.
struct CommandLine {
    QCommandLineParser parser;
    const QCommandLineOption format{u"format"_s, QString(), u"format"_s};
    const QCommandLineOption settings{u"settings"_s, QString(), u"INI"_s};
    const QCommandLineOption measure{u"measure"_s, QString(), u"FILE"_s};
    const QCommandLineOption cheapHours{u"cheap-hours"_s, QString(), u"HH:MM-HH:MM"_s};
    const QCommandLineOption offBelow{u"off-below"_s, QString(), u"W"_s};
    const QCommandLineOption standbyBelow{u"standby-below"_s, QString(), u"W"_s};
    const QCommandLineOption maxGap{u"max-gap"_s, QString(), u"MINUTES"_s};
    const QCommandLineOption help{QStringList{u"h"_s, u"help"_s}};
    const QCommandLineOption version{u"version"_s};
    // The options that take a value, and what is told when one is given without it.
    const std::pair<const QCommandLineOption&, QString> needsValue[7] = {
        {format, u"--format needs a value: record, csv or timeline"_s},
        {settings, u"--settings needs a configuration file"_s},
        {measure, u"--measure needs a log file"_s},
        {cheapHours, u"--cheap-hours needs the hours, HH:MM-HH:MM"_s},
        {offBelow, u"--off-below needs a power in watts"_s},
        {standbyBelow, u"--standby-below needs a power in watts"_s},
        {maxGap, u"--max-gap needs a number of minutes"_s}};

    CommandLine()
    {
        parser.addOptions(
            {format, settings, measure, cheapHours, offBelow, standbyBelow, maxGap, help, version});
        parser.addPositionalArgument(u"FILE"_s, QString());
    }
};

ParsedArguments refused(const QString& why)
{
    ParsedArguments parsed;
    parsed.outcome = ParsedArguments::Outcome::Refused;
    parsed.refusal = why;
    return parsed;
}

// An option that ends the line has no value to take; the parser would say so in words of
// its own.
QString valueMissingAtTheEnd(const CommandLine& line, const QStringList& arguments)
{
    for (const auto& [option, message] : line.needsValue) {
        if (arguments.size() > 1 && arguments.last() == u"--"_s + option.names().first())
            return message;
    }
    return QString();
}

// An unknown option named as it was written: "--name" without its value, or the whole
// "-abc" that holds an unknown letter. Otherwise the parser's own words.
QString whyNotParsed(const CommandLine& line, const QStringList& arguments)
{
    const QString unknown = line.parser.unknownOptionNames().value(0);
    for (const QString& argument : arguments.mid(1)) {
        if (argument == u"--"_s)
            break;
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        const bool named = name.startsWith(u"--"_s)
                               ? name.mid(2) == unknown
                               : name.size() > 1 && name.startsWith(QLatin1Char('-')) &&
                                     unknown.size() == 1 && name.contains(unknown);
        if (named && !unknown.isEmpty())
            return u"unknown option %1"_s.arg(name);
    }
    return line.parser.errorText();
}

// The help or the version on standard output; the status says whether it got there.
ParsedArguments answered(bool help)
{
    if (help) {
        std::fputs(BatchUsage, stdout);
        std::fputs(Help, stdout);
    } else {
        std::printf("torvane-calc %s\n", qPrintable(versionText()));
    }
    ParsedArguments parsed;
    parsed.outcome = ParsedArguments::Outcome::Answered;
    parsed.status = std::fflush(stdout) == 0 ? AllCalculated : Unusable;
    return parsed;
}

// A number given with a full stop, from `least` up (above it when `above`).
std::optional<double> numberOption(const QString& text, double least, bool above)
{
    const QByteArray bytes = text.toLatin1();
    double value = 0;
    const auto [end, error] = std::from_chars(bytes.begin(), bytes.end(), value);
    if (error != std::errc() || end != bytes.end() || !std::isfinite(value) || value < least ||
        (above && value == least))
        return std::nullopt;
    return value;
}

// --measure and the options that go with it, or why they cannot be used.
QString measureOptions(const CommandLine& line, BatchOptions& options)
{
    const QCommandLineParser& parser = line.parser;
    options.measure = parser.value(line.measure);
    if (parser.isSet(line.format) || parser.isSet(line.settings) ||
        !parser.positionalArguments().isEmpty())
        return u"--measure reads its own FILE and takes no --format, --settings or input file"_s;
    MeasureOptions& measure = options.measureOptions;
    if (parser.isSet(line.cheapHours)) {
        CheapWindow window;
        if (const QString why = parseCheapWindow(parser.value(line.cheapHours), window);
            !why.isEmpty())
            return why;
        measure.cheap = window;
    }
    const auto number = [&](const QCommandLineOption& option, std::optional<double>& value,
                            double least, bool above, const QString& what) -> QString {
        if (!parser.isSet(option))
            return QString();
        value = numberOption(parser.value(option), least, above);
        return value ? QString()
                     : u"--%1: \"%2\" is not %3"_s.arg(option.names().first(), parser.value(option),
                                                       what);
    };
    QString why =
        number(line.offBelow, measure.offBelow, 0, false, u"a power in watts from 0 up"_s);
    if (why.isEmpty())
        why = number(line.standbyBelow, measure.standbyBelow, measure.offBelow.value_or(0.5), false,
                     u"a power in watts from the off threshold up"_s);
    if (why.isEmpty())
        why = number(line.maxGap, measure.maxGapMinutes, 0, true, u"a number of minutes above 0"_s);
    return why;
}

// The options of arguments the parser took.
ParsedArguments chosenOptions(const CommandLine& line)
{
    const QCommandLineParser& parser = line.parser;
    for (const auto& [option, message] : line.needsValue) {
        if (parser.isSet(option) && parser.value(option).isEmpty())
            return refused(message);
    }
    ParsedArguments parsed;
    if (parser.isSet(line.measure)) {
        const QString why = measureOptions(line, parsed.options);
        return why.isEmpty() ? parsed : refused(why);
    }
    for (const QCommandLineOption* option :
         {&line.cheapHours, &line.offBelow, &line.standbyBelow, &line.maxGap}) {
        if (parser.isSet(*option))
            return refused(u"--%1 goes with --measure"_s.arg(option->names().first()));
    }
    const QString chosen = parser.value(line.format);
    const QStringList formats = {u"record"_s, u"csv"_s, u"timeline"_s};
    if (parser.isSet(line.format) && !formats.contains(chosen))
        return refused(u"unknown format \"%1\": use record, csv or timeline"_s.arg(chosen));
    parsed.options.format =
        static_cast<BatchOptions::Format>(std::max<qsizetype>(formats.indexOf(chosen), 0));
    parsed.options.settings = parser.value(line.settings);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refused(u"only one input file can be given"_s);
    if (!files.isEmpty() && files.first() != QLatin1String("-"))
        parsed.options.file = files.first();
    return parsed;
}

} // namespace

ParsedArguments parseArguments(const QStringList& arguments)
{
    CommandLine line;
    if (const QString missing = valueMissingAtTheEnd(line, arguments); !missing.isEmpty())
        return refused(missing);
    if (!line.parser.parse(arguments))
        return refused(whyNotParsed(line, arguments));
    // Asked for help or the version, the tool answers and does nothing else.
    if (line.parser.isSet(line.help) || line.parser.isSet(line.version))
        return answered(line.parser.isSet(line.help));
    return chosenOptions(line);
}

} // namespace torvane
