// The main window's model in a temporary program folder: the test switches, the load
// sequence and its failures, the results log, Exit, activation, on-top, the status line,
// Help and About, the fatal-error dump, saving and restoring the defaults, and archiving,
// clearing and viewing the log, with the faults of the file system.

#include "app/torvane_main.h"
#include "calc/defaults.h"
#include "core/ansi_file.h"
#include "support/fixture_table.h"
#include "support/test_doubles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

namespace {

const QString CrLf = u"\r\n"_s;

// A program folder with the shipped defaults, an empty help page and a log folder.
class Program {
public:
    explicit Program(const QString& arguments = QString(), bool withLog = false,
                     const QString& locale = u"en_GB"_s)
        : regional(QLocale(locale))
    {
        QDir root(dir.path());
        root.mkpath(u"Data"_s);
        root.mkpath(u"Help"_s);
        root.mkpath(u"Log"_s);
        QFile::copy(qEnvironmentVariable("TORVANE_DIST") + u"/Data/Torvane.ini"_s, ini());
        AnsiFile::create(dir.filePath(u"Help/index.htm"_s), u"<html/>"_s);
        if (withLog)
            AnsiFile::create(log(), u"earlier\r\n"_s);
        start(arguments);
    }
    ~Program()
    {
        for (const QString& mount : mounts)
            QProcess::execute(u"umount"_s, {u"-l"_s, mount});
    }
    // A fresh start in the same folder.
    void start(const QString& arguments = QString())
    {
        main = std::make_unique<TorvaneMain>(desktop, clock, regional, dir.path(),
                                             u"https://example.org/"_s, arguments);
    }
    QString ini() const { return dir.filePath(u"Data/Torvane.ini"_s); }
    QString log() const { return dir.filePath(u"Log/Torvane.log"_s); }
    QString logText() const
    {
        QFile file(log());
        return file.open(QIODevice::ReadOnly) ? AnsiFile::decode(file.readAll()) : QString();
    }
    // Loads; true when the program went on running.
    bool load()
    {
        return goesOn([this] { main->Load(); });
    }
    bool goesOn(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const ProgramEnded&) {
            return false;
        }
        return true;
    }

    QByteArray bytes(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }
    // Puts a fault under a file of a program folder ("Data", "Log"); false where this user
    // may not mount the small file system that some faults need.
    bool breakFolder(const QString& fault, const QString& folder, const QString& file)
    {
        const QString path = dir.filePath(folder);
        if (fault == u"read-only file")
            return QFile::setPermissions(file, QFileDevice::ReadOwner);
        if (fault == u"vanished folder")
            return QDir(path).removeRecursively();
        if (fault == u"vanished file")
            return QFile::remove(file);
        if (fault == u"archive folder")
            return QDir(path).mkdir(u"Torvane_261204_1.log"_s);
        if (fault != u"full disk" && fault != u"read-only folder")
            return true;
        // A file system of its own, holding the file, then filled up or made read-only.
        const QByteArray content = bytes(file);
        if (QProcess::execute(u"mount"_s,
                              {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, path}) != 0)
            return false;
        mounts.append(path);
        QFile restored(file);
        if (!restored.open(QIODevice::WriteOnly) || restored.write(content) != content.size())
            return false;
        restored.close();
        if (fault == u"read-only folder")
            return QProcess::execute(u"mount"_s, {u"-o"_s, u"remount,ro"_s, path}) == 0;
        QFile filler(dir.filePath(folder + u"/filler"_s));
        filler.open(QIODevice::WriteOnly);
        while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) {
        }
        return true;
    }

    QTemporaryDir dir;
    QStringList mounts;
    Regional regional;
    ScriptedDesktop desktop;
    FixedClock clock;
    std::unique_ptr<TorvaneMain> main;
};

const QString StartEntry = u"Torvane Started\r\nVersion 6.4\r\n04/12/2026 20:31:07\r\n\r\n"_s;

} // namespace

