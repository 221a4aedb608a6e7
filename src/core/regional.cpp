#include "regional.h"

#include "ansi_file.h"
#include "decimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

bool isSpaceLike(QChar c)
{
    return c.isSpace() || c == QChar(0x202F) || c == QChar(0x00A0);
}

// Direction marks that some locales put around numbers and symbols carry no meaning here.
bool isDirectionMark(QChar c)
{
    return c == QChar(0x200E) || c == QChar(0x200F) || c == QChar(0x061C);
}

QString withoutMarks(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (!isDirectionMark(c))
            out += c;
    }
    return out;
}

// A currency affix without its spacing and marks: the symbol it writes, or nothing.
QString affixSymbol(const QString& affix)
{
    return withoutMarks(affix).trimmed();
}

QStringView trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpaceLike(text[begin]))
        ++begin;
    while (end > begin && isSpaceLike(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// The hyphen, or the minus sign some locales write.
bool isMinus(QChar c)
{
    return c == QLatin1Char('-') || c == QChar(0x2212);
}

// Parentheses or a sign, and a currency symbol before or after the amount, taken off the
// text; false for a second minus.
bool takeAffixes(QStringView& rest, bool& negative, const QStringList& symbols)
{
    if (rest.size() >= 2 && rest.front() == QLatin1Char('(') && rest.back() == QLatin1Char(')')) {
        negative = true;
        rest = trimmed(rest.sliced(1, rest.size() - 2));
    }
    // One sign, before the symbol or after it.
    bool signSeen = false;
    const auto takeSign = [&] {
        if (!signSeen && !rest.isEmpty() &&
            (isMinus(rest.front()) || rest.front() == QLatin1Char('+'))) {
            if (isMinus(rest.front())) {
                if (negative)
                    return false;
                negative = true;
            }
            signSeen = true;
            rest = trimmed(rest.sliced(1));
        }
        return true;
    };
    if (!takeSign())
        return false;
    for (const QString& symbol : symbols) {
        if (rest.startsWith(symbol)) {
            rest = trimmed(rest.sliced(symbol.size()));
            break;
        }
    }
    if (!takeSign())
        return false;
    for (const QString& symbol : symbols) {
        if (rest.endsWith(symbol)) {
            rest = trimmed(rest.first(rest.size() - symbol.size()));
            break;
        }
    }
    return true;
}

// The digits before the decimal point, taken into ascii, their grouping by separator
// (none when it is empty) checked against the locale's group sizes: the first group at
// most a secondary one long, the middle ones secondary, the last primary. Returns where
// the digits end, or -1 when the grouping is wrong. Outside the class, so that the
// compiler takes it into readBody(): every number that is not plain is read through here.
qsizetype readWholePart(QStringView body, QStringView separator, int primary, int secondary,
                        std::string& ascii)
{
    const bool separatorIsSpace = !separator.isEmpty() && isSpaceLike(separator.front());
    int separators = 0;
    int group = 0;
    int firstGroup = 0;
    bool middleGroups = true;
    const auto separated = [&] {
        if (separators++ == 0)
            firstGroup = group;
        else if (group != secondary)
            middleGroups = false;
        group = 0;
    };
    qsizetype i = 0;
    while (i < body.size()) {
        const QChar c = body[i];
        if (c.isDigit() && c.unicode() < 128) {
            ascii.push_back(static_cast<char>(c.unicode()));
            ++group;
            ++i;
        } else if (!separator.isEmpty() && body.sliced(i).startsWith(separator)) {
            separated();
            i += separator.size();
        } else if (separatorIsSpace && isSpaceLike(c)) {
            // Where a space groups the digits, any kind of space does.
            separated();
            ++i;
        } else {
            break;
        }
    }
    const bool wellGrouped = separators == 0 || (firstGroup > 0 && firstGroup <= secondary &&
                                                 middleGroups && group == primary);
    return wellGrouped ? i : -1;
}

} // namespace

Regional::Regional(const QLocale& locale)
    : m_locale(locale)
{
    const QString decimal = m_locale.decimalPoint();
    m_decimal = decimal.isEmpty() ? QLatin1Char('.') : decimal.front();
    m_group = m_locale.groupSeparator();

    // Group sizes as the locale writes a seven-digit number ("1,234,567", "12,34,567").
    const QString grouped = m_locale.toString(1234567);
    if (!m_group.isEmpty()) {
        const qsizetype last = grouped.lastIndexOf(m_group);
        if (last >= 0) {
            m_primaryGroup = static_cast<int>(grouped.size() - last - m_group.size());
            const qsizetype before = grouped.lastIndexOf(m_group, last - 1);
            if (before >= 0)
                m_secondaryGroup = static_cast<int>(last - before - m_group.size());
            else
                m_secondaryGroup = m_primaryGroup;
        } else {
            m_group.clear();
        }
    }
    m_groupsWithFullStop = m_group == QLatin1String(".");
    readCurrencyFormat();
}

void Regional::readCurrencyFormat()
{
    m_localeCurrencySymbol = m_locale.currencySymbol(QLocale::CurrencySymbol);
    // The program's files keep an 8-bit code page: a symbol it has no place for (the rupee
    // sign, a symbol in Cyrillic or Arabic letters) is written as the currency's code,
    // "INR", on the window as in the files, so that both say the same.
    const QString code = m_locale.currencySymbol(QLocale::CurrencyIsoCode);
    const bool byCode = !AnsiFile::hasPlaces(m_localeCurrencySymbol) && !code.isEmpty();
    const QString written = byCode ? code : m_localeCurrencySymbol;
    const QString body = QLatin1Char('1') + QString(m_decimal) + u"00"_s;
    const auto affixes = [&](double sample) {
        const QString text = m_locale.toCurrencyString(sample, written, 2);
        const qsizetype at = text.indexOf(body);
        if (at < 0)
            return Affixes{sample < 0 ? u"-"_s : QString(), QString()};
        Affixes found{text.left(at), text.mid(at + body.size())};
        // A code is a word: it never runs into the digits ("INR 12.00", not "INR12.00").
        if (byCode && found.prefix.endsWith(code))
            found.prefix += QChar(0x00A0);
        if (byCode && found.suffix.startsWith(code))
            found.suffix.prepend(QChar(0x00A0));
        return found;
    };
    m_positiveCurrency = affixes(1.0);
    m_negativeCurrency = affixes(-1.0);
    // A prefix of marks and spaces alone names no currency.
    if (!affixSymbol(m_positiveCurrency.prefix).isEmpty())
        m_currencyPrefix = m_positiveCurrency.prefix.trimmed();
    else if (!affixSymbol(m_positiveCurrency.suffix).isEmpty())
        m_currencySuffix = m_positiveCurrency.suffix;
    // What the strict reading takes off a money text: every spelling of the symbol that
    // the locale writes, compared without marks, as the text is.
    for (const QString& symbol :
         {m_currencyPrefix, m_localeCurrencySymbol, written, m_positiveCurrency.suffix}) {
        const QString bare = affixSymbol(symbol);
        if (!bare.isEmpty() && !m_readSymbols.contains(bare))
            m_readSymbols.append(bare);
    }
}

namespace {

QString fromBuffer(const char16_t* text, int size)
{
    return QString(reinterpret_cast<const QChar*>(text), size);
}

} // namespace

namespace {

// Most figures written are already rounded to the decimals they are written with: a
// magnitude that is the double nearest to a whole number of at most 15 digits over 10^d
// has those digits as its 15 significant ones, and rounds to them.
bool onGrid(double magnitude, int decimals, unsigned long long& units)
{
    const double scaled = magnitude * detail::PowersOfTen[decimals];
    if (!(scaled < 1e15))
        return false;
    const double whole = (scaled + 4503599627370496.0) - 4503599627370496.0;
    if (whole / detail::PowersOfTen[decimals] != magnitude)
        return false;
    // Through a signed whole number, which converts in one step.
    units = static_cast<unsigned long long>(static_cast<long long>(whole));
    return true;
}

// Every pair of digits from 00 to 99 as its two UTF-16 units, so that a pair is written in
// one move.
constexpr auto DigitPairs = [] {
    std::array<char16_t, 200> pairs{};
    for (std::size_t n = 0; n < 100; ++n) {
        pairs[2 * n] = static_cast<char16_t>(u'0' + n / 10);
        pairs[2 * n + 1] = static_cast<char16_t>(u'0' + n % 10);
    }
    return pairs;
}();

// Two digits, below 100, written before end; returns where they begin.
template <typename Whole> char16_t* writePair(char16_t* end, Whole pair)
{
    std::memcpy(end - 2, &DigitPairs[2 * static_cast<std::size_t>(pair)], 2 * sizeof(char16_t));
    return end - 2;
}

// The decimal digits of a whole number, written right to left, two at a time, ending at
// end; returns where they begin. Inline: each figure written passes through here.
template <typename Whole> inline char16_t* writeDigits(char16_t* end, Whole n)
{
    char16_t* at = end;
    for (; n >= 100; n /= 100)
        at = writePair(at, n % 100);
    if (n >= 10)
        return writePair(at, n);
    *--at = static_cast<char16_t>(u'0' + n);
    return at;
}

// Units of the last decimal written as a number with that many decimals, ending at end:
// the decimals (zeros where the digits are fewer), the point, then the whole part, at
// least a 0; returns where they begin. Most figures fit 32 bits, whose divisions take
// fewer steps.
template <typename Whole>
[[gnu::always_inline]] inline char16_t* writeUnits(char16_t* end, Whole units, int decimals,
                                                   char16_t point)
{
    // Counted by the place written, which keeps the loop to two registers.
    char16_t* digit = end;
    char16_t* const decimalsFrom = end - decimals;
    for (; digit - decimalsFrom >= 2; units /= 100)
        digit = writePair(digit, units % 100);
    if (digit != decimalsFrom) {
        *--digit = static_cast<char16_t>(u'0' + units % 10);
        units /= 10;
    }
    if (decimals > 0)
        *--digit = point;
    return writeDigits(digit, units);
}

struct OffGridUnits {
    unsigned long long units;
    bool settled;
};
// Figures off the grid, out of line and returned in registers: the figures on it then keep
// their units in a register too.
[[gnu::noinline]] OffGridUnits offGridUnits(double magnitude, int decimals)
{
    unsigned long long units = 0;
    const bool settled = detail::fixedUnits(magnitude, decimals, units);
    return {units, settled};
}

// The units of the last decimal that a figure rounds to on the quick route: half away from
// zero on the 15 significant digits a figure carries, as a person rounds what is written
// (0.145 gives 0.15 and 456.25 gives 456.3); false where only the slow route settles it.
[[gnu::always_inline]] inline bool quickUnits(double magnitude, int decimals,
                                              unsigned long long& units)
{
    if (decimals > 20 || !std::isfinite(magnitude))
        return false;
    if (onGrid(magnitude, decimals, units))
        return true;
    const OffGridUnits offGrid = offGridUnits(magnitude, decimals);
    units = offGrid.units;
    return offGrid.settled;
}

// The longest number the units make (20 digits, 20 decimals, point and sign) fits a block
// of FixedBlock characters.
constexpr int FixedBlock = 32;
static_assert(FixedBlock <= Regional::QuickRoom);
// The units written right to left, ending at end, after a minus if asked; returns where
// they begin. Most figures fit 32 bits, whose divisions take fewer steps.
template <typename Units>
[[gnu::always_inline]] inline char16_t* writeUnitsBefore(char16_t* end, Units units, int decimals,
                                                         char16_t point, bool minus)
{
    char16_t* first = nullptr;
    if constexpr (sizeof(Units) > sizeof(std::uint32_t))
        first = units <= std::numeric_limits<std::uint32_t>::max()
                    ? writeUnits(end, static_cast<std::uint32_t>(units), decimals, point)
                    : writeUnits(end, units, decimals, point);
    else
        first = writeUnits(end, units, decimals, point);
    if (minus)
        *--first = u'-';
    return first;
}
// The units written as a number with that many decimals and the point given, after a
// minus if asked; returns the characters written. Written right to left into a scratch
// line, then moved in one block of FixedBlock characters: out needs room for the block.
template <typename Units>
[[gnu::always_inline]] inline int writeFixedUnits(char16_t* out, Units units, int decimals,
                                                  char16_t point, bool minus)
{
    char16_t scratch[2 * FixedBlock];
    char16_t* const end = scratch + FixedBlock;
    const char16_t* const first = writeUnitsBefore(end, units, decimals, point, minus);
    std::memcpy(out, first, FixedBlock * sizeof(char16_t));
    return static_cast<int>(end - first);
}

// The fixed format on the quick route, or -1: for the figures off the usual route below,
// out of line and called last, so that the usual route has no call to keep registers for.
[[gnu::noinline]] int quickFixedChars(char16_t* out, double value, int decimals, char16_t point)
{
    unsigned long long units = 0;
    if (!quickUnits(std::fabs(value), decimals, units))
        return -1;
    return writeFixedUnits(out, units, decimals, point, std::signbit(value) && units != 0);
}

// The digits before the point of a fixed-format number of size characters.
constexpr qsizetype wholeDigits(qsizetype size, int decimals)
{
    return size - (decimals > 0 ? decimals + 1 : 0);
}

// The fixed format as a column: blanks first, then the number over them, ending at end;
// the column is the last width characters of the blanks and the number, moved in one
// block of ColumnRoom.
template <typename Units>
[[gnu::always_inline]] inline int writeColumn(char16_t* out, Units units, int decimals,
                                              char16_t point, bool minus, int width, int pad)
{
    char16_t scratch[2 * FixedBlock];
    char16_t* const end = scratch + FixedBlock;
    std::fill(end - Regional::ColumnRoom, end, u' ');
    const char16_t* const first = writeUnitsBefore(end, units, decimals, point, minus);
    const auto size = static_cast<int>(end - first);
    const int shown = size < width ? size + std::min(pad, width - size) : width;
    std::memcpy(out, end - shown, Regional::ColumnRoom * sizeof(char16_t));
    return shown;
}

// Every column the usual route does not write, out of line and called last: the usual
// route then has no call to keep registers for.
[[gnu::noinline]] int otherColumn(char16_t* out, double value, int decimals, char16_t point,
                                  int width, int pad)
{
    unsigned long long units = 0;
    if (!quickUnits(std::fabs(value), decimals, units))
        return -1;
    return writeColumn(out, units, decimals, point, std::signbit(value) && units != 0, width, pad);
}

// The usual route of the fixed format: a figure on the grid of its decimals, whose units
// fit 32 bits, written without a call; false for every other.
[[gnu::always_inline]] inline bool onUsualRoute(double value, int decimals, std::uint32_t& units)
{
    unsigned long long grid = 0;
    if (decimals > 20 || !onGrid(std::fabs(value), decimals, grid) ||
        grid > std::numeric_limits<std::uint32_t>::max())
        return false;
    units = static_cast<std::uint32_t>(grid);
    return true;
}
} // namespace

int Regional::quickFixed(char16_t* out, double value, int decimals) const
{
    if (std::uint32_t units = 0; onUsualRoute(value, decimals, units))
        return writeFixedUnits(out, units, decimals, m_decimal.unicode(),
                               std::signbit(value) && units != 0);
    return quickFixedChars(out, value, decimals, m_decimal.unicode());
}

int Regional::quickFixedColumn(char16_t* out, double value, int decimals, int width, int pad) const
{
    Q_ASSERT(width <= ColumnRoom);
    if (std::uint32_t units = 0; onUsualRoute(value, decimals, units))
        return writeColumn(out, units, decimals, m_decimal.unicode(),
                           std::signbit(value) && units != 0, width, pad);
    return otherColumn(out, value, decimals, m_decimal.unicode(), width, pad);
}

void Regional::slowFixed(NumberText& out, double value, int decimals) const
{
    if (!std::isfinite(value))
        return;
    const detail::FixedDecimal fixed = detail::fixedDecimal(value, decimals);
    std::u16string text;
    const auto integer = static_cast<std::size_t>(std::max(fixed.point, 0));
    if (fixed.negative)
        text.push_back(u'-');
    if (integer == 0)
        text.push_back(u'0');
    text.append(fixed.digits.begin(), fixed.digits.begin() + static_cast<std::ptrdiff_t>(integer));
    if (decimals > 0) {
        text.push_back(m_decimal.unicode());
        text.append(static_cast<std::size_t>(std::min(std::max(-fixed.point, 0), decimals)), u'0');
        text.append(fixed.digits.begin() + static_cast<std::ptrdiff_t>(integer),
                    fixed.digits.end());
    }
    out.append(text.data(), static_cast<qsizetype>(text.size()));
}

QStringView Regional::writeFixed(NumberText& out, double value, int decimals) const
{
    if (std::uint32_t units = 0; out.free() >= QuickRoom && onUsualRoute(value, decimals, units)) {
        out.grow(writeFixedUnits(out.end(), units, decimals, m_decimal.unicode(),
                                 std::signbit(value) && units != 0));
        return out.view();
    }
    return writeOtherFixed(out, value, decimals);
}

QStringView Regional::writeOtherFixed(NumberText& out, double value, int decimals) const
{
    const int size = quickFixedChars(out.room(QuickRoom), value, decimals, m_decimal.unicode());
    if (size >= 0)
        out.grow(size);
    else
        slowFixed(out, value, decimals);
    return out.view();
}

QString Regional::formatFixed(double value, int decimals) const
{
    NumberText text;
    return writeFixed(text, value, decimals).toString();
}

namespace {

// The 15 significant digits laid out as %.15G lays them out: with an exponent of at least
// two digits below 1e-4 and from 1e15 up, else in full. Returns the characters written.
int writeSignificant(char16_t* out, const detail::SignificantDigits& d, char16_t point)
{
    int size = 0;
    const auto digit = [&](int i) {
        out[size++] = static_cast<char16_t>(d.digits[i]);
    };
    if (d.exponent < -4 || d.exponent >= 15) {
        digit(0);
        if (d.count > 1)
            out[size++] = point;
        for (int i = 1; i < d.count; ++i)
            digit(i);
        out[size++] = u'E';
        out[size++] = d.exponent < 0 ? u'-' : u'+';
        char exponent[8];
        const char* end = std::to_chars(exponent, exponent + 8, std::abs(d.exponent)).ptr;
        if (end - exponent < 2)
            out[size++] = u'0';
        for (const char* c = exponent; c < end; ++c)
            out[size++] = static_cast<char16_t>(*c);
    } else if (d.exponent >= 0) {
        const int integer = d.exponent + 1;
        for (int i = 0; i < integer; ++i) {
            if (i < d.count)
                digit(i);
            else
                out[size++] = u'0';
        }
        if (d.count > integer)
            out[size++] = point;
        for (int i = integer; i < d.count; ++i)
            digit(i);
    } else {
        out[size++] = u'0';
        out[size++] = point;
        for (int i = 0; i < -d.exponent - 1; ++i)
            out[size++] = u'0';
        for (int i = 0; i < d.count; ++i)
            digit(i);
    }
    return size;
}

} // namespace

int Regional::generalChars(char16_t* out, double value) const
{
    // As printf's %.15G writes it: the 15 significant digits without trailing zeros. Whole
    // numbers are their digits, as the fixed format writes them without decimals: those
    // that fit 32 bits, the usual ones (hours, counts), without a call.
    const double magnitude = std::fabs(value);
    if (magnitude <= std::numeric_limits<std::uint32_t>::max() &&
        magnitude == static_cast<double>(static_cast<std::uint32_t>(magnitude)))
        return writeFixedUnits(out, static_cast<std::uint32_t>(magnitude), 0, u'.',
                               std::signbit(value) && value != 0);
    return otherGeneralChars(out, value);
}

int Regional::otherGeneralChars(char16_t* out, double value) const
{
    if (!std::isfinite(value))
        return 0;
    const double magnitude = std::fabs(value);
    int size = 0;
    if (std::signbit(value) && value != 0)
        out[size++] = u'-';
    if (magnitude < 1e15 && magnitude == std::floor(magnitude))
        return size + writeFixedUnits(out + size, static_cast<unsigned long long>(magnitude), 0,
                                      u'.', false);
    return size +
           writeSignificant(out + size, detail::significantDigits(magnitude), m_decimal.unicode());
}

QStringView Regional::writeGeneral(NumberText& out, double value) const
{
    out.grow(generalChars(out.room(QuickRoom), value));
    return out.view();
}

QString Regional::formatGeneral(double value) const
{
    char16_t text[QuickRoom];
    return fromBuffer(text, generalChars(text, value));
}

QStringView Regional::writeCurrency(NumberText& out, double value, int decimals) const
{
    // On the usual route, an amount without groups is written with its affixes at once.
    if (std::uint32_t units = 0; onUsualRoute(value, decimals, units)) {
        // An amount that rounds to zero has no sign.
        const Affixes& affixes = value < 0 && units != 0 ? m_negativeCurrency : m_positiveCurrency;
        const QStringView prefix = affixes.prefix;
        const QStringView suffix = affixes.suffix;
        if (out.free() >= prefix.size() + QuickRoom + suffix.size()) {
            char16_t* const begin = out.end();
            char16_t* const digits = copyText(prefix.utf16(), prefix.size(), begin);
            const int size = writeFixedUnits(digits, units, decimals, m_decimal.unicode(), false);
            // Most amounts are below a thousand: no group to put in.
            if (wholeDigits(size, decimals) <= m_primaryGroup || m_group.isEmpty()) {
                out.grow(copyText(suffix.utf16(), suffix.size(), digits + size) - begin);
                return out.view();
            }
            const qsizetype digitsFrom = out.view().size() + prefix.size();
            out.grow(digits + size - begin);
            return groupedWithSuffix(out, digitsFrom, decimals, suffix);
        }
    }
    return writeOtherCurrency(out, value, decimals);
}

QStringView Regional::writeOtherCurrency(NumberText& out, double value, int decimals) const
{
    // The digits once, in place after the prefix on the quick route where it settles them.
    const auto affixesOf = [&](bool zero) -> const Affixes& {
        // An amount that rounds to zero has no sign.
        return value < 0 && !zero ? m_negativeCurrency : m_positiveCurrency;
    };
    const Affixes* affixes = nullptr;
    qsizetype digitsFrom = 0;
    if (unsigned long long units = 0; quickUnits(std::fabs(value), decimals, units)) {
        affixes = &affixesOf(units == 0);
        out.append(affixes->prefix);
        digitsFrom = out.view().size();
        out.grow(writeFixedUnits(out.room(QuickRoom), units, decimals, m_decimal.unicode(), false));
    } else {
        NumberText digits;
        slowFixed(digits, std::fabs(value), decimals);
        const QStringView text = digits.view();
        affixes = &affixesOf(std::all_of(text.begin(), text.end(), [&](QChar c) {
            return c == QLatin1Char('0') || c == m_decimal;
        }));
        out.append(affixes->prefix);
        digitsFrom = out.view().size();
        out.append(text);
    }
    return groupedWithSuffix(out, digitsFrom, decimals, affixes->suffix);
}

QStringView Regional::groupedWithSuffix(NumberText& out, qsizetype digitsFrom, int decimals,
                                        QStringView suffix) const
{
    const qsizetype whole = wholeDigits(out.view().size() - digitsFrom, decimals);
    if (whole > m_primaryGroup && !m_group.isEmpty())
        groupWholePart(out, digitsFrom, whole);
    out.append(suffix);
    return out.view();
}

void Regional::groupWholePart(NumberText& out, qsizetype wholeFrom, qsizetype wholeDigits) const
{
    // The last group primary, the ones before it secondary; separators go in from the
    // right, so that the places still to come stay where they were.
    const int secondary = std::max(m_secondaryGroup, 1);
    for (qsizetype after = m_primaryGroup > 0 ? m_primaryGroup : secondary; after < wholeDigits;
         after += secondary)
        out.insert(wholeFrom + wholeDigits - after, m_group);
}

QString Regional::formatCurrency(double value, int decimals) const
{
    NumberText text;
    return writeCurrency(text, value, decimals).toString();
}

void NumberText::enlarge(qsizetype size)
{
    m_capacity = std::max(2 * m_capacity, m_size + size);
    auto larger = std::make_unique_for_overwrite<char16_t[]>(static_cast<std::size_t>(m_capacity));
    std::copy_n(m_data, m_size, larger.get());
    m_heap = std::move(larger);
    m_data = m_heap.get();
}

// Dates go into the program's 8-bit files: one whose words are in a script the code page
// lacks is written in a form that the files can hold.
QString Regional::formatShortDate(const QDate& date) const
{
    const QString text = m_locale.toString(date, QLocale::ShortFormat);
    return AnsiFile::hasPlaces(text) ? text : date.toString(Qt::ISODate);
}

QString Regional::formatStamp(const QDateTime& time) const
{
    const QString format = QStringLiteral("dd-MMM-yy hh:mm:ss");
    const QString text = m_locale.toString(time, format);
    return AnsiFile::hasPlaces(text) ? text : QLocale::c().toString(time, format);
}

bool Regional::readBody(QStringView body, bool regionalForm, std::string& ascii) const
{
    ascii.clear();
    qsizetype i = readWholePart(body, regionalForm ? QStringView(m_group) : QStringView(),
                                m_primaryGroup, m_secondaryGroup, ascii);
    if (i < 0)
        return false;
    bool anyDigit = !ascii.empty();
    if (i < body.size() && body[i] == (regionalForm ? m_decimal : QLatin1Char('.'))) {
        ascii.push_back('.');
        ++i;
        while (i < body.size() && body[i].isDigit() && body[i].unicode() < 128) {
            ascii.push_back(static_cast<char>(body[i].unicode()));
            anyDigit = true;
            ++i;
        }
    }
    if (!anyDigit)
        return false;
    if (i < body.size() && (body[i] == QLatin1Char('e') || body[i] == QLatin1Char('E'))) {
        ascii.push_back('e');
        ++i;
        if (i < body.size() && (body[i] == QLatin1Char('+') || body[i] == QLatin1Char('-'))) {
            ascii.push_back(static_cast<char>(body[i].unicode()));
            ++i;
        }
        bool exponentDigit = false;
        while (i < body.size() && body[i].isDigit() && body[i].unicode() < 128) {
            ascii.push_back(static_cast<char>(body[i].unicode()));
            exponentDigit = true;
            ++i;
        }
        if (!exponentDigit)
            return false;
    }
    return i == body.size();
}

Regional::ReadResult Regional::read(QStringView text) const
{
    const ReadResult notNumeric{ReadStatus::NotNumeric, 0.0};
    QString unmarked;
    if (std::any_of(text.begin(), text.end(), isDirectionMark)) {
        unmarked = withoutMarks(text);
        text = unmarked;
    }
    QStringView rest = trimmed(text);
    bool negative = false;
    if (!takeAffixes(rest, negative, m_readSymbols) || rest.isEmpty())
        return notNumeric;

    thread_local std::string ascii;
    if (!readBody(rest, true, ascii) &&
        (m_decimal == QLatin1Char('.') || !readBody(rest, false, ascii)))
        return notNumeric;

    double value = 0.0;
    switch (detail::parseAsciiNumber(ascii, value)) {
    case detail::AsciiNumber::Ok:
        return {ReadStatus::Ok, negative ? -value : value};
    case detail::AsciiNumber::Overflow:
        return {ReadStatus::Overflow, 0.0};
    case detail::AsciiNumber::Invalid:
        break;
    }
    return notNumeric;
}

} // namespace torvane
