#include "toolkit/styled/TKStyle.h"

#include <cfloat>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/text/TextMeasure.h"
#include "platform/ui/Image.h"
#include "platform/ui/TextDrawing.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/styled/TKArchive.h"
#include "toolkit/styled/TKFillStyle.h"
#include "toolkit/styled/TKShape.h"

using cg::EdgeInsets;
using cg::Rect;
using cg::Size;

namespace {

using Registry = tkarchive::Registry<TKStyle>;

void ensureRegistered() {
  static bool once = [] {
    Registry::shared().addClasses<TKStyle, TKContentStyle, TKPartStyle, TKShapeStyle, TKInsetStyle, TKBoxStyle,
                                  TKTextStyle, TKImageStyle, TKMaskStyle, TKSolidFillStyle, TKLinearGradientFillStyle,
                                  TKReflectiveFillStyle, TKShadowStyle, TKInnerShadowStyle, TKSolidBorderStyle,
                                  TKFourBorderStyle, TKBevelBorderStyle>();
    return true;
  }();
  (void)once;
}

EdgeInsets addInsets(EdgeInsets a, EdgeInsets b) {
  return {a.top + b.top, a.left + b.left, a.bottom + b.bottom, a.right + b.right};
}

ui::LineBreakMode breakMode(int mode) {
  if (mode < 0 || mode > 5) return ui::LineBreakMode::TruncateTail;
  return static_cast<ui::LineBreakMode>(mode);
}

ui::TextAlignment alignment(int a) {
  return a == 1 ? ui::TextAlignment::Center : a == 2 ? ui::TextAlignment::Right : ui::TextAlignment::Left;
}

}  // namespace

// --- TKStyle ------------------------------------------------------------------

TKStyle::~TKStyle() {
  // Unlinks the chain step by step, so a long chain does not recurse on release.
  std::shared_ptr<TKStyle> n = std::move(next_);
  while (n && n.use_count() == 1) n = std::move(n->next_);
}

std::vector<cg::Color> TKStyle::newGradientWithColors(const std::vector<cg::Color>& colors) { return colors; }

void TKStyle::draw(TKStyleContext& context) { drawNext(context); }

EdgeInsets TKStyle::addToInsets(EdgeInsets insets, Size size) {
  return next_ ? next_->addToInsets(insets, size) : insets;
}

Size TKStyle::addToSize(Size size, TKStyleContext& context) {
  return next_ ? next_->addToSize(size, context) : size;
}

void TKStyle::addStyle(std::shared_ptr<TKStyle> style) {
  TKStyle* last = this;
  while (last->next_) last = last->next_.get();
  last->next_ = std::move(style);
}

TKPartStyle* TKStyle::styleForPart(const std::string& name) {
  for (TKStyle* s = this; s; s = s->next_.get()) {
    auto* part = dynamic_cast<TKPartStyle*>(s);
    if (part && part->name == name) return part;
  }
  return nullptr;
}

void TKStyle::encodeWithCoder(ns::Dictionary& d) const {
  if (next_) d["next"] = next_->archive();
}

void TKStyle::initWithCoder(const ns::Value& v) { next_ = unarchive(v["next"]); }

ns::Value TKStyle::archive() const {
  ns::Dictionary d;
  encodeWithCoder(d);
  d["$class"] = className();
  return d;
}

std::shared_ptr<TKStyle> TKStyle::unarchive(const ns::Value& archive) {
  ensureRegistered();
  if (!archive.isDictionary()) return nullptr;
  auto style = Registry::shared().make(archive["$class"].string());
  if (style) style->initWithCoder(archive);
  return style;
}

std::shared_ptr<TKStyle> TKStyle::copy() const { return unarchive(archive()); }

// --- TKContentStyle -----------------------------------------------------------

std::shared_ptr<TKContentStyle> TKContentStyle::styleWithNext(std::shared_ptr<TKStyle> next) {
  return std::make_shared<TKContentStyle>(std::move(next));
}

