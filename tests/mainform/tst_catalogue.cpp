// The appliance catalogue: the shipped file reads whole and every appliance in it fills an
// item that calculates; damaged files from tests/fixtures/damaged_catalogues.tsv; the
// search; the energy label; and filling an item as the user would type it.

#include "core/ansi_file.h"
#include "mainform/appliance_fill.h"
#include "support/fixture_table.h"
#include "support/test_doubles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <set>

using namespace Qt::StringLiterals;
using namespace torvane;
using namespace torvane::test;

namespace {

// A tariff, so that the window can calculate what the item costs.
void typeTariff(FormFixture& f)
{
    const QChar point = f.regional.decimalPoint();
    f.field("NormalR").type(u"0.15"_s.replace(u'.', point));
    f.field("PayPeriod").type(u"4"_s);
    f.field("CO2").type(u"0.43"_s.replace(u'.', point));
}

} // namespace

class TestCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shippedCatalogue();
    void damagedFiles_data();
    void damagedFiles();
    void search_data();
    void search();
    void label_data();
    void label();
    void fillItem_data();
    void fillItem();
};

void TestCatalogue::shippedCatalogue()
{
    const Catalogue c = readCatalogue(qEnvironmentVariable("TORVANE_DIST") + u'/' + CatalogueFile);
    QCOMPARE(c.problems, QStringList());
    QVERIFY(c.appliances.size() >= 40);
    std::set<QString> categories;
    for (const Appliance& appliance : c.appliances) {
        categories.insert(appliance.category);
        QVERIFY2(appliance.source.startsWith(u"Typical figures after "_s),
                 qPrintable(appliance.name));
        FormFixture f(u"de_DE"_s);
        typeTariff(f);
        fillItemFromAppliance(f.context, 1, appliance, Ownership::ToBuy);
        QVERIFY2(f.calculate() && !f.form.Item1Period.text().isEmpty(), qPrintable(appliance.name));
    }
    QCOMPARE(categories,
             (std::set<QString>{u"Cold appliances"_s, u"Computing"_s, u"Cooking"_s,
                                u"Entertainment"_s, u"Heating"_s, u"Laundry"_s, u"Lighting"_s}));
}

void TestCatalogue::damagedFiles_data()
{
    addTableRows(u"damaged_catalogues.tsv"_s);
}

void TestCatalogue::damagedFiles()
{
    QFETCH(QStringList, row); // content, kept, message
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Appliances.csv"_s);
    if (row[0] == u"{folder}")
        QVERIFY(QDir(dir.path()).mkdir(u"Appliances.csv"_s));
    else if (row[0] == u"{large}")
        QVERIFY(AnsiFile::create(path, QString(AnsiFile::MostBytes + 1, u'#')));
    QFile file(path);
    if (row[0] != u"{missing}" && row[0] != u"{folder}" && row[0] != u"{large}")
        QVERIFY(file.open(QIODevice::WriteOnly) &&
                file.write(unescapedBytes(QString(row[0]).replace(
                    u"{header}"_s, u"Category,Appliance,OnWatts,StandbyWatts,ContinuousWatts,"
                                   "LifeHours,Price,HoursPerDay,Source\\r\\n"_s))) >= 0);
    file.close();
    const Catalogue c = readCatalogue(path);
    QStringList kept;
    for (const Appliance& appliance : c.appliances)
        kept.append(appliance.name);
    QCOMPARE(kept.join(u';'), row[1]);
    QCOMPARE(c.problems.isEmpty() ? QString()
                                  : catalogueProblemsText(c.problems).replace(CrLf, u" | "_s),
             row[2]);
}

void TestCatalogue::search_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");
    const QString fridge = u"Fridge-freezer, 2010s model (A++)"_s;
    QTest::newRow("empty") << QString() << fridge << true;
    QTest::newRow("blanks only") << u"  "_s << fridge << true;
    QTest::newRow("words in any case and order") << u"a++  FRIDGE"_s << fridge << true;
    QTest::newRow("one word missing") << u"fridge a+++"_s << fridge << false;
    QTest::newRow("word in the category") << u"cold 2010s"_s << fridge << true;
    QTest::newRow("part of a word") << u"led bulb"_s << u"LED bulb (60 W equivalent)"_s << true;
    QTest::newRow("not across words") << u"dbu"_s << u"LED bulb (60 W equivalent)"_s << false;
}

void TestCatalogue::search()
{
    QFETCH(QString, query);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(matchesSearch(Appliance{u"Cold appliances"_s, name, 1, 0, 0, 0, 0, 0, {}}, query),
             matches);
}

