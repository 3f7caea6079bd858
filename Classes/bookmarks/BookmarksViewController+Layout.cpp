// The "BookmarksView" layout, built in code: the title bar with the Groups
// and Edit buttons, the filter field on its backdrop, the table with its
// spinner and the "No Bookmarks Found" label, the dimming overlay below the
// top 96 points, and the batch bar that the root shows over its bottom bar.
#include "Classes/bookmarks/BookmarksViewController.h"
#include "Classes/common/ScreenSupport.h"
#include "platform/ui/Screen.h"

namespace {

using screens::localized;

constexpr float kColumnWidth = 288;
constexpr float kTopBarHeight = 44;
constexpr float kFilterHeight = 52;  // the field's backdrop: the list starts 96 points down

const cg::Color kTitleColour = cg::Color::fromRGB255(62, 74, 92);
const cg::Color kHintColour = cg::Color::fromRGB255(101, 100, 94);

// A black button of the bars.
std::shared_ptr<ui::Button> barButton(cg::Rect frame) {
  auto b = std::make_shared<ui::Button>(frame);
  b->setBackgroundImage(screens::stretchedImage("ipad-black-button.png", 16, 0), ui::ControlStateNormal);
  b->setBackgroundImage(screens::stretchedImage("ipad-black-button-t.png", 16, 0), ui::ControlStateHighlighted);
  b->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 12));
  b->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  b->setTitleColor(cg::Color::white().withAlpha(0.4f), ui::ControlStateDisabled);
  screens::centreTitleAcrossButton(*b);
  return b;
}

}  // namespace

void BookmarksViewController::loadView() {
  float h = ui::Screen::main().applicationFrame().height();
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, kColumnWidth, h));
  root->setBackgroundColor(cg::Color::white());
  root->setAutoresizesSubviews(true);
  imgBG = std::make_shared<ui::ImageView>(root->bounds());
  imgBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  root->addSubview(imgBG);
  buildTable(*root);
  buildFilter(*root);
  buildTopBar(*root);
  buildBatchBar(kColumnWidth);
  setView(root);
}

// The title between the Groups button (back to the groups) and Edit.
void BookmarksViewController::buildTopBar(ui::View& root) {
  float w = root.bounds().width();
  viewTopNavBar = std::make_shared<ui::View>(cg::Rect(0, 0, w, kTopBarHeight));
  viewTopNavBar->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopNavBar->setAutoresizesSubviews(true);
  root.addSubview(viewTopNavBar);
  imgTopBarBG = std::make_shared<ui::ImageView>(viewTopNavBar->bounds());
  imgTopBarBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopNavBar->addSubview(imgTopBarBG);

  btnGroups = std::make_shared<ui::Button>(cg::Rect(6, 7, 88, 30));
  btnGroups->titleLabel()->setFont(ui::Font::fontWithName("Helvetica-Bold", 12));
  btnGroups->setTitleColor(cg::Color::white(), ui::ControlStateNormal);
  btnGroups->setTitleEdgeInsets(cg::EdgeInsets{0, 8, 0, 0});
  screens::centreTitleAcrossButton(*btnGroups);
  btnGroups->addTarget(this, [this](ui::Control&) { btnGroupPressed(); }, ui::ControlEventTouchUpInside);
  viewTopNavBar->addSubview(btnGroups);

  lblNavTitle = std::make_shared<ui::Label>(cg::Rect(98, 0, w - 172, kTopBarHeight));
  lblNavTitle->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
  lblNavTitle->setTextColor(kTitleColour);
  lblNavTitle->setTextAlignment(ui::TextAlignment::Center);
  lblNavTitle->setAdjustsFontSizeToFitWidth(true);
  lblNavTitle->setMinimumFontSize(11);
  lblNavTitle->setBackgroundColor(cg::Color::clear());
  lblNavTitle->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewTopNavBar->addSubview(lblNavTitle);

  btnMore = barButton(cg::Rect(w - 70, 7, 64, 30));
  btnMore->setBackgroundImage(screens::stretchedImage("ipad-black-button-t.png", 16, 0), ui::ControlStateSelected);
  btnMore->setTitle(localized("Edit"), ui::ControlStateNormal);
  btnMore->setTitle(localized("Done"), ui::ControlStateSelected);
  btnMore->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin);
  btnMore->addTarget(this, [this](ui::Control&) { btnMorePressed(); }, ui::ControlEventTouchUpInside);
  viewTopNavBar->addSubview(btnMore);
}

