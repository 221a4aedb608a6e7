#pragma once

#include <QString>

#include <functional>

namespace torvane {

// A colour as the program sets it: an explicit RGB value or one of the theme's colours.
struct Colour {
    enum class Role : quint8 { Rgb, ButtonFace, WindowBackground, WindowText };
    Role role = Role::Rgb;
    quint8 red = 0;
    quint8 green = 0;
    quint8 blue = 0;

    static constexpr Colour rgb(quint8 r, quint8 g, quint8 b) { return {Role::Rgb, r, g, b}; }
    static constexpr Colour theme(Role role) { return {role, 0, 0, 0}; }
    friend bool operator==(const Colour&, const Colour&) = default;
};

namespace Colours {
inline constexpr Colour black = Colour::rgb(0, 0, 0);
inline constexpr Colour orange = Colour::rgb(255, 128, 0);
inline constexpr Colour lightYellow = Colour::rgb(255, 255, 192);
inline constexpr Colour lightGreen = Colour::rgb(192, 255, 192);
inline constexpr Colour lightBlue = Colour::rgb(192, 192, 255);
inline constexpr Colour lightPink = Colour::rgb(255, 192, 192);
inline constexpr Colour buttonFace = Colour::theme(Colour::Role::ButtonFace);
inline constexpr Colour windowBackground = Colour::theme(Colour::Role::WindowBackground);
inline constexpr Colour windowText = Colour::theme(Colour::Role::WindowText);
} // namespace Colours

class Control;

// Told of every property change, so that a view can mirror the model.
class ControlObserver {
public:
    virtual ~ControlObserver() = default;
    virtual void controlChanged(const Control& control) = 0;
};

// A control of a window as the program sees it: the text (or caption), the tooltip, the
// enabled state and the colours. Subclasses add what their kind of control has.
class Control {
public:
    enum class Kind { TextBox, Label, Button, CheckBox };

    Control(Kind kind, QString name, QString text, QString toolTip, Colour back);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Kind kind() const { return m_kind; }
    const QString& name() const { return m_name; }

    const QString& text() const { return m_text; }
    const QString& toolTip() const { return m_toolTip; }
    bool enabled() const { return m_enabled; }
    Colour foreColour() const { return m_fore; }
    Colour backColour() const { return m_back; }

    void setToolTip(const QString& toolTip);
    void setEnabled(bool enabled);
    void setForeColour(Colour colour);
    void setBackColour(Colour colour);

    void setObserver(ControlObserver* observer) { m_observer = observer; }

protected:
    // Returns whether the text changed.
    bool assignText(const QString& text);
    void notify() const;

private:
    Kind m_kind;
    QString m_name;
    QString m_text;
    QString m_toolTip;
    bool m_enabled = true;
    Colour m_fore = Colours::windowText;
    Colour m_back;
    ControlObserver* m_observer = nullptr;
};

// What typing leaves of a text in a field that takes at most maxLength characters as the
// user sees them (a letter with its accents, an emoji with its modifiers; 0 for no limit).
QStringView typedPart(QStringView text, int maxLength);
qsizetype characterCount(QStringView text);

// A text box: setting its text raises its Change event when the text differs, whoever
// sets it. maxLength limits what the user can type, not what the program writes.
class TextBox final : public Control {
public:
    TextBox(QString name, QString toolTip, bool output = false, int maxLength = 0);

    void setText(const QString& text);
    // What typing does: the text, cut to the length the field accepts.
    void type(const QString& text);

    bool isOutput() const { return m_output; }
    int maxLength() const { return m_maxLength; }
    // An output field whose text runs over several lines.
    bool multiLine() const { return m_multiLine; }
    void setMultiLine(bool multiLine) { m_multiLine = multiLine; }

    std::function<void()> onChange;

private:
    bool m_output;
    int m_maxLength;
    bool m_multiLine = false;
};

class Label final : public Control {
public:
    Label(QString name, QString caption, Colour back = Colours::buttonFace);
    void setCaption(const QString& caption);

    // A label that can be clicked reads as a link.
    std::function<void()> onClick;
};

class Button final : public Control {
public:
    Button(QString name, QString caption, QString toolTip, bool enabled = true);
    void setCaption(const QString& caption);
    // Runs the click handler; handlers that care about the enabled state test it.
    void click() const;

    std::function<void()> onClick;
};

// A check box: 0 unticked, 1 ticked, 2 greyed. Setting a different value raises Click,
// as a click by the user does.
class CheckBox final : public Control {
public:
    CheckBox(QString name, QString toolTip);

    int value() const { return m_value; }
    void setValue(int value);
    // What a click by the user does: toggles between ticked and unticked.
    void userClick();

    std::function<void()> onClick;

private:
    int m_value = 0;
};

} // namespace torvane
