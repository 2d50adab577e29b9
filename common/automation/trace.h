#pragma once
// The trace: one JSON object per line for everything a program shows and
// does (windows, dialogs and answers, on-screen messages, settings written,
// programs started, pages, keys, media events). End-to-end tests and book
// makers read it. With no sink installed, emitting costs one branch.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace orva {

class Clock;

struct TraceField {
  using Value = std::variant<std::string, std::int64_t, double, bool, std::vector<std::string>>;
  TraceField(std::string_view k, std::string_view v) : key(k), value(std::string(v)) {}
  TraceField(std::string_view k, const std::string& v) : key(k), value(v) {}
  TraceField(std::string_view k, const char* v) : key(k), value(std::string(v ? v : "")) {}
  TraceField(std::string_view k, int v) : key(k), value(std::int64_t{v}) {}
  TraceField(std::string_view k, long v) : key(k), value(std::int64_t{v}) {}
  TraceField(std::string_view k, long long v) : key(k), value(std::int64_t{v}) {}
  TraceField(std::string_view k, unsigned v) : key(k), value(std::int64_t{v}) {}
  TraceField(std::string_view k, double v) : key(k), value(v) {}
  TraceField(std::string_view k, bool v) : key(k), value(v) {}
  // A list of texts, written as a JSON array (program arguments, for one).
  TraceField(std::string_view k, std::vector<std::string> v) : key(k), value(std::move(v)) {}
  std::string_view key;
  Value value;
};

class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void WriteLine(const std::string& jsonLine) = 0;
};

// Installs the sink (nullptr switches tracing off) and the clock whose time
// stamps each line ("t", milliseconds since the sink was installed).
void InstallTrace(std::unique_ptr<TraceSink> sink, const Clock* clock);
bool TraceEnabled();
// {"t":…,"ev":"<event>", fields…}
void TraceEvent(std::string_view event, std::initializer_list<TraceField> fields = {});

// JSON text of a string, quotes included. Invalid UTF-8 bytes become U+FFFD.
std::string JsonQuote(std::string_view text);

// Sinks.
std::unique_ptr<TraceSink> MakeStreamTraceSink(std::ostream& out);  // flushes each line
// Opens (truncates) the file; throws std::runtime_error naming it on failure.
std::unique_ptr<TraceSink> MakeFileTraceSink(const std::string& path);

}  // namespace orva
