#pragma once

#include <QBuffer>
#include <QString>

#include <algorithm>

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

// A buffer that hands out at most a few bytes at a time, as a pipe may.
class Trickle final : public QBuffer {
public:
    explicit Trickle(qint64 most)
        : m_most(most)
    {}

protected:
    qint64 readData(char* data, qint64 size) override
    {
        return QBuffer::readData(data, std::min(size, m_most));
    }

private:
    qint64 m_most;
};