void TKContentStyle::draw(TKStyleContext& context) {
  if (auto* d = context.delegate(); d && d->answersDrawLayer()) {
    d->drawLayer(context, *this);
    context.setDidDrawContent(true);
  }
  drawNext(context);
}

// --- TKPartStyle --------------------------------------------------------------

std::shared_ptr<TKPartStyle> TKPartStyle::styleWithName(const std::string& name, std::shared_ptr<TKStyle> style,
                                                        std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKPartStyle>(std::move(next));
  s->name = name;
  s->style = std::move(style);
  return s;
}

void TKPartStyle::drawPart(TKStyleContext& context) {
  if (style) style->draw(context);
}

void TKPartStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  d["name"] = name;
  if (style) d["style"] = style->archive();
}

void TKPartStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  name = v["name"].string();
  style = unarchive(v["style"]);
}

// --- TKShapeStyle -------------------------------------------------------------

std::shared_ptr<TKShapeStyle> TKShapeStyle::styleWithShape(std::shared_ptr<TKShape> shape,
                                                           std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKShapeStyle>(std::move(next));
  s->shape = std::move(shape);
  return s;
}

void TKShapeStyle::draw(TKStyleContext& context) {
  EdgeInsets insets = shape ? shape->insetsForSize(context.frame().size) : EdgeInsets{};
  context.setContentFrame(cg::insetRect(context.contentFrame(), insets));
  context.setShape(shape);
  drawNext(context);
}

EdgeInsets TKShapeStyle::addToInsets(EdgeInsets insets, Size size) {
  if (shape) insets = addInsets(insets, shape->insetsForSize(size));
  return TKStyle::addToInsets(insets, size);
}

Size TKShapeStyle::addToSize(Size size, TKStyleContext& context) {
  Size inner = next() ? next()->addToSize(size, context) : Size{};
  EdgeInsets e = shape ? shape->insetsForSize(inner) : EdgeInsets{};
  return {inner.width + e.left + e.right, inner.height + e.top + e.bottom};
}

void TKShapeStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  if (shape) d["shape"] = shape->archive();
}

void TKShapeStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  shape = TKShape::unarchive(v["shape"]);
}

// --- TKInsetStyle -------------------------------------------------------------

std::shared_ptr<TKInsetStyle> TKInsetStyle::styleWithInset(EdgeInsets inset, std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKInsetStyle>(std::move(next));
  s->inset = inset;
  return s;
}

void TKInsetStyle::draw(TKStyleContext& context) {
  context.setFrame(cg::insetRect(context.frame(), inset));
  drawNext(context);
}

EdgeInsets TKInsetStyle::addToInsets(EdgeInsets insets, Size size) {
  return TKStyle::addToInsets(addInsets(insets, inset), size);
}

void TKInsetStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  d["inset"] = tkarchive::encodeInsets(inset);
}

void TKInsetStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  inset = tkarchive::decodeInsets(v["inset"]);
}

// --- TKBoxStyle ---------------------------------------------------------------

std::shared_ptr<TKBoxStyle> TKBoxStyle::styleWithMargin(EdgeInsets margin, std::shared_ptr<TKStyle> next) {
  return styleWithMargin(margin, {}, {}, TKPositionStatic, std::move(next));
}

std::shared_ptr<TKBoxStyle> TKBoxStyle::styleWithPadding(EdgeInsets padding, std::shared_ptr<TKStyle> next) {
  return styleWithMargin({}, padding, {}, TKPositionStatic, std::move(next));
}

std::shared_ptr<TKBoxStyle> TKBoxStyle::styleWithFloats(int position, std::shared_ptr<TKStyle> next) {
  return styleWithMargin({}, {}, {}, position, std::move(next));
}

std::shared_ptr<TKBoxStyle> TKBoxStyle::styleWithMargin(EdgeInsets margin, EdgeInsets padding,
                                                        std::shared_ptr<TKStyle> next) {
  return styleWithMargin(margin, padding, {}, TKPositionStatic, std::move(next));
}

