// Filling an item from a log of measured power: the options as typed under the user's
// regional settings, the figures typed into the fields, and the question asked before
// figures the window's checks would refuse.

#include "mainform/measured_fill.h"
#include "measure/day_by_hour.h"
#include "support/test_doubles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;
using namespace torvane;
using namespace torvane::test;

namespace {

// A power log of one day from midnight, a reading every half hour: each "H:W" holds W
// watts from hour H until the next.
QString writeLog(const QTemporaryDir& dir, const QString& segments)
{
    QList<std::pair<int, QString>> steps;
    for (const QString& step : segments.split(u' '))
        steps.append({step.section(u':', 0, 0).toInt(), step.section(u':', 1)});
    QString text = u"timestamp,power\n"_s;
    const QDateTime midnight(QDate(2026, 1, 12), QTime(0, 0));
    for (int half = 0; half <= 48; ++half) {
        QString watts;
        for (const auto& [hour, value] : steps) {
            if (hour * 2 <= half)
                watts = value;
        }
        text += midnight.addSecs(half * 1800).toString(Qt::ISODate) + u',' + watts + u'\n';
    }
    const QString path = dir.filePath(u"log.csv"_s);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toLatin1()) != text.size())
        return QString();
    return path;
}

void measure(MeasuredFill& fill, const MeasureTexts& texts)
{
    MeasureOptions options;
    QVERIFY(fill.prepare(texts, options));
    fill.keep(MeasuredFill::measure(texts.path, options, {}));
}

} // namespace

class TestMeasuredFill : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("TZ", "UTC");
        tzset();
    }
    void fill_data();
    void fill();
    void refusedOption_data();
    void refusedOption();
    void cheapHoursAboveEight_data();
    void cheapHoursAboveEight();
    void found_data();
    void found();
};

void TestMeasuredFill::fill_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("cheap");
    QTest::addColumn<QString>("standby"); // the threshold; empty to find it
    // NormalHr, CheapHr, NormalSHr, CheapSHr, watts, standby watts.
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("standby through the night")
        << u"en_GB"_s << 1 << u"0:1.0 6:100 8:1.0"_s << u"00:00-06:00"_s << QString()
        << QStringList{u"2.0"_s, u"0.0"_s, u"16.0"_s, u"6.0"_s, u"100.0"_s, u"1.0"_s};
    QTest::newRow("decimal comma, item 2")
        << u"de_DE"_s << 2 << u"0:1.0 6:100 8:1.0"_s << u"00:00-06:00"_s << QString()
        << QStringList{u"2,0"_s, u"0,0"_s, u"16,0"_s, u"6,0"_s, u"100,0"_s, u"1,0"_s};
    QTest::newRow("on in the cheap hours")
        << u"de_DE"_s << 1 << u"0:1.0 1:2000.6 4:1.0 18:60 21:1.0"_s << u"00:30-07:30"_s << u"1,5"_s
        << QStringList{u"3,0"_s, u"3,0"_s, u"14,0"_s, u"4,0"_s, u"1030,3"_s, u"1,0"_s};
    // Each rounded to the nearest tenth, 1.8, 0.3, 16.0 and 6.0 would make a day of 24.1 hours.
    QTest::newRow("a day rounded to fit")
        << u"en_GB"_s << 1 << u"0:1.0 6:100 8:1.0"_s << u"00:00-06:15"_s << QString()
        << QStringList{u"1.7"_s, u"0.3"_s, u"16.0"_s, u"6.0"_s, u"100.0"_s, u"1.0"_s};
    QTest::newRow("no cheap rate")
        << u"en_GB"_s << 2 << u"0:0.3 12:2.4 13:45 19:2.4"_s << QString() << QString()
        << QStringList{u"6.0"_s, u"0.0"_s, u"6.0"_s, u"0.0"_s, u"45.0"_s, u"2.4"_s};
}

void TestMeasuredFill::fill()
{
    QFETCH(QString, locale);
    QFETCH(int, item);
    QFETCH(QString, log);
    QFETCH(QString, cheap);
    QFETCH(QString, standby);
    QFETCH(QStringList, fields);
    QTemporaryDir dir;
    FormFixture f(locale);
    MeasuredFill fill(f.context, item);
    measure(fill, {writeLog(dir, log), cheap, {}, standby, {}});
    QVERIFY(fill.useFigures());
    const QString n = QString::number(item);
    QStringList typed;
    for (const QString& name :
         QStringList{u"NormalHr"_s, u"CheapHr"_s, u"NormalSHr"_s, u"CheapSHr"_s,
                     u"Item"_s + n + u"Watts"_s, u"Item"_s + n + u"SWatts"_s})
        typed << f.field(name.toLatin1().constData()).text();
    QCOMPARE(typed, fields);
    QCOMPARE(f.field(item == 1 ? "Item2Watts" : "Item1Watts").text(), QString());
    QCOMPARE(f.services.statusMessages,
             QStringList{u"Item %1 filled from measured readings"_s.arg(item)});
    QCOMPARE(f.desktop.boxes.size(), 0);
}

