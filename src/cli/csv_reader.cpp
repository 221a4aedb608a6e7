#include "csv_reader.h"

using namespace Qt::StringLiterals;

namespace torvane {

CsvReader::CsvReader(QIODevice& device)
    : m_device(device)
{}

bool CsvReader::atEnd()
{
    while (m_pos >= m_buffer.size()) {
        if (m_deviceDone)
            return true;
        const QByteArray chunk = m_device.read(64 * 1024);
        m_buffer = m_decoder.decode(chunk);
        m_pos = 0;
        if (chunk.isEmpty())
            m_deviceDone = true;
        if (m_first && !m_buffer.isEmpty()) {
            m_first = false;
            if (m_buffer.front() == QChar(0xFEFF))
                m_pos = 1;
        }
    }
    return false;
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
    while (!atEnd() && (peek() == QLatin1Char('\n') || peek() == QLatin1Char('\r'))) {
        if (peek() == QLatin1Char('\n'))
            ++m_line;
        ++m_pos;
    }
    m_recordLine = m_line;
    if (atEnd())
        return m_decoder.hasError() ? fail(u"the text is not valid UTF-8"_s) : Result::End;

    QString field;
    bool quoted = false;
    bool afterQuote = false;
    for (;;) {
        if (atEnd()) {
            if (quoted)
                return fail(u"a quoted field is not closed"_s);
            break;
        }
        const QChar c = peek();
        ++m_pos;
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (!atEnd() && peek() == QLatin1Char('"')) {
                    field += c;
                    ++m_pos;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++m_line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char(',')) {
            fields.append(field);
            field.clear();
            afterQuote = false;
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && !atEnd() && peek() == QLatin1Char('\n'))
                ++m_pos;
            ++m_line;
            break;
        } else if (afterQuote) {
            return fail(u"text follows a closing quote"_s);
        } else if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
        } else {
            field += c;
        }
    }
    fields.append(field);
    // The decoder works ahead of the records; the bad bytes are in this record when it
    // holds what they were decoded as.
    if (m_decoder.hasError()) {
        for (const QString& text : std::as_const(fields)) {
            if (text.contains(QChar::ReplacementCharacter))
                return fail(u"the text is not valid UTF-8"_s);
        }
    }
    return Result::Record;
}

QString csvField(const QString& value)
{
    const bool needsQuotes = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
                             value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'));
    if (!needsQuotes)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), u"\"\""_s);
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace torvane
