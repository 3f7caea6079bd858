// The notes panel: the ruled pad that drops in along the top, above the
// reading view, holding the note of one verse; its page turns from verse to
// verse, saving an edited note first; a sheet mails, reverts or deletes it.
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/notes/MailText.h"
#include "Classes/shell/SurahTranslationViewController.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"

namespace {

using screens::contentDatabase;
using screens::userDatabase;

std::string text(const char* key) { return screens::localized(key); }

std::string number(int n) {
  std::string digits = std::to_string(n);
  return ZarvelSDKAppDelegate::IsLanguageArabic() ? ChapterInfo::getArabicNumbersFrom(digits) : digits;
}

void alert(const std::string& title, const std::string& message) {
  auto view = std::make_shared<ui::AlertView>(title, message, std::weak_ptr<ui::AlertViewDelegate>(), text("OK"));
  view->show();
}

constexpr int kNotesSheetTag = 800;

bool statusBarLandscape() { return ui::isLandscape(ui::Application::shared().statusBarOrientation()); }

}  // namespace

void iPadRootViewController::layoutNotesStrip(float height) {
  cg::Rect c = viewNotesContainer->frame();
  viewNotesContainer->setFrame(cg::Rect(c.x(), 0, c.width(), height));
}

bool iPadRootViewController::panesShowNotes() const {
  return (viewContPrimTrans && viewContPrimTrans->iCurrentTranslation() == 1000) ||
         (viewContSecondTrans && viewContSecondTrans->iCurrentTranslation() == 1000);
}

void iPadRootViewController::postNoteNotifications(bool withTranslation) {
  auto& center = ns::NotificationCenter::defaultCenter();
  center.postNotificationName("BookmarkDidChange");
  if (withTranslation && panesShowNotes()) center.postNotificationName("TranslationDidChange");
}

// A verse with a bookmark keeps it and gets the note; another gets a bookmark
// of no group holding the note.
static bool storeNote(int surah, int verse, const std::string& note) {
  sqlite3* db = userDatabase();
  if (!db) return false;
  if (ChapterInfo::isBookmarked(db, surah, verse)) return ChapterInfo::insertBookmarkNote(db, surah, verse, note);
  return ChapterInfo::insertBookmark(db, surah, verse, false, -1, note);
}

std::optional<UnsavedNotes::Note> iPadRootViewController::unsavedNote() {
  if (!built() || !isShowingNotes_ || !noteGotEdited) return std::nullopt;
  int surah = noteSurah, verse = noteVerse;
  std::string note = txtNotes->textView()->text();
  return UnsavedNotes::Note{surah, verse, note, [surah, verse, note] { return storeNote(surah, verse, note); }};
}

void iPadRootViewController::showNotesForSurah() {
  showNotesForSurah(1, 1, true, statusBarLandscape());
}

