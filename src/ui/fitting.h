#pragma once

#include <QSize>
#include <QStringList>

class QLineEdit;
class QWidget;

namespace torvane {

// The width a field needs to show each of the texts whole, unscrolled: each measured with
// the field's own font, every digit as the font's widest one so that any figure of the
// same shape fits too, and the style's frame and margins added.
int widthToShow(const QLineEdit& field, const QStringList& texts);

// The room a window has on its screen: the available geometry less the frame that the
// window system puts around it (until that frame is known, the style's title bar).
QSize roomOnScreen(const QWidget& window);

} // namespace torvane
