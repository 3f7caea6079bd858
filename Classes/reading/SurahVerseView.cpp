#include "Classes/reading/SurahVerseView.h"

#include <algorithm>
#include <cmath>

#include "Classes/core/ArabicVerseMeta.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/TranslationMeta.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/reading/KeptTextLabel.h"
#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/SurahViewController.h"
#include "toolkit/styled/TKStyledTextLabel.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextDrawing.h"

namespace {

bool gColoredTranslation = false;
bool gHideTransInFullScreen = false;

constexpr float kColumnWidth = 60;
const cg::Color kShading = cg::Color::fromRGB255(254, 248, 230);

ui::Font helvetica(float size) { return ui::Font::fontWithName("Helvetica", size); }

// The first y of the verse-number column for the Arabic size setting.
float columnStartY() {
  switch (ZarvelSDKAppDelegate::ArabicFontSize()) {
    case 0: return 7;
    case 1: return 10;
    case 2: return 15;
    case 3: return 17;
    case 4: return 22;
    default: return 10;
  }
}

}  // namespace

float SurahVerseView::translationTextWidth(float rowWidth, bool forTranslationOnly) {
  return forTranslationOnly ? rowWidth - 26 : rowWidth - 80;
}

std::shared_ptr<SurahVerseView> SurahVerseView::create(cg::Rect frame, SurahViewCell* cell, bool forTranslation) {
  auto view = std::make_shared<SurahVerseView>(frame, cell, forTranslation);
  if (view->arabicVerseCanvas) view->arabicVerseCanvas->setDelegate(view);
  return view;
}

SurahVerseView::SurahVerseView(cg::Rect frame, SurahViewCell* cell, bool forTranslation)
    : ui::View(frame), forTranslationOnly(forTranslation), verseCell(cell) {
  setOpaque(false);
  translationObserver_ = ns::NotificationCenter::defaultCenter().addObserver(
      "TranslationDidChange", [this](const ns::Value&) { translationDidChange(); });
  iCurrentTranslation = readTranslationInForce();
  if (iCurrentTranslation != 0) checkColoredTranslation();

  float w = frame.width(), h = frame.height();
  viewBGVerse = std::make_shared<ui::View>(forTranslationOnly ? cg::Rect(0, 0, w, h)
                                                              : cg::Rect(kColumnWidth, 0, w - kColumnWidth, h));
  viewBGVerse->setBackgroundColor(cg::Color::white());
  viewBGVerse->setOpaque(true);
  viewBGVerse->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight |
                                   ui::ViewAutoresizingFlexibleRightMargin);
  addSubview(viewBGVerse);
  initTranslationLabel();
  if (forTranslationOnly) return;

  arabicVerseCanvas = std::make_shared<VerseCanvas>(cg::Rect(0, 0, w, h));
  arabicVerseCanvas->setBackgroundColor(cg::Color::clear());
  arabicVerseCanvas->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  addSubview(arabicVerseCanvas);

  viewIconFloat = std::make_shared<ui::View>(cg::Rect(0, 0, kColumnWidth, h));
  viewIconFloat->setBackgroundColor(cg::Color::clear());
  viewIconFloat->setAutoresizesSubviews(false);
  viewIconFloat->setAutoresizingMask(ui::ViewAutoresizingFlexibleHeight | ui::ViewAutoresizingFlexibleBottomMargin);
  addSubview(viewIconFloat);

  btnAyahNum = makeMarkButton("sura-aya.png", cg::EdgeInsets{0, 1, 0, 0});
  btnAyahNum->setFrame(cg::Rect(std::floor((kColumnWidth - 44) / 2), 0, 44, 44));
  viewIconFloat->addSubview(btnAyahNum);

  cg::Rect b = btnAyahNum->frame();
  imgBookmarkedNote = std::make_shared<ui::ImageView>(
      cg::Rect(b.x() + b.width() - 2, std::floor((b.height() - 20) / 2), 19, 20));
  imgBookmarkedNote->setHidden(true);
  viewIconFloat->addSubview(imgBookmarkedNote);

  viewBorder = std::make_shared<ui::View>(cg::Rect(kColumnWidth, h - 1, w - kColumnWidth, 1));
  viewBorder->setBackgroundColor(cg::Color::fromRGB255(232, 221, 203));
  viewBorder->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleTopMargin);
  viewBorder->setHidden(true);
  addSubview(viewBorder);
}

