#include "platform/text/TextMeasure.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/foundation/String.h"
#include "platform/text/PangoShared.h"

namespace ui {

namespace {

// Rows are measured again on every reload and rotation with the same texts:
// answers are kept, bounded, and dropped all at once when the table fills.
constexpr std::size_t kMaxCachedSizes = 4096;

struct MeasureKey {
  std::string text;
  std::string family;
  float size;
  bool bold, italic;
  float maxWidth;
  int wrap;
  friend bool operator==(const MeasureKey&, const MeasureKey&) = default;
};

struct MeasureKeyHash {
  std::size_t operator()(const MeasureKey& k) const {
    std::size_t h = std::hash<std::string>()(k.text);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(std::hash<std::string>()(k.family));
    mix(std::hash<float>()(k.size));
    mix(std::hash<float>()(k.maxWidth));
    mix(static_cast<std::size_t>(k.wrap) * 4 + k.bold * 2 + k.italic);
    return h;
  }
};

std::unordered_map<MeasureKey, cg::Size, MeasureKeyHash>& sizeCache() {
  static std::unordered_map<MeasureKey, cg::Size, MeasureKeyHash> cache;
  return cache;
}

// The width lines wrap at, 0 for none: a width of 0 or less, NaN, or one so large
// that it means "no limit" (callers pass the largest float for that).
float wrapWidth(float maxWidth) {
  constexpr float kNoLimit = 1e6f;
  return maxWidth > 0 && maxWidth < kNoLimit ? maxWidth : 0;
}

// Logical size of the text on the shared layout; maxWidth as wrapWidth() reads it.
cg::Size layoutSize(std::string_view text, const Font& font, float maxWidth, PangoWrapMode wrap) {
  if (text.empty()) return {};
  maxWidth = wrapWidth(maxWidth);
  MeasureKey key{ns::sanitizeUtf8(text), font.familyName(), font.pointSize(), font.isBold(),
                 font.isItalic(), maxWidth, static_cast<int>(wrap)};
  std::lock_guard<std::mutex> lock(detail::pangoMutex());
  auto& cache = sizeCache();
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  PangoLayout* layout = detail::sharedPangoLayout();
  pango_layout_set_font_description(layout, font.pangoDescription());
  pango_layout_set_text(layout, key.text.data(), static_cast<int>(key.text.size()));
  pango_layout_set_wrap(layout, wrap);
  pango_layout_set_width(layout, maxWidth > 0 ? static_cast<int>(maxWidth * PANGO_SCALE) : -1);
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  cg::Size size{static_cast<float>(logical.width) / PANGO_SCALE, static_cast<float>(logical.height) / PANGO_SCALE};
  if (cache.size() >= kMaxCachedSizes) cache.clear();
  cache.emplace(std::move(key), size);
  return size;
}

}  // namespace

float PangoMeasurer::width(std::string_view text, const Font& font) {
  return layoutSize(text, font, 0, PANGO_WRAP_WORD).width;
}

cg::Size PangoMeasurer::sizeForWidth(std::string_view text, const Font& font, float maxWidth,
                                     LineBreakMode mode) {
  bool wraps = mode == LineBreakMode::WordWrap || mode == LineBreakMode::CharacterWrap;
  // Word wrapping still breaks a word longer than the line, as the platform did.
  PangoWrapMode wrap = mode == LineBreakMode::CharacterWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR;
  cg::Size size = layoutSize(text, font, wraps ? maxWidth : 0, wrap);
  if (maxWidth > 0) size.width = std::min(size.width, maxWidth);
  return size;
}

float FixedAdvanceMeasurer::width(std::string_view text, const Font&) {
  std::size_t widest = 0;
  for (const std::string& line : ns::componentsSeparatedByString(text, "\n")) {
    widest = std::max(widest, ns::length16(line));
  }
  return static_cast<float>(widest) * advance_;
}

cg::Size FixedAdvanceMeasurer::sizeForWidth(std::string_view text, const Font& font, float maxWidth,
                                            LineBreakMode mode) {
  if (text.empty()) return {};
  bool wraps = (mode == LineBreakMode::WordWrap || mode == LineBreakMode::CharacterWrap) &&
               wrapWidth(maxWidth) > 0;
  std::size_t perLine = wraps ? std::max<std::size_t>(1, static_cast<std::size_t>(maxWidth / advance_))
                              : ns::NotFound;
  std::size_t lines = 0, widest = 0;
  for (const std::string& paragraph : ns::componentsSeparatedByString(text, "\n")) {
    std::u16string u = ns::utf8ToUtf16(paragraph);
    if (u.empty()) {
      ++lines;
      continue;
    }
    std::size_t pos = 0;
    while (pos < u.size()) {
      std::size_t end = perLine == ns::NotFound ? u.size() : std::min(u.size(), pos + perLine);
      if (end < u.size() && mode == LineBreakMode::WordWrap && u[end] != u' ') {
        // Break after the last space on the line; a word longer than a line is cut.
        std::size_t space = u.rfind(u' ', end - 1);
        if (space != std::u16string::npos && space >= pos) end = space + 1;
      }
      std::size_t visible = end;
      while (visible > pos && u[visible - 1] == u' ') --visible;
      widest = std::max(widest, visible - pos);
      ++lines;
      pos = end;
      while (pos < u.size() && u[pos] == u' ') ++pos;  // spaces at a break vanish
    }
  }
  float lineHeight = lineHeight_ > 0 ? lineHeight_ : font.pointSize();
  float width = static_cast<float>(widest) * advance_;
  if (maxWidth > 0) width = std::min(width, maxWidth);
  return {width, static_cast<float>(lines) * lineHeight};
}

namespace {

std::mutex& measurerMutex() {
  static std::mutex m;
  return m;
}

std::shared_ptr<TextMeasurer>& measurerSlot() {
  static std::shared_ptr<TextMeasurer> slot = std::make_shared<PangoMeasurer>();
  return slot;
}

std::shared_ptr<TextMeasurer> swapMeasurer(std::shared_ptr<TextMeasurer> measurer) {
  // Replaced measurers are kept, so references handed out stay valid.
  static std::vector<std::shared_ptr<TextMeasurer>> retired;
  std::lock_guard<std::mutex> lock(measurerMutex());
  std::shared_ptr<TextMeasurer> previous = measurerSlot();
  retired.push_back(previous);
  measurerSlot() = measurer ? std::move(measurer) : std::make_shared<PangoMeasurer>();
  return previous;
}

}  // namespace

TextMeasurer& currentMeasurer() {
  std::lock_guard<std::mutex> lock(measurerMutex());
  return *measurerSlot();
}

void setCurrentMeasurer(std::shared_ptr<TextMeasurer> measurer) { swapMeasurer(std::move(measurer)); }

ScopedMeasurer::ScopedMeasurer(std::shared_ptr<TextMeasurer> measurer)
    : previous_(swapMeasurer(std::move(measurer))) {}

ScopedMeasurer::~ScopedMeasurer() { swapMeasurer(previous_); }

cg::Size sizeWithFont(std::string_view text, const Font& font) {
  return currentMeasurer().sizeForWidth(text, font, 0, LineBreakMode::Clip);
}

cg::Size sizeWithFont(std::string_view text, const Font& font, cg::Size constrainedToSize,
                      LineBreakMode lineBreakMode) {
  cg::Size size = currentMeasurer().sizeForWidth(text, font, constrainedToSize.width, lineBreakMode);
  if (constrainedToSize.height > 0) size.height = std::min(size.height, constrainedToSize.height);
  return size;
}

}  // namespace ui
