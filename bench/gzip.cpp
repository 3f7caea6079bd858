// gzip codecs on a 5 MB block of mixed data (repeated text with noise), next to
// zlib called directly with the whole output allocated up front. After the
// runs it prints our speed over zlib's for deflate and inflate (1.00 = as fast).
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <random>
#include <string>

#include "Classes/core/Data+Bzip2.h"
#include "bench/BenchSupport.h"

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

}  // namespace

// CPU time (steadier than wall time on a shared machine), the median of five
// shuffled repetitions.
int main(int argc, char** argv) {
  return bench::runAndPrintRatios(
      argc, argv,
      [](const bench::TimeKeeper& times) {
        auto speed = [&](const char* what, const char* ours, const char* zlib, const char* goal) {
          if (double ratio = times.ratio(zlib, ours, bench::TimeKeeper::Clock::Cpu))
            std::printf("%-8s speed of ours over zlib's (CPU time): %.2f%s\n", what, ratio, goal);
        };
        std::printf("\n");
        speed("deflate", "BM_gzipDeflate", "BM_zlibDirectDeflate", "");
        speed("inflate", "BM_gzipInflate", "BM_zlibDirectInflate", "   (goal: at least 0.95)");
      },
      5);
}
