// The main window's model in a temporary program folder: the test switches, the load
// sequence and its failures, the results log, Exit, activation, on-top, the status line,
// Help, About and Results, and the fatal-error dump.

#include "app/main_controller.h"
#include "core/ansi_file.h"
#include "support/fixture_table.h"
#include "support/test_doubles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sys/stat.h>

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
        main = std::make_unique<MainController>(desktop, clock, regional, dir.path(),
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
        try {
            main->load();
        } catch (const ProgramEnded&) {
            return false;
        }
        return true;
    }

    QTemporaryDir dir;
    Regional regional;
    ScriptedDesktop desktop;
    FixedClock clock;
    std::unique_ptr<MainController> main;
};

const QString StartEntry = u"Torvane Started\r\nVersion 6.4\r\n04/12/2026 20:31:07\r\n\r\n"_s;

} // namespace

class TestMainController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void switches_data();
    void switches();
    void loadFillsTheWindowAndStartsTheLog();
    void missingFolderOrFile_data();
    void missingFolderOrFile();
    void failuresWhileLoading();
    void appendFailures();
    void programFolderOfAnInstalledCopy();
    void unusableFiles_data();
    void unusableFiles();
    void exitPrompt_data();
    void exitPrompt();
    void activationAndOnTop();
    void statusLine();
    void helpAndAbout();
    void fatalDump();
    void logIsWindows1252();
    void updateCheckAtStartUp_data();
    void updateCheckAtStartUp();
};

void TestMainController::switches_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<qint16>("mode");
    for (const QStringList& row : fixtureTable(u"test_switches.tsv"_s))
        QTest::newRow(qPrintable(row[0])) << unescaped(row[0]) << row[1].toShort();
}

void TestMainController::switches()
{
    QFETCH(QString, arguments);
    QFETCH(qint16, mode);
    QCOMPARE(TestMode::fromArguments(arguments).number(), mode);
}

void TestMainController::loadFillsTheWindowAndStartsTheLog()
{
    Program p(u"-InhibitCombCheck"_s);
    QVERIFY(p.load());
    MainForm& f = p.main->form();
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
    QVERIFY(p.main->configTranscript().startsWith(
        u"Torvane Configuration\r\n---------------------\r\n[Run]\r\nAnInf=33\r\n"_s));

    // A log that exists is only added to.
    Program again(QString(), true);
    QVERIFY(again.load());
    QCOMPARE(again.logText(), u"earlier\r\n"_s + StartEntry);
}

void TestMainController::missingFolderOrFile_data()
{
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    for (const QStringList& row : fixtureTable(u"missing_parts.tsv"_s))
        QTest::newRow(qPrintable(row[0])) << row[0] << row[1] << unescaped(row[2]);
}

void TestMainController::missingFolderOrFile()
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

void TestMainController::failuresWhileLoading()
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

void TestMainController::appendFailures()
{
    Program p;
    QVERIFY(p.load());
    MainController& m = *p.main;
    m.form().PendingLogText = u"entry\r\n"_s;
    QVERIFY(QFile::remove(p.log()));
    p.desktop.expectBox(MessageAnswer::Ok);
    m.appendPendingLogText();
    QCOMPARE(p.desktop.boxes.last().title, u"Torvane Results Log File Error"_s);
    QCOMPARE(p.desktop.boxes.last().text,
             u"The results log file is either missing or\r\ncorrupted. Delete the "
             "results log file if\r\nit exists and restart the program."_s);
    QVERIFY(!QFile::exists(p.log())); // not recreated

    // A log that takes no more bytes.
    AnsiFile::create(p.log(), QString());
    p.desktop.expectBox(MessageAnswer::Ok);
    FileSizeLimit(0), m.appendPendingLogText();
    QCOMPARE(p.desktop.boxes.last().text,
             u"Unable to write to the results log file Torvane.log\r\nThis may be a "
             "permissions problem."_s);
    QCOMPARE(m.form().PendingLogText, u"entry\r\n"_s);
}

