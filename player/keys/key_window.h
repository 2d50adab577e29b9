#pragma once
// The main window as its key commands see it: the player, the page on view
// and the way to open another, the on-screen display, the playback settings
// and their fields, the bookmark lists, and the window state the commands
// share with page loading and page audio. FrmBrowser implements it; nothing
// else of the window is reachable from a key.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/controls/controls.h"
#include "common/platform/dialogs.h"
#include "common/platform/event_loop.h"
#include "common/platform/file_system.h"
#include "player/bookmarks/bookmark_lists.h"
#include "player/browser/browser_window_state.h"
#include "player/browser/web_browser.h"
#include "player/panels/frmconfigurazione.h"
#include "player/panels/mdlMain.h"
#include "player/playback/oMoxPlayer.h"

namespace orva::keys {

// The fields of the configuration and debug panels that keys read or set.
struct KeyFields {
  TextBox& skipStep;  // TextAvantiIndietro
  TextBox& volume;    // TextVolume
  TextBox& rate;      // TextRate
  FrameVisible& configurationPanel;
  FrameVisible& bookmarkPanel;  // fraMarcatori; the browser is on screen while it is hidden
  FrameVisible& debugFrame;     // fraDebug
};

class KeyWindow {
 public:
  // The player facade; null while the window has none.
  virtual oMoxPlayer* KeyPlayer() = 0;
  // The browser: the page on view, its elements, and Navigate2 to open another.
  virtual WebBrowser& Pages() = 0;
  virtual BrowserWindowState& SharedState() = 0;
  virtual KeyFields Fields() = 0;
  virtual BookmarkLists& Bookmarks() = 0;
  // See FrmBrowser::AddMarcatore and FrmBrowser::MarcatoriRichiama.
  virtual void AddMarcatore(std::string& name, std::int16_t& position) = 0;
  virtual void MarcatoriRichiama(std::int16_t& number) = 0;
  // True when the page on view has no room for another bookmark.
  virtual bool PageBookmarksFull() = 0;
  virtual void OSD(const std::string& text, bool keep) = 0;
  // Binds the page's audio again (see FrmBrowser::Playaudio).
  virtual bool Playaudio(const std::string& url, bool isNext, bool isPrev) = 0;
  virtual void SaveSetting(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual float PlayerRate() = 0;
  virtual void SetPlayerRate(float value) = 0;
  virtual double RateChange(double rate, bool faster) = 0;
  virtual void SetAudioOff(bool value) = 0;
  virtual const std::string& ProgramFolder() const = 0;
  virtual EventLoop& loop() = 0;
  virtual Dialogs& dialogs() = 0;
  virtual FileSystem& fileSystem() = 0;
  virtual MdlMain& report() = 0;

 protected:
  ~KeyWindow() = default;
};

// Gives the reading back after a pause for a dialog or the bookmark panel,
// when WasPlaying: the file the player holds is handed to it again at the
// position it had, so an engine that lost its place while a modal dialog
// held the event loop starts cleanly, and the speed saved in SavedRate comes
// back. Raises when there is no player to resume.
void FullResume(KeyWindow& form);

}  // namespace orva::keys
