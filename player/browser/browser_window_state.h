#pragma once
// The main window's own state, which its parts share: page audio binding,
// navigation and page completion as members of FrmBrowser, the command keys
// through their view of the window (player/keys/key_window.h).
// Booleans are kept as bool; where one is written to the store or shown as a
// number, its code converts it with the old runtime's rules (True = -1).

#include <cstdint>
#include <string>

#include "player/bookmarks/bookmark_store.h"
#include "player/browser/book_format.h"

namespace orva {

// The settings application of the main program, kSettingsApp, is the
// bookmark store's: every read and write of its settings goes through it.
inline constexpr std::string_view kPlayerSection = "Player";
// Beside "Brano" and "BranoPos": the number of the page's audio the position
// belongs to. A store without it (older versions) means audio 0.
inline constexpr std::string_view kResumeAudioKey = "BranoAudio";

struct VolumeScale {
  std::int16_t max = 0;
  std::int16_t min = 0;
  std::int16_t step = 0;
};
// Version-9 engine: 0 to 100 in steps of 10. Older engine: hundredths of a
// decibel, -4000 to 0 in steps of 100.
inline constexpr VolumeScale kVolumeScale9{100, 0, 10};
inline constexpr VolumeScale kVolumeScale6{0, -4000, 100};

struct BrowserWindowState {
  // While true, page audio does not start (set around a bookmark recall).
  bool PlaySuppressed = false;
  // The user messages, from their defaults or the last index page loaded.
  book::MessageTexts Messages;
  bool AudioOffState = false;
  // Number of the page audio now bound: 0 = ZUVPLAYER_AUDIO, n = _n.
  std::int32_t AudioIndex = 0;
  // Playback was running when the bookmark list or the name prompt opened,
  // and the speed it ran at: given back when they close.
  bool WasPlaying = false;
  float SavedRate = 1.0f;
  // Bookmark number to recall once the next page has loaded; 0 = none.
  std::int16_t PendingRecall = 0;
  // Full path of the book's index page.
  std::string IndexPath;
  // Apply the saved position on the next page audio start.
  bool RestorePosition = false;
  // The HTML of the splash page.
  std::string SplashPage;
  // The page address from its first "#", kept across a style-sheet reload
  // for the audio start of that reload.
  std::string PendingFragment;
  // PendingFragment survives the next navigation.
  bool KeepPending = false;
  std::int16_t VolumeMax = 0;
  std::int16_t VolumeMin = 0;
  std::int16_t VolumeStep = 0;
  std::int16_t VolumeLevel = 0;
  std::string SettingsApp;
  // n of the book style sheet INCLUDE/Style<n>.CSS.
  std::int16_t StyleNumber = 0;
  // Number of the OrvaIndex_n anchor last reached by the index keys.
  std::int16_t IndexCounter = 0;
  // The page on view without its fragment.
  std::string PageName;

  void SetVolumeScale(const VolumeScale& scale) {
    VolumeMax = scale.max;
    VolumeMin = scale.min;
    VolumeStep = scale.step;
    VolumeLevel = 0;
  }
};

}  // namespace orva
