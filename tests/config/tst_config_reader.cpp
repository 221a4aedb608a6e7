// The configuration file: which files are accepted, what they put into the window, the
// transcript, and the two fatal messages.

#include "app/program_folder.h"
#include "config/config_reader.h"
#include "core/ansi_file.h"
#include "support/test_doubles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

namespace {

const QStringList Keys = {u"[Run]"_s,      u"AnInf=31"_s,   u"CheapRate=101"_s, u"CRate=0.43"_s,
                          u"LogLevel=1"_s, u"Monthly=2"_s,  u"NormalRate=15"_s, u"PayPeriod=5"_s,
                          u"RunOnTop=1"_s, u"UpEnable=1"_s, u"VRate=1"_s,       u"VUnits=2"_s};

// The valid file with some of its lines replaced (the key names the line, in any case),
// added ("+line") or removed ("-Key").
QStringList withLines(const QStringList& changes)
{
    QStringList lines = Keys;
    for (const QString& change : changes) {
        if (change.startsWith(QLatin1Char('+'))) {
            lines.append(change.mid(1));
            continue;
        }
        if (change.startsWith(QLatin1Char('-'))) {
            lines.removeIf([&](const QString& line) { return line.startsWith(change.mid(1)); });
            continue;
        }
        const QString key = change.section(QLatin1Char('='), 0, 0).trimmed();
        for (QString& line : lines) {
            if (line.startsWith(key, Qt::CaseInsensitive))
                line = change;
        }
    }
    return lines;
}

struct Outcome {
    bool ended = false;
    QStringList fields; // CheapR, NormalR, PayPeriod, VAT, CO2, AnInfT
    QList<int> boxes;   // AutoSave, MonthlyT, OnTop, Units1, UpEnable1
    QString message;
    QString transcript;
};

Outcome read(const QStringList& lines)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(u"Data"_s);
    AnsiFile::create(dir.filePath(u"Data/Torvane.ini"_s), lines.join(u"\r\n"_s) + u"\r\n"_s);
    FormFixture f;
    f.form.UpdatingFields = true; // as while loading
    f.desktop.answerEveryBox = true;
    ProgramFolder folder(dir.path(), f.desktop, QString());
    Settings settings;
    Outcome outcome;
    try {
        ReadConfiguration(f.context, folder, settings, outcome.transcript);
    } catch (const ProgramEnded&) {
        outcome.ended = true;
        outcome.message = f.desktop.boxes.value(0).text.section(u"\r\n"_s, 0, 0);
        return outcome;
    }
    const MainForm& m = f.form;
    outcome.fields = {m.CheapR.text(), m.NormalR.text(), m.PayPeriod.text(),
                      m.VAT.text(),    m.CO2.text(),     m.AnInfT.text()};
    outcome.boxes = {m.AutoSave.value(), m.MonthlyT.value(), m.OnTop.value(), m.Units1.value(),
                     m.UpEnable1.value()};
    return outcome;
}

} // namespace

class TestConfigReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void accepted_data();
    void accepted();
    void corrupted_data();
    void corrupted();
    void transcriptAndMissingFile();
    void valueBeyondItsType();
};

void TestConfigReader::accepted_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<int>>("boxes");

    const QStringList plain = {QString(), u"£0.150000"_s, u"5.0"_s,
                               QString(), u"0.43"_s,      QString()};
    const QList<int> defaults = {0, 1, 0, 1, 0};
    QTest::newRow("as written") << QStringList{} << plain << defaults;
    QTest::newRow("cheap 99") << QStringList{u"CheapRate=99"_s}
                              << QStringList{u"£0.990000"_s, plain[1], plain[2],
                                             plain[3],       plain[4], plain[5]}
                              << defaults;
    QTest::newRow("cheap 200") << QStringList{u"CheapRate=200"_s}
                               << QStringList{u"£0.990000"_s, plain[1], plain[2],
                                              plain[3],       plain[4], plain[5]}
                               << defaults;
    QTest::newRow("cheap 108.5, VAT 6, inflation 33.5")
        << QStringList{u"CheapRate=108.5"_s, u"VRate=6"_s, u"AnInf=33.5"_s}
        << QStringList{u"£0.075000"_s, plain[1], plain[2], u"5.0"_s, plain[4], u"2.5"_s}
        << defaults;
    QTest::newRow("log level 3") << QStringList{u"LogLevel=3"_s} << plain
                                 << QList<int>{1, 1, 0, 1, 0};
    QTest::newRow("log level 2.5 greys")
        << QStringList{u"LogLevel=2.5"_s} << plain << QList<int>{2, 1, 0, 1, 0};
    QTest::newRow("on top 1.5 and 2.5 are 2")
        << QStringList{u"RunOnTop=2.5"_s} << plain << QList<int>{0, 1, 1, 1, 0};
    QTest::newRow("words after a value")
        << QStringList{u"PayPeriod=7 years"_s}
        << QStringList{plain[0], plain[1], u"7.0"_s, plain[3], plain[4], plain[5]} << defaults;
}

