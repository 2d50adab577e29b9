#pragma once
// Where a book page keeps its bookmarks: a settings section named after the
// page, holding for bookmark number n (1 to 100) three text values,
//   n           position in whole seconds from the start of the audio file,
//   n & "NOME"  the bookmark's name,
//   n & "NOMEAUDIO" the audio file name (no folder) loaded when it was set.
// A position or name read as "vuoto" means there is no such bookmark.
//
// Older releases kept some pages' bookmarks in a section with "#" appended
// (LIBRO\CAP01.HTM#); loading moves them into the plain section.
//
// Every value goes through the settings API, so the registry text files and
// the other programs see the same layout.

#include <string>
#include <string_view>
#include <vector>

#include "common/settings/settings.h"

namespace orva {

inline constexpr std::string_view kSettingsApp = "ZUV MediaPlayer";
inline constexpr int kMaxBookmarks = 100;
// What a read of a missing position or name returns.
inline constexpr std::string_view kVuoto = "vuoto";
inline constexpr std::string_view kNameSuffix = "NOME";
inline constexpr std::string_view kAudioSuffix = "NOMEAUDIO";

// The section where older releases stored the page's bookmarks.
inline std::string LegacySection(std::string_view section) { return std::string(section) + "#"; }

class BookmarkStore {
 public:
  explicit BookmarkStore(Settings& settings, std::string app = std::string(kSettingsApp))
      : settings_(settings), app_(std::move(app)) {}

  // Reads; position and name default to "vuoto", the audio name to "".
  std::string Position(std::string_view section, int n, std::string_view defaultValue = kVuoto);
  std::string Name(std::string_view section, int n, std::string_view defaultValue = kVuoto);
  std::string Audio(std::string_view section, int n, std::string_view defaultValue = {});

  // Writes and deletes raise VbError 5 when the store refuses or, for a
  // delete, when the value or section is missing.
  void SavePosition(std::string_view section, int n, std::string_view value);
  void SaveName(std::string_view section, int n, std::string_view value);
  void SaveAudio(std::string_view section, int n, std::string_view value);
  void DeletePosition(std::string_view section, int n);
  void DeleteName(std::string_view section, int n);
  void DeleteAudio(std::string_view section, int n);
  void DeleteSection(std::string_view section);

  // The numbers 1 to 100, ascending, whose name value is present in the
  // section (it may still read "vuoto", or be no text). Found by listing the
  // section once, so a page without bookmarks costs one look-up rather than
  // a hundred reads; callers read each candidate as usual.
  std::vector<int> NumbersWithName(std::string_view section);

  Settings& settings() { return settings_; }
  const std::string& app() const { return app_; }

 private:
  std::string Key(int n, std::string_view suffix = {});

  Settings& settings_;
  std::string app_;
};

}  // namespace orva
