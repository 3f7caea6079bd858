// The root's outlets with their frames, as the main interface file held them:
// the notes strip behind everything, the root with the translation column,
// the right-hand column, the floating reading view and the bottom bar; the
// launch picture over all of it.
#include "Classes/common/ScreenSupport.h"
#include "Classes/notes/DTNotePadView.h"
#include "Classes/shell/iPadRootViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"

namespace {

constexpr float kColumnWidth = 288;   // the right-hand column
constexpr float kBottomBarHeight = 49;
constexpr float kTabWidth = 72;
constexpr float kNotesSheetWidth = 620;
constexpr float kPadInset = 20;

using namespace ui;

// The container of everything tells the root when it reaches the window,
// which is when the root appears.
class AppearingView : public View {
 public:
  AppearingView(cg::Rect frame, iPadRootViewController* owner) : View(frame), owner_(owner) {}
  void didMoveToWindow() override {
    if (!window() || !owner_ || appeared_) return;
    appeared_ = true;
    owner_->viewWillAppear(false);
    owner_->viewDidAppear(false);
  }

 private:
  iPadRootViewController* owner_;  // owns this view
  bool appeared_ = false;
};

std::shared_ptr<View> plainView(cg::Rect frame, unsigned mask) {
  auto v = std::make_shared<View>(frame);
  v->setAutoresizingMask(mask);
  v->setAutoresizesSubviews(true);
  return v;
}

}  // namespace

