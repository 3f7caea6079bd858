#pragma once
// The steps of a style chain that paint colour: solid, linear-gradient and
// reflective fills, outer and inner shadows, and solid, four-sided and bevel
// borders. Each traces the context's shape over its frame; shadows and
// borders shrink the frame for the steps after them. Main thread only.
#include <array>
#include <optional>
#include <utility>

#include "toolkit/styled/TKStyle.h"

class TKSolidFillStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKSolidFillStyle> styleWithColor(std::optional<cg::Color> color,
                                                          std::shared_ptr<TKStyle> next);
  std::optional<cg::Color> color;
  void draw(TKStyleContext& context) override;
  std::string className() const override { return "TKSolidFillStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

class TKLinearGradientFillStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKLinearGradientFillStyle> styleWithColor1(std::optional<cg::Color> color1,
                                                                    std::optional<cg::Color> color2,
                                                                    std::shared_ptr<TKStyle> next);
  std::optional<cg::Color> color1, color2;
  void draw(TKStyleContext& context) override;
  std::string className() const override { return "TKLinearGradientFillStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

// A base colour with a lighter upper half.
class TKReflectiveFillStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKReflectiveFillStyle> styleWithColor(std::optional<cg::Color> color,
                                                               std::shared_ptr<TKStyle> next);
  std::optional<cg::Color> color;
  // The gradient's two colours (top, middle) over a base colour.
  static std::pair<cg::Color, cg::Color> reflectionColors(const cg::Color& base);
  void draw(TKStyleContext& context) override;
  std::string className() const override { return "TKReflectiveFillStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

class TKShadowStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  template <class T = TKShadowStyle>
  static std::shared_ptr<T> styleWithColor(std::optional<cg::Color> color, float blur, cg::Size offset,
                                           std::shared_ptr<TKStyle> next) {
    auto s = std::make_shared<T>(std::move(next));
    s->color = color;
    s->blur = blur;
    s->offset = offset;
    return s;
  }
  std::optional<cg::Color> color;
  float blur = 0;
  cg::Size offset;
  // The room the shadow takes on each side (absolute offsets).
  cg::EdgeInsets shadowInsets() const;
  void draw(TKStyleContext& context) override;
  cg::Size addToSize(cg::Size size, TKStyleContext& context) override;
  std::string className() const override { return "TKShadowStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

class TKInnerShadowStyle : public TKShadowStyle {
 public:
  using TKShadowStyle::TKShadowStyle;
  static std::shared_ptr<TKInnerShadowStyle> styleWithColor(std::optional<cg::Color> color, float blur,
                                                            cg::Size offset, std::shared_ptr<TKStyle> next) {
    return TKShadowStyle::styleWithColor<TKInnerShadowStyle>(color, blur, offset, std::move(next));
  }
  void draw(TKStyleContext& context) override;
  cg::Size addToSize(cg::Size size, TKStyleContext& context) override;
  std::string className() const override { return "TKInnerShadowStyle"; }
};

class TKSolidBorderStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKSolidBorderStyle> styleWithColor(std::optional<cg::Color> color, float width,
                                                            std::shared_ptr<TKStyle> next);
  std::optional<cg::Color> color;
  float width = 1;
  void draw(TKStyleContext& context) override;
  std::string className() const override { return "TKSolidBorderStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

class TKFourBorderStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  using OptColor = std::optional<cg::Color>;
  static std::shared_ptr<TKFourBorderStyle> styleWithTop(OptColor top, OptColor right, OptColor bottom, OptColor left,
                                                         float width, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKFourBorderStyle> styleWithTop(OptColor top, float width, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKFourBorderStyle> styleWithRight(OptColor right, float width, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKFourBorderStyle> styleWithBottom(OptColor bottom, float width,
                                                            std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKFourBorderStyle> styleWithLeft(OptColor left, float width, std::shared_ptr<TKStyle> next);
  OptColor top, right, bottom, left;
  float width = 1;
  void draw(TKStyleContext& context) override;
  std::string className() const override { return "TKFourBorderStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

class TKBevelBorderStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  using OptColor = std::optional<cg::Color>;
  static std::shared_ptr<TKBevelBorderStyle> styleWithHighlight(OptColor highlight, OptColor shadow, float width,
                                                                int lightSource, std::shared_ptr<TKStyle> next);
  // The colour's lighter variant as highlight and darker one as shadow, light from 125 degrees.
  static std::shared_ptr<TKBevelBorderStyle> styleWithColor(const cg::Color& color, float width,
                                                            std::shared_ptr<TKStyle> next);
  OptColor highlight, shadow;
  float width = 1;
  int lightSource = 125;
  // Which colour each side takes for a light source: top, right, bottom, left.
  static std::array<bool, 4> sidesInLight(int lightSource);
  void draw(TKStyleContext& context) override;
  std::string className() const override { return "TKBevelBorderStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};
