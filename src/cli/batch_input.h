#pragma once

#include <QFile>
#include <QStringList>

#include <memory>

namespace torvane {

class SpooledInput;

// "row 3 (line 4)": how the messages name a row of the input.
QString rowName(qint64 row, qint64 line);
// Why a row with too many or too few fields is refused.
QString wrongFieldCount(qint64 row, qint64 line, qsizetype fields, qsizetype columns);

// The input file, or standard input, read whole once to find what would make it
// unusable, so that a rejected input produces no output at all; then read again from
// its start for the rows.
class BatchInput {
public:
    BatchInput();
    ~BatchInput();

    // Opens and checks the file (standard input when empty); returns why the input is
    // unusable, or nothing.
    QString open(const QString& fileName);
    // The columns the header names, once the input is checked.
    const QStringList& header() const { return m_header; }
    // The input again from its start, once it is checked.
    QIODevice& fromStart();

private:
    QFile m_file;
    // Input that cannot be read twice is read the second time from a copy.
    std::unique_ptr<SpooledInput> m_spooled;
    QStringList m_header;
};

} // namespace torvane
