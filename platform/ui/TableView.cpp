#include "platform/ui/TableView.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/TableViewIndex.h"

namespace ui {

namespace {

constexpr float kPlainHeaderHeight = 22;
constexpr float kGroupedGap = 10;
constexpr float kGroupedTitleHeaderHeight = 46;
constexpr float kGroupedTitleFooterHeight = 36;
constexpr double kRowAnimationDuration = 0.3;
constexpr double kHighlightDelay = 0.1;
// Pooled cells beyond what a screen shows are let go.
constexpr size_t kSparePooledCells = 4;

const cg::Color kGroupedBackground = cg::Color(0.84f, 0.86f, 0.89f);
const cg::Color kGroupedTitleColor = cg::Color(0.30f, 0.34f, 0.42f);

float sane(float height) { return std::isfinite(height) && height > 0 ? height : 0; }

// The title of a section header or footer, in the table's style.
class SectionTitleView : public View {
 public:
  enum class Kind { PlainHeader, PlainFooter, GroupedHeader, GroupedFooter };
  SectionTitleView(Kind kind, std::string title, float inset)
      : kind_(kind), title_(std::move(title)), inset_(inset) {
    setOpaque(kind == Kind::PlainHeader || kind == Kind::PlainFooter);
    setUserInteractionEnabled(false);
  }
  void drawRect(cg::Context& c, cg::Rect) override {
    cg::Rect b = bounds();
    bool plain = kind_ == Kind::PlainHeader || kind_ == Kind::PlainFooter;
    if (plain) {
      c.setFillColor(cg::Color(0.56f, 0.61f, 0.67f, 0.92f));
      c.fillRect(b);
      c.setFillColor(cg::Color(0.44f, 0.49f, 0.55f));
      c.fillRect(cg::Rect(b.x(), b.maxY() - 1, b.width(), 1));
      Font font = Font::boldSystemFontOfSize(18);
      float h = font.lineHeight();
      drawTextInRect(c, title_, cg::Rect(12, (b.height() - h) / 2, b.width() - 24, h), font,
                     cg::Color::white(), TextAlignment::Left, LineBreakMode::TruncateTail);
      return;
    }
    if (kind_ == Kind::GroupedHeader) {
      Font font = Font::boldSystemFontOfSize(17);
      float h = font.lineHeight();
      cg::Rect r(inset_ + 10, b.height() - h - 8, b.width() - 2 * inset_ - 20, h);
      drawTextInRect(c, title_, r.offsetBy(0, 1), font, cg::Color::white(), TextAlignment::Left,
                     LineBreakMode::TruncateTail);
      drawTextInRect(c, title_, r, font, kGroupedTitleColor, TextAlignment::Left,
                     LineBreakMode::TruncateTail);
    } else {
      Font font = Font::systemFontOfSize(15);
      float h = font.lineHeight();
      drawTextInRect(c, title_, cg::Rect(inset_ + 10, 6, b.width() - 2 * inset_ - 20, h), font,
                     kGroupedTitleColor, TextAlignment::Center, LineBreakMode::TruncateTail);
    }
  }

 private:
  Kind kind_;
  std::string title_;
  float inset_;
};

}  // namespace

// Shows a row's delete confirmation after a sideways swipe over it.
class SwipeToDeleteRecognizer : public GestureRecognizer {
 public:
  SwipeToDeleteRecognizer() = default;
  void touchesMoved(const TouchSet& touches, const Event& event) override {
    GestureRecognizer::touchesMoved(touches, event);
    if (state() != GestureRecognizerState::Possible) return;
    float dx = lastLocation().x - startLocation().x, dy = lastLocation().y - startLocation().y;
    if (std::fabs(dy) > 15 && std::fabs(dy) > std::fabs(dx)) {
      setState(GestureRecognizerState::Failed);
    } else if (std::fabs(dx) > 30 && std::fabs(dx) > 2 * std::fabs(dy)) {
      auto* table = static_cast<TableView*>(view());
      bool swiped = table && table->swipedRowAtPoint(table->convertPointFromView(startLocation(), nullptr));
      setState(swiped ? GestureRecognizerState::Began : GestureRecognizerState::Failed);
    }
  }
  void touchesEnded(const TouchSet& touches, const Event& event) override {
    GestureRecognizer::touchesEnded(touches, event);
    if (isActive()) setState(GestureRecognizerState::Ended);
    else if (state() == GestureRecognizerState::Possible) setState(GestureRecognizerState::Failed);
  }
};

float TableViewDelegate::heightForRowAtIndexPath(TableView* tableView, const IndexPath&) {
  return tableView ? tableView->rowHeight() : 44;
}

// --- set-up ------------------------------------------------------------------------

TableView::TableView(cg::Rect frame, TableViewStyle style)
    : ScrollView(frame),
      style_(style),
      sectionHeaderHeight_(style == TableViewStyle::Plain ? kPlainHeaderHeight : kGroupedGap),
      sectionFooterHeight_(style == TableViewStyle::Plain ? kPlainHeaderHeight : kGroupedGap) {
  setBackgroundColor(style == TableViewStyle::Plain ? cg::Color::white() : kGroupedBackground);
  setAlwaysBounceVertical(true);
  addGestureRecognizer(std::make_shared<SwipeToDeleteRecognizer>());
}

TableView::~TableView() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this);
  for (auto& [_, cell] : visible_) cell->setTable(nullptr);
  for (auto& cell : fading_) cell->setTable(nullptr);
  for (auto& [_, pool] : reusePool_)
    for (auto& cell : pool) cell->setTable(nullptr);
}

