// The search field with its results table, dark screen and Done button; the
// search bar around it; the search display fed by a table screen; the popup
// view; and a screen's search display made by setSearchViewController.
#include <gtest/gtest.h>

#include "platform/text/TextMeasure.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/SearchBar.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "toolkit/core/Font+TKCategory.h"
#include "toolkit/core/View+TKCategory.h"
#include "toolkit/core/ViewController+TKCategory.h"
#include "toolkit/tables/TKSearchBar.h"
#include "toolkit/tables/TKSearchDisplayController.h"
#include "toolkit/tables/TKSearchTextField.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTableView.h"
#include "toolkit/tables/TKTableViewController.h"
#include "toolkit/tables/TKTableViewDataSource.h"

namespace {

using tktables::ManualModel;
using ui::TouchPhase;

// Finds the words that begin with the text; every search is written down.
class WordSource : public TKListDataSource {
 public:
  std::vector<std::string> words = {"alpha", "almond", "beta", "gamma"};
  std::vector<std::string> searches;
  void search(const std::string& text) override {
    searches.push_back(text);
    items().clear();
    if (!text.empty())
      for (const auto& w : words)
        if (w.rfind(text, 0) == 0) items().push_back(TKTableTextItem::itemWithText(w, "http://x/" + w));
    didFinishLoad();
  }
};

struct Chooser : TKSearchTextFieldDelegate {
  std::vector<std::string> chosen;
  void textFieldDidSelectObject(TKSearchTextField&, const TKTableObject& object) override {
    chosen.push_back(object.as<TKTableTextItem>()->text());
  }
};

class TKSearchTest : public tktables::TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    scroll = std::make_shared<ui::ScrollView>(cg::Rect(0, 0, 768, 1000));
    scroll->setContentSize({768, 3000});
    window->addSubview(scroll);
    field = std::make_shared<TKSearchTextField>(cg::Rect(10, 100, 300, 31));
    field->setFont(ui::Font::systemFontOfSize(15));
    scroll->addSubview(field);
    source = std::make_shared<WordSource>();
    field->setDataSource(source);
  }
  void typeEach(const std::string& text) {
    for (char c : text) window->sendKey({"", std::string(1, c), 0});
  }
  void nextTurn() { clock->advance(0.001); }

  std::shared_ptr<ui::ScrollView> scroll;
  std::shared_ptr<TKSearchTextField> field;
  std::shared_ptr<WordSource> source;
};

TEST_F(TKSearchTest, EachTurnOfTypingSearchesOnceAndShowsTheResults) {
  field->becomeFirstResponder();
  typeEach("al");
  EXPECT_TRUE(source->searches.empty());  // not before the field has the text
  nextTurn();
  EXPECT_EQ(source->searches, std::vector<std::string>{"al"});
  auto* table = field->tableView();
  ASSERT_EQ(table->superview(), scroll.get());  // over the content of the scroll view
  EXPECT_EQ(table->numberOfRowsInSection(0), 2);
  cg::Rect r = table->frame();
  EXPECT_EQ(r.y(), 100 + 31 - 1);
  EXPECT_EQ(r.width(), 768);
  EXPECT_FALSE(scroll->isScrollEnabled());
  window->sendKey({"", "m", 0});
  nextTurn();
  EXPECT_EQ(source->searches.back(), "alm");
  EXPECT_EQ(table->numberOfRowsInSection(0), 1);
  // Nothing found: the table goes.
  typeEach("zz");
  nextTurn();
  EXPECT_FALSE(table->superview());
  // Editing ends: scrolling comes back.
  field->resignFirstResponder();
  EXPECT_TRUE(scroll->isScrollEnabled());
}

