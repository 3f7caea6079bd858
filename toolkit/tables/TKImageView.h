#pragma once
// A view that shows one image named by a URL: from the URL cache at once
// when it is there, else loaded through a request, with a default image
// shown meanwhile. It reports the start, the arrival and the failure of a
// load to a delegate and to hooks of its own, and can size itself to the
// image. Without a style the image is the view's whole content (stretched
// over the bounds, no drawing of its own); with one the style chain draws and
// its content step paints the image inside the chain's shape. Main thread only.
#include <memory>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/ui/Image.h"
#include "toolkit/core/TKURLRequest.h"
#include "toolkit/tables/TKView.h"

class TKImageView;

// Every call is optional.
class TKImageViewDelegate {
 public:
  virtual ~TKImageViewDelegate() = default;
  virtual void imageViewDidStartLoad(TKImageView& view) { (void)view; }
  // A new image other than the default one.
  virtual void imageViewDidLoadImage(TKImageView& view, const std::shared_ptr<ui::Image>& image) {
    (void)view, (void)image;
  }
  // Null for a cancelled load.
  virtual void imageViewDidFailLoadWithError(TKImageView& view, const ns::Error* error) { (void)view, (void)error; }
};

class TKImageView : public TKView, public TKURLRequestDelegate {
 public:
  explicit TKImageView(cg::Rect frame = {});
  ~TKImageView() override;

  std::shared_ptr<TKImageViewDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<TKImageViewDelegate> delegate) { delegate_ = std::move(delegate); }
  const std::string& URL() const { return URL_; }
  // The same URL while an image shows costs nothing; another one stops the
  // load running and starts its own (or shows the default for none).
  void setURL(const std::string& url);
  const std::shared_ptr<ui::Image>& image() const { return image_; }
  void setImage(std::shared_ptr<ui::Image> image);
  const std::shared_ptr<ui::Image>& defaultImage() const { return defaultImage_; }
  // Only kept: it shows when a load starts or the URL goes.
  void setDefaultImage(std::shared_ptr<ui::Image> image) { defaultImage_ = std::move(image); }
  bool autoresizesToImage() const { return autoresizesToImage_; }
  void setAutoresizesToImage(bool on) { autoresizesToImage_ = on; }

  bool isLoading() const { return request_ != nullptr; }
  // An image is shown and it is not the default one.
  bool isLoaded() const { return image_ && image_ != defaultImage_; }
  // Starts a load of the URL unless one runs (the cache answers at once).
  void reload();
  // Cancels the running load (reported as a failure without an error).
  void stopLoading();
  // Whether the image itself is the view's content (no style), as opposed to
  // the style's drawing. Unset until the first image or style.
  bool showsImageDirectly() const { return showsImageDirectly_; }

  void setStyle(std::shared_ptr<TKStyle> style) override;
  void drawRect(cg::Context& context, cg::Rect rect) override;
  // The image (or the default one) by the view's content mode.
  void drawContent(cg::Context& context, cg::Rect rect) override;
  // A content step of the style paints the image clipped to the chain's shape.
  bool answersDrawLayer() const override { return true; }
  void drawLayer(TKStyleContext& context, TKStyle& style) override;

  void requestDidStartLoad(TKURLRequest& request) override;
  void requestDidFinishLoad(TKURLRequest& request) override;
  void requestDidFailLoadWithError(TKURLRequest& request, const ns::Error& error) override;
  void requestDidCancelLoad(TKURLRequest& request) override;

 protected:
  // Hooks for subclasses, each before the matching delegate call.
  virtual void imageViewDidStartLoad() {}
  virtual void imageViewDidLoadImage(const std::shared_ptr<ui::Image>& image) { (void)image; }
  virtual void imageViewDidFailLoadWithError(const ns::Error* error) { (void)error; }

 private:
  void updateLayer();
  void loadFailed(const ns::Error* error);
  std::shared_ptr<TKURLRequestDelegate> asRequestDelegate();

  std::weak_ptr<TKImageViewDelegate> delegate_;
  std::shared_ptr<TKURLRequest> request_;
  std::string URL_;
  std::shared_ptr<ui::Image> image_;
  std::shared_ptr<ui::Image> defaultImage_;
  bool autoresizesToImage_ = false;
  bool showsImageDirectly_ = false;
};
