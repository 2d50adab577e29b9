#pragma once
// A bookmark store in memory with its lists, and a compact way to write and
// read whole sections, for the bookmark tests.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "common/settings/testing/registry_helpers.h"
#include "fakes/recording_dialogs.h"
#include "player/bookmarks/bookmark_lists.h"
#include "player/panels/mdlMain.h"

namespace orva::testing {

// One stored bookmark number; a missing value reads as its default.
struct Mark {
  int n = 0;
  std::string position = std::string(kVuoto);
  std::string name = std::string(kVuoto);
  std::string audio;
  bool operator==(const Mark&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Mark& m) {
  return os << "{" << m.n << ", \"" << m.position << "\", \"" << m.name << "\", \"" << m.audio << "\"}";
}

struct BookmarkFixture {
  RefusingRegistry registry;
  Settings settings{registry};
  BookmarkStore store{settings};
  fakes::RecordingDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  std::string page = "LIBRO\\CAP01.HTM";
  BookmarkLists lists{store, report, [this] { return page; }};

  // Writes each value that is not its read default; a position or name of
  // "vuoto" is left out (a bookmark with a name only, for one).
  void Put(const std::string& section, const std::vector<Mark>& marks) {
    for (const Mark& m : marks) {
      if (m.position != kVuoto) store.SavePosition(section, m.n, m.position);
      if (m.name != kVuoto) store.SaveName(section, m.n, m.name);
      if (!m.audio.empty()) store.SaveAudio(section, m.n, m.audio);
    }
  }

  // Every number up to 110 that holds a position or a name.
  std::vector<Mark> Stored(const std::string& section) {
    std::vector<Mark> out;
    for (int n = 1; n <= 110; ++n) {
      Mark m{n, store.Position(section, n), store.Name(section, n), store.Audio(section, n)};
      if (m.position != kVuoto || m.name != kVuoto) out.push_back(m);
    }
    return out;
  }

  bool SectionExists(const std::string& section) {
    return KeyExists(registry, kHkeyCurrentUser,
                     std::string(kVbSettingsKey) + "\\" + std::string(kSettingsApp) + "\\" + section);
  }

  std::vector<std::string> Lines() const { return lists.ListMarkers.Items(); }

  // "<procedure> / <error number>" of each error report shown.
  std::vector<std::string> Reports() const { return dialogs.ErrorReportCodes(); }
};

}  // namespace orva::testing
