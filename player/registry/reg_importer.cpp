#include "player/registry/reg_importer.h"

#include <optional>

#include "common/runtime/codepage.h"
#include "common/runtime/text.h"
#include "common/runtime/utf8.h"
#include "common/settings/memory_registry.h"
#include "player/registry/utf16.h"

namespace orva {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeadingSpaces(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimSpaces(std::string_view s) {
  s = TrimLeadingSpaces(s);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && AsciiEqualsNoCase(s.substr(0, prefix.size()), prefix);
}

// Reads a quoted string starting at s[pos] == '"'. \\ and \" are escapes;
// any other backslash stays. Moves pos past the closing quote.
std::optional<std::string> ReadQuoted(std::string_view s, std::size_t& pos) {
  std::string out;
  for (std::size_t i = pos + 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      pos = i + 1;
      return out;
    }
    if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
      out += s[++i];
    } else {
      out += c;
    }
  }
  return std::nullopt;
}

// Hex bytes "0A,ff, 1" (a trailing comma allowed).
std::optional<std::string> ReadHexBytes(std::string_view s) {
  std::string out;
  s = TrimSpaces(s);
  if (s.empty()) return out;
  while (true) {
    const std::size_t comma = s.find(',');
    const std::string_view token = TrimSpaces(s.substr(0, comma));
    if (token.empty() || token.size() > 2) {
      if (token.empty() && comma == std::string_view::npos && !out.empty()) return out;  // trailing comma
      return std::nullopt;
    }
    int value = 0;
    for (char c : token) {
      const int d = HexDigit(c);
      if (d < 0) return std::nullopt;
      value = value * 16 + d;
    }
    out += static_cast<char>(value);
    if (comma == std::string_view::npos) return out;
    s = s.substr(comma + 1);
  }
}

// Where a value line's data starts when the data is hex bytes (the only
// data that may go on over continuation lines); npos for any other line.
std::size_t HexDataStart(std::string_view line) {
  std::size_t pos = 0;
  if (line.front() == '@') {
    pos = 1;
  } else if (!ReadQuoted(line, pos)) {
    return std::string_view::npos;
  }
  while (pos < line.size() && IsSpace(line[pos])) ++pos;
  if (pos >= line.size() || line[pos] != '=') return std::string_view::npos;
  ++pos;
  while (pos < line.size() && IsSpace(line[pos])) ++pos;
  return StartsWithNoCase(line.substr(pos), "hex") ? pos : std::string_view::npos;
}

// Text data between quotes. The escapes \\ and \" read as the registry
// editor reads them, and a ";" comment may follow the closing quote. Text
// that does not read that way is taken whole between its first and last
// quote: earlier versions of the player wrote quotes and backslashes inside
// text without escaping them (drive paths aside), so their files hold lines
// such as "1NOME"="il "Gattopardo"" and "p"="cartella\".
std::optional<std::string> ReadTextData(std::string_view data) {
  std::size_t at = 0;
  if (auto text = ReadQuoted(data, at)) {
    const std::string_view rest = TrimSpaces(data.substr(at));
    if (rest.empty() || rest.front() == ';') return text;
  }
  if (data.size() >= 2 && data.back() == '"') return std::string(data.substr(1, data.size() - 2));
  return std::nullopt;
}

struct Line {
  std::size_t number;
  std::string_view text;
};

// Splits on CR, LF and CR LF.
std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t number = 1, start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back({number++, text.substr(start, i - start)});
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back({number, text.substr(start)});
  return lines;
}

// The first line after lines[i] that is neither blank nor a ";" comment.
std::size_t NextDataLine(const std::vector<Line>& lines, std::size_t i) {
  while (++i < lines.size()) {
    const std::string_view t = TrimSpaces(lines[i].text);
    if (!t.empty() && t.front() != ';') break;
  }
  return i;
}

bool StartsWithHexDigit(const std::vector<Line>& lines, std::size_t i) {
  return i < lines.size() && HexDigit(TrimSpaces(lines[i].text).front()) >= 0;
}

