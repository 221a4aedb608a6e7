#include "batch_tool.h"

#include "batch.h"
#include "batch_input.h"
#include "batch_options.h"
#include "batch_output.h"
#include "batch_progress.h"
#include "core/ansi_file.h"
#include "core/csv_reader.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// Control characters, a NUL among them, are written as \uXXXX so that the whole
// message shows.
void complain(const QString& message)
{
    QString shown = u"torvane-calc: "_s;
    for (const QChar c : message) {
        if (c.category() == QChar::Other_Control)
            shown += u"\\u"_s + QString::number(c.unicode(), 16).rightJustified(4, u'0').toUpper();
        else
            shown += c;
    }
    shown += QLatin1Char('\n');
    const QByteArray bytes = shown.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

// A closed standard stream would be given to the next file opened, and the output would
// go into it: each is opened on /dev/null instead. True when standard output was open.
bool guardStandardStreams()
{
    bool outputOpen = true;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            outputOpen = outputOpen && fd != 1;
            ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        }
    }
    return outputOpen;
}

QStringList argumentList(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Starts every row from the configuration file given, or from the one the program ships
// with, as a freshly installed window does; returns why it cannot.
QString configure(BatchComparison& comparison, const QString& settings)
{
    if (settings.isEmpty())
        return comparison.setShippedDefaults();
    if (!AnsiFile::exists(settings))
        return u"%1: cannot be read"_s.arg(settings);
    const QString refused = comparison.setConfiguration(settings);
    return refused.isEmpty() ? QString() : settings + u": "_s + refused;
}

// Runs the checked rows and writes each outcome; returns the exit status.
int runRows(QIODevice& input, BatchComparison& comparison, BatchOptions::Format format)
{
    CsvReader reader(input);
    QList<QStringView> fields;
    reader.next(fields); // the header, already checked
    const qsizetype columns = fields.size();
    StandardOutput out;
    writeHeading(out, format);
    int status = AllCalculated;
    BatchProgress progress(input);
    CsvReader::Result read = CsvReader::Result::Record;
    QString changed; // how the input no longer is what was checked
    for (qint64 row = 1; out.ok() && (read = reader.next(fields)) == CsvReader::Result::Record;
         ++row) {
        if (fields.size() != columns) {
            changed = wrongFieldCount(row, reader.line(), fields.size(), columns);
            break;
        }
        progress.rowDone(row - 1);
        const BatchComparison::Result result =
            comparison.run(fields, format != BatchOptions::Format::Csv);
        if (result.outcome == BatchComparison::Outcome::Fatal) {
            progress.wipe();
            complain(rowName(row, reader.line()) + u": "_s +
                     result.messages.join(QLatin1Char(' ')));
            status = SomeFailed;
        } else if (result.outcome == BatchComparison::Outcome::Refused && status == AllCalculated) {
            status = SomeRefused;
        }
        writeRow(out, row, result, format);
    }
    progress.wipe();
    if (!out.flush()) {
        complain(outputProblem(out.error()));
        return Unusable;
    }
    // The input changed, or could no longer be read, since it was checked.
    if (!changed.isEmpty() || read == CsvReader::Result::Error) {
        complain(!changed.isEmpty() ? changed
                                    : u"line %1: %2"_s.arg(reader.line()).arg(reader.error()));
        return Unusable;
    }
    return status;
}

// The use a log of an appliance's power tells: the figures on standard output, what was read
// and chosen on standard error.
int runMeasurement(const BatchOptions& options)
{
    MeasuredUse use;
    if (options.measure == u"-"_s) {
        QFile in;
        if (in.open(stdin, QIODevice::ReadOnly))
            use = measureUse(in, options.measureOptions);
        else
            use.problem = u"cannot be read: %1"_s.arg(in.errorString());
    } else {
        use = measureFile(options.measure, options.measureOptions);
    }
    if (use.outcome != MeasuredUse::Outcome::Measured) {
        // The lines that could not be read may be why nothing is known.
        for (const QString& note : unreadableNotes(use))
            complain(note);
        complain(options.measure + u": "_s + use.problem);
        return Unusable;
    }
    for (const QString& note : measuredNotes(use))
        complain(note);
    const QByteArray figures = (measuredHeader() + u'\n' + measuredRow(use) + u'\n').toUtf8();
    std::fwrite(figures.constData(), 1, static_cast<std::size_t>(figures.size()), stdout);
    if (std::fflush(stdout) != 0) {
        complain(outputProblem(errno));
        return Unusable;
    }
    return AllCalculated;
}

} // namespace

int runBatchTool(int argc, char** argv)
{
    // Output cut off by the reader (a pipe into head) is told like any write that fails.
    std::signal(SIGPIPE, SIG_IGN);
    // So is a file that may grow no further.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!guardStandardStreams()) {
        complain(outputProblem(EBADF));
        return Unusable;
    }
    const ParsedArguments parsed = parseArguments(argumentList(argc, argv));
    switch (parsed.outcome) {
    case ParsedArguments::Outcome::Answered:
        return parsed.status;
    case ParsedArguments::Outcome::Refused:
        complain(parsed.refusal);
        std::fputs(BatchUsage, stderr);
        return Unusable;
    case ParsedArguments::Outcome::Run:
        break;
    }
    const BatchOptions& options = parsed.options;
    if (!options.measure.isEmpty())
        return runMeasurement(options);
    // The whole input is checked before the configuration is read: its faults come first.
    BatchInput input;
    if (const QString unusable = input.open(options.file); !unusable.isEmpty()) {
        complain(unusable);
        return Unusable;
    }
    const Regional regional(QLocale::system());
    BatchComparison comparison(regional);
    if (const QString refused = configure(comparison, options.settings); !refused.isEmpty()) {
        complain(refused);
        return Unusable;
    }
    comparison.setColumns(input.header());
    comparison.setTimeline(options.format == BatchOptions::Format::Timeline);
    return runRows(input.fromStart(), comparison, options.format);
}

} // namespace torvane
