// Costs of the conversions that run on every page load and key press:
// section keys (UCase of a path), positions and speeds read from and written
// to text, and address searches.
#include <benchmark/benchmark.h>

#include <string>

#include "common/runtime/codepage.h"
#include "common/runtime/conversions.h"
#include "common/runtime/text.h"

namespace orva {
namespace {

const std::string kAddress =
    "file:///C:/Libri/Storia Antica/capitolo01/Pagina perché 1.htm#ZUVPLAYER_AUDIO_POS=125";

void BM_UCasePath(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(UCase(kAddress));
}
BENCHMARK(BM_UCasePath);

void BM_InStrAfterAccents(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(InStr(1, kAddress, "ZUVPLAYER_AUDIO_POS"));
}
BENCHMARK(BM_InStrAfterAccents);

void BM_CDbl(benchmark::State& state) {
  ScopedNumberFormat format({',', '.'});
  for (auto _ : state) benchmark::DoNotOptimize(CDbl("1234,5678"));
}
BENCHMARK(BM_CDbl);

void BM_CStrDouble(benchmark::State& state) {
  ScopedNumberFormat format({',', '.'});
  double value = 0.1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(CStr(value));
    value += 0.1;
  }
}
BENCHMARK(BM_CStrDouble);

void BM_Utf8ToCp1252(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToCp1252(kAddress));
}
BENCHMARK(BM_Utf8ToCp1252);

}  // namespace
}  // namespace orva
