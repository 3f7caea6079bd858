#include "Classes/sharing/SocialPostViewController.h"

#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"

namespace {

constexpr const char* kSocialName = "SocialName";
constexpr const char* kSocialPic = "SocialPic1.0";

// The screen's texts, in English where the string table has none.
std::string text(const std::string& key) { return Language::get(key, key); }

ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

ui::Font bold(float size) { return ui::Font::fontWithName("Helvetica-Bold", size); }

bool isBlank(const std::string& s) { return ns::trim(s).empty(); }

}  // namespace

// Downloads the profile picture in the background; the screen hears of it
// only while it lives.
class SocialPostViewController::PictureDownload : public ns::URLConnectionDelegate {
 public:
  PictureDownload(std::string url, std::weak_ptr<SocialPostViewController> screen)
      : url_(std::move(url)), screen_(std::move(screen)) {}
  void start(const std::shared_ptr<PictureDownload>& self) {
    ns::URLRequest request;
    request.url = url_;
    request.timeoutInterval = 60;
    request.totalTimeout = 120;
    request.maxResponseBytes = kMaxPictureBytes;
    connection_ = ns::URLConnection::start(request, self);
  }
  void connectionDidReceiveResponse(ns::URLConnection&, const ns::HTTPURLResponse& response) override {
    status_ = response.statusCode;
    bytes_.clear();
  }
  void connectionDidReceiveData(ns::URLConnection&, const ns::Data& data) override {
    bytes_.insert(bytes_.end(), data.begin(), data.end());
  }
  void connectionDidFinishLoading(ns::URLConnection&) override {
    auto screen = screen_.lock();
    if (status_ >= 200 && status_ < 300 && !bytes_.empty() && screen) screen->pictureArrived(url_, bytes_);
    else ns::logf("ERROR: the profile picture could not be downloaded (status %d)", status_);
  }
  void connectionDidFailWithError(ns::URLConnection&, const ns::Error& error) override {
    ns::logf("ERROR: %s", error.description.c_str());
  }

 private:
  std::string url_;
  std::weak_ptr<SocialPostViewController> screen_;
  std::shared_ptr<ns::URLConnection> connection_;
  ns::Data bytes_;
  int status_ = 0;
};

SocialPostViewController::~SocialPostViewController() {
  if (currentRequest) currentRequest->setDelegate({});
  if (txtView) txtView->setDelegate({});
}

std::string SocialPostViewController::picturePath() {
  return ns::pathJoin(ns::documentsDirectory(), kPictureFile);
}

std::weak_ptr<SocialPostViewController> SocialPostViewController::weakSelf() {
  return std::static_pointer_cast<SocialPostViewController>(shared_from_this());
}

std::shared_ptr<SocialNetwork> SocialPostViewController::session() const {
  auto app = ZarvelSDKAppDelegate::GetInstance();
  return app ? app->socialNetwork() : nullptr;
}

void SocialPostViewController::loadView() {
  // The sheet's ground matches the layout's, whose area stands at its centre.
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, 540, 620));
  root->setBackgroundColor(cg::Color::fromRGB255(38, 44, 56));
  root->setAutoresizesSubviews(true);
  auto content = std::make_shared<ui::View>(cg::Rect(110, 80, kWidth, kHeight));
  content->setAutoresizingMask(ui::ViewAutoresizingFlexibleLeftMargin | ui::ViewAutoresizingFlexibleRightMargin |
                               ui::ViewAutoresizingFlexibleTopMargin | ui::ViewAutoresizingFlexibleBottomMargin);
  content->setBackgroundColor(std::nullopt);
  buildLayout(*content);
  root->addSubview(content);
  setView(root);
}

