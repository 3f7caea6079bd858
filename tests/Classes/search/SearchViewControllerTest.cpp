// The search screen: the pause after typing and the one query it runs, a
// query stopped by typing, the Arabic with or without marks, hostile text,
// the title and hints, folding, the keys, and a history entry applied.
#include "tests/Classes/search/SearchFixture.h"

#include "Classes/core/Database.h"
#include "Classes/core/String+More.h"
#include "platform/ui/Window.h"

namespace searchtest {
namespace {

using Orientation = ui::InterfaceOrientation;

TEST_F(SearchTest, TypingWithinThePauseRunsOneQueryForTheWholeWord) {
  defaults().setInteger(1, "LastTranslationSearched");  // the English translation
  launch(Orientation::Portrait);
  auto& s = openTab();
  ASSERT_TRUE(dynamic_cast<SavedSearchesViewController*>(tab()->viewControllers()[0].get()));
  int before = SearchViewController::queriesRun();
  s.txtSearchBar()->setText("heav");
  backend().advance(0.1);
  s.txtSearchBar()->setText("heaven");
  backend().advance(0.1);
  EXPECT_EQ(SearchViewController::queriesRun(), before);  // still within the pause
  waitForQuery();
  EXPECT_EQ(SearchViewController::queriesRun(), before + 1);
  EXPECT_EQ(s.strLastSearchedWord(), "heaven");
  EXPECT_EQ(s.foundInTrans(), 1);
  ASSERT_FALSE(hits(s).empty());
  EXPECT_EQ(s.lblResultsTitle->text().rfind(ns::format("%d results in %d Surahs", s.totalVerses(), s.totalSurahs()), 0),
            0u);
  EXPECT_FALSE(s.btnMore->isHidden());
  // The snippet marks the word, escaped markup around it.
  auto hit = s.arrSectionedResults()[0]->AllResults()->at(0);
  EXPECT_NE(hit->VerseText().find("<span class=\"yellowBox\">"), std::string::npos) << hit->VerseText();
  // The search joined the history.
  auto entries = ChapterInfo::getSavedSearch(user());
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0]->strSearchText(), "heaven");
  EXPECT_EQ(entries[0]->iHitCount(), s.totalVerses());
}

TEST_F(SearchTest, TypingDuringAQueryStopsItAndTheNewestTextRuns) {
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::Portrait);
  auto& s = openTab();
  {
    // The query waits for the store while the reader types on.
    store::Guard hold(store::lock());
    s.txtSearchBar()->setText("mercy");
    backend().advance(0.25);
    ASSERT_TRUE(s.loadingResults());
    s.txtSearchBar()->setText("patience");
    backend().advance(0.1);
  }
  waitForQuery();
  EXPECT_EQ(s.strLastSearchedWord(), "patience");
  EXPECT_FALSE(hits(s).empty());
  EXPECT_EQ(defaults().stringForKey("LastSearchString"), "patience");
  auto entries = ChapterInfo::getSavedSearch(user());
  ASSERT_EQ(entries.size(), 1u);  // the stopped query left nothing in the history
  EXPECT_EQ(entries[0]->strSearchText(), "patience");
}

// The tab drops its screen while a query waits for the store: the query ends
// with nothing to hand its results to, and nothing of the screen is touched.
TEST_F(SearchTest, ATabLeftDuringAQueryIsNeverTouchedByItsWorker) {
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::Portrait);
  openTab();
  {
    store::Guard hold(store::lock());
    screen()->txtSearchBar()->setText("mercy");
    backend().advance(0.25);
    ASSERT_TRUE(screen()->loadingResults());
    std::weak_ptr<ui::ViewController> gone = screen()->weak_from_this();
    root->tabbarButtonPressed(3);
    EXPECT_TRUE(gone.expired());  // the worker does not keep it
  }
  waitForQuery();
  EXPECT_EQ(root->iSelectedBottomTab(), 3);
  EXPECT_NE(defaults().stringForKey("LastSearchString"), "mercy");  // no hand-over ran
  EXPECT_TRUE(ChapterInfo::getSavedSearch(user()).empty());
}

