#pragma once
// Loading a registry text file into the registry, by the rules of the
// Windows registry editor:
// - the first line is exactly "REGEDIT4" or "Windows Registry Editor Version
//   5.00", blanks before it allowed (a version-5 file may be UTF-16LE with
//   its byte-order mark); any other header refuses the whole file;
// - "[key]" creates the key with its parents, "[-key]" deletes its subtree;
// - "name"="text" with the escapes \\ and \" (any other backslash stays as
//   it is); text that does not read that way is taken whole between its
//   first and last quote, as earlier versions of the player wrote it
//   unescaped;
//   @ is the default value; dword: takes 1 to 8 hex digits; hex: and
//   hex(n): take bytes, going on at the next line after a comma and "\";
//   hex(2) and hex(7) get the closing zeros they lack; "name"=- deletes the
//   value;
// - lines starting with ";" or "#" are comments, and ";" after a value's
//   data starts one; blank and ";" lines inside hex data are passed over;
//   CR, LF and CR LF all end lines.
// A malformed line is skipped on its own with a warning naming its line; a
// hex value whose data is cut short (by a line of another kind, the end of
// the file, or a "\" or line end without its comma) is not stored, and its
// warning names it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings/registry.h"
#include "player/registry/reg_text_writer.h"

namespace orva {

struct RegImportWarning {
  std::size_t line = 0;
  std::string message;
};

struct RegImportSummary {
  // The file was refused as a whole (its header); nothing was written.
  bool refused = false;
  RegTextFormat format = RegTextFormat::kRegedit4;
  std::size_t keys = 0;           // key blocks applied
  std::size_t keysDeleted = 0;    // [-key] blocks that deleted something
  std::size_t values = 0;         // values written
  std::size_t valuesDeleted = 0;  // "name"=- lines that deleted something
  std::size_t skippedLines = 0;   // malformed lines and lines the registry refused
  std::size_t skippedBlocks = 0;  // blocks outside the subtree the import may write
  // The first warnings, in line order (at most kMaxWarnings are kept).
  std::vector<RegImportWarning> warnings;
  static constexpr std::size_t kMaxWarnings = 200;

  bool Complete() const { return !refused && skippedLines == 0 && skippedBlocks == 0; }
};

struct RegImportOptions {
  // When confineRoot is set, only confineRoot\confinePath and what lies
  // below it is written; every other block is skipped and counted.
  RegHandle confineRoot = 0;
  std::string confinePath;
};

// Whether 8-bit file bytes are well-formed UTF-8 with a character outside
// ASCII: such a file without a byte-order mark is read as UTF-8 (a Linux
// editor saved it), any other as Windows-1252.
bool IsUtf8BeyondAscii(std::string_view bytes);

// Applies the file's bytes to `registry`. The caller commits.
RegImportSummary ImportRegText(Registry& registry, std::string_view fileBytes,
                               const RegImportOptions& options = {});

// "riga 12: ..." lines and the closing count, in the tool's words.
std::string DescribeImport(const RegImportSummary& summary);

}  // namespace orva
