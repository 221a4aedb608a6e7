#pragma once

#include "decimal.h"
#include "regional.h"

#include <QString>

#include <cmath>

namespace torvane {

// The number a text begins with: blanks, tabs and line feeds are skipped wherever they
// stand, "." (and the regional decimal point) is the decimal point, an optional sign,
// digits and an exponent are read up to the first character that cannot continue the
// number. No number gives 0. Never fails: a number beyond the range of a double reads
// as the largest one of its sign.
double LeadingValue(QStringView text, const Regional& regional);

// A field's text read once, both ways the program reads texts: the leading value that
// the checks and most formulas use, and the strict reading that some formulas insist on.
struct Reading {
    double value = 0;
    double strictValue = 0;
    Regional::ReadStatus status = Regional::ReadStatus::NotNumeric;
    bool empty = true;
    // For a plain number of at most 15 digits ("0.15"), its decimals: rounding it to as
    // many or more leaves it as it is.
    int plainDecimals = -1;

    static Reading of(QStringView text, const Regional& regional);
    // A text the program wrote for this number: both readings give it.
    static Reading number(double value)
    {
        return {value, value, Regional::ReadStatus::Ok, false, -1};
    }
    // The number written in the general format: 15 significant digits, which past the
    // largest double read as it, and strictly as an overflow.
    static Reading general(double value);

    bool numeric() const { return status == Regional::ReadStatus::Ok; }
    // The strict reading, the whole text as a regional number, or its run-time error: an
    // empty or non-numeric text raises "Type mismatch", a number beyond the range of a
    // double "Overflow". In line: the figures read it many times a row.
    double strict() const { return numeric() ? strictValue : strictError(); }
    // The reading of the text the fixed format writes for this number; a plain number
    // with no more decimals than that is written as it was typed.
    Reading rounded(int decimals) const
    {
        if (plainDecimals >= 0 && plainDecimals <= decimals)
            return number(value);
        return roundedAnew(decimals);
    }

private:
    [[noreturn]] double strictError() const;
    static Reading ofRegional(QStringView text, const Regional& regional);
    Reading roundedAnew(int decimals) const;
    static Reading roundedFrom(double rounded, double value);
};

// The roundings below where their quick route does not settle them: near a half, out of
// range, zero and the values that are not finite.
double roundToGeneralExactly(double value);
double roundToDecimalsExactly(double value, int decimals);

// A double rounded to the 15 significant digits that the general format keeps, which
// is what a figure stored as text and read back holds.
inline double roundToGeneral(double value)
{
    detail::Scaled scaled;
    if (detail::scaleToSignificant(std::fabs(value), scaled))
        return std::copysign(detail::unscaled(scaled), value);
    return roundToGeneralExactly(value);
}

// roundToDecimals() past its first quick route, out of line.
double roundToDecimalsOtherwise(double value, int decimals);

// A double rounded as the fixed format with that many decimals writes it, and read back.
inline double roundToDecimals(double value, int decimals)
{
    // The usual figure in line and without a call: below 10^11 units, unitsValue() is this
    // one division.
    if (unsigned long long units = 0; detail::fewUnits(std::fabs(value), decimals, units)) {
        const double rounded = static_cast<double>(units) / detail::PowersOfTen[decimals];
        return std::signbit(value) && units != 0 ? -rounded : rounded;
    }
    return roundToDecimalsOtherwise(value, decimals);
}

// Every figure passes through here: an infinite or undefined result is an overflow. The
// checks are in line, the errors they raise out of it.
[[noreturn]] void overflowError();
inline double checkedFigure(double value)
{
    if (!std::isfinite(value))
        overflowError();
    return value;
}

// a / b with the program's run-time errors for a zero divisor.
[[noreturn]] void divisionError(double a);
inline double divide(double a, double b)
{
    if (b == 0.0)
        divisionError(a);
    return checkedFigure(a / b);
}

} // namespace torvane
