#include "Classes/reading/VerseOptionsPanel.h"

#include <cmath>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/SavedSearch.h"
#include "Classes/core/String+More.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/notes/AddBookmarkNote.h"
#include "Classes/notes/MailText.h"
#include "Classes/reading/SurahVerseView.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/core/ArabicVerseMeta.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/URLOpener.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Pasteboard.h"
#include "Classes/sharing/SocialPostViewController.h"
#include "src/Social/SocialNetwork.h"

namespace {

using screens::userDatabase;
using screens::contentDatabase;
constexpr auto stretched = screens::stretchedImage;
constexpr auto text = screens::localized;

// "Al-Fatiha 1:4", with the interface's digits.
std::string verseName(int surah, int verse) {
  auto digits = [](int n) {
    std::string s = std::to_string(n);
    return ZarvelSDKAppDelegate::IsLanguageArabic() ? ChapterInfo::getArabicNumbersFrom(s) : s;
  };
  return ChapterInfo::getNameFromNumber(surah) + " " + digits(surah) + ":" + digits(verse);
}

const cg::Color kPaperInk = cg::Color::fromRGB255(70, 52, 24);

// The Twitter clients in order of preference: the probe and the post format.
struct TwitterClient {
  const char* probe;
  const char* post;  // the escaped text follows
};
const TwitterClient kTwitterClients[] = {
    {"twitter://post?message=test", "twitter://post?message="},
    {"twitterrific://post?message=test", "twitterrific://post?message="},
    {"twit:///post?message=test", "twit://post?message="},
    {"twitterfonpro:///post?test", "twitterfonpro://post?"},
    {"x-birdfeed:///post?text=test", "x-birdfeed://post?text="},
};

}  // namespace

VerseOptionsPanel::Placement VerseOptionsPanel::place(int K, int L) {
  Placement p;
  if (L >= 358 && K >= 0) return p;
  if (K >= 358) {
    p.arrow = 2;
    p.anchorOffset = 5;
    return p;
  }
  p.shiftsTable = true;
  if (K < 0) {
    p.extraTblOffset = K;
  } else if (K > L) {
    p.extraTblOffset = K - 357;
    p.arrow = 2;
    p.anchorOffset = 5;
  } else {
    p.extraTblOffset = 357 - L;
  }
  return p;
}

// ---- the layout: two pages side by side in a paging scroll view ---------------------------------

void VerseOptionsPanel::loadView() {
  viewAyahDial = std::make_shared<ui::View>(cg::Rect(0, 0, kWidth, kHeight));
  viewAyahDial->setBackgroundColor(cg::Color::clear());
  imgHUDBG = std::make_shared<ui::ImageView>(viewAyahDial->bounds());
  imgHUDBGPage1 = std::make_shared<ui::ImageView>(viewAyahDial->bounds());
  viewAyahDial->addSubview(imgHUDBG);
  viewAyahDial->addSubview(imgHUDBGPage1);

  viewScrollHUD = std::make_shared<ui::ScrollView>(cg::Rect(0, 0, kWidth, 335));
  viewScrollHUD->setPagingEnabled(true);
  viewScrollHUD->setShowsHorizontalScrollIndicator(false);
  viewScrollHUD->setShowsVerticalScrollIndicator(false);
  viewScrollHUD->setBackgroundColor(cg::Color::clear());
  viewAyahDial->addSubview(viewScrollHUD);
  buildPage0();
  buildTranslationPage();

  pgHUDCtl = std::make_shared<ui::PageControl>(cg::Rect(0, 335, kWidth, 20));
  pgHUDCtl->addTarget(this, [this](ui::Control&) { pageHUDTapped(); }, ui::ControlEventValueChanged);
  viewAyahDial->addSubview(pgHUDCtl);
  connectActions();
  setView(viewAyahDial);
}

std::shared_ptr<ui::Button> VerseOptionsPanel::actionButton(cg::Rect frame) {
  auto b = std::make_shared<ui::Button>(frame);
  b->setBackgroundImage(stretched("sura-button.png", 16, 0), ui::ControlStateNormal);
  b->setBackgroundImage(stretched("sura-button-t.png", 16, 0), ui::ControlStateHighlighted);
  b->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  b->setTitleColor(cg::Color::white().withAlpha(0.35f), ui::ControlStateDisabled);
  b->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(13));
  screens::centreTitleAcrossButton(*b);
  return b;
}

