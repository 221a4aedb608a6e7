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
    void numberOfItems_data();
    void numberOfItems();
    void continuousStandbyAndCheapRate_data();
    void continuousStandbyAndCheapRate();
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
    // Running cost counts the 2 whole years at their prices; kWh the full 2.5 years.
    QCOMPARE(m.Item1DayCost, u"£0.24200"_s);
    QCOMPARE(m.Item1PeriodCost, u"£168.63"_s);
    QCOMPARE(m.Item1QtrCost, u"£22.08"_s);
    QCOMPARE(m.Item1PeriodUnits, u"912.5"_s);
    QCOMPARE(m.Item1QtrUnits, u"91.25"_s);
    QCOMPARE(m.Item1SB.text(), QString()); // no standby: 0.0% is shown empty
    QCOMPARE(m.Item1CO2.text(), u"456.3"_s);

    m.Save_Defaults.setEnabled(false);
    f.form.MonthlyT.userClick();
    // The results are emptied and relabelled; the switch is one of the saved defaults.
    QCOMPARE(m.Item1Qtr.text(), QString());
    QCOMPARE(m.Item1No.text(), QString());
    QCOMPARE(m.HoursUsed.text(), QString());
    QCOMPARE(m.ItemQtrL.text(), u" Cost / Mth"_s);
    QVERIFY(m.Save_Defaults.enabled());
    f.calculate();
    QCOMPARE(m.Item1QtrUnits, u"30.42"_s);
    QCOMPARE(m.Item1QtrCost, u"£7.36"_s);
    QCOMPARE(m.Item1Qtr.toolTip(), u"Total cost of item 1 per month"_s);
}

void TestCalculation::numberOfItems_data()
{
    QTest::addColumn<QString>("normalHours");
    QTest::addColumn<QString>("life");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("periodCost");

    // 24 hours a day for one year: 8760 hours on.
    QTest::newRow("exact ratio") << u"24"_s << u"8760"_s << u"1"_s << u"£110.48"_s;
    QTest::newRow("rounded up") << u"24"_s << u"8000"_s << u"2"_s << u"£120.48"_s;
    QTest::newRow("no life") << u"24"_s << QString() << QString() << u"£100.48"_s;
}

void TestCalculation::numberOfItems()
{
    QFETCH(QString, normalHours);
    QFETCH(QString, life);
    QFETCH(QString, count);
    QFETCH(QString, periodCost);

    FormFixture f;
    f.type({{"NormalR", "0.1"}, {"PayPeriod", "1"}, {"CO2", "0.5"}, {"Item1Watts", "114.7"}});
    f.field("NormalHr").type(normalHours);
    f.field("Item1Life").type(life);
    f.field("Item1Cost").type(life.isEmpty() ? QString() : u"10"_s);
    f.calculate();
    QCOMPARE(f.form.HoursUsed.text(), u"8760"_s);
    QCOMPARE(f.form.Item1No.text(), count);
    QCOMPARE(f.form.Item1PeriodCost, periodCost);
}

void TestCalculation::continuousStandbyAndCheapRate_data()
{
    QTest::addColumn<QString>("cheapRate");
    QTest::addColumn<QString>("cheapHours");
    QTest::addColumn<QString>("dayCost");
    QTest::addColumn<QString>("share");
    QTest::addColumn<QString>("dayUnits");
    QTest::addColumn<QString>("co2");

    // 100 W on for 4 normal hours, 10 W continuous, 5 W standby for 5 cheap-rate hours.
    // Without cheap hours the cheap standby counts only in the CO2.
    // Continuous standby at the normal rate all day when there is no cheap rate.
    QTest::newRow("no cheap rate")
        << QString() << QString() << u"£0.06400"_s << u"37.5%"_s << u"0.640"_s << u"116.8"_s;
    QTest::newRow("cheap rate, no cheap hours")
        << u"0.05"_s << QString() << u"£0.06100"_s << u"34.4%"_s << u"0.640"_s << u"121.4"_s;
    QTest::newRow("cheap rate and hours")
        << u"0.05"_s << u"1"_s << u"£0.06725"_s << u"33.0%"_s << u"0.765"_s << u"139.6"_s;
}

void TestCalculation::continuousStandbyAndCheapRate()
{
    QFETCH(QString, cheapRate);
    QFETCH(QString, cheapHours);
    QFETCH(QString, dayCost);
    QFETCH(QString, share);
    QFETCH(QString, dayUnits);
    QFETCH(QString, co2);

    FormFixture f;
    f.type({{"NormalR", "0.1"},
            {"PayPeriod", "1"},
            {"CO2", "0.5"},
            {"NormalHr", "4"},
            {"Item1Watts", "100"},
            {"Item1CWatts", "10"},
            {"Item1SWatts", "5"}});
    f.field("CheapR").type(cheapRate);
    f.field("CheapHr").type(cheapHours);
    f.field("CheapSHr").type(cheapRate.isEmpty() ? QString() : u"5"_s);
    f.calculate();
    QCOMPARE(f.desktop.boxes.size(), 0);
    QCOMPARE(f.form.Item1DayCost, dayCost);
    QCOMPARE(f.form.Item1SB.text(), share);
    QCOMPARE(f.form.Item1DayUnits, dayUnits);
    QCOMPARE(f.form.Item1CO2.text(), co2);
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
    QCOMPARE(m.DayCostSave, u"£0.07344"_s);
    QCOMPARE(m.QtrCostSave, u"£6.70"_s);
    QCOMPARE(m.PeriodCostSave, u"£107.22"_s);
    QCOMPARE(m.DayUnitsSave, u"0.570"_s);
    QCOMPARE(m.CO2Save.text(), u"357.8"_s);
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
