#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

class QFile;
class QSaveFile;

namespace torvane {

// The line end of every text the program writes or shows.
inline const QString CrLf = QStringLiteral("\r\n");

// The text without the blanks (spaces) it begins and ends with; tabs and line ends stay.
QStringView trimBlanks(QStringView text);

// The program's text files: 8-bit Windows-1252 with CR LF line ends. Every call opens,
// reads or writes, and closes the file before it returns.
namespace AnsiFile {

// A character the code page lacks becomes the nearest one it has: a narrow or thin space
// the no-break space, a minus sign "-", a digit of any script its ASCII digit, a letter
// the letter without its accent; marks that steer the direction of text are left out. A
// character with nothing near (a letter of another script, an emoji) becomes "?".
QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);
// Whether every character of the text is written as itself or a near one, none as "?".
bool hasPlaces(QStringView text);

// Whether a regular file stands there: a folder, a named pipe or a device is no file
// the program can keep its text in.
bool exists(const QString& path);

// Opens the file only if it is a regular file, without ever waiting: a named pipe or a
// device put in its place fails at once instead of blocking the program. The file
// keeps no name once open.
bool open(QFile& file, QIODevice::OpenMode mode);

// Creates the file with the text, replacing any file of that name. A file that cannot
// take all of the text is removed again, so that no file is left without its start.
bool create(const QString& path, const QString& text);

// Replaces the file with one that holds the text, or creates it. The text goes into a new
// file beside it, which takes the old one's place only once complete: a failure leaves
// the old file as it was. A read-only file is not replaced.
bool replace(const QString& path, const QString& text);

// Puts a new file written through QSaveFile in place of the old one once all of it is on
// the disk; false, leaving the old file, when any of it could not be written.
bool commit(QSaveFile& file);

enum class Append { Done, Missing, Failed };
// Appends to an existing file, all or nothing: a write that fails part-way (a full disk,
// a size limit) is cut back off. Never creates a file.
Append append(const QString& path, const QString& text);

// The program's own text files are small; anything larger is no file of the program's.
inline constexpr qint64 MostBytes = 4 * 1024 * 1024;

enum class Read { Done, TooLarge, Failed };
// The file's lines without their line ends (CR LF, LF or a lone CR), when it holds at
// most MostBytes.
Read readLines(const QString& path, QStringList& lines);
// The lines of a file's bytes, as readLines gives them.
QStringList splitLines(const QByteArray& bytes);

} // namespace AnsiFile
} // namespace torvane
