// Range and combination checks: which texts pass, the exact messages and their order,
// and how the passing fields are rewritten.

#include "calc/validation.h"
#include "support/test_doubles.h"

#include <QTest>

using namespace torvane;
using namespace torvane::test;

namespace {

using Fields = QList<QPair<QString, QString>>;

void setFields(FormFixture& f, const Fields& fields)
{
    for (const auto& [name, text] : fields)
        f.field(name.toLatin1().constData()).type(text);
}

// A tariff and hours that pass every rule, to change one field at a time.
const Fields validTariff = {{QStringLiteral("NormalR"), QStringLiteral("0.15")},
                            {QStringLiteral("CheapR"), QStringLiteral("0.075")},
                            {QStringLiteral("PayPeriod"), QStringLiteral("4")},
                            {QStringLiteral("VAT"), QStringLiteral("5")},
                            {QStringLiteral("CO2"), QStringLiteral("0.43")},
                            {QStringLiteral("AnInfT"), QStringLiteral("0")}};

const Fields validItems = {{QStringLiteral("NormalHr"), QStringLiteral("10")},
                           {QStringLiteral("Item1Watts"), QStringLiteral("100")},
                           {QStringLiteral("Item1Life"), QStringLiteral("10000")},
                           {QStringLiteral("Item1Cost"), QStringLiteral("25")}};

} // namespace

class TestValidation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tariffRule_data();
    void tariffRule();
    void tariffRewrittenOnlyWhenAllPass();
    void blankItems_data();
    void blankItems();
    void normalisation();
    void testModes_data();
    void testModes();
    void combinationTestModes();
    void calcShowsAllMessagesInOrder();
};

// Which texts each rule accepts and refuses, with its message, is checked end to end
// against tests/fixtures/checks.csv; here, how the tariff is rewritten once it passed.
void TestValidation::tariffRule_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("rewritten");

    const QString pass;
    const auto row = [](const char* field, const char* text, const QString& message,
                        const char* rewritten) {
        QTest::addRow("%s '%s'", field, text)
            << QString::fromLatin1(field) << QString::fromLatin1(text) << message
            << QString::fromLatin1(rewritten);
    };
    row("CheapR", "", pass, "0.000000");
    row("CheapR", "0.15", pass, "0.150000");
    row("NormalR", "0.99", pass, "0.990000");
    row("PayPeriod", "1", pass, "1.0");
    row("VAT", "", pass, "0.0");
    row("AnInfT", "-30", pass, "-30.0");
    row("CO2", "2", pass, "2.00");
    row("CO2", "2.01", QStringLiteral("CO2 Conversion Rate must be between 0.1 and 2"), "2.01");
}

void TestValidation::tariffRule()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, rewritten);

    FormFixture f;
    setFields(f, validTariff);
    f.field(field.toLatin1().constData()).type(text);
    Check(f.context);

    QCOMPARE(f.form.MsgText, message.isEmpty() ? QString() : message + QLatin1Char('\n'));
    QCOMPARE(f.field(field.toLatin1().constData()).text(), rewritten);
}

void TestValidation::tariffRewrittenOnlyWhenAllPass()
{
    FormFixture f;
    setFields(f, validTariff);
    f.type({{"NormalR", "1"}, {"CO2", "5"}});
    Check(f.context);
    QCOMPARE(f.form.MsgText, QStringLiteral("Normal Rate must be between 0.01 and 0.99\n"
                                            "CO2 Conversion Rate must be between 0.1 and 2\n"));
    QCOMPARE(f.form.CheapR.text(), QStringLiteral("0.075"));
    QCOMPARE(f.form.PayPeriod.text(), QStringLiteral("4"));
}

void TestValidation::blankItems_data()
{
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<qint16>("item1Blank");
    QTest::addColumn<qint16>("item2Blank");
    QTest::addColumn<QString>("messages");

    QTest::newRow("item 2 empty") << Fields{} << qint16(0) << qint16(1) << QString();
    QTest::newRow("item 2 zeros") << Fields{{QStringLiteral("Item2Watts"), QStringLiteral("0")},
                                            {QStringLiteral("Item2Cost"), QStringLiteral("0.00")}}
                                  << qint16(0) << qint16(1) << QString();
    QTest::newRow("item 2 life only")
        << Fields{{QStringLiteral("Item2Life"), QStringLiteral("1000")}} << qint16(0) << qint16(0)
        << QStringLiteral("Item 2 Wattage must be empty or between 0.0 and 7000.0 Watts\n");
    QTest::newRow("both empty") << Fields{{QStringLiteral("Item1Watts"), QString()},
                                          {QStringLiteral("Item1Life"), QString()},
                                          {QStringLiteral("Item1Cost"), QString()}}
                                << qint16(1) << qint16(1) << QString();
    // Opposite values cancel out: the item counts as not entered.
    QTest::newRow("cancelling values")
        << Fields{{QStringLiteral("Item2Watts"), QStringLiteral("5")},
                  {QStringLiteral("Item2SWatts"), QStringLiteral("-5")}}
        << qint16(0) << qint16(1) << QString();
}

void TestValidation::blankItems()
{
    QFETCH(Fields, fields);
    QFETCH(qint16, item1Blank);
    QFETCH(qint16, item2Blank);
    QFETCH(QString, messages);

    FormFixture f;
    setFields(f, validItems);
    setFields(f, fields);
    Check1(f.context);
    QCOMPARE(f.form.Item1Blank, item1Blank);
    QCOMPARE(f.form.Item2Blank, item2Blank);
    QCOMPARE(f.form.MsgText, messages);
}

