// The text view with a large text: setting it, a keystroke at its end, a
// frame drawn scrolled to the middle and a caret move by line. Each runs on a
// text of 8 KB beside one of 1 MB: only the paragraphs in view are laid out,
// so a keystroke and a frame should cost about the same for both.
#include <benchmark/benchmark.h>

#include "platform/foundation/Clock.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Window.h"

namespace {

std::string textOfSize(std::size_t bytes) {
  std::string paragraph = "In the name of God, the most gracious, the most merciful, a paragraph of about a "
                          "hundred and forty characters that wraps onto two lines of the view.";
  std::string text;
  while (text.size() < bytes) text += paragraph + "\n";
  return text;
}

struct Editor {
  std::shared_ptr<ns::VirtualClock> clock = ns::VirtualClock::install();
  std::shared_ptr<ui::Window> window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
  std::shared_ptr<ui::TextView> view = std::make_shared<ui::TextView>(cg::Rect(0, 0, 700, 700));
  explicit Editor(const std::string& text) {
    window->makeKeyAndVisible();
    window->addSubview(view);
    view->setFont(ui::Font::fontWithName("Helvetica-Bold", 15));
    view->setText(text);
  }
  ~Editor() { ui::Keyboard::shared().resetForTesting(); }
};

void BM_TextViewSetText(benchmark::State& state) {
  std::string text = textOfSize(std::size_t(state.range(0)) << 10);
  Editor editor("");
  for (auto _ : state) editor.view->setText(text);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_TextViewSetText)->Arg(8)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_TextViewKeystrokeAtEnd(benchmark::State& state) {
  std::string text = textOfSize(std::size_t(state.range(0)) << 10);
  Editor editor(text);
  editor.view->becomeFirstResponder();
  editor.view->setSelectedRange({ns::length16(text), 0});
  bool add = true;
  for (auto _ : state) {
    if (add) editor.window->sendKey({"", "a", 0});
    else editor.window->sendKey({"BackSpace", "", 0});
    add = !add;
  }
}
BENCHMARK(BM_TextViewKeystrokeAtEnd)->Arg(8)->Arg(1024)->Unit(benchmark::kMicrosecond);

void BM_TextViewFrameInTheMiddle(benchmark::State& state) {
  std::string text = textOfSize(std::size_t(state.range(0)) << 10);
  Editor editor(text);
  editor.view->setContentOffset({0, editor.view->contentSize().height / 2});
  auto ctx = cg::Context::bitmap(1024, 768, 1);
  for (auto _ : state) editor.window->render(ctx);
}
BENCHMARK(BM_TextViewFrameInTheMiddle)->Arg(8)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_TextViewCaretDownALine(benchmark::State& state) {
  std::string text = textOfSize(std::size_t(state.range(0)) << 10);
  Editor editor(text);
  editor.view->becomeFirstResponder();
  editor.view->setSelectedRange({0, 0});
  for (auto _ : state) {
    editor.window->sendKey({"Down", "", 0});
    if (editor.view->selectedRange().location > 4000) editor.view->setSelectedRange({0, 0});
  }
}
BENCHMARK(BM_TextViewCaretDownALine)->Arg(8)->Arg(1024)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
