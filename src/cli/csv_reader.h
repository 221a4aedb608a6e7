#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

namespace torvane {

// Reads CSV records (RFC 4180: quoted fields with "" for a quote, CR LF, LF or CR line
// ends, line breaks inside quotes) from UTF-8 text, one record at a time, so that memory
// does not grow with the file. Blank lines are skipped. Bytes that are not UTF-8 are an
// error of the record that holds them, however the device hands the bytes out.
class CsvReader {
public:
    explicit CsvReader(QIODevice& device);

    enum class Result { Record, End, Error };
    Result next(QStringList& fields);

    // Line on which the record just read (or the error) starts, counting from 1.
    qint64 line() const { return m_recordLine; }
    const QString& error() const { return m_error; }

private:
    bool atEnd();
    QChar peek() const { return m_buffer.at(m_pos); }
    QChar take();
    // Consumes a line end (CR LF, LF or CR) at the current place, counting the line.
    void takeLineEnd(QChar first);
    Result fail(const QString& message);

    QIODevice& m_device;
    QByteArray m_carry; // the start of a character that the last read cut off
    QString m_buffer;
    qsizetype m_pos = 0;
    qsizetype m_badAt = -1; // where in the buffer the first bytes that are not UTF-8 stand
    bool m_sawBad = false;
    bool m_deviceDone = false;
    bool m_first = true;
    qint64 m_line = 1;
    qint64 m_recordLine = 0;
    QString m_error;
};

// One CSV field, quoted when it holds a comma, a quote or a line break.
QString csvField(const QString& value);

} // namespace torvane
