// The comparison's checks and reading on the window's model: the messages the checks keep in
// test modes, the inputs rewritten as they are read, and the worked example in every locale.
// Calculate as the user presses it is run in tst_form_actions (tests/fixtures/form_runs.tsv);
// the figures themselves are checked end to end through the batch tool (tests/fixtures).

#include "app/chart_form.h"
#include "engine/comparison.h"
#include "engine/timeline.h"
#include "mainform/input_checks.h"
#include "support/fixture_table.h"
#include "support/test_doubles.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

class TestComparison : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checksInTestModes_data();
    void checksInTestModes();
    void normalisation();
    void workedExampleInEveryLocale();
    void timelines_data();
    void timelines();
    void timelineEndsOnThePeriodCosts();
    void purchasesAsEveryMonthSeesThem();
    void breakEvenSentences();
    void exportHeadings_data();
    void exportHeadings();
};

void TestComparison::checksInTestModes_data()
{
    addTableRows(u"check_modes.tsv"_s);
}

void TestComparison::checksInTestModes()
{
    QFETCH(QStringList, row); // switches, messages
    FormFixture f(u"en_GB"_s, TestMode::fromArguments(row[0]));
    f.type({{"NormalR", "5"},
            {"PayPeriod", "4"},
            {"CO2", "0.43"},
            {"Item1Watts", "100"},
            {"Item1Life", "100"},
            {"Item1Cost", "25"},
            {"Item2Watts", "5"},
            {"Item2SWatts", "-5"}});
    ComparisonInputs in = readComparison(f.form, f.regional);
    checkTariff(f.context, in.tariff);
    checkRanges(f.context, in);
    normaliseInputFields(f.context, in);
    checkCombinations(f.context, in);
    QCOMPARE(f.form.MsgText, unescaped(row.value(1)));
    QCOMPARE(f.form.NormalR.text(), u"5"_s);
    // Opposite values add up to nothing: the item counts as not entered.
    QVERIFY(f.form.Item2Blank);
}

void TestComparison::normalisation()
{
    for (const auto& [locale, hours, cost] :
         {std::tuple{"en_GB", "8.0", "12.00"}, {"de_DE", "8,0", "12,00"}}) {
        FormFixture f(QString::fromLatin1(locale));
        f.type({{"Item1Life", "1234.56"},
                {"NormalHr", "7.96"},
                {"Item1No", "2.50"},
                {"Item2No", "3 off"},
                {"Item1Cost", "12"},
                {"Item2SWatts", "0.04"}});
        ComparisonInputs in = readComparison(f.form, f.regional);
        normaliseInputFields(f.context, in);
        QCOMPARE(f.form.Item1Life.text(), u"1235"_s);
        QCOMPARE(f.form.NormalHr.text(), QString::fromLatin1(hours));
        QCOMPARE(f.form.Item1No.text(),
                 QString::fromLatin1(locale) == u"de_DE" ? u"2,5"_s : u"2.5"_s);
        QCOMPARE(f.form.Item2No.text(), u"3"_s);
        QCOMPARE(f.form.Item1Cost.text(), QString::fromLatin1(cost));
        QCOMPARE(f.form.Item2SWatts.text(), f.regional.formatFixed(0, 1));
        QCOMPARE(f.form.CheapHr.text(), QString()); // empty stays empty
        // What was rewritten is read as rewritten.
        QCOMPARE(in.hours.NormalHr.value, 8.0);
        QCOMPARE(in.item1.Cost.value, 12.0);
    }
}

void TestComparison::workedExampleInEveryLocale()
{
    // Typed as a user of the locale types numbers, the worked example calculates to the
    // same figures everywhere: nothing the checks accept reaches a run-time error.
    const QStringList example =
        u"NormalR=0.15 CheapR=0.075 NormalHr=10 NormalSHr=6 CheapHr=4 CheapSHr=4 PayPeriod=4 VAT=5 "
        u"AnInfT=0 CO2=0.43 Item1Watts=100 Item1SWatts=4 Item1Life=10000 Item1Cost=25 "
        u"Item2Watts=60 Item2SWatts=3 Item2Life=15000 Item2Cost=40"_s.split(u' ');
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 300);
    for (const QLocale& locale : locales) {
        FormFixture f(locale.name());
        for (const QString& entry : example)
            f.field(qPrintable(entry.section(u'=', 0, 0)))
                .type(f.regional.formatGeneral(entry.section(u'=', 1).toDouble()));
        QVERIFY2(f.calculate(), qPrintable(locale.name()));
        QVERIFY2(f.desktop.boxes.isEmpty(), qPrintable(locale.name()));
        QCOMPARE(f.form.Item1Figures.cost.day, 0.24541);
        QCOMPARE(f.form.Item1Figures.cost.period, 358.30);
        QCOMPARE(f.form.Item1Figures.co2.value_or(0), 904.0);
        // Calculating again finds nothing changed: what the window shows it reads back.
        QVERIFY(f.calculate());
        QCOMPARE(f.services.statusMessages, QStringList{u"The Data Has Not Changed"_s});
    }
}

