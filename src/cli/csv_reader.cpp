#include "csv_reader.h"

#include <QStringDecoder>

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

} // namespace

CsvReader::CsvReader(QIODevice& device)
    : m_device(device)
{}

bool CsvReader::atEnd()
{
    while (m_pos >= m_buffer.size()) {
        if (m_deviceDone)
            return true;
        const QByteArray chunk = m_device.read(64 * 1024);
        QByteArray bytes = m_carry + chunk;
        m_carry.clear();
        m_deviceDone = chunk.isEmpty();
        const Utf8Scan scan = scanUtf8(bytes);
        qsizetype badByte = scan.firstInvalid;
        if (scan.complete < bytes.size()) {
            if (m_deviceDone)
                badByte = scan.complete; // the input ends inside a character
            else
                m_carry = bytes.sliced(scan.complete);
            bytes.truncate(m_deviceDone ? bytes.size() : scan.complete);
        }
        m_buffer = decode(bytes);
        m_badAt = badByte < 0 ? -1 : decode(QByteArrayView(bytes).first(badByte)).size();
        m_pos = 0;
        if (m_first && !m_buffer.isEmpty()) {
            m_first = false;
            if (m_buffer.front() == QChar(0xFEFF))
                m_pos = 1;
        }
    }
    return false;
}

QChar CsvReader::take()
{
    if (m_pos == m_badAt)
        m_sawBad = true;
    return m_buffer.at(m_pos++);
}

void CsvReader::takeLineEnd(QChar first)
{
    if (first == u'\r' && !atEnd() && peek() == u'\n')
        take();
    ++m_line;
}

CsvReader::Result CsvReader::fail(const QString& message)
{
    m_error = message;
    return Result::Error;
}

CsvReader::Result CsvReader::next(QStringList& fields)
{
    fields.clear();
    // Blank lines between records carry nothing.
    while (!atEnd() && (peek() == u'\n' || peek() == u'\r'))
        takeLineEnd(take());
    m_recordLine = m_line;
    if (atEnd())
        return Result::End;

    QString field;
    bool quoted = false;
    bool afterQuote = false;
    for (;;) {
        if (atEnd()) {
            if (quoted)
                return fail(u"a quoted field is not closed"_s);
            break;
        }
        const QChar c = take();
        if (quoted) {
            if (c == u'"') {
                if (!atEnd() && peek() == u'"') {
                    field += c;
                    take();
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                field += c;
                if (c == u'\r' || c == u'\n') {
                    if (c == u'\r' && !atEnd() && peek() == u'\n')
                        field += take();
                    ++m_line;
                }
            }
            continue;
        }
        if (c == u',') {
            fields.append(field);
            field.clear();
            afterQuote = false;
        } else if (c == u'\r' || c == u'\n') {
            takeLineEnd(c);
            break;
        } else if (afterQuote) {
            return fail(u"text follows a closing quote"_s);
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else {
            field += c;
        }
    }
    fields.append(field);
    if (m_sawBad)
        return fail(u"the text is not valid UTF-8"_s);
    return Result::Record;
}

QString csvField(const QString& value)
{
    const bool needsQuotes = value.contains(u',') || value.contains(u'"') ||
                             value.contains(u'\n') || value.contains(u'\r');
    if (!needsQuotes)
        return value;
    QString quoted = value;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

} // namespace torvane
