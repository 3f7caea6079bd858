#include "toolkit/core/TKURLRequestQueue.h"

#include <algorithm>

#include "platform/foundation/FileManager.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKRequestLoader.h"
#include "toolkit/core/TKURLCache.h"

namespace {

constexpr std::uint64_t kMaxLocalFileBytes = 64u << 20;
constexpr double kDrainDelay = 0.3;
constexpr double kRequestTimeout = 300;

std::shared_ptr<TKURLRequestQueue>& sharedSlot() {
  static std::shared_ptr<TKURLRequestQueue> queue;
  return queue;
}

}  // namespace

TKURLRequestQueue& TKURLRequestQueue::mainQueue() {
  if (!sharedSlot()) sharedSlot() = std::make_shared<TKURLRequestQueue>();
  return *sharedSlot();
}

void TKURLRequestQueue::setMainQueue(std::shared_ptr<TKURLRequestQueue> queue) { sharedSlot() = std::move(queue); }

TKURLRequestQueue::TKURLRequestQueue() = default;

TKURLRequestQueue::~TKURLRequestQueue() {
  loaderQueueTimer_.invalidate();
  for (auto& [key, loader] : loaders_) loader->abandon();
  for (auto& loader : ownLoaders_) loader->abandon();
}

bool TKURLRequestQueue::sendRequest(const std::shared_ptr<TKURLRequest>& request) {
  if (!request) return false;
  if (!request->methodCarriesBody() && !request->parameters().empty()) {
    // The fields would be silently dropped: say so instead.
    ns::Error error{TKErrorDomain, TKErrorCodeParametersWithoutBody,
                    "Form fields need a method that carries a body"};
    request->tellDelegates([&](TKURLRequestDelegate& d) { d.requestDidFailLoadWithError(*request, error); });
    return true;
  }
  if (loadRequestFromCache(*request)) return true;
  request->tellDelegates([&](TKURLRequestDelegate& d) { d.requestDidStartLoad(*request); });
  if (request->URL().empty()) {
    ns::Error error{ns::kURLErrorDomain, ns::kURLErrorBadURL, "The request has no address"};
    request->tellDelegates([&](TKURLRequestDelegate& d) { d.requestDidFailLoadWithError(*request, error); });
    return false;
  }
  request->setIsLoading(true);
  std::shared_ptr<TKRequestLoader> loader;
  if (request->isGet()) {
    auto it = loaders_.find(request->cacheKey());
    if (it != loaders_.end()) {
      it->second->addRequest(request);
      return false;
    }
    loader = std::make_shared<TKRequestLoader>(request, *this);
    loaders_[request->cacheKey()] = loader;
  } else {
    loader = std::make_shared<TKRequestLoader>(request, *this);
    ownLoaders_.push_back(loader);
  }
  if (suspended_ || totalLoading_ >= kMaxConcurrentLoads) {
    loaderQueue_.push_back(loader);
  } else {
    startLoader(loader);
  }
  return false;
}

void TKURLRequestQueue::startLoader(const std::shared_ptr<TKRequestLoader>& loader) {
  ++totalLoading_;
  loader->load(loader->URL());
}

bool TKURLRequestQueue::loadRequestFromCache(TKURLRequest& request) {
  // Only a GET's answer may stand for another: HEAD has no body, and other
  // methods act on the server. They are never answered from a cache.
  if (!request.isGet()) return false;
  int policy = request.cachePolicy();
  if (!(policy & (TKURLRequestCachePolicyMemory | TKURLRequestCachePolicyDisk))) return false;
  bool fromDisk = !suspended_ && (policy & TKURLRequestCachePolicyDisk);
  TKURLContent content;
  std::optional<ns::Error> error;
  std::optional<ns::Date> timestamp;
  if (!loadFromCache(request.URL(), request.cacheKey(), request.cacheExpirationAge(), fromDisk, content, error,
                     timestamp))
    return false;
  request.setIsLoading(false);
  if (!error && request.response()) error = request.response()->processResponse(request, nullptr, content);
  if (!error) {
    request.setTimestamp(timestamp);
    request.setRespondedFromCache(true);
    request.tellDelegates([&](TKURLRequestDelegate& d) { d.requestDidFinishLoad(request); });
  } else {
    request.tellDelegates([&](TKURLRequestDelegate& d) { d.requestDidFailLoadWithError(request, *error); });
  }
  return true;
}