SurahVerseView::~SurahVerseView() { ayahPressedTimer.invalidate(); }

std::shared_ptr<ui::Button> SurahVerseView::makeMarkButton(const char* image, cg::EdgeInsets insets) {
  auto button = std::make_shared<ui::Button>(cg::Rect(0, 0, 43, 43));
  button->setTitleColor(cg::Color::black(), ui::ControlStateNormal);
  button->setTitleColor(cg::Color::black(), ui::ControlStateDisabled);
  button->setBackgroundImage(ui::Image::imageNamed(image), ui::ControlStateDisabled);
  if (button->titleLabel()) button->titleLabel()->setFont(helvetica(11));
  button->setTitleEdgeInsets(insets);
  button->setEnabled(false);
  button->setAdjustsImageWhenDisabled(false);
  button->setUserInteractionEnabled(false);
  return button;
}

void SurahVerseView::initTranslationLabel() {
  if (lblTranslation) return;
  float w = frame().width();
  lblTranslation = std::make_shared<KeptTextLabel>(forTranslationOnly ? cg::Rect(12, 0, w - 26, 20)
                                                                  : cg::Rect(65, 0, w - 80, 20));
  lblTranslation->setNumberOfLines(0);
  lblTranslation->setFont(helvetica(17));
  lblTranslation->setOpaque(false);
  lblTranslation->setBackgroundColor(cg::Color::clear());
  if (gColoredTranslation)
    lblTranslation->setTextColor(forTranslationOnly ? cg::Color::fromRGB255(15, 29, 63)
                                                    : cg::Color::fromRGB255(123, 78, 0));
  unsigned mask = ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin;
  if (!forTranslationOnly) mask |= ui::ViewAutoresizingFlexibleHeight | ui::ViewAutoresizingFlexibleBottomMargin;
  lblTranslation->setAutoresizingMask(mask);
  static_cast<KeptTextLabel&>(*lblTranslation).setPreparedSource([this](const KeptTextLabel::Key& key) {
    auto controller = verseCell ? verseCell->viewController() : nullptr;
    if (!controller) return std::shared_ptr<cg::Image>();
    auto bitmap = controller->preparedRows().takeText(key);
    if (!bitmap) controller->scheduleRowsAhead();
    return bitmap;
  });
  addSubview(lblTranslation);
}

void SurahVerseView::checkColoredTranslation() {
  auto& d = ns::UserDefaults::standardUserDefaults();
  gColoredTranslation = d.boolForKey("ColoredTranslation");
  gHideTransInFullScreen = d.boolForKey("HideTransInFullScreen");
}

int SurahVerseView::readTranslationInForce() const {
  auto controller = verseCell ? verseCell->viewController() : nullptr;
  auto* root = controller ? controller->ipaddelegate() : nullptr;
  bool expanded = !root || root->isFloatingViewExpanded();
  auto& d = ns::UserDefaults::standardUserDefaults();
  if (!expanded || d.boolForKey("HideTransInFullScreen")) return 0;
  int t = int(d.integerForKey("CurrentTranslationPrimary"));
  return t != 0 ? t : int(d.integerForKey("CurrentTranslationSecondary"));
}

int SurahVerseView::recordVerse() const {
  if (ThisVerseType == 0) return ArabicMetaData ? ArabicMetaData->ThisVerse() : 0;
  if (ThisVerseType == 1) return TranslationMetaData ? TranslationMetaData->ThisVerse() : 0;
  return 0;
}

