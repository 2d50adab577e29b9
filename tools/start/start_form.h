#pragma once
// Form1 of the start utility (caption "Start"): it never shows. Its load
// hands the installed player over to the linker, after telling it where the
// book CD is, or falls back to the player on the CD.

#include <string>

#include "common/platform/dialogs.h"
#include "common/platform/file_system.h"
#include "common/platform/process_launcher.h"
#include "common/settings/settings.h"

namespace orva::start {

struct StartServices {
  Settings& settings;
  FileSystem& fs;
  ProcessLauncher& processes;
  Dialogs& dialogs;
  std::string programFolder;  // the folder that holds start: the CD
  std::string currentFolder;  // where relative program names are started from
};

class Form1 {
 public:
  static constexpr const char* kCaption = "Start";
  // The title of the utility's message boxes.
  static constexpr const char* kTitle = "Start";

  explicit Form1(StartServices services) : s_(std::move(services)) {}

  void Form_Load();

 private:
  void StartFromCd(const std::string& message);

  StartServices s_;
};

}  // namespace orva::start
