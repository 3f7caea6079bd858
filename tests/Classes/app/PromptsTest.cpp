// The rate prompt over time, its answers and the tell-a-friend mail, and the
// routing of alert and sheet answers.
#include "Classes/audio/RecitationMirrors.h"
#include "AppTestEnvironment.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/RegisteredDefaults.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/String.h"
#include "platform/ui/Window.h"

namespace apptest {
namespace {

using Strings = std::vector<std::string>;
constexpr double kDay = 86400;

// Six recitation mirrors, as the download sheets number them.
class PromptsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    setenv(RecitationMirrors::kEnvironmentVariable,
           "http://127.0.0.1:1 http://127.0.0.1:2 http://127.0.0.1:3 http://127.0.0.1:4 http://127.0.0.1:5 "
           "http://127.0.0.1:6",
           1);
    RecitationMirrors::reload();
  }
  void TearDown() override {
    unsetenv(RecitationMirrors::kEnvironmentVariable);
    RecitationMirrors::reload();
    AppTest::TearDown();
  }
};

TEST_F(PromptsTest, RatePromptShowsFromTwoDaysAfterTheFirstCheck) {
  auto delegate = install();
  delegate->showNagScreen();
  EXPECT_EQ(defaults().dateForKey(kAppInstallDate), ns::Date::now());
  EXPECT_EQ(visiblePanel(), nullptr);

  setNow(ns::Date::now().dateByAddingTimeInterval(2 * kDay - 1));
  delegate->showNagScreen();
  EXPECT_EQ(visiblePanel(), nullptr);

  setNow(ns::Date::now().dateByAddingTimeInterval(1));
  delegate->showNagScreen();
  ASSERT_NE(visiblePanel(), nullptr);
  ui::ButtonPanel& sheet = *visiblePanel();
  EXPECT_EQ(sheet.tag(), -10);
  EXPECT_TRUE(ns::hasPrefix(sheet.title(), "Review Zarvel\n\nWe hope you are enjoying Zarvel."));
  EXPECT_EQ(sheet.numberOfButtons(), 4);
  EXPECT_EQ(sheet.cancelButtonIndex(), -1);
  EXPECT_EQ(sheet.destructiveButtonIndex(), -1);
  Strings titles;
  for (int i = 0; i < 4; ++i) titles.push_back(sheet.buttonTitleAtIndex(i));
  EXPECT_EQ(titles, (Strings{"Review Now", "Tell a Friend", "Later", "No, Thanks"}));

  // "Later": two more days; a foreground an hour later shows nothing.
  sheet.tapButtonAtIndex(2);
  advance(1);
  EXPECT_EQ(defaults().dateForKey(kAppInstallDate), ns::Date::now().dateByAddingTimeInterval(-1));
  setNow(ns::Date::now().dateByAddingTimeInterval(3600));
  delegate->showNagScreen();
  EXPECT_EQ(visiblePanel(), nullptr);
}

struct AnswerCase {
  int button;
  bool dontNagMe;
  bool storeOpened;
  bool mailShown;
};

