#pragma once
// The one main window of OrvaPlayer: the web browser with the book's pages,
// the player facade, the playback fields of the configuration panel, the
// on-screen display and the splash timer. Its event handlers are methods
// named after the control and the event, as the rest of the player calls
// them. Every handler traps its failures and reports them through the error
// report; none lets a failure through.
//
// The parts of the window live in files of their own:
//   frmBrowser.cpp                    start-up and shut-down
//   frmBrowser_splash.cpp             the splash page
//   frmBrowser_addresses.cpp          Section and PulisciUrl
//   frmBrowser_browser_events.cpp     the browser's events as they arrive
//   frmBrowser_playaudio.cpp          the page audio and the player's events
//   frmBrowser_page_completion.cpp    what a loaded page gets
//   frmBrowser_navigation.cpp         command links
//   frmBrowser_keys.cpp               the command key map
//   frmBrowser_bookmarks.cpp          adding, finding, the bookmark list keys
//   frmBrowser_recall.cpp             bookmark recall
//   frmBrowser_playback_settings.cpp  the playback fields and engine switch
//   frmBrowser_osd.cpp                the on-screen display
//   frmBrowser_impexp.cpp             the bookmark panel's buttons: export,
//                                     import, the chooser, closing
//   frmBrowser_debug.cpp              the debug frame's handlers

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/controls/controls.h"
#include "common/controls/timer_control.h"
#include "common/platform/dialogs.h"
#include "common/platform/environment.h"
#include "common/platform/event_loop.h"
#include "common/platform/file_system.h"
#include "common/platform/speech.h"
#include "common/platform/volumes.h"
#include "common/settings/settings.h"
#include "player/bookmarks/bookmark_lists.h"
#include "player/browser/browser_window_state.h"
#include "player/browser/web_browser.h"
#include "player/keys/key_window.h"
#include "player/panels/fraDebug.h"
#include "player/panels/frmImpExp.h"
#include "player/panels/frmconfigurazione.h"
#include "player/panels/mdlMain.h"
#include "player/playback/oMoxPlayer.h"
#include "player/registry/Registro.h"

namespace orva {

namespace testing {
struct FrmBrowserInside;
}

// The title of the program's own questions.
inline constexpr std::string_view kAppTitle = "OrvaPlayer";
// The title of the exit question.
inline constexpr std::string_view kExitTitle = "ORVA Player";
// The bookmark panel.
inline constexpr std::string_view kMarcatoriName = "fraMarcatori";
inline constexpr std::string_view kMarcatoriCaption = "Elenco Marcatori";
// The caption of the window before the first page has a title.
inline constexpr std::string_view kMainCaption = "OrvaPlayer";

// How the window was asked to close (the old QueryUnload modes).
enum class UnloadMode : std::int16_t {
  kFormControlMenu = 0,
  kFormCode = 1,
  kAppWindows = 2,
  kAppTaskManager = 3
};

// Who publishes the book: the splash page shows it. Supplied by the
// deployment.
struct SplashPublisher {
  std::string name = "ORVA";
  std::string postalAddress;
  std::string website;
  std::string mail;
  std::string initials;
  std::string thanks = "Navigazione delle pagine realizzata con un motore web libero.";
};

// The reader's own folders, as the core writes paths ("\" separators).
struct ReaderFolders {
  // $HOME; empty when it is not set.
  std::string home;
  // Where the program keeps the reader's files that are not settings (the
  // backup taken before every bookmark import, the debug export):
  // $XDG_DATA_HOME/orvaplayer, or ~/.local/share/orvaplayer when that is
  // unset or not absolute; empty when neither variable gives a folder.
  std::string data;
};
ReaderFolders ReaderFoldersFrom(const Environment& env);

struct FrmBrowserServices {
  EventLoop& loop;
  Dialogs& dialogs;
  // Takes the core's paths ("\" separators); see common/platform/host_paths.h.
  FileSystem& fileSystem;
  Settings& settings;
  MdlMain& report;
  WebBrowser& objwb;
  // The program folder as the core writes paths, without a final "\"
  // (except at a root).
  std::string programFolder;
  // The mounted volumes a bookmark's audio is looked for on when neither its
  // page's folder nor "Libro" holds it; null when there are none to search.
  const Volumes* volumes = nullptr;
  // The reader's home folder, first in the chooser's drive list, and the
  // data folder (ReaderFoldersFrom), both as the core writes paths.
  std::string homeFolder = {};
  std::string dataFolder = {};
  // Creates a folder with the folders above it (a core path), raising when
  // it cannot; the data folder is made with it when missing. Null: nothing
  // is created, and a file for a missing folder cannot be written.
  std::function<void(const std::string& folder)> makeFolders = {};
  // Reads the hive files a bookmark import may restore; null: they cannot
  // be imported (the import says so).
  HiveReader* hives = nullptr;
  // Makes a new player facade; may throw when no engine can be had.
  std::function<std::unique_ptr<oMoxPlayer>()> newPlayer;
  SplashPublisher publisher;
  // The program's own voice (null: there is none) and whether a screen
  // reader is running (null: none is ever seen); see ProgramVoice.
  Speech* speech = nullptr;
  const ScreenReaderStatus* screenReader = nullptr;
};

class FrmBrowser : private WebBrowserEvents, private keys::KeyWindow {
 public:
  explicit FrmBrowser(FrmBrowserServices services);
  ~FrmBrowser() override;
  FrmBrowser(const FrmBrowser&) = delete;
  FrmBrowser& operator=(const FrmBrowser&) = delete;

