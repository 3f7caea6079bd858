// The table screen: its loading, empty and error overlays, the banner, the
// cell menu, model changes while shown, the keyboard and the saved scroll
// position.
#include <gtest/gtest.h>

#include "platform/text/TextMeasure.h"
#include "platform/ui/Keyboard.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "toolkit/tables/TKActivityLabel.h"
#include "toolkit/tables/TKErrorView.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTableView.h"
#include "toolkit/tables/TKTableViewController.h"
#include "toolkit/tables/TKTableViewDataSource.h"
#include "toolkit/tables/TKTableViewDelegate.h"

namespace {

using tktables::ManualModel;

// A list with configurable state texts and a model of the test's.
class StateSource : public TKListDataSource {
 public:
  std::string loadingTitle = "Loading...", emptyTitle, emptySubtitle;
  std::string titleForLoading(bool) override { return loadingTitle; }
  std::string titleForEmpty() override { return emptyTitle; }
  std::string subtitleForEmpty() override { return emptySubtitle; }
  std::string titleForError(const ns::Error* error) override { return errorTitles ? TKListDataSource::titleForError(error) : ""; }
  std::string subtitleForError(const ns::Error* error) override {
    return errorTitles ? TKListDataSource::subtitleForError(error) : "";
  }
  bool errorTitles = true;
  // Insertions name the row to insert (or nothing: a reload).
  bool answersWillInsertObject() const override { return true; }
  std::vector<int> willInsertObject(ui::TableView*, const ns::Value&, const ns::Value& indexPath) override {
    ++insertQuestions;
    std::vector<int> path;
    for (const auto& n : indexPath.array()) path.push_back(n.intValue());
    return path;
  }
  int insertQuestions = 0;
};

class TKTableViewControllerTest : public tktables::TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    controller = std::make_shared<TKTableViewController>();
    source = std::make_shared<StateSource>();
    model = std::make_shared<ManualModel>();
    source->setModel(model);
  }
  void appear() {
    window->setRootViewController(controller);
    window->layoutIfNeeded();
  }
  void fill(int rows) {
    for (int i = 0; i < rows; ++i) source->items().push_back(TKTableTextItem::itemWithText("row"));
  }
  ui::View* overlay() { return controller->tableOverlayView().get(); }

  ui::ScopedMeasurer fixed{std::make_shared<ui::FixedAdvanceMeasurer>(10, 20)};
  std::shared_ptr<TKTableViewController> controller;
  std::shared_ptr<StateSource> source;
  std::shared_ptr<ManualModel> model;
};

TEST_F(TKTableViewControllerTest, WhileLoadingAnActivityLabelCoversTheTable) {
  controller->setDataSource(source);
  appear();
  model->load(7, false);
  auto* label = dynamic_cast<TKActivityLabel*>(controller->loadingView().get());
  ASSERT_TRUE(label);
  EXPECT_EQ(label->style(), TKActivityLabelStyle::WhiteBox);
  EXPECT_EQ(label->text(), "Loading...");
  ASSERT_TRUE(overlay());
  EXPECT_EQ(label->superview(), overlay());
  EXPECT_EQ(overlay()->superview(), controller->tableView()->superview());
  EXPECT_EQ(label->frame(), overlay()->bounds());

  // Loaded with rows: the overlay goes with the last view in it.
  fill(3);
  model->finish();
  EXPECT_FALSE(controller->loadingView());
  EXPECT_FALSE(overlay());
  EXPECT_EQ(controller->tableView()->numberOfRowsInSection(0), 3);
  // A reload keeps the rows on show.
  model->load(4, false);
  EXPECT_FALSE(controller->loadingView());
}

TEST_F(TKTableViewControllerTest, AnEmptyLoadingTitleShowsNothingNew) {
  controller->setDataSource(source);
  appear();
  auto earlier = std::make_shared<ui::View>();
  controller->setLoadingView(earlier);
  source->loadingTitle = "";
  controller->showLoading(true);
  EXPECT_EQ(controller->loadingView(), earlier);
}

TEST_F(TKTableViewControllerTest, WhatCountsAsSomethingToShow) {
  controller->setDataSource(source);
  EXPECT_FALSE(controller->canShowModel());  // one section, no rows
  fill(1);
  EXPECT_TRUE(controller->canShowModel());
  auto twoEmpty = TKSectionedDataSource::dataSourceWithArrays({"A", std::vector<TKTableObject>{}, "B",
                                                               std::vector<TKTableObject>{}});
  controller->setDataSource(twoEmpty);
  EXPECT_TRUE(controller->canShowModel());
  controller->setDataSource(TKSectionedDataSource::dataSourceWithObjects({}));
  EXPECT_FALSE(controller->canShowModel());
}

