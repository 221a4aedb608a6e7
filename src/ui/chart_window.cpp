#include "chart_window.h"

#include "logo.h"
#include "svg_pictures.h"

#include <QBuffer>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// A file's picture in device-independent pixels, drawn at twice the pixels in PNG so that
// it stays sharp on a high-density screen and in print.
constexpr QSize PictureSize(960, 600);

// Round steps for an axis of values up to top: 1, 2, 2.5 or 5 times a power of ten, about
// five of them; the decimals that show such a step.
struct ValueAxis {
    double step = 1;
    double top = 1;
    int decimals = 0;
};

ValueAxis valueAxis(double highest)
{
    if (!(highest > 0))
        highest = 1;
    const double rough = highest / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    ValueAxis axis;
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        axis.step = factor * power;
        if (axis.step >= rough)
            break;
    }
    axis.top = std::ceil(highest / axis.step - 1e-9) * axis.step;
    const int fraction =
        axis.step < 1 ? static_cast<int>(std::ceil(-std::log10(axis.step) - 1e-9)) : 0;
    axis.decimals = std::clamp(fraction + (std::fmod(axis.step / power, 1.0) != 0 ? 1 : 0), 0, 4);
    return axis;
}

// Where the plot area of a chart drawn into rect lies, as drawChart lays it out.
struct Layout {
    QRectF plot;
    ValueAxis values;
    int months = 0;

    QPointF at(const QPointF& point) const
    {
        return {plot.left() + point.x() / std::max(months, 1) * plot.width(),
                plot.bottom() - point.y() / values.top * plot.height()};
    }
};

double highestValue(const ChartForm& form)
{
    double highest = 0;
    for (int item : {1, 2})
        for (const QPointF& point : form.line(item))
            highest = std::max(highest, point.y());
    return highest;
}

Layout layOut(const QRectF& rect, const ChartForm& form, const QFontMetricsF& metrics, double top)
{
    Layout layout;
    layout.months = form.months();
    layout.values = valueAxis(highestValue(form));
    double labels = 0;
    for (double value = 0; value <= layout.values.top + layout.values.step / 2;
         value += layout.values.step)
        labels = std::max(labels,
                          metrics.horizontalAdvance(form.valueText(value, layout.values.decimals)));
    const double line = metrics.height();
    // Room for the month names centred under the ends of the axis.
    const double right = std::max(line, metrics.horizontalAdvance(form.monthText(0)) / 2 + line);
    layout.plot = QRectF(rect.left() + labels + line, top + 2.5 * line,
                         rect.width() - labels - line - right, 0);
    layout.plot.setBottom(rect.bottom() - 2 * line);
    return layout;
}

// The value of a line at the end of a month: its first point there, before the step of
// a purchase at the start of the next.
double valueAt(const std::vector<QPointF>& line, int month)
{
    for (const QPointF& point : line)
        if (point.x() >= month)
            return point.y();
    return line.empty() ? 0 : line.back().y();
}

// What each stage of drawing a chart works with. The height of a line of text is the unit
// of the chart's spacing.
struct ChartDrawing {
    QPainter& painter;
    const ChartForm& form;
    const ChartColours& colours;
    const QFontMetricsF& metrics;
    double lineHeight;
};

// The title, larger and wrapped as it needs, then the sentence, both in bold across the
// top; returns where the chart below them starts.
double drawHeading(const ChartDrawing& drawing, const QRectF& rect, double top)
{
    QPainter& painter = drawing.painter;
    const double line = drawing.lineHeight;
    QFont bold = painter.font();
    bold.setBold(true);
    painter.save();
    QFont large = bold;
    large.setPointSizeF(bold.pointSizeF() * 1.25);
    painter.setFont(large);
    const QRectF across(rect.left() + line, top, rect.width() - 2 * line, rect.height() / 4);
    const int wrapped = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    const QRectF title = painter.boundingRect(across, wrapped, drawing.form.title());
    painter.drawText(across, wrapped, drawing.form.title());
    top = std::min(title.bottom(), across.bottom()) + line / 4;
    painter.setFont(bold);
    painter.drawText(QRectF(rect.left() + line, top, rect.width() - 2 * line, line * 1.5),
                     Qt::AlignLeft | Qt::AlignVCenter, drawing.form.Sentence.text());
    painter.restore();
    return top + line * 1.5;
}

// The title of the values and the legend, above the plot.
void drawTitleAndLegend(const ChartDrawing& drawing, const QRectF& rect, const QRectF& plot,
                        double top)
{
    QPainter& painter = drawing.painter;
    const double line = drawing.lineHeight;
    painter.drawText(QRectF(rect.left() + line / 2, top, plot.right(), line * 1.5),
                     Qt::AlignLeft | Qt::AlignVCenter, drawing.form.axisTitle());
    double legend = plot.right();
    for (int item : {2, 1}) {
        const QString name = u"Item %1"_s.arg(item);
        const double width = drawing.metrics.horizontalAdvance(name);
        legend -= width;
        painter.setPen(drawing.colours.text);
        painter.drawText(QPointF(legend, top + line), name);
        legend -= line * 2;
        painter.setPen(QPen(item == 1 ? drawing.colours.item1 : drawing.colours.item2, 3));
        painter.drawLine(QPointF(legend + line * 0.3, top + line * 0.7),
                         QPointF(legend + line * 1.6, top + line * 0.7));
        legend -= line;
    }
}

