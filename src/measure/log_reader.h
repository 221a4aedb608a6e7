#pragma once

#include "local_clock.h"
#include "log_format.h"
#include "reading_time.h"

#include <QIODevice>
#include <QList>
#include <QStringList>

#include <functional>
#include <string_view>
#include <vector>

namespace torvane {

// Told as the bytes are read: how many so far, and of how many (-1 when the device does not
// know). Returning false stops the reading.
using MeasureProgress = std::function<bool(qint64 bytesRead, qint64 bytesTotal)>;

// A device's lines, without their line ends (LF or CR LF), read a large block at a time so
// that memory does not grow with the input. A line longer than LongestLine is cut there
// and its rest skipped.
class LineSource {
public:
    static constexpr std::size_t LongestLine = 64 * 1024;

    LineSource(QIODevice& device, MeasureProgress progress);
    // False at the end, when a read fails or when the progress asked to stop.
    bool next(std::string_view& line);
    qint64 number() const { return m_number; }
    bool cut() const { return m_cut; }
    bool cancelled() const { return m_cancelled; }
    const QString& failure() const { return m_failure; }

private:
    bool fill();

    QIODevice& m_device;
    MeasureProgress m_progress;
    std::vector<char> m_buffer;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_ended = false;
    bool m_skipping = false; // the rest of a line that was cut
    bool m_cut = false;
    bool m_cancelled = false;
    QString m_failure;
    qint64 m_read = 0;
    qint64 m_total = -1;
    qint64 m_number = 0;
};

// One row of a log: its UTC time, and its power in watts (a counter's energy in watt-hours),
// or NaN for a history state that is not a number.
struct LogReading {
    qint64 utcMs = 0;
    double value = 0;
    qint64 line = 0;
};

struct UnreadableLine {
    qint64 line = 0;
    QString reason;
};

// A log's rows as readings, its format found from its first line. Rows that cannot be read
// are counted, the first few kept with their reasons, and skipped.
class LogReader {
public:
    static constexpr int KeptUnreadable = 10;
    static constexpr int KeptOtherEntities = 3;

    LogReader(QIODevice& device, MeasureProgress progress);
    // Reads the first line and finds the format: empty, or why the log cannot be used.
    QString start();
    // The next reading; false at the end, or when reading stopped (stopped() says why).
    bool next(LogReading& reading);
    bool cancelled() const { return m_lines.cancelled(); }
    const QString& failure() const { return m_lines.failure(); }

    const LogFormat& format() const { return m_format; }
    TimeForm timeForm() const { return m_timeForm; }
    bool decimalComma() const { return m_decimalComma; }
    // A history's entity: the one given, else the first whose name does not say energy.
    const QString& entity() const { return m_entity; }
    void readEntity(const QByteArray& entity);
    // Every entity's rows, each reading's entity in rowEntity(), to choose one from.
    void readEveryEntity() { m_everyEntity = true; }
    std::string_view rowEntity() const { return m_rowEntity; }
    qint64 otherEntityRows() const { return m_otherEntityRows; }
    // The first entities left out, by name: KeptOtherEntities, and one more if there are more.
    const QStringList& otherEntities() const { return m_otherEntities; }
    qint64 unreadableLines() const { return m_unreadable; }
    const QList<UnreadableLine>& firstUnreadable() const { return m_firstUnreadable; }

private:
    bool readRow(std::string_view line, LogReading& reading);
    bool sameEntity(std::string_view entity);
    bool readValue(std::string_view text, LogReading& reading);
    void unreadable(const QString& reason);

    LineSource m_lines;
    LocalClock m_clock;
    LogFormat m_format;
    std::vector<std::string_view> m_fields; // the line's columns, and the rest of the line
    std::string_view m_firstRow; // a row without a header, read again as the first reading
    std::string m_firstRowText;
    TimeForm m_timeForm = TimeForm::Iso;
    bool m_timeFormSet = false;
    bool m_decimalComma = false;
    std::string m_entityBytes;
    QString m_entity;
    bool m_everyEntity = false;
    std::string_view m_rowEntity;
    qint64 m_otherEntityRows = 0;
    QStringList m_otherEntities;
    qint64 m_previousUtc = 0;
    qint64 m_unreadable = 0;
    QList<UnreadableLine> m_firstUnreadable;
};

} // namespace torvane
