// CSV records from a device: quoting, line ends, blank lines and errors, read whole and
// from a device that hands out one to three bytes at a time, so that a read may stop
// inside a quote pair, between CR and LF or inside a multi-byte character.

#include "core/csv_reader.h"
#include "support/fixture_table.h"

#include <QBuffer>
#include <QTest>

#include <cstring>

using namespace Qt::StringLiterals;
using namespace torvane;
using namespace torvane::test;

namespace {

// A pipe that delivers its data in the given read sizes, over and over.
class TrickleDevice final : public QIODevice {
public:
    TrickleDevice(QByteArray data, QList<qint64> steps)
        : m_data(std::move(data))
        , m_steps(std::move(steps))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 step = m_steps.at(m_reads++ % m_steps.size());
        const qint64 size = std::min({maxSize, step, qint64(m_data.size()) - m_at});
        std::memcpy(data, m_data.constData() + m_at, static_cast<std::size_t>(size));
        m_at += size;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    QList<qint64> m_steps;
    qint64 m_reads = 0;
    qint64 m_at = 0;
};

struct Parsed {
    QList<QStringList> records;
    QList<qint64> lines;
    QString error; // with the line it was found on
};

Parsed parse(QIODevice& device)
{
    CsvReader reader(device);
    Parsed parsed;
    QList<QStringView> fields;
    for (;;) {
        const CsvReader::Result result = reader.next(fields);
        if (result == CsvReader::Result::End) {
            // The end stays the end.
            if (reader.next(fields) != CsvReader::Result::End)
                parsed.error = u"a record after the end"_s;
            break;
        }
        if (result == CsvReader::Result::Error) {
            parsed.error = reader.error() + u" @"_s + QString::number(reader.line());
            break;
        }
        QStringList record;
        for (QStringView field : fields)
            record.append(field.toString());
        parsed.records.append(record);
        parsed.lines.append(reader.line());
    }
    return parsed;
}

// The same read by skimming: each record's fields counted, then asked for one by one.
Parsed skim(QIODevice& device)
{
    CsvReader reader(device);
    Parsed parsed;
    qsizetype count = 0;
    for (;;) {
        const CsvReader::Result result = reader.skim(count);
        if (result == CsvReader::Result::End)
            break;
        if (result == CsvReader::Result::Error) {
            parsed.error = reader.error() + u" @"_s + QString::number(reader.line());
            break;
        }
        QStringList record;
        for (qsizetype i = 0; i < count; ++i)
            record.append(reader.field(i).toString());
        parsed.records.append(record);
        parsed.lines.append(reader.line());
    }
    return parsed;
}

using Records = QList<QStringList>;
using Lines = QList<qint64>;

} // namespace

class TestCsvReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trickleDeviceTrickles();
    void records_data();
    void records();
    void field_data();
    void field();
};

void TestCsvReader::trickleDeviceTrickles()
{
    // Otherwise the chunk tests below would prove nothing.
    TrickleDevice device("abcdefg", {1, 3, 2});
    QCOMPARE(device.read(64 * 1024), QByteArray("a"));
    QCOMPARE(device.read(64 * 1024), QByteArray("bcd"));
    QCOMPARE(device.read(64 * 1024), QByteArray("ef"));
}

void TestCsvReader::records_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<Records>("records");
    QTest::addColumn<Lines>("lines");
    QTest::addColumn<QString>("error");
    for (const QStringList& row : fixtureTable(u"csv_records.tsv"_s)) {
        Records records;
        for (const QString& record : row[2].split(u" || "_s, Qt::SkipEmptyParts)) {
            QStringList fields = record.split(u" | "_s);
            for (QString& field : fields)
                field = unescaped(field.trimmed());
            records.append(fields);
        }
        Lines lines;
        for (const QString& line : row[3].split(u' ', Qt::SkipEmptyParts))
            lines.append(line.toLongLong());
        QTest::newRow(qPrintable(row[0])) << unescapedBytes(row[1]) << records << lines << row[4];
    }
}

void TestCsvReader::records()
{
    QFETCH(QByteArray, input);
    QFETCH(Records, records);
    QFETCH(Lines, lines);
    QFETCH(QString, error);

    const QList<QList<qint64>> stepPatterns = {{1}, {2}, {3}, {2, 1, 3}, {3, 3, 1}};
    for (const auto read : {parse, skim}) {
        for (const QList<qint64>& steps : stepPatterns) {
            TrickleDevice device(input, steps);
            const Parsed pieces = read(device);
            QCOMPARE(pieces.records, records);
            QCOMPARE(pieces.lines, lines);
            QCOMPARE(pieces.error, error);
        }

        // Whole: the decoder is then far ahead of the record being read.
        QBuffer buffer(&input);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const Parsed whole = read(buffer);
        QCOMPARE(whole.records, records);
        QCOMPARE(whole.lines, lines);
        QCOMPARE(whole.error, error);
    }
}

void TestCsvReader::field_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << u"£0.24541"_s << u"£0.24541"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks kept bare") << u" a b "_s << u" a b "_s;
    QTest::newRow("comma") << u"0,24541 €"_s << u"\"0,24541 €\""_s;
    QTest::newRow("quotes") << u"6\" \"pipe\""_s << u"\"6\"\" \"\"pipe\"\"\""_s;
    QTest::newRow("LF") << u"a\nb"_s << u"\"a\nb\""_s;
    QTest::newRow("CR") << u"a\rb"_s << u"\"a\rb\""_s;
}

void TestCsvReader::field()
{
    QFETCH(QString, value);
    QFETCH(QString, field);
    QCOMPARE(csvField(value), field);
    // What is written reads back as the value.
    QByteArray line = (field + u",x\r\n"_s).toUtf8();
    QBuffer buffer(&line);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(parse(buffer).records, Records({QStringList{value, u"x"_s}}));
}

QTEST_GUILESS_MAIN(TestCsvReader)
#include "tst_csv_reader.moc"