void TableView::setDataSource(std::weak_ptr<TableViewDataSource> dataSource) {
  dataSource_ = std::move(dataSource);
  loaded_ = false;
  setNeedsLayout();
}

void TableView::setDelegate(std::weak_ptr<TableViewDelegate> delegate) {
  tableDelegate_ = delegate;
  ScrollView::setDelegate(delegate);
  if (loaded_) loaded_ = false;
  setNeedsLayout();
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style) {
  separatorStyle_ = style;
  for (auto& [_, cell] : visible_) cell->setSeparator(separatorStyle_, separatorColor_);
}

void TableView::setSeparatorColor(cg::Color color) {
  separatorColor_ = color;
  for (auto& [_, cell] : visible_) cell->setSeparator(separatorStyle_, separatorColor_);
}

void TableView::setTableHeaderView(std::shared_ptr<View> view) {
  if (tableHeaderView_) tableHeaderView_->removeFromSuperview();
  tableHeaderView_ = std::move(view);
  if (tableHeaderView_) addSubview(tableHeaderView_);
  if (loaded_) {
    layoutSections();
    tile();
  }
}

void TableView::setTableFooterView(std::shared_ptr<View> view) {
  if (tableFooterView_) tableFooterView_->removeFromSuperview();
  tableFooterView_ = std::move(view);
  if (tableFooterView_) addSubview(tableFooterView_);
  if (loaded_) {
    layoutSections();
    tile();
  }
}

// --- the height model ----------------------------------------------------------------

void TableView::ensureLoaded() {
  if (!loaded_) reloadData();
}

float TableView::rowHeightFor(const IndexPath& p, TableViewDelegate* delegate) {
  return sane(delegate ? delegate->heightForRowAtIndexPath(this, p) : rowHeight_);
}

void TableView::measureHeaderAndFooter(Section& s, int section, TableViewDelegate* delegate) {
  auto source = liveDataSource();
  s.headerTitle = source ? source->titleForHeaderInSection(this, section) : "";
  s.footerTitle = source ? source->titleForFooterInSection(this, section) : "";
  bool grouped = style_ == TableViewStyle::Grouped;
  auto answer = delegate ? delegate->heightForHeaderInSection(this, section) : std::nullopt;
  if (answer) {
    s.header = sane(*answer);
  } else if (!s.headerTitle.empty()) {
    s.header = grouped ? kGroupedTitleHeaderHeight : sectionHeaderHeight_;
  } else if (auto view = delegate ? delegate->viewForHeaderInSection(this, section) : nullptr) {
    s.header = view->frame().height() > 0 ? view->frame().height() : sectionHeaderHeight_;
  } else {
    s.header = grouped ? sectionHeaderHeight_ : 0;
  }
  answer = delegate ? delegate->heightForFooterInSection(this, section) : std::nullopt;
  if (answer) {
    s.footer = sane(*answer);
  } else if (!s.footerTitle.empty()) {
    s.footer = grouped ? kGroupedTitleFooterHeight : sectionFooterHeight_;
  } else if (auto view = delegate ? delegate->viewForFooterInSection(this, section) : nullptr) {
    s.footer = view->frame().height() > 0 ? view->frame().height() : sectionFooterHeight_;
  } else {
    s.footer = grouped ? sectionFooterHeight_ : 0;
  }
}

TableView::Section TableView::measureSection(int section, TableViewDataSource* source,
                                             TableViewDelegate* delegate) {
  Section s;
  int rows = source ? std::max(0, source->numberOfRowsInSection(this, section)) : 0;
  s.rowTops.resize(size_t(rows) + 1);
  for (int r = 0; r < rows; ++r) s.rowTops[r + 1] = s.rowTops[r] + rowHeightFor({section, r}, delegate);
  measureHeaderAndFooter(s, section, delegate);
  return s;
}

void TableView::layoutSections() {
  float y = tableHeaderView_ ? tableHeaderView_->frame().height() : 0;
  for (auto& s : sections_) {
    s.top = y;
    y += s.height();
  }
  float width = bounds().width();
  if (tableHeaderView_)
    tableHeaderView_->setFrame(cg::Rect(0, 0, width, tableHeaderView_->frame().height()));
  if (tableFooterView_) {
    tableFooterView_->setFrame(cg::Rect(0, y, width, tableFooterView_->frame().height()));
    y += tableFooterView_->frame().height();
  }
  contentHeight_ = y;
  setContentSize({width, contentHeight_});
}

float TableView::groupedMargin() const {
  if (style_ != TableViewStyle::Grouped) return 0;
  return bounds().width() >= 400 ? 45 : 10;
}

bool TableView::isValid(const IndexPath& p) const {
  return p.section >= 0 && p.section < int(sections_.size()) && p.row >= 0 &&
         p.row < sections_[p.section].rows();
}

cg::Rect TableView::rowRect(const IndexPath& p) const {
  const Section& s = sections_[p.section];
  float m = groupedMargin();
  float y = s.top + s.header + s.rowTops[p.row];
  return cg::Rect(m, y, bounds().width() - 2 * m, s.rowTops[p.row + 1] - s.rowTops[p.row]);
}

std::optional<IndexPath> TableView::rowAt(float y) const {
  if (sections_.empty() || y < sections_.front().top) return std::nullopt;
  auto it = std::upper_bound(sections_.begin(), sections_.end(), y,
                             [](float v, const Section& s) { return v < s.top; });
  int section = int(it - sections_.begin()) - 1;
  const Section& s = sections_[section];
  float local = y - s.top - s.header;
  if (local < 0 || local >= s.rowsHeight()) return std::nullopt;
  auto r = std::upper_bound(s.rowTops.begin(), s.rowTops.end(), local);
  int row = int(r - s.rowTops.begin()) - 1;
  if (row < 0 || row >= s.rows()) return std::nullopt;
  return IndexPath{section, row};
}

