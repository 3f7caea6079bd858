// The styled-text label's work on the reading screen: the transliteration of
// surah 2 (286 verses, translation 10) given to one label as the verse rows
// give it (setHtml), laid out at the label's width on the 670-point verse row
// (590 points) in Helvetica 15, measured and drawn; beside pango laying out
// and drawing the same texts stripped of markup with one reused layout. The
// content database of the build is used when there is one; otherwise fixture
// verses with bold, italic and link markup. The ratio of the two times is
// printed at the end, and for information the ratio to pango with the
// platform's text set-up (unhinted, unrounded), which the label shares.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/graphics/Context.h"
#include "platform/text/Font.h"
#include "platform/text/TextConfiguration.h"
#include "toolkit/styled/TKStyledText.h"
#include "toolkit/styled/TKStyledTextLabel.h"
#include "toolkit/styled/TKStyledTextParser.h"

namespace {

constexpr float kWidth = 590;
constexpr int kVerses = 286;

struct Verses {
  std::vector<std::string> markup, plain;
  bool real = false;
};

Verses load() {
  Verses v;
  const std::string path = bench::builtContentDatabase();
  sqlite3* db = nullptr;
  if (!path.empty() && sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    const char* sql =
        "SELECT translation FROM transliterationdata WHERE CAST(surah AS INTEGER) = 2 "
        "ORDER BY CAST(verse AS INTEGER)";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK) {
      while (sqlite3_step(st) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st, 0);
        v.markup.push_back(t ? reinterpret_cast<const char*>(t) : "");
      }
      sqlite3_finalize(st);
    }
    sqlite3_close(db);
  }
  v.real = static_cast<int>(v.markup.size()) == kVerses;
  if (!v.real) {
    v.markup.clear();
    for (int i = 0; i < kVerses; ++i) {
      v.markup.push_back("Thalika <b>alkitabu</b> la rayba feehi <i>hudan</i> lilmuttaqeena allatheena yu/minoona "
                         "bialghaybi wayuqeemoona alssalata wamimma razaqnahum yunfiqoona, see http://example.org " +
                         std::to_string(i + 1));
    }
  }
  for (const auto& m : v.markup) v.plain.push_back(TKStyledTextStripTags(m));
  return v;
}

Verses& verses() {
  static Verses v = load();
  return v;
}

void BM_StyledTextTransliterationSurah2(benchmark::State& state) {
  Verses& v = verses();
  cg::Context ctx = cg::Context::bitmap(kWidth, 200);
  TKStyledTextLabel label(cg::Rect(65, 0, kWidth, 40));
  label.setBackgroundColor(cg::Color::clear());
  label.setFont(ui::Font::fontWithName("Helvetica", 15));
  float height = 0;
  for (auto _ : state) {
    height = 0;
    for (const std::string& markup : v.markup) {
      label.setHtml(markup);
      label.layoutIfNeeded();
      height += label.sizeThatFits({kWidth, 0}).height;
      label.drawRect(ctx, label.bounds());
    }
    benchmark::DoNotOptimize(height);
  }
  state.counters["verses"] = static_cast<double>(v.markup.size());
  state.counters["height"] = height;
  state.SetLabel(v.real ? "content database" : "fixture verses");
}
BENCHMARK(BM_StyledTextTransliterationSurah2)->Unit(benchmark::kMillisecond);

// Pango on the plain texts with one reused layout: on the cairo context's own
// set-up, or on the platform's (the toolkit's context is made like it).
void pangoPlain(benchmark::State& state, bool platformSetUp) {
  Verses& v = verses();
  ui::Font font = ui::Font::fontWithName("Helvetica", 15);
  cg::Context ctx = cg::Context::bitmap(kWidth, 200);
  cairo_t* cr = ctx.cairo();
  PangoContext* platform = platformSetUp ? ui::newConfiguredPangoContext() : nullptr;
  PangoLayout* layout = platform ? pango_layout_new(platform) : pango_cairo_create_layout(cr);
  pango_layout_set_font_description(layout, font.pangoDescription());
  pango_layout_set_width(layout, static_cast<int>(kWidth * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  float height = 0;
  for (auto _ : state) {
    height = 0;
    for (const std::string& text : v.plain) {
      pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
      int w = 0, h = 0;
      pango_layout_get_size(layout, &w, &h);
      height += static_cast<float>(h) / PANGO_SCALE;
      cairo_move_to(cr, 0, 0);
      pango_cairo_show_layout(cr, layout);
    }
    benchmark::DoNotOptimize(height);
  }
  g_object_unref(layout);
  if (platform) g_object_unref(platform);
  state.counters["verses"] = static_cast<double>(v.plain.size());
  state.counters["height"] = height;
}

void BM_PangoPlainTransliterationSurah2(benchmark::State& state) { pangoPlain(state, false); }
BENCHMARK(BM_PangoPlainTransliterationSurah2)->Unit(benchmark::kMillisecond);

void BM_PangoPlatformSetUpTransliterationSurah2(benchmark::State& state) { pangoPlain(state, true); }
BENCHMARK(BM_PangoPlatformSetUpTransliterationSurah2)->Unit(benchmark::kMillisecond);

}  // namespace

// Each benchmark runs nine times, shuffled with the others, so that a spell of
// load on the shared machine falls on both sides of a ratio; the ratios are of
// the medians, of real and of CPU time.
int main(int argc, char** argv) {
  return bench::runAndPrintRatios(
      argc, argv,
      [](const bench::TimeKeeper& times) {
        std::printf("\nStyled text's median time over pango's on the same verses (%s)\n",
                    verses().real ? "surah 2 transliteration" : "fixture verses");
        std::printf("%-52s %6s %6s\n", "", "real", "CPU");
        auto ratio = [&](const char* what, const char* reference) {
          const char* ours = "BM_StyledTextTransliterationSurah2";
          const double real = times.ratio(ours, reference);
          const double cpu = times.ratio(ours, reference, bench::TimeKeeper::Clock::Cpu);
          if (real > 0 && cpu > 0) std::printf("%-52s %6.2f %6.2f\n", what, real, cpu);
        };
        ratio("styled text / pango (goal: at most 1.2)", "BM_PangoPlainTransliterationSurah2");
        ratio("styled text / pango in the platform's set-up (info)", "BM_PangoPlatformSetUpTransliterationSurah2");
      },
      9);
}
