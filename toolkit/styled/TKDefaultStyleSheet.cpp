#include "toolkit/styled/TKDefaultStyleSheet.h"

#include "platform/graphics/ColorHSV.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/styled/TKFillStyle.h"
#include "toolkit/styled/TKShape.h"
#include "toolkit/styled/TKStyle.h"

using cg::Color;
using Style = std::shared_ptr<TKStyle>;

namespace {

Color rgb(int r, int g, int b, float a = 1) { return Color::fromRGB255(r, g, b, a); }
Color white(float w, float a = 1) { return Color::gray(w, a); }
Color black(float a) { return Color(0, 0, 0, a); }
Color hsv(float h, float s, float v, const Color& k) { return cg::multiplyHSV(k, h, s, v); }

std::shared_ptr<TKShape> rounded(float r) { return TKRoundedRectangleShape::shapeWithRadius(r); }
std::shared_ptr<TKShape> rounded(float tl, float tr, float br, float bl) {
  return TKRoundedRectangleShape::shapeWithTopLeft(tl, tr, br, bl);
}

Style Shape(std::shared_ptr<TKShape> s, Style next) { return TKShapeStyle::styleWithShape(std::move(s), std::move(next)); }
Style Inset(float t, float l, float b, float r, Style next) {
  return TKInsetStyle::styleWithInset({t, l, b, r}, std::move(next));
}
Style Padding(float t, float l, float b, float r, Style next) {
  return TKBoxStyle::styleWithPadding({t, l, b, r}, std::move(next));
}
Style Solid(Color c, Style next) { return TKSolidFillStyle::styleWithColor(c, std::move(next)); }
Style Gradient(Color a, Color b, Style next) {
  return TKLinearGradientFillStyle::styleWithColor1(a, b, std::move(next));
}
Style Reflective(std::optional<Color> c, Style next) {
  return TKReflectiveFillStyle::styleWithColor(c, std::move(next));
}
Style Shadow(Color c, float blur, cg::Size off, Style next) {
  return TKShadowStyle::styleWithColor(c, blur, off, std::move(next));
}
Style InnerShadow(Color c, float blur, cg::Size off, Style next) {
  return TKInnerShadowStyle::styleWithColor(c, blur, off, std::move(next));
}
Style Border(Color c, float w, Style next) { return TKSolidBorderStyle::styleWithColor(c, w, std::move(next)); }
using OptColor = std::optional<Color>;
Style Four(OptColor t, OptColor r, OptColor b, OptColor l, float w, Style next) {
  return TKFourBorderStyle::styleWithTop(t, r, b, l, w, std::move(next));
}
Style Bevel(OptColor hi, OptColor sh, float w, int light, Style next) {
  return TKBevelBorderStyle::styleWithHighlight(hi, sh, w, light, std::move(next));
}
Style Text(std::optional<ui::Font> f, OptColor c, float min, OptColor shadow, cg::Size off, Style next = nullptr) {
  return TKTextStyle::styleWithFont(std::move(f), c, min, shadow, off, std::move(next));
}
Style Image(int contentMode, Style next = nullptr) {
  return TKImageStyle::styleWithImageURL("", nullptr, contentMode, {}, std::move(next));
}
ui::Font bold(float size) { return ui::Font::boldSystemFontOfSize(size); }

}  // namespace

TKDefaultStyleSheet::TKDefaultStyleSheet() { registerStyles(); }

// --- colours and fonts ----------------------------------------------------------

