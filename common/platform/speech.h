#pragma once
// The program's own voice, for partially sighted readers who run no screen
// reader, and whether a screen reader is running (it then speaks the
// program's messages itself, and a second voice would talk over it).

#include <string>

namespace orva {

enum class SpeechPriority {
  // What a command did: the on-screen display's messages.
  kMessage,
  // What must not be missed: an error report.
  kImportant,
};

class Speech {
 public:
  virtual ~Speech() = default;
  // Hands `text` (UTF-8) to the voice. Anything of this program's still
  // waiting or speaking goes on unless Cancel comes first. Never throws: a
  // voice that cannot speak is silent.
  virtual void Speak(const std::string& text, SpeechPriority priority) = 0;
  // Stops what this program is saying and drops what it has queued. Never
  // throws.
  virtual void Cancel() = 0;
};

class ScreenReaderStatus {
 public:
  virtual ~ScreenReaderStatus() = default;
  // True when a screen reader is running on the reader's desktop. Never
  // throws; false when it cannot be told.
  virtual bool Running() const = 0;
};

}  // namespace orva
