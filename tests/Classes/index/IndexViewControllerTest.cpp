// The index screen: its two modes, opening the reading screen from a row,
// the selection it keeps, the quarter of a verse, the juz bar and the keys.
#include "IndexTestEnvironment.h"

namespace indextest {
namespace {

// The middle of a view, in window coordinates.
cg::Point middleOf(const ui::View& view) {
  cg::Rect b = view.bounds();
  return view.convertPointToView(cg::Point(b.midX(), b.midY()), nullptr);
}

class IndexScreenTest : public IndexTest {
 protected:
  // Counts the notices the index posts to the reading screen.
  void SetUp() override {
    IndexTest::SetUp();
    defaults().setInteger(0, kCurrentReciter);
    observer = ns::NotificationCenter::defaultCenter().addObserver("SurahDidChangeFromIndex",
                                                                   [this](const ns::Value&) { ++notices; });
  }
  void switchMode() {
    tap(middleOf(*index->btnSections));
    window->layoutIfNeeded();
  }
  void tapRow(int row, int section = 0) {
    scrollTo(row, section);
    tap(rowPoint(row, section));
  }
  static std::pair<int, int> quarterStart(int quarter) {
    int s = 1, v = 1;
    ChapterInfo::setSurahVerseForHizb(s, v, quarter);
    return {s, v};
  }

