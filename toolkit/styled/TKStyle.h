#pragma once
// Drawing styles: each step of a chain paints something or changes the
// drawing state of a TKStyleContext, then hands the context to `next`. The
// first step owns the whole chain. This header holds the base class and the
// steps that do not paint colour areas: content, part, shape, inset, box,
// text, image and mask. Chains are built once (by a style sheet) and reused;
// drawing changes only the context. Main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/text/Font.h"
#include "toolkit/styled/TKStyleContext.h"

namespace ui {
class Image;
}
class TKShape;
class TKPartStyle;

class TKStyle : public std::enable_shared_from_this<TKStyle> {
 public:
  TKStyle() = default;
  explicit TKStyle(std::shared_ptr<TKStyle> next) : next_(std::move(next)) {}
  virtual ~TKStyle();
  TKStyle(const TKStyle&) = delete;
  TKStyle& operator=(const TKStyle&) = delete;

  // Colours of a two-colour (or longer) gradient, spread evenly.
  static std::vector<cg::Color> newGradientWithColors(const std::vector<cg::Color>& colors);

  const std::shared_ptr<TKStyle>& next() const { return next_; }
  void setNext(std::shared_ptr<TKStyle> next) { next_ = std::move(next); }

  virtual void draw(TKStyleContext& context);
  virtual cg::EdgeInsets addToInsets(cg::EdgeInsets insets, cg::Size size);
  virtual cg::Size addToSize(cg::Size size, TKStyleContext& context);
  // Appends the style at the end of the chain.
  void addStyle(std::shared_ptr<TKStyle> style);
  // The first step of the chain (this one included) of the class.
  template <class T>
  T* firstStyleOfClass() {
    for (TKStyle* s = this; s; s = s->next_.get()) {
      if (auto* t = dynamic_cast<T*>(s)) return t;
    }
    return nullptr;
  }
  // The first part step of the chain with the name.
  TKPartStyle* styleForPart(const std::string& name);

  // Archive form; a copy is a deep copy of the whole chain through it.
  virtual std::string className() const { return "TKStyle"; }
  virtual void encodeWithCoder(ns::Dictionary& d) const;
  virtual void initWithCoder(const ns::Value& v);
  ns::Value archive() const;
  static std::shared_ptr<TKStyle> unarchive(const ns::Value& archive);
  std::shared_ptr<TKStyle> copy() const;

 protected:
  // Passes the context on; the end of the chain simply returns.
  void drawNext(TKStyleContext& context) {
    if (next_) next_->draw(context);
  }

 private:
  std::shared_ptr<TKStyle> next_;
};

// Lets the delegate draw its content.
class TKContentStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKContentStyle> styleWithNext(std::shared_ptr<TKStyle> next);
  void draw(TKStyleContext& context) override;
  std::string className() const override { return "TKContentStyle"; }
};