// The hex value line lines[i] (its data starting at dataStart) with its data
// joined over the continuation lines, as the Windows registry editor reads
// them: a "\" after a comma, which blanks and a ";" comment may follow, goes
// on at the next line; blank and ";" lines in between are passed over; ";"
// starts a comment. Moves i to the last line that belongs to the value.
// *cut is set when the data is not there whole: such a value is never stored
// short. A line of another kind that cuts the data is left to be read on its
// own (the editor would swallow it too).
std::string JoinHexLines(const std::vector<Line>& lines, std::size_t& i, std::size_t dataStart,
                         const char** cut) {
  const std::string_view first = TrimSpaces(lines[i].text);
  std::string joined(first.substr(0, dataStart));
  std::string_view piece = first.substr(dataStart);
  while (true) {
    piece = TrimSpaces(piece.substr(0, piece.find(';')));
    const bool more = !piece.empty() && piece.back() == '\\';
    if (more) piece = TrimSpaces(piece.substr(0, piece.size() - 1));
    if (more && !*cut && !piece.empty() && piece.back() != ',' && piece.back() != ':')
      *cut = "manca la virgola prima di \"\\\" a fine riga";
    joined.append(piece);
    if (!more) break;
    const std::size_t next = NextDataLine(lines, i);
    if (!StartsWithHexDigit(lines, next)) {
      if (!*cut) *cut = "i dati esadecimali si interrompono prima della fine";
      return joined;
    }
    i = next;
    piece = lines[i].text;
  }
  if (!*cut && joined.back() == ',' && StartsWithHexDigit(lines, NextDataLine(lines, i)))
    *cut = "i dati esadecimali continuano alla riga seguente senza \"\\\"";
  return joined;
}

class Importer {
 public:
  Importer(Registry& registry, const RegImportOptions& options, RegImportSummary& summary, bool unicode)
      : registry_(registry), options_(options), summary_(summary), unicode_(unicode) {
    if (options_.confineRoot) confineFolded_ = FoldRegistryName(options_.confinePath);
  }
  ~Importer() { CloseCurrent(); }

  void KeyLine(std::size_t number, std::string_view line) {
    CloseCurrent();
    state_ = State::kNoKey;
    if (line.back() != ']') return Skip(number, "riga di chiave senza \"]\" finale");
    std::string_view inner = line.substr(1, line.size() - 2);
    const bool remove = !inner.empty() && inner.front() == '-';
    if (remove) inner.remove_prefix(1);
    const std::size_t sep = inner.find('\\');
    const RegHandle root = RootFromName(inner.substr(0, sep));
    if (!root) return Skip(number, "radice del registro sconosciuta");
    std::string_view path = sep == std::string_view::npos ? std::string_view() : inner.substr(sep + 1);
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (!Allowed(root, path)) {
      ++summary_.skippedBlocks;
      state_ = State::kRefusedBlock;
      Warn(number, "blocco fuori dal ramo che l'importazione può scrivere: ignorato");
      return;
    }
    if (remove) {
      if (path.empty()) return Skip(number, "una radice del registro non si può cancellare");
      const RegStatus rc = registry_.DeleteTree(root, path);
      if (rc == kErrorSuccess) {
        ++summary_.keysDeleted;
      } else if (rc != kErrorFileNotFound) {
        Skip(number, "cancellazione della chiave rifiutata (codice " + std::to_string(rc) + ")");
      }
      return;
    }
    RegHandle handle = 0;
    const RegStatus rc = registry_.CreateKey(root, path, &handle);
    if (rc != kErrorSuccess)
      return Skip(number, "chiave rifiutata dal registro (codice " + std::to_string(rc) + ")");
    current_ = handle;
    state_ = State::kKey;
    ++summary_.keys;
  }

