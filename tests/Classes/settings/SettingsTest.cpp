// The More menu and the settings in the shell a reader uses: what the menu
// opens, the sections that follow the installed recitations, and every
// switch and size changing what the reading screen draws, through taps on the
// screens as a person makes them.
#include <sqlite3.h>

#include "Classes/glyphs/ArabicFont.h"
#include "Classes/index/IndexTableViewCell.h"
#include "Classes/index/IndexViewController.h"
#include "Classes/index/SurahCellView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Paths.h"
#include "platform/services/LocalNotificationScheduler.h"
#include "tests/Classes/settings/SettingsFixture.h"

namespace settingstest {
namespace {

using audiotest::kContReciter;

// The reading table's area of the window.
cg::Rect tableArea(SurahViewController& s) {
  return s.tblVerses->convertRectToView(s.tblVerses->bounds(), nullptr);
}

TEST_F(SettingsTest, TheMoreMenuOpensTheScreensThatExistAndComesBackWithoutABar) {
  launch();
  auto& menu = openMore();
  ASSERT_EQ(menu.numberOfRowsInSection(menu.tblGroups.get(), 0), 7);
  const char* titles[] = {"Tajweed", "Stop Signs", "Sajdas", "Quranic Supplications", "Settings", "Tips", "About"};
  for (int row = 0; row < 7; ++row) {
    auto cell = menu.tblGroups->cellForRowAtIndexPath({0, row});
    ASSERT_TRUE(cell) << row;
    EXPECT_EQ(cell->textLabel()->text(), titles[row]);
    EXPECT_TRUE(cell->imageView()->image()) << titles[row];
    EXPECT_EQ(cell->accessoryType(), ui::TableViewCellAccessoryType::DisclosureIndicator);
  }
  EXPECT_TRUE(moreTab()->isNavigationBarHidden());

  tapRow(*menu.tblGroups, 0, 0);
  auto* guide = shown<TajweedInfoViewController>();
  ASSERT_NE(guide, nullptr);
  EXPECT_TRUE(guide->fromSettings());
  EXPECT_EQ(guide->scrollToView(), 0);
  EXPECT_EQ(guide->viewScroll->contentOffset().y, 0);
  tapView(*guide->btnBack);
  EXPECT_EQ(shown<MoreViewController>(), &menu);

  // A pushed screen that shows the bar leaves it hidden on the way back.
  tapRow(*menu.tblGroups, 0, 4);
  ASSERT_NE(shown<SettingsViewController>(), nullptr);
  moreTab()->setNavigationBarHidden(false, false);
  moreTab()->popViewControllerAnimated(false);
  settle(0.3);
  EXPECT_TRUE(moreTab()->isNavigationBarHidden());
}

TEST_F(SettingsTest, TheSectionsFollowTheInstalledRecitations) {
  launch();
  auto& settings = openSettings();
  ui::TableView* table = settings.myTableView.get();
  EXPECT_EQ(settings.numberOfSectionsInTableView(table), 4);  // ends with Backup
  EXPECT_EQ(settings.numberOfRowsInSection(table, SettingsViewController::General), 4);

  // Continuous audio of reciter 2: the reciter's row, no upgrade offer.
  installContinuous();
  moreTab()->popViewControllerAnimated(false);
  settle(0.3);
  tapRow(*shown<MoreViewController>()->tblGroups, 0, 4);
  auto* again = shown<SettingsViewController>();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->numberOfSectionsInTableView(table), 5);
  EXPECT_EQ(again->allReciters(), std::vector<int>{kContReciter});
  auto row = again->cellForRowAtIndexPath(again->myTableView.get(), {SettingsViewController::ManageRecitations, 0});
  EXPECT_EQ(row->textLabel()->text(), ChapterInfo::getReciterFullNameFromNumber(kContReciter));
  // The row opens the reciter's installed recitations.
  tapRow(*again->myTableView, SettingsViewController::ManageRecitations, 0);
  auto* manager = shown<ManageSurahAudioController>();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->selectedReciter(), kContReciter);
  EXPECT_EQ(again->managesurahController.get(), manager);
  picture("recitations-manager");
  moreTab()->popViewControllerAnimated(false);
  settle(0.3);

