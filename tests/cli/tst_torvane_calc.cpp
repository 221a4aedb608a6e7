// The batch tool as a user runs it: records and CSV out, locales, refusals, statuses,
// and every way an input or argument is rejected.

#include "cli/batch.h"
#include "core/ansi_file.h"
#include "support/fixture_table.h"
#include "support/test_doubles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <random>

using namespace Qt::StringLiterals;
using namespace torvane;
using namespace torvane::test;

namespace {

struct Run {
    QByteArray out;
    QByteArray err;
    int status = -1;
};

Run runCalc(const QStringList& arguments, const QByteArray& input = QByteArray(),
            const QString& locale = u"en_GB.UTF-8"_s)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, locale);
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("TORVANE_CALC"), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.readAllStandardOutput(), process.readAllStandardError(), process.exitCode()};
}

QString fixture(const char* name)
{
    return qEnvironmentVariable("TORVANE_FIXTURES") + QLatin1Char('/') + QLatin1String(name);
}

const QByteArray Header =
    "NormalR,CheapR,NormalHr,NormalSHr,CheapHr,CheapSHr,PayPeriod,VAT,AnInfT,CO2,"
    "Item1Watts,Item1SWatts,Item1CWatts,Item1Life,Item1Cost,Item2Watts,"
    "Item2SWatts,Item2CWatts,Item2Life,Item2Cost";
const QByteArray Example = "0.15,0.075,10,6,4,4,4,5,0,0.43,100,4,0,10000,25,60,3,0,15000,40";

} // namespace

class TestTorvaneCalc : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void workedExampleRecord();
    void csvFormat();
    void golden_data();
    void golden();
    void refusedAndStatusRows();
    void checkBoxesAndNotes();
    void settingsFile();
    void unusableInput_data();
    void unusableInput();
    void batchAgreesWithTheWindow_data();
    void batchAgreesWithTheWindow();
};

void TestTorvaneCalc::initTestCase()
{
    QVERIFY(QFile::exists(qEnvironmentVariable("TORVANE_CALC")));
}

void TestTorvaneCalc::workedExampleRecord()
{
    const Run run = runCalc({fixture("worked_example.csv")});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.err, QByteArray());
    // Lines 2 to 20 of the log entry, byte for byte, and the empty line after them.
    QFile record(fixture("worked_example.record"));
    QVERIFY(record.open(QIODevice::ReadOnly));
    const QByteArray expected = record.readAll();
    QVERIFY(expected.contains("Normal Rate :  \xC2\xA3"
                              "0.150000/KWhr    10hrs On +"));
    QCOMPARE(run.out, expected);
    // The same from standard input.
    QFile file(fixture("worked_example.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(runCalc({}, file.readAll()).out, expected);
}

void TestTorvaneCalc::csvFormat()
{
    // A note with a comma and quotes goes through the CSV reader into the record intact.
    const QByteArray input =
        "Notes," + Header + "\r\n\"Hall, \"\"old\"\" lamp\"," + Example + "\r\n";
    const Run record = runCalc({u"--format=record"_s}, input);
    QCOMPARE(record.status, 0);
    QVERIFY(record.out.startsWith("Hall, \"old\" lamp\r\n\r\nVAT "));
}

void TestTorvaneCalc::golden_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("format");
    // Records with their optional lines (notes, an item left out, inflation over one
    // year and over several, no life) and fields as typed, rewritten by the checks.
    QTest::newRow("records") << u"records.csv"_s << u"records.expected"_s << u"en_GB.UTF-8"_s << 0
                             << u"record"_s;
    // The worked example in the other locales: the symbol after the amount or none,
    // the decimal comma.
    for (const char* locale : {"en_US", "de_DE", "C"}) {
        const QString name = QString::fromLatin1(locale);
        QTest::addRow("worked example, %s", locale)
            << u"worked_example.csv"_s << u"worked_example."_s + name + u".record"_s
            << (name == u"C" ? name : name + u".UTF-8"_s) << 0 << u"record"_s;
    }
    // One row per accepted or refused value of every range and combination rule, with
    // its outcome and messages in order.
    QTest::newRow("checks") << u"checks.csv"_s << u"checks.expected.csv"_s << u"en_GB.UTF-8"_s << 1
                            << u"csv"_s;
    // The figures of each stage: purchases, continuous standby and the cheap rate,
    // inflation, months, a blank item and a dearer Item 2; in a comma locale, every
    // figure is quoted.
    QTest::newRow("calculations") << u"calculations.csv"_s << u"calculations.expected.csv"_s
                                  << u"en_GB.UTF-8"_s << 0 << u"csv"_s;
    QTest::newRow("calculations, de_DE")
        << u"calculations.csv"_s << u"calculations.de_DE.expected.csv"_s << u"de_DE.UTF-8"_s << 0
        << u"csv"_s;
}

