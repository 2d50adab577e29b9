// The main window coming up (Form_Initialize, Form_Load, the splash timer)
// and going down (Form_QueryUnload).

#include "player/browser/frmBrowser.h"

#include "common/automation/trace.h"
#include "common/automation/trace_events.h"
#include "common/runtime/conversions.h"
#include "player/browser/addresses.h"
#include "player/browser/book_format.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

constexpr std::string_view kVersionQuestion =
    "Versione 9 trovata! Per un corretto funzionamento è consigliato passare alla versione 9 (CTRL+7). Vuoi "
    "passare alla versione 9?";

// How the start-up reads each stored value it converts.
void AsWholeNumber(const std::string& text) { (void)CInt(text); }
void AsNumber(const std::string& text) { (void)CDbl(text); }
void AsSpeed(const std::string& text) { (void)CSng(text); }
void AsBoolean(const std::string& text) { (void)CBool(text); }

}  // namespace

FrmBrowser::FrmBrowser(FrmBrowserServices services)
    : frmImpExp(services.fileSystem, services.volumes, std::move(services.homeFolder), services.report),
      voice(services.report, services.speech, services.screenReader,
            [this](std::string_view value) { SaveSetting(kPlayerSection, ProgramVoice::kKey, value); }),
      objwb(services.objwb),
      TimerSpalsh(services.loop),
      TimerOSD(services.loop, 1500, false),
      TimerDisableState(services.loop, 1000, false),
      loop_(services.loop),
      dialogs_(services.dialogs),
      fileSystem_(services.fileSystem),
      volumes_(services.volumes),
      settings_(services.settings),
      report_(services.report),
      programFolder_(std::move(services.programFolder)),
      dataFolder_(std::move(services.dataFolder)),
      makeFolders_(std::move(services.makeFolders)),
      newPlayer_(std::move(services.newPlayer)),
      publisher_(std::move(services.publisher)),
      registro_(services.settings.registry(), services.fileSystem, services.hives) {
  objwb.SetEvents(this);
  chkAudioOff.Click = [this] { chkAudioOff_Click(); };
  chkSavePos.Click = [this] { chkSavePos_Click(); };
  optPlayer.Click = [this](int index) { optPlayer_Click(static_cast<std::int16_t>(index)); };
  TextAvantiIndietro.Change = [this] { TextAvantiIndietro_Change(); };
  TextRate.Change = [this] { TextRate_Change(); };
  TextVolume.Change = [this] { TextVolume_Change(); };
  bookmarks_.ListMarkers.Click = [this] { ListMarkers_Click(); };
  frmImpExp.Confirm = [this] { cmdImpExp_Click(2); };
  TimerSpalsh.Timer = [this] { TimerSpalsh_Timer(); };
  TimerOSD.Timer = [this] { TimerOSD_Timer(); };
  TimerDisableState.Timer = [this] { TimerDisableState_Timer(); };
}

FrmBrowser::~FrmBrowser() {
  if (objwb.Events() == this) objwb.SetEvents(nullptr);
}

std::string FrmBrowser::GetSetting(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) {
  return settings_.GetSetting(state.SettingsApp, section, key, defaultValue);
}

void FrmBrowser::SaveSetting(std::string_view section, std::string_view key, std::string_view value) {
  settings_.SaveSetting(state.SettingsApp, section, key, value);
}

void FrmBrowser::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  TraceEvent("caption", {{"window", "frmBrowser"}, {"text", caption_}});
  if (CaptionChanged) CaptionChanged(caption_);
}

void FrmBrowser::NewPlayer() {
  oPlayer.reset();
  oPlayer = newPlayer_();
  // Making the player lets queued events run; a close answered there ends
  // the window, and an ended window holds no player.
  if (unloaded_) {
    oPlayer.reset();
    return;
  }
  if (!oPlayer) RaiseVbError(vberr::kObjectNotSet);
  oPlayer->PlayStateChange = [this](std::int32_t mode) { oPlayer_PlayStateChange(mode); };
  oPlayer->PlayFileChange = [this](const std::string& file) { oPlayer_PlayFileChange(file); };
  oPlayer->PlayMessage = [this](const std::string& text) { OSD(text, false); };
}

