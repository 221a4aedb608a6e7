// torvane-calc: comparisons without a window, one per CSV row.

#include "batch.h"
#include "core/ansi_file.h"
#include "csv_reader.h"

#include <QCommandLineParser>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryFile>

#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

using namespace torvane;

namespace {

enum ExitStatus { AllCalculated = 0, SomeRefused = 1, Unusable = 2 };

const char Usage[] = "usage: torvane-calc [--format record|csv] [--settings INI] [FILE]\n";

void complain(const QString& message)
{
    std::fprintf(stderr, "torvane-calc: %s\n", message.toLocal8Bit().constData());
}

struct Options {
    bool csv = false;
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
    parser.addOptions({format, settings, help});
    parser.addPositionalArgument(u"FILE"_s, QString());
    const std::pair<const QCommandLineOption&, QString> needsValue[] = {
        {format, u"--format needs a value: record or csv"_s},
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
        std::exit(AllCalculated);
    }
    for (const auto& [option, message] : needsValue) {
        if (parser.isSet(option) && parser.value(option).isEmpty()) {
            complain(message);
            return std::nullopt;
        }
    }
    Options options;
    const QString chosen = parser.value(format);
    if (parser.isSet(format) && chosen != QLatin1String("record") &&
        chosen != QLatin1String("csv")) {
        complain(u"unknown format \"%1\": use record or csv"_s.arg(chosen));
        return std::nullopt;
    }
    options.csv = chosen == QLatin1String("csv");
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
// file produces no output at all. Returns the header on success.
std::optional<QStringList> validate(QIODevice& input)
{
    CsvReader reader(input);
    QList<QStringView> names;
    switch (reader.next(names)) {
    case CsvReader::Result::End:
        complain(u"the input is empty: a header row naming the columns is needed"_s);
        return std::nullopt;
    case CsvReader::Result::Error:
        complain(u"header (line %1): %2"_s.arg(reader.line()).arg(reader.error()));
        return std::nullopt;
    case CsvReader::Result::Record:
        break;
    }
    QStringList header;
    for (QStringView name : names)
        header.append(name.toString());
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (!BatchComparison::inputColumns().contains(header[i])) {
            complain(u"header: unknown column \"%1\""_s.arg(header[i]));
            return std::nullopt;
        }
        if (header.indexOf(header[i]) != i) {
            complain(u"header: column \"%1\" is named twice"_s.arg(header[i]));
            return std::nullopt;
        }
    }
    QList<QStringView> fields;
    for (qint64 row = 1;; ++row) {
        const CsvReader::Result result = reader.next(fields);
        if (result == CsvReader::Result::End)
            break;
        if (result == CsvReader::Result::Error) {
            complain(rowName(row, reader.line()) + u": "_s + reader.error());
            return std::nullopt;
        }
        if (fields.size() != header.size()) {
            complain(
                rowName(row, reader.line()) +
                u": %1 fields where the header names %2"_s.arg(fields.size()).arg(header.size()));
            return std::nullopt;
        }
        for (qsizetype i = 0; i < header.size(); ++i) {
            if (BatchComparison::isCheckBox(header[i]) && !fields[i].isEmpty() &&
                fields[i] != QLatin1String("0") && fields[i] != QLatin1String("1")) {
                complain(rowName(row, reader.line()) +
                         u": %1 must be 0, 1 or empty, not \"%2\""_s.arg(header[i],
                                                                         fields[i].toString()));
                return std::nullopt;
            }
        }
    }
    input.seek(0);
    return header;
}

// Standard output in UTF-8, written in blocks of about 64 KiB.
class Output {
public:
    Output() { m_buffer.reserve(Block + 16 * 1024); }
    ~Output() { flush(); }
    void write(QStringView text)
    {
        const qsizetype used = m_buffer.size();
        m_buffer.resize(used + m_encoder.requiredSpace(text.size()));
        char* end = m_encoder.appendToBuffer(m_buffer.data() + used, text);
        m_buffer.truncate(end - m_buffer.constData());
        if (m_buffer.size() > Block)
            flush();
    }
    void flush()
    {
        std::fwrite(m_buffer.constData(), 1, static_cast<std::size_t>(m_buffer.size()), stdout);
        m_buffer.truncate(0);
    }

private:
    static constexpr qsizetype Block = 64 * 1024;
    QByteArray m_buffer;
    QStringEncoder m_encoder{QStringConverter::Utf8};
};

} // namespace

int main(int argc, char** argv)
{
    const std::optional<Options> options = parseArguments(argc, argv);
    if (!options) {
        std::fputs(Usage, stderr);
        return Unusable;
    }

    // Input that cannot be read twice (standard input, a pipe) is kept in a temporary
    // file, so that it can be checked whole before anything is written.
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
    QTemporaryFile spool;
    QIODevice* input = &file;
    if (file.isSequential()) {
        if (!spool.open()) {
            complain(u"no room for a temporary copy of the input: %1"_s.arg(spool.errorString()));
            return Unusable;
        }
        for (;;) {
            const QByteArray chunk = file.read(64 * 1024);
            if (chunk.isEmpty())
                break;
            if (spool.write(chunk) != chunk.size()) {
                complain(
                    u"no room for a temporary copy of the input: %1"_s.arg(spool.errorString()));
                return Unusable;
            }
        }
        spool.seek(0);
        input = &spool;
    }

    const std::optional<QStringList> header = validate(*input);
    if (!header)
        return Unusable;

    const Regional regional(QLocale::system());
    BatchComparison comparison(regional);
    if (!options->settings.isEmpty()) {
        const std::optional<QStringList> lines = AnsiFile::exists(options->settings)
                                                     ? AnsiFile::readLines(options->settings)
                                                     : std::nullopt;
        if (!lines) {
            complain(u"%1: cannot be read"_s.arg(options->settings));
            return Unusable;
        }
        const QString refused = comparison.setConfiguration(*lines);
        if (!refused.isEmpty()) {
            complain(options->settings + u": "_s + refused);
            return Unusable;
        }
    }
    comparison.setColumns(*header);
    CsvReader reader(*input);
    QList<QStringView> fields;
    reader.next(fields); // the header, already checked
    Output out;
    if (options->csv) {
        out.write(u"row,status,messages,");
        out.write(BatchComparison::resultColumns().join(QLatin1Char(',')));
        out.write(CrLf);
    }
    int status = AllCalculated;
    QString line;
    for (qint64 row = 1; reader.next(fields) == CsvReader::Result::Record; ++row) {
        BatchComparison::Result result;
        try {
            result = comparison.run(fields, !options->csv);
        } catch (const BatchComparison::FatalCalculation& fatal) {
            out.flush();
            complain(
                rowName(row, reader.line()) +
                u": A Fatal %1 Has Occurred (Error Number %2)"_s.arg(fatal.title).arg(fatal.step));
            return Unusable;
        }
        if (result.outcome == BatchComparison::Outcome::Refused)
            status = SomeRefused;
        if (options->csv) {
            line.setNum(row);
            line += QLatin1Char(',');
            switch (result.outcome) {
            case BatchComparison::Outcome::Calculated:
                line += u"ok"_s;
                break;
            case BatchComparison::Outcome::Refused:
                line += u"error"_s;
                break;
            case BatchComparison::Outcome::Status:
                line += csvField(result.status);
                break;
            }
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
            }
        }
        out.write(CrLf);
    }
    return status;
}
