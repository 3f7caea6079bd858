// The reading screen on the real content database: opening a surah, the row
// layouts, heights and offsets, the selected and playing rows, bookmarks,
// navigation, the header and the reading position.
#include "Classes/audio/PickReciterController.h"
#include "platform/ui/NavigationController.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/reading/SurahInfoCell.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/VerseHeightCache.h"
#include "ReadingFixture.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"

namespace readingtest {
namespace {

SurahVerseView* rowView(SurahViewController& screen, int row) {
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(
      screen.tblVerses->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, 0)));
  return cell ? cell->CellView() : nullptr;
}

sqlite3* userDb() { return ZarvelSDKAppDelegate::GetInstance()->dbConnection(); }

TEST_F(ReadingTest, OpeningClampsTheVerseAndWrapsTheSurah) {
  launch();
  struct Case {
    int surah, verse;
    int shownSurah, selected;
    const char* lastVerse;
  };
  const Case cases[] = {
      {2, 300, 2, 286, "286"}, {2, 0, 2, 1, "1"},   {2, -1, 2, 0, "0"},   {1, 0, 1, 1, "1"},
      {1, -1, 1, 1, "1"},      {9, 0, 9, 1, "1"},   {0, 3, 114, 3, "3"},  {115, 2, 1, 2, "2"},
      {2, 255, 2, 255, "255"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ns::format("%d:%d", c.surah, c.verse));
    open(c.surah, c.verse);
    EXPECT_EQ(screen().iCurrentSurah(), c.shownSurah);
    EXPECT_EQ(screen().selectedVerse(), c.selected);
    EXPECT_EQ(defaults().stringForKey("LastVerse"), c.lastVerse);
    EXPECT_FALSE(screen().settingUpSurah());
    EXPECT_FALSE(screen().isSwitchingSurah());
  }
}

TEST_F(ReadingTest, VersesFromTheDefaultsAreClampedAtLaunch) {
  defaults().setObject(ns::Value(std::string("2")), "LastSurah");
  defaults().setObject(ns::Value(std::string("300")), "LastVerse");
  launch();
  EXPECT_EQ(screen().iCurrentSurah(), 2);
  EXPECT_EQ(screen().selectedVerse(), 286);
}

TEST_F(ReadingTest, RowsAndVersesMapInTheFourLayouts) {
  launch();
  struct Case {
    int surah, translation, rows;
    std::vector<std::pair<int, int>> verseToRow, rowToVerse;
  };
  const Case cases[] = {
      {2, 1, 573, {{0, 0}, {1, 1}, {2, 3}, {286, 571}}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {572, 286}}},
      {2, 0, 287, {{0, 0}, {1, 1}, {286, 286}}, {{0, 0}, {1, 1}, {286, 286}}},
      {1, 1, 14, {{1, 0}, {2, 2}, {7, 12}}, {{0, 1}, {1, 1}, {2, 2}, {13, 7}}},
      {9, 0, 129, {{1, 0}, {129, 128}}, {{0, 1}, {128, 129}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ns::format("surah %d, translation %d", c.surah, c.translation));
    setTranslation(c.translation);
    open(c.surah, 1);
    EXPECT_EQ(screen().iCurrentTranslation(), c.translation);
    EXPECT_EQ(screen().numberOfVerseRows(), c.rows);
    EXPECT_EQ(screen().tblVerses->numberOfRowsInSection(0), c.rows);
    for (auto [verse, row] : c.verseToRow) EXPECT_EQ(screen().verseToRow(verse), row) << "verse " << verse;
    for (auto [row, verse] : c.rowToVerse) EXPECT_EQ(screen().rowToVerse(row), verse) << "row " << row;
  }
}