  // --- Start-up and shut-down.
  // Creating the window: Form_Load, then the blank document, the wait for
  // it, and the splash page written into it.
  void Form_Initialize();
  void Form_Load();
  void TimerSpalsh_Timer();
  // Cancel true keeps the window open.
  void Form_QueryUnload(std::int16_t& Cancel, UnloadMode mode);
  // Closes the window as the old Unload did: asks Form_QueryUnload and,
  // unless it cancels, ends the window. True when the window is gone.
  bool Unload(UnloadMode mode = UnloadMode::kFormCode);
  bool Unloaded() const { return unloaded_; }
  void ShowSplash();

  // --- Addresses.
  // The section key of the page on view (its bookmarks' registry section).
  std::string Section();
  // A video link's address as a file path.
  std::string PulisciUrl(const std::string& url);

  // --- The browser's events.
  void objWB_BeforeNavigate2(const std::string& URL, bool& Cancel);
  void objWB_DocumentComplete(const std::string& URL);
  void objWB_TitleChange(const std::string& Text);
  void objWB_WindowClosing(bool IsChildWindow, bool& Cancel);

  // --- The player's events.
  void oPlayer_PlayStateChange(std::int32_t NewMode);
  void oPlayer_PlayFileChange(const std::string& NewFile);

  // --- Page audio.
  // Binds the page on view to its audio: url is the loaded page's address,
  // "LOCATION.RELOAD" (start the held file again) or empty (with isNext or
  // isPrev: the page's next or previous audio). result is true when a file
  // was handed to the player.
  void Playaudio(const std::string& url, bool isNext, bool isPrev, bool& result);
  bool Playaudio(const std::string& url, bool isNext, bool isPrev) override;

  // --- Keys: every key press of the window, and the key commands of links.
  void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);

  // --- Bookmarks: the lists of the page on view and their store.
  BookmarkLists& Bookmarks() override { return bookmarks_; }
  void Marcatori(std::int32_t Mode, std::string_view Name, std::string& section, std::int16_t Number) {
    bookmarks_.Marcatori(Mode, Name, section, Number);
  }
  void ClearMarcatori() { bookmarks_.ClearMarcatori(); }
  // Recalls bookmark Number of the page on view (0: the one selected in the
  // list); page completion calls it for a recall waiting for its page.
  void MarcatoriRichiama(std::int16_t& Number) override;
  // Adds a bookmark of the page on view at Position (whole seconds) under
  // Name, asking for another name when Name is taken.
  void AddMarcatore(std::string& Name, std::int16_t& Position) override;
  // The stored number (1 to 100) of the bookmark named in Name (a list line
  // is reduced to its name) in Section (empty: the page on view), or 0.
  std::int16_t MarcatoreCerca(std::string& Name, std::string& Section);
  // The list's handlers: a selection, a double click (recall), a key.
  void ListMarkers_Click();
  void ListMarkers_DblClick();
  void ListMarkers_KeyDown(std::int16_t KeyCode, std::int16_t Shift);

