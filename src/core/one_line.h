#pragma once

#include <QChar>

namespace torvane {

// Whether the character breaks a line or controls the text rather than showing: where a
// text must stay on one line (the notes in a record, a quote in a message, a title) it
// shows as a blank.
inline bool breaksLine(QChar c)
{
    // Printable ASCII, most of any text, without a look-up.
    if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
        return false;
    const QChar::Category kind = c.category();
    return kind == QChar::Other_Control || kind == QChar::Separator_Line ||
           kind == QChar::Separator_Paragraph;
}

} // namespace torvane