std::vector<int> TableView::sectionsIn(float top, float bottom) const {
  std::vector<int> result;
  auto it = std::partition_point(sections_.begin(), sections_.end(),
                                 [&](const Section& s) { return s.top + s.height() <= top; });
  for (; it != sections_.end() && it->top < bottom; ++it) result.push_back(int(it - sections_.begin()));
  return result;
}

std::vector<IndexPath> TableView::rowsIn(float top, float bottom) const {
  std::vector<IndexPath> result;
  for (int section : sectionsIn(top, bottom)) {
    const Section& s = sections_[section];
    float base = s.top + s.header;
    float localTop = top - base, localBottom = bottom - base;
    auto first = std::upper_bound(s.rowTops.begin(), s.rowTops.end(), std::max(0.0f, localTop));
    int r = std::max(0, int(first - s.rowTops.begin()) - 1);
    for (; r < s.rows() && s.rowTops[r] < localBottom; ++r)
      if (s.rowTops[r + 1] > localTop || s.rowTops[r + 1] == s.rowTops[r]) result.push_back({section, r});
  }
  return result;
}

// --- questions -------------------------------------------------------------------------

int TableView::numberOfSections() {
  ensureLoaded();
  return int(sections_.size());
}

int TableView::numberOfRowsInSection(int section) {
  ensureLoaded();
  if (section < 0 || section >= int(sections_.size())) return 0;
  return sections_[section].rows();
}

cg::Rect TableView::rectForSection(int section) {
  ensureLoaded();
  if (section < 0 || section >= int(sections_.size())) return cg::Rect();
  const Section& s = sections_[section];
  return cg::Rect(0, s.top, bounds().width(), s.height());
}

cg::Rect TableView::rectForHeaderInSection(int section) {
  ensureLoaded();
  if (section < 0 || section >= int(sections_.size())) return cg::Rect();
  const Section& s = sections_[section];
  return cg::Rect(0, s.top, bounds().width(), s.header);
}

cg::Rect TableView::rectForFooterInSection(int section) {
  ensureLoaded();
  if (section < 0 || section >= int(sections_.size())) return cg::Rect();
  const Section& s = sections_[section];
  return cg::Rect(0, s.top + s.header + s.rowsHeight(), bounds().width(), s.footer);
}

