#include "csv_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

constexpr qsizetype ChunkBytes = 32 * 1024;
// A UTF-16 unit takes at most three bytes of UTF-8, so a record of more bytes than this,
// whatever it holds, is too long.
constexpr qsizetype MostRecordBytes = 3 * CsvReader::LongestRecord + 3;

enum class Encoding { Ascii, Utf8, Invalid };

// Checks the bytes as UTF-8 (no overlong forms, no surrogates, no character cut off at
// the end), eight ASCII bytes at a time where it can.
Encoding encodingOf(const unsigned char* at, const unsigned char* end)
{
    bool ascii = true;
    while (at < end) {
        std::uint64_t eight = 0;
        if (end - at >= 8 && (std::memcpy(&eight, at, 8), (eight & 0x8080808080808080ULL) == 0)) {
            at += 8;
            continue;
        }
        const unsigned char lead = *at;
        if (lead < 0x80) {
            ++at;
            continue;
        }
        ascii = false;
        int continuations = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
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
            return Encoding::Invalid;
        }
        if (end - at <= continuations || at[1] < low || at[1] > high)
            return Encoding::Invalid;
        for (int k = 2; k <= continuations; ++k) {
            if (at[k] < 0x80 || at[k] > 0xBF)
                return Encoding::Invalid;
        }
        at += 1 + continuations;
    }
    return ascii ? Encoding::Ascii : Encoding::Utf8;
}

// The UTF-16 units that UTF-8 bytes decode to: one for each character, two for those
// beyond 16 bits.
qsizetype utf16Length(const unsigned char* at, const unsigned char* end)
{
    qsizetype units = 0;
    for (; at < end; ++at)
        units += ((*at & 0xC0) != 0x80) + (*at >= 0xF0);
    return units;
}

// The bytes that end a plain field.
constexpr auto PlainFieldEnds = [] {
    std::array<bool, 256> ends{};
    ends[','] = ends['\r'] = ends['\n'] = true;
    return ends;
}();

// The bytes that end the quick reading of a record: its line end, and the quotes and bytes
// beyond ASCII that need the full reading.
constexpr auto QuickStops = [] {
    std::array<bool, 256> stops{};
    stops['"'] = stops['\r'] = stops['\n'] = true;
    for (std::size_t byte = 0x80; byte < 256; ++byte)
        stops[byte] = true;
    return stops;
}();

// The bytes that stop the scan of a quoted field: its quotes, and the line ends counted
// inside it.
constexpr auto QuotedFieldStops = [] {
    std::array<bool, 256> stops{};
    stops['"'] = stops['\r'] = stops['\n'] = true;
    return stops;
}();

// Scans the bytes read so far up to one of the stops, then reads more while it finds none.
template <std::size_t N>
void skipUntil(const std::array<bool, N>& stops, QByteArray& bytes, qsizetype& pos)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const unsigned char* at = data + pos;
    const unsigned char* end = data + bytes.size();
    while (at < end && !stops[*at])
        ++at;
    pos = at - data;
}

// Goes through whole blocks of sixteen bytes, handing each block's commas to commasAt as a
// bit mask, up to the first byte that ends the quick reading (stopped is then set): a line
// end, a quote or a byte beyond ASCII; with Widen, writes them into text, which stands for
// the bytes from begin. Returns where it stopped, or the start of the bytes left over.
template <bool Widen, typename CommasAt>
const unsigned char*
scanBlocks(const unsigned char* begin, [[maybe_unused]] const unsigned char* end,
           [[maybe_unused]] char16_t* text, [[maybe_unused]] const CommasAt& commasAt,
           [[maybe_unused]] bool& stopped)
{
    const unsigned char* at = begin;
#if defined(__SSE2__)
    const auto byteIs = [](__m128i bytes, char c) {
        return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c));
    };
    for (; end - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        if constexpr (Widen) {
            auto* wide = reinterpret_cast<__m128i*>(text + (at - begin));
            _mm_storeu_si128(wide, _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
            _mm_storeu_si128(wide + 1, _mm_unpackhi_epi8(bytes, _mm_setzero_si128()));
        }
        // A byte beyond ASCII has its top bit set, which the mask takes as it is.
        const __m128i ends = _mm_or_si128(_mm_or_si128(byteIs(bytes, '\n'), byteIs(bytes, '\r')),
                                          _mm_or_si128(byteIs(bytes, '"'), bytes));
        const auto stops = static_cast<unsigned>(_mm_movemask_epi8(ends));
        const auto commas = static_cast<unsigned>(_mm_movemask_epi8(byteIs(bytes, ',')));
        if (stops != 0) {
            const int stop = std::countr_zero(stops);
            commasAt(at, commas & ((1U << stop) - 1));
            stopped = true;
            return at + stop;
        }
        commasAt(at, commas);
    }
#endif
    return at;
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
        if (m_recordStart > 0) {
            m_bytes.remove(0, m_recordStart);
            m_pos -= m_recordStart;
            m_recordStart = 0;
        }
        if (m_bytes.size() > MostRecordBytes) {
            m_stop = tooLong();
            return false;
        }
        const qsizetype used = m_bytes.size();
        m_bytes.resize(used + ChunkBytes);
        const qint64 got = m_device.read(m_bytes.data() + used, ChunkBytes);
        m_bytes.resize(used + std::max<qint64>(got, 0));
        m_deviceDone = got <= 0;
        if (got < 0)
            m_stop = u"the input cannot be read: %1"_s.arg(m_device.errorString());
        if (m_pos < m_bytes.size())
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
    const char c = m_bytes[m_pos];
    if (c != '\r' && c != '\n')
        return false;
    ++m_pos;
    if (c == '\r' && more() && m_bytes[m_pos] == '\n')
        ++m_pos;
    ++m_line;
    return true;
}

