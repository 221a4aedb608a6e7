// The window's model driven as the user drives it, from tests/fixtures/form_runs.tsv:
// Calculate and its refusals, the state it leaves in every locale, kept tariffs, months and
// inflation, the differences and their colours, run-time errors in test modes, and Keep,
// Clear, Save, AutoSave and the output and unit switches. Then what the buttons call, called
// directly: the change handlers, the currency symbol and the clean-ups.

#include "mainform/clearing.h"
#include "mainform/presentation.h"
#include "support/fixture_table.h"
#include "support/test_doubles.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

namespace {

QString yesNo(bool value)
{
    return value ? u"yes"_s : u"no"_s;
}

QString colourName(Colour colour)
{
    const std::pair<Colour, const char*> names[] = {{Colours::black, "black"},
                                                    {Colours::orange, "orange"},
                                                    {Colours::lightGreen, "lightGreen"},
                                                    {Colours::buttonFace, "buttonFace"},
                                                    {Colours::windowBackground, "windowBackground"},
                                                    {Colours::windowText, "windowText"}};
    for (const auto& [known, name] : names) {
        if (known == colour)
            return QString::fromLatin1(name);
    }
    return u"rgb(%1,%2,%3)"_s.arg(colour.red).arg(colour.green).arg(colour.blue);
}

// What a run's check names: a control's text, or with ".tip", ".on", ".fore" or ".back" its
// tooltip, enabled state or colours; else the focus, the boxes shown, the status messages,
// the records appended, the fatal error, or the window's state of that name.
QString shown(const FormFixture& f, const QString& what)
{
    const MainForm& m = f.form;
    const QString property = what.section(u'.', 1);
    if (const Control* control = m.control(what.section(u'.', 0, 0))) {
        if (property == u"tip")
            return control->toolTip();
        if (property == u"on")
            return yesNo(control->enabled());
        if (property == u"fore" || property == u"back")
            return colourName(property == u"fore" ? control->foreColour() : control->backColour());
        return control->text();
    }
    const char* const icons[] = {"None", "Stop", "Exclamation", "Question", "Information"};
    QStringList boxes;
    for (const ScriptedDesktop::Box& box : f.desktop.boxes)
        boxes.append(box.title + u'|' + QLatin1String(icons[int(box.icon)]) + u'|' + box.text);
    const QMap<QString, QString> state = {
        {u"focus"_s, m.focus() ? m.focus()->name() : QString()},
        {u"boxes"_s, boxes.join(u"||"_s)},
        {u"status"_s, f.services.statusMessages.join(u'|')},
        {u"appended"_s, QString::number(f.services.appended.size())},
        {u"appendedText"_s, f.services.appended.value(f.services.appended.size() - 1)},
        {u"fatal"_s, u"%1|%2"_s.arg(f.services.fatalTitle).arg(f.services.fatalStep)},
        {u"TariffKept"_s, yesNo(m.TariffKept)},
        {u"UpdatingFields"_s, yesNo(m.UpdatingFields)},
        {u"CostSaveNegative"_s, yesNo(m.CostSaveNegative)},
        {u"StepNumber"_s, QString::number(m.StepNumber)},
        {u"Item1Blank"_s, QString::number(int(m.Item1Blank))},
        {u"RecordText"_s, m.RecordText},
        {u"PreviousRecordText"_s, m.PreviousRecordText},
        {u"PendingLogText"_s, m.PendingLogText},
        {u"Item1DayCost"_s, m.Item1DayCost},
        {u"Item1QtrCost"_s, m.Item1QtrCost},
        {u"DayCostSave"_s, m.DayCostSave},
        {u"Item1DayUnits"_s, m.Item1DayUnits},
        {u"Item2DayUnits"_s, m.Item2DayUnits},
        {u"PeriodUnitsSave"_s, m.PeriodUnitsSave},
        {u"Item1HoursUsed"_s, QString::number(m.Item1HoursUsed, 'g', 15)},
        {u"Item1HoursSUsed"_s, QString::number(m.Item1HoursSUsed, 'g', 15)},
        {u"Item1Hours.normal"_s, QString::number(m.Item1Hours.normal, 'g', 15)},
        // Nine digits tell every float apart: these compare exactly.
        {u"InflationFactor"_s, QString::number(m.InflationFactor, 'g', 9)},
        {u"InflationSum"_s, QString::number(m.InflationSum, 'g', 9)}};
    return state.value(what, u"(nothing called "_s + what + u')');
}

} // namespace

class TestFormActions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runs_data();
    void runs();
    void changeHandlersMarkOnlyUserEdits_data();
    void changeHandlersMarkOnlyUserEdits();
    void currencySymbol_data();
    void currencySymbol();
    void cleanupEmptiesZeroInputs();
};

void TestFormActions::runs_data()
{
    addTableRows(u"form_runs.tsv"_s);
}

