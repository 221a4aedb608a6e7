// The update check against a web server on 127.0.0.1: the request, the document taken
// apart, the outcome and its buttons, hostile and broken answers, the updater log and
// the download control; the comparison of the versions on its own.

#include "app/update_form.h"
#include "core/ansi_file.h"
#include "support/fixture_table.h"
#include "support/http_server.h"
#include "support/test_doubles.h"

#include <QDir>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

namespace {

const QByteArray DocumentPath = "/software/misc/updatecheck.xml";

// A program folder with its log folder, the trace switched on when asked.
struct Check {
    explicit Check(const QString& siteRoot, bool traced = true)
        : folder(dir.path(), desktop, siteRoot)
    {
        QDir(dir.path()).mkpath(u"Log"_s);
        if (traced)
            AnsiFile::create(dir.filePath(u"Log/LogOn.txt"_s), QString());
    }
    QString trace() const
    {
        QFile log(dir.filePath(u"Log/Updater.log"_s));
        return log.open(QIODevice::ReadOnly) ? AnsiFile::decode(log.readAll()) : u"(none)"_s;
    }
    QTemporaryDir dir;
    ScriptedDesktop desktop;
    ProgramFolder folder;
    Regional regional{QLocale(u"en_GB"_s)};
    FixedClock clock;
};

} // namespace

class TestUpdateCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checks_data();
    void checks();
    void updaterLog();
    void downloadControl();
    void missingNetworkModule();
    void siteRoot_data();
    void siteRoot();
    void pageRefusal_data();
    void pageRefusal();
    void offeredVersion_data();
    void offeredVersion();
};

void TestUpdateCheck::checks_data()
{
    addTableRows(u"update_checks.tsv"_s);
}

void TestUpdateCheck::checks()
{
    QFETCH(QStringList, row);
    enum { Arguments, Kind, Answer, Document, Status, Message };
    enum { Enabled = Message + 1, Shown, Unloaded, Sent, Log };
    HttpServer server;
    const QByteArray document = unescapedBytes(row[Document]);
    const QByteArray answer = row[Answer].toLatin1();
    QByteArray& reply = server.answers[DocumentPath];
    if (answer == "ok" || answer == "oversize")
        reply = HttpServer::ok(answer == "ok" ? document : QByteArray(1 << 20, ' ') + document);
    else if (answer == "404")
        reply = "HTTP/1.1 404 Not Found\r\nConnection: close\r\n\r\n" + document;
    else if (answer == "redirect")
        reply = HttpServer::redirect(server.root().toLatin1() + "moved.xml");
    else if (answer == "away") // the same server under another host name
        reply = HttpServer::redirect(
            server.root().replace(u"127.0.0.1"_s, u"localhost"_s).toLatin1() + "moved.xml");
    else if (answer == "loop")
        reply = HttpServer::redirect(DocumentPath);
    else
        server.answers.remove(DocumentPath);
    server.answers["/moved.xml"] = HttpServer::ok(document);
    QTcpServer closed; // a port where nothing listens any more
    closed.listen(QHostAddress::LocalHost);
    const QString nowhere = u"http://127.0.0.1:%1/"_s.arg(closed.serverPort());
    closed.close();
    Check check(answer == "refused" ? nowhere : server.root(), row[Log] != u"(none)");
    UpdateForm form(check.folder, check.desktop, check.regional, check.clock,
                    TestMode::fromArguments(row[Arguments]), row[Kind] == u"manual");
    QSignalSpy shown(&form, &UpdateForm::showRequested);
    form.load();
    QTRY_VERIFY_WITH_TIMEOUT(form.unloaded() || (form.TimerTicks >= 2 && !form.urlGet1.busy()),
                             5000);
    QCOMPARE(form.Status.text(), row[Status]);
    QCOMPARE(form.Message.text(), unescaped(row[Message]));
    QStringList enabled;
    for (const Button* page :
         {&form.Contact, &form.Download, &form.History, &form.KIssues, &form.WebSite})
        if (page->enabled())
            enabled.append(page->name());
    QCOMPARE(enabled.join(u' '), row[Enabled]);
    QCOMPARE(shown.size() == 1, row[Shown] == u"yes");
    QCOMPARE(form.unloaded(), row[Unloaded] == u"yes");
    QVERIFY(check.desktop.boxes.isEmpty());
    if (!row[Sent].isEmpty())
        QCOMPARE(server.requestLines.value(0),
                 "GET " + DocumentPath + "?PName=Torvane&ampPVer=" + row[Sent].toLatin1() +
                     "&ampOSVer=" + osVersion().toLatin1() + " HTTP/1.1");
    // A text the trace holds, or with "!" one it does not.
    const bool absent = row[Log].startsWith(u'!');
    QVERIFY2(check.trace().contains(unescaped(row[Log].mid(absent ? 1 : 0))) != absent,
             qPrintable(check.trace()));
}

