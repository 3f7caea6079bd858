// The supplication themes and the prostration verses on the More tab: the
// grouping by surah, folding that stays in the list's memory, the verse
// opened in the reading screen without playing, the green obligatory
// prostrations and their legend, Arabic-Indic counts, and pictures.
#include "Classes/search/SearchCellView.h"
#include "Classes/search/SearchViewCell.h"
#include "Classes/settings/SajdaViewController.h"
#include "Classes/settings/SupplicationsDetailsController.h"
#include "Classes/settings/SupplicationsViewController.h"
#include "tests/Classes/settings/InfoScreensFixture.h"

namespace infotest {
namespace {

class SupplicationsTest : public InfoScreensTest {
 protected:
  std::shared_ptr<SupplicationsViewController> openThemes() {
    return openFromMore<SupplicationsViewController>("Quranic Supplications");
  }
  // A theme as the theme list opens it, by tapping its row.
  SupplicationsDetailsController& openTheme(SupplicationsViewController& themes, int theme) {
    tapView(*cellAt<ui::TableViewCell>(*themes.tblTable, 0, theme));
    settle(0.6);
    auto* nav = moreTab();
    auto* shown = nav ? dynamic_cast<SupplicationsDetailsController*>(nav->topViewController()) : nullptr;
    EXPECT_NE(shown, nullptr);
    return *shown;
  }
  std::shared_ptr<SajdaViewController> openSajdas() { return openFromMore<SajdaViewController>("Sajdas"); }

  // Surah and verses of every section.
  static std::vector<std::pair<int, std::vector<int>>> shown(const SupplicationsDetailsController& s) {
    std::vector<std::pair<int, std::vector<int>>> out;
    for (const auto& section : s.arrSectionedResults()) {
      std::vector<int> verses;
      for (const auto& v : *section->AllResults()) verses.push_back(v->verse());
      out.push_back({section->surah(), verses});
    }
    return out;
  }

  // Taps the verse row at (section, row), which must hold surah:verse, and
  // checks that the reading screen is at that verse, not playing.
  void tapOpensVerse(ui::TableView& table, int section, int row, int surah, int verse) {
    auto* cell = cellAt<SearchViewCell>(table, section, row);
    ASSERT_NE(cell, nullptr);
    const auto& shownVerse = *cell->cellView()->ThisSearchResult();
    ASSERT_EQ(std::make_pair(shownVerse.surah(), shownVerse.verse()), std::make_pair(surah, verse));
    tapView(*cell);
    settle(1.0);
    EXPECT_EQ(reading().iCurrentSurah(), surah);
    EXPECT_EQ(reading().selectedVerse(), verse);
    EXPECT_FALSE(reading().IsInPlayMode());
    EXPECT_FALSE(table.indexPathForSelectedRow());
  }

  int foldTable() {
    return fixtures::scalarInt(delegate->dbConnection(), "SELECT count(*) FROM bookmarksections");
  }
};

using Sections = std::vector<std::pair<int, std::vector<int>>>;

TEST_F(SupplicationsTest, TenThemesWithTheirCountsOpenTheirVersesGroupedBySurah) {
  launch();
  auto themes = openThemes();
  EXPECT_EQ(themes->lblTopLabel->text(), "Supplications");
  EXPECT_EQ(themes->btnBack->titleForState(ui::ControlStateNormal), "More");
  ASSERT_EQ(themes->tblTable->numberOfRowsInSection(0), 10);
  const char* counts[] = {"6", "12", "19", "12", "15", "9", "7", "2", "5", "11"};
  int total = 0;
  for (int r = 0; r < 10; ++r) {
    auto* cell = cellAt<ui::TableViewCell>(*themes->tblTable, 0, r);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->textLabel()->text(), SupplicationsViewController::themeName(r));
    EXPECT_EQ(cell->detailTextLabel()->text(), counts[r]);
    EXPECT_EQ(cell->accessoryType(), ui::TableViewCellAccessoryType::DisclosureIndicator);
    total += int(SupplicationsViewController::themeVerses(r).size());
  }
  EXPECT_EQ(total, 98);

