// The configuration file: which files are accepted, what they put into the window, the
// transcript, and the two fatal messages.

#include "app/program_folder.h"
#include "config/config_reader.h"
#include "core/ansi_file.h"
#include "support/test_doubles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace torvane;
using namespace torvane::test;

namespace {

const QStringList Keys = {
    QStringLiteral("[Run]"),         QStringLiteral("AnInf=31"),    QStringLiteral("CheapRate=101"),
    QStringLiteral("CRate=0.43"),    QStringLiteral("LogLevel=1"),  QStringLiteral("Monthly=2"),
    QStringLiteral("NormalRate=15"), QStringLiteral("PayPeriod=5"), QStringLiteral("RunOnTop=1"),
    QStringLiteral("UpEnable=1"),    QStringLiteral("VRate=1"),     QStringLiteral("VUnits=2")};

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
    QDir(dir.path()).mkpath(QStringLiteral("Data"));
    AnsiFile::create(dir.filePath(QStringLiteral("Data/Torvane.ini")),
                     lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
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
        outcome.message = f.desktop.boxes.value(0).text.section(QStringLiteral("\r\n"), 0, 0);
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

    const QStringList plain = {QString(), QStringLiteral("£0.150000"), QStringLiteral("5.0"),
                               QString(), QStringLiteral("0.43"),      QString()};
    const QList<int> defaults = {0, 1, 0, 1, 0};
    QTest::newRow("as written") << QStringList{} << plain << defaults;
    QTest::newRow("cheap 99") << QStringList{QStringLiteral("CheapRate=99")}
                              << QStringList{QStringLiteral("£0.990000"),
                                             plain[1],
                                             plain[2],
                                             plain[3],
                                             plain[4],
                                             plain[5]}
                              << defaults;
    QTest::newRow("cheap 200") << QStringList{QStringLiteral("CheapRate=200")}
                               << QStringList{QStringLiteral("£0.990000"),
                                              plain[1],
                                              plain[2],
                                              plain[3],
                                              plain[4],
                                              plain[5]}
                               << defaults;
    QTest::newRow("cheap 108.5, VAT 6, inflation 33.5")
        << QStringList{QStringLiteral("CheapRate=108.5"), QStringLiteral("VRate=6"),
                       QStringLiteral("AnInf=33.5")}
        << QStringList{QStringLiteral("£0.075000"), plain[1], plain[2],
                       QStringLiteral("5.0"),       plain[4], QStringLiteral("2.5")}
        << defaults;
    QTest::newRow("log level 3") << QStringList{QStringLiteral("LogLevel=3")} << plain
                                 << QList<int>{1, 1, 0, 1, 0};
    QTest::newRow("log level 2.5 greys")
        << QStringList{QStringLiteral("LogLevel=2.5")} << plain << QList<int>{2, 1, 0, 1, 0};
    QTest::newRow("on top 1.5 and 2.5 are 2")
        << QStringList{QStringLiteral("RunOnTop=2.5")} << plain << QList<int>{0, 1, 1, 1, 0};
    QTest::newRow("words after a value")
        << QStringList{QStringLiteral("PayPeriod=7 years")}
        << QStringList{plain[0], plain[1], QStringLiteral("7.0"), plain[3], plain[4], plain[5]}
        << defaults;
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
    row("cheap 100", {QStringLiteral("CheapRate=100")});
    row("monthly 1.5", {QStringLiteral("Monthly=1.5")});
    row("key in other case", {QStringLiteral("vunits=2")});
    row("blank before =", {QStringLiteral("VUnits =2")});
    // A key given twice is counted twice; on a first read nothing can make up for it.
    row("key twice", {QStringLiteral("+PayPeriod=6")});
    row("key twice, another missing", {QStringLiteral("+PayPeriod=6"), QStringLiteral("-VUnits")});
    row("[Run] twice, spaced", {QStringLiteral("+  [Run]  ")});
    row("empty value", {QStringLiteral("CRate=")});
    row("two [Run]", {QStringLiteral("+[Run]")});
    row("inflation 231", {QStringLiteral("AnInf=231")});
    row("VAT 52", {QStringLiteral("VRate=52")});
    row("payback 11", {QStringLiteral("PayPeriod=11")});
}

void TestConfigReader::corrupted()
{
    QFETCH(QStringList, changes);
    const Outcome outcome = read(withLines(changes));
    QVERIFY(outcome.ended);
    QCOMPARE(outcome.message, QStringLiteral("The configuration file is corrupted."));
}

void TestConfigReader::transcriptAndMissingFile()
{
    QStringList lines = Keys;
    lines.prepend(QStringLiteral("# Torvane Version 6.4"));
    lines.insert(1, QString());
    lines.insert(2, QStringLiteral("  # kept, trimmed  "));
    lines.insert(3, QStringLiteral("\tTabbed=1"));
    const Outcome outcome = read(lines);
    QVERIFY(!outcome.ended);
    QCOMPARE(outcome.transcript, QStringLiteral("Torvane Configuration\r\n---------------------\r\n"
                                                "# kept, trimmed\r\n\tTabbed=1\r\n") +
                                     Keys.join(QStringLiteral("\r\n")) +
                                     QStringLiteral("\r\n\r\n"));

    // No [Run] at all, and no file at all.
    QCOMPARE(read(Keys.mid(1)).message, QStringLiteral("The configuration file is corrupted."));
    FormFixture f;
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Data"));
    ProgramFolder folder(dir.path(), f.desktop, QString());
    Settings settings;
    QString transcript;
    f.desktop.expectBox(MessageAnswer::Ok);
    QVERIFY_THROWS_EXCEPTION(ProgramEnded,
                             ReadConfiguration(f.context, folder, settings, transcript));
    QCOMPARE(f.desktop.boxes[0].title, QStringLiteral("Torvane Configuration File Error"));
    QCOMPARE(f.desktop.boxes[0].icon, MessageIcon::Stop);
    QCOMPARE(f.desktop.boxes[0].text.section(QStringLiteral("\r\n"), 0, 0),
             QStringLiteral("The configuration file is missing or corrupted."));
}

void TestConfigReader::valueBeyondItsType()
{
    // The on-top setting is a 16-bit number: a larger one is a run-time error while reading.
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Data"));
    AnsiFile::create(dir.filePath(QStringLiteral("Data/Torvane.ini")),
                     withLines({QStringLiteral("RunOnTop=40000")}).join(CrLf) + CrLf);
    FormFixture f;
    ProgramFolder folder(dir.path(), f.desktop, QString());
    Settings settings;
    QString transcript;
    QVERIFY_THROWS_EXCEPTION(ProgramEnded,
                             ReadConfiguration(f.context, folder, settings, transcript));
    QCOMPARE(f.services.fatalTitle, QStringLiteral("Config Read Error"));
    QCOMPARE(f.services.fatalStep, qint16(192));
}

QTEST_GUILESS_MAIN(TestConfigReader)
#include "tst_config_reader.moc"
