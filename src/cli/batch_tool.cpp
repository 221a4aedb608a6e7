#include "batch_tool.h"

#include "batch.h"
#include "core/ansi_file.h"
#include "core/csv_reader.h"
#include "core/version.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <unistd.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

enum ExitStatus { AllCalculated = 0, SomeRefused = 1, Unusable = 2, SomeFailed = 3 };

const char Usage[] = "usage: torvane-calc [--format record|csv|timeline] [--settings INI] [FILE]\n";

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

struct Options {
    enum class Format { Record, Csv, Timeline } format = Format::Record;
    QString file;     // empty: standard input
    QString settings; // a configuration file to start every window from
};

std::optional<Options> parseArguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    const QCommandLineOption format(u"format"_s, QString(), u"format"_s);
    const QCommandLineOption settings(u"settings"_s, QString(), u"INI"_s);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(u"version"_s);
    parser.addOptions({format, settings, help, version});
    parser.addPositionalArgument(u"FILE"_s, QString());
    const std::pair<const QCommandLineOption&, QString> needsValue[] = {
        {format, u"--format needs a value: record, csv or timeline"_s},
        {settings, u"--settings needs a configuration file"_s}};
    // An option that ends the line has no value to take.
    for (const auto& [option, message] : needsValue) {
        if (arguments.size() > 1 && arguments.last() == u"--"_s + option.names().first()) {
            complain(message);
            return std::nullopt;
        }
    }
    if (!parser.parse(arguments)) {
        const QString unknown = parser.unknownOptionNames().value(0);
        // Named as it was written: "--name" without its value, or the whole "-abc" that
        // holds an unknown letter.
        for (const QString& argument : arguments.mid(1)) {
            if (argument == u"--"_s)
                break;
            const QString name = argument.section(QLatin1Char('='), 0, 0);
            const bool named = name.startsWith(u"--"_s)
                                   ? name.mid(2) == unknown
                                   : name.size() > 1 && name.startsWith(QLatin1Char('-')) &&
                                         unknown.size() == 1 && name.contains(unknown);
            if (named && !unknown.isEmpty()) {
                complain(u"unknown option %1"_s.arg(name));
                return std::nullopt;
            }
        }
        complain(parser.errorText());
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        std::fputs(Usage, stdout);
        std::fputs(Help, stdout);
        std::exit(std::fflush(stdout) == 0 ? AllCalculated : Unusable);
    }
    if (parser.isSet(version)) {
        std::printf("torvane-calc %s\n", qPrintable(versionText()));
        std::exit(std::fflush(stdout) == 0 ? AllCalculated : Unusable);
    }
    for (const auto& [option, message] : needsValue) {
        if (parser.isSet(option) && parser.value(option).isEmpty()) {
            complain(message);
            return std::nullopt;
        }
    }
    Options options;
    const QString chosen = parser.value(format);
    const QStringList formats = {u"record"_s, u"csv"_s, u"timeline"_s};
    if (parser.isSet(format) && !formats.contains(chosen)) {
        complain(u"unknown format \"%1\": use record, csv or timeline"_s.arg(chosen));
        return std::nullopt;
    }
    options.format = static_cast<Options::Format>(std::max<qsizetype>(formats.indexOf(chosen), 0));
    options.settings = parser.value(settings);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        complain(u"only one input file can be given"_s);
        return std::nullopt;
    }
    if (!files.isEmpty() && files.first() != QLatin1String("-"))
        options.file = files.first();
    return options;
}

QString rowName(qint64 row, qint64 line)
{
    return u"row %1 (line %2)"_s.arg(row).arg(line);
}

// Reads the whole input once to find what would make it unusable, so that a rejected
// file produces no output at all. Returns why the input is unusable, or nothing with the
// header filled in.
QString validate(QIODevice& input, QStringList& header)
{
    CsvReader reader(input);
    QList<QStringView> names;
    switch (reader.next(names)) {
    case CsvReader::Result::End:
        return u"the input is empty: a header row naming the columns is needed"_s;
    case CsvReader::Result::Error:
        return u"header (line %1): %2"_s.arg(reader.line()).arg(reader.error());
    case CsvReader::Result::Record:
        break;
    }
    for (QStringView name : names)
        header.append(name.toString());
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (!BatchComparison::inputColumns().contains(header[i]))
            return u"header: unknown column \"%1\""_s.arg(header[i]);
        if (header.indexOf(header[i]) != i)
            return u"header: column \"%1\" is named twice"_s.arg(header[i]);
    }
    QList<QStringView> fields;
    for (qint64 row = 1;; ++row) {
        const CsvReader::Result result = reader.next(fields);
        if (result == CsvReader::Result::End)
            break;
        if (result == CsvReader::Result::Error)
            return rowName(row, reader.line()) + u": "_s + reader.error();
        if (fields.size() != header.size())
            return rowName(row, reader.line()) +
                   u": %1 fields where the header names %2"_s.arg(fields.size()).arg(header.size());
        for (qsizetype i = 0; i < header.size(); ++i) {
            if (BatchComparison::isCheckBox(header[i]) && !fields[i].isEmpty() &&
                fields[i] != QLatin1String("0") && fields[i] != QLatin1String("1"))
                return rowName(row, reader.line()) +
                       u": %1 must be 0, 1 or empty, not \"%2\""_s.arg(header[i],
                                                                       fields[i].toString());
        }
    }
    return QString();
}

