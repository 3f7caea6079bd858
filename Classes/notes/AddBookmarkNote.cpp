#include "Classes/notes/AddBookmarkNote.h"

#include <cmath>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/notes/MailText.h"
#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"

namespace {

using screens::userDatabase;
using screens::contentDatabase;
constexpr auto stretched = screens::stretchedImage;
constexpr auto text = screens::localized;

constexpr float kHeaderHeight = 54;
constexpr float kVerseAreaHeight = 150;
const cg::Color kInk = cg::Color::fromRGB255(70, 52, 24);


int currentTranslation() {
  return static_cast<int>(ns::UserDefaults::standardUserDefaults().integerForKey("CurrentTranslationv22"));
}

}  // namespace

AddBookmarkNote::AddBookmarkNote(int surah, int verse)
    : surah_(surah), verse_(verse), unsavedNoteRegistration_([this]() -> std::optional<UnsavedNotes::Note> {
        if (closed_ || !bookmarkChanged || !txtView) return std::nullopt;
        return UnsavedNotes::Note{surah_, verse_, txtView->textView()->text(), [this] { return saveNote(); }};
      }) {}

AddBookmarkNote::~AddBookmarkNote() = default;

// ---- the layout ("AddNoteView") ------------------------------------------------------------

void AddBookmarkNote::loadView() {
  cg::Rect frame = ui::Screen::main().applicationFrame();
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, frame.width(), frame.height()));
  root->setBackgroundColor(cg::Color::fromRGB255(244, 238, 222));
  root->setAutoresizesSubviews(true);
  root->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  imgBG = std::make_shared<ui::ImageView>(root->bounds());
  imgBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(imgBG);
  buildVersePreview(*root);
  buildPad(*root);
  buildHeader(*root);
  setView(root);
}

void AddBookmarkNote::buildHeader(ui::View& root) {
  float w = root.bounds().width();
  imgTopHeader = std::make_shared<ui::ImageView>(cg::Rect(0, 0, w, kHeaderHeight));
  imgTopHeader->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(imgTopHeader);
  lblTitle = std::make_shared<ui::Label>(cg::Rect(std::floor(w / 2) - 150, 12, 300, 30));
  lblTitle->setFont(ui::Font::boldSystemFontOfSize(20));
  lblTitle->setTextColor(cg::Color::white());
  lblTitle->setTextAlignment(ui::TextAlignment::Center);
  lblTitle->setBackgroundColor(cg::Color::clear());
  lblTitle->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleRightMargin);
  root.addSubview(lblTitle);

  btnDone = std::make_shared<ui::Button>(cg::Rect(w - 90, 11, 78, 32));
  btnDone->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  btnDone->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(14));
  screens::centreTitleAcrossButton(*btnDone);
  btnDone->addTarget(this, [this](ui::Control&) { donePressed(); }, ui::ControlEventTouchUpInside);
  root.addSubview(btnDone);

  btnMore = std::make_shared<ui::Button>(cg::Rect(12, 11, 52, 32));
  btnMore->addTarget(this, [this](ui::Control&) { morePressed(); }, ui::ControlEventTouchUpInside);
  root.addSubview(btnMore);
  setMoreButtonImage("extras-arrow.png");
}

