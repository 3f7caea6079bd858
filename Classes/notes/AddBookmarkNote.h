#pragma once
// The full-screen editor of the note of one bookmarked verse: the verse in a
// small scrolling preview (Arabic, or the reader's translation), the note on
// a ruled pad, Done (save and close) and a second button that closes the
// keyboard or offers Mail and Delete. The note lives in the verse's bookmark
// row; the editor only sets or clears it. A note that cannot be stored keeps
// the editor open with its text and says so. Main thread only.
#include <memory>
#include <string>

#include "Classes/notes/DTNotePadView.h"
#include "Classes/notes/UnsavedNotes.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/services/MailComposeViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ViewController.h"

namespace ui {
class Button;
class ImageView;
class Label;
class ScrollView;
}  // namespace ui

class AddBookmarkNote : public ui::ViewController,
                        public DTNotePadViewDelegate,
                        public ui::ActionSheetDelegate,
                        public ui::AlertViewDelegate,
                        public ui::MailComposeViewControllerDelegate {
 public:
  // initWithNibName:bundle:andSurah:andVerse: ("AddNoteView", the main bundle).
  AddBookmarkNote(int surah, int verse);
  ~AddBookmarkNote() override;

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewDidAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override { return true; }
  void willAnimateRotationToInterfaceOrientation(ui::InterfaceOrientation to, double duration) override;
  void didRotateFromInterfaceOrientation(ui::InterfaceOrientation from) override;
  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;

  void donePressed();
  void morePressed();
  void deletePressed();
  void resizeVerse();
  void keyboardWillShow();
  void keyboardWillHide();
  // Ends editing: the keyboard goes away.
  void setEditing(bool editing, bool animated);

  void notePadViewDidChange(DTNotePadView&) override { bookmarkChanged = true; }
  void notePadViewDidEndEditing(DTNotePadView&) override {}
  void clickedButtonAtIndex(ui::ActionSheet& sheet, int index) override;
  void clickedButtonAtIndex(ui::AlertView& alert, int index) override;
  void mailComposeController(ui::MailComposeViewController& controller, ui::MailComposeResult result,
                             const std::string& error) override;

  // The HTML body of the note's mail, from the pad's text as it stands.
  std::string mailBody() const;

  int surah() const { return surah_; }
  int verse() const { return verse_; }
  bool isKeyboardShowing() const { return isKeyboardShowing_; }
  bool hasChanged() const { return bookmarkChanged; }
  const std::shared_ptr<ui::ActionSheet>& moreSheet() const { return moreSheet_; }
  const std::shared_ptr<ui::MailComposeViewController>& mailComposer() const { return mailComposer_; }

  // The outlets ("AddNoteView").
  std::shared_ptr<ui::Label> lblTitle, lblArabicAyah, lblVerseNumber;
  std::shared_ptr<ui::ImageView> imgBG, imgAyahImg, imgTopHeader, imgAyahShadow, imgFade;
  std::shared_ptr<DTNotePadView> txtView;
  std::shared_ptr<ui::ScrollView> scrollAyahContainer;
  std::shared_ptr<ui::Button> btnAyah, btnDone, btnMore;

 private:
  void buildHeader(ui::View& root);
  void buildVersePreview(ui::View& root);
  void buildPad(ui::View& root);
  void setMoreButtonImage(const char* name);
  // Stores the pad's text; false (and nothing changed) when the verse has no
  // bookmark row or the write fails.
  bool saveNote();
  void showSaveFailure();
  void close();
  void raiseKeyboardForEmptyNote();

  int surah_;
  int verse_;
  bool isKeyboardShowing_ = false;
  bool bookmarkChanged = false;
  std::shared_ptr<ui::View> viewVerseArea_;
  std::shared_ptr<ui::ActionSheet> moreSheet_;
  std::shared_ptr<ui::AlertView> deleteAlert_;
  std::shared_ptr<ui::MailComposeViewController> mailComposer_;
  ns::Observer keyboardShow_, keyboardHide_;
  bool closed_ = false;
  // The edited note, saved if the application ends while the editor is open.
  UnsavedNotes::Registration unsavedNoteRegistration_;
};
