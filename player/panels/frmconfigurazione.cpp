#include "player/panels/frmconfigurazione.h"

#include "common/automation/trace_events.h"

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

}  // namespace orva
