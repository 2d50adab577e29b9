#include "player/panels/frmImpExp.h"

#include <algorithm>
#include <utility>

#include "common/automation/trace.h"
#include "common/platform/file_system.h"
#include "common/platform/host_paths.h"
#include "common/platform/volumes.h"
#include "common/runtime/text.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

// The folder above a core path, or nothing at a root.
std::optional<std::string> ParentFolder(std::string_view path) {
  while (path.size() > 1 && path.back() == '\\') path.remove_suffix(1);
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos || path == "\\") return std::nullopt;
  return std::string(slash == 0 ? path.substr(0, 1) : path.substr(0, slash));
}

bool MatchesOne(std::string_view name, std::string_view pattern) {
  // The usual two-pointer walk, going back to the last "*" on a mismatch.
  std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || AsciiEqualsNoCase(pattern.substr(p, 1), name.substr(n, 1)))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view patterns) {
  while (true) {
    const std::size_t semi = patterns.find(';');
    if (MatchesOne(name, Trim(patterns.substr(0, semi)))) return true;
    if (semi == std::string_view::npos) return false;
    patterns.remove_prefix(semi + 1);
  }
}

std::string ShownPath(std::string_view corePath) {
  return !corePath.empty() && corePath.front() == '\\' ? Replace(corePath, "\\", "/") : std::string(corePath);
}

FileListPlace PlaceFileList(bool exporting, double cmdImpExp3Top, double dirTop, double frameHeight) {
  FileListPlace place;
  place.top = exporting ? cmdImpExp3Top : dirTop;
  place.height = std::max(0.0, frameHeight - (place.top + 200));
  return place;
}

FrmImpExp::FrmImpExp(const FileSystem& fs, const Volumes* volumes, std::string homeFolder, MdlMain& report)
    : fs_(fs), volumes_(volumes), homeFolder_(std::move(homeFolder)), report_(report) {
  Drive.Click = [this] {
    if (!quiet_) Drive_Change();
  };
  File.Click = [this] {
    if (!quiet_) File_Click();
  };
}

void FrmImpExp::SelectQuietly(ListBox& list, int index) {
  quiet_ = true;
  try {
    list.SetListIndex(index);
  } catch (...) {
    quiet_ = false;
    throw;
  }
  quiet_ = false;
}

void FrmImpExp::ListDrives() {
  std::vector<std::string> drives;
  if (!homeFolder_.empty()) drives.push_back(homeFolder_);
  if (volumes_)
    for (const std::string& root : volumes_->MountedRoots()) {
      std::string core = CoreFolderFromHost(root);
      if (std::find(drives.begin(), drives.end(), core) == drives.end()) drives.push_back(std::move(core));
    }
  if (drives == drives_) return;
  drives_ = std::move(drives);
  Drive.Clear();
  for (const std::string& drive : drives_) Drive.AddItem(ShownPath(drive));
  const auto inUse = std::find(drives_.begin(), drives_.end(), drivePath_);
  if (inUse != drives_.end()) SelectQuietly(Drive, static_cast<int>(inUse - drives_.begin()));
}

void FrmImpExp::Start() {
  ListDrives();
  if (Drive.ListCount() > 0) Drive.SetListIndex(0);
}

void FrmImpExp::Open(bool forExport) {
  ListDrives();
  Caption = std::string(forExport ? kExportCaption : kImportCaption);
  TextFileNameVisible = forExport;
  pattern_ = std::string(forExport ? kExportPattern : kImportPattern);
  IgnoringErrors([&] { SetFilePath(dirPath_); });
  TraceEvent("caption", {{"window", kName}, {"text", Caption}});
  Visible = true;
}

bool FrmImpExp::SetDirPath(const std::string& path) {
  std::vector<std::string> subFolders;
  try {
    if (!fs_.FolderExists(path)) return false;
    subFolders = fs_.SubFolders(path);
  } catch (...) {
    return false;
  }
  const bool changed = path != dirPath_;
  dirPath_ = path;
  folders_.clear();
  Dir.Clear();
  if (std::optional<std::string> parent = ParentFolder(path)) {
    folders_.push_back(std::move(*parent));
    Dir.AddItem(std::string(kParentLine));
  }
  for (const std::string& name : subFolders) {
    folders_.push_back(JoinCorePath(path, name));
    Dir.AddItem(name);
  }
  if (changed) Dir_Change();
  return true;
}

void FrmImpExp::SetFilePath(const std::string& path) {
  std::vector<std::string> names = fs_.Files(path);
  filePath_ = path;
  File.Clear();
  for (const std::string& name : names)
    if (MatchesPattern(name, pattern_)) File.AddItem(name);
}

void FrmImpExp::Drive_Change() {
  IgnoringErrors([&] {
    const int index = Drive.ListIndex();
    if (index < 0 || index >= static_cast<int>(drives_.size())) return;
    if (SetDirPath(drives_[static_cast<std::size_t>(index)])) {
      drivePath_ = drives_[static_cast<std::size_t>(index)];
      return;
    }
    // No medium, or a volume gone since it was listed: the drive list goes
    // back to the drive the folder list is on, and nothing is said.
    const auto inUse = std::find(drives_.begin(), drives_.end(), drivePath_);
    SelectQuietly(Drive, inUse == drives_.end() ? -1 : static_cast<int>(inUse - drives_.begin()));
  });
}

void FrmImpExp::Dir_Change() {
  Guarded(report_, "Dir_Change", [&] { SetFilePath(dirPath_); });
}

void FrmImpExp::Dir_KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
  IgnoringErrors([&] {
    const int index = Dir.ListIndex();
    if (KeyCode != kEnter || index < 0 || index >= static_cast<int>(folders_.size())) return;
    // A copy: opening the folder lists it afresh, which empties folders_.
    const std::string folder = folders_[static_cast<std::size_t>(index)];
    SetDirPath(folder);
  });
}

void FrmImpExp::File_Click() {
  IgnoringErrors([&] { TextFileName.SetText(File.Text()); });
}

void FrmImpExp::File_DblClick() {
  Guarded(report_, "File_DblClick", [&] {
    if (Confirm) Confirm();
  });
}

void FrmImpExp::TextFileName_KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
  Guarded(report_, "TextFileName_KeyDown", [&] {
    if (KeyCode == kEnter && Confirm) Confirm();
  });
}

}  // namespace orva
