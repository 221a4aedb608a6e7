// The Calculate button on the window's model: the checks as the window shows them, the
// state a calculation leaves in every locale, kept tariffs, months and inflation, the
// differences and their colours, and test modes. The figures themselves are checked end
// to end through the batch tool (tests/fixtures).

#include "calc/validation.h"
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
    void refusalShowsEveryMessage();
    void workedExampleInEveryLocale();
    void unchangedAndEmptyData();
    void keptTariff();
    void monthsAndInflation();
    void differenceColours_data();
    void differenceColours();
    void runtimeErrorsOnlyInTestModes_data();
    void runtimeErrorsOnlyInTestModes();
};

void TestComparison::checksInTestModes_data()
{
    QTest::addColumn<TestMode>("mode");
    QTest::addColumn<QString>("messages");

    const QString tariff = u"Normal Rate must be between 0.01 and 0.99\n"_s;
    const QString item = u"Item 1 Life must be 0 or between 500 and 50000 Hours\n"_s;
    const QString noHours = u"Normal Rate Hours and Cheap Rate Hours cannot both be empty or 0\n"_s;
    // The tariff is never reformatted while a tariff message stands, even a dropped one.
    QTest::newRow("normal") << TestMode() << tariff + item + noHours;
    QTest::newRow("-InhibitErrorCheck") << TestMode(TestMode::InhibitErrorCheck) << QString();
    QTest::newRow("-InhibitErrorCheck -OutputStatus")
        << TestMode(TestMode::InhibitErrorCheck, true) << item + noHours;
    QTest::newRow("-InhibitCombCheck") << TestMode(TestMode::InhibitCombCheck) << tariff + item;
    QTest::newRow("-InhibitCombCheck -OutputStatus")
        << TestMode(TestMode::InhibitCombCheck, true) << tariff + item + noHours;
}

