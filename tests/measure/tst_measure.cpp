// An appliance's use from logs of its power worked out by hand (tests/fixtures/
// measure_logs.tsv): each log read whole, and again a few bytes at a time, in the time zone
// it names; then progress and cancelling on a log of several blocks.

#include "cli/batch_options.h"
#include "measure/measured_use.h"
#include "support/fixture_table.h"

#include <QBuffer>
#include <QTest>

#include <cstring>
#include <ctime>

using namespace Qt::StringLiterals;
using namespace torvane;
using namespace torvane::test;

namespace {

// The machine's time zone for the life of the object.
class TimeZone {
public:
    explicit TimeZone(const QByteArray& zone)
        : m_saved(qgetenv("TZ"))
        , m_was(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZone()
    {
        if (m_was)
            qputenv("TZ", m_saved);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_saved;
    bool m_was;
};

// Hands out at most `most` bytes a read; sequential, as a pipe is, when asked.
class Pieces final : public QBuffer {
public:
    Pieces(const QByteArray& bytes, qint64 most, bool pipe)
        : m_most(most)
        , m_pipe(pipe)
    {
        setData(bytes);
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return m_pipe; }

protected:
    // A sequential device has no position of its own: the buffer keeps its place here.
    qint64 readData(char* data, qint64 size) override
    {
        if (!m_pipe)
            return QBuffer::readData(data, std::min(size, m_most));
        const qint64 got = std::min({size, m_most, buffer().size() - m_at});
        std::memcpy(data, buffer().constData() + m_at, static_cast<std::size_t>(got));
        m_at += got;
        return got;
    }

private:
    qint64 m_most;
    bool m_pipe;
    qint64 m_at = 0;
};

// The figures, or "refused: " and why; then the notes.
QStringList outcome(const MeasuredUse& use)
{
    if (use.outcome != MeasuredUse::Outcome::Measured)
        return {u"refused: "_s + use.problem, QString()};
    return {measuredRow(use), measuredNotes(use).join(u" | "_s)};
}

} // namespace

class TestMeasure : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void logs_data() { addTableRows(u"measure_logs.tsv"_s); }
    void logs();
    void progressAndCancel();
};

void TestMeasure::logs()
{
    QFETCH(QStringList, row);
    const TimeZone zone(row[0].toUtf8());
    QStringList arguments{u"torvane-calc"_s, u"--measure"_s, u"log"_s};
    arguments += row[1].split(u' ', Qt::SkipEmptyParts);
    const bool pipe = arguments.removeAll(u"{pipe}"_s) > 0;
    const ParsedArguments parsed = parseArguments(arguments);
    QCOMPARE(parsed.refusal, QString());
    const QByteArray log = unescapedBytes(row[2]);
    const QStringList expected{row[3], row.value(4)};

    Pieces whole(log, qint64(1) << 30, pipe);
    QCOMPARE(outcome(measureUse(whole, parsed.options.measureOptions)), expected);
    // A few bytes at a time: a line, a field, a time or a number cut anywhere.
    Pieces pieces(log, 3, pipe);
    QCOMPARE(outcome(measureUse(pieces, parsed.options.measureOptions)), expected);
}

void TestMeasure::progressAndCancel()
{
    const TimeZone zone("UTC");
    QByteArray log = "time,power\n";
    for (int minute = 0; minute < 100'000; ++minute)
        log += QDateTime::fromSecsSinceEpoch(1767225600 + minute * 60, Qt::UTC)
                   .toString(Qt::ISODate)
                   .toLatin1() +
               (minute % 10 < 3 ? ",80.4\n" : ",1.5\n");
    Pieces device(log, qint64(1) << 30, false);
    QList<qint64> told;
    const MeasuredUse use = measureUse(device, {}, [&](qint64 read, qint64 total) {
        told.append(read);
        return total == log.size();
    });
    QCOMPARE(outcome(use).value(0), u"7.2,0.0,16.8,0.0,80.4,1.5,69.44,100.0"_s);
    // A block at a time, to the whole.
    QCOMPARE(told.size(), 3);
    QCOMPARE(told.last(), log.size());
    QCOMPARE(told[0], 1024 * 1024 + 64 * 1024);

    Pieces again(log, qint64(1) << 30, false);
    int calls = 0;
    const MeasuredUse cancelled =
        measureUse(again, {}, [&](qint64, qint64) { return ++calls < 2; });
    QCOMPARE(cancelled.outcome, MeasuredUse::Outcome::Cancelled);
    QCOMPARE(calls, 2);
    // Cancelled at the first block, before the header was read.
    Pieces early(log, qint64(1) << 30, false);
    QCOMPARE(measureUse(early, {}, [](qint64, qint64) { return false; }).outcome,
             MeasuredUse::Outcome::Cancelled);
}

QTEST_GUILESS_MAIN(TestMeasure)
#include "tst_measure.moc"
