// The toolkit's table view and its delegates: links pressed inside cells,
// the rows that load more or act as buttons, section headers, variable row
// heights and the request queue while the user drags.
#include <gtest/gtest.h>

#include "platform/text/TextMeasure.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "toolkit/styled/TKStyledText.h"
#include "toolkit/tables/TKStyledTextTableCell.h"
#include "toolkit/tables/TKTableHeaderView.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTableItemCell.h"
#include "toolkit/tables/TKTableView.h"
#include "toolkit/tables/TKTableViewController.h"
#include "toolkit/tables/TKTableViewDataSource.h"
#include "toolkit/tables/TKTableViewDelegate.h"

namespace {

using tktables::ManualModel;
using ui::TouchPhase;

// Remembers what was selected through it.
class RecordingController : public TKTableViewController {
 public:
  using TKTableViewController::TKTableViewController;
  void didSelectObject(const TKTableObject& object, const ui::IndexPath& indexPath) override {
    selected.push_back({object, indexPath});
    TKTableViewController::didSelectObject(object, indexPath);
  }
  std::vector<std::pair<TKTableObject, ui::IndexPath>> selected;
};

class TKTableViewTest : public tktables::TablesTest {
 protected:
  void show(std::vector<TKTableObject> rows) {
    controller = std::make_shared<RecordingController>();
    source = TKListDataSource::dataSourceWithObjects(std::move(rows));
    controller->setDataSource(source);
    window->setRootViewController(controller);
    window->layoutIfNeeded();
    clock->advance(0.5);
  }
  ui::TableView& table() { return *controller->tableView(); }
  cg::Point rowPoint(int row, float dx = 0) {
    cg::Rect r = table().rectForRowAtIndexPath({0, row});
    return table().convertPointToView({r.midX() + dx, r.midY()}, nullptr);
  }