  // `cut`, when set, says why the value's hex data is not there whole.
  void ValueLine(std::size_t number, std::string_view line, const char* cut = nullptr) {
    if (state_ == State::kRefusedBlock) return;
    if (state_ == State::kNoKey) return Skip(number, "valore fuori da una chiave valida");
    std::string name;
    std::size_t pos = 0;
    if (line.front() == '@') {
      pos = 1;
    } else {
      auto quoted = ReadQuoted(line, pos);
      if (!quoted) return Skip(number, "nome del valore senza virgolette di chiusura");
      name = std::move(*quoted);
    }
    while (pos < line.size() && IsSpace(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '=') return Skip(number, "manca \"=\" dopo il nome del valore");
    if (cut) {
      ++summary_.skippedLines;
      Warn(number,
           "valore " + (name.empty() ? std::string("@") : "\"" + name + "\"") + " non importato: " + cut);
      return;
    }
    std::string_view data = TrimSpaces(line.substr(pos + 1));

    if (data == "-") {
      const RegStatus rc = registry_.DeleteValue(current_, name);
      if (rc == kErrorSuccess) {
        ++summary_.valuesDeleted;
      } else if (rc != kErrorFileNotFound) {
        Skip(number, "cancellazione del valore rifiutata (codice " + std::to_string(rc) + ")");
      }
      return;
    }
    std::uint32_t type = 0;
    std::string bytes;
    if (!data.empty() && data.front() == '"') {
      auto text = ReadTextData(data);
      if (!text) return Skip(number, "testo non valido");
      type = kRegSz;
      bytes = std::move(*text);
      bytes += '\0';
    } else if (StartsWithNoCase(data, "dword:")) {
      std::string_view digits = data.substr(6);
      digits = TrimSpaces(digits.substr(0, digits.find(';')));
      if (digits.empty() || digits.size() > 8) return Skip(number, "dword: vuole da 1 a 8 cifre esadecimali");
      std::uint32_t n = 0;
      for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return Skip(number, "dword: vuole da 1 a 8 cifre esadecimali");
        n = n * 16 + static_cast<std::uint32_t>(d);
      }
      type = kRegDword;
      for (int i = 0; i < 4; ++i) bytes += static_cast<char>((n >> (8 * i)) & 0xFF);
    } else if (StartsWithNoCase(data, "hex")) {
      std::string_view rest = data.substr(3);
      type = kRegBinary;
      if (!rest.empty() && rest.front() == '(') {
        const std::size_t close = rest.find(')');
        const std::string_view digits = rest.substr(1, close == std::string_view::npos ? 0 : close - 1);
        if (close == std::string_view::npos || digits.empty() || digits.size() > 8)
          return Skip(number, "tipo hex(n) non valido");
        type = 0;
        for (char c : digits) {
          const int d = HexDigit(c);
          if (d < 0) return Skip(number, "tipo hex(n) non valido");
          type = type * 16 + static_cast<std::uint32_t>(d);
        }
        rest = rest.substr(close + 1);
      }
      if (rest.empty() || rest.front() != ':') return Skip(number, "manca \":\" dopo hex");
      auto parsed = ReadHexBytes(rest.substr(1));
      if (!parsed) return Skip(number, "byte esadecimali non validi");
      bytes = std::move(*parsed);
      if (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz) bytes = TextBytes(bytes);
      if (type == kRegExpandSz || type == kRegMultiSz) {
        // The closing zero of expandable text, and the closing pair of
        // multi-text, are added where the file leaves them out, as the
        // registry editor adds them.
        const std::string_view end = std::string_view("\0\0", type == kRegMultiSz ? 2 : 1);
        while (!std::string_view(bytes).ends_with(end)) bytes += '\0';
      }
    } else {
      return Skip(number, "dato del valore non riconosciuto");
    }
    const RegStatus rc =
        registry_.SetValue(current_, name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           static_cast<std::uint32_t>(bytes.size()));
    if (rc != kErrorSuccess)
      return Skip(number, "valore rifiutato dal registro (codice " + std::to_string(rc) + ")");
    ++summary_.values;
  }

  void Skip(std::size_t number, const std::string& why) {
    ++summary_.skippedLines;
    Warn(number, why + ": riga ignorata");
  }

 private:
  enum class State { kNoKey, kKey, kRefusedBlock };

  void Warn(std::size_t number, std::string message) {
    if (summary_.warnings.size() < RegImportSummary::kMaxWarnings)
      summary_.warnings.push_back({number, std::move(message)});
  }

  bool Allowed(RegHandle root, std::string_view path) const {
    if (!options_.confineRoot) return true;
    if (root != options_.confineRoot) return false;
    const std::string folded = FoldRegistryName(path);
    if (folded == confineFolded_) return true;
    return folded.size() > confineFolded_.size() &&
           folded.compare(0, confineFolded_.size(), confineFolded_) == 0 &&
           folded[confineFolded_.size()] == '\\';
  }

