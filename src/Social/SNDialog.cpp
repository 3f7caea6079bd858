#include "src/Social/SNDialog.h"

#include <cmath>

#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/foundation/URLConnection.h"
#include "platform/graphics/Context.h"
#include "platform/services/Device.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "toolkit/core/TKGlobal.h"

namespace {

constexpr const char* kConnectScheme = "snconnect";
constexpr double kGrowSeconds = 0.2;
constexpr double kSettleSeconds = 0.15;
constexpr double kFadeSeconds = 0.3;

const cg::Color kBorderGrey(0.3f, 0.3f, 0.3f, 0.8f);
const cg::Color kTitleBand(0.42578125f, 0.515625f, 0.703125f, 1);
const cg::Color kTitleOutline(0.23f, 0.35f, 0.6f, 1);
const cg::Color kWebOutline(0.3f, 0.3f, 0.3f, 1);

bool isTablet() { return ui::Device::current().userInterfaceIdiom() == ui::UserInterfaceIdiom::Pad; }

// The four outline segments of a rectangle, on the half pixels.
void strokeLines(cg::Context& ctx, cg::Rect r, cg::Color colour) {
  float x = r.x(), y = r.y(), w = r.width(), h = r.height();
  ctx.save();
  ctx.setStrokeColor(colour);
  ctx.setLineWidth(1);
  ctx.beginPath();
  ctx.moveTo({x + 0.5f, y - 0.5f});
  ctx.lineTo({x + w, y - 0.5f});
  ctx.moveTo({x + 0.5f, y + h - 0.5f});
  ctx.lineTo({x + w - 0.5f, y + h - 0.5f});
  ctx.moveTo({x + w - 0.5f, y});
  ctx.lineTo({x + w - 0.5f, y + h});
  ctx.moveTo({x + 0.5f, y});
  ctx.lineTo({x + 0.5f, y + h});
  ctx.strokePath();
  ctx.restore();
}

void fillRect(cg::Context& ctx, cg::Rect r, cg::Color colour, float radius) {
  ctx.save();
  ctx.setFillColor(colour);
  if (radius <= 0) {
    ctx.fillRect(r);
  } else {
    ctx.beginPath();
    ctx.addRoundedRect(r.insetBy(0.5f, 0.5f).offsetBy(0.5f, 0.5f), radius);
    ctx.fillPath();
  }
  ctx.restore();
}

}  // namespace

// The clear view over the whole window: it swallows touches behind the
// dialog and tells the dialog when the window changes shape (a turn).
class SNDialog::Backdrop : public ui::View {
 public:
  explicit Backdrop(SNDialog* dialog) : dialog_(dialog) {
    setBackgroundColor(std::nullopt);
    setOpaque(false);
    setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);
  }
  void setFrame(cg::Rect frame) override {
    bool changed = !(frame.size == this->frame().size);
    View::setFrame(frame);
    if (changed && dialog_) dialog_->windowChanged();
  }
  void touchesBegan(const ui::TouchSet&, const ui::Event&) override {}
  void touchesEnded(const ui::TouchSet&, const ui::Event&) override {}
  SNDialog* dialog_;
};

SNDialog::SNDialog() : ui::View(cg::Rect()) { build(); }

SNDialog::SNDialog(const std::string& url, SNParams params, std::weak_ptr<SNDialogDelegate> delegate)
    : ui::View(cg::Rect()), _delegate(std::move(delegate)), _params(std::move(params)), _serverURL(url) {
  build();
}

SNDialog::~SNDialog() {
  if (_webView) {
    _webView->setDelegate(nullptr);
    _webView->stopLoading();
  }
  if (auto* backdrop = dynamic_cast<Backdrop*>(_modalBackgroundView.get())) backdrop->dialog_ = nullptr;
  if (_modalBackgroundView) _modalBackgroundView->removeFromSuperview();
}

