// The shell in the Arabic interface: the index column and the verse options
// panel speak Arabic, in pictures for a person to look at.
#include "Classes/index/IndexViewController.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

class ArabicInterfaceTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    if (IsSkipped()) return;
    testenv::linkBuiltResources(std::getenv("ZARVEL_RESOURCES"), {"ar.lproj", "en.lproj"});
    Language::setLanguage("ar");
    ZarvelSDKAppDelegate::ResetArabicCheck();
  }
  void TearDown() override {
    Language::setLanguage("en");
    ZarvelSDKAppDelegate::ResetArabicCheck();
    ShellTest::TearDown();
  }
};

TEST_F(ArabicInterfaceTest, TheIndexAndTheOptionsPanelSpeakArabic) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  defaults().setInteger(2, "CurrentlyShowingSurah");
  launch(ui::InterfaceOrientation::LandscapeRight);
  settle(1);
  ASSERT_TRUE(ZarvelSDKAppDelegate::IsLanguageArabic());
  auto index = root->viewContIndex();
  ASSERT_TRUE(index);
  EXPECT_EQ(index->btnTopCurrentSurah->titleForState(ui::ControlStateNormal), "البقرة");
  ASSERT_TRUE(backend().screenshot(shotPath("arabic-index.png")));

  // The options panel on verse 255, as a long press opens it.
  SurahViewController& screen = reading();
  auto path = ui::IndexPath::indexPathForRow(screen.verseToRow(255), 0);
  screen.tblVerses->scrollToRowAtIndexPath(path, ui::TableViewScrollPosition::Top, false);
  settle();
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(screen.tblVerses->cellForRowAtIndexPath(path));
  ASSERT_TRUE(cell);
  screen.showDialControlForVerseCell(cell.get(), cell->CellView(), screen.tblVerses.get(), 255, 2);
  settle();
  VerseOptionsPanel& hud = *screen.optionsPanel();
  EXPECT_EQ(hud.btnHUDBookmark->titleForState(ui::ControlStateNormal), "ضع علامة");
  EXPECT_EQ(hud.btnHUDCopy->titleForState(ui::ControlStateNormal), "نسخ");
  EXPECT_EQ(hud.btnHUDCancel->titleForState(ui::ControlStateNormal), "تم");
  ASSERT_TRUE(backend().screenshot(shotPath("arabic-options-panel.png")));
  hud.ayahHudButtonPressed(hud.btnHUDTranslation.get());
  settle();
  ASSERT_TRUE(backend().screenshot(shotPath("arabic-options-panel-translation.png")));
}

}  // namespace
}  // namespace shelltest
