// The configuration file: which files are accepted, what they put into the window, the
// transcript, values beyond their members (the missing file is a loading case), and the
// writer's text read back.

#include "config/config_reader.h"
#include "config/config_writer.h"
#include "core/ansi_file.h"
#include "core/program_folder.h"
#include "mainform/defaults.h"
#include "support/fixture_table.h"
#include "support/test_doubles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
    QString message;    // the box's first line, or the fatal error's title and step
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
        loadDefaults(f.context, folder, settings, outcome.transcript);
    } catch (const ProgramEnded&) {
        outcome.ended = true;
        outcome.message = f.services.fatalTitle.isEmpty()
                              ? f.desktop.boxes.value(0).text.section(u"\r\n"_s, 0, 0)
                              : u"%1 %2"_s.arg(f.services.fatalTitle).arg(f.services.fatalStep);
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
    void files_data();
    void files();
    void transcript();
    void configurationTextReadsBack();
};

void TestConfigReader::files_data()
{
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("outcome");
    for (const QStringList& columns : fixtureTable(u"configurations.tsv"_s)) {
        // "{N*c}" stands for N times the character c.
        QString text = columns[1];
        static const QRegularExpression Repeated(uR"(\{(\d+)\*(.)\})"_s);
        for (QRegularExpressionMatch m = Repeated.match(text); m.hasMatch();
             m = Repeated.match(text))
            text.replace(m.capturedStart(), m.capturedLength(),
                         QString(m.captured(1).toInt(), m.captured(2).front()));
        const QStringList changes = text.isEmpty() ? QStringList() : text.split(u" ; "_s);
        QTest::newRow(qPrintable(columns[0])) << changes << columns.mid(2).join(u'\t');
    }
}

void TestConfigReader::files()
{
    QFETCH(QStringList, changes);
    QFETCH(QString, outcome);
    const Outcome result = read(withLines(changes));
    if (outcome == u"corrupted" || outcome.startsWith(u"Config Read Error")) {
        QVERIFY(result.ended);
        QCOMPARE(result.message,
                 outcome == u"corrupted" ? u"The configuration file is corrupted."_s : outcome);
        return;
    }
    QVERIFY2(!result.ended, qPrintable(result.message));
    QStringList boxes;
    for (int value : result.boxes)
        boxes.append(QString::number(value));
    QCOMPARE(result.fields.join(u'|') + u'\t' + boxes.join(u' '), outcome);
}

void TestConfigReader::transcript()
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
}

void TestConfigReader::configurationTextReadsBack()
{
    // Under a decimal comma the file still takes full stops, and every value comes back.
    Settings written;
    written.AnInf = 33.5;
    written.CheapRate = 108.5;
    written.CRate = 0.43;
    written.LogLevel = 2;
    written.Monthly = 2;
    written.NormalRate = 15.25;
    written.PayPeriod = 7.5;
    written.RunOnTopSetting = 2;
    written.UpEnableSetting = 1;
    written.VRate = 18.5;
    written.VUnits = 1;
    const Regional german(QLocale(u"de_DE"_s));
    const QString text = configurationText(written, german, QDateTime(QDate(2026, 12, 4), {}));
    QCOMPARE(text.section(u"[Run]\r\n"_s, 1),
             u"AnInf=33.5\r\nCheapRate=108.5\r\nCRate=0.43\r\nLogLevel=2\r\nMonthly=2\r\n"
             "NormalRate=15.25\r\nPayPeriod=7.5\r\nRunOnTop=2\r\nUpEnable=1\r\nVRate=18.5\r\n"
             "VUnits=1\r\n"_s);

    Settings read;
    QString transcript;
    qint16 step = 0;
    QVERIFY(readConfiguration(AnsiFile::splitLines(AnsiFile::encode(text)), german, read,
                              transcript, step));
    QStringList values;
    for (double value :
         {read.AnInf, read.CheapRate, read.CRate, double(read.LogLevel), double(read.Monthly),
          read.NormalRate, read.PayPeriod, double(read.RunOnTopSetting),
          double(read.UpEnableSetting), read.VRate, double(read.VUnits)})
        values.append(QString::number(value, 'g', QLocale::FloatingPointShortest));
    // The cheap rate as the window takes it, without the file's 101.
    QCOMPARE(values.join(u' '), u"33.5 7.5 0.43 2 2 15.25 7.5 2 1 18.5 1"_s);
}

QTEST_GUILESS_MAIN(TestConfigReader)
#include "tst_config_reader.moc"