void SocialPostViewController::buildLayout(ui::View& content) {
  imgBG = std::make_shared<ui::ImageView>(cg::Rect(0, 0, kWidth, kHeight));
  imgBG->setImage(ui::Image::imageNamed("tweet-bg-2.png"));
  content.addSubview(imgBG);

  imgProfileIcon = std::make_shared<ui::ImageView>(cg::Rect(24, 11, 40, 40));
  imgProfileIcon->setImage(ui::Image::imageNamed("tweet-pic-holder.png"));
  content.addSubview(imgProfileIcon);

  loadingIndicator = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::White);
  loadingIndicator->setFrame(cg::Rect(37, 23, 15, 15));
  loadingIndicator->setHidesWhenStopped(true);
  content.addSubview(loadingIndicator);

  auto label = [&](cg::Rect frame) {
    auto l = std::make_shared<ui::Label>(frame);
    l->setBackgroundColor(std::nullopt);
    l->setFont(bold(13));
    l->setTextAlignment(ui::TextAlignment::Left);
    l->setTextColor(cg::Color::white());
    l->setShadowColor(cg::Color::black().withAlpha(0.35f));
    l->setShadowOffset({0, -1});
    content.addSubview(l);
    return l;
  };
  lblTwitterName = label(cg::Rect(75, 11, 170, 40));
  lblTwitterName->setText(text("Logging in..."));
  lblCharCounter = label(cg::Rect(270, 11, 30, 40));

  txtView = std::make_shared<ui::TextView>(cg::Rect(26, 66, 257, 87));
  txtView->setFont(bold(14));
  txtView->setTextColor(cg::Color::black());
  txtView->setBackgroundColor(std::nullopt);
  txtView->setEnablesReturnKeyAutomatically(true);
  txtView->setAutocorrectionType(ui::TextAutocorrectionType::No);
  txtView->setAutocapitalizationType(ui::TextAutocapitalizationType::None);
  txtView->setDelegate(weakSelf());
  content.addSubview(txtView);

  btnClear = ui::Button::buttonWithType(ui::ButtonType::Custom);
  btnClear->setFrame(cg::Rect(268, 69, 28, 28));
  btnClear->setBackgroundImage(ui::Image::imageNamed("tweet-x.png"), ui::ControlStateNormal);
  btnClear->setBackgroundImage(ui::Image::imageNamed("tweet-x.png"), ui::ControlStateHighlighted);
  btnClear->setAdjustsImageWhenDisabled(false);
  btnClear->setAdjustsImageWhenHighlighted(true);
  btnClear->addTarget(this, [this](ui::Control&) { btnClearPressed(); }, ui::ControlEventTouchUpInside);
  content.addSubview(btnClear);

  auto button = [&](cg::Rect frame, const std::string& title, bool disabledTitle, std::function<void()> action) {
    auto b = ui::Button::buttonWithType(ui::ButtonType::Custom);
    b->setFrame(frame);
    b->setBackgroundImage(ui::Image::imageNamed("short-button-white-.png"), ui::ControlStateNormal);
    b->setBackgroundImage(ui::Image::imageNamed("short-button-t.png"), ui::ControlStateHighlighted);
    b->setContentHorizontalAlignment(ui::ControlContentHorizontalAlignment::Center);
    b->setContentVerticalAlignment(ui::ControlContentVerticalAlignment::Center);
    b->setTitleShadowColor(cg::Color::white().withAlpha(0.35f), ui::ControlStateNormal);
    b->setTitleShadowColor(cg::Color::white().withAlpha(0.35f), ui::ControlStateDisabled);
    b->setTitleShadowColor(cg::Color::black().withAlpha(0.55f), ui::ControlStateHighlighted);
    b->titleLabel()->setShadowOffset({0, 1});
    b->titleLabel()->setFont(bold(21));
    b->setTitleColor(cg::Color(0.2f, 0.2f, 0.2f, 1), ui::ControlStateNormal);
    b->setTitleColor(cg::Color::white(), ui::ControlStateHighlighted);
    b->setTitleColor(cg::Color(0.2f, 0.2f, 0.2f, 0.6f), ui::ControlStateDisabled);
    b->setAdjustsImageWhenDisabled(false);
    b->setAdjustsImageWhenHighlighted(false);
    b->setTitle(title, ui::ControlStateNormal);
    b->setTitle(title, ui::ControlStateHighlighted);
    if (disabledTitle) b->setTitle(title, ui::ControlStateDisabled);
    b->addTarget(this, [action = std::move(action)](ui::Control&) { action(); }, ui::ControlEventTouchUpInside);
    content.addSubview(b);
    return b;
  };
  btnSend = button(cg::Rect(12, 168, 148, 61), text("Post"), true, [this] { btnSendPressed(); });
  btnSend->setEnabled(false);
  btnCancel = button(cg::Rect(159, 168, 148, 61), text("Cancel"), false, [this] { btnCancelPressed(); });
}

void SocialPostViewController::viewDidLoad() {
  checkCharacterCount();
  loadingIndicator->startAnimating();
  loginTwitter();
}

void SocialPostViewController::viewWillAppear(bool animated) {
  ui::ViewController::viewWillAppear(animated);
  txtView->setText(initMessage);
  txtView->becomeFirstResponder();
  checkCharacterCount();
}

void SocialPostViewController::viewWillDisappear(bool animated) {
  ui::ViewController::viewWillDisappear(animated);
  txtView->setDelegate({});
  ui::Application::shared().setNetworkActivityIndicatorVisible(false);
}

bool SocialPostViewController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation o) {
  return ZarvelSDKAppDelegate::IsDeviceIPad() || o == ui::InterfaceOrientation::Portrait;
}

bool SocialPostViewController::textViewShouldEndEditing(ui::TextView& textView) {
  if (!ZarvelSDKAppDelegate::IsDeviceIPad()) return false;
  return !isBlank(textView.text());
}

void SocialPostViewController::checkCharacterCount() {
  const std::string& message = txtView->text();
  int remaining = kBudget - static_cast<int>(ns::length16(message));
  lblCharCounter->setText(std::to_string(remaining));
  if (remaining < 0) {
    lblCharCounter->setTextColor(cg::Color(1, 0, 0, 1));
    lblCharCounter->setShadowColor(cg::Color::white().withAlpha(0.35f));
    lblCharCounter->setShadowOffset({0, 1});
    btnSend->setEnabled(false);
  } else {
    lblCharCounter->setTextColor(cg::Color::white());
    lblCharCounter->setShadowColor(cg::Color::black().withAlpha(0.35f));
    lblCharCounter->setShadowOffset({0, -1});
    btnSend->setEnabled(hasLoggedIn_ && !message.empty() && !IsSendingMessage);
  }
  btnClear->setAlpha(message.empty() ? 0 : 1);
}