void TestUpdateCheck::updaterLog()
{
    HttpServer server;
    server.answers[DocumentPath] = HttpServer::ok("  <Name>Torvane</Name>\r\n");
    Check check(server.root());
    UpdateForm form(check.folder, check.desktop, check.regional, check.clock, TestMode(), true);
    form.load();
    QTRY_COMPARE(form.Status.text(), u"Error getting data - try again later"_s);
    QFile expected(qEnvironmentVariable("TORVANE_FIXTURES") + u"/updater.log"_s);
    QVERIFY(expected.open(QIODevice::ReadOnly));
    QCOMPARE(check.trace(), QString::fromLatin1(expected.readAll())
                                .replace(u"{ROOT}"_s, server.root())
                                .replace(u"{OS}"_s, osVersion()));
    // Left open, the window closes itself at the 1201st tick.
    form.TimerTicks = 1200;
    form.countTick();
    QVERIFY(form.unloaded());

    // A trace that takes no more bytes ends the program.
    Check full(server.root());
    QVERIFY(AnsiFile::create(full.dir.filePath(u"Log/Updater.log"_s), QString()));
    UpdateForm failing(full.folder, full.desktop, full.regional, full.clock, TestMode(), true);
    full.desktop.expectBox(MessageAnswer::Ok);
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, (FileSizeLimit(0), failing.load()));
    QCOMPARE(full.desktop.boxes.last().title, u"Updater Log File Write Error"_s);
    QCOMPARE(full.desktop.boxes.last().text, u"Unable to write to the log file Updater.log.\r\n"
                                             "This may be a permissions problem.\r\nThe program "
                                             "will now terminate."_s);
}

void TestUpdateCheck::downloadControl()
{
    HttpServer server;
    server.answers["/first"] = HttpServer::ok("first");
    server.answers["/second"] = HttpServer::ok("second");
    UrlGet get;
    QSignalSpy completed(&get, &UrlGet::completed);
    QSignalSpy failed(&get, &UrlGet::failed);
    get.start(QString());
    QVERIFY(!get.busy());
    // A second start cancels the first: only its events arrive.
    get.start(server.root() + u"first"_s, UrlGet::FreshCopy);
    get.start(server.root() + u"second"_s, UrlGet::FreshCopy);
    QVERIFY(get.busy());
    QCOMPARE(get.duration(), 0);
    QTRY_COMPARE(completed.size(), 1);
    QTest::qWait(100);
    QCOMPARE(completed.size(), 1);
    QCOMPARE(failed.size(), 0);
    QCOMPARE(get.bytes(), QByteArray("second"));
    QVERIFY(!get.busy());

    // A server that takes the request and never answers fails the transfer.
    get.setTransferTimeout(300);
    get.start(server.root() + u"silent"_s);
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed[0][0].toInt(), int(QNetworkReply::OperationCanceledError));
    QVERIFY(get.duration() >= 200); // after about the time allowed; timers are coarse
}

