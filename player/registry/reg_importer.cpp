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

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
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

// Whether a value line's data is hex bytes (the only data that may go on
// over continuation lines).
bool IsHexValue(std::string_view line) {
  std::size_t pos = 0;
  if (line.front() == '@') {
    pos = 1;
  } else if (!ReadQuoted(line, pos)) {
    return false;
  }
  while (pos < line.size() && IsSpace(line[pos])) ++pos;
  if (pos >= line.size() || line[pos] != '=') return false;
  return StartsWithNoCase(TrimSpaces(line.substr(pos + 1)), "hex");
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

  void ValueLine(std::size_t number, std::string_view line) {
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
      std::size_t at = 0;
      auto text = ReadQuoted(data, at);
      if (!text || at != data.size()) return Skip(number, "testo non valido");
      type = kRegSz;
      bytes = std::move(*text);
      bytes += '\0';
    } else if (StartsWithNoCase(data, "dword:")) {
      const std::string_view digits = data.substr(6);
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
  } else {
    text = Cp1252ToUtf8(fileBytes);
  }

  const std::vector<Line> lines = SplitLines(text);
  const std::string_view header = lines.empty() ? std::string_view() : lines[0].text;
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
  std::string joined;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::size_t number = lines[i].number;
    std::string_view line = TrimSpaces(lines[i].text);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      importer.KeyLine(number, line);
      continue;
    }
    if (line.front() != '"' && line.front() != '@') {
      importer.Skip(number, "riga non riconosciuta");
      continue;
    }
    // A value whose data ends in "\" goes on over the next lines.
    if (line.back() == '\\' && IsHexValue(line)) {
      joined.assign(line.substr(0, line.size() - 1));
      while (i + 1 < lines.size()) {
        const std::string_view next = TrimSpaces(lines[i + 1].text);
        if (!next.empty() && next.front() == '[') break;  // a key line is never part of a value
        ++i;
        if (!next.empty() && next.back() == '\\') {
          joined.append(next.substr(0, next.size() - 1));
          continue;
        }
        joined.append(next);
        break;
      }
      line = joined;
    }
    importer.ValueLine(number, line);
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
