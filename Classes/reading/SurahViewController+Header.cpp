// The header: the surah title, the reciter and translation buttons with the
// play button's audio status, the surah information popover, and the moves
// to the neighbouring surahs.
#include <cmath>

#include "Classes/audio/PickReciterController.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/reading/ChoiceListController.h"
#include "Classes/reading/PickTranslationController.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/reading/UIViewControllerHelper.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

namespace {

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

using screens::contentDatabase;
using screens::userDatabase;

// The small down arrow inside a header button, made on first need.
void placeArrow(std::shared_ptr<ui::ImageView>& arrow, ui::Button& button, float x) {
  if (!arrow) {
    arrow = std::make_shared<ui::ImageView>(ui::Image::imageNamed("sura-navbar-arrow.png"));
    arrow->setAlpha(0.6f);
    button.addSubview(arrow);
  }
  float h = button.frame().height();
  arrow->setFrame(cg::Rect(x, std::floor((h - 9) / 2) + 1, 10, 9));
}

bool hasSurahAudio(sqlite3* db, int surah, int reciter, int resolved) {
  return (ChapterInfo::doesReciterSupportContRecitation(resolved) &&
          ChapterInfo::isSurahAudioContinuous(db, surah, reciter)) ||
         ChapterInfo::isSurahAudioInstalled(db, surah, reciter);
}

}  // namespace

void SurahViewController::updateSurahNameButton() {
  if (!isViewLoaded()) return;
  if (isShowingSurahInfo_ && tblSurahInfo) tblSurahInfo->reloadData();
  lblSurahName->setText("");
  imgSurahName->setImage(ui::Image::imageNamed(ns::format("sname_%i.png", iCurrentSurah_)));
  btnSurahNameOptionsBar->setBackgroundImage(ui::Image::imageNamed(ns::format("sname_%i-t.png", iCurrentSurah_)),
                                             ui::ControlStateNormal);
}

void SurahViewController::updateReciterLabel() {
  if (viewDidUnload_ || !isViewLoaded()) return;
  sqlite3* db = userDatabase();
  currentReciter_ = db ? ChapterInfo::getResolvedReciterCode(db, int(defaults().integerForKey("CurrentReciterv22")),
                                                             iCurrentSurah_)
                       : int(defaults().integerForKey("CurrentReciterv22"));
  std::string name = ChapterInfo::getReciterShortNameFromNumber(currentReciter_);
  btnReciter->setTitle(name, ui::ControlStateNormal);
  btnReciter->setTitle(name, ui::ControlStateHighlighted);
  placeArrow(imgDownArrowReciter, *btnReciter, btnReciter->frame().width() - 10);
  // The button's right end stays beside the play button when the header
  // widens or narrows; its arrow stays at that end.
  imgDownArrowReciter->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);

  bool another = false, current = false;
  if (db) {
    for (int i = 0; i < ChapterInfo::getTotalRecitersCount() && !another; ++i) {
      int resolved = ChapterInfo::getResolvedReciterCode(db, i, iCurrentSurah_);
      if (resolved == currentReciter_) continue;
      another = hasSurahAudio(db, iCurrentSurah_, i, resolved);
    }
    current = hasSurahAudio(db, iCurrentSurah_, currentReciter_, currentReciter_);
  }
  const char* image = current ? (another ? "ipad-sound-ready-plus.png" : "ipad-sound-ready.png")
                              : (another ? "ipad-sound-multi.png" : "ipad-sound-dead.png");
  btnPlay->setImage(ui::Image::imageNamed(image), ui::ControlStateNormal);
  btnPlay->setAlpha(current ? 0.8f : 1.0f);
}

// The button names the translation the rows show; where they show none
// (beside the panes, or with translations hidden in full screen), the one the
// rows would show, which the primary pane shows.
int SurahViewController::translationNamedInHeader() const {
  if (int shown = chosenTranslation()) return shown;
  int t = int(defaults().integerForKey("CurrentTranslationPrimary"));
  return t != 0 ? t : int(defaults().integerForKey("CurrentTranslationSecondary"));
}