class TestTorvaneMain : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void switches_data();
    void switches();
    void loadFillsTheWindowAndStartsTheLog();
    void missingFolderOrFile_data();
    void missingFolderOrFile();
    void failuresWhileLoading();
    void appendFailures();
    void exitPrompt_data();
    void exitPrompt();
    void activationAndOnTop();
    void statusLine();
    void helpAndAbout();
    void fatalDump();
    void logIsWindows1252();
    void saveDefaults_data();
    void saveDefaults();
    void resetDefaults();
    void archive_data();
    void archive();
};

void TestTorvaneMain::switches_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<qint16>("mode");
    for (const QStringList& row : fixtureTable(u"test_switches.tsv"_s))
        QTest::newRow(qPrintable(row[0])) << unescaped(row[0]) << row[1].toShort();
}

void TestTorvaneMain::switches()
{
    QFETCH(QString, arguments);
    QFETCH(qint16, mode);
    QCOMPARE(TestMode::fromArguments(arguments).number(), mode);
}

void TestTorvaneMain::loadFillsTheWindowAndStartsTheLog()
{
    Program p(u"-InhibitCombCheck"_s);
    QVERIFY(p.load());
    MainForm& f = p.main->form;
    QCOMPARE(p.main->testMode(), TestMode(TestMode::InhibitCombCheck));
    QCOMPARE(f.NormalR.text(), u"£0.250000"_s);
    QCOMPARE(f.CheapR.text(), u"£0.120000"_s);
    QCOMPARE(f.VAT.text(), u"5.0"_s);
    QCOMPARE(f.AnInfT.text(), u"2.0"_s);
    QCOMPARE(f.CO2.text(), u"0.21"_s);
    QCOMPARE(f.PayPeriod.text(), u"5.0"_s);
    QCOMPARE(f.AutoSave.value(), 0);
    QCOMPARE(f.OutputType.text(), u"K&WHr"_s);
    // Loading is not an edit.
    QVERIFY(!f.Save_Defaults.enabled());
    QVERIFY(!f.UpdatingFields);
    QCOMPARE(f.StepNumber, qint16(251));
    QCOMPARE(p.desktop.boxes.size(), 0);
    QCOMPARE(p.logText(), u"Torvane Results Log\r\nVersion 6.4\r\nFile Created\r\n"
                          "04/12/2026 20:31:07\r\n\r\n\r\n"_s +
                              StartEntry);
    QVERIFY(p.main->ConfigTranscript.startsWith(
        u"Torvane Configuration\r\n---------------------\r\n[Run]\r\nAnInf=33\r\n"_s));

    // A log that exists is only added to.
    Program again(QString(), true);
    QVERIFY(again.load());
    QCOMPARE(again.logText(), u"earlier\r\n"_s + StartEntry);
}

void TestTorvaneMain::missingFolderOrFile_data()
{
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    for (const QStringList& row : fixtureTable(u"missing_parts.tsv"_s))
        QTest::newRow(qPrintable(row[0])) << row[0] << row[1] << unescaped(row[2]);
}

void TestTorvaneMain::missingFolderOrFile()
{
    QFETCH(QString, removed);
    QFETCH(QString, title);
    QFETCH(QString, text);
    Program p;
    const QString path = p.dir.filePath(removed);
    QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
    p.desktop.expectBox(MessageAnswer::Ok);
    QVERIFY(!p.load());
    QCOMPARE(p.desktop.boxes.size(), 1);
    QCOMPARE(p.desktop.boxes[0].title, title);
    QCOMPARE(p.desktop.boxes[0].text, text);
    QCOMPARE(p.desktop.boxes[0].icon, MessageIcon::Stop);
}

