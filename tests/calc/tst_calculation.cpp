// The Calculate button from checks to saving: figures, kept tariff, monthly output,
// inflation, purchases, negative differences, status outcomes and run-time errors.

#include "calc/calculation.h"
#include "support/test_doubles.h"

#include <QTest>

#include <random>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

class TestCalculation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedExample_data();
    void workedExample();
    void unchangedDataIsRecognised();
    void blankItems();
    void keptTariff();
    void keptTariffAfterRefusedCalculation();
    void monthlyAndInflation();
    void negativeDifferences();
    void item2WithoutWattage();
    void acceptedInputNeverFails_data();
    void acceptedInputNeverFails();
};

void TestCalculation::workedExample_data()
{
    // The figures themselves are checked end to end by the batch tool's tests; here the
    // state a calculation leaves, with the currency before, after and without a symbol.
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("dayCost");
    QTest::addColumn<QString>("payPeriod");
    QTest::newRow("en_GB") << u"en_GB"_s << u"£0.24541"_s << u"4.0"_s;
    QTest::newRow("de_DE") << u"de_DE"_s << u"0,24541\u00A0€"_s << u"4,0"_s;
    QTest::newRow("C") << u"C"_s << u"0.24541"_s << u"4.0"_s;
}

void TestCalculation::workedExample()
{
    QFETCH(QString, locale);
    QFETCH(QString, dayCost);
    QFETCH(QString, payPeriod);

    FormFixture f(locale);
    f.typeWorkedExample();
    f.calculate();

    MainForm& m = f.form;
    QCOMPARE(f.desktop.boxes.size(), 0);
    QCOMPARE(m.Item1DayCost, dayCost);
    QCOMPARE(m.Item1Day.text(), dayCost); // cost output is shown at first
    QCOMPARE(m.Item1No.text(), u"3"_s);
    QCOMPARE(m.DaySave.foreColour(), Colours::black);
    QVERIFY(!m.CostSaveNegative);
    // The zero inflation and continuous wattages show empty again.
    QCOMPARE(m.AnInfT.text(), QString());
    QCOMPARE(m.Item1CWatts.text(), QString());
    QCOMPARE(m.PayPeriod.text(), payPeriod);
    QVERIFY(m.Save.enabled());
    QVERIFY(m.Keep.enabled());
    QVERIFY(!m.UpdatingFields);
    QCOMPARE(m.Item1Blank, qint16(0));
    QCOMPARE(m.StepNumber, qint16(210)); // the record writer's last stage
    QCOMPARE(m.focus(), &m.NormalHr);
    QVERIFY(f.services.statusMessages.isEmpty());
    QVERIFY(f.services.appended.isEmpty());
}

void TestCalculation::unchangedDataIsRecognised()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    const QString record = f.form.RecordText;
    f.form.Save.click();
    QCOMPARE(f.services.appended.size(), 1);
    f.calculate();
    QCOMPARE(f.services.statusMessages, QStringList{u"The Data Has Not Changed"_s});
    QCOMPARE(f.form.RecordText, record);
    QVERIFY(!f.form.Save.enabled());
    // A changed note is a change.
    f.type({{"Notes", "kitchen"}});
    f.calculate();
    QCOMPARE(f.services.statusMessages.size(), 1);
    QVERIFY(f.form.Save.enabled());
}

void TestCalculation::blankItems()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    f.type({{"Item2Watts", ""}, {"Item2SWatts", ""}, {"Item2Life", ""}, {"Item2Cost", ""}});
    f.calculate();
    MainForm& m = f.form;
    QCOMPARE(m.Item1Day.text(), u"£0.24541"_s);
    for (const TextBox* cleared : {&m.Item2No, &m.Item2Day, &m.Item2Qtr, &m.Item2Period, &m.Item2SB,
                                   &m.Item2CO2, &m.DaySave, &m.QtrSave, &m.PeriodSave, &m.CO2Save})
        QVERIFY2(cleared->text().isEmpty(), qPrintable(cleared->name()));
    QCOMPARE(m.DayCostSave, QString());
    QCOMPARE(m.PeriodUnitsSave, QString());
    QVERIFY(m.Save.enabled());

    f.type({{"Item1Watts", ""}, {"Item1SWatts", ""}, {"Item1Life", ""}, {"Item1Cost", ""}});
    f.calculate();
    QCOMPARE(f.services.statusMessages, QStringList{u"No Data To Calculate"_s});
    QCOMPARE(m.PendingLogText, QString());
    QCOMPARE(m.RecordText, QString());
    QCOMPARE(m.Item1No.text(), QString());
    QCOMPARE(m.Item1Day.text(), QString());
}

