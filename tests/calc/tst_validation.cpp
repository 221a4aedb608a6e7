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
    void itemAndHourRule_data();
    void itemAndHourRule();
    void blankItems_data();
    void blankItems();
    void normalisation();
    void testModes_data();
    void testModes();
    void combination_data();
    void combination();
    void calcShowsAllMessagesInOrder();
};

void TestValidation::tariffRule_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("rewritten");

    const QString cheap = QStringLiteral("Cheap Rate must be 0 or between 0.01 and 0.99");
    const QString normal = QStringLiteral("Normal Rate must be between 0.01 and 0.99");
    const QString period = QStringLiteral("Payback Period must be between 1 and 10 years");
    const QString vat = QStringLiteral("VAT Rate must be 0 or between 1 and 50%");
    const QString co2 = QStringLiteral("CO2 Conversion Rate must be between 0.1 and 2");
    const QString inflation = QStringLiteral("Annual Inflation Rate must be between -30% and 199%");
    const QString pass;
    const auto row = [](const char* tag, const char* field, const char* text, const QString& msg,
                        const char* rewritten) {
        QTest::newRow(tag) << QString::fromLatin1(field) << QString::fromLatin1(text) << msg
                           << QString::fromLatin1(rewritten);
    };
    row("cheap empty", "CheapR", "", pass, "0.000000");
    row("cheap 0", "CheapR", "0", pass, "0.000000");
    row("cheap 0.01", "CheapR", "0.01", pass, "0.010000");
    row("cheap 0.99", "CheapR", "0.99", pass, "0.990000");
    row("cheap 0.15", "CheapR", "0.15", pass, "0.150000");
    row("cheap 0.005", "CheapR", "0.005", cheap, "0.005");
    row("cheap 1", "CheapR", "1", cheap, "1");
    row("cheap abc", "CheapR", "abc", cheap, "abc");
    row("normal empty", "NormalR", "", normal, "");
    row("normal 0.15p", "NormalR", "0.15p", normal, "0.15p");
    row("normal 0.99", "NormalR", "0.99", pass, "0.990000");
    row("period 1", "PayPeriod", "1", pass, "1.0");
    row("period 10", "PayPeriod", "10", pass, "10.0");
    row("period 0", "PayPeriod", "0", period, "0");
    row("period 10.5", "PayPeriod", "10.5", period, "10.5");
    row("period empty", "PayPeriod", "", period, "");
    row("vat 0.5", "VAT", "0.5", vat, "0.5");
    row("vat 0", "VAT", "0", pass, "0.0");
    row("vat 1", "VAT", "1", pass, "1.0");
    row("vat 50", "VAT", "50", pass, "50.0");
    row("vat 50.01", "VAT", "50.01", vat, "50.01");
    row("vat empty", "VAT", "", pass, "0.0");
    row("inflation -30", "AnInfT", "-30", pass, "-30.0");
    row("inflation 199", "AnInfT", "199", pass, "199.0");
    row("inflation -30.5", "AnInfT", "-30.5", inflation, "-30.5");
    row("inflation 200", "AnInfT", "200", inflation, "200");
    row("inflation empty", "AnInfT", "", pass, "0.0");
    row("co2 0.1", "CO2", "0.1", pass, "0.10");
    row("co2 2", "CO2", "2", pass, "2.00");
    row("co2 2.01", "CO2", "2.01", co2, "2.01");
    row("co2 empty", "CO2", "", co2, "");
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

void TestValidation::itemAndHourRule_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    const auto row = [](const char* field, const char* text, const char* message) {
        QTest::addRow("%s=%s", field, text)
            << QString::fromLatin1(field) << QString::fromLatin1(text)
            << QString::fromLatin1(message);
    };
    row("NormalHr", "24", "");
    row("NormalHr", "24.01", "Normal Rate Hours On must be between 0 and 24 Hours");
    row("NormalHr", "-1", "Normal Rate Hours On must be between 0 and 24 Hours");
    row("NormalHr", "ten", "Normal Rate Hours On must be between 0 and 24 Hours");
    row("CheapHr", "8", "");
    row("CheapHr", "8.1", "Cheap Rate Hours On must be between 0 and 8 Hours");
    row("NormalSHr", "23.9", "");
    row("NormalSHr", "23.95", "Standby Normal Rate Hours On must be between 0 and 23.9 Hours");
    row("CheapSHr", "8.5", "Standby Cheap Rate Hours On must be between 0 and 8 Hours");
    row("Item1Watts", "0.1", "");
    row("Item1Watts", "7000", "");
    row("Item1Watts", "0.05", "Item 1 Wattage must be between 1.0 and 7000.0 Watts");
    row("Item1Watts", "0", "Item 1 Wattage must be between 1.0 and 7000.0 Watts");
    row("Item1Watts", "", "Item 1 Wattage must be between 1.0 and 7000.0 Watts");
    row("Item1Watts", "7000.1", "Item 1 Wattage must be between 1.0 and 7000.0 Watts");
    row("Item1Life", "0", "");
    row("Item1Life", "500", "");
    row("Item1Life", "499", "Item 1 Life must be 0 or between 500 and 50000 Hours");
    row("Item1Life", "50001", "Item 1 Life must be 0 or between 500 and 50000 Hours");
    row("Item1Cost", "0", "");
    row("Item1Cost", "0.1", "");
    row("Item1Cost", "0.05", "Item 1 Cost must be between 0 or between 0.1 and 5000");
    row("Item1Cost", "5000.01", "Item 1 Cost must be between 0 or between 0.1 and 5000");
    row("Item1SWatts", "99", "");
    row("Item1SWatts", "99.5", "Item 1 Standby Wattage must be between 0 and 99.0 Watts");
    row("Item1CWatts", "-0.1", "Item 1 Continuous Wattage must be between 0 and 99.0 Watts");
    row("Item2Watts", "0.05", "Item 2 Wattage must be empty or between 0.0 and 7000.0 Watts");
    row("Item2SWatts", "100", "Item 2 Standby Wattage must be between 0 and 99.0 Watts");
    row("Item2CWatts", "100", "Item 2 Continuous Wattage must be between 0 and 99.0 Watts");
    row("Item2Life", "100", "Item 2 Life must be 0 or between 500 and 50000 Hours");
    row("Item2Cost", "6000", "Item 2 Cost must be between 0 or between 0.1 and 5000");
}

