#pragma once

#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <memory>

namespace torvane {

// UTF-16 text written through a pointer, for texts built piece by piece in bulk: room is
// made without filling it, and clearing keeps the room for the next text.
class TextBuffer {
public:
    char16_t* begin() { return m_data.get(); }
    const char16_t* begin() const { return m_data.get(); }
    std::size_t size() const { return m_size; }
    QStringView view() const { return QStringView(m_data.get(), static_cast<qsizetype>(m_size)); }
    void clear() { m_size = 0; }

    // Room for at least more characters after the text; what is written there counts once
    // the text is ended there with setEnd().
    char16_t* room(std::size_t more)
    {
        if (m_capacity - m_size < more) {
            m_capacity = std::max(m_capacity * 2, m_size + more);
            auto larger = std::make_unique_for_overwrite<char16_t[]>(m_capacity);
            std::copy_n(m_data.get(), m_size, larger.get());
            m_data = std::move(larger);
        }
        return m_data.get() + m_size;
    }
    void setEnd(const char16_t* end) { m_size = static_cast<std::size_t>(end - m_data.get()); }

private:
    std::unique_ptr<char16_t[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace torvane
