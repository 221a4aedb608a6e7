#include "form_binding.h"

#include "fitting.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <QValidator>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

QColor toQColor(Colour colour, const QPalette& palette)
{
    switch (colour.role) {
    case Colour::Role::Rgb:
        break;
    case Colour::Role::ButtonFace:
        return palette.color(QPalette::Button);
    case Colour::Role::WindowBackground:
        return palette.color(QPalette::Base);
    case Colour::Role::WindowText:
        return palette.color(QPalette::Text);
    }
    return QColor(colour.red, colour.green, colour.blue);
}

// Gives the role that colour in an active and an inactive window; a disabled control
// keeps the theme's look, so that a field that takes no typing does not look as if it
// did. A role that has that colour in the theme anyway is left unset, so that widgets the
// program leaves in the theme's colours share their palette, and the style draws what
// they have in common (a button's face) once for all of them.
void setColour(QPalette& palette, QPalette::ColorRole role, const QColor& colour,
               const QPalette& theme)
{
    const auto groups = {QPalette::Active, QPalette::Inactive};
    if (std::all_of(groups.begin(), groups.end(),
                    [&](QPalette::ColorGroup group) { return theme.color(group, role) == colour; }))
        return;
    for (const QPalette::ColorGroup group : groups)
        palette.setColor(group, role, colour);
}

// A caption as it reads: without the "&" that marks the access key, the blanks that pad
// it and the colon that leads to its field.
QString readable(const QString& caption)
{
    QString text = caption;
    text.remove(QLatin1Char('&'));
    text = text.trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

// A text box's text in its widget. A line edit is set only when its text differs, so that
// typing keeps its cursor and undo history.
void showText(QWidget* widget, const QString& text)
{
    if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
        lines->setPlainText(QString(text).replace(u"\r\n"_s, u"\n"_s));
        return;
    }
    auto* edit = static_cast<QLineEdit*>(widget);
    if (edit->text() != text)
        edit->setText(text);
}

// A label's caption; one that can be clicked reads as a link.
void showLabel(QLabel* widget, const Label& label)
{
    if (label.onClick)
        widget->setText(u"<a href=\"#\">"_s + label.text().toHtmlEscaped() + u"</a>"_s);
    else
        widget->setText(label.text());
}

// A check box's state: 0 unticked, 1 ticked, 2 greyed.
void showState(QCheckBox* box, int value)
{
    box->setTristate(value == 2);
    box->setCheckState(value == 1   ? Qt::Checked
                       : value == 2 ? Qt::PartiallyChecked
                                    : Qt::Unchecked);
}

// A field with a limit takes typing and pasting as a full field does: of what is put in,
// only the characters that still fit; what the program wrote stays whole.
class TypingLimit final : public QValidator {
public:
    TypingLimit(const TextBox& box, QObject* parent)
        : QValidator(parent)
        , m_box(box)
    {}
    State validate(QString& input, int& pos) const override
    {
        const QStringView before = m_box.text();
        const int limit = m_box.maxLength();
        // Within the limit, or no longer than what the program wrote: taken as it is.
        const qsizetype count = characterCount(input);
        if (count <= limit || count <= characterCount(before))
            return Acceptable;
        // The edit: what was put in between the part kept at the start and the part kept
        // at the end, each of whole characters.
        const auto whole = [](QStringView text, qsizetype at) {
            QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text.data(), text.size());
            characters.setPosition(at);
            return characters.isAtBoundary();
        };
        qsizetype head = 0;
        while (head < before.size() && input[head] == before[head])
            ++head;
        while (head > 0 && !(whole(input, head) && whole(before, head)))
            --head;
        qsizetype tail = 0;
        while (tail < before.size() - head &&
               input[input.size() - 1 - tail] == before[before.size() - 1 - tail])
            ++tail;
        while (tail > 0 &&
               !(whole(input, input.size() - tail) && whole(before, before.size() - tail)))
            --tail;
        const qsizetype room =
            limit - characterCount(before.first(head)) - characterCount(before.last(tail));
        const QStringView added = QStringView(input).sliced(head, input.size() - head - tail);
        const qsizetype fits = room > 0 ? typedPart(added, static_cast<int>(room)).size() : 0;
        // Nothing fits: refused, as a full field refuses a key, and the undo history stays.
        if (fits == 0)
            return Invalid;
        input.remove(head + fits, added.size() - fits);
        pos = static_cast<int>(head + fits);
        return Acceptable;
    }

private:
    const TextBox& m_box;
};

} // namespace

FormBinding::FormBinding(Form& form, QObject* parent)
    : QObject(parent)
    , m_form(form)
    , m_formAlive(form.lifetime())
{
    m_form.setObserver(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!m_formAlive.expired())
            m_form.focusMoved(m_controls.value(now));
    });
}

FormBinding::~FormBinding()
{
    if (!m_formAlive.expired())
        m_form.setObserver(nullptr);
}

