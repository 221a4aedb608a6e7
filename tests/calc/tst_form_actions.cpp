// The window's own buttons and switches: Keep, Clear, Save, AutoSave, MonthlyT, the
// change handlers, the currency symbol, the output and unit switches and the clean-ups.

#include "calc/cleanup.h"
#include "calc/presentation.h"
#include "support/test_doubles.h"

#include <QTest>

using namespace torvane;
using namespace torvane::test;

class TestFormActions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void freshWindow();
    void changeHandlersMarkOnlyUserEdits_data();
    void changeHandlersMarkOnlyUserEdits();
    void keepTogglesTheLook();
    void clearReleasesAndEmpties();
    void saveOnlyOnce();
    void autoSaveDisablesPendingSave();
    void monthlyEmptiesResults();
    void currencySymbol_data();
    void currencySymbol();
    void outputTypeSwitch();
    void units();
    void cleanupEmptiesZeroInputs();
    void notesLimit();
};

void TestFormActions::freshWindow()
{
    FormFixture f;
    MainForm& m = f.form;
    // Cost is shown first; nothing to keep, save or mark as changed.
    QCOMPARE(m.OutputType.text(), QStringLiteral("K&WHr"));
    QCOMPARE(m.ItemQtrL.text(), QStringLiteral(" Cost / Qtr"));
    QCOMPARE(m.QtrSave.toolTip(),
             QStringLiteral("Difference between item 1 and item 2 cost per quarter"));
    QVERIFY(!m.Save.enabled() && !m.Keep.enabled() && !m.Save_Defaults.enabled());
    QVERIFY(!m.UpdatingFields);
    QCOMPARE(m.control(u"Item2CWatts"), &m.Item2CWatts);
}

void TestFormActions::changeHandlersMarkOnlyUserEdits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("marks");
    for (const char* tariff : {"AnInfT", "CheapR", "CO2", "NormalR", "PayPeriod", "VAT"})
        QTest::newRow(tariff) << QString::fromLatin1(tariff) << true;
    for (const char* other : {"NormalHr", "CheapSHr", "Item1Watts", "Item2Cost", "Notes"})
        QTest::newRow(other) << QString::fromLatin1(other) << false;
}

void TestFormActions::changeHandlersMarkOnlyUserEdits()
{
    QFETCH(QString, field);
    QFETCH(bool, marks);

    FormFixture f;
    f.form.UpdatingFields = true;
    f.field(field.toLatin1().constData()).setText(QStringLiteral("7"));
    QVERIFY(!f.form.Save_Defaults.enabled());
    f.form.UpdatingFields = false;
    f.field(field.toLatin1().constData()).type(QStringLiteral("8"));
    QCOMPARE(f.form.Save_Defaults.enabled(), marks);
}

void TestFormActions::keepTogglesTheLook()
{
    FormFixture f;
    MainForm& m = f.form;
    m.Keep.click();
    QVERIFY(m.TariffKept);
    QCOMPARE(m.Keep.backColour(), Colours::lightGreen);
    QCOMPARE(m.CheapSHr.backColour(), Colours::lightGreen);
    for (const Control* locked :
         std::initializer_list<const Control*>{&m.AnInfT, &m.CheapR, &m.CO2, &m.NormalR,
                                               &m.PayPeriod, &m.VAT, &m.Reset_Defaults, &m.Units1})
        QVERIFY2(!locked->enabled(), qPrintable(locked->name()));
    QVERIFY(m.NormalHr.enabled());
    QVERIFY(m.Item1Watts.enabled());
    QVERIFY(!m.UpdatingFields);

    m.Keep.click();
    QVERIFY(!m.TariffKept);
    QCOMPARE(m.Keep.backColour(), Colours::buttonFace);
    QCOMPARE(m.NormalHr.backColour(), Colours::windowBackground);
    QVERIFY(m.VAT.enabled());
    QVERIFY(m.Units1.enabled());
}

void TestFormActions::clearReleasesAndEmpties()
{
    FormFixture f;
    f.typeWorkedExample();
    f.type({{"Notes", "hall"}});
    f.calculate();
    f.form.Keep.click();
    f.form.Clear.click();
    MainForm& m = f.form;
    QVERIFY(!m.TariffKept);
    QVERIFY(!m.Keep.enabled());
    QVERIFY(!m.Save.enabled());
    QCOMPARE(f.services.statusMessages, QStringList{QStringLiteral("Data Cleared")});
    for (const TextBox* kept : {&m.NormalR, &m.CheapR, &m.VAT, &m.CO2, &m.PayPeriod})
        QVERIFY2(!kept->text().isEmpty(), qPrintable(kept->name()));
    QCOMPARE(m.NormalR.text(), QStringLiteral("£0.150000"));
    for (const TextBox* cleared : {&m.NormalHr, &m.Item1Watts, &m.Item2Cost, &m.Notes, &m.Item1Day,
                                   &m.DaySave, &m.Item1No, &m.HoursUsed, &m.Item2SB})
        QVERIFY2(cleared->text().isEmpty(), qPrintable(cleared->name()));
    QCOMPARE(m.RecordText, QString());
    QCOMPARE(m.StepNumber, qint16(251)); // ClearOutput ran last
    QCOMPARE(m.focus(), &m.NormalHr);

    // The same data again is a new calculation, not "The Data Has Not Changed".
    f.typeWorkedExample();
    f.type({{"Notes", "hall"}});
    f.calculate();
    QCOMPARE(f.services.statusMessages.size(), 1);
    QVERIFY(m.Save.enabled());
}