Color TKDefaultStyleSheet::textColor() { return Color::black(); }
Color TKDefaultStyleSheet::highlightedTextColor() { return Color::white(); }
Color TKDefaultStyleSheet::placeholderTextColor() { return rgb(180, 180, 180); }
Color TKDefaultStyleSheet::timestampTextColor() { return rgb(36, 112, 216); }
Color TKDefaultStyleSheet::linkTextColor() { return rgb(87, 107, 149); }
Color TKDefaultStyleSheet::moreLinkTextColor() { return rgb(36, 112, 216); }
Color TKDefaultStyleSheet::selectedTextColor() { return Color::white(); }
Color TKDefaultStyleSheet::photoCaptionTextColor() { return Color::white(); }
Color TKDefaultStyleSheet::navigationBarTintColor() { return rgb(119, 140, 168); }
Color TKDefaultStyleSheet::toolbarTintColor() { return rgb(109, 132, 162); }
Color TKDefaultStyleSheet::searchBarTintColor() { return rgb(200, 200, 200); }
Color TKDefaultStyleSheet::screenBackgroundColor() { return white(0, 0.8f); }
Color TKDefaultStyleSheet::backgroundColor() { return Color::white(); }
Color TKDefaultStyleSheet::tableActivityTextColor() { return rgb(99, 109, 125); }
Color TKDefaultStyleSheet::tableErrorTextColor() { return rgb(79, 89, 105); }
Color TKDefaultStyleSheet::tableSubTextColor() { return rgb(79, 89, 105); }
Color TKDefaultStyleSheet::tableTitleTextColor() { return rgb(99, 109, 125); }
std::optional<Color> TKDefaultStyleSheet::tableHeaderTextColor() { return std::nullopt; }
std::optional<Color> TKDefaultStyleSheet::tableHeaderShadowColor() { return std::nullopt; }
std::optional<Color> TKDefaultStyleSheet::tableHeaderTintColor() { return std::nullopt; }
Color TKDefaultStyleSheet::tableSeparatorColor() { return white(0.9f); }
std::optional<Color> TKDefaultStyleSheet::tablePlainBackgroundColor() { return std::nullopt; }
// The grouped table's pinstripe grey-blue, as one plain colour.
Color TKDefaultStyleSheet::tableGroupedBackgroundColor() { return rgb(197, 204, 212); }
Color TKDefaultStyleSheet::searchTableBackgroundColor() { return rgb(235, 235, 235); }
Color TKDefaultStyleSheet::searchTableSeparatorColor() { return white(0.85f); }
Color TKDefaultStyleSheet::tabBarTintColor() { return rgb(119, 140, 168); }
Color TKDefaultStyleSheet::tabTintColor() { return rgb(228, 230, 235); }
Color TKDefaultStyleSheet::messageFieldTextColor() { return white(0.5f); }
Color TKDefaultStyleSheet::messageFieldSeparatorColor() { return white(0.7f); }
Color TKDefaultStyleSheet::thumbnailBackgroundColor() { return white(0.95f); }
Color TKDefaultStyleSheet::calendarHeaderTopColor() { return rgb(132, 40, 40); }
Color TKDefaultStyleSheet::calendarHeaderBottomColor() { return rgb(69, 21, 21); }
Color TKDefaultStyleSheet::calendarGridTopColor() { return rgb(226, 226, 229); }
Color TKDefaultStyleSheet::calendarGridBottomColor() { return rgb(200, 200, 205); }
Color TKDefaultStyleSheet::calendarTextColor() { return rgb(59, 73, 88); }
Color TKDefaultStyleSheet::calendarHeaderTextColor() { return rgb(255, 255, 255); }
Color TKDefaultStyleSheet::calendarTextLightColor() { return rgb(147, 155, 165); }
Color TKDefaultStyleSheet::calendarTileDimmedOutColor() { return black(0.25f); }
Color TKDefaultStyleSheet::calendarGridLineHighlightColor() { return rgb(159, 162, 172); }
Color TKDefaultStyleSheet::calendarGridLineShadowColor() { return rgb(237, 237, 239); }
Color TKDefaultStyleSheet::calendarContentSeparatorColor() { return rgb(151, 154, 155); }