void VerseOptionsPanel::buildPage0() {
  viewPage0 = std::make_shared<ui::View>(cg::Rect(0, 0, kWidth, 335));
  viewPage0->setBackgroundColor(cg::Color::clear());
  viewScrollHUD->addSubview(viewPage0);

  // The two large buttons, then the note preview, then the other actions.
  btnHUDBookmark = actionButton(cg::Rect(10, 12, 147, 52));
  btnHUDNote = actionButton(cg::Rect(163, 12, 147, 52));
  for (auto* b : {btnHUDBookmark.get(), btnHUDNote.get()}) {
    b->setTitleEdgeInsets(cg::EdgeInsets{0, 40, 0, 0});
    b->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(15));
  }
  viewPage0->addSubview(btnHUDBookmark);
  viewPage0->addSubview(btnHUDNote);

  txtHUDNotesPreview = DTNotePadView::create(cg::Rect(10, 72, 300, 96));
  txtHUDNotesPreview->setBackgroundColor(cg::Color::fromRGB255(252, 249, 240));
  txtHUDNotesPreview->textView()->setEditable(false);
  txtHUDNotesPreview->textView()->setTextColor(kPaperInk);
  viewPage0->addSubview(txtHUDNotesPreview);
  viewEmptyNotesPlaceholder = std::make_shared<ui::View>(cg::Rect(10, 72, 300, 96));
  viewEmptyNotesPlaceholder->setBackgroundColor(cg::Color::white().withAlpha(0.08f));
  lblHUDEmptyNotesPlaceHolder = std::make_shared<ui::Label>(cg::Rect(0, 30, 300, 36));
  lblHUDEmptyNotesPlaceHolder->setTextAlignment(ui::TextAlignment::Center);
  lblHUDEmptyNotesPlaceHolder->setTextColor(cg::Color::white().withAlpha(0.6f));
  lblHUDEmptyNotesPlaceHolder->setFont(ui::Font::italicSystemFontOfSize(17));
  lblHUDEmptyNotesPlaceHolder->setBackgroundColor(cg::Color::clear());
  viewEmptyNotesPlaceholder->addSubview(lblHUDEmptyNotesPlaceHolder);
  viewPage0->addSubview(viewEmptyNotesPlaceholder);
  // The whole preview is the add-or-edit button.
  btnHUDNotesAddEdit = std::make_shared<ui::Button>(cg::Rect(10, 72, 300, 96));
  viewPage0->addSubview(btnHUDNotesAddEdit);

  const float w = 71, h = 36, gap = 5, x0 = 10;
  auto grid = [&](int row, int column) {
    return cg::Rect(x0 + float(column) * (w + gap), 180 + float(row) * (h + 8), w, h);
  };
  btnHUDMatches = actionButton(grid(0, 0));
  btnHUDSorvane = actionButton(grid(0, 1));
  btnHUDTranslation = actionButton(grid(0, 2));
  btnHUDEmail = actionButton(grid(0, 3));
  btnHUDSMS = actionButton(grid(1, 0));
  btnHUDCopy = actionButton(grid(1, 1));
  btnHUDSocial = actionButton(grid(1, 2));
  btnHUDTweet = actionButton(grid(1, 3));
  for (auto* b : {btnHUDMatches.get(), btnHUDSorvane.get(), btnHUDTranslation.get(), btnHUDEmail.get(),
                  btnHUDSMS.get(), btnHUDCopy.get(), btnHUDSocial.get(), btnHUDTweet.get()})
    viewPage0->addSubview(std::static_pointer_cast<ui::View>(b->shared_from_this()));

  btnHUDCancel = std::make_shared<ui::Button>(cg::Rect(86, 278, 147, 44));
  btnHUDCancel->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  btnHUDCancel->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(16));
  screens::centreTitleAcrossButton(*btnHUDCancel);
  viewPage0->addSubview(btnHUDCancel);
}

void VerseOptionsPanel::buildTranslationPage() {
  viewHUDTranslation = std::make_shared<ui::View>(cg::Rect(kWidth, 0, kWidth, 230));
  viewHUDTranslation->setBackgroundColor(cg::Color::clear());
  btnHUDTranslationSwitcher = actionButton(cg::Rect(10, 10, 300, 36));
  btnHUDTranslationSwitcher->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(15));
  viewHUDTranslation->addSubview(btnHUDTranslationSwitcher);
  scrollHUDTranslation = std::make_shared<ui::ScrollView>(cg::Rect(0, 50, kWidth, 180));
  scrollHUDTranslation->setBackgroundColor(cg::Color::clear());
  scrollHUDTranslation->setAutoresizingMask(ui::ViewAutoresizingFlexibleHeight);
  txtHUDTranslation = std::make_shared<ui::Label>(cg::Rect(15, 0, kWidth - 30, 180));
  txtHUDTranslation->setNumberOfLines(0);
  txtHUDTranslation->setFont(ui::Font::systemFontOfSize(16));
  txtHUDTranslation->setTextColor(kPaperInk);
  txtHUDTranslation->setBackgroundColor(cg::Color::clear());
  scrollHUDTranslation->addSubview(txtHUDTranslation);
  viewHUDTranslation->addSubview(scrollHUDTranslation);

  btnHUDCancel1 = std::make_shared<ui::Button>(cg::Rect(kWidth + 86, 278, 147, 44));
  btnHUDCancel1->setTitleColor(kPaperInk, ui::ControlStateNormal);
  btnHUDCancel1->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(16));
  screens::centreTitleAcrossButton(*btnHUDCancel1);
  viewScrollHUD->addSubview(btnHUDCancel1);
}

