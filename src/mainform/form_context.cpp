#include "form_context.h"

#include "core/numbers.h"

namespace torvane {

double FormContext::num(const TextBox& field) const
{
    return LeadingValue(field.text(), regional);
}

} // namespace torvane
