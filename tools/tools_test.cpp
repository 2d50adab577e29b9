#include <gtest/gtest.h>

#include "common/settings/memory_registry.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_dialogs.h"
#include "fakes/recording_process_launcher.h"
#include "tools/start/start_form.h"
#include "tools/undo/undo_form.h"

namespace orva {
namespace {

constexpr const char* kNoLinker = "Start/information: OrvaPlayerLink non trovato.\r\nAvvio OrvaPlayer da cd";
constexpr const char* kLinkerMoved =
    "Start/information: Il file Linker.exe è stato spostato o rinominato; reinstallare OrvaPlayer.\r\n"
    "Avvio OrvaPlayer da cd";

// start run from a CD at /media/cdrom: what it shows, stores and starts.
TEST(Start, StartsTheLinkerOrThePlayerFromTheCd) {
  constexpr auto kMax = WindowStyle::kMaximizedFocus;
  constexpr auto kNormal = WindowStyle::kNormalFocus;
  const struct {
    const char* name;
    const char* path;     // the stored linker folder; null: not set
    const char* file;     // the one file on disk; null: none
    const char* message;  // the last dialog shown; "": none
    bool cdWritten;
    const char* started;  // null: the player cannot start
    WindowStyle style;
  } cases[] = {
      {"path_missing", nullptr, nullptr, kNoLinker, false, "./OrvaPlayer", kNormal},
      {"path_blank", "   ", nullptr, kNoLinker, false, "./OrvaPlayer", kNormal},
      {"linker_exe", "/opt/linker", "/opt/linker/linker.exe", "", true, "/opt/linker/linker.exe", kMax},
      {"linker_moved", "/opt/linker", nullptr, kLinkerMoved, true, "./OrvaPlayer", kNormal},
      {"player_cannot_start_is_reported_not_fatal", nullptr, nullptr,
       "Start/critical: Errore di run-time '53':\r\n\r\nImpossibile trovare il file", false, nullptr,
       kNormal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    Settings settings{registry};
    fakes::MemoryFileSystem fs;
    fakes::RecordingProcessLauncher processes;
    fakes::RecordingDialogs dialogs;
    if (c.file) fs.AddFile(c.file);
    if (c.path) settings.SaveSetting("Linker", "Default", "Path", c.path);
    if (!c.started) processes.SetMissing("./OrvaPlayer");
    start::Form1({settings, fs, processes, dialogs, "/media/cdrom", "/media/cdrom"}).Form_Load();

    std::string shown;  // the last dialog
    for (const auto& d : dialogs.Shown()) shown = d.title + "/" + ToString(d.icon) + ": " + d.text;
    EXPECT_EQ(shown, c.message);
    EXPECT_EQ(settings.GetSetting("Linker", "Default", "CD", "<none>"),
              c.cdWritten ? "/media/cdrom" : "<none>");
    ASSERT_EQ(processes.Starts().size(), c.started ? 1u : 0u);
    if (!c.started) continue;
    EXPECT_EQ(processes.Starts()[0].program, c.started);
    EXPECT_TRUE(processes.Starts()[0].args.empty());
    EXPECT_EQ(processes.Starts()[0].style, c.style);
  }
}

// Its ordinary run is checked end to end with the launcher.
TEST(Undo, ReportsAStoreThatRefuses) {
  MemoryRegistry registry;
  Settings settings(registry);
  settings.SaveSetting("NOLinker", "Default", "noform", "1");
  registry.SetReadOnly(kHkeyCurrentUser, true);
  fakes::RecordingDialogs dialogs;
  undo::Form1(settings, dialogs).Form_Load();
  EXPECT_EQ(settings.GetSetting("NOLinker", "Default", "noform"), "1");
  EXPECT_EQ(settings.GetSetting("NOLinker", "Default", "sfogliacd", "?"), "?");
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].title + "/" + ToString(dialogs.Shown()[0].icon), "undo/critical");
}

}  // namespace
}  // namespace orva