void TestComparison::timelines_data()
{
    addTableRows(u"timelines.tsv"_s);
}

void TestComparison::timelines()
{
    QFETCH(QStringList, row); // the items, years, inflation, checks, kWh, break-even
    const auto item = [](const QString& text) {
        const QStringList f = text.split(u' ');
        return TimelineItem{f[0].toDouble(), f[1].toDouble(), f[2].toDouble(),
                            f[3].toDouble(), f[4].toDouble(), f[5].toInt()};
    };
    const Timeline t =
        costTimeline(item(row[0]), item(row[1]), row[2].toDouble(), row[3].toDouble());
    const auto money = [](double value) {
        return QString::number(value, 'f', 2);
    };
    for (const QString& check : row[4].split(u' ')) {
        const QStringList at = check.split(u':');
        const auto month = static_cast<std::size_t>(at[0].toInt() - 1);
        QCOMPARE(money(t.cost1.at(month)) + u':' + money(t.cost2.at(month)), at.mid(1).join(u':'));
    }
    QCOMPARE(t.cost1.size(), static_cast<std::size_t>(std::ceil(12 * row[2].toDouble())));
    QCOMPARE(money(t.kwh1.back()) + u':' + money(t.kwh2.back()), row[5]);
    QCOMPARE(t.breakEven ? QString::number(*t.breakEven) : u"none"_s, row[6]);
}

void TestComparison::timelineEndsOnThePeriodCosts()
{
    // The worked example through the engine: over its whole 4 years the model ends on the
    // window's period costs, purchases included.
    const auto n = [](double value) {
        return Reading::number(value);
    };
    const TariffInputs tariff{n(0.15), n(0.075), n(4), n(5), n(0.43), n(0)};
    const DayHours day{10, 4, 6, 4};
    const PeriodHours hours = periodHours(tariff, day);
    const Inflation inflated = inflation(tariff);
    const ItemInputs one{n(100), n(4), n(0), n(10000), n(25), Reading()};
    const ItemInputs two{n(60), n(3), n(0), n(15000), n(40), Reading()};
    ItemFigures f1, f2;
    workOutItem({tariff, one, day, hours.on, inflated, false, false}, f1);
    workOutItem({tariff, two, day, hours.on, inflated, true, false}, f2);
    QCOMPARE(f1.cost.period, 358.30);
    QCOMPARE(f2.cost.period, 251.08);
    const TimelineItem item1 = timelineItem(one, f1, 14);
    const TimelineItem item2 = timelineItem(two, f2, 14);
    const Timeline t = costTimeline(item1, item2, 4, 0);
    QCOMPARE(roundToDecimals(t.cost1.back(), 2), 358.30);
    QCOMPARE(roundToDecimals(t.cost2.back(), 2), 251.08);
    // Item 1's second and third units in months 25 and 48, Item 2's second in month 37.
    QCOMPARE(t.bought1, (std::vector<Purchase>{{1, 1}, {25, 1}, {48, 1}}));
    QCOMPARE(t.bought2, (std::vector<Purchase>{{1, 1}, {37, 1}}));

    // The chart's figures for a spreadsheet of a decimal-comma language.
    ScriptedDesktop desktop;
    const Regional german(QLocale(u"de_DE"_s));
    ChartForm chart(german, desktop);
    chart.setResult({item1, item2, 4, 0, 0.43, u"Kg"_s}, QDate(2026, 12, 4));
    QCOMPARE(chart.Sentence.text(), u"Item 2 pays for itself after 7 months (Juli 2027)"_s);
    const QStringList rows = chart.csvText().split(u"\r\n"_s);
    QCOMPARE(rows.size(), 50);
    QCOMPARE(rows[0], u"Month;Up to;Item 1 cost (€);Item 2 cost (€);Item 1 kWh;Item 2 kWh;Item 1 "
                      "CO2 (Kg);Item 2 CO2 (Kg)"_s);
    QCOMPARE(rows[48], u"48;2030-12-04;358,30;251,08;2102,40;1270,20;904,03;546,19"_s);
}