  // --- The bookmark panel's buttons cmdImpExp(0 to 4): open the chooser
  // for export (0) or import (1), carry it out (2), close the chooser (3),
  // close the panel and resume reading (4). Other indices do nothing.
  void cmdImpExp_Click(std::int16_t Index);
  // The debug frame's test export of the player's settings to
  // "provatxt.reg" in the data folder, without a message.
  void Command1_Click();
  // The backup every import writes first, in the data folder (empty when
  // there is no data folder).
  std::string BackupFile() const;

  // --- The debug frame's handlers (see player/panels/fraDebug.h).
  // Index 1 plays; both put the player's file name into TxtDebFilename.
  void cmdDebug_Click(std::int16_t Index);
  void cmdFileAudio_Click();
  void cmdGO_Click();
  // The dragged frame goes where the drag is; a drop does nothing.
  // `Source` names the dragged control.
  void fraDebug_DragOver(std::string_view Source, float X, float Y, std::int16_t State);
  void fraDebug_DragDrop(std::string_view /*Source*/, float /*X*/, float /*Y*/) {}

  // --- Playback fields and engine switch.
  void chkAudioOff_Click();
  void SetAudioOff(bool value) override;
  void chkSavePos_Click();
  void optPlayer_Click(std::int16_t Index);
  void SetPlayer(std::int16_t Index);
  void TextAvantiIndietro_Change();
  void TextRate_Change();
  void TextVolume_Change();
  float PlayerRate() override;
  void SetPlayerRate(float value) override;
  // The reading-speed step: 0.5 to 2 in steps of 0.1, wrapping at both ends.
  double RateChange(double rate, bool faster) override;

  // --- On-screen display.
  void OSD(const std::string& text, bool keep) override;
  void TimerOSD_Timer();
  void TimerDisableState_Timer();

  // The message on the display, and whether the display is on screen.
  const std::string& OsdText() const { return lblOSD; }
  bool OsdVisible() const { return frmOSDVisible; }

  // --- Window.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::string& ProgramFolder() const override { return programFolder_; }

  // The view of the real window follows these; each may be empty.
  std::function<void(const std::string& caption)> CaptionChanged;
  std::function<void(bool visible, const std::string& text)> OsdChanged;
  std::function<void()> Closed;

  // --- The controls the Qt views bind to. The configuration panel shows
  // these fields and its Visible; changes reach the handlers through them.
  CheckBox chkAudioOff{"Lettore spento"};
  CheckBox chkSavePos{"Riparti dal punto di uscita"};
  OptionGroup optPlayer{{{1, "Versione 9"}, {0, "Altre"}}};
  TextBox TextAvantiIndietro;
  TextBox TextRate;
  TextBox TextVolume;
  // Shown and hidden by Ctrl+8: read and assigned like a bool, and followed
  // by the panel on screen.
  FrameVisible frmconfigurazioneVisible{Frmconfigurazione::kName, Frmconfigurazione::kCaption};
  // The bookmark panel, shown in the browser's place by Alt+6; its list is
  // Bookmarks().ListMarkers. The browser is on screen while it is hidden.
  FrameVisible fraMarcatoriVisible{kMarcatoriName, kMarcatoriCaption};
  // The bookmark panel's file chooser; its OK runs cmdImpExp_Click(2).
  FrmImpExp frmImpExp;
  // The debug frame, shown and hidden by Shift+Ctrl+Alt.
  FraDebug fraDebug;
  // The configuration panel's "Voce del programma" box and the voice it
  // switches on for the display's messages and the error reports.
  ProgramVoice voice;

