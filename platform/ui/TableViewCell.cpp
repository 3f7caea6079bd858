#include "platform/ui/TableViewCell.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Context.h"
#include "platform/ui/TableView.h"

namespace ui {

namespace {

constexpr float kMargin = 10;
constexpr float kAccessoryWidth = 30;
constexpr float kEditingIndent = 32;
constexpr float kDeleteButtonWidth = 64;
constexpr float kDeleteButtonHeight = 30;
constexpr double kEditingDuration = 0.3;

const cg::Color kSelectionBlue = cg::Color(0.02f, 0.42f, 0.86f);
const cg::Color kSelectionGray = cg::Color::gray(0.62f);
const cg::Color kValue1DetailColor = cg::Color(0.22f, 0.33f, 0.53f);
const cg::Color kCheckmarkColor = cg::Color(0.2f, 0.31f, 0.52f);
const cg::Color kDeleteRed = cg::Color(0.82f, 0.1f, 0.1f);
const cg::Color kDetailButtonBlue = cg::Color(0.16f, 0.42f, 0.87f);
const cg::Color kValue2CaptionColor = cg::Color(0.32f, 0.4f, 0.57f);
constexpr float kValue2CaptionWidth = 67;

// A rounded rectangle whose corners are rounded only where the flags say.
void addRoundedPath(cg::Context& c, cg::Rect r, float radius, bool roundTop, bool roundBottom) {
  float x0 = r.minX(), y0 = r.minY(), x1 = r.maxX(), y1 = r.maxY();
  float rt = roundTop ? radius : 0, rb = roundBottom ? radius : 0;
  c.beginPath();
  c.moveTo({x0, y0 + rt});
  if (rt > 0) c.arcToPoint({x0, y0}, {x0 + rt, y0}, rt); else c.lineTo({x0, y0});
  if (rt > 0) c.arcToPoint({x1, y0}, {x1, y0 + rt}, rt); else c.lineTo({x1, y0});
  if (rb > 0) c.arcToPoint({x1, y1}, {x1 - rb, y1}, rb); else c.lineTo({x1, y1});
  if (rb > 0) c.arcToPoint({x0, y1}, {x0, y1 - rb}, rb); else c.lineTo({x0, y1});
  c.closePath();
}

// The white (or selected) shape of a row in a grouped table: rounded at the
// top of its group and at the bottom, with the rule between rows.
class CellBackground : public View {
 public:
  CellBackground(cg::Color fill, bool bordered) : fill_(fill), bordered_(bordered) {
    setOpaque(false);
    setUserInteractionEnabled(false);
  }
  void setPosition(TableViewCell* cell, int position) {
    (void)cell;
    position_ = position;
    setNeedsDisplay();
  }
  void drawRect(cg::Context& c, cg::Rect) override {
    // Positions: 0 none (plain fill), 1 single, 2 top, 3 middle, 4 bottom.
    cg::Rect r = bounds();
    if (position_ == 0) {
      // In a plain table the cell's own background colour shows (clear or not);
      // a selected background fills the row.
      if (!bordered_) {
        c.setFillColor(fill_);
        c.fillRect(r);
      }
      return;
    }
    bool top = position_ == 1 || position_ == 2, bottom = position_ == 1 || position_ == 4;
    if (!top) r = cg::Rect(r.x(), r.y() - 1, r.width(), r.height() + 1);  // share the rule above
    r = r.insetBy(0.5f, 0.5f);
    addRoundedPath(c, r, 8, top, bottom);
    c.setFillColor(fill_);
    c.fillPath();
    if (!bordered_) return;
    addRoundedPath(c, r, 8, top, bottom);
    c.setStrokeColor(cg::Color::gray(0.67f));
    c.setLineWidth(1);
    c.strokePath();
  }