void AddBookmarkNote::buildVersePreview(ui::View& root) {
  float w = root.bounds().width();
  viewVerseArea_ = std::make_shared<ui::View>(cg::Rect(0, kHeaderHeight, w, kVerseAreaHeight));
  viewVerseArea_->setBackgroundColor(cg::Color::clear());
  viewVerseArea_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(viewVerseArea_);

  imgAyahShadow = std::make_shared<ui::ImageView>(cg::Rect(18, 13, w - 36, 130));
  imgAyahShadow->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewVerseArea_->addSubview(imgAyahShadow);
  imgAyahImg = std::make_shared<ui::ImageView>(cg::Rect(20, 11, w - 40, 128));
  imgAyahImg->setBackgroundColor(cg::Color::fromRGB255(252, 249, 240));
  imgAyahImg->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewVerseArea_->addSubview(imgAyahImg);

  btnAyah = std::make_shared<ui::Button>(cg::Rect(30, 21, 44, 44));
  btnAyah->setEnabled(false);
  btnAyah->setBackgroundColor(cg::Color::fromRGB255(232, 222, 196));
  btnAyah->setTitleColor(kInk, ui::ControlStateDisabled);
  btnAyah->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(13));
  viewVerseArea_->addSubview(btnAyah);
  lblVerseNumber = std::make_shared<ui::Label>(cg::Rect(30, 70, 44, 20));
  lblVerseNumber->setHidden(true);
  viewVerseArea_->addSubview(lblVerseNumber);

  scrollAyahContainer = std::make_shared<ui::ScrollView>(cg::Rect(84, 17, w - 114, 116));
  scrollAyahContainer->setBackgroundColor(cg::Color::clear());
  scrollAyahContainer->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewVerseArea_->addSubview(scrollAyahContainer);
  lblArabicAyah = std::make_shared<ui::Label>(cg::Rect(8, 5, w - 126, 100));
  lblArabicAyah->setNumberOfLines(0);
  lblArabicAyah->setTextColor(kInk);
  lblArabicAyah->setBackgroundColor(cg::Color::clear());
  scrollAyahContainer->addSubview(lblArabicAyah);

  imgFade = std::make_shared<ui::ImageView>(cg::Rect(0, kHeaderHeight + kVerseAreaHeight, w, 20));
  imgFade->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  imgFade->setUserInteractionEnabled(false);
}

void AddBookmarkNote::buildPad(ui::View& root) {
  cg::Rect b = root.bounds();
  float top = kHeaderHeight + kVerseAreaHeight + 4;
  txtView = DTNotePadView::create(cg::Rect(20, top, b.width() - 40, b.height() - top - 20));
  txtView->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root.addSubview(txtView);
  root.addSubview(imgFade);
}

// ---- loading -------------------------------------------------------------------------------

void AddBookmarkNote::viewDidLoad() {
  lblTitle->setText(text("Note"));
  imgBG->setImage(stretched("note-bg.png", 159, 175));
  imgTopHeader->setImage(stretched("note-header.png", 159, 0));
  imgFade->setImage(stretched("note-fade.png", 159, 0));
  txtView->setBackgroundColor(cg::Color::clear());
  txtView->setDelegate(std::dynamic_pointer_cast<AddBookmarkNote>(shared_from_this()));
  txtView->textView()->setText(ChapterInfo::getBookmarkNote(userDatabase(), surah_, verse_));
  std::string number = ns::format("%i", verse_);
  if (ZarvelSDKAppDelegate::IsLanguageArabic()) number = ChapterInfo::getArabicNumbersFrom(number);
  btnAyah->setTitle(number, ui::ControlStateDisabled);
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted}) btnDone->setTitle(text("Done"), state);
  btnDone->setBackgroundImage(stretched("black-button.png", 16, 0), ui::ControlStateNormal);
  btnDone->setBackgroundImage(stretched("black-button-t.png", 16, 0), ui::ControlStateHighlighted);
  resizeVerse();
}

void AddBookmarkNote::resizeVerse() {
  int t = currentTranslation();
  sqlite3* db = contentDatabase();
  float lineHeight = 28;
  if (t == 0) {
    lblArabicAyah->setTextAlignment(ui::TextAlignment::Right);
    lblArabicAyah->setFont(ui::Font::fontWithName("GeezaPro", 16));
    lblArabicAyah->setText(ChapterInfo::getArabicVerseFor(db, surah_, verse_));
  } else {
    bool rtl = ChapterInfo::isTranslationRTL(t);
    lblArabicAyah->setFont(rtl ? ui::Font::fontWithName("GeezaPro", 16) : ui::Font::fontWithName("Helvetica", 14));
    lineHeight = rtl ? 28 : 20;
    if (t == 1000) {
      lblArabicAyah->setTextAlignment(ui::TextAlignment::Right);
      lblArabicAyah->setText(ChapterInfo::getArabicVerseFor(db, surah_, verse_));
    } else {
      lblArabicAyah->setTextAlignment(ui::TextAlignment::Left);
      lblArabicAyah->setText(ChapterInfo::getTranslationFor(db, t, surah_, verse_));
    }
  }
  cg::Rect box = scrollAyahContainer->frame();
  float labelWidth = box.width() - 12;
  float oneLine = ui::sizeWithFont(lblArabicAyah->text(), lblArabicAyah->font()).width;
  float h = std::floor(oneLine / labelWidth * lineHeight) + 8;
  if (h < box.height() - 5) h = std::floor(box.height() - 5);
  scrollAyahContainer->setContentSize(cg::Size{box.width(), h});
  lblArabicAyah->setFrame(cg::Rect(8, 5, labelWidth, h));
}

