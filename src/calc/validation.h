#pragma once

#include "form_context.h"

namespace torvane {

// Range checks: each broken rule appends its message and a line feed to MsgText.
void Check(FormContext& context);  // the tariff; rewrites it in fixed formats when it passed
void Check1(FormContext& context); // blank items, hours and items
void Check0(FormContext& context); // normalises the hours and item fields once all passed

// Combination checks (hours of a day, cheap rate, life with cost).
void Check2(FormContext& context);

// Appends one check message and its line feed.
void addCheckMessage(MainForm& form, const QString& message);

} // namespace torvane
