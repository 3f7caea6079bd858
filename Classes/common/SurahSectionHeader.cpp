#include "Classes/common/SurahSectionHeader.h"

#include <cmath>
#include <numbers>

#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"

namespace {

const cg::Color kNumberColour = cg::Color::fromRGB255(75, 109, 148);
const cg::Color kCountColour = cg::Color::fromRGB255(35, 74, 118);

std::shared_ptr<ui::Label> headerLabel(cg::Rect frame) {
  auto label = std::make_shared<ui::Label>(frame);
  label->setTextAlignment(ui::TextAlignment::Left);
  label->setBackgroundColor(cg::Color::clear());
  label->setFont(ui::Font::fontWithName("Helvetica-Bold", 13));
  label->setAutoresizingMask(ui::ViewAutoresizingFlexibleRightMargin);
  label->setHighlightedTextColor(cg::Color::white());
  return label;
}

void place(ui::View& view, cg::Rect frame, unsigned margin) {
  view.setFrame(frame);
  view.setAutoresizingMask(margin);
}

}  // namespace

void SurahSectionHeader::make(ui::View& content, cg::Size size, bool withCounter, const Metrics& m,
                              std::function<void()> onFold) {
  float W = size.width, H = size.height;
  btnCollapse = std::make_shared<ui::Button>(cg::Rect(0, 0, 320, 44));
  btnCollapse->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  btnCollapse->setBackgroundImage(screens::stretchedImage("ipad-search-bookmark-partition.png", 143, 0),
                                  ui::ControlStateNormal);
  btnCollapse->setBackgroundImage(screens::stretchedImage("ipad-search-bookmark-partition-t.png", 143, 0),
                                  ui::ControlStateHighlighted);
  btnCollapse->addTarget(this, [fold = std::move(onFold)](ui::Control&) { fold(); }, ui::ControlEventTouchUpInside);
  content.addSubview(btnCollapse);

  lblSurahNumLabel = headerLabel(cg::Rect(55, 0, 40, H));
  lblSurahNumLabel->setTextColor(kNumberColour);
  content.addSubview(lblSurahNumLabel);

  if (withCounter) {
    btnVerseCounter = std::make_shared<ui::Button>(cg::Rect(W - 84, 1, 35, 43));
    btnVerseCounter->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 13));
    btnVerseCounter->setTitleEdgeInsets(cg::EdgeInsets{0, 0, 1, 0});
    btnVerseCounter->setUserInteractionEnabled(false);
    btnVerseCounter->setEnabled(false);
    btnVerseCounter->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
    btnVerseCounter->setBackgroundImage(ui::Image::imageNamed("ipad-bookmark-count.png"), ui::ControlStateDisabled);
    btnVerseCounter->setTitleColor(kCountColour, ui::ControlStateDisabled);
    screens::centreTitleAcrossButton(*btnVerseCounter);
    content.addSubview(btnVerseCounter);
  }

  imgSurahLabel = std::make_shared<ui::ImageView>(cg::Rect(W - m.imageInset, std::trunc((H - 36) / 2), 94, 36));
  imgSurahLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  content.addSubview(imgSurahLabel);

  lblEngSurahLabel = headerLabel(cg::Rect(83, 0, W - 99, H));
  content.addSubview(lblEngSurahLabel);

  imgCollapseArrow = std::make_shared<ui::ImageView>(cg::Rect(0, 0, 44, 44));
  imgCollapseArrow->setImage(ui::Image::imageNamed("ipad-bookmarks-arrow.png"));
  content.addSubview(imgCollapseArrow);
}

void SurahSectionHeader::layout(int surah, int count, bool folded, cg::Size size, const Metrics& m) {
  if (!isMade()) return;
  float W = size.width, H = size.height;
  bool calligraphic = ns::UserDefaults::standardUserDefaults().boolForKey("IndexInArabic");
  bool arabic = ZarvelSDKAppDelegate::IsLanguageArabic();
  if (btnVerseCounter) btnVerseCounter->setTitle(screens::numberText(count), ui::ControlStateDisabled);
  lblSurahNumLabel->setText(screens::numberText(surah));

  const unsigned left = ui::ViewAutoresizingFlexibleLeftMargin, right = ui::ViewAutoresizingFlexibleRightMargin;
  if (calligraphic || arabic) {
    // The right-to-left arrangement: the badge at the left, the number at the right edge.
    if (btnVerseCounter) place(*btnVerseCounter, cg::Rect(45, 1, 35, 43), right);
    place(*lblSurahNumLabel, cg::Rect(W - m.rtlNumberInset, 0, 40, H), left);
    lblSurahNumLabel->setTextAlignment(ui::TextAlignment::Right);
  } else {
    if (btnVerseCounter) place(*btnVerseCounter, cg::Rect(W - m.ltrBadgeInset, 1, 35, 43), left);
    place(*lblSurahNumLabel, cg::Rect(55, 0, 40, H), right);
    lblSurahNumLabel->setTextAlignment(ui::TextAlignment::Left);
  }
  imgSurahLabel->setHidden(!calligraphic);
  lblEngSurahLabel->setHidden(calligraphic);
  if (calligraphic) {
    imgSurahLabel->setImage(ui::Image::imageNamed(ns::format("sname_%i.png", surah)));
    imgSurahLabel->setFrame(cg::Rect(W - m.rtlImageInset + float(ChapterInfo::getSurahNameOffsetForAlignment(surah)),
                                     std::trunc((H - 36) / 2), 94, 36));
  } else {
    lblEngSurahLabel->setText(ChapterInfo::getNameFromNumber(surah));
    if (arabic) {
      place(*lblEngSurahLabel, cg::Rect(83, 0, W - m.arabicNameInset, H), left);
      lblEngSurahLabel->setTextAlignment(ui::TextAlignment::Right);
    } else {
      place(*lblEngSurahLabel, cg::Rect(83, 0, W - 99, H), right);
      lblEngSurahLabel->setTextAlignment(ui::TextAlignment::Left);
    }
  }
  turnArrow(folded);
}

void SurahSectionHeader::turnArrow(bool folded) {
  if (!imgCollapseArrow) return;
  imgCollapseArrow->setTransform(cg::AffineTransform());
  if (folded) imgCollapseArrow->setTransform(cg::AffineTransform::rotation(float(-std::numbers::pi / 2)));
}

void SurahSectionHeader::setHidden(bool hidden) {
  if (!isMade()) return;
  for (ui::View* v : std::initializer_list<ui::View*>{btnCollapse.get(), imgCollapseArrow.get(),
                                                       lblSurahNumLabel.get(), btnVerseCounter.get()})
    if (v) v->setHidden(hidden);
  if (hidden) {
    imgSurahLabel->setHidden(true);
    lblEngSurahLabel->setHidden(true);
  }
}

void SurahSectionHeader::setHighlighted(bool highlighted) {
  if (!isMade()) return;
  lblSurahNumLabel->setHighlighted(highlighted);
  lblEngSurahLabel->setHighlighted(highlighted);
}