TEST_F(TKSearchTest, TypedByHandTheReturnKeySearches) {
  field->setSearchesAutomatically(false);
  EXPECT_EQ(field->returnKeyType(), ui::ReturnKeyType::Search);
  EXPECT_TRUE(field->enablesReturnKeyAutomatically());
  field->becomeFirstResponder();
  typeEach("  be  ");
  nextTurn();
  EXPECT_TRUE(source->searches.empty());
  window->sendKey({"Return", "", 0});
  EXPECT_EQ(source->searches, std::vector<std::string>{"be"});  // spaces at the ends trimmed
  field->setText("");
  EXPECT_EQ(source->searches.back(), "");  // an empty field clears the results
  field->setText(std::string(256, 'a'));
  EXPECT_TRUE(field->hasText());
}

TEST_F(TKSearchTest, ARowChosenGoesToTheDelegate) {
  auto chooser = std::make_shared<Chooser>();
  field->setDelegate(chooser);
  field->becomeFirstResponder();
  typeEach("g");
  nextTurn();
  auto* table = field->tableView();
  cg::Rect row = table->rectForRowAtIndexPath({0, 0});
  tap(table->convertPointToView({row.midX(), row.midY()}, nullptr));
  EXPECT_EQ(chooser->chosen, std::vector<std::string>{"gamma"});
}

TEST_F(TKSearchTest, TheDarkScreenEndsEditingAndEmptiesTheField) {
  field->setShowsDarkScreen(true);
  field->becomeFirstResponder();
  typeEach("zzz");
  nextTurn();
  ASSERT_TRUE(field->screenView());
  clock->advance(0.4);
  EXPECT_EQ(field->screenView()->alpha(), 1);
  cg::Rect screen = field->screenView()->frame();
  tap(scroll->convertPointToView({screen.midX(), screen.midY()}, nullptr));
  EXPECT_FALSE(field->isEditing());
  EXPECT_EQ(field->text(), "");
  clock->advance(0.4);
  EXPECT_FALSE(field->screenView()->superview());
}

TEST_F(TKSearchTest, TheDoneButtonStandsInTheVisibleNavigationBarWhileEditing) {
  auto root = std::make_shared<TKViewController>();
  auto nav = std::make_shared<ui::NavigationController>(root);
  TKNavigator::navigator().setRootViewController(nav);
  auto original = std::make_shared<ui::BarButtonItem>("Edit", ui::BarButtonItemStyle::Bordered);
  root->navigationItem()->setRightBarButtonItem(original);
  field->setShowsDoneButton(true);
  field->becomeFirstResponder();
  auto done = root->navigationItem()->rightBarButtonItem();
  ASSERT_TRUE(done);
  EXPECT_EQ(done->systemItem(), ui::BarButtonSystemItem::Done);
  field->resignFirstResponder();
  EXPECT_EQ(root->navigationItem()->rightBarButtonItem(), original);
}

TEST_F(TKSearchTest, ANewDataSourceIsShownByTheTableAlreadyMade) {
  field->becomeFirstResponder();
  typeEach("a");
  nextTurn();
  auto* table = field->tableView();
  auto other = std::make_shared<WordSource>();
  other->words = {"apple"};
  field->setDataSource(source = other);
  EXPECT_EQ(table->dataSource().lock(), other);
  typeEach("p");
  nextTurn();
  EXPECT_EQ(table->numberOfRowsInSection(0), 1);
  EXPECT_EQ(other->searches, std::vector<std::string>{"ap"});
}

