// The toolkit's table additions: the index view, the grouped margin,
// scrolling to the ends and to the first responder's row, and touching a row.
#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "platform/ui/Animator.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"
#include "toolkit/core/TableView+TKCategory.h"

namespace {

// Sections of rows 50 high; row 30 of the last section holds a text field.
class Source : public ui::TableViewDataSource, public ui::TableViewDelegate {
 public:
  std::vector<int> rows;
  std::vector<std::string> index;
  std::vector<std::string> log;
  std::shared_ptr<ui::TextField> field = std::make_shared<ui::TextField>(cg::Rect(0, 0, 100, 30));
  int numberOfSectionsInTableView(ui::TableView*) override { return int(rows.size()); }
  int numberOfRowsInSection(ui::TableView*, int s) override { return rows[size_t(s)]; }
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView*, const ui::IndexPath& p) override {
    auto cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, "");
    if (p.row == 30) cell->contentView()->addSubview(field);
    return cell;
  }
  std::vector<std::string> sectionIndexTitlesForTableView(ui::TableView*) override { return index; }
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath&) override { return 50; }
  std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath& p) override {
    log.push_back("will " + std::to_string(p.row));
    return p;
  }
  void didSelectRowAtIndexPath(ui::TableView*, const ui::IndexPath& p) override {
    log.push_back("did " + std::to_string(p.row));
  }
};

class TKTableCategoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = ns::VirtualClock::install();
    window = std::make_shared<ui::Window>(cg::Rect(0, 0, 768, 1024));
    window->makeKeyAndVisible();
  }
  void TearDown() override { ui::Animator::finishAll(); }
  std::shared_ptr<ui::TableView> table(std::vector<int> rows, ui::TableViewStyle style = ui::TableViewStyle::Plain) {
    source->rows = std::move(rows);
    auto t = std::make_shared<ui::TableView>(cg::Rect(0, 0, 320, 500), style);
    t->setDataSource(source);
    t->setDelegate(source);
    window->addSubview(t);
    t->reloadData();
    return t;
  }
  std::shared_ptr<ns::VirtualClock> clock;
  std::shared_ptr<ui::Window> window;
  std::shared_ptr<Source> source = std::make_shared<Source>();
};

TEST_F(TKTableCategoryTest, TheIndexViewAndTheMargin) {
  auto t = table({3});
  EXPECT_FALSE(ui::indexView(*t));
  source->index = {"A", "B"};
  t->reloadData();
  EXPECT_EQ(ui::indexView(*t), t->indexView());
  EXPECT_TRUE(ui::indexView(*t));
  EXPECT_EQ(ui::tableCellMargin(*t), 0);
  EXPECT_EQ(ui::tableCellMargin(*table({1}, ui::TableViewStyle::Grouped)), 10);
}

TEST_F(TKTableCategoryTest, ScrollingToTheEnds) {
  auto t = table({0, 40});
  ui::scrollToBottom(*t, false);  // section 0 has no rows: nothing moves
  EXPECT_EQ(t->contentOffset().y, 0);
  ui::scrollToLastRow(*t, true);
  EXPECT_EQ(t->contentOffset().y, 40 * 50 - 500);
  ui::scrollToTop(*t, false);
  EXPECT_EQ(t->contentOffset().y, 0);
  auto u = table({40});
  ui::scrollToBottom(*u, false);
  EXPECT_EQ(u->contentOffset().y, 40 * 50 - 500);
  ui::scrollToFirstRow(*u, true);
  EXPECT_EQ(u->contentOffset().y, 0);
}

TEST_F(TKTableCategoryTest, TheFirstRespondersRowComesToTheMiddle) {
  auto t = table({40});
  ui::scrollFirstResponderIntoView(*t);  // no first responder: nothing
  EXPECT_EQ(t->contentOffset().y, 0);
  t->setContentOffset({0, 30 * 50 - 455});  // the row at the bottom edge
  ASSERT_TRUE(source->field->becomeFirstResponder());
  ui::scrollFirstResponderIntoView(*t);
  clock->advance(1);
  EXPECT_EQ(t->contentOffset().y, 30 * 50 + 25 - 250);
}

TEST_F(TKTableCategoryTest, TouchingARowTellsTheDelegateAroundTheSelection) {
  auto t = table({10});
  ui::touchRowAtIndexPath(*t, {0, 3}, false);
  EXPECT_EQ(t->indexPathForSelectedRow(), (ui::IndexPath{0, 3}));
  EXPECT_EQ(source->log, (std::vector<std::string>{"will 3", "did 3"}));
}

}  // namespace
