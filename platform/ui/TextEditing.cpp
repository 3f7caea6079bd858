#include "platform/ui/TextEditing.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/text/PangoShared.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/View.h"

namespace ui {

namespace {

// Layouts of the editors live on the main thread, on a context of their own.
PangoContext* editingContext() {
  static PangoContext* context = detail::newPangoContext();
  return context;
}

// Layouts kept beyond this many are dropped for the paragraphs far from view.
constexpr std::size_t kMaxLayouts = 256;
constexpr std::size_t kLayoutMargin = 32;

const cg::Color kSelection = cg::Color::fromRGB255(181, 213, 255);

std::size_t nextCharacter(const std::string& s, std::size_t i) {
  if (i >= s.size()) return s.size();
  ++i;
  while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
  return i;
}

std::size_t previousCharacter(const std::string& s, std::size_t i) {
  if (i == 0) return 0;
  --i;
  while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) --i;
  return i;
}

// The byte offset of the UTF-16 unit count into the text (clamped to it).
std::size_t byteOffsetFor16(const std::string& s, std::size_t units) {
  std::size_t i = 0;
  while (i < s.size() && units > 0) {
    std::size_t next = nextCharacter(s, i);
    units -= std::min<std::size_t>(units, next - i == 4 ? 2 : 1);
    i = next;
  }
  return i;
}

std::vector<std::string> splitParagraphs(const std::string& text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '\n') parts.emplace_back();
    else if (c != '\r') parts.back() += c;
  }
  return parts;
}

guint16 channel(float v) { return static_cast<guint16>(std::clamp(v, 0.0f, 1.0f) * 65535); }

// A secure text shows this bullet (three bytes of UTF-8) for each character.
constexpr const char* kBullet = "\u2022";
constexpr std::size_t kBulletBytes = 3;

std::size_t charactersBefore(const std::string& s, std::size_t byte) {
  return static_cast<std::size_t>(g_utf8_strlen(s.data(), static_cast<gssize>(std::min(byte, s.size()))));
}

std::size_t byteOfCharacter(const std::string& s, std::size_t characters) {
  std::size_t i = 0;
  for (; i < s.size() && characters > 0; --characters) i = nextCharacter(s, i);
  return i;
}

bool startsWithSpace(const std::string& s) {
  if (s.empty()) return false;
  gunichar c = g_utf8_get_char_validated(s.data(), static_cast<gssize>(s.size()));
  return c == '\n' || ns::isWhitespace(c);
}

bool endsWithSpace(const std::string& s) {
  if (s.empty()) return false;
  std::size_t last = previousCharacter(s, s.size());
  gunichar c = g_utf8_get_char_validated(s.data() + last, static_cast<gssize>(s.size() - last));
  return c == '\n' || ns::isWhitespace(c);
}

}  // namespace

void CaretBlink::restart(View& view, bool editing) {
  constexpr double kInterval = 0.5;
  on_ = editing;
  view.setNeedsDisplay();
  timer_.invalidate();
  if (!editing) return;
  std::weak_ptr<View> weak = view.weak_from_this();
  timer_ = ns::RunLoop::main().scheduleTimer(kInterval, true, [this, weak] {
    auto v = weak.lock();
    if (!v) return;
    on_ = !on_;
    v->setNeedsDisplay();
  });
}

void CaretBlink::draw(cg::Context& context, cg::Rect caret) const {
  if (!on_) return;
  context.save();
  context.setFillColor(cg::Color::fromRGB255(66, 107, 242));
  context.fillRect(caret);
  context.restore();
}

TextEditing::TextEditing() : paragraphs_(1) { lineHeight_ = std::ceil(font_.lineHeight()); }

TextEditing::~TextEditing() { dropAllLayouts(); }

// --- look --------------------------------------------------------------------

void TextEditing::setFont(const Font& font) {
  font_ = font;
  lineHeight_ = fixedLineHeight_ > 0 ? fixedLineHeight_ : std::ceil(font.lineHeight());
  dropAllLayouts();
}

void TextEditing::setLineHeight(float points) {
  fixedLineHeight_ = points > 0 ? points : 0;
  setFont(font_);
}

// The attributes every paragraph carries: the fixed line height, if any.
PangoAttrList* TextEditing::baseAttributes() const {
  PangoAttrList* attrs = pango_attr_list_new();
  if (fixedLineHeight_ > 0)
    pango_attr_list_insert(attrs, pango_attr_line_height_new_absolute(static_cast<int>(fixedLineHeight_ * PANGO_SCALE)));
  return attrs;
}

