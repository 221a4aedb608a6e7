// Programs started to run on their own: the end of each is watched without blocking, a
// failure is told once, the arguments arrive as given, and nothing is killed.

#include "core/program_launcher.h"
#include "support/fake_launcher.h"

#include <QElapsedTimer>
#include <QTest>

#include <csignal>
#include <memory>

#include <sys/wait.h>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

Q_DECLARE_METATYPE(ProgramLauncher::Watching)

class TestProgramLauncher : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void endings_data();
    void endings();
    void arguments_data();
    void arguments();
    void outlivesTheLauncher();
};

void TestProgramLauncher::endings_data()
{
    QTest::addColumn<ProgramLauncher::Watching>("watching");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("failures");
    QTest::addColumn<bool>("childrenIgnored"); // SIGCHLD ignored, as a parent may hand it down
    const std::pair<const char*, ProgramLauncher::Watching> ways[] = {
        {"fd", ProgramLauncher::Watching::ProcessFd},
        {"polled", ProgramLauncher::Watching::Polling}};
    for (const auto& [name, watching] : ways) {
        QTest::addRow("%s: exits 0", name) << watching << "exit 0"_ba << 0 << false;
        QTest::addRow("%s: exits 3", name) << watching << "exit 3"_ba << 1 << false;
        QTest::addRow("%s: killed", name) << watching << "kill -9 $$"_ba << 1 << false;
        QTest::addRow("%s: not started", name) << watching << QByteArray() << 0 << false;
        QTest::addRow("%s: exits 3, SIGCHLD ignored", name) << watching << "exit 3"_ba << 1 << true;
    }
}

void TestProgramLauncher::endings()
{
    QFETCH(ProgramLauncher::Watching, watching);
    QFETCH(QByteArray, body);
    QFETCH(int, failures);
    QFETCH(bool, childrenIgnored);
    // A body-less row has no launcher on PATH.
    const FakeLauncher fake(body.isEmpty() ? nullptr : body.constData());
    if (childrenIgnored)
        std::signal(SIGCHLD, SIG_IGN);
    ProgramLauncher launcher(watching);
    int failed = 0;
    const bool started =
        launcher.start(u"xdg-open"_s, {u"https://example.org/"_s}, [&] { ++failed; });
    QCOMPARE(started, !body.isEmpty());
    QCOMPARE(failed, 0);
    if (started) {
        QTRY_VERIFY(!fake.arguments().isEmpty());
        QTRY_VERIFY(reaped(fake.pid()));
    }
    QTRY_COMPARE(failed, failures);
    // Told once, and not again.
    QTest::qWait(500);
    QCOMPARE(failed, failures);
    std::signal(SIGCHLD, SIG_DFL);
}

void TestProgramLauncher::arguments_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("web page") << u"https://example.org/software/d.htm"_s;
    QTest::newRow("spaces and %20") << u"https://example.org/a b%20c.htm?q=1&r=$HOME"_s;
    QTest::newRow("local file") << u"file:///home/ann/Torvane Help/index.htm"_s;
    QTest::newRow("accented file") << u"file:///home/zoë/Help/index.htm"_s;
}

void TestProgramLauncher::arguments()
{
    QFETCH(QString, url);
    const FakeLauncher fake("exit 0");
    ProgramLauncher launcher;
    QVERIFY(launcher.start(u"xdg-open"_s, {url}, [] {}));
    QTRY_COMPARE(fake.arguments(), "1\n" + url.toUtf8() + '\n');
}

void TestProgramLauncher::outlivesTheLauncher()
{
    const FakeLauncher fake("exec sleep 30");
    auto launcher = std::make_unique<ProgramLauncher>();
    int failed = 0;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(launcher->start(u"xdg-open"_s, {u"https://example.org/"_s}, [&] { ++failed; }));
    QCOMPARE_LT(clock.elapsed(), 1000);
    QTRY_VERIFY(!fake.arguments().isEmpty());
    const pid_t pid = fake.pid();
    QTest::qWait(500);
    QCOMPARE(failed, 0);
    launcher.reset();
    // Still running a while later: then ended here, by a signal no one else would send.
    QTest::qWait(200);
    int status = 0;
    QCOMPARE(::waitpid(pid, &status, WNOHANG), 0);
    QCOMPARE(::kill(pid, SIGUSR1), 0);
    QCOMPARE(::waitpid(pid, &status, 0), pid);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), SIGUSR1);
    QCOMPARE(failed, 0);
}

QTEST_GUILESS_MAIN(TestProgramLauncher)
#include "tst_program_launcher.moc"
