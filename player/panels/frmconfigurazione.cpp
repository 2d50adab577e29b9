#include "player/panels/frmconfigurazione.h"

#include "common/automation/trace.h"
#include "common/automation/trace_events.h"
#include "common/runtime/conversions.h"
#include "player/panels/handler_guard.h"

namespace orva {

FrameVisible& FrameVisible::operator=(bool visible) {
  if (visible == visible_) return *this;
  visible_ = visible;
  if (visible_)
    TraceWindowShown(name_, caption_);
  else
    TraceWindowHidden(name_);
  if (Changed) Changed(visible_);
  return *this;
}

ProgramVoice::ProgramVoice(MdlMain& report, Speech* speech, const ScreenReaderStatus* screenReader,
                           std::function<void(std::string_view value)> save)
    : report_(report), speech_(speech), screenReader_(screenReader), save_(std::move(save)) {
  chkVoce.Click = [this] { chkVoce_Click(); };
  report_.Shown = [this](const std::string& text) { Say(text, SpeechPriority::kImportant); };
}

ProgramVoice::~ProgramVoice() {
  report_.Shown = nullptr;
  if (speech_ && chkVoce.Value() == 1) speech_->Cancel();
}

void ProgramVoice::Load(const std::string& stored) {
  bool on = false;
  if (IgnoringErrors([&] { on = CBool(stored); }).Number != 0)
    on = !(screenReader_ && screenReader_->Running());
  loading_ = true;
  chkVoce.SetValue(on ? 1 : 0);
  loading_ = false;
}

void ProgramVoice::Say(const std::string& text, SpeechPriority priority) {
  if (!speech_ || chkVoce.Value() != 1 || text.empty()) return;
  TraceEvent("speech", {{"text", text},
                        {"priority", priority == SpeechPriority::kImportant ? "important" : "message"}});
  speech_->Cancel();
  speech_->Speak(text, priority);
}

void ProgramVoice::chkVoce_Click() {
  Guarded(report_, "chkVoce_Click", [&] {
    if (chkVoce.Value() != 1 && speech_) speech_->Cancel();
    if (!loading_ && save_) save_(chkVoce.Value() == 1 ? "True" : "False");
  });
}

}  // namespace orva