int SurahVerseView::recordSurah() const {
  if (ThisVerseType == 0) return ArabicMetaData ? ArabicMetaData->ThisSurah() : 0;
  if (ThisVerseType == 1) return TranslationMetaData ? TranslationMetaData->ThisSurah() : 0;
  return 0;
}

std::string SurahVerseView::numberText(int n) const {
  std::string text = std::to_string(n);
  return ZarvelSDKAppDelegate::IsLanguageArabic() ? ChapterInfo::getArabicNumbersFrom(text) : text;
}

void SurahVerseView::setStateBit(unsigned bit, bool on) {
  if (bool(ThisVerseState & bit) == on) return;
  if (on) ThisVerseState |= bit;
  else ThisVerseState &= ~bit;
  updateVerseBG();
}

void SurahVerseView::setArabicMetaData(std::shared_ptr<ArabicVerseMeta> meta) {
  if (meta != ArabicMetaData) verseBitmap_.reset();
  ThisVerseType = 0;
  ArabicMetaData = std::move(meta);
  maxVersesInSurah = ChapterInfo::getVersesFromNumber(recordSurah());
  refreshView();
  updateVerseBG();
}

void SurahVerseView::setTranslationMetaData(std::shared_ptr<TranslationMeta> meta) {
  ThisVerseType = 1;
  TranslationMetaData = std::move(meta);
  maxVersesInSurah = ChapterInfo::getVersesFromNumber(recordSurah());
  auto controller = verseCell ? verseCell->viewController() : nullptr;
  auto* root = controller ? controller->ipaddelegate() : nullptr;
  if (!root || root->isFloatingViewExpanded()) refreshView();
  updateVerseBG();
}

void SurahVerseView::refreshView() {
  if (isRefreshing) return;
  isRefreshing = true;
  ThisVerseState &= ~VerseRowSelected;
  auto controller = verseCell ? verseCell->viewController() : nullptr;
  IsLandscape = controller && controller->IsInLandscape();
  if (ThisVerseType == 1) refreshTranslationRow();
  else refreshArabicRow();
  isRefreshing = false;
}

