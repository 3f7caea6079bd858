// The "SearchView" layout, built in code: the top bar (Saved, the search bar),
// the segment bar that slides out below it while the bar is edited, the
// results (a title line with More, the table, the operator hints) with the
// dimming overlay over them, and the operator keys that ride the keyboard.
#include "Classes/common/ScreenSupport.h"
#include "Classes/search/SearchViewController.h"
#include "platform/ui/Screen.h"

namespace {

using screens::localized;

constexpr float kColumnWidth = 288;
constexpr float kTopBarHeight = 52;
constexpr float kSegmentHeight = 40;
constexpr float kTitleHeight = 44;

const cg::Color kTitleColour = cg::Color::fromRGB255(62, 74, 92);
const cg::Color kHintColour = cg::Color::fromRGB255(101, 100, 94);
const cg::Color kResultsTint = cg::Color::fromRGB255(236, 241, 247);

std::shared_ptr<ui::Button> blackButton(cg::Rect frame) {
  auto b = std::make_shared<ui::Button>(frame);
  b->setBackgroundImage(screens::stretchedImage("ipad-black-button.png", 16, 0), ui::ControlStateNormal);
  b->setBackgroundImage(screens::stretchedImage("ipad-black-button-t.png", 16, 0), ui::ControlStateHighlighted);
  b->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 12));
  b->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  screens::centreTitleAcrossButton(*b);
  return b;
}

}  // namespace

void SearchViewController::loadView() {
  float h = ui::Screen::main().applicationFrame().height();
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, kColumnWidth, h));
  root->setBackgroundColor(cg::Color::white());
  root->setAutoresizesSubviews(true);
  root->setClipsToBounds(true);
  imgBG = std::make_shared<ui::ImageView>(root->bounds());
  imgBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(imgBG);
  buildSegments(*root);
  buildResults(*root);
  buildTopBar(*root);
  buildKeyBar(*root);
  viewBatchEditBar = std::make_shared<ui::View>(cg::Rect(0, 0, kColumnWidth, 49));
  imgBatchEditBarBG = std::make_shared<ui::ImageView>(viewBatchEditBar->bounds());
  viewBatchEditBar->addSubview(imgBatchEditBarBG);
  setView(root);
}

// Saved (back to the history) and the search bar.
void SearchViewController::buildTopBar(ui::View& root) {
  float w = root.bounds().width();
  viewTopNavBar = std::make_shared<ui::View>(cg::Rect(0, 0, w, kTopBarHeight));
  viewTopNavBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopNavBar->setAutoresizesSubviews(true);
  root.addSubview(viewTopNavBar);
  imgTopBarBG = std::make_shared<ui::ImageView>(viewTopNavBar->bounds());
  imgTopBarBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  viewTopNavBar->addSubview(imgTopBarBG);
  btnSavedSearches = std::make_shared<ui::Button>(cg::Rect(6, 11, 70, 30));
  btnSavedSearches->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 12));
  btnSavedSearches->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  btnSavedSearches->setTitleEdgeInsets(cg::EdgeInsets{0, 8, 0, 0});
  screens::centreTitleAcrossButton(*btnSavedSearches);
  btnSavedSearches->addTarget(this, [this](ui::Control&) { btnSavedSearchesPressed(); }, ui::ControlEventTouchUpInside);
  viewTopNavBar->addSubview(btnSavedSearches);
  txtSearchBar_ = std::make_shared<ui::SearchBar>(cg::Rect(78, 4, w - 80, ui::SearchBar::kHeight));
  txtSearchBar_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopNavBar->addSubview(txtSearchBar_);
}

// What is searched: the translations the reading screen shows and the Qur'an.
void SearchViewController::buildSegments(ui::View& root) {
  float w = root.bounds().width();
  viewSegment = std::make_shared<ui::View>(cg::Rect(0, 0, w, kSegmentHeight));
  viewSegment->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewSegment->setBackgroundColor(cg::Color::fromRGB255(226, 232, 240));
  root.addSubview(viewSegment);
  segmentSelector = std::make_shared<ui::SegmentedControl>();
  segmentSelector->setFrame(cg::Rect(8, 6, w - 16, 28));
  segmentSelector->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  segmentSelector->setSegmentedControlStyle(ui::SegmentedControlStyle::Bar);
  segmentSelector->addTarget(this, [this](ui::Control&) { segmentSelectorPressed(); }, ui::ControlEventValueChanged);
  viewSegment->addSubview(segmentSelector);
}

