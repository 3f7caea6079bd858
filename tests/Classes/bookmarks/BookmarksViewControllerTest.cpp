// The Bookmarks tab: the groups under the list, the sections by surah, the
// load on its worker, folding, the filter and the keys.
#include "tests/Classes/bookmarks/BookmarksFixture.h"

#include "Classes/core/Database.h"
#include "Classes/core/String+More.h"
#include "platform/ui/Window.h"

namespace bookmarkstest {
namespace {

using Orientation = ui::InterfaceOrientation;

TEST_F(BookmarksTest, TheTabShowsTheListAboveTheGroupsWithTheirCounts) {
  bookmark(2, 255, 2);
  bookmark(2, 5, 2);
  bookmark(18, 10, 2);
  bookmark(1, 1, 0, "a note");
  launch(Orientation::Portrait);
  auto& l = openTab();
  ASSERT_EQ(tab()->viewControllers().size(), 2u);
  EXPECT_TRUE(dynamic_cast<BookmarkGroupsViewController*>(tab()->viewControllers()[0].get()));
  EXPECT_EQ(l.lblNavTitle->text(), "All Bookmarks");
  using Rows = std::vector<std::pair<int, std::vector<int>>>;
  EXPECT_EQ(shown(l), (Rows{{1, {1}}, {2, {5, 255}}, {18, {10}}}));
  EXPECT_EQ(l.tblBookmarks()->numberOfSections(), 3);
  EXPECT_EQ(l.tblBookmarks()->numberOfRowsInSection(1), 2);
  // Only the last bookmark of a section goes without its rule.
  EXPECT_FALSE(l.arrSectionedBookmarks()[1]->AllBookmarks()->at(0)->IsLastInSection());
  EXPECT_TRUE(l.arrSectionedBookmarks()[1]->AllBookmarks()->at(1)->IsLastInSection());
  EXPECT_EQ(l.arrSectionViews()[1]->header.btnVerseCounter->titleForState(ui::ControlStateDisabled), "2");
  EXPECT_EQ(l.lblNoBookmarks->alpha(), 0);
  EXPECT_EQ(tab()->tabBarItem().badgeValue, "4");

  // Back to the groups: every group with its count, none for an empty one.
  l.btnGroupPressed();
  settle(0.5);
  auto* groups = dynamic_cast<BookmarkGroupsViewController*>(tab()->visibleViewController());
  ASSERT_NE(groups, nullptr);
  EXPECT_EQ(tab()->tabBarItem().badgeValue, "");  // the list is gone from view
  const char* counts[] = {"4", "", "3", "", ""};
  for (int r = 0; r < 5; ++r) {
    auto cell = groups->tblGroups->cellForRowAtIndexPath({0, r});
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->detailTextLabel()->text(), counts[r]) << r;
  }
  // A group opens its list; a second press of the tab over the groups lists everything.
  groups->didSelectRowAtIndexPath(groups->tblGroups.get(), {0, 2});
  settle(0.5);
  waitForLoad();
  ASSERT_NE(list(), nullptr);
  EXPECT_EQ(list()->lblNavTitle->text(), "Memorizing");
  EXPECT_EQ(shown(*list()), (Rows{{2, {5, 255}}, {18, {10}}}));
  list()->btnGroupPressed();
  settle(0.5);
  root->tabbarButtonPressed(2);
  waitForLoad();
  ASSERT_NE(list(), nullptr);
  EXPECT_EQ(list()->lblNavTitle->text(), "All Bookmarks");
  EXPECT_EQ(shown(*list()).size(), 3u);
}

// The root's theme refresh reaches the list on the tab; a list whose view
// was never made has nothing to theme.
TEST_F(BookmarksTest, TheRootsThemeRefreshRethemesTheListOnTheTab) {
  bookmark(2, 255);
  launch(Orientation::Portrait);
  auto& l = openTab();
  l.imgTopBarBG->setImage(nullptr);
  l.lblNavTitle->setContentMode(ui::ContentMode::Left);
  root->refreshTheme();
  auto bar = l.imgTopBarBG->image();
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar->size(), ui::Image::imageNamed("ipad-column-header-s9.png")->size());
  EXPECT_EQ(bar->leftCapWidth(), 5);
  EXPECT_EQ(bar->topCapHeight(), 0);
  EXPECT_EQ(l.lblNavTitle->contentMode(), ui::ContentMode::Center);

  auto unseen = std::make_shared<BookmarksViewController>();
  unseen->refreshTheme();
  EXPECT_FALSE(unseen->isViewLoaded());
}

