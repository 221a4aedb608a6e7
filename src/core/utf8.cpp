#include "utf8.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace torvane {
namespace {

#if defined(__SSE2__)
inline __m128i load(const char16_t* from)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
}

// Sixteen characters written as bytes; the bytes that are ASCII characters other than NUL
// are set in the result. A character above 0xFF saturates to 0xFF and one of 0x8000 and
// above to 0: both fail the test.
inline __m128i writeBytes(const char16_t* from, char* to)
{
    const __m128i bytes = _mm_packus_epi16(load(from), load(from + 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
    return _mm_cmpgt_epi8(bytes, _mm_setzero_si128());
}

// How many of the sixteen characters from the first are ASCII, given the test's result.
inline int asciiCount(__m128i ascii)
{
    return std::countr_one(static_cast<unsigned>(_mm_movemask_epi8(ascii)));
}

// Writes the run of ASCII characters from at as bytes at to, in blocks of 32 and 16 while
// there are that many characters left; returns where the run ends and moves to as far. A
// byte is written for each character read ahead: every character still to come takes at
// least one, so the writing never passes the room, and the bytes after the run are
// written again.
inline const char16_t* writeAsciiRun(const char16_t* at, const char16_t* end, char*& to)
{
    int run = 0;
    for (; end - at >= 32; at += 32, to += 32) {
        const __m128i first = writeBytes(at, to);
        const __m128i second = writeBytes(at + 16, to + 16);
        if (_mm_movemask_epi8(_mm_and_si128(first, second)) != 0xFFFF) {
            run = asciiCount(first);
            if (run == 16)
                run += asciiCount(second);
            break;
        }
    }
    if (run == 0 && end - at >= 16 && end - at < 32)
        run = asciiCount(writeBytes(at, to));
    to += run;
    return at + run;
}
#endif

} // namespace

char* encodeUtf8UpToSurrogate(const char16_t*& from, const char16_t* end, char* to)
{
    const char16_t* at = from;
    while (at < end) {
#if defined(__SSE2__)
        at = writeAsciiRun(at, end, to);
        if (at == end)
            break;
#endif
        // A character a step, on through a run of others than ASCII (a word in another
        // script), where blocks would be written for nothing at every character.
        do {
            const char16_t c = *at;
            if (c < 0x80) {
                *to++ = static_cast<char>(c);
            } else if (c < 0x800) {
                to[0] = static_cast<char>(0xC0 | (c >> 6));
                to[1] = static_cast<char>(0x80 | (c & 0x3F));
                to += 2;
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                from = at;
                return to;
            } else {
                to[0] = static_cast<char>(0xE0 | (c >> 12));
                to[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                to[2] = static_cast<char>(0x80 | (c & 0x3F));
                to += 3;
            }
            ++at;
        } while (at < end && *at >= 0x80);
    }
    from = at;
    return to;
}

} // namespace torvane