void SurahVerseView::refreshTranslationRow() {
  refreshBookmarked();
  auto controller = verseCell ? verseCell->viewController() : nullptr;
  auto* root = controller ? controller->ipaddelegate() : nullptr;
  bool expanded = !root || root->isFloatingViewExpanded();
  float p = 0;
  if (forTranslationOnly) {
    static const float kPads[] = {3, 5, 8, 10, 15};
    int s = ZarvelSDKAppDelegate::ArabicFontSize();
    p = s >= 0 && s <= 4 ? kPads[s] : 0;
  }
  if (arabicVerseCanvas) arabicVerseCanvas->setHidden(true);
  lblTranslation->setText("");
  if (lblTransliteration) lblTransliteration->setHtml("");
  int translator = TranslationMetaData ? TranslationMetaData->ThisTranslator() : 0;
  float W = frame().width(), B = bounds().height();

  if (translator == 10) {
    if (!lblTransliteration) {
      lblTransliteration = std::make_shared<TKStyledTextLabel>(
          forTranslationOnly ? cg::Rect(12, 4, W - 26, frame().height() - 4) : cg::Rect(65, 0, W - 80, frame().height()));
      lblTransliteration->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth |
                                              ui::ViewAutoresizingFlexibleHeight |
                                              ui::ViewAutoresizingFlexibleRightMargin);
      lblTransliteration->setBackgroundColor(cg::Color::clear());
      lblTransliteration->setContentMode(ui::ContentMode::Left);
      lblTransliteration->setFont(helvetica(15));
      if (gColoredTranslation) lblTransliteration->setTextColor(cg::Color::fromRGB255(13, 28, 64));
      addSubview(lblTransliteration);
    }
    lblTransliteration->setHidden(false);
    lblTranslation->setHidden(true);
  } else {
    lblTranslation->setHidden(!TranslationMetaData);
    if (lblTransliteration) lblTransliteration->setHidden(true);
  }
  for (auto* b : {btnSajda.get(), btnJuzHizb.get(), btnHizb.get(), btnAyahNum.get()})
    if (b) b->setHidden(true);

  const std::string text = TranslationMetaData ? TranslationMetaData->Translation() : std::string();
  bool rtl = translator != 1000 ? ChapterInfo::isTranslationRTL(translator) : ChapterInfo::isTextRTL(text);
  lblTranslation->setTextAlignment(rtl ? ui::TextAlignment::Right : ui::TextAlignment::Left);

  if (translator != 0 && TranslationMetaData) {
    // The text's height at the width the label has, as the table measured the row.
    float H = float(TranslationMetaData->heightForWidth(translationTextWidth(W, forTranslationOnly)));
    if (H < 0) H = 0;
    bool blank = forTranslationOnly && expanded;
    if (translator == 10) {
      lblTransliteration->setHtml(blank ? "" : text);
    } else {
      if (translator == 1000) {
        initAddNoteView();
        if (expanded && viewAddNoteNotice) {
          viewAddNoteNotice->setAlpha(0);
          viewAddNoteNotice->setUserInteractionEnabled(false);
        }
      }
      lblTranslation->setFont(helvetica(float(TranslationMetaData->getFontSize())));
      lblTranslation->setText(blank ? "" : text);
    }
    // In a pane the label is as tall as its text (the row may be taller, for a
    // longer text in the other pane); inline it fills its row, which is as
    // tall as its text. Never past the row's bottom.
    float y = p;
    if (forTranslationOnly && translator == 10) y = p + 4;
    if (forTranslationOnly && translator == 1000) y = p + 5;
    float h = forTranslationOnly && translator != 10 ? std::min(H, B - y) : B - y;
    ui::View* shown = translator == 10 ? static_cast<ui::View*>(lblTransliteration.get()) : lblTranslation.get();
    shown->setFrame(cg::Rect(forTranslationOnly ? 12 : 65, y, translationTextWidth(W, forTranslationOnly),
                             std::max(0.0f, h)));
  }
  if (viewBorder) {
    if (TranslationMetaData && TranslationMetaData->ThisVerse() != maxVersesInSurah) viewBorder->setHidden(false);
    else viewBorder->setHidden(TranslationMetaData && !text.empty());
  }
}

void SurahVerseView::refreshArabicRow() {
  lblTranslation->setHidden(true);
  if (lblTransliteration) lblTransliteration->setHidden(true);
  if (arabicVerseCanvas) arabicVerseCanvas->setHidden(false);
  auto controller = verseCell ? verseCell->viewController() : nullptr;
  auto* root = controller ? controller->ipaddelegate() : nullptr;
  bool expanded = !root || root->isFloatingViewExpanded();
  if (recordVerse() != 0) {
    updateVerseNumberColumn();
    forceLoadArabicVerse();
    auto& d = ns::UserDefaults::standardUserDefaults();
    int t = 0;
    if (expanded && !gHideTransInFullScreen) {
      t = int(d.integerForKey("CurrentTranslationPrimary"));
      if (t == 0) t = int(d.integerForKey("CurrentTranslationSecondary"));
    }
    iCurrentTranslation = t;
    if (viewBorder) viewBorder->setHidden(expanded && !gHideTransInFullScreen && iCurrentTranslation != 0);
  } else {
    for (auto* b : {btnSajda.get(), btnJuzHizb.get(), btnHizb.get(), btnAyahNum.get()})
      if (b) b->setHidden(true);
    if (imgBookmarkedNote) imgBookmarkedNote->setHidden(true);
    ThisVerseState &= ~(VerseRowBookmarked | VerseRowReflectedSearch);
    refreshBookmarked();
    if (arabicVerseCanvas) {
      arabicVerseCanvas->setAlpha(1);
      arabicVerseCanvas->setNeedsDisplay();
    }
    if (viewBorder) viewBorder->setHidden(true);
  }
}

