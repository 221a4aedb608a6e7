// The program's 8-bit code page: each byte from 0x80 to 0x9F to its Windows-1252 character
// and back, and what becomes of characters the code page has no place for.

#include "core/ansi_file.h"
#include "support/fixture_table.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

class TestAnsiFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void encodeAndDecode_data();
    void encodeAndDecode();
};

void TestAnsiFile::encodeAndDecode_data()
{
    QTest::addColumn<QByteArray>("byte");
    QTest::addColumn<QString>("character");
    QTest::addColumn<bool>("bothWays");
    for (const QStringList& row : fixtureTable(u"code_page.tsv"_s)) {
        const char32_t code = row[2].toUInt(nullptr, 16);
        QTest::newRow(qPrintable(row[0]))
            << QByteArray(1, static_cast<char>(row[1].toInt(nullptr, 16)))
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

QTEST_GUILESS_MAIN(TestAnsiFile)
#include "tst_ansi_file.moc"
