// A picture of the search bar with its results dropped down, the text editor
// grown to three lines, a password field and the paged scroll view between
// two pages, for a person to look at.
#include <gtest/gtest.h>


#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "toolkit/tables/TKScrollView.h"
#include "toolkit/tables/TKSearchBar.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTableView.h"
#include "toolkit/tables/TKTableViewDataSource.h"
#include "toolkit/tables/TKTextEditor.h"

namespace {

class Words : public TKListDataSource {
 public:
  void search(const std::string& text) override {
    items().clear();
    for (const char* w : {"Mercy", "Merciful", "الرحمن", "الرحيم", "رحمة"})
      if (!text.empty()) items().push_back(TKTableSubtitleItem::itemWithTextSubtitle(w, "Found in 57 verses"));
    didFinishLoad();
  }
};

struct Pages : TKScrollViewDataSource, TKScrollViewDelegate {
  int numberOfPagesInScrollView(TKScrollView&) override { return 5; }
  std::shared_ptr<ui::View> pageAtIndex(TKScrollView& view, int index) override {
    auto page = view.dequeueReusablePage();
    if (!page) page = std::make_shared<ui::Label>();
    auto* label = static_cast<ui::Label*>(page.get());
    label->setText("Page " + std::to_string(index + 1));
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setFont(ui::Font::boldSystemFontOfSize(30));
    label->setBackgroundColor(index % 2 ? cg::Color(0.85f, 0.9f, 1) : cg::Color(1, 0.92f, 0.8f));
    return page;
  }
  void didMoveToPageAtIndex(TKScrollView&, int) override {}
};

class TKControlsContactSheet : public tktables::TablesTest {};

TEST_F(TKControlsContactSheet, ContactSheet) {
  window->setBackgroundColor(cg::Color::white());
  auto scroll = std::make_shared<ui::ScrollView>(cg::Rect(0, 0, 384, 600));
  scroll->setContentSize({384, 1200});
  window->addSubview(scroll);
  auto bar = std::make_shared<TKSearchBar>(cg::Rect(0, 0, 384, 44));
  bar->setShowsCancelButton(true);
  auto words = std::make_shared<Words>();
  bar->setDataSource(words);
  scroll->addSubview(bar);
  window->layoutIfNeeded();
  bar->becomeFirstResponder();
  for (const char* c : {"r", "a", "h"}) window->sendKey({"", c, 0});
  clock->advance(0.01);

  auto editor = std::make_shared<TKTextEditor>(cg::Rect(10, 640, 364, 0));
  editor->setMaxNumberOfLines(3);
  editor->setBackgroundColor(cg::Color::gray(0.95f));
  window->addSubview(editor);
  editor->setFrame(cg::Rect(10, 640, 364, editor->heightThatFits()));
  editor->setText("A note that runs on long enough to need more than one line, and then a third:\nسطر بالعربية");

  auto password = std::make_shared<ui::TextField>(cg::Rect(10, 900, 364, 31));
  password->setBorderStyle(ui::TextBorderStyle::RoundedRect);
  password->setFont(ui::Font::systemFontOfSize(17));
  password->setSecureTextEntry(true);
  password->setText("secret words");
  window->addSubview(password);

  auto pages = std::make_shared<Pages>();
  auto paged = std::make_shared<TKScrollView>(cg::Rect(404, 20, 344, 500));
  paged->setBackgroundColor(cg::Color::gray(0.3f));
  paged->setDelegate(pages);
  paged->setDataSource(pages);
  window->addSubview(paged);
  window->layoutIfNeeded();
  // Half way to the next page, the finger still down.
  touch(ui::TouchPhase::Began, {700, 270}, 0);
  for (int i = 1; i <= 10; ++i) {
    clock->advance(1.0 / 60);
    touch(ui::TouchPhase::Moved, {700.0f - 15 * float(i), 270}, 0);
  }
  window->layoutIfNeeded();
  clock->advance(0.3);

  ASSERT_TRUE(window->writeScreenshot(tktables::sheetPath("controls-contact-sheet.png"), 1));
  EXPECT_TRUE(bar->tableView()->superview());
  EXPECT_TRUE(editor->textView() && !editor->textView()->isHidden());
  EXPECT_LT(paged->pageEdges().left, -100);
}

}  // namespace