void SurahViewController::updateTranslationLabel() {
  if (viewDidUnload_ || !isViewLoaded()) return;
  std::string name = ChapterInfo::getTranslationNameForNumber(translationNamedInHeader());
  btnTranslation->setTitle(name, ui::ControlStateNormal);
  btnTranslation->setTitle(name, ui::ControlStateHighlighted);
  ui::Font font = btnTranslation->titleLabel() ? btnTranslation->titleLabel()->font() : ui::Font::systemFontOfSize(15);
  placeArrow(imgDownArrowTranslation, *btnTranslation, ui::sizeWithFont(name, font).width + 5);
}

void SurahViewController::refreshTheme() {
  if (tblSurahInfo) tblSurahInfo->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  if (lblSurahInfoNotice)
    lblSurahInfoNotice->setText(Language::get("Tap sura name again to close", "Tap sura name again to close"));
}

// Beside the tablet's index column the button brings that column in;
// elsewhere the application delegate hides the reading screen.
void SurahViewController::btnIndexPressed() {
  if (ipaddelegate_ && ipaddelegate_->showIndexColumn()) return;
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->hideSurahView();
}

ui::PopoverController& SurahViewController::createPopoverViewWithController(
    std::shared_ptr<ui::ViewController> content) {
  if (!popoverView) {
    popoverView = std::make_shared<ui::PopoverController>(std::move(content));
    popoverView->setDelegate(std::static_pointer_cast<SurahViewController>(shared_from_this()));
  } else {
    popoverView->setContentViewController(std::move(content));
    popoverView->setPassthroughViews({});
  }
  return *popoverView;
}

void SurahViewController::popoverControllerDidDismissPopover(ui::PopoverController&) {
  hideDialControl();
  isShowingSurahInfo_ = false;
}

void SurahViewController::btnReciterPressed() {
  if (isShowingSurahInfo_) surahNameButtonPressed();
  stopIfPlaying();
  updateReciterLabel();
  auto picker = std::make_shared<PickReciterController>();
  picker->setSurah(iCurrentSurah_);
  std::weak_ptr<SurahViewController> weak = std::static_pointer_cast<SurahViewController>(shared_from_this());
  picker->onBack = [weak] {
    if (auto self = weak.lock(); self && self->popoverView) self->popoverView->dismissPopoverAnimated(true);
  };
  auto navigation = std::make_shared<ui::NavigationController>(picker);
  navigation->setNavigationBarHidden(true, false);
  picker->setTitle(Language::get("Pick Recitation", "Pick Recitation"));
  lastButtonTapped = btnReciter.get();
  lastPopoverRect = btnReciter->frame();
  lastPopoverView = viewSurahDispAndOrnaments.get();
  lastPopoverPosition = 1;
  auto& popover = createPopoverViewWithController(navigation);
  popover.setPopoverContentSize(cg::Size{320, 417}, true);
  cg::Rect f = btnReciter->frame();
  popover.presentPopoverFromRect(cg::Rect(f.x() + std::floor(f.width() / 2), f.y() + std::floor(f.height() / 2), 5, 5),
                                 viewSurahDispAndOrnaments.get(), ui::PopoverArrowDirectionUp, true);
}

// The translation picker over the screen, editing the slot whose translation
// the rows show: the primary, unless only the secondary holds one. It stays
// open for further choices until its Back button closes it.
void SurahViewController::btnTranslatorPressed() {
  if (isShowingSurahInfo_) surahNameButtonPressed();
  stopIfPlaying();
  saveCurrentSurahAndVerse();
  didRecentlyChangeTrans_ = true;
  auto picker = std::make_shared<PickTranslationController>();
  bool primaryEmpty = defaults().integerForKey("CurrentTranslationPrimary") == 0;
  bool secondaryEmpty = defaults().integerForKey("CurrentTranslationSecondary") == 0;
  picker->setIsPrimaryTranslation(!primaryEmpty || secondaryEmpty);
  picker->setModalPresentationStyle(ui::ModalPresentationStyle::FormSheet);
  presentModalViewController(picker, true);
}

