#include "src/Social/SocialNetwork.h"

#include <cstdio>
#include <random>

#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "platform/services/URLOpener.h"
#include "toolkit/core/WebView.h"

namespace {

constexpr const char* kLoginAction = "oauth";

// 128 bits from the system's source, as hexadecimal.
std::string randomState() {
  std::random_device source;
  std::string state;
  for (int i = 0; i < 4; ++i) {
    char word[9];
    std::snprintf(word, sizeof word, "%08x", static_cast<unsigned>(source()));
    state += word;
  }
  return state;
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (const auto& item : items) out += (out.empty() ? "" : separator) + item;
  return out;
}

}  // namespace

SocialNetwork::SocialNetwork(std::string appId) : SocialNetwork(appId, SocialConfiguration::current()) {}

SocialNetwork::SocialNetwork(std::string appId, SocialConfiguration services)
    : _appId(std::move(appId)), _services(std::move(services)) {}

SocialNetwork::~SocialNetwork() {
  dropLoginDialog();
  if (_request) _request->setDelegate({});
}

// A login dialog still on screen goes with the session's interest in it.
void SocialNetwork::dropLoginDialog() {
  for (auto* dialog : {_loginDialog.get(), _snDialog.get()}) {
    auto* login = dynamic_cast<SNLoginDialog*>(dialog);
    if (!login) continue;
    login->setLoginDelegate(nullptr);
    if (login->isShowing()) login->dismissWithSuccess(false, false);
  }
  _loginDialog.reset();
}

void SocialNetwork::authorize(std::vector<std::string> permissions, std::weak_ptr<SNSessionDelegate> delegate) {
  _permissions = std::move(permissions);
  _sessionDelegate = std::move(delegate);
  authorizeWithSNAppAuth(true, true);
}

void SocialNetwork::authorizeWithSNAppAuth(bool tryApp, bool tryBrowser) {
  _state = randomState();
  SNParams params{{"client_id", _appId},           {"type", "user_agent"}, {"redirect_uri", kSuccessURL},
                  {"display", "touch"},             {"sdk", "2"},           {"state", _state}};
  if (!_permissions.empty()) params["scope"] = joined(_permissions, ",");
  std::string loginURL = _services.dialogBase + "dialog/" + kLoginAction;
  if (_canHandOffLogin) {
    bool opened = false;
    if (tryApp) opened = ui::URLOpener::openURL(SNRequest::serializeURL(kAppAuthURL, params));
    if (!opened && tryBrowser) {
      params["redirect_uri"] = "sn" + _appId + "://authorize";
      opened = ui::URLOpener::openURL(SNRequest::serializeURL(loginURL, params));
    }
    if (opened) return;
  }
  showLoginDialog(loginURL, std::move(params));
}

void SocialNetwork::showLoginDialog(const std::string& url, SNParams params) {
  dropLoginDialog();
  _loginDialog = std::make_shared<SNLoginDialog>(url, std::move(params), this);
  _loginDialog->show();
}

ns::Dictionary SocialNetwork::parseURLParams(const std::string& query) {
  ns::Dictionary params;
  size_t start = 0;
  while (start <= query.size()) {
    size_t end = query.find('&', start);
    if (end == std::string::npos) end = query.size();
    std::string pair = query.substr(start, end - start);
    start = end + 1;
    if (pair.empty()) continue;
    size_t equals = pair.find('=');
    std::string key = pair.substr(0, equals);
    std::string value = equals == std::string::npos ? "" : pair.substr(equals + 1);
    params[key] = ns::Value(ns::percentUnescape(value));
  }
  return params;
}

bool SocialNetwork::handleOpenURL(const std::string& url) {
  if (!ns::hasPrefix(url, "sn" + _appId + "://authorize")) return false;
  size_t fragment = url.find('#');
  size_t query = url.find('?');
  std::string text;
  if (fragment != std::string::npos)
    text = url.substr(fragment + 1);
  else if (query != std::string::npos)
    text = url.substr(query + 1);
  ns::Dictionary params = parseURLParams(text);
  auto value = [&](const char* key) -> std::optional<std::string> {
    auto it = params.find(key);
    if (it == params.end()) return std::nullopt;
    return it->second.stringValue();
  };
  if (auto token = value("access_token")) {
    // Only the answer to the login this session asked for logs in.
    if (_state.empty() || value("state") != _state) {
      ns::logf("INFO  - [%s] A login answer without this session's state was refused", ns::logTimestamp().c_str());
      snDialogNotLogin(false);
      return true;
    }
    auto lifetime = value("expires_in");
    int seconds = lifetime ? ns::intValue(*lifetime) : 0;
    snDialogLogin(*token, seconds != 0 ? ns::Date::dateWithTimeIntervalSinceNow(seconds) : kDistantFuture);
    return true;
  }
  std::optional<std::string> error = value("error");
  if (error == "service_disabled_use_browser") {
    authorizeWithSNAppAuth(false, true);
    return true;
  }
  if (error == "service_disabled") {
    authorizeWithSNAppAuth(false, false);
    return true;
  }
  bool cancelled = !value("error_code") && (!error || *error == "access_denied");
  snDialogNotLogin(cancelled);
  return true;
}

