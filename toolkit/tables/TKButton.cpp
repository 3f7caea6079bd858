#include "toolkit/tables/TKButton.h"

#include "toolkit/core/TKURLCache.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKStyle.h"

// --- one state's content ----------------------------------------------------------------

TKButtonContent::~TKButtonContent() {
  if (request_) request_->cancel();
}

void TKButtonContent::redrawButton() {
  if (button_) button_->setNeedsDisplay();
}

void TKButtonContent::setImageURL(const std::string& url) {
  if (image_ && !imageURL_.empty() && url == imageURL_) return;
  stopLoading();
  imageURL_ = url;
  if (!imageURL_.empty()) {
    reload();
  } else {
    image_.reset();
    redrawButton();
  }
}

void TKButtonContent::reload() {
  if (request_ || imageURL_.empty()) return;
  if (auto cached = TKURLCache::sharedCache().imageForURL(imageURL_)) {
    image_ = cached;
    redrawButton();
    return;
  }
  auto request = TKURLRequest::requestWithURL(imageURL_, shared_from_this());
  request->setResponse(std::make_shared<TKURLImageResponse>());
  request->send();
}

void TKButtonContent::stopLoading() {
  if (request_) request_->cancel();
}

void TKButtonContent::requestDidStartLoad(TKURLRequest& request) { request_ = request.shared_from_this(); }

void TKButtonContent::requestDidFinishLoad(TKURLRequest& request) {
  if (auto response = std::dynamic_pointer_cast<TKURLImageResponse>(request.response())) image_ = response->image();
  redrawButton();
  request_.reset();
}

void TKButtonContent::requestDidFailLoadWithError(TKURLRequest&, const ns::Error&) { request_.reset(); }
void TKButtonContent::requestDidCancelLoad(TKURLRequest&) { request_.reset(); }

// --- the button -------------------------------------------------------------------------

std::shared_ptr<TKButton> TKButton::buttonWithStyle(const std::string& selector) {
  auto button = std::make_shared<TKButton>();
  button->setStylesWithSelector(selector);
  return button;
}

std::shared_ptr<TKButton> TKButton::buttonWithStyle(const std::string& selector, const std::string& title) {
  auto button = std::make_shared<TKButton>();
  button->setTitle(title, ui::ControlStateNormal);
  button->setStylesWithSelector(selector);
  return button;
}

TKButton::TKButton(cg::Rect frame) : ui::Control(frame) {
  setBackgroundColor(cg::Color::clear());
  setOpaque(false);
}

TKButton::~TKButton() = default;

std::string TKButton::keyForState(unsigned state) {
  if (state & ui::ControlStateHighlighted) return "highlighted";
  if (state & ui::ControlStateSelected) return "selected";
  if (state & ui::ControlStateDisabled) return "disabled";
  return "normal";
}

TKButtonContent& TKButton::contentForState(unsigned state) {
  auto& content = content_[keyForState(state)];
  if (!content) content = std::make_shared<TKButtonContent>(this);
  return *content;
}

TKButtonContent& TKButton::contentForCurrentState() {
  if (isSelected()) return contentForState(ui::ControlStateSelected);
  if (isHighlighted()) return contentForState(ui::ControlStateHighlighted);
  if (!isEnabled()) return contentForState(ui::ControlStateDisabled);
  return contentForState(ui::ControlStateNormal);
}

std::string TKButton::titleForCurrentState() {
  std::string title = contentForCurrentState().title();
  return title.empty() ? contentForState(ui::ControlStateNormal).title() : title;
}

std::shared_ptr<ui::Image> TKButton::imageForCurrentState() {
  auto image = contentForCurrentState().image();
  return image ? image : contentForState(ui::ControlStateNormal).image();
}

std::shared_ptr<TKStyle> TKButton::styleForCurrentState() {
  auto style = contentForCurrentState().style();
  return style ? style : contentForState(ui::ControlStateNormal).style();
}

