#include "common/automation/script.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/runtime/text.h"

namespace orva {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

struct BuiltIn {
  const char* name;
  const char* usage;
};

constexpr BuiltIn kBuiltIns[] = {
    {"wait", "wait MS  (pause before the next action, in milliseconds)"},
    {"answer", "answer OK|Cancel|Yes|No  (queue the button for the next dialog)"},
    {"input", "input TEXT  (queue the text for the next input box)"},
    {"note", "note TEXT  (write the text to the trace)"},
    {"quit", "quit  (end the program; nothing may follow)"},
};

bool IsBuiltIn(std::string_view name) {
  return std::any_of(std::begin(kBuiltIns), std::end(kBuiltIns),
                     [&](const BuiltIn& b) { return AsciiEqualsNoCase(name, b.name); });
}

// The built-in's own spelling of a word that names one, else the word as written.
std::string BuiltInName(std::string_view word) {
  for (const BuiltIn& b : kBuiltIns)
    if (AsciiEqualsNoCase(word, b.name)) return b.name;
  return std::string(word);
}

std::string ArgCountText(int n) { return std::to_string(n) + (n == 1 ? " argument" : " arguments"); }

// "expects 1 argument", "expects 1 to 2 arguments", "expects at least 1 argument".
std::string ExpectsText(int minArgs, int maxArgs) {
  if (maxArgs == kAnyArgs) return "expects at least " + ArgCountText(minArgs);
  if (minArgs == maxArgs) return minArgs == 0 ? "takes no arguments" : "expects " + ArgCountText(minArgs);
  return "expects " + std::to_string(minArgs) + " to " + ArgCountText(maxArgs);
}

void CheckCount(const std::string& name, const ScriptArgs& args, int minArgs, int maxArgs,
                const std::string& usage, const std::string& file, int line) {
  const int n = static_cast<int>(args.size());
  if (n < minArgs || (maxArgs != kAnyArgs && n > maxArgs))
    throw ScriptError(file, line,
                      name + " " + ExpectsText(minArgs, maxArgs) + ", got " + std::to_string(n) +
                          " (usage: " + usage + ")");
}

const char* UsageOf(const char* name) {
  for (const BuiltIn& b : kBuiltIns)
    if (std::strcmp(b.name, name) == 0) return b.usage;
  return "";
}

int ParseWait(const std::string& text, const std::string& file, int line) {
  int value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  auto [end, ec] = std::from_chars(first, last, value);
  if (text.empty() || ec != std::errc() || end != last || value < 0 || value > kMaxScriptWaitMs) {
    throw ScriptError(
        file, line,
        "wait expects milliseconds from 0 to " + std::to_string(kMaxScriptWaitMs) + ", got \"" + text + "\"");
  }
  return value;
}

std::string KnownActions(const ScriptActions& actions) {
  std::string out;
  for (const std::string& usage : actions.Usages()) {
    if (!out.empty()) out += ", ";
    out += usage.substr(0, usage.find(' '));
  }
  return out;
}

}  // namespace

ScriptError::ScriptError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message),
      file_(file),
      line_(line) {}

void ScriptActions::Add(ScriptActionSpec spec) {
  if (spec.name.empty() ||
      std::any_of(spec.name.begin(), spec.name.end(), [](char c) { return IsBlank(c) || c == '#'; }))
    throw std::invalid_argument("script action name must be one word: \"" + spec.name + "\"");
  if (IsBuiltIn(spec.name) || Find(spec.name))
    throw std::invalid_argument("script action \"" + spec.name + "\" is already defined");
  if (spec.minArgs < 0 || (spec.maxArgs != kAnyArgs && spec.maxArgs < spec.minArgs))
    throw std::invalid_argument("script action \"" + spec.name + "\" has an impossible argument count");
  if (spec.usage.empty()) spec.usage = spec.name;
  specs_.push_back(std::move(spec));
}

void ScriptActions::Bind(std::string_view name, std::function<void(const ScriptArgs&)> run) {
  for (ScriptActionSpec& spec : specs_) {
    if (AsciiEqualsNoCase(spec.name, name)) {
      spec.run = std::move(run);
      return;
    }
  }
  throw std::invalid_argument("no script action \"" + std::string(name) + "\" to bind");
}

const ScriptActionSpec* ScriptActions::Find(std::string_view name) const {
  for (const ScriptActionSpec& spec : specs_)
    if (AsciiEqualsNoCase(spec.name, name)) return &spec;
  return nullptr;
}

