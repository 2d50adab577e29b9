#pragma once
// Puts a window's showing and hiding on the trace ("window" events), whatever
// shows or hides it.

#include <string>

class QWidget;

namespace orva {

// `name` is the window's name in the program ("frmBrowser"); the caption
// traced is the window title at the moment it is shown. The tracer lives as
// long as the window.
void TraceWindowEvents(QWidget* window, const std::string& name);

}  // namespace orva