void SearchViewController::buildResults(ui::View& root) {
  float w = root.bounds().width(), h = root.bounds().height() - kTopBarHeight;
  viewCenterContainer = std::make_shared<ui::View>(cg::Rect(0, kTopBarHeight, w, h));
  viewCenterContainer->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  viewCenterContainer->setAutoresizesSubviews(true);
  viewCenterContainer->setBackgroundColor(cg::Color::white());
  root.addSubview(viewCenterContainer);

  viewResultsBG = std::make_shared<ui::View>(cg::Rect(0, 0, w, kTitleHeight));
  viewResultsBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewResultsBG->setBackgroundColor(cg::Color::fromRGB255(244, 246, 249));
  viewCenterContainer->addSubview(viewResultsBG);
  lblResultsTitle = std::make_shared<ui::Label>(cg::Rect(8, 0, w - 74, kTitleHeight));
  lblResultsTitle->setFont(ui::Font::fontWithName("Helvetica-Bold", 13));
  lblResultsTitle->setTextColor(kTitleColour);
  lblResultsTitle->setNumberOfLines(2);
  lblResultsTitle->setAdjustsFontSizeToFitWidth(true);
  lblResultsTitle->setMinimumFontSize(10);
  lblResultsTitle->setBackgroundColor(cg::Color::clear());
  lblResultsTitle->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewResultsBG->addSubview(lblResultsTitle);
  btnMore = blackButton(cg::Rect(w - 62, 8, 56, 28));
  btnMore->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  btnMore->setTitle(localized("More"), ui::ControlStateNormal);
  btnMore->setHidden(true);
  btnMore->addTarget(this, [this](ui::Control&) { btnMorePressed(); }, ui::ControlEventTouchUpInside);
  viewResultsBG->addSubview(btnMore);
  activityView = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
  activityView->setCenter(cg::Point(w - 34, kTitleHeight / 2));
  activityView->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  activityView->setHidesWhenStopped(true);
  viewResultsBG->addSubview(activityView);

  tblSearchResults_ = std::make_shared<ui::TableView>(cg::Rect(0, kTitleHeight, w, h - kTitleHeight),
                                                      ui::TableViewStyle::Plain);
  tblSearchResults_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  tblSearchResults_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tblSearchResults_->setBackgroundColor(kResultsTint);
  viewCenterContainer->addSubview(tblSearchResults_);

  lblHintTop = std::make_shared<ui::Label>(cg::Rect(14, 14, w - 28, 22));
  lblHintTop->setFont(ui::Font::fontWithName("Helvetica-Bold", 15));
  lblHintTop->setTextColor(cg::Color::fromRGB255(113, 77, 147));
  lblHintTop->setBackgroundColor(cg::Color::clear());
  lblHintTop->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  lblHintTop->setAlpha(0);
  viewCenterContainer->addSubview(lblHintTop);
  lblHintTitle = std::make_shared<ui::Label>(cg::Rect(14, 44, w - 28, 340));
  lblHintTitle->setFont(ui::Font::fontWithName("Helvetica", 13));
  lblHintTitle->setTextColor(kHintColour);
  lblHintTitle->setNumberOfLines(0);
  lblHintTitle->setBackgroundColor(cg::Color::clear());
  lblHintTitle->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  lblHintTitle->setAlpha(0);
  viewCenterContainer->addSubview(lblHintTitle);
}

// The quote, the asterisk, the minus and OR, for the query's syntax.
void SearchViewController::buildKeyBar(ui::View& root) {
  float w = root.bounds().width();
  viewSearchBar = std::make_shared<ui::View>(cg::Rect(0, root.bounds().height(), w, 44));
  viewSearchBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewSearchBar->setAutoresizesSubviews(true);
  auto background = std::make_shared<ui::ImageView>(viewSearchBar->bounds());
  background->setImage(screens::stretchedImage("tabbar-pattern.png", 1, 0));
  background->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  viewSearchBar->addSubview(background);
  const char* titles[] = {"\"", "*", "-", "OR"};
  std::shared_ptr<ui::Button>* slots[] = {&btnBarQoute, &btnBarAsterisk, &btnBarMinus, &btnBarOR};
  float gap = 6, bw = (w - 5 * gap) / 4;
  for (int i = 0; i < 4; ++i) {
    auto b = blackButton(cg::Rect(gap + float(i) * (bw + gap), 6, bw, 32));
    b->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 17));
    b->setTitle(titles[i], ui::ControlStateNormal);
    b->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleLeftMargin |
                           ui::ViewAutoresizingFlexibleRightMargin);
    ui::Button* raw = b.get();
    b->addTarget(this, [this, raw](ui::Control&) { keybarButtonPressed(raw); }, ui::ControlEventTouchUpInside);
    viewSearchBar->addSubview(b);
    *slots[i] = b;
  }
}

// Over the results while the search bar is edited; a tap on it ends the editing.
void SearchViewController::makeOpaqueLayer() {
  cg::Rect b = viewCenterContainer->bounds();
  viewOpaqueLayer = std::make_shared<OpaqueLayer>(cg::Rect(0, 0, b.width(), b.height()));
  viewOpaqueLayer->setUserInteractionEnabled(false);
  viewOpaqueLayer->setAutoresizesSubviews(true);
  viewOpaqueLayer->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  viewOpaqueLayer->setOpaque(false);
  viewOpaqueLayer->setDelegate(std::static_pointer_cast<SearchViewController>(shared_from_this()));
  viewOpaqueLayer->setAlpha(0);
  viewOpaqueLayer->setBackgroundColor(cg::Color::clear());
  viewCenterContainer->addSubview(viewOpaqueLayer);
}

void SearchViewController::refreshTheme() {
  if (!txtSearchBar_) return;
  txtSearchBar_->setPlaceholder(localized("Search"));
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted})
    btnSavedSearches->setTitle(localized("Saved"), state);
  btnSavedSearches->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left.png", 19, 0),
                                       ui::ControlStateNormal);
  btnSavedSearches->setBackgroundImage(screens::stretchedImage("ipad-button-arrow-left-t.png", 19, 0),
                                       ui::ControlStateHighlighted);
  if (auto* background = txtSearchBar_->backgroundView()) background->setAlpha(0);
  imgBatchEditBarBG->setImage(screens::stretchedImage("tabbar-pattern.png", 1, 0));
  imgTopBarBG->setImage(screens::stretchedImage("ipad-column-header-s9.png", 5, 0));
  lblResultsTitle->setContentMode(ui::ContentMode::Center);
}