void SocialPostViewController::dropRequest() {
  if (currentRequest) currentRequest->setDelegate({});
  currentRequest.reset();
}

void SocialPostViewController::loginTwitter() {
  imgProfileIcon->setImage(ui::Image::imageNamed("tweet-pic-holder.png"));
  if (!defaults().stringForKey(kSocialPic).empty()) {
    finishedLoading();
    return;
  }
  auto network = session();
  if (!network) return;
  ui::Application::shared().setNetworkActivityIndicatorVisible(true);
  dropRequest();
  currentRequest = network->requestWithGraphPath("me", weakSelf());
}

void SocialPostViewController::requestDidLoad(SNRequest& request, const ns::Value& result) {
  if (IsSendingMessage) {
    if (auto d = delegate()) d->socialPostViewSentMessage();
    return;
  }
  // A profile without its object is no profile: as a failed request.
  if (!result.isDictionary()) {
    requestDidFailWithError(request, SNRequest::formError(kSocialGeneralError, ns::Value()));
    return;
  }
  ui::Application::shared().setNetworkActivityIndicatorVisible(false);
  defaults().setObject(ns::Value(result["first_name"].stringValue() + " " + result["last_name"].stringValue()),
                       kSocialName);
  std::string id = result["id"].stringValue();
  auto network = session();
  if (!id.empty() && network) {
    // The picture comes in the background; its address is kept once the file is.
    std::string url = network->services().plainGraphBase() + "/" + SNRequest::encode(id) + "/picture";
    pictureDownload_ = std::make_shared<PictureDownload>(url, weakSelf());
    pictureDownload_->start(pictureDownload_);
  }
  defaults().synchronize();
  finishedLoading();
}

void SocialPostViewController::pictureArrived(const std::string& url, const ns::Data& bytes) {
  if (!ui::Image::imageWithData(bytes)) {
    ns::logf("ERROR: the profile picture is not an image");
    return;
  }
  if (!ns::writeFileAtomically(picturePath(), bytes)) {
    ns::logf("ERROR: the profile picture could not be written to %s", picturePath().c_str());
    return;
  }
  defaults().setObject(ns::Value(url), kSocialPic);
  defaults().synchronize();
  showPicture();
}

void SocialPostViewController::showPicture() {
  if (auto data = ns::readFile(picturePath(), kMaxPictureBytes)) {
    if (auto image = ui::Image::imageWithData(*data)) imgProfileIcon->setImage(image);
  }
}

void SocialPostViewController::finishedLoading() {
  dropRequest();
  lblTwitterName->setText(defaults().stringForKey(kSocialName));
  imgBG->setImage(ui::Image::imageNamed("tweet-bg.png"));
  hasLoggedIn_ = true;
  // Counted again: a text over the budget keeps Post disabled.
  checkCharacterCount();
  showPicture();
  loadingIndicator->stopAnimating();
}

void SocialPostViewController::setSendTitle(const std::string& title) {
  btnSend->setTitle(title, ui::ControlStateNormal);
  btnSend->setTitle(title, ui::ControlStateHighlighted);
  btnSend->setTitle(title, ui::ControlStateDisabled);
}

void SocialPostViewController::btnSendPressed() {
  auto network = session();
  if (!network) return;
  btnSend->setEnabled(false);
  btnCancel->setEnabled(false);
  dropRequest();
  setSendTitle(text("Sending"));
  txtView->setUserInteractionEnabled(false);
  IsSendingMessage = true;
  SNParams params{{"app_id", network->appId()}, {"message", txtView->text()}};
  currentRequest = network->requestWithMethodName("stream.publish", std::move(params), "POST", weakSelf());
}

void SocialPostViewController::requestDidFailWithError(SNRequest&, const SNError& error) {
  ns::logf("ERROR: %s", error.description.c_str());
  if (IsSendingMessage) {
    auto alert = std::make_shared<ui::AlertView>(
        text("Posting Failed"), "Error " + std::to_string(error.code) + ": " + error.description,
        std::weak_ptr<ui::AlertViewDelegate>(), text("OK"));
    alert->show();
    IsSendingMessage = false;
    btnCancel->setEnabled(true);
    setSendTitle(text("Post"));
    txtView->setUserInteractionEnabled(true);
    checkCharacterCount();
    return;
  }
  ui::Application::shared().setNetworkActivityIndicatorVisible(false);
  dropRequest();
  if (auto network = session()) network->authorize({"publish_stream"}, weakSelf());
}

void SocialPostViewController::btnCancelPressed() {
  txtView->setDelegate({});
  dropRequest();
  if (auto d = delegate()) d->socialPostViewCancelled();
}

void SocialPostViewController::btnClearPressed() {
  txtView->setText("");
  checkCharacterCount();
}
