// The appliance dialog with real keys and clicks: the search narrows the list, Down and
// Enter pick an appliance; the energy label is read in the user's language and refused
// with its reason until it makes sense.

#include "catalogue/catalogue_messages.h"
#include "ui/appliance_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace torvane;

class TestApplianceDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void picksAnAppliance();
    void worksOutTheLabel();
};

void TestApplianceDialog::picksAnAppliance()
{
    const Regional regional(QLocale(u"en_GB"_s));
    ApplianceDialog dialog({{u"Lighting"_s, u"LED bulb"_s, 8.5, 0, 0, 15000, 4, 3, u"packs"_s},
                            {u"Cooking"_s, u"Kettle"_s, 3000, 0, 0, 600, 30, 0.2, u"EST"_s},
                            {u"Lighting"_s, u"Halogen bulb"_s, 42, 0.5, 0, 2000, 2.5, 3, u"DOE"_s}},
                           2, regional);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), u"Torvane Appliances"_s);
    QCOMPARE(dialog.findChild<QLabel*>(u"heading"_s)->accessibleName(), u"Item 2"_s);
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (widget->focusPolicy() != Qt::NoFocus)
            QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
    }
    auto* search = dialog.findChild<QLineEdit*>(u"searchAppliances"_s);
    auto* list = dialog.findChild<QListWidget*>(u"appliances"_s);
    auto* use = dialog.findChild<QPushButton*>(u"useAppliance"_s);
    QCOMPARE(search->placeholderText(), u"Search appliances"_s);
    QVERIFY(search->hasFocus());
    // Item 2 is one the household would buy.
    QVERIFY(!dialog.findChild<QCheckBox*>(u"applianceOwned"_s)->isChecked());
    QCOMPARE(dialog.findChild<QLabel*>(u"ownedExplained"_s)->text(),
             u"An appliance you already have costs nothing to buy again until it wears out: its "
             "price and life are left empty."_s);
    QTest::keyClicks(search, u"no such"_s);
    QVERIFY(!use->isEnabled());
    search->clear();
    QTest::keyClicks(search, u"lighting BULB"_s);
    QStringList shown;
    for (int row = 0; row < list->count(); ++row) {
        if (!list->item(row)->isHidden())
            shown.append(list->item(row)->text());
    }
    QCOMPARE(shown, (QStringList{u"LED bulb (Lighting): 8.5 W on, 0 W standby, 0 W continuous, "
                                 "life 15000 hours, price £4.00, 3 hours a day"_s,
                                 u"Halogen bulb (Lighting): 42 W on, 0.5 W standby, 0 W "
                                 "continuous, life 2000 hours, price £2.50, 3 hours a day"_s}));
    QTest::keyClick(search, Qt::Key_Down);
    QVERIFY(list->hasFocus());
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(dialog.findChild<QLabel*>(u"applianceSource"_s)->text(), u"Figures: DOE"_s);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.choice() && std::holds_alternative<Appliance>(*dialog.choice()));
    const Appliance& chosen = std::get<Appliance>(*dialog.choice());
    QCOMPARE(chosen.name, u"Halogen bulb"_s);
    QCOMPARE(chosen.standbyWatts, 0.5);
    QCOMPARE(dialog.ownership(), Ownership::ToBuy);
}

void TestApplianceDialog::worksOutTheLabel()
{
    const Regional regional(QLocale(u"de_DE"_s));
    ApplianceDialog dialog({}, 1, regional);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* energy = dialog.findChild<QLineEdit*>(u"labelEnergy"_s);
    auto* hours = dialog.findChild<QLineEdit*>(u"labelHours"_s);
    auto* problem = dialog.findChild<QLabel*>(u"labelProblem"_s);
    auto* use = dialog.findChild<QPushButton*>(u"useLabel"_s);
    // Item 1 is the one the household has, unless the user says otherwise.
    auto* owned = dialog.findChild<QCheckBox*>(u"applianceOwned"_s);
    QVERIFY(owned->isChecked());
    QTest::keyClick(owned, Qt::Key_Space);
    QCOMPARE(dialog.ownership(), Ownership::ToBuy);
    QCOMPARE(problem->text(), QString());
    QTest::keyClicks(energy, u"0"_s);
    QCOMPARE(problem->text(), QString::fromLatin1(messages::LabelEnergy));
    QTest::keyClicks(energy, u",01"_s);
    QTest::keyClicks(hours, u"1"_s);
    QCOMPARE(problem->text(), u"That is 0,03 W on; the on power must be between 0.1 and 7000 W."_s);
    QVERIFY(!use->isEnabled());
    energy->clear();
    QTest::keyClicks(energy, u"176,5"_s);
    auto* allDay = dialog.findChild<QCheckBox*>(u"labelAllDay"_s);
    const int middle = allDay->height() / 2;
    QTest::mouseClick(allDay, Qt::LeftButton, {}, QPoint(middle, middle)); // on the box
    QCOMPARE(hours->text(), u"24"_s);
    QVERIFY(!hours->isEnabled() && use->isEnabled());
    QCOMPARE(problem->text(), QString());
    QTest::mouseClick(use, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const LabelPower label = std::get<LabelPower>(dialog.choice().value());
    QCOMPARE(QString::number(label.watts, 'g', 12), u"20.1484018265"_s);
    QCOMPARE(label.hoursPerDay, 24.0);
}

QTEST_MAIN(TestApplianceDialog)
#include "tst_appliance_dialog.moc"
