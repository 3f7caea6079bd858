// The audio outlets of the "SurahView" layout, built in code: the repeat
// bubbles' bar (which the tablet root carries in its bottom bar, with the
// recitation bar in it while a recitation plays), the recitation bars of
// three buttons, and the seek indicator shown over the verses.
#include <cmath>

#include "Classes/reading/SurahViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

const cg::Color kBubbleInk = cg::Color::fromRGB255(92, 64, 20);

std::shared_ptr<ui::Button> transportButton(cg::Rect frame, const char* image, const char* pressed) {
  auto b = std::make_shared<ui::Button>(frame);
  b->setImage(ui::Image::imageNamed(image), ui::ControlStateNormal);
  b->setImage(ui::Image::imageNamed(pressed), ui::ControlStateHighlighted);
  b->setAdjustsImageWhenHighlighted(false);
  return b;
}

std::shared_ptr<ui::Button> bubble(cg::Rect frame) {
  auto b = std::make_shared<ui::Button>(frame);
  auto face = ui::Image::imageNamed("sura-bubble.png");
  auto pressed = ui::Image::imageNamed("sura-bubble-t.png");
  b->setBackgroundImage(face ? face->stretchableImage(20, 0) : nullptr, ui::ControlStateNormal);
  b->setBackgroundImage(pressed ? pressed->stretchableImage(20, 0) : nullptr, ui::ControlStateHighlighted);
  b->setTitleColor(kBubbleInk, ui::ControlStateNormal);
  b->setTitleColor(kBubbleInk, ui::ControlStateHighlighted);
  b->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(12));
  b->setTitleEdgeInsets(cg::EdgeInsets{0, 4, 0, 14});
  return b;
}

// The seek indicator's dark rounded box.
class HudBox : public ui::View {
 public:
  using ui::View::View;
  void drawRect(cg::Context& c, cg::Rect) override {
    c.setFillColor(cg::Color::black().withAlpha(0.7f));
    c.addRoundedRect(bounds(), 10);
    c.fillPath();
  }
};

// A bar of rewind, pause and fast-forward, 144 x 44.
void buildTransport(std::shared_ptr<ui::View>& bar, std::shared_ptr<ui::Button>& rr, std::shared_ptr<ui::Button>& pause,
                    std::shared_ptr<ui::Button>& ff, cg::Rect frame) {
  bar = std::make_shared<ui::View>(frame);
  bar->setBackgroundColor(cg::Color::clear());
  rr = transportButton(cg::Rect(0, 0, 44, 44), "audio-rr.png", "audio-rr-t.png");
  pause = transportButton(cg::Rect(50, 0, 44, 44), "audio-pause.png", "audio-pause-t.png");
  pause->setImage(ui::Image::imageNamed("audio-play.png"), ui::ControlStateSelected);
  pause->setImage(ui::Image::imageNamed("audio-play-t.png"), ui::ControlStateSelected | ui::ControlStateHighlighted);
  ff = transportButton(cg::Rect(100, 0, 44, 44), "audio-ff.png", "audio-ff-t.png");
  for (auto* b : {rr.get(), pause.get(), ff.get()}) bar->addSubview(b->shared_from_this());
}

}  // namespace

void SurahViewController::buildAudioArea() {
  viewTopRepeatBubbles = std::make_shared<ui::View>(cg::Rect(0, 0, 480, 49));
  viewTopRepeatBubbles->setBackgroundColor(cg::Color::clear());
  btnSurahRepeatBubble = bubble(cg::Rect(8, 9, 170, 31));
  btnAyahRepeatBubble = bubble(cg::Rect(184, 9, 90, 31));
  viewTopRepeatBubbles->addSubview(btnSurahRepeatBubble);
  viewTopRepeatBubbles->addSubview(btnAyahRepeatBubble);
  lblAyahRepeatCount = std::make_shared<ui::Label>(cg::Rect(0, 0, 0, 0));
  lblAyahRepeatCount->setHidden(true);

  buildTransport(viewLandscapeAudioBar, btnLandscapeAudioRR, btnLandscapeAudioPause, btnLandscapeAudioFF,
                 cg::Rect(280, 6, 144, 44));
  viewLandscapeAudioBar->setAlpha(0);
  // The portrait bar of the phone layout: the tablet shows the landscape one in both.
  buildTransport(viewBottomAudioBar, btnBottomAudioRR, btnBottomAudioPause, btnBottomAudioFF, cg::Rect(0, 0, 144, 44));
  imgBottomAudioBG = std::make_shared<ui::ImageView>(viewBottomAudioBar->bounds());
  viewAirPlayControl = std::make_shared<ui::View>(cg::Rect(0, 0, 40, 44));
  viewLandscapeAirPlayControl = std::make_shared<ui::View>(cg::Rect(0, 0, 40, 44));
  for (auto* v : {viewAirPlayControl.get(), viewLandscapeAirPlayControl.get()}) v->setAlpha(0);

  viewFFRRHud = std::make_shared<HudBox>(cg::Rect(0, 0, 150, 96));
  viewFFRRHud->setBackgroundColor(cg::Color::clear());
  viewFFRRHud->setOpaque(false);
  viewFFRRHud->setAlpha(0);
  imgFFRRType = std::make_shared<ui::ImageView>(cg::Rect(43, 12, 64, 40));
  viewFFRRHud->addSubview(imgFFRRType);
  lblFFRR = std::make_shared<ui::Label>(cg::Rect(0, 60, 150, 26));
  lblFFRR->setFont(ui::Font::boldSystemFontOfSize(20));
  lblFFRR->setTextColor(cg::Color::white());
  lblFFRR->setBackgroundColor(cg::Color::clear());
  lblFFRR->setTextAlignment(ui::TextAlignment::Center);
  viewFFRRHud->addSubview(lblFFRR);
}

void SurahViewController::connectAudioActions() {
  auto on = [this](ui::Button* b, unsigned events, std::function<void()> fn) {
    b->addTarget(this, [fn](ui::Control&) { fn(); }, events);
  };
  const unsigned release = ui::ControlEventTouchUpInside | ui::ControlEventTouchUpOutside;
  for (bool landscape : {false, true}) {
    ui::Button* rr = (landscape ? btnLandscapeAudioRR : btnBottomAudioRR).get();
    ui::Button* ff = (landscape ? btnLandscapeAudioFF : btnBottomAudioFF).get();
    ui::Button* pause = (landscape ? btnLandscapeAudioPause : btnBottomAudioPause).get();
    // The release comes before the tap: a tap that followed no seek resumes a
    // paused player first, then moves.
    on(rr, ui::ControlEventTouchDown, [this, rr] { btnAudioFingerDown(rr); });
    on(rr, release, [this] { btnAudioFingerUp(); });
    on(rr, ui::ControlEventTouchUpInside, [this] { btnAudioRRPressed(); });
    on(ff, ui::ControlEventTouchDown, [this, ff] { btnAudioFingerDown(ff); });
    on(ff, release, [this] { btnAudioFingerUp(); });
    on(ff, ui::ControlEventTouchUpInside, [this] { btnAudioFFPressed(); });
    on(pause, ui::ControlEventTouchUpInside, [this] { btnAudioPausePressed(); });
  }
  on(btnSurahRepeatBubble.get(), ui::ControlEventTouchUpInside, [this] { btnPlayNextPressed(); });
  on(btnAyahRepeatBubble.get(), ui::ControlEventTouchUpInside, [this] { btnAyahRepeatPressed(); });
}
