#include "regional.h"

#include "ascii_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <vector>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

QString fromAscii(const char* begin, const char* end)
{
    return QString::fromLatin1(begin, static_cast<qsizetype>(end - begin));
}

bool isZeroDigits(QStringView digits)
{
    for (QChar c : digits) {
        if (c.isDigit() && c != QLatin1Char('0'))
            return false;
    }
    return true;
}

bool isSpaceLike(QChar c)
{
    return c.isSpace() || c == QChar(0x202F) || c == QChar(0x00A0);
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

    m_localeCurrencySymbol = m_locale.currencySymbol(QLocale::CurrencySymbol);
    const QString body = QLatin1Char('1') + QString(m_decimal) + u"00"_s;
    const auto affixes = [&](double sample) {
        const QString text = m_locale.toCurrencyString(sample, m_localeCurrencySymbol, 2);
        const qsizetype at = text.indexOf(body);
        if (at < 0)
            return Affixes{sample < 0 ? u"-"_s : QString(), QString()};
        return Affixes{text.left(at), text.mid(at + body.size())};
    };
    m_positiveCurrency = affixes(1.0);
    m_negativeCurrency = affixes(-1.0);
    m_currencyPrefix = m_positiveCurrency.prefix.trimmed();
}

QString Regional::formatFixed(double value, int decimals) const
{
    // Round the 15 significant digits a figure carries, half away from zero, as a person
    // rounds what is written: 0.145 gives 0.15 and 456.25 gives 456.3.
    if (!std::isfinite(value))
        return QString();
    const detail::SignificantDigits significant = detail::significantDigits(std::fabs(value));
    std::string digits(significant.digits, static_cast<std::size_t>(significant.count));

    int pointAt = significant.exponent + 1; // digits before the decimal point
    const int keep = pointAt + decimals;
    if (keep < static_cast<int>(digits.size())) {
        const bool roundUp = keep >= 0 && digits[keep] >= '5';
        digits.resize(std::max(keep, 0));
        if (roundUp) {
            int at = keep - 1;
            while (at >= 0 && digits[at] == '9')
                digits[at--] = '0';
            if (at >= 0) {
                ++digits[at];
            } else {
                digits.insert(digits.begin(), '1');
                ++pointAt;
            }
        }
    }
    digits.resize(std::max(pointAt + decimals, 0), '0');

    QString text;
    text.reserve(pointAt + decimals + 3);
    if (pointAt <= 0) {
        text += QLatin1Char('0');
    } else {
        text += QLatin1String(digits.data(), pointAt);
        digits.erase(0, pointAt);
    }
    if (decimals > 0) {
        text += m_decimal;
        text += QString(std::min(-pointAt, decimals) > 0 ? std::min(-pointAt, decimals) : 0,
                        QLatin1Char('0'));
        text += QLatin1String(digits.data(), static_cast<qsizetype>(digits.size()));
    }
    if (std::signbit(value) && !isZeroDigits(text))
        text.prepend(QLatin1Char('-'));
    return text;
}

QString Regional::formatGeneral(double value) const
{
    if (value == 0.0)
        return u"0"_s;
    std::array<char, 32> buffer;
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, 15);
    if (ec != std::errc())
        return QString();
    QString text = fromAscii(buffer.data(), end);
    for (QChar& c : text) {
        if (c == QLatin1Char('.'))
            c = m_decimal;
        else if (c == QLatin1Char('e'))
            c = QLatin1Char('E');
    }
    return text;
}

QString Regional::groupInteger(QStringView digits) const
{
    if (m_group.isEmpty() || digits.size() <= m_primaryGroup)
        return digits.toString();
    QString out;
    out.reserve(digits.size() * 2);
    qsizetype head = digits.size() - m_primaryGroup;
    const qsizetype firstLength =
        m_secondaryGroup > 0
            ? (head % m_secondaryGroup == 0 ? m_secondaryGroup : head % m_secondaryGroup)
            : head;
    out += digits.first(firstLength);
    for (qsizetype at = firstLength; at < head; at += m_secondaryGroup) {
        out += m_group;
        out += digits.sliced(at, m_secondaryGroup);
    }
    out += m_group;
    out += digits.last(m_primaryGroup);
    return out;
}

