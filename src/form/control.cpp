#include "control.h"

#include <QTextBoundaryFinder>

namespace torvane {

Control::Control(Kind kind, QString name, QString text, QString toolTip, Colour back)
    : m_kind(kind)
    , m_name(std::move(name))
    , m_text(std::move(text))
    , m_toolTip(std::move(toolTip))
    , m_back(back)
{}

void Control::notify() const
{
    if (m_observer)
        m_observer->controlChanged(*this);
}

bool Control::assignText(const QString& text)
{
    if (m_text == text)
        return false;
    m_text = text;
    notify();
    return true;
}

void Control::setToolTip(const QString& toolTip)
{
    if (m_toolTip != toolTip) {
        m_toolTip = toolTip;
        notify();
    }
}

void Control::setEnabled(bool enabled)
{
    if (m_enabled != enabled) {
        m_enabled = enabled;
        notify();
    }
}

void Control::setForeColour(Colour colour)
{
    if (m_fore != colour) {
        m_fore = colour;
        notify();
    }
}

void Control::setBackColour(Colour colour)
{
    if (m_back != colour) {
        m_back = colour;
        notify();
    }
}

TextBox::TextBox(QString name, QString toolTip, bool output, int maxLength)
    : Control(Kind::TextBox, std::move(name), QString(), std::move(toolTip),
              Colours::windowBackground)
    , m_output(output)
    , m_maxLength(maxLength)
{}

void TextBox::setText(const QString& text)
{
    if (assignText(text) && onChange)
        onChange();
}

qsizetype characterCount(QStringView text)
{
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype count = 0;
    while (characters.toNextBoundary() >= 0)
        ++count;
    return count;
}

QStringView typedPart(QStringView text, int maxLength)
{
    // Every character takes at least one unit.
    if (maxLength <= 0 || text.size() <= maxLength)
        return text;
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype end = 0;
    for (int count = 0; count < maxLength && end >= 0; ++count)
        end = characters.toNextBoundary();
    return end < 0 ? text : text.first(end);
}

void TextBox::type(const QString& text)
{
    // Typing takes the text no further past the limit than the program wrote it.
    const QStringView kept = typedPart(text, m_maxLength);
    if (kept.size() == text.size() || characterCount(text) <= characterCount(this->text()))
        setText(text);
    else
        setText(kept.toString());
}

Label::Label(QString name, QString caption, Colour back)
    : Control(Kind::Label, std::move(name), std::move(caption), QString(), back)
{}

void Label::setCaption(const QString& caption)
{
    assignText(caption);
}

Button::Button(QString name, QString caption, QString toolTip, bool enabled)
    : Control(Kind::Button, std::move(name), std::move(caption), std::move(toolTip),
              Colours::buttonFace)
{
    setEnabled(enabled);
}

void Button::setCaption(const QString& caption)
{
    assignText(caption);
}

void Button::click() const
{
    if (onClick)
        onClick();
}

CheckBox::CheckBox(QString name, QString toolTip)
    : Control(Kind::CheckBox, std::move(name), QString(), std::move(toolTip), Colours::buttonFace)
{}

void CheckBox::setValue(int value)
{
    if (m_value == value)
        return;
    m_value = value;
    notify();
    if (onClick)
        onClick();
}

void CheckBox::userClick()
{
    setValue(m_value == 1 ? 0 : 1);
}

} // namespace torvane
