#include "Classes/index/SectionCellView.h"

#include <cmath>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/RegisteredDefaults.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"

namespace {

const cg::Color kQuarterColour = cg::Color::fromRGB255(66, 96, 147);

// Translations whose texts the quarter rows never show.
bool skippedTranslation(int trans) { return trans == 1000 || trans == 21 || trans == 22 || trans == 27 || trans == 38; }

std::string digits(int n) {
  std::string text = ns::format("%i", n);
  return ZarvelSDKAppDelegate::IsLanguageArabic() ? ChapterInfo::getArabicNumbersFrom(text) : text;
}

}  // namespace

int SectionCellView::chosenTranslation() {
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  int trans = int(defaults.integerForKey(kCurrentTranslationPrimary));
  if (trans == 0 || skippedTranslation(trans)) trans = int(defaults.integerForKey(kCurrentTranslationSecondary));
  if (skippedTranslation(trans)) trans = 0;
  return trans;
}

SectionCellView::SectionCellView(cg::Rect frame, int row, int theme)
    : IndexViewCell(frame), theme(theme), thisFrame(frame) {
  identity_ = 1;
  translationObserver = ns::NotificationCenter::defaultCenter().addObserver(
      "TranslationDidChange", [this](const ns::Value&) { refreshFont(); });
  sectionNumber = row;
  setContentMode(ui::ContentMode::Left);
  setAutoresizesSubviews(true);
  setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  iCurrentTranslation = chosenTranslation();
  setRow(row, true);
  setOpaque(false);
}

// Right-to-left texts take an Arabic face, right-aligned.
void SectionCellView::refreshFont() {
  iCurrentTranslation = chosenTranslation();
  if (!lblSurahLabel) return;
  if (ChapterInfo::isTranslationRTL(iCurrentTranslation)) {
    lblSurahLabel->setTextAlignment(ui::TextAlignment::Right);
    lblSurahLabel->setFont(ui::Font::fontWithName("GeezaPro", 16));
  } else {
    lblSurahLabel->setTextAlignment(ui::TextAlignment::Left);
    lblSurahLabel->setFont(ui::Font::fontWithName("Helvetica", 13));
  }
}

std::string SectionCellView::markTitle() const {
  if (opensHizb()) return digits(hezbVal);
  int numerator = hezbnum == 2 ? 1 : hezbnum == 3 ? 1 : 3;
  int denominator = hezbnum == 3 ? 2 : 4;
  return digits(numerator) + "/" + digits(denominator);
}

void SectionCellView::setRow(int row, bool forceRefresh) {
  (void)forceRefresh;
  float w = bounds().width(), h = bounds().height();
  sectionNumber = row + 1;
  if (!lblSurahLabel) {
    lblSurahLabel = std::make_shared<ui::Label>(cg::Rect(55, 0, w - 110, h));
    lblSurahLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
    lblSurahLabel->setBackgroundColor(std::nullopt);
    lblSurahLabel->setOpaque(false);
    lblSurahLabel->setContentMode(ui::ContentMode::Right);
    lblSurahLabel->setLineBreakMode(ui::LineBreakMode::TruncateTail);
    lblSurahLabel->setHighlightedTextColor(cg::Color::white());
    addSubview(lblSurahLabel);
    refreshFont();
    btnSectionIcon = std::make_shared<ui::Button>(cg::Rect(w - 49, std::floor((h - 44) / 2), 44, 44));
    btnSectionIcon->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 11));
    btnSectionIcon->titleLabel()->setTextAlignment(ui::TextAlignment::Center);
    btnSectionIcon->setTitleEdgeInsets(cg::EdgeInsets{0, 2, 0, 0});
    btnSectionIcon->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
    btnSectionIcon->setEnabled(false);
    btnSectionIcon->setAdjustsImageWhenDisabled(false);
    addSubview(btnSectionIcon);
  }
  if (opensHizb()) {
    hezbVal = sectionNumber / 4 + 1;
    btnSectionIcon->setTitleColor(cg::Color::black(), ui::ControlStateDisabled);
    btnSectionIcon->setTitle(markTitle(), ui::ControlStateDisabled);
    if (isSectionedHizb || markIsNew) {
      btnSectionIcon->setBackgroundImage(ui::Image::imageNamed("ipad-index-marks-hezb.png"), ui::ControlStateDisabled);
      isSectionedHizb = false;
    }
  } else {
    hezbnum = sectionNumber % 4;
    btnSectionIcon->setTitle(markTitle(), ui::ControlStateDisabled);
    if (!isSectionedHizb || markIsNew) {
      btnSectionIcon->setTitleColor(kQuarterColour, ui::ControlStateDisabled);
      btnSectionIcon->setBackgroundImage(ui::Image::imageNamed("ipad-index-marks-34.png"), ui::ControlStateDisabled);
      isSectionedHizb = true;
    }
  }
  markIsNew = false;
}

// The art of the lit mark.
void SectionCellView::setNormalImages() {
  if (opensHizb()) {
    for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted}) {
      btnSectionIcon->setTitleColor(cg::Color::black(), state);
      btnSectionIcon->setTitle(markTitle(), state);
    }
    btnSectionIcon->setBackgroundImage(ui::Image::imageNamed("ipad-index-marks-hezb.png"), ui::ControlStateNormal);
    btnSectionIcon->setBackgroundImage(ui::Image::imageNamed("index-marks-hezb-t.png"), ui::ControlStateHighlighted);
  } else {
    btnSectionIcon->setTitleColor(kQuarterColour, ui::ControlStateHighlighted);
    btnSectionIcon->setBackgroundImage(ui::Image::imageNamed("index-marks-34-t.png"), ui::ControlStateHighlighted);
    btnSectionIcon->setTitle(markTitle(), ui::ControlStateHighlighted);
  }
}

void SectionCellView::markActive(bool active) {
  if (active) setNormalImages();
  btnSectionIcon->setEnabled(active);
  btnSectionIcon->setHighlighted(active);
}

void SectionCellView::setSelected(bool selected) {
  if (btnSoundIcon) btnSoundIcon->setHighlighted(false);
  markActive(selected);
}

void SectionCellView::setHighlighted(bool highlighted) {
  lblSurahLabel->setHighlighted(highlighted);
  markActive(highlighted);
  if (btnSoundIcon) btnSoundIcon->setHighlighted(false);
}

void SectionCellView::setIndexMeta(IndexRowMetaPtr meta) {
  if (!meta || meta == thisMeta) return;
  thisMeta = std::move(meta);
  lblSurahLabel->setText(thisMeta->Title);
  isAudioavailable = thisMeta->HasAudioInstalled ? 1 : 0;
  updateSoundStatus();
}

void SectionCellView::updateSoundStatus() {
  if (thisMeta) isAudioavailable = soundStatusFor(thisMeta->Surah);
  ensureSoundButton(bounds().height());
  showSoundStatus(isAudioavailable, PrevSoundInstalled);
  if (thisMeta) thisMeta->HasAudioInstalled = isAudioavailable == 1 || isAudioavailable == 3;
}

// Plays from the quarter's first verse; the selection stays where it is.
void SectionCellView::soundButtonPressed() {
  IndexViewCellHost* host = delgate();
  if (!host || !thisMeta) return;
  host->showSurahView(this, thisMeta->Surah, thisMeta->Verse, true);
}
