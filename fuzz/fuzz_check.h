#pragma once

#include <QString>

#include <cstdio>
#include <cstdlib>

// A property that failed: told with the input's own view of it, then a crash, so that
// libFuzzer keeps the input.
inline void require(bool holds, const char* property, const QString& detail = QString())
{
    if (holds)
        return;
    std::fprintf(stderr, "property failed: %s\n%s\n", property, qPrintable(detail));
    std::abort();
}
