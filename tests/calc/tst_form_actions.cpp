// The window's own buttons and switches: Keep, Clear, Save, AutoSave, MonthlyT, the
// change handlers, the currency symbol, the output and unit switches and the clean-ups.

#include "calc/cleanup.h"
#include "calc/presentation.h"
#include "support/test_doubles.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

class TestFormActions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void changeHandlersMarkOnlyUserEdits_data();
    void changeHandlersMarkOnlyUserEdits();
    void keepTogglesTheLook();
    void clearReleasesAndEmpties();
    void autoSaveDisablesPendingSave();
    void currencySymbol_data();
    void currencySymbol();
    void outputTypeSwitch();
    void units();
    void cleanupEmptiesZeroInputs();
};

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
    f.field(field.toLatin1().constData()).setText(u"7"_s);
    QVERIFY(!f.form.Save_Defaults.enabled());
    f.form.UpdatingFields = false;
    f.field(field.toLatin1().constData()).type(u"8"_s);
    QCOMPARE(f.form.Save_Defaults.enabled(), marks);
}

void TestFormActions::keepTogglesTheLook()
{
    FormFixture f;
    MainForm& m = f.form;
    f.click(m.Keep);
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

    f.click(m.Keep);
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
    f.click(f.form.Keep);
    f.click(f.form.Clear);
    MainForm& m = f.form;
    QVERIFY(!m.TariffKept);
    QVERIFY(!m.Keep.enabled());
    QVERIFY(!m.Save.enabled());
    QCOMPARE(f.services.statusMessages, QStringList{u"Data Cleared"_s});
    for (const TextBox* kept : {&m.NormalR, &m.CheapR, &m.VAT, &m.CO2, &m.PayPeriod})
        QVERIFY2(!kept->text().isEmpty(), qPrintable(kept->name()));
    QCOMPARE(m.NormalR.text(), u"£0.150000"_s);
    for (const TextBox* cleared : {&m.NormalHr, &m.Item1Watts, &m.Item2Cost, &m.Notes, &m.Item1Day,
                                   &m.DaySave, &m.Item1No, &m.HoursUsed, &m.Item2SB})
        QVERIFY2(cleared->text().isEmpty(), qPrintable(cleared->name()));
    QCOMPARE(m.RecordText, QString());
    // Item 1's hours go with its figures: the next record starts from nothing.
    QCOMPARE(m.Item1HoursUsed, 0.0);
    QCOMPARE(m.Item1HoursSUsed, 0.0);
    QCOMPARE(m.StepNumber, qint16(251)); // ClearOutput ran last
    QCOMPARE(m.focus(), &m.NormalHr);

    // The same data again is a new calculation, not "The Data Has Not Changed".
    f.typeWorkedExample();
    f.type({{"Notes", "hall"}});
    f.calculate();
    QCOMPARE(f.services.statusMessages.size(), 1);
    QVERIFY(m.Save.enabled());
}

void TestFormActions::autoSaveDisablesPendingSave()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    QVERIFY(f.form.Save.enabled());
    // Ticked after a calculation: that one can no longer be saved.
    f.click(f.form.AutoSave);
    QCOMPARE(f.form.Calc.toolTip(), u"Calculate and save results"_s);
    QVERIFY(!f.form.Save.enabled());
    QVERIFY(f.form.Save_Defaults.enabled());
    f.click(f.form.Save);
    QVERIFY(f.services.appended.isEmpty());
    // The next one is appended at once.
    f.type({{"Notes", "auto"}});
    f.calculate();
    QCOMPARE(f.services.appended.size(), 1);
    QVERIFY(f.services.appended[0].startsWith(u"04/12/2026 20:31:07\r\nauto\r\n\r\nVAT "_s));
    QVERIFY(f.services.appended[0].endsWith(u"/4.0yrs,\r\n\r\n"_s));
    QVERIFY(!f.form.Save.enabled());
    QVERIFY(f.form.Keep.enabled());
    f.click(f.form.AutoSave);
    QCOMPARE(f.form.Calc.toolTip(), u"Calculate results"_s);
}

void TestFormActions::currencySymbol_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<QString>("taxLabel");
    QTest::addColumn<QString>("taxTip");
    QTest::addColumn<QString>("cost");

    const QString vat = u"VAT Rate (0 or between 1 and 50%)"_s;
    const QString tax = u"Tax Rate (0 or between 1 and 50%)"_s;
    QTest::newRow("en_GB") << u"en_GB"_s << u"£"_s << u"VAT:"_s << vat << u"12.00"_s;
    QTest::newRow("en_US") << u"en_US"_s << u"$"_s << u"Tax:"_s << tax << u"12.00"_s;
    QTest::newRow("de_DE") << u"de_DE"_s << QString() << u"Tax:"_s << tax << u"12,00"_s;
    QTest::newRow("C") << u"C"_s << QString() << u"Tax:"_s << tax << u"12.00"_s;
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
    f.form.Item1Cost.type(symbol + u"12"_s);
    f.form.Item2Cost.type(u"12"_s);
    CurrencyManagement(f.context, false, true);
    QCOMPARE(f.form.Item1Cost.text(), u"12"_s);
    f.form.Item1Cost.setText(cost);
    f.form.CheapR.setText(QString());
    CurrencyManagement(f.context, true, false);
    QCOMPARE(f.form.Item1Cost.text(), symbol + cost);
    QCOMPARE(f.form.Item2Cost.text(), symbol + u"12"_s);
    QCOMPARE(f.form.CheapR.text(), QString());
}

