#include "platform/backend/sdl/WindowGeometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

namespace ui {

namespace {

constexpr int kMinSide = 200;
// What of a window must lie on a display for a person to reach it: a title
// bar's height (and a third of its width).
constexpr float kTitleBarHeight = 32;
constexpr int kMaxSide = 32768;

std::optional<int> toInt(std::string_view s) {
  int v = 0;
  auto [end, err] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (err != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

float fitScale(cg::Size logical, cg::Size box) {
  if (logical.width <= 0 || logical.height <= 0) return 1;
  return std::max(0.0f, std::min(box.width / logical.width, box.height / logical.height));
}

}  // namespace

std::optional<WindowPlacement> parseWindowPlacement(std::string_view text) {
  std::map<std::string, int, std::less<>> values;
  while (!text.empty()) {
    size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    if (auto v = toInt(line.substr(eq + 1))) values[std::string(line.substr(0, eq))] = *v;
  }
  auto get = [&](const char* k) -> std::optional<int> {
    auto it = values.find(k);
    return it == values.end() ? std::nullopt : std::optional(it->second);
  };
  auto w = get("width"), h = get("height"), o = get("orientation");
  if (!w || !h || !o || *w < kMinSide || *h < kMinSide || *w > kMaxSide || *h > kMaxSide || *o < 1 || *o > 4)
    return std::nullopt;
  WindowPlacement p;
  p.width = *w;
  p.height = *h;
  p.orientation = InterfaceOrientation(*o);
  auto x = get("x"), y = get("y");
  if (x && y && std::abs(*x) <= kMaxSide && std::abs(*y) <= kMaxSide) {
    p.x = *x;
    p.y = *y;
    p.hasPosition = true;
  }
  return p;
}

std::string formatWindowPlacement(const WindowPlacement& p) {
  std::string s;
  if (p.hasPosition) s += "x=" + std::to_string(p.x) + "\ny=" + std::to_string(p.y) + "\n";
  s += "width=" + std::to_string(p.width) + "\nheight=" + std::to_string(p.height) + "\n";
  s += "orientation=" + std::to_string(int(p.orientation)) + "\n";
  return s;
}

cg::Size fitWindowSize(cg::Size logical, cg::Size desktop, float fraction) {
  float f = fitScale(logical, {desktop.width * fraction, desktop.height * fraction});
  return {std::floor(logical.width * f), std::floor(logical.height * f)};
}

int displayOf(const WindowPlacement& p, const std::vector<cg::Rect>& displays) {
  if (!p.hasPosition) return -1;
  cg::Rect window(float(p.x), float(p.y), float(p.width), float(p.height));
  int best = -1;
  float bestArea = 0;
  for (std::size_t i = 0; i < displays.size(); ++i) {
    cg::Rect shared = window.intersection(displays[i]);
    float area = shared.width() * shared.height();
    if (area > bestArea) {
      bestArea = area;
      best = int(i);
    }
  }
  return best;
}

WindowPlacement openingPlacement(const std::optional<WindowPlacement>& saved, const std::vector<cg::Rect>& displays) {
  cg::Rect primary = displays.empty() ? cg::Rect(0, 0, 1024, 768) : displays.front();
  WindowPlacement p;
  if (saved) {
    p = *saved;
    // The window's shape decides: a landscape orientation saved with a tall window reads as portrait.
    bool tall = p.height > p.width;
    if (tall && isLandscape(p.orientation)) p.orientation = InterfaceOrientation::Portrait;
    if (!tall && isPortrait(p.orientation)) p.orientation = InterfaceOrientation::LandscapeRight;
    int on = displayOf(p, displays);
    if (on < 0) p.hasPosition = false;  // on no display: centred on the primary
    cg::Rect display = on < 0 ? primary : displays[std::size_t(on)];
    p.width = std::min(p.width, int(display.width()));
    p.height = std::min(p.height, int(display.height()));
    if (p.hasPosition) {
      cg::Rect shown = cg::Rect(float(p.x), float(p.y), float(p.width), float(p.height)).intersection(display);
      if (shown.height() < std::min(kTitleBarHeight, float(p.height)) || shown.width() < float(p.width) / 3) {
        p.x = std::clamp(p.x, int(display.x()), int(display.maxX()) - p.width);
        p.y = std::clamp(p.y, int(display.y()), int(display.maxY()) - p.height);
      }
    }
    return p;
  }
  p.orientation = primary.height() > primary.width() ? InterfaceOrientation::Portrait
                                                      : InterfaceOrientation::LandscapeRight;
  cg::Size s = fitWindowSize(screenSizeForOrientation(p.orientation), primary.size);
  p.width = int(s.width);
  p.height = int(s.height);
  return p;
}

cg::Rect screenRectInWindow(cg::Size logical, cg::Size window) {
  float f = fitScale(logical, window);
  float w = logical.width * f, h = logical.height * f;
  return cg::Rect(std::floor((window.width - w) / 2), std::floor((window.height - h) / 2), w, h);
}

float renderScaleFor(cg::Size logical, cg::Size drawable) {
  cg::Rect shown = screenRectInWindow(logical, drawable);
  return shown.width() > logical.width ? 2.0f : 1.0f;
}

cg::Point logicalPointFor(cg::Point p, cg::Size logical, cg::Size window) {
  cg::Rect shown = screenRectInWindow(logical, window);
  if (shown.width() <= 0 || shown.height() <= 0) return {0, 0};
  return {(p.x - shown.x()) * logical.width / shown.width(), (p.y - shown.y()) * logical.height / shown.height()};
}

cg::Size turnedWindowSize(cg::Size window, cg::Size before, cg::Size after, cg::Size desktop) {
  float f = fitScale(before, window);
  cg::Size s{std::floor(after.width * f), std::floor(after.height * f)};
  if (s.width > desktop.width || s.height > desktop.height) s = fitWindowSize(after, desktop, 1.0f);
  return s;
}

}  // namespace ui