cg::Rect TableView::rectForRowAtIndexPath(const IndexPath& indexPath) {
  ensureLoaded();
  return isValid(indexPath) ? rowRect(indexPath) : cg::Rect();
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(cg::Point point) {
  ensureLoaded();
  if (point.x < 0 || point.x >= bounds().width()) return std::nullopt;
  return rowAt(point.y);
}

std::vector<IndexPath> TableView::indexPathsForRowsInRect(cg::Rect rect) {
  ensureLoaded();
  return rowsIn(rect.minY(), rect.maxY());
}

std::shared_ptr<TableViewCell> TableView::cellForRowAtIndexPath(const IndexPath& indexPath) {
  ensureLoaded();
  auto it = visible_.find(indexPath);
  return it == visible_.end() ? nullptr : it->second;
}

std::vector<std::shared_ptr<TableViewCell>> TableView::visibleCells() {
  ensureLoaded();
  std::vector<std::shared_ptr<TableViewCell>> cells;
  cells.reserve(visible_.size());
  for (auto& [_, cell] : visible_) cells.push_back(cell);
  return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() {
  ensureLoaded();
  std::vector<IndexPath> paths;
  paths.reserve(visible_.size());
  for (auto& [p, _] : visible_) paths.push_back(p);
  return paths;
}

std::optional<IndexPath> TableView::indexPathForCell(const TableViewCell* cell) {
  if (!cell) return std::nullopt;
  for (auto& [p, c] : visible_)
    if (c.get() == cell) return p;
  return std::nullopt;
}

// --- cells -----------------------------------------------------------------------------

std::shared_ptr<TableViewCell> TableView::dequeueReusableCellWithIdentifier(const std::string& identifier) {
  auto it = reusePool_.find(identifier);
  if (it == reusePool_.end() || it->second.empty()) return nullptr;
  auto cell = std::move(it->second.back());
  it->second.pop_back();
  cell->prepareForReuse();
  return cell;
}

void TableView::layOutDetachedCell(TableViewCell& cell, const IndexPath& indexPath) {
  ensureLoaded();
  if (!isValid(indexPath)) return;
  configure(cell, indexPath);
  cell.layoutIfNeeded();
  cell.setTable(nullptr);
}

void TableView::enqueue(const std::shared_ptr<TableViewCell>& cell) {
  cell->removeFromSuperview();
  if (cell->reuseIdentifier().empty()) {
    cell->setTable(nullptr);
    return;
  }
  auto& pool = reusePool_[cell->reuseIdentifier()];
  if (pool.size() >= visible_.size() + kSparePooledCells) {
    cell->setTable(nullptr);
    return;
  }
  pool.push_back(cell);
}

void TableView::dropAllCells() {
  for (auto& [_, cell] : visible_) enqueue(cell);
  visible_.clear();
  for (auto& cell : fading_) enqueue(cell);
  fading_.clear();
  for (auto& [_, v] : headerViews_) v->removeFromSuperview();
  for (auto& [_, v] : footerViews_) v->removeFromSuperview();
  headerViews_.clear();
  footerViews_.clear();
}

TableViewCell::GroupPosition TableView::groupPositionFor(const IndexPath& p) const {
  using GP = TableViewCell::GroupPosition;
  if (style_ != TableViewStyle::Grouped) return GP::None;
  int rows = sections_[p.section].rows();
  if (rows == 1) return GP::Single;
  if (p.row == 0) return GP::Top;
  return p.row == rows - 1 ? GP::Bottom : GP::Middle;
}

void TableView::configureEditing(TableViewCell& cell, const IndexPath& p, bool animated) {
  auto source = liveDataSource();
  auto delegate = liveDelegate();
  bool canEdit = source && source->canEditRowAtIndexPath(this, p);
  auto style = !canEdit ? TableViewCellEditingStyle::None
               : delegate ? delegate->editingStyleForRowAtIndexPath(this, p)
                          : TableViewCellEditingStyle::Delete;
  bool indent = delegate ? delegate->shouldIndentWhileEditingRowAtIndexPath(this, p) : true;
  cell.setEditingStyle(style, indent);
  bool confirming = confirming_ == p;
  bool editing = editing_ || (confirming && confirmingBySwipe_);
  if (cell.isEditing() != editing) cell.setEditing(editing, animated);
  else cell.setNeedsLayout();
  std::string title;
  if (confirming) title = delegate ? delegate->titleForDeleteConfirmationButtonForRowAtIndexPath(this, p) : "Delete";
  if (confirming || cell.showingDeleteConfirmation()) cell.setDeleteConfirmation(confirming, title, animated);
}

void TableView::configure(TableViewCell& cell, const IndexPath& p) {
  cell.setTable(this);
  cell.setSeparator(separatorStyle_, separatorColor_);
  cell.setGroupPosition(groupPositionFor(p));
  cell.setFrame(rowRect(p));
  configureEditing(cell, p, false);
  bool selected = selected_ == p;
  if (cell.isSelected() != selected) cell.setSelected(selected, false);
  if (cell.isHighlighted()) cell.setHighlighted(false, false);
}

void TableView::tile() { tileAnimated(false, nullptr); }

void TableView::tileAnimated(bool animate, const std::function<bool(const IndexPath&)>& inserted,
                             TableViewRowAnimation kind) {
  if (!loaded_) return;
  if (tiling_) return;
  tiling_ = true;
  cg::Rect b = bounds();
  std::vector<IndexPath> wanted = rowsIn(b.minY(), b.maxY());
  for (auto it = visible_.begin(); it != visible_.end();) {
    if (!std::binary_search(wanted.begin(), wanted.end(), it->first)) {
      auto cell = it->second;
      it = visible_.erase(it);
      enqueue(cell);
    } else {
      ++it;
    }
  }
  auto source = liveDataSource();
  std::vector<IndexPath> fadingIn;
  for (const IndexPath& p : wanted) {
    if (!source) break;
    if (visible_.count(p)) continue;
    auto cell = source->cellForRowAtIndexPath(this, p);
    // A cell handed out twice would be shown in two rows at once.
    if (!cell || cell->superview() == this) continue;
    configure(*cell, p);
    if (animate && inserted && inserted(p)) {
      cell->setAlpha(0);
      // Top: the row comes down out of the row above it.
      if (kind == TableViewRowAnimation::Top) cell->setFrame(rowRect(p).offsetBy(0, -rowRect(p).height()));
      fadingIn.push_back(p);
    }
    insertSubviewAtIndex(cell, 0);
    visible_[p] = cell;
  }
  if (animate) {
    View::beginAnimations("TableViewRows");
    View::setAnimationDuration(kRowAnimationDuration);
  }
  for (auto& [p, cell] : visible_) {
    cell->setGroupPosition(groupPositionFor(p));
    cg::Rect r = rowRect(p);
    if (!(cell->frame() == r)) cell->setFrame(r);
  }
  for (const IndexPath& p : fadingIn) visible_[p]->setAlpha(1);
  if (animate) View::commitAnimations();
  tileHeadersAndFooters(b.minY(), b.maxY());
  layoutSectionIndex(false);
  tiling_ = false;
  if (reloadWhenTiled_) {
    reloadWhenTiled_ = false;
    reloadData();
  }
}

void TableView::tileHeadersAndFooters(float top, float bottom) {
  std::vector<int> shown = sectionsIn(top, bottom);
  auto drop = [&](std::map<int, std::shared_ptr<View>>& views) {
    for (auto it = views.begin(); it != views.end();) {
      if (!std::binary_search(shown.begin(), shown.end(), it->first)) {
        it->second->removeFromSuperview();
        it = views.erase(it);
      } else {
        ++it;
      }
    }
  };
  drop(headerViews_);
  drop(footerViews_);
  auto delegate = liveDelegate();
  bool plain = style_ == TableViewStyle::Plain;
  float width = bounds().width();
  for (int section : shown) {
    const Section& s = sections_[section];
    if (s.header > 0) {
      auto& view = headerViews_[section];
      if (!view) {
        view = delegate ? delegate->viewForHeaderInSection(this, section) : nullptr;
        if (!view && !s.headerTitle.empty())
          view = std::make_shared<SectionTitleView>(
              plain ? SectionTitleView::Kind::PlainHeader : SectionTitleView::Kind::GroupedHeader,
              s.headerTitle, groupedMargin());
        if (view) addSubview(view);
      }
      if (view) {
        // Plain headers stay at the top while their section scrolls under them.
        float y = s.top;
        if (plain)
          y = std::min(std::max(s.top, bounds().y() + contentInset().top),
                       s.top + s.header + s.rowsHeight() - s.header);
        view->setFrame(cg::Rect(0, std::max(s.top, y), width, s.header));
        bringSubviewToFront(view.get());
      }
    }
    if (s.footer > 0) {
      auto& view = footerViews_[section];
      if (!view) {
        view = delegate ? delegate->viewForFooterInSection(this, section) : nullptr;
        if (!view && !s.footerTitle.empty())
          view = std::make_shared<SectionTitleView>(
              plain ? SectionTitleView::Kind::PlainFooter : SectionTitleView::Kind::GroupedFooter,
              s.footerTitle, groupedMargin());
        if (view) addSubview(view);
      }
      if (view) view->setFrame(cg::Rect(0, s.top + s.header + s.rowsHeight(), width, s.footer));
    }
    if (headerViews_.count(section) && !headerViews_[section]) headerViews_.erase(section);
    if (footerViews_.count(section) && !footerViews_[section]) footerViews_.erase(section);
  }
}

// --- reloading -------------------------------------------------------------------------

void TableView::reloadData() {
  if (tiling_) {
    reloadWhenTiled_ = true;
    return;
  }
  loaded_ = true;
  confirming_.reset();
  pressed_.reset();
  selected_.reset();
  dropAllCells();
  auto source = liveDataSource();
  auto delegate = liveDelegate();
  int count = source ? std::max(0, source->numberOfSectionsInTableView(this)) : 0;
  sections_.clear();
  sections_.reserve(size_t(count));
  for (int i = 0; i < count; ++i) sections_.push_back(measureSection(i, source.get(), delegate.get()));
  layoutSections();
  updateSectionIndex();
  cg::Point o = contentOffset(), hi = maximumContentOffset();
  if (o.y > hi.y && !isDragging() && !isDecelerating()) setContentOffset({o.x, hi.y});
  tile();
}

// --- the section index ------------------------------------------------------------------

View* TableView::indexView() const { return indexView_.get(); }

void TableView::updateSectionIndex() {
  auto source = liveDataSource();
  std::vector<std::string> titles = source ? source->sectionIndexTitlesForTableView(this) : std::vector<std::string>{};
  if (titles.empty()) {
    if (indexView_) indexView_->removeFromSuperview();
    indexView_.reset();
    return;
  }
  if (!indexView_) {
    indexView_ = std::make_shared<TableViewIndex>(this);
    addSubview(indexView_);
  }
  indexView_->setTitles(std::move(titles));
  layoutSectionIndex(true);
}

void TableView::layoutSectionIndex(bool place) {
  if (!indexView_) return;
  // It stays at the right edge of what is shown while the rows scroll under
  // it; between layouts only its height follows the scrolling, so a caller
  // may slide it aside meanwhile.
  cg::Rect b = bounds();
  cg::EdgeInsets in = contentInset();
  cg::Rect f = indexView_->frame();
  float w = place ? indexView_->preferredWidth() : f.width();
  float x = place ? b.maxX() - w : f.x();
  indexView_->setFrame(cg::Rect(x, b.y() + in.top, w, std::max(0.0f, b.height() - in.top - in.bottom)));
  bringSubviewToFront(indexView_.get());
}

void TableView::scrollToSectionIndexEntry(int entry) {
  auto source = liveDataSource();
  if (!indexView_ || !source || entry < 0 || entry >= int(indexView_->titles().size())) return;
  int section = source->sectionForSectionIndexTitle(this, indexView_->titles()[size_t(entry)], entry);
  if (section < 0 || section >= int(sections_.size())) return;
  cg::Point lo = minimumContentOffset(), hi = maximumContentOffset();
  float y = std::max(lo.y, std::min(sections_[size_t(section)].top - contentInset().top, hi.y));
  setContentOffset({contentOffset().x, y});
}

bool TableView::animates(TableViewRowAnimation animation) const {
  return animation != TableViewRowAnimation::None && View::areAnimationsEnabled();
}

void TableView::fadeOut(std::vector<std::shared_ptr<TableViewCell>> cells, bool animate,
                        TableViewRowAnimation kind) {
  if (cells.empty()) return;
  if (!animate) {
    for (auto& cell : cells) enqueue(cell);
    return;
  }
  for (auto& cell : cells) fading_.push_back(cell);
  std::weak_ptr<View> weak = weak_from_this();
  View::beginAnimations("TableViewRowsFadeOut");
  View::setAnimationDuration(kRowAnimationDuration);
  View::setAnimationDidStopSelector([weak, cells](const std::string&, bool, void*) {
    auto self = std::static_pointer_cast<TableView>(weak.lock());
    if (!self) return;
    for (auto& cell : cells) {
      auto& list = self->fading_;
      auto it = std::find(list.begin(), list.end(), cell);
      if (it == list.end()) continue;  // already let go by a reload
      list.erase(it);
      self->enqueue(cell);
    }
  });
  for (auto& cell : cells) {
    cell->setAlpha(0);
    if (kind == TableViewRowAnimation::Top) cell->setFrame(cell->frame().offsetBy(0, -cell->frame().height()));
    if (kind == TableViewRowAnimation::Left) cell->setFrame(cell->frame().offsetBy(-cell->frame().width(), 0));
  }
  View::commitAnimations();
}

void TableView::reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                       TableViewRowAnimation animation) {
  ensureLoaded();
  auto delegate = liveDelegate();
  std::vector<IndexPath> rows;
  for (const auto& p : indexPaths)
    if (isValid(p)) rows.push_back(p);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  if (rows.empty()) return;
  // New heights patch the prefix sums from the first changed row on.
  for (size_t i = 0; i < rows.size();) {
    int section = rows[i].section;
    Section& s = sections_[section];
    std::vector<float> heights(size_t(s.rows()));
    for (int r = 0; r < s.rows(); ++r) heights[r] = s.rowTops[r + 1] - s.rowTops[r];
    int first = rows[i].row;
    for (; i < rows.size() && rows[i].section == section; ++i)
      heights[rows[i].row] = rowHeightFor(rows[i], delegate.get());
    for (int r = first; r < s.rows(); ++r) s.rowTops[r + 1] = s.rowTops[r] + heights[r];
  }
  layoutSections();
  bool animate = animates(animation);
  std::vector<std::shared_ptr<TableViewCell>> leaving;
  for (const auto& p : rows) {
    auto it = visible_.find(p);
    if (it == visible_.end()) continue;
    leaving.push_back(it->second);
    visible_.erase(it);
  }
  fadeOut(leaving, animate, animation);
  tileAnimated(
      animate, [&rows](const IndexPath& p) { return std::binary_search(rows.begin(), rows.end(), p); },
      animation);
}

// --- updates -----------------------------------------------------------------------------

void TableView::beginUpdates() {
  ensureLoaded();
  ++updateDepth_;
}

void TableView::endUpdates() {
  if (updateDepth_ == 0) return;
  if (--updateDepth_ > 0) return;
  PendingUpdates updates = std::move(pending_);
  pending_ = PendingUpdates();
  applyUpdates(std::move(updates));
}

void TableView::insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                       TableViewRowAnimation animation) {
  beginUpdates();
  pending_.insertedRows.insert(pending_.insertedRows.end(), indexPaths.begin(), indexPaths.end());
  pending_.animation = animation;
  endUpdates();
}