  ui::ScopedMeasurer fixed{std::make_shared<ui::FixedAdvanceMeasurer>(10, 20)};
  std::shared_ptr<RecordingController> controller;
  std::shared_ptr<TKListDataSource> source;
};

TEST_F(TKTableViewTest, ALinkInACellOpensAndTheRowIsNotSelected) {
  show({TKTableStyledTextItem::itemWithText(TKStyledText::textFromXHTML("<a href=\"http://x.y/1\">link</a> and text"))});
  auto* cell = dynamic_cast<TKStyledTextTableItemCell*>(table().cellForRowAtIndexPath({0, 0}).get());
  ASSERT_TRUE(cell);
  cg::Point link = cell->label()->convertPointToView({6 + 15, 6 + 8}, nullptr);
  touch(TouchPhase::Began, link);
  auto* tkTable = dynamic_cast<TKTableView*>(&table());
  ASSERT_EQ(tkTable->highlightedLabel(), cell->label());
  // While a label is held, rows cannot be selected from code either.
  tkTable->selectRowAtIndexPath({0, 0}, false, ui::TableViewScrollPosition::None);
  EXPECT_FALSE(table().indexPathForSelectedRow());
  clock->advance(0.2);
  touch(TouchPhase::Ended, link);
  EXPECT_EQ(opened, std::vector<std::string>{"http://x.y/1"});
  EXPECT_FALSE(table().indexPathForSelectedRow());
  EXPECT_TRUE(controller->selected.empty());
  // A new appearance of the screen lets the label go.
  controller->viewWillAppear(false);
  EXPECT_EQ(tkTable->highlightedLabel(), nullptr);
  EXPECT_EQ(cell->label()->highlightedNode(), nullptr);
  // Away from the link the row is selected as usual.
  tap(rowPoint(0, 100));
  EXPECT_EQ(controller->selected.size(), 1u);
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(TKTableViewTest, ADragStartedOnALinkOpensNothing) {
  std::vector<TKTableObject> rows;
  for (int i = 0; i < 40; ++i)
    rows.push_back(TKTableStyledTextItem::itemWithText(TKStyledText::textFromXHTML("<a href=\"http://x.y\">link</a>")));
  show(rows);
  auto* cell = dynamic_cast<TKStyledTextTableItemCell*>(table().cellForRowAtIndexPath({0, 2}).get());
  ASSERT_TRUE(cell);
  cg::Point p = cell->label()->convertPointToView({6 + 15, 6 + 8}, nullptr);
  touch(TouchPhase::Began, p);
  for (int i = 1; i <= 6; ++i) {
    clock->advance(1.0 / 60);
    touch(TouchPhase::Moved, {p.x, p.y - 10.0f * float(i)});
  }
  EXPECT_TRUE(TKURLRequestQueue::mainQueue().suspended());  // no loads while dragging
  EXPECT_EQ(dynamic_cast<TKTableView*>(&table())->highlightedLabel(), nullptr);
  clock->advance(0.2);
  touch(TouchPhase::Ended, {p.x, p.y - 60});
  EXPECT_TRUE(opened.empty());
  clock->advance(3);
  EXPECT_FALSE(TKURLRequestQueue::mainQueue().suspended());
}

TEST_F(TKTableViewTest, ALoadMoreRowAsksTheModelForMore) {
  auto more = TKTableMoreButton::itemWithTextCaption("Load more", "");
  show({TKTableTextItem::itemWithText("first"), more});
  auto model = std::make_shared<ManualModel>();
  model->loaded = true;
  source->setModel(model);
  controller->setModel(model);
  tap(rowPoint(1));
  EXPECT_TRUE(more->isLoading());
  auto* cell = dynamic_cast<TKTableMoreButtonCell*>(table().cellForRowAtIndexPath({0, 1}).get());
  ASSERT_TRUE(cell);
  EXPECT_TRUE(cell->isAnimating());
  EXPECT_FALSE(table().indexPathForSelectedRow());
  EXPECT_EQ(model->loads, (std::vector<std::pair<int, bool>>{{7, true}}));
  ASSERT_EQ(controller->selected.size(), 1u);
  EXPECT_EQ(controller->selected[0].first, TKTableObject(more));
  EXPECT_TRUE(opened.empty());
}

TEST_F(TKTableViewTest, AButtonRowOpensItsURLAndLetsGoOfTheSelection) {
  auto link = TKTableTextItem::itemWithText("stays", "http://x.y/link");
  show({TKTableButton::itemWithText("Go", "http://x.y/button"), link});
  tap(rowPoint(0));
  EXPECT_EQ(opened, std::vector<std::string>{"http://x.y/button"});
  EXPECT_FALSE(table().indexPathForSelectedRow());
  tap(rowPoint(1));
  EXPECT_EQ(opened.back(), "http://x.y/link");
  EXPECT_EQ(table().indexPathForSelectedRow(), (ui::IndexPath{0, 1}));
  // The selection goes when the screen appears again.
  controller->viewWillAppear(false);
  EXPECT_FALSE(table().indexPathForSelectedRow());
}

TEST_F(TKTableViewTest, TheDetailButtonOpensTheAccessoryURL) {
  show({TKTableTextItem::itemWithText("row", "http://x.y/row", "http://x.y/detail")});
  auto cell = table().cellForRowAtIndexPath({0, 0});
  ASSERT_EQ(cell->accessoryType(), ui::TableViewCellAccessoryType::DetailDisclosureButton);
  cg::Rect r = table().rectForRowAtIndexPath({0, 0});
  tap(table().convertPointToView({r.maxX() - 15, r.midY()}, nullptr));
  EXPECT_EQ(opened, std::vector<std::string>{"http://x.y/detail"});
  EXPECT_FALSE(table().indexPathForSelectedRow());
}

TEST_F(TKTableViewTest, SectionHeadersByDelegateAndStyleSheet) {
  auto sections = TKSectionedDataSource::dataSourceWithObjects(
      {"Titled", TKTableTextItem::itemWithText("a"), "", TKTableTextItem::itemWithText("b")});
  auto plain = std::make_shared<TKTableView>(cg::Rect(0, 0, 320, 400), ui::TableViewStyle::Plain);
  auto grouped = std::make_shared<TKTableView>(cg::Rect(0, 0, 320, 400), ui::TableViewStyle::Grouped);
  for (auto* t : {plain.get(), grouped.get()}) t->setDataSource(sections);
  TKTableViewDelegate base(nullptr);
  EXPECT_FALSE(base.viewForHeaderInSection(plain.get(), 0));  // the default sheet has no header tint
  TKTableViewPlainDelegate plainDelegate(nullptr);
  auto header = std::dynamic_pointer_cast<TKTableHeaderView>(plainDelegate.viewForHeaderInSection(plain.get(), 0));
  ASSERT_TRUE(header);
  EXPECT_EQ(header->label()->text(), "Titled");
  header->setFrame(cg::Rect(0, 0, 320, 22));
  header->layoutSubviews();
  EXPECT_EQ(header->label()->frame(), cg::Rect(12, 0, 320, 23));
  EXPECT_FALSE(plainDelegate.viewForHeaderInSection(plain.get(), 1));

  // A sheet with a header tint gives plain tables styled headers.
  struct TintedSheet : TKDefaultStyleSheet {
    std::optional<cg::Color> tableHeaderTintColor() override { return cg::Color::red(); }
  };
  TKStyleSheet::setGlobalStyleSheet(std::make_shared<TintedSheet>());
  EXPECT_TRUE(base.viewForHeaderInSection(plain.get(), 0));
  EXPECT_FALSE(base.viewForHeaderInSection(grouped.get(), 0));

  TKTableViewGroupedVarHeightDelegate groupedDelegate(nullptr);
  EXPECT_EQ(groupedDelegate.heightForHeaderInSection(grouped.get(), 0), 35);
  EXPECT_EQ(groupedDelegate.heightForHeaderInSection(grouped.get(), 1), 1);
}

TEST_F(TKTableViewTest, VariableRowHeightsComeFromTheCellClasses) {
  show({TKTableTextItem::itemWithText("one"), TKTableMessageItem::itemWithTitle("t", "c", "x", std::nullopt, ""),
        TKTableObject("plain")});
  EXPECT_EQ(table().rectForRowAtIndexPath({0, 1}).height(), 44);  // fixed heights until asked
  controller->setVariableHeightRows(true);
  controller->showModel(true);
  EXPECT_TRUE(std::dynamic_pointer_cast<TKTableViewVarHeightDelegate>(controller->tableDelegate()));
  EXPECT_EQ(table().rectForRowAtIndexPath({0, 0}).height(), 40);
  EXPECT_EQ(table().rectForRowAtIndexPath({0, 1}).height(), 90);
  EXPECT_EQ(table().rectForRowAtIndexPath({0, 2}).height(), 44);
  EXPECT_EQ(TKTableViewCell::rowHeightForObject(table(), TKTableObject("anything")), 44);
}

}  // namespace
