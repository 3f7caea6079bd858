#include "toolkit/tables/TKSearchBar.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/ImageView.h"
#include "platform/ui/ScrollView.h"
#include "toolkit/core/Font+TKCategory.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TableView+TKCategory.h"
#include "toolkit/core/View+TKCategory.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/tables/TKTableView.h"

namespace {
constexpr float kMarginX = 5;
constexpr float kPaddingX = 10;
constexpr float kSpacingX = 4;
constexpr float kButtonHeight = 30;
constexpr float kIndexViewMargin = 4;
constexpr float kMinimumHeight = 44;
}  // namespace

TKSearchBar::TKSearchBar(cg::Rect frame) : TKView(frame) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  boxView_ = std::make_shared<TKView>();
  boxView_->setBackgroundColor(cg::Color::clear());
  boxView_->setOpaque(false);
  addSubview(boxView_);

  searchField_ = std::make_shared<TKSearchTextField>();
  searchField_->setPlaceholder(TKLibraryLocalizedString("Search"));
  searchField_->setAutocapitalizationType(ui::TextAutocapitalizationType::None);
  searchField_->addTarget(this, [this](ui::Control&) { textFieldDidBeginEditing(); },
                          ui::ControlEventEditingDidBegin);
  searchField_->addTarget(this, [this](ui::Control&) { textFieldDidEndEditing(); }, ui::ControlEventEditingDidEnd);
  addSubview(searchField_);

  tintColor_ = sheet->searchBarTintColor();
  setStyle(sheet->styleWithSelector("searchBar"));
  setTextFieldStyle(sheet->styleWithSelector("searchTextField"));
  setFont(sheet->font());
  setShowsSearchIcon(true);
  setShowsCancelButton(false);
}

TKSearchBar::~TKSearchBar() {
  searchField_->removeTarget(this, ui::ControlEventAllEvents);
  if (cancelButton_) cancelButton_->removeTarget(this, ui::ControlEventAllEvents);
}

void TKSearchBar::setTextFieldStyle(std::shared_ptr<TKStyle> style) {
  if (style == textFieldStyle_) return;
  textFieldStyle_ = std::move(style);
  boxView_->setStyle(textFieldStyle_);
}

void TKSearchBar::setShowsCancelButton(bool shows) {
  if (shows == showsCancelButton_) return;
  showsCancelButton_ = shows;
  if (shows) {
    cancelButton_ = TKButton::buttonWithStyle("blackToolbarButton:", TKLibraryLocalizedString("Cancel"));
    std::weak_ptr<TKSearchTextField> field = searchField_;
    cancelButton_->addTarget(this, [field](ui::Control&) {
      if (auto f = field.lock()) f->resignFirstResponder();
    }, ui::ControlEventTouchUpInside);
    addSubview(cancelButton_);
  } else if (cancelButton_) {
    cancelButton_->removeFromSuperview();
    cancelButton_.reset();
  }
  setNeedsLayout();
}

void TKSearchBar::setShowsSearchIcon(bool shows) {
  if (shows == showsSearchIcon_) return;
  showsSearchIcon_ = shows;
  if (shows) {
    auto icon = std::make_shared<ui::ImageView>(ui::Image::imageNamed("Toolkit.bundle/images/searchIcon.png"));
    icon->sizeToFit();
    icon->setContentMode(ui::ContentMode::Left);
    cg::Rect f = icon->frame();
    icon->setFrame(cg::Rect(f.x(), f.y(), f.width() + 4, f.height()));  // two points on either side
    searchField_->setLeftView(icon);
    searchField_->setLeftViewMode(ui::TextFieldViewMode::Always);
  } else {
    searchField_->setLeftView(nullptr);
    searchField_->setLeftViewMode(ui::TextFieldViewMode::Never);
  }
  setNeedsLayout();
}

float TKSearchBar::indexViewWidth() {
  auto* table = ui::ancestorOrSelfWithClass<ui::TableView>(*this);
  ui::View* index = table ? ui::indexView(*table) : nullptr;
  return index ? index->frame().width() : 0;
}

void TKSearchBar::layoutSubviews() {
  float W = frame().width(), H = frame().height();
  float indexWidth = searchField_->isEditing() ? 0 : indexViewWidth();
  float cancelWidth = 0;
  if (cancelButton_) {
    cancelButton_->sizeToFit();
    cancelWidth = cancelButton_->frame().width() + kSpacingX;
  }
  float iconInset = showsSearchIcon_ ? 0 : kSpacingX;
  float boxHeight = ui::TKLineHeight(font()) + 8;
  float boxY = std::floor(H / 2 - boxHeight / 2);
  boxView_->setFrame(cg::Rect(kMarginX, boxY, W - (indexWidth + kPaddingX + cancelWidth), boxHeight));
  searchField_->setFrame(
      cg::Rect(iconInset + 15, 0, W - (iconInset + 20 + cancelWidth + indexWidth), H));
  if (cancelButton_)
    cancelButton_->setFrame(cg::Rect(boxView_->frame().maxX() + kSpacingX, std::floor(H / 2 - kButtonHeight / 2),
                                     cancelButton_->frame().width(), kButtonHeight));
}

cg::Size TKSearchBar::sizeThatFits(cg::Size size) const {
  return {size.width, std::max(ui::TKLineHeight(font()) + 20, kMinimumHeight)};
}

void TKSearchBar::showIndexView(bool show) {
  auto* table = ui::ancestorOrSelfWithClass<ui::TableView>(*this);
  ui::View* index = table ? ui::indexView(*table) : nullptr;
  if (!index) return;
  float W = frame().width();
  float width = index->frame().width();
  ui::View::beginAnimations("TKSearchBarIndex");
  ui::View::setAnimationDuration(kIndexAnimationDuration);
  cg::Rect f = index->frame();
  if (show) index->setFrame(cg::Rect(W - (width + kIndexViewMargin), f.y(), f.width(), f.height()));
  else index->setFrame(f.offsetBy(width + kIndexViewMargin, 0));
  index->setAlpha(show ? 1 : 0);
  float grow = show ? -width : width;
  for (ui::View* v : {static_cast<ui::View*>(searchField_.get()), static_cast<ui::View*>(boxView_.get())}) {
    cg::Rect r = v->frame();
    v->setFrame(cg::Rect(r.x(), r.y(), r.width() + grow, r.height()));
  }
  ui::View::commitAnimations();
}

void TKSearchBar::textFieldDidBeginEditing() {
  scrollToTop();
  showIndexView(false);
}

void TKSearchBar::textFieldDidEndEditing() { showIndexView(true); }

void TKSearchBar::scrollToTop() {
  auto* scroll = superview() ? ui::ancestorOrSelfWithClass<ui::ScrollView>(*superview()) : nullptr;
  if (!scroll) return;
  float y = ui::offsetFromView(*this, scroll).y;
  if (y != scroll->contentOffset().y) scroll->setContentOffset({scroll->contentOffset().x, y}, true);
}