void VerseOptionsPanel::connectActions() {
  for (auto* b : {btnHUDMatches.get(), btnHUDNote.get(), btnHUDSorvane.get(), btnHUDBookmark.get(),
                  btnHUDTranslation.get(), btnHUDEmail.get(), btnHUDSMS.get(), btnHUDCopy.get(),
                  btnHUDSocial.get(), btnHUDTweet.get()})
    b->addTarget(this, [this](ui::Control& c) { ayahHudButtonPressed(static_cast<ui::Button*>(&c)); },
                 ui::ControlEventTouchUpInside);
  for (auto* b : {btnHUDCancel.get(), btnHUDCancel1.get()})
    b->addTarget(this, [this](ui::Control&) { dialCancelledPressed(); }, ui::ControlEventTouchUpInside);
  btnHUDTranslationSwitcher->addTarget(this, [this](ui::Control&) { btnHUDTranslationPressed(); },
                                       ui::ControlEventTouchUpInside);
  btnHUDNotesAddEdit->addTarget(this, [this](ui::Control&) { hudAddEditNotePressed(); },
                                ui::ControlEventTouchUpInside);
  viewScrollHUD->setDelegate(std::static_pointer_cast<VerseOptionsPanel>(shared_from_this()));
}

void VerseOptionsPanel::setTitles(ui::Button& button, const std::string& title, bool alsoDisabled) {
  std::string t = text(title);
  button.setTitle(t, ui::ControlStateNormal);
  button.setTitle(t, ui::ControlStateHighlighted);
  if (alsoDisabled) button.setTitle(t, ui::ControlStateDisabled);
}

// ---- content ---------------------------------------------------------------------------------------

void VerseOptionsPanel::setupAyahHUD(ui::TableView*) {
  view();
  if (!hasSetupAyahHUD_) {
    hasSetupAyahHUD_ = true;
    imgHUDBG->setImage(stretched("hud-bg.png", 159, 152));
    imgHUDBGPage1->setImage(stretched("hud-bg-light.png", 159, 152));
    setTitles(*btnHUDCancel, "Done");
    setTitles(*btnHUDCancel1, "Done");
    setTitles(*btnHUDMatches, "Matches");
    setTitles(*btnHUDNote, "Note");
    setTitles(*btnHUDSorvane, "Log");
    setTitles(*btnHUDBookmark, "Bookmark");
    setTitles(*btnHUDTranslation, "Translation");
    setTitles(*btnHUDEmail, "Email", true);
    setTitles(*btnHUDSMS, "Message", true);
    setTitles(*btnHUDCopy, "Copy");
    setTitles(*btnHUDSocial, "Post");
    setTitles(*btnHUDTweet, "Tweet");
    lblHUDEmptyNotesPlaceHolder->setText(text("Add a Note"));
  }
  currentHUDPage_ = 0;
  imgHUDBGPage1->setAlpha(0);
  pgHUDCtl->setNumberOfPages(2);
  pgHUDCtl->setCurrentPage(0);
  if (!viewHUDTranslation->superview()) {
    cg::Rect f = viewHUDTranslation->frame();
    viewHUDTranslation->setFrame(cg::Rect(viewScrollHUD->bounds().width(), 0, viewScrollHUD->bounds().width(), f.height()));
    viewScrollHUD->addSubview(viewHUDTranslation);
  }
  viewScrollHUD->bringSubviewToFront(viewHUDTranslation.get());
  cg::Rect b = viewScrollHUD->bounds();
  viewScrollHUD->setContentSize(cg::Size{b.width() * 2, b.height()});
  viewScrollHUD->setContentOffset(cg::Point{0, 0});
  refreshContent();
}

void VerseOptionsPanel::refreshHUDButtons() {
  if (!isViewLoaded()) return;
  refreshContent();
}

