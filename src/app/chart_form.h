#pragma once

#include "core/desktop.h"
#include "core/regional.h"
#include "engine/timeline.h"
#include "form/form.h"

#include <QDate>
#include <QObject>
#include <QPointF>

#include <functional>

namespace torvane {

// What the chart shows: money, electricity or CO2.
enum class ChartMeasure { Cost, Units, CO2 };

enum class PictureFormat { Png, Svg };

// What a calculation compared, for the exports: the user's notes on the comparison, and
// the catalogue appliance each item was picked as (empty for an item typed in).
struct ChartSubject {
    QString notes, item1, item2;
};

// Draws the chart as a picture file's bytes; only a view can draw.
class ChartPictures {
public:
    virtual ~ChartPictures() = default;
    // Empty when the picture could not be drawn.
    virtual QByteArray picture(PictureFormat format) = 0;
};

// The cost chart window: the sentence on the break-even month, the switch between money,
// kWh and CO2, and the exports. Toolkit-neutral: a view draws the lines it gives.
class ChartForm final : public QObject, public Form {
    Q_OBJECT

public:
    ChartForm(const Regional& regional, Desktop& desktop, QObject* parent = nullptr);

    Label Sentence;
    Button ShowCost, ShowUnits, ShowCO2, ExportPNG, ExportSVG, ExportCSV, Close;

    // Shows a calculation's cost over time, months counted from today's month.
    void setResult(const CostOverTime& result, const QDate& today,
                   const ChartSubject& subject = {});
    // Nothing to show: no calculation of both items stands.
    void clear();
    void setMeasure(ChartMeasure measure);
    ChartMeasure measure() const { return m_measure; }
    void setPictures(ChartPictures* pictures) { m_pictures = pictures; }

    int months() const { return static_cast<int>(m_timeline.cost1.size()); }
    // Item 1's or Item 2's line in the measure shown, from month 0 to the last: what the
    // item has cost or used so far, a purchase a step up at the start of its month.
    const std::vector<QPointF>& line(int item) const { return item == 1 ? m_line1 : m_line2; }
    // The break-even month when money is shown.
    std::optional<int> markedMonth() const;
    QString valueText(double value, int decimals) const; // a value in the measure shown
    QString axisTitle() const;
    QString monthText(int month) const; // the month that starts after so many months
    // What a screen reader says of the picture: the sentence and where both lines end.
    QString description() const;
    // The exported picture's title: the notes and the appliances picked, or the window's
    // title when there are none.
    QString title() const;
    // Month by month, in the user's number format, for a spreadsheet.
    QString csvText() const;

Q_SIGNALS:
    void changed();
    void closeRequested();

private:
    void makeLines();
    // Asks where, then writes the file whole or not at all.
    void exportFile(const QString& title, const QString& name, const QString& filter,
                    const std::function<QByteArray()>& bytes);
    std::vector<double> co2(const std::vector<double>& kwh) const;
    const QString& appliance(int item) const
    {
        return item == 1 ? m_subject.item1 : m_subject.item2;
    }

    const Regional& m_regional;
    Desktop& m_desktop;
    ChartPictures* m_pictures = nullptr;
    CostOverTime m_result;
    ChartSubject m_subject;
    Timeline m_timeline;
    QDate m_today;
    ChartMeasure m_measure = ChartMeasure::Cost;
    std::vector<QPointF> m_line1, m_line2;
};

} // namespace torvane
