// The page audio: Playaudio finds the page's audio element, resolves its
// file and hands it to the player; at the end of a file it goes on to the
// page's next audio, and past the last one to the next page. And the two
// events of the player that the window handles.
//
// Playaudio is one of the procedures that, after reporting a failed
// statement, go on with the next one: a file the player refuses still leads
// to the later steps, and the result is true whenever the file exists. The
// order of the statements is what the rest of the player relies on:
//  - the player is always stopped first, so a page without audio is silent;
//  - a bare file name is joined to the page's folder only when the page's
//    address is given (a page load); the following audios of a page (url
//    empty) are looked for in the current folder, the program folder and
//    "Libro" only, and so is the extension completion of such a name.

#include "common/automation/trace.h"
#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "player/browser/addresses.h"
#include "player/browser/book_format.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

inline constexpr std::string_view kReloadUrl = "LOCATION.RELOAD";

// A missing element reads as an empty content.
std::string ContentOf(const HtmlElement* element) { return element ? element->content() : std::string(); }

}  // namespace

bool FrmBrowser::Playaudio(const std::string& url, bool isNext, bool isPrev) {
  bool result = false;
  Playaudio(url, isNext, isPrev, result);
  return result;
}

void FrmBrowser::Playaudio(const std::string& url, bool isNext, bool isPrev, bool& result) {
  result = false;
  if (state.PlaySuppressed) return;

  // The start-up resumes in the audio the reader left. A later audio of the
  // page is bound the way reading reaches it, from the audio before it, so
  // its file is found where reading finds it; the stored position follows.
  if (!isNext && !isPrev && url != kReloadUrl && state.RestorePosition) {
    if (const std::int32_t audio = AudioToResume(); audio > 0) {
      state.AudioIndex = audio - 1;
      Playaudio("", true, false, result);
      return;
    }
  }

  StepTrail trail("Playaudio - ");
  ResumeNext run(report_, trail);
  // Each statement runs under `run`; this guard only catches what falls
  // between them, so nothing leaves the procedure.
  Guarded(report_, trail, [&] {
    auto player = [this]() -> oMoxPlayer& {
      if (!oPlayer) RaiseVbError(vberr::kObjectNotSet);
      return *oPlayer;
    };
    auto element = [this](const std::string& name) -> const HtmlElement* {
      HtmlDocument* document = objwb.Document();
      if (!document) RaiseVbError(vberr::kObjectNotSet);
      return document->All(name);
    };
    auto exists = [this](const std::string& path) { return fileSystem_.FileExists(path); };

    const HtmlElement* audioMeta = nullptr;
    std::string reference;
    std::string positionText;
    std::string fullPath;
    bool video = false;

    trail.Step("Inizio Ricerca URL");

    trail.Step("Stop Audio 1");
    run([&] { player().Stop_Player(); });

    if (!isNext && !isPrev) {
      run([&] { audioMeta = element(std::string(book::kAudioElement)); });
      // The resume link starts the held file again: the page stays on the
      // audio it was reading, so the audio after it still comes next.
      if (url != kReloadUrl) state.AudioIndex = 0;
    } else {
      trail.Step("Next o Prev Audio");
      if (isNext)
        ++state.AudioIndex;
      else if (state.AudioIndex >= 1)
        --state.AudioIndex;

      trail.Step("Get ZUVPLAYER_AUDIO");
      run([&] { audioMeta = element(book::AudioElement(state.AudioIndex)); });
      // Past the page's last audio: the next page, if the page names one.
      std::string nextPage;
      IgnoringErrors([&] { nextPage = ContentOf(audioMeta); });
      if (nextPage.empty()) {
        IgnoringErrors([&] { audioMeta = element(book::NextHtmlElement(state.AudioIndex)); });
        IgnoringErrors([&] { nextPage = ContentOf(audioMeta); });
        if (!nextPage.empty()) {
          IgnoringErrors([&] {
            const std::string address =
                PageFolderAddress(objwb.LocationURL(), objwb.LocationName()) + nextPage;
            TraceEvent("next_page", {{"index", state.AudioIndex}, {"address", address}});
            objwb.Navigate2(address);
          });
          return;  // the new page binds its own audio when it has loaded
        }
      }
    }

    trail.Step("2");
    if (url == kReloadUrl) {
      IgnoringErrors([&] { player().Play_Player(); });
    } else {
      trail.Step("ZUVPLAYER_AUDIO_POS");
      IgnoringErrors([&] { reference = ContentOf(audioMeta); });
      const std::string positionElement = (isNext || isPrev) && state.AudioIndex > 0
                                              ? book::PositionElement(state.AudioIndex)
                                              : std::string(book::kPositionElement);
      if (InStr(url, book::kPositionElement) > 0 || !state.PendingFragment.empty()) {
        const std::string address = state.PendingFragment.empty() ? url : state.PendingFragment;
        // The fragment kept across a style-sheet reload is for the audio
        // start of that reload only: the page's later audios take their own
        // positions.
        state.PendingFragment.clear();
        IgnoringErrors([&] { positionText = book::PositionTextFromAddress(address); });
      } else {
        IgnoringErrors([&] { positionText = ContentOf(element(positionElement)); });
      }

      trail.Step("Definizione file Audio");
      if (!reference.empty()) {
        auto trapped = [&](const std::string& path) {
          bool found = false;
          run([&] { found = exists(path); });
          return found;
        };
        const book::ResolvedAudio resolved = book::ResolveAudioReference(
            reference, url, programFolder_, trapped, [&](const std::string& step) { trail.Step(step); });
        reference = resolved.reference;
        fullPath = resolved.path;
        video = resolved.video;

        trail.Step("Controllo esistenza file2");
        bool found = false;
        run([&] { found = exists(fullPath); });
        if (found) {
          auto traceAudio = [&] {
            TraceEvent("audio", {{"file", fullPath},
                                 {"index", state.AudioIndex},
                                 {"position", positionText},
                                 {"video", video}});
          };
          if (video) {
            run([&] { player().SetAutoStart(false); });
            run([&] { player().SetRate(1.0f); });
            run([&] { player().SetFileName(fullPath); });
            traceAudio();
          } else {
            run([&] { player().SetAutoStart(true); });
            run([&] { player().SetRate(PlayerRate()); });
            run([&] { player().SetFileName(fullPath); });
            traceAudio();
            if (!positionText.empty()) {
              run([&] { loop_.DoEvents(); });
              run([&] { player().SetCurrentPosition(book::ParsePosition(positionText)); });
            }
          }
          trail.Step("do events");
          run([&] { loop_.DoEvents(); });
          run([&] { player().SetRate(PlayerRate()); });
          result = true;
        } else {
          TraceEvent("audio_missing", {{"reference", reference}, {"index", state.AudioIndex}});
        }
      }
    }

    if (state.RestorePosition) {
      run([&] { player().SetCurrentPosition(CDbl(GetSetting(kPlayerSection, "BranoPos"))); });
      state.RestorePosition = false;
    }
  });
}

std::int32_t FrmBrowser::AudioToResume() {
  std::int32_t audio = 0;
  IgnoringErrors([&] {
    const std::int32_t stored = CLng(GetSetting(kPlayerSection, kResumeAudioKey, "0"));
    HtmlDocument* document = objwb.Document();
    if (stored > 0 && document != nullptr && !ContentOf(document->All(book::AudioElement(stored))).empty())
      audio = stored;
  });
  return audio;
}

void FrmBrowser::oPlayer_PlayStateChange(std::int32_t NewMode) {
  if (unloaded_) return;  // an event the player queued before it was released
  Guarded(report_, "oPlayer_PlayStateChange", [&] {
    if (NewMode != 8) return;
    TraceEvent("audio_end", {{"index", state.AudioIndex}});
    Playaudio("", true, false);
  });
}

void FrmBrowser::oPlayer_PlayFileChange(const std::string& NewFile) {
  if (unloaded_) return;
  Guarded(report_, "oPlayer_PlayFileChange", [&] { TxtDebFilename.SetText(NewFile); });
}

}  // namespace orva
