#include "ansi_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace torvane {

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace torvane

namespace torvane::AnsiFile {
namespace {

// What Windows-1252 puts at 0x80 to 0x9F; the rest of the code page is Latin-1. The five
// unassigned places decode as the C1 control of the same number.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The code page's own place for a character, or 0 where it has none.
char placeOf(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return 0;
}

// Characters that the locales write in numbers and money (digit groups, signs, decimal
// separators, currency symbols) and the code page lacks, with the nearest that it has.
constexpr std::pair<char32_t, char> NearestPlaces[] = {
    {0x2010, '-'},    {0x2011, '-'},    {0x2012, '-'},    {0x2212, '-'},    {0xFE63, '-'},
    {0x2015, '\x97'}, {0x066B, '.'},    {0x066C, ','},    {0x060C, ','},    {0x2E41, ','},
    {0x061B, ';'},    {0x066A, '%'},    {0x0609, '\x89'}, {0x02BB, '\x91'}, {0x02BD, '\x91'},
    {0x02BC, '\x92'}, {0x2032, '\''},   {0x2033, '"'},    {0x2024, '.'},    {0x2044, '/'},
    {0x2215, '/'},    {0x0131, 'i'},    {0x0141, 'L'},    {0x0142, 'l'},    {0x0110, '\xD0'},
    {0x0111, 'd'},    {0x0126, 'H'},    {0x0127, 'h'},    {0x0166, 'T'},    {0x0167, 't'},
    {0xFFE0, '\xA2'}, {0xFFE1, '\xA3'}, {0xFFE2, '\xAC'}, {0xFFE3, '\xAF'}, {0xFFE4, '\xA6'},
    {0xFFE5, '\xA5'}};

// What a character becomes in the code page: its own place, else the nearest character
// that the code page has (any space as the no-break space, which keeps digit groups
// together; a digit of any script as its ASCII digit; a letter as the letter without its
// accent), or nothing (0) for a mark that only steers the direction of the text. Anything
// else is "?".
char nearestPlace(char32_t c)
{
    if (const char own = placeOf(c); own != 0)
        return own;
    for (const auto& [character, place] : NearestPlaces) {
        if (character == c)
            return place;
    }
    switch (QChar::category(c)) {
    case QChar::Separator_Space:
        return '\xA0';
    case QChar::Other_Format:
        return 0;
    case QChar::Number_DecimalDigit:
        return static_cast<char>('0' + QChar::digitValue(c));
    default:
        break;
    }
    if (c >= 0xFF01 && c <= 0xFF5E) // the full-width forms of ASCII
        return static_cast<char>(c - 0xFEE0);
    if (QChar::decompositionTag(c) == QChar::Canonical) {
        const char letter = placeOf(QChar::decomposition(c).front().unicode());
        if (letter != 0)
            return letter;
    }
    return '?';
}

} // namespace

QByteArray encode(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        // A character outside the basic plane is one character, not two.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(text[i], text[i + 1]), ++i;
        if (c == 0) {
            bytes += '\0';
        } else if (const char place = nearestPlace(c); place != 0) {
            bytes += place;
        }
    }
    return bytes;
}

bool hasPlaces(QStringView text)
{
    return encode(text.toString()).count('?') == text.count(u'?');
}

QString decode(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : char16_t(byte));
    }
    return text;
}

bool exists(const QString& path)
{
    return QFileInfo(path).isFile();
}

bool open(QFile& file, QIODevice::OpenMode mode)
{
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (mode & QIODevice::WriteOnly) {
        flags |= (mode & QIODevice::ReadOnly) ? O_RDWR : O_WRONLY;
        flags |= (mode & QIODevice::ExistingOnly) ? 0 : O_CREAT;
        flags |= (mode & QIODevice::Append) ? O_APPEND : 0;
        flags |= (mode & QIODevice::Truncate) ? O_TRUNC : 0;
    }
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), flags, 0666);
    if (fd < 0)
        return false;
    struct stat info {};
    const int status = ::fcntl(fd, F_GETFL);
    // Reads and writes of a regular file never wait, so the flag can go again.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || status == -1 ||
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0 ||
        !file.open(fd, mode & ~QIODevice::ExistingOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool create(const QString& path, const QString& text)
{
    QFile file(path);
    if (!open(file, QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = encode(text);
    if (file.write(bytes) == bytes.size() && file.flush())
        return true;
    file.close();
    QFile::remove(path);
    return false;
}

bool replace(const QString& path, const QString& text)
{
    // By its owner's write permission, which binds even a user who may write anything.
    const QFileInfo old(path);
    if (old.exists() && !old.permission(QFileDevice::WriteOwner))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encode(text);
    return file.write(bytes) == bytes.size() && commit(file);
}

bool commit(QSaveFile& file)
{
    // QSaveFile::commit() of Qt 6.4 ignores a flush or a sync that fails (a full disk, a
    // failing device) and puts the short file in place: both are done and checked first.
    return file.flush() && ::fsync(file.handle()) == 0 && file.commit();
}

namespace {

// Writes all of the bytes, going on after a short write; false when the file takes no more.
bool writeAll(int fd, const char* bytes, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, static_cast<std::size_t>(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

} // namespace

Append append(const QString& path, const QString& text)
{
    if (!exists(path))
        return Append::Missing;
    QFile file(path);
    if (!open(file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly))
        return Append::Failed;
    const int fd = file.handle();
    // Another copy of the program appending at the same moment waits, so that cutting a
    // failed append back never cuts into its entry.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    struct stat before {};
    if (::fstat(fd, &before) != 0)
        return Append::Failed;
    const QByteArray bytes = encode(text);
    if (writeAll(fd, bytes.constData(), bytes.size()))
        return Append::Done;
    // A full disk or a size limit took part of it: a torn entry would run into the next
    // one, so the file goes back to what it was.
    while (::ftruncate(fd, before.st_size) != 0 && errno == EINTR) {
    }
    return Append::Failed;
}

Read readLines(const QString& path, QStringList& lines)
{
    QFile file(path);
    if (!open(file, QIODevice::ReadOnly))
        return Read::Failed;
    // Read as it comes, up to one byte past the most. Asking for all of that at once makes a
    // buffer of that size for the smallest file, and its release leaves the allocator
    // keeping every later block on the heap for good.
    QByteArray bytes;
    char piece[16 * 1024];
    while (bytes.size() <= MostBytes) {
        const qint64 got =
            file.read(piece, std::min<qint64>(sizeof piece, MostBytes + 1 - bytes.size()));
        if (got < 0)
            return Read::Failed;
        if (got == 0)
            break;
        bytes.append(piece, got);
    }
    if (file.error() != QFileDevice::NoError)
        return Read::Failed;
    if (bytes.size() > MostBytes)
        return Read::TooLarge;
    lines = splitLines(bytes);
    return Read::Done;
}

QStringList splitLines(const QByteArray& bytes)
{
    const QString text = decode(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (text[i] == QLatin1Char('\r') && i + 1 < text.size() &&
                text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

} // namespace torvane::AnsiFile
