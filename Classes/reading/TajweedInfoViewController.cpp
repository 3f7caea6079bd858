// The tajweed guide's boxes ("Tajweed" built in code) and the drawing of
// their example verses; the examples' playback is in the Audio file beside it.
#include "Classes/reading/TajweedInfoViewController.h"

#include <cmath>

#include "Classes/common/ColumnScreen.h"
#include "Classes/common/ScreenSupport.h"
#include "Classes/glyphs/ArabicFont.h"
#include "Classes/reading/TajweedRuleBoxes.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Screen.h"
#include "toolkit/styled/TKStyledTextLabel.h"

using namespace tajweedguide;

namespace {

constexpr float kTopBarHeight = columnscreen::kTopBarHeight;
constexpr float kSingleWidth = 320, kGuideContentWidth = 287;
const cg::Color kNameInk = cg::Color::fromRGB255(92, 64, 20);
const cg::Color kTranslationInk = cg::Color::fromRGB255(126, 107, 69);
const cg::Color kGuideLines = cg::Color::fromRGB255(193, 204, 217);
const cg::Color kGuideListenInk = cg::Color::fromRGB255(86, 128, 171);
const cg::Color kGuideListenInkPressed = cg::Color::fromRGB255(97, 128, 171);

// A background that repeats its image, as a pattern colour does.
class PatternView : public ui::View {
 public:
  PatternView(cg::Rect frame, std::shared_ptr<ui::Image> image) : ui::View(frame), image_(std::move(image)) {}
  void drawRect(cg::Context& context, cg::Rect rect) override {
    if (!image_) return;
    cg::Size s = image_->size();
    if (s.width < 1 || s.height < 1) return;
    for (float y = std::floor(rect.y() / s.height) * s.height; y < rect.maxY(); y += s.height)
      for (float x = std::floor(rect.x() / s.width) * s.width; x < rect.maxX(); x += s.width)
        image_->drawInRect(context, cg::Rect(x, y, s.width, s.height));
  }

 private:
  std::shared_ptr<ui::Image> image_;
};

std::shared_ptr<ui::View> patternBackground(cg::Rect frame) {
  auto view = std::make_shared<PatternView>(frame, ui::Image::imageNamed("taj-bg.png"));
  view->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  view->setUserInteractionEnabled(false);
  return view;
}

bool arabicInterface() { return ZarvelSDKAppDelegate::IsLanguageArabic(); }

}  // namespace

int TajweedInfoViewController::boxHeight(Box box, bool arabic) {
  const RuleBox& r = kRuleBoxes[box];
  return arabic ? r.heightArabic : r.height;
}

std::pair<int, int> TajweedInfoViewController::exampleVerse(Box box) {
  return {kRuleBoxes[box].surah, kRuleBoxes[box].verse};
}

// The popover asks for the content size before the view loads: the height
// of the rule's box is known from the start.
TajweedInfoViewController::TajweedInfoViewController(int scrollTo, bool fromSettings)
    : heightToUse(fromSettings ? 0 : singleRuleHeight(scrollTo, arabicInterface())),
      scrollToView_(scrollTo),
      fromSettings_(fromSettings) {}

int TajweedInfoViewController::singleRuleHeight(int rule, bool arabic) {
  switch (rule) {
    case 1: return boxHeight(Ikhfa, arabic);
    case 2: return boxHeight(Idgham, arabic) + boxHeight(IdghamWG, arabic);
    case 3: return boxHeight(Iqlab, arabic);
    case 4: return boxHeight(Qalqala, arabic);
    default: return boxHeight(Ghunna, arabic);
  }
}

TajweedInfoViewController::~TajweedInfoViewController() {
  exampleEnd_.invalidate();
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
  stopAudio(false);
  // Recordings still fading give back their holds on the session.
  while (!fadingPlayers_.empty()) fadeOperationFinished(fadingPlayers_.front().player);
}

// ---- the layout ("Tajweed") -------------------------------------------------------------------