void iPadRootViewController::buildInterface(cg::Rect frame) {
  const unsigned fill = ViewAutoresizingFlexibleWidth | ViewAutoresizingFlexibleHeight;
  float W = frame.width(), E = frame.height();
  viewEverythingContainer = std::make_shared<AppearingView>(cg::Rect(0, 0, W, E), this);
  viewEverythingContainer->setAutoresizingMask(fill);
  viewEverythingContainer->setAutoresizesSubviews(true);
  viewEverythingContainer->setBackgroundColor(cg::Color::fromRGB255(58, 40, 26));

  // The notes strip, uncovered when the root moves down.
  viewNotesContainer = plainView(cg::Rect(0, 0, W, 281), ViewAutoresizingFlexibleWidth);
  viewNotesContainer->setUserInteractionEnabled(false);
  imgNotesContainerBG = std::make_shared<ImageView>(cg::Rect(0, 0, W, 281));
  imgNotesContainerBG->setAutoresizingMask(fill);
  imgNotesContainerBG->setContentMode(ContentMode::ScaleToFill);
  viewNotesContainer->addSubview(imgNotesContainerBG);
  viewNotesAnimContainer = plainView(cg::Rect(std::floor((W - kNotesSheetWidth) / 2), 0, kNotesSheetWidth, 281),
                                     ViewAutoresizingFlexibleLeftMargin | ViewAutoresizingFlexibleRightMargin |
                                         ViewAutoresizingFlexibleHeight);
  viewNotesContainer->addSubview(viewNotesAnimContainer);
  viewNotesView = plainView(cg::Rect(0, 100, kNotesSheetWidth, 262), ViewAutoresizingFlexibleHeight);
  viewNotesAnimContainer->addSubview(viewNotesView);
  imgNotesViewBG = std::make_shared<ImageView>(cg::Rect(0, 0, kNotesSheetWidth, 262));
  imgNotesViewBG->setImage(screens::stretchedImage("note-bg.png", 159, 0));  // the margin rule keeps its place
  imgNotesViewBG->setContentMode(ContentMode::ScaleToFill);
  imgNotesViewBG->setAutoresizingMask(fill);
  viewNotesView->addSubview(imgNotesViewBG);
  viewNotesTopNavBar = plainView(cg::Rect(0, 0, kNotesSheetWidth, 44), ViewAutoresizingFlexibleWidth);
  auto header = std::make_shared<ImageView>(cg::Rect(0, 0, kNotesSheetWidth, 44));
  header->setImage(Image::imageNamed("note-header.png"));
  header->setContentMode(ContentMode::ScaleToFill);
  viewNotesTopNavBar->addSubview(header);
  btnNotesNavCancel = std::make_shared<Button>(cg::Rect(8, 7, 70, 30));
  btnNotesNavDone = std::make_shared<Button>(cg::Rect(kNotesSheetWidth - 78, 7, 70, 30));
  btnNotesNavMore = std::make_shared<Button>(cg::Rect(kNotesSheetWidth - 122, 7, 36, 30));
  btnNotesNavMore->setBackgroundImage(Image::imageNamed("ipad-note-more.png"), ControlStateNormal);
  btnNotesNavMore->setBackgroundImage(Image::imageNamed("ipad-note-more-t.png"), ControlStateHighlighted);
  for (auto* b : {btnNotesNavCancel.get(), btnNotesNavDone.get()}) {
    b->titleLabel()->setFont(Font::boldSystemFontOfSize(13));
    b->setTitleColor(cg::Color::white(), ControlStateNormal);
  }
  btnNotesNavCancel->addTarget(this, [this](Control&) { hideNotesWithoutSave(); }, ControlEventTouchUpInside);
  btnNotesNavDone->addTarget(this, [this](Control&) { hideNotesWithSave(); }, ControlEventTouchUpInside);
  btnNotesNavMore->addTarget(this, [this](Control&) { moreNotesPressed(); }, ControlEventTouchUpInside);
  lblTopBarLabel = std::make_shared<Label>(cg::Rect(90, 7, kNotesSheetWidth - 220, 30));
  lblTopBarLabel->setFont(Font::boldSystemFontOfSize(16));
  // Light on the dark wood of the bar.
  lblTopBarLabel->setTextColor(cg::Color::fromRGB255(252, 243, 222));
  lblTopBarLabel->setShadowColor(cg::Color::fromRGB255(40, 26, 14).withAlpha(0.8f));
  lblTopBarLabel->setShadowOffset(cg::Size{0, -1});
  lblTopBarLabel->setBackgroundColor(cg::Color::clear());
  lblTopBarLabel->setTextAlignment(TextAlignment::Center);
  for (auto& v : std::vector<std::shared_ptr<View>>{btnNotesNavCancel, lblTopBarLabel, btnNotesNavMore, btnNotesNavDone})
    viewNotesTopNavBar->addSubview(v);
  viewNotesView->addSubview(viewNotesTopNavBar);
  viewNotesTextViewContainer = plainView(cg::Rect(0, 44, kNotesSheetWidth, 218), fill);
  viewNotesTextViewContainerTransition = plainView(viewNotesTextViewContainer->bounds(), fill);
  viewNotesTextViewContainer->addSubview(viewNotesTextViewContainerTransition);
  // The pad stands in from the sheet's edge as in the note editor, so its
  // text starts right of the sheet's margin rule.
  cg::Rect sheet = viewNotesTextViewContainer->bounds();
  txtNotes = DTNotePadView::create(cg::Rect(kPadInset, 0, sheet.width() - 2 * kPadInset, sheet.height()));
  txtNotes->setAutoresizingMask(fill);
  txtNotes->setDelegate(std::static_pointer_cast<iPadRootViewController>(shared_from_this()));
  viewNotesTextViewContainerTransition->addSubview(txtNotes);
  viewNotesView->addSubview(viewNotesTextViewContainer);
  imgNotesRightFade = std::make_shared<ImageView>(cg::Rect(kNotesSheetWidth - 20, 44, 20, 218));
  imgNotesRightFade->setImage(Image::imageNamed("note-fade.png"));
  imgNotesRightFade->setAutoresizingMask(ViewAutoresizingFlexibleHeight);
  viewNotesView->addSubview(imgNotesRightFade);
  viewEverythingContainer->addSubview(viewNotesContainer);

  viewRoot = plainView(cg::Rect(0, 0, W, E), fill);
  viewRoot->setBackgroundColor(cg::Color::fromRGB255(236, 232, 222));
  float H = E - kBottomBarHeight;
  viewTranslationsContainer = plainView(cg::Rect(0, 0, 576, H), ViewAutoresizingFlexibleHeight);
  viewPrimTransContainer = plainView(cg::Rect(0, 0, 288, H), ViewAutoresizingFlexibleHeight);
  viewSecTransContainer = plainView(cg::Rect(288, 0, 280, H), ViewAutoresizingFlexibleHeight);
  viewTranslationsContainer->addSubview(viewPrimTransContainer);
  viewTranslationsContainer->addSubview(viewSecTransContainer);
  viewRoot->addSubview(viewTranslationsContainer);

  viewIndexList = plainView(cg::Rect(W - kColumnWidth, 0, kColumnWidth, H),
                            ViewAutoresizingFlexibleLeftMargin | ViewAutoresizingFlexibleHeight);
  viewIndexList->setClipsToBounds(true);
  viewRoot->addSubview(viewIndexList);

  viewFloatingVerses = plainView(cg::Rect(W - kColumnWidth - 480, 0, 480, H), ViewAutoresizingFlexibleHeight);
  viewFloatingVerses->setBackgroundColor(cg::Color::white());
  viewVersesContainer = plainView(viewFloatingVerses->bounds(), fill);
  viewFloatingVerses->addSubview(viewVersesContainer);
  // A dark hairline on each side sets the reading view off the columns it slides over.
  for (bool right : {false, true}) {
    auto edge = plainView(cg::Rect(right ? 479 : 0, 0, 1, H),
                          ViewAutoresizingFlexibleHeight | (right ? ViewAutoresizingFlexibleLeftMargin : 0u));
    edge->setBackgroundColor(cg::Color::fromRGB255(120, 104, 84));
    edge->setUserInteractionEnabled(false);
    viewFloatingVerses->addSubview(edge);
  }
  viewRoot->addSubview(viewFloatingVerses);

  viewBottomBar = plainView(cg::Rect(0, H, W, kBottomBarHeight), ViewAutoresizingFlexibleWidth |
                                                                      ViewAutoresizingFlexibleTopMargin);
  auto barBG = std::make_shared<ImageView>(viewBottomBar->bounds());
  barBG->setImage(Image::imageNamed("tabbar-pattern.png"));
  barBG->setContentMode(ContentMode::ScaleToFill);
  barBG->setAutoresizingMask(fill);
  viewBottomBar->addSubview(barBG);
  btnTabNextVerse = std::make_shared<Button>(cg::Rect(5, 2, 44, 44));
  btnTabNextVerse->setBackgroundImage(Image::imageNamed("ipad-zoom.png"), ControlStateNormal);
  btnTabNextVerse->setBackgroundImage(Image::imageNamed("ipad-zoom.png"), ControlStateHighlighted);
  btnTabNextVerse->addTarget(this, [this](Control&) { smoothScrollToNextVerse(); }, ControlEventTouchUpInside);
  viewBottomBar->addSubview(btnTabNextVerse);
  viewAirPlayControl = plainView(cg::Rect(W - kColumnWidth - 44, 2, 40, 44), ViewAutoresizingFlexibleLeftMargin);
  viewAirPlayControl->setAlpha(0);
  viewBottomBar->addSubview(viewAirPlayControl);
  imgBottomOverlay = std::make_shared<ImageView>(cg::Rect(W - kColumnWidth, 0, kColumnWidth, kBottomBarHeight));
  imgBottomOverlay->setImage(Image::imageNamed("tabbar-pattern.png"));
  imgBottomOverlay->setContentMode(ContentMode::ScaleToFill);
  imgBottomOverlay->setAutoresizingMask(ViewAutoresizingFlexibleLeftMargin);
  imgBottomOverlay->setAlpha(0);
  // Left to right under the column: index, bookmarks, search, More.
  std::shared_ptr<Button>* order[] = {&btnTabIndex, &btnTabBookmark, &btnTabSearch, &btnTabMore};
  const int tags[] = {3, 2, 1, 0};
  for (int i = 0; i < 4; ++i) {
    auto b = std::make_shared<Button>(cg::Rect(W - kColumnWidth + i * kTabWidth, 0, kTabWidth, kBottomBarHeight));
    b->setTag(tags[i]);
    b->setAutoresizingMask(ViewAutoresizingFlexibleLeftMargin);
    b->setAdjustsImageWhenHighlighted(false);
    Button* raw = b.get();
    b->addTarget(this, [this, raw](Control&) { tabbarButtonDown(raw); }, ControlEventTouchDown);
    b->addTarget(this, [this, raw](Control&) { tabbarButtonPressed(raw->tag()); }, ControlEventTouchUpInside);
    b->addTarget(this, [this](Control&) { tabbarButtonUp(); }, ControlEventTouchUpInside | ControlEventTouchUpOutside);
    viewBottomBar->addSubview(b);
    *order[i] = b;
  }
  viewBottomBar->addSubview(imgBottomOverlay);
  viewRoot->addSubview(viewBottomBar);
  viewEverythingContainer->addSubview(viewRoot);

  imgSplash = std::make_shared<ImageView>(cg::Rect(0, 0, W, E));
  imgSplash->setAutoresizingMask(fill);
  imgSplash->setContentMode(ContentMode::ScaleAspectFill);
  imgSplash->setUserInteractionEnabled(false);
  viewEverythingContainer->addSubview(imgSplash);
}