// A named style carried along the chain but drawn only on request.
class TKPartStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKPartStyle> styleWithName(const std::string& name, std::shared_ptr<TKStyle> style,
                                                    std::shared_ptr<TKStyle> next);
  std::string name;
  std::shared_ptr<TKStyle> style;
  void drawPart(TKStyleContext& context);
  std::string className() const override { return "TKPartStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

// Sets the outline the later fills and borders trace.
class TKShapeStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKShapeStyle> styleWithShape(std::shared_ptr<TKShape> shape, std::shared_ptr<TKStyle> next);
  std::shared_ptr<TKShape> shape;
  void draw(TKStyleContext& context) override;
  cg::EdgeInsets addToInsets(cg::EdgeInsets insets, cg::Size size) override;
  cg::Size addToSize(cg::Size size, TKStyleContext& context) override;
  std::string className() const override { return "TKShapeStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

// Shrinks (or, negative, grows) the frame the later steps paint.
class TKInsetStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKInsetStyle> styleWithInset(cg::EdgeInsets inset, std::shared_ptr<TKStyle> next);
  cg::EdgeInsets inset;
  void draw(TKStyleContext& context) override;
  cg::EdgeInsets addToInsets(cg::EdgeInsets insets, cg::Size size) override;
  std::string className() const override { return "TKInsetStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

enum BoxStylePosition { TKPositionStatic = 0, TKPositionAbsolute = 1, TKPositionFloatLeft = 2, TKPositionFloatRight = 3 };

// Padding around the content; margin, minimum size and position are read by the layout.
class TKBoxStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKBoxStyle> styleWithMargin(cg::EdgeInsets margin, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKBoxStyle> styleWithPadding(cg::EdgeInsets padding, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKBoxStyle> styleWithFloats(int position, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKBoxStyle> styleWithMargin(cg::EdgeInsets margin, cg::EdgeInsets padding,
                                                     std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKBoxStyle> styleWithMargin(cg::EdgeInsets margin, cg::EdgeInsets padding, cg::Size minSize,
                                                     int position, std::shared_ptr<TKStyle> next);
  cg::EdgeInsets margin, padding;
  cg::Size minSize;
  int position = TKPositionStatic;
  void draw(TKStyleContext& context) override;
  cg::Size addToSize(cg::Size size, TKStyleContext& context) override;
  std::string className() const override { return "TKBoxStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

// Text from the delegate (or the delegate's own drawing) in a font and colour.
class TKTextStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKTextStyle> styleWithFont(std::optional<ui::Font> font, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKTextStyle> styleWithColor(std::optional<cg::Color> color, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKTextStyle> styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                    std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKTextStyle> styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                    int textAlignment, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKTextStyle> styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                    std::optional<cg::Color> shadowColor, cg::Size shadowOffset,
                                                    std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKTextStyle> styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                    float minimumFontSize, std::optional<cg::Color> shadowColor,
                                                    cg::Size shadowOffset, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKTextStyle> styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                    float minimumFontSize, std::optional<cg::Color> shadowColor,
                                                    cg::Size shadowOffset, int textAlignment, int verticalAlignment,
                                                    int lineBreakMode, int numberOfLines,
                                                    std::shared_ptr<TKStyle> next);

  std::optional<ui::Font> font;
  std::optional<cg::Color> color, shadowColor;
  cg::Size shadowOffset;
  float minimumFontSize = 0;
  int numberOfLines = 1;
  int textAlignment = 1;      // 0 left, 1 centre, 2 right
  int verticalAlignment = 0;  // 0 centre, 1 top, 2 bottom
  int lineBreakMode = 4;      // truncate at the tail

  void draw(TKStyleContext& context) override;
  cg::Size addToSize(cg::Size size, TKStyleContext& context) override;
  cg::Rect rectForText(const std::string& text, cg::Size size, const ui::Font& font) const;
  cg::Size sizeOfText(const std::string& text, const ui::Font& font, cg::Size size) const;
  void drawText(const std::string& text, TKStyleContext& context);
  std::string className() const override { return "TKTextStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

// A picture, the stored one or the URL cache's, drawn into the content frame.
class TKImageStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKImageStyle> styleWithImageURL(const std::string& url, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKImageStyle> styleWithImageURL(const std::string& url,
                                                         std::shared_ptr<ui::Image> defaultImage,
                                                         std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKImageStyle> styleWithImageURL(const std::string& url,
                                                         std::shared_ptr<ui::Image> defaultImage, int contentMode,
                                                         cg::Size size, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKImageStyle> styleWithImage(std::shared_ptr<ui::Image> image, std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKImageStyle> styleWithImage(std::shared_ptr<ui::Image> image,
                                                      std::shared_ptr<ui::Image> defaultImage,
                                                      std::shared_ptr<TKStyle> next);
  static std::shared_ptr<TKImageStyle> styleWithImage(std::shared_ptr<ui::Image> image,
                                                      std::shared_ptr<ui::Image> defaultImage, int contentMode,
                                                      cg::Size size, std::shared_ptr<TKStyle> next);

  std::string imageURL;
  std::shared_ptr<ui::Image> defaultImage;
  int contentMode = 0;  // scale to fill
  cg::Size size;

  // The stored image, else the URL cache's picture for imageURL (then kept).
  std::shared_ptr<ui::Image> image();
  void setImage(std::shared_ptr<ui::Image> image) { image_ = std::move(image); }
  std::shared_ptr<ui::Image> imageForContext(TKStyleContext& context);
  void draw(TKStyleContext& context) override;
  cg::Size addToSize(cg::Size size, TKStyleContext& context) override;
  std::string className() const override { return "TKImageStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;

 private:
  std::shared_ptr<ui::Image> image_;
};

// The rest of the chain paints through the mask's alpha.
class TKMaskStyle : public TKStyle {
 public:
  using TKStyle::TKStyle;
  static std::shared_ptr<TKMaskStyle> styleWithMask(std::shared_ptr<ui::Image> mask, std::shared_ptr<TKStyle> next);
  std::shared_ptr<ui::Image> mask;
  void draw(TKStyleContext& context) override;
  std::string className() const override { return "TKMaskStyle"; }
  void encodeWithCoder(ns::Dictionary& d) const override;
  void initWithCoder(const ns::Value& v) override;
};

// Draws the image into rect by a view content mode (0 scale to fill, 1 aspect
// fit, 2 aspect fill, 4 centre, 5 top, 6 bottom, 7 left, 8 right, 9..12 the
// corners; 3 as 0).
void TKDrawImageInRect(cg::Context& ctx, const ui::Image& image, const cg::Rect& rect, int contentMode);