void SurahVerseView::updateVerseNumberColumn() {
  if (ThisVerseType != 0 || !viewIconFloat) {
    maxAyahColumnHeight = 0;
    for (auto* b : {btnSajda.get(), btnJuzHizb.get(), btnHizb.get(), btnAyahNum.get()})
      if (b) b->setHidden(true);
    return;
  }
  for (auto* b : {btnSajda.get(), btnJuzHizb.get(), btnHizb.get()})
    if (b) b->setHidden(true);
  cg::Rect column = viewIconFloat->frame();
  viewIconFloat->setFrame(cg::Rect(column.x(), 0, column.width(), column.height()));
  int surah = recordSurah(), verse = recordVerse();
  float y = columnStartY();
  float x = std::floor((kColumnWidth - 43) / 2);
  if (ChapterInfo::isJuz(surah, verse)) {
    if (!btnJuzHizb) {
      btnJuzHizb = makeMarkButton("sura-marks-juz.png", cg::EdgeInsets{23, 1, 0, 0});
      viewIconFloat->addSubview(btnJuzHizb);
    }
    btnJuzHizb->setFrame(cg::Rect(x, y, 43, 43));
    btnJuzHizb->setHidden(false);
    btnJuzHizb->setTitle(numberText(ChapterInfo::juzFrom(surah, verse)), ui::ControlStateNormal);
    y += 45;
  } else if (ChapterInfo::isSajda(surah, verse)) {
    if (!btnSajda) {
      btnSajda = makeMarkButton("sura-marks-sajda.png", cg::EdgeInsets{});
      viewIconFloat->addSubview(btnSajda);
    }
    btnSajda->setFrame(cg::Rect(x, y, 43, 43));
    btnSajda->setHidden(false);
    y += 45;
  }
  if (ChapterInfo::isHizb(surah, verse)) {
    auto app = ZarvelSDKAppDelegate::GetInstance();
    int q = app ? ChapterInfo::hezbFromSurah(app->dbConnectionStatic(), surah, verse) : 0;
    if (!btnHizb) {
      btnHizb = makeMarkButton("sura-marks-hezb.png", cg::EdgeInsets{});
      viewIconFloat->addSubview(btnHizb);
    }
    static const char* kQuarterImages[] = {"sura-marks-34.png", "sura-marks-hezb.png", "sura-marks-14.png",
                                           "sura-marks-12.png"};
    btnHizb->setBackgroundImage(ui::Image::imageNamed(kQuarterImages[((q % 4) + 4) % 4]), ui::ControlStateDisabled);
    btnHizb->setFrame(cg::Rect(x, y, 43, 43));
    btnHizb->setHidden(false);
    btnHizb->setTitle(numberText(q <= 1 ? 1 : (q - 1) / 4 + 1), ui::ControlStateNormal);
    y += 43;
  }
  refreshBookmarked();
  bool search = verseCell && verseCell->isReflectingSearch(verse);
  const char* image = isBookmarked() && search ? "sura-aya-search-marked.png"
                      : isBookmarked()         ? "sura-aya-bookmark.png"
                      : search                 ? "sura-aya-search.png"
                                               : "sura-aya.png";
  btnAyahNum->setBackgroundImage(ui::Image::imageNamed(image), ui::ControlStateDisabled);
  btnAyahNum->setFrame(cg::Rect(std::floor((kColumnWidth - 44) / 2), y, 44, 44));
  cg::Rect b = btnAyahNum->frame();
  imgBookmarkedNote->setFrame(cg::Rect(b.x() + b.width() - 2, b.y() + std::floor((b.height() - 20) / 2), 19, 20));
  btnAyahNum->setTitle(numberText(verse), ui::ControlStateNormal);
  btnAyahNum->setHidden(false);
  maxAyahColumnHeight = int(y + 44);
}

