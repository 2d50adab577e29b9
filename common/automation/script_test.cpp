#include "common/automation/script.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/automation/program_options.h"

namespace orva {
namespace {

ScriptActions PlayerLikeActions() {
  ScriptActions actions;
  actions.Add(
      {"key", "key KEYS", 1, 1,
       [](const ScriptArgs& a) { return a[0].find('+') == 0 ? "a key name is missing" : std::string(); },
       nullptr});
  actions.Add({"click", "click CONTROL [TIMES]", 1, 2, nullptr, nullptr});
  actions.Add({"type", "type TEXT...", 1, kAnyArgs, nullptr, nullptr});
  return actions;
}

TEST(SplitScriptLine, SplitsWordsQuotesAndComments) {
  const struct {
    const char* line;
    std::vector<std::string> words;
  } cases[] = {
      {"   \t ", {}},
      {"key Ctrl+2   # next page", {"key", "Ctrl+2"}},
      {"key Shift+#", {"key", "Shift+#"}},
      {"note \"# not a comment\"", {"note", "# not a comment"}},
      {"input \"\"", {"input", ""}},
      {R"(note "a\"b\\c\nd\te")", {"note", "a\"b\\c\nd\te"}},
      {"wait 10\r", {"wait", "10"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitScriptLine(c.line), c.words) << c.line;
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
    const char* text;
    const char* message;  // what() must start with this
  } cases[] = {
      {"wait 5s", "s.txt:1: wait expects milliseconds"},
      {"wait 86400001", "s.txt:1: wait expects milliseconds"},
      {"wait 86400000\nwait 1", "s.txt:2: the waits in a row"},
      {"wait", "s.txt:1: wait expects 1 argument, got 0"},
      {"answer Maybe", "s.txt:1: answer expects OK, Cancel, Yes or No"},
      {"quit now", "s.txt:1: quit takes no arguments"},
      {"quit\n# fine\nwait 1", "s.txt:3: nothing may follow quit (line 1)"},
      {"note \"abc", "s.txt:1: quoted text is not closed"},
      {"note \"a\\q\"", "s.txt:1: unknown escape \\q"},
      {"note \"a\"b", "s.txt:1: a quoted text must be followed by a blank"},
      {"click a 2 3", "s.txt:1: click expects 1 to 2 arguments, got 3"},
      {"type", "s.txt:1: type expects at least 1 argument"},
      {"key +2", "s.txt:1: key: a key name is missing"},
      {"fly", "s.txt:1: unknown action \"fly\" (this program knows: wait, answer, input, note, quit, key, "},
  };
  const ScriptActions actions = PlayerLikeActions();
  for (const auto& c : cases) {
    try {
      ParseScript(c.text, "s.txt", actions);
      ADD_FAILURE() << c.text << ": parsed";
    } catch (const ScriptError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
      EXPECT_EQ(e.File(), "s.txt");
      EXPECT_GT(e.Line(), 0);
    }
  }
}

TEST(ScriptActions, RefusesNamesAndCountsThatCannotWork) {
  for (const ScriptActionSpec& bad : {ScriptActionSpec{"two words", "", 0, 0, nullptr, nullptr},
                                      ScriptActionSpec{"wait", "", 0, 0, nullptr, nullptr},
                                      ScriptActionSpec{"x", "", 2, 1, nullptr, nullptr}}) {
    ScriptActions actions;
    EXPECT_THROW(actions.Add(bad), std::invalid_argument) << bad.name;
  }
  ScriptActions actions;
  EXPECT_THROW(actions.Bind("nothing", nullptr), std::invalid_argument);
}

TEST(LoadScript, ReadsAByteOrderMarkAndWindowsLineEndsAndRefusesAFolder) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("orva_script_test_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "ok.script") << "\xEF\xBB\xBFwait 5\r\nquit\r\n";
  const Script s = LoadScript((dir / "ok.script").string(), {});
  ASSERT_EQ(s.steps.size(), 1u);
  EXPECT_EQ(s.steps[0].kind, ScriptStepKind::kQuit);
  EXPECT_THROW(LoadScript(dir.string(), {}), ScriptError);
  std::filesystem::remove_all(dir);
}

const ProgramSpec kPlayer{"OrvaPlayer", "Legge i libri parlati.", true, true};
const ProgramSpec kUndo{"undo", "Azzera le scelte del lanciatore.", false, false};

// The player's own usage is checked by running it with --help.
TEST(ProgramUsage, NamesOptionsAndScriptActions) {
  ScriptActions actions;
  actions.Add({"key", "key KEYS  (press keys)", 1, 1, nullptr, nullptr});
  const std::string player = ProgramUsage(kPlayer, actions);
  EXPECT_LT(player.find("  wait MS"), player.find("  key KEYS  (press keys)\n"));
  EXPECT_EQ(ProgramUsage(kUndo, {}).find("--book"), std::string::npos);
}

// The options parsed as "help|trace|script|book|audio", or the usage error.
std::string Parsed(const ProgramSpec& spec, const std::vector<std::string>& args) {
  try {
    const ProgramOptions o = ParseProgramOptions(spec, args);
    return std::string(o.help ? "help" : "") + "|" + o.traceFile + "|" + o.scriptFile + "|" + o.bookDir +
           "|" + o.audio;
  } catch (const UsageError& e) {
    return e.what();
  }
}

TEST(ParseProgramOptions, AcceptsTheSharedOptionsAndRejectsWhatItCannotUse) {
  const struct {
    const char* name;
    const ProgramSpec* spec;
    std::vector<std::string> args;
    const char* expected;
  } cases[] = {
      {"none", &kUndo, {}, "||||"},
      {"separate values",
       &kPlayer,
       {"--trace", "t.jsonl", "--script", "s.txt", "--book", "/b", "--audio", "fast"},
       "|t.jsonl|s.txt|/b|fast"},
      {"joined values", &kPlayer, {"--script=s=1.txt", "--trace=t"}, "|t|s=1.txt||"},
      {"value that looks like an option", &kUndo, {"--trace", "--odd"}, "|--odd|||"},
      {"book path alone", &kPlayer, {"/b/Index.htm", "--audio=null"}, "|||/b/Index.htm|null"},
      {"path for a utility", &kUndo, {"Index.htm"}, "unexpected argument \"Index.htm\""},
      {"book for a utility", &kUndo, {"--book", "/b"}, "unknown option \"--book\""},
      {"two books", &kPlayer, {"--book", "/a", "/b"}, "only one book can be opened, not also \"/b\""},
      {"missing value", &kUndo, {"--script"}, "--script needs a value"},
      {"twice", &kUndo, {"--trace", "a", "--trace", "b"}, "--trace is given twice"},
      {"unknown audio output",
       &kPlayer,
       {"--audio", "loud"},
       "--audio takes device, null or fast, not \"loud\""},
  };
  for (const auto& c : cases) EXPECT_EQ(Parsed(*c.spec, c.args), c.expected) << c.name;
}

TEST(BrowserSettingsFor, DisablesSandboxForRootAndGpuWithoutOne) {
  const struct {
    bool root, gpu;
    std::string flags;
    bool disableSandbox;
    std::string expectedFlags;
  } cases[] = {
      {false, true, "", false, ""},
      {true, true, "", true, "--no-sandbox"},
      {false, false, "--lang=it", false, "--lang=it --disable-gpu"},
      {true, false, "--disable-gpu --no-sandbox", true, "--disable-gpu --no-sandbox"},
  };
  for (const auto& c : cases) {
    const BrowserProcessSettings s = BrowserSettingsFor(c.root, c.gpu, c.flags);
    EXPECT_EQ(s.disableSandbox, c.disableSandbox) << c.expectedFlags;
    EXPECT_EQ(s.chromiumFlags, c.expectedFlags);
  }
}

}  // namespace
}  // namespace orva