void TestUpdateCheck::missingNetworkModule()
{
    // Without the module a start fails, after it returns, with the reason; a cancel or
    // another start before then takes the failure with it.
    const QString module = u"/nonexistent/torvane-network"_s;
    UrlGet get(nullptr, module);
    QSignalSpy failed(&get, &UrlGet::failed);
    get.start(u"http://127.0.0.1:9/a"_s);
    QVERIFY(get.busy());
    QCOMPARE(failed.size(), 0);
    QTRY_COMPARE(failed.size(), 1);
    QCOMPARE(failed[0][0].toInt(), UrlGet::NoNetwork);
    // The reason as the system's loader gives it.
    const QString reason = u"Cannot load library /nonexistent/torvane-network: "
                           "(/nonexistent/libtorvane-network.so: cannot open shared object "
                           "file: No such file or directory)"_s;
    QCOMPARE(failed[0][1].toString(), u"The network module cannot be loaded: "_s + reason);
    QVERIFY(!get.busy());
    get.start(u"http://127.0.0.1:9/b"_s);
    get.cancel();
    get.start(u"http://127.0.0.1:9/c"_s);
    QTRY_COMPARE(failed.size(), 2);
    QCoreApplication::processEvents();
    QCOMPARE(failed.size(), 2);

    // The program's own module is found beside the test's folder, as beside the program's.
    QString why;
    QVERIFY(loadHttpFetch(networkModulePath(), {}, why));
    QCOMPARE(why, QString());
    QVERIFY(!loadHttpFetch(module, {}, why));
    QCOMPARE(why, reason);
}

void TestUpdateCheck::siteRoot_data()
{
    addTableRows(u"site_roots.tsv"_s);
}

void TestUpdateCheck::siteRoot()
{
    QFETCH(QStringList, row); // given, chosen, complaint
    QString complaint;
    QCOMPARE(chooseSiteRoot(u"https://www.marnoft.example.org/"_s, row[0], complaint), row[1]);
    QCOMPARE(complaint, row.value(2));
}

void TestUpdateCheck::pageRefusal_data()
{
    addTableRows(u"page_paths.tsv"_s);
}

void TestUpdateCheck::pageRefusal()
{
    QFETCH(QStringList, row); // path, refusal
    QCOMPARE(torvane::pageRefusal(u"http://host.example:8080/maker/"_s, row.value(0)),
             row.value(1));
}

void TestUpdateCheck::offeredVersion_data()
{
    // The document's Version1 and Version2, the program's VersionHigh and VersionLow.
    QTest::addColumn<QStringList>("versions");
    QTest::addColumn<QString>("offered");
    const auto row = [](const char* name, const char* versions, const char* offered) {
        QTest::newRow(name) << QString::fromLatin1(versions).split(u'|')
                            << QString::fromLatin1(offered);
    };
    row("equal", "6.4|0.0|6.4|0.0", "Same");
    row("newer", "6.5|0.0|6.4|0.0", "Newer");
    row("older", "6.3|0.0|6.4|0.0", "Unrecognised");
    row("6.10 reads as 6.1, below 6.4", "6.10|0.0|6.4|0.0", "Unrecognised");
    row("6.10 reads as 6.1", "6.10|0.0|6.1|0.0", "Same");
    row("minor version in Version2", "6|5|6.4|0.0", "Newer");
    row("leading blanks", "  6.5|0.0|6.4|0.0", "Newer");
    row("words after the number", "6.4 beta|0.0|6.4|0.0", "Same");
    row("a decimal comma ends the number", "6,5|0.0|6.4|0.0", "Unrecognised");
    row("junk", "abc|def|6.4|0.0", "Unrecognised");
    row("empty", "||6.4|0.0", "Unrecognised");
    row("both empty", "||||", "Same");
}

void TestUpdateCheck::offeredVersion()
{
    QFETCH(QStringList, versions);
    QFETCH(QString, offered);
    const char* const names[] = {"Same", "Newer", "Unrecognised"};
    const OfferedVersion result =
        torvane::offeredVersion(versions[0], versions[1], versions[2], versions[3]);
    QCOMPARE(QString::fromLatin1(names[int(result)]), offered);
}

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_update_check.moc"
