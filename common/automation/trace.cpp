#include "common/automation/trace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "common/platform/clock.h"

namespace orva {
namespace {

struct TraceState {
  std::unique_ptr<TraceSink> sink;
  const Clock* clock = nullptr;
  std::int64_t origin = 0;
};

TraceState& State() {
  static TraceState state;
  return state;
}

class StreamSink : public TraceSink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  void WriteLine(const std::string& line) override { out_ << line << '\n' << std::flush; }

 private:
  std::ostream& out_;
};

class FileSink : public TraceSink {
 public:
  explicit FileSink(const std::string& path) : out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_) throw std::runtime_error("cannot open trace file " + path + ": " + std::strerror(errno));
  }
  void WriteLine(const std::string& line) override { out_ << line << '\n' << std::flush; }

 private:
  std::ofstream out_;
};

// Length of the valid UTF-8 sequence starting at s[i], or 0.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

std::string JsonQuote(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t n = Utf8Length(text, i);
      if (n == 0) {
        out += "\xEF\xBF\xBD";
        ++i;
      } else {
        out.append(text.substr(i, n));
        i += n;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

void InstallTrace(std::unique_ptr<TraceSink> sink, const Clock* clock) {
  TraceState& s = State();
  s.sink = std::move(sink);
  s.clock = clock;
  s.origin = clock ? clock->NowMs() : 0;
}

bool TraceEnabled() { return State().sink != nullptr; }

void TraceEvent(std::string_view event, std::initializer_list<TraceField> fields) {
  TraceState& s = State();
  if (!s.sink) return;
  std::string line = "{\"t\":";
  line += std::to_string(s.clock ? s.clock->NowMs() - s.origin : 0);
  line += ",\"ev\":";
  line += JsonQuote(event);
  for (const TraceField& f : fields) {
    line += ',';
    line += JsonQuote(f.key);
    line += ':';
    if (const auto* str = std::get_if<std::string>(&f.value)) {
      line += JsonQuote(*str);
    } else if (const auto* i = std::get_if<std::int64_t>(&f.value)) {
      line += std::to_string(*i);
    } else if (const auto* d = std::get_if<double>(&f.value)) {
      char buf[40];
      std::snprintf(buf, sizeof buf, "%.17g", *d);
      line += buf;
    } else if (const auto* b = std::get_if<bool>(&f.value)) {
      line += *b ? "true" : "false";
    } else {
      line += '[';
      const auto& items = std::get<std::vector<std::string>>(f.value);
      for (std::size_t k = 0; k < items.size(); ++k) {
        if (k) line += ',';
        line += JsonQuote(items[k]);
      }
      line += ']';
    }
  }
  line += '}';
  s.sink->WriteLine(line);
}

std::unique_ptr<TraceSink> MakeStreamTraceSink(std::ostream& out) {
  return std::make_unique<StreamSink>(out);
}

std::unique_ptr<TraceSink> MakeFileTraceSink(const std::string& path) {
  return std::make_unique<FileSink>(path);
}

}  // namespace orva
