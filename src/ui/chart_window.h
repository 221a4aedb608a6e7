#pragma once

#include "app/chart_form.h"
#include "form_binding.h"

#include <QColor>
#include <QWidget>

class QPainter;

namespace torvane {

// The colours of a chart: taken from the window's theme on screen, light in a file.
struct ChartColours {
    QColor background, text, grid, item1, item2, marker;
    static ChartColours of(const QPalette& palette);
};

// Draws the chart of the form's lines into the rectangle: axes in the user's money,
// numbers and month names, a step at every purchase, the break-even month marked. With
// the title and the sentence on top when the picture has to stand alone (a file).
void drawChart(QPainter& painter, const QRectF& rect, const ChartForm& form,
               const ChartColours& colours, bool withHeading);

// The cost chart window: the sentence, the chart, the switch and the exports, bound to
// its model.
class ChartWindow final : public QWidget, private ChartPictures {
    Q_OBJECT

public:
    explicit ChartWindow(ChartForm& form, QWidget* parent = nullptr);
    ~ChartWindow() override;

private:
    QByteArray picture(PictureFormat format) override;

    ChartForm& m_form;
    FormBinding m_binding;
};

} // namespace torvane
