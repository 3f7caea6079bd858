#include "platform/ui/Button.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/Context.h"
#include "platform/ui/ControlDrawing.h"

namespace ui {

namespace {

enum class Adjust { None, Darken, Fade };

// Darkening covers the image's own pixels only; fading draws it faint.
void drawImageAdjusted(cg::Context& context, const Image& image, const cg::Rect& rect, Adjust adjust) {
  if (adjust == Adjust::None) {
    image.drawInRect(context, rect);
    return;
  }
  context.save();
  if (adjust == Adjust::Fade) context.setAlpha(context.alpha() * 0.5f);
  context.beginTransparencyLayer();
  image.drawInRect(context, rect);
  if (adjust == Adjust::Darken) {
    context.setBlendMode(cg::BlendMode::SourceAtop);
    context.setFillColor(cg::Color::black().withAlpha(0.4f));
    context.fillRect(rect);
  }
  context.endTransparencyLayer();
  context.restore();
}

// The button's image view draws with the button's adjustment.
class ButtonImageView : public ImageView {
 public:
  Adjust adjust = Adjust::None;
  void drawRect(cg::Context& context, cg::Rect) override {
    if (image()) drawImageAdjusted(context, *image(), bounds(), adjust);
  }
};

const cg::Color kRoundedTitle = cg::Color::fromRGB255(50, 79, 133);

}  // namespace

// The glyph buttons come at their own size.
std::shared_ptr<Button> Button::buttonWithType(ButtonType type) {
  cg::Size size;
  switch (type) {
    case ButtonType::DetailDisclosure: size = {29, 31}; break;
    case ButtonType::InfoLight:
    case ButtonType::InfoDark: size = {18, 19}; break;
    case ButtonType::ContactAdd: size = {29, 29}; break;
    case ButtonType::Custom:
    case ButtonType::RoundedRect: break;
  }
  return std::make_shared<Button>(cg::Rect(cg::Point{}, size), type);
}

Button::Button(cg::Rect frame, ButtonType type) : Control(frame), type_(type) {
  setOpaque(false);
  titleLabel_ = std::make_shared<Label>();
  titleLabel_->setBackgroundColor(std::nullopt);
  titleLabel_->setOpaque(false);
  titleLabel_->setTextAlignment(TextAlignment::Center);
  titleLabel_->setLineBreakMode(LineBreakMode::TruncateMiddle);
  titleLabel_->setFont(Font::boldSystemFontOfSize(15));  // the platform's title font for every type
  imageView_ = std::make_shared<ButtonImageView>();
  addSubview(imageView_);
  addSubview(titleLabel_);
  if (type == ButtonType::RoundedRect) {
    setTitleColor(kRoundedTitle, ControlStateNormal);
    setTitleColor(cg::Color::white(), ControlStateHighlighted);
    setTitleColor(cg::Color::white(), ControlStateSelected);
    setTitleColor(kRoundedTitle.withAlpha(0.5f), ControlStateDisabled);
  } else {
    setTitleColor(cg::Color::white(), ControlStateNormal);
  }
  refreshContent();
}

void Button::setTitle(const std::string& title, unsigned state) {
  content_[state].title = title;
  refreshContent();
}
void Button::setTitleColor(std::optional<cg::Color> color, unsigned state) {
  content_[state].titleColor = color;
  refreshContent();
}
void Button::setTitleShadowColor(std::optional<cg::Color> color, unsigned state) {
  content_[state].titleShadowColor = color;
  refreshContent();
}
void Button::setImage(std::shared_ptr<Image> image, unsigned state) {
  content_[state].image = std::move(image);
  refreshContent();
}
void Button::setBackgroundImage(std::shared_ptr<Image> image, unsigned state) {
  content_[state].backgroundImage = std::move(image);
  refreshContent();
}

// The state itself, then selected for a selected state that is more than
// that, then normal.
template <class Has>
const Button::StateContent* Button::lookup(unsigned state, Has has) const {
  unsigned order[] = {state, ControlStateSelected, ControlStateNormal};
  for (unsigned s : order) {
    if (s == ControlStateSelected && !(state & ControlStateSelected)) continue;
    auto it = content_.find(s);
    if (it != content_.end() && has(it->second)) return &it->second;
  }
  return nullptr;
}

std::string Button::titleForState(unsigned state) const {
  auto c = lookup(state, [](const StateContent& c) { return c.title.has_value(); });
  return c ? *c->title : std::string();
}
std::optional<cg::Color> Button::titleColorForState(unsigned state) const {
  auto c = lookup(state, [](const StateContent& c) { return c.titleColor.has_value(); });
  return c ? c->titleColor : std::nullopt;
}
std::optional<cg::Color> Button::titleShadowColorForState(unsigned state) const {
  auto c = lookup(state, [](const StateContent& c) { return c.titleShadowColor.has_value(); });
  return c ? c->titleShadowColor : std::nullopt;
}
std::shared_ptr<Image> Button::imageForState(unsigned state) const {
  auto c = lookup(state, [](const StateContent& c) { return c.image != nullptr; });
  return c ? c->image : nullptr;
}
std::shared_ptr<Image> Button::backgroundImageForState(unsigned state) const {
  auto c = lookup(state, [](const StateContent& c) { return c.backgroundImage != nullptr; });
  return c ? c->backgroundImage : nullptr;
}

void Button::setEnabled(bool enabled) { Control::setEnabled(enabled); refreshContent(); }
void Button::setSelected(bool selected) { Control::setSelected(selected); refreshContent(); }
void Button::setHighlighted(bool highlighted) { Control::setHighlighted(highlighted); refreshContent(); }

// How the current state's images are drawn; an image set for the state
// itself is drawn as it is while highlighted.
int Button::adjustment(bool stateHasOwnImage) const {
  if (!isEnabled() && adjustsWhenDisabled_) return int(Adjust::Fade);
  if (isHighlighted() && adjustsWhenHighlighted_ && !stateHasOwnImage) return int(Adjust::Darken);
  return int(Adjust::None);
}

// Puts the current state's title and image into the subviews.
void Button::refreshContent() {
  if (!titleLabel_) return;
  unsigned s = state();
  titleLabel_->setText(titleForState(s));
  titleLabel_->setTextColor(titleColorForState(s).value_or(cg::Color::white()));
  titleLabel_->setShadowColor(titleShadowColorForState(s));
  auto image = imageForState(s);
  imageView_->setImage(image);
  auto* iv = static_cast<ButtonImageView*>(imageView_.get());
  iv->adjust = Adjust(adjustment(content_.count(s) && content_.at(s).image));
  iv->setNeedsDisplay();
  setNeedsLayout();
  setNeedsDisplay();
}

cg::Rect Button::contentRectForBounds(cg::Rect b) const { return cg::insetRect(b, contentInsets_); }

namespace {

// Places a box of the size in the area by the control's alignments.
cg::Rect align(cg::Size size, cg::Rect area, ControlContentHorizontalAlignment h,
               ControlContentVerticalAlignment v, float xOffset, float totalWidth) {
  float x = area.x() + xOffset, y = area.y();
  switch (h) {
    case ControlContentHorizontalAlignment::Center: x += std::floor((area.width() - totalWidth) / 2); break;
    case ControlContentHorizontalAlignment::Right: x += area.width() - totalWidth; break;
    case ControlContentHorizontalAlignment::Left:
    case ControlContentHorizontalAlignment::Fill: break;
  }
  float height = size.height;
  switch (v) {
    case ControlContentVerticalAlignment::Center: y += std::floor((area.height() - height) / 2); break;
    case ControlContentVerticalAlignment::Bottom: y += area.height() - height; break;
    case ControlContentVerticalAlignment::Fill: height = area.height(); break;
    case ControlContentVerticalAlignment::Top: break;
  }
  return cg::Rect(x, y, size.width, height);
}

}  // namespace

cg::Rect Button::imageRectForContentRect(cg::Rect content) const {
  auto image = currentImage();
  if (!image) return cg::Rect(content.midX(), content.midY(), 0, 0);
  cg::Size is = image->size();
  cg::Rect area = cg::insetRect(content, imageInsets_);
  float titleWidth = titleForState(state()).empty() ? 0 : std::min(titleLabel_->sizeThatFits({}).width,
                                                                    std::max(0.0f, area.width() - is.width));
  return align(is, area, contentHorizontalAlignment(), contentVerticalAlignment(), 0, is.width + titleWidth);
}

cg::Rect Button::titleRectForContentRect(cg::Rect content) const {
  std::string title = titleForState(state());
  if (title.empty()) return cg::Rect(content.midX(), content.midY(), 0, 0);
  auto image = currentImage();
  float imageWidth = image ? image->size().width : 0;
  cg::Rect area = cg::insetRect(content, titleInsets_);
  cg::Size ts = titleLabel_->sizeThatFits({area.width(), 0});
  ts.width = std::min(ts.width, std::max(0.0f, area.width() - imageWidth));
  ts.height = std::min(ts.height, area.height());
  if (contentHorizontalAlignment() == ControlContentHorizontalAlignment::Fill) ts.width = area.width() - imageWidth;
  return align(ts, area, contentHorizontalAlignment(), contentVerticalAlignment(), imageWidth,
               imageWidth + ts.width);
}

void Button::layoutSubviews() {
  cg::Rect content = contentRectForBounds(bounds());
  imageView_->setFrame(imageRectForContentRect(content));
  titleLabel_->setFrame(titleRectForContentRect(content));
}

cg::Size Button::sizeThatFits(cg::Size) const {
  cg::Size title = titleForState(state()).empty() ? cg::Size{} : titleLabel_->sizeThatFits({});
  auto image = currentImage();
  cg::Size is = image ? image->size() : cg::Size{};
  auto bg = currentBackgroundImage();
  cg::Size bs = bg ? bg->size() : cg::Size{};
  float w = title.width + is.width + contentInsets_.left + contentInsets_.right;
  float h = std::max(title.height, is.height) + contentInsets_.top + contentInsets_.bottom;
  return {std::ceil(std::max(w, bs.width)), std::ceil(std::max(h, bs.height))};
}

void Button::drawRoundedRect(cg::Context& context) const {
  cg::Rect r = bounds().insetBy(0.5f, 0.5f);
  if (isHighlighted() || isSelected())
    fillRoundedRectWithGradient(context, r, 9, cg::Color::fromRGB255(5, 140, 245), cg::Color::fromRGB255(1, 93, 230));
  else
    fillRoundedRect(context, r, 9, cg::Color::white());
  strokeRoundedRect(context, r, 9, cg::Color::fromRGB255(154, 154, 154));
}

// A round badge centred in the bounds with a chevron, an "i" or a plus.
void Button::drawGlyph(cg::Context& context) const {
  cg::Rect b = bounds();
  float d = std::min(b.width(), b.height()) - 2;
  cg::Rect circle(std::floor(b.midX() - d / 2), std::floor(b.midY() - d / 2), d, d);
  bool light = type_ == ButtonType::InfoLight;
  cg::Color fill = type_ == ButtonType::InfoDark ? cg::Color::gray(0.25f)
                   : light                         ? cg::Color::white()
                                                   : cg::Color::fromRGB255(36, 112, 216);
  if (isHighlighted()) fill = scaledColor(fill, 0.7f);
  cg::Color mark = light ? cg::Color::gray(0.25f) : cg::Color::white();
  context.save();
  context.setFillColor(fill);
  context.fillEllipseInRect(circle);
  context.setStrokeColor(cg::Color::white());
  context.setLineWidth(2);
  context.beginPath();
  context.addEllipseInRect(circle.insetBy(1, 1));
  context.strokePath();
  context.setStrokeColor(mark);
  context.setFillColor(mark);
  context.setLineWidth(d / 9);
  context.setLineCap(cg::LineCap::Round);
  float cx = circle.midX(), cy = circle.midY(), r = d / 4;
  context.beginPath();
  switch (type_) {
    case ButtonType::DetailDisclosure:
      context.setLineJoin(cg::LineJoin::Round);
      context.moveTo({cx - r * 0.4f, cy - r});
      context.lineTo({cx + r * 0.6f, cy});
      context.lineTo({cx - r * 0.4f, cy + r});
      break;
    case ButtonType::ContactAdd:
      context.moveTo({cx - r, cy});
      context.lineTo({cx + r, cy});
      context.moveTo({cx, cy - r});
      context.lineTo({cx, cy + r});
      break;
    default:  // the info buttons
      context.moveTo({cx, cy - r * 0.1f});
      context.lineTo({cx, cy + r});
      context.strokePath();
      context.fillEllipseInRect(cg::Rect(cx - d / 16, cy - r * 1.05f, d / 8, d / 8));
      break;
  }
  context.strokePath();
  context.restore();
}

void Button::drawRect(cg::Context& context, cg::Rect) {
  if (type_ != ButtonType::Custom && type_ != ButtonType::RoundedRect) {
    drawGlyph(context);
    return;
  }
  if (type_ == ButtonType::RoundedRect && !currentBackgroundImage()) {
    drawRoundedRect(context);
    return;
  }
  auto bg = currentBackgroundImage();
  if (!bg) return;
  unsigned s = state();
  drawImageAdjusted(context, *bg, bounds(), Adjust(adjustment(content_.count(s) && content_.at(s).backgroundImage)));
}

}  // namespace ui
