#include "csv_reader.h"

#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

struct Utf8Scan {
    qsizetype complete;     // bytes that end on a whole character
    qsizetype firstInvalid; // -1 when every byte is UTF-8
};

// Finds the first byte that cannot be UTF-8 and a character cut off at the end.
Utf8Scan scanUtf8(const QByteArray& bytes)
{
    const auto byte = [&](qsizetype i) {
        return static_cast<unsigned char>(bytes[i]);
    };
    qsizetype i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = byte(i);
        int continuations = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            continuations = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuations = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
            high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuations = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return {bytes.size(), i};
        }
        for (int k = 1; k <= continuations; ++k) {
            if (i + k >= bytes.size())
                return {i, -1};
            const unsigned char next = byte(i + k);
            const bool fits = k == 1 ? next >= low && next <= high : next >= 0x80 && next <= 0xBF;
            if (!fits)
                return {bytes.size(), i};
        }
        i += 1 + continuations;
    }
    return {bytes.size(), -1};
}

// Whole characters only, and a byte order mark kept as a character wherever it stands.
QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QString tooLong()
{
    return u"the record is longer than %1 characters"_s.arg(CsvReader::LongestRecord);
}

} // namespace

CsvReader::CsvReader(QIODevice& device)
    : m_device(device)
{}

bool CsvReader::fill()
{
    while (!m_deviceDone) {
        // What the record being read does not need is let go before more is read.
        m_buffer.remove(0, m_recordStart);
        m_pos -= m_recordStart;
        if (m_badAt >= 0)
            m_badAt -= m_recordStart;
        m_recordStart = 0;
        // All of the buffer is the record being read, but for a CR whose LF may follow.
        if (m_buffer.size() - 1 > LongestRecord) {
            m_stop = tooLong();
            return false;
        }

        m_chunk.resize(32 * 1024);
        const qint64 got = m_device.read(m_chunk.data(), m_chunk.size());
        QByteArray bytes = m_carry + QByteArrayView(m_chunk.constData(), std::max<qint64>(got, 0));
        m_carry.clear();
        m_deviceDone = got <= 0;
        if (got < 0)
            m_stop = u"the input cannot be read: %1"_s.arg(m_device.errorString());
        const Utf8Scan scan = scanUtf8(bytes);
        qsizetype badByte = scan.firstInvalid;
        if (scan.complete < bytes.size()) {
            if (m_deviceDone)
                badByte = scan.complete; // the input ends inside a character
            else
                m_carry = bytes.sliced(scan.complete);
            bytes.truncate(m_deviceDone ? bytes.size() : scan.complete);
        }
        const qsizetype before = m_buffer.size();
        m_buffer += decode(bytes);
        if (badByte >= 0 && m_badAt < 0)
            m_badAt = before + decode(QByteArrayView(bytes).first(badByte)).size();
        if (m_first && m_buffer.size() > before) {
            m_first = false;
            if (m_buffer.front() == QChar(0xFEFF))
                m_pos = m_recordStart = 1;
        }
        if (m_pos < m_buffer.size())
            return true;
    }
    return false;
}

CsvReader::Result CsvReader::fail(const QString& message)
{
    m_error = message;
    m_recordSkipped = false;
    return Result::Error;
}

bool CsvReader::lineEnd()
{
    const QChar c = m_buffer[m_pos];
    if (c != u'\r' && c != u'\n')
        return false;
    ++m_pos;
    if (c == u'\r' && more() && m_buffer[m_pos] == u'\n')
        ++m_pos;
    ++m_line;
    return true;
}

// Most fields are plain, and a call for each would cost more than reading it.
inline void CsvReader::readPlainField()
{
    const qsizetype start = m_pos - m_recordStart; // reading more moves the buffer
    while (more()) {
        const QChar c = m_buffer[m_pos];
        if (c == u',' || c == u'\r' || c == u'\n')
            break;
        ++m_pos;
    }
    m_spans.push_back({start, m_pos - m_recordStart - start});
}

CsvReader::Result CsvReader::next(QList<QStringView>& fields)
{
    // Offsets are kept from the record's start, which reading more does not move.
    m_spans.clear();
    m_unquoted.clear();
    m_recordStart = m_pos;
    while (more() && lineEnd()) // blank lines between records carry nothing
        m_recordStart = m_pos;
    m_recordLine = m_line;
    if (!more()) {
        fields.clear();
        return m_stop.isEmpty() ? Result::End : fail(m_stop);
    }
    qsizetype length = 0; // of the record without its line end
    for (;;) {
        if (more() && m_buffer[m_pos] == u'"') {
            if (!readQuotedField())
                return Result::Error;
        } else {
            readPlainField();
        }
        length = m_pos - m_recordStart; // reading the line end may move the record
        if (!more() || lineEnd())
            break;
        ++m_pos; // the comma
    }
    return finishRecord(fields, length);
}

bool CsvReader::readQuotedField()
{
    const qsizetype start = m_pos - m_recordStart; // reading more moves the buffer
    ++m_pos;
    bool doubled = false;
    for (;;) {
        while (m_pos < m_buffer.size() && m_buffer[m_pos] != u'"' && m_buffer[m_pos] != u'\r' &&
               m_buffer[m_pos] != u'\n')
            ++m_pos;
        if (!more()) {
            fail(m_stop.isEmpty() ? u"a quoted field is not closed"_s : m_stop);
            return false;
        }
        if (m_buffer[m_pos] != u'"') {
            lineEnd(); // a line break inside the quotes is part of the field
            continue;
        }
        const qsizetype size = m_pos++ - m_recordStart - start - 1;
        if (more() && m_buffer[m_pos] == u'"') {
            doubled = true;
            ++m_pos;
            continue;
        }
        if (doubled) {
            m_unquoted.append(QStringView(m_buffer)
                                  .sliced(m_recordStart + start + 1, size)
                                  .toString()
                                  .replace(u"\"\""_s, u"\""_s));
            m_spans.push_back({-1, m_unquoted.size() - 1});
        } else {
            m_spans.push_back({start + 1, size});
        }
        break;
    }
    if (more() && m_buffer[m_pos] != u',' && m_buffer[m_pos] != u'\r' && m_buffer[m_pos] != u'\n') {
        fail(u"text follows a closing quote"_s);
        return false;
    }
    return true;
}

CsvReader::Result CsvReader::finishRecord(QList<QStringView>& fields, qsizetype length)
{
    if (!m_stop.isEmpty())
        return fail(m_stop);
    if (length > LongestRecord)
        return fail(tooLong());
    if (m_badAt >= m_recordStart && m_badAt < m_pos) {
        fail(u"the text is not valid UTF-8"_s);
        m_recordSkipped = true; // read to its end: the next record reads as usual
        return Result::Error;
    }
    fields.resize(static_cast<qsizetype>(m_spans.size()));
    for (std::size_t i = 0; i < m_spans.size(); ++i) {
        const auto [offset, size] = m_spans[i];
        fields[static_cast<qsizetype>(i)] =
            offset < 0 ? QStringView(m_unquoted[size])
                       : QStringView(m_buffer).sliced(m_recordStart + offset, size);
    }
    return Result::Record;
}

QString csvField(const QString& value, QChar separator)
{
    const bool needsQuotes = std::any_of(value.begin(), value.end(), [separator](QChar c) {
        return c == u'"' || c == u'\r' || c == u'\n' || c == separator;
    });
    if (!needsQuotes)
        return value;
    QString quoted = value;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

} // namespace torvane