void SurahVerseView::updateVerseBG() {
  int v = recordVerse(), s = recordSurah();
  auto controller = verseCell ? verseCell->viewController() : nullptr;
  auto* root = controller ? controller->ipaddelegate() : nullptr;
  bool expanded = !root || root->isFloatingViewExpanded();
  if (forTranslationOnly && viewAddNoteNotice && viewAddNoteNotice->alpha() != 0) viewAddNoteNotice->setAlpha(0);
  bool content = true;
  int translator = TranslationMetaData ? TranslationMetaData->ThisTranslator() : 0;
  if (forTranslationOnly && translator == 0 && root) {
    content = IsPrimaryTranslation ? root->isSecondaryTranslationVisible() && !root->isSecondaryTranslationNone()
                                   : !root->isPrimaryTranslationNone();
  }
  bool pane = forTranslationOnly;
  std::optional<cg::Color> color;
  if (isPlaying() && isBookmarked()) {
    color = pane ? cg::Color::fromRGB255(204, 228, 255) : cg::Color::fromRGB255(255, 230, 128);
  } else if (isPlaying()) {
    color = pane ? cg::Color::fromRGB255(226, 236, 249, 0.4f) : cg::Color::fromRGB255(223, 255, 199, 0.6f);
  } else if (isSelected() && v != 0) {
    if (isBookmarked()) color = pane ? cg::Color::fromRGB255(204, 228, 255) : cg::Color::fromRGB255(255, 239, 151);
    else color = pane ? cg::Color::fromRGB255(226, 236, 249) : cg::Color::fromRGB255(245, 235, 215);
    if (translator == 1000 && ThisVerseType == 1 && !expanded && TranslationMetaData &&
        TranslationMetaData->Translation().empty()) {
      initAddNoteView();
      viewAddNoteNotice->setAlpha(1);
    }
  } else if (isSelected()) {
    color = cg::Color::clear();
  } else if (isBookmarked()) {
    color = pane ? cg::Color::fromRGB255(204, 228, 255) : cg::Color::fromRGB255(255, 239, 151);
  } else {
    bool oddSurah = s == 1 || s == 9;
    bool shaded = v >= 1 && (oddSurah ? v % 2 == 1 : v % 2 == 0) && !(ThisVerseType == 1 && !expanded);
    color = shaded ? kShading : cg::Color::clear();
  }
  if ((forTranslationOnly && expanded) || !content) color = cg::Color::clear();
  viewBGVerse->setBackgroundColor(color);
  if (imgBookmarkedNote) {
    bool note = ThisVerseType == 0 && isBookmarked() && verseCell && verseCell->verseHasNote(v);
    if (note) imgBookmarkedNote->setImage(ui::Image::imageNamed("ipad-note-little.png"));
    imgBookmarkedNote->setHidden(!note);
  }
}

void SurahVerseView::initAddNoteView() {
  if (!viewAddNoteNotice) {
    viewAddNoteNotice = std::make_shared<ui::View>(bounds());
    viewAddNoteNotice->setBackgroundColor(cg::Color::clear());
    viewAddNoteNotice->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
    viewAddNoteNotice->setAlpha(0);
    viewAddNoteNotice->setUserInteractionEnabled(false);
    addSubview(viewAddNoteNotice);
  }
  std::string text = Language::get("Add a note", "Add a note");
  float textWidth = ui::sizeWithFont(text, helvetica(13), cg::Size{200, 100}, ui::LineBreakMode::Clip).width;
  cg::Rect n = viewAddNoteNotice->bounds();
  float x0 = std::floor((n.width() - 16 - textWidth - 4) / 2), y0 = std::floor((n.height() - 16) / 2);
  for (auto sub : std::vector<std::shared_ptr<ui::View>>(viewAddNoteNotice->subviews())) sub->removeFromSuperview();
  auto icon = std::make_shared<ui::ImageView>(cg::Rect(x0, y0, 16, 16));
  icon->setImage(ui::Image::imageNamed("ipad-translation-note-icon.png"));
  viewAddNoteNotice->addSubview(icon);
  auto label = std::make_shared<ui::Label>(cg::Rect(x0 + 20, y0 - 2, 100, 20));
  label->setNumberOfLines(1);
  label->setFont(helvetica(13));
  label->setTextColor(cg::Color::fromRGB255(121, 134, 165));
  label->setBackgroundColor(cg::Color::clear());
  label->setText(text);
  viewAddNoteNotice->addSubview(label);
}

