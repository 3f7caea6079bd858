// Hot paths of the foundation layer: UTF-16 counting and case-insensitive
// search over verse-length text, the defaults read path, the JSON codec of the
// defaults file and the run loop's post/run cycle.
#include <benchmark/benchmark.h>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/Value.h"

namespace {

const std::string kVerse =
    "In the name of God, the Most Gracious, the Most Merciful. Praise be to God, Lord of the "
    "worlds. \xD8\xA8\xD8\xB3\xD9\x85 \xD8\xA7\xD9\x84\xD9\x84\xD9\x87 The Most Gracious, the Most "
    "Merciful. Master of the Day of Judgment.";

void BM_Length16(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ns::length16(kVerse));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kVerse.size()));
}
BENCHMARK(BM_Length16);

void BM_RangeOfStringCaseInsensitive(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(ns::rangeOfString(kVerse, "JUDGMENT", ns::CaseInsensitiveSearch));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kVerse.size()));
}
BENCHMARK(BM_RangeOfStringCaseInsensitive);

// Reference: a plain byte search of the same text, case-sensitive.
void BM_StdFindReference(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(kVerse.find("Judgment"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kVerse.size()));
}
BENCHMARK(BM_StdFindReference);

void BM_Substring16(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ns::substring16(kVerse, 40, 30));
}
BENCHMARK(BM_Substring16);

ns::Dictionary registeredTable() {
  ns::Dictionary d;
  for (int i = 0; i < 27; ++i) d["Key" + std::to_string(i)] = "1";
  d["AppleLanguages"] = ns::Array{"en"};
  d["LastFridayRead"] = ns::Date(1767225600.5);
  return d;
}

void BM_DefaultsIntegerForKey(benchmark::State& state) {
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  defaults.resetForTesting();
  defaults.registerDefaults(registeredTable());
  defaults.setInteger(3, "Key5");
  for (auto _ : state) benchmark::DoNotOptimize(defaults.integerForKey("Key5") + defaults.integerForKey("Key9"));
  defaults.resetForTesting();
}
BENCHMARK(BM_DefaultsIntegerForKey);

void BM_JsonWriteAndRead(benchmark::State& state) {
  ns::Value v(registeredTable());
  for (auto _ : state) benchmark::DoNotOptimize(ns::Value::fromJSON(v.toJSON(true)));
}
BENCHMARK(BM_JsonWriteAndRead);

void BM_RunLoopPostAndRun(benchmark::State& state) {
  ns::RunLoop::resetForTesting();
  auto& loop = ns::RunLoop::main();
  int count = 0;
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) loop.post([&] { ++count; });
    loop.runUntilIdle();
  }
  benchmark::DoNotOptimize(count);
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_RunLoopPostAndRun);

}  // namespace

BENCHMARK_MAIN();
