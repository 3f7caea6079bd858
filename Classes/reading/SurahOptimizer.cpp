#include "Classes/reading/SurahOptimizer.h"

#include <atomic>
#include <cmath>

#include "Classes/common/ScreenSupport.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Thread.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"

namespace {

constexpr float kBezelWidth = 217, kBezelHeight = 147;

// The last measured height and font size, shared by every instance as the
// original's statics were; the worker reads neither.
std::atomic<float> gMeasuredHeight{0};
std::atomic<int> gFontSize{0};

}  // namespace

SurahOptimizer::SurahOptimizer(cg::Rect frame) : ui::View(frame) {
  float w = frame.width(), h = frame.height();
  auto bezel = std::make_shared<ui::View>(
      cg::Rect((w - kBezelWidth) * 0.5f, (h - kBezelHeight) * 0.5f, kBezelWidth, kBezelHeight));
  bezel->setBackgroundColor(cg::Color::clear());
  auto backdrop = std::make_shared<ui::ImageView>(bezel->bounds());
  backdrop->setImage(ui::Image::imageNamed("fastscrollbezel.png"));
  bezel->addSubview(backdrop);

  lblProgress = std::make_shared<ui::Label>(cg::Rect(10, 0, kBezelWidth - 20, 60));
  lblProgress->setTextAlignment(ui::TextAlignment::Center);
  lblProgress->setTextColor(cg::Color::white());
  lblProgress->setBackgroundColor(cg::Color::clear());
  lblProgress->setFont(ui::Font::fontWithName("Helvetica", 12));
  lblProgress->setNumberOfLines(2);
  lblProgress->setText(screens::localized("Optimizing"));
  bezel->addSubview(lblProgress);

  viewProgress = std::make_shared<ui::ProgressView>(ui::ProgressViewStyle::Bar);
  viewProgress->setFrame(cg::Rect(20, 100, kBezelWidth - 40, 20));
  viewProgress->setBackgroundColor(cg::Color::clear());
  bezel->addSubview(viewProgress);
  addSubview(bezel);

  tempTransLabel = std::make_shared<ui::Label>(cg::Rect());
  tempTransLabel->setNumberOfLines(0);
  tempTransLabel->setOpaque(false);
  tempTransLabel->setBackgroundColor(cg::Color::clear());
  tempTransLabel->setContentMode(ui::ContentMode::Left);
  tempTransLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleRightMargin |
                                      ui::ViewAutoresizingFlexibleHeight);
  tempTransLabel->setHidden(true);
  addSubview(tempTransLabel);
  gMeasuredHeight = 0;
}

SurahOptimizer::~SurahOptimizer() = default;

// ---- the background run ----------------------------------------------------------------------

void SurahOptimizer::beginOptimizing() {
  // The worker holds the view until its last report has reached the main thread.
  auto self = std::static_pointer_cast<SurahOptimizer>(shared_from_this());
  ns::Thread::detachNewThread("SurahOptimizer", [self] { self->beginOptimizingInBG(); });
}

void SurahOptimizer::beginOptimizingInBG() {
  auto self = std::static_pointer_cast<SurahOptimizer>(shared_from_this());
  std::string caption = screens::localized("Optimizing Surah for the First Time");
  ns::RunLoop::main().performOnMainAndWait([self, caption] { self->updateProgress(caption); });
  (void)ns::UserDefaults::standardUserDefaults().integerForKey("CurrentTranslationv22");
  ns::RunLoop::main().post([self] {
    self->setBarProgress(100);
    self->doneOptimizing();
  });
}

void SurahOptimizer::updateProgress(const std::string& text) { lblProgress->setText(text); }

void SurahOptimizer::setBarProgress(float percent) { viewProgress->setProgress(percent / 100.0f); }

void SurahOptimizer::doneOptimizing() {
  if (auto d = delegate()) d->surahOptimizerDone(ThisSurah_);
}

// ---- measuring ------------------------------------------------------------------------------------

int SurahOptimizer::fontSizeFor(int translation, int step) {
  static constexpr int kSizes[4][5] = {
      {17, 19, 21, 23, 26}, {16, 18, 20, 22, 24}, {15, 17, 19, 21, 23}, {12, 14, 16, 19, 21}};
  int row = 3;
  if (translation == 15 || translation == 16 || translation == 36) row = 0;
  else if (translation == 22 || translation == 26 || translation == 31) row = 1;
  else if (translation == 27 || translation == 38) row = 2;
  if (step < 0 || step > 4) step = 1;
  return kSizes[row][step];
}

void SurahOptimizer::setFont(int step) {
  int translation = int(ns::UserDefaults::standardUserDefaults().integerForKey("CurrentTranslationv22"));
  int size = fontSizeFor(translation, step);
  tempTransLabel->setFont(ui::Font::fontWithName("Helvetica", float(size)));
  gFontSize = size;
}

void SurahOptimizer::resetTempLabel(int which) {
  tempTransLabel->setFrame(which == 1 ? cg::Rect(12, 0, 262, 20) : cg::Rect(12, 0, 230, 20));
}

void SurahOptimizer::setText(const std::string& text) {
  tempTransLabel->setText(text);
  tempTransLabel->sizeToFit();
}

void SurahOptimizer::getSize(const std::string* text, bool landscape, int, int step, bool fullScreen) {
  float width = fullScreen ? (landscape ? 944 : 688) : (landscape ? 262 : 230);
  setFont(step);
  if (!text) {
    gMeasuredHeight = 0;
    return;
  }
  gMeasuredHeight = ui::sizeWithFont(*text, tempTransLabel->font(), cg::Size{width, 100000}).height;
}

float SurahOptimizer::lastMeasuredHeight() { return gMeasuredHeight; }
int SurahOptimizer::lastFontSize() { return gFontSize; }
