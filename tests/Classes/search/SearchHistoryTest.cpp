// The search history and the marks a search leaves on its verses: seeding
// once, running an entry again, the eye, deleting, the More sheet's toggle,
// the 200 entries kept, and the mail and message texts.
#include "tests/Classes/search/SearchFixture.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/foundation/Thread.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"

namespace searchtest {
namespace {

using Orientation = ui::InterfaceOrientation;

class SearchHistoryTest : public SearchTest {
 protected:
  // A history entry stored now.
  SavedSearchPtr entry(const std::string& text, int translation, int hits = 1) {
    auto e = std::make_shared<SavedSearch>();
    e->setStrSearchText(text);
    e->setITranslation(translation);
    e->setIHitCount(hits);
    e->setISavedID(ChapterInfo::addSavedSearch(user(), *e));
    return e;
  }
  SavedSearchesViewController& openHistory() {
    auto& s = openTab();
    s.btnSavedSearchesPressed();
    settle(0.5);
    waitForQuery();
    auto* h = history();
    EXPECT_NE(h, nullptr);
    return *h;
  }
  SavedSearchCell* row(SavedSearchesViewController& h, int r) {
    return dynamic_cast<SavedSearchCell*>(h.tblSavedSearches->cellForRowAtIndexPath({0, r}).get());
  }
  int hitsOf(const SavedSearch& e) {
    bool limit = false;
    return int(ChapterInfo::getSearchResults(content(), e.iTranslation(), e.strSearchText(), &limit).size());
  }
};

TEST_F(SearchHistoryTest, TheFirstRunSeedsFiveExamplesOnce) {
  defaults().setInteger(0, "FirstTimeInstall");
  launch(Orientation::Portrait);
  auto& h = openHistory();
  ASSERT_EQ(h.arrSavedSearches().size(), 5u);
  const char* texts[] = {"\u0628\u0633\u0645 \u0627\u0644\u0644\u0647", "Allah AND Good", "heaven OR hell", "forgiv*",
                         "\"This is\" OR Test"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(h.arrSavedSearches()[size_t(i)]->strSearchText(), texts[i]) << i;
  EXPECT_TRUE(h.arrSavedSearches()[0]->isReflectedInSurah());
  EXPECT_EQ(defaults().stringForKey("FirstTimeInstall"), "1");
  EXPECT_EQ(row(h, 2)->lblResults->text(), "176 results");
  // Shown again: read from the store, not seeded twice.
  root->tabbarButtonPressed(3);
  auto& again = openHistory();
  EXPECT_EQ(again.arrSavedSearches().size(), 5u);
  EXPECT_EQ(fixtures::scalarInt(user(), "SELECT count(*) FROM savedsearches"), 5);
}

TEST_F(SearchHistoryTest, TheEyeMarksTheHitsAndTakesEveryMarkAway) {
  launch(Orientation::LandscapeRight);
  auto e = entry("patience", 1, 3);
  auto& h = openHistory();
  ASSERT_EQ(h.arrSavedSearches().size(), 1u);
  SavedSearchCell* cell = row(h, 0);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->lblTitle->textColor(), cg::Color::black());
  cell->btnEyePressed();
  EXPECT_FALSE(h.tblSavedSearches->isUserInteractionEnabled());  // no second toggle meanwhile
  waitForQuery();
  int id = h.arrSavedSearches()[0]->iSavedID();
  EXPECT_EQ(marks(id), hitsOf(*e));
  EXPECT_GT(marks(id), 0);
  EXPECT_TRUE(h.arrSavedSearches()[0]->isReflectedInSurah());
  EXPECT_EQ(row(h, 0)->lblTitle->textColor(), cg::Color::fromRGB255(134, 82, 167));
  EXPECT_TRUE(h.tblSavedSearches->isUserInteractionEnabled());
  // The verse numbers of the reading screen read the marks.
  bool limit = false;
  auto first = ChapterInfo::getSearchResults(content(), 1, "patience", &limit)[0];
  EXPECT_TRUE(ChapterInfo::isReflectedSearch(user(), first->surah(), first->verse()));

  // Switched on again (the store changed meanwhile): the old marks go first.
  row(h, 0)->btnEyePressed();
  waitForQuery();
  EXPECT_EQ(marks(id), 0);
  row(h, 0)->btnEyePressed();
  waitForQuery();
  EXPECT_EQ(marks(id), hitsOf(*e));
  EXPECT_EQ(fixtures::scalarInt(user(), "SELECT count(*) FROM searchmatches"), hitsOf(*e));
}

// A search whose query finds nothing now (its translation emptied, say)
// still takes its marks away when switched off or deleted.
TEST_F(SearchHistoryTest, MarksGoWithTheirSearchWhateverItFindsToday) {
  launch(Orientation::Portrait);
  auto gone = entry("zzqqxx", 1);
  auto deleted = entry("zzqqyy", 1);
  gone->setIsReflectedInSurah(true);
  deleted->setIsReflectedInSurah(true);
  ASSERT_TRUE(ChapterInfo::updateSavedSearch(user(), *gone));
  ASSERT_TRUE(ChapterInfo::updateSavedSearch(user(), *deleted));
  for (int verse : {1, 2, 3}) {
    ChapterInfo::reflectSearchedVerses(user(), 2, verse, gone->iSavedID());
    ChapterInfo::reflectSearchedVerses(user(), 3, verse, deleted->iSavedID());
  }
  auto& h = openHistory();
  ASSERT_EQ(h.arrSavedSearches().size(), 2u);
  int goneRow = h.arrSavedSearches()[0]->iSavedID() == gone->iSavedID() ? 0 : 1;
  row(h, goneRow)->btnEyePressed();
  waitForQuery();
  EXPECT_EQ(marks(gone->iSavedID()), 0);
  EXPECT_FALSE(h.arrSavedSearches()[size_t(goneRow)]->isReflectedInSurah());

  h.deleteSearchAtIndexPath({0, 1 - goneRow});
  settle(0.5);
  EXPECT_EQ(marks(deleted->iSavedID()), 0);
  EXPECT_EQ(fixtures::scalarInt(user(), "SELECT count(*) FROM savedsearches"), 1);
  EXPECT_EQ(h.tblSavedSearches->numberOfRowsInSection(0), 1);
}

TEST_F(SearchHistoryTest, ARowRunsItsSearchAndSearchOpensAnEmptyScreen) {
  launch(Orientation::Portrait);
  entry("mercy", 1);
  backend().advance(1);
  entry("patience", 1);
  auto& h = openHistory();
  ASSERT_EQ(h.arrSavedSearches().size(), 2u);
  EXPECT_EQ(h.arrSavedSearches()[0]->strSearchText(), "patience");  // newest first
  h.didSelectRowAtIndexPath(h.tblSavedSearches.get(), {0, 1});
  settle(0.5);
  waitForQuery();
  ASSERT_NE(screen(), nullptr);
  EXPECT_EQ(screen()->txtSearchBar()->text(), "mercy");
  EXPECT_EQ(screen()->strLastSearchedWord(), "mercy");
  EXPECT_EQ(ChapterInfo::getSavedSearch(user())[0]->strSearchText(), "mercy");  // stamped to the top
  // The second press of the tab on the history goes back to the search screen.
  screen()->btnSavedSearchesPressed();
  settle(0.5);
  ASSERT_NE(history(), nullptr);
  root->tabbarButtonPressed(1);
  settle(0.5);
  EXPECT_NE(screen(), nullptr);
}

TEST_F(SearchHistoryTest, TheHistoryKeepsTwoHundredSearches) {
  launch(Orientation::Portrait);
  for (int i = 0; i < 200; ++i) entry("old " + std::to_string(i), 1);
  int oldest = ChapterInfo::getSavedSearch(user()).back()->iSavedID();
  ChapterInfo::reflectSearchedVerses(user(), 2, 1, oldest);
  defaults().setInteger(1, "LastTranslationSearched");
  auto& s = openTab();
  type(s, "patience");
  s.searchBarSearchButtonClicked(*s.txtSearchBar());
  auto entries = ChapterInfo::getSavedSearch(user());
  EXPECT_EQ(entries.size(), 200u);
  EXPECT_EQ(entries[0]->strSearchText(), "patience");
  EXPECT_EQ(marks(oldest), 0);  // the oldest went with its marks
  type(s, "PATIENCE");  // the same search again moves it to the top, no new entry
  EXPECT_EQ(ChapterInfo::getSavedSearch(user()).size(), 200u);
}

TEST_F(SearchHistoryTest, TheMoreSheetTogglesTheMarksOfAKnownSearchOnly) {
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::LandscapeRight);
  auto& s = openTab();
  type(s, "patience");
  auto current = s.getCurrentSavedSearch();
  ASSERT_TRUE(current);
  s.btnMorePressed();
  auto* sheet = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(sheet, nullptr);
  ASSERT_EQ(sheet->numberOfButtons(), 3);
  EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Highlight Results");
  int changes = 0;
  auto observer = ns::NotificationCenter::defaultCenter().addObserver("TranslationDidChange",
                                                                      [&](const ns::Value&) { ++changes; });
  sheet->tapButtonAtIndex(1);
  settle(0.3);
  waitForQuery();
  EXPECT_EQ(marks(current->iSavedID()), hitsOf(*current));
  EXPECT_EQ(changes, 1);
  s.btnMorePressed();
  sheet = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->buttonTitleAtIndex(1), "Unhighlight Results");
  sheet->tapButtonAtIndex(1);
  settle(0.3);
  waitForQuery();
  EXPECT_EQ(marks(current->iSavedID()), 0);

