#include "batch_output.h"

#include "core/ansi_file.h"
#include "core/csv_reader.h"
#include "core/utf8.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

using Outcome = BatchComparison::Outcome;

// Month by month, in plain numbers with a full stop whatever the locale: data for other
// programs. A row that was not calculated has no lines.
void writeTimeline(StandardOutput& out, qint64 row, const BatchComparison::Result& result)
{
    if (!result.timeline)
        return;
    const Timeline& t = *result.timeline;
    QString line;
    for (std::size_t month = 0; month < t.cost1.size(); ++month) {
        line = u"%1,%2"_s.arg(row).arg(month + 1);
        for (double value : {t.cost1[month], t.cost2[month], t.kwh1[month], t.kwh2[month]})
            line += QLatin1Char(',') + QString::number(value, 'f', 2);
        out.write(line);
        out.write(CrLf);
    }
}

void writeCsvLine(StandardOutput& out, qint64 row, const BatchComparison::Result& result)
{
    static constexpr std::u16string_view Outcomes[] = {u"ok", u"error", u"", u"fatal"};
    // The row number, the outcome and the comma before the messages, in one piece.
    char digits[24];
    char16_t head[40];
    const char* digitsEnd = std::to_chars(digits, digits + sizeof digits, row).ptr;
    char16_t* at = std::copy(static_cast<const char*>(digits), digitsEnd, head);
    *at++ = u',';
    if (result.outcome != Outcome::Status) {
        const std::u16string_view outcome = Outcomes[static_cast<int>(result.outcome)];
        at = std::copy(outcome.begin(), outcome.end(), at);
        *at++ = u',';
    }
    out.write(QStringView(head, at));
    if (result.outcome == Outcome::Status) {
        out.writeCsvField(result.status);
        out.write(u",");
    }
    if (!result.messages.isEmpty())
        out.writeCsvField(result.messages.join(u" | "_s));
    out.writeCsvFields(result.results);
    out.write(CrLf);
}

// The record, or what the window would have shown in its place, and a blank line to
// part it from the next.
void writeRecord(StandardOutput& out, const BatchComparison::Result& result)
{
    switch (result.outcome) {
    case Outcome::Calculated:
        out.write(result.record);
        break;
    case Outcome::Refused:
        out.write(u"Torvane Data Error\r\n");
        out.write(result.messages.join(CrLf));
        out.write(CrLf);
        break;
    case Outcome::Status:
        out.write(result.status);
        out.write(CrLf);
        break;
    case Outcome::Fatal:
        out.write(u"Torvane Fatal Error\r\n");
        out.write(result.messages.join(CrLf));
        out.write(CrLf);
        break;
    }
    out.write(CrLf);
}

// Whether the text, of at most PendingChars characters, holds that many commas and no
// quote or line break; eight characters at a time where it can.
bool onlyCommas(const char16_t* at, const char16_t* end, qsizetype commas)
{
    qsizetype found = 0;
    bool others = false;
#if defined(__SSE2__)
    const auto unitIs = [](__m128i units, char16_t c) {
        return _mm_cmpeq_epi16(units, _mm_set1_epi16(static_cast<short>(c)));
    };
    // A match is -1 in its lane: taking it away counts it (at most 512 a lane here).
    __m128i commaLanes = _mm_setzero_si128();
    __m128i otherLanes = _mm_setzero_si128();
    for (; end - at >= 8; at += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        commaLanes = _mm_sub_epi16(commaLanes, unitIs(units, u','));
        otherLanes = _mm_or_si128(
            otherLanes, _mm_or_si128(_mm_or_si128(unitIs(units, u'"'), unitIs(units, u'\r')),
                                     unitIs(units, u'\n')));
    }
    alignas(16) std::int16_t lanes[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), commaLanes);
    for (const std::int16_t lane : lanes)
        found += lane;
    others = _mm_movemask_epi8(otherLanes) != 0;
#endif
    for (; at < end; ++at) {
        found += *at == u',' ? 1 : 0;
        others = others || *at == u'"' || *at == u'\r' || *at == u'\n';
    }
    return found == commas && !others;
}

} // namespace