void SNDialog::build() {
  setBackgroundColor(std::nullopt);
  setOpaque(false);
  setAutoresizesSubviews(true);
  setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);

  _closeButton = ui::Button::buttonWithType(ui::ButtonType::Custom);
  _closeButton->setImage(ui::Image::imageNamed("SNDialog.bundle/images/close.png"), ui::ControlStateNormal);
  _closeButton->setTitleColor(cg::Color(167 / 255.0f, 184 / 255.0f, 216 / 255.0f, 1), ui::ControlStateNormal);
  _closeButton->setTitleColor(cg::Color::white(), ui::ControlStateHighlighted);
  _closeButton->titleLabel()->setFont(ui::Font::boldSystemFontOfSize(12));
  _closeButton->addTarget(this, [this](ui::Control&) { cancel(); }, ui::ControlEventTouchUpInside);
  _closeButton->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleBottomMargin);

  _titleLabel = std::make_shared<ui::Label>(cg::Rect());
  _titleLabel->setText(TKApplicationLocalizedString(kTitle));
  _titleLabel->setBackgroundColor(std::nullopt);
  _titleLabel->setTextColor(cg::Color::white());
  _titleLabel->setFont(ui::Font::boldSystemFontOfSize(isTablet() ? 18 : 14));
  _titleLabel->setAutoresizingMask(ui::ViewAutoresizingFlexibleRightMargin | ui::ViewAutoresizingFlexibleBottomMargin);

  _iconView = std::make_shared<ui::ImageView>(ui::Image::imageNamed("SNDialog.bundle/images/snicon.png"));

  _webView = ui::WebView::make(cg::Rect(10, 10, 480, 480));
  _webView->setDelegate(this);
  _webView->setAutoresizingMask(ui::ViewAutoresizingFlexibleWidth | ui::ViewAutoresizingFlexibleHeight);

  _spinner = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::WhiteLarge);
  _spinner->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleRightMargin |
                                ui::ViewAutoresizingFlexibleTopMargin | ui::ViewAutoresizingFlexibleBottomMargin);

  addSubview(_iconView);
  addSubview(_closeButton);
  addSubview(_titleLabel);
  addSubview(_webView);
  addSubview(_spinner);
}

std::string SNDialog::generateURL(const std::string& url, const SNParams& params) {
  if (params.empty()) return url;
  std::string pairs;
  for (const auto& [key, value] : params) {
    if (value.kind != SNParam::Kind::Text) continue;
    if (!pairs.empty()) pairs += "&";
    pairs += key + "=" + SNRequest::encode(value.text);
  }
  return url + "?" + pairs;
}

std::optional<std::string> SNDialog::getStringFromUrl(const std::string& url, const std::string& needle) {
  size_t start = url.find(needle);
  if (start == std::string::npos) return std::nullopt;
  start += needle.size();
  size_t end = url.find('&', start);
  return ns::percentUnescape(url.substr(start, end == std::string::npos ? std::string::npos : end - start));
}

void SNDialog::load() { loadURL(_serverURL); }

void SNDialog::loadURL(const std::string& url) {
  _loadingURL = generateURL(url, _params);
  _webView->loadRequest(_loadingURL);
}

void SNDialog::sizeToFitOrientation() {
  // The window is already turned with the interface: the panel takes its
  // share of the application frame as it stands.
  cg::Rect f = ui::Screen::main().applicationFrame();
  cg::Point centre{f.x() + std::ceil(f.width() / 2), f.y() + std::ceil(f.height() / 2)};
  float scale = isTablet() ? 0.6f : 1.0f;
  float w = std::floor(scale * f.width()) - 20, h = std::floor(scale * f.height()) - 20;
  _orientation = static_cast<int>(ui::Application::shared().statusBarOrientation());
  setFrame(cg::Rect(10, 10, w, h));
  setCenter(centre);
}

void SNDialog::layoutPanel() {
  float innerWidth = frame().width() - 22;
  _iconView->sizeToFit();
  _titleLabel->sizeToFit();
  float T = _titleLabel->frame().height();
  float H = T + 8;
  float iconW = _iconView->frame().width(), iconH = _iconView->frame().height();
  _titleLabel->setFrame(cg::Rect(10 + 8 + iconW + 8, 10, innerWidth - (T + iconW + 16), H));
  _iconView->setFrame(cg::Rect(18, 10 + std::floor(H / 2 - iconH / 2), iconW, iconH));
  _closeButton->setFrame(cg::Rect(frame().width() - (H + 10), 10, H, H));
  _webView->setFrame(cg::Rect(11, 10 + H, innerWidth, frame().height() - (H + 1 + 20)));
  _spinner->sizeToFit();
  _spinner->setCenter(_webView->center());
}

