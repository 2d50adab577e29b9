// The bookmark panel's buttons: exporting the player's settings, bookmarks
// included, to a registry text file; importing such a file or a saved hive
// over them after a backup; the file chooser they open; closing the panel.
// Also the debug frame's test export, and the reader's folders.
//
// Windows paths of the old player live in the reader's data folder here:
// "c:\ZUVPlayer_Backup.reg" and "c:\provatxt.reg" are files of that folder.

#include "common/automation/trace.h"
#include "common/platform/host_paths.h"
#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "player/browser/book_format.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

constexpr std::string_view kBackupName = "ZUVPlayer_Backup.reg";
constexpr std::string_view kDebugExportName = "provatxt.reg";
constexpr std::string_view kReplaceTitle = "Esportazione Marcatori ORVA";
constexpr std::string_view kFileMarker = "@FILE@";

// The name an export writes: a name without a dot gets ".REG"; any other
// keeps what comes up to its first dot and gets "REG" there. Only the name
// counts, so a dot in the chosen folder's name never moves the file.
std::string ExportName(const std::string& typed) {
  const int dot = InStr(typed, ".");
  return dot == 0 ? typed + ".REG" : Left(typed, dot) + "REG";
}

std::string LeafName(const std::string& path) { return Mid(path, InStrRev(path, "\\") + 1); }

std::string WithFile(const std::string& message, const std::string& file) {
  return Replace(message, kFileMarker, file);
}