bool SocialNetwork::isSessionValid() const {
  return !_accessToken.empty() && _expirationDate && _expirationDate->timeIntervalSinceNow() > 0;
}

void SocialNetwork::logout(std::weak_ptr<SNSessionDelegate> delegate) {
  _sessionDelegate = std::move(delegate);
  requestWithMethodName("auth.expireSession", {}, "GET", {});
  _accessToken.clear();
  _expirationDate.reset();
  if (!_services.loginHost.empty()) ui::WebView::removeCookiesForHost(_services.loginHost);
  if (auto d = sessionDelegate()) d->snDidLogout();
}

std::shared_ptr<SNRequest> SocialNetwork::requestWithGraphPath(const std::string& path,
                                                               std::weak_ptr<SNRequestDelegate> delegate) {
  return requestWithGraphPath(path, {}, "GET", std::move(delegate));
}

std::shared_ptr<SNRequest> SocialNetwork::requestWithGraphPath(const std::string& path, SNParams params,
                                                               std::weak_ptr<SNRequestDelegate> delegate) {
  return requestWithGraphPath(path, std::move(params), "GET", std::move(delegate));
}

std::shared_ptr<SNRequest> SocialNetwork::requestWithGraphPath(const std::string& path, SNParams params,
                                                               const std::string& httpMethod,
                                                               std::weak_ptr<SNRequestDelegate> delegate) {
  return openUrl(_services.graphBase + "/" + path, std::move(params), httpMethod, std::move(delegate));
}

std::shared_ptr<SNRequest> SocialNetwork::requestWithMethodName(const std::string& method, SNParams params,
                                                                const std::string& httpMethod,
                                                                std::weak_ptr<SNRequestDelegate> delegate) {
  return openUrl(_services.restBase + "method/" + method, std::move(params), httpMethod, std::move(delegate));
}

std::shared_ptr<SNRequest> SocialNetwork::requestWithParams(SNParams params,
                                                            std::weak_ptr<SNRequestDelegate> delegate) {
  auto method = params.find("method");
  if (method == params.end()) {
    ns::logf("API Method must be specified");
    return nullptr;
  }
  std::string name = method->second.text;
  params.erase(method);
  return requestWithMethodName(name, std::move(params), "GET", std::move(delegate));
}

std::shared_ptr<SNRequest> SocialNetwork::openUrl(const std::string& url, SNParams params,
                                                  const std::string& httpMethod,
                                                  std::weak_ptr<SNRequestDelegate> delegate) {
  params["format"] = "json";
  params["sdk"] = "ios";
  params["sdk_version"] = "2";
  if (isSessionValid()) params["access_token"] = _accessToken;
  if (_request) _request->setDelegate({});
  _request = SNRequest::getRequestWithParams(std::move(params), httpMethod, std::move(delegate), url);
  _request->connect();
  return _request;
}

void SocialNetwork::dialog(const std::string& action, std::weak_ptr<SNDialogDelegate> delegate) {
  dialog(action, {}, std::move(delegate));
}

void SocialNetwork::dialog(const std::string& action, SNParams params, std::weak_ptr<SNDialogDelegate> delegate) {
  dropLoginDialog();
  _snDialog.reset();
  std::string url = _services.dialogBase + "dialog/" + action;
  params["display"] = "touch";
  params["sdk"] = "2";
  params["redirect_uri"] = kSuccessURL;
  if (action == kLoginAction) {
    params["type"] = "user_agent";
    _state = randomState();
    params["state"] = _state;
    _snDialog = std::make_shared<SNLoginDialog>(url, std::move(params), this);
  } else {
    params["app_id"] = _appId;
    if (isSessionValid()) params["access_token"] = ns::percentUnescape(_accessToken);
    _snDialog = std::make_shared<SNDialog>(url, std::move(params), std::move(delegate));
  }
  _snDialog->show();
}

void SocialNetwork::snDialogLogin(const std::string& token, std::optional<ns::Date> expirationDate) {
  _accessToken = token;
  _expirationDate = expirationDate;
  _state.clear();
  if (auto d = sessionDelegate()) d->snDidLogin();
}

void SocialNetwork::snDialogNotLogin(bool cancelled) {
  if (auto d = sessionDelegate()) d->snDidNotLogin(cancelled);
}