TEST_F(SearchTest, ArabicTypedWithOrWithoutMarksFindsTheSameVerses) {
  defaults().setInteger(0, "CurrentTranslationPrimary");
  defaults().setInteger(0, "CurrentTranslationSecondary");
  launch(Orientation::LandscapeRight);
  auto& s = openTab();
  type(s, "\u0627\u0644\u0635\u0628\u0631");  // patience
  auto bare = hits(s);
  ASSERT_FALSE(bare.empty());
  EXPECT_EQ(s.foundInTrans(), 0);
  type(s, "\u0627\u0644\u0635\u0651\u064E\u0628\u0652\u0631\u0650");
  EXPECT_EQ(hits(s), bare);
  // An Arabic hit shows the verse itself, not a snippet.
  auto hit = s.arrSectionedResults()[0]->AllResults()->at(0);
  EXPECT_EQ(hit->VerseText(), ChapterInfo::getArabicVerseFor(content(), hit->surah(), hit->verse()));
}

TEST_F(SearchTest, HostileTextGivesASaneScreen) {
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::Portrait);
  auto& s = openTab();
  std::string pasted;
  for (int i = 0; i < 5000; ++i) pasted += "mercy ";
  const std::string inputs[] = {"\"", "*", "-", " OR ", "\"unbalanced", "a\"b*c", "%_\\", "'; DROP TABLE x;--",
                                "NEAR/3", "mercy -mercy", std::string(3000, 'x'), pasted, std::string("\0mercy", 6),
                                "\U0001F600", "OR OR OR"};
  for (const std::string& text : inputs) {
    SCOPED_TRACE(text.substr(0, 40));
    type(s, text);
    EXPECT_FALSE(s.loadingResults());
    EXPECT_FALSE(s.lblResultsTitle->text().empty());
    EXPECT_EQ(s.lblResultsTitle->alpha(), 1);  // a title, never the hints of an empty field
    EXPECT_LE(ns::length16(s.strLastSearchedWord().value_or("")), SearchViewController::kMaxQueryLength);
  }
}

TEST_F(SearchTest, TheQueryTextIsCutToItsWordsAndLength) {
  struct Case {
    std::string typed, sent;
  };
  std::string many, first16;
  for (int i = 1; i <= 20; ++i) many += "w" + std::to_string(i) + "  ";
  for (int i = 1; i <= 16; ++i) first16 += (i > 1 ? "  w" : "w") + std::to_string(i);
  const Case cases[] = {{"  mercy  ", "mercy"}, {many, first16}, {std::string(300, 'a'), std::string(256, 'a')},
                        {"", ""}, {"\n\t", ""}};
  for (const Case& c : cases) EXPECT_EQ(SearchViewController::queryTextFrom(c.typed), c.sent) << c.typed.substr(0, 30);
}

TEST_F(SearchTest, TitleAndHintsFollowTheResults) {
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::Portrait);
  auto& s = openTab();
  // Empty: the operator hints.
  EXPECT_EQ(s.lblResultsTitle->alpha(), 0);
  EXPECT_EQ(s.lblHintTop->alpha(), 1);
  EXPECT_EQ(s.lblHintTop->text(), "You can use operators:");
  EXPECT_NE(s.lblHintTitle->text().find("Put between quotes"), std::string::npos);
  type(s, "zzqqxx");
  EXPECT_EQ(s.lblResultsTitle->text(), "No results found");
  EXPECT_TRUE(s.btnMore->isHidden());
  EXPECT_EQ(ChapterInfo::getSavedSearch(user()).size(), 0u);  // nothing found, nothing kept
  type(s, "the");  // past the store's limit
  EXPECT_NE(s.lblResultsTitle->text().find("\nToo many results, narrow down search"), std::string::npos);
}

