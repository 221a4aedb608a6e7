#pragma once

#include <QLineEdit>
#include <QSize>
#include <QStringList>

class QWidget;

namespace torvane {

// A line edit that asks for the width its texts need once told it, where a plain one asks
// for room for 17 x's whatever it holds: a window of such fields is as compact as what
// they show, and costs that much less to draw.
class FittedLineEdit : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    // The width it needs, as its least and as the width it asks for.
    void fitWidth(int width);
    QSize sizeHint() const override;

private:
    int m_fittedWidth = 0; // none until told
};

// The width a field needs to show each of the texts whole, unscrolled: each measured with
// the field's own font, every digit as the font's widest one so that any figure of the
// same shape fits too, and the style's frame and margins added.
int widthToShow(const QLineEdit& field, const QStringList& texts);

// The room a window has on its screen: the available geometry less the frame that the
// window system puts around it (until that frame is known, the style's title bar).
QSize roomOnScreen(const QWidget& window);

} // namespace torvane
