// The "SurahView" layout, built in code: the header along the top (back to
// the index, the translation, the surah title between the previous and next
// ornaments, the reciter and the play button), the verse table under it with
// its loading cover, and the surah information panel shown in a popover.
#include <cmath>

#include "Classes/core/Language.h"
#include "Classes/reading/SurahViewController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"

namespace {

constexpr float kHeaderHeight = 64;
const cg::Color kParchment = cg::Color::fromRGB255(250, 246, 236);
const cg::Color kHeaderInk = cg::Color::fromRGB255(92, 64, 20);

std::shared_ptr<ui::Button> headerButton(cg::Rect frame, unsigned mask) {
  auto button = std::make_shared<ui::Button>(frame);
  button->setTitleColor(kHeaderInk, ui::ControlStateNormal);
  button->setTitleColor(kHeaderInk.withAlpha(0.5f), ui::ControlStateHighlighted);
  button->setTitleColor(kHeaderInk.withAlpha(0.35f), ui::ControlStateDisabled);
  if (button->titleLabel()) button->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(15));
  button->setAutoresizingMask(mask);
  return button;
}

}  // namespace

void SurahViewController::buildSurahView() {
  cg::Rect frame = ui::Screen::main().applicationFrame();
  viewEverything = std::make_shared<ui::View>(cg::Rect(0, 0, frame.width(), frame.height()));
  viewEverything->setBackgroundColor(kParchment);
  viewEverything->setAutoresizesSubviews(true);
  viewEverything->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  buildTableArea(*viewEverything);
  buildTajweedBarArea(*viewSurahDisplay);
  buildHeaderArea(*viewEverything);
  buildSurahInfoArea();
  buildAudioArea();
  buildDownloadArea();
  connectHeaderActions();
  connectAudioActions();
  setView(viewEverything);
}

void SurahViewController::buildTableArea(ui::View& root) {
  cg::Rect b = root.bounds();
  viewSurahDisplay = std::make_shared<ui::View>(cg::Rect(0, kHeaderHeight, b.width(), b.height() - kHeaderHeight));
  viewSurahDisplay->setAutoresizesSubviews(true);
  viewSurahDisplay->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root.addSubview(viewSurahDisplay);
  cg::Rect d = viewSurahDisplay->bounds();

  tblVerses = std::make_shared<ui::TableView>(d, ui::TableViewStyle::Plain);
  tblVerses->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tblVerses->setBackgroundColor(cg::Color::white());
  tblVerses->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  auto self = std::static_pointer_cast<SurahViewController>(shared_from_this());
  tblVerses->setDataSource(self);
  tblVerses->setDelegate(self);
  viewSurahDisplay->addSubview(tblVerses);

  lblLoading = std::make_shared<ui::Label>(cg::Rect(0, std::floor(d.height() / 2) - 40, d.width(), 24));
  lblLoading->setText(Language::get("Loading...", "Loading..."));
  lblLoading->setTextAlignment(ui::TextAlignment::Center);
  lblLoading->setTextColor(kHeaderInk);
  lblLoading->setBackgroundColor(cg::Color::clear());
  lblLoading->setAlpha(0);
  lblLoading->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleTopMargin |
                                  ui::ViewAutoresizingFlexibleBottomMargin);
  viewSurahDisplay->addSubview(lblLoading);

  progressIndicator = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
  cg::Rect p = progressIndicator->frame();
  progressIndicator->setFrame(cg::Rect(std::floor((d.width() - p.width()) / 2), std::floor(d.height() / 2),
                                       p.width(), p.height()));
  progressIndicator->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleRightMargin |
                                         ui::ViewAutoresizingFlexibleTopMargin |
                                         ui::ViewAutoresizingFlexibleBottomMargin);
  viewSurahDisplay->addSubview(progressIndicator);
}

namespace {

// The header's bar. The title and its ornaments keep their distance from the
// centre at any width (margins that stretch in proportion would pull the
// ornaments onto the title). The translation and reciter buttons end where the
// ornaments begin; on a narrow reading view (the floating view beside the
// panes, which name their translations) a button with too little room hides.
class HeaderBarView : public ui::View {
 public:
  using ui::View::View;