void TestMainController::programFolderOfAnInstalledCopy()
{
    QTemporaryDir dir;
    const QString shipped = dir.filePath(u"share/torvane/program"_s);
    const QString user = dir.filePath(u"home/Marnoft/Torvane"_s);
    const auto text = [](const QString& path) {
        QStringList lines;
        AnsiFile::readLines(path, lines);
        return lines.join(u'|');
    };
    QString complaint;
    QCOMPARE(chooseProgramFolder(shipped, user, u"/here"_s, complaint), u"/here"_s);
    QVERIFY(QDir().mkpath(shipped + u"/Data"_s) && QDir().mkpath(shipped + u"/Log"_s));
    AnsiFile::create(shipped + u"/Data/Torvane.ini"_s, u"shipped"_s);
    // The first start makes the user's folder from the installed one.
    QCOMPARE(chooseProgramFolder(shipped, user, u"/here"_s, complaint), user);
    QCOMPARE(text(user + u"/Data/Torvane.ini"_s), u"shipped"_s);
    QVERIFY(QFileInfo(user + u"/Log"_s).isDir());
    // Later starts keep what the user changed, or removed.
    AnsiFile::create(user + u"/Data/Torvane.ini"_s, u"mine"_s);
    QVERIFY(QDir(user + u"/Log"_s).removeRecursively());
    QCOMPARE(chooseProgramFolder(shipped, user, u"/here"_s, complaint), user);
    QCOMPARE(text(user + u"/Data/Torvane.ini"_s), u"mine"_s);
    QVERIFY(!QFileInfo::exists(user + u"/Log"_s));
    // A file a later version ships is added to the folder an earlier one made.
    AnsiFile::create(shipped + u"/Data/Appliances.csv"_s, u"catalogue"_s);
    QCOMPARE(chooseProgramFolder(shipped, user, u"/here"_s, complaint), user);
    QCOMPARE(text(user + u"/Data/Appliances.csv"_s), u"catalogue"_s);
    QCOMPARE(text(user + u"/Data/Torvane.ini"_s), u"mine"_s);
    QCOMPARE(complaint, QString());
    // A folder that cannot be made (a file stands in the way) is told.
    const QString blocked = dir.filePath(u"home/Marnoft/Torvane/Data/Torvane.ini/Torvane"_s);
    QCOMPARE(chooseProgramFolder(shipped, blocked, u"/here"_s, complaint), blocked);
    QCOMPARE(complaint, u"the program folder %1 could not be made from %2"_s.arg(blocked, shipped));
}

void TestMainController::unusableFiles_data()
{
    addTableRows(u"unusable_files.tsv"_s);
}

