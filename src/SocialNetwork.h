#pragma once
// The social-network session: its login state and the end of the login round
// trip (the URL the network's login page sends back to the application). The
// network client proper (login dialog, Graph and REST requests) is not built
// yet; a session here never reaches the network.
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Date.h"
#include "platform/foundation/String.h"

class SNSessionDelegate {
 public:
  virtual ~SNSessionDelegate() = default;
  virtual void snDidLogin() {}
  virtual void snDidNotLogin(bool cancelled) { (void)cancelled; }
  virtual void snDidLogout() {}
};

class SocialNetwork {
 public:
  explicit SocialNetwork(std::string appId) : appId_(std::move(appId)) {}

  const std::string& appId() const { return appId_; }
  const std::string& accessToken() const { return accessToken_; }
  ns::Date expirationDate() const { return expirationDate_; }

  // Keeps the permissions and the delegate for the login round trip.
  void authorize(std::vector<std::string> permissions, std::weak_ptr<SNSessionDelegate> delegate) {
    permissions_ = std::move(permissions);
    delegate_ = std::move(delegate);
    loginRequested_ = true;
  }
  bool loginRequested() const { return loginRequested_; }
  const std::vector<std::string>& permissions() const { return permissions_; }

  bool isSessionValid() const {
    return !accessToken_.empty() && expirationDate_.timeIntervalSinceNow() > 0;
  }

  // Handles only "sn<app id>://authorize..." URLs: reads access_token and
  // expires_in (seconds; 0 or none: no expiry) and completes the login.
  bool handleOpenURL(const std::string& url) {
    const std::string prefix = "sn" + appId_ + "://authorize";
    if (!ns::hasPrefix(url, prefix)) return false;
    std::string token = parameter(url, "access_token");
    auto delegate = delegate_.lock();
    if (token.empty()) {
      if (delegate) delegate->snDidNotLogin(parameter(url, "error_reason") == "user_denied");
      return true;
    }
    accessToken_ = token;
    double expiresIn = ns::doubleValue(parameter(url, "expires_in"));
    expirationDate_ = expiresIn > 0 ? ns::Date::dateWithTimeIntervalSinceNow(expiresIn)
                                    : ns::Date(4102444800.0);  // 2100-01-01: does not expire
    if (delegate) delegate->snDidLogin();
    return true;
  }

 private:
  // The value of name=... in the URL's query or fragment ("" when absent).
  static std::string parameter(const std::string& url, const std::string& name) {
    size_t start = url.find_first_of("?#");
    while (start != std::string::npos && start < url.size()) {
      size_t end = url.find_first_of("&#", start + 1);
      std::string pair = url.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
      if (ns::hasPrefix(pair, name + "=")) return pair.substr(name.size() + 1);
      start = end;
    }
    return "";
  }

  std::string appId_;
  std::string accessToken_;
  ns::Date expirationDate_;
  std::vector<std::string> permissions_;
  std::weak_ptr<SNSessionDelegate> delegate_;
  bool loginRequested_ = false;
};