  // Text edited before its query ran: no entry matches, no toggle is offered,
  // and a toggle tapped on a sheet opened before changes nothing.
  s.btnMorePressed();
  sheet = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(sheet, nullptr);
  auto bar = s.txtSearchBar()->delegate();
  s.txtSearchBar()->setDelegate(std::weak_ptr<ui::SearchBarDelegate>());  // edited, its query not yet run
  s.txtSearchBar()->setText("patience and");
  s.txtSearchBar()->setDelegate(bar);
  sheet->tapButtonAtIndex(1);
  settle(0.5);
  EXPECT_EQ(fixtures::scalarInt(user(), "SELECT count(*) FROM searchmatches"), 0);
  s.btnMorePressed();
  sheet = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->numberOfButtons(), 2);  // "Email Results" and Cancel
  sheet->tapButtonAtIndex(sheet->cancelButtonIndex());
}

// A failure in the middle of marking leaves no marks written and the entry as it was.
TEST_F(SearchHistoryTest, AFailedMarkingLeavesNothingBehind) {
  launch(Orientation::Portrait);
  auto e = entry("patience", 1);
  bool limit = false;
  auto found = ChapterInfo::getSearchResults(content(), 1, "patience", &limit);
  ASSERT_GT(found.size(), 3u);
  fixtures::exec(user(), ns::format("CREATE TRIGGER refuse BEFORE INSERT ON searchmatches WHEN NEW.surah = %d AND "
                                    "NEW.verse = %d BEGIN SELECT RAISE(ABORT, 'refused'); END;",
                                    found[2]->surah(), found[2]->verse()));
  auto& h = openHistory();
  row(h, 0)->btnEyePressed();
  waitForQuery();
  EXPECT_EQ(marks(e->iSavedID()), 0);
  EXPECT_FALSE(h.arrSavedSearches()[0]->isReflectedInSurah());
  EXPECT_FALSE(ChapterInfo::getSavedSearch(user())[0]->isReflectedInSurah());
  ASSERT_NE(ui::ButtonPanel::visiblePanel(), nullptr);
  EXPECT_EQ(ui::ButtonPanel::visiblePanel()->message(), "The marks of this search could not be changed.");
}

