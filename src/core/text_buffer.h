#pragma once

#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>

namespace torvane {

// Copies a text of a few characters, the usual piece of a record or a number, with
// fixed-size moves that stay inline; longer ones as a block.
inline char16_t* copyText(const char16_t* from, std::size_t size, char16_t* to)
{
    const auto move = [&]<std::size_t Bytes>(std::size_t at) {
        char block[Bytes];
        std::memcpy(block, from + at, Bytes);
        std::memcpy(to + at, block, Bytes);
    };
    // Two moves of the same size that meet or overlap in the middle cover the text.
    if (size >= 8 && size <= 16) {
        move.template operator()<16>(0);
        move.template operator()<16>(size - 8);
    } else if (size >= 4 && size < 8) {
        move.template operator()<8>(0);
        move.template operator()<8>(size - 4);
    } else if (size >= 2 && size < 4) {
        move.template operator()<4>(0);
        move.template operator()<4>(size - 2);
    } else if (size == 1) {
        *to = *from;
    } else if (size > 16) {
        std::memcpy(to, from, size * sizeof(char16_t));
    }
    return to + size;
}

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
            copyText(m_data.get(), m_size, larger.get());
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