TEST_F(PromptsTest, RatePromptAnswers) {
  const std::vector<AnswerCase> cases = {
      {0, true, true, false}, {1, false, false, true}, {2, false, false, false}, {3, true, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    restartProcess();
    openedURLs.clear();
    auto delegate = install();
    delegate->setupForiPad();
    defaults().setObject(ns::Value(ns::Date::now().dateByAddingTimeInterval(-3 * kDay)), kAppInstallDate);
    delegate->showNagScreen();
    ASSERT_NE(visiblePanel(), nullptr);
    visiblePanel()->tapButtonAtIndex(c.button);
    advance(1);
    EXPECT_EQ(defaults().boolForKey(kDontNagMe), c.dontNagMe);
    EXPECT_EQ(openedURLs.size(), c.storeOpened ? 1u : 0u);
    EXPECT_EQ(root->modalViewController() != nullptr, c.mailShown);
    if (c.mailShown) {
      ASSERT_NE(delegate->mailComposer(), nullptr);
      const ui::MailMessage& mail = delegate->mailComposer()->message();
      EXPECT_EQ(mail.subject, "Check out this app");
      EXPECT_TRUE(mail.isHTML);
      EXPECT_TRUE(ns::hasPrefix(mail.body, "Assalamualaikum,<br><br>I'm really enjoying using Zarvel"));
      EXPECT_TRUE(ns::hasSuffix(mail.body, "</a><br><br>salam,<br>"));
    }
    defaults().removeObjectForKey(kDontNagMe);
    defaults().synchronize();
  }
}

TEST_F(PromptsTest, MailResults) {
  const std::vector<std::pair<ui::MailComposeResult, bool>> cases = {
      {ui::MailComposeResult::Cancelled, false},
      {ui::MailComposeResult::Saved, false},
      {ui::MailComposeResult::Sent, false},
      {ui::MailComposeResult::Failed, true}};
  for (const auto& [result, failureShown] : cases) {
    SCOPED_TRACE(static_cast<int>(result));
    restartProcess();
    ui::MailComposeViewController::setMailEnabled(true);
    ui::MailComposeViewController::setHandler(
        [result](const ui::MailMessage&, const std::string&, std::string& error) {
          if (result == ui::MailComposeResult::Failed) error = "no mail handler";
          return result;
        });
    auto delegate = install();
    delegate->setupForiPad();
    delegate->tellAFriend();
    auto composer = delegate->mailComposer();
    ASSERT_NE(composer, nullptr);
    advance(1);
    if (result == ui::MailComposeResult::Cancelled) {
      composer->cancel();
    } else {
      composer->send();
    }
    advance(1);
    EXPECT_EQ(root->modalViewController(), nullptr);
    EXPECT_EQ(visiblePanel() != nullptr, failureShown);
    if (failureShown) {
      EXPECT_EQ(visiblePanel()->title(), "Mail Not Sent");
      EXPECT_EQ(visiblePanel()->message(), "Email could not be sent");
    }
  }
}

TEST_F(PromptsTest, NoMailAccountShowsTheSetupAlert) {
  ui::MailComposeViewController::setMailEnabled(false);
  auto delegate = install();
  delegate->setupForiPad();
  delegate->tellAFriend();
  EXPECT_EQ(root->modalViewController(), nullptr);
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->title(), "Email Not Setup");
  EXPECT_EQ(visiblePanel()->message(), "You need to setup an email account on your iPhone before using this feature");
}

enum class Identity { None, MirrorSheet, DownloadSheet, FailedSheet };

struct SheetCase {
  const char* name;
  int tag;
  Identity identity;
  int button;
  Strings calls;
  int downloadServer;  // after the answer
};

