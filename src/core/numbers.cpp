#include "numbers.h"

#include "ascii_number.h"
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

} // namespace

double LeadingValue(QStringView text, const Regional& regional)
{
    // Collect the characters that continue the number, then convert them in one go.
    thread_local std::string ascii;
    ascii.clear();
    enum class Part { Sign, Integer, Fraction, ExponentSign, Exponent } part = Part::Sign;
    std::size_t mantissaEnd = 0; // length of the number without an unfinished exponent
    bool digits = false;
    const QChar regionalPoint = regional.decimalPoint();
    for (QChar c : text) {
        if (isSkipped(c))
            continue;
        const bool digit = isAsciiDigit(c);
        if (part == Part::Sign && (c == QLatin1Char('+') || c == QLatin1Char('-'))) {
            ascii.push_back(static_cast<char>(c.unicode()));
            part = Part::Integer;
            continue;
        }
        if (part == Part::Sign)
            part = Part::Integer;
        if (part == Part::Integer || part == Part::Fraction) {
            if (digit) {
                ascii.push_back(static_cast<char>(c.unicode()));
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
            ascii.push_back(static_cast<char>(c.unicode()));
            part = Part::Exponent;
        } else if (digit) {
            ascii.push_back(static_cast<char>(c.unicode()));
            part = Part::Exponent;
            mantissaEnd = ascii.size();
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    ascii.resize(mantissaEnd);
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

bool IsNumericText(QStringView text, const Regional& regional)
{
    return regional.read(text).status == Regional::ReadStatus::Ok;
}

double StrictNumber(QStringView text, const Regional& regional)
{
    const Regional::ReadResult result = regional.read(text);
    switch (result.status) {
    case Regional::ReadStatus::Ok:
        return result.value;
    case Regional::ReadStatus::Overflow:
        throw RuntimeError::overflow();
    case Regional::ReadStatus::NotNumeric:
        break;
    }
    throw RuntimeError::typeMismatch();
}

double roundToGeneral(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return value;
    const double rounded = detail::significantDigits(std::fabs(value)).rounded;
    return std::signbit(value) ? -rounded : rounded;
}

double checkedFigure(double value)
{
    if (!std::isfinite(value))
        throw RuntimeError::overflow();
    return value;
}

double divide(double a, double b)
{
    if (b == 0.0) {
        if (a == 0.0 || std::isnan(a))
            throw RuntimeError::overflow();
        throw RuntimeError::divisionByZero();
    }
    return checkedFigure(a / b);
}

} // namespace torvane