  void keepCentred(const std::shared_ptr<ui::View>& view) {
    centred_.push_back({view, view->frame().x() - std::floor(bounds().width() / 2)});
  }
  // The button's frame, as built for the full width; `left` when it stands left of the limit.
  void keepClearOf(const std::shared_ptr<ui::View>& button, const std::shared_ptr<ui::View>& limit, bool left) {
    sides_.push_back({button, limit, button->frame(), left});
  }

  void layoutSubviews() override {
    float cx = std::floor(bounds().width() / 2);
    for (const auto& [weak, offset] : centred_) {
      if (auto view = weak.lock()) {
        cg::Rect f = view->frame();
        view->setFrame(cg::Rect(cx + offset, f.y(), f.width(), f.height()));
      }
    }
    constexpr float kGap = 4, kNarrowest = 60;
    float w = bounds().width();
    for (const auto& side : sides_) {
      auto button = side.button.lock();
      auto limit = side.limit.lock();
      if (!button || !limit) continue;
      cg::Rect f = side.built;
      float x0 = side.left ? f.x() : std::max(w - (fullWidth_ - f.x()), limit->frame().maxX() + kGap);
      float x1 = side.left ? std::min(f.maxX(), limit->frame().x() - kGap) : w - (fullWidth_ - f.maxX());
      button->setHidden(x1 - x0 < kNarrowest);
      button->setFrame(cg::Rect(x0, f.y(), std::max(0.0f, x1 - x0), f.height()));
    }
  }

  void setFullWidth(float w) { fullWidth_ = w; }

 private:
  struct Side {
    std::weak_ptr<ui::View> button, limit;
    cg::Rect built;
    bool left;
  };
  std::vector<std::pair<std::weak_ptr<ui::View>, float>> centred_;
  std::vector<Side> sides_;
  float fullWidth_ = 0;
};

// A strip of buttons over other controls: a touch that meets none of its
// buttons goes on to what lies beneath.
class ButtonStrip : public ui::View {
 public:
  using ui::View::View;
  ui::View* hitTest(cg::Point p) override {
    ui::View* hit = ui::View::hitTest(p);
    return hit == this ? nullptr : hit;
  }
};

}  // namespace