QString Regional::formatCurrency(double value, int decimals) const
{
    const QString plain = formatFixed(std::fabs(value), decimals);
    const qsizetype point = decimals > 0 ? plain.size() - decimals - 1 : plain.size();
    QString body = groupInteger(QStringView(plain).first(point));
    body += QStringView(plain).sliced(point);
    const bool negative = value < 0 && !isZeroDigits(plain);
    const Affixes& affixes = negative ? m_negativeCurrency : m_positiveCurrency;
    return affixes.prefix + body + affixes.suffix;
}

QString Regional::formatShortDate(const QDate& date) const
{
    return m_locale.toString(date, QLocale::ShortFormat);
}

bool Regional::readBody(QStringView body, bool regionalForm, std::string& ascii) const
{
    ascii.clear();
    const QChar decimal = regionalForm ? m_decimal : QLatin1Char('.');
    const bool grouping = regionalForm && !m_group.isEmpty();
    const bool groupIsSpace = grouping && isSpaceLike(m_group.front());

    qsizetype i = 0;
    // Integer part, with grouping checked against the locale's group sizes.
    std::vector<int> groups{0};
    while (i < body.size()) {
        const QChar c = body[i];
        if (c.isDigit() && c.unicode() < 128) {
            ascii.push_back(static_cast<char>(c.unicode()));
            ++groups.back();
            ++i;
        } else if (grouping && body.sliced(i).startsWith(m_group)) {
            groups.push_back(0);
            i += m_group.size();
        } else if (groupIsSpace && isSpaceLike(c)) {
            // Where a space groups the digits, any kind of space does.
            groups.push_back(0);
            ++i;
        } else {
            break;
        }
    }
    if (groups.size() > 1) {
        if (groups.front() == 0 || groups.front() > m_secondaryGroup ||
            groups.back() != m_primaryGroup)
            return false;
        for (std::size_t g = 1; g + 1 < groups.size(); ++g) {
            if (groups[g] != m_secondaryGroup)
                return false;
        }
    }
    bool anyDigit = !ascii.empty();
    if (i < body.size() && body[i] == decimal) {
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
    // Direction marks that some locales put around the sign carry no meaning here.
    const auto isMark = [](QChar c) {
        return c == QChar(0x200E) || c == QChar(0x200F) || c == QChar(0x061C);
    };
    QString unmarked;
    if (std::any_of(text.begin(), text.end(), isMark)) {
        for (QChar c : text) {
            if (!isMark(c))
                unmarked += c;
        }
        text = unmarked;
    }
    QStringView rest = trimmed(text);
    bool negative = false;
    if (rest.size() >= 2 && rest.front() == QLatin1Char('(') && rest.back() == QLatin1Char(')')) {
        negative = true;
        rest = trimmed(rest.sliced(1, rest.size() - 2));
    }
    bool signSeen = false;
    // The hyphen, or the minus sign some locales write.
    const auto isMinus = [](QChar c) {
        return c == QLatin1Char('-') || c == QChar(0x2212);
    };
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
    const auto takeSymbol = [&] {
        for (const QString* symbol : {&m_currencyPrefix, &m_localeCurrencySymbol}) {
            if (!symbol->isEmpty() && rest.startsWith(*symbol)) {
                rest = trimmed(rest.sliced(symbol->size()));
                return;
            }
        }
    };
    if (!takeSign())
        return notNumeric;
    takeSymbol();
    if (!takeSign())
        return notNumeric;
    if (!m_localeCurrencySymbol.isEmpty() && rest.endsWith(m_localeCurrencySymbol))
        rest = trimmed(rest.first(rest.size() - m_localeCurrencySymbol.size()));
    if (rest.isEmpty())
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
