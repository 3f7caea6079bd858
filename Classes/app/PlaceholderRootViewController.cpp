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
    std::string note = Language::get("The reading screen, the index, bookmarks, search and settings are not built yet.",
                                     "The reading screen, the index, bookmarks, search and settings are not built yet.");
    ui::drawTextInRect(context, note, cg::Rect(b.width() * 0.15f, b.height() * 0.35f + 70, b.width() * 0.7f, 80),
                       ui::Font::systemFontOfSize(18), ink, ui::TextAlignment::Center);
  }
};

}  // namespace

void PlaceholderRootViewController::loadView() {
  auto view = std::make_shared<PlaceholderView>(ui::Screen::main().applicationFrame());
  view->setBackgroundColor(cg::Color::fromRGB255(244, 238, 224));
  view->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  setView(view);
}
