// torvane-calc: comparisons without a window, one per CSV row.

#include "batch.h"
#include "core/ansi_file.h"
#include "csv_reader.h"

#include <QFile>
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
    Options options;
    bool fileGiven = false;
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        QString format;
        if (argument == QLatin1String("--format")) {
            if (++i == argc) {
                complain(u"--format needs a value: record or csv"_s);
                return std::nullopt;
            }
            format = QString::fromLocal8Bit(argv[i]);
        } else if (argument.startsWith(QLatin1String("--format="))) {
            format = argument.mid(9);
        } else if (argument == QLatin1String("--settings")) {
            if (++i == argc) {
                complain(u"--settings needs a configuration file"_s);
                return std::nullopt;
            }
            options.settings = QString::fromLocal8Bit(argv[i]);
            continue;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            std::fputs(Usage, stdout);
            std::exit(AllCalculated);
        } else if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            complain(u"unknown option %1"_s.arg(argument));
            return std::nullopt;
        } else if (fileGiven) {
            complain(u"only one input file can be given"_s);
            return std::nullopt;
        } else {
            fileGiven = true;
            options.file = argument == QLatin1String("-") ? QString() : argument;
            continue;
        }
        if (format == QLatin1String("csv")) {
            options.csv = true;
        } else if (format != QLatin1String("record")) {
            complain(u"unknown format \"%1\": use record or csv"_s.arg(format));
            return std::nullopt;
        }
    }
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
    QStringList header;
    switch (reader.next(header)) {
    case CsvReader::Result::End:
        complain(u"the input is empty: a header row naming the columns is needed"_s);
        return std::nullopt;
    case CsvReader::Result::Error:
        complain(u"header (line %1): %2"_s.arg(reader.line()).arg(reader.error()));
        return std::nullopt;
    case CsvReader::Result::Record:
        break;
    }
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
    QStringList fields;
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
                         u": %1 must be 0, 1 or empty, not \"%2\""_s.arg(header[i], fields[i]));
                return std::nullopt;
            }
        }
    }
    input.seek(0);
    return header;
}

class Output {
public:
    ~Output() { flush(); }
    void write(const QString& text)
    {
        m_buffer += text.toUtf8();
        if (m_buffer.size() > 64 * 1024)
            flush();
    }
    void flush()
    {
        std::fwrite(m_buffer.constData(), 1, static_cast<std::size_t>(m_buffer.size()), stdout);
        m_buffer.clear();
    }

private:
    QByteArray m_buffer;
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
        const std::optional<QStringList> lines = AnsiFile::readLines(options->settings);
        if (!lines || !AnsiFile::exists(options->settings)) {
            complain(u"%1: cannot be read"_s.arg(options->settings));
            return Unusable;
        }
        const QString refused = comparison.setConfiguration(*lines);
        if (!refused.isEmpty()) {
            complain(options->settings + u": "_s + refused);
            return Unusable;
        }
    }
    CsvReader reader(*input);
    QStringList fields;
    reader.next(fields); // the header, already checked
    Output out;
    if (options->csv) {
        out.write(u"row,status,messages,"_s +
                  BatchComparison::resultColumns().join(QLatin1Char(',')) + CrLf);
    }
    int status = AllCalculated;
    for (qint64 row = 1; reader.next(fields) == CsvReader::Result::Record; ++row) {
        BatchComparison::Result result;
        try {
            result = comparison.run(*header, fields);
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
            QString line = QString::number(row) + QLatin1Char(',');
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
            out.write(line + CrLf);
        } else {
            switch (result.outcome) {
            case BatchComparison::Outcome::Calculated:
                out.write(result.record + CrLf);
                break;
            case BatchComparison::Outcome::Refused:
                out.write(u"Torvane Data Error"_s + CrLf + result.messages.join(CrLf) + CrLf +
                          CrLf);
                break;
            case BatchComparison::Outcome::Status:
                out.write(result.status + CrLf + CrLf);
                break;
            }
        }
    }
    return status;
}
