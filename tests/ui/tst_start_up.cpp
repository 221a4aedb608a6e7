// The window program's start: asked to, it ends by itself only once its window is drawn
// and nothing is left waiting, which is what its start-up is timed to.

#include "core/ansi_file.h"
#include "core/version.h"
#include "ui/end_when_idle.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace torvane;

namespace {

// Counts its paints; the first one leaves work queued behind it, two calls deep.
class PaintedWindow final : public QWidget {
public:
    int paints = 0;
    bool queuedWorkDone = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (++paints == 1)
            QMetaObject::invokeMethod(
                this,
                [this] {
                    QMetaObject::invokeMethod(
                        this, [this] { queuedWorkDone = true; }, Qt::QueuedConnection);
                },
                Qt::QueuedConnection);
    }
};

} // namespace

class TestStartUp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void endsOnceDrawnAndIdle();
    void programEndsWhenAsked();
};

void TestStartUp::endsOnceDrawnAndIdle()
{
    PaintedWindow window;
    int ends = 0;
    int paintsAtEnd = 0;
    bool workDoneAtEnd = false;
    new EndWhenIdle(window, [&] {
        ++ends;
        paintsAtEnd = window.paints;
        workDoneAtEnd = window.queuedWorkDone;
    });
    QCoreApplication::processEvents();
    QCOMPARE(ends, 0); // not shown, not drawn: it goes on
    window.show();
    QTRY_COMPARE(ends, 1);
    QCOMPARE(paintsAtEnd, 1);
    QVERIFY(workDoneAtEnd);
    // Later paints end nothing more.
    window.repaint();
    QCoreApplication::processEvents();
    QCOMPARE(window.paints, 2);
    QCOMPARE(ends, 1);
}

void TestStartUp::programEndsWhenAsked()
{
    // The real program in a program folder with the shipped defaults: it loads (its start
    // is in the results log) and ends with status 0.
    QTemporaryDir folder;
    QDir root(folder.path());
    const QString dist = qEnvironmentVariable("TORVANE_DIST");
    for (const char* file : {"Data/Torvane.ini", "Help/index.htm"}) {
        const QString name = QString::fromLatin1(file);
        QVERIFY(root.mkpath(QFileInfo(name).path()));
        QVERIFY(QFile::copy(dist + u'/' + name, root.filePath(name)));
    }
    QVERIFY(root.mkpath(u"Log"_s));
    QProcess torvane;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TORVANE_QUIT_WHEN_IDLE"_s, u"1"_s);
    torvane.setProcessEnvironment(environment);
    torvane.setWorkingDirectory(folder.path());
    torvane.start(qEnvironmentVariable("TORVANE_EXE"), {});
    QVERIFY(torvane.waitForFinished(60000));
    QCOMPARE(torvane.exitStatus(), QProcess::NormalExit);
    QCOMPARE(torvane.exitCode(), 0);
    QStringList log;
    QCOMPARE(AnsiFile::readLines(root.filePath(u"Log/Torvane.log"_s), log), AnsiFile::Read::Done);
    // The new log's heading, then the start.
    QCOMPARE(log.value(0), u"Torvane Results Log"_s);
    QCOMPARE(log.mid(6, 2), QStringList({u"Torvane Started"_s, u"Version "_s + versionText()}));
}

QTEST_MAIN(TestStartUp)
#include "tst_start_up.moc"