void TestTorvaneMain::failuresWhileLoading()
{
    // A failure where the help folder is checked, and where the log is created.
    for (const auto& [stage, step] :
         {std::pair{"Help", qint16(181)}, {"Log/Torvane.log", qint16(184)}}) {
        Program p(QString(), true);
        const QString path = p.dir.filePath(QString::fromLatin1(stage));
        QFile::remove(path);
        QDir(path).removeRecursively();
        if (step == 184) // a folder where the log should be: it cannot be created
            QDir().mkpath(path);
        p.desktop.failAtBox = true;
        p.desktop.expectBox(MessageAnswer::Ok);
        QVERIFY(!p.load());
        const ScriptedDesktop::Box& last = p.desktop.boxes.last();
        QCOMPARE(last.title, u"Torvane Fatal Error"_s);
        QCOMPARE(last.text, u"Error Number %1\r\nA Fatal Loading Error Has "
                            "Occurred.\r\nThe Program Will Now Terminate."_s.arg(step));
        if (step == 181) {
            // Before the configuration was read: -1 for the units, 0 for the update check.
            QVERIFY(p.logText().startsWith(
                u"earlier\r\n04/12/2026 20:31:07\r\nTorvane\r\nVersion 6.4\r\n\r\n"
                "******** Loading Error 181 ********\r\n"_s));
            QVERIFY(p.logText().contains(
                u"-------------------------------\r\n, , , , , , 0, 0, -1, False, 0, "
                "0\r\n\r\nProgram Data\r\n"_s));
        }
    }
}

void TestTorvaneMain::appendFailures()
{
    Program p;
    QVERIFY(p.load());
    TorvaneMain& m = *p.main;
    m.form.PendingLogText = u"entry\r\n"_s;
    QVERIFY(QFile::remove(p.log()));
    p.desktop.expectBox(MessageAnswer::Ok);
    m.AppendPendingLogText();
    QCOMPARE(p.desktop.boxes.last().title, u"Torvane Results Log File Error"_s);
    QCOMPARE(p.desktop.boxes.last().text,
             u"The results log file is either missing or\r\ncorrupted. Delete the "
             "results log file if\r\nit exists and restart the program."_s);
    QVERIFY(!QFile::exists(p.log())); // not recreated

    // A log that takes no more bytes.
    QVERIFY(QFile::link(u"/dev/full"_s, p.log()));
    p.desktop.expectBox(MessageAnswer::Ok);
    m.AppendPendingLogText();
    QCOMPARE(p.desktop.boxes.last().text,
             u"Unable to write to the results log file Torvane.log\r\nThis may be a "
             "permissions problem."_s);
    QCOMPARE(m.form.PendingLogText, u"entry\r\n"_s);
}

void TestTorvaneMain::exitPrompt_data()
{
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<bool>("dataChanged");
    QTest::addColumn<QString>("reasons");
    QTest::newRow("nothing to lose") << false << false << QString();
    QTest::newRow("calculation") << true << false << u"There is an unsaved calculation!\r\n"_s;
    QTest::newRow("electricity data")
        << false << true << u"The Electricity Data has not been saved!\r\n"_s;
    QTest::newRow("both") << true << true
                          << u"There is an unsaved calculation!\r\nThe Electricity "
                             "Data has not been saved!\r\n"_s;
}

void TestTorvaneMain::exitPrompt()
{
    QFETCH(bool, unsaved);
    QFETCH(bool, dataChanged);
    QFETCH(QString, reasons);
    Program p;
    QVERIFY(p.load());
    MainForm& f = p.main->form;
    f.Save.setEnabled(unsaved);
    f.Save_Defaults.setEnabled(dataChanged);
    if (!reasons.isEmpty()) {
        // Cancel stays; OK leaves.
        p.desktop.expectBox(MessageAnswer::Cancel);
        f.Exit.click();
        QVERIFY(!p.desktop.ended);
        const ScriptedDesktop::Box& box = p.desktop.boxes.last();
        QCOMPARE(box.text, u"To exit without saving click OK\r\n"_s + reasons);
        QCOMPARE(box.title, u"Torvane Data Not Saved"_s);
        QCOMPARE(box.icon, MessageIcon::Question);
        QCOMPARE(box.buttons, MessageButtons::OkCancel);
        p.desktop.expectBox(MessageAnswer::Ok);
    }
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, f.Exit.click());
    QCOMPARE(p.desktop.boxes.size(), reasons.isEmpty() ? 0 : 2);
}