// The value axis: a grid line and a label at every step.
void drawValueAxis(const ChartDrawing& drawing, const QRectF& rect, const Layout& layout)
{
    QPainter& painter = drawing.painter;
    const double line = drawing.lineHeight;
    const QRectF& plot = layout.plot;
    const ValueAxis& values = layout.values;
    for (int at = 0; at * values.step <= values.top + values.step / 2; ++at) {
        const double value = at * values.step;
        const double y = layout.at({0, value}).y();
        painter.setPen(QPen(drawing.colours.grid, 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(drawing.colours.text);
        painter.drawText(QRectF(rect.left(), y - line / 2, plot.left() - line / 2, line),
                         Qt::AlignRight | Qt::AlignVCenter,
                         drawing.form.valueText(value, values.decimals));
    }
}

// The month axis: the month a tick stands for, as many as fit; then both axes' lines.
void drawMonthAxis(const ChartDrawing& drawing, const Layout& layout)
{
    QPainter& painter = drawing.painter;
    const double line = drawing.lineHeight;
    const QRectF& plot = layout.plot;
    const double widest = drawing.metrics.horizontalAdvance(drawing.form.monthText(0)) + line;
    const int fits = std::max(1, static_cast<int>(plot.width() / widest));
    int every = 1;
    for (int step : {1, 2, 3, 6, 12, 24}) {
        every = step;
        if (layout.months / step + 1 <= fits)
            break;
    }
    for (int month = 0; month <= layout.months; month += every) {
        const double x = layout.at({static_cast<double>(month), 0}).x();
        painter.setPen(QPen(drawing.colours.grid, 1));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom() + line / 4));
        painter.setPen(drawing.colours.text);
        painter.drawText(QRectF(x - widest / 2, plot.bottom() + line / 4, widest, line),
                         Qt::AlignHCenter | Qt::AlignTop, drawing.form.monthText(month));
    }
    painter.setPen(QPen(drawing.colours.text, 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

// Each item's line, with a step at every purchase.
void drawItemLines(const ChartDrawing& drawing, const Layout& layout)
{
    QPainter& painter = drawing.painter;
    const double line = drawing.lineHeight;
    // Within the plot, even for figures below nothing (only with the checks off).
    painter.save();
    painter.setClipRect(layout.plot.adjusted(-line, -line, line, 0));
    for (int item : {1, 2}) {
        QPainterPath path;
        const std::vector<QPointF>& points = drawing.form.line(item);
        path.moveTo(layout.at(points.front()));
        for (const QPointF& point : points)
            path.lineTo(layout.at(point));
        painter.setPen(QPen(item == 1 ? drawing.colours.item1 : drawing.colours.item2, 2.5,
                            Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(path);
    }
    painter.restore();
}

// The break-even month: a dashed line down the plot, a ring on Item 2's line and the
// month's name.
void drawBreakEven(const ChartDrawing& drawing, const Layout& layout, int month)
{
    QPainter& painter = drawing.painter;
    const double line = drawing.lineHeight;
    const QRectF& plot = layout.plot;
    const QPointF at =
        layout.at({static_cast<double>(month), valueAt(drawing.form.line(2), month)});
    painter.setPen(QPen(drawing.colours.marker, 1.5, Qt::DashLine));
    painter.drawLine(QPointF(at.x(), plot.top()), QPointF(at.x(), plot.bottom()));
    painter.setPen(QPen(drawing.colours.marker, 2));
    painter.setBrush(drawing.colours.background);
    painter.drawEllipse(at, line / 3, line / 3);
    const QString text = drawing.form.monthText(month);
    const double width = drawing.metrics.horizontalAdvance(text) + line / 2;
    // Beside the line, on the side with room.
    const double x =
        at.x() + width + line / 2 <= plot.right() ? at.x() + line / 4 : at.x() - width - line / 4;
    painter.drawText(QRectF(x, plot.top(), width, line), Qt::AlignCenter, text);
    painter.setBrush(Qt::NoBrush);
}

// The chart on screen: follows the model, and names each month's figures under the
// mouse.
class ChartCanvas final : public QWidget {
public:
    explicit ChartCanvas(ChartForm& form)
        : m_form(form)
    {
        setObjectName(u"Chart"_s);
        setAccessibleName(u"Cost chart"_s);
        setMinimumSize(360, 240);
        setMouseTracking(true);
    }

    QSize sizeHint() const override { return {720, 420}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        drawChart(painter, rect(), m_form, ChartColours::of(palette()), false);
    }

    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return QWidget::event(event);
        const auto* help = static_cast<QHelpEvent*>(event);
        const Layout layout = layOut(rect(), m_form, QFontMetricsF(font()), 0);
        const double across = (help->pos().x() - layout.plot.left()) / layout.plot.width();
        const int month =
            layout.plot.width() > 0 ? static_cast<int>(std::lround(across * layout.months)) : 0;
        if (month < 1 || month > layout.months) {
            QToolTip::hideText();
            return true;
        }
        QToolTip::showText(help->globalPos(),
                           u"%1\nItem 1: %2\nItem 2: %3"_s.arg(
                               m_form.monthText(month),
                               m_form.valueText(valueAt(m_form.line(1), month), 2),
                               m_form.valueText(valueAt(m_form.line(2), month), 2)),
                           this);
        return true;
    }

private:
    ChartForm& m_form;
};

} // namespace

ChartColours ChartColours::of(const QPalette& palette)
{
    const QColor background = palette.color(QPalette::Base);
    const bool dark = background.lightness() < 128;
    QColor grid = palette.color(QPalette::Text);
    grid.setAlphaF(0.2f);
    // Item 1 warm and Item 2 cool, told apart in either theme and by most colour-blind eyes.
    return {background,
            palette.color(QPalette::Text),
            grid,
            dark ? QColor(255, 150, 90) : QColor(200, 80, 0),
            dark ? QColor(110, 175, 255) : QColor(0, 90, 190),
            dark ? QColor(120, 220, 150) : QColor(0, 130, 60)};
}

void drawChart(QPainter& painter, const QRectF& rect, const ChartForm& form,
               const ChartColours& colours, bool withHeading)
{
    painter.fillRect(rect, colours.background);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font());
    const ChartDrawing drawing{painter, form, colours, metrics, metrics.height()};
    double top = rect.top() + drawing.lineHeight / 2;
    painter.setPen(colours.text);
    if (withHeading)
        top = drawHeading(drawing, rect, top);
    if (form.months() == 0)
        return;
    const Layout layout = layOut(rect, form, metrics, top);
    if (layout.plot.width() < drawing.lineHeight || layout.plot.height() < drawing.lineHeight)
        return;
    drawTitleAndLegend(drawing, rect, layout.plot, top);
    drawValueAxis(drawing, rect, layout);
    drawMonthAxis(drawing, layout);
    drawItemLines(drawing, layout);
    if (const std::optional<int> month = form.markedMonth())
        drawBreakEven(drawing, layout, *month);
}

ChartWindow::ChartWindow(ChartForm& form, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_form(form)
    , m_binding(form)
{
    setObjectName(u"frmChart"_s);
    setWindowTitle(u"Torvane Cost Chart"_s);
    setWindowIcon(logoIcon());
    auto* layout = new QVBoxLayout(this);
    auto* sentence = static_cast<QLabel*>(m_binding.widget(form.Sentence));
    QFont bold = sentence->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    sentence->setFont(bold);
    sentence->setWordWrap(true);
    sentence->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(sentence);
    auto* canvas = new ChartCanvas(form);
    layout->addWidget(canvas, 1);
    auto* buttons = new QHBoxLayout;
    for (Button* button : {&form.ShowCost, &form.ShowUnits, &form.ShowCO2})
        buttons->addWidget(m_binding.widget(*button));
    buttons->addStretch();
    for (Button* button : {&form.ExportPNG, &form.ExportSVG, &form.ExportCSV, &form.Close})
        buttons->addWidget(m_binding.widget(*button));
    layout->addLayout(buttons);
    m_binding.setTabOrder();

    const auto follow = [this, canvas] {
        canvas->setAccessibleDescription(m_form.description());
        canvas->update();
    };
    follow();
    connect(&form, &ChartForm::changed, canvas, follow);
    connect(&form, &ChartForm::closeRequested, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    form.setPictures(this);
}

ChartWindow::~ChartWindow()
{
    m_form.setPictures(nullptr);
}

QByteArray ChartWindow::picture(PictureFormat format)
{
    // A file is drawn light, whatever the screen's theme: it is shared and printed.
    QPalette light;
    light.setColor(QPalette::Base, Qt::white);
    light.setColor(QPalette::Text, Qt::black);
    const ChartColours colours = ChartColours::of(light);
    if (format == PictureFormat::Png) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImage image(PictureSize * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        QPainter painter(&image);
        painter.setFont(font());
        drawChart(painter, QRectF(QPointF(0, 0), PictureSize), m_form, colours, true);
        painter.end();
        if (!image.save(&buffer, "PNG"))
            return QByteArray();
        return bytes;
    }
    // Without the picture module there is no drawing: the export says it could not be drawn.
    QString why;
    SvgPictures* pictures = svgPictures(why);
    if (!pictures)
        return QByteArray();
    return pictures->write(
        PictureSize, QImage(1, 1, QImage::Format_ARGB32).logicalDpiX(), // fonts as in the PNG
        m_form.title(), m_form.description(), [&](QPainter& painter) {
            painter.setFont(font());
            drawChart(painter, QRectF(QPointF(0, 0), PictureSize), m_form, colours, true);
        });
}

} // namespace torvane