void VerseOptionsPanel::readVerseState(int& verse, bool& bookmarked, bool& hasNote, bool& searchHit) const {
  verse = 0;
  bookmarked = hasNote = searchHit = false;
  if (!screen_.mouseLocation || !screen_.tblVerses) return;
  auto cell = std::dynamic_pointer_cast<SurahViewCell>(screen_.tblVerses->cellForRowAtIndexPath(*screen_.mouseLocation));
  SurahVerseView* row = cell ? cell->CellView() : nullptr;
  if (!row) return;
  if (row->ArabicMetaData) verse = row->ArabicMetaData->ThisVerse();
  else if (row->TranslationMetaData) verse = row->TranslationMetaData->ThisVerse();
  else return;
  bookmarked = screen_.isVerseBookmarked(verse);
  hasNote = screen_.verseHasNote(verse);
  searchHit = screen_.isReflectingSearch(verse);
}

void VerseOptionsPanel::refreshContent() {
  scrollHUDTranslation->setScrollsToTop(false);
  btnHUDEmail->setEnabled(ui::MailComposeViewController::canSendMail());
  btnHUDSMS->setEnabled(canSendText());
  int verse;
  bool bookmarked, hasNote, searchHit;
  readVerseState(verse, bookmarked, hasNote, searchHit);
  setTitles(*btnHUDBookmark, bookmarked ? "Unbookmark" : "Bookmark");
  btnHUDBookmark->setBackgroundImage(stretched(bookmarked ? "hud-bookmark-on.png" : "hud-bookmark.png", 73, 0),
                                     ui::ControlStateNormal);
  if (hasNote) {
    txtHUDNotesPreview->textView()->setText(ChapterInfo::getBookmarkNote(userDatabase(), surah_, verse));
    txtHUDNotesPreview->setHidden(false);
    viewEmptyNotesPlaceholder->setHidden(true);
  } else {
    txtHUDNotesPreview->setHidden(true);
    viewEmptyNotesPlaceholder->setHidden(false);
  }
  btnHUDNote->setBackgroundImage(stretched(hasNote ? "hud-note-on.png" : "hud-note.png", 73, 0), ui::ControlStateNormal);
  btnHUDMatches->setEnabled(searchHit);
  btnHUDCancel->setBackgroundImage(stretched("short-button-black.png", 73, 0), ui::ControlStateNormal);
  btnHUDCancel->setBackgroundImage(stretched("short-button-t.png", 73, 0), ui::ControlStateHighlighted);
  btnHUDCancel1->setBackgroundImage(stretched("short-button-sand.png", 73, 0), ui::ControlStateNormal);
  btnHUDCancel1->setBackgroundImage(stretched("short-button-t.png", 73, 0), ui::ControlStateHighlighted);
}

void VerseOptionsPanel::prepareAyahHUDForPortrait() {
  view();
  landscape_ = false;
  cg::Rect b = viewScrollHUD->bounds();
  viewScrollHUD->setContentSize(cg::Size{b.width() * 2, b.height()});
  viewHUDTranslation->setFrame(cg::Rect(b.width(), 0, b.width(), 230));
  viewScrollHUD->setContentOffset(cg::Point{b.width() * float(currentHUDPage_), 0});
  updateHUDTranslationLabel();
}

void VerseOptionsPanel::prepareAyahHUDForLandscape() {
  view();
  landscape_ = true;
  cg::Rect b = viewScrollHUD->bounds();
  viewScrollHUD->setContentSize(cg::Size{b.width() * 2, b.height()});
  viewHUDTranslation->setFrame(cg::Rect(b.width(), 15, b.width(), 125));
  viewScrollHUD->setContentOffset(cg::Point{b.width() * float(currentHUDPage_), 0});
  updateHUDTranslationLabel();
}