void TestTorvaneMain::activationAndOnTop()
{
    Program p;
    QVERIFY(p.load());
    TorvaneMain& m = *p.main;
    QList<bool> placed;
    QObject::connect(&m, &TorvaneMain::placeOnTopRequested, &m,
                     [&](bool onTop) { placed.append(onTop); });
    m.form.Save.setEnabled(true);
    m.Activate();
    QVERIFY(!m.form.Save.enabled());
    QVERIFY(placed.isEmpty());
    m.form.OnTop.userClick();
    QCOMPARE(placed, QList<bool>{true});
    QVERIFY(m.form.Save_Defaults.enabled());
    m.Activate();
    QCOMPARE(placed, (QList<bool>{true, true}));
    m.form.OnTop.userClick();
    QCOMPARE(placed.last(), false);
}

void TestTorvaneMain::statusLine()
{
    for (const auto& [arguments, box] : {std::pair{"", false},
                                         {"-InhibitCombCheck", false},
                                         {"-InhibitErrorCheck", true},
                                         {"-OutputStatus", true}}) {
        Program p(QString::fromLatin1(arguments));
        QVERIFY(p.load());
        TorvaneMain& m = *p.main;
        if (box)
            p.desktop.expectBox(MessageAnswer::Ok);
        m.form.Clear.click();
        QCOMPARE(m.form.Status.text(), u"Data Cleared"_s);
        QVERIFY(m.Timer1.isActive());
        QCOMPARE(p.desktop.boxes.size(), box ? 1 : 0);
        if (box)
            QCOMPARE(p.desktop.boxes[0].title, u"Torvane Status Message"_s);
        m.Timer1Tick();
        QCOMPARE(m.form.Status.text(), QString());
        QVERIFY(!m.Timer1.isActive());
    }
}

void TestTorvaneMain::helpAndAbout()
{
    Program p;
    QVERIFY(p.load());
    TorvaneMain& m = *p.main;
    m.form.Help1.click();
    QCOMPARE(p.desktop.openedUrls,
             QStringList{QUrl::fromLocalFile(p.dir.filePath(u"Help/index.htm"_s)).toString()});
    p.desktop.openUrlResult = false;
    p.desktop.expectBox(MessageAnswer::Ok);
    m.LogoClick();
    QCOMPARE(p.desktop.openedUrls.last(), u"https://example.org/"_s);
    QCOMPARE(p.desktop.boxes.last().text, u"Unable to launch Browser."_s);
    QFile::remove(p.dir.filePath(u"Help/index.htm"_s));
    p.desktop.expectBox(MessageAnswer::Ok);
    m.form.Help1.click();
    QCOMPARE(p.desktop.boxes.last().text,
             u"The help file is either missing or\r\ncorrupted. Reinstall the "
             "program\r\nto correct the error.\r\n"_s);

    int shown = 0;
    QObject::connect(&m, &TorvaneMain::aboutRequested, &m, [&] { ++shown; });
    m.form.OnTop.setValue(1);
    m.form.About.click();
    QCOMPARE(shown, 1);
    QCOMPARE(m.settings.RunOnTopSetting, qint16(2));
}

void TestTorvaneMain::fatalDump()
{
    // Under -InhibitErrorCheck an item that draws nothing divides by a zero daily cost.
    Program p(u"-InhibitErrorCheck"_s, true);
    QVERIFY(p.load());
    MainForm& f = p.main->form;
    f.NormalHr.type(u"4"_s);
    f.Item1Watts.type(u"0"_s);
    f.Item1Cost.type(u"5"_s);
    p.desktop.expectBox(MessageAnswer::Ok);
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, f.Calc.click());
    QCOMPARE(p.desktop.boxes.last().text,
             u"Error Number 104\r\nA Fatal Calculation Error Has Occurred.\r\nThe "
             "Program Will Now Terminate."_s);
    QFile expected(qEnvironmentVariable("TORVANE_FIXTURES") + u"/fatal_dump.log"_s);
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(p.logText(), u"earlier\r\n"_s + StartEntry + AnsiFile::decode(expected.readAll()));
}

