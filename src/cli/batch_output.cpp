#include "batch_output.h"

#include "core/ansi_file.h"
#include "core/csv_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

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
    static const QStringList Outcomes = {u"ok"_s, u"error"_s, QString(), u"fatal"_s};
    char digits[24];
    char16_t wide[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, row).ptr;
    out.write(QStringView(wide, std::copy(static_cast<const char*>(digits), end, wide)));
    out.write(u",");
    if (result.outcome == Outcome::Status)
        out.writeCsvField(result.status);
    else
        out.write(Outcomes[static_cast<int>(result.outcome)]);
    out.write(u",");
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
    // Texts are gathered and encoded a few thousand characters at a time: the encoder's
    // start-up costs more than a short text's characters. A long text goes in pieces, cut
    // where no character is split.
    encodePending();
    const auto most = static_cast<qsizetype>(PendingChars);
    while (text.size() > most) {
        const qsizetype piece = text[most - 1].isHighSurrogate() ? most - 1 : most;
        write(text.first(piece));
        encodePending();
        text = text.sliced(piece);
    }
    write(text);
}

void StandardOutput::encodePending()
{
    if (m_used + 3 * static_cast<qsizetype>(m_pending.size()) > Block)
        flushBytes();
    m_used = m_encoder.appendToBuffer(m_bytes.get() + m_used, m_pending.view()) - m_bytes.get();
    m_pending.clear();
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
    // A bit for each character below 64 that makes a field need quotes.
    constexpr std::uint64_t quoted = 1ULL << '"' | 1ULL << '\r' | 1ULL << '\n' | 1ULL << ',';
    for (QStringView value : values) {
        const auto size = static_cast<std::size_t>(value.size());
        if (m_pending.size() + size + 1 > PendingChars) {
            write(u",");
            writeCsvField(value);
            continue;
        }
        // Copied as it is looked through, which is all a plain field needs.
        char16_t* const comma = m_pending.room(size + 1);
        char16_t* at = comma;
        *at++ = u',';
        bool plain = true;
        for (const QChar c : value) {
            const char16_t unit = c.unicode();
            plain = plain && (unit >= 64 || (quoted >> unit & 1) == 0);
            *at++ = unit;
        }
        m_pending.setEnd(plain ? at : comma + 1);
        if (!plain)
            write(csvField(value.toString()));
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
