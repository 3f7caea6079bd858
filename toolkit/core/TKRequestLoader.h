#pragma once
// One network load serving one or more requests of the same cache key: it owns
// the connection, collects the body, retries twice when the host cannot be
// found, treats only status 200 as success, and tells its queue how it ended.
// Main thread only.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/URLConnection.h"
#include "toolkit/core/TKURLRequest.h"

class TKURLRequestQueue;

class TKRequestLoader : public ns::URLConnectionDelegate, public std::enable_shared_from_this<TKRequestLoader> {
 public:
  TKRequestLoader(const std::shared_ptr<TKURLRequest>& request, TKURLRequestQueue& queue);
  ~TKRequestLoader() override;

  const std::string& URL() const { return url_; }
  const std::string& cacheKey() const { return cacheKey_; }
  int cachePolicy() const { return cachePolicy_; }
  double cacheExpirationAge() const { return cacheExpirationAge_; }
  const std::vector<std::shared_ptr<TKURLRequest>>& requests() const { return requests_; }
  bool isLoading() const { return connection_ != nullptr; }
  // Whether this loader serves GET requests: only those are joined, cached and
  // answered from the caches.
  bool isGet() const { return isGet_; }

  void addRequest(const std::shared_ptr<TKURLRequest>& request) { requests_.push_back(request); }
  void removeRequest(const std::shared_ptr<TKURLRequest>& request);

  void load(const std::string& url);
  // Cancels one request; true when requests remain.
  bool cancel(const std::shared_ptr<TKURLRequest>& request);
  void cancel();
  // The queue is going away: close the connection and tell nobody.
  void abandon();

  std::optional<ns::Error> processResponse(const ns::HTTPURLResponse* response, const TKURLContent& content);
  void dispatchLoadedBytes(std::int64_t written, std::int64_t expected);
  void dispatchLoaded(std::optional<ns::Date> timestamp);
  void dispatchError(const ns::Error& error);

  // Connection events.
  void connectionDidReceiveResponse(ns::URLConnection&, const ns::HTTPURLResponse& response) override;
  void connectionDidReceiveData(ns::URLConnection&, const ns::Data& data) override;
  void connectionDidSendBodyData(ns::URLConnection&, std::int64_t, std::int64_t totalWritten,
                                 std::int64_t totalExpected) override;
  void connectionDidFinishLoading(ns::URLConnection&) override;
  void connectionDidFailWithError(ns::URLConnection&, const ns::Error& error) override;

 private:
  void connectToURL(const std::string& url);
  void closeConnection();
  // Cancels every request when more bytes than the queue allows come in.
  bool overLimit(std::uint64_t bytes) const;

  std::string url_;
  TKURLRequestQueue* queue_;  // the owner, which outlives us or abandons us first
  std::string cacheKey_;
  int cachePolicy_;
  double cacheExpirationAge_;
  bool isGet_;
  std::vector<std::shared_ptr<TKURLRequest>> requests_;
  std::shared_ptr<ns::URLConnection> connection_;
  // Built on the first connection and kept, so a retry sends the same bytes.
  std::optional<ns::URLRequest> platformRequest_;
  std::optional<ns::HTTPURLResponse> response_;
  ns::Data responseData_;
  int retriesLeft_ = 2;
};