TEST_F(TKSearchTest, TheBarLaysOutItsBoxFieldAndCancelButton) {
  TKSearchBar bar(cg::Rect(0, 0, 320, 44));
  bar.layoutSubviews();
  float box = ui::TKLineHeight(bar.font()) + 8;
  EXPECT_EQ(bar.boxView()->frame(), cg::Rect(5, std::floor(22 - box / 2), 310, box));
  EXPECT_EQ(bar.searchField()->frame(), cg::Rect(15, 0, 300, 44));
  EXPECT_TRUE(bar.searchField()->leftView());
  EXPECT_EQ(bar.searchField()->placeholder(), "Search");
  EXPECT_EQ(bar.sizeThatFits({320, 0}), cg::Size(320, std::max(44.0f, ui::TKLineHeight(bar.font()) + 20)));

  bar.setShowsSearchIcon(false);
  bar.layoutSubviews();
  EXPECT_EQ(bar.searchField()->frame(), cg::Rect(19, 0, 296, 44));
  EXPECT_FALSE(bar.searchField()->leftView());

  bar.setShowsCancelButton(true);
  TKButton* cancel = bar.cancelButton();
  ASSERT_TRUE(cancel);
  bar.setShowsCancelButton(true);  // the same value makes nothing new
  EXPECT_EQ(bar.cancelButton(), cancel);
  bar.layoutSubviews();
  float w = cancel->frame().width();
  EXPECT_EQ(bar.boxView()->frame().width(), 310 - (w + 4));
  EXPECT_EQ(bar.searchField()->frame().width(), 296 - (w + 4));
  EXPECT_EQ(cancel->frame(), cg::Rect(bar.boxView()->frame().maxX() + 4, 7, w, 30));
  EXPECT_EQ(cancel->titleForState(ui::ControlStateNormal), "Cancel");
  bar.setShowsCancelButton(false);
  EXPECT_FALSE(bar.cancelButton());
}

TEST_F(TKSearchTest, TheCancelButtonEndsEditingAndKeepsTheText) {
  auto bar = std::make_shared<TKSearchBar>(cg::Rect(0, 500, 400, 44));
  bar->setShowsCancelButton(true);
  window->addSubview(bar);
  window->layoutIfNeeded();
  bar->becomeFirstResponder();
  typeEach("kept");
  cg::Rect c = bar->cancelButton()->frame();
  tap(bar->convertPointToView({c.midX(), c.midY()}, nullptr));
  EXPECT_FALSE(bar->editing());
  EXPECT_EQ(bar->text(), "kept");
}

// A table whose first row is the search bar, and a section index.
class IndexedSource : public TKSectionedDataSource {
 public:
  IndexedSource() : TKSectionedDataSource({{TKTableObject("x")}, {TKTableObject("y")}}, {"A", "B"}) {}
  std::vector<std::string> sectionIndexTitlesForTableView(ui::TableView*) override { return {"A", "B"}; }
};

TEST_F(TKSearchTest, InATableWithAnIndexTheBarHidesItWhileTyping) {
  auto table = std::make_shared<TKTableView>(cg::Rect(0, 0, 320, 400), ui::TableViewStyle::Plain);
  auto sections = std::make_shared<IndexedSource>();
  table->setDataSource(sections);
  window->addSubview(table);
  auto bar = std::make_shared<TKSearchBar>(cg::Rect(0, 0, 320, 44));
  table->setTableHeaderView(bar);
  window->layoutIfNeeded();
  ui::View* index = table->indexView();
  ASSERT_TRUE(index);
  bar->layoutSubviews();
  float indexWidth = index->frame().width();
  float fieldWidth = bar->searchField()->frame().width();
  EXPECT_EQ(fieldWidth, 320 - 20 - indexWidth);
  bar->becomeFirstResponder();
  clock->advance(0.4);
  EXPECT_EQ(index->alpha(), 0);
  EXPECT_EQ(bar->searchField()->frame().width(), fieldWidth + indexWidth);
  bar->resignFirstResponder();
  clock->advance(0.4);
  EXPECT_EQ(index->alpha(), 1);
  EXPECT_EQ(bar->searchField()->frame().width(), fieldWidth);
}

// --- the search display --------------------------------------------------------------

class TKSearchDisplayTest : public tktables::TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    contents = std::make_shared<TKViewController>();
    window->setRootViewController(contents);
    window->layoutIfNeeded();
    results = std::make_shared<TKTableViewController>();
    source = std::make_shared<WordSource>();
    results->setDataSource(source);
    contents->setSearchViewController(results);
    display = contents->searchDisplayController();
    bar = display->searchBar();
    contents->view()->addSubview(bar);
    bar->setFrame(cg::Rect(0, 64, 768, 44));
  }
  void typeSlowly(const std::string& text, double gap) {
    for (char c : text) {
      window->sendKey({"", std::string(1, c), 0});
      clock->advance(gap);
    }
  }
  std::shared_ptr<TKViewController> contents;
  std::shared_ptr<TKTableViewController> results;
  std::shared_ptr<WordSource> source;
  std::shared_ptr<TKSearchDisplayController> display;
  std::shared_ptr<ui::SearchBar> bar;
};