void TestFormActions::runs()
{
    QFETCH(QStringList, row); // locale, switches, steps
    FormFixture f(row[0], TestMode::fromArguments(row[1]));
    static const QRegularExpression check(u"^([\\w.]+)([=^$*]=)(.*)$"_s);
    for (const QString& step : row[2].split(u';')) {
        const QRegularExpressionMatch match = check.match(step);
        const QString name = step.section(u'=', 0, 0);
        Control* control = f.form.control(QString(name).remove(u'!').remove(u".on"_s));
        if (match.hasMatch()) {
            const QString what = match.captured(1);
            const QString expected = unescaped(match.captured(3));
            const QString actual = shown(f, what);
            const QString test = match.captured(2);
            if (test == u"==")
                QCOMPARE(what + u": "_s + actual, what + u": "_s + expected);
            else
                QVERIFY2(test == u"^="   ? actual.startsWith(expected)
                         : test == u"$=" ? actual.endsWith(expected)
                                         : actual.contains(expected),
                         qPrintable(step + u" but it is "_s + actual));
        } else if (step == u"example") {
            f.typeWorkedExample();
        } else if (step == u"ok") { // the next box is expected and answered
            f.desktop.expectBox(MessageAnswer::Ok);
        } else if (name.endsWith(u".on")) { // the program enables or disables it
            QVERIFY2(control, qPrintable(step));
            control->setEnabled(step.endsWith(u"=yes"));
        } else if (step.contains(u'=')) {
            f.field(qPrintable(name)).type(unescaped(step.section(u'=', 1)));
        } else if (step.endsWith(u'!')) { // the press ends the program
            QVERIFY2(control && control->kind() == Control::Kind::Button, qPrintable(step));
            QVERIFY_THROWS_EXCEPTION(ProgramEnded, static_cast<Button*>(control)->click());
        } else {
            QVERIFY2(control && (control->kind() == Control::Kind::CheckBox ||
                                 control->kind() == Control::Kind::Button),
                     qPrintable(step));
            QVERIFY(control->kind() == Control::Kind::CheckBox
                        ? f.click(static_cast<CheckBox&>(*control))
                        : f.click(static_cast<Button&>(*control)));
        }
    }
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
    f.field(field.toLatin1().constData()).setText(u"7"_s);
    QVERIFY(!f.form.Save_Defaults.enabled());
    f.form.UpdatingFields = false;
    f.field(field.toLatin1().constData()).type(u"8"_s);
    QCOMPARE(f.form.Save_Defaults.enabled(), marks);
}

void TestFormActions::currencySymbol_data()
{
    addTableRows(u"currency_symbols.tsv"_s);
}

void TestFormActions::currencySymbol()
{
    QFETCH(QStringList, row);
    enum { Locale, Symbol, TaxLabel, TaxTip, Cost };
    const QString& symbol = row[Symbol];
    FormFixture f(row[Locale]);
    QCOMPARE(f.form.CurrencySymbol, symbol);
    QCOMPARE(f.form.VATH.text(), row[TaxLabel]);
    QCOMPARE(f.form.VAT.toolTip(), row[TaxTip]);
    // Typed with the symbol or without, the cost reads the same and shows with it.
    f.form.Item1Cost.type(symbol + u"12"_s);
    f.form.Item2Cost.type(u"12"_s);
    renewCurrencySymbol(f.context, SymbolOnMoney::TakenOff);
    QCOMPARE(f.form.Item1Cost.text(), u"12"_s);
    f.form.Item1Cost.setText(row[Cost]);
    f.form.CheapR.setText(QString());
    renewCurrencySymbol(f.context, SymbolOnMoney::PutOn);
    QCOMPARE(f.form.Item1Cost.text(), symbol + row[Cost]);
    QCOMPARE(f.form.Item2Cost.text(), symbol + u"12"_s);
    QCOMPARE(f.form.CheapR.text(), QString());
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
    emptyZeroInputs(f.context);
    QCOMPARE(f.form.Item1No.text(), u"2"_s);
    f.form.MsgText.clear();
    emptyZeroInputs(f.context);
    MainForm& m = f.form;
    for (const TextBox* cleared : {&m.Item1Life, &m.Item1No, &m.VAT, &m.CheapR, &m.AnInfT})
        QVERIFY2(cleared->text().isEmpty(), qPrintable(cleared->name()));
    QCOMPARE(m.NormalR.text(), u"0"_s); // never emptied
    QCOMPARE(m.Item2Cost.text(), u"3"_s);

    m.Item1SB.setText(u"0.0%"_s);
    m.Item2SB.setText(u"0.1%"_s);
    m.HoursUsed.setText(u"0"_s);
    m.HoursSUsed.setText(u"0.0"_s);
    clearBlankItemResults(f.context);
    QCOMPARE(m.Item1SB.text(), QString());
    QCOMPARE(m.Item2SB.text(), u"0.1%"_s);
    QCOMPARE(m.HoursUsed.text(), QString());
    QCOMPARE(m.HoursSUsed.text(), u"0.0"_s);
}

QTEST_GUILESS_MAIN(TestFormActions)
#include "tst_form_actions.moc"