void SurahViewController::buildHeaderArea(ui::View& root) {
  float w = root.bounds().width();
  const unsigned left = ui::ViewAutoresizingFlexibleRightMargin;
  const unsigned right = ui::ViewAutoresizingFlexibleLeftMargin;
  const unsigned centre = ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleRightMargin;

  auto headerBar = std::make_shared<HeaderBarView>(cg::Rect(0, 0, w, kHeaderHeight));
  viewSurahDispAndOrnaments = headerBar;
  viewSurahDispAndOrnaments->setAutoresizesSubviews(true);
  viewSurahDispAndOrnaments->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(viewSurahDispAndOrnaments);

  imgOrnamentsUnderLay = std::make_shared<ui::ImageView>(cg::Rect(0, 0, w, kHeaderHeight));
  imgOrnamentsUnderLay->setImage(ui::Image::imageNamed("sura-navbar.png"));
  imgOrnamentsUnderLay->setContentMode(ui::ContentMode::ScaleToFill);
  imgOrnamentsUnderLay->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewSurahDispAndOrnaments->addSubview(imgOrnamentsUnderLay);

  // Left: back to the index and the translation.
  btnBackToIndex = headerButton(cg::Rect(10, 15, 76, 34), left);
  viewSurahDispAndOrnaments->addSubview(btnBackToIndex);
  btnTranslation = headerButton(cg::Rect(96, 15, 220, 34), left);
  btnTranslation->setContentHorizontalAlignment(ui::ControlContentHorizontalAlignment::Left);
  viewSurahDispAndOrnaments->addSubview(btnTranslation);

  // Centre: the title between the previous and next ornaments.
  float cx = std::floor(w / 2);
  btnSurahTitleBG = std::make_shared<ui::Button>(cg::Rect(cx - 80, 6, 160, 52));
  btnSurahTitleBG->setAutoresizingMask(centre);
  viewSurahDispAndOrnaments->addSubview(btnSurahTitleBG);
  imgSurahName = std::make_shared<ui::ImageView>(cg::Rect(cx - 94, 4, 188, 56));
  imgSurahName->setContentMode(ui::ContentMode::ScaleAspectFit);
  imgSurahName->setUserInteractionEnabled(false);
  imgSurahName->setAutoresizingMask(centre);
  viewSurahDispAndOrnaments->addSubview(imgSurahName);
  lblSurahName = std::make_shared<ui::Label>(cg::Rect(cx - 80, 20, 160, 24));
  lblSurahName->setFont(ui::Font::systemFontOfSize(12));
  lblSurahName->setTextColor(cg::Color::black());
  lblSurahName->setBackgroundColor(cg::Color::clear());
  lblSurahName->setAutoresizingMask(centre);
  viewSurahDispAndOrnaments->addSubview(lblSurahName);
  btnSurahNameOptionsBar = std::make_shared<ui::Button>(cg::Rect(cx - 47, 14, 94, 36));
  btnSurahNameOptionsBar->setHidden(true);
  btnSurahNameOptionsBar->setAutoresizingMask(centre);
  viewSurahDispAndOrnaments->addSubview(btnSurahNameOptionsBar);

  btnLeftOrnament = std::make_shared<ui::Button>(cg::Rect(cx - 150, 10, 44, 44));
  btnLeftOrnament->setBackgroundImage(ui::Image::imageNamed("ipad-sura-previous.png"), ui::ControlStateNormal);
  btnLeftOrnament->setBackgroundImage(ui::Image::imageNamed("ipad-sura-previous-t.png"), ui::ControlStateHighlighted);
  btnRightOrnament = std::make_shared<ui::Button>(cg::Rect(cx + 106, 10, 44, 44));
  btnRightOrnament->setBackgroundImage(ui::Image::imageNamed("ipad-sura-next.png"), ui::ControlStateNormal);
  btnRightOrnament->setBackgroundImage(ui::Image::imageNamed("ipad-sura-next-t.png"), ui::ControlStateHighlighted);
  for (auto* b : {btnLeftOrnament.get(), btnRightOrnament.get()}) b->setAutoresizingMask(centre);
  viewSurahDispAndOrnaments->addSubview(btnLeftOrnament);
  viewSurahDispAndOrnaments->addSubview(btnRightOrnament);
  for (const auto& v : std::initializer_list<std::shared_ptr<ui::View>>{
           btnSurahTitleBG, imgSurahName, lblSurahName, btnSurahNameOptionsBar, btnLeftOrnament, btnRightOrnament})
    headerBar->keepCentred(v);
  // The top halves of the ornaments, which show the pressed look.
  btnTopLeftOrnTop = std::make_shared<ui::Button>(cg::Rect(cx - 150, 0, 44, 10));
  btnTopRightOrnTop = std::make_shared<ui::Button>(cg::Rect(cx + 106, 0, 44, 10));
  for (auto* b : {btnTopLeftOrnTop.get(), btnTopRightOrnTop.get()}) b->setAutoresizingMask(centre);
  viewSurahDispAndOrnaments->addSubview(btnTopLeftOrnTop);
  viewSurahDispAndOrnaments->addSubview(btnTopRightOrnTop);
  headerBar->keepCentred(btnTopLeftOrnTop);
  headerBar->keepCentred(btnTopRightOrnTop);
  // The landscape layout's own previous and next buttons stand over the
  // ornaments; in portrait they are hidden and let the touches through.
  viewTopLSButtons = std::make_shared<ButtonStrip>(cg::Rect(0, 0, w, kHeaderHeight));
  viewTopLSButtons->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopLSButtons->setUserInteractionEnabled(false);
  viewSurahDispAndOrnaments->addSubview(viewTopLSButtons);
  btnLSPrevSurah = std::make_shared<ui::Button>(btnLeftOrnament->frame());
  btnLSPrevSurah->setBackgroundImage(ui::Image::imageNamed("ipad-sura-previous-t.png"), ui::ControlStateHighlighted);
  btnLSNextSurah = std::make_shared<ui::Button>(btnRightOrnament->frame());
  btnLSNextSurah->setBackgroundImage(ui::Image::imageNamed("ipad-sura-next-t.png"), ui::ControlStateHighlighted);
  for (const auto& b : {btnLSPrevSurah, btnLSNextSurah}) {
    b->setAlpha(0);
    viewTopLSButtons->addSubview(b);
    headerBar->keepCentred(b);
  }

  // Right: the reciter and the play button's audio status.
  btnReciter = headerButton(cg::Rect(w - 290, 15, 220, 34), right);
  btnReciter->setContentHorizontalAlignment(ui::ControlContentHorizontalAlignment::Right);
  btnReciter->setTitleEdgeInsets(cg::EdgeInsets{0, 0, 0, 16});
  viewSurahDispAndOrnaments->addSubview(btnReciter);
  headerBar->setFullWidth(w);
  headerBar->keepClearOf(btnTranslation, btnLeftOrnament, true);
  headerBar->keepClearOf(btnReciter, btnRightOrnament, false);
  btnPlay = std::make_shared<ui::Button>(cg::Rect(w - 56, 10, 44, 44));
  btnPlay->setAutoresizingMask(right);
  viewSurahDispAndOrnaments->addSubview(btnPlay);
  btnTopOptionBar = std::make_shared<ui::Button>(cg::Rect(0, 0, 0, 0));

}

