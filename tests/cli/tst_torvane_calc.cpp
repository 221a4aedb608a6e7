// The batch tool as a user runs it: records and CSV out in several locales, refusals,
// statuses and the shipped defaults (tests/fixtures/batch_runs.tsv), every way an input or
// argument is rejected, and the batch held equal to the window on random input.

#include "cli/batch.h"
#include "core/ansi_file.h"
#include "support/fixture_table.h"
#include "support/test_doubles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <random>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace torvane;
using namespace torvane::test;

namespace {

struct Run {
    QByteArray out;
    QByteArray err;
    int status = -1;
};

// Input "A{endless}B" is A, then B again and again for as long as the tool reads.
Run runCalc(const QStringList& arguments, const QByteArray& input = QByteArray(),
            const QString& locale = u"en_GB.UTF-8"_s,
            const std::function<void(QProcess&)>& prepare = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, locale);
    environment.insert(u"TZ"_s, u"UTC"_s);
    process.setProcessEnvironment(environment);
    if (prepare)
        prepare(process);
    // "{torvane}" first runs the window program instead.
    const bool window = arguments.value(0) == u"{torvane}";
    process.start(qEnvironmentVariable(window ? "TORVANE_EXE" : "TORVANE_CALC"),
                  arguments.mid(window ? 1 : 0));
    const qsizetype endless = input.indexOf("{endless}");
    process.write(input.first(endless < 0 ? input.size() : endless));
    const QByteArray again = endless < 0 ? QByteArray() : input.sliced(endless + 9).repeated(4096);
    while (endless >= 0 && !process.waitForFinished(10)) {
        if (process.bytesToWrite() < again.size())
            process.write(again);
    }
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.readAllStandardOutput(), process.readAllStandardError(), process.exitCode()};
}

// The placeholders of the fixture tables filled in.
QString withFolders(QString text)
{
    return text.replace(u"{fixtures}"_s, qEnvironmentVariable("TORVANE_FIXTURES"))
        .replace(u"{dist}"_s, qEnvironmentVariable("TORVANE_DIST"));
}

QByteArray fixtureBytes(const QString& name)
{
    QFile file(qEnvironmentVariable("TORVANE_FIXTURES") + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly))
        QTest::qFail(qPrintable(name), __FILE__, __LINE__);
    return file.readAll();
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
    void runs_data();
    void runs();
    void unusableInput_data();
    void unusableInput();
    void outputThatCannotBeWritten_data();
    void outputThatCannotBeWritten();
    void batchAgreesWithTheWindow_data();
    void batchAgreesWithTheWindow();
};

void TestTorvaneCalc::runs_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("errors");
    for (const QStringList& row : fixtureTable(u"batch_runs.tsv"_s)) {
        QTest::newRow(qPrintable(row[0]))
            << withFolders(row[1]).split(u' ', Qt::SkipEmptyParts)
            << (row[2].isEmpty() ? QByteArray() : fixtureBytes(row[2])) << row[3] << row[4].toInt()
            << fixtureBytes(row[5]) << (row.size() > 6 ? fixtureBytes(row[6]) : QByteArray());
    }
}

void TestTorvaneCalc::runs()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, locale);
    QFETCH(int, status);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, errors);
    const Run run = runCalc(arguments, input, locale);
    QCOMPARE(run.err, errors);
    QCOMPARE(run.status, status);
    // Line by line, so that a difference shows where it is.
    const QList<QByteArray> want = output.split('\n');
    const QList<QByteArray> got = run.out.split('\n');
    for (qsizetype i = 0; i < std::min(want.size(), got.size()); ++i)
        QCOMPARE(got[i], want[i]);
    QCOMPARE(got.size(), want.size());
}