void VerseOptionsPanel::updateHUDTranslationLabel() {
  int T = static_cast<int>(ns::UserDefaults::standardUserDefaults().integerForKey("HUDTranslation"));
  std::string name = ChapterInfo::getTranslationFullNameForNumber(T);
  setTitles(*btnHUDTranslationSwitcher, name);
  btnHUDTranslationSwitcher->setTitle(name, ui::ControlStateNormal);
  btnHUDTranslationSwitcher->setTitle(name, ui::ControlStateHighlighted);
  cg::Rect s = btnHUDTranslationSwitcher->frame();
  float titleWidth = ui::sizeWithFont(name, btnHUDTranslationSwitcher->titleLabel()->font()).width;
  if (!imgDownArrowHUDTrans) {
    imgDownArrowHUDTrans = std::make_shared<ui::ImageView>(cg::Rect(0, 0, 10, 9));
    imgDownArrowHUDTrans->setImage(ui::Image::imageNamed("hud-arrow.png"));
    btnHUDTranslationSwitcher->addSubview(imgDownArrowHUDTrans);
  }
  imgDownArrowHUDTrans->setFrame(cg::Rect(std::floor((s.width() - titleWidth) * 0.5f) + titleWidth + 8,
                                          std::floor((s.height() - 9) * 0.5f), 10, 9));

  txtHUDTranslation->setTextAlignment(ChapterInfo::isTranslationRTL(T) ? ui::TextAlignment::Right
                                                                      : ui::TextAlignment::Left);
  std::string verseText = ChapterInfo::getTranslationFor(contentDatabase(), T, surah_, verse_);
  // Another text (a new translation or verse) is read from its start.
  if (verseText != txtHUDTranslation->text()) scrollHUDTranslation->setContentOffset(cg::Point{0, 0}, false);
  txtHUDTranslation->setText(verseText);
  cg::Rect l = txtHUDTranslation->frame();
  float h = ui::sizeWithFont(txtHUDTranslation->text(), txtHUDTranslation->font(), cg::Size{l.width(), 1000},
                             ui::LineBreakMode::WordWrap)
                .height +
            20;
  txtHUDTranslation->setFrame(cg::Rect(l.x(), l.y(), l.width(), h));
  scrollHUDTranslation->setContentSize(cg::Size{viewScrollHUD->frame().width(), h});
}

// ---- pages --------------------------------------------------------------------------------------------

// The page's own look follows it: the light ground and the sand "Done" on
// the translation page, the dark ones on the actions page.
void VerseOptionsPanel::showPage(int page, bool animated) {
  currentHUDPage_ = page;
  pgHUDCtl->setCurrentPage(page);
  imgHUDBGPage1->setAlpha(page == 1 ? 1 : 0);
  btnHUDCancel->setAlpha(page == 1 ? 0 : 1);
  btnHUDCancel1->setAlpha(page == 1 ? 1 : 0);
  viewScrollHUD->setContentOffset(cg::Point{viewScrollHUD->bounds().width() * float(page), 0}, animated);
}

void VerseOptionsPanel::pageHUDTapped() { showPage(pgHUDCtl->currentPage(), true); }

void VerseOptionsPanel::scrollViewDidEndDecelerating(ui::ScrollView* scrollView) {
  if (scrollView != viewScrollHUD.get()) return;
  float w = scrollView->bounds().width();
  int page = w > 0 ? int(std::lround(scrollView->contentOffset().x / w)) : 0;
  if (page != currentHUDPage_) showPage(page, false);
}

// ---- the panel translation picker -----------------------------------------------------------------

void VerseOptionsPanel::showTranslationPicker() {
  auto picker = std::make_shared<PickTranslationController>();
  pickTranslationView_ = picker;
  picker->setDelegate(std::static_pointer_cast<VerseOptionsPanel>(shared_from_this()));
  picker->setupNormalPicker();
  auto nav = ui::NavigationController::withRoot(picker);
  nav->setNavigationBarHidden(true, false);
  nav->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  ui::ViewController* presenter = screen_.ipaddelegate() ? screen_.ipaddelegate()->getViewController() : nullptr;
  (presenter ? presenter : &screen_)->presentModalViewController(nav, true);
}

void VerseOptionsPanel::hideTranslationPicker() {
  ui::ViewController* presenter = screen_.ipaddelegate() ? screen_.ipaddelegate()->getViewController() : nullptr;
  (presenter ? presenter : &screen_)->dismissModalViewControllerAnimated(true);
}

void VerseOptionsPanel::translationPickerPicked(int) {
  updateHUDTranslationLabel();
  hideTranslationPicker();
}

void VerseOptionsPanel::translationPickerCancelled() { hideTranslationPicker(); }

// ---- closing ------------------------------------------------------------------------------------------

void VerseOptionsPanel::closePopover() {
  if (screen_.popoverView && screen_.popoverView->isPopoverVisible() && !screen_.isShowingSurahInfo())
    screen_.popoverView->dismissPopoverAnimated(true);
}

void VerseOptionsPanel::closePanel() {
  closePopover();
  screen_.hideDialControl();
}

void VerseOptionsPanel::dialCancelledPressed() { closePanel(); }

// ---- the page-1 actions ----------------------------------------------------------------------------

void VerseOptionsPanel::ayahHudButtonPressed(ui::Button* sender) {
  if (sender == btnHUDMatches.get()) matchesPressed();
  else if (sender == btnHUDNote.get()) notePressed();
  else if (sender == btnHUDBookmark.get()) bookmarkPressed();
  else if (sender == btnHUDTranslation.get()) showPage(1, true);
  else if (sender == btnHUDSorvane.get()) logPressed();
  else if (sender == btnHUDEmail.get()) emailPressed();
  else if (sender == btnHUDSMS.get()) messagePressed();
  else if (sender == btnHUDCopy.get()) copyPressed();
  else if (sender == btnHUDSocial.get()) postPressed();
  else if (sender == btnHUDTweet.get()) tweetPressed();
}

