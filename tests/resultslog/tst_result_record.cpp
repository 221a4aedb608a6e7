// The fixed-layout record of a calculation: every line, the optional ones, and the
// columns that cut long values.

#include "support/test_doubles.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

namespace {

const QString Rule(81, QLatin1Char('-'));

QStringList lines(const QString& record)
{
    QStringList result = record.split(u"\r\n"_s);
    result.removeLast(); // the text ends with CR LF
    return result;
}

} // namespace

class TestResultRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void timeStampInTheLocalesShortDate();
    void lifeWithoutCost();
    void keptTariffBlocks();
    void columnsCutLongValues();
    void shareShownAsZeroLeftOut();
};

void TestResultRecord::timeStampInTheLocalesShortDate()
{
    // The worked example's whole record is checked in the log, through the window.
    FormFixture us(u"en_US"_s);
    us.typeWorkedExample();
    us.calculate();
    QVERIFY(us.form.PendingLogText.startsWith(u"12/4/26 20:31:07\r\n\r\nVAT"_s));
}

// The optional lines of ordinary records are checked end to end against
// tests/fixtures/records.csv; here the one only test modes reach.
void TestResultRecord::lifeWithoutCost()
{
    // Life without cost passes only with the combination checks off.
    FormFixture f(u"en_GB"_s, TestMode::InhibitCombCheck);
    f.typeWorkedExample();
    f.type({{"Item1Cost", ""}});
    f.calculate();
    QVERIFY(lines(f.form.RecordText)
                .contains(u"        Replace  3 times, 10000hrs Life, Cost      n-a"_s));
}

void TestResultRecord::keptTariffBlocks()
{
    FormFixture f;
    f.typeWorkedExample();
    f.type({{"AnInfT", "3"}});
    f.calculate();
    f.click(f.form.Keep);
    f.type({{"NormalHr", "8"}, {"Item2Watts", "40"}});
    f.calculate();
    const QStringList record = lines(f.form.RecordText);
    const QStringList expected = {
        QString(),
        u"Item 1 Data"_s,
        u"VAT         :   5.0%"_s,
        u"Inflation   :   3.0%/year (12.6% total inflation over 4.0 years)"_s,
        u"CO2 Convert :   0.43 Kg/KWHr"_s,
        u"Normal Rate :  £0.150000/KWhr    10hrs On +     6hrs On Standby per day"_s,
        u"Cheap Rate  :  £0.075000/KWhr     4hrs On +     4hrs On Standby per day"_s,
        u"Running Time:    20440hrs On +  14600hrs On Standby over Pay Back Period"_s,
        Rule,
        u"Item 1:  100.0W,  4.0W Standby plus  0.0W Continuous Standby ( 2.5% Standby Cost)"_s,
        u"        Replace  3 times, 10000hrs Life, Cost   £25.00"_s,
        Rule,
        QString(),
        u"Item 2 Data"_s,
        u"VAT         :  5.0%"_s,
        u"Inflation   :  3.0%"_s,
        u"CO2 Convert :  0.43 Kg/KWHr"_s,
        u"Normal Rate : 0.150000/KWhr     8hrs On +     6hrs On Standby per day"_s,
        u"Cheap Rate  : 0.075000/KWhr     4hrs On +     4hrs On Standby per day"_s,
        u"Running Time:  17520hrs On +  14600hrs On Standby over Pay Back Period"_s,
        Rule,
    };
    QCOMPARE(record.mid(0, expected.size()), expected);
    QVERIFY(record.at(expected.size()).startsWith(u"Item 2:   40.0W,  3.0W Standby"_s));
}

void TestResultRecord::shareShownAsZeroLeftOut()
{
    // A standby share that rounds to 0.0% is shown empty and left out of the record.
    FormFixture f(u"en_GB"_s, TestMode::InhibitErrorCheck);
    f.typeWorkedExample();
    f.type({{"Item1Watts", "7000"}, {"Item1SWatts", "0.01"}});
    f.calculate();
    QCOMPARE(f.form.Item1SB.text(), QString());
    QCOMPARE(lines(f.form.RecordText).filter(u"Item 1: "_s).value(0),
             u"Item 1: 7000.0W,  0.0W Standby plus  0.0W Continuous Standby"_s);
}

void TestResultRecord::columnsCutLongValues()
{
    // With the checks off a wattage can be longer than its six-character column, and a
    // continuous standby longer than its four (written from its figure, not from a field).
    FormFixture f(u"en_GB"_s, TestMode::InhibitErrorCheck);
    f.typeWorkedExample();
    f.type({{"Item1Watts", "12345.6"},
            {"Item1CWatts", "-123.4"},
            {"AnInfT", "199"},
            {"PayPeriod", "10"},
            {"NormalHr", "24"},
            {"NormalR", "0.99"}});
    f.calculate();
    const QStringList record = lines(f.form.RecordText);
    QCOMPARE(
        record.filter(u"Item 1: "_s).value(0),
        u"Item 1: 2345.6W,  4.0W Standby plus 23.4W Continuous Standby (-0.8% Standby Cost)"_s);
    const QString period = f.form.Item1PeriodCost;
    QVERIFY2(period.size() > 12, qPrintable(period));
    const QString costLine = record.filter(u"Item 1 Cost :"_s).value(0);
    QVERIFY2(costLine.endsWith(u"/Qtr, "_s + period.right(12) + u"/10.0yrs,"_s),
             qPrintable(costLine));
}

QTEST_GUILESS_MAIN(TestResultRecord)
#include "tst_result_record.moc"