QString outputProblem(int error)
{
    return u"standard output cannot be written: %1"_s.arg(
        QString::fromLocal8Bit(std::strerror(error)));
}

StandardOutput::StandardOutput()
    : m_bytes(std::make_unique_for_overwrite<char[]>(Block + 16))
{}

void StandardOutput::writeLong(QStringView text)
{
    // Short texts are gathered and encoded a few thousand characters at a time: the
    // encoder's start-up costs more than a short text's characters. A long text is encoded
    // where it stands, in pieces cut where no character is split.
    encodePending();
    const auto most = static_cast<qsizetype>(PendingChars);
    while (text.size() > most) {
        const qsizetype piece = text[most - 1].isHighSurrogate() ? most - 1 : most;
        encode(text.first(piece));
        text = text.sliced(piece);
    }
    encode(text);
}

void StandardOutput::encodePending()
{
    encode(m_pending.view());
    m_pending.clear();
}

void StandardOutput::encode(QStringView text)
{
    if (m_used + 3 * text.size() > Block)
        flushBytes();
    // The quick encoder writes all but the rare surrogate; the rest goes to Qt's.
    const char16_t* at = text.utf16();
    const char16_t* const end = at + text.size();
    char* written = encodeUtf8UpToSurrogate(at, end, m_bytes.get() + m_used);
    if (at != end)
        written = m_encoder.appendToBuffer(written, QStringView(at, end));
    m_used = written - m_bytes.get();
}

void StandardOutput::writeCsvField(QStringView value)
{
    if (csvNeedsQuotes(value))
        write(csvField(value.toString()));
    else
        write(value);
}

void StandardOutput::writeCsvFields(const QList<QStringView>& values)
{
    // Values seldom need quotes: they are all written as they are, each after a comma, and
    // what was written is looked through once. Should it hold a quote, a line break or a
    // comma besides those written, the fields are written again, each as it needs.
    auto size = static_cast<std::size_t>(values.size());
    for (QStringView value : values)
        size += static_cast<std::size_t>(value.size());
    // A full buffer is encoded first, so that the row still goes the quick way.
    if (m_pending.size() + size > PendingChars)
        encodePending();
    if (size <= PendingChars) {
        char16_t* const start = m_pending.room(size);
        char16_t* at = start;
        for (QStringView value : values) {
            *at++ = u',';
            at = copyText(value.utf16(), static_cast<std::size_t>(value.size()), at);
        }
        if (onlyCommas(start, at, values.size())) {
            m_pending.setEnd(at);
            return;
        }
    }
    for (QStringView value : values) {
        write(u",");
        writeCsvField(value);
    }
}

bool StandardOutput::flush()
{
    encodePending();
    return flushBytes();
}

bool StandardOutput::flushBytes()
{
    if (m_error == 0 && (std::fwrite(m_bytes.get(), 1, static_cast<std::size_t>(m_used), stdout) !=
                             static_cast<std::size_t>(m_used) ||
                         std::fflush(stdout) != 0))
        m_error = errno;
    m_used = 0;
    return m_error == 0;
}

void writeHeading(StandardOutput& out, BatchOptions::Format format)
{
    switch (format) {
    case BatchOptions::Format::Record:
        break;
    case BatchOptions::Format::Csv:
        out.write(u"row,status,messages,");
        out.write(BatchComparison::resultColumns().join(QLatin1Char(',')));
        out.write(CrLf);
        break;
    case BatchOptions::Format::Timeline:
        out.write(u"row,month,Item1Cost,Item2Cost,Item1KWh,Item2KWh\r\n");
        break;
    }
}

void writeRow(StandardOutput& out, qint64 row, const BatchComparison::Result& result,
              BatchOptions::Format format)
{
    switch (format) {
    case BatchOptions::Format::Record:
        writeRecord(out, result);
        break;
    case BatchOptions::Format::Csv:
        writeCsvLine(out, row, result);
        break;
    case BatchOptions::Format::Timeline:
        writeTimeline(out, row, result);
        break;
    }
}

} // namespace torvane