void TestTorvaneCalc::unusableInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("message");
    for (const QStringList& row : fixtureTable(u"unusable_input.tsv"_s)) {
        QByteArray input = unescapedBytes(row[2]);
        input.replace("{header}", Header).replace("{row}", Example);
        QTest::newRow(qPrintable(row[0])) << withFolders(row[1]).split(u' ', Qt::SkipEmptyParts)
                                          << input << withFolders(unescaped(row[3])).toUtf8();
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

void TestTorvaneCalc::outputThatCannotBeWritten_data()
{
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("full device") << false << QByteArray("No space left on device");
    QTest::newRow("closed") << true << QByteArray("Bad file descriptor");
}

void TestTorvaneCalc::outputThatCannotBeWritten()
{
    QFETCH(bool, closed);
    QFETCH(QByteArray, message);
    const Run run = runCalc({}, Header + "\r\n" + Example + "\r\n", u"C.UTF-8"_s, [&](QProcess& p) {
        if (closed)
            p.setChildProcessModifier([] { ::close(1); });
        else
            p.setStandardOutputFile(u"/dev/full"_s);
    });
    QCOMPARE(run.err, "torvane-calc: standard output cannot be written: " + message + '\n');
    QCOMPARE(run.status, 2);
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
    const QString settings = qEnvironmentVariable("TORVANE_DIST") + u"/Data/Torvane.ini"_s;
    const Regional regional{QLocale(locale)};
    BatchComparison batch(regional);
    if (configured)
        QCOMPARE(batch.setConfiguration(settings), QString());
    std::mt19937 random(20261206);
    // Mostly in range, so that most rows calculate; now and then empty, out of range, or
    // a text the two readings take differently.
    struct Range {
        const char* column;
        double low;
        double high;
    };
    const Range tariff[] = {{"NormalR", 0.01, 0.99}, {"CheapR", 0.01, 0.99}, {"NormalHr", 0.1, 12},
                            {"CheapHr", 0, 4},       {"NormalSHr", 0, 6},    {"CheapSHr", 0, 3},
                            {"PayPeriod", 1, 10},    {"VAT", 1, 50},         {"AnInfT", -30, 199},
                            {"CO2", 0.1, 2}};
    const Range item[] = {{"Watts", 0.1, 300},
                          {"SWatts", 0, 99},
                          {"CWatts", 0, 99},
                          {"Life", 500, 50000},
                          {"Cost", 0.1, 5000}};
    const auto pick = [&](const Range& range) -> QString {
        const QString number =
            regional.formatFixed(std::uniform_real_distribution(range.low, range.high)(random),
                                 static_cast<int>(random() % 4));
        switch (random() % 100) {
        case 0:
            return QString();
        case 1:
            return u"0"_s;
        case 2:
            return QStringList{u"abc"_s, u"1,5"_s, u"-0"_s, u"99999"_s, u"1e400"_s}[random() % 5];
        case 3:
            return u" "_s + number + u" "_s;
        case 4:
            return u"1.5E1"_s;
        case 6: // a standby so small that its share shows as 0.0%
            return u"0.01"_s;
        case 5:
            return QStringList{regional.currencyPrefix() + number, u"$"_s + number,
                               number + u" €"_s}[random() % 3];
        default:
            return number;
        }
    };
    int calculated = 0;
    for (int round = 0; round < 200; ++round) {
        // With defaults loaded some tariff columns are left out, for the defaults to stand in.
        QStringList named;
        QStringList texts;
        const auto add = [&](const QString& column, const QString& text) {
            named.append(column);
            texts.append(text);
        };
        for (const Range& range : tariff) {
            if (!configured || random() % 4 != 0)
                add(QString::fromLatin1(range.column), pick(range));
        }
        // An item in full, without life and price, not entered, or left out altogether.
        for (const char* prefix : {"Item1", "Item2"}) {
            const int roll = static_cast<int>(random() % 8);
            for (const Range& range : item) {
                const QString field = QString::fromLatin1(range.column);
                if (roll == 0 || (roll == 1 && (field == u"Life" || field == u"Cost")))
                    add(QLatin1String(prefix) + field, QString());
                else if (roll != 2)
                    add(QLatin1String(prefix) + field, pick(range));
            }
        }
        add(u"Notes"_s,
            random() % 8 ? u"note %1"_s.arg(round) : QString(74, u'n') + u"\U0001F4A1 and more"_s);
        add(u"MonthlyT"_s, random() % 2 ? u"1"_s : u"0"_s);
        add(u"Units1"_s, random() % 2 ? u"1"_s : QString());
        QList<QStringView> values(texts.begin(), texts.end());
        batch.setColumns(named);

        FormFixture f(locale, TestMode(), configured ? settings : QString());
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
        // The break-even month comes last; the window does not show it.
        QStringList results;
        for (QStringView value : csv.results.first(shown.size()))
            results.append(value.toString());
        QCOMPARE(results, shown);
        calculated += record.outcome == BatchComparison::Outcome::Calculated;
    }
    QVERIFY2(calculated > 20, qPrintable(QString::number(calculated)));
}

QTEST_GUILESS_MAIN(TestTorvaneCalc)
#include "tst_torvane_calc.moc"
