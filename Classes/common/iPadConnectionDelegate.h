#pragma once
// What the reading screen asks of the tablet root that holds it. The root
// implements every operation; the bodies here are what a root without panes,
// notes or a floating window answers (the reading view fills the screen and
// translations are rows of the reading table).
#include <memory>
#include <optional>

#include "platform/foundation/Date.h"

namespace ui {
class TableView;
class View;
class ViewController;
}  // namespace ui

class IndexReadingScreen;

class iPadConnectionDelegate {
 public:
  virtual ~iPadConnectionDelegate() = default;

  // The floating verse view fills the screen: translations are table rows.
  virtual bool isFloatingViewExpanded() { return true; }
  virtual bool IsViewInLandscape() { return false; }
  virtual bool isSecondaryTranslationVisible() { return false; }
  virtual bool isPrimaryTranslationNone() { return true; }
  virtual bool isSecondaryTranslationNone() { return true; }

  virtual void translationsCanNowAppear() {}
  virtual void surahRequiresTranslationsReload() {}
  virtual void verifyIndexSelection() {}
  virtual void tryAndUpdateIndexRowSelection() {}
  virtual void highlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection) {
    (void)verse, (void)jumpTo, (void)animated, (void)forceSelection;
  }
  virtual void highlightForPlayingVerse(int verse, bool stopPlaying) { (void)verse, (void)stopPlaying; }
  virtual void updateBookmarkForVerse(int verse, int surah) { (void)verse, (void)surah; }

  // The tallest pane's row for the verse; only asked while the floating view
  // is not expanded.
  virtual float getMaxVerseHeightForCurrentSurah(int verse) { (void)verse; return 65; }
  virtual float getMaxVerseHeightForCurrentSurah(int verse, bool landscape) {
    (void)landscape;
    return getMaxVerseHeightForCurrentSurah(verse);
  }

  virtual void versesViewDidScroll(ui::TableView* table) { (void)table; }
  // A translation pane scrolled: the others follow without echo.
  virtual void translationViewDidScroll(ui::TableView* table, bool isPrimary) { (void)table, (void)isPrimary; }
  // A pane selects a verse through the reading screen, which passes it on.
  virtual void surahHighlightVerse(int verse, bool jumpTo, bool animated, bool forceSelection) {
    (void)verse, (void)jumpTo, (void)animated, (void)forceSelection;
  }
  void surahHighlightVerse(int verse, bool jumpTo) { surahHighlightVerse(verse, jumpTo, true, false); }
  virtual void finishedViewScrolling() {}
  virtual std::optional<ns::Date> lastFloatingWindowPanTime() { return std::nullopt; }
  virtual void resetLastPanTime() {}
  virtual bool isFloatingWindowPanning() { return false; }
  virtual void shouldDisableFloatingWindow(bool wait) { (void)wait; }
  virtual void shouldEnableFloatingWindow() {}

  virtual bool IsShowingNotes() { return false; }
  virtual bool isShowingNoteEditorFor(int surah, int verse) { (void)surah, (void)verse; return false; }
  virtual void showNotesForSurah(int surah, int verse, bool animated, bool landscape, bool becomeFirstResponder,
                                 bool flipUp) {
    (void)surah, (void)verse, (void)animated, (void)landscape, (void)becomeFirstResponder, (void)flipUp;
  }
  void showNotesForSurah(int surah, int verse, bool animated, bool landscape) {
    showNotesForSurah(surah, verse, animated, landscape, false, false);
  }
  virtual void hideNotesWithSave() {}
  virtual void hideNotesWithOutSave() {}
  virtual bool isKeyboardShowing() { return false; }
  virtual void resignKeyboard() {}
  virtual void dismissKeyboard() {}

  // The controller that presents pickers and composers (the root itself).
  virtual ui::ViewController* getViewController() { return nullptr; }
  virtual ui::View* getNavigationViewContainer() { return nullptr; }
  // Brings the surah index column into view (the header's "Suras" button);
  // false where the root has no such column.
  virtual bool showIndexColumn() { return false; }

  // A bar of a tab's screen shown over the bottom bar (batch editing), and hidden.
  virtual void showViewAboveNavBar(std::shared_ptr<ui::View> view, int height) { (void)view, (void)height; }
  virtual void hideViewAboveNavBar(ui::View* view) { (void)view; }

  virtual bool isDownloadAllAudios() { return false; }
  virtual void downloadAudioForSurah(int surah) { (void)surah; }
  virtual void surahDidBeginPlayingAudio() {}
  virtual void surahDidStopPlayingAudio() {}

  // The reading screen as the index sees it; none in a root without one.
  virtual std::shared_ptr<IndexReadingScreen> readingScreenForIndex() { return nullptr; }
};
