#pragma once
// One row of the reading table: an Arabic row (the verse drawn through a
// canvas by the shared glyph renderer, with the verse-number column and its
// juz, hizb and prostration marks) or a translation row (a translation, the
// transliteration or the reader's note). The background shows the row's
// state; a long press asks for the verse options. Main thread only.
#include <memory>

#include "Classes/glyphs/VerseCanvas.h"
#include "Classes/reading/PreparedRows.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/View.h"

class ArabicFont;
namespace cg {
class Image;
}
class ArabicVerseMeta;
class KeptTextLabel;
class SurahViewCell;
class TranslationLabel;
class TranslationMeta;
class TKStyledTextLabel;
namespace ui {
class Button;
class ImageView;
class Label;
class TableView;
}  // namespace ui

enum VerseRowState : unsigned {
  VerseRowSelected = 0x1,
  VerseRowPlaying = 0x2,
  VerseRowBookmarked = 0x8,
  VerseRowReflectedSearch = 0x10,
};

class SurahVerseView : public ui::View, public VerseCanvasDelegate {
 public:
  // initWithFrame:withCell:forTranslation: (the canvas needs the view shared,
  // so construction goes through here).
  static std::shared_ptr<SurahVerseView> create(cg::Rect frame, SurahViewCell* cell, bool forTranslation);
  SurahVerseView(cg::Rect frame, SurahViewCell* cell, bool forTranslation);
  ~SurahVerseView() override;

  // The width a translation row's text takes in a row of this width: a pane's
  // row (`forTranslationOnly`) or a row of the reading table.
  static float translationTextWidth(float rowWidth, bool forTranslationOnly);

  void setArabicMetaData(std::shared_ptr<ArabicVerseMeta> meta);
  void setTranslationMetaData(std::shared_ptr<TranslationMeta> meta);
  void refreshView();
  void updateVerseNumberColumn();
  void updateVerseBG();
  void forceLoadArabicVerse();
  void containedViewDidScroll(ui::TableView& table);
  void refreshBookmarked();
  void translationDidChange();
  void showAyahOptions();
  void drawArabicVerseInCanvas(cg::Context& context, VerseCanvas& canvas) override;
  static void checkColoredTranslation();

  // Draws the row's verse or translation bitmap at the scale, as the row
  // would on screen, into the store for the row ahead, keeping none itself.
  void prepareBitmaps(float scale, int row, PreparedRows& store);
  // Lets the kept bitmaps go (the row has left the screen).
  void dropBitmaps();
  // Whether the row keeps a verse or text bitmap.
  bool keepsBitmaps() const;

  bool isSelected() const { return ThisVerseState & VerseRowSelected; }
  bool isPlaying() const { return ThisVerseState & VerseRowPlaying; }
  bool isBookmarked() const { return ThisVerseState & VerseRowBookmarked; }
  bool isReflectedSearch() const { return ThisVerseState & VerseRowReflectedSearch; }
  void setIsSelected(bool on) { setStateBit(VerseRowSelected, on); }
  void setIsPlaying(bool on) { setStateBit(VerseRowPlaying, on); }
  void setIsBookmarked(bool on) { setStateBit(VerseRowBookmarked, on); }
  void setIsReflectedSearch(bool on) { setStateBit(VerseRowReflectedSearch, on); }
  void setIsLastPlaying(bool) {}
  bool isLastPlaying() const { return false; }

  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;

  unsigned ThisVerseType = 0;  // 0 Arabic row, 1 translation row
  unsigned ThisVerseState = 0;
  bool forTranslationOnly = false;
  bool IsLandscape = false;
  bool IsPrimaryTranslation = false;
  int iCurrentTranslation = 0;
  int maxVersesInSurah = 0;
  int maxAyahColumnHeight = 0;

  std::shared_ptr<ui::View> viewBGVerse;
  std::shared_ptr<ui::Label> lblTranslation;
  std::shared_ptr<TKStyledTextLabel> lblTransliteration;
  std::shared_ptr<VerseCanvas> arabicVerseCanvas;
  std::shared_ptr<ui::ImageView> imgBookmarkedNote;
  std::shared_ptr<ui::View> viewIconFloat;
  std::shared_ptr<ui::Button> btnSajda, btnJuzHizb, btnHizb, btnAyahNum;
  std::shared_ptr<ui::View> viewBorder;
  std::shared_ptr<ui::View> viewAddNoteNotice;
  std::shared_ptr<ArabicVerseMeta> ArabicMetaData;
  std::shared_ptr<TranslationMeta> TranslationMetaData;

 private:
  void setStateBit(unsigned bit, bool on);
  void initTranslationLabel();
  void initAddNoteView();
  void refreshTranslationRow();
  void refreshArabicRow();
  int recordVerse() const;
  int recordSurah() const;
  int readTranslationInForce() const;
  std::shared_ptr<ui::Button> makeMarkButton(const char* image, cg::EdgeInsets insets);
  std::string numberText(int n) const;

  SurahViewCell* verseCell = nullptr;  // the cell owns the view
  bool isRefreshing = false;
  ns::Timer ayahPressedTimer;
  cg::Point beginLocation;
  bool pressing = false;
  ns::Observer translationObserver_;
  // The verse bitmap at the canvas's size and the scale: kept, prepared
  // ahead or drawn now; null for a row without a verse.
  std::shared_ptr<cg::Image> verseBitmapAt(float scale);
  KeptTextLabel* keptTranslationLabel() const;

  std::shared_ptr<cg::Image> verseBitmap_;
  PreparedRows::VerseKey verseBitmapKey_;
};
