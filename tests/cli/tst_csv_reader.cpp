// CSV records from a device: quoting, line ends, blank lines and errors, read whole and
// from a device that hands out one to three bytes at a time, so that a read may stop
// inside a quote pair, between CR and LF or inside a multi-byte character.

#include "cli/csv_reader.h"

#include <QBuffer>
#include <QTest>

#include <cstring>

using namespace Qt::StringLiterals;
using namespace torvane;

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
    QStringList fields;
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
        parsed.records.append(fields);
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

    const auto list = [](std::initializer_list<const char*> texts) {
        QStringList fields;
        for (const char* text : texts)
            fields.append(QString::fromUtf8(text));
        return fields;
    };
    QTest::newRow("CR LF") << QByteArray("a,b,c\r\n1,,3\r\n")
                           << Records{list({"a", "b", "c"}), list({"1", "", "3"})} << Lines{1, 2}
                           << QString();
    QTest::newRow("LF, no final line end")
        << QByteArray("a,b\n1,2") << Records{list({"a", "b"}), list({"1", "2"})} << Lines{1, 2}
        << QString();
    QTest::newRow("blank lines") << QByteArray("\r\n\na\r\n\r\n\r\n,\r\n\r\n")
                                 << Records{list({"a"}), list({"", ""})} << Lines{3, 6}
                                 << QString();
    QTest::newRow("quote pairs") << QByteArray("\"\"\"\",\"a\"\"\",\"\"\"b\"\"c\",\"\"\r\n")
                                 << Records{list({"\"", "a\"", "\"b\"c", ""})} << Lines{1}
                                 << QString();
    QTest::newRow("comma and line ends in quotes")
        << QByteArray("\"x,y\",\"two\r\nlines\nthree\"\r\nnext\r\n")
        << Records{list({"x,y", "two\r\nlines\nthree"}), list({"next"})} << Lines{1, 4}
        << QString();
    QTest::newRow("quote inside a plain field")
        << QByteArray("6\" pipe,b\r\n") << Records{list({"6\" pipe", "b"})} << Lines{1}
        << QString();
    QTest::newRow("two, three and four byte characters")
        << QByteArray("\xC2\xA3\xE2\x82\xAC,\xF0\x9F\x92\xA1\r\n\"\xC3\xA9\"\"\"\r\n")
        << Records{list({"£€", "\U0001F4A1"}), list({"é\""})} << Lines{1, 2} << QString();
    QTest::newRow("byte order mark")
        << QByteArray("\xEF\xBB\xBFNotes\r\nx\xEF\xBB\xBF\r\n")
        << Records{list({"Notes"}), list({"x\xEF\xBB\xBF"})} << Lines{1, 2} << QString();
    QTest::newRow("lone CR line ends")
        << QByteArray("a\r\rb,c\r\"d\re\"\rf")
        << Records{list({"a"}), list({"b", "c"}), list({"d\re"}), list({"f"})} << Lines{1, 3, 4, 6}
        << QString();
    QTest::newRow("empty") << QByteArray() << Records{} << Lines{} << QString();
    QTest::newRow("unclosed quote")
        << QByteArray("a\r\n\"open,\r\nstill open\r\n") << Records{list({"a"})} << Lines{1}
        << u"a quoted field is not closed @2"_s;
    QTest::newRow("text after closing quote")
        << QByteArray("a\r\n\"b\"c,d\r\n") << Records{list({"a"})} << Lines{1}
        << u"text follows a closing quote @2"_s;
    QTest::newRow("not UTF-8") << QByteArray("a\r\nb\r\nc\xFF\r\n")
                               << Records{list({"a"}), list({"b"})} << Lines{1, 2}
                               << u"the text is not valid UTF-8 @3"_s;
    QTest::newRow("replacement character before bad bytes")
        << QByteArray("\xEF\xBF\xBD\r\nb\xFF\r\n") << Records{list({"\xEF\xBF\xBD"})} << Lines{1}
        << u"the text is not valid UTF-8 @2"_s;
    QTest::newRow("character cut off at the end")
        << QByteArray("a\r\nCaf\xC3") << Records{list({"a"})} << Lines{1}
        << u"the text is not valid UTF-8 @2"_s;
}

void TestCsvReader::records()
{
    QFETCH(QByteArray, input);
    QFETCH(Records, records);
    QFETCH(Lines, lines);
    QFETCH(QString, error);

    const QList<QList<qint64>> stepPatterns = {{1}, {2}, {3}, {2, 1, 3}, {3, 3, 1}};
    for (const QList<qint64>& steps : stepPatterns) {
        TrickleDevice device(input, steps);
        const Parsed pieces = parse(device);
        QCOMPARE(pieces.records, records);
        QCOMPARE(pieces.lines, lines);
        QCOMPARE(pieces.error, error);
    }

    // Whole: the decoder is then far ahead of the record being read.
    QBuffer buffer(&input);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const Parsed whole = parse(buffer);
    QCOMPARE(whole.records, records);
    QCOMPARE(whole.lines, lines);
    QCOMPARE(whole.error, error);
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
