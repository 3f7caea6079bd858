#include "platform/ui/TableViewIndex.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextDrawing.h"

namespace ui {

namespace {

const cg::Color kIndexTextColor = cg::Color(0.24f, 0.28f, 0.36f);
const cg::Color kPressedBackground = cg::Color::gray(0.55f, 0.35f);

Font indexFont() { return Font::boldSystemFontOfSize(12); }

}  // namespace

TableViewIndex::TableViewIndex(TableView* table) : table_(table) {
  setOpaque(false);
  setBackgroundColor(cg::Color::clear());
}

void TableViewIndex::setTitles(std::vector<std::string> titles) {
  titles_ = std::move(titles);
  setNeedsDisplay();
}

float TableViewIndex::preferredWidth() const {
  float widest = 0;
  Font font = indexFont();
  for (const auto& t : titles_)
    if (t != TableViewIndexSearch) widest = std::max(widest, ui::sizeWithFont(t, font).width);
  return std::max(kMinimumWidth, std::ceil(widest) + 12);
}

int TableViewIndex::entryAtY(float y) const {
  if (titles_.empty()) return -1;
  float h = bounds().height() / float(titles_.size());
  if (!(h > 0)) return 0;
  return std::clamp(int(std::floor(y / h)), 0, int(titles_.size()) - 1);
}

void TableViewIndex::drawRect(cg::Context& c, cg::Rect) {
  cg::Rect b = bounds();
  if (pressed_) {
    c.beginPath();
    c.addRoundedRect(b.insetBy(2, 2), std::min(10.0f, b.width() / 2 - 2));
    c.setFillColor(kPressedBackground);
    c.fillPath();
  }
  if (titles_.empty()) return;
  Font font = indexFont();
  float lh = font.lineHeight();
  float step = b.height() / float(titles_.size());
  for (size_t i = 0; i < titles_.size(); ++i) {
    float mid = step * (float(i) + 0.5f);
    if (titles_[i] == TableViewIndexSearch) {
      // A small magnifier: a ring and its handle.
      c.setStrokeColor(kIndexTextColor);
      c.setLineWidth(1.5f);
      c.beginPath();
      c.addEllipseInRect(cg::Rect(b.midX() - 4, mid - 5, 7, 7));
      c.strokePath();
      c.beginPath();
      c.moveTo({b.midX() + 2, mid + 1});
      c.lineTo({b.midX() + 5, mid + 4});
      c.strokePath();
      continue;
    }
    drawTextInRect(c, titles_[i], cg::Rect(0, mid - lh / 2, b.width(), lh), font, kIndexTextColor,
                   TextAlignment::Center, LineBreakMode::Clip);
  }
}

void TableViewIndex::touchAt(const TouchSet& touches) {
  if (touches.empty()) return;
  int entry = entryAtY(touches.front()->locationInView(this).y);
  if (entry < 0 || entry == lastEntry_) return;
  lastEntry_ = entry;
  table_->scrollToSectionIndexEntry(entry);
}

void TableViewIndex::touchesBegan(const TouchSet& touches, const Event&) {
  // A drag down the index moves from section to section, not the table.
  if (!pressed_) {
    scrollWasEnabled_ = table_->isScrollEnabled();
    table_->setScrollEnabled(false);
  }
  pressed_ = true;
  lastEntry_ = -1;
  setNeedsDisplay();
  touchAt(touches);
}

void TableViewIndex::touchesMoved(const TouchSet& touches, const Event&) { touchAt(touches); }

void TableViewIndex::touchesEnded(const TouchSet&, const Event&) {
  if (pressed_) table_->setScrollEnabled(scrollWasEnabled_);
  pressed_ = false;
  setNeedsDisplay();
}

void TableViewIndex::touchesCancelled(const TouchSet& touches, const Event& event) { touchesEnded(touches, event); }

}  // namespace ui
