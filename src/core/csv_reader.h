#pragma once

#include <QIODevice>
#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <string>
#include <vector>

namespace torvane {

// Reads CSV records (RFC 4180: quoted fields with "" for a quote, CR LF, LF or CR line
// ends, line breaks inside quotes) from UTF-8 text, one record at a time, so that memory
// does not grow with the file. The record is found on the bytes, whose separators are
// ASCII, and only its fields are decoded. Blank lines are skipped. Bytes that are not UTF-8 are an
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

    // The next record read and checked as next() reads it, only its fields counted: the
    // usual record's are not decoded unless field() asks for one. For input read to be
    // checked before it is used.
    Result skim(qsizetype& count);
    // One field of the record just skimmed, from 0; valid until the next call.
    QStringView field(qsizetype index);

    // Line on which the record just read (or the error) starts, counting from 1.
    qint64 line() const { return m_recordLine; }
    const QString& error() const { return m_error; }
    // Whether the error's record was read to its end, so that reading can go on after it.
    bool recordSkipped() const { return m_recordSkipped; }

private:
    // A field's place: bytes from the record's start, then, once decoded, UTF-16 units
    // in m_text.
    struct Span {
        qsizetype offset;
        qsizetype size;
        bool doubledQuotes;
    };

    // Whether there is a byte at the reading place, reading more from the device if needed.
    bool more() { return m_pos < m_bytes.size() || fill(); }
    bool fill();
    // Takes a line end (CR LF, LF or CR) at the reading place, counting the line.
    bool lineEnd();
    Result fail(const QString& message);
    // The field at the reading place, up to the comma or line end that follows it. A
    // quoted one is false (the error set) when it is not closed or text follows its
    // closing quote.
    void readPlainField();
    // The usual record, whole in the bytes read already, on one line ended by a line feed,
    // ASCII and without quotes: found and decoded in one pass over its bytes. False, and
    // nothing taken, for any other.
    bool readSimpleRecord(qsizetype& length);
    bool readQuotedField();
    // The usual record, as readSimpleRecord() takes it, with its commas counted.
    bool skimSimpleRecord(qsizetype& count);
    // The record read to its end: checked, decoded, then its fields pointed at.
    Result finishRecord(QList<QStringView>& fields, qsizetype length);
    void decodeFields(qsizetype length, bool ascii);
    void addSpan(qsizetype offset, qsizetype size, bool doubledQuotes = false)
    {
        if (m_spanCount == m_spanRoom) {
            m_spans.resize(m_spanRoom * 2 + 32);
            m_spanRoom = m_spans.size();
        }
        m_spans[m_spanCount++] = {offset, size, doubledQuotes};
    }
    void pointFields(QList<QStringView>& fields) const;

    QIODevice& m_device;
    QByteArray m_bytes; // from the start of the record being read
    qsizetype m_pos = 0;
    qsizetype m_recordStart = 0;
    bool m_deviceDone = false;
    QString m_stop; // why reading stopped short: a record too long, or a read that failed
    bool m_first = true;
    qint64 m_line = 1;
    qint64 m_recordLine = 0;
    QString m_error;
    bool m_recordSkipped = false;
    std::vector<Span> m_spans; // the first m_spanCount are the record's
    // Its size, kept apart: working it out from the vector's ends takes a subtraction, a
    // shift and a multiplication each field.
    std::size_t m_spanRoom = 0;
    std::size_t m_spanCount = 0;
    std::u16string m_text;       // the record's fields, decoded; never shrinks
    qsizetype m_skimmed = -1;    // the length of the usual record skimmed, if it was one
    QList<QStringView> m_fields; // any other record skimmed
    QStringDecoder m_decoder{QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                         QStringConverter::Flag::ConvertInitialBom};
};

// Whether a CSV field must be quoted: it holds the separator, a quote or a line break.
bool csvNeedsQuotes(QStringView value, QChar separator = u',');
// One CSV field, quoted when it needs it, its quotes doubled.
QString csvField(const QString& value, QChar separator = u',');

} // namespace torvane