void TableView::deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths,
                                       TableViewRowAnimation animation) {
  beginUpdates();
  pending_.deletedRows.insert(pending_.deletedRows.end(), indexPaths.begin(), indexPaths.end());
  pending_.animation = animation;
  endUpdates();
}

void TableView::insertSections(const std::vector<int>& sections, TableViewRowAnimation animation) {
  beginUpdates();
  pending_.insertedSections.insert(pending_.insertedSections.end(), sections.begin(), sections.end());
  pending_.animation = animation;
  endUpdates();
}

void TableView::deleteSections(const std::vector<int>& sections, TableViewRowAnimation animation) {
  beginUpdates();
  pending_.deletedSections.insert(pending_.deletedSections.end(), sections.begin(), sections.end());
  pending_.animation = animation;
  endUpdates();
}

template <class T>
static void sortUnique(std::vector<T>& v) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
}

// Deletions name rows and sections before the change, insertions after it.
// Surviving rows keep their measured heights; only inserted rows are asked.
// When the data source's counts do not come out as the changes say, the
// table reloads everything rather than show rows that are not there.
void TableView::applyUpdates(PendingUpdates u) {
  auto source = liveDataSource();
  auto delegate = liveDelegate();
  if (u.insertedRows.empty() && u.deletedRows.empty() && u.insertedSections.empty() &&
      u.deletedSections.empty())
    return;
  hideDeleteConfirmation(false);
  pressed_.reset();
  if (!source) {
    reloadData();
    return;
  }
  int oldCount = int(sections_.size());
  std::vector<char> sectionGone(static_cast<size_t>(oldCount), 0);
  for (int s : u.deletedSections)
    if (s >= 0 && s < oldCount) sectionGone[s] = 1;
  std::map<int, std::vector<char>> rowGone;
  for (const auto& p : u.deletedRows) {
    if (!isValid(p) || sectionGone[p.section]) continue;
    auto& gone = rowGone[p.section];
    if (gone.empty()) gone.assign(size_t(sections_[p.section].rows()), 0);
    gone[p.row] = 1;
  }

  std::vector<int> order;  // new section -> old section, -1 for an inserted one
  for (int s = 0; s < oldCount; ++s)
    if (!sectionGone[s]) order.push_back(s);
  sortUnique(u.insertedSections);
  for (int n : u.insertedSections)
    if (n >= 0 && n <= int(order.size())) order.insert(order.begin() + n, -1);
  int newCount = std::max(0, source->numberOfSectionsInTableView(this));
  if (newCount != int(order.size())) {
    ns::logf("DEBUG - [TableView] Section count %d after the updates, not %d: reloading", newCount,
             int(order.size()));
    reloadData();
    return;
  }

  std::map<int, std::vector<int>> insertedRows;
  for (const auto& p : u.insertedRows)
    if (p.section >= 0 && p.section < newCount && p.row >= 0) insertedRows[p.section].push_back(p.row);
  std::vector<Section> next(static_cast<size_t>(newCount));
  std::vector<std::vector<int>> rowOrder(static_cast<size_t>(newCount));  // new row -> old row, -1 inserted
  for (int nsec = 0; nsec < newCount; ++nsec) {
    int os = order[nsec];
    if (os < 0) {
      next[nsec] = measureSection(nsec, source.get(), delegate.get());
      continue;
    }
    const Section& old = sections_[os];
    auto goneIt = rowGone.find(os);
    std::vector<int>& rows = rowOrder[nsec];
    rows.reserve(size_t(old.rows()));
    for (int r = 0; r < old.rows(); ++r)
      if (goneIt == rowGone.end() || !goneIt->second[r]) rows.push_back(r);
    if (auto ins = insertedRows.find(nsec); ins != insertedRows.end()) {
      sortUnique(ins->second);
      for (int r : ins->second)
        if (r <= int(rows.size())) rows.insert(rows.begin() + r, -1);
    }
    int expected = std::max(0, source->numberOfRowsInSection(this, nsec));
    if (expected != int(rows.size())) {
      ns::logf("DEBUG - [TableView] Section %d has %d rows after the updates, not %d: reloading", nsec,
               expected, int(rows.size()));
      reloadData();
      return;
    }
    Section s;
    s.rowTops.resize(rows.size() + 1);
    for (size_t i = 0; i < rows.size(); ++i) {
      float h = rows[i] >= 0 ? old.rowTops[rows[i] + 1] - old.rowTops[rows[i]]
                             : rowHeightFor({nsec, int(i)}, delegate.get());
      s.rowTops[i + 1] = s.rowTops[i] + h;
    }
    measureHeaderAndFooter(s, nsec, delegate.get());
    next[nsec] = std::move(s);
  }

  // Where each old row went.
  std::vector<int> newSectionOf(static_cast<size_t>(oldCount), -1);
  std::vector<std::vector<int>> newRowOf(static_cast<size_t>(oldCount));
  for (int nsec = 0; nsec < newCount; ++nsec) {
    int os = order[nsec];
    if (os < 0) continue;
    newSectionOf[os] = nsec;
    newRowOf[os].assign(size_t(sections_[os].rows()), -1);
    for (size_t i = 0; i < rowOrder[nsec].size(); ++i)
      if (rowOrder[nsec][i] >= 0) newRowOf[os][rowOrder[nsec][i]] = int(i);
  }
  auto moved = [&](const IndexPath& p) -> std::optional<IndexPath> {
    int nsec = newSectionOf[p.section];
    if (nsec < 0) return std::nullopt;
    int nr = newRowOf[p.section][p.row];
    if (nr < 0) return std::nullopt;
    return IndexPath{nsec, nr};
  };
  std::map<IndexPath, std::shared_ptr<TableViewCell>> survivors;
  std::vector<std::shared_ptr<TableViewCell>> leaving;
  for (auto& [p, cell] : visible_) {
    if (auto to = moved(p)) survivors[*to] = cell;
    else leaving.push_back(cell);
  }
  if (selected_) selected_ = moved(*selected_);
  for (auto& [_, v] : headerViews_) v->removeFromSuperview();
  for (auto& [_, v] : footerViews_) v->removeFromSuperview();
  headerViews_.clear();
  footerViews_.clear();

  sections_ = std::move(next);
  visible_ = std::move(survivors);
  layoutSections();
  bool animate = animates(u.animation);
  fadeOut(leaving, animate, u.animation);
  tileAnimated(
      animate,
      [&order, &rowOrder](const IndexPath& p) { return order[p.section] < 0 || rowOrder[p.section][p.row] < 0; },
      u.animation);
  cg::Point o = contentOffset(), hi = maximumContentOffset();
  if (o.y > hi.y && !isDragging() && !isDecelerating()) setContentOffset({o.x, hi.y}, animate);
}

