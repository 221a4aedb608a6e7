#include "form_context.h"

#include "core/numbers.h"

namespace torvane {

double FormContext::num(const QString& text) const
{
    return LeadingValue(text, regional);
}

double FormContext::strict(const QString& text) const
{
    return StrictNumber(text, regional);
}

} // namespace torvane
