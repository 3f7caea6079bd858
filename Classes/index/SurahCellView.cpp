#include "Classes/index/SurahCellView.h"

#include <cmath>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Language.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "Classes/index/IndexTableViewCell.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/TableView.h"

namespace {

const cg::Color kNumberColour = cg::Color::fromRGB255(66, 96, 147);

std::shared_ptr<ui::Label> rowLabel(cg::Rect frame, const ui::Font& font) {
  auto label = std::make_shared<ui::Label>(frame);
  label->setFont(font);
  label->setBackgroundColor(std::nullopt);
  label->setOpaque(false);
  label->setHighlightedTextColor(cg::Color::white());
  return label;
}

}  // namespace

SurahCellView::SurahCellView(cg::Rect frame, int row, bool inArabic, int theme, IndexTableViewCell* cell)
    : IndexViewCell(frame), viewCell(cell), theme(theme), thisFrame(frame), isarabictitle(inArabic) {
  identity_ = 1;
  surahNumber = row;
  setContentMode(ui::ContentMode::Left);
  setAutoresizesSubviews(true);
  setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  setRow(row, true);
  setOpaque(false);
}

void SurahCellView::makeLabels(float w, float h) {
  lblSurahNumLabel = rowLabel(cg::Rect(40, 0, 40, h), ui::Font::fontWithName("Helvetica-Bold", 13));
  lblSurahNumLabel->setTextAlignment(ui::TextAlignment::Left);
  lblSurahNumLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleRightMargin);
  lblSurahNumLabel->setTextColor(kNumberColour);
  lblSurahLabel = rowLabel(cg::Rect(90, 0, w - 140, h), ui::Font::fontWithName("Helvetica-Bold", 14));
  lblSurahLabel->setAdjustsFontSizeToFitWidth(true);
  lblSurahLabel->setMinimumFontSize(11);
  lblSurahLabel->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  lblSurahLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  lblVerseCountLabel = rowLabel(cg::Rect(w - 50, 0, 120, h), ui::Font::fontWithName("Helvetica", 12));
  lblVerseCountLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleWidth);
  lblVerseCountLabel->setTextColor(kNumberColour);
  addSubview(lblSurahNumLabel);
  addSubview(lblSurahLabel);
  addSubview(lblVerseCountLabel);
}

// Every call refreshes: the name layout follows the defaults and the
// interface language as they are now.
void SurahCellView::setRow(int row, bool forceRefresh) {
  (void)forceRefresh;
  float w = bounds().width(), h = bounds().height();
  isarabictitle = ns::UserDefaults::standardUserDefaults().boolForKey(kIndexInArabic);
  surahNumber = row + 1;
  if (!lblSurahNumLabel) makeLabels(w, h);
  lblSurahLabel->setText(ChapterInfo::getNameFromNumber(surahNumber));

  bool arabicInterface = ZarvelSDKAppDelegate::IsLanguageArabic();
  if (!isarabictitle && !arabicInterface) layoutLatin(w, h);
  else layoutArabic(w, h, isarabictitle);

  int verses = ChapterInfo::getVersesFromNumber(surahNumber);
  std::string ayas = Language::get("ayas", "ayas");
  if (arabicInterface) {
    lblSurahNumLabel->setText(ChapterInfo::getArabicNumbersFrom(ns::format("%i", surahNumber)));
    lblVerseCountLabel->setText(ns::format("%s %s", ayas.c_str(),
                                           ChapterInfo::getArabicNumbersFrom(ns::format("%i", verses)).c_str()));
  } else {
    lblSurahNumLabel->setText(ns::format("%i", surahNumber));
    lblVerseCountLabel->setText(ns::format("%i %s", verses, ayas.c_str()));
  }
  updateSoundStatus();
  setNeedsLayout();  // the name's room follows the texts
}

void SurahCellView::layoutLatin(float w, float h) {
  if (imgSurahImage) imgSurahImage->setHidden(true);
  lblSurahLabel->setHidden(false);
  lblSurahLabel->setTextAlignment(ui::TextAlignment::Left);
  lblSurahLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleRightMargin);
  lblSurahNumLabel->setFrame(cg::Rect(52, 0, 40, h));
  lblSurahNumLabel->setTextAlignment(ui::TextAlignment::Left);
  lblSurahNumLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleRightMargin);
  lblVerseCountLabel->setFrame(cg::Rect(w - 128, 0, 120, h));
  lblVerseCountLabel->setTextAlignment(ui::TextAlignment::Right);
  lblVerseCountLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleWidth);
}

