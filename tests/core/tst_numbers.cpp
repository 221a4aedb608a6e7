// Reading and writing numbers under the regional settings: the leading value, the strict
// reading, the general, fixed and currency formats, and the run-time errors.

#include "core/numbers.h"
#include "core/regional.h"
#include "core/runtime_error.h"

#include <QTest>

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

using namespace Qt::StringLiterals;

using namespace torvane;

namespace {

int errorNumber(const std::function<void()>& body)
{
    try {
        body();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

// QCOMPARE forgives doubles a relative error of 1e-12; figures here must match to the bit,
// and 17 significant digits tell any two doubles apart.
QByteArray exact(double value)
{
    return QByteArray::number(value, 'g', 17);
}

} // namespace

class TestNumbers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void leadingValue_data();
    void leadingValue();
    void strictReading_data();
    void strictReading();
    void fixedFormat_data();
    void fixedFormat();
    void generalFormat_data();
    void generalFormat();
    void currency_data();
    void currency();
    void errors();
    void roundTrips_data();
    void roundTrips();
};

void TestNumbers::leadingValue_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    const double largest = std::numeric_limits<double>::max();
    const auto row = [](const char* locale, const char* text, double value) {
        QTest::addRow("%s '%s'", locale, text)
            << QString::fromLatin1(locale) << QString::fromUtf8(text) << value;
    };
    row("en_GB", "12abc", 12);
    row("en_GB", " 0.5", 0.5);
    row("en_GB", "", 0);
    row("en_GB", "1 000", 1000);
    row("en_GB", "1\n2", 12);
    row("en_GB", "\t-3.5e2x", -350);
    row("en_GB", "1e", 1);
    row("en_GB", ".5", 0.5);
    row("en_GB", "- 5", -5);
    row("en_GB", "--5", 0);
    row("en_GB", "5.", 5);
    row("en_GB", "1.2.3", 1.2);
    row("en_GB", "1,5", 1);
    row("en_GB", "£5", 0);
    row("en_GB", "1e400", largest);
    row("en_GB", "-1e400", -largest);
    row("en_GB", "1e-400", 0);
    row("en_GB", "12345678901234567890", 12345678901234567890.0);
    // The regional decimal point is read as well as the full stop.
    row("de_DE", "1,5", 1.5);
    row("de_DE", "0.15", 0.15);
    row("de_DE", "1.000,5", 1.0);
    row("fr_FR", "2,25 kWh", 2.25);
}

void TestNumbers::leadingValue()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(exact(LeadingValue(text, Regional(QLocale(locale)))), exact(value));
}

void TestNumbers::strictReading_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error"); // 0: read, 13: not numeric, 6: overflow
    QTest::addColumn<double>("value");

    const auto row = [](const char* locale, const char* text, int error, double value) {
        QTest::addRow("%s '%s'", locale, text)
            << QString::fromLatin1(locale) << QString::fromUtf8(text) << error << value;
    };
    row("en_GB", "", 13, 0);
    row("en_GB", "abc", 13, 0);
    row("en_GB", "0.15p", 13, 0);
    row("en_GB", "1e400", 6, 0);
    row("en_GB", "1e-400", 0, 0);
    row("en_GB", " 7 ", 0, 7);
    row("en_GB", "-2.5E1", 0, -25);
    row("en_GB", "1e", 13, 0);
    row("en_GB", "£12", 0, 12);
    row("en_GB", "£-6.70", 0, -6.7);
    row("en_GB", "(£1,234.50)", 0, -1234.5);
    row("en_GB", "(-5)", 13, 0);
    row("en_GB", "1,234.5", 0, 1234.5);
    row("en_GB", "12,34,567", 13, 0);
    row("en_GB", "1,5", 13, 0);
    row("en_GB", "$5", 13, 0);
    row("en_US", "$5", 0, 5);
    row("en_IN", "12,34,567", 0, 1234567);
    row("de_DE", "0,15", 0, 0.15);
    row("de_DE", "0.15", 0, 0.15);
    row("de_DE", "1.234,5", 0, 1234.5);
    row("de_DE", "12,50\u00A0€", 0, 12.5);
    row("de_DE", "-1.234,50 €", 0, -1234.5);
    row("de_DE", "1,2,3", 13, 0);
    row("fr_FR", "1 234,5", 0, 1234.5);
    row("fr_FR", "1\u202F234,5", 0, 1234.5);
    row("fr_FR", "1\u00A0234,5", 0, 1234.5);
    // A locale whose minus sign is not the hyphen reads what it writes.
    row("sv_SE", "\u22121\u00A0234,50\u00A0kr", 0, -1234.5);
    row("sv_SE", "\u22125", 0, -5);
    row("C", "1234.5", 0, 1234.5);
    row("C", "1,234.5", 13, 0);
}

