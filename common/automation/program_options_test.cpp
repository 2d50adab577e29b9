#include "common/automation/program_options.h"

#include <gtest/gtest.h>

#include "common/automation/script.h"

namespace orva {
namespace {

const ProgramSpec kPlayer{"OrvaPlayer", "Legge i libri parlati.", true, true};
const ProgramSpec kUndo{"undo", "Azzera le scelte del lanciatore.", false, false};

struct GoodCase {
  const char* name;
  const ProgramSpec* spec;
  std::vector<std::string> args;
  ProgramOptions expected;
};

TEST(ParseProgramOptions, AcceptsTheSharedOptions) {
  const GoodCase cases[] = {
      {"none", &kUndo, {}, {}},
      {"help", &kUndo, {"--help"}, {true, "", "", "", ""}},
      {"short help", &kUndo, {"-h"}, {true, "", "", "", ""}},
      {"separate values",
       &kPlayer,
       {"--trace", "t.jsonl", "--script", "s.txt", "--book", "/b", "--audio", "fast"},
       {false, "t.jsonl", "s.txt", "/b", "fast"}},
      {"joined values", &kPlayer, {"--script=s=1.txt", "--trace=t"}, {false, "t", "s=1.txt", "", ""}},
      {"value that looks like an option", &kUndo, {"--trace", "--odd"}, {false, "--odd", "", "", ""}},
      {"book path alone",
       &kPlayer,
       {"/b/Index.htm", "--audio=null"},
       {false, "", "", "/b/Index.htm", "null"}},
  };
  for (const GoodCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ProgramOptions o = ParseProgramOptions(*c.spec, c.args);
    EXPECT_EQ(o.help, c.expected.help);
    EXPECT_EQ(o.traceFile, c.expected.traceFile);
    EXPECT_EQ(o.scriptFile, c.expected.scriptFile);
    EXPECT_EQ(o.bookDir, c.expected.bookDir);
    EXPECT_EQ(o.audio, c.expected.audio);
  }
}

struct BadCase {
  const char* name;
  const ProgramSpec* spec;
  std::vector<std::string> args;
  const char* message;
};

TEST(ParseProgramOptions, RejectsWhatItCannotUse) {
  const BadCase cases[] = {
      {"unknown", &kUndo, {"--verbose"}, "unknown option \"--verbose\""},
      {"path for a utility", &kUndo, {"Index.htm"}, "unexpected argument \"Index.htm\""},
      {"book for a utility", &kUndo, {"--book", "/b"}, "unknown option \"--book\""},
      {"two books", &kPlayer, {"--book", "/a", "/b"}, "only one book can be opened, not also \"/b\""},
      {"missing value", &kUndo, {"--script"}, "--script needs a value"},
      {"empty value", &kUndo, {"--trace="}, "--trace needs a value"},
      {"twice", &kUndo, {"--trace", "a", "--trace", "b"}, "--trace is given twice"},
      {"unknown audio output",
       &kPlayer,
       {"--audio", "loud"},
       "--audio takes device, null or fast, not \"loud\""},
      {"audio for a utility", &kUndo, {"--audio=fast"}, "unknown option \"--audio=fast\""},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      ParseProgramOptions(*c.spec, c.args);
      ADD_FAILURE() << "accepted";
    } catch (const UsageError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST(ProgramUsage, NamesOptionsAndScriptActions) {
  ScriptActions actions;
  actions.Add({"key", "key KEYS  (press keys)", 1, 1, nullptr, nullptr});
  const std::string player = ProgramUsage(kPlayer, actions);
  EXPECT_EQ(player.rfind("Usage: OrvaPlayer [--help] [--trace FILE] [--script FILE] [--book PATH] [--audio "
                         "device|null|fast] [PATH]\n",
                         0),
            0u);
  EXPECT_NE(player.find("  key KEYS  (press keys)\n"), std::string::npos);
  EXPECT_NE(player.find("  wait MS"), std::string::npos);
  EXPECT_EQ(ProgramUsage(kUndo, {}).find("--book"), std::string::npos);
}

struct BrowserCase {
  const char* name;
  bool root;
  bool gpu;
  std::string flags;
  bool disableSandbox;
  std::string expectedFlags;
};

TEST(BrowserSettingsFor, DisablesSandboxForRootAndGpuWithoutOne) {
  const BrowserCase cases[] = {
      {"user with gpu", false, true, "", false, ""},
      {"root with gpu", true, true, "", true, "--no-sandbox"},
      {"user without gpu", false, false, "--lang=it", false, "--lang=it --disable-gpu"},
      {"root without gpu", true, false, "", true, "--no-sandbox --disable-gpu"},
      {"flags already there", true, false, "--disable-gpu --no-sandbox", true, "--disable-gpu --no-sandbox"},
  };
  for (const BrowserCase& c : cases) {
    SCOPED_TRACE(c.name);
    const BrowserProcessSettings s = BrowserSettingsFor(c.root, c.gpu, c.flags);
    EXPECT_EQ(s.disableSandbox, c.disableSandbox);
    EXPECT_EQ(s.chromiumFlags, c.expectedFlags);
  }
}

}  // namespace
}  // namespace orva
