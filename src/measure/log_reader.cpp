#include "log_reader.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

constexpr std::size_t Block = 1024 * 1024;

// A field as a message shows it: its first 40 bytes.
QString shown(std::string_view field)
{
    const std::size_t size = std::min<std::size_t>(field.size(), 40);
    return visibleText(field.substr(0, size)) + (size < field.size() ? u"..."_s : QString());
}

bool blank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Fields apart by the separator that are all blank, as a separator at the end of a line
// leaves.
bool blankFields(std::string_view fields, char separator)
{
    const char blankOrSeparator[] = {' ', '\t', separator, '\0'};
    return fields.find_first_not_of(blankOrSeparator) == std::string_view::npos;
}

} // namespace

LineSource::LineSource(QIODevice& device, MeasureProgress progress)
    : m_device(device)
    , m_progress(std::move(progress))
    , m_total(device.isSequential() ? -1 : device.size() - device.pos())
{
    // A small file needs no more room than it has bytes (and one to see its end).
    m_buffer.resize(m_total >= 0 ? std::min<std::size_t>(m_total + 1, Block + LongestLine)
                                 : Block + LongestLine);
}

bool LineSource::fill()
{
    if (m_begin > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_begin = 0;
    }
    if (m_end == m_buffer.size())
        m_buffer.resize(Block + LongestLine); // a file that grew as it was read
    const qint64 got =
        m_device.read(m_buffer.data() + m_end, static_cast<qint64>(m_buffer.size() - m_end));
    if (got < 0) {
        m_failure = u"the file could not be read: %1"_s.arg(m_device.errorString());
        return false;
    }
    m_ended = got == 0;
    m_end += static_cast<std::size_t>(got);
    m_read += got;
    if (got > 0 && m_progress && !m_progress(m_read, m_total)) {
        m_cancelled = true;
        return false;
    }
    return true;
}

bool LineSource::next(std::string_view& line)
{
    m_cut = false;
    for (;;) {
        const char* start = m_buffer.data() + m_begin;
        const std::size_t size = m_end - m_begin;
        const auto* end = static_cast<const char*>(std::memchr(start, '\n', size));
        if (m_skipping) {
            m_begin = end ? m_begin + static_cast<std::size_t>(end - start) + 1 : m_end;
            m_skipping = !end;
        } else if (end || size >= LongestLine || (m_ended && size > 0)) {
            std::size_t length = end ? static_cast<std::size_t>(end - start) : size;
            m_cut = !end && size >= LongestLine;
            length = std::min(length, LongestLine);
            m_begin += end ? length + 1 : length;
            m_skipping = m_cut;
            ++m_number;
            line = std::string_view(start, length);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            return true;
        }
        if (m_ended || m_cancelled || !m_failure.isEmpty() || !fill())
            return false;
    }
}

LogReader::LogReader(QIODevice& device, MeasureProgress progress)
    : m_lines(device, std::move(progress))
{}