bool TKURLRequestQueue::loadFromCache(const std::string& url, const std::string& cacheKey, double expires,
                                      bool fromDisk, TKURLContent& content, std::optional<ns::Error>& error,
                                      std::optional<ns::Date>& timestamp) {
  TKURLCache& cache = TKURLCache::sharedCache();
  if (auto image = cache.imageForURL(url, fromDisk)) {
    content = image;
    return true;
  }
  if (!fromDisk) return false;
  if (TKHasBundleScheme(url) || TKHasDocumentsScheme(url)) {
    if (auto data = loadLocalFile(url, error)) content = *data;
    return true;
  }
  if (auto data = cache.dataForKey(cacheKey, expires, &timestamp)) {
    content = *data;
    return true;
  }
  return false;
}

std::optional<ns::Data> TKURLRequestQueue::loadLocalFile(const std::string& url,
                                                         std::optional<ns::Error>& error) {
  // A path that leaves its folder reads as a missing file.
  auto path = TKLocalFilePath(url);
  auto data = path ? ns::readFile(*path, kMaxLocalFileBytes) : std::nullopt;
  if (!data) {
    error = ns::Error{ns::kCocoaErrorDomain, ns::kFileReadNoSuchFileError, "The file could not be read"};
  }
  return data;
}

void TKURLRequestQueue::executeLoader(const std::shared_ptr<TKRequestLoader>& loader) {
  int policy = loader->cachePolicy();
  if (loader->isGet() && (policy & (TKURLRequestCachePolicyMemory | TKURLRequestCachePolicyDisk))) {
    TKURLContent content;
    std::optional<ns::Error> error;
    std::optional<ns::Date> timestamp;
    if (loadFromCache(loader->URL(), loader->cacheKey(), loader->cacheExpirationAge(),
                      policy & TKURLRequestCachePolicyDisk, content, error, timestamp)) {
      auto it = loaders_.find(loader->cacheKey());
      if (it != loaders_.end() && it->second == loader) loaders_.erase(it);
      if (!error) error = loader->processResponse(nullptr, content);
      if (!error) {
        loader->dispatchLoaded(timestamp);
      } else {
        loader->dispatchError(*error);
      }
      return;
    }
  }
  startLoader(loader);
}

void TKURLRequestQueue::loadNextInQueueDelayed() {
  if (timerPending_) return;
  timerPending_ = true;
  loaderQueueTimer_ = ns::RunLoop::main().scheduleTimer(kDrainDelay, false, [this] {
    timerPending_ = false;
    loadNextInQueue();
  });
}

void TKURLRequestQueue::loadNextInQueue() {
  if (timerPending_) {
    loaderQueueTimer_.invalidate();
    timerPending_ = false;
  }
  for (int i = 0; i < kMaxConcurrentLoads && totalLoading_ < kMaxConcurrentLoads && !loaderQueue_.empty(); ++i) {
    auto loader = loaderQueue_.front();
    loaderQueue_.pop_front();
    executeLoader(loader);
  }
  if (!loaderQueue_.empty() && !suspended_) loadNextInQueueDelayed();
}

void TKURLRequestQueue::removeLoader(TKRequestLoader& loader) {
  --totalLoading_;
  auto it = loaders_.find(loader.cacheKey());
  if (it != loaders_.end() && it->second.get() == &loader) loaders_.erase(it);
  ownLoaders_.erase(std::remove_if(ownLoaders_.begin(), ownLoaders_.end(),
                                    [&](const auto& l) { return l.get() == &loader; }),
                     ownLoaders_.end());
}