void TajweedInfoViewController::loadView() {
  cg::Rect app = ui::Screen::main().applicationFrame();
  float w = fromSettings_ ? columnscreen::kColumnWidth : kSingleWidth, h = fromSettings_ ? app.height() : 480;
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, w, h));
  root->setAutoresizesSubviews(true);
  root->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->setBackgroundColor(cg::Color::white());

  imgBG = std::make_shared<ui::ImageView>(root->bounds());
  imgBG->setBackgroundColor(cg::Color::fromRGB255(246, 249, 252));
  imgBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(imgBG);

  viewScroll = std::make_shared<ui::ScrollView>(cg::Rect(0, kTopBarHeight, w, h - kTopBarHeight));
  viewScroll->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  viewScroll->setAutoresizesSubviews(true);
  viewScroll->setShowsHorizontalScrollIndicator(false);
  root->addSubview(viewScroll);

  auto bar = columnscreen::topBar(w, true);
  viewTopBar = bar.view;
  imgTopBar = bar.background;
  lblTopTitle = bar.title;
  btnBack = bar.back;
  btnBack->addTarget(this, [this](ui::Control&) { btnBackPressed(); }, ui::ControlEventTouchUpInside);
  root->addSubview(viewTopBar);

  for (int b = 0; b < kBoxCount; ++b) buildBox(Box(b));
  setView(root);
}

// One box as the layout draws it for the single-rule width; placing it
// gives it its width and height, and its parts follow.
void TajweedInfoViewController::buildBox(Box box) {
  float w = kSingleWidth, h = float(kRuleBoxes[box].height);
  auto v = std::make_shared<ui::View>(cg::Rect(0, 0, w, h));
  v->setAutoresizesSubviews(true);
  v->setBackgroundColor(cg::Color::clear());
  v->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewInfo[box] = v;

  bordered[box] = std::make_shared<BorderedView>(cg::Rect(10, 12, w - 20, h - 22));
  bordered[box]->setBackgroundColor(cg::Color::clear());
  bordered[box]->setUserInteractionEnabled(false);
  bordered[box]->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  v->addSubview(bordered[box]);

  auto label = [&](cg::Rect frame, ui::Font font, cg::Color ink) {
    auto l = std::make_shared<ui::Label>(frame);
    l->setFont(font);
    l->setTextColor(ink);
    l->setBackgroundColor(cg::Color::clear());
    l->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
    v->addSubview(l);
    return l;
  };
  lblTop[box] = label(cg::Rect(18, 10, w - 36, 24), ui::Font::fontWithName("Helvetica-Bold", 18), kNameInk);
  lblTrans[box] = label(cg::Rect(18, 34, w - 36, 18), ui::Font::fontWithName("Helvetica-Oblique", 13),
                        kTranslationInk);

  web[box] = std::make_shared<TKStyledTextLabel>(cg::Rect(18, kTextTop, w - 34, h - kTextTop - kExampleHeight));
  web[box]->setFont(ui::Font::fontWithName("Helvetica", 13));
  web[box]->setTextColor(cg::Color::fromRGB255(60, 52, 40));
  web[box]->setBackgroundColor(cg::Color::clear());
  web[box]->setClipsToBounds(true);
  web[box]->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  v->addSubview(web[box]);

  // The example, from the box's bottom: caption, verse, listen button
  // (placed again once the verse is measured).
  float y = h - kExampleHeight + 6;
  lblExample[box] = std::make_shared<UILabelLined>(cg::Rect(18, y, w - 34, 18));
  lblExample[box]->setFont(ui::Font::fontWithName("Helvetica-Bold", 12));
  lblExample[box]->setTextColor(kTranslationInk);
  lblExample[box]->setBackgroundColor(cg::Color::clear());
  lblExample[box]->setClipsToBounds(true);
  lblExample[box]->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleTopMargin);
  v->addSubview(lblExample[box]);
  img[box] = std::make_shared<VerseCanvas>(cg::Rect(18, y + 20, w - 34, kVerseHeight));
  img[box]->setBackgroundColor(cg::Color::clear());
  img[box]->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleTopMargin);
  v->addSubview(img[box]);
  btnListen[box] = std::make_shared<ui::Button>(cg::Rect(18, h - 44, 180, 30));
  btnListen[box]->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(13));
  btnListen[box]->setBackgroundImage(screens::stretchedImage("taj-example.png", 15, 0), ui::ControlStateNormal);
  btnListen[box]->setTitleColor(kTranslationInk, ui::ControlStateNormal);
  btnListen[box]->setAutoresizingMask(ui::ViewAutoresizingFlexibleTopMargin);
  btnListen[box]->addTarget(this, [this](ui::Control& sender) { listenPressed(dynamic_cast<ui::Button*>(&sender)); },
                            ui::ControlEventTouchUpInside);
  v->addSubview(btnListen[box]);
}