TEST_F(SearchTest, FoldingAResultSectionStaysInMemory) {
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::LandscapeRight);
  auto& s = openTab();
  type(s, "patience");
  ASSERT_GE(s.arrSectionViews().size(), 2u);
  int surah = s.arrSectionedResults()[0]->surah();
  s.arrSectionViews()[0]->btnCollapsePressed();
  EXPECT_TRUE(s.arrSectionedResults()[0]->IsSectionCollapsed());
  EXPECT_EQ(s.tblSearchResults()->numberOfRowsInSection(0), 0);
  EXPECT_FALSE(ChapterInfo::hasBookmarkSectionCollapsed(user(), surah));  // the bookmarks' table is theirs
  EXPECT_EQ(fixtures::scalarInt(user(), "SELECT count(*) FROM bookmarksections"), 0);
  s.arrSectionViews()[0]->btnCollapsePressed();
  EXPECT_GT(s.tblSearchResults()->numberOfRowsInSection(0), 0);
}

TEST_F(SearchTest, ANarrowScreenStillCutsSnippets) {
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::Portrait);
  auto& s = openTab();
  s.view()->setFrame(cg::Rect(0, 0, 40, 600));
  type(s, "mercy");
  ASSERT_FALSE(hits(s).empty());
  for (const auto& section : s.arrSectionedResults())
    for (const auto& hit : *section->AllResults()) EXPECT_FALSE(hit->VerseText().empty());
}

TEST_F(SearchTest, KeysOpenSearchRunAtOnceMoveOpenAndClear) {
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::LandscapeRight);
  ASSERT_EQ(root->iSelectedBottomTab(), 3);
  backend().key("f", ui::KeyModifierControl);
  settle(0.5);
  ASSERT_EQ(root->iSelectedBottomTab(), 1);
  ASSERT_NE(screen(), nullptr);
  auto& s = *screen();
  EXPECT_TRUE(s.txtSearchBar()->isFirstResponder());
  waitForQuery();
  // Enter runs the search without the pause.
  int before = SearchViewController::queriesRun();
  backend().typeText("patience");
  backend().key("Return");
  EXPECT_TRUE(s.loadingResults());
  EXPECT_EQ(SearchViewController::queriesRun() >= before, true);
  waitForQuery();
  EXPECT_FALSE(s.txtSearchBar()->isFirstResponder());
  ASSERT_GE(hits(s).size(), 2u);
  backend().key("Down");
  backend().key("Down");
  ASSERT_TRUE(s.tblSearchResults()->indexPathForSelectedRow());
  auto second = s.arrSectionedResults()[0]->AllResults()->size() > 1 ? s.arrSectionedResults()[0]->AllResults()->at(1)
                                                                      : s.arrSectionedResults()[1]->AllResults()->at(0);
  backend().key("Return");
  settle(1.5);
  EXPECT_EQ(reading().iCurrentSurah(), second->surah());
  EXPECT_EQ(reading().iCurrentVerse(), second->verse());
  // Escape clears the field (and the next pause shows the hints).
  s.txtSearchBar()->becomeFirstResponder();
  backend().key("Escape");
  EXPECT_EQ(s.txtSearchBar()->text(), "");
  waitForQuery();
  EXPECT_EQ(s.lblHintTop->alpha(), 1);
}

// A history entry applied to the screen already showing runs its own text.
TEST_F(SearchTest, AHistoryEntryAppliedToTheShowingScreenRunsItsText) {
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::Portrait);
  auto& s = openTab();
  type(s, "mercy");
  auto entry = std::make_shared<SavedSearch>();
  entry->setStrSearchText("patience");
  entry->setITranslation(1);
  entry->setISavedID(ChapterInfo::addSavedSearch(user(), *entry));
  root->filterSearchViewWithSavedSearch(entry);
  waitForQuery();
  EXPECT_EQ(screen(), &s);
  EXPECT_EQ(s.txtSearchBar()->text(), "patience");
  EXPECT_EQ(s.strLastSearchedWord(), "patience");
  EXPECT_EQ(s.foundInTrans(), 1);
}

}  // namespace
}  // namespace searchtest
