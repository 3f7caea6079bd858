// Measuring translation text: the data store sizes every translation row with
// heightForWidth. Our measurer reuses one pango layout behind a lock and keeps
// recent answers; the reference builds a cairo surface, context and layout per call.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include "platform/text/TextMeasure.h"

namespace {

const char* kVerse =
    "In the name of God, the Most Gracious, the Most Merciful. Praise be to God, Lord of the "
    "worlds. The Most Gracious, the Most Merciful. Master of the Day of Judgment.";

void BM_MeasurerHeightForWidth(benchmark::State& state) {
  ui::PangoMeasurer measurer;
  ui::Font font = ui::Font::systemFontOfSize(15);
  for (auto _ : state) benchmark::DoNotOptimize(measurer.heightForWidth(kVerse, font, 300));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MeasurerHeightForWidth);

// Distinct texts each time: every call shapes (the cache never answers).
void BM_MeasurerHeightForWidthUncached(benchmark::State& state) {
  ui::PangoMeasurer measurer;
  ui::Font font = ui::Font::systemFontOfSize(15);
  std::string text = kVerse;
  long i = 0;
  for (auto _ : state) {
    std::string numbered = text + std::to_string(i++);
    benchmark::DoNotOptimize(measurer.heightForWidth(numbered, font, 300));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MeasurerHeightForWidthUncached);

void BM_RawPangoFreshLayoutPerCall(benchmark::State& state) {
  ui::Font font = ui::Font::systemFontOfSize(15);
  for (auto _ : state) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_layout_set_font_description(layout, font.pangoDescription());
    pango_layout_set_width(layout, 300 * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_text(layout, kVerse, -1);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    benchmark::DoNotOptimize(logical.height);
    g_object_unref(layout);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RawPangoFreshLayoutPerCall);

void BM_MeasurerWidthShortWord(benchmark::State& state) {
  ui::PangoMeasurer measurer;
  ui::Font font = ui::Font::systemFontOfSize(15);
  for (auto _ : state) benchmark::DoNotOptimize(measurer.width("Merciful", font));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MeasurerWidthShortWord);

}  // namespace

BENCHMARK_MAIN();