 private:
  cg::Color fill_;
  bool bordered_;
  int position_ = 0;
};

// Keeps its touches to itself (the row under it is not selected) and acts
// when a touch lifts inside it.
class TappableView : public View {
 public:
  explicit TappableView(std::function<void()> tapped) : tapped_(std::move(tapped)) { setOpaque(false); }
  void touchesBegan(const TouchSet&, const Event&) override {}
  void touchesMoved(const TouchSet&, const Event&) override {}
  void touchesCancelled(const TouchSet&, const Event&) override {}
  void touchesEnded(const TouchSet& touches, const Event&) override {
    if (!touches.empty() && bounds().contains(touches.front()->locationInView(this))) tapped_();
  }

 private:
  std::function<void()> tapped_;
};

// Checkmark, disclosure chevron or detail disclosure button at the right of a
// row. Only the button takes touches (the row under it is not selected).
class AccessoryMark : public TappableView {
 public:
  AccessoryMark(TableViewCell* cell, std::function<void()> tapped)
      : TappableView(std::move(tapped)), cell_(cell) {}
  void drawRect(cg::Context& c, cg::Rect) override {
    cg::Point m{bounds().midX() - 2, bounds().midY()};
    bool lit = cell_->selectionStyle() != TableViewCellSelectionStyle::None &&
               (cell_->isSelected() || cell_->isHighlighted());
    c.setLineWidth(3);
    if (cell_->accessoryType() == TableViewCellAccessoryType::DetailDisclosureButton) {
      c.setFillColor(kDetailButtonBlue);
      c.fillEllipseInRect(cg::Rect(m.x - 11, m.y - 11, 22, 22));
      c.setStrokeColor(cg::Color::white());
      c.beginPath();
      c.moveTo({m.x - 2, m.y - 5});
      c.lineTo({m.x + 3, m.y});
      c.lineTo({m.x - 2, m.y + 5});
      c.strokePath();
      return;
    }
    c.beginPath();
    if (cell_->accessoryType() == TableViewCellAccessoryType::Checkmark) {
      c.setStrokeColor(lit ? cg::Color::white() : kCheckmarkColor);
      c.moveTo({m.x - 7, m.y});
      c.lineTo({m.x - 2, m.y + 5});
      c.lineTo({m.x + 7, m.y - 7});
    } else {
      c.setStrokeColor(lit ? cg::Color::white() : cg::Color::gray(0.5f));
      c.moveTo({m.x - 3, m.y - 6});
      c.lineTo({m.x + 3, m.y});
      c.lineTo({m.x - 3, m.y + 6});
    }
    c.strokePath();
  }

 private:
  TableViewCell* cell_;  // the cell owns this view
};

// The red minus at the left of a row while the table edits; a tap asks for the
// delete confirmation.
class DeleteControl : public TappableView {
 public:
  DeleteControl(TableViewCell* cell, std::function<void()> tapped)
      : TappableView(std::move(tapped)), cell_(cell) {}
  void drawRect(cg::Context& c, cg::Rect) override {
    cg::Point m{bounds().midX(), bounds().midY()};
    c.setFillColor(kDeleteRed);
    c.fillEllipseInRect(cg::Rect(m.x - 10, m.y - 10, 20, 20));
    c.setFillColor(cg::Color::white());
    if (cell_->showingDeleteConfirmation()) c.fillRect(cg::Rect(m.x - 1.5f, m.y - 6, 3, 12));
    else c.fillRect(cg::Rect(m.x - 6, m.y - 1.5f, 12, 3));
  }

 private:
  TableViewCell* cell_;  // the cell owns this view
};

// The confirmation button at the right of a row: a tap commits the delete.
class DeleteButton : public TappableView {
 public:
  using TappableView::TappableView;
  void setTitle(const std::string& title) {
    title_ = title;
    setNeedsDisplay();
  }
  void drawRect(cg::Context& c, cg::Rect) override {
    cg::Rect b = bounds().insetBy(0.5f, 0.5f);
    c.beginPath();
    c.addRoundedRect(b, 6);
    c.setFillColor(kDeleteRed);
    c.fillPath();
    Font font = Font::boldSystemFontOfSize(15);
    float h = font.lineHeight();
    drawTextInRect(c, title_, cg::Rect(b.x() + 4, b.midY() - h / 2, b.width() - 8, h), font,
                   cg::Color::white(), TextAlignment::Center, LineBreakMode::TruncateTail);
  }

