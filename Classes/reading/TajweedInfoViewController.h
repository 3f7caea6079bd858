#pragma once
// The tajweed guide: one box per rule (Ghunna, Ikhfa, Idgham, Idgham without
// ghunna, Iqlab, Qalqala), each with the rule's name and translation, an
// explanation, one example verse drawn with every tajweed colour on, and a
// button that plays the example from the reader's installed recitation.
//
// Two modes, fixed at construction: a single rule (from the legend bar, in a
// popover: only that rule's box, Idgham together with Idgham without ghunna,
// the content exactly as high as the box) or the whole guide (pushed by the
// More menu: its own top bar and the six boxes in a scroll view).
//
// Main thread; a fade's end arrives on the fade's thread and is posted here.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/audio/MXAudioPlayerFadeOperation.h"
#include "Classes/glyphs/VerseCanvas.h"
#include "Classes/reading/BorderedView.h"
#include "Classes/reading/UILabelLined.h"
#include "platform/foundation/Data.h"
#include "platform/foundation/RunLoop.h"
#include "platform/media/AudioPlayer.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ViewController.h"

class ArabicFont;
class TKStyledTextLabel;
namespace ui {
class Button;
class ImageView;
class Label;
class ScrollView;
}  // namespace ui

class TajweedInfoViewController : public ui::ViewController,
                                  public VerseCanvasDelegate,
                                  public av::AudioPlayerDelegate,
                                  public ui::AlertViewDelegate {
 public:
  // The boxes in guide order, with the audio types of their examples.
  enum Box { Ghunna = 0, Ikhfa, Idgham, IdghamWG, Iqlab, Qalqala, kBoxCount };

  // initWithNibName:bundle:scrollTo:fromSettings: ("Tajweed"): the rule to
  // show or scroll to (0 Ghunna, 1 Ikhfa, 2 Idgham, 3 Iqlab, 4 Qalqala) and
  // the mode (YES: the whole guide).
  TajweedInfoViewController(int scrollTo, bool fromSettings);
  ~TajweedInfoViewController() override;

  void loadView() override;
  void viewDidLoad() override;
  void viewWillDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) override {
    return o == ui::InterfaceOrientation::Portrait;
  }
  cg::Size contentSizeForViewInPopover() const override { return {320, float(heightToUse)}; }
  void rethemeUI();
  void btnBackPressed();

  // ---- the examples --------------------------------------------------------------------------
  void listenPressed(ui::Button* sender);
  void playAudio(int type);
  void stopAudio(bool withFade);
  void fadeIn(float seconds);
  void fadeOut(float seconds);
  void audioPlayerDidFinishPlaying(av::AudioPlayer& player, bool successfully) override;
  // The end of a fade-out, on the main thread: only the player that faded
  // stops, and the session hold it took is given back.
  void fadeOperationFinished(const std::shared_ptr<av::AudioPlayer>& faded);
  void drawArabicVerseInCanvas(cg::Context& context, VerseCanvas& canvas) override;
  // The answer to the offer to download an example's surah.
  void clickedButtonAtIndex(ui::AlertView& alert, int buttonIndex) override;

  // What the screen shows and plays.
  int scrollToView() const { return scrollToView_; }
  bool fromSettings() const { return fromSettings_; }
  int lastPlayingType() const { return lastPlayingType_; }
  const std::shared_ptr<av::AudioPlayer>& CurrentAudioPlayer() const { return CurrentAudioPlayer_; }
  std::shared_ptr<ArabicFont> fontLoader() const { return fontLoader_; }
  // The boxes' heights in the interface language.
  static int boxHeight(Box box, bool arabicInterface);
  // The content's height in the single-rule mode for a rule of the legend.
  static int singleRuleHeight(int rule, bool arabicInterface);
  // The example verse of a box (surah, verse).
  static std::pair<int, int> exampleVerse(Box box);
  // The box a listen button or verse canvas belongs to; -1 for none.
  int boxOfButton(const ui::Button* button) const;
  int boxOfCanvas(const VerseCanvas* canvas) const;

  int heightToUse = 0;

  // Outlets of the frame ("Tajweed").
  std::shared_ptr<ui::View> viewTopBar;
  std::shared_ptr<ui::Label> lblTopTitle;
  std::shared_ptr<ui::Button> btnBack;
  std::shared_ptr<ui::ImageView> imgTopBar, imgBG;
  std::shared_ptr<ui::ScrollView> viewScroll;

  // Outlets of the boxes, by box.
  std::array<std::shared_ptr<ui::View>, kBoxCount> viewInfo;
  std::array<std::shared_ptr<BorderedView>, kBoxCount> bordered;
  std::array<std::shared_ptr<ui::Label>, kBoxCount> lblTop, lblTrans;
  std::array<std::shared_ptr<TKStyledTextLabel>, kBoxCount> web;
  std::array<std::shared_ptr<UILabelLined>, kBoxCount> lblExample;
  std::array<std::shared_ptr<ui::Button>, kBoxCount> btnListen;
  std::array<std::shared_ptr<VerseCanvas>, kBoxCount> img;

 private:
  void buildBox(Box box);
  void placeBox(Box box, float y, float width, float height);
  void layoutExample(Box box);
  void resetListenButtons();
  // Gives back the session hold of a recording that ended.
  void releaseSession();
  // The example's recording from the installed recitation; none when the
  // reciter has not installed the surah. Continuous audio plays from the
  // verse's start to the next verse's.
  struct Recording {
    ns::Data mp3;
    double from = 0, until = -1;
  };
  std::optional<Recording> installedRecording(Box box, int* reciter) const;
  void offerDownload(Box box, int reciter);
  void watchExampleEnd(double until);

  int scrollToView_ = 0;
  bool fromSettings_ = false;
  int lastPlayingType_ = -1;
  std::shared_ptr<av::AudioPlayer> CurrentAudioPlayer_;
  // Recordings fading out, each with its session hold until its fade ends,
  // and the delegate its fade tells.
  struct Fading {
    std::shared_ptr<av::AudioPlayer> player;
    std::shared_ptr<MXAudioPlayerFadeOperationDelegate> delegate;
  };
  std::vector<Fading> fadingPlayers_;
  std::shared_ptr<ArabicFont> fontLoader_;
  std::array<ns::Data, kBoxCount> dictVerseData;
  ns::Timer exampleEnd_;
  int offeredSurah_ = 0;
};
