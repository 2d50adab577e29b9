// Checks a trace file written by --trace.
//
//   trace_check TRACE [PATTERN]...
//
// Every line must be one JSON object whose first fields are "t" (an integer
// that never goes back) and "ev" (a text). Each PATTERN must match a line
// after the line the previous PATTERN matched. A pattern is a list of
// conditions separated by "|":
//   key=value   the field's text is value (strings unescaped; numbers,
//               true/false and arrays as written)
//   key~text    the field's text contains text
//   key>=n      the field is a number of at least n
// A pattern starting with "!" must match no line at all.
// Exit status: 0 when all holds, 1 otherwise (with the reason), 2 on misuse.

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Fields = std::map<std::string, std::string>;

class JsonLine {
 public:
  explicit JsonLine(const std::string& text) : s_(text) {}

  // The fields of a flat object, with each value's text; nullopt when the
  // line is not a single well-formed JSON object.
  std::optional<std::vector<std::pair<std::string, std::string>>> Parse() {
    std::vector<std::pair<std::string, std::string>> fields;
    Blank();
    if (!Eat('{')) return std::nullopt;
    Blank();
    if (!Eat('}')) {
      do {
        Blank();
        std::string key;
        if (!String(&key)) return std::nullopt;
        Blank();
        if (!Eat(':')) return std::nullopt;
        Blank();
        std::string value;
        if (!Value(&value)) return std::nullopt;
        fields.emplace_back(key, value);
        Blank();
      } while (Eat(','));
      if (!Eat('}')) return std::nullopt;
    }
    Blank();
    if (i_ != s_.size()) return std::nullopt;
    return fields;
  }

 private:
  bool Eat(char c) {
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  void Blank() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
  }
  static void Utf8(std::string* out, unsigned cp) {
    if (cp < 0x80) {
      *out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      *out += static_cast<char>(0xC0 | (cp >> 6));
      *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *out += static_cast<char>(0xE0 | (cp >> 12));
      *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  bool String(std::string* out) {
    if (!Eat('"')) return false;
    while (i_ < s_.size()) {
      const char c = s_[i_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        *out += c;
        continue;
      }
      if (i_ >= s_.size()) return false;
      switch (s_[i_++]) {
        case '"': *out += '"'; break;
        case '\\': *out += '\\'; break;
        case '/': *out += '/'; break;
        case 'b': *out += '\b'; break;
        case 'f': *out += '\f'; break;
        case 'n': *out += '\n'; break;
        case 'r': *out += '\r'; break;
        case 't': *out += '\t'; break;
        case 'u': {
          if (i_ + 4 > s_.size()) return false;
          char* end = nullptr;
          const std::string hex = s_.substr(i_, 4);
          const unsigned long cp = std::strtoul(hex.c_str(), &end, 16);
          if (end != hex.c_str() + 4) return false;
          Utf8(out, static_cast<unsigned>(cp));
          i_ += 4;
          break;
        }
        default: return false;
      }
    }
    return false;
  }
  // A value of any kind; its text is the unescaped string, or the raw JSON.
  bool Value(std::string* out) {
    if (i_ >= s_.size()) return false;
    if (s_[i_] == '"') return String(out);
    const std::size_t start = i_;
    if (s_[i_] == '[') {
      ++i_;
      Blank();
      if (!Eat(']')) {
        do {
          Blank();
          std::string ignored;
          if (!Value(&ignored)) return false;
          Blank();
        } while (Eat(','));
        if (!Eat(']')) return false;
      }
    } else if (s_.compare(i_, 4, "true") == 0 || s_.compare(i_, 4, "null") == 0) {
      i_ += 4;
    } else if (s_.compare(i_, 5, "false") == 0) {
      i_ += 5;
    } else {
      Eat('-');
      const std::size_t digits = i_;
      while (i_ < s_.size() && std::string("0123456789.eE+-").find(s_[i_]) != std::string::npos) ++i_;
      if (i_ == digits) return false;
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
  std::size_t start = 0;
  while (start <= pattern.size()) {
    const std::size_t end = std::min(pattern.find('|', start), pattern.size());
    const std::string part = pattern.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    const std::size_t ge = part.find(">=");
    const std::size_t op = part.find_first_of("=~");
    if (ge != std::string::npos && ge < op) {
      conditions.push_back({part.substr(0, ge), ">=", part.substr(ge + 2)});
    } else if (op != std::string::npos) {
      conditions.push_back({part.substr(0, op), part.substr(op, 1), part.substr(op + 1)});
    } else {
      std::cerr << "trace_check: bad condition \"" << part << "\"\n";
      std::exit(2);
    }
  }
  return conditions;
}

bool Matches(const Fields& fields, const std::vector<Condition>& conditions) {
  for (const Condition& c : conditions) {
    const auto it = fields.find(c.key);
    if (it == fields.end()) return false;
    if (c.op == "=" && it->second != c.value) return false;
    if (c.op == "~" && it->second.find(c.value) == std::string::npos) return false;
    if (c.op == ">=") {
      char* end = nullptr;
      const double v = std::strtod(it->second.c_str(), &end);
      if (end == it->second.c_str() || v < std::strtod(c.value.c_str(), nullptr)) return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: trace_check TRACE [PATTERN]...\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "trace_check: cannot open " << argv[1] << '\n';
    return 1;
  }
  std::vector<Fields> lines;
  long long lastT = -1;
  int number = 0;
  for (std::string text; std::getline(in, text);) {
    ++number;
    const auto parsed = JsonLine(text).Parse();
    if (!parsed || parsed->size() < 2 || (*parsed)[0].first != "t" || (*parsed)[1].first != "ev") {
      std::cerr << argv[1] << ':' << number << ": not a trace line: " << text << '\n';
      return 1;
    }
    const long long t = std::atoll((*parsed)[0].second.c_str());
    if (t < lastT) {
      std::cerr << argv[1] << ':' << number << ": time goes back: " << text << '\n';
      return 1;
    }
    lastT = t;
    lines.emplace_back(parsed->begin(), parsed->end());
  }

  std::size_t next = 0;
  for (int a = 2; a < argc; ++a) {
    std::string pattern = argv[a];
    const bool absent = !pattern.empty() && pattern[0] == '!';
    if (absent) pattern.erase(0, 1);
    const std::vector<Condition> conditions = ParsePattern(pattern);
    if (absent) {
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Matches(lines[i], conditions)) {
          std::cerr << argv[1] << ':' << i + 1 << ": matches the forbidden pattern " << argv[a] << '\n';
          return 1;
        }
      }
      continue;
    }
    while (next < lines.size() && !Matches(lines[next], conditions)) ++next;
    if (next == lines.size()) {
      std::cerr << argv[1] << ": no line (in order) matches " << argv[a] << '\n';
      return 1;
    }
    ++next;
  }
  return 0;
}
