// Every navigation passes here before it happens. A book's command links
// (play, pause, stop, resume, key commands, videos) are cancelled and carried
// out; any other address loads, and the new page is handled once it has
// loaded. The first marker found decides; the reload marker and the video
// extensions are looked for in capitals, every other marker exactly as
// written, so "#zuvp_stop#" is an ordinary link.

#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "player/browser/book_format.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"
#include "player/panels/strtempo.h"

namespace orva {

namespace {

bool Contains(std::string_view s, std::string_view find) { return s.find(find) != std::string_view::npos; }

}  // namespace

void FrmBrowser::objWB_BeforeNavigate2(const std::string& URL, bool& Cancel) {
  Guarded(report_, "objWB_BeforeNavigate2", [&] {
    // The fragment a style-sheet change keeps lives for one navigation only.
    if (!state.KeepPending)
      state.PendingFragment.clear();
    else
      state.KeepPending = false;
    TextURL.SetText(URL);

    auto player = [this]() -> oMoxPlayer& {
      if (!oPlayer) RaiseVbError(vberr::kObjectNotSet);
      return *oPlayer;
    };
    auto positionText = [&] { return strtempo(CLng(player().CurrentPosition())); };
    auto playVideo = [&](const std::string& name) {
      player().SetFileName(book::RemoveHtmExtensions(name));
      player().Play_Player();
      Cancel = true;
    };

    switch (book::ClassifyCommandLink(URL)) {
      case book::CommandLink::kNone: break;
      case book::CommandLink::kReload:
        Playaudio(std::string(book::kReloadMarker), false, false);
        Cancel = true;
        break;
      case book::CommandLink::kStop:
        player().Stop_Player();
        Cancel = true;
        OSD("STOP " + positionText(), false);
        break;
      case book::CommandLink::kPause:
        player().Pause_Player();
        Cancel = true;
        OSD("PAUSA " + positionText() + " premere ctrl+3", true);
        break;
      case book::CommandLink::kPlay:
        player().Play_Player();
        Cancel = true;
        OSD("PLAY " + positionText(), false);
        break;
      case book::CommandLink::kKeyCommand: {
        // A key code that is not a number is reported here; no command runs
        // and the link is not cancelled.
        const book::KeyCommand key = book::ParseKeyCommand(URL);
        Form_KeyDown(key.keyCode, key.shift);
        Cancel = true;
        break;
      }
      case book::CommandLink::kPersonalVideo: {
        const std::string name = PulisciUrl(book::PersonalVideoName(URL));
        player().SetFullScreen(!book::WantsWindowedVideo(URL));
        playVideo(name);
        break;
      }
      case book::CommandLink::kVideo: {
        const bool dictionary = Contains(URL, book::kDictionaryVideoMarker);
        std::string name;
        if (dictionary) {
          // The field is read as it stands now: the reader may have typed in it.
          HtmlDocument* document = objwb.Document();
          if (!document) RaiseVbError(vberr::kObjectNotSet);
          const HtmlElement* field = document->All(book::kVideoNameField);
          if (!field) RaiseVbError(vberr::kObjectNotSet);
          name = field->value();
          player().SetFullScreen(false);
        } else {
          name = URL;
          player().SetFullScreen(!book::WantsWindowedVideo(URL));
        }
        name = book::RemoveNoFull(name);
        if (!dictionary) name = PulisciUrl(name);
        playVideo(name);
        break;
      }
    }
  });
}

}  // namespace orva
