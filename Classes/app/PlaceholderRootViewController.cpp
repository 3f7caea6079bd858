#include "Classes/app/PlaceholderRootViewController.h"

#include "Classes/core/Language.h"
#include "platform/graphics/Context.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextDrawing.h"

namespace {

class PlaceholderView : public ui::View {
 public:
  using ui::View::View;

  void drawRect(cg::Context& context, cg::Rect) override {
    cg::Rect b = bounds();
    const cg::Color ink = cg::Color::fromRGB255(60, 52, 40);
    ui::drawTextInRect(context, "Zarvel", cg::Rect(0, b.height() * 0.35f, b.width(), 60),
                       ui::Font::boldSystemFontOfSize(40), ink, ui::TextAlignment::Center);
    std::string note = Language::get("The reading screen, bookmarks, search and settings are not built yet.",
                                     "The reading screen, bookmarks, search and settings are not built yet.");
    ui::drawTextInRect(context, note, cg::Rect(b.width() * 0.15f, b.height() * 0.35f + 70, b.width() * 0.7f, 80),
                       ui::Font::systemFontOfSize(18), ink, ui::TextAlignment::Center);
  }
};

// The root's view tells the index when it reaches the window, which is when
// the index appears.
class RootView : public ui::View {
 public:
  RootView(cg::Rect frame, IndexViewController* index) : ui::View(frame), index_(index) {}
  void didMoveToWindow() override {
    if (!window()) return;
    index_->viewWillAppear(false);
    index_->viewDidAppear(false);
  }

 private:
  IndexViewController* index_;  // the root controller owns both
};

}  // namespace

PlaceholderRootViewController::PlaceholderRootViewController() : index_(std::make_shared<IndexViewController>()) {
  index_->setIPadController(this);
}

void PlaceholderRootViewController::loadView() {
  cg::Rect frame = ui::Screen::main().applicationFrame();
  auto root = std::make_shared<RootView>(frame, index_.get());
  root->setAutoresizesSubviews(true);
  root->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto column = index_->view();
  float columnWidth = column->frame().width();
  column->setFrame(cg::Rect(0, 0, columnWidth, frame.height()));
  column->setAutoresizingMask(ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(column);
  auto rest = std::make_shared<PlaceholderView>(cg::Rect(columnWidth, 0, frame.width() - columnWidth, frame.height()));
  rest->setBackgroundColor(cg::Color::fromRGB255(244, 238, 224));
  rest->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(rest);
  setView(root);
}
