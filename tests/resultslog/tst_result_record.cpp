// The fixed-layout record of a calculation: every line, the optional ones, and the
// columns that cut long values.

#include "support/test_doubles.h"

#include <QFile>
#include <QTest>

using namespace torvane;
using namespace torvane::test;

namespace {

const QString Rule(81, QLatin1Char('-'));

QStringList lines(const QString& record)
{
    QStringList result = record.split(QStringLiteral("\r\n"));
    result.removeLast(); // the text ends with CR LF
    return result;
}

} // namespace

class TestResultRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedExample();
    void optionalLines_data();
    void optionalLines();
    void keptTariffBlocks();
    void columnsCutLongValues();
};

void TestResultRecord::workedExample()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    QFile file(qEnvironmentVariable("TORVANE_FIXTURES") + QStringLiteral("/worked_example.record"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The file holds the record and the empty line that follows it in the log.
    QCOMPARE(f.form.RecordText + QStringLiteral("\r\n"), QString::fromUtf8(file.readAll()));
    QCOMPARE(f.form.PendingLogText, QStringLiteral("04/12/2026 20:31:07\r\n") + f.form.RecordText +
                                        QStringLiteral("\r\n"));

    // The short date is the locale's.
    FormFixture us(QStringLiteral("en_US"));
    us.typeWorkedExample();
    us.calculate();
    QVERIFY(us.form.PendingLogText.startsWith(QStringLiteral("12/4/26 20:31:07\r\n\r\nVAT")));
}

void TestResultRecord::optionalLines_data()
{
    QTest::addColumn<QStringList>("typed"); // name, text, name, text ...
    QTest::addColumn<qint16>("testMode");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const auto fields = [](std::initializer_list<const char*> pairs) {
        QStringList list;
        for (const char* text : pairs)
            list.append(QString::fromUtf8(text));
        return list;
    };
    QTest::newRow("notes first") << fields({"Notes", "Kitchen, 2nd fridge"}) << qint16(0)
                                 << QStringList{QStringLiteral("Kitchen, 2nd fridge")}
                                 << QStringList{};
    QTest::newRow("item 1 blank")
        << fields({"Item1Watts", "", "Item1SWatts", "", "Item1Life", "", "Item1Cost", ""})
        << qint16(0)
        << QStringList{QStringLiteral(
               "Item 2 Units:  0.870KWHr/day,   79.39KWHr/Qtr,  1270.2KWHr/4.0yrs,  546.2Kg CO2")}
        << QStringList{QStringLiteral("Item 1:"), QStringLiteral("Item 1 Units:"),
                       QStringLiteral("      Saving:"), QStringLiteral("Item 1 Cost :"),
                       QStringLiteral("     Saving :")};
    QTest::newRow("inflation, one year")
        << fields({"AnInfT", "2.5", "PayPeriod", "1"}) << qint16(0)
        << QStringList{QStringLiteral("Inflation   :   2.5%/year")} << QStringList{};
    QTest::newRow("inflation over years")
        << fields({"AnInfT", "10", "PayPeriod", "2.5"}) << qint16(0)
        << QStringList{QStringLiteral(
               "Inflation   :  10.0%/year (21.0% total inflation over 2.5 years)")}
        << QStringList{};
    QTest::newRow("no life, no replace line")
        << fields({"Item1Life", "", "Item1Cost", ""}) << qint16(0)
        << QStringList{QStringLiteral(
               "Item 1:  100.0W,  4.0W Standby plus  0.0W Continuous Standby ( 2.5% Standby Cost)")}
        << QStringList{QStringLiteral("Replace  3")};
    // Life without cost passes only with the combination checks off.
    QTest::newRow("cost n-a") << fields({"Item1Cost", ""}) << qint16(2)
                              << QStringList{QStringLiteral(
                                     "        Replace  3 times, 10000hrs Life, Cost      n-a")}
                              << QStringList{};
    QTest::newRow("pounds of CO2")
        << fields({"Units1", "1"}) << qint16(0)
        << QStringList{QStringLiteral("CO2 Convert :   0.43 lb/KWHr"),
                       QStringLiteral("      Saving:  0.570KWHr/day,   52.01KWHr/Qtr,   "
                                      "832.2KWHr/4.0yrs,  357.8lb CO2")}
        << QStringList{QStringLiteral("Kg")};
    QTest::newRow("monthly")
        << fields({"MonthlyT", "1"}) << qint16(0)
        << QStringList{QStringLiteral(
               "Item 1 Cost : £0.24541/day,     £7.46/Mth,      £358.30/4.0yrs,")}
        << QStringList{QStringLiteral("Qtr")};
}

void TestResultRecord::optionalLines()
{
    QFETCH(QStringList, typed);
    QFETCH(qint16, testMode);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);

    FormFixture f(QStringLiteral("en_GB"), testMode);
    f.typeWorkedExample();
    for (qsizetype i = 0; i + 1 < typed.size(); i += 2) {
        if (typed[i] == QLatin1String("Units1") || typed[i] == QLatin1String("MonthlyT"))
            static_cast<CheckBox*>(f.form.control(typed[i]))->setValue(typed[i + 1].toInt());
        else
            f.field(typed[i].toLatin1().constData()).type(typed[i + 1]);
    }
    f.calculate();
    const QStringList record = lines(f.form.RecordText);
    QCOMPARE(record.count(Rule), 3);
    if (typed.contains(QStringLiteral("Notes")))
        QCOMPARE(record.front(), present.front());
    else
        QCOMPARE(record.front(), QString());
    for (const QString& line : present)
        QVERIFY2(record.contains(line),
                 qPrintable(line + QStringLiteral("\n") + record.join(QLatin1Char('\n'))));
    for (const QString& part : absent)
        QVERIFY2(!f.form.RecordText.contains(part), qPrintable(part));
}

