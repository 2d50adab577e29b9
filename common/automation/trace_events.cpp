#include "common/automation/trace_events.h"

#include "common/automation/trace.h"

namespace orva {

void TraceWindowShown(std::string_view window, std::string_view caption) {
  TraceEvent("window", {{"window", window}, {"state", "shown"}, {"caption", caption}});
}

void TraceWindowHidden(std::string_view window) {
  TraceEvent("window", {{"window", window}, {"state", "hidden"}});
}

void TraceNotice(std::string_view text) { TraceEvent("notice", {{"text", text}}); }

}  // namespace orva