TEST_F(BookmarksTest, ANewGroupStartsAtTheTopAndTheSameGroupWhereItWasLeft) {
  for (int verse = 1; verse <= 60; ++verse) bookmark(2, verse, 1);
  launch(Orientation::Portrait);
  auto& l = openTab();
  l.tblBookmarks()->setContentOffset(cg::Point(0, 900), false);
  root->tabbarButtonPressed(3);  // the list is dropped and its place stored
  EXPECT_EQ(defaults().integerForKey("LastBookmarkYOffset"), 900);
  auto& again = openTab();
  EXPECT_EQ(again.tblBookmarks()->contentOffset().y, 900);
  // Another group: from the top.
  again.btnGroupPressed();
  settle(0.5);
  ZarvelSDKAppDelegate::GetInstance()->filterBookmarksOnGroup(1);
  settle(0.5);
  waitForLoad();
  ASSERT_NE(list(), nullptr);
  EXPECT_EQ(list()->tblBookmarks()->contentOffset().y, 0);
}

TEST_F(BookmarksTest, FoldingASectionHidesItsRowsAndIsRemembered) {
  bookmark(2, 1);
  bookmark(2, 2);
  bookmark(3, 7);
  launch(Orientation::LandscapeRight);
  auto& l = openTab();
  auto header = l.arrSectionViews()[0];
  tapView(*header->header.btnCollapse);
  EXPECT_TRUE(l.arrSectionedBookmarks()[0]->IsSectionCollapsed());
  EXPECT_EQ(l.tblBookmarks()->numberOfRowsInSection(0), 0);
  EXPECT_EQ(l.tblBookmarks()->rectForHeaderInSection(0).height(), 44);
  EXPECT_TRUE(ChapterInfo::hasBookmarkSectionCollapsed(user(), 2));
  EXPECT_FALSE(ChapterInfo::hasBookmarkSectionCollapsed(user(), 3));
  // The tab made again reads the fold back; unfolding brings the rows again.
  root->tabbarButtonPressed(3);
  auto& again = openTab();
  ASSERT_TRUE(again.arrSectionedBookmarks()[0]->IsSectionCollapsed());
  EXPECT_EQ(again.tblBookmarks()->numberOfRowsInSection(0), 0);
  again.arrSectionViews()[0]->btnCollapsePressed();
  EXPECT_EQ(again.tblBookmarks()->numberOfRowsInSection(0), 2);
  EXPECT_FALSE(ChapterInfo::hasBookmarkSectionCollapsed(user(), 2));
}

// The worker builds its list apart and the main thread swaps it in; a load
// asked for meanwhile runs when the first ends.
TEST_F(BookmarksTest, ALoadAskedForWhileOneRunsShowsTheNewestList) {
  bookmark(2, 1);
  launch(Orientation::Portrait);
  auto& l = openTab();
  auto before = l.arrSectionedBookmarks();
  l.setupBookmarkRows();
  EXPECT_TRUE(l.loadingBookmarks());  // set before the worker starts
  ns::Thread::waitForDetachedThreads();  // its list waits on the main loop
  EXPECT_EQ(l.arrSectionedBookmarks(), before);  // untouched by the worker
  bookmark(5, 3);
  ns::NotificationCenter::defaultCenter().postNotificationName("BookmarkDidChange");
  waitForLoad();
  EXPECT_FALSE(l.loadingBookmarks());
  using Rows = std::vector<std::pair<int, std::vector<int>>>;
  EXPECT_EQ(shown(l), (Rows{{2, {1}}, {5, {3}}}));
  // The headers in view show the new sections.
  for (size_t i = 0; i < l.arrSectionedBookmarks().size(); ++i)
    EXPECT_EQ(l.arrSectionViews()[i]->ThisBookmark(), l.arrSectionedBookmarks()[i]);
}

TEST_F(BookmarksTest, ATabLeftDuringALoadIsNeverTouchedByItsWorker) {
  for (int verse = 1; verse <= 40; ++verse) bookmark(2, verse);
  launch(Orientation::Portrait);
  openTab();
  {
    // The worker waits for the store while the tab is dropped.
    store::Guard hold(store::lock());
    list()->setupBookmarkRows();
    std::weak_ptr<ui::ViewController> gone = list()->weak_from_this();
    root->tabbarButtonPressed(3);
    EXPECT_TRUE(gone.expired());
  }
  waitForLoad();
  EXPECT_EQ(root->iSelectedBottomTab(), 3);
}

