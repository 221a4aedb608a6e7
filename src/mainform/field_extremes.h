#pragma once

#include "core/regional.h"
#include "main_form.h"

#include <QStringList>

#include <vector>

namespace torvane {

// The texts at the ends of what an input field's check accepts, as the window writes them:
// in the field's fixed format, with the currency symbol where the field shows one. The
// number of items is the most that a period can need, as the calculation writes it. Notes
// take any text and are not among them. A view sizes its fields from these.
struct FieldExtremes {
    TextBox* field;
    QStringList texts;
};
std::vector<FieldExtremes> fieldExtremes(MainForm& form, const Regional& regional);

} // namespace torvane
