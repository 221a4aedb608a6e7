#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <vector>

namespace torvane {

// Reads CSV records (RFC 4180: quoted fields with "" for a quote, CR LF, LF or CR line
// ends, line breaks inside quotes) from UTF-8 text, one record at a time, so that memory
// does not grow with the file. Blank lines are skipped. Bytes that are not UTF-8 are an
// error of the record that holds them, however the device hands the bytes out. A record
// may hold at most LongestRecord UTF-16 units besides its line end, so that input that
// never ends a record (a device of zeros) is refused instead of filling the memory. A
// read that fails is an error, not the end.
class CsvReader {
public:
    static constexpr qsizetype LongestRecord = 1024 * 1024;

    explicit CsvReader(QIODevice& device);

    enum class Result { Record, End, Error };
    // The next record's fields, as views that hold until the next call.
    Result next(QList<QStringView>& fields);

    // Line on which the record just read (or the error) starts, counting from 1.
    qint64 line() const { return m_recordLine; }
    const QString& error() const { return m_error; }
    // Whether the error's record was read to its end, so that reading can go on after it.
    bool recordSkipped() const { return m_recordSkipped; }

private:
    // Whether there is text at the reading place, reading more from the device if needed.
    bool more() { return m_pos < m_buffer.size() || fill(); }
    bool fill();
    // Takes a line end (CR LF, LF or CR) at the reading place, counting the line.
    bool lineEnd();
    Result fail(const QString& message);
    // The field at the reading place, up to the comma or line end that follows it. A
    // quoted one is false (the error set) when it is not closed or text follows its
    // closing quote.
    void readPlainField();
    bool readQuotedField();
    // The record read to its end: checked, then its fields pointed at.
    Result finishRecord(QList<QStringView>& fields, qsizetype length);

    QIODevice& m_device;
    QByteArray m_chunk; // what the last read took from the device
    QByteArray m_carry; // the start of a character that the last read cut off
    QString m_buffer;   // from the start of the record being read
    qsizetype m_pos = 0;
    qsizetype m_recordStart = 0;
    qsizetype m_badAt = -1; // where in the buffer the first bytes that are not UTF-8 stand
    bool m_deviceDone = false;
    QString m_stop; // why reading stopped short: a record too long, or a read that failed
    bool m_first = true;
    qint64 m_line = 1;
    qint64 m_recordLine = 0;
    QString m_error;
    bool m_recordSkipped = false;
    // Each field of the record: its offset from the record's start and its size, or -1
    // and its place among the fields whose doubled quotes were taken out.
    std::vector<std::pair<qsizetype, qsizetype>> m_spans;
    QStringList m_unquoted;
};

// One CSV field, quoted when it holds the separator, a quote or a line break.
QString csvField(const QString& value, QChar separator = u',');

} // namespace torvane
