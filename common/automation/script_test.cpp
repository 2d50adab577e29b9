#include "common/automation/script.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace orva {
namespace {

ScriptActions PlayerLikeActions() {
  ScriptActions actions;
  actions.Add({"key", "key KEYS", 1, 1,
               [](const ScriptArgs& a) {
                 return a[0].find('+') == 0 ? std::string("a key name is missing") : std::string();
               },
               nullptr});
  actions.Add({"click", "click CONTROL [TIMES]", 1, 2, nullptr, nullptr});
  actions.Add({"type", "type TEXT...", 1, kAnyArgs, nullptr, nullptr});
  return actions;
}

TEST(SplitScriptLine, SplitsWordsQuotesAndComments) {
  const struct {
    const char* name;
    const char* line;
    std::vector<std::string> words;
  } cases[] = {
      {"blank", "   \t ", {}},
      {"comment line", "# wait 5", {}},
      {"trailing comment", "key Ctrl+2   # next page", {"key", "Ctrl+2"}},
      {"hash inside a word", "key Shift+#", {"key", "Shift+#"}},
      {"quoted blanks and hash", "note \"# not a comment\"", {"note", "# not a comment"}},
      {"empty quoted", "input \"\"", {"input", ""}},
      {"escapes", R"(note "a\"b\\c\nd\te")", {"note", "a\"b\\c\nd\te"}},
      {"crlf", "wait 10\r", {"wait", "10"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitScriptLine(c.line), c.words);
  }
}

TEST(ParseScript, TimesStepsFromTheWaitsBeforeThem) {
  const Script s = ParseScript(
      "# walk two pages\nanswer yes\nwait 2000\nKEY Ctrl+2\nwait 500\n"
      "wait 250\ninput \"Capitolo 1\"\nclick cmdOK 2\nwait 100\n",
      "walk.txt", PlayerLikeActions());
  // "line +delay action [args]"; the action as registered, whatever its spelling.
  std::vector<std::string> steps;
  for (const ScriptStep& step : s.steps) {
    steps.push_back(std::to_string(step.line) + " +" + std::to_string(step.delayMs) + " " + step.action);
    for (const std::string& arg : step.args) steps.back() += " [" + arg + "]";
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"2 +0 answer [yes]", "4 +2000 key [Ctrl+2]",
                                             "7 +750 input [Capitolo 1]", "8 +0 click [cmdOK] [2]"}));
  EXPECT_EQ(s.steps[0].answer, MsgBoxResult::kYes);
  EXPECT_EQ(s.trailingDelayMs, 100);
}

TEST(ParseScript, NamesFileAndLineOfTheFirstProblem) {
  const struct {
    const char* name;
    const char* text;
    const char* message;  // what() must start with this
  } cases[] = {
      {"unknown action", "wait 1\nfly away\n", "s.txt:2: unknown action \"fly\""},
      {"wait negative", "wait -5", "s.txt:1: wait expects milliseconds"},
      {"wait with unit", "wait 5s", "s.txt:1: wait expects milliseconds"},
      {"wait too long", "wait 86400001", "s.txt:1: wait expects milliseconds"},
      {"waits in a row too long", "wait 86400000\nwait 1", "s.txt:2: the waits in a row"},
      {"wait missing", "wait", "s.txt:1: wait expects 1 argument, got 0"},
      {"answer unknown button", "answer Maybe", "s.txt:1: answer expects OK, Cancel, Yes or No"},
      {"input two words", "input two words", "s.txt:1: input expects 1 argument, got 2"},
      {"quit with argument", "quit now", "s.txt:1: quit takes no arguments"},
      {"after quit", "quit\n# fine\nwait 1", "s.txt:3: nothing may follow quit (line 1)"},
      {"open quote", "note \"abc", "s.txt:1: quoted text is not closed"},
      {"escape at the end", "note \"ends in \\", "s.txt:1: quoted text is not closed"},
      {"unknown escape", "note \"a\\q\"", "s.txt:1: unknown escape \\q"},
      {"word after a quote", "note \"a\"b", "s.txt:1: a quoted text must be followed by a blank"},
      {"registered too many", "click a 2 3", "s.txt:1: click expects 1 to 2 arguments, got 3"},
      {"registered too few", "type", "s.txt:1: type expects at least 1 argument"},
      {"registered check", "key +2", "s.txt:1: key: a key name is missing"},
  };
  const ScriptActions actions = PlayerLikeActions();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ParseScript(c.text, "s.txt", actions);
      ADD_FAILURE() << "parsed";
    } catch (const ScriptError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
      EXPECT_EQ(e.File(), "s.txt");
      EXPECT_GT(e.Line(), 0);
    }
  }
}

TEST(ScriptActions, RejectsBadAndTakenNames) {
  ScriptActions actions = PlayerLikeActions();
  for (const char* name : {"", "two words", "wait", "QUIT", "Key", "#x"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(actions.Add({name, "", 0, 0, nullptr, nullptr}), std::invalid_argument);
  }
  EXPECT_THROW(actions.Add({"odd", "", 2, 1, nullptr, nullptr}), std::invalid_argument);
  EXPECT_THROW(actions.Bind("nothing", [](const ScriptArgs&) {}), std::invalid_argument);
  actions.Bind("KEY", [](const ScriptArgs&) {});
  EXPECT_TRUE(actions.Find("key")->run);
  const std::vector<std::string> usages = actions.Usages();  // the built-ins first
  EXPECT_EQ(usages.front().rfind("wait MS", 0), 0u);
  EXPECT_EQ(usages.back(), "type TEXT...");
}

TEST(LoadScript, ReadsFileAndNamesAFolderAsUnreadable) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("orva_script_test_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "ok.script").string();
  std::ofstream(path) << "\xEF\xBB\xBFwait 5\r\nquit\r\n";  // the byte-order mark some editors write
  const Script s = LoadScript(path, {});
  ASSERT_EQ(s.steps.size(), 1u);
  EXPECT_EQ(s.steps[0].kind, ScriptStepKind::kQuit);
  try {
    LoadScript(dir.string(), {});
    ADD_FAILURE() << "loaded";
  } catch (const ScriptError& e) {
    EXPECT_EQ(std::string(e.what()), dir.string() + ": cannot open the script: it is a folder");
    EXPECT_EQ(e.Line(), 0);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orva