std::vector<std::string> ScriptActions::Usages() const {
  std::vector<std::string> out;
  for (const BuiltIn& b : kBuiltIns) out.emplace_back(b.usage);
  for (const ScriptActionSpec& spec : specs_) out.push_back(spec.usage);
  return out;
}

std::vector<std::string> SplitScriptLine(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsBlank(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    std::string word;
    if (line[i] != '"') {
      while (i < line.size() && !IsBlank(line[i])) word += line[i++];
      words.push_back(std::move(word));
      continue;
    }
    ++i;  // opening quote
    bool closed = false;
    while (i < line.size()) {
      const char c = line[i++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c != '\\') {
        word += c;
        continue;
      }
      if (i == line.size()) break;
      switch (const char e = line[i++]) {
        case '"': word += '"'; break;
        case '\\': word += '\\'; break;
        case 'n': word += '\n'; break;
        case 't': word += '\t'; break;
        default: throw std::invalid_argument(std::string("unknown escape \\") + e + " in quoted text");
      }
    }
    if (!closed) throw std::invalid_argument("quoted text is not closed");
    if (i < line.size() && !IsBlank(line[i]))
      throw std::invalid_argument("a quoted text must be followed by a blank");
    words.push_back(std::move(word));
  }
  return words;
}

Script ParseScript(std::string_view text, const std::string& fileName, const ScriptActions& actions) {
  Script script;
  script.file = fileName;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // a byte-order mark some editors write

  int line = 0;
  int pendingDelay = 0;
  int quitLine = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t eol = std::min(text.find('\n', pos), text.size());
    const std::string_view raw = text.substr(pos, eol - pos);
    pos = eol + 1;
    ++line;

    std::vector<std::string> words;
    try {
      words = SplitScriptLine(raw);
    } catch (const std::invalid_argument& e) {
      throw ScriptError(fileName, line, e.what());
    }
    if (words.empty()) continue;
    if (quitLine)
      throw ScriptError(fileName, line, "nothing may follow quit (line " + std::to_string(quitLine) + ")");

    const std::string name = BuiltInName(words.front());
    ScriptArgs args(words.begin() + 1, words.end());
    ScriptStep step;
    step.line = line;
    step.args = args;
    step.action = name;

    if (name == "wait") {
      CheckCount(name, args, 1, 1, UsageOf("wait"), fileName, line);
      // Consecutive waits add up; the sum is still bounded.
      const int ms = ParseWait(args[0], fileName, line);
      if (pendingDelay > kMaxScriptWaitMs - ms)
        throw ScriptError(fileName, line, "the waits in a row add up to more than a day");
      pendingDelay += ms;
      continue;
    }
    if (name == "answer") {
      CheckCount(name, args, 1, 1, UsageOf("answer"), fileName, line);
      if (!ParseMsgBoxResult(args[0], &step.answer))
        throw ScriptError(fileName, line, "answer expects OK, Cancel, Yes or No, got \"" + args[0] + "\"");
      step.kind = ScriptStepKind::kAnswer;
    } else if (name == "input") {
      CheckCount(name, args, 1, 1, UsageOf("input"), fileName, line);
      step.kind = ScriptStepKind::kInput;
    } else if (name == "note") {
      CheckCount(name, args, 1, 1, UsageOf("note"), fileName, line);
      step.kind = ScriptStepKind::kNote;
    } else if (name == "quit") {
      CheckCount(name, args, 0, 0, UsageOf("quit"), fileName, line);
      step.kind = ScriptStepKind::kQuit;
      quitLine = line;
    } else if (const ScriptActionSpec* spec = actions.Find(name)) {
      CheckCount(spec->name, args, spec->minArgs, spec->maxArgs, spec->usage, fileName, line);
      if (spec->check) {
        const std::string problem = spec->check(args);
        if (!problem.empty()) throw ScriptError(fileName, line, spec->name + ": " + problem);
      }
      step.kind = ScriptStepKind::kAction;
      step.action = spec->name;
    } else {
      throw ScriptError(
          fileName, line,
          "unknown action \"" + words.front() + "\" (this program knows: " + KnownActions(actions) + ")");
    }
    step.delayMs = pendingDelay;
    pendingDelay = 0;
    script.steps.push_back(std::move(step));
  }
  script.trailingDelayMs = pendingDelay;
  return script;
}

Script LoadScript(const std::string& path, const ScriptActions& actions) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw ScriptError(path, 0, "cannot open the script: it is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScriptError(path, 0, std::string("cannot open the script: ") + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw ScriptError(path, 0, "cannot read the script");
  return ParseScript(text.str(), path, actions);
}

}  // namespace orva
