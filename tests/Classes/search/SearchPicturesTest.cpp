// Pictures of the Search tab as a person sees it, in both orientations:
// translation hits unfolded and with a section folded, the field edited with
// its segment bar and operator keys, Arabic hits, the More sheet, the hints
// of an empty field and the history. They are written to the test folder's
// "search-pictures".
#include "tests/Classes/search/SearchFixture.h"

namespace searchtest {
namespace {

TEST_F(SearchTest, PicturesInBothOrientations) {
  for (auto orientation : {ui::InterfaceOrientation::LandscapeRight, ui::InterfaceOrientation::Portrait}) {
    std::string name = ui::isLandscape(orientation) ? "landscape" : "portrait";
    SCOPED_TRACE(name);
    defaults().setInteger(0, "FirstTimeInstall");  // the example searches
    defaults().setInteger(1, "LastTranslationSearched");
    defaults().setInteger(2, "CurrentlyShowingSurah");
    launch(orientation);
    auto path = [&](const std::string& state) {
      return (testenv::scratchFolder("search-pictures") / (name + "-" + state + ".png")).string();
    };
    auto& s = openTab();
    ASSERT_TRUE(backend().screenshot(path("hints")));
    type(s, "mercy & light");
    type(s, "patience");
    ASSERT_TRUE(backend().screenshot(path("results")));
    s.arrSectionViews()[1]->btnCollapsePressed();
    settle(0.5);
    ASSERT_TRUE(backend().screenshot(path("folded")));
    s.btnMorePressed();
    settle(0.5);
    ASSERT_TRUE(backend().screenshot(path("more-sheet")));
    ui::ButtonPanel::visiblePanel()->tapButtonAtIndex(ui::ButtonPanel::visiblePanel()->cancelButtonIndex());
    settle(0.5);
    s.txtSearchBar()->becomeFirstResponder();
    settle(0.5);
    ASSERT_TRUE(backend().screenshot(path("editing")));
    s.segmentSelector->setSelectedSegmentIndex(2);  // the Qur'an
    s.segmentSelectorPressed();
    s.txtSearchBar()->setText("\u0627\u0644\u0635\u0628\u0631");
    waitForQuery();
    s.hideOpaqueView();
    settle(0.5);
    ASSERT_TRUE(backend().screenshot(path("arabic")));
    s.btnSavedSearchesPressed();
    settle(0.5);
    waitForQuery();
    ASSERT_NE(history(), nullptr);
    ASSERT_TRUE(backend().screenshot(path("history")));
    TearDown();
    root.reset();
    delegate.reset();
    SetUp();
  }
}

}  // namespace
}  // namespace searchtest
