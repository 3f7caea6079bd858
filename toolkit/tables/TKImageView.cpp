#include "toolkit/tables/TKImageView.h"

#include <cmath>

#include "toolkit/core/Image+TKCategory.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/styled/TKShape.h"
#include "toolkit/styled/TKStyle.h"

TKImageView::TKImageView(cg::Rect frame) : TKView(frame) {}

TKImageView::~TKImageView() {
  delegate_.reset();
  if (request_) request_->cancel();
}

std::shared_ptr<TKURLRequestDelegate> TKImageView::asRequestDelegate() {
  return std::shared_ptr<TKURLRequestDelegate>(shared_from_this(), static_cast<TKURLRequestDelegate*>(this));
}

void TKImageView::updateLayer() {
  showsImageDirectly_ = !style();
  setNeedsDisplay();
}

void TKImageView::setStyle(std::shared_ptr<TKStyle> style) {
  if (style == this->style()) return;
  TKView::setStyle(std::move(style));
  updateLayer();
}

void TKImageView::drawRect(cg::Context& context, cg::Rect rect) {
  if (showsImageDirectly_) {
    if (image_) image_->drawInRect(context, bounds());
    return;
  }
  if (!style()) return;
  TKView::drawRect(context, rect);
}

void TKImageView::drawContent(cg::Context& context, cg::Rect rect) {
  const auto& image = image_ ? image_ : defaultImage_;
  if (image) ui::drawInRect(*image, context, rect, int(contentMode()));
}

void TKImageView::drawLayer(TKStyleContext& context, TKStyle& style) {
  if (!dynamic_cast<TKContentStyle*>(&style) || !context.graphics()) return;
  cg::Context& g = *context.graphics();
  g.save();
  context.shape()->addToPath(g, context.frame());
  g.clip();
  drawContent(g, context.frame());
  g.restore();
}

void TKImageView::setURL(const std::string& url) {
  if (image_ && !URL_.empty() && url == URL_) return;
  stopLoading();
  URL_ = url;
  if (!URL_.empty()) reload();
  else if (image_ != defaultImage_) setImage(defaultImage_);
}

void TKImageView::reload() {
  if (request_ || URL_.empty()) return;
  if (auto cached = TKURLCache::sharedCache().imageForURL(URL_)) {
    setImage(cached);
    return;
  }
  auto request = TKURLRequest::requestWithURL(URL_, asRequestDelegate());
  request->setResponse(std::make_shared<TKURLImageResponse>());
  bool answeredAtOnce = request->send();
  if (!answeredAtOnce && defaultImage_ && image_ != defaultImage_) setImage(defaultImage_);
}

void TKImageView::stopLoading() {
  if (request_) request_->cancel();
}

void TKImageView::setImage(std::shared_ptr<ui::Image> image) {
  if (image == image_) return;
  image_ = std::move(image);
  updateLayer();

  cg::Rect f = frame();
  float W = f.width(), H = f.height();
  cg::Size s = image_ ? image_->size() : cg::Size();
  if (autoresizesToImage_) {
    setFrame(cg::Rect(f.origin, s));
  } else if (W != 0 && H == 0) {
    // Without an image (or with an empty one) the ratio is 0 / 0: the frame stays.
    if (s.width > 0) setFrame(cg::Rect(f.origin, cg::Size(W, std::floor(s.height / s.width * W))));
  } else if (W == 0 && H != 0) {
    if (s.height > 0) setFrame(cg::Rect(f.origin, cg::Size(std::floor(s.width / s.height * H), H)));
  } else if (W == 0 && H == 0) {
    setFrame(cg::Rect(f.origin, s));
  }

  if (defaultImage_ && image_ == defaultImage_) return;
  std::shared_ptr<ui::Image> shown = image_;
  imageViewDidLoadImage(shown);
  if (auto d = delegate()) d->imageViewDidLoadImage(*this, shown);
}

void TKImageView::requestDidStartLoad(TKURLRequest& request) {
  request_ = request.shared_from_this();
  imageViewDidStartLoad();
  if (auto d = delegate()) d->imageViewDidStartLoad(*this);
}

void TKImageView::requestDidFinishLoad(TKURLRequest& request) {
  auto response = std::dynamic_pointer_cast<TKURLImageResponse>(request.response());
  std::shared_ptr<TKURLRequest> keep = std::move(request_);
  setImage(response ? response->image() : nullptr);
}

void TKImageView::loadFailed(const ns::Error* error) {
  request_.reset();
  imageViewDidFailLoadWithError(error);
  if (auto d = delegate()) d->imageViewDidFailLoadWithError(*this, error);
}

void TKImageView::requestDidFailLoadWithError(TKURLRequest&, const ns::Error& error) { loadFailed(&error); }

void TKImageView::requestDidCancelLoad(TKURLRequest&) { loadFailed(nullptr); }