TEST_F(ReadingTest, TranslationRowsOnlyWhenTheReadingViewIsExpanded) {
  launch();
  setTranslation(0);
  defaults().setInteger(5, "CurrentTranslationSecondary");
  struct Case {
    bool expanded, hide;
    int shown;
  };
  for (Case c : {Case{false, false, 0}, Case{true, true, 0}, Case{true, false, 5}}) {
    root->expanded = c.expanded;
    defaults().setBool(c.hide, "HideTransInFullScreen");
    open(2, 1);
    EXPECT_EQ(screen().iCurrentTranslation(), c.shown);
  }
}

// The marks add room: 45 for a juz below 90, then 45 for a hizb quarter or
// prostration below 136 after a juz, below 90 otherwise.
TEST_F(ReadingTest, ArabicHeightsMakeRoomForTheMarks) {
  launch();
  setTranslation(0);
  open(2, 1);
  EXPECT_EQ(screen().getHeightForVerse(0, false), 65);
  int width = int(screen().tblVerses->frame().width() - 70);
  struct Case {
    int surah, verse;
    bool juz, quarter;  // as the content tables mark the verse
  };
  for (Case c : {Case{2, 5, false, false}, Case{2, 142, true, true}, Case{2, 26, false, true},
                 Case{7, 206, false, false}}) {
    SCOPED_TRACE(ns::format("%d:%d", c.surah, c.verse));
    open(c.surah, c.verse);
    float h = screen().getHeightForVerse(c.verse, false);
    int style = ZarvelSDKAppDelegate::ArabicFontSize() + (ZarvelSDKAppDelegate::IsDeviceRetina() ? 5 : 0);
    ASSERT_TRUE(VerseHeightCache::shared().contains(c.surah, c.verse, width, style));
    int glyphs = VerseHeightCache::shared().heightOf(c.surah, c.verse, width, style, [] { return -1; });
    EXPECT_GT(glyphs, 0);
    EXPECT_EQ(ChapterInfo::isJuz(c.surah, c.verse), c.juz);
    int expected = glyphs;
    if (c.juz && expected < 90) expected += 45;
    bool second = ChapterInfo::isHizb(c.surah, c.verse) || ChapterInfo::isSajda(c.surah, c.verse);
    if (second && expected < (c.juz ? 136 : 90)) expected += 45;
    EXPECT_EQ(int(h), expected);
    EXPECT_LE(int(h) - glyphs, 90);
  }
}

TEST_F(ReadingTest, TopOffsetsAreTheTableRowTops) {
  launch();
  setTranslation(1);
  open(2, 1);
  auto& table = *screen().tblVerses;
  for (int row : {0, 1, 2, 3, 100, 571, 572}) {
    SCOPED_TRACE(row);
    int cold = screen().getTopOffsetForRow(row, false);
    EXPECT_EQ(cold, int(table.rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, 0)).y()));
    EXPECT_EQ(screen().getTopOffsetForRow(row, false), cold);
  }
  EXPECT_EQ(screen().getTopOffsetForRow(-3, false), 0);
  // Not expanded: the panes' heights for the Arabic rows.
  root->expanded = false;
  setTranslation(0);
  open(2, 1);
  EXPECT_EQ(screen().getTopOffsetForRow(3, false), 100 + 101 + 102);
}