void TestCalculation::keptTariff()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    f.form.Keep.click();
    QVERIFY(f.form.TariffKept);
    // Item 2 tried with other hours against Item 1's standing figures.
    f.type({{"NormalHr", "9"}, {"Item2Watts", "50"}});
    f.calculate();
    MainForm& m = f.form;
    QCOMPARE(m.Item1DayCost, u"£0.24541"_s);
    QCOMPARE(m.Item1HoursUsed, u"20440"_s);
    QCOMPARE(m.HoursUsed.text(), u"18980"_s);
    QCOMPARE(m.Item1NormalHr, u"10.0"_s);
    QCOMPARE(m.Item2DayUnits, u"0.680"_s);

    // Item 2 emptied while kept: nothing to compare.
    f.type({{"Item2Watts", ""}, {"Item2SWatts", ""}, {"Item2Life", ""}, {"Item2Cost", ""}});
    f.calculate();
    QCOMPARE(f.services.statusMessages.last(), u"No Data To Calculate"_s);
    QCOMPARE(m.Item1No.text(), QString());
}

void TestCalculation::keptTariffAfterRefusedCalculation()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    f.form.Keep.click();
    f.type({{"Item2Watts", "9000"}});
    f.desktop.expectBox(MessageAnswer::Ok);
    f.calculate();
    QCOMPARE(f.form.Item1DayCost, QString());
    QCOMPARE(f.form.Item1CO2.text(), QString());
    // Item 1's figures were emptied: it is worked out again rather than failing.
    f.type({{"Item2Watts", "60"}});
    f.calculate();
    QCOMPARE(f.services.fatalTitle, QString());
    QCOMPARE(f.form.Item1DayCost, u"£0.24541"_s);
    QCOMPARE(f.form.DayCostSave, u"£0.07344"_s);

    // The same after a switch to months, which empties Item 1's CO2.
    f.form.MonthlyT.userClick();
    f.calculate();
    QCOMPARE(f.form.Item1QtrCost, u"£7.46"_s);
    QCOMPARE(f.form.Item1CO2.text(), u"904.0"_s);
}

void TestCalculation::monthlyAndInflation()
{
    FormFixture f;
    f.type({{"NormalR", "0.20"},
            {"NormalHr", "10"},
            {"PayPeriod", "2.5"},
            {"CO2", "0.5"},
            {"AnInfT", "10"},
            {"Item1Watts", "100"}});
    f.calculate();
    MainForm& m = f.form;
    // Exactly the single-precision products (QCOMPARE would forgive the last bits).
    QVERIFY(m.InflationFactor == static_cast<float>(1.1 * static_cast<float>(1.1)));
    QVERIFY(m.InflationSum ==
            static_cast<float>(std::pow(1.1, 2) + static_cast<float>(1.1 + 1.0)) - 1.0f);
    // The figures of this case are in tests/fixtures/calculations.csv.

    m.Save_Defaults.setEnabled(false);
    f.form.MonthlyT.userClick();
    // The results are emptied and relabelled; the switch is one of the saved defaults.
    QCOMPARE(m.Item1Qtr.text(), QString());
    QCOMPARE(m.Item1No.text(), QString());
    QCOMPARE(m.HoursUsed.text(), QString());
    QCOMPARE(m.ItemQtrL.text(), u" Cost / Mth"_s);
    QVERIFY(m.Save_Defaults.enabled());
    f.calculate();
    QCOMPARE(m.Item1Qtr.text(), u"£7.36"_s);
    QCOMPARE(m.Item1Qtr.toolTip(), u"Total cost of item 1 per month"_s);
}

void TestCalculation::negativeDifferences()
{
    FormFixture f;
    f.typeWorkedExample();
    // Item 2 is now the dearer one.
    f.type({{"Item1Watts", "60"},
            {"Item1SWatts", "3"},
            {"Item1Life", "15000"},
            {"Item1Cost", "40"},
            {"Item2Watts", "100"},
            {"Item2SWatts", "4"},
            {"Item2Life", "10000"},
            {"Item2Cost", "25"}});
    f.calculate();
    MainForm& m = f.form;
    QVERIFY(m.CostSaveNegative);
    QVERIFY(m.UnitsSaveNegative);
    // The sizes of the differences are in tests/fixtures/calculations.csv.
    QCOMPARE(m.CO2Save.foreColour(), Colours::orange);
    for (const TextBox* saving : {&m.DaySave, &m.QtrSave, &m.PeriodSave})
        QCOMPARE(saving->foreColour(), Colours::orange);

    // A positive comparison afterwards turns the colours back.
    f.typeWorkedExample();
    f.calculate();
    QVERIFY(!m.CostSaveNegative);
    QCOMPARE(m.DaySave.foreColour(), Colours::black);
    QCOMPARE(m.CO2Save.foreColour(), Colours::black);
}

