#include "fitting.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace torvane {
namespace {

// The text with every digit made the widest digit of its script in the font.
QString widestDigits(const QString& text, const QFontMetricsF& metrics)
{
    QString wide = text;
    for (QChar& character : wide) {
        const int value = character.digitValue();
        if (value < 0)
            continue;
        const char16_t zero = static_cast<char16_t>(character.unicode() - value);
        for (char16_t digit = zero; digit < zero + 10; ++digit) {
            if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(character))
                character = QChar(digit);
        }
    }
    return wide;
}

} // namespace

int widthToShow(const QLineEdit& field, const QStringList& texts)
{
    field.ensurePolished();
    const QFontMetricsF metrics(field.font());
    qreal widest = 0;
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(widestDigits(text, metrics)));
    // As a line edit lays its text out: a pixel for the cursor after the text, two pixels
    // of margin at each end of the line, its text and contents margins, inside the frame.
    constexpr int LineMargin = 2;
    const QMargins text = field.textMargins();
    const QMargins contents = field.contentsMargins();
    const int width = static_cast<int>(std::ceil(widest)) + 1 + 2 * LineMargin + text.left() +
                      text.right() + contents.left() + contents.right();
    QStyleOptionFrame option;
    option.initFrom(&field);
    option.lineWidth =
        field.hasFrame() ? field.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &field)
                         : 0;
    option.state |= QStyle::State_Sunken;
    if (field.isReadOnly())
        option.state |= QStyle::State_ReadOnly;
    return field.style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, field.fontMetrics().height()),
                           &field)
        .width();
}

QSize roomOnScreen(const QWidget& window)
{
    const QSize available = window.screen()->availableGeometry().size();
    const QSize frame = window.frameGeometry().size() - window.size();
    if (frame.width() > 0 || frame.height() > 0)
        return available - frame;
    return available - QSize(0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight));
}

} // namespace torvane