// A main-thread write made while a worker's marking transaction is open
// waits for it to end rather than joining it: the marking rolls back, and the
// write stays.
TEST_F(SearchHistoryTest, AMainThreadWriteDuringAMarkingIsNotRolledBackWithIt) {
  launch(Orientation::Portrait);
  auto e = entry("patience", 1);
  std::atomic<bool> begun{false};
  ns::Thread marking("marking", [&] {
    EXPECT_TRUE(ChapterInfo::beginTrans(user()));
    begun = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the main thread writes meanwhile
    EXPECT_TRUE(ChapterInfo::reflectSearchedVerses(user(), 2, 153, e->iSavedID()));
    EXPECT_TRUE(ChapterInfo::rollbackTrans(user()));
  });
  while (!begun) std::this_thread::yield();
  EXPECT_TRUE(ChapterInfo::insertBookmark(user(), 2, 7, false, 0, "written meanwhile"));
  marking.join();
  EXPECT_EQ(marks(e->iSavedID()), 0);
  EXPECT_TRUE(ChapterInfo::isBookmarked(user(), 2, 7));
}

// A marking whose transaction cannot begin (another program holds the file)
// changes nothing, says so, and leaves the store to the next one.
TEST_F(SearchHistoryTest, AMarkingWhoseTransactionCannotBeginChangesNothing) {
  launch(Orientation::Portrait);
  auto e = entry("patience", 1);
  auto& h = openHistory();
  sqlite3* other = fixtures::openReadWrite(sqlite3_db_filename(user(), "main"));
  fixtures::exec(other, "BEGIN EXCLUSIVE");
  row(h, 0)->btnEyePressed();
  waitForQuery();
  EXPECT_FALSE(h.arrSavedSearches()[0]->isReflectedInSurah());
  auto* alert = ui::ButtonPanel::visiblePanel();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->message(), "The marks of this search could not be changed.");
  alert->tapButtonAtIndex(alert->cancelButtonIndex());
  fixtures::exec(other, "COMMIT");
  sqlite3_close(other);
  EXPECT_EQ(marks(e->iSavedID()), 0);
  EXPECT_FALSE(ChapterInfo::getSavedSearch(user())[0]->isReflectedInSurah());

  row(h, 0)->btnEyePressed();
  waitForQuery();
  EXPECT_TRUE(h.arrSavedSearches()[0]->isReflectedInSurah());
  EXPECT_EQ(marks(e->iSavedID()), hitsOf(*e));
}

