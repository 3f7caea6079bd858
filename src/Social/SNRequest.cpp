#include "src/Social/SNRequest.h"

#include <algorithm>
#include <cstdio>
#include <random>

#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"
#include "src/JSON/JSONCodec.h"
#include "toolkit/core/TKGlobal.h"

namespace {

constexpr const char* kUserAgent = "SocialConnect";
constexpr std::size_t kBoundaryLength = 40;

bool contains(const ns::Data& data, const std::string& needle) {
  return std::search(data.begin(), data.end(), needle.begin(), needle.end()) != data.end();
}

void append(ns::Data& body, const std::string& text) { body.insert(body.end(), text.begin(), text.end()); }

bool has(const ns::Value& dictionary, const char* key) {
  return dictionary.isDictionary() && dictionary.dictionary().count(key) > 0;
}

// What a failure says to people: the service's message when it gave one.
std::string describe(const ns::Value& info, const std::string& otherwise) {
  if (has(info, "error_msg") && info["error_msg"].isString()) return info["error_msg"].stringValue();
  if (has(info, "error") && info["error"].isDictionary() && info["error"]["message"].isString())
    return info["error"]["message"].stringValue();
  return otherwise;
}

}  // namespace

std::shared_ptr<SNRequest> SNRequest::getRequestWithParams(SNParams params, const std::string& httpMethod,
                                                           std::weak_ptr<SNRequestDelegate> delegate,
                                                           const std::string& url) {
  std::shared_ptr<SNRequest> request(new SNRequest);
  request->params_ = std::move(params);
  request->httpMethod_ = httpMethod;
  request->delegate_ = std::move(delegate);
  request->url_ = url;
  return request;
}

std::string SNRequest::encode(const std::string& value) {
  std::string out;
  for (unsigned char c : value) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

std::string SNRequest::serializeURL(const std::string& url, const SNParams& params, const std::string& httpMethod) {
  std::string separator = url.find('?') != std::string::npos ? "&" : "?";
  std::string pairs;
  for (const auto& [key, value] : params) {
    if (value.kind != SNParam::Kind::Text) {
      if (httpMethod == "GET") ns::logf("can not use GET to upload a file");
      continue;
    }
    if (!pairs.empty()) pairs += "&";
    pairs += key + "=" + encode(value.text);
  }
  return url + separator + pairs;
}

SNError SNRequest::formError(int code, const ns::Value& userInfo) {
  return {kSocialErrorDomain, code,
          describe(userInfo, TKApplicationLocalizedString("The operation could not be completed.")), userInfo};
}

std::optional<ns::Value> SNRequest::parseJsonResponse(const ns::Data& data, std::optional<SNError>* error) {
  std::string text = ns::stringFromData(data);
  if (text == "true") return ns::Value(ns::Dictionary{{"result", ns::Value("true")}});
  if (text == "false") {
    if (error) *error = formError(kSocialGeneralError, ns::Dictionary{{"error_msg", "This operation can not be completed"}});
    return std::nullopt;
  }
  JSONCodec codec;
  std::optional<ns::Value> result = codec.objectWithString(text);
  if (!result) {
    // An answer that is no JSON at all is a failure, not a result.
    if (error)
      *error = SNError{kSocialErrorDomain, kSocialGeneralError,
                       TKApplicationLocalizedString("The answer could not be read."), ns::Value()};
    return std::nullopt;
  }
  if (!result->isDictionary()) return result;
  if (has(*result, "error")) {
    if (error) *error = formError(kSocialGeneralError, *result);
    return std::nullopt;
  }
  if (has(*result, "error_code")) {
    if (error) *error = formError((*result)["error_code"].intValue(), *result);
    return std::nullopt;
  }
  if (has(*result, "error_msg") || has(*result, "error_reason")) {
    if (error) *error = formError(kSocialGeneralError, *result);
  }
  return result;
}

SNRequest::~SNRequest() {
  if (connection_) connection_->cancel();
}

void SNRequest::connect() {
  if (auto d = delegate()) d->requestLoading(*this);
  ns::URLRequest request;
  // A POST carries its parameters in the body alone.
  request.url = httpMethod_ == "POST" ? url_ : serializeURL(url_, params_, httpMethod_);
  request.method = httpMethod_;
  request.timeoutInterval = kTimeoutSeconds;
  request.totalTimeout = kTimeoutSeconds;
  request.maxResponseBytes = kMaxAnswerBytes;
  request.setValueForHTTPHeaderField(kUserAgent, "User-Agent");
  if (httpMethod_ == "POST") {
    request.body = generatePostBody();
    request.setValueForHTTPHeaderField("multipart/form-data; boundary=" + boundary_, "Content-Type");
  }
  responseText_.clear();
  connection_ = ns::URLConnection::start(request, std::static_pointer_cast<SNRequest>(shared_from_this()));
}

ns::Data SNRequest::generatePostBody() {
  // The content first, then a boundary that it does not hold.
  std::vector<std::pair<std::string, ns::Data>> parts;
  for (const auto& [key, value] : params_) {
    ns::Data part;
    if (value.kind == SNParam::Kind::Text) {
      append(part, "Content-Disposition: form-data; name=\"" + key + "\"\r\n\r\n");
      append(part, value.text);
    } else {
      append(part, "Content-Disposition: form-data; filename=\"" + key + "\"\r\n");
      append(part, value.kind == SNParam::Kind::Image ? "Content-Type: image/png\r\n\r\n"
                                                       : "Content-Type: content/unknown\r\n\r\n");
      part.insert(part.end(), value.bytes.begin(), value.bytes.end());
    }
    parts.emplace_back(key, std::move(part));
  }
  // Text parts before files, each group in key order.
  std::stable_partition(parts.begin(), parts.end(),
                        [this](const auto& p) { return params_.at(p.first).kind == SNParam::Kind::Text; });
  static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937_64 random(seed());
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 2);
  for (;;) {
    boundary_.clear();
    for (std::size_t i = 0; i < kBoundaryLength; ++i) boundary_ += kAlphabet[pick(random)];
    bool clash = false;
    for (const auto& part : parts) clash = clash || contains(part.second, boundary_);
    if (!clash) break;
  }
  ns::Data body;
  append(body, "--" + boundary_ + "\r\n");
  for (size_t i = 0; i < parts.size(); ++i) {
    body.insert(body.end(), parts[i].second.begin(), parts[i].second.end());
    append(body, i + 1 < parts.size() ? "\r\n--" + boundary_ + "\r\n" : "\r\n--" + boundary_ + "--\r\n");
  }
  if (parts.empty()) append(body, "--" + boundary_ + "--\r\n");
  return body;
}

