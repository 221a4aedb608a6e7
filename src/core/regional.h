#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

#include "text_buffer.h"

#include <memory>
#include <optional>
#include <string>

namespace torvane {

// Appends to a text built piece by piece.
inline void appendText(std::u16string& out, QStringView text)
{
    out.append(text.utf16(), static_cast<std::size_t>(text.size()));
}

// A number's text written on the stack, for texts built piece by piece without a QString
// for each number; a text too long for the room goes to the heap.
class NumberText {
public:
    NumberText() = default;
    NumberText(const NumberText&) = delete;
    NumberText& operator=(const NumberText&) = delete;

    QStringView view() const { return QStringView(m_data, m_size); }
    void clear() { m_size = 0; }
    void append(const char16_t* text, qsizetype size)
    {
        m_size = copyText(text, static_cast<std::size_t>(size), room(size)) - m_data;
    }
    void append(QStringView text) { append(text.utf16(), text.size()); }
    // The text put in at a place within what is held, which moves on after it.
    void insert(qsizetype at, QStringView text)
    {
        const qsizetype size = text.size();
        room(size);
        std::memmove(m_data + at + size, m_data + at, (m_size - at) * sizeof(char16_t));
        copyText(text.utf16(), static_cast<std::size_t>(size), m_data + at);
        m_size += size;
    }
    // The size characters from a place within what is held taken out.
    void remove(qsizetype at, qsizetype size)
    {
        std::memmove(m_data + at, m_data + at + size, (m_size - at - size) * sizeof(char16_t));
        m_size -= size;
    }
    // Room to write up to size characters in place; grow() keeps what was written there.
    char16_t* room(qsizetype size)
    {
        if (m_size + size > m_capacity)
            enlarge(size);
        return m_data + m_size;
    }
    void grow(qsizetype size) { m_size += size; }
    // The room left without growing, and where it starts.
    qsizetype free() const { return m_capacity - m_size; }
    char16_t* end() { return m_data + m_size; }

private:
    static constexpr qsizetype Room = 80;
    void enlarge(qsizetype size);
    char16_t m_room[Room];
    char16_t* m_data = m_room;
    qsizetype m_size = 0;
    qsizetype m_capacity = Room;
    std::unique_ptr<char16_t[]> m_heap;
};

// The user's regional settings as the program uses them: number and currency formats,
// the short date and the strict reading of numbers. Built once from a QLocale; the
// formatting runs on figures worked out at construction, so it is cheap per call.
class Regional {
public:
    explicit Regional(const QLocale& locale = QLocale::system());

    const QLocale& locale() const { return m_locale; }
    QChar decimalPoint() const { return m_decimal; }
    // Whether the full stop groups digits here ("1.234" is a thousand and more).
    bool groupsWithFullStop() const { return m_groupsWithFullStop; }

    // The text written before the amount in the currency format ("£", "$", "R$"), or
    // empty where the symbol follows the amount or there is none.
    const QString& currencyPrefix() const { return m_currencyPrefix; }
    // The text written after the amount where the symbol follows it ("\u00A0€"), so that
    // figures written plainly can carry the symbol as the locale places it; empty where the
    // symbol goes before the amount or there is none.
    const QString& currencySuffix() const { return m_currencySuffix; }

    // Digits with the given number of decimals, at least one before the decimal point,
    // no grouping; the value is rounded, and a result that rounds to zero has no sign.
    QString formatFixed(double value, int decimals) const;

    // Shortest form with at most 15 significant digits, no grouping, regional decimal
    // point, none for whole numbers, exponent as "E+20" / "E-06" for very large or small.
    QString formatGeneral(double value) const;

    // The regional currency format (symbol, its place, grouping, negative style).
    QString formatCurrency(double value, int decimals) const;

    // The same, written into a NumberText (after what it holds) for texts built piece by
    // piece; they return what the text now holds.
    QStringView writeFixed(NumberText& out, double value, int decimals) const;
    QStringView writeGeneral(NumberText& out, double value) const;
    QStringView writeCurrency(NumberText& out, double value, int decimals) const;

    // For texts laid out in bulk, straight into room for QuickRoom characters: the fixed
    // format on its usual quick route, returning the characters written, or -1 where only
    // writeFixed() writes it; and the general format, which always fits.
    static constexpr int QuickRoom = 48;
    int quickFixed(char16_t* out, double value, int decimals) const;
    int generalChars(char16_t* out, double value) const;
    // The quick fixed format as a column of at most ColumnRoom characters, written into
    // room for that many: pad blanks at most in front while it is narrower than width,
    // and no more than its last width characters; -1 where only writeFixed() writes it.
    static constexpr int ColumnRoom = 16;
    int quickFixedColumn(char16_t* out, double value, int decimals, int width, int pad) const;

    // The short date, or the ISO date where the short date has words in a script that the
    // files' code page lacks.
    QString formatShortDate(const QDate& date) const;
    // "dd-mmm-yy hh:mm:ss" with the language's month abbreviations, as file headers
    // write the time of saving; in English where the code page lacks the language's script.
    QString formatStamp(const QDateTime& time) const;

    enum class ReadStatus { Ok, NotNumeric, Overflow };
    struct ReadResult {
        ReadStatus status;
        double value;
    };
    // The whole text as a number under the regional rules: surrounding blanks, sign,
    // grouping in its proper places, the decimal point, exponent, the currency symbol
    // before or after the amount and a negative amount in parentheses. A text in the
    // machine form ("." as the decimal point, no grouping) is read too, so that values
    // the program stores in that form read back under every locale.
    ReadResult read(QStringView text) const;

private:
    struct Affixes {
        QString prefix;
        QString suffix;
    };
    // The symbol, its place and the affixes of positive and negative amounts.
    void readCurrencyFormat();
    void slowFixed(NumberText& out, double value, int decimals) const;
    // writeFixed(), writeCurrency() and generalChars() for the figures off their usual
    // route, out of line.
    [[gnu::noinline]] QStringView writeOtherFixed(NumberText& out, double value,
                                                  int decimals) const;
    [[gnu::noinline]] QStringView writeOtherCurrency(NumberText& out, double value,
                                                     int decimals) const;
    [[gnu::noinline]] int otherGeneralChars(char16_t* out, double value) const;
    // The amount written from digitsFrom on, with its groups, then the suffix.
    QStringView groupedWithSuffix(NumberText& out, qsizetype digitsFrom, int decimals,
                                  QStringView suffix) const;
    // Group separators into the whole part of a number, written from wholeFrom on.
    void groupWholePart(NumberText& out, qsizetype wholeFrom, qsizetype wholeDigits) const;
    // The number without its affixes, into ascii in the machine form; false when it is not
    // a number in the regional form (or, regionalForm false, in the machine form).
    bool readBody(QStringView body, bool regionalForm, std::string& ascii) const;

    QLocale m_locale;
    QChar m_decimal;
    QString m_group;
    bool m_groupsWithFullStop = false;
    int m_primaryGroup = 3;
    int m_secondaryGroup = 3;
    QString m_localeCurrencySymbol;
    QString m_currencyPrefix;
    QString m_currencySuffix;
    Affixes m_positiveCurrency;
    Affixes m_negativeCurrency;
    QStringList m_readSymbols;
};

} // namespace torvane
