#include "toolkit/core/TKStyleProvider.h"

namespace {

TKStyleProvider& provider() {
  static TKStyleProvider p;
  return p;
}

}  // namespace

void TKSetStyleProvider(TKStyleProvider p) { provider() = std::move(p); }

cg::Color TKStyleSheetNavigationBarTintColor() {
  return provider().navigationBarTintColor ? provider().navigationBarTintColor() : TKDefaultNavigationBarTintColor;
}

cg::Color TKStyleSheetBackgroundColor() {
  return provider().backgroundColor ? provider().backgroundColor() : TKDefaultBackgroundColor;
}
