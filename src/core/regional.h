#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

namespace torvane {

// The user's regional settings as the program uses them: number and currency formats,
// the short date and the strict reading of numbers. Built once from a QLocale; the
// formatting runs on figures worked out at construction, so it is cheap per call.
class Regional {
public:
    explicit Regional(const QLocale& locale = QLocale::system());

    const QLocale& locale() const { return m_locale; }
    QChar decimalPoint() const { return m_decimal; }

    // The text written before the amount in the currency format ("£", "$", "R$"), or
    // empty where the symbol follows the amount or there is none.
    const QString& currencyPrefix() const { return m_currencyPrefix; }

    // Digits with the given number of decimals, at least one before the decimal point,
    // no grouping; the value is rounded, and a result that rounds to zero has no sign.
    QString formatFixed(double value, int decimals) const;

    // Shortest form with at most 15 significant digits, no grouping, regional decimal
    // point, none for whole numbers, exponent as "E+20" / "E-06" for very large or small.
    QString formatGeneral(double value) const;

    // The regional currency format (symbol, its place, grouping, negative style).
    QString formatCurrency(double value, int decimals) const;

    QString formatShortDate(const QDate& date) const;

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
    QString groupInteger(QStringView digits) const;
    bool readBody(QStringView body, bool regionalForm, std::string& ascii) const;

    QLocale m_locale;
    QChar m_decimal;
    QString m_group;
    int m_primaryGroup = 3;
    int m_secondaryGroup = 3;
    QString m_localeCurrencySymbol;
    QString m_currencyPrefix;
    Affixes m_positiveCurrency;
    Affixes m_negativeCurrency;
};

} // namespace torvane