void BookmarksViewController::buildFilter(ui::View& root) {
  float w = root.bounds().width();
  viewBgSearch = std::make_shared<ui::View>(cg::Rect(0, kTopBarHeight, w, kFilterHeight));
  viewBgSearch->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  viewBgSearch->setBackgroundColor(cg::Color::black());
  viewBgSearch->setAlpha(0);
  root.addSubview(viewBgSearch);
  auto backdrop = std::make_shared<ui::View>(cg::Rect(0, kTopBarHeight, w, kFilterHeight));
  backdrop->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  backdrop->setBackgroundColor(cg::Color::fromRGB255(226, 232, 240));
  root.insertSubviewBelowSubview(backdrop, viewBgSearch.get());
  txtSearchBar_ = std::make_shared<ui::SearchBar>(cg::Rect(0, kTopBarHeight + 4, w, ui::SearchBar::kHeight));
  txtSearchBar_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  root.addSubview(txtSearchBar_);
}

void BookmarksViewController::buildTable(ui::View& root) {
  float w = root.bounds().width(), h = root.bounds().height(), top = kTopBarHeight + kFilterHeight;
  tblBookmarks_ = std::make_shared<ui::TableView>(cg::Rect(0, top, w, h - top), ui::TableViewStyle::Plain);
  tblBookmarks_->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  tblBookmarks_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
  tblBookmarks_->setAllowsSelectionDuringEditing(true);
  tblBookmarks_->setBackgroundColor(cg::Color::white());
  root.addSubview(tblBookmarks_);

  lblNoBookmarks = std::make_shared<ui::Label>(cg::Rect(10, top + 40, w - 20, 30));
  lblNoBookmarks->setFont(ui::Font::fontWithName("Helvetica-Bold", 16));
  lblNoBookmarks->setTextColor(kHintColour);
  lblNoBookmarks->setTextAlignment(ui::TextAlignment::Center);
  lblNoBookmarks->setBackgroundColor(cg::Color::clear());
  lblNoBookmarks->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth);
  lblNoBookmarks->setAlpha(0);
  root.addSubview(lblNoBookmarks);

  activityView = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
  activityView->setCenter(cg::Point(w / 2, top + 55));
  activityView->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleRightMargin);
  activityView->setHidesWhenStopped(true);
  root.addSubview(activityView);
}

// Move, Mail and Remove, across the column's width in the root's bottom bar.
void BookmarksViewController::buildBatchBar(float width) {
  viewBatchEditBar_ = std::make_shared<ui::View>(cg::Rect(0, 0, width, 49));
  viewBatchEditBar_->setAutoresizesSubviews(true);
  imgBatchEditBarBG = std::make_shared<ui::ImageView>(viewBatchEditBar_->bounds());
  imgBatchEditBarBG->setImage(screens::stretchedImage("tabbar-pattern.png", 1, 0));
  imgBatchEditBarBG->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  viewBatchEditBar_->addSubview(imgBatchEditBarBG);
  float gap = 8, bw = (width - 4 * gap) / 3;
  int i = 0;
  for (auto* slot : {&btnBatchMove, &btnBatchShare, &btnBatchRemove}) {
    auto b = barButton(cg::Rect(gap + float(i++) * (bw + gap), 9, bw, 31));
    b->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleLeftMargin |
                           ui::ViewAutoresizingFlexibleRightMargin);
    ui::Button* raw = b.get();
    b->addTarget(this, [this, raw](ui::Control&) { batchEditButtonPressed(raw); }, ui::ControlEventTouchUpInside);
    viewBatchEditBar_->addSubview(b);
    *slot = b;
  }
}

// Over everything below the title bar and the filter field.
void BookmarksViewController::makeOpaqueLayer(ui::View& root) {
  cg::Rect f = root.frame();
  viewOpaqueLayer = std::make_shared<OpaqueLayer>(cg::Rect(f.x(), 96, f.width(), f.height() - 96));
  viewOpaqueLayer->setUserInteractionEnabled(false);
  viewOpaqueLayer->setOpaque(false);
  viewOpaqueLayer->setDelegate(std::static_pointer_cast<BookmarksViewController>(shared_from_this()));
  viewOpaqueLayer->setAutoresizesSubviews(true);
  viewOpaqueLayer->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  viewOpaqueLayer->setAlpha(0);
  viewOpaqueLayer->setBackgroundColor(cg::Color::clear());
  root.addSubview(viewOpaqueLayer);
}
