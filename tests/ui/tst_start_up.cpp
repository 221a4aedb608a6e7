// The window program's start: asked to, it ends by itself only once its window is drawn
// and nothing is left waiting, which is what its start-up is timed to; the windows' icon,
// drawn when the program was built, and the logo, drawn when first shown, are the logo's
// picture as the program draws it.

#include "core/ansi_file.h"
#include "core/version.h"
#include "ui/end_when_idle.h"
#include "ui/logo.h"
#include "ui/svg_pictures.h"

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
    void windowIconIsTheLogo();
    void logoIsDrawnAtTheSizeShown_data();
    void logoIsDrawnAtTheSizeShown();
    void pictureModule();
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

void TestStartUp::windowIconIsTheLogo()
{
    const QIcon icon = logoIcon();
    const QList<QSize> sizes = icon.availableSizes();
    QCOMPARE(sizes, (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}}));
    // Kept as window systems take it, not premultiplied, and the same once premultiplied.
    for (const QSize& size : sizes) {
        const QImage built = icon.pixmap(size, 1.0).toImage();
        QCOMPARE(built.format(), QImage::Format_ARGB32);
        QCOMPARE(built.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 logoPicture(size.width(), 1).toImage());
    }
}

void TestStartUp::logoIsDrawnAtTheSizeShown_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("ordinary screen") << 1.0;
    QTest::newRow("double density") << 2.0;
    QTest::newRow("one and a half") << 1.5;
}

void TestStartUp::logoIsDrawnAtTheSizeShown()
{
    QFETCH(qreal, ratio);
    const std::unique_ptr<QPushButton> logo(makeLogo([] {}));
    QCOMPARE(logo->iconSize(), QSize(48, 48));
    const QPixmap shown = logo->icon().pixmap(logo->iconSize(), ratio);
    QCOMPARE(shown.size(), QSize(qRound(48 * ratio), qRound(48 * ratio)));
    QCOMPARE(shown.devicePixelRatio(), ratio);
    QCOMPARE(shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             logoPicture(48, ratio).toImage());
}

void TestStartUp::pictureModule()
{
    // The program's own is found from the test's folder as from the program's; one that is
    // not there gives the loader's reason.
    QString why;
    QVERIFY(svgPictures(why));
    QCOMPARE(why, QString());
    QVERIFY(!loadSvgPictures(u"/nonexistent/torvane-svg"_s, why));
    QCOMPARE(why, u"Cannot load library /nonexistent/torvane-svg: (/nonexistent/libtorvane-svg.so: "
                  "cannot open shared object file: No such file or directory)"_s);
}

QTEST_MAIN(TestStartUp)
#include "tst_start_up.moc"