TEST_F(PromptsTest, ActionSheetRoutingTable) {
  const std::vector<SheetCase> cases = {
      {"cancel download: Yes", 191919, Identity::None, 0,
       {"cancelDownload", "requestDownloadSurahAudioAlert(36)"}, 9},
      {"cancel download: No", 191919, Identity::None, 1, {}, 9},
      {"mirror 1 for surah 5", 5, Identity::MirrorSheet, 0, {"downloadSurahAudioAlert(5)"}, 1},
      {"mirror 6 for surah 5", 5, Identity::MirrorSheet, 5, {"downloadSurahAudioAlert(5)"}, 6},
      {"random mirror for surah 5", 5, Identity::MirrorSheet, 6, {"downloadSurahAudioAlert(5)"}, -1},
      {"mirror sheet cancelled", 5, Identity::MirrorSheet, 7, {}, -1},
      {"mirror 3 for all surahs", -1, Identity::MirrorSheet, 2, {"downloadAllSurahAudio"}, 3},
      {"surah tag 18", 18, Identity::None, 0, {}, 9},
      {"surah sheet 1001: this", 1001, Identity::None, 0, {"requestDownloadServerSelection(1)"}, 9},
      {"surah sheet 1018: all", 1018, Identity::None, 1, {"requestDownloadServerSelection(-1)"}, 9},
      {"surah sheet 1114: this", 1114, Identity::None, 0, {"requestDownloadServerSelection(114)"}, 9},
      {"surah sheet 1018: cancel", 1018, Identity::None, 2, {}, 9},
      {"tag 115 is no surah sheet", 115, Identity::None, 0, {}, 9},
      {"tag 1000 is no surah sheet", 1000, Identity::None, 0, {}, 9},
      {"tag 1115 is no surah sheet", 1115, Identity::None, 0, {}, 9},
      {"download progress sheet", 0, Identity::DownloadSheet, 0, {"cancelDownload"}, 9},
      {"unknown sheet", 0, Identity::None, 0, {}, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto delegate = std::make_shared<RecordingDelegate>();
    delegate->nextDownloadSurah = 36;
    delegate->downloadServer = 9;
    auto sheet = std::make_shared<ui::ActionSheet>("", delegate, "Cancel", "", Strings{"a", "b"});
    sheet->setTag(c.tag);
    if (c.identity == Identity::MirrorSheet) delegate->downloadServerActionSheet = sheet;
    if (c.identity == Identity::DownloadSheet) delegate->downloadActionSheet = sheet;
    delegate->actionSheet(*sheet, c.button);
    EXPECT_EQ(delegate->downloads.list, c.calls);
    EXPECT_EQ(delegate->downloadServer, c.downloadServer);
    if (c.identity == Identity::MirrorSheet) {
      EXPECT_EQ(delegate->downloadServerActionSheet, nullptr);
    }
  }
}

TEST_F(PromptsTest, FailedDownloadSheetStopsTheDismissTimer) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto sheet = std::make_shared<ui::ActionSheet>("", delegate, "OK", "");
  sheet->setTag(-115);
  delegate->failedDownloadActionSheet = sheet;
  bool fired = false;
  delegate->dismissTimer = ns::RunLoop::main().scheduleTimer(5, false, [&] { fired = true; });
  delegate->actionSheet(*sheet, 0);
  EXPECT_FALSE(delegate->dismissTimer.isValid());
  advance(10);
  EXPECT_FALSE(fired);
  EXPECT_TRUE(delegate->downloads.list.empty());
}

struct AlertCase {
  const char* name;
  int tag;
  int button;
  Strings rootCalls;
  Strings downloads;
};

TEST_F(PromptsTest, AlertRoutingTable) {
  const std::vector<AlertCase> cases = {
      {"Friday alert: Yes", 1, 1, {"showSurahView(18, 1, NO, NO)", "updateSurahNameButton", "asyncSurahReload"}, {}},
      {"Friday alert: No", 1, 0, {}, {}},
      {"another alert's second button", 7, 1, {}, {}},
      {"continuous-audio warning: Yes", 10908, 1, {}, {"showIndexViewAndBeginDownloading"}},
      {"continuous-audio warning: No", 10908, 0, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    restartProcess();
    auto delegate = install();
    int reciterChanges = 0;
    ns::Observer observer =
        ns::NotificationCenter::defaultCenter().addObserver("ReciterDidChange", [&](const ns::Value&) { ++reciterChanges; });
    auto alert = std::make_shared<ui::AlertView>("", "", delegate, "No", Strings{"Yes"});
    alert->setTag(c.tag);
    delegate->alertView(*alert, c.button);
    EXPECT_EQ(root->calls.list, c.rootCalls);
    EXPECT_EQ(delegate->downloads.list, c.downloads);
    EXPECT_EQ(reciterChanges, c.downloads.empty() ? 0 : 1);
  }
}

TEST_F(PromptsTest, GaplessUpgradeMarksPerVerseAudioNotInstalled) {
  auto delegate = launch();
  sqlite3* db = delegate->dbConnection();
  ChapterInfo::markAudioAsInstalled(db, 36, 0);
  ChapterInfo::markAudioAsInstalled(db, 67, 0);
  ChapterInfo::markContAudioAsInstalled(db, 67, 0, false);
  ASSERT_TRUE(delegate->hasSlicedAudioInstalled());
  ZarvelSDKAppDelegate::upgradeToGaplessRequested();
  EXPECT_FALSE(ChapterInfo::isSurahAudioInstalled(db, 36, 0));
  EXPECT_TRUE(ChapterInfo::isSurahAudioInstalled(db, 67, 0));
  EXPECT_FALSE(delegate->hasSlicedAudioInstalled());
  EXPECT_EQ(ui::BackgroundTasks::openTaskCount(), 0u);
}

TEST_F(PromptsTest, TappingYesOnTheContinuousAudioWarningDismissesItOnce) {
  auto delegate = install();
  delegate->setupForiPad();
  delegate->showSlicedWarning();
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->title(), "");
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(1), "Yes");
  visiblePanel()->tapButtonAtIndex(1);
  advance(1);
  EXPECT_EQ(visiblePanel(), nullptr);
  EXPECT_EQ(ui::ButtonPanel::queuedCount(), 0u);
  EXPECT_EQ(delegate->downloads.list, (Strings{"showIndexViewAndBeginDownloading"}));
}