void FrmBrowser::Form_Initialize() {
  TraceWindowShown("frmBrowser", caption_);
  Guarded(report_, "Form_Initialize", [&] {
    // The first use of the browser loads the window: Form_Load runs in full
    // before the blank document is asked for, so its splash page finds no
    // document and only the timer it arms takes effect.
    Form_Load();
    if (unloaded_) return;
    objwb.Navigate2("about:blank");
    const std::int64_t start = loop_.NowMs();
    while (objwb.ReadyState() != readystate::kComplete) {
      // A browser that never finishes must not hold the program here for
      // ever: after the limit the splash goes into whatever is on view.
      if (loop_.NowMs() - start >= kBlankDocumentWaitMs) {
        TraceNotice("the blank document did not finish loading; the splash page is written without it");
        break;
      }
      // Every 100 ms as before, but in slices: the web engine needs many
      // turns of the event loop to finish even a blank document, and a
      // thread asleep for the whole 100 ms turns it once.
      for (int slice = 0; slice < 10 && objwb.ReadyState() != readystate::kComplete; ++slice) {
        loop_.Sleep(10);
        loop_.DoEvents();
      }
      if (unloaded_) return;
    }
    ShowSplash();
  });
}

void FrmBrowser::Form_Load() {
  StepTrail trail("Form Load - ");
  Guarded(report_, trail, [&] {
    state.PendingFragment.clear();
    state.KeepPending = false;
    TimerSpalsh.SetEnabled(false);
    state.IndexPath = book::IndexPathOf(programFolder_);

    trail.Step("Form Load: inizializzazione");
    state.SettingsApp = std::string(kSettingsApp);
    state.Messages.ResetToDefaults();
    state.SetVolumeScale(kVolumeScale6);
    frmImpExp.Start();

    trail.Step("Form Load: caricamento settings");
    // First, so that the rest of the start-up's reports are spoken too.
    voice.Load(GetSetting(kPlayerSection, ProgramVoice::kKey));
    chkSavePos.SetValue(CInt(SoundSetting("SavePos", "0", AsWholeNumber)));
    state.StyleNumber = CInt(SoundSetting("StyleSheet", "1", AsWholeNumber));
    TextAvantiIndietro.SetText(SoundSetting("AvantiIndietro", "10", AsNumber));
    TextVolume.SetText(SoundSetting("Volume", "100", AsNumber));
    std::string choice = CStr(CInt(SoundSetting("Versione", "1", AsWholeNumber)));
    // Read at every audio start: repaired here once rather than reported
    // each time.
    SoundSetting("Rate", "1", AsSpeed);

    // A player that cannot be set up is tried once more with the other
    // choice; a second failure ends the start-up without a report.
    bool retried = false;
    for (;;) {
      try {
        SetUpPlayer(choice, trail);
        break;
      } catch (...) {
        if (retried) {
          TraceNotice("no player could be set up; the start-up ends here");
          return;
        }
        retried = true;
        choice = choice == "1" ? "0" : "1";
      }
    }

    if (unloaded_) return;
    ShowSplash();
    TimerSpalsh.SetEnabled(true);
  });
}

void FrmBrowser::SetUpPlayer(std::string& choice, StepTrail& trail) {
  for (;;) {
    if (choice == "1") {
      trail.Step("Form Load: creazione WMP");
      NewPlayer();
      if (unloaded_) return;
      trail.Step("Form Load: caricamento WMP");
      oPlayer->SetVersione(1);
      trail.Step("Form Load: settings WMP");
      optPlayer.SetValue(1, true);
      if (unloaded_) return;
      if (!oPlayer) RaiseVbError(vberr::kObjectNotSet);
      oPlayer->SetRate(PlayerRate());
      oPlayer->SetFullScreen(true);
      state.SetVolumeScale(kVolumeScale9);
      break;
    }
    const MsgBoxResult answer = dialogs_.MsgBox(std::string(kVersionQuestion), MsgBoxButtons::kYesNo,
                                                MsgBoxIcon::kNone, std::string(kAppTitle));
    if (answer == MsgBoxResult::kYes) {
      choice = "1";
      continue;
    }
    trail.Step("Form Load: creazione WMP6");
    NewPlayer();
    if (unloaded_) return;
    trail.Step("Form Load: caricamento WMP6");
    oPlayer->SetVersione(0);
    oPlayer->SetRate(PlayerRate());
    trail.Step("Form Load: settings WMP6");
    state.SetVolumeScale(kVolumeScale6);
    optPlayer.SetValue(0, true);
    if (unloaded_) return;
    break;
  }
  if (!oPlayer) RaiseVbError(vberr::kObjectNotSet);
  oPlayer->SetVolume(TextVolume.Text());
  SetAudioOff(CBool(SoundSetting("AudioOff", "0", AsBoolean, "False")));
  trail.Step("Form Load: caricamenti documento: " + programFolder_ + "\\" + std::string(book::kIndexPage) +
             ".");
}