// --- scrolling to rows -----------------------------------------------------------------

void TableView::scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position,
                                       bool animated) {
  ensureLoaded();
  if (!isValid(indexPath)) return;
  cg::Rect r = rowRect(indexPath);
  cg::Rect b = bounds();
  cg::EdgeInsets in = contentInset();
  float visible = b.height() - in.top - in.bottom;
  float y = b.y();
  switch (position) {
    case TableViewScrollPosition::Top: y = r.minY() - in.top; break;
    case TableViewScrollPosition::Middle: y = r.midY() - in.top - visible / 2; break;
    case TableViewScrollPosition::Bottom: y = r.maxY() - in.top - visible; break;
    case TableViewScrollPosition::None:
      if (r.minY() < b.y() + in.top) y = r.minY() - in.top;
      else if (r.maxY() > b.y() + in.top + visible) y = r.maxY() - in.top - visible;
      break;
  }
  cg::Point lo = minimumContentOffset(), hi = maximumContentOffset();
  y = std::max(lo.y, std::min(y, hi.y));
  setContentOffset({b.x(), y}, animated);
}

// --- selection --------------------------------------------------------------------------

void TableView::selectRowAtIndexPath(const IndexPath& indexPath, bool animated,
                                     TableViewScrollPosition scrollPosition) {
  ensureLoaded();
  if (!isValid(indexPath)) return;
  if (selected_ && *selected_ != indexPath)
    if (auto old = cellForRowAtIndexPath(*selected_)) old->setSelected(false, animated);
  selected_ = indexPath;
  if (auto cell = cellForRowAtIndexPath(indexPath)) cell->setSelected(true, animated);
  if (scrollPosition != TableViewScrollPosition::None)
    scrollToRowAtIndexPath(indexPath, scrollPosition, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool animated) {
  ensureLoaded();
  if (!isValid(indexPath)) return;
  if (selected_ == indexPath) selected_.reset();
  if (auto cell = cellForRowAtIndexPath(indexPath); cell && cell->isSelected())
    cell->setSelected(false, animated);
}

void TableView::selectRowByUser(const IndexPath& p) {
  auto delegate = liveDelegate();
  std::optional<IndexPath> target = delegate ? delegate->willSelectRowAtIndexPath(this, p) : p;
  if (auto cell = cellForRowAtIndexPath(p)) cell->setHighlighted(false, false);
  if (!target || !isValid(*target)) return;
  if (selected_ && *selected_ != *target) {
    IndexPath old = *selected_;
    selected_.reset();
    if (auto cell = cellForRowAtIndexPath(old)) cell->setSelected(false, false);
    if (delegate) delegate->didDeselectRowAtIndexPath(this, old);
  }
  selected_ = target;
  if (auto cell = cellForRowAtIndexPath(*target)) cell->setSelected(true, false);
  if (delegate) delegate->didSelectRowAtIndexPath(this, *target);
}

// --- editing --------------------------------------------------------------------------------

void TableView::setEditing(bool editing, bool animated) {
  ensureLoaded();
  hideDeleteConfirmation(false);
  if (editing_ == editing) return;
  editing_ = editing;
  for (auto& [p, cell] : std::map(visible_)) configureEditing(*cell, p, animated && View::areAnimationsEnabled());
}

bool TableView::swipedRowAtPoint(cg::Point point) {
  if (editing_) return false;
  auto p = rowAt(point.y);
  if (!p) return false;
  auto source = liveDataSource();
  auto delegate = liveDelegate();
  if (!source || !source->canEditRowAtIndexPath(this, *p)) return false;
  auto style = delegate ? delegate->editingStyleForRowAtIndexPath(this, *p) : TableViewCellEditingStyle::Delete;
  if (style != TableViewCellEditingStyle::Delete) return false;
  if (confirming_ == *p) {
    hideDeleteConfirmation(true);
    return true;
  }
  hideDeleteConfirmation(true);
  if (delegate) delegate->willBeginEditingRowAtIndexPath(this, *p);
  confirming_ = *p;
  confirmingBySwipe_ = true;
  if (auto cell = cellForRowAtIndexPath(*p)) configureEditing(*cell, *p, true);
  return true;
}

void TableView::hideDeleteConfirmation(bool animated) {
  if (!confirming_) return;
  IndexPath p = *confirming_;
  bool bySwipe = confirmingBySwipe_;
  confirming_.reset();
  confirmingBySwipe_ = false;
  if (auto cell = cellForRowAtIndexPath(p)) configureEditing(*cell, p, animated);
  if (bySwipe)
    if (auto delegate = liveDelegate()) delegate->didEndEditingRowAtIndexPath(this, p);
}

void TableView::deleteControlTappedInCell(TableViewCell* cell) {
  auto p = indexPathForCell(cell);
  if (!p || !editing_) return;
  bool wasThis = confirming_ == *p;
  hideDeleteConfirmation(true);
  if (wasThis) return;
  confirming_ = *p;
  confirmingBySwipe_ = false;
  configureEditing(*cell, *p, true);
}

void TableView::deleteConfirmedInCell(TableViewCell* cell) {
  auto p = indexPathForCell(cell);
  if (!p || confirming_ != *p) return;
  // The commit may take the row away; the cell (whose button is being
  // tapped) lives until the run loop comes round again.
  auto keep = std::static_pointer_cast<TableViewCell>(cell->shared_from_this());
  ns::RunLoop::main().post([keep] {});
  bool bySwipe = confirmingBySwipe_;
  confirming_.reset();
  confirmingBySwipe_ = false;
  configureEditing(*cell, *p, false);
  if (auto source = liveDataSource()) source->commitEditingStyle(this, TableViewCellEditingStyle::Delete, *p);
  if (bySwipe)
    if (auto delegate = liveDelegate()) delegate->didEndEditingRowAtIndexPath(this, *p);
}

void TableView::accessoryButtonTappedInCell(TableViewCell* cell) {
  auto p = indexPathForCell(cell);
  if (!p) return;
  if (auto delegate = liveDelegate()) delegate->accessoryButtonTappedForRowWithIndexPath(this, *p);
}

// --- layout and touches ----------------------------------------------------------------------

void TableView::contentOffsetDidChange() { tile(); }

void TableView::setFrame(cg::Rect frame) {
  bool resized = !(frame.size == this->frame().size);
  ScrollView::setFrame(frame);
  if (!loaded_ || !resized) return;
  layoutSections();
  tile();
  layoutSectionIndex(true);
}

void TableView::layoutSubviews() {
  ScrollView::layoutSubviews();
  ensureLoaded();
  tile();
  layoutSectionIndex(true);
}

void TableView::highlightPressedRow() {
  if (!pressed_) return;
  if (auto cell = cellForRowAtIndexPath(*pressed_)) cell->setHighlighted(true, false);
}

void TableView::unhighlightPressedRow() {
  ns::RunLoop::main().cancelPreviousPerformRequests(this, "highlightRow");
  if (!pressed_) return;
  if (auto cell = cellForRowAtIndexPath(*pressed_); cell && cell->isHighlighted())
    cell->setHighlighted(false, false);
}

void TableView::touchesBegan(const TouchSet& touches, const Event&) {
  pressed_.reset();
  if (touches.empty()) return;
  if (confirming_) {
    // A touch anywhere else puts the delete confirmation away and does no more.
    hideDeleteConfirmation(true);
    return;
  }
  if (touchStoppedScrolling()) return;
  if (!(editing_ ? allowsSelectionDuringEditing_ : allowsSelection_)) return;
  pressed_ = indexPathForRowAtPoint(touches.front()->locationInView(this));
  if (!pressed_) return;
  std::weak_ptr<View> weak = weak_from_this();
  ns::RunLoop::main().performAfter(this, "highlightRow", kHighlightDelay, [weak, this] {
    if (!weak.expired()) highlightPressedRow();
  });
}

void TableView::touchesMoved(const TouchSet&, const Event&) {}

void TableView::touchesEnded(const TouchSet& touches, const Event&) {
  ns::RunLoop::main().cancelPreviousPerformRequests(this, "highlightRow");
  if (!pressed_ || touches.empty()) return;
  IndexPath p = *pressed_;
  pressed_.reset();
  if (indexPathForRowAtPoint(touches.front()->locationInView(this)) != p) {
    if (auto cell = cellForRowAtIndexPath(p)) cell->setHighlighted(false, false);
    return;
  }
  selectRowByUser(p);
}

void TableView::touchesCancelled(const TouchSet&, const Event&) {
  unhighlightPressedRow();
  pressed_.reset();
}

}  // namespace ui
