#include "player/bookmarks/bookmark_lists.h"

#include <algorithm>
#include <utility>

#include "common/automation/trace.h"
#include "common/runtime/conversions.h"
#include "common/runtime/vb_error.h"
#include "player/bookmarks/book_walk.h"
#include "player/bookmarks/list_line.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace step {
inline constexpr std::string_view kStart = "Inizio Caricamento";
inline constexpr std::string_view kMarkers = "Caricamento nelle liste oMarkers";
inline constexpr std::string_view kMarkersIndex = "Caricamento nelle liste oMarkersIndex";
inline constexpr std::string_view kListMarkers = "Caricamento nelle liste ListMarkers";
inline constexpr std::string_view kDelete = "Cancellazione Markers per riordino";
inline constexpr std::string_view kSavePosition = "Salvataggio Markers per riordino";
inline constexpr std::string_view kSaveName = "Salvataggio Markers2 per riordino";
inline constexpr std::string_view kSaveAudio = "Salvataggio Markers3 per riordino";
}  // namespace step

struct BookmarkLists::Stored {
  bool legacy = false;
  int n = 0;
  std::string position;
  std::string name;
  std::string audio;

  // A name without a position is a leftover, never listed.
  bool Listed() const { return position != kVuoto; }
};

BookmarkLists::BookmarkLists(BookmarkStore& store, MdlMain& report, std::function<std::string()> pageSection)
    : store_(store), report_(report), pageSection_(std::move(pageSection)) {
  ListMarkers.SetTabStops({kListMarkersTabStop});
}

void BookmarkLists::ClearMarcatori() {
  Guarded(report_, "ClearMarcatori", [&] {
    oMarkers.Clear();
    oMarkersIndex.Clear();
    CurrentMarker = 0;
    ListMarkers.Clear();
  });
}

void BookmarkLists::Marcatori(std::int32_t mode, std::string_view name) {
  std::string section;
  Marcatori(mode, name, section, 0);
}

void BookmarkLists::Marcatori(std::int32_t mode, std::string_view name, std::string& section,
                              std::int16_t number) {
  StepTrail trail("Marcatori Mode = " + CStr(mode) + " --> ");
  ResumeNext run(report_, trail);
  // Statements run one by one under `run`; this outer guard only catches
  // what falls between them (memory), so nothing escapes the procedure.
  Guarded(report_, trail, [&] {
    if (section.empty()) run([&] { section = pageSection_ ? pageSection_() : std::string(); });
    if (section.empty()) return;  // no page on view: nothing to load or delete
    switch (mode) {
      case kLoad: Load(section, number, run, trail); break;
      case kDeleteAll: DeleteAll(section, run); break;
      case kDeleteOne: DeleteOne(name, section, run); break;
      default: break;
    }
  });
}

std::vector<BookmarkLists::Stored> BookmarkLists::ReadSection(const std::string& section, bool legacy,
                                                              ResumeNext& run, StepTrail* trail) {
  std::vector<Stored> out;
  std::vector<int> numbers;
  run([&] { numbers = store_.NumbersWithName(section); });
  for (const int n : numbers) {
    Stored s;
    s.legacy = legacy;
    s.n = n;
    s.name = std::string(kVuoto);
    run([&] { s.name = store_.Name(section, n); });
    if (s.name == kVuoto) continue;
    if (trail) trail->Step(std::string(step::kStart));
    s.position = std::string(kVuoto);
    run([&] { s.position = store_.Position(section, n); });
    run([&] { s.audio = store_.Audio(section, n); });
    out.push_back(std::move(s));
  }
  return out;
}