void TestValidation::normalisation()
{
    FormFixture f;
    f.type({{"Item1Life", "1234.56"},
            {"NormalHr", "7.96"},
            {"Item1No", "2.50"},
            {"Item2No", "3 off"},
            {"Item1Cost", "12"},
            {"Item1Watts", "60"},
            {"Item2SWatts", "0.04"}});
    Check0(f.context);
    QCOMPARE(f.form.Item1Life.text(), QStringLiteral("1235"));
    QCOMPARE(f.form.NormalHr.text(), QStringLiteral("8.0"));
    QCOMPARE(f.form.Item1No.text(), QStringLiteral("2.5"));
    QCOMPARE(f.form.Item2No.text(), QStringLiteral("3"));
    QCOMPARE(f.form.Item1Cost.text(), QStringLiteral("12.00"));
    QCOMPARE(f.form.Item1Watts.text(), QStringLiteral("60.0"));
    QCOMPARE(f.form.Item2SWatts.text(), QStringLiteral("0.0"));
    QCOMPARE(f.form.CheapHr.text(), QString());
    QCOMPARE(f.form.Item2Life.text(), QString());

    // Nothing is rewritten once a message is waiting.
    f.form.MsgText = QStringLiteral("x\n");
    f.type({{"NormalHr", "7.96"}});
    Check0(f.context);
    QCOMPARE(f.form.NormalHr.text(), QStringLiteral("7.96"));

    FormFixture german(QStringLiteral("de_DE"));
    german.type({{"NormalHr", "7,96"}, {"Item1Cost", "12.5"}});
    Check0(german.context);
    QCOMPARE(german.form.NormalHr.text(), QStringLiteral("8,0"));
    QCOMPARE(german.form.Item1Cost.text(), QStringLiteral("12,50"));
}

void TestValidation::testModes_data()
{
    QTest::addColumn<qint16>("testMode");
    QTest::addColumn<QString>("checkMessages");
    QTest::addColumn<QString>("check1Messages");
    QTest::addColumn<QString>("normalR");

    const QString tariff = QStringLiteral("Normal Rate must be between 0.01 and 0.99\n");
    const QString item = QStringLiteral("Item 1 Life must be 0 or between 500 and 50000 Hours\n");
    QTest::newRow("normal") << qint16(0) << tariff << tariff + item << QStringLiteral("5");
    QTest::newRow("-InhibitErrorCheck")
        << qint16(1) << QString() << QString() << QStringLiteral("5");
    QTest::newRow("-InhibitErrorCheck -OutputStatus")
        << qint16(11) << QString() << item << QStringLiteral("5");
    QTest::newRow("-InhibitCombCheck")
        << qint16(2) << tariff << tariff + item << QStringLiteral("5");
}

void TestValidation::testModes()
{
    QFETCH(qint16, testMode);
    QFETCH(QString, checkMessages);
    QFETCH(QString, check1Messages);
    QFETCH(QString, normalR);

    FormFixture f(QStringLiteral("en_GB"), testMode);
    setFields(f, validTariff);
    setFields(f, validItems);
    f.type({{"NormalR", "5"}, {"Item1Life", "100"}});
    Check(f.context);
    QCOMPARE(f.form.MsgText, checkMessages);
    // The tariff is not reformatted: the message was still there when it would have been.
    QCOMPARE(f.form.NormalR.text(), normalR);
    Check1(f.context);
    QCOMPARE(f.form.MsgText, check1Messages);
}

void TestValidation::combinationTestModes()
{
    // No hours at all breaks a combination rule; the switches silence it.
    const QString noHours =
        QStringLiteral("Normal Rate Hours and Cheap Rate Hours cannot both be empty or 0\n");
    for (const auto& [testMode, expected] : {std::pair{qint16(0), noHours},
                                             {qint16(1), QString()},
                                             {qint16(2), QString()},
                                             {qint16(11), noHours}}) {
        FormFixture f(QStringLiteral("en_GB"), testMode);
        setFields(f, validTariff);
        setFields(f, validItems);
        f.type({{"NormalHr", ""}});
        Check2(f.context);
        QCOMPARE(f.form.MsgText, expected);
    }
}

void TestValidation::calcShowsAllMessagesInOrder()
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
    QCOMPARE(box.title, QStringLiteral("Torvane Data Error"));
    QCOMPARE(box.icon, MessageIcon::Exclamation);
    QCOMPARE(box.buttons, MessageButtons::Ok);
    QCOMPARE(box.text, QStringLiteral("Normal Rate must be between 0.01 and 0.99\n"
                                      "Normal Rate Hours On must be between 0 and 24 Hours\n"
                                      "Item 1 Life must be 0 or between 500 and 50000 Hours\n"
                                      "Item 1 Wattage must be between 1.0 and 7000.0 Watts\n"
                                      "Item 2 Cost must be between 0 or between 0.1 and 5000\n"));
    // The fields stay as typed for the user to correct, the symbol back on the money.
    QCOMPARE(f.form.Item1Life.text(), QStringLiteral("10"));
    QCOMPARE(f.form.NormalR.text(), QStringLiteral("£1"));
    QVERIFY(!f.form.Save.enabled());
    QVERIFY(!f.form.UpdatingFields);
    QCOMPARE(f.form.focus(), &f.form.NormalHr);
}

QTEST_GUILESS_MAIN(TestValidation)
#include "tst_validation.moc"
