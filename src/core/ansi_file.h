#pragma once

#include <QString>
#include <QStringList>

class QSaveFile;

#include <optional>

namespace torvane {

// The line end of every text the program writes or shows.
inline const QString CrLf = QStringLiteral("\r\n");

// The text without the blanks (spaces) it begins and ends with; tabs and line ends stay.
QStringView trimBlanks(QStringView text);

// The program's text files: 8-bit Windows-1252 with CR LF line ends. Every call opens,
// reads or writes, and closes the file before it returns.
namespace AnsiFile {

QByteArray encode(const QString& text); // characters outside the code page become "?"
QString decode(const QByteArray& bytes);

bool exists(const QString& path);

// Creates the file with the text, replacing any file of that name.
bool create(const QString& path, const QString& text);

// Replaces the file with one that holds the text, or creates it. The text goes into a new
// file beside it, which takes the old one's place only once complete: a failure leaves
// the old file as it was. A read-only file is not replaced.
bool replace(const QString& path, const QString& text);

// Puts a new file written through QSaveFile in place of the old one once all of it is on
// the disk; false, leaving the old file, when any of it could not be written.
bool commit(QSaveFile& file);

enum class Append { Done, Missing, Failed };
// Appends to an existing file; never creates one.
Append append(const QString& path, const QString& text);

// The file's lines without their line ends (CR LF, LF or a lone CR); nullopt when the
// file cannot be read.
std::optional<QStringList> readLines(const QString& path);

} // namespace AnsiFile
} // namespace torvane