void TestComparison::checksInTestModes()
{
    QFETCH(TestMode, mode);
    QFETCH(QString, messages);

    FormFixture f(u"en_GB"_s, mode);
    f.type({{"NormalR", "5"},
            {"PayPeriod", "4"},
            {"CO2", "0.43"},
            {"Item1Watts", "100"},
            {"Item1Life", "100"},
            {"Item1Cost", "25"},
            {"Item2Watts", "5"},
            {"Item2SWatts", "-5"}});
    ComparisonInputs in = readComparison(f.form, f.regional);
    Check(f.context, in.tariff);
    Check1(f.context, in);
    Check0(f.context, in);
    Check2(f.context, in);
    QCOMPARE(f.form.MsgText, messages);
    QCOMPARE(f.form.NormalR.text(), u"5"_s);
    // Opposite values add up to nothing: the item counts as not entered.
    QCOMPARE(f.form.Item2Blank, qint16(1));
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
        Check0(f.context, in);
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

void TestComparison::refusalShowsEveryMessage()
{
    FormFixture f;
    f.type({{"NormalR", "1"},
            {"NormalHr", "30"},
            {"Item1Watts", "0"},
            {"Item1Life", "10"},
            {"Item2Cost", "9000"},
            {"Item2Watts", "5"},
            {"PayPeriod", "4"},
            {"CO2", "0.4"}});
    f.desktop.expectBox(MessageAnswer::Ok);
    f.calculate();
    QCOMPARE(f.desktop.boxes.size(), 1);
    const ScriptedDesktop::Box& box = f.desktop.boxes.front();
    QCOMPARE(box.title, u"Torvane Data Error"_s);
    QCOMPARE(box.icon, MessageIcon::Exclamation);
    QCOMPARE(box.text, u"Normal Rate must be between 0.01 and 0.99\n"
                       "Normal Rate Hours On must be between 0 and 24 Hours\n"
                       "Item 1 Life must be 0 or between 500 and 50000 Hours\n"
                       "Item 1 Wattage must be between 1.0 and 7000.0 Watts\n"
                       "Item 2 Cost must be between 0 or between 0.1 and 5000\n"_s);
    // The fields stay as typed for the user to correct, the symbol back on the money.
    QCOMPARE(f.form.Item1Life.text(), u"10"_s);
    QCOMPARE(f.form.NormalR.text(), u"£1"_s);
    QVERIFY(!f.form.Save.enabled());
    QVERIFY(!f.form.UpdatingFields);
    QCOMPARE(f.form.focus(), &f.form.NormalHr);
}

void TestComparison::workedExampleInEveryLocale()
{
    // Typed as a user of the locale types numbers, the worked example calculates to the
    // same figures everywhere: nothing the checks accept reaches a run-time error.
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    QVERIFY(locales.size() > 300);
    for (const QLocale& locale : locales) {
        FormFixture f(locale.name());
        for (const auto& [name, value] : {std::pair{"NormalR", 0.15},
                                          {"CheapR", 0.075},
                                          {"NormalHr", 10},
                                          {"NormalSHr", 6},
                                          {"CheapHr", 4},
                                          {"CheapSHr", 4},
                                          {"PayPeriod", 4},
                                          {"VAT", 5},
                                          {"AnInfT", 0},
                                          {"CO2", 0.43},
                                          {"Item1Watts", 100},
                                          {"Item1SWatts", 4},
                                          {"Item1Life", 10000},
                                          {"Item1Cost", 25},
                                          {"Item2Watts", 60},
                                          {"Item2SWatts", 3},
                                          {"Item2Life", 15000},
                                          {"Item2Cost", 40}})
            f.field(name).type(f.regional.formatGeneral(value));
        QVERIFY2(f.calculate(), qPrintable(locale.name()));
        QVERIFY2(f.desktop.boxes.isEmpty(), qPrintable(locale.name()));
        QCOMPARE(f.form.Item1Figures.cost.day, 0.24541);
        QCOMPARE(f.form.Item1Figures.cost.period, 358.30);
        QCOMPARE(f.form.Item1Figures.co2.value_or(0), 904.0);
        // Calculating again finds nothing changed: what the window shows it reads back.
        QVERIFY(f.calculate());
        QCOMPARE(f.services.statusMessages, QStringList{u"The Data Has Not Changed"_s});
    }

    // The state a calculation leaves, with the currency before, after and without a symbol.
    for (const auto& [locale, dayCost, payPeriod] : {std::tuple{"en_GB", u"£0.24541"_s, u"4.0"_s},
                                                     {"de_DE", u"0,24541\u00A0€"_s, u"4,0"_s},
                                                     {"C", u"0.24541"_s, u"4.0"_s}}) {
        FormFixture f(QString::fromLatin1(locale));
        f.typeWorkedExample();
        f.calculate();
        const MainForm& m = f.form;
        QCOMPARE(m.Item1DayCost, dayCost);
        QCOMPARE(m.Item1Day.text(), dayCost); // cost output is shown at first
        QCOMPARE(m.Item1No.text(), u"3"_s);
        QCOMPARE(m.AnInfT.text(), QString()); // zero inputs show empty again
        QCOMPARE(m.Item1CWatts.text(), QString());
        QCOMPARE(m.PayPeriod.text(), payPeriod);
        QVERIFY(m.Save.enabled() && m.Keep.enabled() && !m.UpdatingFields);
        QCOMPARE(m.Item1Blank, qint16(0));
        QCOMPARE(m.StepNumber, qint16(210)); // the record writer's last stage
        QCOMPARE(m.focus(), &m.NormalHr);
        QVERIFY(f.services.appended.isEmpty());
    }
}

void TestComparison::unchangedAndEmptyData()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    const QString record = f.form.RecordText;
    f.click(f.form.Save);
    QCOMPARE(f.services.appended.size(), 1);
    f.calculate();
    QCOMPARE(f.services.statusMessages, QStringList{u"The Data Has Not Changed"_s});
    QCOMPARE(f.form.RecordText, record);
    QVERIFY(!f.form.Save.enabled());
    // Item 2 left out: its outputs and the differences empty, Item 1 still calculated.
    f.type({{"Item2Watts", ""}, {"Item2SWatts", ""}, {"Item2Life", ""}, {"Item2Cost", ""}});
    f.calculate();
    MainForm& m = f.form;
    QCOMPARE(m.Item1Day.text(), u"£0.24541"_s);
    for (const TextBox* cleared : {&m.Item2No, &m.Item2Day, &m.Item2Qtr, &m.Item2Period, &m.Item2SB,
                                   &m.Item2CO2, &m.DaySave, &m.QtrSave, &m.PeriodSave, &m.CO2Save})
        QVERIFY2(cleared->text().isEmpty(), qPrintable(cleared->name()));
    QCOMPARE(m.DayCostSave, QString());
    QVERIFY(m.Save.enabled());
    // Both left out: nothing to calculate, and nothing to save.
    f.type({{"Item1Watts", ""}, {"Item1SWatts", ""}, {"Item1Life", ""}, {"Item1Cost", ""}});
    f.calculate();
    QCOMPARE(f.services.statusMessages.last(), u"No Data To Calculate"_s);
    QCOMPARE(m.PendingLogText, QString());
    QCOMPARE(m.RecordText, QString());
    QCOMPARE(m.Item1Day.text(), QString());
}