ui::Font TKDefaultStyleSheet::font() { return ui::Font::systemFontOfSize(14); }
ui::Font TKDefaultStyleSheet::buttonFont() { return bold(12); }
ui::Font TKDefaultStyleSheet::tableFont() { return bold(17); }
ui::Font TKDefaultStyleSheet::tableSmallFont() { return bold(15); }
ui::Font TKDefaultStyleSheet::tableTitleFont() { return bold(13); }
ui::Font TKDefaultStyleSheet::tableTimestampFont() { return ui::Font::systemFontOfSize(13); }
ui::Font TKDefaultStyleSheet::tableButtonFont() { return bold(13); }
ui::Font TKDefaultStyleSheet::tableSummaryFont() { return ui::Font::systemFontOfSize(17); }
ui::Font TKDefaultStyleSheet::photoCaptionFont() { return bold(12); }
ui::Font TKDefaultStyleSheet::messageFont() { return ui::Font::systemFontOfSize(15); }
ui::Font TKDefaultStyleSheet::errorTitleFont() { return bold(16); }
ui::Font TKDefaultStyleSheet::errorSubtitleFont() { return bold(12); }
ui::Font TKDefaultStyleSheet::activityLabelFont() { return ui::Font::systemFontOfSize(17); }
ui::Font TKDefaultStyleSheet::activityBannerFont() { return bold(11); }

// --- building blocks --------------------------------------------------------------

static TKDefaultStyleSheet& sheet() { return *TKStyleSheet::globalStyleSheet(); }

Style TKDefaultStyleSheet::badgeWithFontSize(float size) {
  return Shape(rounded(-1),
               Inset(1, 1, 1, 1,
                     Shadow(black(1), 3, {0, 4},
                            Reflective(rgb(221, 17, 27),
                                       Inset(-1, -1, -1, -1,
                                             Border(Color::white(), 2,
                                                    Padding(2, 7, 2, 7,
                                                            TKTextStyle::styleWithFont(bold(size), Color::white(),
                                                                                       nullptr))))))));
}

Style TKDefaultStyleSheet::tabGridTabImage(unsigned) { return Image(7); }

Style TKDefaultStyleSheet::tabGridTab(unsigned state, int corner) {
  std::shared_ptr<TKShape> S;
  switch (corner) {
    case 1: S = rounded(8, 0, 0, 0); break;
    case 2: S = rounded(0, 8, 0, 0); break;
    case 3: S = rounded(0, 0, 8, 0); break;
    case 4: S = rounded(0, 0, 0, 8); break;
    case 5: S = rounded(8, 0, 0, 8); break;
    case 6: S = rounded(0, 8, 8, 0); break;
    default: S = TKRectangleShape::shape(); break;
  }
  if (state == 4) {
    return Shape(S, Solid(rgb(150, 168, 191),
                          InnerShadow(black(0.6f), 3, {0, 0},
                                      Padding(11, 10, 9, 10,
                                              TKPartStyle::styleWithName(
                                                  "image", tabGridTabImage(4),
                                                  Text(bold(11), rgb(255, 255, 255), 8, black(0.1f), {-1, -1}))))));
  }
  return Shape(S, Bevel(rgb(255, 255, 255, 0.7f), hsv(1, 1.1f, 0.88f, sheet().tabTintColor()), 1, 125,
                        Padding(11, 10, 9, 10,
                                TKPartStyle::styleWithName(
                                    "image", tabGridTabImage(state),
                                    Text(bold(11), linkTextColor(), 8, white(1, 0.9f), {0, -1})))));
}

Color TKDefaultStyleSheet::toolbarButtonColorWithTintColor(Color tint, unsigned state) {
  cg::HSV x = cg::hsvOfColor(tint);
  if (state & (1 | 4)) {
    if (x.value < 0.2f) return cg::addHSV(tint, 0, 0, 0.2f);
    if (x.saturation > 0.3f) return hsv(1, 1, 0.4f, tint);
    return hsv(1, 2.3f, 0.64f, tint);
  }
  if (x.saturation < 0.5f) return hsv(1, 1.6f, 0.97f, tint);
  return hsv(1, 1.25f, 0.75f, tint);
}

Color TKDefaultStyleSheet::toolbarButtonTextColorForState(unsigned state) {
  return (state & 2) ? white(1, 0.4f) : Color::white();
}

