// The JSON codec on a typical 10 KB answer of the social network and on a
// 1 MB array of numbers. Our parse builds an owned ns::Value tree; the
// reference that builds the same product is simdjson's DOM parser (reused
// between runs) followed by a walk of its DOM into an ns::Value tree. Bare
// simdjson (its internal tape only) and nlohmann-json (a tree of its own owned
// values) run beside them for information; the writers are compared with
// nlohmann-json's and simdjson's serialisers. Each benchmark runs five times,
// shuffled with the others; the last lines print our median time over each
// reference's.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
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

// A double as the decimal the text most likely held: the shortest digits that
// read back as the same double.
ns::Value decimalValue(double number) {
  char text[32];
  const char* end = std::to_chars(text, text + sizeof text, number).ptr;
  const char* p = text;
  const bool negative = *p == '-';
  if (negative) ++p;
  std::uint64_t mantissa = 0;
  std::int64_t exponent = 0;
  bool fraction = false;
  for (; p != end && *p != 'e'; ++p) {
    if (*p == '.') {
      fraction = true;
      continue;
    }
    mantissa = mantissa * 10 + static_cast<unsigned>(*p - '0');
    if (fraction) --exponent;
  }
  if (p != end) exponent += std::strtol(p + 1, nullptr, 10);
  return ns::Value(*ns::Decimal::make(negative, mantissa, exponent));
}

// simdjson's DOM walked into the codec's own tree: numbers as decimals, as our
// parse keeps them.
ns::Value toValue(simdjson::dom::element element) {
  using Type = simdjson::dom::element_type;
  switch (element.type()) {
    case Type::ARRAY: {
      const simdjson::dom::array array = element.get_array().value_unsafe();
      ns::Array items;
      items.reserve(array.size());
      for (simdjson::dom::element item : array) items.push_back(toValue(item));
      return ns::Value(std::move(items));
    }
    case Type::OBJECT: {
      const simdjson::dom::object object = element.get_object().value_unsafe();
      ns::Dictionary members;
      for (simdjson::dom::key_value_pair member : object)
        members.insert_or_assign(std::string(member.key), toValue(member.value));
      return ns::Value(std::move(members));
    }
    case Type::STRING: return ns::Value(std::string(element.get_string().value_unsafe()));
    case Type::INT64: {
      const std::int64_t n = element.get_int64().value_unsafe();
      const std::uint64_t magnitude = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
      return ns::Value(*ns::Decimal::make(n < 0, magnitude, 0));
    }
    case Type::UINT64: return ns::Value(*ns::Decimal::make(false, element.get_uint64().value_unsafe(), 0));
    case Type::DOUBLE: return decimalValue(element.get_double().value_unsafe());
    case Type::BOOL: return ns::Value(element.get_bool().value_unsafe());
    case Type::NULL_VALUE: break;
  }
  return ns::Value(nullptr);
}

// The reference of like work: simdjson's DOM, then the walk into ns::Value.
void BM_Parse_SimdjsonToValue(benchmark::State& state) {
  const std::string& text = input(state.range(0));
  const simdjson::padded_string padded(text);
  simdjson::dom::parser parser;
  for (auto _ : state) {
    simdjson::dom::element doc;
    if (parser.parse(padded).get(doc)) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(toValue(doc));
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
JSON_BENCH(BM_Parse_SimdjsonToValue);
JSON_BENCH(BM_Write_Zarvel);
JSON_BENCH(BM_Write_Nlohmann);
JSON_BENCH(BM_Write_Simdjson);

}  // namespace

int main(int argc, char** argv) {
  return bench::runAndPrintRatios(
      argc, argv,
      [](const bench::TimeKeeper& times) {
        auto over = [&](const char* work, int which, const char* reference) {
          std::string arg = "/";
          arg += std::to_string(which);
          return times.ratio(std::string("BM_") + work + "_Zarvel" + arg, std::string("BM_") + work + "_" + reference + arg);
        };
        std::printf("\nOur median time over the reference's (below 1: ours is faster)\n");
        for (int which : {0, 1}) {
          // The goals are set on the megabyte of numbers.
          const bool goals = which == 1;
          if (double ratio = over("Parse", which, "SimdjsonToValue"))
            std::printf("Parse %-10s  vs simdjson DOM + walk into ns::Value %6.2f%s\n", inputName(which), ratio,
                        goals ? "   (goal: at most 1.5)" : "");
          if (double ratio = over("Parse", which, "Nlohmann"))
            std::printf("Parse %-10s  vs nlohmann-json                     %6.2f%s\n", inputName(which), ratio,
                        goals ? "   (goal: at most 0.5)" : "");
          if (double ratio = over("Parse", which, "Simdjson"))
            std::printf("Parse %-10s  vs bare simdjson DOM (information)   %6.2f\n", inputName(which), ratio);
        }
        for (int which : {0, 1}) {
          const double nlohmann = over("Write", which, "Nlohmann"), simd = over("Write", which, "Simdjson");
          if (nlohmann > 0 && simd > 0)
            std::printf("Write %-10s  vs nlohmann-json %6.2f   vs simdjson %6.2f\n", inputName(which), nlohmann, simd);
        }
      },
      5);
}