void SNDialog::show() {
  load();
  sizeToFitOrientation();
  layoutPanel();
  _spinner->startAnimating();
  ui::Window* window = ui::Window::keyWindow();
  if (!window) {
    ns::logf("INFO  - [%s] No window to show the dialog in", ns::logTimestamp().c_str());
    return;
  }
  _modalBackgroundView = std::make_shared<Backdrop>(this);
  _modalBackgroundView->setFrame(window->bounds());
  window->addSubview(_modalBackgroundView);
  window->addSubview(std::static_pointer_cast<SNDialog>(shared_from_this()));
  dialogWillAppear();
  // Grows in past its size and settles.
  setTransform(cg::AffineTransform::scaling(0.001f, 0.001f));
  ui::View::beginAnimations("SNDialogGrow");
  ui::View::setAnimationDuration(kGrowSeconds);
  setTransform(cg::AffineTransform::scaling(1.1f, 1.1f));
  std::weak_ptr<View> weak = weak_from_this();
  ui::View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
    auto self = weak.lock();
    if (!self) return;
    ui::View::beginAnimations("SNDialogSettle");
    ui::View::setAnimationDuration(kSettleSeconds);
    self->setTransform(cg::AffineTransform::scaling(0.9f, 0.9f));
    ui::View::setAnimationDidStopSelector([weak](const std::string&, bool, void*) {
      auto again = weak.lock();
      if (!again) return;
      ui::View::beginAnimations("SNDialogRest");
      ui::View::setAnimationDuration(kSettleSeconds);
      again->setTransform(cg::AffineTransform());
      ui::View::commitAnimations();
    });
    ui::View::commitAnimations();
  });
  ui::View::commitAnimations();
}

void SNDialog::windowChanged() {
  if (_showingKeyboard || _dismissed) return;
  int now = static_cast<int>(ui::Application::shared().statusBarOrientation());
  if (now == _orientation) return;
  updateWebOrientation();
  sizeToFitOrientation();
  layoutPanel();
}

void SNDialog::updateWebOrientation() {
  auto o = ui::Application::shared().statusBarOrientation();
  if (ui::isLandscape(o))
    _webView->runScript("document.body.setAttribute('orientation', 90);");
  else
    _webView->runScript("document.body.removeAttribute('orientation');");
}

void SNDialog::drawRect(cg::Context& ctx, cg::Rect) {
  cg::Rect r = bounds();
  fillRect(ctx, r.offsetBy(-0.5f, -0.5f), kBorderGrey, 10);
  float titleHeight = _titleLabel->frame().height();
  cg::Rect band(std::ceil(r.x() + 10), std::ceil(r.y() + 10), r.width() - 20, titleHeight);
  fillRect(ctx, band, kTitleBand, 0);
  strokeLines(ctx, band, kTitleOutline);
  cg::Rect web(band.x(), band.maxY(), r.width() - 20, _webView->frame().height() + 1);
  strokeLines(ctx, web, kWebOutline);
}

void SNDialog::dismissWithSuccess(bool success, bool animated) {
  if (auto d = delegate()) {
    if (success)
      d->dialogDidComplete(*this);
    else
      d->dialogDidNotComplete(*this);
  }
  dismiss(animated);
}

void SNDialog::dismissWithError(const SNError& error, bool animated) {
  if (auto d = delegate()) d->dialogDidFailWithError(*this, error);
  dismiss(animated);
}

void SNDialog::dialogDidSucceed(const std::string& url) {
  if (auto d = delegate()) d->dialogCompleteWithUrl(url);
  dismissWithSuccess(true, true);
}

void SNDialog::dialogDidCancel(const std::string& url) {
  if (auto d = delegate()) d->dialogDidNotCompleteWithUrl(url);
  dismissWithSuccess(false, true);
}

void SNDialog::cancel() { dialogDidCancel(""); }

void SNDialog::dismiss(bool animated) {
  if (_dismissed) return;
  _dismissed = true;
  dialogWillDisappear();
  _loadingURL.clear();
  _webView->stopLoading();
  animated = animated && ui::View::areAnimationsEnabled() && superview();
  if (!animated) {
    cleanUp();
    return;
  }
  // Kept alive until the fade ends.
  auto self = shared_from_this();
  ui::View::beginAnimations("SNDialogFade");
  ui::View::setAnimationDuration(kFadeSeconds);
  setAlpha(0);
  ui::View::setAnimationDidStopSelector(
      [self](const std::string&, bool, void*) { std::static_pointer_cast<SNDialog>(self)->cleanUp(); });
  ui::View::commitAnimations();
}

