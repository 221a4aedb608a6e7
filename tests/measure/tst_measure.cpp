// An appliance's use from logs of its power worked out by hand (tests/fixtures/
// measure_logs.tsv): each log read whole, and again a few bytes at a time, in the time zone
// it names; then progress and cancelling on a log of several blocks; then the known time by
// hour of the day and its words (measure_hours.tsv).

#include "cli/batch_options.h"
#include "measure/day_by_hour.h"
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
        return {u"refused: "_s + use.problem, unreadableNotes(use).join(u" | "_s)};
    return {measuredRow(use), measuredNotes(use).join(u" | "_s)};
}

// Each hour with known time as "H:off/standby/on", hours alike in a row as "H-H:".
QString hoursText(const DayByHour& hours)
{
    QStringList texts;
    for (std::size_t hour = 0; hour < hours.size();) {
        const HourUse& h = hours[hour];
        std::size_t last = hour;
        while (last + 1 < hours.size() && hours[last + 1] == h)
            ++last;
        if (h != HourUse())
            texts << (last == hour ? QString::number(hour) : u"%1-%2"_s.arg(hour).arg(last)) +
                         u":%1/%2/%3"_s.arg(h.offMs).arg(h.standbyMs).arg(h.onMs);
        hour = last + 1;
    }
    return texts.join(u' ');
}

} // namespace

class TestMeasure : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void logs_data() { addTableRows(u"measure_logs.tsv"_s); }
    void logs();
    void progressAndCancel();
    void hours_data() { addTableRows(u"measure_hours.tsv"_s); }
    void hours();
    void shares_data();
    void shares();
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

void TestMeasure::hours()
{
    QFETCH(QStringList, row);
    const TimeZone zone(row[0].toUtf8());
    const ParsedArguments parsed =
        parseArguments(QStringList{u"torvane-calc"_s, u"--measure"_s, u"log"_s} +
                       row[1].split(u' ', Qt::SkipEmptyParts));
    QCOMPARE(parsed.refusal, QString());
    Pieces log(unescapedBytes(row[2]), qint64(1) << 30, false);
    const MeasuredUse use = measureUse(log, parsed.options.measureOptions);
    QCOMPARE(hoursText(use.hours), row[3]);
    QCOMPARE(dayByHourText(use), row[4]);
    // The hours add up to the totals the figures come from.
    HourUse sum;
    for (const HourUse& h : use.hours)
        sum = {sum.offMs + h.offMs, sum.standbyMs + h.standbyMs, sum.onMs + h.onMs};
    QCOMPARE(sum.offMs + sum.standbyMs + sum.onMs, use.knownMs);
    const auto perDay = [&](qint64 ms) {
        return static_cast<double>(ms) * 24 / static_cast<double>(use.knownMs);
    };
    QCOMPARE(perDay(sum.offMs), use.offHours);
    QCOMPARE(perDay(sum.standbyMs), use.normalStandbyHours + use.cheapStandbyHours);
    QCOMPARE(perDay(sum.onMs), use.normalHours + use.cheapHours);
}

void TestMeasure::shares_data()
{
    QTest::addColumn<QList<qint64>>("ms");     // off, standby, on
    QTest::addColumn<QList<double>>("shares"); // off, standby, on
    QTest::newRow("none known") << QList<qint64>{0, 0, 0} << QList<double>{0, 0, 0};
    QTest::newRow("a quarter off and on standby")
        << QList<qint64>{900'000, 900'000, 1'800'000} << QList<double>{0.25, 0.25, 0.5};
    QTest::newRow("all off") << QList<qint64>{5, 0, 0} << QList<double>{1, 0, 0};
}

void TestMeasure::shares()
{
    QFETCH(QList<qint64>, ms);
    QFETCH(QList<double>, shares);
    const HourShares got = hourShares({ms[0], ms[1], ms[2]});
    QCOMPARE((QList<double>{got.off, got.standby, got.on}), shares);
}

QTEST_GUILESS_MAIN(TestMeasure)
#include "tst_measure.moc"
