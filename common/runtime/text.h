#pragma once
// The old runtime's text functions on UTF-8 text. Positions and lengths count
// characters, not bytes, as the old runtime did: the same call gives the same
// piece of a path or an address whatever accented letters it holds. Positions
// start at 1. A byte that is not well-formed UTF-8 counts as one character
// and is kept as it is.
//
// Arguments out of their range (a start below 1, a negative length) are
// error 5, as in the old runtime.

#include <string>
#include <string_view>

namespace orva {

// Number of characters.
int Len(std::string_view s);

// Position of the first occurrence of find at or after start, 0 when there
// is none or start is past the end. An empty find gives start (up to one past
// the end). An empty s gives 0.
int InStr(int start, std::string_view s, std::string_view find);
inline int InStr(std::string_view s, std::string_view find) { return InStr(1, s, find); }

// Position of the last occurrence of find that lies wholly within the first
// start characters; start -1 means the whole text. 0 when there is none or
// start is past the end; an empty find gives start.
int InStrRev(std::string_view s, std::string_view find, int start = -1);

// Replaces up to count occurrences of find (-1: all), left to right without
// overlap, searching from start. The result begins at start: the characters
// before it are dropped, as the old runtime's Replace did.
std::string Replace(std::string_view s, std::string_view find, std::string_view replacement, int start = 1,
                    int count = -1);

std::string Mid(std::string_view s, int start);
std::string Mid(std::string_view s, int start, int length);
std::string Left(std::string_view s, int length);
std::string Right(std::string_view s, int length);

// Remove blanks (" ") only; tabs and line ends stay.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

// Letter case of ASCII and of the Windows-1252 letters (à/À, é/É, ñ/Ñ, ö/Ö,
// œ/Œ, š/Š, ž/Ž, ÿ/Ÿ, ...), the letters the old program's data can hold;
// every other character stays as it is. Stored section keys are UCase of
// paths, so this mapping is part of the stored data.
std::string UCase(std::string_view s);
std::string LCase(std::string_view s);

// Upper case of a-z only, for comparing the system's own ASCII names.
std::string AsciiUpper(std::string_view s);
// Whether two of the system's own ASCII names are equal with a-z taken as A-Z.
bool AsciiEqualsNoCase(std::string_view a, std::string_view b);

// Whether two texts are equal in capitals (UCase(a) == UCase(b)), without
// building either.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace orva