void TestNumbers::strictReading()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(int, error);
    QFETCH(double, value);

    const Regional regional{QLocale(locale)};
    QCOMPARE(IsNumericText(text, regional), error == 0);
    double read = 0;
    QCOMPARE(errorNumber([&] { read = StrictNumber(text, regional); }), error);
    if (error == 0)
        QCOMPARE(exact(read), exact(value));
}

void TestNumbers::fixedFormat_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");

    const auto row = [](const char* locale, double value, int decimals, const char* text) {
        QTest::addRow("%s %.17g/%d", locale, value, decimals)
            << QString::fromLatin1(locale) << value << decimals << QString::fromLatin1(text);
    };
    row("en_GB", 0.1537, 6, "0.153700");
    row("en_GB", 0.1537, 2, "0.15");
    row("en_GB", 0.1537, 1, "0.2");
    row("en_GB", 12, 6, "12.000000");
    row("en_GB", 1234.56, 0, "1235");
    row("en_GB", 7.96, 1, "8.0");
    row("en_GB", 9.995, 2, "10.00");
    row("en_GB", 1.005, 2, "1.01");
    row("en_GB", 99999.95, 1, "100000.0");
    // Halves round away from zero, on the digits the figure shows.
    row("en_GB", 456.25, 1, "456.3");
    row("en_GB", 0.145, 2, "0.15");
    row("en_GB", 2.5, 0, "3");
    row("en_GB", -2.5, 0, "-3");
    row("en_GB", 0.0005, 3, "0.001");
    row("en_GB", 0.000123, 5, "0.00012");
    // A negative figure that rounds to nothing has no sign.
    row("en_GB", -0.04, 1, "0.0");
    row("en_GB", -6.704, 2, "-6.70");
    row("en_GB", 1e20, 1, "100000000000000000000.0");
    row("de_DE", 0.1537, 2, "0,15");
    row("fr_FR", 1234.5, 1, "1234,5");
}

void TestNumbers::fixedFormat()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(Regional(QLocale(locale)).formatFixed(value, decimals), text);
}

void TestNumbers::generalFormat_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    const auto row = [](const char* locale, double value, const char* text) {
        QTest::addRow("%s %.17g", locale, value)
            << QString::fromLatin1(locale) << value << QString::fromLatin1(text);
    };
    row("en_GB", 20440, "20440");
    row("en_GB", 0.1848, "0.1848");
    row("en_GB", 0.1 + 0.2, "0.3");
    row("en_GB", 1.0 / 3, "0.333333333333333");
    row("en_GB", 0, "0");
    row("en_GB", -0.0, "0");
    row("en_GB", 1e20, "1E+20");
    row("en_GB", 0.0000015, "1.5E-06");
    row("en_GB", 123456789012345.0, "123456789012345");
    row("de_DE", 2.5, "2,5");
    row("de_DE", 7756.25, "7756,25");
}

void TestNumbers::generalFormat()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(Regional(QLocale(locale)).formatGeneral(value), text);
}

