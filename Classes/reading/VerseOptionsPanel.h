#pragma once
// The verse options panel: the content of the reading screen's popover after
// a long press on a verse. Page 1 holds the verse's actions (Matches, Note,
// Log, Bookmark, Translation, Email, Message, Copy, Post, Tweet) and a
// preview of its note; page 2 shows the verse in the translation chosen for
// the panel alone ("HUDTranslation"). The panel answers its own sheets,
// alerts, composers and the translation picker; the screen (which owns it)
// opens, places and closes the popover. Main thread only.
#include <memory>
#include <string>
#include <vector>

#include "Classes/notes/DTNotePadView.h"
#include "Classes/reading/PickTranslationController.h"
#include "Classes/reading/VerseShareTexts.h"
#include "Classes/sharing/SocialPostViewController.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ViewController.h"

class SurahViewController;
namespace ui {
class Button;
class ImageView;
class Label;
class PageControl;
}  // namespace ui

// The sheets' and alerts' tags.
enum VerseOptionsTag {
  kDeleteBookmarkAlertTag = 102,
  kBookmarkGroupSheetTag = 103,
  kCopySheetTag = 104,
  kPostSheetTag = 105,
  kTweetSheetTag = 106,
  kMessageSheetTag = 107,
  kEmailSheetTag = 108,
};

class VerseOptionsPanel : public ui::ViewController,
                          public ui::ScrollViewDelegate,
                          public ui::ActionSheetDelegate,
                          public ui::AlertViewDelegate,
                          public ui::MailComposeViewControllerDelegate,
                          public PickTranslationControllerDelegate,
                          public SocialPostViewDelegate {
 public:
  static constexpr float kWidth = 320;
  static constexpr float kHeight = 357;

  // Where the panel opens for a verse row whose top is at K in the display
  // and L points between the panel's anchor (K + 55) and the table's bottom:
  // the arrow (1 up: the panel below the verse; 2 down: above it), the
  // anchor's offset from the row's top, and the shift the table needs first.
  struct Placement {
    unsigned arrow = 1;
    float anchorOffset = 55;
    bool shiftsTable = false;
    int extraTblOffset = 0;
  };
  static Placement place(int K, int L);

  explicit VerseOptionsPanel(SurahViewController& screen) : screen_(screen) {}
  cg::Size contentSizeForViewInPopover() const override { return {kWidth, kHeight}; }
  void loadView() override;

  // The verse the panel opens on: what it shows and every action acts on,
  // whatever the screen selects while it is open.
  void setVerse(int surah, int verse) {
    surah_ = surah;
    verse_ = verse;
  }
  int surah() const { return surah_; }
  int verse() const { return verse_; }

  // ---- content ------------------------------------------------------------------------
  void setupAyahHUD(ui::TableView* table);
  void refreshHUDButtons();
  void prepareAyahHUDForPortrait();
  void prepareAyahHUDForLandscape();
  void updateHUDTranslationLabel();
  void showPage(int page, bool animated);

  // ---- actions ------------------------------------------------------------------------
  void ayahHudButtonPressed(ui::Button* sender);
  void dialCancelledPressed();
  void pageHUDTapped();
  void btnHUDTranslationPressed() { showTranslationPicker(); }
  void hudAddEditNotePressed();
  void showTranslationPicker();
  void hideTranslationPicker();
  void translationPickerPicked(int translation) override;
  void translationPickerCancelled() override;
  void clickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;
  void clickedButtonAtIndex(ui::AlertView& alert, int index) override;
  void scrollViewDidEndDecelerating(ui::ScrollView* scrollView) override;

  // ---- sharing ------------------------------------------------------------------------
  void emailText(const std::string& html);
  void smsText(const std::string& text);
  void socialText(const std::string& text);
  // SocialPostViewDelegate: the post screen closes either way.
  void socialPostViewSentMessage() override { closePostScreen(); }
  void socialPostViewCancelled() override { closePostScreen(); }
  const std::shared_ptr<SocialPostViewController>& postScreen() const { return postScreen_; }
  void tweetText(const std::string& text);
  static bool isSorvaneInstalled();
  static bool isTwitterInstalled();
  // A desktop has no text-message composer.
  static bool canSendText() { return false; }
  void mailComposeController(ui::MailComposeViewController& controller, ui::MailComposeResult result,
                             const std::string& error) override;

  // The verse's texts and the slots, as sharing reads them now.
  VerseShareTexts shareTexts() const;

  int currentHUDPage() const { return currentHUDPage_; }
  bool showingError() const { return showingError_; }
  const std::shared_ptr<ui::ActionSheet>& currentSheet() const { return sheet_; }
  const std::shared_ptr<ui::MailComposeViewController>& mailComposer() const { return mailComposer_; }
  std::shared_ptr<PickTranslationController> pickTranslationView() const { return pickTranslationView_.lock(); }

  // The panel's views ("SurahView" outlets).
  std::shared_ptr<ui::View> viewAyahDial, viewHUDTranslation, viewEmptyNotesPlaceholder, viewPage0;
  std::shared_ptr<ui::ScrollView> viewScrollHUD, scrollHUDTranslation;
  std::shared_ptr<ui::ImageView> imgHUDBG, imgHUDBGPage1, imgDownArrowHUDTrans;
  std::shared_ptr<ui::PageControl> pgHUDCtl;
  std::shared_ptr<ui::Button> btnHUDMatches, btnHUDNote, btnHUDSorvane, btnHUDBookmark, btnHUDTranslation,
      btnHUDEmail, btnHUDSMS, btnHUDCopy, btnHUDSocial, btnHUDTweet, btnHUDCancel, btnHUDCancel1,
      btnHUDTranslationSwitcher, btnHUDNotesAddEdit;
  std::shared_ptr<ui::Label> txtHUDTranslation, lblHUDEmptyNotesPlaceHolder;
  std::shared_ptr<DTNotePadView> txtHUDNotesPreview;

 private:
  void closePostScreen();
  void buildPage0();
  void buildTranslationPage();
  std::shared_ptr<ui::Button> actionButton(cg::Rect frame);
  void setTitles(ui::Button& button, const std::string& title, bool alsoDisabled = false);
  void connectActions();
  // Reads the long-pressed row's verse state (bookmarked, note, search hit).
  void readVerseState(int& verse, bool& bookmarked, bool& hasNote, bool& searchHit) const;
  void refreshContent();
  void closePanel();
  void closePopover();
  void bookmarkPressed();
  void notePressed();
  void matchesPressed();
  // The share buttons.
  void copyPressed();
  void emailPressed();
  void messagePressed();
  void postPressed();
  void tweetPressed();
  void logPressed();
  void showSheet(const std::string& title, const std::vector<std::string>& entries, int tag);
  void answerShareSheet(int tag, int index);
  void alert(const std::string& title, const std::string& message, bool delegated);

  SurahViewController& screen_;  // the screen owns the panel
  int surah_ = 0;
  int verse_ = 0;
  int currentHUDPage_ = 0;
  bool hasSetupAyahHUD_ = false;
  bool showingError_ = false;
  bool landscape_ = false;
  std::shared_ptr<ui::ActionSheet> sheet_;
  std::shared_ptr<ui::AlertView> deleteAlert_;
  std::shared_ptr<ui::MailComposeViewController> mailComposer_;
  std::shared_ptr<SocialPostViewController> postScreen_;
  std::weak_ptr<PickTranslationController> pickTranslationView_;
};