  // hex(1), hex(2) and hex(7) hold text in the file's own encoding; the
  // store keeps UTF-8 (an odd last byte of UTF-16 text is no character).
  std::string TextBytes(const std::string& bytes) const {
    return unicode_ ? Utf16LeToUtf8(bytes) : Cp1252ToUtf8(bytes);
  }

  void CloseCurrent() {
    if (state_ == State::kKey) registry_.CloseKey(current_);
    state_ = State::kNoKey;
  }

  Registry& registry_;
  const RegImportOptions& options_;
  RegImportSummary& summary_;
  bool unicode_;
  std::string confineFolded_;
  State state_ = State::kNoKey;
  RegHandle current_ = 0;
};

}  // namespace

bool IsUtf8BeyondAscii(std::string_view bytes) {
  bool beyond = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t at = pos;
    const char32_t c = DecodeUtf8Char(bytes, pos);
    if (c == kReplacementChar && bytes.substr(at, 3) != "\xEF\xBF\xBD") return false;
    if (c >= 0x80) beyond = true;
  }
  return beyond;
}

RegImportSummary ImportRegText(Registry& registry, std::string_view fileBytes,
                               const RegImportOptions& options) {
  RegImportSummary summary;
  std::string text;
  bool unicode = false;
  if (fileBytes.size() >= 2 && fileBytes[0] == '\xFF' && fileBytes[1] == '\xFE') {
    text = Utf16LeToUtf8(fileBytes.substr(2));
    unicode = true;
  } else if (fileBytes.substr(0, 3) == "\xEF\xBB\xBF") {
    // UTF-8 with its mark; ill-formed bytes become U+FFFD so that every
    // text in the store is well-formed.
    const std::string_view rest = fileBytes.substr(3);
    text.reserve(rest.size());
    for (std::size_t pos = 0; pos < rest.size();) AppendUtf8(text, DecodeUtf8Char(rest, pos));
  } else if (IsUtf8BeyondAscii(fileBytes)) {
    // Saved by a text editor of today, without the mark. Windows-1252 text
    // with letters outside ASCII is practically never well-formed UTF-8, so
    // the old program's files still read as they were written.
    text = std::string(fileBytes);
  } else {
    text = Cp1252ToUtf8(fileBytes);
  }

  const std::vector<Line> lines = SplitLines(text);
  // Blanks may stand before the header, as the registry editor allows.
  const std::string_view header = lines.empty() ? std::string_view() : TrimLeadingSpaces(lines[0].text);
  if (header == kVersion5Header) {
    summary.format = RegTextFormat::kVersion5;
  } else if (header == kRegedit4Header && !unicode) {
    summary.format = RegTextFormat::kRegedit4;
  } else {
    summary.refused = true;
    summary.warnings.push_back({1, "intestazione non riconosciuta: il file non è un file di registro"});
    return summary;
  }

  Importer importer(registry, options, summary, unicode);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::size_t number = lines[i].number;
    const std::string_view line = TrimSpaces(lines[i].text);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      importer.KeyLine(number, line);
      continue;
    }
    if (line.front() != '"' && line.front() != '@') {
      importer.Skip(number, "riga non riconosciuta");
      continue;
    }
    const std::size_t hexStart = HexDataStart(line);
    if (hexStart == std::string_view::npos) {
      importer.ValueLine(number, line);
      continue;
    }
    const char* cut = nullptr;
    const std::string joined = JoinHexLines(lines, i, hexStart, &cut);
    importer.ValueLine(number, joined, cut);
  }
  return summary;
}

std::string DescribeImport(const RegImportSummary& summary) {
  std::string out;
  for (const RegImportWarning& w : summary.warnings)
    out += "riga " + std::to_string(w.line) + ": " + w.message + "\n";
  if (summary.refused) return out;
  out += "Chiavi: " + std::to_string(summary.keys) + ", valori: " + std::to_string(summary.values) +
         ", chiavi cancellate: " + std::to_string(summary.keysDeleted) +
         ", valori cancellati: " + std::to_string(summary.valuesDeleted) +
         ", righe ignorate: " + std::to_string(summary.skippedLines) +
         ", blocchi fuori ramo ignorati: " + std::to_string(summary.skippedBlocks) + "\n";
  return out;
}

}  // namespace orva
