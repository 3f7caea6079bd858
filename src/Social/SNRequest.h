#pragma once
// One call to the social network's Graph or REST service: the address, its
// parameters and the method become a web request; the answer is read as JSON
// and reported to the delegate: requestLoading, the response, the raw
// answer, then the result or the failure. An answer with an HTTP status of
// 400 or above, one that cannot be read, or one larger than the cap fails.
// A POST sends its parameters in a multipart body only, under a boundary
// drawn for the request that its content does not hold. The creator holds the
// request (it does not hold itself) and detaches itself before letting it go.
// Main thread only.
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Data.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/URLConnection.h"
#include "platform/foundation/Value.h"

inline constexpr const char* kSocialErrorDomain = "socialErrDomain";
inline constexpr int kSocialGeneralError = 10000;

// A failure as the client reports it: a domain, a code, the text for people
// and the service's answer (a dictionary) as its details.
struct SNError {
  std::string domain;
  int code = 0;
  std::string description;
  ns::Value userInfo;

  static SNError fromPlatform(const ns::Error& error) { return {error.domain, error.code, error.description, {}}; }
};

// A parameter: text, or bytes sent as a file (an image as PNG, or raw data).
struct SNParam {
  enum class Kind { Text, Image, Data };
  Kind kind = Kind::Text;
  std::string text;
  ns::Data bytes;

  SNParam() = default;
  SNParam(std::string value) : text(std::move(value)) {}  // NOLINT: text is the common case
  SNParam(const char* value) : text(value) {}             // NOLINT
  static SNParam image(ns::Data png) { return {Kind::Image, {}, std::move(png)}; }
  static SNParam data(ns::Data bytes) { return {Kind::Data, {}, std::move(bytes)}; }

 private:
  SNParam(Kind k, std::string t, ns::Data b) : kind(k), text(std::move(t)), bytes(std::move(b)) {}
};

// In key order, which is the order they are sent in.
using SNParams = std::map<std::string, SNParam>;

class SNRequest;

class SNRequestDelegate {
 public:
  virtual ~SNRequestDelegate() = default;
  virtual void requestLoading(SNRequest&) {}
  virtual void requestDidReceiveResponse(SNRequest&, const ns::HTTPURLResponse&) {}
  virtual void requestDidFailWithError(SNRequest&, const SNError&) {}
  virtual void requestDidLoad(SNRequest&, const ns::Value& result) { (void)result; }
  virtual void requestDidLoadRawResponse(SNRequest&, const ns::Data&) {}
};

class SNRequest : public ns::URLConnectionDelegate, public std::enable_shared_from_this<SNRequest> {
 public:
  // The answer's cap: more than this fails the request.
  static constexpr std::int64_t kMaxAnswerBytes = 1 << 20;
  static constexpr double kTimeoutSeconds = 180;

  static std::shared_ptr<SNRequest> getRequestWithParams(SNParams params, const std::string& httpMethod,
                                                         std::weak_ptr<SNRequestDelegate> delegate,
                                                         const std::string& url);
  // The address with the text parameters attached ("?" or "&" first, then
  // key=value pairs joined by "&", the values escaped).
  static std::string serializeURL(const std::string& url, const SNParams& params,
                                  const std::string& httpMethod = "GET");
  // Every byte but letters, digits and "-_.~" as %XX.
  static std::string encode(const std::string& value);
  // An error of the client's domain.
  static SNError formError(int code, const ns::Value& userInfo);
  // The answer read as the services write it; nullopt with *error set on a
  // failure (a readable answer that reports an error may come with both).
  static std::optional<ns::Value> parseJsonResponse(const ns::Data& data, std::optional<SNError>* error);

  ~SNRequest() override;

  void connect();
  bool loading() const { return connection_ != nullptr; }
  // The multipart body of a POST, under boundary().
  ns::Data generatePostBody();
  const std::string& boundary() const { return boundary_; }

  std::shared_ptr<SNRequestDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<SNRequestDelegate> delegate) { delegate_ = std::move(delegate); }
  const std::string& url() const { return url_; }
  const std::string& httpMethod() const { return httpMethod_; }
  const SNParams& params() const { return params_; }

  // ns::URLConnectionDelegate
  void connectionDidReceiveResponse(ns::URLConnection&, const ns::HTTPURLResponse& response) override;
  void connectionDidReceiveData(ns::URLConnection&, const ns::Data& data) override;
  void connectionDidFinishLoading(ns::URLConnection&) override;
  void connectionDidFailWithError(ns::URLConnection&, const ns::Error& error) override;

 private:
  SNRequest() = default;
  void handleResponseData(const ns::Data& data);
  void failWithError(const SNError& error);
  void end();

  std::weak_ptr<SNRequestDelegate> delegate_;
  std::string url_;
  std::string httpMethod_;
  SNParams params_;
  std::string boundary_;
  std::shared_ptr<ns::URLConnection> connection_;
  ns::Data responseText_;
  int statusCode_ = 0;
};
