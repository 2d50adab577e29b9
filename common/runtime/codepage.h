#pragma once
// Windows-1252, the code page of the old program's registry text files and of
// the texts it stored, against the UTF-8 used everywhere inside the system.

#include <string>
#include <string_view>

namespace orva {

// The Windows-1252 bytes of a UTF-8 text. A character the code page lacks,
// and a byte that is not well-formed UTF-8, becomes "?" and sets *lossy (left
// untouched when nothing is lost). U+0081, U+008D, U+008F, U+0090 and U+009D
// become the bytes of the same value, so Cp1252ToUtf8 round-trips every byte.
std::string Utf8ToCp1252(std::string_view utf8, bool* lossy = nullptr);

// The UTF-8 text of Windows-1252 bytes. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+0081 and so on, as the
// Windows conversion does, so no byte is ever lost.
std::string Cp1252ToUtf8(std::string_view bytes);

// Whether Utf8ToCp1252 would convert the text without loss.
bool FitsCp1252(std::string_view utf8);

// The Windows-1252 byte of one code point, or -1 when the code page lacks it.
int Cp1252ByteOf(char32_t c);

// The code point of one Windows-1252 byte.
char32_t Cp1252CodePoint(unsigned char byte);

}  // namespace orva
