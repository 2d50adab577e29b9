// What the store costs where the player leans on it: the index page of a
// large book reads every bookmark number of every page twice; an import or
// a burst of writes commits thousands of values at once.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "backends/posix/posix_file_system.h"
#include "backends/sqlite_registry/sqlite_registry.h"
#include "common/settings/memory_registry.h"
#include "common/settings/settings.h"
#include "player/registry/Registro.h"

namespace orva {
namespace {

const std::string kApp = "ZUV MediaPlayer";

std::string TempFolder() {
  char name[] = "/tmp/orva-registry-bench-XXXXXX";
  return mkdtemp(name) ? name : "/tmp/orva-registry-bench";
}

RegistryPaths PathsIn(const std::string& folder) {
  return {folder + "/registry.sqlite", folder + "/machine.sqlite"};
}

std::string Page(int p) { return "LIBRO\\CAP" + std::to_string(p) + ".HTM"; }

// `bookmarks` bookmarks, 30 per page, three values each.
void FillBookmarks(Registry& reg, int bookmarks) {
  Settings settings(reg);
  for (int b = 0; b < bookmarks; ++b) {
    const std::string page = Page(b / 30);
    const std::string n = std::to_string(b % 30 + 1);
    settings.SaveSetting(kApp, page, n, std::to_string(b * 7));
    settings.SaveSetting(kApp, page, n + "NOME", "Segnalibro numero " + std::to_string(b));
    settings.SaveSetting(kApp, page, n + "NOMEAUDIO", "cap" + std::to_string(b / 30) + ".mp3");
  }
  reg.Commit();
}

// The store of 3,000 bookmarks (9,000 values), made once.
const std::string& StoreOf3000() {
  static const std::string folder = [] {
    std::string f = TempFolder();
    SqliteRegistry reg(PathsIn(f));
    FillBookmarks(reg, 3000);
    return f;
  }();
  return folder;
}

// 200,000 reads: numbers 1 to 100 of each of the 100 pages, twice, ten
// times over; a third of them present. The page's section key and the
// numbers' texts are made once, as the player makes them once per page.
template <class Read>
void ReadIndexPages(benchmark::State& state, Read&& read) {
  std::vector<std::string> pages, numbers;
  for (int p = 0; p < 100; ++p) pages.push_back(Page(p));
  for (int n = 1; n <= 100; ++n) numbers.push_back(std::to_string(n));
  for (auto _ : state) {
    std::size_t found = 0;
    for (int round = 0; round < 10; ++round)
      for (const std::string& page : pages)
        for (int twice = 0; twice < 2; ++twice)
          for (const std::string& n : numbers) found += read(page, n) != "vuoto";
    if (found != 60000) state.SkipWithError("wrong number of bookmarks found");
  }
  state.SetItemsProcessed(state.iterations() * 200000);
}

void BM_Read200kFromCopyInMemory(benchmark::State& state) {
  SqliteRegistry reg(PathsIn(StoreOf3000()));
  Settings settings(reg);
  ReadIndexPages(state, [&](const std::string& page, const std::string& n) {
    return settings.GetSetting(kApp, page, n, "vuoto");
  });
}
BENCHMARK(BM_Read200kFromCopyInMemory)->Unit(benchmark::kMillisecond);

// The comparison: the same reads, each one a query to SQLite.
void BM_Read200kOneQueryEach(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2((StoreOf3000() + "/registry.sqlite").c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(db, "SELECT data FROM vals WHERE root = ?1 AND key = ?2 AND folded = ?3", -1, &query,
                     nullptr);
  const std::string prefix = std::string(kVbSettingsKey) + "\\" + kApp + "\\";
  ReadIndexPages(state, [&](const std::string& page, const std::string& n) {
    const std::string key = FoldRegistryName(prefix + page), name = FoldRegistryName(n);
    sqlite3_bind_int64(query, 1, kHkeyCurrentUser);
    sqlite3_bind_text(query, 2, key.data(), static_cast<int>(key.size()), nullptr);
    sqlite3_bind_text(query, 3, name.data(), static_cast<int>(name.size()), nullptr);
    std::string value = "vuoto";
    if (sqlite3_step(query) == SQLITE_ROW)
      value.assign(static_cast<const char*>(sqlite3_column_blob(query, 0)),
                   static_cast<std::size_t>(sqlite3_column_bytes(query, 0)));
    sqlite3_reset(query);
    return value;
  });
  sqlite3_finalize(query);
  sqlite3_close(db);
}
BENCHMARK(BM_Read200kOneQueryEach)->Unit(benchmark::kMillisecond);

void BM_Write10kAndCommit(benchmark::State& state) {
  const std::string folder = TempFolder();
  SqliteRegistry reg(PathsIn(folder));
  Settings settings(reg);
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (int i = 0; i < 10000; ++i)
      settings.SaveSetting(kApp, Page(i / 100), std::to_string(i % 100 + 1), std::to_string(round));
    reg.Commit();
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Write10kAndCommit)->Unit(benchmark::kMillisecond);

void BM_OpenStoreOf9000Values(benchmark::State& state) {
  const RegistryPaths paths = PathsIn(StoreOf3000());
  for (auto _ : state) {
    SqliteRegistry reg(paths);
    benchmark::DoNotOptimize(&reg);
  }
}
BENCHMARK(BM_OpenStoreOf9000Values)->Unit(benchmark::kMillisecond);

// 10,000 bookmarks (30,000 values) out to a file and back in.
struct TenThousand {
  std::string folder = TempFolder();
  std::unique_ptr<SqliteRegistry> reg = std::make_unique<SqliteRegistry>(PathsIn(folder));
  PosixFileSystem fs;
  TenThousand() { FillBookmarks(*reg, 10000); }
};

void BM_Export10kBookmarks(benchmark::State& state) {
  TenThousand store;
  Registro registro(*store.reg, store.fs);
  const std::string file = store.folder + "/segnalibri.reg";
  for (auto _ : state) {
    const RegTextWriteResult w =
        registro.SaveKeyAsRegText(kHkeyCurrentUser, kPlayerSettingsSubtree, file, true, false);
    if (!w.written) state.SkipWithError("export failed");
  }
}
BENCHMARK(BM_Export10kBookmarks)->Unit(benchmark::kMillisecond);

void BM_Import10kBookmarksAndCommit(benchmark::State& state) {
  TenThousand store;
  Registro registro(*store.reg, store.fs);
  const std::string file = store.folder + "/segnalibri.reg";
  registro.SaveKeyAsRegText(kHkeyCurrentUser, kPlayerSettingsSubtree, file, true, false);
  for (auto _ : state) {
    const RegImportSummary s = registro.ImportRegFile(file);
    store.reg->Commit();
    if (!s.Complete() || s.values != 30000) state.SkipWithError("import incomplete");
  }
}
BENCHMARK(BM_Import10kBookmarksAndCommit)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orva