std::shared_ptr<TKBoxStyle> TKBoxStyle::styleWithMargin(EdgeInsets margin, EdgeInsets padding, Size minSize,
                                                        int position, std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKBoxStyle>(std::move(next));
  s->margin = margin;
  s->padding = padding;
  s->minSize = minSize;
  s->position = position;
  return s;
}

void TKBoxStyle::draw(TKStyleContext& context) {
  context.setContentFrame(cg::insetRect(context.contentFrame(), padding));
  drawNext(context);
}

Size TKBoxStyle::addToSize(Size size, TKStyleContext& context) {
  size.width += padding.left + padding.right;
  size.height += padding.top + padding.bottom;
  return TKStyle::addToSize(size, context);
}

void TKBoxStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  d["margin"] = tkarchive::encodeInsets(margin);
  d["padding"] = tkarchive::encodeInsets(padding);
  d["minSize"] = tkarchive::encodeSize(minSize);
  d["position"] = position;
}

void TKBoxStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  margin = tkarchive::decodeInsets(v["margin"]);
  padding = tkarchive::decodeInsets(v["padding"]);
  minSize = tkarchive::decodeSize(v["minSize"]);
  position = v["position"].intValue();
}

// --- TKTextStyle --------------------------------------------------------------

std::shared_ptr<TKTextStyle> TKTextStyle::styleWithFont(std::optional<ui::Font> font, std::shared_ptr<TKStyle> next) {
  return styleWithFont(std::move(font), std::nullopt, std::move(next));
}

std::shared_ptr<TKTextStyle> TKTextStyle::styleWithColor(std::optional<cg::Color> color,
                                                         std::shared_ptr<TKStyle> next) {
  return styleWithFont(std::nullopt, color, std::move(next));
}

std::shared_ptr<TKTextStyle> TKTextStyle::styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                        std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKTextStyle>(std::move(next));
  s->font = std::move(font);
  s->color = color;
  return s;
}

std::shared_ptr<TKTextStyle> TKTextStyle::styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                        int textAlignment, std::shared_ptr<TKStyle> next) {
  auto s = styleWithFont(std::move(font), color, std::move(next));
  s->textAlignment = textAlignment;
  return s;
}

std::shared_ptr<TKTextStyle> TKTextStyle::styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                        std::optional<cg::Color> shadowColor, Size shadowOffset,
                                                        std::shared_ptr<TKStyle> next) {
  return styleWithFont(std::move(font), color, 0, shadowColor, shadowOffset, std::move(next));
}

std::shared_ptr<TKTextStyle> TKTextStyle::styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                        float minimumFontSize, std::optional<cg::Color> shadowColor,
                                                        Size shadowOffset, std::shared_ptr<TKStyle> next) {
  auto s = styleWithFont(std::move(font), color, std::move(next));
  s->minimumFontSize = minimumFontSize;
  s->shadowColor = shadowColor;
  s->shadowOffset = shadowOffset;
  return s;
}

std::shared_ptr<TKTextStyle> TKTextStyle::styleWithFont(std::optional<ui::Font> font, std::optional<cg::Color> color,
                                                        float minimumFontSize, std::optional<cg::Color> shadowColor,
                                                        Size shadowOffset, int textAlignment, int verticalAlignment,
                                                        int lineBreakMode, int numberOfLines,
                                                        std::shared_ptr<TKStyle> next) {
  auto s = styleWithFont(std::move(font), color, minimumFontSize, shadowColor, shadowOffset, std::move(next));
  s->textAlignment = textAlignment;
  s->verticalAlignment = verticalAlignment;
  s->lineBreakMode = lineBreakMode;
  s->numberOfLines = numberOfLines;
  return s;
}