// ---- keyboard --------------------------------------------------------------------------------

void AddBookmarkNote::viewWillAppear(bool) {
  auto weak = std::weak_ptr<AddBookmarkNote>(std::dynamic_pointer_cast<AddBookmarkNote>(shared_from_this()));
  auto& center = ns::NotificationCenter::defaultCenter();
  keyboardShow_ = center.addObserver(ui::KeyboardWillShowNotification, [weak](const ns::Value&) {
    if (auto self = weak.lock()) self->keyboardWillShow();
  });
  keyboardHide_ = center.addObserver(ui::KeyboardWillHideNotification, [weak](const ns::Value&) {
    if (auto self = weak.lock()) self->keyboardWillHide();
  });
  raiseKeyboardForEmptyNote();
}

// A modal view reaches the window only after it was told it will appear, so
// the keyboard is raised again once it is there.
void AddBookmarkNote::viewDidAppear(bool) { raiseKeyboardForEmptyNote(); }

void AddBookmarkNote::raiseKeyboardForEmptyNote() {
  auto& pad = *txtView->textView();
  if (pad.text().empty() && !pad.isFirstResponder()) pad.becomeFirstResponder();
}

void AddBookmarkNote::viewWillDisappear(bool) {
  setEditing(false, true);
  keyboardShow_.remove();
  keyboardHide_.remove();
}

void AddBookmarkNote::setEditing(bool editing, bool) {
  if (!editing && txtView) txtView->textView()->resignFirstResponder();
}

void AddBookmarkNote::setMoreButtonImage(const char* name) {
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted})
    btnMore->setBackgroundImage(stretched(name, 16, 0), state);
}

void AddBookmarkNote::keyboardWillShow() {
  setMoreButtonImage("note-close-keyboard.png");
  isKeyboardShowing_ = true;
  btnMore->setEnabled(true);
}

void AddBookmarkNote::keyboardWillHide() {
  setMoreButtonImage("extras-arrow.png");
  isKeyboardShowing_ = false;
  if (txtView->textView()->text().empty()) btnMore->setEnabled(false);
}

void AddBookmarkNote::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
  ui::ViewController::touchesBegan(touches, event);
  if (!touches.empty() && touches.front()->view() == view().get()) txtView->textView()->resignFirstResponder();
}

// ---- more, delete, done -----------------------------------------------------------------------

void AddBookmarkNote::morePressed() {
  if (isKeyboardShowing_) {
    txtView->textView()->resignFirstResponder();
    return;
  }
  moreSheet_ = std::make_shared<ui::ActionSheet>("", std::dynamic_pointer_cast<AddBookmarkNote>(shared_from_this()),
                                                 text("Cancel"), text("Delete"), std::vector<std::string>{text("Mail")});
  moreSheet_->showInView(view().get());
}

void AddBookmarkNote::clickedButtonAtIndex(ui::ActionSheet& sheet, int index) {
  if (sheet.tag() == -2) return;
  if (index == 0) deletePressed();
  else if (index == 1) {
    if (!ui::MailComposeViewController::canSendMail()) {
      auto alert = std::make_shared<ui::AlertView>(
          text("Email Not Setup"), text("You need to setup an email account on your iPhone before using this feature"),
          std::weak_ptr<ui::AlertViewDelegate>(), text("OK"));
      alert->show();
      return;
    }
    mailComposer_ = std::make_shared<ui::MailComposeViewController>();
    mailComposer_->setMailComposeDelegate(std::dynamic_pointer_cast<AddBookmarkNote>(shared_from_this()));
    mailComposer_->setMessageBody(mailBody(), true);
    presentModalViewController(mailComposer_, true);
  }
}

void AddBookmarkNote::deletePressed() {
  deleteAlert_ = std::make_shared<ui::AlertView>(text("Delete Note"), text("Are you sure you want to delete this note?"),
                                                 std::dynamic_pointer_cast<AddBookmarkNote>(shared_from_this()),
                                                 text("No"), std::vector<std::string>{text("Yes")});
  deleteAlert_->show();
}

