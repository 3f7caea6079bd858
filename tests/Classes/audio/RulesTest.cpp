// What follows each verse: verse repeat, verse groups, the end of the surah
// or group, and the bubbles that tell them; the pickers that change them.
#include "Classes/audio/PlayOptionsPickers.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PopoverController.h"
#include "tests/Classes/audio/AudioFixture.h"

namespace audiotest {
namespace {

struct RuleCase {
  const char* name;
  int ayahRepeat, range, surahRepeat, startVerse;
  std::vector<int> started;  // the verses started, in order, over the time below
  bool playingAfter;
  int surah = 103;
};

TEST_F(AudioTest, RepeatRangeAndEndRulesDecideWhatPlaysNext) {
  // Per verse, 0.3 s each, 3 s of listening: surah 103 has verses 0 to 3,
  // surahs 1 and 9 begin at verse 1 (in surah 1 the opening formula is verse
  // 1, surah 9 has none). Continuously: surah 112 (verses 1 and 2 last 2 s
  // each in its first part), 5 s of listening.
  const RuleCase cases[] = {
      {"plain", 0, 0, 0, 0, {0, 1, 2, 3}, false},
      {"each verse three times", 2, 0, 0, 0, {0, 0, 0, 1, 1, 1, 2, 2, 2, 3}, true},
      {"next 1 verse from verse 1", 0, 1, 0, 1, {1, 2}, false},
      {"next 1 verse repeated", 0, 1, 2, 1, {1, 2, 1, 2, 1, 2, 1, 2, 1, 2}, true},
      {"surah repeated", 0, 0, 2, 0, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1}, true},
      {"no group of 4: row 4 is 5 more, cut by the surah's end", 0, 4, 0, 0, {0, 1, 2, 3}, false},
      {"endless verse", 5, 0, 0, 2, {2, 2, 2, 2, 2, 2, 2, 2, 2, 2}, true},
      {"repeats count once towards the group", 1, 1, 0, 1, {1, 1, 2, 2}, false},
      {"a group with surah by surah ends at the group's end", 0, 1, 1, 1, {1, 2}, false},
      {"surah 1 repeated restarts at verse 1", 0, 0, 2, 6, {6, 7, 1, 2, 3, 4, 5, 6, 7, 1}, true, 1},
      {"surah 9 repeated restarts at verse 1", 0, 0, 2, 128, {128, 129, 1, 2, 3, 4, 5, 6, 7, 8}, true, 9},
      {"continuous: a group with surah by surah ends at the group's end", 0, 1, 1, 1, {1, 2}, false, kContSurah},
  };
  launch();
  for (int surah : {103, 1, 9}) installVerses(surah, 0.3);
  installContinuous();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool continuous = c.surah == kContSurah;
    useReciter(continuous ? kContReciter : kVerseReciter);
    defaults().setInteger(c.ayahRepeat, "AyahRepeatCounter");
    defaults().setInteger(c.range, "PlayVerseRange");
    defaults().setInteger(c.surahRepeat, "SurahRepeatCounter");
    open(c.surah, c.startVerse);
    reading().viewWillAppear(false);  // the counters are read as the screen appears
    reading().highlightVerse(c.startVerse, true, false, true);
    reading().playStopOrDownload();
    ASSERT_EQ(reading().isUsingContinuousPlayback(), continuous);
    auto started = versesStarted(continuous ? 5.0 : 3.0);
    started.resize(std::min(started.size(), size_t(10)));
    EXPECT_EQ(started, c.started);
    EXPECT_EQ(reading().IsInPlayMode(), c.playingAfter);
    if (reading().IsInPlayMode()) reading().stopPlaying(false, false);
    settle(1.0);
  }
}

TEST_F(AudioTest, SurahBySurahOpensTheNextSurahAndPlaysItFromItsStart) {
  struct Case {
    int surah, lastVerse, next, firstOfNext;
  } cases[] = {{103, 3, 104, 0}, {114, 6, 1, 1}};  // after the last surah comes the first
  launch();
  for (int surah : {103, 104, 114, 1}) installVerses(surah, 0.3);
  defaults().setInteger(1, "SurahRepeatCounter");
  for (auto c : cases) {
    SCOPED_TRACE(c.surah);
    open(c.surah, c.lastVerse);
    reading().viewWillAppear(false);
    reading().highlightVerse(c.lastVerse, true, false, true);
    reading().playStopOrDownload();
    int firstOfNext = -1;
    play(1.0, 0.02, [&] {
      if (firstOfNext < 0 && reading().iCurrentSurah() == c.next && reading().IsInPlayMode())
        firstOfNext = reading().iCurrentPlayingVerse();
    });
    EXPECT_EQ(reading().iCurrentSurah(), c.next);
    EXPECT_EQ(firstOfNext, c.firstOfNext);
    if (reading().IsInPlayMode()) reading().stopPlaying(false, false);
    settle(1.0);
  }
}