void SurahVerseView::forceLoadArabicVerse() {
  int verse = recordVerse();
  if (verse < 1) {
    if (arabicVerseCanvas) arabicVerseCanvas->setHidden(true);
    return;
  }
  if (!arabicVerseCanvas) return;
  arabicVerseCanvas->setNeedsDisplay();
  if (arabicVerseCanvas->alpha() != 1) arabicVerseCanvas->setAlpha(1);
}

void SurahVerseView::refreshBookmarked() {
  int verse = ThisVerseType == 0 ? recordVerse() : 0;
  if (ThisVerseType == 1) verse = recordVerse();
  setIsBookmarked(verse > 0 && verseCell && verseCell->isVerseBookmarked(verse));
}

void SurahVerseView::translationDidChange() {
  int t = readTranslationInForce();
  iCurrentTranslation = t;
  if (t == 0) return;
  checkColoredTranslation();
  if (gColoredTranslation) {
    lblTranslation->setTextColor(forTranslationOnly ? cg::Color::fromRGB255(15, 29, 63)
                                                    : cg::Color::fromRGB255(123, 78, 0));
    if (lblTransliteration) lblTransliteration->setTextColor(cg::Color::fromRGB255(123, 78, 0));
  } else {
    lblTranslation->setTextColor(cg::Color::black());
    if (lblTransliteration) lblTransliteration->setTextColor(cg::Color::black());
  }
}

void SurahVerseView::containedViewDidScroll(ui::TableView& table) {
  if (ThisVerseType != 0 || !viewIconFloat) return;
  cg::Rect r = convertRectToView(bounds(), &table);
  float o = table.contentOffset().y;
  cg::Rect column = viewIconFloat->frame();
  float y = 0;
  if (o > r.y() && r.height() > 65) {
    if (r.height() > o - r.y() + float(maxAyahColumnHeight)) y = o - r.y();
    else y = r.height() - float(maxAyahColumnHeight);
  }
  viewIconFloat->setFrame(cg::Rect(column.x(), y, column.width(), column.height()));
}

KeptTextLabel* SurahVerseView::keptTranslationLabel() const {
  return dynamic_cast<KeptTextLabel*>(lblTranslation.get());
}

std::shared_ptr<cg::Image> SurahVerseView::verseBitmapAt(float scale) {
  auto controller = verseCell ? verseCell->viewController() : nullptr;
  int verse = recordVerse();
  if (!controller || ThisVerseType != 0 || verse == 0 || !ArabicMetaData || !arabicVerseCanvas) return nullptr;
  auto font = controller->fontLoader();
  if (!font) return nullptr;
  const ns::Data& bytes = ArabicMetaData->VerseData();
  if (bytes.size() == 0) return nullptr;
  // The laid-out verse is kept as a bitmap while the row shows it at this
  // size: a scroll redraws the row every frame, the layout need not be.
  cg::Rect b = arabicVerseCanvas->bounds();
  PreparedRows::VerseKey key{ArabicMetaData.get(), font.get(), b.width(), b.height(), scale};
  if (verseBitmap_ && verseBitmapKey_ == key) return verseBitmap_;
  verseBitmap_ = controller->preparedRows().takeVerse(key);
  if (!verseBitmap_) {
    controller->scheduleRowsAhead();
    cg::Context bitmap = cg::Context::bitmap(b.width(), b.height(), scale);
    bool last = verse == ChapterInfo::getVersesFromNumber(ArabicMetaData->ThisSurah());
    font->DrawVerseImageFromBytes(bitmap, verse, last, &bytes, 0, int(bytes.size()) - 1, int(b.width() - 10),
                                  int(b.width() - 70));
    verseBitmap_ = bitmap.makeImage();
  }
  verseBitmapKey_ = key;
  return verseBitmap_;
}

