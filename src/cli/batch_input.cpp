#include "batch_input.h"

#include "batch.h"
#include "core/csv_reader.h"

#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace torvane {

// Input that cannot be read twice (standard input, a pipe, a device), copied into a
// temporary file as it is read, so that it can be checked whole before anything is
// written and then read again. The copy is bounded: such input may never end.
class SpooledInput final : public QIODevice {
public:
    static constexpr qint64 MostBytes = 64 * 1024 * 1024;

    explicit SpooledInput(QIODevice& source)
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

namespace {

// The header's columns, each one the batch knows and named once; returns why not.
QString checkHeader(CsvReader& reader, QStringList& header)
{
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
    return QString();
}

// Every row read and holding a field for each column, its check boxes 0, 1 or empty;
// returns why not.
QString checkRows(CsvReader& reader, const QStringList& header)
{
    QList<qsizetype> checkBoxes;
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (BatchComparison::isCheckBox(header[i]))
            checkBoxes.append(i);
    }
    qsizetype count = 0;
    for (qint64 row = 1;; ++row) {
        const CsvReader::Result result = reader.skim(count);
        if (result == CsvReader::Result::End)
            return QString();
        if (result == CsvReader::Result::Error)
            return rowName(row, reader.line()) + u": "_s + reader.error();
        if (count != header.size())
            return wrongFieldCount(row, reader.line(), count, header.size());
        // Through a const list: an empty list that is not would allocate for every row.
        for (const qsizetype i : std::as_const(checkBoxes)) {
            const QStringView field = reader.field(i);
            if (!field.isEmpty() && field != QLatin1String("0") && field != QLatin1String("1"))
                return rowName(row, reader.line()) +
                       u": %1 must be 0, 1 or empty, not \"%2\""_s.arg(header[i], field.toString());
        }
    }
}

// Returns why the input is unusable, or nothing with the header filled in.
QString checkInput(QIODevice& input, QStringList& header)
{
    CsvReader reader(input);
    const QString unusable = checkHeader(reader, header);
    return unusable.isEmpty() ? checkRows(reader, header) : unusable;
}

} // namespace

QString rowName(qint64 row, qint64 line)
{
    return u"row %1 (line %2)"_s.arg(row).arg(line);
}

QString wrongFieldCount(qint64 row, qint64 line, qsizetype fields, qsizetype columns)
{
    return rowName(row, line) + u": %1 fields where the header names %2"_s.arg(fields).arg(columns);
}

BatchInput::BatchInput() = default;
BatchInput::~BatchInput() = default;

QString BatchInput::open(const QString& fileName)
{
    const bool opened = fileName.isEmpty()
                            ? m_file.open(stdin, QIODevice::ReadOnly)
                            : (m_file.setFileName(fileName), m_file.open(QIODevice::ReadOnly));
    if (!opened) {
        return fileName.isEmpty() ? u"standard input cannot be read"_s
                                  : u"%1: cannot be read: %2"_s.arg(fileName, m_file.errorString());
    }
    if (!m_file.isSequential()) {
        const QString unusable = checkInput(m_file, m_header);
        m_file.seek(0);
        return unusable;
    }
    m_spooled = std::make_unique<SpooledInput>(m_file);
    if (!m_spooled->start())
        return m_spooled->problem();
    const QString unusable = checkInput(*m_spooled, m_header);
    // A copy stopped short leaves the check reading a cut-off input: the copy tells why.
    return m_spooled->problem().isEmpty() ? unusable : m_spooled->problem();
}

QIODevice& BatchInput::fromStart()
{
    return m_spooled ? m_spooled->copy() : static_cast<QIODevice&>(m_file);
}

} // namespace torvane
