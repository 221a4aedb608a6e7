#pragma once

#include "regional.h"

#include <QString>

namespace torvane {

// The number a text begins with: blanks, tabs and line feeds are skipped wherever they
// stand, "." (and the regional decimal point) is the decimal point, an optional sign,
// digits and an exponent are read up to the first character that cannot continue the
// number. No number gives 0. Never fails: a number beyond the range of a double reads
// as the largest one of its sign.
double LeadingValue(QStringView text, const Regional& regional);

// Whether the strict reading of the text would succeed; the empty text is not numeric.
bool IsNumericText(QStringView text, const Regional& regional);

// The strict reading: the whole text as a regional number. An empty or non-numeric
// text raises "Type mismatch", a number beyond the range of a double "Overflow".
double StrictNumber(QStringView text, const Regional& regional);

// A double rounded to the 15 significant digits that the general format keeps, which
// is what a figure stored as text and read back holds.
double roundToGeneral(double value);

// Every figure passes through here: an infinite or undefined result is an overflow.
double checkedFigure(double value);

// a / b with the program's run-time errors for a zero divisor.
double divide(double a, double b);

} // namespace torvane