TEST_F(BookmarksTest, TheFilterFindsArabicTypedWithOrWithoutMarks) {
  bookmark(1, 2);
  bookmark(2, 255);
  bookmark(112, 1, 0, "Sincerity, read at night");
  launch(Orientation::LandscapeRight);
  auto& l = openTab();
  EXPECT_TRUE(l.txtSearchBar()->isFirstResponder());  // the field takes the keys at once
  // A word of 2:255 in the standard spelling the search reads (without marks)
  // and as a reader types it with them.
  std::string bare = "\u0627\u0644\u062D\u064A";
  std::string vowelled = "\u0627\u0644\u0652\u062D\u064E\u064A\u0651\u064F";
  ASSERT_NE(ChapterInfo::getTranslationFor(content(), 0, 2, 255).find(bare), std::string::npos);
  ASSERT_EQ(ns::cleanArabicAccents(vowelled), bare);
  using Rows = std::vector<std::pair<int, std::vector<int>>>;
  struct Case {
    std::string text;
    Rows rows;
  };
  for (const Case& c : {Case{bare, {{2, {255}}}}, Case{vowelled, {{2, {255}}}}, Case{"night", {{112, {1}}}},
                        Case{"zzzz", {}}, Case{"", {{1, {2}}, {2, {255}}, {112, {1}}}}}) {
    SCOPED_TRACE(c.text);
    l.txtSearchBar()->setText(c.text);
    waitForLoad();
    EXPECT_EQ(shown(l), c.rows);
    EXPECT_EQ(l.lblNoBookmarks->alpha(), c.rows.empty() ? 1 : 0);
  }
}

// Case is ignored in every script, in the notes as in the verse texts, and
// whatever was typed first after the list loaded.
TEST_F(BookmarksTest, TheFilterIgnoresCaseInEveryScript) {
  bookmark(3, 1, 0, "\u00C9COLE du soir");                               // ÉCOLE: Latin beyond ASCII
  bookmark(4, 1, 0, "\u041C\u043E\u043B\u0438\u0442\u0432\u0430 \u041D\u041E\u0427\u042C\u042E");  // Cyrillic
  bookmark(5, 1, 0, "\uFF26\uFF35\uFF2C\uFF2C width");                 // full-width capitals
  bookmark(6, 1, 0, "\u0643\u062A\u0627\u0628 \u0627\u0644\u0635\u0644\u0627\u0629");  // Arabic
  launch(Orientation::Portrait);
  auto& l = openTab();
  using Rows = std::vector<std::pair<int, std::vector<int>>>;
  struct Case {
    std::string text;
    Rows rows;
  };
  for (const Case& c : {Case{"\u00E9cole", {{3, {1}}}}, Case{"\u00C9COLE DU", {{3, {1}}}},
                        Case{"\u043D\u043E\u0447\u044C\u044E", {{4, {1}}}}, Case{"\uFF46\uFF55\uFF4C", {{5, {1}}}},
                        Case{"\u0627\u0644\u0635\u0644\u0627\u0629", {{6, {1}}}}, Case{"SOIR", {{3, {1}}}},
                        Case{"zzzz", {}}}) {
    SCOPED_TRACE(c.text);
    l.txtSearchBar()->setText("");
    l.setupBookmarkRows();  // read afresh: each text is the first after a load
    waitForLoad();
    l.txtSearchBar()->setText(c.text);
    waitForLoad();
    EXPECT_EQ(shown(l), c.rows);
  }
}

TEST_F(BookmarksTest, TypingDuringALoadEndsInOneLoadWithTheLastText) {
  bookmark(2, 255);
  bookmark(112, 1, 0, "night prayer");
  launch(Orientation::Portrait);
  auto& l = openTab();
  store::Guard* hold = new store::Guard(store::lock());
  l.txtSearchBar()->setText("n");
  l.txtSearchBar()->setText("ni");
  l.txtSearchBar()->setText("nigh");
  backend().advance(0.5);  // retries wait for the running load
  delete hold;
  waitForLoad();
  using Rows = std::vector<std::pair<int, std::vector<int>>>;
  EXPECT_EQ(shown(l), (Rows{{112, {1}}}));
}

TEST_F(BookmarksTest, ATapOnTheOverlayEndsEditingAndKeepsTheFilter) {
  bookmark(2, 255, 0, "throne");
  bookmark(3, 1);
  launch(Orientation::Portrait);
  auto& l = openTab();
  ASSERT_TRUE(l.txtSearchBar()->isFirstResponder());
  EXPECT_FALSE(l.viewOpaqueLayer->isUserInteractionEnabled());  // given the keys: the list still takes clicks
  // While the field takes the keys the column stays in view in portrait.
  root->prepareForPortraitWithAnimation(false, true);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), 0);
  l.txtSearchBar()->setText("throne");
  waitForLoad();
  EXPECT_TRUE(l.viewOpaqueLayer->isUserInteractionEnabled());  // typed: the overlay lies over the list
  tapView(*l.viewOpaqueLayer);
  EXPECT_FALSE(l.txtSearchBar()->isFirstResponder());
  EXPECT_FALSE(l.viewOpaqueLayer->isUserInteractionEnabled());
  EXPECT_EQ(l.viewOpaqueLayer->alpha(), 0);
  EXPECT_EQ(l.txtSearchBar()->text(), "throne");
  EXPECT_EQ(shown(l).size(), 1u);
  root->prepareForPortraitWithAnimation(false, true);
  EXPECT_EQ(root->viewFloatingVerses->frame().x(), root->columnCoveredX());
}

}  // namespace
}  // namespace bookmarkstest