void TestCatalogue::label_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("energy");
    QTest::addColumn<QString>("hours");
    QTest::addColumn<QString>("result"); // on power to 12 digits, or the problem
    const QString energy = u"The kWh per year must be a number more than 0 and at most 61320."_s;
    const QString hours = u"The hours a day must be a number more than 0 and at most 24."_s;
    QTest::newRow("fridge all day") << "en_GB"
                                    << "150"
                                    << "24"
                                    << "17.1232876712";
    QTest::newRow("washing machine") << "en_GB"
                                     << "176"
                                     << "1"
                                     << "482.191780822";
    QTest::newRow("decimal comma") << "de_DE"
                                   << "1.176,5"
                                   << "1,5"
                                   << "2148.85844749";
    QTest::newRow("most energy") << "en_GB"
                                 << "61320"
                                 << "24"
                                 << "7000";
    QTest::newRow("empty energy") << "en_GB"
                                  << ""
                                  << "24" << energy;
    QTest::newRow("no energy") << "en_GB"
                               << "0"
                               << "24" << energy;
    QTest::newRow("too much energy") << "en_GB"
                                     << "61320.1"
                                     << "24" << energy;
    QTest::newRow("not a number") << "en_GB"
                                  << "150 kWh"
                                  << "24" << energy;
    QTest::newRow("no hours") << "en_GB"
                              << "150"
                              << "0" << hours;
    QTest::newRow("too many hours") << "de_DE"
                                    << "150"
                                    << "24,1" << hours;
    QTest::newRow("too little power")
        << "en_GB"
        << "0.5"
        << "24"
        << "That is 0.06 W on; the on power must be between 0.1 and 7000 W.";
    QTest::newRow("too much power")
        << "de_DE"
        << "61320"
        << "1,5"
        << "That is 112000 W on; the on power must be between 0.1 and 7000 W.";
}

void TestCatalogue::label()
{
    QFETCH(QString, locale);
    QFETCH(QString, energy);
    QFETCH(QString, hours);
    QFETCH(QString, result);
    const LabelPower label = readLabel(Regional(QLocale(locale)), energy, hours);
    QCOMPARE(label.problem.isEmpty() ? QString::number(label.watts, 'g', 12) : label.problem,
             result);
}

void TestCatalogue::fillItem_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("owned");         // "default", or the user's "yes" or "no"
    QTest::addColumn<QList<double>>("figures"); // as Appliance's, or a label's power and hours
    QTest::addColumn<QString>("typed");         // "field=text;..." before filling
    QTest::addColumn<QString>("fields"); // watts|standby|continuous|life|cost|NormalHr|NormalSHr
    using F = QList<double>;
    QTest::newRow("standby for the rest of the day, item 1 to buy")
        << "en_GB" << 1 << "no" << F{15, 10, 0, 20000, 100, 5} << ""
        << "15|10||20000|100|5|19";
    QTest::newRow("decimal comma, no standby, item 2 to buy")
        << "de_DE" << 2 << "default" << F{8.5, 0, 0, 15000, 4.5, 3} << ""
        << "8,5|||15000|4,5|3|";
    QTest::newRow("standby hours at most 23.9")
        << "en_GB" << 1 << "default" << F{3, 2, 1.5, 0, 0, 0.05} << ""
        << "3|2|1.5|||0.1|23.9";
    QTest::newRow("all day, the user's hours stand")
        << "de_DE" << 2 << "default" << F{17.1, 0, 0, 50000, 550, 24} << "CheapSHr=0;Item1Watts=60"
        << "17,1|||50000|550||";
    QTest::newRow("item 1 owned: no price, no life")
        << "en_GB" << 1 << "default" << F{2000, 0, 2, 2500, 400, 0.5}
        << "Item1SWatts=4;Item1Life=1000;Item1Cost=5"
        << "2000||2|||0.5|";
    QTest::newRow("item 2 owned") << "en_GB" << 2 << "yes" << F{60, 1, 0, 1000, 1.5, 5}
                                  << "Item2Life=1000;Item2Cost=5"
                                  << "60|1||||5|19";
    QTest::newRow("label power to a tenth")
        << "de_DE" << 1 << "default" << F{482.191780821918, 1} << "Item1SWatts=4"
        << "482,2|4||||1|23";
}

void TestCatalogue::fillItem()
{
    QFETCH(QString, locale);
    QFETCH(int, item);
    QFETCH(QString, owned);
    QFETCH(QList<double>, figures);
    QFETCH(QString, typed);
    QFETCH(QString, fields);
    FormFixture f(locale);
    for (const QString& step : typed.split(u';', Qt::SkipEmptyParts))
        f.field(qPrintable(step.section(u'=', 0, 0))).type(step.section(u'=', 1));
    if (figures.size() == 2)
        fillItemOnPower(f.context, item, figures[0], figures[1]);
    else
        fillItemFromAppliance(f.context, item,
                              {u"Test"_s,
                               u"Test"_s,
                               figures[0],
                               figures[1],
                               figures[2],
                               figures[3],
                               figures[4],
                               figures[5],
                               {}},
                              owned == u"default" ? defaultOwnership(item)
                              : owned == u"yes"   ? Ownership::Owned
                                                  : Ownership::ToBuy);
    QStringList shown;
    for (const char* name : {"Watts", "SWatts", "CWatts", "Life", "Cost"})
        shown.append(f.field(qPrintable(u"Item%1%2"_s.arg(item).arg(QLatin1String(name)))).text());
    shown << f.form.NormalHr.text() << f.form.NormalSHr.text();
    QCOMPARE(shown.join(u'|'), fields);
    // What was filled passes the checks as typed figures do.
    if (f.form.NormalHr.text().isEmpty())
        f.field("NormalHr").type(u"2"_s);
    typeTariff(f);
    QVERIFY(f.calculate());
    QVERIFY(!f.field(qPrintable(u"Item%1Period"_s.arg(item))).text().isEmpty());
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