  struct Case {
    int theme;
    Sections sections;
  };
  const Case cases[] = {
      {7, {{20, {114}}, {26, {83}}}},  // Knowledge: two one-verse sections
      {2,
       {{3, {191}}, {4, {71}}, {6, {100}}, {7, {54}}, {15, {98}}, {17, {108}}, {23, {14}}, {25, {61}}, {30, {17}},
        {36, {83}}, {40, {64}}, {43, {82, 85}}, {55, {78}}, {59, {23}}, {64, {1}}, {67, {1}}, {87, {1}}, {110, {3}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.theme);
    auto& theme = openTheme(*themes, c.theme);
    EXPECT_EQ(theme.lblTopLabel->text(), SupplicationsViewController::themeName(c.theme));
    EXPECT_EQ(theme.btnBack->titleForState(ui::ControlStateNormal), "Back");
    EXPECT_EQ(shown(theme), c.sections);
    // Every verse holds its Arabic text; the last of a section closes it.
    for (const auto& section : theme.arrSectionedResults()) {
      EXPECT_EQ(section->SectionResultCount(), int(section->AllResults()->size()));
      EXPECT_TRUE(section->AllResults()->back()->IsLastInSection());
      for (const auto& v : *section->AllResults()) EXPECT_FALSE(v->VerseText().empty()) << v->surah() << ":" << v->verse();
    }
    EXPECT_EQ(theme.tblTable->numberOfSections(), int(c.sections.size()));
    EXPECT_EQ(theme.heightForHeaderInSection(theme.tblTable.get(), 0), 44.0f);
    EXPECT_EQ(theme.arrSectionViews()[0]->header.btnVerseCounter, nullptr) << "no hit counts in dua mode";
    tapView(*theme.btnBack);
    settle(0.6);
    EXPECT_EQ(moreTab()->topViewController(), themes.get());
    EXPECT_FALSE(themes->tblTable->indexPathForSelectedRow()) << "the theme's row is deselected on return";
  }
  // Protection ends with two one-verse sections for surahs 113 and 114.
  auto& protection = openTheme(*themes, 9);
  Sections all = shown(protection);
  Sections tail(all.end() - 2, all.end());
  EXPECT_EQ(tail, (Sections{{113, {1}}, {114, {1}}}));
}

TEST_F(SupplicationsTest, FoldingStaysInTheListAndATapOpensTheVerseWithoutPlaying) {
  launch();
  auto themes = openThemes();
  auto& praise = openTheme(*themes, 2);
  int before = foldTable();
  auto& section = praise.arrSectionedResults()[11];  // surah 43: 82 and 85
  ASSERT_EQ(section->surah(), 43);
  praise.arrSectionViews()[11]->btnCollapsePressed();
  settle(0.5);
  EXPECT_TRUE(section->IsSectionCollapsed());
  EXPECT_EQ(praise.tblTable->numberOfRowsInSection(11), 0);
  EXPECT_EQ(praise.tblTable->rectForHeaderInSection(11).height(), 44);
  EXPECT_EQ(foldTable(), before) << "the bookmarks' fold table is not the list's";
  praise.arrSectionViews()[11]->btnCollapsePressed();
  settle(0.5);
  ASSERT_EQ(praise.tblTable->numberOfRowsInSection(11), 2);
  tapOpensVerse(*praise.tblTable, 11, 1, 43, 85);

  // Opened again: every section unfolded.
  praise.arrSectionViews()[0]->btnCollapsePressed();
  tapView(*praise.btnBack);
  settle(0.6);
  auto& again = openTheme(*themes, 2);
  for (const auto& s : again.arrSectionedResults()) EXPECT_FALSE(s->IsSectionCollapsed());
}

TEST_F(SupplicationsTest, ProstrationVersesShowTheFourObligatoryInGreenWithTheLegend) {
  launch();
  auto sajdas = openSajdas();
  EXPECT_EQ(sajdas->lblTopLabel->text(), "Sajdas");
  ASSERT_EQ(sajdas->arrSectionedResults().size(), 14u);
  EXPECT_EQ(shown(*sajdas)[5], (std::pair<int, std::vector<int>>{22, {18, 77}}));
  EXPECT_EQ(sajdas->tblTable->tableFooterView(), sajdas->viewBottomFooter);
  EXPECT_EQ(sajdas->lblBottomLegend->text(), "The ones in green are obligatory");
  std::vector<std::string> green;
  int verses = 0;
  for (int s = 0; s < sajdas->tblTable->numberOfSections(); ++s)
    for (int r = 0; r < sajdas->tblTable->numberOfRowsInSection(s); ++r) {
      auto* cell = cellAt<SearchViewCell>(*sajdas->tblTable, s, r);
      ASSERT_NE(cell, nullptr);
      const auto& v = *cell->cellView()->ThisSearchResult();
      ++verses;
      EXPECT_TRUE(ChapterInfo::isSajda(v.surah(), v.verse()));
      if (cell->cellView()->lblArabicVerse->textColor() == cg::Color::fromRGB255(22, 129, 1))
        green.push_back(std::to_string(v.surah()) + ":" + std::to_string(v.verse()));
    }
  EXPECT_EQ(verses, 15);
  EXPECT_EQ(green, (std::vector<std::string>{"32:15", "41:38", "53:62", "96:19"}));
  // Surah 22's section folds both its rows; the verses after it still open
  // where they are.
  sajdas->arrSectionViews()[5]->btnCollapsePressed();
  settle(0.5);
  EXPECT_EQ(sajdas->tblTable->numberOfRowsInSection(5), 0);
  tapOpensVerse(*sajdas->tblTable, 10, 0, 41, 38);
}

TEST_F(SupplicationsTest, ArabicCountsAndLegend) {
  useLanguage("ar");
  launch();
  auto themes = openThemes();
  auto* cell = cellAt<ui::TableViewCell>(*themes->tblTable, 0, 2);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->detailTextLabel()->text(), "\u0661\u0669");  // 19
  EXPECT_EQ(cell->textLabel()->text(), Language::get("Praise", ""));
  tapView(*themes->btnBack);
  settle(0.6);
  auto sajdas = openSajdas();
  EXPECT_EQ(sajdas->lblTopLabel->text(), "السجدات");
  EXPECT_EQ(sajdas->lblBottomLegend->text(), Language::get("The ones in green are obligatory", ""));
  EXPECT_NE(sajdas->lblBottomLegend->text(), "The ones in green are obligatory");
}

TEST_F(SupplicationsTest, Pictures) {
  inEveryLook([&](const std::string& name) {
    auto themes = openThemes();
    ASSERT_TRUE(backend().screenshot(picture("supplications-" + name)));
    auto& praise = openTheme(*themes, 2);
    praise.arrSectionViews()[1]->btnCollapsePressed();
    settle(0.5);
    ASSERT_TRUE(backend().screenshot(picture("supplications-praise-" + name)));
    tapView(*praise.btnBack);
    tapView(*themes->btnBack);
    settle(0.6);
    auto sajdas = openSajdas();
    ASSERT_TRUE(backend().screenshot(picture("sajdas-" + name)));
    sajdas->tblTable->setContentOffset(sajdas->tblTable->maximumContentOffset(), false);  // the legend
    settle(0.3);
    ASSERT_TRUE(backend().screenshot(picture("sajdas-end-" + name)));
  });
}

}  // namespace
}  // namespace infotest