QWidget* FormBinding::widget(Control& control)
{
    if (QWidget* made = m_widgets.value(&control))
        return made;
    QWidget* widget = nullptr;
    switch (control.kind()) {
    case Control::Kind::TextBox:
        widget = makeTextField(static_cast<TextBox&>(control));
        break;
    case Control::Kind::Label:
        widget = makeLabel(static_cast<Label&>(control));
        break;
    case Control::Kind::Button:
        widget = makeButton(static_cast<Button&>(control));
        break;
    case Control::Kind::CheckBox:
        widget = makeCheckBox(static_cast<CheckBox&>(control));
        break;
    }
    widget->setObjectName(control.name());
    m_widgets.insert(&control, widget);
    m_controls.insert(widget, &control);
    controlChanged(control);
    return widget;
}

QWidget* FormBinding::makeTextField(TextBox& box)
{
    if (box.isOutput() && box.multiLine()) {
        auto* lines = new QPlainTextEdit;
        lines->setReadOnly(true);
        lines->setFocusPolicy(Qt::ClickFocus);
        return lines;
    }
    auto* edit = new FittedLineEdit;
    edit->setReadOnly(box.isOutput());
    if (box.maxLength() > 0)
        edit->setValidator(new TypingLimit(box, edit));
    if (box.isOutput())
        edit->setFocusPolicy(Qt::ClickFocus);
    edit->installEventFilter(this);
    // The program's own changes arrive equal to the model's text; any other is the
    // user's, whichever way it was made.
    connect(edit, &QLineEdit::textChanged, this, [this, &box](const QString& text) {
        if (text == box.text())
            return;
        box.type(text);
        // The field may take less than the widget let in.
        if (box.text() != text)
            controlChanged(box);
    });
    return edit;
}

bool FormBinding::eventFilter(QObject* watched, QEvent* event)
{
    // A click on a disabled field takes the focus from the field that had it: what the
    // user types next, thinking it goes into the field clicked, goes nowhere.
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* clicked = static_cast<QWidget*>(watched);
        QWidget* focused = QApplication::focusWidget();
        if (!clicked->isEnabled() && focused && focused->window() == clicked->window())
            focused->clearFocus();
    }
    return QObject::eventFilter(watched, event);
}

QWidget* FormBinding::makeLabel(Label& label)
{
    auto* text = new QLabel;
    if (label.onClick) {
        text->setTextFormat(Qt::RichText);
        text->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        connect(text, &QLabel::linkActivated, this, [&label] { label.onClick(); });
    } else {
        text->setTextFormat(Qt::PlainText);
    }
    return text;
}

QWidget* FormBinding::makeButton(Button& button)
{
    auto* push = new QPushButton;
    connect(push, &QPushButton::clicked, this, [&button] { button.click(); });
    return push;
}

QWidget* FormBinding::makeCheckBox(CheckBox& check)
{
    auto* box = new QCheckBox;
    // A click, the space bar or an accessibility tool's toggle: any state the program
    // did not set is the user's click, and the model decides the state shown.
    connect(box, &QCheckBox::stateChanged, this, [this, &check](int state) {
        const int value = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
        if (value != check.value()) {
            check.userClick();
            controlChanged(check);
        }
    });
    return box;
}

void FormBinding::setAccessibleName(Control& control, const QString& name)
{
    widget(control)->setAccessibleName(name);
}

void FormBinding::setAccessibleName(Control& control, const QString& before, const Control& label,
                                    const QString& after)
{
    m_names.push_back({&control, before, &label, after});
    rename(label);
}

void FormBinding::rename(const Control& label)
{
    for (const LabelledName& name : m_names) {
        if (name.label == &label)
            widget(*name.control)
                ->setAccessibleName(name.before + readable(label.text()) + name.after);
    }
}

void FormBinding::setTabOrder()
{
    QWidget* previous = nullptr;
    for (Control* control : m_form.controls()) {
        QWidget* next = m_widgets.value(control);
        if (!next || !(next->focusPolicy() & Qt::TabFocus))
            continue;
        if (previous)
            QWidget::setTabOrder(previous, next);
        previous = next;
    }
}

void FormBinding::controlChanged(const Control& control)
{
    QWidget* widget = m_widgets.value(&control);
    if (!widget)
        return;
    widget->setToolTip(control.toolTip());
    widget->setEnabled(control.enabled());
    // Only the roles the program colours are set; the widget inherits the rest.
    QPalette palette;
    const QPalette theme = QApplication::palette(widget);
    switch (control.kind()) {
    case Control::Kind::TextBox:
        setColour(palette, QPalette::Base, toQColor(control.backColour(), theme), theme);
        setColour(palette, QPalette::Text, toQColor(control.foreColour(), theme), theme);
        showText(widget, control.text());
        break;
    case Control::Kind::Label:
        showLabel(static_cast<QLabel*>(widget), static_cast<const Label&>(control));
        rename(control);
        break;
    case Control::Kind::Button:
        static_cast<QPushButton*>(widget)->setText(control.text());
        setColour(palette, QPalette::Button, toQColor(control.backColour(), theme), theme);
        break;
    case Control::Kind::CheckBox:
        showState(static_cast<QCheckBox*>(widget), static_cast<const CheckBox&>(control).value());
        break;
    }
    widget->setPalette(palette);
}

void FormBinding::focusRequested(const Control& control)
{
    if (QWidget* widget = m_widgets.value(&control))
        widget->setFocus(Qt::OtherFocusReason);
}

} // namespace torvane
