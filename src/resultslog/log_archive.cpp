#include "log_archive.h"

#include "core/ansi_file.h"

#include <QFile>
#include <QSaveFile>

#include <array>
#include <cstring>

namespace torvane {
namespace {

constexpr qint64 PieceSize = 64 * 1024;

using Piece = std::array<char, PieceSize>;

} // namespace

void DataScan::feed(QByteArrayView bytes)
{
    static constexpr char Normal[] = "Normal";
    if (m_found)
        return;
    for (const char c : bytes) {
        if (c == '\r' || c == '\n')
            m_matched = 0;
        else if (m_matched < 0 || (m_matched == 0 && c == ' '))
            continue;
        else if (c != Normal[m_matched])
            m_matched = -1;
        else if (++m_matched == 6) {
            m_found = true;
            return;
        }
    }
}

LogScan scanLog(const QString& path)
{
    LogScan scan;
    QFile file(path);
    if (!AnsiFile::open(file, QIODevice::ReadOnly))
        return scan;
    DataScan data;
    Piece piece;
    qint64 read = 0;
    while (!data.hasData() && (read = file.read(piece.data(), PieceSize)) > 0) {
        data.feed(QByteArrayView(piece.data(), read));
        scan.size += read;
    }
    scan.readable = read >= 0;
    scan.hasData = data.hasData();
    return scan;
}

QString archiveFileName(const QDate& day, int sequence)
{
    return QStringLiteral("Torvane_") + day.toString(QStringLiteral("yyMMdd")) + QLatin1Char('_') +
           QString::number(sequence) + QStringLiteral(".log");
}

qint64 copyVerified(const QString& from, const QString& to)
{
    QFile source(from);
    QSaveFile target(to);
    if (!AnsiFile::open(source, QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        return -1;
    Piece piece;
    qint64 copied = 0;
    qint64 read = 0;
    while ((read = source.read(piece.data(), PieceSize)) > 0) {
        if (target.write(piece.data(), read) != read)
            return -1;
        copied += read;
    }
    if (read < 0 || !AnsiFile::commit(target))
        return -1;

    // The copy as it reads back, against the log.
    QFile copy(to);
    bool same = source.seek(0) && copy.open(QIODevice::ReadOnly) && copy.size() == copied;
    Piece other;
    while (same && (read = source.read(piece.data(), PieceSize)) > 0)
        same = copy.read(other.data(), read) == read &&
               std::memcmp(piece.data(), other.data(), static_cast<std::size_t>(read)) == 0;
    if (same && read == 0)
        return copied;
    // A copy that differs is this call's own, and no archive: it goes.
    copy.close();
    QFile::remove(to);
    return -1;
}

} // namespace torvane