void SNRequest::connectionDidReceiveResponse(ns::URLConnection&, const ns::HTTPURLResponse& response) {
  responseText_.clear();
  statusCode_ = response.statusCode;
  if (auto d = delegate()) d->requestDidReceiveResponse(*this, response);
}

void SNRequest::connectionDidReceiveData(ns::URLConnection&, const ns::Data& data) {
  responseText_.insert(responseText_.end(), data.begin(), data.end());
}

void SNRequest::connectionDidFinishLoading(ns::URLConnection&) {
  // The delegate may let the request go while it hears the answer.
  auto self = shared_from_this();
  ns::Data answer = std::move(responseText_);
  end();
  handleResponseData(answer);
}

void SNRequest::connectionDidFailWithError(ns::URLConnection&, const ns::Error& error) {
  auto self = shared_from_this();
  end();
  failWithError(SNError::fromPlatform(error));
}

void SNRequest::end() {
  responseText_.clear();
  connection_.reset();
}

void SNRequest::handleResponseData(const ns::Data& data) {
  if (auto d = delegate()) d->requestDidLoadRawResponse(*this, data);
  std::optional<SNError> error;
  std::optional<ns::Value> result = parseJsonResponse(data, &error);
  if (statusCode_ >= 400) {
    // A page of the server's own is no answer of the service: the status says what failed.
    if (!error || error->code == kSocialGeneralError) {
      ns::Value info = error ? error->userInfo : (result ? *result : ns::Value());
      std::string message = ns::replaceAll(TKApplicationLocalizedString("The server answered with status %d."), "%d",
                                        std::to_string(statusCode_));
      error = SNError{kSocialErrorDomain, statusCode_, describe(info, message), info};
    }
  }
  if (error) {
    failWithError(*error);
    return;
  }
  if (auto d = delegate()) d->requestDidLoad(*this, *result);
}

void SNRequest::failWithError(const SNError& error) {
  if (auto d = delegate()) d->requestDidFailWithError(*this, error);
}
