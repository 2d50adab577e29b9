#pragma once
#include <string>
#include <vector>

namespace orva {

// The file-system object of the old runtime. Paths are host paths. Listings
// come in the order the reader's books were made for: names sorted without
// regard to letter case, upper-cased and compared ordinally.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  virtual bool FolderExists(const std::string& path) const = 0;
  // Names (not paths) of the sub-folders / files of a folder. A missing
  // folder raises VbError 76.
  virtual std::vector<std::string> SubFolders(const std::string& folder) const = 0;
  virtual std::vector<std::string> Files(const std::string& folder) const = 0;
  // Raises VbError 53 when the file is missing, 70 when it may not be deleted.
  virtual void DeleteFile(const std::string& path) = 0;
  // Whole-file text, bytes as stored. Raises 53 / 70 / 57 / 61 as fits.
  virtual std::string ReadText(const std::string& path) const = 0;
  // Replaces the file; a failure leaves the old content in place.
  virtual void WriteText(const std::string& path, const std::string& text) = 0;
};

}  // namespace orva
