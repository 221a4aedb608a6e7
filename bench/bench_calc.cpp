// One whole calculation on the headless window: checks, figures, presentation, record.

#include "support/test_doubles.h"

#include <QTest>

using namespace torvane;
using namespace torvane::test;

class BenchCalc : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void calculate_data();
    void calculate();
    void freshWindow();
};

void BenchCalc::calculate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("en_GB") << QStringLiteral("en_GB");
    QTest::newRow("de_DE") << QStringLiteral("de_DE");
}

void BenchCalc::calculate()
{
    QFETCH(QString, locale);
    FormFixture f(locale);
    f.typeWorkedExample();
    f.form.AnInfT.type(QStringLiteral("3"));
    int round = 0;
    QBENCHMARK
    {
        // A different note each time, so every press is a new calculation.
        f.form.Notes.type(QString::number(++round));
        f.calculate();
    }
    QVERIFY(f.form.RecordText.contains(QStringLiteral("Item 1 Cost : ")));
    QVERIFY(f.services.statusMessages.isEmpty());
}

void BenchCalc::freshWindow()
{
    const Regional regional(QLocale(QStringLiteral("en_GB")));
    QBENCHMARK
    {
        FormFixture f;
        f.typeWorkedExample();
        f.calculate();
    }
}

QTEST_GUILESS_MAIN(BenchCalc)
#include "bench_calc.moc"
