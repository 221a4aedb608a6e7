// The 8-bit code page of the program's files: every byte decodes to one character that
// encodes back to it; text encodes character by character, each to its own byte, else
// to one byte of a near character ("?" when nothing is near), or to nothing for a mark
// that only steers the direction of text.

#include "core/ansi_file.h"
#include "fuzz_check.h"

#include <QSet>

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = AnsiFile::decode(bytes);
    require(text.size() == bytes.size() && AnsiFile::encode(text) == bytes, "bytes round trip");

    static const QSet<char32_t> inCodePage = [] {
        QSet<char32_t> characters;
        for (int byte = 0; byte < 256; ++byte)
            characters.insert(
                AnsiFile::decode(QByteArray(1, static_cast<char>(byte)))[0].unicode());
        return characters;
    }();
    // The same bytes read as UTF-16, surrogate halves and all.
    const QString any(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    QByteArray oneByOne;
    for (qsizetype i = 0; i < any.size(); ++i) {
        const bool pair =
            any[i].isHighSurrogate() && i + 1 < any.size() && any[i + 1].isLowSurrogate();
        const QString character = any.mid(i, pair ? 2 : 1);
        const char32_t code = pair ? QChar::surrogateToUcs4(any[i], any[i + 1]) : any[i].unicode();
        const QByteArray encoded = AnsiFile::encode(character);
        require(encoded.size() <= 1, "at most one byte per character", character);
        if (inCodePage.contains(code))
            require(AnsiFile::decode(encoded) == character, "kept in its own place", character);
        else if (encoded.isEmpty())
            require(QChar::category(code) == QChar::Other_Format, "only marks are left out",
                    character);
        oneByOne += encoded;
        i += pair ? 1 : 0;
    }
    require(AnsiFile::encode(any) == oneByOne, "each character on its own", any);
    return 0;
}
