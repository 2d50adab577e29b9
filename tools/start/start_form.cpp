#include "tools/start/start_form.h"

#include "common/runtime/text.h"
#include "launcher/host_programs.h"
#include "launcher/untrapped.h"

namespace orva::start {

using smart::HostPrograms;
using smart::JoinPath;
using smart::RunUntrapped;

void Form1::Form_Load() {
  const std::string path = s_.settings.GetSetting("Linker", "Default", "Path");
  if (Trim(path).empty()) {
    StartFromCd("OrvaPlayerLink non trovato.\r\nAvvio OrvaPlayer da cd");
    return;
  }
  // Stored before the linker is looked for, so the linker finds the CD even
  // when it was moved and is started by hand afterwards.
  RunUntrapped(s_.dialogs, kTitle,
               [&] { s_.settings.SaveSetting("Linker", "Default", "CD", s_.programFolder); });

  HostPrograms programs(s_.fs, s_.processes, s_.currentFolder);
  const std::string linker = programs.FindProgram(JoinPath(path, "linker.exe"));
  if (linker.empty()) {
    StartFromCd(
        "Il file Linker.exe è stato spostato o rinominato; reinstallare OrvaPlayer.\r\nAvvio OrvaPlayer da "
        "cd");
    return;
  }
  RunUntrapped(s_.dialogs, kTitle, [&] { programs.Start(linker, WindowStyle::kMaximizedFocus); });
}

void Form1::StartFromCd(const std::string& message) {
  s_.dialogs.MsgBox(message, MsgBoxButtons::kOkOnly, MsgBoxIcon::kInformation, kTitle);
  HostPrograms programs(s_.fs, s_.processes, s_.currentFolder);
  RunUntrapped(s_.dialogs, kTitle, [&] { programs.Start("OrvaPlayer.exe", WindowStyle::kNormalFocus); });
}

}  // namespace orva::start