void VerseOptionsPanel::matchesPressed() {
  auto search = ChapterInfo::getFirstSavedSearch(userDatabase(), surah_, verse_);
  closePanel();
  screen_.cleanupStateClosingView();
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->filterSearchViewWithSavedSearch(search);
}

void VerseOptionsPanel::notePressed() {
  int surah = surah_, verse = verse_;
  sqlite3* db = userDatabase();
  if (!ChapterInfo::isBookmarked(db, surah, verse)) screen_.addOrRemoveBookmarkForVerse(verse);
  if (!ChapterInfo::isBookmarked(db, surah, verse)) return;
  if (auto* root = screen_.ipaddelegate()) root->updateBookmarkForVerse(verse, surah);
  closePopover();
  auto editor = std::make_shared<AddBookmarkNote>(surah, verse);
  screen_.hideDialControl();
  screen_.presentModalViewController(editor, true);
}

void VerseOptionsPanel::bookmarkPressed() {
  int surah = surah_, verse = verse_;
  sqlite3* db = userDatabase();
  if (ChapterInfo::isBookmarked(db, surah, verse)) {
    if (ChapterInfo::hasBookmarkNote(db, surah, verse)) {
      // The question names the verse whose note goes.
      deleteAlert_ = std::make_shared<ui::AlertView>(
          "Delete Bookmark",
          "Are you sure you want to delete this bookmark? Doing so will delete the attached note as well!\n\n" +
              verseName(surah, verse),
          std::static_pointer_cast<VerseOptionsPanel>(shared_from_this()), "No", std::vector<std::string>{"Yes"});
      deleteAlert_->setTag(kDeleteBookmarkAlertTag);
      deleteAlert_->show();
      return;
    }
    screen_.addOrRemoveBookmarkForVerse(verse);
  } else if (ns::UserDefaults::standardUserDefaults().boolForKey("AskForBookmarkGroup")) {
    screen_.addOrRemoveBookmarkForVerse(verse, -1);  // stored inverted: YES means do not ask
  } else {
    showSheet("Bookmark", {"Reading", "Memorizing", "Interesting", "Discussion"}, kBookmarkGroupSheetTag);
    return;
  }
  if (auto* root = screen_.ipaddelegate()) root->updateBookmarkForVerse(verse, surah);
  closePanel();
}

void VerseOptionsPanel::hudAddEditNotePressed() {
  int surah = surah_, verse = verse_;
  auto* root = screen_.ipaddelegate();
  if (!screen_.isVerseBookmarked(verse) && !ChapterInfo::isBookmarked(userDatabase(), surah, verse))
    screen_.addOrRemoveBookmarkForVerse(verse);
  if (ChapterInfo::isBookmarked(userDatabase(), surah, verse) && root) root->updateBookmarkForVerse(verse, surah);
  cg::Rect d = screen_.viewSurahDisplay->frame();
  float D = d.y() + d.height();
  bool notesWereShowing = root && root->IsShowingNotes();
  if (screen_.popoverView) screen_.popoverView->dismissPopoverAnimated(true);
  if (root) root->showNotesForSurah(surah, verse, true, root->IsViewInLandscape());
  if (!root || !root->IsShowingNotes()) {
    // A root without a notes panel: the note is written in the note editor.
    screen_.hideDialControl();
    if (ChapterInfo::isBookmarked(userDatabase(), surah, verse))
      screen_.presentModalViewController(std::make_shared<AddBookmarkNote>(surah, verse), true);
    return;
  }
  if (screen_.mouseLocation && !notesWereShowing) {
    float h = root && root->IsViewInLandscape() ? 218 : 281;
    if (screen_.verseHUDPoint.y() + h > D) {
      screen_.currTblOffset = screen_.tblVerses->contentOffset();
      ui::View::beginAnimations("ShowEditAddNote");
      ui::View::setAnimationDuration(0.25);
      ui::View::setAnimationCurve(ui::AnimationCurve::EaseInOut);
      screen_.tblVerses->setContentOffset(cg::Point{screen_.currTblOffset.x, screen_.currTblOffset.y + h});
      ui::View::commitAnimations();
    }
  }
  screen_.hideDialControl();
}

// ---- answers --------------------------------------------------------------------------------------------

