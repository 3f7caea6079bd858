// gzip codecs on a 5 MB block of mixed data (repeated text with noise), next to
// zlib called directly with the whole output allocated up front. After the
// runs it prints our time over zlib's for deflate and inflate (1.00 = as fast).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "Classes/core/Data+Bzip2.h"

namespace {

constexpr std::size_t kBlock = 5u << 20;

const ns::Data& block() {
  static const ns::Data data = [] {
    const std::string verse =
        "Indeed, with hardship comes ease. Indeed, with hardship comes ease. So when you have "
        "finished your duties, then stand up for worship. And to your Lord direct your longing. ";
    std::mt19937 rng(42);
    ns::Data d;
    d.reserve(kBlock);
    while (d.size() < kBlock) {
      for (char c : verse) d.push_back(static_cast<std::uint8_t>(c));
      for (int i = 0; i < 48; ++i) d.push_back(static_cast<std::uint8_t>(rng()));  // noise
    }
    d.resize(kBlock);
    return d;
  }();
  return data;
}

ns::Data directDeflate(const ns::Data& in) {
  z_stream s{};
  deflateInit2(&s, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  ns::Data out(deflateBound(&s, in.size()));
  s.next_in = const_cast<Bytef*>(in.data());
  s.avail_in = static_cast<uInt>(in.size());
  s.next_out = out.data();
  s.avail_out = static_cast<uInt>(out.size());
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

ns::Data directInflate(const ns::Data& in, std::size_t size) {
  z_stream s{};
  inflateInit2(&s, 15 + 32);
  ns::Data out(size);
  s.next_in = const_cast<Bytef*>(in.data());
  s.avail_in = static_cast<uInt>(in.size());
  s.next_out = out.data();
  s.avail_out = static_cast<uInt>(out.size());
  inflate(&s, Z_FINISH);
  out.resize(s.total_out);
  inflateEnd(&s);
  return out;
}

void BM_gzipDeflate(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ns::gzipDeflate(block()));
  state.SetBytesProcessed(state.iterations() * kBlock);
  // Compressed size over input size; the figure of this program is the time
  // against the direct zlib runs below.
  state.counters["size_ratio"] = double(ns::gzipDeflate(block()).size()) / kBlock;
}

void BM_zlibDirectDeflate(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(directDeflate(block()));
  state.SetBytesProcessed(state.iterations() * kBlock);
}

void BM_gzipInflate(benchmark::State& state) {
  const ns::Data packed = ns::gzipDeflate(block());
  for (auto _ : state) benchmark::DoNotOptimize(ns::gzipInflate(packed));
  state.SetBytesProcessed(state.iterations() * kBlock);
}

void BM_zlibDirectInflate(benchmark::State& state) {
  const ns::Data packed = directDeflate(block());
  for (auto _ : state) benchmark::DoNotOptimize(directInflate(packed, kBlock));
  state.SetBytesProcessed(state.iterations() * kBlock);
}

BENCHMARK(BM_gzipDeflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_zlibDirectDeflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_gzipInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_zlibDirectInflate)->Unit(benchmark::kMillisecond);

// The console report, keeping each run's CPU time per iteration by name (steadier
// than wall time on a shared machine).
class TimeKeepingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) seconds[run.benchmark_name()] = run.cpu_accumulated_time / run.iterations;
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

void printRatio(const TimeKeepingReporter& times, const char* what, const std::string& ours, const std::string& zlib) {
  auto a = times.seconds.find(ours), b = times.seconds.find(zlib);
  if (a == times.seconds.end() || b == times.seconds.end() || !(b->second > 0)) return;
  std::printf("%-8s CPU time ratio ours/zlib: %.2f\n", what, a->second / b->second);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TimeKeepingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  printRatio(reporter, "deflate", "BM_gzipDeflate", "BM_zlibDirectDeflate");
  printRatio(reporter, "inflate", "BM_gzipInflate", "BM_zlibDirectInflate");
  return 0;
}