void TestTorvaneCalc::golden()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QFETCH(QString, locale);
    QFETCH(int, status);
    QFETCH(QString, format);
    const Run run =
        runCalc({u"--format="_s + format, fixture(input.toLatin1())}, QByteArray(), locale);
    QCOMPARE(run.status, status);
    QFile file(fixture(expected.toLatin1()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> want = file.readAll().split('\n');
    const QList<QByteArray> got = run.out.split('\n');
    QCOMPARE(got.size(), want.size());
    for (qsizetype i = 0; i < want.size(); ++i)
        QCOMPARE(got[i], want[i]);
}

void TestTorvaneCalc::refusedAndStatusRows()
{
    const QByteArray input = Header + "\r\n" +
                             "5,0.075,10,6,4,4,4,5,0,0.43,100,4,0,10000,25,60,3,0,15000,40\r\n"
                             "0.15,,10,,,,4,,,0.43,,,,,,,,,,\r\n" +
                             Example + "\r\n";
    const Run record = runCalc({}, input);
    QCOMPARE(record.status, 1);
    QVERIFY(record.out.startsWith(
        "Torvane Data Error\r\nNormal Rate must be between 0.01 and 0.99\r\n\r\n"
        "No Data To Calculate\r\n\r\n\r\nVAT "));
    const Run csv = runCalc({u"--format"_s, u"csv"_s}, input);
    QCOMPARE(csv.status, 1);
    const QList<QByteArray> rows = csv.out.split('\n');
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows.at(1), QByteArray("1,error,Normal Rate must be between 0.01 and 0.99") +
                             QByteArray(27, ',') + '\r');
    // The hours total stays shown when there is nothing else to calculate.
    QCOMPARE(rows.at(2), QByteArray("2,No Data To Calculate,,14600") + QByteArray(26, ',') + '\r');
    QVERIFY(rows.at(3).startsWith("3,ok,,20440,"));

    // Several messages are joined in the order the checks give them.
    const Run two = runCalc({u"--format=csv"_s},
                            "NormalR,PayPeriod,CO2,NormalHr,Item1Watts\r\n0.15,4,5,30,100\r\n");
    QVERIFY(two.out.contains("\r\n1,error,CO2 Conversion Rate must be between 0.1 and 2 | "
                             "Normal Rate Hours On must be between 0 and 24 Hours,"));
}

void TestTorvaneCalc::checkBoxesAndNotes()
{
    const QByteArray input = "MonthlyT,Units1,Notes," + Header + "\r\n1,1," + QByteArray(80, 'n') +
                             "," + Example + "\r\n";
    const Run run = runCalc({}, input);
    QCOMPARE(run.status, 0);
    const QString out = QString::fromUtf8(run.out);
    // Notes keep what the field accepts.
    QVERIFY(out.startsWith(QString(75, QLatin1Char('n')) + u"\r\n\r\n"_s));
    QVERIFY(out.contains(u"CO2 Convert :   0.43 lb/KWHr"_s));
    QVERIFY(out.contains(u"Item 1 Cost : £0.24541/day,     £7.46/Mth,      £358.30/4.0yrs,"_s));
}

