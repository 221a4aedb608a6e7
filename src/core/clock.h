#pragma once

#include <QDateTime>

namespace torvane {

// Time source of every time stamp the program writes, so tests can pin it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace torvane