TEST_F(TKTableViewControllerTest, EmptyAndErrorStates) {
  source->emptyTitle = "Nothing here";
  source->emptySubtitle = "Try later";
  model->loaded = true;
  controller->setDataSource(source);
  appear();
  auto* empty = dynamic_cast<TKErrorView*>(controller->emptyView().get());
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->title(), "Nothing here");
  EXPECT_TRUE(controller->tableView()->dataSource().expired());

  // An error while the rows show changes nothing.
  fill(2);
  model->didChange();
  EXPECT_FALSE(controller->emptyView());
  ASSERT_EQ(controller->tableView()->numberOfRowsInSection(0), 2);
  controller->showError(true);
  EXPECT_FALSE(controller->errorView());
  EXPECT_EQ(controller->tableView()->numberOfRowsInSection(0), 2);

  // An error without any text or image shows no view, and empties the table anyway.
  source->items().clear();
  source->errorTitles = false;
  model->didFailLoadWithError(ns::Error{"NSURLErrorDomain", -1009, "offline"});
  EXPECT_FALSE(controller->errorView());
  EXPECT_EQ(controller->tableView()->numberOfRowsInSection(0), 0);
  // With texts the error view shows the error's title.
  source->errorTitles = true;
  controller->showError(false);
  controller->showError(true);
  auto* error = dynamic_cast<TKErrorView*>(controller->errorView().get());
  ASSERT_TRUE(error);
  EXPECT_EQ(error->title(), "No Internet Connection");
  EXPECT_EQ(error->subtitle(), "Sorry, there was an error.");
}

TEST_F(TKTableViewControllerTest, TheOverlayComesAndGoesWithItsViews) {
  controller->setDataSource(source);
  appear();
  auto a = std::make_shared<ui::View>(), b = std::make_shared<ui::View>();
  controller->setLoadingView(a);
  controller->setEmptyView(b);
  std::weak_ptr<ui::View> container = controller->tableOverlayView();
  ASSERT_TRUE(overlay());
  controller->setLoadingView(nullptr);
  EXPECT_EQ(controller->tableOverlayView(), container.lock());
  controller->setEmptyView(nullptr);
  EXPECT_FALSE(overlay());
  EXPECT_TRUE(container.expired());
  EXPECT_FALSE(a->superview());
  controller->setErrorView(a);
  EXPECT_TRUE(overlay());
}

TEST_F(TKTableViewControllerTest, ACallersOverlayLiesOverTheTable) {
  controller->setDataSource(source);
  appear();
  auto mine = std::make_shared<ui::View>();
  controller->setTableOverlayView(mine, true);
  EXPECT_EQ(mine->superview(), controller->tableView()->superview());
  EXPECT_EQ(mine->frame(), controller->tableView()->frame());
  controller->setTableOverlayView(nullptr, true);
  EXPECT_EQ(mine->superview(), controller->tableView()->superview());  // fading out
  clock->advance(0.4);
  EXPECT_FALSE(mine->superview());
}

TEST_F(TKTableViewControllerTest, TheBannerIsAStripOverTheBottomThatTakesNoTouches) {
  fill(30);
  model->loaded = true;
  controller->setDataSource(source);
  appear();
  auto banner = std::make_shared<ui::View>();
  controller->setTableBannerView(banner, true);
  cg::Rect table = controller->tableView()->frame();
  ASSERT_EQ(overlay()->frame(), table);
  EXPECT_EQ(banner->presentationFrame().y(), table.height());  // starts 22 points down, then slides up
  clock->advance(0.4);
  EXPECT_EQ(banner->presentationFrame(), cg::Rect(0, table.height() - 22, table.width(), 22));
  EXPECT_FALSE(banner->isUserInteractionEnabled());
  // The table under the banner's overlay still takes taps.
  cg::Rect row = controller->tableView()->rectForRowAtIndexPath({0, 1});
  tap(controller->tableView()->convertPointToView({row.midX(), row.midY()}, nullptr));
  EXPECT_EQ(controller->tableView()->indexPathForSelectedRow(), (ui::IndexPath{0, 1}));
  // Taking the banner away fades it out.
  controller->setTableBannerView(nullptr, false);
  EXPECT_FALSE(banner->superview());
  EXPECT_FALSE(overlay());
}