TEST_F(AudioTest, BubblesTellTheGroupAsItPlays) {
  launch();
  installVerses(103, 0.5);
  defaults().setInteger(1, "PlayVerseRange");
  open(103, 1);
  reading().viewWillAppear(false);
  reading().highlightVerse(1, true, false, true);
  EXPECT_EQ(reading().btnSurahRepeatBubble->titleForState(ui::ControlStateNormal), "Play the next 1 aya");
  EXPECT_EQ(reading().btnAyahRepeatBubble->titleForState(ui::ControlStateNormal), "Aya repeat 1");
  reading().playStopOrDownload();
  backend().advance(0.6);
  EXPECT_EQ(reading().iCurrentPlayingVerse(), 2);
  EXPECT_EQ(reading().btnSurahRepeatBubble->titleForState(ui::ControlStateNormal), "Playing last aya");
  defaults().setInteger(5, "AyahRepeatCounter");
  ns::NotificationCenter::defaultCenter().postNotificationName("AyahRepeatDidChange");
  EXPECT_EQ(reading().btnAyahRepeatBubble->titleForState(ui::ControlStateNormal), "Aya repeat \u221E");
  defaults().setInteger(11, "PlayVerseRange");
  ns::NotificationCenter::defaultCenter().postNotificationName("PlayVerseRangeDidChange");
  EXPECT_EQ(reading().btnSurahRepeatBubble->titleForState(ui::ControlStateNormal), "Play the next 20 ayas");
  defaults().setInteger(0, "PlayVerseRange");
  defaults().setInteger(2, "SurahRepeatCounter");
  ns::NotificationCenter::defaultCenter().postNotificationName("PlayVerseRangeDidChange");
  ns::NotificationCenter::defaultCenter().postNotificationName("SurahRepeatDidChange");
  EXPECT_EQ(reading().btnSurahRepeatBubble->titleForState(ui::ControlStateNormal), "Repeat current surah");
}

// The picker shown in the screen's popover, inside its navigation controller.
template <class Picker>
Picker* shownPicker(SurahViewController& screen) {
  if (!screen.popoverView || !screen.popoverView->isPopoverVisible()) return nullptr;
  auto nav = std::dynamic_pointer_cast<ui::NavigationController>(screen.popoverView->contentViewController());
  return nav ? dynamic_cast<Picker*>(nav->topViewController()) : nullptr;
}

TEST_F(AudioTest, PlayOptionsPickerKeepsAGroupAndSurahBySurahApart) {
  launch();
  defaults().setInteger(1, "SurahRepeatCounter");
  reading().viewWillAppear(false);
  std::vector<std::string> posted;
  std::vector<ns::Observer> observers;
  for (const char* name : {"SurahRepeatDidChange", "PlayVerseRangeDidChange"})
    observers.push_back(ns::NotificationCenter::defaultCenter().addObserver(
        name, [&posted, name](const ns::Value&) { posted.push_back(name); }));
  reading().btnSurahRepeatBubble->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle(0.5);
  auto* picker = shownPicker<PlayNextAyasController>(reading());
  ASSERT_TRUE(picker);
  EXPECT_TRUE(reading().isShowingPlayOptions());
  auto* table = picker->table.get();
  auto ticked = [&](int section, int row) {
    auto cell = table->cellForRowAtIndexPath(ui::IndexPath::indexPathForRow(row, section));
    return cell && cell->accessoryType() == ui::TableViewCellAccessoryType::Checkmark;
  };
  EXPECT_TRUE(ticked(0, 1));
  EXPECT_TRUE(ticked(1, 0));
  picker->didSelectRowAtIndexPath(table, ui::IndexPath::indexPathForRow(4, 1));  // "Play the next 5 verses"
  EXPECT_EQ(defaults().integerForKey("PlayVerseRange"), 4);
  EXPECT_EQ(defaults().integerForKey("SurahRepeatCounter"), 0);
  EXPECT_EQ(posted, (std::vector<std::string>{"PlayVerseRangeDidChange", "SurahRepeatDidChange"}));
  EXPECT_TRUE(ticked(0, 0));
  EXPECT_FALSE(ticked(0, 1));
  EXPECT_EQ(PlayNextAyasController::rowText(1, 4), "Play the next 5 verses");
  EXPECT_EQ(reading().btnSurahRepeatBubble->titleForState(ui::ControlStateNormal), "Play the next 5 ayas");
  picker->didSelectRowAtIndexPath(table, ui::IndexPath::indexPathForRow(1, 0));  // surah by surah
  EXPECT_EQ(defaults().integerForKey("PlayVerseRange"), 0);
  EXPECT_TRUE(reading().popoverView->isPopoverVisible());  // it stays open
  picker->btnBackPressed();
  settle(0.5);
  EXPECT_FALSE(reading().popoverView->isPopoverVisible());
  EXPECT_FALSE(reading().isShowingPlayOptions());
}

TEST_F(AudioTest, AyaRepeatPickerClosesOnAChoice) {
  launch();
  reading().btnAyahRepeatBubble->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle(0.5);
  auto* picker = shownPicker<AyaRepeatController>(reading());
  ASSERT_TRUE(picker);
  EXPECT_EQ(picker->iCurrentRepeatAyah, 0);
  EXPECT_EQ(AyaRepeatController::rowText(5), "Keep playing selected aya only");
  picker->didSelectRowAtIndexPath(picker->table.get(), ui::IndexPath::indexPathForRow(2, 0));
  settle(0.5);
  EXPECT_EQ(defaults().integerForKey("AyahRepeatCounter"), 2);
  EXPECT_FALSE(reading().popoverView->isPopoverVisible());
  EXPECT_EQ(reading().btnAyahRepeatBubble->titleForState(ui::ControlStateNormal), "Aya repeat 3");
}

}  // namespace
}  // namespace audiotest