// The delegate's own download sheets (the download itself is not built).
class DownloadingDelegate : public ZarvelSDKAppDelegate {
 public:
  void setDownloading(bool on) { isDownloading_ = on; }
};

TEST_F(PromptsTest, DownloadSheetsCarryTheirTagsAndButtons) {
  auto delegate = std::make_shared<DownloadingDelegate>();
  root = std::make_shared<FakeRoot>();
  delegate->setIpadRootViewController(root);
  backend().launch(delegate);
  defaults().setBool(true, kDontNagMe);

  delegate->showIndexViewAndBeginDownloading();  // reciter 0: nothing installed, the highest surah first
  EXPECT_EQ(root->calls.list, (Strings{"bringIndexToView"}));
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), 1114);
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(0), "Download this Audio");
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(1), "Download all Audios");
  EXPECT_EQ(visiblePanel()->cancelButtonIndex(), 2);
  visiblePanel()->tapButtonAtIndex(0);  // asks for the mirror
  advance(1);
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel(), delegate->downloadServerActionSheet.get());
  EXPECT_EQ(visiblePanel()->tag(), 114);
  EXPECT_EQ(visiblePanel()->title(), "Select server to download audios from. If one fails, please try another.");
  EXPECT_EQ(visiblePanel()->numberOfButtons(), 8);
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(0), "Mirror 1 (US)");
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(3), "Mirror 4 (UK)");
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(5), "Mirror 6 (EU)");
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(6), "Random (Recommended)");
  EXPECT_EQ(visiblePanel()->cancelButtonIndex(), 7);
  visiblePanel()->tapButtonAtIndex(7);
  advance(1);
  EXPECT_EQ(delegate->downloadServerActionSheet, nullptr);
  EXPECT_EQ(delegate->downloadServer, -1);

  delegate->setDownloading(true);
  delegate->requestDownloadSurahAudioAlert(36);
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), 191919);
  EXPECT_EQ(visiblePanel()->buttonTitleAtIndex(0), "Yes");
  EXPECT_EQ(visiblePanel()->destructiveButtonIndex(), 0);
  EXPECT_EQ(delegate->nextDownloadSurah, 36);
  visiblePanel()->tapButtonAtIndex(0);  // cancels the running one and offers surah 36
  advance(1);
  EXPECT_FALSE(delegate->isDownloading());
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), 1036);
}

TEST_F(PromptsTest, WithEverySurahInstalledTheUpgradeOffersSurahOne) {
  auto delegate = std::make_shared<DownloadingDelegate>();
  root = std::make_shared<FakeRoot>();
  delegate->setIpadRootViewController(root);
  defaults().setBool(true, kDontNagMe);
  backend().launch(delegate);
  for (int surah = 1; surah <= 114; ++surah) ChapterInfo::markAudioAsInstalled(delegate->dbConnection(), surah, 0);
  defaults().setInteger(0, kCurrentReciter);
  delegate->showIndexViewAndBeginDownloading();
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->tag(), 1001);
}

TEST_F(PromptsTest, TappedSheetReachesTheDelegate) {
  auto delegate = install();
  delegate->setupForiPad();
  auto sheet = std::make_shared<ui::ActionSheet>("", delegate, "Cancel", "", Strings{"Download this Audio"});
  sheet->setTag(1002);
  sheet->showInView(root->view().get());
  visiblePanel()->tapButtonAtIndex(0);
  advance(1);
  EXPECT_EQ(delegate->downloads.list, (Strings{"requestDownloadServerSelection(2)"}));
}

}  // namespace
}  // namespace apptest