void TestMainController::unusableFiles()
{
    QFETCH(QStringList, row); // the file, what stands there, whether loading goes on, the boxes
    Program p;
    const QString path = p.dir.filePath(row[0]);
    QFile::remove(path);
    if (row[1] == u"pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (row[1] == u"device")
        QVERIFY(QFile::link(u"/dev/zero"_s, path));
    else if (row[1] == u"folder")
        QVERIFY(QDir().mkpath(path));
    else if (row[1] == u"large")
        AnsiFile::create(path, u"#"_s + QString(AnsiFile::MostBytes, u'x'));
    p.desktop.answerEveryBox = true;
    {
        const std::optional<FileSizeLimit> full =
            row[1] == u"full" ? std::make_optional<FileSizeLimit>(0) : std::nullopt;
        QCOMPARE(p.load(), row[2] == u"yes");
    }
    QStringList boxes;
    for (const ScriptedDesktop::Box& box : p.desktop.boxes)
        boxes.append(box.title + u": "_s + box.text.section(u"\r\n"_s, 0, 0));
    QCOMPARE(boxes.join(u" | "_s), row[3]);
    // A file that could not take its first bytes is not left behind without them.
    QCOMPARE(QFileInfo(path).exists() || QFileInfo(path).isSymLink(), row[1] != u"full");
}

void TestMainController::exitPrompt_data()
{
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<bool>("dataChanged");
    QTest::addColumn<QString>("reasons");
    for (const QStringList& row : fixtureTable(u"exit_prompts.tsv"_s))
        QTest::newRow(qPrintable(row[0]))
            << (row[1] == u"1") << (row[2] == u"1") << unescaped(row.value(3));
}

void TestMainController::exitPrompt()
{
    QFETCH(bool, unsaved);
    QFETCH(bool, dataChanged);
    QFETCH(QString, reasons);
    Program p;
    QVERIFY(p.load());
    MainForm& f = p.main->form();
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

void TestMainController::activationAndOnTop()
{
    Program p;
    QVERIFY(p.load());
    MainController& m = *p.main;
    QList<bool> placed;
    QObject::connect(&m, &MainController::placeOnTopRequested, &m,
                     [&](bool onTop) { placed.append(onTop); });
    m.form().Save.setEnabled(true);
    m.activate();
    QVERIFY(!m.form().Save.enabled());
    QVERIFY(placed.isEmpty());
    m.form().OnTop.userClick();
    QCOMPARE(placed, QList<bool>{true});
    QVERIFY(m.form().Save_Defaults.enabled());
    m.activate();
    QCOMPARE(placed, (QList<bool>{true, true}));
    m.form().OnTop.userClick();
    QCOMPARE(placed.last(), false);
}

void TestMainController::statusLine()
{
    for (const auto& [arguments, box] : {std::pair{"", false},
                                         {"-InhibitCombCheck", false},
                                         {"-InhibitErrorCheck", true},
                                         {"-OutputStatus", true}}) {
        Program p(QString::fromLatin1(arguments));
        QVERIFY(p.load());
        MainController& m = *p.main;
        if (box)
            p.desktop.expectBox(MessageAnswer::Ok);
        m.form().Clear.click();
        QElapsedTimer shown;
        shown.start();
        QCOMPARE(m.form().Status.text(), u"Data Cleared"_s);
        QVERIFY(m.statusMessageShown());
        QCOMPARE(p.desktop.boxes.size(), box ? 1 : 0);
        if (box)
            QCOMPARE(p.desktop.boxes[0].title, u"Torvane Status Message"_s);
        if (box || *arguments)
            continue;
        // Gone after two seconds, and not before: a coarse timer may end a twentieth early,
        // a busy machine only later.
        QTRY_COMPARE_WITH_TIMEOUT(m.form().Status.text(), QString(), 5000);
        QVERIFY2(shown.elapsed() >= 1900, qPrintable(QString::number(shown.elapsed())));
        QVERIFY(!m.statusMessageShown());
    }
}

void TestMainController::helpAndAbout()
{
    Program p;
    QVERIFY(p.load());
    MainController& m = *p.main;
    m.form().Help1.click();
    QCOMPARE(p.desktop.openedUrls,
             QStringList{QUrl::fromLocalFile(p.dir.filePath(u"Help/index.htm"_s)).toString()});
    QVERIFY(p.desktop.boxes.isEmpty());
    p.desktop.openUrlFails = true;
    p.desktop.expectBox(MessageAnswer::Ok);
    m.openMakerHomePage();
    QCOMPARE(p.desktop.openedUrls.last(), u"https://example.org/"_s);
    QCOMPARE(p.desktop.boxes.last().text, u"Unable to launch Browser."_s);
    QFile::remove(p.dir.filePath(u"Help/index.htm"_s));
    p.desktop.expectBox(MessageAnswer::Ok);
    m.form().Help1.click();
    QCOMPARE(p.desktop.boxes.last().text,
             u"The help file is either missing or\r\ncorrupted. Reinstall the "
             "program\r\nto correct the error.\r\n"_s);
    // Results opens the log in the viewer; here no viewer opens it.
    p.desktop.expectBox(MessageAnswer::Ok);
    m.form().ViewL.click();
    QCOMPARE(p.desktop.openedUrls.last(), QUrl::fromLocalFile(p.log()).toString());
    QCOMPARE(p.desktop.boxes.last().text,
             u"Unable to run Notepad\r\nCheck that it exists and\r\nis working properly."_s);

    int shown = 0;
    QObject::connect(&m, &MainController::aboutRequested, &m, [&] { ++shown; });
    m.form().OnTop.setValue(1);
    m.form().About.click();
    QCOMPARE(shown, 1);
    QCOMPARE(m.settings().RunOnTopSetting, qint16(2));

    // The help page's launcher fails after the controller is gone: the user is still told.
    p.main.reset();
    QCOMPARE(p.desktop.launchFailures.size(), 1);
    const qsizetype before = p.desktop.boxes.size();
    p.desktop.expectBox(MessageAnswer::Ok);
    p.desktop.launchFailures[0]();
    QCOMPARE(p.desktop.boxes.size(), before + 1);
    const ScriptedDesktop::Box& box = p.desktop.boxes.last();
    QCOMPARE(box.text, u"Unable to launch Browser."_s);
    QCOMPARE(box.title, u"Torvane Error"_s);
    QCOMPARE(box.icon, MessageIcon::None);
    QCOMPARE(box.buttons, MessageButtons::Ok);
}

void TestMainController::fatalDump()
{
    // Under -InhibitErrorCheck an item that draws nothing divides by a zero daily cost.
    Program p(u"-InhibitErrorCheck"_s, true);
    QVERIFY(p.load());
    MainForm& f = p.main->form();
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

void TestMainController::logIsWindows1252()
{
    // The euro sign and the no-break space before it are one byte each in the log.
    Program p(QString(), false, u"de_DE"_s);
    QVERIFY(p.load());
    MainForm& m = p.main->form();
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

void TestMainController::updateCheckAtStartUp_data()
{
    addTableRows(u"startup_checks.tsv"_s);
}

void TestMainController::updateCheckAtStartUp()
{
    QFETCH(QStringList, row); // the UpEnable line, the switches, whether the check runs
    // No event loop runs here, so nothing is sent.
    Program p(row[1]);
    QStringList lines;
    AnsiFile::readLines(p.ini(), lines);
    AnsiFile::create(p.ini(), lines.join(u"\r\n"_s).replace(u"UpEnable=1"_s, row[0]));
    QVERIFY(p.load());
    QCOMPARE(p.main->updater() != nullptr, row[2] == u"yes");
    QCOMPARE(p.main->form().Update.enabled(), row[2] == u"no");
}

QTEST_GUILESS_MAIN(TestMainController)
#include "tst_main_controller.moc"