void TKTextStyle::draw(TKStyleContext& context) {
  TKStyleDelegate* d = context.delegate();
  if (d && d->answersTextForLayer()) {
    if (auto text = d->textForLayerWithStyle(*this)) {
      context.setDidDrawContent(true);
      drawText(*text, context);
    }
  }
  if (!context.didDrawContent() && d && d->answersDrawLayer()) {
    d->drawLayer(context, *this);
    context.setDidDrawContent(true);
  }
  drawNext(context);
}

Rect TKTextStyle::rectForText(const std::string& text, Size size, const ui::Font& f) const {
  if (textAlignment == 0 && verticalAlignment == 1) return Rect(0, 0, size.width, size.height);
  Size t = ui::sizeWithFont(text, f);
  float W = std::max(size.width, t.width);
  float x = 0, y = 0;
  if (textAlignment == 2) x = W - t.width;
  else if (textAlignment == 1) x = std::roundf(W * 0.5f - t.width * 0.5f);
  if (verticalAlignment == 2) y = size.height - t.height;
  else if (verticalAlignment == 0) y = std::roundf(size.height * 0.5f - t.height * 0.5f);
  return Rect(x, y, t.width, t.height);
}

Size TKTextStyle::sizeOfText(const std::string& text, const ui::Font& f, Size size) const {
  if (numberOfLines == 1) return ui::sizeWithFont(text, f);
  return ui::sizeWithFont(text, f, size, breakMode(lineBreakMode));
}

void TKTextStyle::drawText(const std::string& text, TKStyleContext& context) {
  cg::Context* g = context.graphics();
  if (!g) return;
  g->save();
  ui::Font f = font ? *font : context.font() ? *context.font() : ui::Font::systemFontOfSize(12);
  if (shadowColor) g->setShadow({shadowOffset.width, -shadowOffset.height}, 0, *shadowColor);
  if (color) g->setFillColor(*color);
  Rect R = context.contentFrame();
  if (numberOfLines == 1) {
    Rect T = rectForText(text, R.size, f);
    // Shrinks the font, a point at a time, down to the minimum size while the line is too wide.
    float minimum = minimumFontSize > 0 ? minimumFontSize : f.pointSize();
    ui::Font used = f;
    while (used.pointSize() > minimum && ui::sizeWithFont(text, used).width > R.width()) {
      used = used.fontWithSize(std::max(minimum, used.pointSize() - 1));
    }
    int mode = lineBreakMode <= 1 ? 2 : lineBreakMode;  // one line: wrapping modes clip
    Size drawn = ui::drawTextInRect(*g, text, Rect(R.x() + T.x(), R.y() + T.y(), R.width(), std::max(T.height(), used.lineHeight())),
                                    used, g->fillColor(), ui::TextAlignment::Left, breakMode(mode));
    // The text's rectangle in the box's own coordinates, where it was drawn.
    context.setContentFrame(Rect(R.x() + T.x(), R.y() + T.y(), drawn.width, drawn.height));
  } else {
    Size drawn = ui::drawTextInRect(*g, text, R, f, g->fillColor(), alignment(textAlignment), breakMode(lineBreakMode));
    context.setContentFrame(Rect(R.x(), R.y(), drawn.width, drawn.height));
  }
  g->restore();
}

Size TKTextStyle::addToSize(Size size, TKStyleContext& context) {
  TKStyleDelegate* d = context.delegate();
  if (d && d->answersTextForLayer()) {
    std::string text = d->textForLayerWithStyle(*this).value_or("");
    ui::Font f = font ? *font : context.font() ? *context.font() : ui::Font::systemFontOfSize(12);
    float maxWidth = context.contentFrame().width() != 0 ? context.contentFrame().width() : FLT_MAX;
    float maxHeight = numberOfLines != 0 ? numberOfLines * f.lineHeight() : FLT_MAX;
    Size t = sizeOfText(text, f, {maxWidth, maxHeight});
    size.width += t.width;
    size.height += t.height;
  }
  return TKStyle::addToSize(size, context);
}

void TKTextStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  if (font) d["font"] = tkarchive::encodeFont(font);
  if (color) d["color"] = tkarchive::encodeColor(color);
  if (shadowColor) d["shadowColor"] = tkarchive::encodeColor(shadowColor);
  d["minimumFontSize"] = minimumFontSize;
  d["textAlignment"] = textAlignment;
  d["verticalAlignment"] = verticalAlignment;
  d["lineBreakMode"] = lineBreakMode;
  d["numberOfLines"] = numberOfLines;
  d["shadowOffset"] = tkarchive::encodeSize(shadowOffset);
}

void TKTextStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  font = tkarchive::decodeFont(v["font"]);
  color = tkarchive::decodeColor(v["color"]);
  shadowColor = tkarchive::decodeColor(v["shadowColor"]);
  minimumFontSize = v["minimumFontSize"].floatValue();
  textAlignment = v["textAlignment"].intValue();
  verticalAlignment = v["verticalAlignment"].intValue();
  lineBreakMode = v["lineBreakMode"].intValue();
  // A missing line count means one line.
  numberOfLines = v["numberOfLines"].isNull() ? 1 : v["numberOfLines"].intValue();
  shadowOffset = tkarchive::decodeSize(v["shadowOffset"]);
}

// --- TKImageStyle -------------------------------------------------------------

std::shared_ptr<TKImageStyle> TKImageStyle::styleWithImageURL(const std::string& url, std::shared_ptr<TKStyle> next) {
  return styleWithImageURL(url, nullptr, 0, {}, std::move(next));
}

std::shared_ptr<TKImageStyle> TKImageStyle::styleWithImageURL(const std::string& url,
                                                              std::shared_ptr<ui::Image> defaultImage,
                                                              std::shared_ptr<TKStyle> next) {
  return styleWithImageURL(url, std::move(defaultImage), 0, {}, std::move(next));
}

std::shared_ptr<TKImageStyle> TKImageStyle::styleWithImageURL(const std::string& url,
                                                              std::shared_ptr<ui::Image> defaultImage, int contentMode,
                                                              Size size, std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKImageStyle>(std::move(next));
  s->imageURL = url;
  s->defaultImage = std::move(defaultImage);
  s->contentMode = contentMode;
  s->size = size;
  return s;
}

std::shared_ptr<TKImageStyle> TKImageStyle::styleWithImage(std::shared_ptr<ui::Image> image,
                                                           std::shared_ptr<TKStyle> next) {
  return styleWithImage(std::move(image), nullptr, 0, {}, std::move(next));
}

std::shared_ptr<TKImageStyle> TKImageStyle::styleWithImage(std::shared_ptr<ui::Image> image,
                                                           std::shared_ptr<ui::Image> defaultImage,
                                                           std::shared_ptr<TKStyle> next) {
  return styleWithImage(std::move(image), std::move(defaultImage), 0, {}, std::move(next));
}

std::shared_ptr<TKImageStyle> TKImageStyle::styleWithImage(std::shared_ptr<ui::Image> image,
                                                           std::shared_ptr<ui::Image> defaultImage, int contentMode,
                                                           Size size, std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKImageStyle>(std::move(next));
  s->image_ = std::move(image);
  s->defaultImage = std::move(defaultImage);
  s->contentMode = contentMode;
  s->size = size;
  return s;
}

std::shared_ptr<ui::Image> TKImageStyle::image() {
  if (!image_ && !imageURL.empty()) image_ = TKURLCache::sharedCache().imageForURL(imageURL);
  return image_;
}

std::shared_ptr<ui::Image> TKImageStyle::imageForContext(TKStyleContext& context) {
  if (auto img = image()) return img;
  if (auto* d = context.delegate(); d && d->answersImageForLayer()) return d->imageForLayerWithStyle(*this);
  return nullptr;
}

void TKImageStyle::draw(TKStyleContext& context) {
  if (auto img = imageForContext(context); img && context.graphics()) {
    TKDrawImageInRect(*context.graphics(), *img, context.contentFrame(), contentMode);
  }
  drawNext(context);
}

