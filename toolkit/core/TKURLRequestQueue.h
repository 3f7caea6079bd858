#pragma once
// The one scheduler of the toolkit's requests. A GET request is answered from
// the caches when it can; otherwise a TKRequestLoader loads it. GET requests for
// one cache key share a loader; a request of any other method has its own, and
// its answer is neither served from nor kept in a cache. At most
// five loaders load at once; the rest wait, drained when a load ends, when the
// queue resumes, and by a 0.3 s timer while any wait. Main thread only.
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/URLConnection.h"
#include "toolkit/core/TKURLRequest.h"

class TKRequestLoader;

class TKURLRequestQueue {
 public:
  static TKURLRequestQueue& mainQueue();
  static void setMainQueue(std::shared_ptr<TKURLRequestQueue> queue);

  static constexpr int kMaxConcurrentLoads = 5;

  TKURLRequestQueue();
  ~TKURLRequestQueue();
  TKURLRequestQueue(const TKURLRequestQueue&) = delete;
  TKURLRequestQueue& operator=(const TKURLRequestQueue&) = delete;

  // True when the caches settled the request before this returned.
  bool sendRequest(const std::shared_ptr<TKURLRequest>& request);
  void cancelRequest(const std::shared_ptr<TKURLRequest>& request);
  // Cancels every request the object is a delegate of, or is the weak object
  // of the request's TKUserInfo.
  void cancelRequestsWithDelegate(const void* object);
  void cancelAllRequests();

  // The platform request for a request (null: a loader serving several, which
  // carries no method, body, type or cookie setting) and a URL ("" = the request's).
  ns::URLRequest createNSURLRequest(TKURLRequest* request, const std::string& url);

  bool suspended() const { return suspended_; }
  void setSuspended(bool suspended);
  std::uint32_t maxContentLength() const { return maxContentLength_; }
  void setMaxContentLength(std::uint32_t n) { maxContentLength_ = n; }
  // Seconds a load may take in all while answers are bounded by
  // maxContentLength (the idle bound alone lets a dripping server hold a
  // loader for ever); 0: no bound.
  double totalTimeout() const { return totalTimeout_; }
  void setTotalTimeout(double seconds) { totalTimeout_ = seconds; }
  const std::string& userAgent() const { return userAgent_; }
  void setUserAgent(const std::string& agent) { userAgent_ = agent; }
  float imageCompressionQuality() const { return imageCompressionQuality_; }
  void setImageCompressionQuality(float q) { imageCompressionQuality_ = q; }

  // For tests.
  int totalLoading() const { return totalLoading_; }
  std::size_t waitingCount() const { return loaderQueue_.size(); }
  std::size_t loaderCount() const { return loaders_.size(); }

  // Cache look-up: the memory image cache, "bundle://" and "documents://"
  // files, then the disk cache. True when it settled (content or error).
  bool loadFromCache(const std::string& url, const std::string& cacheKey, double expires, bool fromDisk,
                     TKURLContent& content, std::optional<ns::Error>& error,
                     std::optional<ns::Date>& timestamp);

  // Told by the loaders.
  void loaderDidLoadResponse(TKRequestLoader& loader, const ns::HTTPURLResponse& response, const ns::Data& data);
  void loaderDidFailLoadWithError(TKRequestLoader& loader, const ns::Error& error);
  void loaderDidCancel(TKRequestLoader& loader, bool wasLoading);

 private:
  bool loadRequestFromCache(TKURLRequest& request);
  // The file of a "bundle://" or "documents://" URL; a missing one (or one
  // outside its folder) is the platform's "no such file" error.
  std::optional<ns::Data> loadLocalFile(const std::string& url, std::optional<ns::Error>& error);
  void executeLoader(const std::shared_ptr<TKRequestLoader>& loader);
  void loadNextInQueueDelayed();
  void loadNextInQueue();
  void removeLoader(TKRequestLoader& loader);
  void startLoader(const std::shared_ptr<TKRequestLoader>& loader);

  // Loaders of GET requests by cache key. Other methods are not entered here:
  // nothing joins them, so they live only in `ownLoaders_` and the waiting list.
  std::map<std::string, std::shared_ptr<TKRequestLoader>> loaders_;
  std::vector<std::shared_ptr<TKRequestLoader>> ownLoaders_;
  std::deque<std::shared_ptr<TKRequestLoader>> loaderQueue_;
  ns::Timer loaderQueueTimer_;
  bool timerPending_ = false;
  int totalLoading_ = 0;
  std::uint32_t maxContentLength_ = 150000;
  double totalTimeout_ = 60;
  std::string userAgent_ =
      "Mozilla/5.0 (iPhone; U; CPU iPhone OS 2_2 like Mac OS X; en-us) AppleWebKit/525.181 (KHTML, like Gecko) "
      "Version/3.1.1 Mobile/5H11 Safari/525.20";
  float imageCompressionQuality_ = 0.75f;
  bool suspended_ = false;
};
