#include "launcher/script_actions.h"

#include <stdexcept>

#include "launcher/launcher.h"
#include "launcher/scelta.h"

namespace orva::smart {
namespace {

std::string CheckButton(const ScriptArgs& args) {
  const std::string& b = args.at(0);
  return b == "avvia" || b == "installa" || b == "Command1" ? "" : "no such button: " + b;
}

std::string CheckTick(const ScriptArgs& args) {
  return args.at(0) == "0" || args.at(0) == "1" ? "" : "check takes 0 or 1";
}

Scelta& OpenScelta(Launcher& launcher) {
  auto* scelta = dynamic_cast<Scelta*>(launcher.Find("scelta"));
  if (!scelta) throw std::runtime_error("the choice window is not open");
  return *scelta;
}

}  // namespace

void AddLauncherScriptActions(ScriptActions& actions) {
  actions.Add({"click", "click avvia|installa|Command1  (a button of the choice window)", 1, 1, CheckButton,
               nullptr});
  actions.Add({"check", "check 0|1  (clear or tick \"Non ricordarmelo più\")", 1, 1, CheckTick, nullptr});
  actions.Add({"type", "type TEXT  (the countdown field's new text)", 1, 1, nullptr, nullptr});
  actions.Add({"close", "close WINDOW  (close a window from its title bar)", 1, 1, nullptr, nullptr});
}

void BindLauncherScriptActions(ScriptActions& actions, Launcher& launcher, std::function<void()> afterEvent) {
  auto then = [afterEvent](const std::function<void()>& act) {
    act();
    if (afterEvent) afterEvent();
  };
  actions.Bind("click", [&launcher, then](const ScriptArgs& args) {
    then([&] {
      Scelta& scelta = OpenScelta(launcher);
      if (args[0] == "avvia") scelta.avvia_Click();
      if (args[0] == "installa") scelta.installa_Click();
      if (args[0] == "Command1") scelta.Command1_Click();
    });
  });
  actions.Bind("check", [&launcher, then](const ScriptArgs& args) {
    then([&] { OpenScelta(launcher).Check1.SetValue(args[0] == "1" ? 1 : 0); });
  });
  actions.Bind("type", [&launcher, then](const ScriptArgs& args) {
    then([&] {
      Scelta& scelta = OpenScelta(launcher);
      scelta.Text1.SetText(args[0]);
      if (scelta.View()) scelta.View()->Refresh();
    });
  });
  actions.Bind("close", [&launcher, then](const ScriptArgs& args) {
    then([&] {
      LauncherWindow* window = launcher.Find(args[0]);
      if (!window) throw std::runtime_error("no open window " + args[0]);
      window->CloseRequested();
    });
  });
}

}  // namespace orva::smart