void TestConfigReader::accepted()
{
    QFETCH(QStringList, changes);
    QFETCH(QStringList, fields);
    QFETCH(QList<int>, boxes);
    const Outcome outcome = read(withLines(changes));
    QVERIFY2(!outcome.ended, qPrintable(outcome.message));
    QCOMPARE(outcome.fields, fields);
    QCOMPARE(outcome.boxes, boxes);
}

void TestConfigReader::corrupted_data()
{
    QTest::addColumn<QStringList>("changes");
    const auto row = [](const char* tag, QStringList changes) {
        QTest::newRow(tag) << changes;
    };
    row("cheap 100", {u"CheapRate=100"_s});
    row("monthly 1.5", {u"Monthly=1.5"_s});
    row("key in other case", {u"vunits=2"_s});
    row("blank before =", {u"VUnits =2"_s});
    // A key given twice is counted twice; on a first read nothing can make up for it.
    row("key twice", {u"+PayPeriod=6"_s});
    row("key twice, another missing", {u"+PayPeriod=6"_s, u"-VUnits"_s});
    row("[Run] twice, spaced", {u"+  [Run]  "_s});
    row("empty value", {u"CRate="_s});
    row("two [Run]", {u"+[Run]"_s});
    row("inflation 231", {u"AnInf=231"_s});
    row("VAT 52", {u"VRate=52"_s});
    row("payback 11", {u"PayPeriod=11"_s});
}

void TestConfigReader::corrupted()
{
    QFETCH(QStringList, changes);
    const Outcome outcome = read(withLines(changes));
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.message, u"The configuration file is corrupted."_s);
}

void TestConfigReader::transcriptAndMissingFile()
{
    QStringList lines = Keys;
    lines.prepend(u"# Torvane Version 6.4"_s);
    lines.insert(1, QString());
    lines.insert(2, u"  # kept, trimmed  "_s);
    lines.insert(3, u"\tTabbed=1"_s);
    const Outcome outcome = read(lines);
    QVERIFY(!outcome.ended);
    QCOMPARE(outcome.transcript, u"Torvane Configuration\r\n---------------------\r\n"
                                 "# kept, trimmed\r\n\tTabbed=1\r\n"_s +
                                     Keys.join(u"\r\n"_s) + u"\r\n\r\n"_s);

    // No [Run] at all, and no file at all.
    QCOMPARE(read(Keys.mid(1)).message, u"The configuration file is corrupted."_s);
    FormFixture f;
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(u"Data"_s);
    ProgramFolder folder(dir.path(), f.desktop, QString());
    Settings settings;
    QString transcript;
    f.desktop.expectBox(MessageAnswer::Ok);
    QVERIFY_THROWS_EXCEPTION(ProgramEnded,
                             ReadConfiguration(f.context, folder, settings, transcript));
    QCOMPARE(f.desktop.boxes[0].title, u"Torvane Configuration File Error"_s);
    QCOMPARE(f.desktop.boxes[0].icon, MessageIcon::Stop);
    QCOMPARE(f.desktop.boxes[0].text.section(u"\r\n"_s, 0, 0),
             u"The configuration file is missing or corrupted."_s);
}

void TestConfigReader::valueBeyondItsType()
{
    // A value too large for the member that keeps it is a run-time error while reading:
    // the on-top setting is 16-bit, the levels and units single precision.
    for (const QString& line : {u"RunOnTop=40000"_s, u"LogLevel=1e39"_s, u"VUnits=-1e39"_s}) {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(u"Data"_s);
        AnsiFile::create(dir.filePath(u"Data/Torvane.ini"_s), withLines({line}).join(CrLf) + CrLf);
        FormFixture f;
        ProgramFolder folder(dir.path(), f.desktop, QString());
        Settings settings;
        QString transcript;
        QVERIFY_THROWS_EXCEPTION(ProgramEnded,
                                 ReadConfiguration(f.context, folder, settings, transcript));
        QCOMPARE(f.services.fatalTitle, u"Config Read Error"_s);
        QCOMPARE(f.services.fatalStep, qint16(192));
    }
}

QTEST_GUILESS_MAIN(TestConfigReader)
#include "tst_config_reader.moc"
