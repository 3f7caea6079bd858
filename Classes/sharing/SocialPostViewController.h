#pragma once
// The screen that posts a verse to the social network: the logged-in user's
// name and picture, the text to post within a budget of 420 UTF-16 units (the
// counter turns red below zero and Post is disabled), Clear, Post and
// Cancel. The profile is asked for once ("SocialName" and "SocialPic1.0"
// keep it; the picture is downloaded in the background and kept in
// Documents/socialPic.png); a profile that cannot be had starts the login
// again. A failed post says why and keeps the text. The opener (the
// reading screen's options panel) is its delegate and closes it. Presented
// as a form sheet: the layout of 320 x 460 points stands at the sheet's
// centre. Main thread only.
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/URLConnection.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "platform/ui/ViewController.h"
#include "src/Social/SocialNetwork.h"

class SocialPostViewDelegate {
 public:
  virtual ~SocialPostViewDelegate() = default;
  virtual void socialPostViewSentMessage() = 0;
  virtual void socialPostViewCancelled() = 0;
};

class SocialPostViewController : public ui::ViewController,
                                 public ui::TextViewDelegate,
                                 public SNRequestDelegate,
                                 public SNSessionDelegate {
 public:
  static constexpr int kBudget = 420;
  static constexpr float kWidth = 320;
  static constexpr float kHeight = 460;
  static constexpr const char* kPictureFile = "socialPic.png";
  static constexpr std::int64_t kMaxPictureBytes = 2 << 20;

  SocialPostViewController() = default;
  ~SocialPostViewController() override;

  // Not a constructor despite its name: keeps the text to post.
  void initWithMessage(const std::string& message) { initMessage = message; }
  std::shared_ptr<SocialPostViewDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<SocialPostViewDelegate> delegate) { delegate_ = std::move(delegate); }

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;
  bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) override;

  void btnClearPressed();
  void btnSendPressed();
  void btnCancelPressed();
  void checkCharacterCount();
  void loginTwitter();
  void finishedLoading();

  // ui::TextViewDelegate
  void textViewDidChange(ui::TextView&) override { checkCharacterCount(); }
  bool textViewShouldEndEditing(ui::TextView& textView) override;
  // SNRequestDelegate
  void requestDidLoad(SNRequest& request, const ns::Value& result) override;
  void requestDidFailWithError(SNRequest& request, const SNError& error) override;
  // SNSessionDelegate
  void snDidLogin() override { loginTwitter(); }

  // For tests.
  bool hasLoggedIn() const { return hasLoggedIn_; }
  bool isSendingMessage() const { return IsSendingMessage; }
  ui::TextView* textView() const { return txtView.get(); }
  ui::Label* counterLabel() const { return lblCharCounter.get(); }
  ui::Label* nameLabel() const { return lblTwitterName.get(); }
  ui::Button* sendButton() const { return btnSend.get(); }
  ui::Button* cancelButton() const { return btnCancel.get(); }
  ui::Button* clearButton() const { return btnClear.get(); }
  ui::ImageView* profileIcon() const { return imgProfileIcon.get(); }
  ui::ImageView* background() const { return imgBG.get(); }
  ui::ActivityIndicatorView* spinner() const { return loadingIndicator.get(); }
  const std::shared_ptr<SNRequest>& request() const { return currentRequest; }
  static std::string picturePath();

 private:
  class PictureDownload;
  void buildLayout(ui::View& content);
  void dropRequest();
  void setSendTitle(const std::string& title);
  void showPicture();
  void pictureArrived(const std::string& url, const ns::Data& bytes);
  std::shared_ptr<SocialNetwork> session() const;
  std::weak_ptr<SocialPostViewController> weakSelf();

  std::weak_ptr<SocialPostViewDelegate> delegate_;
  std::shared_ptr<ui::ImageView> imgBG;
  std::shared_ptr<ui::ImageView> imgProfileIcon;
  std::shared_ptr<ui::Label> lblTwitterName;
  std::shared_ptr<ui::Label> lblCharCounter;
  std::shared_ptr<ui::TextView> txtView;
  std::shared_ptr<ui::Button> btnClear;
  std::shared_ptr<ui::Button> btnSend;
  std::shared_ptr<ui::Button> btnCancel;
  bool hasLoggedIn_ = false;
  bool IsSendingMessage = false;
  std::string initMessage;
  std::shared_ptr<SNRequest> currentRequest;
  std::shared_ptr<ui::ActivityIndicatorView> loadingIndicator;
  std::shared_ptr<PictureDownload> pictureDownload_;
};
