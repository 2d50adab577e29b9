#pragma once
// Events every program traces the same way. The names are the trace's
// vocabulary; docs/automation.md lists them all.

#include <string_view>

namespace orva {

// A window became visible ("shown") or was hidden or closed ("hidden").
// `window` is the window's name in the program ("frmBrowser", "Form1").
void TraceWindowShown(std::string_view window, std::string_view caption);
void TraceWindowHidden(std::string_view window);

// A message for whoever reads the trace that is not something the reader
// sees (a start-up that ends early, a step the program skipped).
void TraceNotice(std::string_view text);

}  // namespace orva
