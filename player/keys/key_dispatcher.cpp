#include "player/keys/key_dispatcher.h"

#include <chrono>
#include <cmath>

#include "common/automation/trace.h"
#include "common/runtime/conversions.h"
#include "player/keys/key_commands.h"
#include "player/keys/key_map.h"
#include "player/panels/handler_guard.h"

namespace orva::keys {

namespace {

// The player's state as the trace shows it after a key; nothing when the
// window has no player.
void TraceKey(KeyWindow& form, std::int16_t keyCode, std::int16_t shift, Command command,
              const std::string& shown, std::chrono::steady_clock::duration spent) {
  // Reading the player's state costs engine calls, each of which may fail
  // and report: only a traced run pays for it.
  if (!TraceEnabled()) return;
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(spent).count();
  if (form.KeyPlayer() == nullptr) {
    TraceEvent("key", {{"code", static_cast<int>(keyCode)},
                       {"shift", static_cast<int>(shift)},
                       {"command", CommandName(command)},
                       {"osd", shown},
                       {"us", static_cast<long long>(us)}});
    return;
  }
  oMoxPlayer& player = *form.KeyPlayer();
  // The speed as the reader would write it (1.1, not the single-precision
  // 1.10000002), the position in whole milliseconds.
  const std::string rate = FormatSingle(player.Rate(), NumberFormat{'.', ','});
  const double position = std::round(player.CurrentPosition() * 1000.0);
  TraceEvent("key", {{"code", static_cast<int>(keyCode)},
                     {"shift", static_cast<int>(shift)},
                     {"command", CommandName(command)},
                     {"osd", shown},
                     {"us", static_cast<long long>(us)},
                     {"file", player.FileName()},
                     {"playing", player.IsPlaying()},
                     {"position_ms", static_cast<long long>(position)},
                     {"rate", rate},
                     {"volume", static_cast<int>(player.Volume())},
                     {"audio_off", form.SharedState().AudioOffState}});
}

}  // namespace

bool KeyDispatcher::FileLoaded() {
  // A window without a player holds no file.
  return form_.KeyPlayer() != nullptr && !form_.KeyPlayer()->FileName().empty();
}

void KeyDispatcher::Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift) {
  const auto start = std::chrono::steady_clock::now();
  StepTrail trail("Form_KeyDown - ");
  trail.Step("Form KeyDown: inizializzazione");
  KeyCommands commands(form_, trail);
  Command chosen = Command::kNone;
  Guarded(form_.report(), trail, [&] {
    for (Stage stage : kStages) {
      const KeyRow* row = FindRow(stage, KeyCode, Shift);
      if (row == nullptr) continue;
      if (stage == Stage::kFileLoaded && !FileLoaded()) continue;
      chosen = row->command;
      if (commands.Run(row->command) == Flow::kEnd) break;
    }
  });
  if (TraceEnabled()) {
    const auto spent = std::chrono::steady_clock::now() - start;
    IgnoringErrors([&] { TraceKey(form_, KeyCode, Shift, chosen, commands.Shown(), spent); });
  }
}

Flow KeyCommands::Run(Command command) {
  switch (command) {
    case Command::kNone: return Flow::kGoOn;
    case Command::kHelp: return Help();
    case Command::kIndexPage: return IndexPage();
    case Command::kNextStyleSheet: return NextStyleSheet();
    case Command::kIndexForward: return IndexForward();
    case Command::kIndexBack: return IndexBack();
    case Command::kPreviousPage: return PreviousPage();
    case Command::kNextPage: return NextPage();
    case Command::kSlower: return Slower();
    case Command::kFaster: return Faster();
    case Command::kSpeedPresets: return SpeedPresets();
    case Command::kConfigurationPanel: return ConfigurationPanel();
    case Command::kAudioOnOff: return AudioOnOff();
    case Command::kDebugFrame: return DebugFrame();
    case Command::kSeekBack: return SeekBack();
    case Command::kSeekForward: return SeekForward();
    case Command::kStop: return Stop();
    case Command::kPlayPause: return PlayPause();
    case Command::kLouder: return Louder();
    case Command::kSofter: return Softer();
    case Command::kCloseBookmarkList: return CloseBookmarkList();
    case Command::kDeleteAllBookmarks: return DeleteAllBookmarks();
    case Command::kAddBookmark: return AddBookmark();
    case Command::kBookmarkList: return BookmarkList();
    case Command::kNextBookmark: return NextBookmark();
    case Command::kPreviousBookmark: return PreviousBookmark();
  }
  return Flow::kGoOn;
}

}  // namespace orva::keys