void TestFormActions::saveOnlyOnce()
{
    FormFixture f;
    f.form.Save.click();
    QVERIFY(f.services.appended.isEmpty());
    f.typeWorkedExample();
    f.calculate();
    f.form.Save.click();
    f.form.Save.click();
    QCOMPARE(f.services.appended.size(), 1);
    QVERIFY(f.services.appended.front().startsWith(QStringLiteral("04/12/2026 20:31:07\r\n")));
}

void TestFormActions::autoSaveDisablesPendingSave()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    QVERIFY(f.form.Save.enabled());
    f.form.AutoSave.userClick();
    QVERIFY(!f.form.Save.enabled());
    QVERIFY(f.form.Save_Defaults.enabled());
    f.form.Save.click();
    QVERIFY(f.services.appended.isEmpty());
    f.form.AutoSave.userClick();
    QCOMPARE(f.form.Calc.toolTip(), QStringLiteral("Calculate results"));
}

void TestFormActions::monthlyEmptiesResults()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    f.form.MonthlyT.userClick();
    MainForm& m = f.form;
    for (const TextBox* cleared : {&m.Item1Day, &m.Item2Qtr, &m.PeriodSave, &m.CO2Save, &m.Item1No,
                                   &m.Item2No, &m.Item1SB, &m.HoursSUsed})
        QVERIFY2(cleared->text().isEmpty(), qPrintable(cleared->name()));
    QCOMPARE(m.ItemQtrL.text(), QStringLiteral(" Cost / Mth"));
    QVERIFY(m.Save_Defaults.enabled());
    f.calculate();
    QCOMPARE(m.Item1Qtr.text(), QStringLiteral("£7.46"));
    QVERIFY(m.RecordText.contains(QStringLiteral("KWHr/Mth, ")));
}

void TestFormActions::currencySymbol_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("taxLabel");
    QTest::addColumn<QString>("taxTip");
    QTest::addColumn<QString>("cost");

    const QString vat = QStringLiteral("VAT Rate (0 or between 1 and 50%)");
    const QString tax = QStringLiteral("Tax Rate (0 or between 1 and 50%)");
    QTest::newRow("en_GB") << QStringLiteral("en_GB") << QStringLiteral("£")
                           << QStringLiteral("VAT:") << vat << QStringLiteral("12.00");
    QTest::newRow("en_US") << QStringLiteral("en_US") << QStringLiteral("$")
                           << QStringLiteral("Tax:") << tax << QStringLiteral("12.00");
    QTest::newRow("de_DE") << QStringLiteral("de_DE") << QString() << QStringLiteral("VAT:") << vat
                           << QStringLiteral("12,00");
    QTest::newRow("C") << QStringLiteral("C") << QString() << QStringLiteral("Tax:") << tax
                       << QStringLiteral("12.00");
}

void TestFormActions::currencySymbol()
{
    QFETCH(QString, locale);
    QFETCH(QString, symbol);
    QFETCH(QString, taxLabel);
    QFETCH(QString, taxTip);
    QFETCH(QString, cost);

    FormFixture f(locale);
    QCOMPARE(f.form.CurrencySymbol, symbol);
    QCOMPARE(f.form.VATH.text(), taxLabel);
    QCOMPARE(f.form.VAT.toolTip(), taxTip);
    // Typed with the symbol or without, the cost reads the same and shows with it.
    f.form.Item1Cost.type(symbol + QStringLiteral("12"));
    f.form.Item2Cost.type(QStringLiteral("12"));
    CurrencyManagement(f.context, false, true);
    QCOMPARE(f.form.Item1Cost.text(), QStringLiteral("12"));
    f.form.Item1Cost.setText(cost);
    f.form.CheapR.setText(QString());
    CurrencyManagement(f.context, true, false);
    QCOMPARE(f.form.Item1Cost.text(), symbol + cost);
    QCOMPARE(f.form.Item2Cost.text(), symbol + QStringLiteral("12"));
    QCOMPARE(f.form.CheapR.text(), QString());
}