void TestTorvaneMain::logIsWindows1252()
{
    // The euro sign and the no-break space before it are one byte each in the log.
    Program p(QString(), false, u"de_DE"_s);
    QVERIFY(p.load());
    MainForm& m = p.main->form;
    for (const auto& [name, text] : {std::pair{"NormalHr", "10"},
                                     {"Item1Watts", "100"},
                                     {"Item1Life", "10000"},
                                     {"Item1Cost", "25"},
                                     {"Notes", "Küche 5 €"}})
        static_cast<TextBox*>(m.control(QString::fromLatin1(name)))->type(QString::fromUtf8(text));
    QVERIFY(runs(p.desktop, [&] {
        m.Calc.click();
        m.Save.click();
    }));
    QFile log(p.log());
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray bytes = log.readAll();
    QVERIFY(bytes.contains("\r\nK\xFC"
                           "che 5 \x80\r\n"));
    QVERIFY2(bytes.contains("\xA0\x80/Qtr, "), bytes.constData());
}

void TestTorvaneMain::saveDefaults_data()
{
    for (const char* column :
         {"locale", "arguments", "typed", "fault", "title", "text", "file", "fields", "status"})
        QTest::addColumn<QString>(column);
    for (const QStringList& row : fixtureTable(u"defaults_saves.tsv"_s)) {
        QTestData& data = QTest::newRow(qPrintable(row[0]));
        for (const QString& field : row.mid(1))
            data << unescaped(field);
    }
}

// Deletes the file as it is written: the file is missing right after.
class VanishingFolder final : public ProgramFolder {
public:
    using ProgramFolder::ProgramFolder;
    bool replaceFile(const QString& relative, const QString&) override
    {
        return QFile::remove(path(relative));
    }
};

void TestTorvaneMain::saveDefaults()
{
    QFETCH(QString, locale);
    QFETCH(QString, arguments);
    QFETCH(QString, typed);
    QFETCH(QString, fault);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, file);
    QFETCH(QString, fields);
    QFETCH(QString, status);
    Program p(arguments, false, locale);
    QVERIFY(p.load());
    MainForm& f = p.main->form;
    for (const QString& entry : typed.split(u';')) {
        const QStringList pair = entry.split(u'=');
        Control* control = f.control(pair[0]);
        if (pair.size() == 1)
            static_cast<CheckBox*>(control)->userClick();
        else
            static_cast<TextBox*>(control)->type(pair[1]);
    }
    QVERIFY(f.Save_Defaults.enabled());
    const QByteArray before = p.bytes(p.ini());
    if (!p.breakFolder(fault, u"Data"_s, p.ini()))
        QSKIP("This user may not mount a small file system.");
    VanishingFolder vanishing(p.dir.path(), p.desktop, QString());
    if (!title.isEmpty())
        p.desktop.expectBox(MessageAnswer::Ok);
    const bool ran = p.goesOn([&] {
        if (fault == u"vanishes when written")
            SaveDefaultsClick(p.main->context, vanishing);
        else
            f.Save_Defaults.click();
    });
    QCOMPARE(p.desktop.boxes.isEmpty() ? QString() : p.desktop.boxes.last().title, title);
    QCOMPARE(p.desktop.boxes.isEmpty() ? QString() : p.desktop.boxes.last().text, text);
    const bool written = file != u"unchanged";
    if (!fault.startsWith(u"vanish"))
        QCOMPARE(p.bytes(p.ini()), written ? AnsiFile::encode(file) : before);
    QCOMPARE(ran, fields != u"ended");
    if (!ran)
        return;
    const QStringList shown = {f.CheapR.text(), f.NormalR.text(), f.VAT.text(), f.AnInfT.text(),
                               f.PayPeriod.text()};
    QCOMPARE(shown.join(u'|'), fields);
    QCOMPARE(f.Status.text(), status);
    QCOMPARE(f.Save_Defaults.enabled(), !written);
    QCOMPARE(f.focus(), &f.NormalHr);
    if (!written)
        return;
    // The next start shows the same.
    p.start();
    QVERIFY(p.load());
    QCOMPARE(QStringList({f.CheapR.text(), f.NormalR.text(), f.VAT.text(), f.AnInfT.text(),
                          f.PayPeriod.text()}),
             shown);
}

