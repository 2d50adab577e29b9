#include "player/registry/reg_text_writer.h"

#include "player/registry/reg_importer.h"

#include <vector>

#include "common/runtime/codepage.h"
#include "player/registry/reg_listing.h"
#include "player/registry/utf16.h"

namespace orva {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr char kHex[] = "0123456789ABCDEF";

struct KeyDump {
  std::string path;
  std::vector<RegListedValue> values;
};

void Collect(Registry& registry, RegHandle root, const std::string& path, bool withSubkeys,
             std::vector<KeyDump>& out) {
  out.push_back({path, ListRegValues(registry, root, path)});
  if (!withSubkeys) return;
  for (const std::string& name : ListRegSubkeys(registry, root, path)) {
    if (name.empty()) continue;  // a name that cannot be opened again
    Collect(registry, root, path.empty() ? name : path + '\\' + name, true, out);
  }
}

bool IsTextKind(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

bool StartsWithDrivePath(std::string_view t) {
  if (t.size() < 3) return false;
  const char c = t[0];
  const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ',';
  return letter && t[1] == ':' && t[2] == '\\';
}

// The text between the quotes of a name or data part.
void AppendQuoted(std::string& out, std::string_view text, bool driveRule) {
  const bool doubleAll = driveRule && StartsWithDrivePath(text);
  out += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      out += "\\\"";
    } else if (c == '\\') {
      const char next = i + 1 < text.size() ? text[i + 1] : '\0';
      const bool readAsEscape =
          i + 1 == text.size() || next == '\\' || next == '"' || next == 'n' || next == 'r' || next == '0';
      out += (doubleAll || readAsEscape) ? "\\\\" : "\\";
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendHexBytes(std::string& out, std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i) out += ',';
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
  }
}

// A text value can be written between quotes when it is zero-terminated
// and holds no line break or other zero.
bool QuotableText(const RegListedValue& v) {
  if (v.type != kRegSz || v.raw.empty() || v.raw.back() != '\0') return false;
  return std::string_view(v.raw).substr(0, v.raw.size() - 1).find_first_of(std::string_view("\r\n\0", 3)) ==
         std::string_view::npos;
}

void AppendValueLine(std::string& out, const RegListedValue& v, RegTextFormat format) {
  if (v.name.empty()) {
    out += '@';
  } else {
    AppendQuoted(out, v.name, false);
  }
  out += '=';
  if (QuotableText(v)) {
    AppendQuoted(out, v.text, true);
  } else if (v.type == kRegDword && v.raw.size() == 4) {
    out += "dword:";
    const auto n = static_cast<std::uint32_t>(v.number);
    for (int shift = 28; shift >= 0; shift -= 4) out += kHex[(n >> shift) & 0xF];
  } else if (v.type == kRegBinary) {
    out += "hex:";
    AppendHexBytes(out, v.raw);
  } else {
    // hex(kind): the kind number in lower case, as the registry editor
    // writes it.
    char kind[16];
    std::snprintf(kind, sizeof kind, "hex(%x):", v.type);
    out += kind;
    if (IsTextKind(v.type)) {
      AppendHexBytes(out, format == RegTextFormat::kVersion5 ? Utf8ToUtf16Le(v.raw) : Utf8ToCp1252(v.raw));
    } else {
      AppendHexBytes(out, v.raw);
    }
  }
  out += kCrLf;
}

bool NeedsVersion5(std::string_view rootName, const std::vector<KeyDump>& keys) {
  if (!FitsCp1252(rootName)) return true;
  for (const KeyDump& k : keys) {
    if (!FitsCp1252(k.path)) return true;
    for (const RegListedValue& v : k.values)
      if (!FitsCp1252(v.name) || (IsTextKind(v.type) && !FitsCp1252(v.raw))) return true;
  }
  return false;
}

bool HoldsHeader(std::string_view text) {
  return text.find(kRegedit4Header) != std::string_view::npos ||
         text.find(kVersion5Header) != std::string_view::npos;
}

}  // namespace

std::string FormatRegValueLine(const RegListedValue& value, RegTextFormat format) {
  std::string line;
  AppendValueLine(line, value, format);
  line.resize(line.size() - kCrLf.size());
  return line;
}

namespace {

RegTextOutput Build(const std::vector<KeyDump>& keys, const std::string& rootName,
                    const std::string* existing, bool forceVersion5) {
  RegTextOutput result;
  const bool existingIsUtf16 =
      existing && existing->size() >= 2 && (*existing)[0] == '\xFF' && (*existing)[1] == '\xFE';
  result.format = forceVersion5 || existingIsUtf16 || NeedsVersion5(rootName, keys)
                      ? RegTextFormat::kVersion5
                      : RegTextFormat::kRegedit4;
  const bool v5 = result.format == RegTextFormat::kVersion5;

  // What the file holds already, as UTF-8.
  std::string before;
  if (existing)
    before = existingIsUtf16 ? Utf16LeToUtf8(std::string_view(*existing).substr(2)) : Cp1252ToUtf8(*existing);
  if (v5 && existing && !existingIsUtf16 && before.compare(0, kRegedit4Header.size(), kRegedit4Header) == 0) {
    // A Windows-1252 file turned into a version-5 one keeps its blocks under
    // the new header.
    before.replace(0, kRegedit4Header.size(), kVersion5Header);
  }

  std::string text;
  text.reserve(keys.size() * 128);
  if (!HoldsHeader(before)) {
    text += v5 ? kVersion5Header : kRegedit4Header;
    text += kCrLf;
    text += kCrLf;
  }
  for (const KeyDump& k : keys) {
    text += '[';
    text += rootName;
    text += k.path;
    text += ']';
    text += kCrLf;
    for (const RegListedValue& v : k.values) AppendValueLine(text, v, result.format);
    text += kCrLf;
    ++result.keys;
    result.values += k.values.size();
  }

  if (v5) {
    result.bytes = "\xFF\xFE";
    result.bytes += Utf8ToUtf16Le(before);
    result.bytes += Utf8ToUtf16Le(text);
  } else {
    result.bytes = existing ? *existing : std::string();
    result.bytes += Utf8ToCp1252(text);
  }
  return result;
}

}  // namespace

RegTextOutput BuildRegText(Registry& registry, RegHandle root, std::string_view keyPath, bool withSubkeys,
                           const std::string* existing) {
  std::vector<KeyDump> keys;
  Collect(registry, root, std::string(keyPath), withSubkeys, keys);
  std::string rootName(RootName(root));
  if (!rootName.empty()) rootName += '\\';
  RegTextOutput result = Build(keys, rootName, existing, false);
  // Windows-1252 bytes that happen to be well-formed UTF-8 ("Ã€") would be
  // read back as UTF-8 and change: such a file is written in version 5.
  if (result.format == RegTextFormat::kRegedit4 && IsUtf8BeyondAscii(result.bytes))
    result = Build(keys, rootName, existing, true);
  return result;
}

}  // namespace orva
