#pragma once
// What the base controllers read from the global style sheet, which lives in
// the styled library above this one: that library registers a provider when
// it is linked in; without one the default sheet's values stand. Main thread.
#include <functional>

#include "platform/graphics/Color.h"

struct TKStyleProvider {
  std::function<cg::Color()> navigationBarTintColor;
  std::function<cg::Color()> backgroundColor;
};

// The default style sheet's navigation bar tint and screen background.
inline constexpr cg::Color TKDefaultNavigationBarTintColor = cg::Color::fromRGB255(119, 140, 168);
inline constexpr cg::Color TKDefaultBackgroundColor = cg::Color(1, 1, 1, 1);

// Replaces the provider (an empty one restores the defaults).
void TKSetStyleProvider(TKStyleProvider provider);
cg::Color TKStyleSheetNavigationBarTintColor();
cg::Color TKStyleSheetBackgroundColor();
