// Reading and writing numbers under the regional settings: the leading value, the strict
// reading, the general, fixed and currency formats, and the run-time errors.

#include "core/decimal.h"
#include "core/numbers.h"
#include "core/regional.h"
#include "core/runtime_error.h"
#include "support/fixture_table.h"

#include <QTest>

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

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

// The rows of one kind from tests/fixtures/numbers.tsv: the locale, then its columns.
QList<QStringList> cases(const QString& kind)
{
    QList<QStringList> rows;
    for (QStringList row : fixtureTable(u"numbers.tsv"_s)) {
        if (row.takeFirst() != kind)
            continue;
        for (QString& field : row)
            field = unescaped(field);
        rows.append(row);
    }
    return rows;
}

double strictNumber(QStringView text, const Regional& regional)
{
    return Reading::of(text, regional).strict();
}

// A figure written as C does, read exactly.
double figure(const QString& text)
{
    double value = 0;
    const QByteArray ascii = text.toLatin1();
    std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), value);
    return value;
}

} // namespace

class TestNumbers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void table_data();
    void table();
    void errors();
    void roundTrips_data();
    void roundTrips();
    void quickRoundingNearHalves();
};

void TestNumbers::table_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("c"); // the locale, then the kind's columns
    for (const QString& kind :
         {u"leading"_s, u"strict"_s, u"fixed"_s, u"general"_s, u"currency"_s}) {
        for (const QStringList& c : cases(kind))
            QTest::addRow("%s %s '%s' %s", qPrintable(kind), qPrintable(c[0]), qPrintable(c[1]),
                          qPrintable(c.value(2)))
                << kind << c;
    }
}

void TestNumbers::table()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, c);
    const Regional regional{QLocale(c[0])};
    if (kind == u"leading") {
        QCOMPARE(exact(LeadingValue(c[1], regional)), exact(figure(c[2])));
    } else if (kind == u"strict") {
        const int error = c[2].toInt();
        QCOMPARE(Reading::of(c[1], regional).numeric(), error == 0);
        double read = 0;
        QCOMPARE(errorNumber([&] { read = strictNumber(c[1], regional); }), error);
        if (error == 0)
            QCOMPARE(exact(read), exact(figure(c[3])));
    } else if (kind == u"fixed") {
        QCOMPARE(regional.formatFixed(figure(c[1]), c[2].toInt()), c[3]);
    } else if (kind == u"general") {
        QCOMPARE(regional.formatGeneral(figure(c[1])), c[2]);
    } else {
        const double value = figure(c[1]);
        const int decimals = c[2].toInt();
        QCOMPARE(regional.formatCurrency(value, decimals), c[3]);
        QCOMPARE(regional.currencyPrefix(), c[4]);
        // What the program writes, it reads back.
        QCOMPARE(exact(strictNumber(c[3], regional)),
                 exact(strictNumber(regional.formatFixed(value, decimals), regional)));
    }
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
    // Rounded up past the largest double: an overflow for the figure that holds it, and
    // a text that reads back as the largest double, or strictly as an overflow.
    const double largest = std::numeric_limits<double>::max();
    QCOMPARE(errorNumber([=] { checkedFigure(roundToGeneral(largest)); }), 6);
    const Reading huge = Reading::of(u"1e400", Regional(QLocale(u"en_GB"_s)));
    for (const Reading& rewritten : {huge.rounded(0), huge.rounded(2), Reading::general(largest)}) {
        QCOMPARE(exact(rewritten.value), exact(largest));
        QCOMPARE(errorNumber([&] { rewritten.strict(); }), 6);
    }
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
        QCOMPARE(exact(strictNumber(general, regional)), exact(roundToGeneral(value)));
        QCOMPARE(exact(LeadingValue(general, regional)), exact(roundToGeneral(value)));
        // Fixed texts read the same either way.
        const QString fixed = regional.formatFixed(value, i % 7);
        QCOMPARE(exact(LeadingValue(fixed, regional)), exact(strictNumber(fixed, regional)));
        // Rounding to 15 digits is the same as writing them out and reading them back, and
        // the general format writes what printf's %.15G writes.
        char buffer[64];
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
        double expected = 0;
        std::from_chars(buffer, written.ptr, expected);
        QCOMPARE(exact(roundToGeneral(value)), exact(expected));
        const auto printed =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
        QCOMPARE(general, QString::fromLatin1(buffer, printed.ptr - buffer)
                              .replace(u'.', regional.decimalPoint())
                              .replace(u'e', u'E'));
        // A number rounded to decimals is what its fixed text reads back as, and plain
        // numbers read the same on their own short road.
        QCOMPARE(exact(roundToDecimals(value, i % 7)), exact(strictNumber(fixed, regional)));
        const Reading plain = Reading::of(fixed, regional);
        QCOMPARE(exact(plain.value), exact(LeadingValue(fixed, regional)));
        QCOMPARE(exact(plain.strict()), exact(strictNumber(fixed, regional)));
        // A figure already rounded to its decimals is written as exactly those digits.
        const int places = i % 7;
        const auto units = static_cast<long long>(random() % 1'000'000'000'000'000);
        QString digits = QString::number(units).rightJustified(places + 1, u'0');
        if (places > 0)
            digits.insert(digits.size() - places, regional.decimalPoint());
        QCOMPARE(regional.formatFixed(static_cast<double>(units) / std::pow(10.0, places), places),
                 digits);
    }
    // Either side of where the quick 15-digit rounding hands over to the exact one: from
    // the first digit's place 10^-10 to 10^-7, and 10^35 to 10^38.
    for (const int place : {-10, -9, -8, -7, 35, 36, 37, 38}) {
        for (const double leading :
             {1.0, 1.234567890123456, 5.000000000000005, 9.999999999999999}) {
            const double value = leading * std::pow(10.0, place);
            char buffer[64];
            const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                               std::chars_format::scientific, 14);
            double expected = 0;
            std::from_chars(buffer, written.ptr, expected);
            QCOMPARE(exact(roundToGeneral(value)), exact(expected));
            QCOMPARE(exact(roundToGeneral(-value)), exact(-expected));
        }
    }
    // Past the room on the stack.
    QCOMPARE(regional.formatFixed(1e70, 12).size(), 71 + 1 + 12);
    QCOMPARE(exact(strictNumber(regional.formatFixed(1e70, 12), regional)), exact(1e70));
}

void TestNumbers::quickRoundingNearHalves()
{
    // Halves of the last decimal, and doubles either side of them at every distance from
    // the margin the quick route keeps, from 1 to 14 digits: they round as the 15 digits do.
    std::mt19937_64 random(11);
    const double offsets[] = {0,       1e-6,    -1e-6,    4e-5, -4e-5, 6e-5, -6e-5, 9.9e-5,
                              -9.9e-5, 1.01e-4, -1.01e-4, 2e-4, -2e-4, 0.3,  -0.3};
    for (int i = 0; i < 20000; ++i) {
        const int decimals = i % 8;
        const auto digits = static_cast<std::size_t>(1 + i % 14);
        const double half =
            static_cast<double>(random() % detail::WholePowersOfTen[digits - 1]) + 0.5;
        for (const double offset : offsets) {
            const double value = (half + offset) / detail::PowersOfTen[decimals];
            const double exactly =
                detail::fixedValue(detail::fixedDecimalFromDigits(value, decimals));
            QCOMPARE(exact(detail::fixedValue(detail::fixedDecimal(value, decimals))),
                     exact(exactly));
            QCOMPARE(exact(roundToDecimals(-value, decimals)), exact(-exactly));
        }
    }
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