std::string FrmBrowser::SoundSetting(std::string_view key, std::string_view defaultValue,
                                     void (*convert)(const std::string&), std::string_view repaired) {
  const std::string stored = GetSetting(kPlayerSection, key, defaultValue);
  if (IgnoringErrors([&] { convert(stored); }).Number == 0) return stored;
  // A value the program cannot read (an empty text, a word, a damaged
  // store) must not keep the reader from the book: the default takes its
  // place, in the store too.
  const std::string fallback(repaired.empty() ? defaultValue : repaired);
  TraceNotice("the stored " + std::string(key) + " \"" + stored + "\" cannot be read; it is now \"" +
              fallback + "\"");
  SaveSetting(kPlayerSection, key, fallback);
  return fallback;
}

void FrmBrowser::TimerSpalsh_Timer() {
  Guarded(report_, "TimerSpalsh_Timer", [&] {
    TimerSpalsh.SetEnabled(false);
    const std::string saved = GetSetting(kPlayerSection, "Brano");
    if (chkSavePos.Value() == 1 && saved != "about:blank" && fileSystem_.FileExists(SavedPagePath(saved))) {
      objwb.Navigate2(saved);
      state.RestorePosition = true;
    } else {
      objwb.Navigate2(state.IndexPath);
      state.RestorePosition = false;
    }
  });
}

void FrmBrowser::Form_QueryUnload(std::int16_t& Cancel, UnloadMode mode) {
  Guarded(report_, "Form_QueryUnload", [&] {
    const std::string& question = state.Messages[book::Message::kUscita];
    const MsgBoxResult answer =
        dialogs_.MsgBox(question, MsgBoxButtons::kYesNo, MsgBoxIcon::kNone, std::string(kExitTitle));
    TraceEvent("exit_question",
               {{"text", question}, {"answer", ToString(answer)}, {"mode", static_cast<int>(mode)}});
    if (answer != MsgBoxResult::kYes) {
      Cancel = kVbTrue;
      return;
    }
    if (chkSavePos.Value() == 1) {
      const std::string address = objwb.LocationURL();
      // Only a page the next start can open again is a place: leaving from
      // the splash (the blank document) or from an address outside the book
      // keeps the place stored before.
      if (address != "about:blank" && fileSystem_.FileExists(SavedPagePath(address))) {
        SaveSetting(kPlayerSection, "Brano", address);
        SaveSetting(kPlayerSection, "BranoPos", CStr(oPlayer ? oPlayer->CurrentPosition() : 0.0));
        SaveSetting(kPlayerSection, kResumeAudioKey, CStr(state.AudioIndex));
      } else {
        TraceNotice("no book page on view; the stored reading place stays");
      }
    } else {
      SaveSetting(kPlayerSection, "Brano", "");
      SaveSetting(kPlayerSection, "BranoPos", "");
      SaveSetting(kPlayerSection, kResumeAudioKey, "");
    }
    oPlayer.reset();
  });
}

bool FrmBrowser::Unload(UnloadMode mode) {
  if (unloaded_) return true;
  std::int16_t cancel = kVbFalse;
  Form_QueryUnload(cancel, mode);
  if (cancel != kVbFalse) return false;
  unloaded_ = true;
  TimerSpalsh.SetEnabled(false);
  TimerOSD.SetEnabled(false);
  TimerDisableState.SetEnabled(false);
  oPlayer.reset();
  TraceWindowHidden("frmBrowser");
  if (Closed) Closed();
  return true;
}

}  // namespace orva
