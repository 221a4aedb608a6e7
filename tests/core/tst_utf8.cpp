// The quick UTF-8 encoder against Qt's own: every kind of character at every place around
// the blocks the encoder reads at once, and where it stops for a surrogate.

#include "core/utf8.h"

#include <QStringEncoder>
#include <QTest>

#include <vector>

using namespace torvane;

class TestUtf8 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void agreesWithQtBeforeTheFirstSurrogate_data();
    void agreesWithQtBeforeTheFirstSurrogate();
};

void TestUtf8::agreesWithQtBeforeTheFirstSurrogate_data()
{
    QTest::addColumn<QString>("odd");
    // The edges of each encoded length; NUL and units from 0x8000 up, which a byte-wise
    // test of packed characters could take for ASCII; the surrogates, paired and alone.
    const char16_t odds[][3] = {u"\u0000", u"\u007F", u"\u0080", u"\u00A3", u"\u00FF",
                                u"\u0100", u"\u07FF", u"\u0800", u"\u20AC", u"\u7FFF",
                                u"\u8000", u"\uD7FF", u"\uE000", u"\uFFFF"};
    for (const auto& odd : odds)
        QTest::addRow("U+%04X", static_cast<unsigned>(odd[0])) << QString(QChar(odd[0]));
    QTest::newRow("pair") << QStringLiteral("\U0001F600");
    QTest::newRow("lone high") << QString(QChar(0xD83D));
    QTest::newRow("lone low") << QString(QChar(0xDE00));
}

void TestUtf8::agreesWithQtBeforeTheFirstSurrogate()
{
    QFETCH(QString, odd);
    const bool surrogate = odd.front().isSurrogate();
    // The odd character at each place in ASCII texts of every length up to past two
    // blocks of 32, once and then twice in a row.
    for (int length = 0; length <= 70; ++length) {
        for (int place = 0; place <= length; ++place) {
            for (int repeats = 1; repeats <= 2; ++repeats) {
                QString text;
                for (int i = 0; i < length; ++i)
                    text.append(QChar(u'a' + i % 26));
                for (int i = 0; i < repeats; ++i)
                    text.insert(place, odd);
                QStringEncoder qt(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
                const QByteArray expected =
                    qt(QStringView(text).first(surrogate ? place : text.size()));
                std::vector<char> bytes(3 * static_cast<std::size_t>(text.size()) + 1, '\xAA');
                const auto* const start = reinterpret_cast<const char16_t*>(text.constData());
                const char16_t* from = start;
                const char16_t* const end = start + text.size();
                char* const written = encodeUtf8UpToSurrogate(from, end, bytes.data());
                const QByteArray actual(bytes.data(), written - bytes.data());
                QCOMPARE(actual, expected);
                QCOMPARE(from - start, surrogate ? place : text.size());
                // Nothing written past the room asked for.
                QCOMPARE(bytes.back(), '\xAA');
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestUtf8)
#include "tst_utf8.moc"
