#pragma once
// One HTTP request of the toolkit: URL, method, a body or form fields with
// files, the cache policy, the delegates told of its progress (not retained)
// and the response processor that turns the bytes into the caller's result.
// Sent through the shared TKURLRequestQueue. Main thread only.
#include <any>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/foundation/Data.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/URLConnection.h"

namespace ui {
class Image;
}

class TKURLRequest;

// The toolkit's own error domain; code 101: the bytes are no image; code 102:
// form fields on a method that carries no body.
inline constexpr const char* TKErrorDomain = "TKErrorDomain";
inline constexpr int TKErrorCodeNoImage = 101;
inline constexpr int TKErrorCodeParametersWithoutBody = 102;

// What a response processor receives: bytes from the network or the disk, or
// an image the URL cache already had.
using TKURLContent = std::variant<std::monostate, ns::Data, std::shared_ptr<ui::Image>>;

class TKURLResponse {
 public:
  virtual ~TKURLResponse() = default;
  // An error when the content cannot become the caller's result. The HTTP
  // response is null when a cache answered.
  virtual std::optional<ns::Error> processResponse(TKURLRequest& request, const ns::HTTPURLResponse* response,
                                                   const TKURLContent& content) = 0;
};

class TKURLRequestDelegate {
 public:
  virtual ~TKURLRequestDelegate() = default;
  virtual void requestDidStartLoad(TKURLRequest&) {}
  virtual void requestDidUploadData(TKURLRequest&) {}
  virtual void requestDidFinishLoad(TKURLRequest&) {}
  virtual void requestDidFailLoadWithError(TKURLRequest&, const ns::Error&) {}
  virtual void requestDidCancelLoad(TKURLRequest&) {}
};

// Keeps the raw bytes.
class TKURLDataResponse : public TKURLResponse {
 public:
  std::optional<ns::Error> processResponse(TKURLRequest&, const ns::HTTPURLResponse*,
                                           const TKURLContent& content) override;
  const ns::Data& data() const { return data_; }

 private:
  ns::Data data_;
};

// Decodes the bytes into an image and files it in the memory image cache.
class TKURLImageResponse : public TKURLResponse {
 public:
  std::optional<ns::Error> processResponse(TKURLRequest& request, const ns::HTTPURLResponse*,
                                           const TKURLContent& content) override;
  const std::shared_ptr<ui::Image>& image() const { return image_; }

 private:
  std::shared_ptr<ui::Image> image_;
};

// A small holder callers attach as user info. A request whose user info holds a
// `weak` object counts as that object's request when its requests are cancelled.
struct TKUserInfo {
  static std::shared_ptr<TKUserInfo> make(std::string topic, std::any strong = {}, std::weak_ptr<void> weak = {}) {
    return std::make_shared<TKUserInfo>(TKUserInfo{std::move(topic), std::move(strong), std::move(weak)});
  }
  std::string topic;
  std::any strong;
  std::weak_ptr<void> weak;  // not retained
};

// Cache policy bits.
enum : int {
  TKURLRequestCachePolicyMemory = 1,
  TKURLRequestCachePolicyDisk = 2,
  TKURLRequestCachePolicyNetwork = 4,
  TKURLRequestCachePolicyNoCache = 8,  // after a network load, nothing is written to disk
  TKURLRequestCachePolicyDefault = 7,
};

class TKURLRequest : public std::enable_shared_from_this<TKURLRequest> {
 public:
  static std::shared_ptr<TKURLRequest> request();
  static std::shared_ptr<TKURLRequest> requestWithURL(const std::string& url,
                                                      std::shared_ptr<TKURLRequestDelegate> delegate);

  // The fixed multipart boundary.
  static constexpr const char* kBoundary = "3i2ndDfv2rTHiSisAbouNdArYfORhtTPEefj3q2f";

  const std::string& URL() const { return url_; }
  void setURL(const std::string& url) { url_ = url; }
  const std::string& httpMethod() const { return httpMethod_; }
  void setHttpMethod(const std::string& method) { httpMethod_ = method; }
  // True when the method, in any case, is POST.
  bool isPost() const;
  // True for GET (no method, or GET in any case): the only answers the caches
  // keep and serve, and the only requests that share a loader.
  bool isGet() const;
  // Whether the method can carry form fields (POST, PUT, PATCH).
  bool methodCarriesBody() const;

