// The program's 8-bit code page: each byte from 0x80 to 0x9F to its Windows-1252 character
// and back, and what becomes of characters the code page has no place for.

#include "core/ansi_file.h"
#include "core/regional.h"
#include "support/fixture_table.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

class TestAnsiFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void encodeAndDecode_data();
    void encodeAndDecode();
    void everyLocaleWritesWhatTheCodePageHolds();
    void appendIsAllOrNothing_data();
    void appendIsAllOrNothing();
};

namespace {

// Lets the files of this process grow to the given size at most while it lives, as a
// full disk would stop them; a write past it fails instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_old); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

void TestAnsiFile::encodeAndDecode_data()
{
    QTest::addColumn<QByteArray>("byte");
    QTest::addColumn<QString>("character");
    QTest::addColumn<bool>("bothWays");
    for (const QStringList& row : fixtureTable(u"code_page.tsv"_s)) {
        const char32_t code = row[2].toUInt(nullptr, 16);
        QTest::newRow(qPrintable(row[0]))
            << (row[1] == u"-" ? QByteArray()
                               : QByteArray(1, static_cast<char>(row[1].toInt(nullptr, 16))))
            << QString::fromUcs4(&code, 1) << (row[3] == u"both");
    }
}

void TestAnsiFile::encodeAndDecode()
{
    QFETCH(QByteArray, byte);
    QFETCH(QString, character);
    QFETCH(bool, bothWays);
    QCOMPARE(AnsiFile::encode(character), byte);
    if (bothWays)
        QCOMPARE(AnsiFile::decode(byte), character);
}

// Every text the program writes from the user's regional settings (money, numbers, digit
// groups, signs, dates) reaches its files without a "?".
void TestAnsiFile::everyLocaleWritesWhatTheCodePageHolds()
{
    const QDateTime time(QDate(2026, 12, 6), QTime(21, 7, 5));
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 300);
    for (const QLocale& locale : locales) {
        const Regional regional(locale);
        for (const QString& text :
             {regional.formatCurrency(-1234567.891, 2), regional.formatCurrency(0.24541, 5),
              regional.formatFixed(-1234567.5, 2), regional.formatGeneral(-1.25e-7),
              regional.formatGeneral(1.5e20), regional.currencyPrefix(), regional.currencySuffix(),
              regional.formatShortDate(time.date()), regional.formatStamp(time)}) {
            const QByteArray bytes = AnsiFile::encode(text);
            if (bytes.contains('?'))
                QFAIL(qPrintable(locale.name() + u": "_s + text + u" -> "_s +
                                 QString::fromLatin1(bytes)));
        }
    }
    // The nearest characters, as a French and a German record write them.
    QCOMPARE(AnsiFile::encode(Regional(QLocale(u"fr_FR"_s)).formatCurrency(605684.73, 2)),
             QByteArray("605\xA0") + "684,73\xA0\x80");
    QCOMPARE(AnsiFile::encode(Regional(QLocale(u"de_DE"_s)).formatCurrency(-1234.5, 2)),
             QByteArray("-1.234,50\xA0\x80"));
}

void TestAnsiFile::appendIsAllOrNothing_data()
{
    QTest::addColumn<qint64>("room"); // bytes the file may grow by
    QTest::addColumn<bool>("done");
    // The entry is "Entry \u20ac12\r\n": 11 bytes in the code page.
    QTest::newRow("room for all of it") << qint64(11) << true;
    QTest::newRow("room for all but the line end") << qint64(9) << false;
    QTest::newRow("room for one byte") << qint64(1) << false;
    QTest::newRow("no room at all") << qint64(0) << false;
}

void TestAnsiFile::appendIsAllOrNothing()
{
    QFETCH(qint64, room);
    QFETCH(bool, done);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"Torvane.log"_s);
    const QByteArray before = "Torvane Results Log\r\n\r\n";
    QVERIFY(AnsiFile::create(path, QString::fromLatin1(before)));
    AnsiFile::Append outcome;
    {
        const FileSizeLimit limit(static_cast<rlim_t>(before.size() + room));
        outcome = AnsiFile::append(path, u"Entry \u20ac12\r\n"_s);
    }
    QCOMPARE(outcome, done ? AnsiFile::Append::Done : AnsiFile::Append::Failed);
    const QByteArray expected = done ? before + QByteArray("Entry \x80") + "12\r\n" : before;
    QCOMPARE(fileBytes(path), expected);
    // Once there is room again, the next entry follows whole entries only.
    QCOMPARE(AnsiFile::append(path, u"Next\r\n"_s), AnsiFile::Append::Done);
    QCOMPARE(fileBytes(path), expected + "Next\r\n");
}

QTEST_GUILESS_MAIN(TestAnsiFile)
#include "tst_ansi_file.moc"