  int notices = 0;
  ns::Observer observer;
};

TEST_F(IndexScreenTest, EachModeHasItsSectionsRowsAndTitles) {
  show();
  auto* table = index->surahListTable();
  struct Mode {
    bool sectioned;
    int sections, rows;
    float header;
    const char* label;
    const char* button;
  };
  for (Mode m : {Mode{false, 1, 114, 0, "Suras", "Sections"}, Mode{true, 30, 8, 23, "Sections", "Suras"},
                 Mode{false, 1, 114, 0, "Suras", "Sections"}}) {
    SCOPED_TRACE(m.label);
    EXPECT_EQ(index->isShowingSectionedView(), m.sectioned);
    EXPECT_EQ(table->numberOfSections(), m.sections);
    for (int s = 0; s < m.sections; ++s) EXPECT_EQ(table->numberOfRowsInSection(s), m.rows);
    EXPECT_EQ(table->rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(1, 0)).height(), 45);
    EXPECT_EQ(table->rectForHeaderInSection(0).height(), m.header);
    EXPECT_EQ(index->lblTopBarLabel->text(), m.label);
    EXPECT_EQ(index->btnSections->titleForState(ui::ControlStateNormal), m.button);
    EXPECT_EQ(index->btnSections->titleForState(ui::ControlStateHighlighted), m.button);
    EXPECT_EQ(defaults().boolForKey(kIsShowingSections), m.sectioned);
    EXPECT_TRUE(index->lblPartitionTitle->isHidden());
    auto* cell = cellAt(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->reuseIdentifier(), m.sectioned ? "SectionCell" : "SurahCell");
    if (m.sectioned) {
      EXPECT_EQ(index->sectionedMeta().size(), 240u);
      auto header = index->viewForHeaderInSection(table, 2);
      ASSERT_NE(header, nullptr);
      EXPECT_EQ(dynamic_cast<ui::Label*>(header->subviews().back().get())->text(), "Juz 3");
    }
    switchMode();
  }
  // The mode comes back from the defaults.
  index.reset();
  show();
  EXPECT_TRUE(index->isShowingSectionedView());
  EXPECT_EQ(index->surahListTable()->numberOfSections(), 30);
}

// Offsets from a damaged settings file are held to the content: the column
// shows rows, at the top or the bottom of the list.
TEST_F(IndexScreenTest, AbsurdStoredOffsetsAreHeldToTheList) {
  struct Case {
    const char* name;
    ns::Value stored;
    bool sectioned;
    bool atTop;
  };
  const Case cases[] = {
      {"the largest integer", ns::Value(std::int64_t(9223372036854775807)), false, false},
      {"a trillion above", ns::Value(-1e12), false, true},
      {"sections, the largest integer", ns::Value(std::int64_t(9223372036854775807)), true, false},
      {"sections, a trillion above", ns::Value(-1e12), true, true},
      {"not a number", ns::Value(std::nan("")), false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    defaults().setBool(c.sectioned, kIsShowingSections);
    defaults().setObject(c.stored, c.sectioned ? "SectionListYOffset" : "SurahListYOffset");
    index.reset();
    show();
    auto* table = index->surahListTable();
    float bottom = std::max(0.0f, table->contentSize().height - table->bounds().height());
    EXPECT_EQ(table->contentOffset().y, c.atTop ? 0.0f : bottom);
    EXPECT_FALSE(table->indexPathsForVisibleRows().empty());
  }
}

TEST_F(IndexScreenTest, QuarterRowsBeginWhereTheDataStorePutsTheQuarters) {
  show();
  switchMode();
  const auto& meta = index->sectionedMeta();
  ASSERT_EQ(meta.size(), 240u);
  sqlite3* content = delegate->dbConnectionStatic();
  int checked = 0;
  for (int q = 1; q <= 240; ++q) {
    auto [surah, verse] = quarterStart(q);
    EXPECT_EQ(meta[q - 1]->Surah, surah) << q;
    EXPECT_EQ(meta[q - 1]->Verse, verse) << q;
    EXPECT_TRUE(ChapterInfo::isHizb(surah, verse)) << q;
    // The fixture's hezbmeta holds surahs 1, 2, 103 and 112.
    if (int stored = ChapterInfo::hezbFromSurah(content, surah, verse)) {
      EXPECT_EQ(stored, q);
      ++checked;
    }
  }
  EXPECT_GT(checked, 8);
  // Each juz opens with its first quarter.
  for (int juz = 1; juz <= 30; ++juz) {
    int s = 0, v = 0;
    ChapterInfo::setSurahVerseForJuz(s, v, juz);
    EXPECT_EQ(std::make_pair(meta[(juz - 1) * 8]->Surah, meta[(juz - 1) * 8]->Verse), std::make_pair(s, v)) << juz;
  }
}

TEST_F(IndexScreenTest, QuarterRowsShowTheFirstShownTranslationElseTheArabic) {
  struct Case {
    int primary, secondary, shown;
  };
  for (Case c : {Case{5, 3, 5}, Case{0, 3, 3}, Case{21, 4, 4}, Case{1000, 27, 0}, Case{38, 0, 0}, Case{0, 0, 0}}) {
    SCOPED_TRACE(ns::format("primary %d, secondary %d", c.primary, c.secondary));
    defaults().setInteger(c.primary, kCurrentTranslationPrimary);
    defaults().setInteger(c.secondary, kCurrentTranslationSecondary);
    index.reset();
    show();
    if (!index->isShowingSectionedView()) switchMode();
    auto [surah, verse] = quarterStart(2);
    sqlite3* content = delegate->dbConnectionStatic();
    std::string expected = c.shown ? ChapterInfo::getTranslationFor(content, c.shown, surah, verse)
                                   : ChapterInfo::getArabicVerseFor(content, surah, verse);
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(index->sectionedMeta()[1]->Title, expected);
    auto* row = dynamic_cast<SectionCellView*>(cellAt(1)->cellView());
    EXPECT_EQ(row->textLabel()->text(), expected);
    EXPECT_EQ(row->textLabel()->textAlignment(),
              ChapterInfo::isTranslationRTL(c.shown) ? ui::TextAlignment::Right : ui::TextAlignment::Left);
  }
  // A translation the content database lacks shows the Arabic text.
  defaults().setInteger(6, kCurrentTranslationPrimary);
  sqlite3* writer = fixtures::openReadWrite(contentPath());
  fixtures::exec(writer, "DELETE FROM trans6 WHERE surah = 2 AND verse = 26");
  sqlite3_close(writer);
  ns::NotificationCenter::defaultCenter().postNotificationName("TranslationDidChange");
  EXPECT_EQ(index->sectionedMeta()[1]->Title, ChapterInfo::getArabicVerseFor(delegate->dbConnectionStatic(), 2, 26));
  EXPECT_EQ(index->sectionedMeta()[2]->Title, ChapterInfo::getTranslationFor(delegate->dbConnectionStatic(), 6, 2, 44));
  // A new translation drops the texts; the next appearance reads them again.
  defaults().setInteger(5, kCurrentTranslationPrimary);
  ns::NotificationCenter::defaultCenter().postNotificationName("TranslationDidChange");
  EXPECT_EQ(index->sectionedMeta()[1]->Title,
            ChapterInfo::getTranslationFor(delegate->dbConnectionStatic(), 5, 2, 26));
}

TEST_F(IndexScreenTest, QuarterMarksNameTheHizbOrTheFractionOfIt) {
  show();
  struct Case {
    int quarter;
    const char* title;
    const char* art;
  };
  auto row = std::make_shared<SectionCellView>(cg::Rect(0, 0, 320, 45), 0, 0);
  for (Case c : {Case{1, "1", "ipad-index-marks-hezb.png"}, Case{2, "1/4", "ipad-index-marks-34.png"},
                 Case{3, "1/2", "ipad-index-marks-34.png"}, Case{4, "3/4", "ipad-index-marks-34.png"},
                 Case{5, "2", "ipad-index-marks-hezb.png"}, Case{9, "3", "ipad-index-marks-hezb.png"},
                 Case{239, "1/2", "ipad-index-marks-34.png"}, Case{240, "3/4", "ipad-index-marks-34.png"},
                 Case{237, "60", "ipad-index-marks-hezb.png"}}) {
    SCOPED_TRACE(c.quarter);
    row->setRow(c.quarter - 1, false);  // reused for another quarter
    auto* mark = row->markButton();
    EXPECT_FALSE(mark->isEnabled());
    EXPECT_EQ(mark->titleForState(ui::ControlStateDisabled), c.title);
    EXPECT_EQ(mark->backgroundImageForState(ui::ControlStateDisabled), ui::Image::imageNamed(c.art));
    bool hizb = std::string(c.art).find("hezb") != std::string::npos;
    EXPECT_EQ(mark->titleColorForState(ui::ControlStateDisabled),
              hizb ? cg::Color::black() : cg::Color::fromRGB255(66, 96, 147));
    // Lit while the row is selected.
    row->setSelected(true);
    EXPECT_TRUE(mark->isEnabled());
    EXPECT_TRUE(mark->isHighlighted());
    EXPECT_EQ(mark->currentTitle(), c.title);
    EXPECT_EQ(mark->currentBackgroundImage(),
              ui::Image::imageNamed(hizb ? "index-marks-hezb-t.png" : "index-marks-34-t.png"));
    row->setSelected(false);
    EXPECT_FALSE(mark->isEnabled());
  }
}

TEST_F(IndexScreenTest, TheCurrentRowStaysMarkedUntilTheIndexMovesIt) {
  defaults().setInteger(3, kCurrentlyShowingSurah);
  show();
  auto* current = cellAt(2);
  ASSERT_NE(current, nullptr);
  EXPECT_TRUE(current->isSelected());
  EXPECT_TRUE(current->isHighlighted());
  // The table clears it: it stays.
  current->setSelected(false, false);
  current->setHighlighted(false, false);
  EXPECT_TRUE(current->isSelected());
  EXPECT_TRUE(current->isHighlighted());
  EXPECT_TRUE(dynamic_cast<SurahCellView*>(current->cellView())->nameLabel()->isHighlighted());
  EXPECT_FALSE(cellAt(3)->isSelected());

  // A tap on another surah moves the mark.
  tapRow(5);
  EXPECT_TRUE(cellAt(5)->isSelected());
  scrollTo(0);
  EXPECT_TRUE(cellAt(5)->isSelected());
  EXPECT_FALSE(cellAt(2)->isSelected());
  EXPECT_FALSE(cellAt(2)->isHighlighted());
  cellAt(5)->setHighlighted(false, false);
  EXPECT_TRUE(cellAt(5)->isHighlighted());

  // In sectioned mode the stored quarter keeps its mark, and only it.
  switchMode();
  index->selectSectionForSurah(2, 30);  // quarter 2 begins at 2:26
  EXPECT_EQ(index->currentlySelectedRow(), 1);
  EXPECT_EQ(index->currentlySelectedSection(), 0);
  scrollTo(0, 0);
  cellAt(1)->setSelected(false, false);
  EXPECT_TRUE(cellAt(1)->isSelected());
  EXPECT_FALSE(cellAt(0)->isSelected());
  EXPECT_FALSE(cellAt(2)->isSelected());
}

TEST_F(IndexScreenTest, ATapOnTheSelectedRowDoesNothingAndAnotherOpensIt) {
  show();
  reading->calls.clear();
  // List mode: the current surah is selected.
  tapRow(0);
  EXPECT_EQ(notices, 0);
  EXPECT_TRUE(reading->calls.empty());
  tapRow(2);
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(reading->calls, (std::vector<std::string>{"setupBasicSurah(3, -1, NO)"}));
  EXPECT_EQ(index->btnTopCurrentSurah->titleForState(ui::ControlStateNormal), "Aal-e-Imran");
  tapRow(2);
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(defaults().integerForKey("IndexSelectedRow"), 2);

  // Sectioned mode, in several juz: a quarter opens at its first verse, once.
  switchMode();
  for (auto [row, section] : {std::pair{3, 0}, std::pair{0, 4}, std::pair{7, 29}}) {
    SCOPED_TRACE(section);
    reading->calls.clear();
    int before = notices;
    tapRow(row, section);
    auto [surah, verse] = quarterStart(section * 8 + row + 1);
    EXPECT_EQ(notices, before + 1);
    EXPECT_EQ(reading->calls, (std::vector<std::string>{ns::format("setupBasicSurah(%d, %d, NO)", surah, verse)}));
    EXPECT_EQ(index->currentlySelectedRow(), section * 8 + row);
    EXPECT_EQ(index->currentlySelectedSection(), section);
    tapRow(row, section);
    EXPECT_EQ(notices, before + 1);
    EXPECT_EQ(reading->calls.size(), 1u);
  }
}

TEST_F(IndexScreenTest, TheSurahOnScreenOnlyMovesTheVerseHighlight) {
  defaults().setInteger(2, kCurrentlyShowingSurah);
  defaults().setInteger(300, kCurrentlyShowingVerse);  // cut to the last verse
  show();
  EXPECT_EQ(reading->calls, (std::vector<std::string>{"setupBasicSurah(2, 286, NO)", "asyncSurahReload"}));
  reading->calls.clear();
  index->showSurahView(nullptr, 2, 40, false);
  index->showSurahView(nullptr, 2, 40, false);  // the same verse again
  index->showSurahView(nullptr, 2, -1, false);  // the header: nothing
  EXPECT_EQ(reading->calls, (std::vector<std::string>{"highlightVerse(40)"}));
  // Playing sets the surah up again, as does sectioned mode.
  reading->calls.clear();
  installAudio(2, 0, true);
  index->showSurahView(nullptr, 2, 41, true);
  EXPECT_EQ(reading->calls, (std::vector<std::string>{"setupBasicSurah(2, 41, YES)", "asyncSurahReload"}));
  switchMode();
  reading->calls.clear();
  index->showSurahView(nullptr, 2, 42, false);
  EXPECT_EQ(reading->calls, (std::vector<std::string>{"setupBasicSurah(2, 42, NO)"}));
  // While the reading screen sets a surah up, taps and opens are dropped.
  reading->settingUp = true;
  reading->calls.clear();
  index->showSurahView(nullptr, 5, 1, false);
  tapRow(4, 3);
  EXPECT_TRUE(reading->calls.empty());
  EXPECT_EQ(notices, 0);
}

TEST_F(IndexScreenTest, TheSoundButtonPlaysOrOffersTheDownload) {
  show();
  reading->calls.clear();
  // Nothing installed: every row shows "not downloaded"; a tap offers the
  // download and opens the surah without playing.
  for (int row : {0, 5, 13}) {
    auto* view = dynamic_cast<SurahCellView*>(cellAt(row)->cellView());
    EXPECT_EQ(view->soundButton()->currentImage(), ui::Image::imageNamed("ipad-sound-index-dead.png"));
  }
  auto* button = dynamic_cast<SurahCellView*>(cellAt(5)->cellView())->soundButton();
  tap(middleOf(*button));
  EXPECT_EQ(delegate->offers, std::vector<int>{6});
  EXPECT_EQ(reading->calls, (std::vector<std::string>{"setupBasicSurah(6, -1, NO)", "asyncSurahReload"}));
  EXPECT_EQ(index->currentlySelectedRow(), 5);
  EXPECT_EQ(notices, 0);

  // Installed: it plays, from verse 1 for surahs 1 and 9, else the header.
  installAudio(9, 0, true);
  ns::NotificationCenter::defaultCenter().postNotificationName("ReciterDidChange");
  reading->calls.clear();
  scrollTo(8);
  button = dynamic_cast<SurahCellView*>(cellAt(8)->cellView())->soundButton();
  EXPECT_EQ(button->currentImage(), ui::Image::imageNamed("ipad-sound-index-ready.png"));
  tap(middleOf(*button));
  EXPECT_EQ(delegate->offers, std::vector<int>{6});
  EXPECT_EQ(reading->calls, (std::vector<std::string>{"setupBasicSurah(9, 1, YES)", "asyncSurahReload"}));

  // During a download nothing starts playing and nothing more is offered.
  delegate->setDownloading(true);
  reading->calls.clear();
  index->showSurahView(nullptr, 12, -1, true);
  EXPECT_EQ(reading->calls, (std::vector<std::string>{"setupBasicSurah(12, -1, NO)", "asyncSurahReload"}));
  EXPECT_EQ(delegate->offers, std::vector<int>{6});
  delegate->setDownloading(false);
}

TEST_F(IndexScreenTest, AVerseMarksItsQuarterEvenWhereTheNextQuarterOpensTheNextSurah) {
  show();
  switchMode();
  struct Case {
    int surah, verse;
  };
  auto [lastStartSurah, lastStartVerse] = quarterStart(240);
  // 2:286 and 2:284 lie after the last quarter of surah 2, whose next quarter
  // opens surah 3 at a smaller verse number.
  for (Case c : {Case{2, 286}, Case{2, 284}, Case{2, 26}, Case{2, 25}, Case{1, 1}, Case{3, 200}, Case{18, 110},
                 Case{lastStartSurah, lastStartVerse}, Case{114, 6}, Case{113, 5}, Case{2, 0}}) {
    SCOPED_TRACE(ns::format("%d:%d", c.surah, c.verse));
    int q = fixtures::quarterOf(c.surah, c.verse);
    index->selectSectionForSurah(c.surah, c.verse);
    EXPECT_EQ(index->currentlySelectedRow(), q - 1);
    EXPECT_EQ(index->currentlySelectedSection(), (q - 1) / 8);
    scrollTo((q - 1) % 8, (q - 1) / 8);
    EXPECT_TRUE(cellAt((q - 1) % 8, (q - 1) / 8)->isSelected());
  }
  EXPECT_EQ(fixtures::quarterOf(2, 286), fixtures::quarterOf(2, 283));  // the case that once kept the old mark
  EXPECT_EQ(fixtures::quarterOf(114, 6), 240);
}

TEST_F(IndexScreenTest, ReappearingInSectionedModeKeepsTheQuarterInItsJuz) {
  show();
  switchMode();
  tapRow(6, 12);
  index->viewWillAppear(false);
  EXPECT_EQ(index->currentlySelectedRow(), 12 * 8 + 6);
  EXPECT_EQ(index->currentlySelectedSection(), 12);
  scrollTo(6, 12);
  EXPECT_TRUE(cellAt(6, 12)->isSelected());
  // The next surah from the reading screen clears the quarter until the next
  // verse highlight picks one.
  reading->surah = 40;
  reading->verse = 1;
  ns::NotificationCenter::defaultCenter().postNotificationName("SurahDidChangeFromNav");
  EXPECT_EQ(index->currentlySelectedRow(), -1);
  EXPECT_FALSE(cellAt(6, 12)->isSelected());
  EXPECT_EQ(index->iCurrentlyShowingSurah(), 40);
}

TEST_F(IndexScreenTest, TheNextSurahFromTheReadingScreenMovesTheListSelection) {
  show();
  reading->surah = 2;
  ns::NotificationCenter::defaultCenter().postNotificationName("SurahDidChangeFromNav");
  EXPECT_EQ(index->iCurrentlyShowingSurah(), 2);
  EXPECT_EQ(index->currentlySelectedRow(), 1);
  EXPECT_TRUE(cellAt(1)->isSelected());
  EXPECT_FALSE(cellAt(0)->isSelected());
  EXPECT_FALSE(cellAt(0)->isHighlighted());
  // A surah opened elsewhere (a link): the check after its set-up moves the
  // mark, and the old row keeps none.
  reading->surah = 5;
  index->verifyIndexSelection();
  EXPECT_EQ(index->iCurrentlyShowingSurah(), 5);
  EXPECT_EQ(index->btnTopCurrentSurah->titleForState(ui::ControlStateNormal), "Al-Maeda");
  EXPECT_TRUE(cellAt(4)->isSelected());
  EXPECT_TRUE(cellAt(4)->isHighlighted());
  EXPECT_FALSE(cellAt(1)->isSelected());
  EXPECT_FALSE(cellAt(1)->isHighlighted());
  reading->surah = 2;
  index->verifyIndexSelection();
  EXPECT_FALSE(cellAt(4)->isHighlighted());
  // After a switch back from sectioned mode the surah shown is marked again.
  switchMode();
  switchMode();
  index->verifyIndexSelection();
  EXPECT_EQ(index->currentlySelectedRow(), 1);
  EXPECT_TRUE(cellAt(1)->isSelected());
}

TEST_F(IndexScreenTest, TheJuzBarJumpsToTheJuzAndNamesItWhileTouched) {
  show();
  auto* bar = index->viewJuzzScroller.get();
  auto labelPoint = [bar](int i) { return bar->ThisIndexLabels()[i]->convertPointToView(cg::Point(22, 5), nullptr); };
  auto* table = index->surahListTable();
  struct Case {
    bool sectioned;
    int label;
  };
  for (Case c : {Case{false, 0}, Case{false, 9}, Case{false, 29}, Case{true, 9}, Case{true, 29}}) {
    SCOPED_TRACE(ns::format("%s, label %d", c.sectioned ? "sectioned" : "list", c.label));
    if (index->isShowingSectionedView() != c.sectioned) switchMode();
    window->sendTouch(0, ui::TouchPhase::Began, labelPoint(c.label));
    std::string title = ns::format("Juz %d", c.label + 1);
    EXPECT_EQ(index->lblTopBarLabel->text(), title);
    EXPECT_EQ(index->lblPartitionTitle->text(), title);
    EXPECT_FALSE(index->lblPartitionTitle->isHidden());
    int s = 0, v = 0;
    ChapterInfo::setSurahVerseForJuz(s, v, c.label + 1);
    // The juz's first row at the top (in sectioned mode below its header).
    float expected = std::min(c.sectioned ? table->rectForHeaderInSection(c.label).minY()
                                          : table->rectForRowAtIndexPath(ui::IndexPath::indexPathForRow(s - 1, 0)).minY(),
                              table->contentSize().height - table->bounds().height());
    EXPECT_NEAR(table->contentOffset().y, expected, 1);
    window->sendTouch(0, ui::TouchPhase::Ended, labelPoint(c.label));
    EXPECT_EQ(index->lblTopBarLabel->text(), c.sectioned ? "Sections" : "Suras");
    EXPECT_TRUE(index->lblPartitionTitle->isHidden());
    EXPECT_NEAR(defaults().floatForKey(c.sectioned ? "SectionListYOffset" : "SurahListYOffset"),
                table->contentOffset().y, 0.5);
    if (c.sectioned) {
      // After release the partition title names the juz of the top row.
      auto path = table->indexPathForRowAtPoint(cg::Point(0, table->contentOffset().y + 23));
      ASSERT_TRUE(path);
      EXPECT_EQ(index->lblPartitionTitle->text(), ns::format("Juz %d", path->section + 1));
    }
  }
  // A touch in a gap between labels changes nothing.
  float before = table->contentOffset().y;
  index->scrollableBarSelectedIndex(-1);
  index->scrollableBarSelectedIndex(30);
  EXPECT_EQ(table->contentOffset().y, before);
}

TEST_F(IndexScreenTest, TypingAtTheIndexPicksASurahAndEnterOpensIt) {
  show();
  reading->calls.clear();
  auto selected = [this] { return index->surahListTable()->indexPathForSelectedRow(); };
  struct Case {
    std::vector<std::string> keys;
    int row;
  };
  for (const Case& c : {Case{{"1", "8"}, 17}, Case{{"1", "1", "4"}, 113}, Case{{"9"}, 8}, Case{{"2", "0", "0"}, 19},
                        Case{{"b", "a", "q"}, 1}, Case{{"A", "l", "-", "k"}, 17}, Case{{"y", "u", "s"}, 11},
                        Case{{"i", "m", "r"}, 2}}) {
    SCOPED_TRACE(c.keys.front());
    advance(1.5);  // a pause starts a new word
    for (const std::string& k : c.keys) window->sendKey({"", k, 0});
    ASSERT_TRUE(selected());
    EXPECT_EQ(selected()->row, c.row);
  }
  advance(1.5);
  window->sendKey({"", "1", 0});
  window->sendKey({"", "8", 0});
  window->sendKey({"Return", "", 0});
  EXPECT_EQ(reading->calls, (std::vector<std::string>{"setupBasicSurah(18, -1, NO)"}));
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(index->currentlySelectedRow(), 17);
  EXPECT_EQ(window->firstResponder(), index.get());
  // Keys another screen takes (the reading screen) stay with it after a tap.
  struct KeyTaker : ui::View {
    using ui::View::View;
    bool canBecomeFirstResponder() const override { return true; }
  };
  auto other = std::make_shared<KeyTaker>(cg::Rect(600, 0, 100, 100));
  window->addSubview(other);
  ASSERT_TRUE(other->becomeFirstResponder());
  tapRow(20);
  EXPECT_EQ(window->firstResponder(), other.get());
  ASSERT_TRUE(index->becomeFirstResponder());
  // In sectioned mode a surah's name picks the quarter of its first verse.
  switchMode();
  advance(1.5);
  for (const char* k : {"y", "a", "s"}) window->sendKey({"", k, 0});
  ASSERT_TRUE(selected());
  int q = fixtures::quarterOf(36, 1);
  EXPECT_EQ(*selected(), ui::IndexPath::indexPathForRow((q - 1) % 8, (q - 1) / 8));
}

TEST_F(IndexScreenTest, NameLayoutsFollowTheIndexSettingAndTheInterfaceLanguage) {
  struct Case {
    bool indexInArabic;
    const char* language;
    bool image;
    ui::TextAlignment nameAlignment;
    const char* number;
    const char* count;
  };
  for (Case c : {Case{false, "en", false, ui::TextAlignment::Left, "2", "286 ayas"},
                 Case{true, "en", true, ui::TextAlignment::Left, "2", "286 ayas"},
                 Case{false, "ar", false, ui::TextAlignment::Right, "\u0662", " \u0662\u0668\u0666"}}) {
    SCOPED_TRACE(ns::format("IndexInArabic %d, %s", c.indexInArabic, c.language));
    defaults().setBool(c.indexInArabic, kIndexInArabic);
    Language::setLanguage(c.language);
    ZarvelSDKAppDelegate::ResetArabicCheck();
    index.reset();
    show();
    auto* row = dynamic_cast<SurahCellView*>(cellAt(1)->cellView());
    EXPECT_EQ(row->nameImage() && !row->nameImage()->isHidden(), c.image);
    EXPECT_EQ(row->nameLabel()->isHidden(), c.image);
    if (!c.image) {
      EXPECT_EQ(row->nameLabel()->textAlignment(), c.nameAlignment);
    }
    if (c.image) {
      EXPECT_EQ(row->nameImage()->image(), ui::Image::imageNamed("sname_2.png"));
      EXPECT_EQ(row->nameImage()->frame().x(), 320 - 134 + ChapterInfo::getSurahNameOffsetForAlignment(2));
    }
    EXPECT_EQ(row->numberLabel()->text(), c.number);
    // The Arabic interface puts the word (from its string table) first.
    std::string count = c.count[0] == ' ' ? Language::get("ayas", "ayas") + c.count : c.count;
    EXPECT_EQ(row->verseCountLabel()->text(), count);
    EXPECT_EQ(row->numberLabel()->textAlignment(),
              c.image || c.nameAlignment == ui::TextAlignment::Right ? ui::TextAlignment::Right
                                                                     : ui::TextAlignment::Left);
  }
  // In the Arabic interface the juz labels are Arabic-Indic digits, and label
  // 9 still jumps to the first surah of juz 10.
  EXPECT_EQ(index->viewJuzzScroller->ThisTitles()[9], "\u0661\u0660");
  index->scrollableBarSelectedIndex(9);
  int s = 0, v = 0;
  ChapterInfo::setSurahVerseForJuz(s, v, 10);
  auto path = index->surahListTable()->indexPathForRowAtPoint(
      cg::Point(0, index->surahListTable()->contentOffset().y + 1));
  ASSERT_TRUE(path);
  EXPECT_EQ(path->row, s - 1);
}

TEST_F(IndexScreenTest, ADownloadSetUpShowsInTheVisibleRowsWithoutAReload) {
  show();
  EXPECT_EQ(delegate->downloadDelegate(), index.get());
  auto* row = dynamic_cast<SurahCellView*>(cellAt(3)->cellView());
  EXPECT_EQ(row->audioStatus(), 0);
  defaults().setInteger(2, kCurrentReciter);
  installAudio(4, 2, true);
  installAudio(4, 6, false);
  index->didSetupDownloadedAudio();
  index->downloadRequiresRefreshOfStatus();
  EXPECT_EQ(row->audioStatus(), 3);
  EXPECT_EQ(row->soundButton()->currentImage(), ui::Image::imageNamed("ipad-sound-index-ready-plus.png"));
  EXPECT_EQ(reading->calls.back(), "updateReciterLabel");
}

}  // namespace
}  // namespace indextest

