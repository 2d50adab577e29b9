#include "tools/start/start_form.h"

#include <gtest/gtest.h>

#include "common/settings/memory_registry.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_process_launcher.h"
#include "fakes/scripted_dialogs.h"

namespace orva::start {
namespace {

constexpr const char* kNoLinker = "OrvaPlayerLink non trovato.\r\nAvvio OrvaPlayer da cd";
constexpr const char* kLinkerMoved =
    "Il file Linker.exe è stato spostato o rinominato; reinstallare OrvaPlayer.\r\nAvvio OrvaPlayer da cd";

struct StartCase {
  const char* name;
  const char* path;     // the stored linker folder; null: not set
  const char* file;     // the one file on disk; null: none
  const char* message;  // null: none
  bool cdWritten;
  const char* started;
  WindowStyle style;
};

// start run from a CD at /media/cdrom.
struct StartWorld : ::testing::Test {
  MemoryRegistry registry;
  Settings settings{registry};
  fakes::MemoryFileSystem fs;
  fakes::RecordingProcessLauncher processes;
  fakes::ScriptedDialogs dialogs;
  void Load() { Form1({settings, fs, processes, dialogs, "/media/cdrom", "/media/cdrom"}).Form_Load(); }
};

class StartFlow : public StartWorld, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartFlow, StartsTheLinkerOrThePlayerFromTheCd) {
  const StartCase& c = GetParam();
  if (c.file) fs.AddFile(c.file);
  if (c.path) settings.SaveSetting("Linker", "Default", "Path", c.path);
  Load();

  if (c.message) {
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text, c.message);
    EXPECT_EQ(dialogs.Shown()[0].title, "Start");
    EXPECT_EQ(dialogs.Shown()[0].icon, MsgBoxIcon::kInformation);
  } else {
    EXPECT_TRUE(dialogs.Shown().empty());
  }
  EXPECT_EQ(settings.GetSetting("Linker", "Default", "CD", "<none>"),
            c.cdWritten ? "/media/cdrom" : "<none>");
  ASSERT_EQ(processes.Starts().size(), 1u);
  EXPECT_EQ(processes.Starts()[0].program, c.started);
  EXPECT_TRUE(processes.Starts()[0].args.empty());
  EXPECT_EQ(processes.Starts()[0].style, c.style);
}

constexpr auto kMax = WindowStyle::kMaximizedFocus;
constexpr auto kNormal = WindowStyle::kNormalFocus;
INSTANTIATE_TEST_SUITE_P(
    Cases, StartFlow,
    ::testing::Values(StartCase{"path_missing", nullptr, nullptr, kNoLinker, false, "./OrvaPlayer", kNormal},
                      StartCase{"path_blank", "   ", nullptr, kNoLinker, false, "./OrvaPlayer", kNormal},
                      StartCase{"linker_exe", "/opt/linker", "/opt/linker/linker.exe", nullptr, true,
                                "/opt/linker/linker.exe", kMax},
                      StartCase{"linker_without_exe", "/opt/linker", "/opt/linker/linker", nullptr, true,
                                "/opt/linker/linker", kMax},
                      StartCase{"linker_moved", "/opt/linker", nullptr, kLinkerMoved, true, "./OrvaPlayer",
                                kNormal},
                      StartCase{"player_exe_on_cd", nullptr, "/media/cdrom/OrvaPlayer.exe", kNoLinker, false,
                                "./OrvaPlayer.exe", kNormal}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(StartWorld, APlayerThatCannotStartIsReportedNotFatal) {
  processes.SetMissing("./OrvaPlayer");
  Load();
  ASSERT_EQ(dialogs.Shown().size(), 2u);
  EXPECT_EQ(dialogs.Shown()[1].text, "Errore di run-time '53':\r\n\r\nImpossibile trovare il file");
  EXPECT_EQ(dialogs.Shown()[1].title, "Start");
}

}  // namespace
}  // namespace orva::start