// An absolute host folder from the environment, without the final "/"
// (but "/" itself), or the empty text.
std::string AbsoluteFolder(const std::optional<std::string>& value) {
  if (!value || value->empty() || value->front() != '/') return {};
  std::string folder = *value;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

ReaderFolders ReaderFoldersFrom(const Environment& env) {
  ReaderFolders folders;
  const std::string home = AbsoluteFolder(env.Get("HOME"));
  const std::string xdg = AbsoluteFolder(env.Get("XDG_DATA_HOME"));
  folders.home = CoreFolderFromHost(home);
  const std::string base = !xdg.empty()   ? CoreFolderFromHost(xdg)
                           : home.empty() ? std::string()
                                          : JoinCorePath(folders.home, ".local\\share");
  if (!base.empty()) folders.data = JoinCorePath(base, "orvaplayer");
  return folders;
}

std::string FrmBrowser::BackupFile() const {
  return dataFolder_.empty() ? std::string() : JoinCorePath(dataFolder_, kBackupName);
}

bool FrmBrowser::DataFolderReady() {
  if (dataFolder_.empty()) return false;
  if (!fileSystem_.FolderExists(dataFolder_) && makeFolders_) makeFolders_(dataFolder_);
  return fileSystem_.FolderExists(dataFolder_);
}

void FrmBrowser::cmdImpExp_Click(std::int16_t Index) {
  Guarded(report_, "cmdImpExp_Click", [&] {
    switch (Index) {
      case 0:
      case 1: frmImpExp.Open(Index == 0); break;
      case 2:
        if (CarryOutImpExp()) {
          frmImpExp.Close();
          frmImpExp.SetFilePath(frmImpExp.DirPath());
        }
        break;
      case 3: frmImpExp.Close(); break;
      case 4:
        keys::FullResume(*this);
        fraMarcatoriVisible = false;
        break;
      default: break;
    }
  });
}

bool FrmBrowser::CarryOutImpExp() {
  const std::string typed = frmImpExp.TextFileName.Text();
  // Nothing named: the reader has still to choose, so the chooser stays.
  if (Trim(typed).empty()) return false;
  if (frmImpExp.Exporting())
    ExportBookmarks(frmImpExp.DirPath(), typed);
  else
    ImportBookmarks(JoinCorePath(frmImpExp.DirPath(), typed));
  return true;
}

void FrmBrowser::ExportBookmarks(const std::string& folder, const std::string& typed) {
  const std::string path = JoinCorePath(folder, ExportName(typed));
  if (fileSystem_.FileExists(path)) {
    // The question names the file that would be replaced, which is not the
    // typed name when the rule changed it.
    const MsgBoxResult answer =
        dialogs_.MsgBox(WithFile(state.Messages[book::Message::kSostFile], LeafName(path)),
                        MsgBoxButtons::kYesNoCancel, MsgBoxIcon::kNone, std::string(kReplaceTitle));
    if (answer != MsgBoxResult::kYes) return;
  }
  // The write replaces the old file whole or leaves it as it was, so the
  // old file is not deleted first, and only the write's own result says
  // whether the export succeeded: an old file left in place is no success.
  const bool written =
      registro_.SaveKeyAsRegText(kHkeyCurrentUser, kPlayerSettingsSubtree, path, true, false).written;
  frmImpExp.TextFileName.SetText({});
  TraceEvent("bookmark_file", {{"action", written ? "exported" : "export_failed"}, {"file", path}});
  dialogs_.MsgBox(WithFile(state.Messages[written ? book::Message::kExportOk : book::Message::kExportKo],
                           ShownPath(path)),
                  MsgBoxButtons::kOkOnly, MsgBoxIcon::kNone, std::string(kAppTitle));
}

void FrmBrowser::ImportBookmarks(const std::string& path) {
  const std::string backup = BackupFile();
  // Importing the backup itself restores it: taking a new backup first
  // would overwrite the very settings the reader means to go back to.
  if (path != backup) {
    bool saved = false;
    IgnoringErrors([&] {
      saved =
          DataFolderReady() &&
          registro_.SaveKeyAsRegText(kHkeyCurrentUser, kPlayerSettingsSubtree, backup, true, false).written;
    });
    if (!saved) {
      TraceEvent("bookmark_file", {{"action", "import_refused"}, {"file", path}, {"backup", backup}});
      dialogs_.MsgBox(
          "Importazione annullata: non è stato possibile salvare la copia di sicurezza delle "
          "impostazioni" +
              (backup.empty() ? std::string(".") : " nel file " + ShownPath(backup) + "."),
          MsgBoxButtons::kOkOnly, MsgBoxIcon::kExclamation, std::string(kAppTitle));
      return;
    }
  }

  // A text file writes only the player's own subtree and counts what it
  // skipped; a hive is read whole before anything changes. Either way a
  // refused file has written nothing.
  bool imported = false;
  std::string why;
  std::size_t skippedBlocks = 0;
  std::size_t skippedLines = 0;
  if (InStr(AsciiUpper(LeafName(path)), ".REG") > 0) {
    const RegImportSummary summary = registro_.ImportRegFile(path);
    imported = !summary.refused;
    if (!summary.warnings.empty()) why = summary.warnings.front().message;
    skippedBlocks = summary.skippedBlocks;
    skippedLines = summary.skippedLines;
  } else {
    const HiveRestoreResult result =
        registro_.RestoreKeyFromFile(kPlayerSettingsSubtree, path, kHkeyCurrentUser);
    imported = result.restored;
    why = result.error;
  }
  // The reader's choice to keep the player silent is not the file's to
  // change.
  SaveSetting(kPlayerSection, "AudioOff", state.AudioOffState ? "True" : "False");

  // The import has finished, so the lists show what is now stored.
  ClearMarcatori();
  if (book::IsIndexPage(objwb.LocationURL())) {
    bookmarks_.LoadIndexPage(fileSystem_, programFolder_);
  } else {
    std::string section;
    Marcatori(BookmarkLists::kLoad, {}, section, 0);
  }

  TraceEvent("bookmark_file", {{"action", imported ? "imported" : "import_failed"},
                               {"file", path},
                               {"skipped_blocks", static_cast<std::int64_t>(skippedBlocks)},
                               {"skipped_lines", static_cast<std::int64_t>(skippedLines)}});
  std::string message;
  if (imported) {
    message = WithFile(state.Messages[book::Message::kRipristinoOk], ShownPath(path));
    if (skippedBlocks > 0)
      message +=
          "\nChiavi ignorate perché esterne alle impostazioni del lettore: " + CStr(skippedBlocks) + ".";
    if (skippedLines > 0) message += "\nRighe non lette: " + CStr(skippedLines) + ".";
  } else {
    message = "Ripristino dal file " + ShownPath(path) + " non riuscito" + (why.empty() ? "" : ": " + why) +
              ".\nLe impostazioni non sono state cambiate. La copia di sicurezza resta nel file " +
              ShownPath(backup) + ".";
  }
  dialogs_.MsgBox(message, MsgBoxButtons::kOkOnly, imported ? MsgBoxIcon::kNone : MsgBoxIcon::kExclamation,
                  std::string(kAppTitle));
}

void FrmBrowser::Command1_Click() {
  Guarded(report_, "Command1_Click", [&] {
    if (!DataFolderReady()) RaiseVbError(vberr::kPathNotFound);
    const std::string path = JoinCorePath(dataFolder_, kDebugExportName);
    if (!registro_.SaveKeyAsRegText(kHkeyCurrentUser, kPlayerSettingsSubtree, path, true, false).written)
      RaiseVbError(vberr::kPathFileAccessError);
  });
}

}  // namespace orva