void TestCalculation::item2WithoutWattage()
{
    // Only reachable with the checks off: Item 2 has a life and a price but no power.
    FormFixture f(u"en_GB"_s, 1);
    f.typeWorkedExample();
    f.type({{"Item2Watts", ""}, {"Item2SWatts", ""}});
    f.calculate();
    MainForm& m = f.form;
    QCOMPARE(f.services.fatalTitle, QString());
    QCOMPARE(m.Item2CO2.text(), u"0.0"_s);
    QCOMPARE(m.CO2Save.text(), u"904.0"_s);
    QCOMPARE(m.Item2SB.text(), QString());
    QCOMPARE(m.Item2DayUnits, u"0.000"_s);
    // The day cost is the purchases spread over the period: 2 x 40 over 4 years.
    QCOMPARE(m.Item2DayCost, u"£0.05479"_s);
    QCOMPARE(m.Item2PeriodCost, u"£80.00"_s);
}

void TestCalculation::acceptedInputNeverFails_data()
{
    QTest::addColumn<QString>("locale");
    for (const char* locale : {"en_GB", "en_US", "de_DE", "fr_FR", "C"})
        QTest::newRow(locale) << QString::fromLatin1(locale);
}

void TestCalculation::acceptedInputNeverFails()
{
    QFETCH(QString, locale);
    // Random texts in and around the accepted ranges, with the window's switches pressed
    // in between: a refusal is fine, a run-time error never.
    FormFixture f(locale);
    f.desktop.answerEveryBox = true;
    std::mt19937 random(20261206);
    const auto number = [&](double low, double high, int decimals) {
        std::uniform_real_distribution<double> pick(low, high);
        return f.regional.formatFixed(pick(random), decimals);
    };
    struct Range {
        const char* field;
        double low;
        double high;
    };
    // Accepted ranges, the hours kept within a day so that most rounds calculate.
    const Range ranges[] = {
        {"NormalR", 0.01, 0.99},   {"CheapR", 0.01, 0.99},
        {"NormalHr", 0.1, 12},     {"CheapHr", 0, 4},
        {"NormalSHr", 0, 6},       {"CheapSHr", 0, 4},
        {"PayPeriod", 1, 10},      {"VAT", 1, 50},
        {"AnInfT", -30, 199},      {"CO2", 0.1, 2},
        {"Item1Watts", 0.1, 7000}, {"Item1SWatts", 0, 99},
        {"Item1CWatts", 0, 99},    {"Item2Watts", 0.1, 7000},
        {"Item2SWatts", 0, 99},    {"Item2CWatts", 0, 99},
        {"Item1No", 0, 5},
    };
    const auto pick = [&](const Range& range) {
        switch (random() % 40) {
        case 0:
            return QString();
        case 1:
            return u"0"_s;
        case 2: // now and then out of range
            return number(range.high, range.high * 1.5 + 1, 1);
        default:
            return number(range.low, range.high, static_cast<int>(random() % 4));
        }
    };
    int calculated = 0;
    for (int round = 0; round < 400; ++round) {
        for (const Range& range : ranges)
            f.field(range.field).type(pick(range));
        // Life and price go together, or neither is given.
        for (const auto& [life, cost] :
             {std::pair{"Item1Life", "Item1Cost"}, {"Item2Life", "Item2Cost"}}) {
            const bool given = random() % 2 == 0;
            f.field(life).type(given ? number(500, 50000, 0) : QString());
            f.field(cost).type(given ? number(0.1, 5000, 2) : QString());
        }
        switch (random() % 8) {
        case 0:
            f.form.Keep.click();
            break;
        case 1:
            f.form.MonthlyT.userClick();
            break;
        case 2:
            f.form.OutputType.click();
            break;
        case 3:
            f.form.Units1.userClick();
            break;
        default:
            break;
        }
        const qsizetype boxes = f.desktop.boxes.size();
        f.calculate();
        QVERIFY2(f.services.fatalTitle.isEmpty(),
                 qPrintable(f.services.fatalTitle + QString::number(f.services.fatalStep)));
        if (f.desktop.boxes.size() == boxes)
            ++calculated;
    }
    QVERIFY2(calculated > 100, qPrintable(QString::number(calculated)));
}

QTEST_GUILESS_MAIN(TestCalculation)
#include "tst_calculation.moc"
