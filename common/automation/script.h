#pragma once
// The automation script: a text file of timed user actions and dialog answers,
// so a program can run with nobody at it. One action per line:
//
//   # the reader waits two seconds, then goes to the next page
//   wait 2000
//   answer Yes          queued for the next message box
//   input "Capitolo 1"  queued for the next input box
//   key Ctrl+2          a program's own action
//   note "checkpoint"   written to the trace
//   quit
//
// Words are separated by blanks; a word in double quotes may hold blanks and
// the escapes \" \\ \n \t. A "#" that starts a word begins a comment. Action
// names are matched without regard to letter case. Besides the built-in
// actions each program registers its own (keys, clicks, panels, fields) in a
// ScriptActions table, and the parser accepts only the actions of the program
// that reads the script.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform/dialogs.h"

namespace orva {

using ScriptArgs = std::vector<std::string>;

// A program's own script action, e.g. "key Ctrl+2".
struct ScriptActionSpec {
  std::string name;   // one word; matched without regard to letter case
  std::string usage;  // e.g. "key KEYS  (press a key combination)", for messages and --help
  int minArgs = 0;
  int maxArgs = 0;  // kAnyArgs: no upper limit
  // Checks the arguments while the script is read, so a mistake stops the
  // program before it starts. Returns the problem, or the empty text.
  std::function<std::string(const ScriptArgs&)> check;
  // Carries the action out. May be bound later with ScriptActions::Bind,
  // once the windows it acts on exist.
  std::function<void(const ScriptArgs&)> run;
};

inline constexpr int kAnyArgs = -1;

// The actions a program accepts besides the built-in ones (wait, answer,
// input, note, quit).
class ScriptActions {
 public:
  // Throws std::invalid_argument when the name is empty, holds a blank, or is
  // taken (built-in names included).
  void Add(ScriptActionSpec spec);
  // Sets the handler of an added action; throws std::invalid_argument for an
  // unknown name.
  void Bind(std::string_view name, std::function<void(const ScriptArgs&)> run);
  // nullptr when the program has no such action.
  const ScriptActionSpec* Find(std::string_view name) const;
  // The usage lines of the built-in actions and then the program's own.
  std::vector<std::string> Usages() const;

 private:
  std::vector<ScriptActionSpec> specs_;
};

enum class ScriptStepKind { kAnswer, kInput, kNote, kQuit, kAction };

struct ScriptStep {
  int line = 0;
  // Milliseconds to wait, after the previous step has run, before this one.
  int delayMs = 0;
  ScriptStepKind kind = ScriptStepKind::kAction;
  std::string action;  // as registered, for kAction; the built-in's name otherwise
  ScriptArgs args;
  MsgBoxResult answer = MsgBoxResult::kOk;  // kAnswer
};

struct Script {
  std::string file;
  std::vector<ScriptStep> steps;
  // Waits after the last step, before the script ends.
  int trailingDelayMs = 0;
};

// A script that cannot be read. what() is "FILE:LINE: message" (or
// "FILE: message" when the file cannot be opened).
class ScriptError : public std::runtime_error {
 public:
  ScriptError(const std::string& file, int line, const std::string& message);
  const std::string& File() const { return file_; }
  int Line() const { return line_; }  // 0 when no line is to blame

 private:
  std::string file_;
  int line_;
};

// The longest single wait: a day. Longer is surely a typing mistake.
inline constexpr int kMaxScriptWaitMs = 24 * 60 * 60 * 1000;

// Throws ScriptError at the first line it cannot use.
Script ParseScript(std::string_view text, const std::string& fileName, const ScriptActions& actions);
// Reads and parses a file; throws ScriptError when it cannot be opened.
Script LoadScript(const std::string& path, const ScriptActions& actions);

// The words of one line: blanks separate, double quotes group, a "#" that
// starts a word ends the line. Throws std::invalid_argument on an unclosed
// quote or an unknown escape.
std::vector<std::string> SplitScriptLine(std::string_view line);

}  // namespace orva