void TestComparison::keptTariff()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    f.click(f.form.Keep);
    QVERIFY(f.form.TariffKept);
    // Item 2 tried with other hours against Item 1's standing figures.
    f.type({{"NormalHr", "9"}, {"Item2Watts", "50"}});
    f.calculate();
    MainForm& m = f.form;
    QCOMPARE(m.Item1DayCost, u"£0.24541"_s);
    QCOMPARE(m.Item1HoursUsed, 20440.0);
    QCOMPARE(m.HoursUsed.text(), u"18980"_s);
    QCOMPARE(m.Item1Hours.normal, 10.0);
    QCOMPARE(m.Item2DayUnits, u"0.680"_s);

    // A refused calculation empties Item 1's figures: it is worked out again, not failed.
    f.type({{"Item2Watts", "9000"}});
    f.desktop.expectBox(MessageAnswer::Ok);
    f.calculate();
    QCOMPARE(m.Item1DayCost, QString());
    f.type({{"Item2Watts", "60"}, {"NormalHr", "10"}});
    f.calculate();
    QCOMPARE(f.services.fatalTitle, QString());
    QCOMPARE(m.Item1DayCost, u"£0.24541"_s);
    QCOMPARE(m.DayCostSave, u"£0.07344"_s);
    // The same after a switch to months, which empties Item 1's CO2.
    f.click(m.MonthlyT);
    f.calculate();
    QCOMPARE(m.Item1QtrCost, u"£7.46"_s);
    QCOMPARE(m.Item1CO2.text(), u"904.0"_s);

    // Item 2 emptied while kept: nothing to compare.
    f.type({{"Item2Watts", ""}, {"Item2SWatts", ""}, {"Item2Life", ""}, {"Item2Cost", ""}});
    f.calculate();
    QCOMPARE(f.services.statusMessages.last(), u"No Data To Calculate"_s);
    QCOMPARE(m.Item1No.text(), QString());
}

void TestComparison::monthsAndInflation()
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

    m.Save_Defaults.setEnabled(false);
    f.click(m.MonthlyT);
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

void TestComparison::differenceColours_data()
{
    // Item 1's wattage against Item 2's fixed 100 W dearer bulb; watts, then the colours of
    // the three differences in the cost and the electricity view, and of the CO2 saving.
    QTest::addColumn<QString>("item1Watts");
    QTest::addColumn<QString>("item1Cost");
    QTest::addColumn<bool>("costOrange");
    QTest::addColumn<bool>("unitsOrange");
    QTest::addColumn<bool>("co2Orange");
    QTest::newRow("item 1 dearer in both") << u"200"_s << u"25"_s << false << false << false;
    QTest::newRow("item 2 dearer in both") << u"60"_s << u"25"_s << true << true << true;
    // Item 2 uses more, but Item 1's price makes it dearer: the electricity view is orange.
    QTest::newRow("item 2 uses more, item 1 costs more")
        << u"90"_s << u"5000"_s << false << true << true;
}

