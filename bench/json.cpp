// The JSON codec on a typical 10 KB answer of the social network and on a
// 1 MB array of numbers, beside nlohmann-json (a tree of owned values, like
// ours) and simdjson (its DOM parser, reused between runs, and its
// serialiser). The last lines print our time over each reference's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <random>
#include <simdjson.h>
#include <string>

#include "bench/BenchSupport.h"
#include "src/JSON/JSONCodec.h"

namespace {

// A feed page: posts with authors, messages (Arabic, escapes), likes and comments.
const std::string& answer10K() {
  static const std::string text = [] {
    std::mt19937 rng(7);
    std::string posts;
    for (int i = 0; posts.size() < 9600; ++i) {
      const std::string id = std::to_string(100000000 + rng() % 900000000);
      if (i) posts += ",";
      posts += "{\"id\":\"" + id + "_" + std::to_string(i) + "\",\"from\":{\"name\":\"Reader " + std::to_string(i) +
               "\",\"id\":\"" + id + "\"},\"message\":\"Indeed, with hardship comes ease.\\n"
               "\\u0641\\u064e\\u0625\\u0650\\u0646\\u0651\\u064e \\\"verse\\\" 94:5\","
               "\"created_time\":\"2010-06-0" + std::to_string(1 + i % 9) + "T10:00:00+0000\","
               "\"likes\":{\"data\":[{\"name\":\"Friend\",\"id\":\"" + std::to_string(rng() % 1000000) +
               "\"}],\"count\":" + std::to_string(rng() % 500) + "},\"score\":" + std::to_string(rng() % 1000) +
               "." + std::to_string(rng() % 100) + ",\"is_published\":true,\"place\":null}";
    }
    return "{\"data\":[" + posts + "],\"paging\":{\"next\":\"https://graph.example/me/feed?limit=25&until=1275386400\"}}";
  }();
  return text;
}

// Integers and decimals in a flat array.
const std::string& numbers1M() {
  static const std::string text = [] {
    std::mt19937 rng(42);
    std::string out = "[";
    while (out.size() < (1u << 20)) {
      if (out.size() > 1) out += ",";
      switch (rng() % 4) {
        case 0: out += std::to_string(rng() % 100000); break;
        case 1: out += "-" + std::to_string(rng() % 1000) + "." + std::to_string(rng() % 10000); break;
        case 2: out += std::to_string(rng() % 10) + "." + std::to_string(rng() % 1000000) + "e-" + std::to_string(rng() % 20); break;
        default: out += std::to_string(rng()) + std::to_string(rng() % 1000); break;
      }
    }
    return out + "]";
  }();
  return text;
}

const std::string& input(int which) { return which == 0 ? answer10K() : numbers1M(); }
const char* inputName(int which) { return which == 0 ? "answer10K" : "numbers1M"; }

void BM_Parse_Zarvel(benchmark::State& state) {
  const std::string& text = input(state.range(0));
  for (auto _ : state) {
    JSONCodec codec;
    auto value = codec.objectWithString(text);
    if (!value) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(value);
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_Parse_Nlohmann(benchmark::State& state) {
  const std::string& text = input(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(text));
  state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_Parse_Simdjson(benchmark::State& state) {
  const std::string& text = input(state.range(0));
  const simdjson::padded_string padded(text);
  simdjson::dom::parser parser;
  for (auto _ : state) {
    simdjson::dom::element doc;
    if (parser.parse(padded).get(doc)) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(doc);
  }
  state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_Write_Zarvel(benchmark::State& state) {
  const std::string& text = input(state.range(0));
  JSONCodec codec;
  const ns::Value value = *codec.objectWithString(text);
  for (auto _ : state) benchmark::DoNotOptimize(codec.stringWithObject(value));
  state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_Write_Nlohmann(benchmark::State& state) {
  const std::string& text = input(state.range(0));
  const nlohmann::json value = nlohmann::json::parse(text);
  for (auto _ : state) benchmark::DoNotOptimize(value.dump());
  state.SetBytesProcessed(state.iterations() * text.size());
}

void BM_Write_Simdjson(benchmark::State& state) {
  const std::string& text = input(state.range(0));
  const simdjson::padded_string padded(text);
  simdjson::dom::parser parser;
  simdjson::dom::element doc = parser.parse(padded).value();
  for (auto _ : state) benchmark::DoNotOptimize(simdjson::to_string(doc));
  state.SetBytesProcessed(state.iterations() * text.size());
}

#define JSON_BENCH(fn) BENCHMARK(fn)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)
JSON_BENCH(BM_Parse_Zarvel);
JSON_BENCH(BM_Parse_Nlohmann);
JSON_BENCH(BM_Parse_Simdjson);
JSON_BENCH(BM_Write_Zarvel);
JSON_BENCH(BM_Write_Nlohmann);
JSON_BENCH(BM_Write_Simdjson);

}  // namespace

int main(int argc, char** argv) {
  return bench::runAndPrintRatios(argc, argv, [](const bench::TimeKeeper& times) {
    std::printf("\nTime of the codec over the reference's (below 1: the codec is faster)\n");
    for (const char* work : {"Parse", "Write"}) {
      for (int which : {0, 1}) {
        auto over = [&](const char* reference) {
          const std::string arg = "/" + std::to_string(which);
          return times.ratio(std::string("BM_") + work + "_Zarvel" + arg, std::string("BM_") + work + "_" + reference + arg);
        };
        const double nlohmann = over("Nlohmann"), simd = over("Simdjson");
        if (nlohmann > 0 && simd > 0)
          std::printf("%s %-10s  vs nlohmann-json %6.2f   vs simdjson %6.2f\n", work, inputName(which), nlohmann, simd);
      }
    }
  });
}
