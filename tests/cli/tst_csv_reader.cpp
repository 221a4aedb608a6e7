// CSV records from a device: quoting, line ends, blank lines, errors, and reads that
// stop anywhere, even inside a quote pair or a multi-byte character.

#include "cli/csv_reader.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;

namespace {

// Hands out its data a few bytes at a time, as a pipe may.
class TrickleDevice final : public QIODevice {
public:
    TrickleDevice(QByteArray data, qint64 step)
        : m_data(std::move(data))
        , m_step(step)
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 size = std::min({maxSize, m_step, qint64(m_data.size()) - m_at});
        std::memcpy(data, m_data.constData() + m_at, static_cast<std::size_t>(size));
        m_at += size;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_step;
    qint64 m_at = 0;
};

struct Parsed {
    QList<QStringList> records;
    QList<qint64> lines;
    QString error;
};

Parsed parse(QIODevice& device)
{
    CsvReader reader(device);
    Parsed parsed;
    QStringList fields;
    for (;;) {
        const CsvReader::Result result = reader.next(fields);
        if (result == CsvReader::Result::End)
            break;
        if (result == CsvReader::Result::Error) {
            parsed.error = reader.error() + u" at line "_s + QString::number(reader.line());
            break;
        }
        parsed.records.append(fields);
        parsed.lines.append(reader.line());
    }
    return parsed;
}

} // namespace

class TestCsvReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void records_data();
    void records();
    void fieldQuoting_data();
    void fieldQuoting();
};

void TestCsvReader::records_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<QStringList>>("records");
    QTest::addColumn<QList<qint64>>("lines");
    QTest::addColumn<QString>("error");

    using Records = QList<QStringList>;
    using Lines = QList<qint64>;
    const QStringList abc{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("CR LF") << QByteArray("a,b,c\r\n1,2,3\r\n")
                           << Records{abc, {u"1"_s, u"2"_s, u"3"_s}} << Lines{1, 2} << QString();
    QTest::newRow("LF, no final line end")
        << QByteArray("a,b,c\n1,,3") << Records{abc, {u"1"_s, QString(), u"3"_s}} << Lines{1, 2}
        << QString();
    QTest::newRow("blank lines skipped")
        << QByteArray("\r\na,b,c\r\n\r\n\n,,\r\n")
        << Records{abc, {QString(), QString(), QString()}} << Lines{2, 5} << QString();
    QTest::newRow("quotes") << QByteArray("\"a,1\",\"say \"\"hi\"\"\",\"\"\r\n")
                            << Records{{u"a,1"_s, u"say \"hi\""_s, QString()}} << Lines{1}
                            << QString();
    QTest::newRow("line break in quotes")
        << QByteArray("\"two\r\nlines\",x\r\nnext\r\n")
        << Records{{u"two\r\nlines"_s, u"x"_s}, {u"next"_s}} << Lines{1, 3} << QString();
    QTest::newRow("byte order mark and UTF-8")
        << QByteArray("\xEF\xBB\xBFNotes\r\n\xC2\xA3"
                      "5 \xE2\x82\xAC\r\n")
        << Records{{u"Notes"_s}, {u"£5 €"_s}} << Lines{1, 2} << QString();
    QTest::newRow("unclosed quote") << QByteArray("a\r\n\"open,\r\nstill open") << Records{{u"a"_s}}
                                    << Lines{1} << u"a quoted field is not closed at line 2"_s;
    QTest::newRow("text after quote") << QByteArray("\"a\"b,c\r\n") << Records{} << Lines{}
                                      << u"text follows a closing quote at line 1"_s;
    QTest::newRow("not UTF-8") << QByteArray("a\r\n\xFF\xFE\r\n") << Records{{u"a"_s}} << Lines{1}
                               << u"the text is not valid UTF-8 at line 2"_s;
    QTest::newRow("empty") << QByteArray() << Records{} << Lines{} << QString();
}

void TestCsvReader::records()
{
    QFETCH(QByteArray, input);
    QFETCH(QList<QStringList>, records);
    QFETCH(QList<qint64>, lines);
    QFETCH(QString, error);

    // Whole, and in every small step size: where a read stops must not matter.
    QBuffer buffer(&input);
    buffer.open(QIODevice::ReadOnly);
    const Parsed whole = parse(buffer);
    QCOMPARE(whole.records, records);
    QCOMPARE(whole.lines, lines);
    QCOMPARE(whole.error, error);
    for (qint64 step : {1, 2, 3, 5}) {
        TrickleDevice trickle(input, step);
        const Parsed pieces = parse(trickle);
        QCOMPARE(pieces.records, records);
        QCOMPARE(pieces.error, error);
    }
}

void TestCsvReader::fieldQuoting_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << u"£0.24541"_s << u"£0.24541"_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("comma") << u"a, b"_s << u"\"a, b\""_s;
    QTest::newRow("quote") << u"6\" pipe"_s << u"\"6\"\" pipe\""_s;
    QTest::newRow("line break") << u"a\nb"_s << u"\"a\nb\""_s;
}

void TestCsvReader::fieldQuoting()
{
    QFETCH(QString, value);
    QFETCH(QString, field);
    QCOMPARE(csvField(value), field);
    // And it reads back as the value.
    QByteArray line = (field + u",x\r\n"_s).toUtf8();
    QBuffer buffer(&line);
    buffer.open(QIODevice::ReadOnly);
    QCOMPARE(parse(buffer).records.value(0), (QStringList{value, u"x"_s}));
}

QTEST_GUILESS_MAIN(TestCsvReader)
#include "tst_csv_reader.moc"
