#pragma once
#include <string>
#include <vector>

#include "common/platform/speech.h"

namespace orva::fakes {

// Records what the program's voice is told: "message: TEXT",
// "important: TEXT" and "cancel", in order.
class RecordingSpeech : public Speech {
 public:
  void Speak(const std::string& text, SpeechPriority priority) override {
    calls.push_back((priority == SpeechPriority::kImportant ? "important: " : "message: ") + text);
  }
  void Cancel() override { calls.push_back("cancel"); }
  std::vector<std::string> calls;
};

// A screen reader a test switches on and off.
struct SwitchedScreenReader : ScreenReaderStatus {
  bool running = false;
  bool Running() const override { return running; }
};

}  // namespace orva::fakes
