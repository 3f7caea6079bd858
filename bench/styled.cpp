// The styled-text label's work on the reading screen: the transliteration of
// surah 2 (286 verses of markup, translation 10) parsed, laid out at the
// transliteration label's width (590 points on the 670-point verse row) in
// Helvetica 15 and drawn, beside pango laying out and drawing the same texts
// stripped of markup with one reused layout. The content database of the
// build is used when there is one; otherwise fixture verses with bold,
// italic and link markup. The ratio of the two times is printed at the end.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/graphics/Context.h"
#include "platform/text/Font.h"
#include "toolkit/styled/TKStyledText.h"
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
  ui::Font font = ui::Font::fontWithName("Helvetica", 15);
  cg::Context ctx = cg::Context::bitmap(kWidth, 200);
  float height = 0;
  for (auto _ : state) {
    height = 0;
    for (const std::string& markup : v.markup) {
      auto text = TKStyledText::textFromXHTML(markup);
      if (!text) continue;
      text->setFont(font);
      text->setWidth(kWidth);
      height += text->height();
      text->drawAtPoint(ctx, {0, 0});
    }
    benchmark::DoNotOptimize(height);
  }
  state.counters["verses"] = static_cast<double>(v.markup.size());
  state.counters["height"] = height;
  state.SetLabel(v.real ? "content database" : "fixture verses");
}
BENCHMARK(BM_StyledTextTransliterationSurah2)->Unit(benchmark::kMillisecond);

void BM_PangoPlainTransliterationSurah2(benchmark::State& state) {
  Verses& v = verses();
  ui::Font font = ui::Font::fontWithName("Helvetica", 15);
  cg::Context ctx = cg::Context::bitmap(kWidth, 200);
  cairo_t* cr = ctx.cairo();
  PangoLayout* layout = pango_cairo_create_layout(cr);
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
  state.counters["verses"] = static_cast<double>(v.plain.size());
  state.counters["height"] = height;
}
BENCHMARK(BM_PangoPlainTransliterationSurah2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench::runAndPrintRatios(argc, argv, [](const bench::TimeKeeper& times) {
    if (double ratio = times.ratio("BM_StyledTextTransliterationSurah2", "BM_PangoPlainTransliterationSurah2"))
      std::printf("styled text / pango: %.2f (%s)\n", ratio,
                  verses().real ? "surah 2 transliteration" : "fixture verses");
  });
}
