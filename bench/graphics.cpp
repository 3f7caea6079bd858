// The drawing primitives the glyph renderer and the screens lean on: copying
// small layers (one per glyph), decoding glyph PNGs, tinting, shadows.
#include <benchmark/benchmark.h>

#include "platform/graphics/Context.h"
#include "platform/graphics/Layer.h"
#include "platform/ui/Image+Normalize.h"

namespace {

std::shared_ptr<cg::Layer> glyphLayer() {
  auto layer = cg::Layer::create({20, 40});
  layer->context().setFillColor(cg::Color::black());
  layer->context().addEllipseInRect(cg::Rect(2, 8, 16, 24));
  layer->context().fillPath();
  return layer;
}

// One glyph-sized layer copied at whole points across a page-wide surface.
void drawAcrossPage(benchmark::State& state, const cg::Layer& layer, float scale) {
  cg::Context ctx = cg::Context::bitmap(700, 400, scale);
  int i = 0;
  for (auto _ : state) {
    ctx.drawLayer(layer, cg::Point{float(i % 680), float((i / 680 * 40) % 360)});
    i += 13;
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_DrawLayerAtWholePoints(benchmark::State& state) { drawAcrossPage(state, *glyphLayer(), 1); }
BENCHMARK(BM_DrawLayerAtWholePoints);

// The same on a screen of scale 2, the layer made at scale 2 too.
void BM_DrawLayerAtScale2(benchmark::State& state) {
  auto layer = cg::Layer::create({20, 40}, 2);
  layer->context().fillRect(cg::Rect(2, 8, 16, 24));
  drawAcrossPage(state, *layer, 2);
}
BENCHMARK(BM_DrawLayerAtScale2);

// A kashida: a glyph stretched to a width.
void BM_DrawLayerStretched(benchmark::State& state) {
  auto layer = glyphLayer();
  cg::Context ctx = cg::Context::bitmap(700, 400, 1);
  for (auto _ : state) ctx.drawLayer(*layer, cg::Rect(100, 100, 37, 40));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawLayerStretched);

void BM_DecodeGlyphPNG(benchmark::State& state) {
  ns::Data png = glyphLayer()->makeImage()->pngData();
  for (auto _ : state) benchmark::DoNotOptimize(cg::Image::fromPNGData(png));
  state.SetBytesProcessed(state.iterations() * int64_t(png.size()));
}
BENCHMARK(BM_DecodeGlyphPNG);

void BM_CopyImageWithColor(benchmark::State& state) {
  auto image = ui::Image::imageWithCGImage(glyphLayer()->makeImage());
  for (auto _ : state) benchmark::DoNotOptimize(ui::copyImageWithColor(*image, cg::Color::fromRGB255(182, 0, 0)));
}
BENCHMARK(BM_CopyImageWithColor);

// A table cell's card: 300 x 60 points at scale 2; the argument is the blur.
void BM_FillRoundedRectWithShadow(benchmark::State& state) {
  cg::Context ctx = cg::Context::bitmap(320, 100, 2);
  ctx.setShadow({0, -2}, float(state.range(0)));
  ctx.setFillColor(cg::Color::white());
  for (auto _ : state) {
    ctx.addRoundedRect(cg::Rect(10, 10, 300, 60), 8);
    ctx.fillPath();
  }
}
BENCHMARK(BM_FillRoundedRectWithShadow)->Arg(0)->Arg(4);

void BM_FillRoundedRectPlain(benchmark::State& state) {
  cg::Context ctx = cg::Context::bitmap(320, 100, 2);
  ctx.setFillColor(cg::Color::white());
  for (auto _ : state) {
    ctx.addRoundedRect(cg::Rect(10, 10, 300, 60), 8);
    ctx.fillPath();
  }
}
BENCHMARK(BM_FillRoundedRectPlain);

}  // namespace

BENCHMARK_MAIN();