void TestValidation::itemAndHourRule()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);

    FormFixture f;
    setFields(f, validItems);
    if (field.startsWith(QLatin1String("Item2")))
        f.type({{"Item2Watts", "60"}});
    f.field(field.toLatin1().constData()).type(text);
    Check1(f.context);
    QCOMPARE(f.form.MsgText, message.isEmpty() ? QString() : message + QLatin1Char('\n'));
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

void TestValidation::combination_data()
{
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<qint16>("testMode");
    QTest::addColumn<QStringList>("messages");

    const auto hours = [](const char* normal, const char* cheap, const char* normalStandby,
                          const char* cheapStandby) {
        return Fields{{QStringLiteral("NormalHr"), QString::fromLatin1(normal)},
                      {QStringLiteral("CheapHr"), QString::fromLatin1(cheap)},
                      {QStringLiteral("NormalSHr"), QString::fromLatin1(normalStandby)},
                      {QStringLiteral("CheapSHr"), QString::fromLatin1(cheapStandby)}};
    };
    const QString day = QStringLiteral(
        "The sum of Normal Rate Hours On and Cheap Rate Hours On must be no more than 24 Hours");
    const QString cheapDay = QStringLiteral(
        "Cheap Rate Hours On plus Cheap Rate Hours On Standby must be no more than 8 Hours");
    const QString allDay = QStringLiteral(
        "The sum of Hours On plus the sum of Standby Hours On must be no more than 24 hours");
    const QString none =
        QStringLiteral("Normal Rate Hours and Cheap Rate Hours cannot both be empty or 0");
    const QString noRate =
        QStringLiteral("Cheap Rate Hours On must be zero if Cheap Rate Cost not set");
    const QString noRateStandby =
        QStringLiteral("Cheap Rate Standby Hours On must be zero if Cheap Rate Cost is not set");
    const QString lifeCost1 =
        QStringLiteral("Item 1 Life and Cost must either both be blank or set");
    const QString standby2 =
        QStringLiteral("Item 2 Standby Wattage can only be set if Item 2 Wattage is set");

    QTest::newRow("16+8") << hours("16", "8", "", "") << qint16(0) << QStringList{};
    QTest::newRow("16.1+8") << hours("16.1", "8", "", "") << qint16(0) << QStringList{day};
    QTest::newRow("16.04+8 rounds first")
        << hours("16.04", "8", "", "") << qint16(0) << QStringList{};
    QTest::newRow("26 with standby")
        << hours("14", "6", "4", "2") << qint16(0) << QStringList{allDay};
    QTest::newRow("24 with standby") << hours("14", "6", "4", "0") << qint16(0) << QStringList{};
    QTest::newRow("cheap day") << hours("10", "6", "0", "3") << qint16(0) << QStringList{cheapDay};
    QTest::newRow("no hours") << hours("", "", "", "") << qint16(0) << QStringList{none};
    QTest::newRow("zero hours") << hours("0", "0", "", "") << qint16(0) << QStringList{none};
    QTest::newRow("no cheap rate")
        << hours("10", "2", "", "2") + Fields{{QStringLiteral("CheapR"), QString()}} << qint16(0)
        << QStringList{noRate, noRateStandby};
    QTest::newRow("life without cost")
        << hours("10", "", "", "") + Fields{{QStringLiteral("Item1Cost"), QString()}} << qint16(0)
        << QStringList{lifeCost1};
    QTest::newRow("cost without life")
        << hours("10", "", "", "") + Fields{{QStringLiteral("Item1Life"), QString()}} << qint16(0)
        << QStringList{lifeCost1};
    QTest::newRow("item 2 standby without wattage")
        << hours("10", "", "", "") + Fields{{QStringLiteral("Item2SWatts"), QStringLiteral("2")}}
        << qint16(0) << QStringList{standby2};
    QTest::newRow("-InhibitCombCheck") << hours("", "", "", "") << qint16(2) << QStringList{};
    QTest::newRow("-InhibitErrorCheck") << hours("20", "8", "", "") << qint16(1) << QStringList{};
}

void TestValidation::combination()
{
    QFETCH(Fields, fields);
    QFETCH(qint16, testMode);
    QFETCH(QStringList, messages);

    FormFixture f(QStringLiteral("en_GB"), testMode);
    setFields(f, validTariff);
    setFields(f, validItems);
    setFields(f, fields);
    Check(f.context);
    Check1(f.context);
    f.form.MsgText.clear(); // combinations are checked on fields that passed their ranges
    Check0(f.context);
    Check2(f.context);
    QCOMPARE(f.form.MsgText,
             messages.isEmpty() ? QString() : messages.join(QLatin1Char('\n')) + QLatin1Char('\n'));
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
