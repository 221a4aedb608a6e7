#pragma once

#include "batch.h"
#include "batch_options.h"
#include "core/text_buffer.h"

#include <QStringEncoder>

#include <memory>

namespace torvane {

// "standard output cannot be written: " and the reason for the error number.
QString outputProblem(int error);

// Standard output in UTF-8, written in blocks of about 64 KiB. A write that fails is
// remembered with its reason; nothing more is written after it.
class StandardOutput {
public:
    StandardOutput();
    // Whole texts only: a character is never split between two writes.
    void write(QStringView text)
    {
        const auto size = static_cast<std::size_t>(text.size());
        if (size <= LongText && m_pending.size() + size <= PendingChars)
            m_pending.setEnd(copyText(text.utf16(), size, m_pending.room(size)));
        else
            writeLong(text);
    }
    // A CSV field, quoted when it holds a comma, a quote or a line break.
    void writeCsvField(QStringView value);
    // Each value as a CSV field after a comma.
    void writeCsvFields(const QList<QStringView>& values);
    bool flush();
    bool ok() const { return m_error == 0; }
    int error() const { return m_error; }

private:
    static constexpr qsizetype Block = 64 * 1024;
    static constexpr std::size_t PendingChars = 4096;
    static constexpr std::size_t LongText = 512; // encoded as it stands, not gathered
    void writeLong(QStringView text);
    void encodePending();
    // At most PendingChars characters.
    void encode(QStringView text);
    bool flushBytes();

    TextBuffer m_pending; // written, not yet encoded
    std::unique_ptr<char[]> m_bytes;
    qsizetype m_used = 0;
    // Each write whole: a text never leaves half a character for the next.
    QStringEncoder m_encoder{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
    int m_error = 0;
};

// The line of column names the format starts with, if it has one.
void writeHeading(StandardOutput& out, BatchOptions::Format format);
// One row's outcome as the format writes it.
void writeRow(StandardOutput& out, qint64 row, const BatchComparison::Result& result,
              BatchOptions::Format format);

} // namespace torvane