// The example part stands at the box's bottom: the listen button, the verse
// as high as its lines at the box's width, the caption over it; the
// explanation fills what is left above.
void TajweedInfoViewController::layoutExample(Box box) {
  cg::Rect b = viewInfo[box]->bounds();
  const ns::Data& data = dictVerseData[box];
  cg::Rect canvas = img[box]->frame();
  float verse = kVerseHeight;
  if (fontLoader_ && !data.empty()) {
    const RuleBox& r = kRuleBoxes[box];
    int w = int(canvas.width());
    verse = float(fontLoader_->GetHeightOfVerseImage(r.rendererVerse, r.lastVerse, &data, 0, int(data.size()) - 1,
                                                     w - 8, false));
  }
  float buttonY = b.height() - kListenBottom;
  float verseY = buttonY - 4 - verse;
  float captionY = verseY - 20;
  btnListen[box]->setFrame(cg::Rect(btnListen[box]->frame().x(), buttonY, btnListen[box]->frame().width(), 30));
  img[box]->setFrame(cg::Rect(canvas.x(), verseY, canvas.width(), verse));
  cg::Rect c = lblExample[box]->frame();
  lblExample[box]->setFrame(cg::Rect(c.x(), captionY, c.width(), c.height()));
  cg::Rect t = web[box]->frame();
  web[box]->setFrame(cg::Rect(t.x(), t.y(), t.width(), std::max(0.0f, captionY - 4 - t.y())));
}

void TajweedInfoViewController::placeBox(Box box, float y, float width, float height) {
  viewInfo[box]->setFrame(cg::Rect(0, y, width, height));
  viewScroll->addSubview(viewInfo[box]);
}

void TajweedInfoViewController::viewDidLoad() {
  cg::Rect b = view()->bounds();
  if (!fromSettings_) {
    viewTopBar->setHidden(true);
    viewScroll->setFrame(cg::Rect(0, 0, b.width(), b.height()));
    imgBG->setHidden(true);
  } else {
    imgBG->setHidden(false);
    viewScroll->setBackgroundColor(cg::Color::clear());
  }

  const bool arabic = arabicInterface();
  auto H = [arabic](Box box) { return float(boxHeight(box, arabic)); };

  heightToUse = 0;
  float width = viewScroll->frame().width();
  if (!fromSettings_) {
    width = kSingleWidth;
    switch (scrollToView_) {
      case 1: placeBox(Ikhfa, 0, width, H(Ikhfa)); break;
      case 2:
        placeBox(Idgham, 0, width, H(Idgham));
        placeBox(IdghamWG, H(Idgham), width, H(IdghamWG));
        break;
      case 3: placeBox(Iqlab, 0, width, H(Iqlab)); break;
      case 4: placeBox(Qalqala, 0, width, H(Qalqala)); break;
      default: placeBox(Ghunna, 0, width, H(Ghunna)); break;
    }
    heightToUse = singleRuleHeight(scrollToView_, arabic);
    viewScroll->setContentSize(cg::Size{kSingleWidth, float(heightToUse)});
  } else {
    float y = 0;
    for (int box = 0; box < kBoxCount; ++box) {
      placeBox(Box(box), y, width, H(Box(box)));
      y += H(Box(box));
    }
    viewScroll->setContentSize(cg::Size{kGuideContentWidth, y});
  }

  for (int i = 0; i < kBoxCount; ++i) {
    const RuleBox& r = kRuleBoxes[i];
    lblTop[i]->setText(arabic ? "" : screens::localized(r.name));
    lblTrans[i]->setText(arabic ? screens::localized(r.name) : screens::localized(r.translation));
    if (arabic) {
      // The rule's name stands where the name label would, in its place.
      lblTrans[i]->setFrame(lblTop[i]->frame());
      lblTrans[i]->setFont(lblTop[i]->font());
      lblTrans[i]->setTextColor(kNameInk);
      for (auto* l : {lblTrans[i].get(), static_cast<ui::Label*>(lblExample[i].get())})
        l->setTextAlignment(ui::TextAlignment::Right);
      // The explanation follows the name at once, and the button stands at the right.
      cg::Rect t = web[i]->frame();
      web[i]->setFrame(cg::Rect(t.x(), kTextTopArabic, t.width(), t.maxY() - kTextTopArabic));
      web[i]->setTextAlignment(int(ui::TextAlignment::Right));
      cg::Rect l = btnListen[i]->frame();
      btnListen[i]->setFrame(cg::Rect(viewInfo[i]->bounds().width() - 18 - l.width(), l.y(), l.width(), l.height()));
      btnListen[i]->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleTopMargin);
    }
    for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted})
      btnListen[i]->setTitle(screens::localized("Listen to this example"), state);
    lblExample[i]->setText(screens::localized("Example"));
    lblExample[i]->setNeedsLayout();
    web[i]->setHtml(Language::get(r.htmlKey, ""));
  }
  lblTopTitle->setText(screens::localized("Tajweed"));

  if (!fromSettings_) {
    view()->insertSubviewAtIndex(patternBackground(view()->bounds()), 0);
    for (auto& box : viewInfo) box->insertSubviewAtIndex(patternBackground(box->bounds()), 0);
  } else {
    for (int i = 0; i < kBoxCount; ++i) {
      viewInfo[i]->setBackgroundColor(cg::Color::clear());
      lblExample[i]->setLineColor(kGuideLines);
      bordered[i]->setLineColor(kGuideLines);
      btnListen[i]->setBackgroundImage(screens::stretchedImage("taj-example-blue.png", 15, 0), ui::ControlStateNormal);
      btnListen[i]->setBackgroundImage(screens::stretchedImage("taj-example-blue-t.png", 15, 0),
                                       ui::ControlStateHighlighted);
      btnListen[i]->setTitleColor(kGuideListenInk, ui::ControlStateNormal);
      btnListen[i]->setTitleColor(kGuideListenInkPressed, ui::ControlStateHighlighted);
    }
  }

  auto self = std::static_pointer_cast<TajweedInfoViewController>(shared_from_this());
  sqlite3* content = screens::contentDatabase();
  for (int i = 0; i < kBoxCount; ++i) {
    img[i]->setDelegate(self);
    dictVerseData[i] = content ? ChapterInfo::getVerseData(content, kRuleBoxes[i].surah, kRuleBoxes[i].verse)
                               : ns::Data();
  }
  // Every colour shows, whatever rules the reader has switched off.
  fontLoader_ = std::make_shared<ArabicFont>(ZarvelSDKAppDelegate::IsDeviceRetina() ? 5 : 0, true);
  for (int i = 0; i < kBoxCount; ++i) layoutExample(Box(i));
  lastPlayingType_ = -1;

  if (!fromSettings_) {
    setContentSizeForViewInPopover(cg::Size{kSingleWidth, float(heightToUse)});
  } else {
    float y = -1;
    switch (scrollToView_) {
      case 0: y = 0; break;
      case 1: y = H(Ghunna); break;
      case 2: y = H(Ghunna) + H(Ikhfa); break;
      case 3: y = H(Ghunna) + H(Ikhfa) + H(Idgham) + H(IdghamWG); break;
      case 4: y = H(Ghunna) + H(Ikhfa) + H(Idgham) + H(IdghamWG) + H(Iqlab); break;
      default: break;
    }
    if (y >= 0) viewScroll->setContentOffset(cg::Point{0, y}, false);
  }
  rethemeUI();
}

