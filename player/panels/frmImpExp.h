#pragma once
// The file chooser of the bookmark panel, the frame "frmImpExp": a drive
// list, a folder list and a file list with a name field, through which the
// reader picks the file a bookmark export writes or an import reads. This
// is the chooser's model: the lines of its lists, what is selected, the
// captions and the handlers the old controls fired. The main window owns one
// (FrmBrowser::frmImpExp) and opens it from the panel's buttons
// (FrmBrowser::cmdImpExp_Click); a view shows these fields and hands the
// reader's actions to the handlers.
//
// Paths are the core's ("\" separators; see common/platform/host_paths.h).
// On Linux the "drives" are the reader's home folder, then the mounted
// volumes in the order Volumes gives them.
//
// What the view binds to:
//   Visible               the frame; while it is shown the bookmark panel
//                         hides its list and the buttons 0, 1 and 4, and
//                         shows them again when it is hidden
//   Caption               set before Visible turns true
//   Drive, Dir, File      the three lists: show their lines, follow Changed;
//                         the reader's selection goes to SetListIndex, which
//                         runs Drive_Change and File_Click by itself
//   TextFileName          the name field; lblNomeFile and the field are on
//                         screen exactly when TextFileNameVisible
//   Exporting()           where the file list goes (PlaceFileList)
//   the handlers          Dir_KeyDown, Dir_DblClick, File_DblClick,
//                         File_KeyDown, TextFileName_KeyDown
//   the constants         captions, and the tooltips that are also the
//                         controls' accessible names

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/controls/controls.h"
#include "player/bookmarks/list_box.h"
#include "player/panels/frmconfigurazione.h"

namespace orva {

class FileSystem;
class MdlMain;
class Volumes;

class FrmImpExp {
 public:
  static constexpr std::string_view kName = "frmImpExp";
  // Six blanks until the chooser is opened for one thing or the other.
  static constexpr std::string_view kCaption = "      ";
  static constexpr std::string_view kExportCaption = "   Esportazione Marcatori   ";
  static constexpr std::string_view kImportCaption = "   Importazione Marcatori   ";
  // The tooltips, which are also the accessible names screen readers say.
  static constexpr std::string_view kDriveToolTip = "Elenco Unità disco";
  static constexpr std::string_view kDirToolTip = "Elenco Directory";
  static constexpr std::string_view kFileNameToolTip = "Nome file da Importare - Esportare";
  // The file list has no tooltip of its own; this is its accessible name.
  static constexpr std::string_view kFileListName = "Elenco file";
  static constexpr std::string_view kNomeFileCaption = "Nome file";
  // The buttons cmdImpExp(0) to cmdImpExp(4); "&" marks the access letter.
  // 0, 1 and 4 sit in the bookmark panel, 2 and 3 in the chooser.
  static constexpr std::array<std::string_view, 5> kButtonCaptions = {
      "&Esporta Marcatori", "&Importa Marcatori", "&OK", "&Annulla", "&Chiudi"};
  // The file list's patterns; hive files carry the extension zuv.
  static constexpr std::string_view kExportPattern = "*.reg";
  static constexpr std::string_view kImportPattern = "*.zuv;*.reg";
  // The folder list's line for the folder above the open one.
  static constexpr std::string_view kParentLine = "..";

  // `homeFolder` (may be empty) heads the drive list; `volumes` may be null.
  // Failures of the reported handlers go to `report`.
  FrmImpExp(const FileSystem& fs, const Volumes* volumes, std::string homeFolder, MdlMain& report);
  FrmImpExp(const FrmImpExp&) = delete;
  FrmImpExp& operator=(const FrmImpExp&) = delete;

  FrameVisible Visible{kName, kCaption};
  std::string Caption{kCaption};
  // Lines: the drives as paths the reader knows ("/home/anna").
  ListBox Drive;
  // Lines: kParentLine when the open folder has one above it, then the
  // names of its sub-folders in listing order.
  ListBox Dir;
  // Lines: the names of the open folder's files that match Pattern().
  ListBox File;
  TextBox TextFileName;
  // The name field and its label lblNomeFile are shown for export only.
  bool TextFileNameVisible = true;
  // Runs the chooser's OK (FrmBrowser::cmdImpExp_Click(2)).
  std::function<void()> Confirm;

  // The drive chosen (Drive.Drive), the open folder (Dir.Path) and the
  // folder of the file list (File.Path).
  const std::string& DrivePath() const { return drivePath_; }
  const std::string& DirPath() const { return dirPath_; }
  const std::string& FilePath() const { return filePath_; }
  const std::string& Pattern() const { return pattern_; }
  bool Exporting() const { return TextFileNameVisible; }

  // As the window starts: the drives listed, the folder list on the first
  // drive and the file list on the folder list's path.
  void Start();
  // Opens the chooser for export (the name field shown, pattern "*.reg")
  // or for import (the field hidden, "*.zuv;*.reg"), with the drives read
  // again, since a stick may have come or gone.
  void Open(bool forExport);
  // Hides the chooser.
  void Close() { Visible = false; }
  // Sets Dir.Path: lists the folder and runs Dir_Change. A folder that
  // cannot be listed leaves everything as it was, and false comes back.
  bool SetDirPath(const std::string& path);
  // Sets File.Path and lists its files (File.Refresh); raises when the
  // folder cannot be listed.
  void SetFilePath(const std::string& path);

  // --- The handlers, with the old controls' failure handling.
  // The drive list's choice moves the folder list; a volume that is not
  // ready leaves every list, its own selection included, as it was.
  void Drive_Change();
  void Dir_Change();
  // Enter opens the selected folder.
  void Dir_KeyDown(std::int16_t KeyCode, std::int16_t Shift);
  // The old folder list opened a folder on a double click by itself.
  void Dir_DblClick() { Dir_KeyDown(kEnter, 0); }
  // The clicked file's name goes into TextFileName.
  void File_Click();
  void File_DblClick();
  void File_KeyDown(std::int16_t /*KeyCode*/, std::int16_t /*Shift*/) {}
  void TextFileName_KeyDown(std::int16_t KeyCode, std::int16_t Shift);

 private:
  static constexpr std::int16_t kEnter = 13;

  // Rereads the drives, keeping the selection on the drive in use.
  void ListDrives();
  void SelectQuietly(ListBox& list, int index);

  const FileSystem& fs_;
  const Volumes* volumes_;
  std::string homeFolder_;
  MdlMain& report_;
  std::vector<std::string> drives_;   // paths behind Drive's lines
  std::vector<std::string> folders_;  // paths behind Dir's lines
  std::string drivePath_;
  std::string dirPath_;
  std::string filePath_;
  std::string pattern_{kImportPattern};
  // Set while the code moves a list's selection, which is not the reader's
  // choice.
  bool quiet_ = false;
};

// Where the file list goes inside the chooser, in twips: its top is that of
// button 3 while exporting (under the name field) and that of the folder
// list while importing; it reaches down to 200 twips above the frame's
// bottom, and no further than its own top when the frame is too small.
struct FileListPlace {
  double top = 0;
  double height = 0;
};
FileListPlace PlaceFileList(bool exporting, double cmdImpExp3Top, double dirTop, double frameHeight);

// True when `name` matches one of the ";"-separated patterns ("*.zuv;*.reg",
// "*" any run of characters, "?" one), without regard to letter case.
bool MatchesPattern(std::string_view name, std::string_view patterns);

// A core path as the reader knows it: on Linux an absolute core path
// ("\home\anna") is shown with "/" ("/home/anna").
std::string ShownPath(std::string_view corePath);

}  // namespace orva
