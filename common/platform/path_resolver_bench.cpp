#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "common/platform/path_resolver.h"

namespace {

namespace fs = std::filesystem;

// A book folder of 40 chapters with 30 pages each, named in lower case and
// asked for in mixed case, as a page link written on Windows asks.
struct Book {
  fs::path root = fs::temp_directory_path() / "orva path bench";
  Book() {
    fs::remove_all(root);
    for (int c = 1; c <= 40; ++c)
      for (int p = 1; p <= 30; ++p) {
        const fs::path page = root / ("cap" + std::to_string(c)) / ("pag" + std::to_string(p) + ".htm");
        fs::create_directories(page.parent_path());
        std::ofstream(page) << "x";
      }
  }
  ~Book() { fs::remove_all(root); }
};

void ExactName(benchmark::State& state) {
  Book book;
  orva::CaseInsensitivePaths paths;
  const std::string path = (book.root / "cap17" / "pag12.htm").string();
  for (auto _ : state) benchmark::DoNotOptimize(paths.Resolve(path));
}
BENCHMARK(ExactName);

void OtherCaseCached(benchmark::State& state) {
  Book book;
  orva::CaseInsensitivePaths paths;
  const std::string path = (book.root / "CAP17" / "Pag12.HTM").string();
  for (auto _ : state) benchmark::DoNotOptimize(paths.Resolve(path));
}
BENCHMARK(OtherCaseCached);

void OtherCaseUncached(benchmark::State& state) {
  Book book;
  const std::string path = (book.root / "CAP17" / "Pag12.HTM").string();
  for (auto _ : state) {
    orva::CaseInsensitivePaths paths;
    benchmark::DoNotOptimize(paths.Resolve(path));
  }
}
BENCHMARK(OtherCaseUncached);

}  // namespace