void SNDialog::cleanUp() {
  if (_modalBackgroundView) _modalBackgroundView->removeFromSuperview();
  removeFromSuperview();
}

bool SNDialog::webViewShouldStartLoad(ui::WebView&, const std::string& url, ui::WebViewNavigationType type) {
  size_t colon = url.find(':');
  std::string scheme = colon == std::string::npos ? "" : ns::lowercase(url.substr(0, colon));
  if (scheme == kConnectScheme) {
    // Only the first eight characters after the colon decide, when there are eight.
    std::string rest = url.substr(colon + 1);
    if (ns::hasPrefix(rest, "//cancel")) {
      auto code = getStringFromUrl(url, "error_code=");
      if (code) {
        auto message = getStringFromUrl(url, "error_msg=");
        ns::Dictionary info{{"error_msg", ns::Value(message.value_or(""))}};
        dismissWithError(SNRequest::formError(ns::intValue(*code), info), true);
      } else {
        dialogDidCancel(url);
      }
    } else {
      dialogDidSucceed(url);
    }
    return false;
  }
  if (url == _loadingURL) return true;
  if (type == ui::WebViewNavigationType::LinkClicked) {
    auto d = delegate();
    if (d && !d->dialogShouldOpenURLInExternalBrowser(*this, url)) return false;
    ui::URLOpener::openURL(url);
    return false;
  }
  return true;
}

void SNDialog::webViewDidFinishLoad(ui::WebView& webView) {
  _spinner->stopAnimating();
  _spinner->setHidden(true);
  std::string title = webView.title();
  if (!title.empty()) setTitle(title);
  updateWebOrientation();
  setNeedsDisplay();
}

void SNDialog::webViewTitleDidChange(ui::WebView& webView) {
  if (!webView.title().empty()) setTitle(webView.title());
}

void SNDialog::webViewDidFailLoad(ui::WebView&, const ns::Error& error) {
  if (_dismissed) return;
  if (error.domain == ui::kWebKitErrorDomain && error.code == ui::kWebKitErrorFrameLoadInterrupted) return;
  pageFailed(SNError::fromPlatform(error));
}

void SNDialog::pageFailed(const SNError& error) { dismissWithError(error, true); }

// ---- the login dialog ------------------------------------------------------------------------------

SNLoginDialog::SNLoginDialog(const std::string& url, SNParams loginParams, SNLoginDialogDelegate* loginDelegate)
    : SNDialog(url, std::move(loginParams), {}), _loginDelegate(loginDelegate) {}

void SNLoginDialog::dialogDidSucceed(const std::string& url) {
  std::string token = getStringFromUrl(url, "access_token=").value_or("");
  std::optional<ns::Date> expires;
  if (auto lifetime = getStringFromUrl(url, "expires_in=")) {
    int seconds = ns::intValue(*lifetime);
    expires = seconds != 0 ? ns::Date::dateWithTimeIntervalSinceNow(seconds) : kDistantFuture;
  }
  // The answer counts only with the state this dialog's address carried.
  auto expected = _params.find("state");
  bool stateMatches = expected == _params.end() ||
                      getStringFromUrl(url, "state=").value_or("") == expected->second.text;
  if (token.empty()) {
    dialogDidCancel(url);
    return;
  }
  if (!stateMatches) {
    ns::logf("INFO  - [%s] A login answer without this dialog's state was refused", ns::logTimestamp().c_str());
    SNLoginDialogDelegate* delegate = _loginDelegate;
    dismissWithSuccess(false, true);
    if (delegate) delegate->snDialogNotLogin(false);
    return;
  }
  SNLoginDialogDelegate* delegate = _loginDelegate;
  if (delegate) delegate->snDialogLogin(token, expires);
  dismissWithSuccess(true, true);
}

void SNLoginDialog::dialogDidCancel(const std::string& url) {
  SNDialog::dialogDidCancel(url);
  if (_loginDelegate) _loginDelegate->snDialogNotLogin(true);
}

void SNLoginDialog::pageFailed(const SNError& error) {
  if (error.domain == ns::kURLErrorDomain && error.code == ns::kURLErrorCancelled) return;
  SNDialog::pageFailed(error);
  if (_loginDelegate) _loginDelegate->snDialogNotLogin(false);
}
