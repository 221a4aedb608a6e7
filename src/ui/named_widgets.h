#pragma once

#include <QPushButton>
#include <QString>

namespace torvane {

// A widget of a hand-built window, with the name tests find it by and the name a screen
// reader reads.
template <typename W> W* named(W* widget, const QString& objectName, const QString& accessibleName)
{
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessibleName);
    return widget;
}

// A button of such a window. Enter belongs to the field or list it is pressed in, not to a
// default button.
inline QPushButton* namedButton(const QString& caption, const QString& objectName,
                                const QString& accessibleName)
{
    auto* button = named(new QPushButton(caption), objectName, accessibleName);
    button->setAutoDefault(false);
    return button;
}

} // namespace torvane
