#pragma once
// The social-network session: the application's id with the network, the
// access token and its expiry (in memory only: every start begins logged
// out), the permissions asked for and the session delegate. It runs the
// login (on the desktop straight in the in-application login dialog, there
// being no app of the network to hand it to), reads the address a login
// comes back with, and makes the Graph and REST requests and the web
// dialogs. A login counts only with the random state its request sent.
// Held by the application delegate. Main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Date.h"
#include "src/Social/SNDialog.h"
#include "src/Social/SNRequest.h"
#include "src/Social/SocialConfiguration.h"

class SNSessionDelegate {
 public:
  virtual ~SNSessionDelegate() = default;
  virtual void snDidLogin() {}
  virtual void snDidNotLogin(bool cancelled) { (void)cancelled; }
  virtual void snDidLogout() {}
};

class SocialNetwork : public SNLoginDialogDelegate {
 public:
  // Where an in-application dialog ends, and where the network's own app is.
  static constexpr const char* kSuccessURL = "snconnect://success";
  static constexpr const char* kAppAuthURL = "snauth://authorize";

  // The id and the service addresses (the configuration's, with the id given).
  explicit SocialNetwork(std::string appId);
  SocialNetwork(std::string appId, SocialConfiguration services);
  ~SocialNetwork() override;

  const std::string& appId() const { return _appId; }
  const std::string& accessToken() const { return _accessToken; }
  void setAccessToken(const std::string& token) { _accessToken = token; }
  std::optional<ns::Date> expirationDate() const { return _expirationDate; }
  void setExpirationDate(std::optional<ns::Date> date) { _expirationDate = date; }
  std::shared_ptr<SNSessionDelegate> sessionDelegate() const { return _sessionDelegate.lock(); }
  void setSessionDelegate(std::weak_ptr<SNSessionDelegate> delegate) { _sessionDelegate = std::move(delegate); }
  const std::vector<std::string>& permissions() const { return _permissions; }
  const SocialConfiguration& services() const { return _services; }

  // Whether the login may go to the network's app or the browser (a device
  // that multitasks); never on the desktop, so the in-application dialog opens.
  bool canHandOffLogin() const { return _canHandOffLogin; }
  void setCanHandOffLogin(bool on) { _canHandOffLogin = on; }

  void authorize(std::vector<std::string> permissions, std::weak_ptr<SNSessionDelegate> delegate);
  void authorizeWithSNAppAuth(bool tryApp, bool tryBrowser);
  // Takes an address "sn<app id>://authorize..." back from the app or the
  // browser; false for any other.
  bool handleOpenURL(const std::string& url);
  // "a=1&b=2": values percent-decoded, keys as they are; a part without "="
  // is a key with an empty value.
  static ns::Dictionary parseURLParams(const std::string& query);
  bool isSessionValid() const;
  void logout(std::weak_ptr<SNSessionDelegate> delegate);

  std::shared_ptr<SNRequest> requestWithGraphPath(const std::string& path, std::weak_ptr<SNRequestDelegate> delegate);
  std::shared_ptr<SNRequest> requestWithGraphPath(const std::string& path, SNParams params,
                                                  std::weak_ptr<SNRequestDelegate> delegate);
  std::shared_ptr<SNRequest> requestWithGraphPath(const std::string& path, SNParams params,
                                                  const std::string& httpMethod,
                                                  std::weak_ptr<SNRequestDelegate> delegate);
  std::shared_ptr<SNRequest> requestWithMethodName(const std::string& method, SNParams params,
                                                   const std::string& httpMethod,
                                                   std::weak_ptr<SNRequestDelegate> delegate);
  // The REST method named by the "method" parameter, by GET; null without one.
  std::shared_ptr<SNRequest> requestWithParams(SNParams params, std::weak_ptr<SNRequestDelegate> delegate);
  std::shared_ptr<SNRequest> openUrl(const std::string& url, SNParams params, const std::string& httpMethod,
                                     std::weak_ptr<SNRequestDelegate> delegate);

  void dialog(const std::string& action, std::weak_ptr<SNDialogDelegate> delegate);
  void dialog(const std::string& action, SNParams params, std::weak_ptr<SNDialogDelegate> delegate);

  // SNLoginDialogDelegate
  void snDialogLogin(const std::string& token, std::optional<ns::Date> expirationDate) override;
  void snDialogNotLogin(bool cancelled) override;

  // For tests: the dialog of the last login and the last request.
  const std::shared_ptr<SNDialog>& loginDialog() const { return _loginDialog; }
  const std::shared_ptr<SNDialog>& lastDialog() const { return _snDialog; }
  const std::shared_ptr<SNRequest>& lastRequest() const { return _request; }
  const std::string& authorisationState() const { return _state; }

 private:
  void showLoginDialog(const std::string& url, SNParams params);
  void dropLoginDialog();

  std::string _accessToken;
  std::optional<ns::Date> _expirationDate;
  std::weak_ptr<SNSessionDelegate> _sessionDelegate;
  std::shared_ptr<SNRequest> _request;
  std::shared_ptr<SNDialog> _loginDialog;
  std::shared_ptr<SNDialog> _snDialog;
  std::string _appId;
  std::vector<std::string> _permissions;
  SocialConfiguration _services;
  bool _canHandOffLogin = false;
  std::string _state;  // sent with the login under way; its answer must bring it back
};
