#pragma once
// A progress view for a first-time preparation of a surah's translation row
// heights: a dark bezel with a two-line caption and a bar, a hidden label for
// measuring translation text, and a background run that reports progress and
// completion. Its run measures nothing: it shows the caption, fills the bar
// and reports completion. Nothing in the application shows it.
//
// The view lives on the main thread; its background run reaches the views
// only through the main run loop.
#include <memory>
#include <string>

#include "platform/ui/View.h"

namespace ui {
class ActivityIndicatorView;
class Label;
class ProgressView;
}  // namespace ui

class SurahOptimizerDelegate {
 public:
  virtual ~SurahOptimizerDelegate() = default;
  virtual void surahOptimizerDone(int surah) = 0;
};

class SurahOptimizer : public ui::View {
 public:
  // initWithFrame: the bezel centred in the frame.
  explicit SurahOptimizer(cg::Rect frame);
  ~SurahOptimizer() override;

  std::shared_ptr<SurahOptimizerDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<SurahOptimizerDelegate> delegate) { delegate_ = std::move(delegate); }
  int ThisSurah() const { return ThisSurah_; }
  void setThisSurah(int surah) { ThisSurah_ = surah; }

  // Runs beginOptimizingInBG on a worker thread.
  void beginOptimizing();
  // The worker's run: the caption (waiting for the main thread), the full
  // bar and the completion (posted to it).
  void beginOptimizingInBG();
  void updateProgress(const std::string& text);
  void setBarProgress(float percent);
  void doneOptimizing();

  // The measuring label's font for a size step 0..4 of the translation in
  // "CurrentTranslationv22" (other steps: step 1).
  void setFont(int step);
  // The measuring label's frame: (12, 0, 262, 20) for 1, else (12, 0, 230, 20).
  void resetTempLabel(int which);
  void setText(const std::string& text);
  // Measures the text as a translation row of the layout would hold it; the
  // height goes to lastMeasuredHeight(). The translation is not used.
  void getSize(const std::string* text, bool landscape, int translation, int step, bool fullScreen);

  // The process-wide values of the last measuring and font choice.
  static float lastMeasuredHeight();
  static int lastFontSize();
  // The point size of a size step for a translation.
  static int fontSizeFor(int translation, int step);

  std::shared_ptr<ui::Label> lblProgress;
  std::shared_ptr<ui::ProgressView> viewProgress;
  std::shared_ptr<ui::ActivityIndicatorView> viewActivity;  // never made
  std::shared_ptr<ui::Label> tempTransLabel;

 private:
  std::weak_ptr<SurahOptimizerDelegate> delegate_;
  int ThisSurah_ = 0;
};