void TextEditing::setWraps(bool wraps, float width) {
  if (wraps == wraps_ && (!wraps || width == width_)) return;
  wraps_ = wraps;
  width_ = width;
  dropAllLayouts();
}

void TextEditing::setAlignment(TextAlignment alignment) {
  alignment_ = alignment;
  dropAllLayouts();
}

// --- layouts -------------------------------------------------------------------

void TextEditing::dropLayout(Paragraph& p) {
  if (!p.layout) return;
  g_object_unref(p.layout);
  p.layout = nullptr;
  --liveLayouts_;
}

void TextEditing::dropAllLayouts() {
  for (auto& p : paragraphs_) {
    dropLayout(p);
    p.measured = false;
  }
  markDirty(0);
}

void TextEditing::invalidate(std::size_t i) {
  if (i >= paragraphs_.size()) return;
  dropLayout(paragraphs_[i]);
}

std::string TextEditing::shownText(std::size_t i) const {
  std::string shown = paragraphs_[i].text;
  if (!marked_.empty() && i == caret_.paragraph) shown.insert(caret_.offset, marked_);
  if (!secure_) return shown;
  std::string bullets;
  for (std::size_t n = charactersBefore(shown, shown.size()); n > 0; --n) bullets += kBullet;
  return bullets;
}

void TextEditing::setSecure(bool secure) {
  if (secure == secure_) return;
  secure_ = secure;
  dropAllLayouts();
}

