#pragma once

#include "measure/day_by_hour.h"

#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

namespace torvane {

// A measurement's day hour by hour: for each hour of the day a bar of its known time off,
// on standby and on, the cheap-rate hours shaded behind and marked below, and a legend
// with the powers each kind of use stands for.
// Its accessible description says the same in words.
class HourPicture final : public QWidget {
    Q_OBJECT

public:
    explicit HourPicture(QWidget* parent = nullptr);

    // Shows what was measured, its numbers in the user's format; hidden when nothing was (no
    // reading yet, cancelled, refused).
    void setMeasured(const std::optional<MeasuredUse>& use, const Regional& regional);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int legendHeight() const;
    int legendWidth() const;
    void drawLegend(QPainter& painter) const;
    void drawCheap(QPainter& painter, const QRect& plot) const;
    void drawBars(QPainter& painter, const QRect& plot) const;
    void drawHours(QPainter& painter, const QRect& plot) const;

    std::array<HourShares, 24> m_shares{};
    std::optional<CheapWindow> m_cheap;
    std::vector<std::pair<QColor, QString>> m_keys; // the legend: a colour and what it means
};

} // namespace torvane
