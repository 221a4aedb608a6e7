// The 8-bit code page of the program's files: every byte decodes to one character that
// encodes back to it, and text encodes to one byte per character ("?" for one outside
// the code page) that decodes back to the characters inside it.

#include "core/ansi_file.h"
#include "fuzz_check.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = AnsiFile::decode(bytes);
    require(text.size() == bytes.size() && AnsiFile::encode(text) == bytes, "bytes round trip");

    // The same bytes read as UTF-16, surrogate halves and all.
    const QString any(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    const QByteArray encoded = AnsiFile::encode(any);
    const QString back = AnsiFile::decode(encoded);
    qsizetype i = 0;
    for (qsizetype k = 0; k < back.size(); ++k, ++i) {
        require(i < any.size(), "one byte per character", any);
        const bool pair =
            any[i].isHighSurrogate() && i + 1 < any.size() && any[i + 1].isLowSurrogate();
        if (back[k] != any[i])
            require(back[k] == u'?', "characters outside the code page become ?", any);
        i += pair ? 1 : 0;
    }
    require(i == any.size(), "every character encoded", any);
    return 0;
}
