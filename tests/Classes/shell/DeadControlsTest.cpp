// Controls that once misled or did nothing, in the shell a reader uses: the
// Log and Tweet alerts name what this desktop lacks, the web link is offered
// only with a configured site, the header's "Suras" button brings the index
// column in, and the panel's translation page reads a new translation from
// its start.
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "Classes/reading/VerseShareTexts.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Button.h"
#include "platform/ui/ButtonPanel.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

class DeadControlsTest : public ShellTest {
 protected:
  VerseOptionsPanel& hud() { return *reading().optionsPanel(); }
  // The alert a button brings up, closed again.
  std::pair<std::string, std::string> alertOf(const std::shared_ptr<ui::Button>& button) {
    hud().ayahHudButtonPressed(button.get());
    settle();
    ui::ButtonPanel* alert = ui::ButtonPanel::visiblePanel();
    if (!alert) return {};
    std::pair<std::string, std::string> shown{alert->title(), alert->message()};
    alert->tapButtonAtIndex(0);
    settle();
    return shown;
  }
  std::vector<std::string> copyEntries() {
    hud().ayahHudButtonPressed(hud().btnHUDCopy.get());
    settle();
    std::vector<std::string> out;
    auto& sheet = hud().currentSheet();
    for (int i = 0; sheet && i < sheet->numberOfButtons(); ++i)
      if (i != sheet->cancelButtonIndex()) out.push_back(sheet->buttonTitleAtIndex(i));
    if (sheet) sheet->dismissWithClickedButtonIndex(sheet->cancelButtonIndex(), false);
    settle();
    return out;
  }
};

TEST_F(DeadControlsTest, TheOptionsPanelSaysWhatThisDesktopLacks) {
  defaults().setInteger(2, "CurrentlyShowingSurah");
  defaults().setInteger(1, "CurrentTranslationPrimary");
  launch();
  settle();
  longPressVerse(255);
  ASSERT_TRUE(reading().showingDialControl());

  for (const auto& button : {hud().btnHUDSorvane, hud().btnHUDTweet}) {
    auto [title, message] = alertOf(button);
    EXPECT_FALSE(title.empty());
    EXPECT_EQ(message.find("App Store"), std::string::npos) << message;
    EXPECT_NE(message.find("this desktop"), std::string::npos) << message;
  }

  auto entries = copyEntries();
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "Online Ayah Link"), 0);
  defaults().setObject(ns::Value(std::string("https://verses.example.org")), VerseShareTexts::kWebSiteKey);
  entries = copyEntries();
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "Online Ayah Link"), 1);
}

TEST_F(DeadControlsTest, SurasBringsTheIndexColumnIn) {
  launch();
  settle();
  root->tabbarButtonPressed(2);  // another tab in the column
  settle();
  root->showOrHideIndex();  // the reading view over the column
  settle();
  ASSERT_NE(root->iSelectedBottomTab(), 3);
  reading().btnBackToIndex->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle();
  EXPECT_EQ(root->iSelectedBottomTab(), 3);
  EXPECT_LE(root->viewFloatingVerses->frame().maxX(), root->viewIndexList->frame().x());
}

// The panel's translation page starts at the top of a newly picked translation.
TEST_F(DeadControlsTest, ThePanelsTranslationPageStartsAtTheTopOfANewTranslation) {
  defaults().setInteger(2, "CurrentlyShowingSurah");
  defaults().setInteger(1, "HUDTranslation");
  launch();
  settle();
  longPressVerse(255);
  hud().ayahHudButtonPressed(hud().btnHUDTranslation.get());  // page 2
  settle();
  ui::ScrollView& page = *hud().scrollHUDTranslation;
  ASSERT_GT(page.contentSize().height, page.bounds().height() + 40) << "a verse longer than the page";
  page.setContentOffset(cg::Point{0, 40}, false);
  defaults().setInteger(8, "HUDTranslation");  // as the picker writes it
  hud().translationPickerPicked(8);
  settle();
  EXPECT_EQ(page.contentOffset().y, 0);
}

}  // namespace
}  // namespace shelltest