  // Settings of the main program ("ZUV MediaPlayer").
  std::string GetSetting(std::string_view section, std::string_view key, std::string_view defaultValue = {});
  void SaveSetting(std::string_view section, std::string_view key, std::string_view value) override;

  EventLoop& loop() override { return loop_; }
  Dialogs& dialogs() override { return dialogs_; }
  FileSystem& fileSystem() override { return fileSystem_; }
  Settings& settings() { return settings_; }
  MdlMain& report() override { return report_; }

  // The longest the start-up waits for the blank document.
  static constexpr int kBlankDocumentWaitMs = 30'000;

 private:
  friend struct testing::FrmBrowserInside;

  // KeyWindow: what the key commands reach of the window.
  oMoxPlayer* KeyPlayer() override { return oPlayer.get(); }
  WebBrowser& Pages() override { return objwb; }
  BrowserWindowState& SharedState() override { return state; }
  keys::KeyFields Fields() override {
    return {TextAvantiIndietro,       TextVolume,          TextRate,
            frmconfigurazioneVisible, fraMarcatoriVisible, fraDebug.Visible};
  }
  bool PageBookmarksFull() override;

  // WebBrowserEvents: trace what arrives and hand it to the handlers.
  void OnBeforeNavigate2(const std::string& url, bool& cancel) override;
  void OnDocumentComplete(const std::string& url) override;
  void OnTitleChange(const std::string& text) override;
  void OnWindowClosing(bool isChildWindow, bool& cancel) override;

  // Releases the facade and makes a new one with the window's handlers.
  void NewPlayer();
  // cmdImpExp_Click(2): the export or the import the chooser is open for.
  // False leaves the chooser open.
  bool CarryOutImpExp();
  void ExportBookmarks(const std::string& folder, const std::string& typed);
  void ImportBookmarks(const std::string& path);
  // Makes the data folder when it is missing; false when there is none.
  bool DataFolderReady();
  // Makes and sets up the player for one engine choice (Form_Load);
  // throws on failure.
  void SetUpPlayer(std::string& choice, class StepTrail& trail);
  // A setting of section "Player" that the start-up converts with
  // `convert`: a stored value that does not convert gives way to the
  // default (or to `repaired`, where the stored form differs), which is
  // stored in its place.
  std::string SoundSetting(std::string_view key, std::string_view defaultValue,
                           void (*convert)(const std::string&), std::string_view repaired = {});
  // The audio of the page the start-up resumes in: the number stored beside
  // the position when the page has that audio, else 0.
  std::int32_t AudioToResume();

  // The state the window's parts share: page audio, navigation, page
  // completion, the key commands and the bookmark commands.
  BrowserWindowState state;
  WebBrowser& objwb;
  std::unique_ptr<oMoxPlayer> oPlayer;

  // The debug frame's fields the other parts of the window write: the
  // address of the last navigation and the file last given to the player.
  TextBox& TextURL = fraDebug.TextURL;
  TextBox& TxtDebFilename = fraDebug.TxtDebFilename;

  // On-screen display: the frame and its label.
  bool frmOSDVisible = false;
  std::string lblOSD;

  TimerControl TimerSpalsh;
  TimerControl TimerOSD;
  TimerControl TimerDisableState;

  EventLoop& loop_;
  Dialogs& dialogs_;
  FileSystem& fileSystem_;
  const Volumes* volumes_;
  Settings& settings_;
  MdlMain& report_;
  std::string programFolder_;
  std::string dataFolder_;
  std::function<void(const std::string&)> makeFolders_;
  std::function<std::unique_ptr<oMoxPlayer>()> newPlayer_;
  SplashPublisher publisher_;
  std::string caption_{kMainCaption};
  bool unloaded_ = false;
  // A failed load sent the reader back to the index page, which has not
  // loaded since.
  bool returningToIndex_ = false;
  BookmarkStore bookmarkStore_{settings_};
  BookmarkLists bookmarks_{bookmarkStore_, report_, [this] { return Section(); }};
  Registro registro_;
};

}  // namespace orva