void TKURLRequestQueue::loaderDidLoadResponse(TKRequestLoader& loader, const ns::HTTPURLResponse& response,
                                              const ns::Data& data) {
  auto keep = loader.shared_from_this();
  removeLoader(loader);
  if (auto error = loader.processResponse(&response, data)) {
    loader.dispatchError(*error);
  } else {
    if (loader.isGet() && !(loader.cachePolicy() & TKURLRequestCachePolicyNoCache)) {
      TKURLCache::sharedCache().storeDataForKey(data, loader.cacheKey());
    }
    loader.dispatchLoaded(ns::Date::now());
  }
  loadNextInQueue();
}

void TKURLRequestQueue::loaderDidFailLoadWithError(TKRequestLoader& loader, const ns::Error& error) {
  auto keep = loader.shared_from_this();
  removeLoader(loader);
  loader.dispatchError(error);
  loadNextInQueue();
}

void TKURLRequestQueue::loaderDidCancel(TKRequestLoader& loader, bool wasLoading) {
  auto keep = loader.shared_from_this();
  if (wasLoading) {
    removeLoader(loader);
    loadNextInQueue();
    return;
  }
  auto it = loaders_.find(loader.cacheKey());
  if (it != loaders_.end() && it->second.get() == &loader) loaders_.erase(it);
  ownLoaders_.erase(std::remove_if(ownLoaders_.begin(), ownLoaders_.end(),
                                    [&](const auto& l) { return l.get() == &loader; }),
                     ownLoaders_.end());
  loaderQueue_.erase(std::remove(loaderQueue_.begin(), loaderQueue_.end(), keep), loaderQueue_.end());
}

void TKURLRequestQueue::cancelRequest(const std::shared_ptr<TKURLRequest>& request) {
  if (!request) return;
  std::shared_ptr<TKRequestLoader> loader;
  auto it = loaders_.find(request->cacheKey());
  if (it != loaders_.end() && std::count(it->second->requests().begin(), it->second->requests().end(), request)) {
    loader = it->second;
  } else {
    for (auto& l : ownLoaders_) {
      if (std::count(l->requests().begin(), l->requests().end(), request)) loader = l;
    }
  }
  if (!loader) return;
  loader->cancel(request);
}

void TKURLRequestQueue::cancelRequestsWithDelegate(const void* object) {
  std::vector<std::shared_ptr<TKURLRequest>> collected;
  auto collect = [&](const std::shared_ptr<TKRequestLoader>& loader) {
    for (const auto& r : loader->requests()) {
      auto info = r->tkUserInfo();
      auto weak = info ? info->weak.lock() : nullptr;
      if (r->hasDelegate(object) || (weak && weak.get() == object)) collected.push_back(r);
    }
  };
  for (auto& [key, loader] : loaders_) collect(loader);
  for (auto& loader : ownLoaders_) collect(loader);
  for (const auto& r : collected) cancelRequest(r);
}

void TKURLRequestQueue::cancelAllRequests() {
  std::vector<std::shared_ptr<TKRequestLoader>> snapshot;
  for (auto& [key, loader] : loaders_) snapshot.push_back(loader);
  snapshot.insert(snapshot.end(), ownLoaders_.begin(), ownLoaders_.end());
  for (auto& loader : snapshot) loader->cancel();
}

ns::URLRequest TKURLRequestQueue::createNSURLRequest(TKURLRequest* request, const std::string& url) {
  ns::URLRequest r;
  r.url = url.empty() && request ? request->URL() : url;
  r.timeoutInterval = kRequestTimeout;
  // Bounded answers are small: a whole load may take so long, however slowly
  // and steadily a server drips its bytes.
  if (maxContentLength_ != 0) r.totalTimeout = totalTimeout_;
  r.setValueForHTTPHeaderField(userAgent_, "User-Agent");
  if (!request) return r;
  r.handleCookies = request->shouldHandleCookies();
  if (!request->httpMethod().empty()) r.method = request->httpMethod();
  std::string type = request->contentType();
  if (!type.empty()) r.setValueForHTTPHeaderField(type, "Content-Type");
  if (auto body = request->httpBody()) r.body = std::move(*body);
  return r;
}

void TKURLRequestQueue::setSuspended(bool suspended) {
  suspended_ = suspended;
  if (suspended) {
    loaderQueueTimer_.invalidate();
    timerPending_ = false;
  } else {
    loadNextInQueue();
  }
}