Size TKImageStyle::addToSize(Size s, TKStyleContext& context) {
  if (size.width != 0 || size.height != 0) {
    s.width += size.width;
    s.height += size.height;
  } else if (contentMode == 0) {
    if (auto img = imageForContext(context)) {
      s.width += img->size().width;
      s.height += img->size().height;
    }
  }
  return TKStyle::addToSize(s, context);
}

void TKImageStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  d["imageURL"] = imageURL;
  if (image_) d["image"] = tkarchive::encodeImage(image_);
  if (defaultImage) d["defaultImage"] = tkarchive::encodeImage(defaultImage);
  d["contentMode"] = contentMode;
  d["size"] = tkarchive::encodeSize(size);
}

void TKImageStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  imageURL = v["imageURL"].string();
  image_ = tkarchive::decodeImage(v["image"]);
  defaultImage = tkarchive::decodeImage(v["defaultImage"]);
  contentMode = v["contentMode"].intValue();
  size = tkarchive::decodeSize(v["size"]);
}

// --- TKMaskStyle --------------------------------------------------------------

std::shared_ptr<TKMaskStyle> TKMaskStyle::styleWithMask(std::shared_ptr<ui::Image> mask,
                                                        std::shared_ptr<TKStyle> next) {
  auto s = std::make_shared<TKMaskStyle>(std::move(next));
  s->mask = std::move(mask);
  return s;
}

void TKMaskStyle::draw(TKStyleContext& context) {
  cg::Context* g = context.graphics();
  if (!mask || !g || !mask->cgImage()) {
    drawNext(context);
    return;
  }
  g->save();
  g->translate(0, context.frame().height());
  g->scaleBy(1, -1);
  Size m = mask->size();
  g->clipToMask(Rect(0, 0, m.width, m.height), *mask->cgImage());
  drawNext(context);
  g->restore();
}

void TKMaskStyle::encodeWithCoder(ns::Dictionary& d) const {
  TKStyle::encodeWithCoder(d);
  if (mask) d["mask"] = tkarchive::encodeImage(mask);
}

void TKMaskStyle::initWithCoder(const ns::Value& v) {
  TKStyle::initWithCoder(v);
  mask = tkarchive::decodeImage(v["mask"]);
}

// --- drawing an image by content mode ------------------------------------------

void TKDrawImageInRect(cg::Context& ctx, const ui::Image& image, const Rect& rect, int mode) {
  Size s = image.size();
  if (s.width <= 0 || s.height <= 0) return;
  Rect r = rect;
  switch (mode) {
    case 1:
    case 2: {
      float sx = rect.width() / s.width, sy = rect.height() / s.height;
      float k = mode == 1 ? std::min(sx, sy) : std::max(sx, sy);
      float w = s.width * k, h = s.height * k;
      r = Rect(rect.x() + (rect.width() - w) / 2, rect.y() + (rect.height() - h) / 2, w, h);
      break;
    }
    case 4: r = Rect(rect.midX() - s.width / 2, rect.midY() - s.height / 2, s.width, s.height); break;
    case 5: r = Rect(rect.midX() - s.width / 2, rect.y(), s.width, s.height); break;
    case 6: r = Rect(rect.midX() - s.width / 2, rect.maxY() - s.height, s.width, s.height); break;
    case 7: r = Rect(rect.x(), rect.midY() - s.height / 2, s.width, s.height); break;
    case 8: r = Rect(rect.maxX() - s.width, rect.midY() - s.height / 2, s.width, s.height); break;
    case 9: r = Rect(rect.x(), rect.y(), s.width, s.height); break;
    case 10: r = Rect(rect.maxX() - s.width, rect.y(), s.width, s.height); break;
    case 11: r = Rect(rect.x(), rect.maxY() - s.height, s.width, s.height); break;
    case 12: r = Rect(rect.maxX() - s.width, rect.maxY() - s.height, s.width, s.height); break;
    default: break;
  }
  image.drawInRect(ctx, r);
}