Style TKDefaultStyleSheet::toolbarButtonForState(unsigned state, std::shared_ptr<TKShape> shape, Color tint,
                                                 std::optional<ui::Font> font) {
  Color K = toolbarButtonColorWithTintColor(tint, state);
  Color X = toolbarButtonTextColorForState(state);
  return Shape(shape,
               Inset(2, 0, 1, 0,
                     Shadow(rgb(255, 255, 255, 0.25f), 0, {0, 1},
                            Reflective(K, Bevel(hsv(1, 0.9f, 0.7f, K), hsv(1, 0.5f, 0.6f, K), 1, 270,
                                                Inset(0, -1, 0, -1,
                                                      Bevel(std::nullopt, black(0.15f), 1, 270,
                                                            Padding(8, 8, 8, 8,
                                                                    Image(0, Text(font, X, 0, white(0, 0.4f),
                                                                                  {0, -1}))))))))));
}

Style TKDefaultStyleSheet::selectionFillStyle(Style next) {
  return Gradient(rgb(5, 140, 245), rgb(1, 93, 230), std::move(next));
}

Style TKDefaultStyleSheet::calendarTileWithColor(Color k) {
  Color H = sheet().calendarGridLineHighlightColor(), L = sheet().calendarGridLineShadowColor();
  return Four(H, H, std::nullopt, std::nullopt, 1,
              Four(L, L, std::nullopt, std::nullopt, 1, Text(bold(24), k, 0, Color::white(), {0, 1})));
}

Style TKDefaultStyleSheet::calendarTileMarkWithColor(Color k) {
  return Inset(32, 20, 6, 20, Shape(rounded(-1), Solid(k, nullptr)));
}

Style TKDefaultStyleSheet::calendarTileMarkWithColorLand(Color k) {
  return Inset(35, 16, 6, 16, Shape(rounded(-1), Solid(k, nullptr)));
}

// --- the named styles ---------------------------------------------------------------