PangoLayout* TextEditing::layoutFor(std::size_t i) {
  Paragraph& p = paragraphs_[i];
  if (p.layout) return p.layout;
  std::string shown = shownText(i);
  PangoLayout* layout = pango_layout_new(editingContext());
  pango_layout_set_font_description(layout, font_.pangoDescription());
  pango_layout_set_text(layout, shown.data(), static_cast<int>(shown.size()));
  PangoAttrList* base = baseAttributes();
  pango_layout_set_attributes(layout, base);
  pango_attr_list_unref(base);
  if (wraps_ && width_ > 0) {
    pango_layout_set_width(layout, static_cast<int>(width_ * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    setLayoutAlignment(layout, alignment_);
  }
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  float height = static_cast<float>(logical.height) / PANGO_SCALE;
  if (!p.measured || height != p.height) markDirty(i);
  p.height = height;
  p.width = static_cast<float>(logical.width) / PANGO_SCALE;
  p.measured = true;
  p.layout = layout;
  ++liveLayouts_;
  return layout;
}

// Before a paragraph is laid out its height is guessed from its length.
float TextEditing::estimatedHeight(const Paragraph& p) const {
  float line = lineHeight_;
  if (!wraps_ || width_ <= 0 || p.text.empty()) return line;
  float advance = font_.pointSize() * 0.5f;
  float lines = std::ceil(static_cast<float>(p.units) * advance / width_);
  return line * std::max(1.0f, lines);
}

// Only the sums after the first changed paragraph are made again.
void TextEditing::updateTops() {
  std::size_t n = paragraphs_.size();
  if (dirtyFrom_ >= n && tops_.size() == n + 1) return;
  std::size_t start = std::min(dirtyFrom_, n);
  if (start >= tops_.size()) start = tops_.empty() ? 0 : tops_.size() - 1;
  tops_.resize(n + 1);
  tops_[0] = 0;
  for (std::size_t i = start; i < n; ++i) {
    const Paragraph& p = paragraphs_[i];
    tops_[i + 1] = tops_[i] + (p.measured ? p.height : estimatedHeight(p));
  }
  dirtyFrom_ = static_cast<std::size_t>(-1);
}

float TextEditing::paragraphTop(std::size_t i) {
  updateTops();
  return tops_[std::min(i, paragraphs_.size())];
}

std::size_t TextEditing::paragraphAtY(float y) {
  updateTops();
  auto it = std::upper_bound(tops_.begin() + 1, tops_.end(), y);
  std::size_t i = static_cast<std::size_t>(it - (tops_.begin() + 1));
  return std::min(i, paragraphs_.size() - 1);
}

void TextEditing::trimLayouts(std::size_t first, std::size_t last) {
  if (liveLayouts_ <= kMaxLayouts) return;
  std::size_t lo = first > kLayoutMargin ? first - kLayoutMargin : 0;
  std::size_t hi = last + kLayoutMargin;
  for (std::size_t i = 0; i < paragraphs_.size(); ++i)
    if ((i < lo || i > hi) && i != caret_.paragraph) dropLayout(paragraphs_[i]);
}

// --- text and positions ----------------------------------------------------------

void TextEditing::setText(const std::string& text) {
  dropAllLayouts();
  paragraphs_.clear();
  for (auto& part : splitParagraphs(ns::sanitizeUtf8(text))) {
    if (!multiline_ && !paragraphs_.empty()) paragraphs_.back().text += " " + part;
    else paragraphs_.push_back({std::move(part)});
  }
  for (auto& p : paragraphs_) p.units = ns::length16(p.text);
  marked_.clear();
  caret_ = anchor_ = {paragraphs_.size() - 1, paragraphs_.back().text.size()};
  markDirty(0);
  goalX_ = -1;
  undo_.clear();
  redo_.clear();
  runBroken_ = true;
}

std::string TextEditing::text() const {
  std::size_t total = paragraphs_.size();
  for (const auto& p : paragraphs_) total += p.text.size();
  std::string out;
  out.reserve(total);
  for (std::size_t i = 0; i < paragraphs_.size(); ++i) {
    if (i) out += '\n';
    out += paragraphs_[i].text;
  }
  return out;
}

std::size_t TextEditing::offset16(TextPosition pos) const {
  std::size_t units = 0;
  for (std::size_t i = 0; i < pos.paragraph && i < paragraphs_.size(); ++i) units += paragraphs_[i].units + 1;
  if (pos.paragraph < paragraphs_.size())
    units += ns::length16(std::string_view(paragraphs_[pos.paragraph].text).substr(0, pos.offset));
  return units;
}

TextPosition TextEditing::positionFor16(std::size_t units) const {
  for (std::size_t i = 0; i < paragraphs_.size(); ++i) {
    std::size_t len = paragraphs_[i].units;
    if (units <= len || i + 1 == paragraphs_.size())
      return {i, byteOffsetFor16(paragraphs_[i].text, units)};
    units -= len + 1;
  }
  return {};
}

ns::Range TextEditing::selectedRange() const {
  auto [lo, hi] = std::minmax(anchor_, caret_);
  std::size_t start = offset16(lo);
  return {start, offset16(hi) - start};
}

void TextEditing::setSelectedRange(ns::Range range) {
  if (!range.found()) return;
  anchor_ = positionFor16(range.location);
  caret_ = positionFor16(range.location + range.length);
  goalX_ = -1;
  runBroken_ = true;
}

std::string TextEditing::selectedText() const { return textBetween(anchor_, caret_); }

void TextEditing::selectAll() {
  anchor_ = {};
  caret_ = {paragraphs_.size() - 1, paragraphs_.back().text.size()};
  runBroken_ = true;
}

std::size_t TextEditing::toLayoutIndex(std::size_t paragraph, std::size_t offset) const {
  bool composing = !marked_.empty() && paragraph == caret_.paragraph;
  std::size_t index = composing && offset > caret_.offset ? offset + marked_.size() : offset;
  if (!secure_) return index;
  // A secure layout holds a bullet for each character of the text shown.
  std::string shown = paragraphs_[paragraph].text;
  if (composing) shown.insert(caret_.offset, marked_);
  return kBulletBytes * charactersBefore(shown, index);
}

std::size_t TextEditing::fromLayoutIndex(std::size_t paragraph, std::size_t index) const {
  bool composing = !marked_.empty() && paragraph == caret_.paragraph;
  if (secure_) {
    std::string shown = paragraphs_[paragraph].text;
    if (composing) shown.insert(caret_.offset, marked_);
    index = byteOfCharacter(shown, index / kBulletBytes);
  }
  if (!composing || index <= caret_.offset) return index;
  return index < caret_.offset + marked_.size() ? caret_.offset : index - marked_.size();
}

// --- editing -------------------------------------------------------------------

bool TextEditing::replace(TextPosition from, TextPosition to, const std::string& inserted) {
  if (to < from) std::swap(from, to);
  std::string text = ns::sanitizeUtf8(inserted);
  if (!multiline_) std::replace(text.begin(), text.end(), '\n', ' ');
  if (from == to && text.empty()) return false;
  std::size_t start = offset16(from), stop = offset16(to);
  if (shouldChange && !shouldChange({start, stop - start}, text)) return false;
  // The selection as it was, from the offsets at hand when it is the range
  // replaced or a caret at one of its ends (counting offsets walks the text).
  auto [lo, hi] = std::minmax(anchor_, caret_);
  ns::Range before;
  if (lo == from && hi == to) before = {start, stop - start};
  else if (lo == hi && lo == from) before = {start, 0};
  else if (lo == hi && lo == to) before = {stop, 0};
  else before = selectedRange();
  Edit edit{pendingKind_, start, textBetween(from, to), text, before, {}};
  std::vector<std::string> parts = splitParagraphs(text);
  std::string head = paragraphs_[from.paragraph].text.substr(0, from.offset);
  std::string tail = paragraphs_[to.paragraph].text.substr(to.offset);
  for (std::size_t i = from.paragraph; i <= to.paragraph; ++i) dropLayout(paragraphs_[i]);
  paragraphs_.erase(paragraphs_.begin() + static_cast<long>(from.paragraph),
                    paragraphs_.begin() + static_cast<long>(to.paragraph) + 1);
  std::vector<Paragraph> made;
  for (auto& part : parts) made.push_back({std::move(part)});
  made.front().text.insert(0, head);
  TextPosition end{from.paragraph + made.size() - 1, made.back().text.size()};
  made.back().text += tail;
  for (auto& p : made) p.units = ns::length16(p.text);
  paragraphs_.insert(paragraphs_.begin() + static_cast<long>(from.paragraph),
                     std::make_move_iterator(made.begin()), std::make_move_iterator(made.end()));
  caret_ = anchor_ = end;
  markDirty(from.paragraph);
  goalX_ = -1;
  edit.selectionAfter = {start + ns::length16(text), 0};
  record(std::move(edit));
  if (didChange) didChange();
  return true;
}

std::string TextEditing::textBetween(TextPosition from, TextPosition to) const {
  if (to < from) std::swap(from, to);
  if (from.paragraph == to.paragraph)
    return paragraphs_[from.paragraph].text.substr(from.offset, to.offset - from.offset);
  std::string out = paragraphs_[from.paragraph].text.substr(from.offset);
  for (std::size_t i = from.paragraph + 1; i < to.paragraph; ++i) out += "\n" + paragraphs_[i].text;
  return out + "\n" + paragraphs_[to.paragraph].text.substr(0, to.offset);
}

// --- undo and redo -----------------------------------------------------------

bool TextEditing::replaceAsUndoStep(EditKind kind, TextPosition from, TextPosition to, const std::string& text) {
  pendingKind_ = kind;
  bool changed = replace(from, to, text);
  pendingKind_ = EditKind::Other;
  return changed;
}

// Typing goes on where the last typing ended, and a word (with the spaces
// after it) is one step; deleting character by character likewise.
bool TextEditing::joinsLastEdit(const Edit& edit) const {
  if (undo_.empty() || runBroken_) return false;
  const Edit& last = undo_.back();
  if (edit.kind != last.kind) return false;
  switch (edit.kind) {
    case EditKind::Typing:
      return edit.removed.empty() && edit.start == last.start + ns::length16(last.inserted) &&
             !(endsWithSpace(last.inserted) && !startsWithSpace(edit.inserted));
    case EditKind::DeletingBackward:
      // Going back: the spaces before a word go with the word before them.
      return edit.inserted.empty() && edit.start + ns::length16(edit.removed) == last.start &&
             !(endsWithSpace(edit.removed) && !startsWithSpace(last.removed));
    case EditKind::DeletingForward:
      return edit.inserted.empty() && edit.start == last.start &&
             !(endsWithSpace(last.removed) && !startsWithSpace(edit.removed));
    case EditKind::Other: return false;
  }
  return false;
}

void TextEditing::record(Edit edit) {
  if (replaying_) return;
  redo_.clear();
  if (joinsLastEdit(edit)) {
    Edit& last = undo_.back();
    if (edit.kind == EditKind::Typing) {
      last.inserted += edit.inserted;
    } else if (edit.kind == EditKind::DeletingBackward) {
      last.removed = edit.removed + last.removed;
      last.start = edit.start;
    } else {
      last.removed += edit.removed;
    }
    last.selectionAfter = edit.selectionAfter;
  } else {
    undo_.push_back(std::move(edit));
    // The oldest steps go first when there are too many or they hold too much text.
    std::size_t bytes = 0;
    for (const Edit& e : undo_) bytes += e.removed.size() + e.inserted.size();
    while (undo_.size() > 1 && (undo_.size() > kMaxUndoSteps || bytes > kMaxUndoBytes)) {
      bytes -= undo_.front().removed.size() + undo_.front().inserted.size();
      undo_.erase(undo_.begin());
    }
  }
  // Typing and deleting run on until the caret is moved; other edits stand alone.
  runBroken_ = undo_.back().kind == EditKind::Other;
}

bool TextEditing::replay(std::size_t start, std::size_t length, const std::string& text, ns::Range selection) {
  if (!marked_.empty()) {
    marked_.clear();
    invalidate(caret_.paragraph);
  }
  replaying_ = true;
  TextPosition from = positionFor16(start), to = positionFor16(start + length);
  bool changed = textBetween(from, to) == text || replace(from, to, text);
  replaying_ = false;
  if (!changed) return false;
  setSelectedRange(selection);
  return true;
}

bool TextEditing::undo() {
  if (undo_.empty()) return false;
  Edit edit = undo_.back();
  if (!replay(edit.start, ns::length16(edit.inserted), edit.removed, edit.selectionBefore)) return false;
  undo_.pop_back();
  redo_.push_back(std::move(edit));
  return true;
}

bool TextEditing::redo() {
  if (redo_.empty()) return false;
  Edit edit = redo_.back();
  if (!replay(edit.start, ns::length16(edit.removed), edit.inserted, edit.selectionAfter)) return false;
  redo_.pop_back();
  undo_.push_back(std::move(edit));
  return true;
}

bool TextEditing::insertText(const std::string& text) {
  if (!marked_.empty()) {
    marked_.clear();
    invalidate(caret_.paragraph);
  }
  return replaceAsUndoStep(EditKind::Typing, anchor_, caret_, text);
}

bool TextEditing::deleteBackward() {
  if (hasSelection()) return replace(anchor_, caret_, "");
  TextPosition from = caret_;
  if (from.offset > 0) from.offset = previousCharacter(paragraphs_[from.paragraph].text, from.offset);
  else if (from.paragraph > 0) from = {from.paragraph - 1, paragraphs_[from.paragraph - 1].text.size()};
  return replaceAsUndoStep(EditKind::DeletingBackward, from, caret_, "");
}

bool TextEditing::deleteForward() {
  if (hasSelection()) return replace(anchor_, caret_, "");
  TextPosition to = caret_;
  const std::string& here = paragraphs_[to.paragraph].text;
  if (to.offset < here.size()) to.offset = nextCharacter(here, to.offset);
  else if (to.paragraph + 1 < paragraphs_.size()) to = {to.paragraph + 1, 0};
  return replaceAsUndoStep(EditKind::DeletingForward, caret_, to, "");
}

bool TextEditing::deleteWordBackward() {
  if (hasSelection()) return replace(anchor_, caret_, "");
  return replace(wordBoundary(caret_, -1), caret_, "");
}

bool TextEditing::deleteWordForward() {
  if (hasSelection()) return replace(anchor_, caret_, "");
  return replace(caret_, wordBoundary(caret_, 1), "");
}

void TextEditing::setMarkedText(const std::string& text, int cursor16) {
  // A composition replaces the selection it starts on.
  // It is typing: the text it commits later joins this step.
  if (marked_.empty() && !text.empty() && hasSelection()) replaceAsUndoStep(EditKind::Typing, anchor_, caret_, "");
  invalidate(caret_.paragraph);
  marked_ = ns::sanitizeUtf8(text);
  if (!multiline_) std::replace(marked_.begin(), marked_.end(), '\n', ' ');
  markedCursor_ = std::max(0, cursor16);
}

void TextEditing::unmarkText() {
  if (marked_.empty()) return;
  std::string committed = marked_;
  insertText(committed);
}

void TextEditing::copy() {
  if (hasSelection() && !secure_) Pasteboard::generalPasteboard().setString(selectedText());
}

void TextEditing::cut() {
  if (!hasSelection() || secure_) return;
  copy();
  replace(anchor_, caret_, "");
}

void TextEditing::paste() {
  std::string text = Pasteboard::generalPasteboard().string();
  if (!text.empty()) insertText(text);
}

// --- moving ----------------------------------------------------------------------

void TextEditing::placeCaret(TextPosition p, bool extend) {
  if (!marked_.empty()) {
    invalidate(caret_.paragraph);
    marked_.clear();
  }
  caret_ = p;
  if (!extend) anchor_ = p;
  runBroken_ = true;
}

void TextEditing::moveHorizontally(int direction, bool extend) {
  goalX_ = -1;
  if (!extend && hasSelection()) {
    auto [lo, hi] = std::minmax(anchor_, caret_);
    placeCaret(direction < 0 ? lo : hi, false);
    return;
  }
  PangoLayout* layout = layoutFor(caret_.paragraph);
  int index = static_cast<int>(toLayoutIndex(caret_.paragraph, caret_.offset));
  int moved = 0, trailing = 0;
  pango_layout_move_cursor_visually(layout, TRUE, index, 0, direction, &moved, &trailing);
  TextPosition to = caret_;
  if (moved < 0) {
    if (to.paragraph == 0) return;
    to = {to.paragraph - 1, paragraphs_[to.paragraph - 1].text.size()};
  } else if (moved == G_MAXINT) {
    if (to.paragraph + 1 >= paragraphs_.size()) return;
    to = {to.paragraph + 1, 0};
  } else {
    const char* text = pango_layout_get_text(layout);
    std::size_t i = static_cast<std::size_t>(moved);
    for (; trailing > 0; --trailing) i = g_utf8_next_char(text + i) - text;
    to.offset = fromLayoutIndex(to.paragraph, i);
  }
  placeCaret(to, extend);
}

bool TextEditing::isRightToLeft(std::size_t paragraph) {
  PangoLayoutLine* line = pango_layout_get_line_readonly(layoutFor(paragraph), 0);
  return line && line->resolved_dir == PANGO_DIRECTION_RTL;
}

TextPosition TextEditing::wordBoundary(TextPosition from, int direction) {
  const std::string& text = paragraphs_[from.paragraph].text;
  // At a paragraph's edge the move goes into the next (or previous) paragraph.
  if (direction > 0 && from.offset >= text.size())
    return from.paragraph + 1 < paragraphs_.size() ? TextPosition{from.paragraph + 1, 0} : from;
  if (direction < 0 && from.offset == 0)
    return from.paragraph > 0 ? TextPosition{from.paragraph - 1, paragraphs_[from.paragraph - 1].text.size()}
                              : from;
  // A secret text has no words to show: the move goes to its edge.
  if (secure_) return {from.paragraph, direction > 0 ? text.size() : 0};
  // Word boundaries of the paragraph itself (not of what the layout shows).
  long chars = g_utf8_strlen(text.data(), static_cast<gssize>(text.size()));
  std::vector<PangoLogAttr> attrs(static_cast<std::size_t>(chars) + 1);
  pango_get_log_attrs(text.data(), static_cast<int>(text.size()), -1, pango_language_get_default(), attrs.data(),
                      static_cast<int>(attrs.size()));
  long i = static_cast<long>(charactersBefore(text, from.offset));
  if (direction > 0) {
    for (++i; i < chars && !attrs[static_cast<std::size_t>(i)].is_word_end; ++i) {
    }
  } else {
    for (--i; i > 0 && !attrs[static_cast<std::size_t>(i)].is_word_start; --i) {
    }
  }
  return {from.paragraph, byteOfCharacter(text, static_cast<std::size_t>(std::clamp(i, 0L, chars)))};
}

void TextEditing::moveWord(int direction, bool extend) {
  goalX_ = -1;
  if (!extend && hasSelection()) {
    auto [lo, hi] = std::minmax(anchor_, caret_);
    placeCaret(direction < 0 ? lo : hi, false);
    return;
  }
  placeCaret(wordBoundary(caret_, direction), extend);
}

void TextEditing::moveVertically(int direction, bool extend) {
  cg::Rect r = caretRect();
  if (goalX_ < 0) goalX_ = r.x();
  float goal = goalX_;
  float y = direction < 0 ? r.y() - 1 : r.maxY() + 1;
  TextPosition to;
  if (y < 0) to = {};
  else if (y >= contentSize().height) to = {paragraphs_.size() - 1, paragraphs_.back().text.size()};
  else to = positionAtPoint({goal, y});
  placeCaret(to, extend);
  goalX_ = goal;
}

void TextEditing::moveToLineEdge(bool end, bool extend) {
  goalX_ = -1;
  PangoLayout* layout = layoutFor(caret_.paragraph);
  int line = 0, x = 0;
  pango_layout_index_to_line_x(layout, static_cast<int>(toLayoutIndex(caret_.paragraph, caret_.offset)), FALSE,
                               &line, &x);
  PangoLayoutLine* l = pango_layout_get_line_readonly(layout, line);
  if (!l) return;
  std::size_t index = static_cast<std::size_t>(l->start_index);
  if (end) {
    index += static_cast<std::size_t>(l->length);
    // A wrapped line ends before the space it broke at.
    const char* text = pango_layout_get_text(layout);
    if (line + 1 < pango_layout_get_line_count(layout) && index > 0 && text[index - 1] == ' ') --index;
  }
  placeCaret({caret_.paragraph, fromLayoutIndex(caret_.paragraph, index)}, extend);
}

bool TextEditing::handleKey(const KeyEvent& key) {
  // While composing, keys belong to the input method.
  if (!marked_.empty()) return true;
  bool shift = key.modifiers & KeyModifierShift;
  bool command = key.modifiers & (KeyModifierControl | KeyModifierMeta);
  const std::string& k = key.key;
  if (command) {
    std::string c = ns::lowercase(k);
    // Left and right go by words on the screen: in a right-to-left
    // paragraph, left is forward.
    int forward = isRightToLeft(caret_.paragraph) ? -1 : 1;
    if (c == "a") selectAll();
    else if (c == "c") copy();
    else if (c == "x") cut();
    else if (c == "v") paste();
    else if (c == "z" && !shift) undo();
    else if ((c == "z" && shift) || c == "y") redo();
    else if (k == "Left") moveWord(-forward, shift);
    else if (k == "Right") moveWord(forward, shift);
    else if (k == "BackSpace") deleteWordBackward();
    else if (k == "Delete") deleteWordForward();
    else if (k == "Home") placeCaret({}, shift);
    else if (k == "End") placeCaret({paragraphs_.size() - 1, paragraphs_.back().text.size()}, shift);
    else return false;
    if (k == "Home" || k == "End") goalX_ = -1;
    return true;
  }
  if (k == "Left") moveHorizontally(-1, shift);
  else if (k == "Right") moveHorizontally(1, shift);
  else if (k == "Up") moveVertically(-1, shift);
  else if (k == "Down") moveVertically(1, shift);
  else if (k == "Home") moveToLineEdge(false, shift);
  else if (k == "End") moveToLineEdge(true, shift);
  else if (k == "BackSpace") deleteBackward();
  else if (k == "Delete") deleteForward();
  else if (k == "Return" && multiline_) insertText("\n");
  else return false;
  return true;
}

// --- geometry ----------------------------------------------------------------------

cg::Size TextEditing::contentSize() {
  float width = 0;
  if (wraps_) width = width_;
  else
    for (std::size_t i = 0; i < paragraphs_.size(); ++i) {
      if (paragraphs_.size() == 1) layoutFor(0);
      width = std::max(width, paragraphs_[i].width);
    }
  updateTops();
  return {width, tops_.back()};
}

TextPosition TextEditing::positionAtPoint(cg::Point p) {
  std::size_t i = paragraphAtY(std::max(0.0f, p.y));
  PangoLayout* layout = layoutFor(i);
  float top = paragraphTop(i);
  int index = 0, trailing = 0;
  pango_layout_xy_to_index(layout, static_cast<int>(p.x * PANGO_SCALE),
                           static_cast<int>((p.y - top) * PANGO_SCALE), &index, &trailing);
  const char* text = pango_layout_get_text(layout);
  std::size_t at = static_cast<std::size_t>(index);
  for (; trailing > 0; --trailing) at = g_utf8_next_char(text + at) - text;
  return {i, std::min(fromLayoutIndex(i, at), paragraphs_[i].text.size())};
}

void TextEditing::setCaretAtPoint(cg::Point p, bool extend) {
  goalX_ = -1;
  placeCaret(positionAtPoint(p), extend);
}

void TextEditing::selectWordAtPoint(cg::Point p) {
  if (secure_) {
    selectAll();
    return;
  }
  TextPosition at = positionAtPoint(p);
  placeCaret(at, false);
  goalX_ = -1;
  // Word boundaries from pango, counted in characters of the paragraph.
  PangoLayout* layout = layoutFor(at.paragraph);
  const std::string& text = paragraphs_[at.paragraph].text;
  int count = 0;
  const PangoLogAttr* attrs = pango_layout_get_log_attrs_readonly(layout, &count);
  long chars = g_utf8_strlen(text.data(), static_cast<gssize>(text.size()));
  if (!attrs || count < chars + 1) return;
  long i = g_utf8_pointer_to_offset(text.data(), text.data() + at.offset);
  // The word holding character c: the nearest boundary at or before it is a word's start.
  auto wordAround = [&](long c) -> std::pair<long, long> {
    if (c < 0 || c >= chars) return {-1, -1};
    long start = c;
    while (start > 0 && !attrs[start].is_word_start && !attrs[start].is_word_end) --start;
    if (!attrs[start].is_word_start) return {-1, -1};
    long end = c + 1;
    while (end < chars && !attrs[end].is_word_end) ++end;
    return {start, end};
  };
  auto word = wordAround(i);
  if (word.first < 0) word = wordAround(i - 1);  // just after a word: that word
  if (word.first < 0) return;
  auto byteAt = [&](long chars) {
    return static_cast<std::size_t>(g_utf8_offset_to_pointer(text.data(), chars) - text.data());
  };
  anchor_ = {at.paragraph, byteAt(word.first)};
  caret_ = {at.paragraph, byteAt(word.second)};
}

cg::Rect TextEditing::caretRect() {
  PangoLayout* layout = layoutFor(caret_.paragraph);
  std::size_t index = toLayoutIndex(caret_.paragraph, caret_.offset);
  if (!marked_.empty()) index += byteOffsetFor16(marked_, static_cast<std::size_t>(markedCursor_));
  PangoRectangle strong;
  pango_layout_get_cursor_pos(layout, static_cast<int>(index), &strong, nullptr);
  float top = paragraphTop(caret_.paragraph);
  return cg::Rect(static_cast<float>(strong.x) / PANGO_SCALE, top + static_cast<float>(strong.y) / PANGO_SCALE, 2,
                  static_cast<float>(strong.height) / PANGO_SCALE);
}

// --- drawing -------------------------------------------------------------------------

std::pair<std::size_t, std::size_t> TextEditing::visibleParagraphs(cg::Rect visible) {
  std::size_t first = paragraphAtY(std::max(0.0f, visible.minY()));
  std::size_t last = first;
  for (std::size_t i = first; i < paragraphs_.size(); ++i) {
    layoutFor(i);  // may correct the paragraph's height
    if (paragraphTop(i) >= visible.maxY() && i > first) break;
    last = i;
  }
  trimLayouts(first, last);
  return {first, last};
}

void TextEditing::layoutVisible(cg::Rect visible) { visibleParagraphs(visible); }

void TextEditing::draw(cg::Context& context, cg::Rect visible, cg::Color color, bool showSelection) {
  auto [lo, hi] = std::minmax(anchor_, caret_);
  bool selecting = showSelection && lo != hi;
  auto [first, last] = visibleParagraphs(visible);
  cairo_t* cr = context.cairo();
  for (std::size_t i = first; i <= last; ++i) {
    PangoLayout* layout = layoutFor(i);
    float top = paragraphTop(i);
    PangoAttrList* attrs = nullptr;
    if (selecting && i >= lo.paragraph && i <= hi.paragraph) {
      std::size_t from = i == lo.paragraph ? lo.offset : 0;
      std::size_t to = i == hi.paragraph ? hi.offset : paragraphs_[i].text.size();
      attrs = baseAttributes();
      PangoAttribute* bg = pango_attr_background_new(channel(kSelection.r), channel(kSelection.g), channel(kSelection.b));
      bg->start_index = static_cast<guint>(toLayoutIndex(i, from));
      bg->end_index = static_cast<guint>(toLayoutIndex(i, to));
      pango_attr_list_insert(attrs, bg);
    }
    if (!marked_.empty() && i == caret_.paragraph) {
      if (!attrs) attrs = baseAttributes();
      PangoAttribute* underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
      underline->start_index = static_cast<guint>(toLayoutIndex(i, caret_.offset));
      underline->end_index = static_cast<guint>(toLayoutIndex(i, caret_.offset) +
                                                (secure_ ? kBulletBytes * charactersBefore(marked_, marked_.size())
                                                         : marked_.size()));
      pango_attr_list_insert(attrs, underline);
    }
    if (attrs) pango_layout_set_attributes(layout, attrs);
    cairo_set_source_rgba(cr, color.r, color.g, color.b, color.a * context.alpha());
    cairo_move_to(cr, 0, top);
    pango_cairo_show_layout(cr, layout);
    if (attrs) {
      PangoAttrList* base = baseAttributes();
      pango_layout_set_attributes(layout, base);
      pango_attr_list_unref(base);
      pango_attr_list_unref(attrs);
    }
  }
}

}  // namespace ui