void AddBookmarkNote::clickedButtonAtIndex(ui::AlertView& alert, int index) {
  if (&alert != deleteAlert_.get() || index != 1) return;
  deleteAlert_.reset();
  if (!ChapterInfo::deleteBookmarkNote(userDatabase(), surah_, verse_)) {
    showSaveFailure();
    return;
  }
  ns::NotificationCenter::defaultCenter().postNotificationName("BookmarkDidChange");
  close();
}

void AddBookmarkNote::donePressed() {
  if (!saveNote()) {
    showSaveFailure();
    return;
  }
  if (bookmarkChanged) ns::NotificationCenter::defaultCenter().postNotificationName("BookmarkDidChange");
  close();
}

bool AddBookmarkNote::saveNote() {
  sqlite3* db = userDatabase();
  if (!db || !ChapterInfo::isBookmarked(db, surah_, verse_)) return false;
  return ChapterInfo::insertBookmarkNote(db, surah_, verse_, txtView->textView()->text());
}

void AddBookmarkNote::showSaveFailure() {
  ns::logf("ERROR - [%s] The note of %i:%i could not be stored", ns::logTimestamp().c_str(), surah_, verse_);
  auto alert = std::make_shared<ui::AlertView>(
      text("Note Not Saved"), text("The note could not be saved. Its text is still here; please try again."),
      std::weak_ptr<ui::AlertViewDelegate>(), text("OK"));
  alert->show();
}

void AddBookmarkNote::close() {
  closed_ = true;
  if (auto app = ZarvelSDKAppDelegate::GetInstance()) app->refreshSurahViewWith(surah_, verse_);
  setEditing(false, true);
  dismissModalViewControllerAnimated(true);
}

// ---- mail ---------------------------------------------------------------------------------------

std::string AddBookmarkNote::mailBody() const {
  using mailtext::escapeForHTML;
  sqlite3* db = contentDatabase();
  int t = currentTranslation();
  std::string body = ns::format("%s <b>%s %i, %s %i</b>:<br>", escapeForHTML(text("Qur'an")).c_str(),
                                escapeForHTML(text("Surah")).c_str(), surah_, escapeForHTML(text("Verse")).c_str(),
                                verse_);
  body += "<div dir='rtl'>" + escapeForHTML(ChapterInfo::getArabicVerseFor(db, surah_, verse_)) + "</div><br>";
  if (t != 0) {
    std::string translation = t == 1000 ? "" : ChapterInfo::getTranslationFor(db, t, surah_, verse_);
    std::string heading = "<b>" + escapeForHTML(text("Translation")) + "</b>:";
    if (ChapterInfo::isTranslationRTL(t)) body += heading + "<div dir='rtl'>" + escapeForHTML(translation) + "</div><br><br>";
    else body += heading + "<br>" + escapeForHTML(translation) + "<br><br>";
  }
  body += escapeForHTML(text("Notes")) + ":<br>" + escapeForHTML(txtView->textView()->text()) + "<br><br><br><br>";
  body += mailtext::storeLinkHTML(text("via Zarvel HD")) + "<br>";
  return body;
}

void AddBookmarkNote::mailComposeController(ui::MailComposeViewController&, ui::MailComposeResult result,
                                            const std::string& error) {
  if (result == ui::MailComposeResult::Failed) {
    auto alert = std::make_shared<ui::AlertView>(
        "Message Failed", ns::format("The message could not be sent with error: %s", error.c_str()),
        std::weak_ptr<ui::AlertViewDelegate>(), text("OK"));
    alert->setTag(-2);
    alert->show();
  }
  dismissModalViewControllerAnimated(true);
  mailComposer_.reset();
}

// ---- rotation -------------------------------------------------------------------------------------

void AddBookmarkNote::willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double) {
  cg::Rect f = imgAyahImg->frame();
  float y = ui::isLandscape(to) ? -2 : 11;
  imgAyahImg->setFrame(cg::Rect(f.x(), y, f.width(), f.height()));
}

void AddBookmarkNote::didRotateFromInterfaceOrientation(ui::InterfaceOrientation) { resizeVerse(); }