TEST_F(ReadingTest, SelectedAndPlayingRowsAndTheQuietFlag) {
  launch();
  setTranslation(1);
  open(2, 1);
  auto& s = screen();
  s.tblVerses->setContentOffset(cg::Point{0, 0});
  s.tblVerses->layoutIfNeeded();
  root->calls.clear();
  s.highlightVerse(2, false, false, false, false);
  for (int row : {3, 4}) ASSERT_TRUE(rowView(s, row) && rowView(s, row)->isSelected()) << row;
  for (int row : {1, 2}) EXPECT_FALSE(rowView(s, row)->isSelected()) << row;
  EXPECT_EQ(root->calls, (std::vector<std::string>{"highlightVerse(2)", "tryAndUpdateIndexRowSelection"}));
  EXPECT_EQ(defaults().stringForKey("LastVerse"), "2");

  root->calls.clear();
  s.highlightVerse(2, false);  // the same verse again: nothing
  EXPECT_TRUE(root->calls.empty());
  s.highlightVerse(1, false, false, false, true);
  EXPECT_EQ(root->calls, (std::vector<std::string>{"tryAndUpdateIndexRowSelection"}));

  root->calls.clear();
  s.highlightForPlayingVerse(2, false);
  s.highlightForPlayingVerse(3, false, true);
  EXPECT_FALSE(rowView(s, 3)->isPlaying());
  EXPECT_FALSE(rowView(s, 4)->isPlaying());
  EXPECT_TRUE(rowView(s, 5)->isPlaying());
  EXPECT_TRUE(rowView(s, 6)->isPlaying());
  s.highlightForPlayingVerse(9, true);
  EXPECT_FALSE(rowView(s, 5)->isPlaying());
  EXPECT_FALSE(rowView(s, 6)->isPlaying());
  EXPECT_EQ(s.iCurrentPlayingVerse(), 3);
  EXPECT_EQ(root->calls, (std::vector<std::string>{"highlightForPlayingVerse(2, NO)", "tryAndUpdateIndexRowSelection",
                                                   "highlightForPlayingVerse(9, YES)", "tryAndUpdateIndexRowSelection"}));
}

// A stale verse after a switch touches no row and leaves the screen working.
TEST_F(ReadingTest, OperationsOnRowsThatDoNotExistDoNothing) {
  launch();
  setTranslation(1);
  open(103, 2);
  auto& s = screen();
  s.highlightVerse(200, true, true, true);
  s.highlightForPlayingVerse(250, false);
  s.highlightForPlayingVerse(-4, true);
  s.updateBookmarkForVerse(999, 103);
  s.updateBookmarkForVerse(-2, 103);
  s.addOrRemoveBookmarkForVerse(0);
  s.addOrRemoveBookmarkForVerse(-1);
  EXPECT_TRUE(s.bookmarkedVerseMap().empty());
  open(1, 0);
  s.highlightVerse(0, true, true, true);
  EXPECT_EQ(s.numberOfVerseRows(), 14);
  settle();
}

TEST_F(ReadingTest, BookmarkToggleAndTheMap) {
  launch();
  open(2, 1);
  auto& s = screen();
  int posts = 0;
  auto observer = ns::NotificationCenter::defaultCenter().addObserver(
      "BookmarkDidChange", [&posts](const ns::Value&) { ++posts; });
  s.addOrRemoveBookmarkForVerse(5, 2);
  ASSERT_TRUE(s.isVerseBookmarked(5));
  EXPECT_EQ(s.bookmarkedVerseMap().at(5)->BookmarkGroup(), 2);
  EXPECT_EQ(posts, 1);
  s.addOrRemoveBookmarkForVerse(5);
  EXPECT_FALSE(s.isVerseBookmarked(5));
  EXPECT_EQ(posts, 2);

  // A bookmark written elsewhere appears after the notification; a verse
  // marked only by an audio bookmark loses its mark when it is toggled.
  open(2, 7);
  ChapterInfo::insertBookmark(userDb(), 2, 7, true, 1, "");
  EXPECT_FALSE(s.isVerseBookmarked(7));
  ns::NotificationCenter::defaultCenter().postNotificationName("BookmarkDidChange");
  ASSERT_TRUE(s.isVerseBookmarked(7));
  ASSERT_TRUE(rowView(s, s.verseToRow(7)));
  EXPECT_TRUE(rowView(s, s.verseToRow(7))->isBookmarked());
  s.addOrRemoveBookmarkForVerse(7);
  EXPECT_FALSE(s.isVerseBookmarked(7));
  EXPECT_FALSE(rowView(s, s.verseToRow(7))->isBookmarked());
  EXPECT_FALSE(ChapterInfo::isBookmarked(userDb(), 2, 7));
  // Another surah's change leaves this one alone.
  ChapterInfo::insertBookmark(userDb(), 3, 7, false, 1, "");
  s.updateBookmarkForVerse(7, 3);
  EXPECT_FALSE(s.isVerseBookmarked(7));
}

