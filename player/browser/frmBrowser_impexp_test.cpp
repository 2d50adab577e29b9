// The bookmark panel's buttons as the reader meets them: export and import
// through the file chooser, the backup, closing the panel; the chooser's
// lists; the debug frame.

#include <gtest/gtest.h>

#include "player/browser/testing/frm_browser_world.h"
#include "player/keys/key_codes.h"
#include "player/registry/utf16.h"

namespace orva::testing {
namespace {

using Lines = std::vector<std::string>;
const std::string kHomeDir = FrmBrowserWorld::kHome;
const std::string kBackup = kHomeDir + "/.local/share/orvaplayer/ZUVPlayer_Backup.reg";
const std::string kKey = "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\ZUV MediaPlayer";
const std::string kRegFile = "REGEDIT4\r\n\r\n" + kKey + "\\Player]\r\n\"AudioOff\"=\"False\"\r\n\r\n" +
                             kKey + "\\CAP01\\PAG1.HTM]\r\n\"1\"=\"42\"\r\n\"1NOME\"=\"Nuovo\"\r\n";
constexpr std::int16_t kEnter = 13;

// The reading page with one stored bookmark, "Vecchio", listed; the home
// folder holds "Libri" and "Libri.2024"; a volume with no medium is mounted.
struct World : FrmBrowserWorld {
  World() {
    disk.AddFolder(kHomeDir + "/Libri.2024");
    disk.AddFile(kHomeDir + "/Libri/a.REG", kRegFile);
    disk.AddFile(kHomeDir + "/Libri/b.zuv");
    disk.AddFile(kHomeDir + "/Libri/c.txt");
    volumes.roots = {"/media/vuota"};
    StartReading();
    settings.SaveSetting("ZUV MediaPlayer", "CAP01\\PAG1.HTM", "1", "10");
    settings.SaveSetting("ZUV MediaPlayer", "CAP01\\PAG1.HTM", "1NOME", "Vecchio");
    Open(kPage);
    dialogs.Clear();
  }
  FrmImpExp& Chooser() { return form->frmImpExp; }
  // Button 0 (export) or 1 (import), the folder, the name, then OK.
  void Run(int button, const std::string& folder, const std::string& name) {
    form->cmdImpExp_Click(static_cast<std::int16_t>(button));
    ASSERT_TRUE(Chooser().SetDirPath(CoreFolderFromHost(folder)));
    Chooser().TextFileName.SetText(name);
    form->cmdImpExp_Click(2);
  }
  Lines Texts() {
    Lines out;
    for (const auto& d : dialogs.Shown()) out.push_back(d.text);
    return out;
  }
  Lines List() { return form->Bookmarks().ListMarkers.Items(); }
};

TEST(BookmarkExport, WritesTheNamedFileInTheChosenFolderAndAsksBeforeReplacing) {
  struct Case {
    const char* title;
    std::string folder, typed;
    std::optional<MsgBoxResult> answer;
    std::string written;  // empty: nothing written
  };
  const std::string dotted = kHomeDir + "/Libri.2024";
  const Case cases[] = {
      {"no dot in the name, a dot in the folder's", dotted, "segnalibri", {}, dotted + "/segnalibri.REG"},
      {"the name's extension gives way", kHomeDir, "copia.txt", {}, kHomeDir + "/copia.REG"},
      {"a name ending in a dot", kHomeDir, "fine.", {}, kHomeDir + "/fine.REG"},
      {"an existing file, Yes", kHomeDir, "vecchio.reg", MsgBoxResult::kYes, kHomeDir + "/vecchio.REG"},
      {"an existing file, No", kHomeDir, "vecchio", MsgBoxResult::kNo, ""},
      {"an existing file, Cancel", kHomeDir, "vecchio.txt", MsgBoxResult::kCancel, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    World w;
    w.disk.AddFile(kHomeDir + "/vecchio.REG", "old");
    if (c.answer) w.dialogs.QueueAnswer(*c.answer);
    w.Run(0, c.folder, c.typed);
    Lines texts;
    if (c.answer) texts.push_back("Si vuole sostituire il file vecchio.REG?");
    if (!c.written.empty()) texts.push_back("Export effettuato correttamente nel file " + c.written);
    EXPECT_EQ(w.Texts(), texts);
    EXPECT_EQ(w.dialogs.Shown()[0].title, c.answer ? "Esportazione Marcatori ORVA" : "OrvaPlayer");
    EXPECT_TRUE(c.written.empty() ||
                w.disk.ReadText(c.written).find("\"1NOME\"=\"Vecchio\"") != std::string::npos);
    EXPECT_EQ(w.disk.ReadText(kHomeDir + "/vecchio.REG") == "old", c.written != kHomeDir + "/vecchio.REG");
    EXPECT_FALSE(w.Chooser().Visible);
  }
}

TEST(BookmarkImport, ReadsTheFileByItsExtensionAfterABackupAndSaysWhatHappened) {
  struct Case {
    const char* title;
    std::string path, content;  // content "hive": a hive the reader reads
    std::string failure;        // empty: restored
    std::string note = "";
  };
  const std::string outside = kRegFile + "\r\n[HKEY_CURRENT_USER\\Software\\Altro]\r\n\"x\"=\"1\"\r\n";
  const std::string home = kHomeDir + "/";
  const Case cases[] = {
      {"a text file, any letter case", home + "salvati.Reg", kRegFile, ""},
      {"a hive file", home + "salvati.zuv", "hive", ""},
      {"blocks outside the player's settings", home + "altro.REG", outside, "",
       "\nChiavi ignorate perché esterne alle impostazioni del lettore: 1."},
      {"a damaged hive", home + "rotto.zuv", "x", "file hive danneggiato"},
      {"not a registry file", home + "nota.reg", "ciao",
       "intestazione non riconosciuta: il file non è un file di registro"},
      {"the backup itself, not overwritten first", kBackup, kRegFile, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    World w;
    w.disk.AddFile(c.path, c.content);
    const auto text = [](const char* name, const char* value) {
      return HiveValue{name, kRegSz, Utf8ToUtf16Le(value)};
    };
    if (c.content == "hive")
      w.hives.hives[CoreFolderFromHost(c.path)] = {
          "",
          {},
          {{"Player", {text("AudioOff", "False")}, {}},
           {"CAP01", {}, {{"PAG1.HTM", {text("1", "42"), text("1NOME", "Nuovo")}, {}}}}}};
    w.form->SetAudioOff(true);
    const std::size_t slash = c.path.rfind('/');
    w.Run(1, c.path.substr(0, slash), c.path.substr(slash + 1));
    const bool restored = c.failure.empty();
    EXPECT_EQ(w.Texts(), Lines{restored ? "Ripristino effettuato " + c.path + c.note
                                        : "Ripristino dal file " + c.path + " non riuscito: " + c.failure +
                                              ".\nLe impostazioni non sono state cambiate. La copia di "
                                              "sicurezza resta nel file " +
                                              kBackup + "."});
    EXPECT_EQ(w.List(), Lines{restored ? "00:42\t - Nuovo" : "00:10\t - Vecchio"});
    EXPECT_EQ(w.Stored("AudioOff"), "True");
    EXPECT_NE(w.disk.ReadText(kBackup).find(c.path == kBackup ? "Nuovo" : "Vecchio"), std::string::npos);
    std::string outsideValue;
    EXPECT_EQ(w.registry.GetValue(kHkeyCurrentUser, "Software\\Altro", "x", nullptr, &outsideValue),
              kErrorFileNotFound);
  }
}

TEST(BookmarkPanel, CloseResumesOnlyReadingThatWasPlaying) {
  for (const bool playing : {false, true}) {
    SCOPED_TRACE(playing ? "playing" : "paused");
    World w;
    if (!playing) w.Ctrl(keys::KeyCodes::KeyPlayPause);
    w.Alt(keys::KeyCodes::KeyMarkList);
    ASSERT_TRUE(w.form->fraMarcatoriVisible);
    w.form->cmdImpExp_Click(4);
    EXPECT_FALSE(w.form->fraMarcatoriVisible);
    EXPECT_EQ(w.Playing(), playing);
  }
}

TEST(FileChooser, OpensFoldersIgnoresAVolumeNotReadyAndConfirmsByDoubleClickOrEnter) {
  for (const bool doubleClick : {true, false}) {
    World w;
    FrmImpExp& f = w.Chooser();
    w.form->cmdImpExp_Click(1);
    EXPECT_EQ(f.Drive.Items(), (Lines{kHomeDir, "/media/vuota"}));
    f.Dir.SetListIndex(static_cast<int>(std::find(f.Dir.Items().begin(), f.Dir.Items().end(), "Libri") -
                                        f.Dir.Items().begin()));
    f.Dir_KeyDown(kEnter, 0);
    EXPECT_EQ(f.File.Items(), (Lines{"a.REG", "b.zuv"}));
    f.Drive.SetListIndex(1);
    EXPECT_EQ(f.DirPath(), CoreFolderFromHost(kHomeDir + "/Libri"));
    EXPECT_EQ(f.File.Items(), (Lines{"a.REG", "b.zuv"}));
    EXPECT_EQ(f.Drive.ListIndex(), 0);
    EXPECT_TRUE(w.dialogs.Shown().empty());
    f.File.SetListIndex(0);
    if (doubleClick)
      f.File_DblClick();
    else
      f.TextFileName_KeyDown(kEnter, 0);
    EXPECT_EQ(w.Texts(), Lines{"Ripristino effettuato " + kHomeDir + "/Libri/a.REG"});
    EXPECT_EQ(w.List(), Lines{"00:42\t - Nuovo"});
  }
}

TEST(DebugFrame, ShowsWhatThePlayerHoldsAndPlaysIt) {
  FrmBrowserWorld w;
  w.Start();
  w.Press(keys::Letter('A'), 7);
  EXPECT_TRUE(w.form->fraDebug.Visible);
  w.form->fraDebug.TxtDebFilename.SetText("vecchio.mp3");
  w.form->cmdDebug_Click(0);
  EXPECT_EQ(w.form->fraDebug.TxtDebFilename.Text(), "");
  World r;
  r.Ctrl(keys::KeyCodes::KeyPlayPause);
  r.form->cmdDebug_Click(1);
  EXPECT_TRUE(r.Playing());
  EXPECT_EQ(r.form->fraDebug.TxtDebFilename.Text(), r.FromPage("cap01/uno.mp3"));
}

TEST(ReaderFolders, DataFolderFollowsXdgDataHomeOrHome) {
  const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
      {{{"HOME", "/home/anna"}, {"XDG_DATA_HOME", "/dati/"}}, "\\dati\\orvaplayer"},
      {{{"HOME", "/home/anna/"}, {"XDG_DATA_HOME", "relativa"}}, "\\home\\anna\\.local\\share\\orvaplayer"},
      {{}, ""},
  };
  for (const auto& [env, data] : cases) EXPECT_EQ(ReaderFoldersFrom(fakes::FakeEnvironment(env)).data, data);
}

}  // namespace
}  // namespace orva::testing