void TestComparison::purchasesAsEveryMonthSeesThem()
{
    // The months in which units are bought, looked up from where the lives run out, are
    // those that asking every month finds: lives that end exactly on a month's start,
    // many units a month, none or no hours, for every period; and the break-even month
    // alone is the model's.
    const double lives[] = {0, 1e-3, 365.0 / 12, 730, 1000, 10000, 15000, 3e5};
    const double hours[] = {0, 0.1, 2, 13.9, 14, 24, 1e-300};
    for (const double life : lives) {
        for (const double hoursDay : hours) {
            for (const int units : {0, 1, 3, 1000}) {
                const TimelineItem item{1, 2, hoursDay, life, 5, units};
                const TimelineItem other{1.5, 2, 24, 1000, 1, 2};
                const Timeline t = costTimeline(item, other, 10, 0.03);
                std::vector<Purchase> expected;
                int bought = 0;
                for (int month = 1; month <= 120; ++month) {
                    const double used = (month - 1) * 365 * hoursDay / 12 / life;
                    const double due = life <= 0        ? units
                                       : used >= bought ? std::floor(used) + 1
                                                        : bought;
                    const int now =
                        std::max(bought, static_cast<int>(std::min<double>(due, units)));
                    if (now > bought)
                        expected.push_back({month, now - bought});
                    bought = now;
                }
                QCOMPARE(t.bought1, expected);
                QCOMPARE(breakEvenMonth(item, other, 10, 0.03), t.breakEven);
            }
        }
    }
}

void TestComparison::breakEvenSentences()
{
    const QDate today(2026, 12, 6);
    const auto sentence = [&](std::optional<int> month, double years, const char* locale) {
        Timeline timeline;
        timeline.breakEven = month;
        return breakEvenSentence(timeline, years, today, Regional(QLocale(QLatin1String(locale))));
    };
    QCOMPARE(sentence(19, 4, "en_GB"), u"Item 2 pays for itself after 19 months (July 2028)"_s);
    QCOMPARE(sentence(1, 4, "en_GB"), u"Item 2 pays for itself after 1 month (January 2027)"_s);
    QCOMPARE(sentence(7, 4, "de_DE"), u"Item 2 pays for itself after 7 months (Juli 2027)"_s);
    QCOMPARE(sentence(std::nullopt, 4, "en_GB"),
             u"Item 2 does not pay for itself within 4.0 years"_s);
    QCOMPARE(sentence(std::nullopt, 2.5, "de_DE"),
             u"Item 2 does not pay for itself within 2,5 years"_s);
}

void TestComparison::exportHeadings_data()
{
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("item1"); // the appliance picked, or nothing for typed figures
    QTest::addColumn<QString>("item2");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("header"); // the CSV header
    const QString typed =
        u"Item 1 cost (£),Item 2 cost (£),Item 1 kWh,Item 2 kWh,Item 1 CO2 (Kg),Item 2 CO2 (Kg)"_s;
    QTest::newRow("typed items") << ""
                                 << ""
                                 << ""
                                 << "Torvane Cost Chart" << u"Month,Up to,"_s + typed;
    QTest::newRow("typed items with notes on lines")
        << " Hall\tlamps\n"
        << ""
        << ""
        << "Hall lamps" << u"Month: Hall lamps,Up to,"_s + typed;
    QTest::newRow("picked pair")
        << "Kitchen"
        << "Fridge-freezer, 2000s model"
        << "Fridge-freezer \"D\""
        << "Kitchen \u2014 Item 1: Fridge-freezer, 2000s model \u2014 Item 2: Fridge-freezer \"D\""
        << "Month: Kitchen,Up to,\"Item 1 cost (£): Fridge-freezer, 2000s model\",\"Item 2 cost "
           "(£): Fridge-freezer "
           "\"\"D\"\"\",\"Item 1 kWh: Fridge-freezer, 2000s model\",\"Item 2 kWh: "
           "Fridge-freezer \"\"D\"\"\",\"Item 1 CO2 (Kg): Fridge-freezer, 2000s model\",\"Item 2 "
           "CO2 (Kg): Fridge-freezer \"\"D\"\"\"";
    QTest::newRow("item 2 picked")
        << ""
        << ""
        << "Kettle"
        << "Item 2: Kettle"
        << "Month,Up to,Item 1 cost (£),Item 2 cost (£): Kettle,Item 1 kWh,Item 2 kWh: Kettle,"
           "Item 1 CO2 (Kg),Item 2 CO2 (Kg): Kettle";
}

void TestComparison::exportHeadings()
{
    QFETCH(QString, notes);
    QFETCH(QString, item1);
    QFETCH(QString, item2);
    QFETCH(QString, title);
    QFETCH(QString, header);
    ScriptedDesktop desktop;
    const Regional british(QLocale(u"en_GB"_s));
    ChartForm chart(british, desktop);
    chart.setResult({{}, {}, 1, 0, 0.43, u"Kg"_s}, QDate(2026, 12, 4), {notes, item1, item2});
    QCOMPARE(chart.title(), title);
    QCOMPARE(chart.csvText().section(u"\r\n"_s, 0, 0), header);
}

QTEST_GUILESS_MAIN(TestComparison)
#include "tst_comparison.moc"