TEST_F(TKSearchDisplayTest, ASearchViewControllerMakesTheDisplay) {
  ASSERT_TRUE(display);
  EXPECT_EQ(contents->searchViewController(), results);
  EXPECT_EQ(ui::superController(*results), contents.get());
  EXPECT_FALSE(display->pausesBeforeSearching());
  contents->setSearchViewController(nullptr);
  EXPECT_FALSE(contents->searchDisplayController());
  EXPECT_FALSE(contents->searchViewController());
}

TEST_F(TKSearchDisplayTest, WithoutAPauseEveryChangeSearchesAtOnce) {
  bar->becomeFirstResponder();
  EXPECT_TRUE(display->isActive());
  typeSlowly("al", 0);
  EXPECT_EQ(source->searches, (std::vector<std::string>{"a", "al"}));
  // The results show in the display's table, through the table screen.
  ASSERT_TRUE(display->isShowingResults());
  EXPECT_EQ(results->tableView(), display->searchResultsTableView());
  EXPECT_EQ(results->tableView()->numberOfRowsInSection(0), 2);
  // The navigator's visible screen is the results one while the search runs.
  TKNavigator::navigator().setRootViewController(contents);
  EXPECT_EQ(TKNavigator::navigator().visibleViewController(), results.get());
  display->selectScope(1);
  EXPECT_EQ(source->searches.back(), "al");
  display->setActive(false);
  EXPECT_EQ(source->searches.back(), "");
  EXPECT_FALSE(results->tableView() == display->searchResultsTableView());
  EXPECT_EQ(TKNavigator::navigator().visibleViewController(), contents.get());
}

TEST_F(TKSearchDisplayTest, WithAPauseFiveQuickKeysSearchOnce) {
  display->setPausesBeforeSearching(true);
  bar->becomeFirstResponder();
  typeSlowly("almon", 0.1);
  EXPECT_TRUE(source->searches.empty());
  clock->advance(0.35);
  EXPECT_EQ(source->searches, std::vector<std::string>{"almon"});
}

TEST_F(TKSearchDisplayTest, EndingWhileLoadingCancelsTheLoad) {
  auto model = std::make_shared<ManualModel>();
  model->loaded = true;
  source->setModel(model);
  results->setModel(model);
  bar->becomeFirstResponder();
  typeSlowly("a", 0);
  model->load(7, false);
  display->setActive(false);
  EXPECT_GE(model->cancels, 1);
  EXPECT_EQ(source->searches.back(), "");
}

TEST_F(TKSearchDisplayTest, WithoutANavigationBarTheBarMovesUpUnderTheStatusBar) {
  auto holder = std::make_shared<ui::View>(cg::Rect(0, 100, 768, 200));
  contents->view()->addSubview(holder);
  holder->addSubview(bar);
  bar->setFrame(cg::Rect(0, 30, 768, 44));
  float barY = ui::screenY(*bar);
  bar->becomeFirstResponder();
  clock->advance(1);
  EXPECT_EQ(ui::screenY(*bar), 20);
  EXPECT_EQ(holder->frame().y(), 100 - (barY - 20));
  display->setActive(false);
  clock->advance(1);
  EXPECT_EQ(holder->frame().y(), 100 - (barY - 20) + 10);
}

TEST(TKPopupViews, RemovingASubviewTakesThePopupAway) {
  auto parent = std::make_shared<ui::View>();
  auto popup = std::make_shared<TKPopupView>();
  parent->addSubview(popup);
  auto child = std::make_shared<ui::View>();
  popup->addSubview(child);
  EXPECT_EQ(popup->superview(), parent.get());
  child->removeFromSuperview();
  EXPECT_FALSE(popup->superview());
  popup->setPopupViewController(std::make_shared<ui::ViewController>());
  EXPECT_TRUE(popup->popupViewController());
}

}  // namespace
