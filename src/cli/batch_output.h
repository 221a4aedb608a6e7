#pragma once

#include "batch.h"
#include "batch_options.h"

#include <QByteArray>
#include <QStringEncoder>

namespace torvane {

// "standard output cannot be written: " and the reason for the error number.
QString outputProblem(int error);

// Standard output in UTF-8, written in blocks of about 64 KiB. A write that fails is
// remembered with its reason; nothing more is written after it.
class StandardOutput {
public:
    StandardOutput() { m_buffer.reserve(Block + 16 * 1024); }
    void write(QStringView text)
    {
        const qsizetype used = m_buffer.size();
        m_buffer.resize(used + m_encoder.requiredSpace(text.size()));
        char* end = m_encoder.appendToBuffer(m_buffer.data() + used, text);
        m_buffer.truncate(end - m_buffer.constData());
        if (m_buffer.size() > Block)
            flush();
    }
    bool flush();
    bool ok() const { return m_error == 0; }
    int error() const { return m_error; }

private:
    static constexpr qsizetype Block = 64 * 1024;
    QByteArray m_buffer;
    QStringEncoder m_encoder{QStringConverter::Utf8};
    int m_error = 0;
};

// The line of column names the format starts with, if it has one.
void writeHeading(StandardOutput& out, BatchOptions::Format format);
// One row's outcome as the format writes it.
void writeRow(StandardOutput& out, qint64 row, const BatchComparison::Result& result,
              BatchOptions::Format format);

} // namespace torvane