QString LogReader::start()
{
    std::string_view line;
    while (m_lines.next(line) && blank(line)) {
    }
    if (!m_lines.failure().isEmpty() || m_lines.cancelled())
        return m_lines.failure();
    if (m_lines.number() == 0 || blank(line))
        return u"the file is empty"_s;
    if (line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF"))
        return u"the file is UTF-16 text: save it as UTF-8"_s;
    if (line.starts_with("\xEF\xBB\xBF"))
        line.remove_prefix(3);
    const QString unusable = detectLogFormat(line, m_format);
    // One field more than the columns shows a line that has too many.
    m_fields.resize(static_cast<std::size_t>(std::max(m_format.columnsNeeded(), m_format.columns)) +
                    1);
    if (unusable.isEmpty() && !m_format.header) {
        m_firstRowText = line;
        m_firstRow = m_firstRowText;
    }
    return unusable;
}

void LogReader::unreadable(const QString& reason)
{
    if (m_unreadable++ < KeptUnreadable)
        m_firstUnreadable.append({m_lines.number(), reason});
}

bool LogReader::next(LogReading& reading)
{
    std::string_view line;
    if (!m_firstRow.empty()) {
        line = m_firstRow;
        m_firstRow = {};
        if (readRow(line, reading))
            return true;
    }
    while (m_lines.next(line)) {
        if (m_lines.cut())
            unreadable(u"the line is longer than 65536 bytes"_s);
        else if (!blank(line) && readRow(line, reading))
            return true;
    }
    return false;
}

void LogReader::readEntity(const QByteArray& entity)
{
    m_entityBytes = entity.toStdString();
    m_entity = visibleText(m_entityBytes);
}

// A history is read for one entity; the rows of others are left out.
bool LogReader::sameEntity(std::string_view entity)
{
    if (m_everyEntity) {
        m_rowEntity = entity;
        return true;
    }
    // An energy entity counts, it does not tell the power: a power's rows may come later.
    if (m_entity.isEmpty() && namedFor(entity) != NamedFor::Energy)
        readEntity(QByteArray(entity.data(), static_cast<qsizetype>(entity.size())));
    if (!m_entity.isEmpty() && entity == m_entityBytes)
        return true;
    ++m_otherEntityRows;
    // One more than are told, to tell that there are more.
    if (m_otherEntities.size() <= KeptOtherEntities) {
        const QString name = visibleText(entity);
        if (!m_otherEntities.contains(name))
            m_otherEntities.append(name);
    }
    return false;
}

bool LogReader::readValue(std::string_view text, LogReading& reading)
{
    const bool number = parseReadingNumber(text, reading.value, m_decimalComma);
    reading.value *= m_format.scale;
    // Far beyond any appliance, and kept out so that the sums stay finite.
    const bool inRange = number && std::abs(reading.value) <= 1e15;
    if (m_format.kind == LogKind::History) {
        // Not a number (unavailable, unknown): unknown from here to the next change.
        if (!inRange)
            reading.value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    if (!inRange)
        unreadable(u"the %1 \"%2\" %3"_s.arg(
            m_format.kind == LogKind::Energy ? u"energy"_s : u"power"_s, shown(text),
            number ? u"is out of range"_s : u"is not a number"_s));
    return inRange;
}

bool LogReader::readRow(std::string_view line, LogReading& reading)
{
    std::string_view* fields = m_fields.data();
    const int needed = m_format.columnsNeeded();
    const int count =
        splitFields(line, m_format.separator, fields, static_cast<int>(m_fields.size()));
    if (count < needed) {
        unreadable(u"the line has %1 field%2 where %3 are needed"_s.arg(count)
                       .arg(count == 1 ? QString() : u"s"_s)
                       .arg(needed));
        return false;
    }
    // More fields than columns: most likely a decimal comma that splits a number in two. Empty
    // ones (a separator at the end of the line) say nothing.
    if (m_format.columns > 0 && count > m_format.columns &&
        !blankFields(fields[m_format.columns], m_format.separator)) {
        const int all =
            m_format.columns + countFields(fields[m_format.columns], m_format.separator);
        unreadable(u"the line has %1 fields where the log has %2 columns%3"_s.arg(all)
                       .arg(m_format.columns)
                       .arg(m_format.separator == ','
                                ? u": a decimal comma in a file separated by commas must be in "
                                  "quotes"_s
                                : QString()));
        return false;
    }
    if (m_format.entityColumn >= 0 && !sameEntity(fields[m_format.entityColumn]))
        return false;
    ReadingTime time;
    if (!parseReadingTime(fields[m_format.timeColumn], time)) {
        unreadable(u"the time \"%1\" cannot be read"_s.arg(shown(fields[m_format.timeColumn])));
        return false;
    }
    if (!readValue(fields[m_format.valueColumn], reading))
        return false;
    if (!m_timeFormSet) {
        m_timeForm = time.form;
        m_timeFormSet = true;
    }
    reading.utcMs = time.utc ? time.ms : m_clock.utcOf(time.ms, m_previousUtc);
    reading.line = m_lines.number();
    m_previousUtc = reading.utcMs;
    return true;
}

} // namespace torvane
