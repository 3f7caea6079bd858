// The prompts that belong to no single screen, and the routing of their
// answers: the rate prompt with its tell-a-friend mail, the Friday alert, the
// continuous-audio warning and the recitation download sheets.
#include "Classes/app/AppState.h"
#include "Classes/audio/RecitationMirrors.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/URLOpener.h"

namespace {

// The application's page in the store.
constexpr char kStorePageURL[] = "https://zarvel.example/app";
constexpr double kNagDelay = 172800;  // two days

using namespace app_state;

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

void storeNow(const char* key) {
  defaults().setObject(ns::Value(ns::Date::now()), key);
  defaults().synchronize();
}

void setDontNagMe() {
  defaults().setBool(true, kDontNagMe);
  defaults().synchronize();
}

}  // namespace

// ---- rate prompt ----------------------------------------------------------------------

void ZarvelSDKAppDelegate::showNagScreen() {
  if (!defaults().dateForKey(kAppInstallDate)) storeNow(kAppInstallDate);
  if (defaults().boolForKey(kDontNagMe)) return;
  auto installed = defaults().dateForKey(kAppInstallDate);
  if (installed && ns::Date::now().timeIntervalSinceDate(*installed) < kNagDelay) return;
  if (!ipadRootViewController_) return;
  // The prompt of an earlier period still waits for its answer: not a second one.
  if (!ratePromptSheet_.expired()) return;
  auto sheet = std::make_shared<ui::ActionSheet>(
      text("Review Zarvel\n\nWe hope you are enjoying Zarvel. Please kindly take a moment out to rate Zarvel "
           "on the app store. Your positive feedback encourages us in coming out with frequent free updates."),
      weak_from_this(), "", "",
      std::vector<std::string>{text("Review Now"), text("Tell a Friend"), text("Later"), text("No, Thanks")});
  sheet->setTag(kRatePromptTag);
  ratePromptSheet_ = sheet;
  sheet->showInView(ipadRootViewController_->view().get());
}

void ZarvelSDKAppDelegate::tellAFriend() {
  if (!ui::MailComposeViewController::canSendMail()) {
    auto alert = std::make_shared<ui::AlertView>(
        text("Email Not Setup"), text("You need to setup an email account on your iPhone before using this feature"),
        weak_from_this(), text("OK"));
    alert->show();
    return;
  }
  if (!ipadRootViewController_) return;
  mailComposer_ = std::make_shared<ui::MailComposeViewController>();
  mailComposer_->setMailComposeDelegate(weak_from_this());
  mailComposer_->setSubject(text("Check out this app"));
  std::string link = kStorePageURL;
  mailComposer_->setMessageBody(
      text("Assalamualaikum,<br><br>I'm really enjoying using Zarvel, thought you might like it too:<br><br>Zarvel "
           "on the App Store: ") +
          "<a href=\"" + link + "\">" + link + "</a>" + "<br><br>salam,<br>",
      true);
  ipadRootViewController_->presentModalViewController(mailComposer_, true);
}

void ZarvelSDKAppDelegate::mailComposeController(ui::MailComposeViewController& controller,
                                                 ui::MailComposeResult result, const std::string&) {
  if (result == ui::MailComposeResult::Failed) {
    auto alert = std::make_shared<ui::AlertView>(text("Mail Not Sent"), text("Email could not be sent"),
                                                 weak_from_this(), text("OK"));
    alert->show();
  }
  if (ui::ViewController* parent = controller.parentViewController()) {
    parent->dismissModalViewControllerAnimated(true);
  } else {
    controller.dismissModalViewControllerAnimated(true);
  }
  mailComposer_.reset();
}

// ---- continuous-audio warning -------------------------------------------------------------

void ZarvelSDKAppDelegate::showSlicedWarning() {
  auto alert = std::make_shared<ui::AlertView>(
      "",
      text("An upgrade to gapless (continuous) playback for some reciters has been detected. This will require "
           "re-downloading audio data for all surahs. Would you like to do this now?"),
      weak_from_this(), text("No"), std::vector<std::string>{text("Yes")});
  alert->setTag(kSlicedWarningTag);
  alert->show();
}

// ---- answers ------------------------------------------------------------------------------

void ZarvelSDKAppDelegate::alertView(ui::AlertView& alert, int buttonIndex) {
  if (buttonIndex != 1) return;
  if (alert.tag() == kSlicedWarningTag) {
    upgradeToGaplessRequested();
    ns::NotificationCenter::defaultCenter().postNotificationName("ReciterDidChange");
    alert.dismissWithClickedButtonIndex(0, false);
    showIndexViewAndBeginDownloading();
  } else if (alert.tag() == kFridayAlertTag) {
    showSurahView(18, 1, false, false);
  }
}

void ZarvelSDKAppDelegate::actionSheet(ui::ActionSheet& sheet, int buttonIndex) {
  const int tag = sheet.tag();
  if (tag == kRatePromptTag) {
    switch (buttonIndex) {
      case 0:
        setDontNagMe();
        ui::URLOpener::openURL(kStorePageURL);
        break;
      case 1: tellAFriend(); break;
      case 2: storeNow(kAppInstallDate); break;
      case 3: setDontNagMe(); break;
      default: break;
    }
    return;
  }
  if (tag == kCancelDownloadSheetTag) {
    if (buttonIndex == 0) {
      cancelDownload();  // gives back the download's sleep hold
      ui::Application::shared().setNetworkActivityIndicatorVisible(false);
      requestDownloadSurahAudioAlert(nextDownloadSurah);
    }
    return;
  }
  if (downloadServerActionSheet && &sheet == downloadServerActionSheet.get()) {
    downloadServerActionSheet.reset();
    // The configured mirrors, then "Random (Recommended)", then "Cancel".
    int mirrors = RecitationMirrors::shared().count();
    if (buttonIndex >= 0 && buttonIndex < mirrors) {
      downloadServer = buttonIndex + 1;
    } else {
      downloadServer = -1;
      if (buttonIndex != mirrors) return;  // "Cancel" (or a tap outside)
    }
    if (tag == -1) {
      downloadAllSurahAudio();
    } else {
      downloadSurahAudioAlert(tag);
    }
    return;
  }
  if (tag >= 1 && tag <= 114) return;
  if (tag >= kSurahSheetTagBase + 1 && tag <= kSurahSheetTagBase + 114) {
    if (buttonIndex == 0) requestDownloadServerSelection(tag - kSurahSheetTagBase);
    if (buttonIndex == 1) requestDownloadServerSelection(-1);
    return;
  }
  if (downloadActionSheet && &sheet == downloadActionSheet.get()) {
    cancelDownload();
  } else if (failedDownloadActionSheet && &sheet == failedDownloadActionSheet.get() && dismissTimer.isValid()) {
    dismissTimer.invalidate();
    dismissTimer = ns::Timer();
  }
}
