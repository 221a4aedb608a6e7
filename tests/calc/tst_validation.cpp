// Range and combination checks: which texts pass, the exact messages and their order,
// and how the passing fields are rewritten.

#include "calc/validation.h"
#include "support/test_doubles.h"

#include <QTest>

using namespace Qt::StringLiterals;

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
const Fields validTariff = {{u"NormalR"_s, u"0.15"_s}, {u"CheapR"_s, u"0.075"_s},
                            {u"PayPeriod"_s, u"4"_s},  {u"VAT"_s, u"5"_s},
                            {u"CO2"_s, u"0.43"_s},     {u"AnInfT"_s, u"0"_s}};

const Fields validItems = {{u"NormalHr"_s, u"10"_s},
                           {u"Item1Watts"_s, u"100"_s},
                           {u"Item1Life"_s, u"10000"_s},
                           {u"Item1Cost"_s, u"25"_s}};

} // namespace

class TestValidation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tariffRewrittenOnlyWhenAllPass();
    void blankItems_data();
    void blankItems();
    void normalisation();
    void testModes_data();
    void testModes();
    void combinationTestModes();
    void calcShowsAllMessagesInOrder();
};

void TestValidation::tariffRewrittenOnlyWhenAllPass()
{
    FormFixture f;
    setFields(f, validTariff);
    f.type({{"NormalR", "1"}, {"CO2", "5"}});
    Check(f.context);
    QCOMPARE(f.form.MsgText, u"Normal Rate must be between 0.01 and 0.99\n"
                             "CO2 Conversion Rate must be between 0.1 and 2\n"_s);
    QCOMPARE(f.form.CheapR.text(), u"0.075"_s);
    QCOMPARE(f.form.PayPeriod.text(), u"4"_s);
}

void TestValidation::blankItems_data()
{
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<qint16>("item1Blank");
    QTest::addColumn<qint16>("item2Blank");
    QTest::addColumn<QString>("messages");

    QTest::newRow("item 2 empty") << Fields{} << qint16(0) << qint16(1) << QString();
    QTest::newRow("item 2 zeros") << Fields{{u"Item2Watts"_s, u"0"_s}, {u"Item2Cost"_s, u"0.00"_s}}
                                  << qint16(0) << qint16(1) << QString();
    QTest::newRow("item 2 life only")
        << Fields{{u"Item2Life"_s, u"1000"_s}} << qint16(0) << qint16(0)
        << u"Item 2 Wattage must be empty or between 0.0 and 7000.0 Watts\n"_s;
    QTest::newRow("both empty") << Fields{{u"Item1Watts"_s, QString()},
                                          {u"Item1Life"_s, QString()},
                                          {u"Item1Cost"_s, QString()}}
                                << qint16(1) << qint16(1) << QString();
    // Opposite values cancel out: the item counts as not entered.
    QTest::newRow("cancelling values")
        << Fields{{u"Item2Watts"_s, u"5"_s}, {u"Item2SWatts"_s, u"-5"_s}} << qint16(0) << qint16(1)
        << QString();
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
    QCOMPARE(f.form.Item1Life.text(), u"1235"_s);
    QCOMPARE(f.form.NormalHr.text(), u"8.0"_s);
    QCOMPARE(f.form.Item1No.text(), u"2.5"_s);
    QCOMPARE(f.form.Item2No.text(), u"3"_s);
    QCOMPARE(f.form.Item1Cost.text(), u"12.00"_s);
    QCOMPARE(f.form.Item1Watts.text(), u"60.0"_s);
    QCOMPARE(f.form.Item2SWatts.text(), u"0.0"_s);
    QCOMPARE(f.form.CheapHr.text(), QString());
    QCOMPARE(f.form.Item2Life.text(), QString());

    // Nothing is rewritten once a message is waiting.
    f.form.MsgText = u"x\n"_s;
    f.type({{"NormalHr", "7.96"}});
    Check0(f.context);
    QCOMPARE(f.form.NormalHr.text(), u"7.96"_s);

    FormFixture german(u"de_DE"_s);
    german.type({{"NormalHr", "7,96"}, {"Item1Cost", "12.5"}});
    Check0(german.context);
    QCOMPARE(german.form.NormalHr.text(), u"8,0"_s);
    QCOMPARE(german.form.Item1Cost.text(), u"12,50"_s);
}

void TestValidation::testModes_data()
{
    QTest::addColumn<qint16>("testMode");
    QTest::addColumn<QString>("checkMessages");
    QTest::addColumn<QString>("check1Messages");
    QTest::addColumn<QString>("normalR");

    const QString tariff = u"Normal Rate must be between 0.01 and 0.99\n"_s;
    const QString item = u"Item 1 Life must be 0 or between 500 and 50000 Hours\n"_s;
    QTest::newRow("normal") << qint16(0) << tariff << tariff + item << u"5"_s;
    QTest::newRow("-InhibitErrorCheck") << qint16(1) << QString() << QString() << u"5"_s;
    QTest::newRow("-InhibitErrorCheck -OutputStatus") << qint16(11) << QString() << item << u"5"_s;
    QTest::newRow("-InhibitCombCheck") << qint16(2) << tariff << tariff + item << u"5"_s;
}

void TestValidation::testModes()
{
    QFETCH(qint16, testMode);
    QFETCH(QString, checkMessages);
    QFETCH(QString, check1Messages);
    QFETCH(QString, normalR);

    FormFixture f(u"en_GB"_s, testMode);
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
    const QString noHours = u"Normal Rate Hours and Cheap Rate Hours cannot both be empty or 0\n"_s;
    for (const auto& [testMode, expected] : {std::pair{qint16(0), noHours},
                                             {qint16(1), QString()},
                                             {qint16(2), QString()},
                                             {qint16(11), noHours}}) {
        FormFixture f(u"en_GB"_s, testMode);
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
    QCOMPARE(box.title, u"Torvane Data Error"_s);
    QCOMPARE(box.icon, MessageIcon::Exclamation);
    QCOMPARE(box.buttons, MessageButtons::Ok);
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

QTEST_GUILESS_MAIN(TestValidation)
#include "tst_validation.moc"