TEST_F(SearchHistoryTest, MailAndMessageTextsEscapeTheVerses) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(0, "CurrentTranslationSecondary");
  defaults().setInteger(1, "LastTranslationSearched");
  launch(Orientation::Portrait);
  auto& s = openTab();
  std::string body = s.verseMailBody(2, 255);
  EXPECT_EQ(body.rfind("<b>Surah 2, Verse 255</b>:<br><div dir='rtl'>", 0), 0u);
  EXPECT_NE(body.find("<br><br><b>" + ChapterInfo::getTranslationNameForNumber(1) + "</b>:<br>"), std::string::npos);
  EXPECT_EQ(body.find("<div dir='rtl'></div>"), std::string::npos);
  std::string sms = s.verseMessageText(2, 255);
  EXPECT_EQ(sms.rfind("Surah 2, Verse 255:\n\n", 0), 0u);
  EXPECT_NE(sms.find(" (" + ChapterInfo::getTranslationNameForNumber(1) + ")"), std::string::npos);
  // The desktop has no text-message composer.
  s.smsText(sms);
  ASSERT_NE(ui::ButtonPanel::visiblePanel(), nullptr);
  EXPECT_EQ(ui::ButtonPanel::visiblePanel()->title(), "Cannot Send SMS");
  ui::ButtonPanel::resetForTesting();

  type(s, "patience");
  std::string all = s.resultsMailBody();
  size_t blocks = 0;
  for (size_t at = all.find("<br><hr><br>"); at != std::string::npos; at = all.find("<br><hr><br>", at + 1)) ++blocks;
  EXPECT_EQ(int(blocks), s.totalVerses());
  ui::MailMessage sent;
  ui::MailComposeViewController::setMailEnabled(true);
  ui::MailComposeViewController::setHandler([&](const ui::MailMessage& m, const std::string&, std::string&) {
    sent = m;
    return ui::MailComposeResult::Sent;
  });
  s.emailText(all);
  ASSERT_TRUE(s.mailComposer);
  s.mailComposer->send();
  settle(0.5);
  EXPECT_TRUE(sent.isHTML);
  EXPECT_NE(sent.body.find("via Zarvel HD</a><br><br>"), std::string::npos);
  ui::MailComposeViewController::setHandler(nullptr);
}

}  // namespace
}  // namespace searchtest