void TestComparison::differenceColours()
{
    QFETCH(QString, item1Watts);
    QFETCH(QString, item1Cost);
    QFETCH(bool, costOrange);
    QFETCH(bool, unitsOrange);
    QFETCH(bool, co2Orange);

    FormFixture f;
    f.typeWorkedExample();
    f.type(
        {{"Item2Watts", "100"}, {"Item2SWatts", "4"}, {"Item2Life", "10000"}, {"Item2Cost", "25"}});
    f.field("Item1Watts").type(item1Watts);
    f.field("Item1Cost").type(item1Cost);
    f.calculate();
    MainForm& m = f.form;
    const auto colour = [](bool orange) {
        return orange ? Colours::orange : Colours::black;
    };
    QCOMPARE(m.CO2Save.foreColour(), colour(co2Orange));
    for (const TextBox* saving : {&m.DaySave, &m.QtrSave, &m.PeriodSave})
        QCOMPARE(saving->foreColour(), colour(costOrange));
    // Switching to electricity colours what is negative there; it stays until the next
    // calculation, which sets every difference back to black first.
    f.click(m.OutputType);
    for (const TextBox* saving : {&m.DaySave, &m.QtrSave, &m.PeriodSave})
        QCOMPARE(saving->foreColour(), colour(costOrange || unitsOrange));
    f.typeWorkedExample();
    f.calculate();
    QCOMPARE(m.DaySave.foreColour(), Colours::black);
    QCOMPARE(m.CO2Save.foreColour(), Colours::black);
}

void TestComparison::runtimeErrorsOnlyInTestModes_data()
{
    QTest::addColumn<QStringList>("typed"); // field, text, field, text...
    QTest::addColumn<QString>("fatalTitle");
    QTest::addColumn<qint16>("fatalStep");
    QTest::addColumn<QStringList>("shown"); // field, text... as the fields stand after

    // With the checks off, Item 2 with a life and a price but no power calculates: its
    // day cost is the purchases spread over the period, 2 x 40 over 4 years.
    QTest::newRow("no power") << QStringList{u"Item2Watts"_s, {}, u"Item2SWatts"_s, {}} << QString()
                              << qint16(0)
                              << QStringList{u"Item2CO2"_s, u"0.0"_s,     u"Item2SB"_s, {},
                                             u"Item2Day"_s, u"£0.05479"_s};
    // A tariff the checks would refuse fails where the calculation reads it strictly, and
    // leaves what was worked out so far for the report.
    QTest::newRow("VAT read strictly")
        << QStringList{u"VAT"_s, u"abc"_s} << u"Calculation Error"_s << qint16(104)
        << QStringList{u"Item1SB"_s, u"2.5%"_s, u"Item1Day"_s, {}};
    // A life past the largest double reads back as it, and strictly as an overflow.
    QTest::newRow("life beyond a double")
        << QStringList{u"Item2Life"_s, u"1e400"_s} << u"Calculation Error"_s << qint16(105)
        << QStringList{u"Item2Life"_s, u"179769313486232"_s + QString(294, u'0')};
    // A negative cost is shown in parentheses after the symbol, and the record cannot
    // read it back.
    QTest::newRow("negative rate") << QStringList{u"CheapR"_s, u"-5"_s} << u"Log Generation Error"_s
                                   << qint16(208) << QStringList{u"Item1Day"_s, u"£(£1.97135)"_s};
    // The years of inflation are counted by a 16-bit counter. Over so many years the
    // purchases cost 14 hours a day / 10000 hours x 25 a day, besides 0.19404 of power.
    QTest::newRow("32767 years") << QStringList{u"PayPeriod"_s, u"32767.5"_s} << QString()
                                 << qint16(0) << QStringList{u"Item1Day"_s, u"£0.22904"_s};
    QTest::newRow("32768 years") << QStringList{u"PayPeriod"_s, u"32768"_s}
                                 << u"Calculation Error"_s << qint16(103)
                                 << QStringList{u"Item1Day"_s, {}};
}

void TestComparison::runtimeErrorsOnlyInTestModes()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, fatalTitle);
    QFETCH(qint16, fatalStep);
    QFETCH(QStringList, shown);

    FormFixture f(u"en_GB"_s, TestMode::InhibitErrorCheck);
    f.typeWorkedExample();
    for (qsizetype i = 0; i < typed.size(); i += 2)
        f.field(typed[i].toLatin1().constData()).type(typed[i + 1]);
    if (fatalTitle.isEmpty())
        QVERIFY(f.calculate());
    else
        QVERIFY_THROWS_EXCEPTION(ProgramEnded, f.form.Calc.click());
    QCOMPARE(f.services.fatalTitle, fatalTitle);
    QCOMPARE(f.services.fatalStep, fatalStep);
    for (qsizetype i = 0; i < shown.size(); i += 2)
        QCOMPARE(f.field(shown[i].toLatin1().constData()).text(), shown[i + 1]);
}

QTEST_GUILESS_MAIN(TestComparison)
#include "tst_comparison.moc"