 private:
  std::string title_ = "Delete";
};

}  // namespace

// --- label and image -------------------------------------------------------------

namespace {

void relayoutCellOf(View& view) {
  if (View* content = view.superview())
    if (View* cell = content->superview()) cell->setNeedsLayout();
}

}  // namespace

TableCellLabel::TableCellLabel(cg::Rect frame) : Label(frame) {
  setBackgroundColor(cg::Color::clear());  // the row's colours show through
  setFont(Font::boldSystemFontOfSize(20));
  setHighlightedTextColor(cg::Color::white());
}

void TableCellLabel::setText(const std::string& text) {
  if (text == this->text()) return;
  Label::setText(text);
  relayoutCellOf(*this);
}

TableCellImageView::TableCellImageView(cg::Rect frame) : ImageView(frame) {
  setContentMode(ContentMode::ScaleAspectFit);  // its frame is never larger than the image
}

void TableCellImageView::setImage(std::shared_ptr<Image> image) {
  ImageView::setImage(std::move(image));
  relayoutCellOf(*this);
}

// --- the cell ----------------------------------------------------------------------

TableViewCell::TableViewCell(TableViewCellStyle style, const std::string& reuseIdentifier)
    : View(cg::Rect(0, 0, 320, 44)), reuseIdentifier_(reuseIdentifier), style_(style) {
  setBackgroundColor(cg::Color::white());
  backgroundView_ = std::make_shared<CellBackground>(cg::Color::white(), true);
  addSubview(backgroundView_);
  separatorView_ = std::make_shared<View>(cg::Rect(0, 43, 320, 1));
  separatorView_->setBackgroundColor(cg::Color::gray(0.88f));
  separatorView_->setUserInteractionEnabled(false);
  addSubview(separatorView_);
  contentView_ = std::make_shared<View>(cg::Rect(0, 0, 320, 43));
  contentView_->setOpaque(false);
  addSubview(contentView_);
  buildStyle();
  layoutSubviews();
}

TableViewCell::~TableViewCell() { ns::RunLoop::main().cancelPreviousPerformRequests(this); }

void TableViewCell::buildStyle() {
  imageView_ = std::make_shared<TableCellImageView>(cg::Rect());
  imageView_->setOpaque(false);
  contentView_->addSubview(imageView_);
  textLabel_ = std::make_shared<TableCellLabel>(cg::Rect());
  textLabel_->setOpaque(false);
  contentView_->addSubview(textLabel_);
  if (style_ == TableViewCellStyle::Default) return;
  detailTextLabel_ = std::make_shared<TableCellLabel>(cg::Rect());
  detailTextLabel_->setOpaque(false);
  if (style_ == TableViewCellStyle::Subtitle) {
    textLabel_->setFont(Font::boldSystemFontOfSize(18));
    detailTextLabel_->setFont(Font::systemFontOfSize(14));
    detailTextLabel_->setTextColor(cg::Color::gray(0.5f));
  } else if (style_ == TableViewCellStyle::Value2) {
    textLabel_->setFont(Font::boldSystemFontOfSize(12));
    textLabel_->setTextColor(kValue2CaptionColor);
    textLabel_->setTextAlignment(TextAlignment::Right);
    detailTextLabel_->setFont(Font::boldSystemFontOfSize(15));
  } else {
    textLabel_->setFont(Font::boldSystemFontOfSize(17));
    detailTextLabel_->setFont(Font::systemFontOfSize(17));
    detailTextLabel_->setTextColor(kValue1DetailColor);
    detailTextLabel_->setTextAlignment(TextAlignment::Right);
  }
  contentView_->addSubview(detailTextLabel_);
}

void TableViewCell::setBackgroundView(std::shared_ptr<View> view) {
  if (backgroundView_) backgroundView_->removeFromSuperview();
  backgroundView_ = std::move(view);
  if (backgroundView_) insertSubviewAtIndex(backgroundView_, 0);
  setNeedsLayout();
}

void TableViewCell::setSelectedBackgroundView(std::shared_ptr<View> view) {
  if (selectedBackgroundView_) selectedBackgroundView_->removeFromSuperview();
  selectedBackgroundView_ = std::move(view);
  if (selectedBackgroundView_) {
    insertSubviewBelowSubview(selectedBackgroundView_, separatorView_.get());
    selectedBackgroundView_->setHidden(true);
  }
  refreshHighlightState(false);
  setNeedsLayout();
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type) {
  if (accessoryType_ == type) return;
  accessoryType_ = type;
  if (type != TableViewCellAccessoryType::None && !accessoryView_) {
    accessoryView_ = std::make_shared<AccessoryMark>(this, [this] { accessoryButtonTapped(); });
    addSubview(accessoryView_);
  }
  if (accessoryView_) {
    accessoryView_->setUserInteractionEnabled(type == TableViewCellAccessoryType::DetailDisclosureButton);
    accessoryView_->setNeedsDisplay();
  }
  layoutSubviews();
}

void TableViewCell::setSelectionStyle(TableViewCellSelectionStyle style) {
  selectionStyle_ = style;
  refreshHighlightState(false);
}

void TableViewCell::setSelected(bool selected, bool animated) {
  selected_ = selected;
  refreshHighlightState(animated);
}

void TableViewCell::setHighlighted(bool highlighted, bool animated) {
  highlighted_ = highlighted;
  refreshHighlightState(animated);
}

void TableViewCell::refreshHighlightState(bool animated) {
  bool lit = (selected_ || highlighted_) && selectionStyle_ != TableViewCellSelectionStyle::None;
  if (lit && !selectedBackgroundView_) {
    auto fill = selectionStyle_ == TableViewCellSelectionStyle::Gray ? kSelectionGray : kSelectionBlue;
    auto view = std::make_shared<CellBackground>(fill, false);
    view->setPosition(this, int(groupPosition_));
    selectedBackgroundView_ = view;
    insertSubviewBelowSubview(selectedBackgroundView_, separatorView_.get());
    selectedBackgroundView_->setFrame(cg::Rect(0, 0, bounds().width(), contentView_->frame().height()));
    selectedBackgroundView_->setHidden(true);
  }
  if (selectedBackgroundView_) {
    if (animated && View::areAnimationsEnabled() && lit != !selectedBackgroundView_->isHidden()) {
      // Fades the selection out (or in) as the platform does.
      selectedBackgroundView_->setHidden(false);
      selectedBackgroundView_->setAlpha(lit ? 0 : 1);
      View::beginAnimations("TableViewCellSelection");
      View::setAnimationDuration(0.25);
      selectedBackgroundView_->setAlpha(lit ? 1 : 0);
      View::commitAnimations();
      if (!lit) {
        std::weak_ptr<View> weak = selectedBackgroundView_;
        ns::RunLoop::main().performAfter(this, "hideSelection", 0.25, [weak, this] {
          if (auto v = weak.lock(); v && !(selected_ || highlighted_)) {
            v->setHidden(true);
            v->setAlpha(1);
          }
        });
      }
    } else {
      ns::RunLoop::main().cancelPreviousPerformRequests(this, "hideSelection");
      selectedBackgroundView_->setHidden(!lit);
      selectedBackgroundView_->setAlpha(1);
    }
  }
  textLabel_->setHighlighted(lit);
  if (detailTextLabel_) detailTextLabel_->setHighlighted(lit);
  imageView_->setHighlighted(lit);
  if (accessoryView_) accessoryView_->setNeedsDisplay();
}

void TableViewCell::setEditing(bool editing, bool animated) {
  bool changed = editing_ != editing;
  editing_ = editing;
  if (!editing && showingDeleteConfirmation_) showingDeleteConfirmation_ = false;
  if (!changed && !animated) {
    setNeedsLayout();
    return;
  }
  if (animated && View::areAnimationsEnabled()) {
    View::beginAnimations("TableViewCellEditing");
    View::setAnimationDuration(kEditingDuration);
    layoutSubviews();
    View::commitAnimations();
  } else {
    layoutSubviews();
  }
}

void TableViewCell::setShouldIndentWhileEditing(bool on) {
  shouldIndentWhileEditing_ = on;
  setNeedsLayout();
}

void TableViewCell::setEditingStyle(TableViewCellEditingStyle style, bool indent) {
  editingStyle_ = style;
  shouldIndentWhileEditing_ = indent;
}

void TableViewCell::setSeparator(TableViewCellSeparatorStyle style, cg::Color color) {
  separatorStyle_ = style;
  separatorView_->setBackgroundColor(color);
  setNeedsLayout();
}

void TableViewCell::setGroupPosition(GroupPosition position) {
  if (groupPosition_ == position) return;
  groupPosition_ = position;
  setBackgroundColor(position == GroupPosition::None ? std::optional(cg::Color::white()) : std::nullopt);
  if (auto* bg = dynamic_cast<CellBackground*>(backgroundView_.get())) bg->setPosition(this, int(position));
  if (auto* sel = dynamic_cast<CellBackground*>(selectedBackgroundView_.get()))
    sel->setPosition(this, int(position));
  setNeedsLayout();
}

void TableViewCell::setDeleteConfirmation(bool showing, const std::string& title, bool animated) {
  if (showing && !deleteButton_) {
    deleteButton_ = std::make_shared<DeleteButton>([this] { deleteConfirmationTapped(); });
    addSubview(deleteButton_);
  }
  if (deleteButton_) static_cast<DeleteButton*>(deleteButton_.get())->setTitle(title);
  if (showingDeleteConfirmation_ == showing) return;
  showingDeleteConfirmation_ = showing;
  if (deleteControl_) deleteControl_->setNeedsDisplay();
  if (animated && View::areAnimationsEnabled()) {
    View::beginAnimations("TableViewCellDeleteConfirmation");
    View::setAnimationDuration(0.2);
    layoutSubviews();
    View::commitAnimations();
  } else {
    layoutSubviews();
  }
}

void TableViewCell::deleteControlTapped() {
  if (table_) table_->deleteControlTappedInCell(this);
}

void TableViewCell::deleteConfirmationTapped() {
  if (table_) table_->deleteConfirmedInCell(this);
}

void TableViewCell::accessoryButtonTapped() {
  if (table_) table_->accessoryButtonTappedInCell(this);
}

void TableViewCell::prepareForReuse() {
  setHighlighted(false, false);
  setSelected(false, false);
  setAlpha(1);
}

float TableViewCell::accessoryWidth() const {
  if (accessoryType_ == TableViewCellAccessoryType::None || editing_) return 0;
  return kAccessoryWidth;
}

float TableViewCell::editingIndent() const {
  bool tableEditing = table_ && table_->isEditing();
  if (!editing_ || !tableEditing || editingStyle_ == TableViewCellEditingStyle::None ||
      !shouldIndentWhileEditing_)
    return 0;
  return kEditingIndent;
}

void TableViewCell::setFrame(cg::Rect frame) {
  bool resized = !(frame.size == this->frame().size);
  View::setFrame(frame);
  if (resized) layoutSubviews();
}

void TableViewCell::layoutSubviews() {
  cg::Rect b = bounds();
  bool grouped = groupPosition_ != GroupPosition::None;
  bool separator = !grouped && separatorStyle_ != TableViewCellSeparatorStyle::None;
  float sep = separator ? 1 : 0;
  float contentHeight = std::max(0.0f, b.height() - sep);
  if (backgroundView_) backgroundView_->setFrame(b);
  if (selectedBackgroundView_)
    selectedBackgroundView_->setFrame(cg::Rect(0, 0, b.width(), grouped ? b.height() : contentHeight));
  separatorView_->setHidden(!separator);
  separatorView_->setFrame(cg::Rect(0, b.height() - 1, b.width(), 1));

  float indent = editingIndent();
  float confirm = showingDeleteConfirmation_ ? kDeleteButtonWidth + 2 * kMargin : 0;
  float accessory = showingDeleteConfirmation_ ? 0 : accessoryWidth();
  contentView_->setFrame(
      cg::Rect(indent, 0, std::max(0.0f, b.width() - indent - accessory - confirm), contentHeight));

  bool showControl = editing_ && table_ && table_->isEditing() &&
                     editingStyle_ == TableViewCellEditingStyle::Delete;
  if (showControl && !deleteControl_) {
    deleteControl_ = std::make_shared<DeleteControl>(this, [this] { deleteControlTapped(); });
    deleteControl_->setFrame(cg::Rect(-kEditingIndent, 0, kEditingIndent, contentHeight));
    addSubview(deleteControl_);
  }
  if (deleteControl_) {
    deleteControl_->setFrame(cg::Rect(indent - kEditingIndent, 0, kEditingIndent, contentHeight));
    deleteControl_->setAlpha(showControl ? 1 : 0);
  }
  if (accessoryView_) {
    accessoryView_->setFrame(cg::Rect(b.width() - kAccessoryWidth, 0, kAccessoryWidth, contentHeight));
    accessoryView_->setAlpha(accessory > 0 ? 1 : 0);
  }
  if (deleteButton_) {
    float x = showingDeleteConfirmation_ ? b.width() - kDeleteButtonWidth - kMargin : b.width();
    deleteButton_->setFrame(cg::Rect(x, (contentHeight - kDeleteButtonHeight) / 2,
                                     kDeleteButtonWidth, kDeleteButtonHeight));
    deleteButton_->setAlpha(showingDeleteConfirmation_ ? 1 : 0);
  }
  layoutContent();
}

void TableViewCell::layoutContent() {
  cg::Rect c = contentView_->bounds();
  float x = kMargin;
  if (imageView_->image()) {
    cg::Size s = imageView_->sizeThatFits({});
    float w = std::min(s.width, c.height());
    float h = std::min(s.height, c.height());
    imageView_->setFrame(cg::Rect(x, (c.height() - h) / 2, w, h));
    x += w + kMargin;
  } else {
    imageView_->setFrame(cg::Rect(x, 0, 0, c.height()));
  }
  float width = std::max(0.0f, c.width() - x - kMargin);
  switch (style_) {
    case TableViewCellStyle::Default:
      textLabel_->setFrame(cg::Rect(x, 0, width, c.height()));
      break;
    case TableViewCellStyle::Subtitle: {
      float th = textLabel_->font().lineHeight();
      float dh = detailTextLabel_->text().empty() ? 0 : detailTextLabel_->font().lineHeight();
      float top = std::max(0.0f, (c.height() - th - dh) / 2);
      textLabel_->setFrame(cg::Rect(x, top, width, th));
      detailTextLabel_->setFrame(cg::Rect(x, top + th, width, dh));
      break;
    }
    case TableViewCellStyle::Value2: {
      // Each label as high as its text (none when empty), centred down the row.
      float cw = std::min(kValue2CaptionWidth, width), dw = std::max(0.0f, width - cw - 6);
      float th = std::min(c.height(), textLabel_->sizeThatFits({cw, 0}).height);
      float dh = std::min(c.height(), detailTextLabel_->sizeThatFits({dw, 0}).height);
      textLabel_->setFrame(cg::Rect(x, std::floor((c.height() - th) / 2), cw, th));
      detailTextLabel_->setFrame(cg::Rect(x + cw + 6, std::floor((c.height() - dh) / 2), dw, dh));
      break;
    }
    case TableViewCellStyle::Value1: {
      float dw = std::min(std::ceil(detailTextLabel_->sizeThatFits({}).width), width / 2);
      detailTextLabel_->setFrame(cg::Rect(c.width() - kMargin - dw, 0, dw, c.height()));
      textLabel_->setFrame(cg::Rect(x, 0, std::max(0.0f, width - dw - kMargin), c.height()));
      break;
    }
  }
}

}  // namespace ui