ui::Font TKButton::fontForCurrentState() {
  if (font_) return *font_;
  if (auto style = styleForCurrentState())
    if (auto* text = style->firstStyleOfClass<TKTextStyle>(); text && text->font) return *text->font;
  return font();
}

ui::Font TKButton::font() {
  // The sheet's font is read, not kept as the button's own: a font of the
  // button's own comes before the style's, the sheet's after it.
  return font_ ? *font_ : TKStyleSheet::globalStyleSheet()->buttonFont();
}

void TKButton::setFont(const ui::Font& font) {
  if (font_ == font) return;
  font_ = font;
  setNeedsDisplay();
}

void TKButton::setTitle(const std::string& title, unsigned state) {
  contentForState(state).setTitle(title);
  setNeedsDisplay();
}

void TKButton::setImage(const std::string& imageURL, unsigned state) {
  contentForState(state).setImageURL(imageURL);
  setNeedsDisplay();
}

void TKButton::setStyle(std::shared_ptr<TKStyle> style, unsigned state) {
  contentForState(state).setStyle(std::move(style));
  setNeedsDisplay();
}

void TKButton::setStylesWithSelector(const std::string& selector) {
  auto sheet = TKStyleSheet::globalStyleSheet();
  for (unsigned state : {ui::ControlStateNormal, ui::ControlStateHighlighted, ui::ControlStateSelected,
                         ui::ControlStateDisabled})
    setStyle(sheet->styleWithSelector(selector, state), state);
}

void TKButton::suspendLoadingImages(bool suspended) {
  TKButtonContent& content = contentForCurrentState();
  if (suspended) content.stopLoading();
  else if (!content.image()) content.reload();
}

void TKButton::setHighlighted(bool highlighted) {
  ui::Control::setHighlighted(highlighted);
  setNeedsDisplay();
}

void TKButton::setSelected(bool selected) {
  ui::Control::setSelected(selected);
  setNeedsDisplay();
}

void TKButton::setEnabled(bool enabled) {
  ui::Control::setEnabled(enabled);
  setNeedsDisplay();
}

void TKButton::drawRect(cg::Context& context, cg::Rect) {
  std::shared_ptr<TKStyle> style = styleForCurrentState();
  if (!style) return;
  cg::Rect textFrame = bounds();
  TKStyleContext styleContext(&context);
  styleContext.setDelegate(this);
  TKPartStyle* imagePart = style->styleForPart("image");
  TKBoxStyle* imageBox = nullptr;
  cg::Size imageSize;
  if (imagePart) {
    if (imagePart->style) {
      imageBox = imagePart->style->firstStyleOfClass<TKBoxStyle>();
      imageSize = imagePart->style->addToSize({}, styleContext);
    }
    textFrame = cg::Rect(textFrame.x() + imageSize.width, textFrame.y(), textFrame.width() - imageSize.width,
                         textFrame.height());
  }
  styleContext.setFrame(bounds());
  styleContext.setContentFrame(textFrame);
  styleContext.setFont(fontForCurrentState());
  style->draw(styleContext);
  if (imagePart) {
    cg::Rect r = styleContext.contentFrame();
    r = cg::Rect(r.x() + (imageBox ? imageBox->margin.left : 0), r.y() + (imageBox ? imageBox->margin.top : 0),
                 imageSize.width, imageSize.height);
    styleContext.setFrame(r);
    styleContext.setContentFrame(r);
    imagePart->drawPart(styleContext);
  }
}

cg::Size TKButton::sizeThatFits(cg::Size size) const {
  auto* self = const_cast<TKButton*>(this);
  std::shared_ptr<TKStyle> style = self->styleForCurrentState();
  if (!style) return size;
  TKStyleContext context;
  context.setDelegate(self);
  context.setFont(self->fontForCurrentState());
  return style->addToSize({}, context);
}

std::optional<std::string> TKButton::textForLayerWithStyle(TKStyle&) { return titleForCurrentState(); }

std::shared_ptr<ui::Image> TKButton::imageForLayerWithStyle(TKStyle&) { return imageForCurrentState(); }