void iPadRootViewController::showNotesForSurah(int surah, int verse, bool animated, bool landscape,
                                               bool becomeFirstResponder, bool flipUp) {
  if (verse < 1 || !built()) return;
  auto& textView = *txtNotes->textView();
  textView.setFont(ui::Font::fontWithName("Helvetica-Bold", 15));
  textView.setScrollsToTop(false);
  viewNotesContainer->setUserInteractionEnabled(true);

  bool turn = false, wasClosed = !isShowingNotes_, openingAnimated = false;
  if (isShowingNotes_) {
    if (!noteGotEdited && surah == noteSurah && verse == noteVerse) return;
    turn = true;
  } else {
    isShowingNotes_ = true;
    cg::Rect n = viewNotesView->frame();
    viewNotesView->setFrame(cg::Rect(n.x(), 100, n.width(), n.height()));
    float H = landscape ? 218 : 281;
    if (animated) {
      openingAnimated = true;
      ui::View::beginAnimations("HideNotes");
      ui::View::setAnimationDuration(0.35);
      std::weak_ptr<ui::ViewController> weak = weak_from_this();
      ui::View::setAnimationDelegate(weak);
      ui::View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
        if (auto root = std::static_pointer_cast<iPadRootViewController>(weak.lock())) root->notesViewDidStop();
      });
    }
    float E = viewEverythingContainer->frame().height();
    viewRoot->setFrame(cg::Rect(0, H, viewRoot->frame().width(), E - H));
    layoutNotesStrip(H);
    viewNotesView->setFrame(cg::Rect(n.x(), 0, n.width(), n.height()));
    if (animated) ui::View::commitAnimations();
  }
  textView.resignFirstResponder();
  if (turn && noteGotEdited) {
    // The page turns only when the previous note was kept.
    if (!storeNote(noteSurah, noteVerse, textView.text())) {
      alert(text("Error"), text("The note could not be saved."));
      return;
    }
    updateBookmarkForVerse(noteVerse, noteSurah);
    postNoteNotifications(true);
  }
  auto brown = screens::stretchedImage("ipad-note-brown-button.png", 16, 0);
  auto brownPressed = screens::stretchedImage("ipad-note-brown-button-t.png", 16, 0);
  for (auto* b : {btnNotesNavCancel.get(), btnNotesNavDone.get()}) {
    std::string title = text(b == btnNotesNavCancel.get() ? "Cancel" : "Done");
    b->setTitle(title, ui::ControlStateNormal);
    b->setTitle(title, ui::ControlStateHighlighted);
    b->setBackgroundImage(brown, ui::ControlStateNormal);
    b->setBackgroundImage(brownPressed, ui::ControlStateHighlighted);
  }
  noteSurah = surah;
  noteVerse = verse;
  lblTopBarLabel->setText(text("Note") + ": " + text("Surah") + " " + number(surah) + ", " + text("Aya") + " " +
                          number(verse));
  sqlite3* db = userDatabase();
  textView.setText(db ? ChapterInfo::getBookmarkNote(db, surah, verse) : "");
  for (auto* v : {viewNotesView.get(), viewNotesAnimContainer.get(), viewNotesContainer.get(),
                  viewNotesTextViewContainer.get(), viewNotesTextViewContainerTransition.get()})
    v->setClipsToBounds(false);
  if (turn) {
    ui::View::beginAnimations("PageFlip");
    ui::View::setAnimationDuration(0.8);
    ui::View::setAnimationTransition(flipUp ? ui::AnimationTransition::CurlUp : ui::AnimationTransition::CurlDown,
                                     viewNotesTextViewContainer.get(), false);
    ui::View::commitAnimations();
  }
  if (!openingAnimated && textView.text().empty() && (becomeFirstResponder || wasClosed)) textView.becomeFirstResponder();
  currentFloatingFrame = viewFloatingVerses->frame();
  noteGotEdited = false;
}

void iPadRootViewController::notesViewDidStop() {
  if (txtNotes && txtNotes->textView()->text().empty()) txtNotes->textView()->becomeFirstResponder();
}

void iPadRootViewController::hideNotesWithSave(bool save, bool animated, bool) {
  if (!built()) return;
  if (!isShowingNotes_ && viewRoot->frame().y() == 0) return;
  auto& textView = *txtNotes->textView();
  if (save && noteGotEdited && !storeNote(noteSurah, noteVerse, textView.text())) {
    // The text stays in the open pad; nothing tells the others of a change.
    alert(text("Error"), text("The note could not be saved."));
    return;
  }
  isShowingNotes_ = false;
  textView.resignFirstResponder();
  if (animated) {
    ui::View::beginAnimations("HideNotes");
    ui::View::setAnimationDuration(0.35);
  }
  float E = viewEverythingContainer->frame().height();
  viewRoot->setFrame(cg::Rect(0, 0, viewRoot->frame().width(), E));
  cg::Rect n = viewNotesView->frame();
  viewNotesView->setFrame(cg::Rect(n.x(), 100, n.width(), n.height()));
  viewNotesContainer->setUserInteractionEnabled(false);
  if (animated) ui::View::commitAnimations();
  if (noteGotEdited) {
    updateBookmarkForVerse(noteVerse, noteSurah);
    postNoteNotifications(save);
  }
  currentFloatingFrame = viewFloatingVerses->frame();
  noteGotEdited = false;
}

void iPadRootViewController::hideNotesWithSave() {
  hideNotesWithSave(true, true, statusBarLandscape());
}

