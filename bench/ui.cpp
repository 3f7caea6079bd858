// The UI layer's hot paths: drawing the whole window (what every frame of the
// window backend costs), hit testing a deep tree, and animation ticks.
#include <benchmark/benchmark.h>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Context.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Window.h"

namespace {

// A window of rows (like a table of 20 rows with 10 cells each).
std::shared_ptr<ui::Window> makeWindow() {
  auto window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
  window->setBackgroundColor(cg::Color::white());
  for (int r = 0; r < 20; ++r) {
    auto row = std::make_shared<ui::View>(cg::Rect(0, r * 38.0f, 1024, 38));
    row->setBackgroundColor(r % 2 ? cg::Color::gray(0.95f) : cg::Color::white());
    for (int c = 0; c < 10; ++c) {
      auto cell = std::make_shared<ui::View>(cg::Rect(c * 100.0f + 4, 4, 92, 30));
      cell->setBackgroundColor(cg::Color::fromRGB255(40 + 20 * c, 90, 160, 0.8f));
      row->addSubview(cell);
    }
    window->addSubview(row);
  }
  window->makeKeyAndVisible();
  return window;
}

void BM_RenderWindow(benchmark::State& state) {
  auto window = makeWindow();
  auto ctx = cg::Context::bitmap(1024, 768, 1);
  for (auto _ : state) window->render(ctx);
}
BENCHMARK(BM_RenderWindow)->Unit(benchmark::kMillisecond);

void BM_RenderWindowWithAlert(benchmark::State& state) {
  ns::VirtualClock::install();
  auto window = makeWindow();
  auto alert = std::make_shared<ui::AlertView>(
      "Update Notice", "A message of two lines or so, wrapped inside the alert box.",
      std::weak_ptr<ui::AlertViewDelegate>(), "OK");
  alert->show();
  auto ctx = cg::Context::bitmap(1024, 768, 1);
  for (auto _ : state) window->render(ctx);
  ui::ButtonPanel::resetForTesting();
}
BENCHMARK(BM_RenderWindowWithAlert)->Unit(benchmark::kMillisecond);

void BM_HitTestDeepTree(benchmark::State& state) {
  auto window = makeWindow();
  std::shared_ptr<ui::View> parent = std::make_shared<ui::View>(cg::Rect(0, 0, 1024, 768));
  window->addSubview(parent);
  for (int i = 0; i < state.range(0); ++i) {
    auto child = std::make_shared<ui::View>(cg::Rect(1, 1, 1000 - i, 700 - i));
    parent->addSubview(child);
    parent = child;
  }
  for (auto _ : state) benchmark::DoNotOptimize(window->hitTest({300, 300}));
}
BENCHMARK(BM_HitTestDeepTree)->Arg(10)->Arg(100);

void BM_AnimateHundredViews(benchmark::State& state) {
  auto clock = ns::VirtualClock::install();
  auto window = makeWindow();
  std::vector<std::shared_ptr<ui::View>> views;
  for (int i = 0; i < 100; ++i) {
    views.push_back(std::make_shared<ui::View>(cg::Rect(0, 0, 10, 10)));
    window->addSubview(views.back());
  }
  for (auto _ : state) {
    ui::View::beginAnimations("Bench");
    ui::View::setAnimationDuration(1.0);
    for (auto& v : views) v->setFrame(v->frame().offsetBy(1, 1));
    ui::View::commitAnimations();
    clock->advance(1.1);  // about 66 ticks
  }
}
BENCHMARK(BM_AnimateHundredViews)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
