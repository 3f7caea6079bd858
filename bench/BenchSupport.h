#pragma once
// What the benchmark programs that set our code beside a reference share: the
// build's content database, the Uthmani text pango is given, a paragraph laid
// out by pango as a reading screen sets it, and a console report that keeps
// each benchmark's time so that main can print the ratios.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>
#include <unistd.h>

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
// real time per iteration in seconds, by its name and arguments
// ("BM_Parse/1").
class TimeKeeper : public benchmark::ConsoleReporter {
 public:
  TimeKeeper() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
        seconds_[name] = run.GetAdjustedRealTime() * unitSeconds(run.time_unit);
      }
    ConsoleReporter::ReportRuns(runs);
  }

  // The first benchmark's time over the second's, or 0 when either did not run.
  double ratio(const std::string& numerator, const std::string& denominator) const {
    auto a = seconds_.find(numerator), b = seconds_.find(denominator);
    if (a == seconds_.end() || b == seconds_.end() || !(b->second > 0)) return 0;
    return a->second / b->second;
  }

 private:
  static double unitSeconds(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kNanosecond: return 1e-9;
      case benchmark::kMicrosecond: return 1e-6;
      case benchmark::kMillisecond: return 1e-3;
      default: return 1;
    }
  }
  std::map<std::string, double> seconds_;
};

// Runs the benchmarks the command line selects, then prints the ratios.
inline int runAndPrintRatios(int argc, char** argv, const std::function<void(const TimeKeeper&)>& printRatios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TimeKeeper reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printRatios(reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