void TestMeasuredFill::refusedOption_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("texts"); // path, cheap, off, standby, gap
    QTest::addColumn<QString>("message");
    QTest::newRow("no file") << u"en_GB"_s << QStringList{u" "_s, {}, {}, {}, {}}
                             << u"Choose a file of measured power readings."_s;
    QTest::newRow("cheap hours not times")
        << u"en_GB"_s << QStringList{u"a.csv"_s, u"25:00-06:00"_s, {}, {}, {}}
        << u"The cheap-rate hours \"25:00-06:00\" are not times of day."_s;
    QTest::newRow("cheap hours miswritten")
        << u"en_GB"_s << QStringList{u"a.csv"_s, u"10pm-6am"_s, {}, {}, {}}
        << u"The cheap-rate hours must be written HH:MM-HH:MM, not \"10pm-6am\"."_s;
    QTest::newRow("off below zero") << u"en_GB"_s << QStringList{u"a.csv"_s, {}, u"-1"_s, {}, {}}
                                    << u"\"-1\" is not an off threshold in watts from 0 up."_s;
    QTest::newRow("standby under off")
        << u"de_DE"_s << QStringList{u"a.csv"_s, {}, u"2,5"_s, u"1,5"_s, {}}
        << u"\"1,5\" is not a standby threshold in watts from the off threshold up."_s;
    QTest::newRow("standby under the usual off")
        << u"en_GB"_s << QStringList{u"a.csv"_s, {}, {}, u"0.4"_s, {}}
        << u"\"0.4\" is not a standby threshold in watts from the off threshold up."_s;
    QTest::newRow("no gap") << u"de_DE"_s << QStringList{u"a.csv"_s, {}, {}, {}, u"0"_s}
                            << u"\"0\" is not a gap limit in minutes above 0."_s;
    QTest::newRow("gap in words") << u"en_GB"_s << QStringList{u"a.csv"_s, {}, {}, {}, u"an hour"_s}
                                  << u"\"an hour\" is not a gap limit in minutes above 0."_s;
}

void TestMeasuredFill::refusedOption()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    FormFixture f(locale);
    f.desktop.expectBox(MessageAnswer::Ok);
    MeasuredFill fill(f.context, 1);
    MeasureOptions options;
    options.offBelow = 7;
    QVERIFY(!fill.prepare({texts[0], texts[1], texts[2], texts[3], texts[4]}, options));
    QCOMPARE(f.desktop.boxes.size(), 1);
    QCOMPARE(f.desktop.boxes[0].text, message);
    QCOMPARE(f.desktop.boxes[0].title, u"Torvane Measured Use"_s);
    QCOMPARE(options.offBelow, std::optional<double>(7)); // left as it was
}

void TestMeasuredFill::cheapHoursAboveEight_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("cheapHr");
    QTest::newRow("yes fills") << true << u"10.0"_s;
    QTest::newRow("no leaves the fields") << false << QString();
}

void TestMeasuredFill::cheapHoursAboveEight()
{
    QFETCH(bool, yes);
    QFETCH(QString, cheapHr);
    QTemporaryDir dir;
    FormFixture f;
    f.desktop.expectBox(yes ? MessageAnswer::Yes : MessageAnswer::No);
    MeasuredFill fill(f.context, 1);
    measure(fill, {writeLog(dir, u"0:100 10:1.0"_s), u"00:00-10:00"_s, {}, {}, {}});
    QCOMPARE(fill.useFigures(), yes);
    QCOMPARE(f.desktop.boxes.size(), 1);
    QCOMPARE(f.desktop.boxes[0].text,
             u"The window's checks would refuse these figures:\n"
             "Cheap Rate Hours On must be between 0 and 8 Hours\n"
             "Cheap Rate Hours On plus Cheap Rate Hours On Standby must be no more than 8 Hours\n"
             "\nFill item 1 with them anyway?"_s);
    QCOMPARE(f.desktop.boxes[0].buttons, MessageButtons::YesNo);
    QCOMPARE(f.field("CheapHr").text(), cheapHr);
}

void TestMeasuredFill::found_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("log"); // empty: a file with a header and a line of no time
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("words"); // the day-by-hour picture's
    QTest::newRow("measured")
        << u"de_DE"_s << u"0:1.0 6:100 8:1.0"_s
        << u"power log: time in \"timestamp\" (ISO 8601), power in \"power\" (W), separator \",\"\n"
           "49 readings from 2026-01-12 00:00:00 to 2026-01-13 00:00:00: 1,00 days known "
           "(100,0%), holds over 60 min unknown\n"
           "off below 0,5 W (default), standby below 10,0 W (found: the widest gap in the "
           "powers, from 1,0 W to 100,0 W)\n"
           "cheap rate 00:00-06:00 local time\n\n"
           "Hours a day on: 2,0 at the normal rate, 0,0 at the cheap rate\n"
           "Hours a day on standby: 16,0 at the normal rate, 6,0 at the cheap rate\n"
           "On power: 100,0 W\nStandby power: 1,0 W"_s
        << u"How each hour of the day splits into off, standby and on, over 1,00 days of known "
           "time. Off below 0,5 W; Standby 0,5 W to 10,0 W; On from 10,0 W. Mostly on: "
           "06:00-08:00. Mostly on standby: 08:00-06:00. Cheap rate: 00:00-06:00."_s;
    QTest::newRow("no readings") << u"en_GB"_s << QString()
                                 << u"The readings cannot be used: no reading could be read\n"
                                    "1 line could not be read:\n"
                                    "  line 2: the time \"soon\" cannot be read"_s
                                 << QString();
}

void TestMeasuredFill::found()
{
    QFETCH(QString, locale);
    QFETCH(QString, log);
    QFETCH(QString, text);
    QFETCH(QString, words);
    QTemporaryDir dir;
    QString path = dir.filePath(u"log.csv"_s);
    if (log.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("timestamp,power\nsoon,5\n") == 23);
    } else {
        path = writeLog(dir, log);
    }
    FormFixture f(locale);
    MeasuredFill fill(f.context, 1);
    measure(fill, {path, u"00:00-06:00"_s, {}, {}, {}});
    QCOMPARE(fill.resultText(), text);
    QCOMPARE(fill.figureTexts().isEmpty(), log.isEmpty());
    QCOMPARE(dayByHourText(*fill.result(), &fill.regional()), words);
}

QTEST_GUILESS_MAIN(TestMeasuredFill)
#include "tst_measured_fill.moc"