// On a full or read-only disk a toggle tells the reader and the verse stays
// as the store has it.
TEST_F(ReadingTest, ABookmarkThatCannotBeWrittenIsReportedAndTheVerseStaysAsItWas) {
  launch();
  open(2, 1);
  auto& s = screen();
  ASSERT_TRUE(ChapterInfo::insertBookmark(userDb(), 2, 9, false, 1, ""));
  s.reloadBookmarksMap();
  ASSERT_EQ(sqlite3_exec(userDb(), "PRAGMA query_only = ON", nullptr, nullptr, nullptr), SQLITE_OK);
  for (int verse : {5, 9}) {  // an added mark, a removed one
    SCOPED_TRACE(verse);
    EXPECT_FALSE(s.addOrRemoveBookmarkForVerse(verse));
    ui::ButtonPanel* alert = ui::ButtonPanel::visiblePanel();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Bookmark Not Saved");
    alert->tapButtonAtIndex(0);
    settle();
  }
  EXPECT_FALSE(s.isVerseBookmarked(5));
  EXPECT_TRUE(s.isVerseBookmarked(9));
  ASSERT_EQ(sqlite3_exec(userDb(), "PRAGMA query_only = OFF", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_TRUE(s.addOrRemoveBookmarkForVerse(5));
  EXPECT_EQ(ui::ButtonPanel::visiblePanel(), nullptr);
}

TEST_F(ReadingTest, NextAndPreviousWrapAndASecondTapIsIgnored) {
  launch();
  auto& s = screen();
  int navPosts = 0;
  auto observer = ns::NotificationCenter::defaultCenter().addObserver(
      "SurahDidChangeFromNav", [&navPosts](const ns::Value&) { ++navPosts; });
  struct Case {
    int from;
    bool next;
    int to;
  };
  for (Case c : {Case{114, true, 1}, Case{1, false, 114}, Case{2, true, 3}, Case{2, false, 1}}) {
    open(c.from, 5);
    if (c.next) s.showNextSurah();
    else s.showPreviousSurah();
    settle(0.05);
    if (c.next) s.showNextSurah();  // within 0.1 s: ignored
    else s.showPreviousSurah();
    settle(0.5);
    EXPECT_EQ(s.iCurrentSurah(), c.to) << c.from;
    EXPECT_EQ(s.selectedVerse(), c.to == 1 || c.to == 9 ? 1 : 0);
  }
  EXPECT_EQ(navPosts, 4);
  // The desktop's arrows: Left follows the left ornament to the previous
  // surah, Down leads to the next verse.
  open(2, 5);
  backend().key("Down");
  EXPECT_EQ(s.selectedVerse(), 6);
  backend().key("Left");
  settle(0.5);
  EXPECT_EQ(s.iCurrentSurah(), 1);
}

TEST_F(ReadingTest, PlayButtonShowsTheAudioStatusAndOffersTheDownload) {
  defaults().setInteger(2, "CurrentReciterv22");
  launch();
  struct Case {
    bool current, other;
    const char* image;
    float alpha;
  };
  int surah = 100;
  for (Case c : {Case{false, false, "ipad-sound-dead.png", 1.0f}, Case{false, true, "ipad-sound-multi.png", 1.0f},
                 Case{true, false, "ipad-sound-ready.png", 0.8f}, Case{true, true, "ipad-sound-ready-plus.png", 0.8f}}) {
    SCOPED_TRACE(c.image);
    ++surah;
    if (c.current) ChapterInfo::markContAudioAsInstalled(userDb(), surah, 2, false);
    if (c.other) ChapterInfo::markAudioAsInstalled(userDb(), surah, 4);
    open(surah, 1);
    EXPECT_EQ(screen().btnPlay->imageForState(ui::ControlStateNormal), ui::Image::imageNamed(c.image));
    EXPECT_FLOAT_EQ(screen().btnPlay->alpha(), c.alpha);
    screen().btnPlay->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
    EXPECT_EQ(root->downloads.empty(), c.current);
    root->downloads.clear();
  }
}

TEST_F(ReadingTest, SurahInformationRows) {
  launch();
  auto& s = screen();
  int withAlt = 0, withoutAlt = 0;
  for (int surah = 1; surah <= 114 && (!withAlt || !withoutAlt); ++surah)
    (ChapterInfo::getAltNameFromNumber(surah).empty() ? withoutAlt : withAlt) = surah;
  ASSERT_TRUE(withAlt && withoutAlt);
  struct Case {
    int surah;
    std::vector<std::string> captions;
  };
  for (const Case& c : {Case{withoutAlt, {"Sura Name", "Meaning", "Aya Count", "Chronological Order", "Origin"}},
                        Case{withAlt, {"Sura Name", "Meaning", "Other Name", "Other Meaning", "Aya Count",
                                       "Chronological Order", "Origin"}}}) {
    SCOPED_TRACE(c.surah);
    open(c.surah, 1);
    s.surahNameButtonPressed();
    settle(0.5);
    ASSERT_TRUE(s.isShowingSurahInfo());
    ASSERT_TRUE(s.popoverView && s.popoverView->isPopoverVisible());
    EXPECT_EQ(s.popoverView->popoverContentSize(), (cg::Size{320, 315}));
    auto& table = *s.tblSurahInfo;
    ASSERT_EQ(table.numberOfRowsInSection(0), int(c.captions.size()));
    for (int row = 0; row < int(c.captions.size()); ++row) {
      auto cell = std::dynamic_pointer_cast<SurahInfoCell>(s.cellForRowAtIndexPath(&table, ui::IndexPath::indexPathForRow(row, 0)));
      ASSERT_TRUE(cell);
      EXPECT_EQ(cell->lblLeftLabel->text(), c.captions[size_t(row)]);
    }
    auto first = std::dynamic_pointer_cast<SurahInfoCell>(s.cellForRowAtIndexPath(&table, ui::IndexPath::indexPathForRow(0, 0)));
    EXPECT_EQ(first->lblRightLabel->text(), std::to_string(c.surah) + " " + ChapterInfo::getNameFromNumber(c.surah));
    s.surahNameButtonPressed();  // a second tap closes it
    settle(0.5);
    EXPECT_FALSE(s.isShowingSurahInfo());
  }
}

TEST_F(ReadingTest, LeavingWritesTheReadingPosition) {
  launch();
  setTranslation(1);
  open(2, 40);
  auto& s = screen();
  s.tblVerses->setContentOffset(cg::Point{0, 1234.7f});
  s.highlightVerse(41, false, false, false, true);
  s.viewWillDisappear(false);
  EXPECT_EQ(defaults().stringForKey("LastVerse"), "41");
  EXPECT_EQ(defaults().stringForKey("LastSurah"), "2");
  EXPECT_EQ(defaults().integerForKey("LastSurahYOffset"), 1234);
  EXPECT_EQ(defaults().integerForKey("LastSurahShowing"), 2);
  EXPECT_EQ(defaults().integerForKey("CurrentlyShowingVerse"), 41);
}

TEST_F(ReadingTest, AVerseLinkOpensThatVerse) {
  launch();
  EXPECT_TRUE(delegate->handleOpenURL(ui::Application::shared(), "zarvel://2:255"));
  settle();
  EXPECT_EQ(screen().iCurrentSurah(), 2);
  EXPECT_EQ(screen().selectedVerse(), 255);
  auto top = screen().tblVerses->indexPathForRowAtPoint(
      cg::Point{10, screen().tblVerses->contentOffset().y + 1});
  ASSERT_TRUE(top);
  EXPECT_EQ(screen().rowToVerse(top->row), 255);
}

TEST_F(ReadingTest, Screenshots) {
  launch();
  struct Shot {
    int surah, verse, translation;
    bool info;
    const char* file;
  };
  for (Shot shot : {Shot{1, 1, 0, false, "surah-1.png"}, Shot{2, 1, 1, false, "surah-2-translation.png"},
                    Shot{2, 1, 10, false, "surah-2-transliteration.png"}, Shot{2, 1, 1, true, "surah-2-info.png"}}) {
    setTranslation(shot.translation);
    open(shot.surah, shot.verse);
    if (shot.info) screen().surahNameButtonPressed();
    settle(1);
    EXPECT_TRUE(backend().screenshot(shotPath(shot.file))) << shot.file;
    if (shot.info) screen().surahNameButtonPressed();
    settle(1);
  }
  // Turned upright the rows are measured again at the narrower width.
  ui::Window::keyWindow()->rotateToInterfaceOrientation(ui::InterfaceOrientation::Portrait);
  settle(1);
  EXPECT_EQ(screen().tblVerses->frame().width(), 768);
  EXPECT_EQ(screen().getTopOffsetForRow(5, false),
            int(screen().tblVerses->rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(5, 0)).y()));
  EXPECT_TRUE(backend().screenshot(shotPath("surah-2-portrait.png")));
}

}  // namespace
}  // namespace readingtest

