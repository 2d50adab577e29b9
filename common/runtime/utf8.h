#pragma once
// Decoding and encoding single UTF-8 characters. Texts inside the system are
// UTF-8; the old runtime worked on Windows-1252 characters, so the conversions
// and text functions walk UTF-8 one character at a time.

#include <cstddef>
#include <string>
#include <string_view>

namespace orva {

inline constexpr char32_t kReplacementChar = U'\uFFFD';

// Reads the character starting at text[pos] and moves pos past it. A byte
// that does not start a well-formed sequence (stray continuation byte,
// overlong form, surrogate, value past U+10FFFF, truncated sequence) gives
// kReplacementChar and advances by that one byte, so a walk always ends.
char32_t DecodeUtf8Char(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of code point c (kReplacementChar if c is not a
// Unicode scalar value).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace orva
