#pragma once
// The commands of the key map, each run for one key press by the dispatcher
// (key_dispatcher.h). They act on the main window: its player facade, its
// browser, its state and its on-screen display. Each reports what it did
// on the display and remembers the text for the trace.
//
// Failures: a command throws; the dispatcher's trap reports it under
// "Form_KeyDown - " and the step label. The two seek commands trap their own
// failures and report them as "Form_KeyDown Indietro - " and
// "Form_KeyDown Avanti - " followed by the step label.

#include <cstdint>
#include <string>
#include <string_view>

#include "player/keys/key_map.h"
#include "player/keys/key_window.h"

namespace orva {

class HtmlElement;
class StepTrail;
class oMoxPlayer;

namespace keys {

// Whether the handler goes on with its later stages.
enum class Flow { kGoOn, kEnd };

class KeyCommands {
 public:
  KeyCommands(KeyWindow& form, StepTrail& trail) : form_(form), trail_(trail) {}

  Flow Run(Command command);

  // The last text this key press put on the display; empty when none.
  const std::string& Shown() const { return shown_; }

  // --- Playback, speed and volume (playback_commands.cpp).
  Flow SeekBack();
  Flow SeekForward();
  Flow Stop();
  Flow PlayPause();
  Flow Louder();
  Flow Softer();
  Flow Slower();
  Flow Faster();
  Flow SpeedPresets();
  Flow ConfigurationPanel();
  Flow AudioOnOff();
  Flow DebugFrame();

  // --- Pages, index anchors, style sheets, help (page_commands.cpp).
  Flow Help();
  Flow IndexPage();
  Flow NextStyleSheet();
  Flow IndexForward();
  Flow IndexBack();
  Flow PreviousPage();
  Flow NextPage();

  // --- Bookmarks (bookmark_commands.cpp).
  Flow CloseBookmarkList();
  Flow DeleteAllBookmarks();
  Flow AddBookmark();
  Flow BookmarkList();
  Flow NextBookmark();
  Flow PreviousBookmark();

 private:
  oMoxPlayer& Player();
  // The playback position as the time text of the messages.
  std::string PositionText();
  double SkipStep();
  // The length of the file just handed to the player, once it is known.
  double OpenedDuration();
  void Show(std::string text, bool keep = false);
  Flow ChangeSpeed(bool faster);
  Flow ChangeVolume(bool louder);
  // The href of index anchor n, or the empty text when it is missing.
  std::string AnchorHref(std::int32_t n);
  // The content of a META element of the page, or nothing when it is missing.
  const HtmlElement* PageElement(const std::string& name);
  Flow OpenNeighbourPage(const std::string& element, const char* message);
  // Around the bookmark prompt and list: pause, and give the reading back.
  void PauseForDialog();
  void FullResume();
  void PlayOnIfPaused();
  void NoBookmarks(std::string_view title);
  Flow StepBookmark(bool forward);

  KeyWindow& form_;
  StepTrail& trail_;
  std::string shown_;
};

}  // namespace keys
}  // namespace orva