  // The explicit body when one was set; otherwise, for a method that carries a
  // body, the multipart body of the form fields and files; otherwise nothing.
  // Reading it never changes the fields.
  std::optional<ns::Data> httpBody() const;
  void setHttpBody(ns::Data body) { httpBody_ = std::move(body); }
  // The explicit content type, or the multipart type for a generated body.
  std::string contentType() const;
  void setContentType(const std::string& type) { contentType_ = type; }

  // Form fields: strings or images, in key order.
  using Parameter = std::variant<std::string, std::shared_ptr<ui::Image>>;
  std::map<std::string, Parameter>& parameters() { return parameters_; }
  void addFile(ns::Data data, const std::string& mimeType, const std::string& fileName);

  std::vector<std::weak_ptr<TKURLRequestDelegate>>& delegates() { return delegates_; }
  bool hasDelegate(const void* object) const;
  // Tells each living delegate, over a copy of the list: a delegate may send or
  // cancel requests while it is told.
  template <class Fn>
  void tellDelegates(Fn fn) {
    auto delegates = delegates_;
    for (auto& weak : delegates) {
      if (auto d = weak.lock()) fn(*d);
    }
  }

  const std::shared_ptr<TKURLResponse>& response() const { return response_; }
  void setResponse(std::shared_ptr<TKURLResponse> response) { response_ = std::move(response); }

  int cachePolicy() const { return cachePolicy_; }
  void setCachePolicy(int policy) { cachePolicy_ = policy; }
  double cacheExpirationAge() const { return cacheExpirationAge_; }
  void setCacheExpirationAge(double age) { cacheExpirationAge_ = age; }
  // The request's name in the caches, computed on first read and kept.
  const std::string& cacheKey();
  void setCacheKey(const std::string& key) { cacheKey_ = key; }
  std::string generateCacheKey() const;
  static std::string md5HexDigest(const std::string& text);
  ns::Data generatePostBody() const;

  std::optional<ns::Date> timestamp() const { return timestamp_; }
  void setTimestamp(std::optional<ns::Date> t) { timestamp_ = t; }
  int totalBytesLoaded() const { return totalBytesLoaded_; }
  int totalBytesExpected() const { return totalBytesExpected_; }
  void setBytes(int loaded, int expected) { totalBytesLoaded_ = loaded, totalBytesExpected_ = expected; }
  const std::any& userInfo() const { return userInfo_; }
  void setUserInfo(std::any info) { userInfo_ = std::move(info); }
  // The user info as a TKUserInfo, when it is one.
  std::shared_ptr<TKUserInfo> tkUserInfo() const;
  bool isLoading() const { return isLoading_; }
  void setIsLoading(bool loading) { isLoading_ = loading; }
  bool shouldHandleCookies() const { return shouldHandleCookies_; }
  void setShouldHandleCookies(bool handle) { shouldHandleCookies_ = handle; }
  bool respondedFromCache() const { return respondedFromCache_; }
  void setRespondedFromCache(bool yes) { respondedFromCache_ = yes; }

  // Hands the request to the shared queue: true when the caches settled it
  // before this returned.
  bool send();
  void cancel();
  // The platform request the queue would build for this request alone.
  ns::URLRequest createNSURLRequest();
  std::string description() const { return "<TKURLRequest " + url_ + ">"; }

 private:
  struct File {
    ns::Data data;
    std::string mimeType, fileName;
  };
  std::string url_, httpMethod_, contentType_;
  std::optional<ns::Data> httpBody_;
  std::map<std::string, Parameter> parameters_;
  std::vector<File> files_;
  std::vector<std::weak_ptr<TKURLRequestDelegate>> delegates_;
  std::shared_ptr<TKURLResponse> response_;
  int cachePolicy_ = TKURLRequestCachePolicyDefault;
  double cacheExpirationAge_ = 0;
  std::string cacheKey_;
  std::optional<ns::Date> timestamp_;
  int totalBytesLoaded_ = 0, totalBytesExpected_ = 0;
  std::any userInfo_;
  bool isLoading_ = false;
  bool shouldHandleCookies_ = true;
  bool respondedFromCache_ = false;
};