void CsvReader::readPlainField()
{
    const qsizetype start = m_pos - m_recordStart; // reading more moves the bytes
    do
        skipUntil(PlainFieldEnds, m_bytes, m_pos);
    while (m_pos == m_bytes.size() && more());
    addSpan(start, m_pos - m_recordStart - start);
}

CsvReader::Result CsvReader::next(QList<QStringView>& fields)
{
    m_spanCount = 0;
    if (m_first) {
        // A byte order mark opening the input is not part of the first field.
        m_first = false;
        while (m_bytes.size() < 3 && !m_deviceDone)
            fill();
        if (m_bytes.startsWith("\xEF\xBB\xBF"))
            m_pos = 3;
    }
    // Offsets are kept from the record's start, which reading more does not move.
    m_recordStart = m_pos;
    while (more() && lineEnd()) // blank lines between records carry nothing
        m_recordStart = m_pos;
    m_recordLine = m_line;
    if (!more()) {
        fields.clear();
        return m_stop.isEmpty() ? Result::End : fail(m_stop);
    }
    qsizetype length = 0; // of the record without its line end
    if (readSimpleRecord(length)) {
        pointFields(fields);
        return Result::Record;
    }
    for (;;) {
        if (more() && m_bytes[m_pos] == '"') {
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

bool CsvReader::readSimpleRecord(qsizetype& length)
{
    const auto* data = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    const unsigned char* const begin = data + m_pos;
    const unsigned char* const end = data + m_bytes.size();
    if (m_text.size() < static_cast<std::size_t>(end - begin))
        m_text.resize(static_cast<std::size_t>(end - begin));
    char16_t* const text = m_text.data();
    const unsigned char* field = begin;
    const auto commasAt = [&](const unsigned char* block, unsigned commas) {
        for (; commas != 0; commas &= commas - 1) {
            const unsigned char* comma = block + std::countr_zero(commas);
            addSpan(field - begin, comma - field);
            field = comma + 1;
        }
    };
    bool stopped = false;
    const unsigned char* at = scanBlocks<true>(begin, end, text, commasAt, stopped);
    for (; !stopped && at < end && !QuickStops[*at]; ++at) {
        text[at - begin] = *at;
        if (*at == ',')
            commasAt(at, 1);
    }
    // A line feed, or CR LF, ends the record here; anything else is for the full reading.
    const bool crLf = end - at >= 2 && at[0] == '\r' && at[1] == '\n';
    if (at == end || (*at != '\n' && !crLf) || at - begin > LongestRecord) {
        m_spanCount = 0;
        return false;
    }
    addSpan(field - begin, at - field);
    length = at - begin;
    m_pos = at + (crLf ? 2 : 1) - data;
    ++m_line;
    return true;
}

CsvReader::Result CsvReader::skim(qsizetype& count)
{
    m_skimmed = -1;
    // Only where next() would read the usual record, and nothing before it.
    const char first = m_pos < m_bytes.size() ? m_bytes.constData()[m_pos] : '\n';
    if (!m_first && first != '\r' && first != '\n' && skimSimpleRecord(count))
        return Result::Record;
    const Result result = next(m_fields);
    count = m_fields.size();
    return result;
}

bool CsvReader::skimSimpleRecord(qsizetype& count)
{
    const auto* data = reinterpret_cast<const unsigned char*>(m_bytes.constData());
    const unsigned char* const begin = data + m_pos;
    const unsigned char* const end = data + m_bytes.size();
    qsizetype commas = 0;
    // The bits of a block's 16-bit mask added in place: popcount is a library call on
    // machines not known to have its instruction.
    const auto commasAt = [&](const unsigned char*, unsigned mask) {
        mask -= (mask >> 1) & 0x5555U;
        mask = (mask & 0x3333U) + ((mask >> 2) & 0x3333U);
        mask = (mask + (mask >> 4)) & 0x0F0FU;
        commas += static_cast<qsizetype>((mask + (mask >> 8)) & 0x1FU);
    };
    bool stopped = false;
    const unsigned char* at = scanBlocks<false>(begin, end, nullptr, commasAt, stopped);
    for (; !stopped && at < end && !QuickStops[*at]; ++at)
        commas += *at == ',';
    // As readSimpleRecord() would take it.
    const bool crLf = end - at >= 2 && at[0] == '\r' && at[1] == '\n';
    if (at == end || (*at != '\n' && !crLf) || at - begin > LongestRecord)
        return false;
    m_recordStart = m_pos;
    m_recordLine = m_line;
    m_skimmed = at - begin;
    count = commas + 1;
    m_pos = at + (crLf ? 2 : 1) - data;
    ++m_line;
    return true;
}

QStringView CsvReader::field(qsizetype index)
{
    if (m_skimmed < 0)
        return index < m_fields.size() ? m_fields[index] : QStringView();
    const char* at = m_bytes.constData() + m_recordStart;
    const char* const end = at + m_skimmed;
    for (qsizetype i = 0; i < index && at <= end; ++i) {
        const void* comma = std::memchr(at, ',', static_cast<std::size_t>(end - at));
        at = comma ? static_cast<const char*>(comma) + 1 : end + 1;
    }
    if (at > end)
        return QStringView();
    const void* comma = std::memchr(at, ',', static_cast<std::size_t>(end - at));
    const char* const stop = comma ? static_cast<const char*>(comma) : end;
    m_text.assign(at, stop); // ASCII: a byte is its character
    return QStringView(m_text.data(), stop - at);
}

bool CsvReader::readQuotedField()
{
    const qsizetype start = m_pos - m_recordStart; // reading more moves the bytes
    ++m_pos;
    bool doubled = false;
    for (;;) {
        skipUntil(QuotedFieldStops, m_bytes, m_pos);
        if (!more()) {
            fail(m_stop.isEmpty() ? u"a quoted field is not closed"_s : m_stop);
            return false;
        }
        if (m_bytes[m_pos] != '"') {
            lineEnd(); // a line break inside the quotes is part of the field
            continue;
        }
        const qsizetype size = m_pos++ - m_recordStart - start - 1;
        if (more() && m_bytes[m_pos] == '"') {
            doubled = true;
            ++m_pos;
            continue;
        }
        addSpan(start + 1, size, doubled);
        break;
    }
    if (more() && m_bytes[m_pos] != ',' && m_bytes[m_pos] != '\r' && m_bytes[m_pos] != '\n') {
        fail(u"text follows a closing quote"_s);
        return false;
    }
    return true;
}

CsvReader::Result CsvReader::finishRecord(QList<QStringView>& fields, qsizetype length)
{
    if (!m_stop.isEmpty())
        return fail(m_stop);
    const auto* record =
        reinterpret_cast<const unsigned char*>(m_bytes.constData()) + m_recordStart;
    if (length > LongestRecord && utf16Length(record, record + length) > LongestRecord)
        return fail(tooLong());
    const Encoding encoding = encodingOf(record, record + length);
    if (encoding == Encoding::Invalid) {
        fail(u"the text is not valid UTF-8"_s);
        m_recordSkipped = true; // read to its end: the next record reads as usual
        return Result::Error;
    }
    decodeFields(length, encoding == Encoding::Ascii);
    pointFields(fields);
    return Result::Record;
}

void CsvReader::pointFields(QList<QStringView>& fields) const
{
    fields.resize(static_cast<qsizetype>(m_spanCount));
    QStringView* field = fields.data();
    for (std::size_t i = 0; i < m_spanCount; ++i)
        field[i] = QStringView(m_text.data() + m_spans[i].offset, m_spans[i].size);
}

void CsvReader::decodeFields(qsizetype length, bool ascii)
{
    const char* record = m_bytes.constData() + m_recordStart;
    // Never more UTF-16 units than bytes.
    if (m_text.size() < static_cast<std::size_t>(length))
        m_text.resize(static_cast<std::size_t>(length));
    auto* const text = reinterpret_cast<QChar*>(m_text.data());
    if (ascii) // the usual case: one decoding, and the fields keep their offsets
        m_decoder.appendToBuffer(text, QByteArrayView(record, length));
    QChar* at = text;
    for (std::size_t i = 0; i < m_spanCount; ++i) {
        Span& span = m_spans[i];
        QChar* begin = ascii ? text + span.offset : at;
        QChar* end =
            ascii
                ? begin + span.size
                : m_decoder.appendToBuffer(begin, QByteArrayView(record + span.offset, span.size));
        if (span.doubledQuotes) {
            // Every quote inside is one of a pair.
            QChar* kept = begin;
            for (const QChar* c = begin; c < end; ++c) {
                *kept++ = *c;
                if (*c == u'"')
                    ++c;
            }
            end = kept;
        }
        span = {begin - text, end - begin, false};
        at = end;
    }
}

bool csvNeedsQuotes(QStringView value, QChar separator)
{
    return std::any_of(value.begin(), value.end(), [separator](QChar c) {
        return c == u'"' || c == u'\r' || c == u'\n' || c == separator;
    });
}

QString csvField(const QString& value, QChar separator)
{
    if (!csvNeedsQuotes(value, separator))
        return value;
    QString quoted = value;
    quoted.replace(u'"', u"\"\""_s);
    return u'"' + quoted + u'"';
}

} // namespace torvane
