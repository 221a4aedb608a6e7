// The archive's copy of the results log on a disk that fills part-way: the copy fails as a
// whole, leaving no torn archive, and an older file of that name as it was.

#include "resultslog/log_archive.h"
#include "support/test_doubles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

namespace {

// Three and a half of the pieces the copy reads at a time.
constexpr qint64 LogSize = 3 * 64 * 1024 + 32 * 1024;

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestLogArchive : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copyVerified_data();
    void copyVerified();
};

void TestLogArchive::copyVerified_data()
{
    QTest::addColumn<qint64>("room"); // the size a file may grow to; -1: no limit
    QTest::addColumn<bool>("olderArchive");
    QTest::addColumn<qint64>("copied");
    QTest::newRow("room enough") << qint64(-1) << false << LogSize;
    QTest::newRow("room for the log exactly") << LogSize << false << LogSize;
    QTest::newRow("one byte short") << LogSize - 1 << false << qint64(-1);
    QTest::newRow("full in the first piece") << qint64(1000) << false << qint64(-1);
    QTest::newRow("full in the last piece") << qint64(200 * 1024) << false << qint64(-1);
    QTest::newRow("full, over an older archive") << qint64(100 * 1024) << true << qint64(-1);
}

void TestLogArchive::copyVerified()
{
    QFETCH(qint64, room);
    QFETCH(bool, olderArchive);
    QFETCH(qint64, copied);
    QTemporaryDir dir;
    const QString log = dir.filePath(u"Torvane.log"_s);
    const QString archive = dir.filePath(u"Torvane_261204_1.log"_s);
    QByteArray bytes(LogSize, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7); // every byte value, no piece like the next
    QVERIFY(write(log, bytes));
    if (olderArchive)
        QVERIFY(write(archive, "older"));
    qint64 result = 0;
    {
        std::optional<FileSizeLimit> limit;
        if (room >= 0)
            limit.emplace(room);
        result = torvane::copyVerified(log, archive);
    }
    QCOMPARE(result, copied);
    QCOMPARE(contents(log), bytes);
    QCOMPARE(contents(archive), copied >= 0 ? bytes : olderArchive ? "older" : QByteArray());
    // Nothing else: no part-written file beside them.
    QStringList files{u"Torvane.log"_s};
    if (copied >= 0 || olderArchive)
        files.append(u"Torvane_261204_1.log"_s);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
}

QTEST_GUILESS_MAIN(TestLogArchive)
#include "tst_log_archive.moc"
