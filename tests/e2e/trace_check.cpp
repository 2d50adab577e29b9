// trace_check TRACE [PATTERN]...: the pattern language is in docs/automation.md.
// Exit status: 0 when all holds, 1 otherwise (with the reason), 2 on misuse.

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// One flat JSON object; each value's text is the unescaped string, or the
// raw JSON of any other value.
struct JsonLine {
  // nullopt when the line is not a single well-formed JSON object.
  std::optional<Fields> Parse() {
    Fields fields;
    const bool ok = List('{', '}', [&] {
      std::string key, value;
      if (!String(&key) || !Eat(':') || !Value(&value)) return false;
      fields.emplace_back(key, value);
      return true;
    });
    Blank();
    if (!ok || i_ != s_.size()) return std::nullopt;
    return fields;
  }

  void Blank() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
  }
  bool Eat(char c) {
    Blank();
    if (i_ >= s_.size() || s_[i_] != c) return false;
    ++i_;
    return true;
  }
  // open item (, item)* close, or open close.
  template <typename Item>
  bool List(char open, char close, Item item) {
    if (!Eat(open)) return false;
    if (Eat(close)) return true;
    do {
      if (!item()) return false;
    } while (Eat(','));
    return Eat(close);
  }
  bool String(std::string* out) {
    if (!Eat('"')) return false;
    static constexpr std::string_view kEscaped = "\"\\/bfnrt", kMeant = "\"\\/\b\f\n\r\t";
    while (i_ < s_.size()) {
      const char c = s_[i_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20 || (c == '\\' && i_ >= s_.size())) return false;
      if (c != '\\') {
        *out += c;
      } else if (const char e = s_[i_++]; kEscaped.find(e) != std::string_view::npos) {
        *out += kMeant[kEscaped.find(e)];
      } else if (e == 'u' && i_ + 4 <= s_.size()) {
        unsigned cp = 0;
        const char* end = s_.data() + i_ + 4;
        // The trace escapes only control characters this way.
        if (std::from_chars(s_.data() + i_, end, cp, 16).ptr != end || cp >= 0x80) return false;
        out->push_back(static_cast<char>(cp));
        i_ += 4;
      } else {
        return false;
      }
    }
    return false;
  }
  bool Value(std::string* out) {
    Blank();
    if (i_ < s_.size() && s_[i_] == '"') return String(out);
    const std::size_t start = i_;
    std::string ignored;
    if (i_ < s_.size() && s_[i_] == '[') {
      if (!List('[', ']', [&] { return Value(&ignored); })) return false;
    } else if (s_.compare(i_, 4, "true") == 0 || s_.compare(i_, 4, "null") == 0) {
      i_ += 4;
    } else if (s_.compare(i_, 5, "false") == 0) {
      i_ += 5;
    } else {
      i_ = std::min(s_.find_first_not_of("-0123456789.eE+", i_), s_.size());
      if (i_ == start) return false;
    }
    *out = s_.substr(start, i_ - start);
    return true;
  }

  const std::string& s_;
  std::size_t i_ = 0;
};

struct Condition {
  std::string key;
  std::string op;  // "=", "~", ">="
  std::string value;
};

std::vector<Condition> ParsePattern(const std::string& pattern) {
  std::vector<Condition> conditions;
  for (std::size_t start = 0, end = 0; start <= pattern.size(); start = end + 1) {
    end = std::min(pattern.find('|', start), pattern.size());
    const std::string part = pattern.substr(start, end - start);
    if (part.empty()) continue;
    const std::size_t op = part.find_first_of("=~");
    const std::size_t ge = part.find(">=");
    const std::size_t at = std::min(op, ge);
    if (at == std::string::npos) {
      std::cerr << "trace_check: bad condition \"" << part << "\"\n";
      std::exit(2);
    }
    const std::size_t length = at == ge ? 2 : 1;
    conditions.push_back({part.substr(0, at), part.substr(at, length), part.substr(at + length)});
  }
  return conditions;
}

bool Matches(const std::map<std::string, std::string>& fields, const std::vector<Condition>& conditions) {
  for (const Condition& c : conditions) {
    const auto it = fields.find(c.key);
    if (it == fields.end()) return false;
    const std::string& text = it->second;
    if (c.op == "=" && text != c.value) return false;
    if (c.op == "~" && text.find(c.value) == std::string::npos) return false;
    if (c.op == ">=") {
      char* end = nullptr;
      const double number = std::strtod(text.c_str(), &end);
      if (end == text.c_str() || *end != '\0' || number < std::strtod(c.value.c_str(), nullptr)) return false;
    }
  }
  return true;
}

bool WholeInteger(const std::string& text, long long* value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, *value);
  return error == std::errc() && stop == end;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: trace_check TRACE [PATTERN]...\n";
    return 2;
  }
  const std::string file = argv[1];
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "trace_check: cannot open " << file << '\n';
    return 1;
  }
  std::vector<std::map<std::string, std::string>> lines;
  long long lastT = -1;
  for (std::string text; std::getline(in, text);) {
    const auto fields = JsonLine{text}.Parse();
    long long t = -1;
    const char* why = nullptr;
    if (!fields || fields->size() < 2 || (*fields)[0].first != "t" || (*fields)[1].first != "ev" ||
        !WholeInteger((*fields)[0].second, &t))
      why = "not a trace line: ";
    else if (t < lastT)
      why = "time goes back: ";
    if (why) {
      std::cerr << file << ':' << lines.size() + 1 << ": " << why << text << '\n';
      return 1;
    }
    lastT = t;
    lines.emplace_back(fields->begin(), fields->end());
  }

  std::size_t next = 0;
  for (int a = 2; a < argc; ++a) {
    const std::string pattern = argv[a];
    const bool absent = !pattern.empty() && pattern[0] == '!';
    const std::vector<Condition> conditions = ParsePattern(absent ? pattern.substr(1) : pattern);
    std::size_t found = absent ? 0 : next;
    while (found < lines.size() && !Matches(lines[found], conditions)) ++found;
    if (absent && found < lines.size()) {
      std::cerr << file << ':' << found + 1 << ": matches the forbidden pattern " << pattern << '\n';
      return 1;
    }
    if (!absent && found == lines.size()) {
      std::cerr << file << ": no line (in order) matches " << pattern << '\n';
      return 1;
    }
    if (!absent) next = found + 1;
  }
  return 0;
}