void SurahViewController::buildSurahInfoArea() {
  viewSurahInfoHUD = std::make_shared<ui::View>(cg::Rect(0, 0, 320, 315));
  viewSurahInfoHUD->setBackgroundColor(kParchment);
  imgSurahInfoBG = std::make_shared<ui::ImageView>(cg::Rect(0, 0, 320, 315));
  viewSurahInfoHUD->addSubview(imgSurahInfoBG);
  tblSurahInfo = std::make_shared<ui::TableView>(cg::Rect(0, 0, 320, 285), ui::TableViewStyle::Plain);
  tblSurahInfo->setBackgroundColor(cg::Color::clear());
  tblSurahInfo->setScrollsToTop(false);
  auto self = std::static_pointer_cast<SurahViewController>(shared_from_this());
  tblSurahInfo->setDataSource(self);
  tblSurahInfo->setDelegate(self);
  viewSurahInfoHUD->addSubview(tblSurahInfo);
  lblSurahInfoNotice = std::make_shared<ui::Label>(cg::Rect(0, 289, 320, 20));
  lblSurahInfoNotice->setFont(ui::Font::systemFontOfSize(12));
  lblSurahInfoNotice->setTextColor(cg::Color::fromRGB255(113, 83, 0));
  lblSurahInfoNotice->setTextAlignment(ui::TextAlignment::Center);
  lblSurahInfoNotice->setBackgroundColor(cg::Color::clear());
  viewSurahInfoHUD->addSubview(lblSurahInfoNotice);
}

void SurahViewController::connectHeaderActions() {
  auto tap = [this](ui::Button& button, std::function<void()> fn) {
    button.addTarget(this, [fn](ui::Control&) { fn(); }, ui::ControlEventTouchUpInside);
  };
  tap(*btnBackToIndex, [this] { btnIndexPressed(); });
  tap(*btnTranslation, [this] { btnTranslatorPressed(); });
  tap(*btnReciter, [this] { btnReciterPressed(); });
  tap(*btnSurahTitleBG, [this] { surahNameButtonPressed(); });
  tap(*btnPlay, [this] { playStopOrDownload(); });
  tap(*btnLeftOrnament, [this] { showPreviousSurah(); });
  tap(*btnRightOrnament, [this] { showNextSurah(); });
  tap(*btnLSPrevSurah, [this] { showPreviousSurah(); });
  tap(*btnLSNextSurah, [this] { showNextSurah(); });
}
