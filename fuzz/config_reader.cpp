// The configuration reader on any file: it accepts with every value in its range, or
// refuses the file as corrupted, or meets the one run-time error it may meet, an on-top
// value beyond 16 bits while the lines are read.

#include "config/config_reader.h"
#include "config/config_keys.h"
#include "core/ansi_file.h"
#include "core/runtime_error.h"
#include "fuzz_check.h"

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const Regional German(QLocale(u"de_DE"));
    const QStringList lines = AnsiFile::splitLines(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    Settings settings;
    QString transcript;
    qint16 step = 0;
    bool accepted = false;
    try {
        accepted = readConfiguration(lines, German, settings, transcript, step);
    } catch (const RuntimeError& error) {
        require(error.number() == 6 && step == 192, "only an overflow while reading");
        return 0;
    }
    require(step == 194, "read to the end");
    if (!accepted)
        return 0;
    for (const config::ConfigKey& key : config::Keys) {
        const double value =
            std::visit([&](auto member) { return double(settings.*member); }, key.member);
        // Two are decoded once accepted: a log level of 3 is 2, the cheap rate loses 101.
        const QLatin1String prefix(key.prefix);
        const bool inRange = prefix == QLatin1String("CheapRate=")  ? value >= 0 && value <= 99
                             : prefix == QLatin1String("LogLevel=") ? value >= 1 && value < 3
                                                                    : key.accepts(value);
        require(inRange, key.prefix, QString::number(value));
    }
    return 0;
}