void TestFormActions::outputTypeSwitch()
{
    FormFixture f;
    // Cost is shown first; nothing to keep, save or mark as changed.
    QCOMPARE(f.form.OutputType.text(), u"K&WHr"_s);
    QCOMPARE(f.form.QtrSave.toolTip(), u"Difference between item 1 and item 2 cost per quarter"_s);
    QVERIFY(!f.form.Save.enabled() && !f.form.Keep.enabled() && !f.form.Save_Defaults.enabled());
    f.typeWorkedExample();
    f.type({{"Item1Watts", "60"}, {"Item2Watts", "100"}});
    f.calculate();
    MainForm& m = f.form;
    QVERIFY(m.CostSaveNegative);
    f.click(m.OutputType);
    QCOMPARE(m.OutputType.text(), u"C&ost"_s);
    QCOMPARE(m.Item1Day.text(), m.Item1DayUnits);
    QCOMPARE(m.PeriodSave.text(), m.PeriodUnitsSave);
    QCOMPARE(m.ItemDayL.text(), u" KWHr / Day"_s);
    QCOMPARE(m.ItemQtrL.text(), u" KWHr /  Qtr"_s);
    QCOMPARE(m.ItemPeriodL.text(), u" KWHr / Period"_s);
    QCOMPARE(m.Item2Period.toolTip(), u"Electricity used by item 2 in KWHr over payback period"_s);
    QCOMPARE(m.DaySave.foreColour(), Colours::orange);
    QCOMPARE(m.focus(), &m.NormalHr);
    f.click(m.OutputType);
    QCOMPARE(m.OutputType.text(), u"K&WHr"_s);
    QCOMPARE(m.Item1Day.text(), m.Item1DayCost);
    QCOMPARE(m.ItemPeriodL.text(), u"Cost / Period"_s);
    QCOMPARE(m.Item2Period.toolTip(), u"Total Cost of item 2 over payback period"_s);
}

void TestFormActions::units()
{
    FormFixture f;
    f.typeWorkedExample();
    f.calculate();
    MainForm& m = f.form;
    m.Save_Defaults.setEnabled(false);
    f.click(m.Units1);
    QCOMPARE(m.CO2L.text(), u"lb/KWHr"_s);
    QCOMPARE(m.ItemCO2L.text(), u"CO2 lb /Period"_s);
    QCOMPARE(m.CO2.toolTip(), u"CO2 Conversion Rate ( between 0.1 and 1) lb/KWHr"_s);
    QCOMPARE(m.Item2CO2.toolTip(), u"Amount of CO2 generated by Item 2 in lb"_s);
    QCOMPARE(m.CO2.text(), u"0.43"_s);
    QCOMPARE(m.PreviousRecordText, QString());
    QVERIFY(m.Save_Defaults.enabled());
    // Nothing else changed, yet the unit did: a new record, not "unchanged".
    f.calculate();
    QVERIFY(f.services.statusMessages.isEmpty());
    QVERIFY(m.RecordText.contains(u"  904.0lb CO2"_s));
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
    f.form.MsgText = u"refused\n"_s;
    Cleanup(f.context);
    QCOMPARE(f.form.Item1No.text(), u"2"_s);
    f.form.MsgText.clear();
    Cleanup(f.context);
    MainForm& m = f.form;
    for (const TextBox* cleared : {&m.Item1Life, &m.Item1No, &m.VAT, &m.CheapR, &m.AnInfT})
        QVERIFY2(cleared->text().isEmpty(), qPrintable(cleared->name()));
    QCOMPARE(m.NormalR.text(), u"0"_s); // never emptied
    QCOMPARE(m.Item2Cost.text(), u"3"_s);

    m.Item1SB.setText(u"0.0%"_s);
    m.Item2SB.setText(u"0.1%"_s);
    m.HoursUsed.setText(u"0"_s);
    m.HoursSUsed.setText(u"0.0"_s);
    Cleanup1(f.context);
    QCOMPARE(m.Item1SB.text(), QString());
    QCOMPARE(m.Item2SB.text(), u"0.1%"_s);
    QCOMPARE(m.HoursUsed.text(), QString());
    QCOMPARE(m.HoursSUsed.text(), u"0.0"_s);
}

QTEST_GUILESS_MAIN(TestFormActions)
#include "tst_form_actions.moc"