void TestFormActions::outputTypeSwitch()
{
    FormFixture f;
    f.typeWorkedExample();
    f.type({{"Item1Watts", "60"}, {"Item2Watts", "100"}});
    f.calculate();
    MainForm& m = f.form;
    QVERIFY(m.CostSaveNegative);
    m.OutputType.click();
    QCOMPARE(m.OutputType.text(), QStringLiteral("C&ost"));
    QCOMPARE(m.Item1Day.text(), m.Item1DayUnits);
    QCOMPARE(m.PeriodSave.text(), m.PeriodUnitsSave);
    QCOMPARE(m.ItemDayL.text(), QStringLiteral(" KWHr / Day"));
    QCOMPARE(m.ItemQtrL.text(), QStringLiteral(" KWHr /  Qtr"));
    QCOMPARE(m.ItemPeriodL.text(), QStringLiteral(" KWHr / Period"));
    QCOMPARE(m.Item2Period.toolTip(),
             QStringLiteral("Electricity used by item 2 in KWHr over payback period"));
    QCOMPARE(m.DaySave.foreColour(), Colours::orange);
    QCOMPARE(m.focus(), &m.NormalHr);
    m.OutputType.click();
    QCOMPARE(m.OutputType.text(), QStringLiteral("K&WHr"));
    QCOMPARE(m.Item1Day.text(), m.Item1DayCost);
    QCOMPARE(m.ItemPeriodL.text(), QStringLiteral("Cost / Period"));
    QCOMPARE(m.Item2Period.toolTip(), QStringLiteral("Total Cost of item 2 over payback period"));
}

void TestFormActions::units()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    MainForm& m = f.form;
    m.Save_Defaults.setEnabled(false);
    m.Units1.userClick();
    QCOMPARE(m.CO2L.text(), QStringLiteral("lb/KWHr"));
    QCOMPARE(m.ItemCO2L.text(), QStringLiteral("CO2 lb /Period"));
    QCOMPARE(m.CO2.toolTip(), QStringLiteral("CO2 Conversion Rate ( between 0.1 and 1) lb/KWHr"));
    QCOMPARE(m.Item2CO2.toolTip(), QStringLiteral("Amount of CO2 generated by Item 2 in lb"));
    QCOMPARE(m.CO2.text(), QStringLiteral("0.43"));
    QCOMPARE(m.PreviousRecordText, QString());
    QVERIFY(m.Save_Defaults.enabled());
    // Nothing else changed, yet the unit did: a new record, not "unchanged".
    f.calculate();
    QVERIFY(f.services.statusMessages.isEmpty());
    QVERIFY(m.RecordText.contains(QStringLiteral("  904.0lb CO2")));
}

void TestFormActions::cleanupEmptiesZeroInputs()
{
    FormFixture f;
    f.type({{"Item1Life", "0"},
            {"Item1No", "2"},
            {"VAT", "0.0"},
            {"CheapR", "0.000000"},
            {"NormalR", "0"},
            {"AnInfT", "abc"},
            {"Item2Cost", "3"}});
    f.form.MsgText = QStringLiteral("refused\n");
    Cleanup(f.context);
    QCOMPARE(f.form.Item1No.text(), QStringLiteral("2"));
    f.form.MsgText.clear();
    Cleanup(f.context);
    MainForm& m = f.form;
    for (const TextBox* cleared : {&m.Item1Life, &m.Item1No, &m.VAT, &m.CheapR, &m.AnInfT})
        QVERIFY2(cleared->text().isEmpty(), qPrintable(cleared->name()));
    QCOMPARE(m.NormalR.text(), QStringLiteral("0")); // never emptied
    QCOMPARE(m.Item2Cost.text(), QStringLiteral("3"));

    m.Item1SB.setText(QStringLiteral("0.0%"));
    m.Item2SB.setText(QStringLiteral("0.1%"));
    m.HoursUsed.setText(QStringLiteral("0"));
    m.HoursSUsed.setText(QStringLiteral("0.0"));
    Cleanup1(f.context);
    QCOMPARE(m.Item1SB.text(), QString());
    QCOMPARE(m.Item2SB.text(), QStringLiteral("0.1%"));
    QCOMPARE(m.HoursUsed.text(), QString());
    QCOMPARE(m.HoursSUsed.text(), QStringLiteral("0.0"));
}

void TestFormActions::notesLimit()
{
    FormFixture f;
    const QString long80(80, QLatin1Char('n'));
    f.form.Notes.type(long80);
    QCOMPARE(f.form.Notes.text(), QString(75, QLatin1Char('n')));
}

QTEST_GUILESS_MAIN(TestFormActions)
#include "tst_form_actions.moc"
