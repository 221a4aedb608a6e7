#pragma once

namespace torvane {

// UTF-16 to UTF-8 for text that is mostly ASCII, 32 or 16 characters a step where it is
// ASCII, up to the first surrogate: what to make of a lone one is left to a full encoder.
// to needs room for three bytes a character. Moves from to where reading stopped (end, or
// the surrogate) and returns where writing stopped.
char* encodeUtf8UpToSurrogate(const char16_t*& from, const char16_t* end, char* to);

} // namespace torvane
