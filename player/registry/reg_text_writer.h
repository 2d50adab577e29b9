#pragma once
// Writing a registry subtree as a registry text file: one block per key
// ("[" root name + path "]", its values, an empty line), the key's own block
// first and then each subkey's, depth first, in registry order; CR LF line
// ends; upper-case hexadecimal.
//
// Text is written as stored wherever it reads back unchanged: a drive path
// ("C:\LIBRI") has its backslashes doubled, "LIBRO\A" keeps its single one.
// Where it would not read back, it is escaped: a double quote as \", a
// backslash doubled when it ends the text or comes before \ " n r or 0.
// Texts holding line breaks or zero characters, expandable and multi-texts,
// numbers that are not four bytes and kinds without a form of their own are
// written as hex(kind): bytes, so every value reads back as it was.
//
// The files are "REGEDIT4" text in Windows-1252. When the subtree holds
// any text that code page lacks, the whole file is written in the version-5
// format instead: UTF-16LE with its byte-order mark and header.

#include <string>
#include <string_view>

#include "common/settings/registry.h"

namespace orva {

enum class RegTextFormat { kRegedit4, kVersion5 };

inline constexpr std::string_view kRegedit4Header = "REGEDIT4";
inline constexpr std::string_view kVersion5Header = "Windows Registry Editor Version 5.00";

struct RegTextOutput {
  std::string bytes;  // the whole file
  RegTextFormat format = RegTextFormat::kRegedit4;
  std::size_t keys = 0;
  std::size_t values = 0;
};

// The file that writing root\keyPath (with its subkeys when asked) gives.
// `existing` is the file's present content when appending (null to replace
// it): the header is written only when the file holds none, and a
// Windows-1252 file that must take text it cannot hold is turned into a
// version-5 file as a whole.
RegTextOutput BuildRegText(Registry& registry, RegHandle root, std::string_view keyPath, bool withSubkeys,
                           const std::string* existing);

struct RegListedValue;
// One value line without its line end ("name"=data), as the writer writes
// it in `format` (hex(1), hex(2) and hex(7) bytes follow the format's
// encoding; the line itself is UTF-8).
std::string FormatRegValueLine(const RegListedValue& value, RegTextFormat format);

}  // namespace orva
