// The archive's scan for a result in the log: fed in pieces of any size it finds what a
// line-by-line reading finds, a line (ended by CR or LF) that starts, after blanks, with
// "Normal".

#include "fuzz_check.h"
#include "resultslog/log_archive.h"

#include <QByteArray>

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte sets the size of the pieces.
    const qsizetype piece = data[0] % 64 + 1;
    const QByteArrayView log(data + 1, static_cast<qsizetype>(size - 1));

    bool expected = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= log.size() && !expected; ++i) {
        if (i < log.size() && log[i] != '\r' && log[i] != '\n')
            continue;
        QByteArrayView line = log.sliced(start, i - start);
        while (line.startsWith(' '))
            line = line.sliced(1);
        expected = line.startsWith("Normal");
        start = i + 1;
    }

    DataScan whole;
    whole.feed(log);
    DataScan pieces;
    for (qsizetype at = 0; at < log.size(); at += piece)
        pieces.feed(log.sliced(at, std::min(piece, log.size() - at)));
    require(whole.hasData() == expected, "the scan finds what the lines hold",
            QString::fromLatin1(log));
    require(pieces.hasData() == expected, "pieces of any size find the same");
    return 0;
}