namespace readingtest {
namespace {

TEST_F(ReadingTest, WheelAndKeysMoveThroughTheVerses) {
  launch();
  setTranslation(1);
  open(2, 1);
  auto& s = screen();
  auto& table = *s.tblVerses;
  float before = table.contentOffset().y;
  backend().wheel(cg::Point{500, 400}, 0, 3);
  settle(1);
  EXPECT_GT(table.contentOffset().y, before);
  before = table.contentOffset().y;
  backend().key("PageDown");
  settle(1);
  EXPECT_NEAR(table.contentOffset().y, before + table.bounds().height(), 1);
  backend().key("End");
  settle(1);
  EXPECT_EQ(s.selectedVerse(), 286);
  backend().key("Home");
  settle(1);
  EXPECT_EQ(s.selectedVerse(), 0);
  backend().key("Up");
  EXPECT_EQ(s.selectedVerse(), 0);
  backend().key("Right");
  settle(1);
  EXPECT_EQ(s.iCurrentSurah(), 3);
}

}  // namespace
}  // namespace readingtest

#include "Classes/core/TranslationMeta.h"
#include "Classes/reading/ChoiceListController.h"
#include "Classes/reading/PickTranslationController.h"

namespace readingtest {
namespace {

// Notes as the translation: an empty note row takes one point; a saved note
// is measured again and its row grows.
TEST_F(ReadingTest, NotesAsTheTranslationFollowASavedNote) {
  launch();
  setTranslation(1000);
  open(2, 1);
  auto& s = screen();
  auto& table = *s.tblVerses;
  auto noteRow = ui::IndexPath::indexPathForRow(s.verseToRow(3) + 1, 0);
  EXPECT_EQ(table.rectForRowAtIndexPath(noteRow).height(), 1);
  ChapterInfo::insertBookmark(userDb(), 2, 3, false, 1, "");
  ChapterInfo::insertBookmarkNote(userDb(), 2, 3, std::string("Remember this verse"));
  s.updateBookmarkForVerse(3, 2);
  settle();
  EXPECT_EQ(s.translationRecords().at(3)->Translation(), "Remember this verse");
  EXPECT_GT(table.rectForRowAtIndexPath(noteRow).height(), 15);
  EXPECT_EQ(s.getTranslationForSurah(2, 2), "Remember this verse");
  EXPECT_EQ(s.getTranslationForSurah(3, 2), "");
}

// The header's pickers: a reciter and a translation chosen in their popovers.
TEST_F(ReadingTest, HeaderPickersChangeTheReciterAndTheTranslation) {
  launch();
  setTranslation(0);
  open(2, 1);
  auto& s = screen();
  s.btnReciter->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle();
  ASSERT_TRUE(s.popoverView && s.popoverView->isPopoverVisible());
  auto nav = std::dynamic_pointer_cast<ui::NavigationController>(s.popoverView->contentViewController());
  auto* reciters = nav ? dynamic_cast<PickReciterController*>(nav->topViewController()) : nullptr;
  ASSERT_TRUE(reciters);
  reciters->didSelectRowAtIndexPath(reciters->table.get(), ui::IndexPath::indexPathForRow(4, 0));  // reciter 3
  EXPECT_EQ(defaults().integerForKey("CurrentReciterv22"), 3);
  EXPECT_EQ(s.btnReciter->titleForState(ui::ControlStateNormal), ChapterInfo::getReciterShortNameFromNumber(3));

  // The translation picker covers the screen, editing the slot the rows read.
  s.btnTranslation->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle();
  auto* translations = dynamic_cast<PickTranslationController*>(s.modalViewController());
  ASSERT_TRUE(translations);
  EXPECT_TRUE(translations->IsPrimaryTranslation());
  const auto& list = translations->translations();
  int row = int(std::find(list.begin(), list.end(), 1) - list.begin());
  translations->didSelectRowAtIndexPath(translations->table.get(), ui::IndexPath::indexPathForRow(row, 0));
  settle();
  EXPECT_EQ(defaults().integerForKey("CurrentTranslationPrimary"), 1);
  EXPECT_EQ(s.modalViewController(), translations);  // open for another choice
  EXPECT_EQ(s.iCurrentTranslation(), 1);
  EXPECT_EQ(s.numberOfVerseRows(), 573);
  EXPECT_EQ(s.btnTranslation->titleForState(ui::ControlStateNormal), ChapterInfo::getTranslationNameForNumber(1));
  translations->btnBack->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle();
  EXPECT_EQ(s.modalViewController(), nullptr);
}

// A press held still on a verse selects it once; one that moves does not.
TEST_F(ReadingTest, LongPressOnAVerse) {
  launch();
  setTranslation(0);
  open(2, 1);
  auto& s = screen();
  cg::Rect row = s.tblVerses->rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(3, 0));
  cg::Point at = s.tblVerses->convertPointToView(cg::Point{500, row.y() + row.height() / 2}, nullptr);
  backend().touchDown(at);
  backend().touchMove(cg::Point{at.x + 6, at.y});
  settle(0.6);
  EXPECT_EQ(s.selectedVerse(), 1);
  backend().touchUp(cg::Point{at.x + 6, at.y});
  settle(0.2);
  backend().touchDown(at);
  settle(0.6);
  EXPECT_EQ(s.selectedVerse(), 3);
  backend().touchUp(at);
  settle(0.2);
}

}  // namespace
}  // namespace readingtest

#include "toolkit/styled/TKStyledTextLabel.h"

namespace readingtest {
namespace {

// The transliteration row shows its record's markup in the styled label, the
// plain label hidden.
TEST_F(ReadingTest, TransliterationRowsUseTheStyledLabel) {
  launch();
  setTranslation(10);
  open(2, 1);
  auto* row = rowView(screen(), screen().verseToRow(2) + 1);
  ASSERT_TRUE(row && row->lblTransliteration);
  EXPECT_FALSE(row->lblTransliteration->isHidden());
  EXPECT_TRUE(row->lblTranslation->isHidden());
  EXPECT_EQ(row->lblTransliteration->html(), screen().translationRecords().at(2)->Translation());
  EXPECT_FALSE(row->lblTransliteration->html().empty());
}

}  // namespace
}  // namespace readingtest
