// The desktop's browser: the launcher found on PATH gets the address encoded, and its
// failure is told later; with no launcher the toolkit's own answer is told at once.

#include "support/fake_launcher.h"
#include "ui/qt_desktop.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

class TestQtDesktop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openUrl_data();
    void openUrl();
};

void TestQtDesktop::openUrl_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<int>("failures");
    QTest::newRow("help page, browser fails")
        << u"file:///home/ann/Torvane Help/index.htm"_s << "exit 3"_ba
        << "file:///home/ann/Torvane%20Help/index.htm"_ba << 1;
    QTest::newRow("web page, opened") << u"https://example.org/d.htm?v=6%205"_s << "exit 0"_ba
                                      << "https://example.org/d.htm?v=6%205"_ba << 0;
    // The offscreen platform, with no browser to be found, opens nothing.
    QTest::newRow("no launcher") << u"https://example.org/"_s << QByteArray() << QByteArray() << 1;
}

void TestQtDesktop::openUrl()
{
    QFETCH(QString, url);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, argument);
    QFETCH(int, failures);
    const ScopedEnvironment browser("BROWSER", std::nullopt);
    const ScopedEnvironment defaultBrowser("DEFAULT_BROWSER", std::nullopt);
    const FakeLauncher fake(body.isEmpty() ? nullptr : body.constData());
    int failed = 0;
    {
        QtDesktop desktop;
        desktop.openUrl(url, [&] { ++failed; });
        // A launcher's failure comes later, from the event loop.
        QCOMPARE(failed, body.isEmpty() ? failures : 0);
        if (!body.isEmpty()) {
            QTRY_COMPARE(fake.arguments(), "1\n" + argument + '\n');
            QTRY_VERIFY(reaped(fake.pid()));
        }
        QTRY_COMPARE(failed, failures);
    }
    QCOMPARE(failed, failures);
}

QTEST_MAIN(TestQtDesktop)
#include "tst_qt_desktop.moc"
