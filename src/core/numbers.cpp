#include "numbers.h"

#include "decimal.h"
#include "runtime_error.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace torvane {
namespace {

bool isSkipped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Collects the characters that continue the leading number into ASCII ("-1.5e3"),
// without the blanks it skips and without an unfinished exponent; false without digits.
template <typename Out> bool collectLeadingNumber(QStringView text, QChar regionalPoint, Out& ascii)
{
    enum class Part { Sign, Integer, Fraction, ExponentSign, Exponent } part = Part::Sign;
    std::size_t mantissaEnd = 0;
    bool digits = false;
    for (QChar c : text) {
        if (isSkipped(c))
            continue;
        const bool digit = isAsciiDigit(c);
        const char ch = static_cast<char>(c.unicode()); // ASCII wherever it is kept
        if (part == Part::Sign && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            ascii.push_back(ch);
            part = Part::Integer;
            continue;
        }
        if (part == Part::Sign)
            part = Part::Integer;
        if (part == Part::Integer || part == Part::Fraction) {
            if (digit) {
                ascii.push_back(ch);
                digits = true;
                mantissaEnd = ascii.size();
            } else if (part == Part::Integer && (c == QLatin1Char('.') || c == regionalPoint)) {
                ascii.push_back('.');
                part = Part::Fraction;
            } else if (digits && (c == QLatin1Char('e') || c == QLatin1Char('E'))) {
                ascii.push_back('e');
                part = Part::ExponentSign;
            } else {
                break;
            }
        } else if (part == Part::ExponentSign && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            ascii.push_back(ch);
            part = Part::Exponent;
        } else if (digit) {
            ascii.push_back(ch);
            part = Part::Exponent;
            mantissaEnd = ascii.size();
        } else {
            break;
        }
    }
    ascii.resize(mantissaEnd);
    return digits;
}

// A character buffer on the stack for the common short texts.
struct ShortAscii {
    char data[64];
    std::size_t length = 0;
    void push_back(char c) { data[length++] = c; }
    std::size_t size() const { return length; }
    void resize(std::size_t n) { length = n; }
};

// A plain number ("12", "0.15", "-3.5") of at most 15 digits: read in one go, exactly
// (the digits over a power of ten, one correctly rounded division), and with the count
// of its decimals. Both readings agree on it wherever the locale does not group digits
// with a full stop. Every field of every row is read here first: inline, so that its
// results stay in registers instead of going through memory and a call.
inline bool readPlainNumber(QStringView text, const Regional& regional, double& value,
                            int& decimals, bool strictToo = true)
{
    if (text.isEmpty() || text.size() > 17)
        return false;
    qsizetype i = text.front() == QLatin1Char('-') ? 1 : 0;
    const bool negative = i == 1;
    unsigned long long digits = 0;
    int count = 0;
    int point = -1;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digits = digits * 10 + (c - u'0');
            ++count;
        } else if (c == u'.' && point < 0) {
            point = count;
        } else {
            return false;
        }
    }
    if (count == 0 || count > 15 || (strictToo && point >= 0 && regional.groupsWithFullStop()))
        return false;
    decimals = point < 0 ? 0 : count - point;
    const double magnitude = static_cast<double>(digits) / detail::PowersOfTen[decimals];
    value = negative ? -magnitude : magnitude;
    return true;
}

double leadingFrom(std::string_view ascii)
{
    double value = 0.0;
    switch (detail::parseAsciiNumber(ascii, value)) {
    case detail::AsciiNumber::Ok:
        return value;
    case detail::AsciiNumber::Overflow:
        return ascii.front() == '-' ? std::numeric_limits<double>::lowest()
                                    : std::numeric_limits<double>::max();
    case detail::AsciiNumber::Invalid:
        break;
    }
    return 0.0;
}

} // namespace

double LeadingValue(QStringView text, const Regional& regional)
{
    double plain = 0;
    int decimals = 0;
    if (readPlainNumber(text, regional, plain, decimals, false))
        return plain;
    // Every character read is one ASCII character at most, so short texts fit the stack.
    if (text.size() <= 64) {
        ShortAscii ascii;
        if (!collectLeadingNumber(text, regional.decimalPoint(), ascii))
            return 0.0;
        return leadingFrom(std::string_view(ascii.data, ascii.length));
    }
    std::string ascii;
    if (!collectLeadingNumber(text, regional.decimalPoint(), ascii))
        return 0.0;
    return leadingFrom(ascii);
}

// Apart from the plain numbers' route, which then needs no registers saved.
[[gnu::noinline]] Reading Reading::ofRegional(QStringView text, const Regional& regional)
{
    const Regional::ReadResult strict = regional.read(text);
    return {LeadingValue(text, regional), strict.value, strict.status, text.isEmpty(), -1};
}

Reading Reading::of(QStringView text, const Regional& regional)
{
    Reading reading;
    if (readPlainNumber(text, regional, reading.value, reading.plainDecimals)) {
        reading.strictValue = reading.value;
        reading.status = Regional::ReadStatus::Ok;
        reading.empty = false;
        return reading;
    }
    return ofRegional(text, regional);
}

// What reading back the text of a value rounded from another gives: a value that rounds
// past the largest double reads as the largest, and overflows where read strictly.
Reading Reading::roundedFrom(double rounded, double value)
{
    if (std::isfinite(rounded) || !std::isfinite(value))
        return number(rounded);
    const double largest = std::copysign(std::numeric_limits<double>::max(), value);
    return {largest, 0, Regional::ReadStatus::Overflow, false, -1};
}

Reading Reading::general(double value)
{
    return roundedFrom(roundToGeneral(value), value);
}

Reading Reading::roundedAnew(int decimals) const
{
    return roundedFrom(roundToDecimals(value, decimals), value);
}

double Reading::strictError() const
{
    if (status == Regional::ReadStatus::Overflow)
        throw RuntimeError::overflow();
    throw RuntimeError::typeMismatch();
}

double roundToGeneralExactly(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return value;
    const double rounded = detail::roundedToSignificant(std::fabs(value));
    return std::signbit(value) ? -rounded : rounded;
}

double roundToDecimalsOtherwise(double value, int decimals)
{
    unsigned long long units = 0;
    // fewUnits() has had its try in roundToDecimals().
    if (std::isfinite(value) && detail::manyUnits(std::fabs(value), decimals, units)) {
        const double rounded = detail::unitsValue(units, decimals);
        return std::signbit(value) && units != 0 ? -rounded : rounded;
    }
    return roundToDecimalsExactly(value, decimals);
}

double roundToDecimalsExactly(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    return detail::fixedValue(detail::fixedDecimal(value, decimals));
}

void overflowError()
{
    throw RuntimeError::overflow();
}

void divisionError(double a)
{
    if (a == 0.0 || std::isnan(a))
        throw RuntimeError::overflow();
    throw RuntimeError::divisionByZero();
}

} // namespace torvane
