#pragma once

#include <QElapsedTimer>
#include <QIODevice>

namespace torvane {

// Progress on standard error when that is a terminal (and the output goes elsewhere),
// once a run takes longer than a second: rows done, rows per second and the share of the
// input read. Wiped before anything else is told, and at the end.
class BatchProgress {
public:
    explicit BatchProgress(const QIODevice& input);
    ~BatchProgress() { wipe(); }
    void wipe();
    // Shown at most four times a second: a terminal is slow to write to.
    void rowDone(qint64 rows)
    {
        if (m_terminal)
            show(rows);
    }

private:
    void show(qint64 rows);

    const QIODevice& m_input;
    const bool m_terminal;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    bool m_shown = false;
};

} // namespace torvane
