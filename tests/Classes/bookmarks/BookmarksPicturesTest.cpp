// Pictures of the Bookmarks tab as a person sees it, in both orientations:
// the list unfolded and with a section folded, batch editing with rows
// checked, the move popover, the groups, and the list in the Arabic interface. They are written to the test
// folder's "bookmarks-pictures".
#include "tests/Classes/bookmarks/BookmarksFixture.h"

namespace bookmarkstest {
namespace {

TEST_F(BookmarksTest, PicturesInBothOrientations) {
  for (auto orientation : {ui::InterfaceOrientation::LandscapeRight, ui::InterfaceOrientation::Portrait}) {
    std::string name = ui::isLandscape(orientation) ? "landscape" : "portrait";
    SCOPED_TRACE(name);
    defaults().setInteger(1, "CurrentTranslationPrimary");
    defaults().setInteger(1, "CurrentTranslationv22");
    defaults().setInteger(2, "CurrentlyShowingSurah");
    bookmark(1, 1, 1);
    bookmark(2, 255, 2, "The verse of the throne");
    bookmark(2, 26, 2);  // a hizb quarter
    bookmark(7, 206, 3);  // a prostration
    bookmark(18, 10, 4);
    bookmark(36, 1, 0);
    launch(orientation);
    auto& l = openTab();
    auto path = [&](const std::string& state) {
      return (testenv::scratchFolder("bookmarks-pictures") / (name + "-" + state + ".png")).string();
    };
    ASSERT_TRUE(backend().screenshot(path("list")));
    l.arrSectionViews()[1]->btnCollapsePressed();
    settle(0.5);
    ASSERT_TRUE(backend().screenshot(path("folded")));
    l.arrSectionViews()[1]->btnCollapsePressed();
    settle(0.5);
    l.btnMorePressed();
    settle(0.5);
    tapView(*cellAt(l, 0, 0));
    tapView(*cellAt(l, 2, 0));
    ASSERT_TRUE(backend().screenshot(path("batch")));
    tapView(*l.btnBatchMove);
    settle(0.5);
    ASSERT_TRUE(l.popoverView() && l.popoverView()->isPopoverVisible());
    ASSERT_TRUE(backend().screenshot(path("move")));
    l.popoverView()->dismissPopoverAnimated(false);
    l.btnMorePressed();
    settle(0.5);
    l.btnGroupPressed();
    settle(0.5);
    ASSERT_TRUE(backend().screenshot(path("groups")));
    // The Arabic interface: the header's number at the right, its badge at the left.
    Language::setLanguage("ar");
    ZarvelSDKAppDelegate::ResetArabicCheck();
    root->tabbarButtonPressed(3);
    auto& arabic = openTab();
    EXPECT_EQ(arabic.lblNavTitle->text(), Language::get("All Bookmarks", "All Bookmarks"));
    ASSERT_TRUE(backend().screenshot(path("arabic")));
    Language::setLanguage("en");
    ZarvelSDKAppDelegate::ResetArabicCheck();
    TearDown();
    root.reset();
    delegate.reset();
    SetUp();
  }
}

}  // namespace
}  // namespace bookmarkstest