  // Per-verse audio of a reciter with a gapless set: the upgrade offer too.
  installVerses(104, 0.2, 1);
  moreTab()->popViewControllerAnimated(false);
  settle(0.3);
  tapRow(*shown<MoreViewController>()->tblGroups, 0, 4);
  again = shown<SettingsViewController>();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->numberOfSectionsInTableView(table), 6);
  tapRow(*again->myTableView, SettingsViewController::UpgradeAudio, 0);
  ASSERT_NE(alertShown(), nullptr);
  alertShown()->tapButtonAtIndex(0);  // "No" keeps everything
  settle(0.3);
  EXPECT_TRUE(ChapterInfo::isSurahAudioInstalled(user(), 104, 1));
}

TEST_F(SettingsTest, TheBackupAlertNamesTheFolderOfTheUserDatabase) {
  launch();
  auto& settings = openSettings();
  tapRow(*settings.myTableView, SettingsViewController::Backup, 0);
  auto* alert = alertShown();
  ASSERT_NE(alert, nullptr);
  EXPECT_EQ(alert->title(), "Backup");
  EXPECT_NE(alert->message().find(ns::documentsDirectory()), std::string::npos) << alert->message();
  EXPECT_NE(alert->message().find("zarveldyn.db"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(ns::documentsDirectory()) / "zarveldyn.db"));
  EXPECT_EQ(alert->numberOfButtons(), 1);
}

// Hide Translation, the two font sizes: the full-screen table drawn again.
TEST_F(SettingsTest, TranslationAndFontSizeSettingsChangeTheReadingTable) {
  defaults().setInteger(1, "CurrentTranslationPrimary");
  launch();
  rootScreen().expandFloatingView(true);
  settle(2);
  open(2, 6);
  auto& s = reading();
  ASSERT_EQ(s.iCurrentTranslation(), 1);
  auto before = picture("reading-with-translation");
  int rowsWith = s.numberOfVerseRows();

  auto& settings = openSettings();
  flip(*settings.switchHideTransFullScreen);
  settle(1);
  EXPECT_TRUE(defaults().boolForKey("HideTransInFullScreen"));
  EXPECT_EQ(s.iCurrentTranslation(), 0);
  EXPECT_LT(s.numberOfVerseRows(), rowsWith);
  auto hidden = picture("reading-translation-hidden");
  EXPECT_GT(differingPixels(*before, *hidden, tableArea(s)), 1000);
  flip(*settings.switchHideTransFullScreen);
  settle(1);
  EXPECT_EQ(s.iCurrentTranslation(), 1);

  // The Arabic size: larger verse rows, the checkmark moved and the title named.
  auto firstVerse = ui::IndexPath::indexPathForRow(s.verseToRow(6), 0);
  float normalHeight = s.tblVerses->rectForRowAtIndexPath(firstVerse).height();
  tapRow(*settings.myTableView, SettingsViewController::General, 0);
  auto* sizes = shown<SettingsSubView>();
  ASSERT_NE(sizes, nullptr);
  tapRow(*sizes->myTableView, 0, 3);
  EXPECT_EQ(defaults().integerForKey("ArabicFontSize"), 3);
  EXPECT_EQ(ZarvelSDKAppDelegate::ArabicFontSize(), 3);
  EXPECT_EQ(sizes->lblTopLabel->text(), "Large");
  EXPECT_EQ(sizes->myTableView->cellForRowAtIndexPath({0, 3})->accessoryType(),
            ui::TableViewCellAccessoryType::Checkmark);
  EXPECT_EQ(sizes->myTableView->cellForRowAtIndexPath({0, 1})->accessoryType(), ui::TableViewCellAccessoryType::None);
  settle(1);
  firstVerse = ui::IndexPath::indexPathForRow(s.verseToRow(6), 0);
  EXPECT_GT(s.tblVerses->rectForRowAtIndexPath(firstVerse).height(), normalHeight * 1.2f);

  // The translation size: taller translation rows.
  auto translationRow = ui::IndexPath::indexPathForRow(s.verseToRow(6) + 1, 0);
  float smallText = s.tblVerses->rectForRowAtIndexPath(translationRow).height();
  tapRow(*sizes->myTableView, 1, 3);
  settle(1);
  EXPECT_EQ(ZarvelSDKAppDelegate::TranslationFontSize(), 3);
  EXPECT_EQ(sizes->lblTopLabel->text(), "Large");  // only the Arabic size retitles
  translationRow = ui::IndexPath::indexPathForRow(s.verseToRow(6) + 1, 0);
  EXPECT_GT(s.tblVerses->rectForRowAtIndexPath(translationRow).height(), smallText);
  picture("reading-large-sizes");
}