void VerseOptionsPanel::clickedButtonAtIndex(ui::AlertView& alert, int index) {
  if (alert.tag() != kDeleteBookmarkAlertTag || index != 1) return;
  deleteAlert_.reset();
  screen_.addOrRemoveBookmarkForVerse(verse_);
  if (auto* root = screen_.ipaddelegate()) root->updateBookmarkForVerse(verse_, surah_);
  closePanel();
}

void VerseOptionsPanel::clickedButtonAtIndex(ui::ActionSheet& sheet, int index) {
  int tag = sheet.tag();
  if (&sheet == sheet_.get()) sheet_.reset();
  if (tag == kBookmarkGroupSheetTag) {
    if (index >= 0 && index <= 3) {
      screen_.addOrRemoveBookmarkForVerse(verse_, index + 1);
      if (auto* root = screen_.ipaddelegate()) root->updateBookmarkForVerse(verse_, surah_);
      closePanel();
    }
  } else {
    answerShareSheet(tag, index);
  }
  showingError_ = false;
}

void VerseOptionsPanel::showSheet(const std::string& title, const std::vector<std::string>& entries, int tag) {
  std::vector<std::string> titles;
  for (const auto& e : entries) titles.push_back(text(e));
  sheet_ = std::make_shared<ui::ActionSheet>(text(title), std::static_pointer_cast<VerseOptionsPanel>(shared_from_this()),
                                             text("Cancel"), "", titles);
  sheet_->setTag(tag);
  sheet_->showInView(view().get());
}

void VerseOptionsPanel::alert(const std::string& title, const std::string& message, bool delegated) {
  std::weak_ptr<ui::AlertViewDelegate> delegate;
  if (delegated) delegate = std::static_pointer_cast<VerseOptionsPanel>(shared_from_this());
  auto a = std::make_shared<ui::AlertView>(text(title), text(message), delegate, text("OK"));
  a->show();
}

// ---- sharing ---------------------------------------------------------------------------------------------

VerseShareTexts VerseOptionsPanel::shareTexts() const {
  auto* root = screen_.ipaddelegate();
  return VerseShareTexts::forVerse(contentDatabase(), surah_, verse_,
                                   root && root->isSecondaryTranslationVisible());
}

void VerseOptionsPanel::copyPressed() {
  auto t = shareTexts();
  showSheet("Copy to Clipboard", t.copyEntries(), kCopySheetTag);
}

void VerseOptionsPanel::emailPressed() {
  auto t = shareTexts();
  if (!t.translationInForce()) emailText(t.emailArabicOnly());
  else showSheet("Email", {"Arabic Verse", "Translation", "Both"}, kEmailSheetTag);
}

void VerseOptionsPanel::messagePressed() {
  auto t = shareTexts();
  if (!t.translationInForce()) smsText(t.arabic);
  else showSheet("Message", {"Arabic Verse", "Translation", "Both"}, kMessageSheetTag);
}

void VerseOptionsPanel::postPressed() {
  auto t = shareTexts();
  if (!t.translationInForce()) {
    closePanel();
    socialText(t.arabic);
  } else {
    showSheet("Post", {"Arabic Verse", "Translation", "Both"}, kPostSheetTag);
  }
}

void VerseOptionsPanel::tweetPressed() {
  if (!isTwitterInstalled()) {
    alert("Twitter Not Installed",
          "Tweeting a verse needs a Twitter application, and none is installed on this desktop. You can use Copy "
          "to paste the verse into any Twitter client.",
          true);
    return;
  }
  auto t = shareTexts();
  if (!t.translationInForce()) {
    closePanel();
    tweetText(t.tweetWithoutTranslation());
    return;
  }
  // The entries of the sheet are texts already (translation names are localised).
  std::vector<std::string> entries = t.tweetEntries();
  sheet_ = std::make_shared<ui::ActionSheet>(text("Tweet"), std::static_pointer_cast<VerseOptionsPanel>(shared_from_this()),
                                             text("Cancel"), "", entries);
  sheet_->setTag(kTweetSheetTag);
  sheet_->showInView(view().get());
}

void VerseOptionsPanel::logPressed() {
  if (isSorvaneInstalled()) {
    std::string url = shareTexts().sorvaneURL();
    if (!ui::URLOpener::canOpenURL(url)) return;
    if (ui::URLOpener::openURL(url)) return;
  }
  alert("Sorvane Not Installed",
        "Logging your reading needs the Sorvane application, which is not installed on this desktop.", true);
}