void TestTorvaneCalc::settingsFile()
{
    // The shipped defaults fill what the row leaves out: 25p a kWh, 5% VAT and 2% a year
    // over 5 years put the last year's day at 0.25 x 1.05 x 1.02^5.
    const QString ini = qEnvironmentVariable("TORVANE_DIST") + u"/Data/Torvane.ini"_s;
    const QByteArray input = "NormalHr,Item1Watts\r\n10,100\r\n";
    const Run run = runCalc({u"--settings"_s, ini}, input);
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains("Normal Rate :  \xC2\xA3"
                              "0.250000/KWhr    10hrs On"),
             run.out.constData());
    QVERIFY(run.out.contains("Inflation   :   2.0%/year (10.4% total inflation over 5.0 years)"));
    QVERIFY(run.out.contains("Item 1 Cost : \xC2\xA3"
                             "0.28982/day,"));

    QTemporaryDir dir;
    const QString broken = dir.filePath(u"broken.ini"_s);
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Run]\r\nAnInf=31\r\n");
    file.close();
    const Run refused = runCalc({u"--settings"_s, broken}, input);
    QCOMPARE(refused.status, 2);
    QCOMPARE(refused.out, QByteArray());
    QCOMPARE(refused.err, "torvane-calc: " + broken.toLocal8Bit() +
                              ": The configuration file is corrupted. Reinstall the program to "
                              "restore the file. The program will now terminate.\n");

    // A value the reader cannot hold is its run-time error, reported the same way.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Run]\r\nRunOnTop=99999\r\n");
    file.close();
    const Run fatal = runCalc({u"--settings"_s, broken}, input);
    QCOMPARE(fatal.status, 2);
    QCOMPARE(fatal.err, "torvane-calc: " + broken.toLocal8Bit() +
                            ": A Fatal Config Read Error Has Occurred (Error Number 192)\n");
}

void TestTorvaneCalc::unusableInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("message");
    for (const QStringList& row : fixtureTable(u"unusable_input.tsv"_s)) {
        QByteArray input = unescapedBytes(row[2]);
        input.replace("{header}", Header).replace("{row}", Example);
        QTest::newRow(qPrintable(row[0]))
            << row[1].split(u' ', Qt::SkipEmptyParts) << input << unescapedBytes(row[3]);
    }
}

void TestTorvaneCalc::unusableInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, message);
    const Run run = runCalc(arguments, input);
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, message);
}

void TestTorvaneCalc::batchAgreesWithTheWindow_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("configured");
    for (const char* locale : {"en_GB", "de_DE", "en_US", "C", "ar_AE"}) {
        QTest::addRow("%s", locale) << QString::fromLatin1(locale) << false;
        QTest::addRow("%s, shipped defaults", locale) << QString::fromLatin1(locale) << true;
    }
}