// Loads the plain section and the legacy one into the lists and leaves every
// listed bookmark of both in the plain section at 1, 2, 3 ...: by stored
// number, and at a number held in both sections the plain bookmark before
// the legacy one. Writes come before deletes, and a value is deleted only
// once its bookmark is stored at its new number, so a refused write loses
// nothing. The legacy section is deleted only when all its bookmarks have
// moved; those that do not fit within 100 stay there and are listed too.
void BookmarkLists::Load(const std::string& section, std::int16_t number, ResumeNext& run, StepTrail& trail) {
  const std::string legacySection = LegacySection(section);
  const std::vector<Stored> plain = ReadSection(section, false, run, &trail);
  const std::vector<Stored> legacy = ReadSection(legacySection, true, run, &trail);

  std::vector<const Stored*> merged;
  for (const Stored& s : plain)
    if (s.Listed()) merged.push_back(&s);
  std::vector<const Stored*> legacyListed;
  for (const Stored& s : legacy)
    if (s.Listed()) legacyListed.push_back(&s);
  const std::size_t room = kMaxBookmarks - merged.size();
  const std::size_t moving = std::min(room, legacyListed.size());
  merged.insert(merged.end(), legacyListed.begin(),
                legacyListed.begin() + static_cast<std::ptrdiff_t>(moving));
  std::stable_sort(merged.begin(), merged.end(),
                   [](const Stored* a, const Stored* b) { return a->n < b->n; });

  // Recall finds a bookmark by its line number in all three lists, so an
  // entry that cannot enter one of them enters none: a name that clashes in
  // letter case with one listed before (possible in imported or older
  // stores), or a position beyond the time range. It stays in the store,
  // and an export still carries it.
  auto list = [&](const Stored& s, const std::string& home) {
    const std::string key = ListKey(s.name, number);
    const char* skipped = nullptr;
    if (oMarkers.Exists(key) || oMarkersIndex.Exists(key)) {
      skipped = "name listed before in another letter case";
    } else {
      try {
        (void)ListLine(Val(s.position), s.name, number);
      } catch (const VbError&) {
        skipped = "position out of range";
      }
    }
    if (skipped) {
      TraceEvent(
          "bookmark",
          {{"action", "skipped"}, {"section", home}, {"number", s.n}, {"name", s.name}, {"reason", skipped}});
      return;
    }
    trail.Step(std::string(step::kMarkers));
    run([&] { oMarkers.Add(Val(s.position), key); });
    trail.Step(std::string(step::kMarkersIndex));
    run([&] { oMarkersIndex.Add(home, key); });
    trail.Step(std::string(step::kListMarkers));
    run([&] { ListMarkers.AddItem(ListLine(Val(s.position), s.name, number)); });
  };
  for (const Stored* s : merged) list(*s, section);
  for (std::size_t i = moving; i < legacyListed.size(); ++i) list(*legacyListed[i], legacySection);

  // Renumber: bookmark i of the merged order goes to number i in the plain
  // section. One already there is left alone, so a page loaded a second
  // time writes nothing.
  const int count = static_cast<int>(merged.size());
  std::vector<bool> stored(merged.size(), false);
  for (int k = 1; k <= count; ++k) {
    const Stored& s = *merged[static_cast<std::size_t>(k - 1)];
    if (!s.legacy && s.n == k) {
      stored[static_cast<std::size_t>(k - 1)] = true;
      continue;
    }
    bool ok = true;
    trail.Step(std::string(step::kSavePosition));
    ok = run([&] { store_.SavePosition(section, k, s.position); }) && ok;
    trail.Step(std::string(step::kSaveName));
    ok = run([&] { store_.SaveName(section, k, s.name); }) && ok;
    trail.Step(std::string(step::kSaveAudio));
    ok = run([&] { store_.SaveAudio(section, k, s.audio); }) && ok;
    stored[static_cast<std::size_t>(k - 1)] = ok;
  }

  // Remove what has moved: plain bookmarks beyond the new count (those
  // below it were written over), and the legacy ones.
  trail.Step(std::string(step::kDelete));
  bool legacyAllStored = moving == legacyListed.size();
  std::vector<const Stored*> legacyStored;
  for (std::size_t i = 0; i < merged.size(); ++i) {
    const Stored& s = *merged[i];
    if (!stored[i]) {
      if (s.legacy) legacyAllStored = false;
      continue;
    }
    if (s.legacy) {
      legacyStored.push_back(&s);
    } else if (s.n > count) {
      run([&] { store_.DeletePosition(section, s.n); });
      run([&] { store_.DeleteName(section, s.n); });
      run.Quietly([&] { store_.DeleteAudio(section, s.n); });
    }
  }
  if (legacy.empty()) return;
  if (legacyAllStored) {
    run([&] { store_.DeleteSection(legacySection); });
    return;
  }
  for (const Stored* s : legacyStored) {
    run([&] { store_.DeletePosition(legacySection, s->n); });
    run([&] { store_.DeleteName(legacySection, s->n); });
    run.Quietly([&] { store_.DeleteAudio(legacySection, s->n); });
  }
}

// Both the plain and the legacy section go, so that bookmarks the reader
// deleted cannot come back from the legacy section at the next load.
void BookmarkLists::DeleteAll(const std::string& section, ResumeNext& run) {
  for (const std::string& target : {section, LegacySection(section)}) {
    if (ReadSection(target, false, run, nullptr).empty()) continue;
    run([&] { store_.DeleteSection(target); });
  }
}

// Deletes every bookmark stored under exactly this name, in the plain or the
// legacy section, then reloads the page on view (which renumbers the rest).
void BookmarkLists::DeleteOne(std::string_view name, const std::string& section, ResumeNext& run) {
  bool deleted = false;
  for (const std::string& target : {section, LegacySection(section)}) {
    for (const Stored& s : ReadSection(target, false, run, nullptr)) {
      if (s.name != name) continue;
      if (s.Listed()) run([&] { store_.DeletePosition(target, s.n); });
      run([&] { store_.DeleteName(target, s.n); });
      run.Quietly([&] { store_.DeleteAudio(target, s.n); });
      deleted = true;
    }
  }
  if (!deleted) return;
  ClearMarcatori();
  Marcatori(kLoad);
}

void BookmarkLists::LoadIndexPage(const FileSystem& fs, std::string_view programFolder) {
  WalkBook(fs, programFolder, [&](const BookFile& page) {
    std::string section = page.Section();
    Marcatori(kLoad, {}, section, page.number);
    return WalkNext::kNextFile;
  });
}

}  // namespace orva