void SurahVerseView::prepareBitmaps(float scale, int row, PreparedRows& store) {
  std::shared_ptr<cg::Image> bitmap;
  KeptTextLabel* label = keptTranslationLabel();
  if (ThisVerseType == 0) {
    if ((bitmap = verseBitmapAt(scale))) store.keepVerse(row, verseBitmapKey_, bitmap);
  } else if (label && !label->isHidden()) {
    if ((bitmap = label->bitmapAt(scale))) store.keepText(row, label->keyAt(scale), bitmap);
  }
  if (!bitmap) store.keepNothing(row);
  dropBitmaps();
}

void SurahVerseView::dropBitmaps() {
  verseBitmap_.reset();
  if (KeptTextLabel* label = keptTranslationLabel()) label->dropBitmap();
}

bool SurahVerseView::keepsBitmaps() const {
  KeptTextLabel* label = keptTranslationLabel();
  return verseBitmap_ || (label && label->keepsBitmap());
}

void SurahVerseView::drawArabicVerseInCanvas(cg::Context& context, VerseCanvas& canvas) {
  if (ThisVerseType != 0) return;
  auto controller = verseCell ? verseCell->viewController() : nullptr;
  if (!controller) return;
  cg::Rect b = canvas.bounds();
  if (recordVerse() != 0 && ArabicMetaData) {
    if (auto bitmap = verseBitmapAt(context.scale())) context.drawImage(*bitmap, cg::Rect(0, 0, b.width(), b.height()));
    return;
  }
  int surah = controller->iCurrentSurah();
  auto image = ui::Image::imageNamed(surah == 95 || surah == 97 ? "bismillah2.png" : "bismillah.png");
  if (!image) return;
  cg::Size size = image->size();
  auto* root = controller->ipaddelegate();
  float x = (b.width() - size.width) / 2 + (root && !root->isFloatingViewExpanded() ? 40 : 0);
  image->drawInRect(context, cg::Rect(std::floor(x), std::floor((b.height() - size.height) / 2), size.width, size.height));
}

// A press held still for 0.55 s asks for the verse's options.
void SurahVerseView::touchesBegan(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesBegan(touches, event);
  if (touches.empty()) return;
  beginLocation = touches.front()->locationInView(nullptr);
  ayahPressedTimer.invalidate();
  ayahPressedTimer = ns::RunLoop::main().scheduleTimer(0.55, false, [this] { showAyahOptions(); });
}

void SurahVerseView::touchesMoved(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesMoved(touches, event);
  if (touches.empty()) return;
  cg::Point p = touches.front()->locationInView(nullptr);
  if (std::fabs(p.x - beginLocation.x) >= 5 || std::fabs(p.y - beginLocation.y) >= 5) ayahPressedTimer.invalidate();
}

void SurahVerseView::touchesEnded(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesEnded(touches, event);
  ayahPressedTimer.invalidate();
}

void SurahVerseView::touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) {
  ui::View::touchesCancelled(touches, event);
  ayahPressedTimer.invalidate();
}

void SurahVerseView::showAyahOptions() {
  ayahPressedTimer.invalidate();
  int verse = recordVerse(), surah = recordSurah();
  if (verse > 0 && verseCell) verseCell->requestSelectionAndShowDial(*this, verse, surah);
}
