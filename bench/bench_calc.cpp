// One whole calculation on the headless window: checks, figures, presentation, record.

#include "app/chart_form.h"
#include "engine/timeline.h"
#include "support/test_doubles.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

class BenchCalc : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void calculate_data();
    void calculate();
    void freshWindow();
    void costTimeline();
    void chartOfACalculation();
};

void BenchCalc::calculate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("en_GB") << u"en_GB"_s;
    QTest::newRow("de_DE") << u"de_DE"_s;
}

void BenchCalc::calculate()
{
    QFETCH(QString, locale);
    FormFixture f(locale);
    f.typeWorkedExample();
    f.form.AnInfT.type(u"3"_s);
    int round = 0;
    QBENCHMARK
    {
        // A different note each time, so every press is a new calculation.
        f.form.Notes.type(QString::number(++round));
        f.calculate();
    }
    QVERIFY(f.form.RecordText.contains(u"Item 1 Cost : "_s));
    QVERIFY(f.services.statusMessages.isEmpty());
}

void BenchCalc::freshWindow()
{
    const Regional regional(QLocale(u"en_GB"_s));
    QBENCHMARK
    {
        FormFixture f;
        f.typeWorkedExample();
        f.calculate();
    }
}

void BenchCalc::costTimeline()
{
    // Ten years (120 months), both items replaced now and then, 2% inflation.
    const TimelineItem one{0.19404, 1.44, 14, 10000, 25, 6};
    const TimelineItem two{0.14456, 0.87, 14, 15000, 40, 4};
    Timeline timeline;
    QBENCHMARK
    {
        timeline = torvane::costTimeline(one, two, 10, 0.02);
    }
    QCOMPARE(timeline.cost1.size(), std::size_t(120));
}

void BenchCalc::chartOfACalculation()
{
    // What the chart adds to every calculation of both items: the model, the lines and
    // the sentence, over ten years.
    ScriptedDesktop desktop;
    const Regional regional(QLocale(u"en_GB"_s));
    ChartForm chart(regional, desktop);
    const CostOverTime result{{0.19404, 1.44, 14, 10000, 25, 6},
                              {0.14456, 0.87, 14, 15000, 40, 4},
                              10,
                              0.02,
                              0.43,
                              u"Kg"_s};
    QBENCHMARK
    {
        chart.setResult(result, QDate(2026, 12, 6));
    }
    QCOMPARE(chart.line(1).size(), std::size_t(1 + 120 + 6));
}

QTEST_GUILESS_MAIN(BenchCalc)
#include "bench_calc.moc"