void TestNumbers::currency_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prefix");

    const auto row = [](const char* locale, double value, int decimals, const char* text,
                        const char* prefix) {
        QTest::addRow("%s %g/%d", locale, value, decimals)
            << QString::fromLatin1(locale) << value << decimals << QString::fromUtf8(text)
            << QString::fromUtf8(prefix);
    };
    row("en_GB", 0.24541, 5, "£0.24541", "£");
    row("en_GB", 1234.5, 2, "£1,234.50", "£");
    row("en_GB", -1234.5, 2, "(£1,234.50)", "£");
    row("en_GB", -0.001, 2, "£0.00", "£");
    row("de_DE", 1234.5, 2, "1.234,50\u00A0€", "");
    row("de_DE", -1234.5, 2, "-1.234,50\u00A0€", "");
    row("fr_FR", 1234.5, 2, "1\u202F234,50\u00A0€", "");
    row("C", 1234.5, 2, "1234.50", "");
    row("en_IN", 1234567, 2, "₹12,34,567.00", "₹");
    row("pt_BR", 0.5, 2, "R$\u00A00,50", "R$");
}

void TestNumbers::currency()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QFETCH(QString, prefix);

    const Regional regional{QLocale(locale)};
    QCOMPARE(regional.formatCurrency(value, decimals), text);
    QCOMPARE(regional.currencyPrefix(), prefix);
    // What the program writes, it reads back.
    QCOMPARE(exact(StrictNumber(text, regional)),
             exact(StrictNumber(regional.formatFixed(value, decimals), regional)));
}

void TestNumbers::errors()
{
    QCOMPARE(errorNumber([] { checkedFigure(std::numeric_limits<double>::infinity()); }), 6);
    QCOMPARE(errorNumber([] { checkedFigure(std::numeric_limits<double>::quiet_NaN()); }), 6);
    QCOMPARE(errorNumber([] { checkedFigure(std::numeric_limits<double>::max() * 2); }), 6);
    QCOMPARE(errorNumber([] { divide(1, 0); }), 11);
    QCOMPARE(errorNumber([] { divide(0, 0); }), 6);
    QCOMPARE(errorNumber([] { divide(1e300, 1e-300); }), 6);
    QCOMPARE(exact(divide(1, 4)), exact(0.25));
    QCOMPARE(RuntimeError::divisionByZero().description(), u"Division by zero"_s);
    QCOMPARE(RuntimeError::typeMismatch().description(), u"Type mismatch"_s);
    QCOMPARE(QString::fromUtf8(RuntimeError::overflow().what()), u"Overflow"_s);
    QCOMPARE(exact(roundToGeneral(0.1 + 0.2)), exact(0.3));
    QCOMPARE(exact(roundToGeneral(-1.0 / 3)), exact(-0.333333333333333));
    QCOMPARE(exact(roundToGeneral(0.19404000000000002)), exact(0.19404));
    // Rounded up past the largest double: an overflow for the figure that holds it.
    QCOMPARE(errorNumber([] { checkedFigure(roundToGeneral(std::numeric_limits<double>::max())); }),
             6);
}

void TestNumbers::roundTrips_data()
{
    QTest::addColumn<QString>("locale");
    for (const char* locale : {"en_GB", "en_US", "de_DE", "fr_FR", "C"})
        QTest::newRow(locale) << QString::fromLatin1(locale);
}

void TestNumbers::roundTrips()
{
    QFETCH(QString, locale);
    const Regional regional{QLocale(locale)};
    std::mt19937_64 random(6);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        // The general format keeps 15 digits, and reads back as them.
        const QString general = regional.formatGeneral(value);
        QCOMPARE(exact(StrictNumber(general, regional)), exact(roundToGeneral(value)));
        QCOMPARE(exact(LeadingValue(general, regional)), exact(roundToGeneral(value)));
        // Fixed texts read the same either way.
        const QString fixed = regional.formatFixed(value, i % 7);
        QCOMPARE(exact(LeadingValue(fixed, regional)), exact(StrictNumber(fixed, regional)));
        // Rounding to 15 digits is the same as writing them out and reading them back.
        char buffer[64];
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
        double expected = 0;
        std::from_chars(buffer, written.ptr, expected);
        QCOMPARE(exact(roundToGeneral(value)), exact(expected));
    }
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