void TKDefaultStyleSheet::registerStyles() {
  registerStyle("linkText:", [this](unsigned state) -> Style {
    if (state == 1) {
      return Inset(-3, -4, -3, -4,
                   Shape(rounded(4.5f), Solid(white(0.75f), Inset(3, 4, 3, 4, TKTextStyle::styleWithColor(
                                                                                    linkTextColor(), nullptr)))));
    }
    return TKTextStyle::styleWithColor(linkTextColor(), nullptr);
  });
  registerStyle("linkHighlighted", [](unsigned) { return Shape(rounded(4.5f), Solid(black(0.25f), nullptr)); });
  registerStyle("thumbView:", [](unsigned state) {
    return TKImageStyle::styleWithImageURL(
        "", nullptr, 2, {}, Border(black(0.2f), 1, (state & 1) ? Solid(black(0.5f), nullptr) : nullptr));
  });
  auto toolbar = [this](const char* name, std::function<std::shared_ptr<TKShape>()> shape,
                        std::function<Color()> tint) {
    registerStyle(name, [this, shape, tint](unsigned state) {
      return toolbarButtonForState(state, shape(), tint(), std::nullopt);
    });
  };
  auto navTint = [] { return sheet().navigationBarTintColor(); };
  toolbar("toolbarButton:", [] { return rounded(4.5f); }, navTint);
  toolbar("toolbarBackButton:", [] { return TKRoundedLeftArrowShape::shapeWithRadius(4.5f); }, navTint);
  toolbar("toolbarForwardButton:", [] { return TKRoundedRightArrowShape::shapeWithRadius(4.5f); }, navTint);
  toolbar("toolbarRoundButton:", [] { return rounded(-1); }, navTint);
  auto black10 = [] { return rgb(10, 10, 10); };
  toolbar("blackToolbarButton:", [] { return rounded(4.5f); }, black10);
  toolbar("grayToolbarButton:", [] { return rounded(4.5f); }, [] { return rgb(40, 40, 40); });
  toolbar("blackToolbarForwardButton:", [] { return TKRoundedRightArrowShape::shapeWithRadius(4.5f); }, black10);
  toolbar("blackToolbarRoundButton:", [] { return rounded(-1); }, black10);

  registerStyle("searchTextField", [](unsigned) {
    return Shape(rounded(-1),
                 Inset(1, 0, 1, 0,
                       Shadow(white(1, 0.4f), 0, {0, 1},
                              Solid(sheet().backgroundColor(),
                                    InnerShadow(black(0.4f), 3, {0, 2},
                                                Bevel(black(0.25f), black(0.4f), 1, 270, nullptr))))));
  });
  registerStyle("searchBar", [](unsigned) {
    Color T = sheet().searchBarTintColor();
    return Gradient(hsv(0, 0, 1.2f, T), T, Four(std::nullopt, std::nullopt, hsv(0, 0, 0.82f, T), std::nullopt, 1, nullptr));
  });
  registerStyle("searchBarBottom", [](unsigned) {
    Color T = sheet().searchBarTintColor();
    return Gradient(hsv(0, 0, 1.2f, T), T, Four(hsv(0, 0, 0.82f, T), std::nullopt, std::nullopt, std::nullopt, 1, nullptr));
  });
  registerStyle("blackSearchBar", [](unsigned) {
    return Gradient(white(0.4f, 0.6f), white(0, 0.8f),
                    Four(std::nullopt, std::nullopt, white(0, 0.8f), std::nullopt, 1,
                         Four(std::nullopt, std::nullopt, white(0.8f, 0.15f), std::nullopt, 1, nullptr)));
  });
  registerStyle("tableHeader", [this](unsigned) {
    return Reflective(tableHeaderTintColor(),
                      Inset(-1, 0, 0, 0, Four(std::nullopt, std::nullopt, black(0.15f), std::nullopt, 1, nullptr)));
  });
  registerStyle("pickerCell:", [](unsigned state) {
    if (state & 4) {
      Color B = rgb(53, 94, 255);
      return Shape(rounded(-1), Inset(1, 1, 1, 1, Gradient(rgb(79, 144, 255), rgb(49, 90, 255), Four(B, B, B, B, 1, nullptr))));
    }
    return Shape(rounded(-1),
                 Inset(1, 1, 1, 1,
                       Gradient(rgb(221, 231, 248), rgb(188, 206, 241),
                                Four(rgb(161, 187, 255), rgb(118, 130, 214), rgb(118, 130, 214), rgb(161, 187, 255), 1,
                                     nullptr))));
  });
  registerStyle("searchTableShadow", [](unsigned) {
    return Gradient(black(0.18f), Color::clear(),
                    Four(rgb(130, 130, 130), std::nullopt, std::nullopt, std::nullopt, 1, nullptr));
  });
  registerStyle("blackBezel", [](unsigned) { return Shape(rounded(10), Solid(black(0.7f), nullptr)); });
  registerStyle("whiteBezel", [](unsigned) {
    return Shape(rounded(10), Solid(rgb(255, 255, 255), Border(rgb(178, 178, 178), 1, nullptr)));
  });
  registerStyle("blackBanner", [](unsigned) {
    return Solid(black(0.5f), Four(black(1), std::nullopt, std::nullopt, std::nullopt, 1,
                                   Four(white(1, 0.2f), std::nullopt, std::nullopt, std::nullopt, 1, nullptr)));
  });
  registerStyle("miniBadge", [this](unsigned) { return badgeWithFontSize(12); });
  registerStyle("badge", [this](unsigned) { return badgeWithFontSize(15); });
  registerStyle("tabBar", [](unsigned) {
    Color T = sheet().tabBarTintColor();
    return Solid(T, Four(std::nullopt, std::nullopt, hsv(0, 0, 0.7f, T), std::nullopt, 1, nullptr));
  });
  registerStyle("tabStrip", [](unsigned) {
    Color T = sheet().tabTintColor();
    return Reflective(T, Four(std::nullopt, std::nullopt, hsv(0, 0, 0.4f, T), std::nullopt, 1, nullptr));
  });
  registerStyle("tabGrid", [](unsigned) {
    Color T = sheet().tabTintColor();
    return Shape(rounded(8), Inset(0, -1, -1, -2,
                                   Shadow(rgb(255, 255, 255, 0.7f), 1, {0, 1},
                                          Gradient(hsv(1, 0.9f, 1.1f, T), T, Border(hsv(1, 1.1f, 0.86f, T), 1, nullptr)))));
  });
  const char* corners[] = {"tabGridTabCenter:", "tabGridTabTopLeft:", "tabGridTabTopRight:", "tabGridTabBottomRight:",
                           "tabGridTabBottomLeft:", "tabGridTabLeft:", "tabGridTabRight:"};
  for (int corner = 0; corner < 7; ++corner) {
    registerStyle(corners[corner], [this, corner](unsigned state) { return tabGridTab(state, corner); });
  }
  registerStyle("tab:", [](unsigned state) {
    if (state == 4) {
      Color B = hsv(0, 0, 0.7f, sheet().tabBarTintColor());
      return Shape(rounded(4.5f, 4.5f, 0, 0),
                   Inset(5, 1, 0, 1,
                         Reflective(sheet().tabTintColor(),
                                    Inset(-1, -1, 0, -1,
                                          Four(B, B, std::nullopt, B, 1,
                                               Padding(6, 12, 2, 12, Text(bold(14), sheet().textColor(), 8,
                                                                          white(1, 0.8f), {0, -1})))))));
    }
    return Inset(5, 1, 1, 1, Padding(6, 12, 2, 12, Text(bold(14), Color::white(), 8, white(0, 0.6f), {0, -1})));
  });
  registerStyle("tabRound:", [this](unsigned state) {
    if (state == 4) {
      return Shape(rounded(-1),
                   Inset(9, 1, 8, 1,
                         Shadow(rgb(255, 255, 255, 0.8f), 0, {0, 1},
                                Reflective(sheet().tabBarTintColor(),
                                           InnerShadow(black(0.3f), 1, {1, 1},
                                                       Inset(-1, -1, -1, -1,
                                                             Padding(0, 10, 0, 10,
                                                                     Text(bold(13), Color::white(), 8, white(0, 0.5f),
                                                                          {0, -1}))))))));
    }
    return Padding(0, 10, 0, 10, Text(bold(13), linkTextColor(), 8, white(1, 0.9f), {0, -1}));
  });
  registerStyle("tabOverflowLeft", [](unsigned) {
    return TKImageStyle::styleWithImage(
        TKURLCache::sharedCache().imageForURL("bundle://Toolkit.bundle/images/overflowLeft.png"), nullptr);
  });
  registerStyle("tabOverflowRight", [](unsigned) {
    return TKImageStyle::styleWithImage(
        TKURLCache::sharedCache().imageForURL("bundle://Toolkit.bundle/images/overflowRight.png"), nullptr);
  });
  registerStyle("rounded", [](unsigned) { return Shape(rounded(8), TKContentStyle::styleWithNext(nullptr)); });
  registerStyle("postBox", [](unsigned) { return Shape(rounded(10), Solid(Color::white(), nullptr)); });
  registerStyle("photoCaption", [](unsigned) {
    return Solid(white(0, 0.5f),
                 Four(black(0.5f), std::nullopt, std::nullopt, std::nullopt, 1,
                      Padding(8, 8, 8, 8,
                              TKTextStyle::styleWithFont(sheet().photoCaptionFont(), sheet().photoCaptionTextColor(), 0,
                                                         white(0, 0.9f), {0, 1}, 1, 0, 4, 6, nullptr))));
  });
  registerStyle("photoStatusLabel", [](unsigned) {
    return Solid(white(0, 0.5f),
                 Padding(20, 8, 20, 8, Text(sheet().tableFont(), rgb(200, 200, 200), 0, white(0, 0.9f), {0, -1})));
  });
}