// Input that cannot be read twice (standard input, a pipe, a device), copied into a
// temporary file as it is read, so that it can be checked whole before anything is
// written and then read again. The copy is bounded: such input may never end.
class Spooled final : public QIODevice {
public:
    static constexpr qint64 MostBytes = 64 * 1024 * 1024;

    explicit Spooled(QIODevice& source)
        : m_source(source)
    {}
    bool start()
    {
        if (!m_copy.open()) {
            m_problem = noRoom();
            return false;
        }
        return open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    // Why the copy stopped short, if it did.
    const QString& problem() const { return m_problem; }
    QIODevice& copy()
    {
        m_copy.seek(0);
        return m_copy;
    }

protected:
    qint64 readData(char* data, qint64 size) override
    {
        const qint64 got = m_source.read(data, size);
        if (got < 0)
            m_problem = u"the input cannot be read: %1"_s.arg(m_source.errorString());
        if (got <= 0)
            return got;
        if (m_copy.size() + got > MostBytes)
            m_problem = u"input from a pipe or a device is limited to 64 MiB: save it in a "
                        "file and give the file's name"_s;
        else if (m_copy.write(data, got) != got)
            m_problem = noRoom();
        return m_problem.isEmpty() ? got : -1;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QString noRoom() const
    {
        return u"no room for a temporary copy of the input: %1"_s.arg(m_copy.errorString());
    }

    QIODevice& m_source;
    QTemporaryFile m_copy;
    QString m_problem;
};

QString outputProblem(int error)
{
    return u"standard output cannot be written: %1"_s.arg(
        QString::fromLocal8Bit(std::strerror(error)));
}

// Standard output in UTF-8, written in blocks of about 64 KiB. A write that fails is
// remembered with its reason; nothing more is written after it.
class Output {
public:
    Output() { m_buffer.reserve(Block + 16 * 1024); }
    void write(QStringView text)
    {
        const qsizetype used = m_buffer.size();
        m_buffer.resize(used + m_encoder.requiredSpace(text.size()));
        char* end = m_encoder.appendToBuffer(m_buffer.data() + used, text);
        m_buffer.truncate(end - m_buffer.constData());
        if (m_buffer.size() > Block)
            flush();
    }
    bool flush()
    {
        if (m_error == 0 &&
            (std::fwrite(m_buffer.constData(), 1, static_cast<std::size_t>(m_buffer.size()),
                         stdout) != static_cast<std::size_t>(m_buffer.size()) ||
             std::fflush(stdout) != 0))
            m_error = errno;
        m_buffer.truncate(0);
        return m_error == 0;
    }
    bool ok() const { return m_error == 0; }
    int error() const { return m_error; }

private:
    static constexpr qsizetype Block = 64 * 1024;
    QByteArray m_buffer;
    QStringEncoder m_encoder{QStringConverter::Utf8};
    int m_error = 0;
};

// Progress on standard error when that is a terminal (and the output goes elsewhere),
// once a run takes longer than a second: rows done, rows per second and the share of the
// input read. Wiped before anything else is told, and at the end.
class Progress {
public:
    explicit Progress(const QIODevice& input)
        : m_input(input)
        , m_terminal(::isatty(2) == 1 && ::isatty(1) == 0)
    {
        m_clock.start();
    }
    ~Progress() { wipe(); }
    void wipe()
    {
        if (std::exchange(m_shown, false))
            std::fputs("\r\033[K", stderr);
    }
    void rowDone(qint64 rows)
    {
        const qint64 now = m_clock.elapsed();
        if (!m_terminal || now < 1000 || now - m_last < 250)
            return;
        m_last = now;
        QString line = u"\r%1 rows, %2 rows/s"_s.arg(rows).arg(rows * 1000 / now);
        if (const qint64 size = m_input.size(); size > 0)
            line += u", %1%"_s.arg(std::min<qint64>(m_input.pos() * 100 / size, 100));
        std::fputs(qPrintable(line + u"\033[K"_s), stderr);
        m_shown = true;
    }

private:
    const QIODevice& m_input;
    const bool m_terminal;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    bool m_shown = false;
};

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

// One row's outcome as the chosen format writes it.
void writeRow(Output& out, qint64 row, const BatchComparison::Result& result,
              Options::Format format)
{
    static const QStringList Outcomes = {u"ok"_s, u"error"_s, QString(), u"fatal"_s};
    QString line;
    if (format == Options::Format::Timeline) {
        // Plain numbers with a full stop, whatever the locale: data for other programs.
        const Timeline* t = result.timeline ? &*result.timeline : nullptr;
        for (std::size_t month = 0; t && month < t->cost1.size(); ++month) {
            line = u"%1,%2"_s.arg(row).arg(month + 1);
            for (double value : {t->cost1[month], t->cost2[month], t->kwh1[month], t->kwh2[month]})
                line += QLatin1Char(',') + QString::number(value, 'f', 2);
            out.write(line);
            out.write(CrLf);
        }
        return;
    }
    if (format == Options::Format::Csv) {
        line.setNum(row);
        line += QLatin1Char(',');
        line += result.outcome == BatchComparison::Outcome::Status
                    ? csvField(result.status)
                    : Outcomes[static_cast<int>(result.outcome)];
        line += QLatin1Char(',') + csvField(result.messages.join(u" | "_s));
        for (const QString& value : result.results)
            line += QLatin1Char(',') + csvField(value);
        out.write(line);
    } else {
        switch (result.outcome) {
        case BatchComparison::Outcome::Calculated:
            out.write(result.record);
            break;
        case BatchComparison::Outcome::Refused:
            out.write(u"Torvane Data Error\r\n");
            out.write(result.messages.join(CrLf));
            out.write(CrLf);
            break;
        case BatchComparison::Outcome::Status:
            out.write(result.status);
            out.write(CrLf);
            break;
        case BatchComparison::Outcome::Fatal:
            out.write(u"Torvane Fatal Error\r\n");
            out.write(result.messages.join(CrLf));
            out.write(CrLf);
            break;
        }
    }
    out.write(CrLf);
}

} // namespace

int runBatchTool(int argc, char** argv)
{
    // Output cut off by the reader (a pipe into head) is told like any write that fails.
    std::signal(SIGPIPE, SIG_IGN);
    if (!guardStandardStreams()) {
        complain(outputProblem(EBADF));
        return Unusable;
    }
    const std::optional<Options> options = parseArguments(argc, argv);
    if (!options) {
        std::fputs(Usage, stderr);
        return Unusable;
    }

    QFile file;
    const bool opened = options->file.isEmpty()
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(options->file), file.open(QIODevice::ReadOnly));
    if (!opened) {
        complain(options->file.isEmpty()
                     ? u"standard input cannot be read"_s
                     : u"%1: cannot be read: %2"_s.arg(options->file, file.errorString()));
        return Unusable;
    }
    Spooled spooled(file);
    const bool spooling = file.isSequential();
    if (spooling && !spooled.start()) {
        complain(spooled.problem());
        return Unusable;
    }
    QStringList header;
    const QString unusable = validate(spooling ? static_cast<QIODevice&>(spooled) : file, header);
    if (!spooled.problem().isEmpty() || !unusable.isEmpty()) {
        complain(spooled.problem().isEmpty() ? unusable : spooled.problem());
        return Unusable;
    }
    QIODevice& input = spooling ? spooled.copy() : file;
    if (!spooling)
        file.seek(0);