void SurahViewController::surahNameButtonPressed() {
  // A second tap on the title closes the information again.
  if (isShowingSurahInfo_ && popoverView && popoverView->isPopoverVisible()) {
    popoverView->dismissPopoverAnimated(true);
    isShowingSurahInfo_ = false;
    return;
  }
  lastButtonTapped = btnSurahTitleBG.get();
  lastPopoverRect = btnSurahTitleBG->frame();
  lastPopoverView = viewSurahDispAndOrnaments.get();
  lastPopoverPosition = 1;
  if (ipaddelegate_) ipaddelegate_->getNavigationViewContainer();
  auto helper = std::make_shared<UIViewControllerHelper>(cg::Size{320, 315});
  viewSurahInfoHUD->setAlpha(1);
  viewSurahInfoHUD->setFrame(cg::Rect(0, 0, 320, 315));
  helper->setView(viewSurahInfoHUD);
  surahInfoController_ = helper;
  isShowingSurahInfo_ = true;
  tblSurahInfo->reloadData();
  auto& popover = createPopoverViewWithController(helper);
  popover.setPopoverContentSize(cg::Size{320, 315}, true);
  cg::Rect f = btnSurahTitleBG->frame();
  popover.presentPopoverFromRect(cg::Rect(f.x() + std::floor(f.width() / 2), f.y() + std::floor(f.height() / 2), 5, 5),
                                 viewSurahDispAndOrnaments.get(), ui::PopoverArrowDirectionUp, true);
}

void SurahViewController::btnTopOrnTopDown(ui::Button* sender) {
  if (sender == btnTopLeftOrnTop.get())
    btnLeftOrnament->setBackgroundImage(ui::Image::imageNamed("ipad-sura-previous-t.png"), ui::ControlStateNormal);
  else if (sender == btnTopRightOrnTop.get())
    btnRightOrnament->setBackgroundImage(ui::Image::imageNamed("ipad-sura-next-t.png"), ui::ControlStateNormal);
}

void SurahViewController::btnTopOrnTopUp(ui::Button* sender) {
  if (sender == btnTopLeftOrnTop.get())
    btnLeftOrnament->setBackgroundImage(ui::Image::imageNamed("ipad-sura-previous.png"), ui::ControlStateNormal);
  else if (sender == btnTopRightOrnTop.get())
    btnRightOrnament->setBackgroundImage(ui::Image::imageNamed("ipad-sura-next.png"), ui::ControlStateNormal);
}

int SurahViewController::getNextAvailableSurah() const { return iCurrentSurah_ >= 114 ? 1 : iCurrentSurah_ + 1; }
int SurahViewController::getPrevAvailableSurah() const { return iCurrentSurah_ <= 1 ? 114 : iCurrentSurah_ - 1; }

void SurahViewController::showNextSurahNow() {
  if (ipaddelegate_ && ipaddelegate_->IsShowingNotes()) ipaddelegate_->hideNotesWithSave();
  if (isSwitchingSurah_) return;
  moveToNeighbourSurah(getNextAvailableSurah(), IsInPlayMode_ || globalShouldStartPlaying_);
}

void SurahViewController::showPreviousSurahNow() {
  if (ipaddelegate_ && ipaddelegate_->IsShowingNotes()) ipaddelegate_->hideNotesWithSave();
  if (isSwitchingSurah_) return;
  moveToNeighbourSurah(getPrevAvailableSurah(), false);
}

void SurahViewController::moveToNeighbourSurah(int surah, bool playOn) {
  stopIfPlaying();
  isSwitchingSurah_ = true;
  iCurrentVerse_ = -1;
  setupBasicSurah(surah, -1, playOn);
  setTableAlpha(0, true, "HideDuringLoad", 0.1);
  hideVersesBeforeLoading(false, false);
  usePrevOffset_ = false;
  resetVersePosition_ = true;
  auto& center = ns::NotificationCenter::defaultCenter();
  center.postNotificationName("SurahWillChange");
  ns::RunLoop::main().performAfter(this, "asyncSurahReload", 0.1, [this] { asyncSurahReload(); });
  center.postNotificationName("SurahDidChangeFromNav");
  tajweedBarDisplayToggled(true);
}