// The rules, the stop signs and the legend: the verses drawn again and the bar moved.
TEST_F(SettingsTest, TajweedSettingsChangeTheColoursAndTheLegend) {
  launch();
  open(2, 6);
  auto& s = reading();
  auto& tajweed = openDetail(SettingsViewController::General, 1);
  ASSERT_EQ(tajweed.ThisSetting(), SettingsSubView::kTajweed);
  EXPECT_TRUE(tajweed.switchLegend->isOn());
  EXPECT_EQ(s.btnTajweedGhunna->alpha(), 1);
  auto coloured = picture("tajweed-all-rules");

  // A rule off: the verses lose its colour and the bar its button; the
  // legend hears of it before the verses are drawn again.
  std::vector<std::string> heard;
  auto& center = ns::NotificationCenter::defaultCenter();
  auto a = center.addObserver("TajweedBarDisplayToggled", [&](const ns::Value&) { heard.push_back("legend"); });
  auto b = center.addObserver("ArabicFontChanged", [&](const ns::Value&) { heard.push_back("font"); });
  flip(*tajweed.switchGHunna);
  settle(1);
  EXPECT_EQ(heard, (std::vector<std::string>{"legend", "font"}));
  EXPECT_FALSE(defaults().boolForKey("TajweedGhunna"));
  EXPECT_FALSE(s.fontLoader()->canShowGhunna);
  EXPECT_EQ(s.btnTajweedGhunna->alpha(), 0);
  auto noGhunna = picture("tajweed-no-ghunna");
  EXPECT_GT(differingPixels(*coloured, *noGhunna, tableArea(s)), 50);

  // Stop signs uncoloured: the verses drawn again.
  flip(*tajweed.switchStopSigns);
  settle(1);
  EXPECT_FALSE(s.fontLoader()->canColorStopSigns);
  auto plainSigns = picture("tajweed-plain-stop-signs");
  EXPECT_GT(differingPixels(*noGhunna, *plainSigns, tableArea(s)), 20);

  // The legend off: the bar leaves the table.
  cg::Rect t = s.tblVerses->frame();
  flip(*tajweed.switchLegend);
  settle(1);
  EXPECT_EQ(s.viewTajweedBar->frame().y(), t.maxY());
  EXPECT_EQ(s.tblVerses->contentInset().bottom, 0);
  flip(*tajweed.switchLegend);
  settle(1);
  EXPECT_EQ(s.viewTajweedBar->frame().y(), t.maxY() - 44);
}

// With fewer than two rules on there is nothing to tell apart: the legend
// goes off and cannot be turned on; a second rule lets it on, but leaves it off.
TEST_F(SettingsTest, TheLegendNeedsTwoRules) {
  launch();
  auto& tajweed = openDetail(SettingsViewController::General, 1);
  for (ui::Switch* rule : {tajweed.switchGHunna.get(), tajweed.switchIkhfa.get(), tajweed.switchIdgham.get()})
    flip(*rule);
  EXPECT_TRUE(tajweed.switchLegend->isEnabled());
  EXPECT_TRUE(tajweed.switchLegend->isOn());
  flip(*tajweed.switchIqlab);  // only Qalqala left
  EXPECT_FALSE(tajweed.switchLegend->isEnabled());
  EXPECT_FALSE(tajweed.switchLegend->isOn());
  EXPECT_FALSE(defaults().boolForKey("ShowTajweedBar"));
  auto& s = reading();
  EXPECT_EQ(s.viewTajweedBar->frame().y(), s.tblVerses->frame().maxY());  // hidden

  flip(*tajweed.switchIqlab);
  EXPECT_TRUE(tajweed.switchLegend->isEnabled());
  EXPECT_FALSE(tajweed.switchLegend->isOn());
  EXPECT_FALSE(defaults().boolForKey("ShowTajweedBar"));
}

