// The number readings under several locales: the quick readings agree with the general
// ones, nothing reads as infinite, and a value read, once written in the general or a
// fixed format, reads back as the program expects that text to read.

#include "core/numbers.h"
#include "fuzz_check.h"

#include <array>
#include <cmath>
#include <memory>

using namespace torvane;

namespace {

void agree(const Reading& got, const Reading& want, const char* property, const QString& text)
{
    require(got.status == want.status && got.value == want.value &&
                (got.status != Regional::ReadStatus::Ok || got.strictValue == want.strictValue),
            property, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::array<std::unique_ptr<Regional>, 6> Regionals = {
        std::make_unique<Regional>(QLocale(u"en_GB")),
        std::make_unique<Regional>(QLocale(u"de_DE")),
        std::make_unique<Regional>(QLocale(u"fr_FR")),
        std::make_unique<Regional>(QLocale(u"it_CH")),
        std::make_unique<Regional>(QLocale(u"ar_AE")),
        std::make_unique<Regional>(QLocale::c())};
    if (size == 0)
        return 0;
    const Regional& regional = *Regionals[data[0] % Regionals.size()];
    const int decimals = data[0] / Regionals.size() % 7;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1),
                                           static_cast<qsizetype>(size - 1));

    const Reading reading = Reading::of(text, regional);
    const Regional::ReadResult strict = regional.read(text);
    agree(reading, {LeadingValue(text, regional), strict.value, strict.status, text.isEmpty(), -1},
          "the quick reading agrees with the general one", text);
    require(std::isfinite(reading.value), "the leading value is finite", text);
    require(!reading.numeric() || std::isfinite(reading.strictValue), "a number read is finite",
            text);

    // The program writes the leading value back into fields and files.
    const QString general = regional.formatGeneral(reading.value);
    agree(Reading::of(general, regional), Reading::general(reading.value),
          "the general format reads back", text + u" -> " + general);
    const QString fixed = regional.formatFixed(reading.value, decimals);
    agree(Reading::of(fixed, regional), reading.rounded(decimals), "a fixed format reads back",
          text + u" -> " + fixed);
    return 0;
}
