#pragma once
// What a script can do in the launcher's windows, so a run needs nobody at
// the keyboard:
//   click avvia|installa|Command1   a button of the choice window
//   check 0|1                       clears or ticks "Non ricordarmelo più"
//   type TEXT                       types into the countdown field
//   close WINDOW                    closes a window from its title bar

#include <functional>

#include "common/automation/script.h"

namespace orva::smart {

class Launcher;

// Declares the actions, so a script is checked before the launcher starts.
void AddLauncherScriptActions(ScriptActions& actions);
// Binds them to the running launcher; `afterEvent` runs after each action.
// An action aimed at a window that is not open fails with a message.
void BindLauncherScriptActions(ScriptActions& actions, Launcher& launcher, std::function<void()> afterEvent);

}  // namespace orva::smart
