#pragma once

#include "measure/day_by_hour.h"

#include <QWidget>

#include <optional>

namespace torvane {

// A measurement's day hour by hour: for each hour of the day a bar of its known time off,
// on standby and on, the cheap-rate hours shaded behind and marked below, and a legend.
// Its accessible description says the same in words.
class HourPicture final : public QWidget {
    Q_OBJECT

public:
    explicit HourPicture(QWidget* parent = nullptr);

    // Shows what was measured; hidden when nothing was (no reading yet, cancelled, refused).
    void setMeasured(const std::optional<MeasuredUse>& use);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int legendHeight() const;
    void drawLegend(QPainter& painter) const;
    void drawCheap(QPainter& painter, const QRect& plot) const;
    void drawBars(QPainter& painter, const QRect& plot) const;
    void drawHours(QPainter& painter, const QRect& plot) const;

    std::array<HourShares, 24> m_shares{};
    std::optional<CheapWindow> m_cheap;
};

} // namespace torvane