// The calligraphic name image, or the name as right-aligned text; the number
// moves to the right and the verse count to the left.
void SurahCellView::layoutArabic(float w, float h, bool calligraphic) {
  if (calligraphic) {
    if (!imgSurahImage) {
      imgSurahImage = std::make_shared<ui::ImageView>(cg::Rect(0, 0, 94, 36));
      imgSurahImage->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
      addSubview(imgSurahImage);
    }
    float x = w - 134 + ChapterInfo::getSurahNameOffsetForAlignment(surahNumber);
    imgSurahImage->setFrame(cg::Rect(x, std::floor((h - 36) / 2), 94, 36));
    imgSurahImage->setImage(ui::Image::imageNamed(ns::format("sname_%i.png", surahNumber)));
    imgSurahImage->setHidden(false);
    lblSurahLabel->setHidden(true);
  } else {
    if (imgSurahImage) imgSurahImage->setHidden(true);
    lblSurahLabel->setHidden(false);
    lblSurahLabel->setTextAlignment(ui::TextAlignment::Right);
    lblSurahLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  }
  lblSurahNumLabel->setFrame(cg::Rect(w - 55, 0, 40, h));
  lblSurahNumLabel->setTextAlignment(ui::TextAlignment::Right);
  lblSurahNumLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  lblVerseCountLabel->setFrame(cg::Rect(53, 0, 120, h));
  lblVerseCountLabel->setTextAlignment(ui::TextAlignment::Left);
  lblVerseCountLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin);
}

// The name takes the room between the number and the verse count, with a
// gap to each, and shrinks (or is cut) rather than run into the count.
void SurahCellView::layoutSubviews() {
  IndexViewCell::layoutSubviews();
  if (!lblSurahLabel || lblSurahLabel->isHidden()) return;
  constexpr float kGap = 8;
  auto textWidth = [](const ui::Label& l) { return ui::sizeWithFont(l.text(), l.font()).width; };
  cg::Rect name = lblSurahLabel->frame(), count = lblVerseCountLabel->frame(), number = lblSurahNumLabel->frame();
  float left, right;
  if (lblSurahLabel->textAlignment() == ui::TextAlignment::Right) {  // count left, number right
    left = count.minX() + std::min(count.width(), textWidth(*lblVerseCountLabel)) + kGap;
    right = number.maxX() - std::min(number.width(), textWidth(*lblSurahNumLabel)) - kGap;
  } else {  // number left, count right
    left = name.minX();
    right = count.maxX() - std::min(count.width(), textWidth(*lblVerseCountLabel)) - kGap;
  }
  lblSurahLabel->setFrame(cg::Rect(left, name.y(), std::max(0.0f, right - left), name.height()));
}

void SurahCellView::updateSoundStatus() {
  isAudioavailable = soundStatusFor(surahNumber);
  ensureSoundButton(bounds().height());
  showSoundStatus(isAudioavailable, lastAudioAvailable);
}

// Plays the surah from its first verse (surahs 1 and 9 have no header row),
// after marking its row.
void SurahCellView::soundButtonPressed() {
  IndexViewCellHost* host = delgate();
  if (!host) return;
  if (ui::TableView* table = host->surahListTable())
    if (auto path = table->indexPathForCell(viewCell)) host->rowDidMakeSelection(path->row, path->section, false);
  int verse = surahNumber == 1 || surahNumber == 9 ? 1 : -1;
  host->showSurahView(this, surahNumber, verse, true);
}

void SurahCellView::setHighlighted(bool highlighted) {
  IndexViewCellHost* host = delgate();
  if (!highlighted && host && !host->ignoreOverridingRowSelection() && !host->isShowingSectionedView() &&
      host->iCurrentlyShowingSurah() == surahNumber)
    highlighted = true;
  lblSurahLabel->setHighlighted(highlighted);
  lblSurahNumLabel->setHighlighted(highlighted);
  lblVerseCountLabel->setHighlighted(highlighted);
  if (imgSurahImage) imgSurahImage->setHighlighted(highlighted);
  if (btnSoundIcon) btnSoundIcon->setHighlighted(false);
}

void SurahCellView::setSelected(bool selected) {
  (void)selected;
  if (btnSoundIcon) btnSoundIcon->setHighlighted(false);
}
