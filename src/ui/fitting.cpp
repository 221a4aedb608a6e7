#include "fitting.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>
#include <vector>

namespace torvane {
namespace {

// The widest digit of the script whose zero is given, in the font. Kept, since every field
// of a window asks it of the same font and script (the window's thread alone asks).
QChar widestDigit(const QFontMetricsF& metrics, const QFont& font, char16_t zero)
{
    struct Known {
        QFont font;
        char16_t zero;
        QChar widest;
    };
    static std::vector<Known> known;
    for (const Known& k : known) {
        if (k.zero == zero && k.font == font)
            return k.widest;
    }
    QChar widest(zero);
    qreal widestAdvance = metrics.horizontalAdvance(widest);
    for (char16_t digit = zero + 1; digit < zero + 10; ++digit) {
        if (const qreal advance = metrics.horizontalAdvance(QChar(digit));
            advance > widestAdvance) {
            widest = QChar(digit);
            widestAdvance = advance;
        }
    }
    known.push_back({font, zero, widest});
    return widest;
}

// The text with every digit made the widest digit of its script in the font, looked up
// once for each run of digits of one script.
QString widestDigits(const QString& text, const QFontMetricsF& metrics, const QFont& font)
{
    QString wide = text;
    char16_t zero = 0; // of the script looked up last; no digit's zero is 0
    QChar widest;
    for (QChar& character : wide) {
        const int value = character.digitValue();
        if (value < 0)
            continue;
        if (const auto itsZero = static_cast<char16_t>(character.unicode() - value);
            itsZero != zero) {
            zero = itsZero;
            widest = widestDigit(metrics, font, zero);
        }
        character = widest;
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
        widest =
            std::max(widest, metrics.horizontalAdvance(widestDigits(text, metrics, field.font())));
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

void FittedLineEdit::fitWidth(int width)
{
    m_fittedWidth = width;
    setMinimumWidth(width);
}

QSize FittedLineEdit::sizeHint() const
{
    QSize hint = QLineEdit::sizeHint();
    if (m_fittedWidth > 0)
        hint.setWidth(m_fittedWidth);
    return hint;
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