TEST_F(SettingsTest, OpeningADetailScreenSettlesTheLegendOnce) {
  defaults().setBool(false, "TajweedIkhfa");
  defaults().setBool(false, "TajweedIdgham");
  defaults().setBool(false, "TajweedIqlab");
  defaults().setBool(false, "TajweedQalqala");  // one rule on, the legend stored on
  launch();
  int posted = 0;
  auto watch = ns::NotificationCenter::defaultCenter().addObserver("TajweedBarDisplayToggled",
                                                                   [&](const ns::Value&) { ++posted; });
  openDetail(SettingsViewController::Language, 0);
  EXPECT_EQ(posted, 1);
  EXPECT_FALSE(defaults().boolForKey("ShowTajweedBar"));
}

TEST_F(SettingsTest, TheOtherSwitchesStoreAndAct) {
  launch();
  auto& settings = openSettings();
  // Ask for groups: on while "AskForBookmarkGroup" is NO; off stores YES, and
  // a bookmark made from the options panel is then made at once.
  EXPECT_TRUE(settings.switchAskForBookmarkGroups->isOn());
  flip(*settings.switchAskForBookmarkGroups);
  EXPECT_TRUE(defaults().boolForKey("AskForBookmarkGroup"));
  open(2, 6);
  auto& s = reading();
  auto path = ui::IndexPath::indexPathForRow(s.verseToRow(7), 0);
  s.tblVerses->scrollToRowAtIndexPath(path, ui::TableViewScrollPosition::Top, false);
  s.tblVerses->layoutIfNeeded();
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(s.tblVerses->cellForRowAtIndexPath(path));
  ASSERT_TRUE(cell);
  s.showDialControlForVerseCell(cell.get(), cell->CellView(), s.tblVerses.get(), 7, 2);
  tapView(*s.optionsPanel()->btnHUDBookmark);
  settle(0.5);
  EXPECT_TRUE(ChapterInfo::isBookmarked(user(), 2, 7));
  EXPECT_TRUE(s.isVerseBookmarked(7));

  // Al-Kahf reminders: off cancels the Friday reminders, on plans them again.
  auto& scheduler = ui::LocalNotificationScheduler::shared();
  ASSERT_FALSE(scheduler.scheduledLocalNotifications().empty());
  flip(*settings.switchKahf);
  EXPECT_FALSE(defaults().boolForKey("AlKahfReminders"));
  EXPECT_TRUE(scheduler.scheduledLocalNotifications().empty());
  flip(*settings.switchKahf);
  EXPECT_FALSE(scheduler.scheduledLocalNotifications().empty());

  // Calligraphic names: the index shows the surah-name pictures when it comes back.
  tapRow(*settings.myTableView, SettingsViewController::Language, 0);
  auto* language = shown<SettingsSubView>();
  ASSERT_NE(language, nullptr);
  flip(*language->switchArabicTitles);
  EXPECT_TRUE(defaults().boolForKey("IndexInArabic"));
  rootScreen().tabbarButtonPressed(3);
  settle(1);
  auto* index = rootScreen().viewContIndex().get();
  ASSERT_NE(index, nullptr);
  auto row = std::dynamic_pointer_cast<IndexTableViewCell>(index->surahListTable()->cellForRowAtIndexPath({0, 1}));
  ASSERT_TRUE(row);
  auto* surah = dynamic_cast<SurahCellView*>(row->cellView());
  ASSERT_NE(surah, nullptr);
  ASSERT_NE(surah->nameImage(), nullptr);
  EXPECT_FALSE(surah->nameImage()->isHidden());
  EXPECT_TRUE(surah->nameLabel()->isHidden());
  picture("index-calligraphic");
}

}  // namespace
}  // namespace settingstest
