// The bookmark list of a large book's index page: 50 folders of 20 pages
// (1,000 files) holding 3,000 bookmarks, three per page at numbers 2, 5 and
// 9, so the first load renumbers every page and the second changes nothing.
// Timed: every Marcatori call of page completion (ClearMarcatori, then the
// walk over the book), over the in-memory store and over the SQLite store.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "backends/sqlite_registry/sqlite_registry.h"
#include "common/settings/memory_registry.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_dialogs.h"
#include "player/bookmarks/bookmark_lists.h"
#include "player/panels/mdlMain.h"

namespace orva {
namespace {

constexpr int kFolders = 50;
constexpr int kPages = 20;
constexpr int kNumbers[] = {2, 5, 9};
constexpr int kBookmarks = kFolders * kPages * 3;

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

const fakes::MemoryFileSystem& Book() {
  static const fakes::MemoryFileSystem fs = [] {
    fakes::MemoryFileSystem book;
    book.AddFile("/book/Index.htm");
    book.AddFile("/book/INCLUDE/Style1.CSS");
    for (int f = 1; f <= kFolders; ++f)
      for (int p = 1; p <= kPages; ++p)
        book.AddFile("/book/Cap" + TwoDigits(f) + "/Pag" + TwoDigits(p) + ".htm");
    return book;
  }();
  return fs;
}

void SeedBookmarks(Registry& registry) {
  Settings settings(registry);
  BookmarkStore store(settings);
  for (int f = 1; f <= kFolders; ++f) {
    for (int p = 1; p <= kPages; ++p) {
      const std::string section = "CAP" + TwoDigits(f) + "\\PAG" + TwoDigits(p) + ".HTM";
      for (int n : kNumbers) {
        store.SavePosition(section, n, std::to_string(n * 37));
        store.SaveName(section, n, "Segnalibro " + std::to_string(n));
        store.SaveAudio(section, n, "pag" + TwoDigits(p) + ".mp3");
      }
    }
  }
  registry.Commit();
}

// The index page's listing, as page completion runs it.
struct IndexPage {
  explicit IndexPage(Registry& registry) : settings(registry), store(settings) {}
  Settings settings;
  BookmarkStore store;
  fakes::RecordingDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  BookmarkLists lists{store, report, [] { return std::string("INDEX.HTM"); }};

  void List() {
    lists.ClearMarcatori();
    lists.LoadIndexPage(Book(), "/book");
  }
  // Reports a benchmark whose listing went wrong instead of timing it.
  bool Check(benchmark::State& state) {
    if (!dialogs.ErrorReports().empty()) {
      state.SkipWithError(dialogs.ErrorReports().front().procedure.c_str());
      return false;
    }
    if (lists.ListMarkers.ListCount() != kBookmarks) {
      state.SkipWithError("wrong number of lines");
      return false;
    }
    return true;
  }
};

// A fresh pair of SQLite files per store.
class SqliteStore {
 public:
  SqliteStore() {
    static std::atomic<int> counter{0};
    dir_ = std::filesystem::temp_directory_path() /
           ("orva-bookmarks-bench-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(dir_);
    RegistryPaths paths{(dir_ / "registry.sqlite").string(), (dir_ / "machine.sqlite").string()};
    registry_ = std::make_unique<SqliteRegistry>(paths);
  }
  ~SqliteStore() {
    registry_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  SqliteRegistry& registry() { return *registry_; }

 private:
  std::filesystem::path dir_;
  std::unique_ptr<SqliteRegistry> registry_;
};

// --- In-memory store.

void BM_IndexPage_FirstLoad_Memory(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto registry = std::make_unique<MemoryRegistry>();
    SeedBookmarks(*registry);
    IndexPage page(*registry);
    state.ResumeTiming();
    page.List();
    state.PauseTiming();
    if (!page.Check(state)) break;
    page.lists.ClearMarcatori();
    registry.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_IndexPage_FirstLoad_Memory)->Unit(benchmark::kMillisecond)->Iterations(40);

void BM_IndexPage_SecondLoad_Memory(benchmark::State& state) {
  MemoryRegistry registry;
  SeedBookmarks(registry);
  IndexPage page(registry);
  page.List();
  for (auto _ : state) page.List();
  page.Check(state);
}
BENCHMARK(BM_IndexPage_SecondLoad_Memory)->Unit(benchmark::kMillisecond);

// --- SQLite store. The program commits once after the handled event; the
// first load is timed without and with that commit.

void FirstLoadSqlite(benchmark::State& state, bool withCommit) {
  for (auto _ : state) {
    state.PauseTiming();
    auto store = std::make_unique<SqliteStore>();
    SeedBookmarks(store->registry());
    IndexPage page(store->registry());
    state.ResumeTiming();
    page.List();
    if (withCommit) store->registry().Commit();
    state.PauseTiming();
    if (!page.Check(state)) break;
    page.lists.ClearMarcatori();
    store.reset();
    state.ResumeTiming();
  }
}

void BM_IndexPage_FirstLoad_Sqlite(benchmark::State& state) { FirstLoadSqlite(state, false); }
BENCHMARK(BM_IndexPage_FirstLoad_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_IndexPage_FirstLoadAndCommit_Sqlite(benchmark::State& state) { FirstLoadSqlite(state, true); }
BENCHMARK(BM_IndexPage_FirstLoadAndCommit_Sqlite)->Unit(benchmark::kMillisecond)->Iterations(15);

void BM_IndexPage_SecondLoad_Sqlite(benchmark::State& state) {
  SqliteStore store;
  SeedBookmarks(store.registry());
  IndexPage page(store.registry());
  page.List();
  store.registry().Commit();
  for (auto _ : state) {
    page.List();
    store.registry().Commit();  // nothing to write: the second load changes nothing
  }
  page.Check(state);
}
BENCHMARK(BM_IndexPage_SecondLoad_Sqlite)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orva