void TestResultRecord::keptTariffBlocks()
{
    FormFixture f;
    f.typeWorkedExample();
    f.type({{"AnInfT", "3"}});
    f.calculate();
    f.form.Keep.click();
    f.type({{"NormalHr", "8"}, {"Item2Watts", "40"}});
    f.calculate();
    const QStringList record = lines(f.form.RecordText);
    const QStringList expected = {
        QString(),
        QStringLiteral("Item 1 Data"),
        QStringLiteral("VAT         :   5.0%"),
        QStringLiteral("Inflation   :   3.0%/year (12.6% total inflation over 4.0 years)"),
        QStringLiteral("CO2 Convert :   0.43 Kg/KWHr"),
        QStringLiteral("Normal Rate :  £0.150000/KWhr    10hrs On +     6hrs On Standby per day"),
        QStringLiteral("Cheap Rate  :  £0.075000/KWhr     4hrs On +     4hrs On Standby per day"),
        QStringLiteral("Running Time:    20440hrs On +  14600hrs On Standby over Pay Back Period"),
        Rule,
        QStringLiteral(
            "Item 1:  100.0W,  4.0W Standby plus  0.0W Continuous Standby ( 2.5% Standby Cost)"),
        QStringLiteral("        Replace  3 times, 10000hrs Life, Cost   £25.00"),
        Rule,
        QString(),
        QStringLiteral("Item 2 Data"),
        QStringLiteral("VAT         :  5.0%"),
        QStringLiteral("Inflation   :  3.0%"),
        QStringLiteral("CO2 Convert :  0.43 Kg/KWHr"),
        QStringLiteral("Normal Rate : 0.150000/KWhr     8hrs On +     6hrs On Standby per day"),
        QStringLiteral("Cheap Rate  : 0.075000/KWhr     4hrs On +     4hrs On Standby per day"),
        QStringLiteral("Running Time:  17520hrs On +  14600hrs On Standby over Pay Back Period"),
        Rule,
    };
    QCOMPARE(record.mid(0, expected.size()), expected);
    QVERIFY(
        record.at(expected.size()).startsWith(QStringLiteral("Item 2:   40.0W,  3.0W Standby")));
}

void TestResultRecord::columnsCutLongValues()
{
    // With the checks off a wattage can be longer than its six-character column; its
    // standby share rounds to 0.0%, which is shown empty and left out of the record.
    FormFixture f(QStringLiteral("en_GB"), 1);
    f.typeWorkedExample();
    f.type({{"Item1Watts", "12345.6"},
            {"AnInfT", "199"},
            {"PayPeriod", "10"},
            {"NormalHr", "24"},
            {"NormalR", "0.99"}});
    f.calculate();
    const QStringList record = lines(f.form.RecordText);
    QCOMPARE(record.filter(QStringLiteral("Item 1: ")).value(0),
             QStringLiteral("Item 1: 2345.6W,  4.0W Standby plus  0.0W Continuous Standby"));
    const QString period = f.form.Item1PeriodCost;
    QVERIFY2(period.size() > 12, qPrintable(period));
    const QString costLine = record.filter(QStringLiteral("Item 1 Cost :")).value(0);
    QVERIFY2(costLine.endsWith(QStringLiteral("/Qtr, ") + period.right(12) +
                               QStringLiteral("/10.0yrs,")),
             qPrintable(costLine));
}

QTEST_GUILESS_MAIN(TestResultRecord)
#include "tst_result_record.moc"