void VerseOptionsPanel::answerShareSheet(int tag, int index) {
  auto t = shareTexts();
  switch (tag) {
    case kCopySheetTag: {
      int action = t.copyAction(index);
      if (action < 0) return;
      ui::Pasteboard::generalPasteboard().setString(t.copyText(action));
      closePanel();
      return;
    }
    case kEmailSheetTag:
      if (index >= 0 && index <= 2) emailText(t.emailBody(index));
      return;
    case kMessageSheetTag:
      if (index >= 0 && index <= 2) smsText(t.messageText(index));
      return;
    case kPostSheetTag:
      if (index < 0 || index > 2) return;
      socialText(t.postText(index));
      closePanel();
      return;
    case kTweetSheetTag:
      if (index < 0 || index >= static_cast<int>(t.tweetEntries().size())) return;
      tweetText(t.tweetText(index));
      closePanel();
      return;
    default:
      return;
  }
}

void VerseOptionsPanel::emailText(const std::string& html) {
  if (!ui::MailComposeViewController::canSendMail()) {
    alert("Email Not Setup", "You need to setup an email account on your iPhone before using this feature", false);
    return;
  }
  mailComposer_ = std::make_shared<ui::MailComposeViewController>();
  mailComposer_->setMailComposeDelegate(std::static_pointer_cast<VerseOptionsPanel>(shared_from_this()));
  mailComposer_->setMessageBody(html + "<br><br><br>" + mailtext::storeLinkHTML(text("via Zarvel HD")) + "<br><br>", true);
  mailComposer_->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  ui::ViewController* presenter = screen_.ipaddelegate() ? screen_.ipaddelegate()->getViewController() : nullptr;
  (presenter ? presenter : &screen_)->presentModalViewController(mailComposer_, true);
}

void VerseOptionsPanel::mailComposeController(ui::MailComposeViewController&, ui::MailComposeResult result,
                                              const std::string& error) {
  if (result == ui::MailComposeResult::Failed) {
    auto a = std::make_shared<ui::AlertView>("Message Failed",
                                             ns::format("The message could not be sent with error: %s", error.c_str()),
                                             std::weak_ptr<ui::AlertViewDelegate>(), text("OK"));
    a->setTag(-2);
    a->show();
  }
  ui::ViewController* presenter = screen_.ipaddelegate() ? screen_.ipaddelegate()->getViewController() : nullptr;
  (presenter ? presenter : &screen_)->dismissModalViewControllerAnimated(true);
  mailComposer_.reset();
}

void VerseOptionsPanel::smsText(const std::string&) {
  // No text-message composer exists on a desktop.
  alert("Cannot Send SMS", "Your device is not capable of sending SMS. An iPhone with iOS 4.0 or greater is required.",
        false);
}

// The first press makes the session, which opens the login; once logged in,
// a press opens the post screen over the root. A press after a login that
// failed or was cancelled asks for the login again. A copy that has not been
// told where the network is says so.
void VerseOptionsPanel::socialText(const std::string& message) {
  if (!SocialConfiguration::current().isConfigured()) {
    alert("Posting Not Set Up", "Posting to the social network is not set up in this copy of Zarvel.", false);
    return;
  }
  auto app = ZarvelSDKAppDelegate::GetInstance();
  if (!app) return;
  bool created = !app->existingSocialNetwork();
  auto session = app->socialNetwork();
  if (!session) return;
  if (!session->isSessionValid()) {
    auto login = session->loginDialog();
    if (!created && !(login && login->isShowing())) app->logInToSocialNetworkAgain();
    return;
  }
  postScreen_ = std::make_shared<SocialPostViewController>();
  postScreen_->setDelegate(std::static_pointer_cast<VerseOptionsPanel>(shared_from_this()));
  postScreen_->initWithMessage(message);
  postScreen_->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  ui::ViewController* presenter = screen_.ipaddelegate() ? screen_.ipaddelegate()->getViewController() : nullptr;
  (presenter ? presenter : &screen_)->presentModalViewController(postScreen_, true);
}

void VerseOptionsPanel::closePostScreen() {
  ui::ViewController* presenter = screen_.ipaddelegate() ? screen_.ipaddelegate()->getViewController() : nullptr;
  (presenter ? presenter : &screen_)->dismissModalViewControllerAnimated(true);
  postScreen_.reset();
}

void VerseOptionsPanel::tweetText(const std::string& message) {
  for (const auto& client : kTwitterClients) {
    if (!ui::URLOpener::canOpenURL(client.probe)) continue;
    ui::URLOpener::openURL(client.post + ns::escapeAllForMail(message));
    return;
  }
}

bool VerseOptionsPanel::isSorvaneInstalled() { return ui::URLOpener::canOpenURL(VerseShareTexts::kSorvaneProbe); }

bool VerseOptionsPanel::isTwitterInstalled() {
  for (const auto& client : kTwitterClients)
    if (ui::URLOpener::canOpenURL(client.probe)) return true;
  return false;
}