    const Regional regional(QLocale::system());
    BatchComparison comparison(regional);
    if (!options->settings.isEmpty()) {
        if (!AnsiFile::exists(options->settings)) {
            complain(u"%1: cannot be read"_s.arg(options->settings));
            return Unusable;
        }
        const QString refused = comparison.setConfiguration(options->settings);
        if (!refused.isEmpty()) {
            complain(options->settings + u": "_s + refused);
            return Unusable;
        }
    }
    comparison.setColumns(header);
    CsvReader reader(input);
    QList<QStringView> fields;
    reader.next(fields); // the header, already checked
    Output out;
    const bool csv = options->format == Options::Format::Csv;
    if (csv) {
        out.write(u"row,status,messages,");
        out.write(BatchComparison::resultColumns().join(QLatin1Char(',')));
        out.write(CrLf);
    }
    if (options->format == Options::Format::Timeline) {
        out.write(u"row,month,Item1Cost,Item2Cost,Item1KWh,Item2KWh\r\n");
        comparison.setTimeline(true);
    }
    int status = AllCalculated;
    Progress progress(input);
    CsvReader::Result read = CsvReader::Result::Record;
    for (qint64 row = 1; out.ok() && (read = reader.next(fields)) == CsvReader::Result::Record;
         ++row) {
        progress.rowDone(row - 1);
        const BatchComparison::Result result = comparison.run(fields, !csv);
        if (result.outcome == BatchComparison::Outcome::Fatal) {
            progress.wipe();
            complain(rowName(row, reader.line()) + u": "_s +
                     result.messages.join(QLatin1Char(' ')));
            status = SomeFailed;
        } else if (result.outcome == BatchComparison::Outcome::Refused && status == AllCalculated) {
            status = SomeRefused;
        }
        writeRow(out, row, result, options->format);
    }
    progress.wipe();
    if (!out.flush()) {
        complain(outputProblem(out.error()));
        return Unusable;
    }
    // The input changed, or could no longer be read, since it was checked.
    if (read == CsvReader::Result::Error) {
        complain(u"line %1: %2"_s.arg(reader.line()).arg(reader.error()));
        return Unusable;
    }
    return status;
}

} // namespace torvane