void iPadRootViewController::hideNotesWithoutSave() {
  hideNotesWithSave(false, true, statusBarLandscape());
}

void iPadRootViewController::notePadViewDidBeginEditing(DTNotePadView&) {
  if (viewContSurah_) viewContSurah_->highlightVerse(noteVerse, true, true, true, false);
}

void iPadRootViewController::moreNotesPressed() {
  auto self = std::static_pointer_cast<iPadRootViewController>(shared_from_this());
  auto sheet = std::make_shared<ui::ActionSheet>("", std::weak_ptr<ui::ActionSheetDelegate>(self), text("Cancel"),
                                                 "", std::vector<std::string>{text("Mail"), text("Revert"), text("Delete")});
  sheet->setDestructiveButtonIndex(2);
  sheet->setTag(kNotesSheetTag);
  sheet->showFromRect(btnNotesNavMore->frame(), viewNotesTopNavBar.get(), true);
}

void iPadRootViewController::clickedButtonAtIndex(ui::ActionSheet& sheet, int index) {
  if (sheet.tag() != kNotesSheetTag) return;
  auto& textView = *txtNotes->textView();
  sqlite3* db = userDatabase();
  switch (index) {
    case 0:
      mailNote();
      break;
    case 1:
      textView.resignFirstResponder();
      textView.setText(db ? ChapterInfo::getBookmarkNote(db, noteSurah, noteVerse) : "");
      noteGotEdited = false;
      break;
    case 2:
      if (!db || !ChapterInfo::deleteBookmark(db, noteSurah, noteVerse, false)) {
        alert(text("Error"), text("The note could not be deleted."));
        return;
      }
      noteGotEdited = false;
      hideNotesWithoutSave();
      updateBookmarkForVerse(noteVerse, noteSurah);
      postNoteNotifications(true);
      break;
    default:
      break;
  }
}

// The note's words are the reader's: escaped, line ends as "<br>", so they
// show as typed and add no markup.
std::string iPadRootViewController::noteMailBody() const {
  std::string html;
  html += text("Qur'an") + " <b>" + text("Surah") + " " + number(noteSurah) + ", " + text("Verse") + " " +
          number(noteVerse) + "</b>:<br>";
  sqlite3* content = contentDatabase();
  std::string arabic = content ? ChapterInfo::getArabicVerseFor(content, noteSurah, noteVerse) : "";
  html += "<div dir='rtl'>" + mailtext::escapeForHTML(arabic) + "</div><br>";
  int translation = int(ns::UserDefaults::standardUserDefaults().integerForKey("CurrentTranslationv22"));
  if (translation != 0) {
    std::string t = content ? ChapterInfo::getTranslationFor(content, translation, noteSurah, noteVerse) : "";
    if (ChapterInfo::isTranslationRTL(translation))
      html += "<b>" + text("Translation") + "</b>:<div dir='rtl'>" + mailtext::escapeForHTML(t) + "</div><br><br>";
    else
      html += "<b>" + text("Translation") + "</b>:<br>" + mailtext::escapeForHTML(t) + "<br><br>";
  }
  html += text("Notes") + ":<br>" + mailtext::escapeForHTML(txtNotes ? txtNotes->textView()->text() : "") +
          "<br><br><br><br>";
  html += mailtext::storeLinkHTML(text("via Zarvel HD")) + "<br>";
  return html;
}

void iPadRootViewController::mailNote() {
  if (!ui::MailComposeViewController::canSendMail()) {
    alert(text("Email Not Setup"), text("You need to setup an email account on your iPhone before using this feature"));
    return;
  }
  mailComposer = std::make_shared<ui::MailComposeViewController>();
  mailComposer->setMailComposeDelegate(std::static_pointer_cast<iPadRootViewController>(shared_from_this()));
  mailComposer->setMessageBody(noteMailBody(), true);
  presentModalViewController(mailComposer, true);
}

void iPadRootViewController::mailComposeController(ui::MailComposeViewController&, ui::MailComposeResult result,
                                                   const std::string& error) {
  if (result == ui::MailComposeResult::Failed)
    alert("Message Failed", "The message could not be sent with error: " + error);
  dismissModalViewControllerAnimated(true);
  mailComposer.reset();
}