namespace indextest {
namespace {

TEST_F(IndexScreenTest, AnUnloadedIndexIgnoresNoticesUntilItsViewComesBack) {
  show();
  index->view()->removeFromSuperview();
  index->didReceiveMemoryWarning();
  ASSERT_FALSE(index->isViewLoaded());
  EXPECT_EQ(index->surahListTable(), nullptr);
  for (const char* name : {"TranslationDidChange", "ReciterDidChange", "SurahDidChangeFromNav",
                           "RequiresRefreshOfSoundStatus"})
    ns::NotificationCenter::defaultCenter().postNotificationName(name);
  index->downloadRequiresRefreshOfStatus();
  index->reloadSurahCell(3);

  window->addSubview(index->view());
  index->viewWillAppear(false);
  window->layoutIfNeeded();
  ASSERT_NE(index->surahListTable(), nullptr);
  EXPECT_EQ(index->surahListTable()->numberOfRowsInSection(0), 114);
  EXPECT_TRUE(cellAt(0)->isSelected());
}

TEST_F(IndexScreenTest, TheJuzBarTakesTheOrientationOfEachAppearance) {
  show(ui::InterfaceOrientation::LandscapeLeft);
  auto* bar = index->viewJuzzScroller.get();
  EXPECT_FALSE(bar->IsPortrait());
  EXPECT_EQ(bar->imgMainImg()->intermediateTransitionView(), nullptr);
  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::Portrait);
  index->viewWillAppear(false);
  EXPECT_TRUE(bar->IsPortrait());
  EXPECT_NE(bar->imgMainImg()->intermediateTransitionView(), nullptr);  // the art's 0.3 s transition
  advance(0.35);
  EXPECT_EQ(bar->imgMainImg()->intermediateTransitionView(), nullptr);
  EXPECT_EQ(bar->imgMainImg()->image(), ui::Image::imageNamed("scroller-blank-s9.png"));
  // Upside down changes nothing.
  ui::Application::shared().setStatusBarOrientation(ui::InterfaceOrientation::PortraitUpsideDown);
  index->viewWillAppear(false);
  EXPECT_TRUE(bar->IsPortrait());
}

}  // namespace
}  // namespace indextest
