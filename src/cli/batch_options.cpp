#include "batch_options.h"

#include "core/version.h"

#include <QCommandLineParser>

#include <algorithm>
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
    "  --settings INI     start every row from this configuration file\n"
    "  --help             show this help and end\n"
    "  --version          show the version and end\n"
    "\n"
    "Exit status: 0 every row calculated, 1 a row refused, 2 unusable arguments, input\n"
    "or output, 3 a row met a fatal error. See torvane-calc(1).\n";

// The options torvane-calc knows, and the parser that reads them.
struct CommandLine {
    QCommandLineParser parser;
    const QCommandLineOption format{u"format"_s, QString(), u"format"_s};
    const QCommandLineOption settings{u"settings"_s, QString(), u"INI"_s};
    const QCommandLineOption help{QStringList{u"h"_s, u"help"_s}};
    const QCommandLineOption version{u"version"_s};
    // The options that take a value, and what is told when one is given without it.
    const std::pair<const QCommandLineOption&, QString> needsValue[2] = {
        {format, u"--format needs a value: record, csv or timeline"_s},
        {settings, u"--settings needs a configuration file"_s}};

    CommandLine()
    {
        parser.addOptions({format, settings, help, version});
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

// The options of arguments the parser took.
ParsedArguments chosenOptions(const CommandLine& line)
{
    const QCommandLineParser& parser = line.parser;
    for (const auto& [option, message] : line.needsValue) {
        if (parser.isSet(option) && parser.value(option).isEmpty())
            return refused(message);
    }
    ParsedArguments parsed;
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
