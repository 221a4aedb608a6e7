#include "batch_progress.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace torvane {

BatchProgress::BatchProgress(const QIODevice& input)
    : m_input(input)
    , m_terminal(::isatty(2) == 1 && ::isatty(1) == 0)
{
    m_clock.start();
}

void BatchProgress::wipe()
{
    if (std::exchange(m_shown, false))
        std::fputs("\r\033[K", stderr);
}

void BatchProgress::show(qint64 rows)
{
    const qint64 now = m_clock.elapsed();
    if (now < 1000 || now - m_last < 250)
        return;
    m_last = now;
    QString line = u"\r%1 rows, %2 rows/s"_s.arg(rows).arg(rows * 1000 / now);
    if (const qint64 size = m_input.size(); size > 0)
        line += u", %1%"_s.arg(std::min<qint64>(m_input.pos() * 100 / size, 100));
    std::fputs(qPrintable(line + u"\033[K"_s), stderr);
    m_shown = true;
}

} // namespace torvane