void TestTorvaneMain::resetDefaults()
{
    Program p;
    QVERIFY(p.load());
    MainForm& f = p.main->form;
    f.NormalR.type(u"0.3"_s);
    f.Units1.userClick();
    f.Item1Day.setText(u"£1.00"_s);
    f.RecordText = u"record"_s;
    f.Save.setEnabled(true);
    f.Reset_Defaults.click();
    QCOMPARE(f.NormalR.text(), u"£0.250000"_s);
    QCOMPARE(f.Units1.value(), 0);
    QCOMPARE(f.CO2L.text(), u"Kg/KWHr"_s);
    QCOMPARE(f.Item1Day.text(), QString());
    QCOMPARE(f.RecordText, QString());
    QVERIFY(!f.Save.enabled() && !f.Save_Defaults.enabled());
    QCOMPARE(f.Status.text(), u"Electricity Data Restored"_s);
    QCOMPARE(f.focus(), &f.NormalHr);

    // A file damaged since the start ends the program, as at the start.
    AnsiFile::create(p.ini(), u"[Run]\r\n"_s);
    p.desktop.expectBox(MessageAnswer::Ok);
    QVERIFY(!p.goesOn([&] { f.Reset_Defaults.click(); }));
    QVERIFY(p.desktop.boxes.last().text.startsWith(u"The configuration file is corrupted."_s));
}

void TestTorvaneMain::archive_data()
{
    for (const char* column :
         {"fault", "log", "presses", "answers", "last", "status", "archives", "after"})
        QTest::addColumn<QString>(column);
    for (const QStringList& row : fixtureTable(u"archive_runs.tsv"_s)) {
        QTestData& data = QTest::newRow(qPrintable(row[0]));
        for (const QString& field : row.mid(1))
            data << field;
    }
}

void TestTorvaneMain::archive()
{
    QFETCH(QString, fault);
    QFETCH(QString, log);
    QFETCH(QString, presses);
    QFETCH(QString, answers);
    QFETCH(QString, last);
    QFETCH(QString, status);
    QFETCH(QString, archives);
    QFETCH(QString, after);
    Program p;
    QVERIFY(p.load());
    TorvaneMain& m = *p.main;
    const QString header = m.log.header() + u"\r\n"_s;
    // A result that starts past the first piece the scan reads.
    const QByteArray content = unescapedBytes(log).replace("{PAD}", QByteArray(65533, 'x'));
    for (const QString& answer : answers.split(u' '))
        p.desktop.expectBox(answer == u"Yes"  ? MessageAnswer::Yes
                            : answer == u"No" ? MessageAnswer::No
                            : answer == u"Ok" ? MessageAnswer::Ok
                                              : MessageAnswer::Cancel);
    QList<QByteArray> copies;
    bool ran = true;
    for (int press = 0; press < presses.toInt(); ++press) {
        QFile file(p.log());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Append));
        file.write(content);
        file.close();
        copies.append(p.bytes(p.log()));
        if (press == 0 && !p.breakFolder(fault, u"Log"_s, p.log()))
            QSKIP("This user may not mount a small file system.");
        ran = p.goesOn([&] { m.form.Archive.click(); });
    }
    QCOMPARE(p.desktop.boxes.size(), answers.split(u' ').size());
    QCOMPARE(p.desktop.boxes.last().text, last == u"QUESTION"
                                              ? u"Do you want to archive the log file?\r\nTo "
                                                "Archive the results log file and create a "
                                                "new one click Yes\r\nTo Clear the results log "
                                                "file without archiving it click No\r\nClick "
                                                "Cancel to return"_s
                                              : unescaped(last));
    QCOMPARE(m.form.Status.text(), status);
    QCOMPARE(m.Timer1.isActive(), !status.isEmpty());
    for (int sequence = 1; sequence <= archives.toInt(); ++sequence)
        QCOMPARE(p.bytes(p.dir.filePath(u"Log/Torvane_261204_%1.log"_s.arg(sequence))),
                 copies[sequence - 1]);
    QVERIFY(!AnsiFile::exists(
        p.dir.filePath(u"Log/Torvane_261204_%1.log"_s.arg(archives.toInt() + 1))));
    QCOMPARE(ran, after != u"ended");
    if (ran && fault != u"vanished file")
        QCOMPARE(p.bytes(p.log()), after == u"new" ? AnsiFile::encode(header) : copies.last());
}

QTEST_GUILESS_MAIN(TestTorvaneMain)
#include "tst_torvane_main.moc"