void TajweedInfoViewController::rethemeUI() { columnscreen::dressBackButton(*btnBack, screens::localized("More")); }

void TajweedInfoViewController::btnBackPressed() {
  if (fromSettings_) {
    if (auto* nav = navigationController()) nav->popViewControllerAnimated(true);
  } else {
    dismissModalViewControllerAnimated(true);
  }
}

void TajweedInfoViewController::viewWillDisappear(bool) {
  stopAudio(false);
  lastPlayingType_ = -1;
}

int TajweedInfoViewController::boxOfButton(const ui::Button* button) const {
  for (int i = 0; i < kBoxCount; ++i)
    if (btnListen[i].get() == button) return i;
  return -1;
}

int TajweedInfoViewController::boxOfCanvas(const VerseCanvas* canvas) const {
  for (int i = 0; i < kBoxCount; ++i)
    if (img[i].get() == canvas) return i;
  return -1;
}

// ---- the example verses --------------------------------------------------------------------

void TajweedInfoViewController::drawArabicVerseInCanvas(cg::Context& context, VerseCanvas& canvas) {
  int box = boxOfCanvas(&canvas);
  static const ns::Data kNone;
  const ns::Data& data = box >= 0 ? dictVerseData[box] : kNone;
  int verse = box >= 0 ? kRuleBoxes[box].rendererVerse : 0;
  bool last = box >= 0 && kRuleBoxes[box].lastVerse;
  if (!fontLoader_) return;
  int w = int(canvas.frame().width());
  fontLoader_->DrawVerseImageFromBytes(context, verse, last, &data, 0, int(data.size()) - 1, w, w - 8);
}
