// The comparison engine in process, against figures worked out by hand (tests/fixtures):
// the checks' rules at the edges of their ranges, an item's figures, the differences
// between two items, the hours of the period and the inflation. Figures are compared as the
// shortest text that reads back as the same number: to the bit, where QCOMPARE would forgive a
// double a small relative error.

#include "engine/comparison.h"
#include "engine/rules.h"
#include "support/fixture_table.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

namespace {

QString exactly(std::optional<double> value)
{
    return value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : u"-"_s;
}

QString amounts(const Amounts& a)
{
    return exactly(a.day) + u' ' + exactly(a.part) + u' ' + exactly(a.period);
}

QList<double> numbers(const QString& text)
{
    QList<double> values;
    for (const QString& number : text.split(u' ', Qt::SkipEmptyParts))
        values.append(number.toDouble());
    return values;
}

// The fields as the program writes numbers into them; those not listed are empty.
QList<Reading> fields(const QString& text)
{
    QList<Reading> readings(6);
    const QList<double> n = numbers(text);
    for (qsizetype i = 0; i < n.size(); ++i)
        readings[i] = Reading::number(n[i]);
    return readings;
}

TariffInputs tariff(const QString& text)
{
    const QList<Reading> r = fields(text);
    return {r[0], r[1], r[2], r[3], r[4], r[5]};
}

DayHours hours(const QString& text)
{
    const QList<double> n = numbers(text);
    return {n[0], n[1], n[2], n[3]};
}

// "CO2 | cost a day, part, period | kWh a day, part, period"
ItemFigures shown(const QString& text)
{
    const QStringList parts = text.split(u'|');
    const QList<double> cost = numbers(parts[1]);
    const QList<double> units = numbers(parts[2]);
    ItemFigures figures;
    figures.co2 = numbers(parts[0])[0];
    figures.cost = {cost[0], cost[1], cost[2]};
    figures.units = {units[0], units[1], units[2]};
    return figures;
}

// The worked example's fields as typed, with a row's fields typed otherwise.
ComparisonInputs typed(const QString& changes)
{
    QHash<QString, QString> text = {
        {u"NormalR"_s, u"0.15"_s},    {u"CheapR"_s, u"0.075"_s},    {u"PayPeriod"_s, u"4"_s},
        {u"VAT"_s, u"5"_s},           {u"CO2"_s, u"0.43"_s},        {u"AnInfT"_s, u"0"_s},
        {u"NormalHr"_s, u"10"_s},     {u"CheapHr"_s, u"4"_s},       {u"NormalSHr"_s, u"6"_s},
        {u"CheapSHr"_s, u"4"_s},      {u"Item1Watts"_s, u"100"_s},  {u"Item1SWatts"_s, u"4"_s},
        {u"Item1Life"_s, u"10000"_s}, {u"Item1Cost"_s, u"25"_s},    {u"Item2Watts"_s, u"60"_s},
        {u"Item2SWatts"_s, u"3"_s},   {u"Item2Life"_s, u"15000"_s}, {u"Item2Cost"_s, u"40"_s}};
    for (const QString& change : changes.split(u';', Qt::SkipEmptyParts))
        text[change.section(u'=', 0, 0)] = change.section(u'=', 1);
    static const Regional regional(QLocale(u"en_GB"_s));
    const auto read = [&](const char* name) {
        return Reading::of(text.value(QString::fromLatin1(name)), regional);
    };
    const auto item = [&](int number) {
        const auto field = [&](const char* suffix) {
            return read(qPrintable(u"Item%1%2"_s.arg(number).arg(QLatin1String(suffix))));
        };
        return ItemInputs{field("Watts"), field("SWatts"), field("CWatts"),
                          field("Life"),  field("Cost"),   Reading()};
    };
    return {{read("NormalR"), read("CheapR"), read("PayPeriod"), read("VAT"), read("CO2"),
             read("AnInfT")},
            {read("NormalHr"), read("CheapHr"), read("NormalSHr"), read("CheapSHr")},
            item(1),
            item(2)};
}

} // namespace

class TestEngine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rules_data() { addTableRows(u"rules.tsv"_s); }
    void rules();
    void workOutItem_data() { addTableRows(u"work_out_item.tsv"_s); }
    void workOutItem();
    void differences_data() { addTableRows(u"differences.tsv"_s); }
    void differences();
    void periodHours_data() { addTableRows(u"period_hours.tsv"_s); }
    void periodHours();
    void inflation_data() { addTableRows(u"inflation.tsv"_s); }
    void inflation();
};

void TestEngine::rules()
{
    QFETCH(QStringList, row); // fields typed otherwise, messages
    const ComparisonInputs in = typed(row[0]);
    QString messages;
    tariffRules(in.tariff, messages);
    hourRules(in.hours, messages);
    const bool blank1 = isBlank(in.item1);
    const bool blank2 = isBlank(in.item2);
    if (!blank1)
        itemRules(1, in.item1, messages);
    if (!blank2)
        itemRules(2, in.item2, messages);
    combinationRules(in, blank1, blank2, messages);
    QVERIFY(messages.isEmpty() || messages.endsWith(u'\n'));
    QCOMPARE(messages.split(u'\n', Qt::SkipEmptyParts).join(u" | "_s), row.value(1));
}

void TestEngine::workOutItem()
{
    QFETCH(QStringList, row); // tariff, hours, item, item 1 or 2, quarter or month, figures
    const TariffInputs t = tariff(row[0]);
    const DayHours day = hours(row[1]);
    const QList<Reading> i = fields(row[2]);
    const ItemInputs item{i[0], i[1], i[2], i[3], i[4], i[5]};
    ItemFigures f;
    torvane::workOutItem({t, item, day, torvane::periodHours(t, day).on, torvane::inflation(t),
                          row[3] == u"2", row[4] == u"month"},
                         f);
    QCOMPARE(exactly(f.count) + u' ' + exactly(f.standbyShare) + u' ' + exactly(f.co2) + u' ' +
                 exactly(f.runningDay) + u" | "_s + amounts(f.cost) + u" | "_s + amounts(f.units),
             row[5]);
}

void TestEngine::differences()
{
    QFETCH(QStringList, row); // item 1, item 2, difference
    const Differences d = torvane::differences(shown(row[0]), shown(row[1]));
    const auto sign = [](bool negative) {
        return negative ? u" -"_s : QString();
    };
    QCOMPARE(amounts(d.cost) + sign(d.costNegative) + u" | "_s + amounts(d.units) +
                 sign(d.unitsNegative) + u" | "_s + exactly(d.co2) + sign(d.co2Negative),
             row[2]);
}

void TestEngine::periodHours()
{
    QFETCH(QStringList, row); // years, hours, hours on and on standby
    const PeriodHours h =
        torvane::periodHours(tariff(u"0.15 0 "_s + row[0] + u" 0 0.43 0"_s), hours(row[1]));
    QCOMPARE(exactly(h.on) + u' ' + exactly(h.standby), row[2]);
}

void TestEngine::inflation()
{
    QFETCH(QStringList, row); // AnInfT, PayPeriod, factor, sum
    const Inflation i = torvane::inflation(tariff(u"0.15 0 %1 0 0.43 %2"_s.arg(row[1], row[0])));
    QCOMPARE(exactly(i.factor) + u' ' + exactly(i.sum),
             exactly(row[2].toFloat()) + u' ' + exactly(row[3].toFloat()));
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
