#pragma once
// What the benchmark programs that set our code beside a reference share: the
// build's content database, the Uthmani text pango is given, a paragraph laid
// out by pango as a reading screen sets it, and a console report that keeps
// each benchmark's time so that main can print the ratios.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/foundation/Paths.h"

#ifdef ZARVEL_QURAN_JSON
#include "tools/contentdb/QuranText.h"
#endif

namespace bench {

// The content database of the build, or "" when the build has none.
inline std::string builtContentDatabase() {
  const std::string path = ns::builtResourceDirectory() + "/zarvel.db";
  return std::filesystem::exists(path) ? path : std::string();
}

#ifdef ZARVEL_QURAN_JSON
// The vowelled Uthmani text of a surah's verses from quran-json, which the
// glyph codes were made from; none when the file cannot be read.
inline std::vector<std::string> uthmaniVerses(int surah) {
  std::vector<std::string> verses;
  try {
    for (const auto& verse : contentdb::loadVerses(ZARVEL_QURAN_JSON, "text"))
      if (verse.surah == surah) verses.push_back(verse.text);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "no Uthmani text: %s\n", e.what());
  }
  return verses;
}
#endif

// A paragraph as pango sets it in a layout of its own: wrapped at words to
// the width, right-aligned (and justified, if asked) for Arabic.
struct PangoParagraph {
  PangoFontDescription* font = nullptr;
  int width = 0;
  bool rightAligned = false;
  bool justified = false;

  // The text's height in pixels.
  int measure(cairo_t* cr, const std::string& text) const { return layOut(cr, text, nullptr); }
  // Draws the text with its top left at (x, y); its height in pixels.
  int draw(cairo_t* cr, const std::string& text, double x, double y) const {
    const double at[] = {x, y};
    return layOut(cr, text, at);
  }

 private:
  int layOut(cairo_t* cr, const std::string& text, const double* at) const {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    if (rightAligned) pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
    if (justified) pango_layout_set_justify(layout, true);
    pango_layout_set_text(layout, text.c_str(), -1);
    int w, h;
    pango_layout_get_pixel_size(layout, &w, &h);
    if (at) {
      cairo_move_to(cr, at[0], at[1]);
      pango_cairo_show_layout(cr, layout);
    }
    g_object_unref(layout);
    return h;
  }
};

// The console report (without colours when piped), keeping each benchmark's
// time per iteration in seconds, by its name and arguments ("BM_Parse/1"):
// the median of its repetitions when it ran more than once.
class TimeKeeper : public benchmark::ConsoleReporter {
 public:
  enum class Clock { Real, Cpu };

  TimeKeeper() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      std::string name = run.run_name.function_name;
      if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
      const double scale = unitSeconds(run.time_unit);
      const Times times{run.GetAdjustedRealTime() * scale, run.GetAdjustedCPUTime() * scale};
      if (run.run_type == Run::RT_Iteration)
        samples_[name].push_back(times);
      else if (run.aggregate_name == "median")
        medians_[name] = times;
      else
        continue;
      for (const auto& [counter, value] : run.counters) counters_[counter] = value.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The benchmark's time per iteration in seconds (the median of its
  // repetitions), or 0 when it did not run.
  double seconds(const std::string& name, Clock clock = Clock::Real) const {
    Times times;
    if (auto m = medians_.find(name); m != medians_.end()) {
      times = m->second;
    } else if (auto s = samples_.find(name); s != samples_.end() && !s->second.empty()) {
      std::vector<Times> runs = s->second;
      std::sort(runs.begin(), runs.end(), [clock](const Times& a, const Times& b) { return a.of(clock) < b.of(clock); });
      times = runs[runs.size() / 2];
    } else {
      return 0;
    }
    return times.of(clock);
  }

  // A counter's value in the last run that set it (the median of its
  // repetitions when they are shown), or 0.
  double counter(const std::string& name) const {
    auto c = counters_.find(name);
    return c == counters_.end() ? 0 : c->second;
  }

  // The first benchmark's time over the second's, or 0 when either did not run.
  double ratio(const std::string& numerator, const std::string& denominator, Clock clock = Clock::Real) const {
    const double a = seconds(numerator, clock), b = seconds(denominator, clock);
    return a > 0 && b > 0 ? a / b : 0;
  }

 private:
  struct Times {
    double real = 0, cpu = 0;
    double of(Clock clock) const { return clock == Clock::Real ? real : cpu; }
  };
  static double unitSeconds(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kNanosecond: return 1e-9;
      case benchmark::kMicrosecond: return 1e-6;
      case benchmark::kMillisecond: return 1e-3;
      default: return 1;
    }
  }
  std::map<std::string, std::vector<Times>> samples_;
  std::map<std::string, Times> medians_;
  std::map<std::string, double> counters_;
};

// Runs the benchmarks the command line selects, then prints the ratios. With
// `repetitions` above 1, and unless the command line says otherwise, each
// benchmark runs that many times, the runs of all of them shuffled together
// (so that a spell of load on a shared machine falls on both sides of a
// ratio), and only the aggregates are shown; the ratios are of medians.
inline int runAndPrintRatios(int argc, char** argv, const std::function<void(const TimeKeeper&)>& printRatios,
                             int repetitions = 1) {
  std::vector<std::string> added;
  auto byDefault = [&](const std::string& flag, const std::string& value) {
    for (int i = 1; i < argc; ++i)
      if (std::string(argv[i]).rfind(flag + "=", 0) == 0) return;
    added.push_back(flag + "=" + value);
  };
  if (repetitions > 1) {
    byDefault("--benchmark_repetitions", std::to_string(repetitions));
    byDefault("--benchmark_enable_random_interleaving", "true");
    byDefault("--benchmark_display_aggregates_only", "true");
  }
  std::vector<char*> args(argv, argv + argc);
  for (std::string& flag : added) args.push_back(flag.data());
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  TimeKeeper reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printRatios(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
