#include "batch_output.h"

#include "core/ansi_file.h"
#include "core/csv_reader.h"

#include <cerrno>
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
    QString line;
    line.setNum(row);
    line += QLatin1Char(',');
    line += result.outcome == Outcome::Status ? csvField(result.status)
                                              : Outcomes[static_cast<int>(result.outcome)];
    line += QLatin1Char(',') + csvField(result.messages.join(u" | "_s));
    for (const QString& value : result.results)
        line += QLatin1Char(',') + csvField(value);
    out.write(line);
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

bool StandardOutput::flush()
{
    if (m_error == 0 &&
        (std::fwrite(m_buffer.constData(), 1, static_cast<std::size_t>(m_buffer.size()), stdout) !=
             static_cast<std::size_t>(m_buffer.size()) ||
         std::fflush(stdout) != 0))
        m_error = errno;
    m_buffer.truncate(0);
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
