#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QString>

namespace torvane {

// Whether a results log holds a result: a line that, its leading blanks skipped, begins
// with "Normal" (the tariff line of every record). Fed the file's bytes in pieces of any
// size, in order; it keeps nothing of them, so a log of any size takes the same memory.
class DataScan {
public:
    void feed(QByteArrayView bytes);
    bool hasData() const { return m_found; }

private:
    int m_matched = 0; // characters of "Normal" matched on this line; -1 when none can be
    bool m_found = false;
};

struct LogScan {
    bool readable = false;
    bool hasData = false;
    qint64 size = 0; // the bytes scanned
};
// Reads the log piece by piece up to its end, or up to the first result.
LogScan scanLog(const QString& path);

// The archive's name for that day and sequence number: "Torvane_261204_1.log".
QString archiveFileName(const QDate& day, int sequence);

// Copies a file to a new one of that name, which takes its place only once complete,
// then reads both again and compares them. Returns the bytes copied, or -1 when the
// copy failed or differs (it is then removed).
qint64 copyVerified(const QString& from, const QString& to);

} // namespace torvane
