#include "hour_picture.h"

#include <QAccessibleWidget>
#include <QPainter>

#include <cmath>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// Fixed colours that tell apart on a light or a dark window and in the common kinds of
// colour blindness.
const QColor OffColour(0xBD, 0xBD, 0xBD);
const QColor StandbyColour(0xE6, 0x9F, 0x00);
const QColor OnColour(0x00, 0x72, 0xB2);
const QColor CheapColour(0x00, 0x9E, 0x73);
constexpr int CheapMark = 6; // the height of the cheap-rate mark under the bars
constexpr int Gap = 4;

QColor colourOf(HourState state)
{
    switch (state) {
    case HourState::Standby:
        return StandbyColour;
    case HourState::On:
        return OnColour;
    default:
        return OffColour;
    }
}

// A screen reader names the picture a graphic, not a pane.
QAccessibleInterface* pictureAccessible(const QString& className, QObject* object)
{
    if (className == u"torvane::HourPicture"_s && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

// Where a time of day, in minutes, falls across the plot.
int xOf(const QRect& plot, int minute)
{
    return plot.left() + plot.width() * minute / 1440;
}

} // namespace

HourPicture::HourPicture(QWidget* parent)
    : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(pictureAccessible), true);
    Q_UNUSED(installed);
    setVisible(false);
}

void HourPicture::setMeasured(const std::optional<MeasuredUse>& use, const Regional& regional)
{
    const bool measured = use && use->outcome == MeasuredUse::Outcome::Measured;
    if (measured) {
        for (std::size_t hour = 0; hour < m_shares.size(); ++hour)
            m_shares[hour] = hourShares(use->hours[hour]);
        m_cheap = use->cheap;
        m_keys.clear();
        for (const StateKey& key : stateKeys(*use, &regional))
            m_keys.emplace_back(colourOf(key.state), key.text);
        if (m_cheap)
            m_keys.emplace_back(CheapColour, u"Cheap rate"_s);
        updateGeometry();
    }
    setAccessibleDescription(measured ? dayByHourText(*use, &regional) : QString());
    setVisible(measured);
    update();
}

QSize HourPicture::sizeHint() const
{
    return {std::max(480, legendWidth()),
            legendHeight() + fontMetrics().height() + CheapMark + 120};
}

// As wide as the legend, which must not be cut.
QSize HourPicture::minimumSizeHint() const
{
    return {std::max(240, legendWidth()), legendHeight() + fontMetrics().height() + CheapMark + 60};
}

int HourPicture::legendWidth() const
{
    int width = 2 * fontMetrics().horizontalAdvance(u"24"_s);
    for (const auto& [colour, text] : m_keys)
        width += fontMetrics().ascent() + Gap + fontMetrics().horizontalAdvance(text) + 3 * Gap;
    return width;
}

int HourPicture::legendHeight() const
{
    return fontMetrics().height() + Gap;
}

void HourPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int margin = fontMetrics().horizontalAdvance(u"24"_s);
    const QRect plot(margin, legendHeight(), width() - 2 * margin,
                     height() - legendHeight() - fontMetrics().height() - CheapMark - Gap);
    if (plot.width() < 24 || plot.height() < 8)
        return;
    drawLegend(painter);
    drawCheap(painter, plot);
    drawBars(painter, plot);
    drawHours(painter, plot);
}

void HourPicture::drawLegend(QPainter& painter) const
{
    const int box = fontMetrics().ascent();
    int x = fontMetrics().horizontalAdvance(u"24"_s);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const auto& [colour, text] : m_keys) {
        painter.fillRect(x, (fontMetrics().height() - box) / 2, box, box, colour);
        x += box + Gap;
        painter.drawText(QRect(x, 0, width() - x, fontMetrics().height()), Qt::AlignVCenter, text);
        x += fontMetrics().horizontalAdvance(text) + 3 * Gap;
    }
}

// Shaded behind the bars and marked under them, past midnight in two parts.
void HourPicture::drawCheap(QPainter& painter, const QRect& plot) const
{
    if (!m_cheap)
        return;
    QColor shade = CheapColour;
    shade.setAlpha(90);
    const auto mark = [&](int from, int to) {
        const int left = xOf(plot, from);
        const int right = xOf(plot, to);
        painter.fillRect(left, plot.top(), right - left, plot.height(), shade);
        painter.fillRect(left, plot.bottom() + 2, right - left, CheapMark, CheapColour);
    };
    if (m_cheap->startMinute < m_cheap->endMinute) {
        mark(m_cheap->startMinute, m_cheap->endMinute);
    } else {
        mark(m_cheap->startMinute, 1440);
        mark(0, m_cheap->endMinute);
    }
}

// From the bottom: on, standby, off; an hour with no known time is an empty outline.
void HourPicture::drawBars(QPainter& painter, const QRect& plot) const
{
    for (int hour = 0; hour < 24; ++hour) {
        const HourShares& s = m_shares[static_cast<std::size_t>(hour)];
        const int left = xOf(plot, hour * 60) + 2;
        const int right = xOf(plot, hour * 60 + 60) - 2;
        const auto y = [&](double share) {
            return plot.bottom() + 1 - static_cast<int>(std::lround(share * plot.height()));
        };
        if (s.off + s.standby + s.on == 0) {
            painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
            painter.drawRect(left, plot.top(), right - left - 1, plot.height() - 1);
            continue;
        }
        const int onTop = y(s.on);
        const int standbyTop = y(s.on + s.standby);
        painter.fillRect(left, onTop, right - left, plot.bottom() + 1 - onTop, OnColour);
        painter.fillRect(left, standbyTop, right - left, onTop - standbyTop, StandbyColour);
        painter.fillRect(left, plot.top(), right - left, standbyTop - plot.top(), OffColour);
    }
}

void HourPicture::drawHours(QPainter& painter, const QRect& plot) const
{
    painter.setPen(palette().color(QPalette::WindowText));
    const int top = plot.bottom() + 2 + CheapMark;
    for (const int hour : {0, 6, 12, 18, 24}) {
        const int x = xOf(plot, hour * 60);
        const QString text = QString::number(hour);
        const int half = fontMetrics().horizontalAdvance(text) / 2;
        painter.drawLine(x, plot.bottom() + 1, x, top);
        painter.drawText(QRect(x - half - 1, top, 2 * half + 2, fontMetrics().height()),
                         Qt::AlignCenter, text);
    }
}

} // namespace torvane
