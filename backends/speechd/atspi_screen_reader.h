#pragma once
// Whether a screen reader is running, as the desktop's accessibility bus
// tells it. A desktop that starts its screen reader from its own settings
// sets the bus's ScreenReaderEnabled; a screen reader started by hand (Orca
// from a terminal or a start-up entry) only switches the bus on
// (IsEnabled), so then a running Orca of this user is looked for as well.

#include "common/platform/speech.h"

namespace orva {

class AtspiScreenReaderStatus : public ScreenReaderStatus {
 public:
  // Asks the session bus each time (up to half a second); false without a
  // session bus or an accessibility bus. Needs a Qt application object.
  bool Running() const override;
};

}  // namespace orva