TEST_F(TKTableViewControllerTest, TheCellMenuSlidesTheContentAside) {
  fill(3);
  model->loaded = true;
  controller->setDataSource(source);
  appear();
  auto cell = controller->tableView()->cellForRowAtIndexPath({0, 0});
  ui::View& content = *cell->contentView();
  float x = cell->textLabel()->frame().x(), width = content.frame().width();
  auto menu = std::make_shared<ui::View>(content.bounds());
  controller->showMenu(menu, cell, true);
  EXPECT_EQ(content.subviews().front(), menu);
  clock->advance(0.3);
  EXPECT_EQ(cell->textLabel()->frame().x(), x - width);
  // A drag closes it.
  controller->didBeginDragging();
  clock->advance(0.3);
  EXPECT_FALSE(controller->menuView());
  EXPECT_FALSE(menu->superview());
  EXPECT_EQ(cell->textLabel()->frame().x(), x);
}

TEST_F(TKTableViewControllerTest, InsertionsWhileShownAnimateAndOffScreenRefresh) {
  fill(2);
  model->loaded = true;
  controller->setDataSource(source);
  appear();
  ASSERT_EQ(controller->tableView()->numberOfRowsInSection(0), 2);
  source->items().push_back(TKTableTextItem::itemWithText("new"));
  model->didInsertObject(ns::Value(), ns::Array{0, 2});
  EXPECT_EQ(source->insertQuestions, 1);
  EXPECT_EQ(controller->tableView()->numberOfRowsInSection(0), 3);
  auto cell = controller->tableView()->cellForRowAtIndexPath({0, 2});
  ASSERT_TRUE(cell);
  cg::Rect final = controller->tableView()->rectForRowAtIndexPath({0, 2});
  // The row comes down out of the row above it.
  EXPECT_LT(cell->presentationFrame().y(), final.y());
  clock->advance(0.4);
  EXPECT_EQ(cell->presentationFrame(), final);

  // Off screen the table is refreshed instead of asked.
  controller->viewWillDisappear(false);
  source->items().push_back(TKTableTextItem::itemWithText("later"));
  model->didInsertObject(ns::Value(), ns::Array{0, 3});
  EXPECT_EQ(source->insertQuestions, 1);
}

TEST_F(TKTableViewControllerTest, TheScrollPositionIsSavedAndRestoredWithinTheContent) {
  fill(60);
  model->loaded = true;
  controller->setDataSource(source);
  appear();
  auto table = controller->tableView();
  table->setContentOffset({0, 300});
  ns::Dictionary state;
  EXPECT_TRUE(controller->persistView(state));
  EXPECT_EQ(state["scrollOffsetY"].floatValue(), 300);
  table->setContentOffset({0, 100});
  controller->restoreView({{"scrollOffsetY", 0}});
  EXPECT_EQ(table->contentOffset().y, 100);
  controller->restoreView({{"scrollOffsetY", 1e6}});
  EXPECT_EQ(table->contentOffset().y, table->contentSize().height - table->frame().height());
  // Content shorter than the table goes to the top, never above it.
  source->items().resize(2);
  table->reloadData();
  controller->restoreView({{"scrollOffsetY", 300}});
  EXPECT_EQ(table->contentOffset().y, 0);
}

TEST_F(TKTableViewControllerTest, TheDelegateFollowsTheVariableHeightSetting) {
  fill(1);
  model->loaded = true;
  controller->setDataSource(source);
  appear();
  EXPECT_FALSE(std::dynamic_pointer_cast<TKTableViewVarHeightDelegate>(controller->tableDelegate()));
  controller->setVariableHeightRows(true);
  EXPECT_TRUE(controller->tableView()->delegate().expired());
  controller->showModel(true);
  EXPECT_TRUE(std::dynamic_pointer_cast<TKTableViewVarHeightDelegate>(controller->tableDelegate()));
  EXPECT_EQ(controller->tableView()->delegate().lock(), controller->tableDelegate());
}

TEST_F(TKTableViewControllerTest, TheKeyboardTakesItsHeightFromTheTable) {
  fill(3);
  model->loaded = true;
  controller->setDataSource(source);
  appear();
  cg::Rect before = controller->tableView()->frame();
  controller->keyboardDidAppear(true, cg::Rect(0, 0, 768, 264));
  EXPECT_EQ(controller->tableView()->frame().height(), before.height() - 264);
  controller->keyboardWillDisappear(true, cg::Rect(0, 0, 768, 264));
  EXPECT_EQ(controller->tableView()->frame(), before);
}

TEST_F(TKTableViewControllerTest, WithoutADataSourceTheScreenShowsItIsLoading) {
  appear();
  EXPECT_TRUE(std::dynamic_pointer_cast<TKTableViewInterstialDataSource>(controller->dataSource()));
  auto* label = dynamic_cast<TKActivityLabel*>(controller->loadingView().get());
  ASSERT_TRUE(label);
  EXPECT_EQ(label->text(), "Loading...");
}

}  // namespace
