#include "tools/undo/undo_form.h"

#include "launcher/untrapped.h"

namespace orva::undo {

void Form1::Form_Load() {
  smart::RunUntrapped(dialogs_, kTitle, [this] {
    settings_.SaveSetting("NOLinker", "Default", "noform", "0");
    settings_.SaveSetting("NOLinker", "Default", "sfogliacd", "0");
  });
}

}  // namespace orva::undo