void TestTorvaneCalc::batchAgreesWithTheWindow()
{
    // The batch tool works a row out without a window; it must come to exactly what the
    // window shows after the same typing and a press of Calculate, whatever is typed.
    QFETCH(QString, locale);
    QFETCH(bool, configured);
    const QStringList settings =
        *AnsiFile::readLines(qEnvironmentVariable("TORVANE_DIST") + u"/Data/Torvane.ini"_s);
    const Regional regional{QLocale(locale)};
    BatchComparison batch(regional);
    if (configured)
        QCOMPARE(batch.setConfiguration(settings), QString());
    std::mt19937 random(20261206);
    // Mostly in range, so that most rows calculate; now and then empty, out of range, or
    // a text no number begins.
    struct Range {
        const char* column;
        double low;
        double high;
    };
    const Range ranges[] = {{"NormalR", 0.01, 0.99},   {"CheapR", 0.01, 0.99},
                            {"NormalHr", 0.1, 12},     {"CheapHr", 0, 4},
                            {"NormalSHr", 0, 6},       {"CheapSHr", 0, 3},
                            {"PayPeriod", 1, 10},      {"VAT", 1, 50},
                            {"AnInfT", -30, 199},      {"CO2", 0.1, 2},
                            {"Item1Watts", 0.1, 300},  {"Item1SWatts", 0, 99},
                            {"Item1CWatts", 0, 99},    {"Item1Life", 500, 50000},
                            {"Item1Cost", 0.1, 5000},  {"Item2Watts", 0.1, 300},
                            {"Item2SWatts", 0, 99},    {"Item2CWatts", 0, 99},
                            {"Item2Life", 500, 50000}, {"Item2Cost", 0.1, 5000}};
    const auto pick = [&](const Range& range) -> QString {
        switch (random() % 60) {
        case 0:
            return QString();
        case 1:
            return u"0"_s;
        case 2:
            return QStringList{u"abc"_s, u"1,5"_s, u"£7"_s, u"-1"_s, u"99999"_s}[random() % 5];
        default:
            return regional.formatFixed(
                std::uniform_real_distribution(range.low, range.high)(random),
                static_cast<int>(random() % 4));
        }
    };
    int calculated = 0;
    for (int round = 0; round < 120; ++round) {
        // With defaults loaded some tariff columns are left out, for the defaults to stand in.
        QStringList named;
        QStringList texts;
        const auto add = [&](const QString& column, const QString& text) {
            if (!configured || column.startsWith(u"Item") || random() % 4 != 0) {
                named.append(column);
                texts.append(text);
            }
        };
        for (const Range& range : ranges)
            add(QString::fromLatin1(range.column), pick(range));
        // An item without life and price, or left out altogether.
        for (const char* item : {"Item1", "Item2"}) {
            const QString prefix = QString::fromLatin1(item);
            const int roll = static_cast<int>(random() % 6);
            for (const char* field : {"Life", "Cost", "Watts", "SWatts", "CWatts"}) {
                if (roll == 0 ||
                    (roll == 1 && QStringView(u"LifeCost").contains(QLatin1String(field))))
                    add(prefix + QLatin1String(field), QString());
            }
        }
        add(u"Notes"_s, u"note %1"_s.arg(round));
        add(u"MonthlyT"_s, random() % 2 ? u"1"_s : u"0"_s);
        add(u"Units1"_s, random() % 2 ? u"1"_s : QString());
        // A column named twice counts once, as the later one: keep the first.
        for (qsizetype i = named.size() - 1; i >= 0; --i) {
            if (named.indexOf(named[i]) != i) {
                named.removeAt(i);
                texts.removeAt(i);
            }
        }
        QList<QStringView> values(texts.begin(), texts.end());
        batch.setColumns(named);

        FormFixture f(locale, TestMode(), configured ? &settings : nullptr);
        f.desktop.answerEveryBox = true;
        for (qsizetype i = 0; i < named.size(); ++i) {
            Control* control = f.form.control(named[i]);
            if (control->kind() == Control::Kind::CheckBox)
                static_cast<CheckBox*>(control)->setValue(texts[i] == u"1" ? 1 : 0);
            else
                static_cast<TextBox*>(control)->type(texts[i]);
        }
        QVERIFY(f.calculate());

        const BatchComparison::Result record = batch.run(values, true);
        const BatchComparison::Result csv = batch.run(values, false);
        const MainForm& m = f.form;
        const QString boxes = f.desktop.boxes.isEmpty() ? QString() : f.desktop.boxes[0].text;
        QCOMPARE(record.messages.join(u'\n'), boxes.split(u'\n', Qt::SkipEmptyParts).join(u'\n'));
        QCOMPARE(record.status, f.services.statusMessages.value(0));
        QCOMPARE(record.record,
                 record.outcome == BatchComparison::Outcome::Calculated ? m.RecordText : QString());
        const QStringList shown = {
            m.HoursUsed.text(), m.HoursSUsed.text(), m.Item1No.text(),   m.Item2No.text(),
            m.Item1DayCost,     m.Item1QtrCost,      m.Item1PeriodCost,  m.Item2DayCost,
            m.Item2QtrCost,     m.Item2PeriodCost,   m.DayCostSave,      m.QtrCostSave,
            m.PeriodCostSave,   m.Item1DayUnits,     m.Item1QtrUnits,    m.Item1PeriodUnits,
            m.Item2DayUnits,    m.Item2QtrUnits,     m.Item2PeriodUnits, m.DayUnitsSave,
            m.QtrUnitsSave,     m.PeriodUnitsSave,   m.Item1SB.text(),   m.Item2SB.text(),
            m.Item1CO2.text(),  m.Item2CO2.text(),   m.CO2Save.text()};
        QCOMPARE(csv.results, shown);
        calculated += record.outcome == BatchComparison::Outcome::Calculated;
    }
    QVERIFY2(calculated > 20, qPrintable(QString::number(calculated)));
}

QTEST_GUILESS_MAIN(TestTorvaneCalc)
#include "tst_torvane_calc.moc"
