#include "toolkit/core/TKRequestLoader.h"

#include <algorithm>

#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKURLRequestQueue.h"

namespace {

// What an announced length may reserve up front; the rest grows as bytes arrive.
constexpr std::size_t kMaxReserve = 64 * 1024;

}  // namespace

TKRequestLoader::TKRequestLoader(const std::shared_ptr<TKURLRequest>& request, TKURLRequestQueue& queue)
    : url_(request->URL()),
      queue_(&queue),
      cacheKey_(request->cacheKey()),
      cachePolicy_(request->cachePolicy()),
      cacheExpirationAge_(request->cacheExpirationAge()),
      isGet_(request->isGet()) {
  requests_.push_back(request);
}

TKRequestLoader::~TKRequestLoader() { closeConnection(); }

void TKRequestLoader::removeRequest(const std::shared_ptr<TKURLRequest>& request) {
  requests_.erase(std::remove(requests_.begin(), requests_.end(), request), requests_.end());
}

void TKRequestLoader::load(const std::string& url) {
  if (!connection_) connectToURL(url);
}

void TKRequestLoader::connectToURL(const std::string& url) {
  TKNetworkActivityBegin();
  // A connection shared by several requests carries nothing of any one of them.
  if (!platformRequest_) {
    TKURLRequest* only = requests_.size() == 1 ? requests_.front().get() : nullptr;
    platformRequest_ = queue_->createNSURLRequest(only, url);
  }
  response_.reset();
  responseData_.clear();
  connection_ = ns::URLConnection::start(*platformRequest_, weak_from_this());
}

void TKRequestLoader::closeConnection() {
  if (!connection_) return;
  connection_->cancel();
  connection_.reset();
  TKNetworkActivityEnd();
}

bool TKRequestLoader::cancel(const std::shared_ptr<TKURLRequest>& request) {
  auto self = shared_from_this();  // a delegate told below may drop the last reference
  auto it = std::find(requests_.begin(), requests_.end(), request);
  if (it != requests_.end()) {
    request->setIsLoading(false);
    requests_.erase(it);
    request->tellDelegates([&](TKURLRequestDelegate& d) { d.requestDidCancelLoad(*request); });
  }
  if (!requests_.empty()) return true;
  bool wasLoading = connection_ != nullptr;
  if (queue_) queue_->loaderDidCancel(*this, wasLoading);
  closeConnection();
  return false;
}

void TKRequestLoader::cancel() {
  auto self = shared_from_this();
  auto snapshot = requests_;
  for (const auto& r : snapshot) cancel(r);
}

void TKRequestLoader::abandon() {
  queue_ = nullptr;
  closeConnection();
}

std::optional<ns::Error> TKRequestLoader::processResponse(const ns::HTTPURLResponse* response,
                                                          const TKURLContent& content) {
  for (const auto& request : requests_) {
    if (!request->response()) continue;
    if (auto error = request->response()->processResponse(*request, response, content)) return error;
  }
  return std::nullopt;
}

void TKRequestLoader::dispatchLoadedBytes(std::int64_t written, std::int64_t expected) {
  auto snapshot = requests_;
  for (const auto& r : snapshot) {
    r->setBytes(static_cast<int>(std::min<std::int64_t>(written, INT32_MAX)),
                static_cast<int>(std::min<std::int64_t>(expected, INT32_MAX)));
    r->tellDelegates([&](TKURLRequestDelegate& d) { d.requestDidUploadData(*r); });
  }
}

void TKRequestLoader::dispatchLoaded(std::optional<ns::Date> timestamp) {
  auto snapshot = requests_;
  for (const auto& r : snapshot) {
    r->setTimestamp(timestamp);
    r->setIsLoading(false);
    r->tellDelegates([&](TKURLRequestDelegate& d) { d.requestDidFinishLoad(*r); });
  }
}

void TKRequestLoader::dispatchError(const ns::Error& error) {
  auto snapshot = requests_;
  for (const auto& r : snapshot) {
    r->setIsLoading(false);
    r->tellDelegates([&](TKURLRequestDelegate& d) { d.requestDidFailLoadWithError(*r, error); });
  }
}

bool TKRequestLoader::overLimit(std::uint64_t bytes) const {
  std::uint32_t limit = queue_ ? queue_->maxContentLength() : 0;
  return limit != 0 && bytes > limit;
}

void TKRequestLoader::connectionDidReceiveResponse(ns::URLConnection&, const ns::HTTPURLResponse& response) {
  auto self = shared_from_this();
  response_ = response;
  std::int64_t announced = response.expectedContentLength();  // -1 when absent or invalid
  responseData_.clear();
  if (announced > 0 && overLimit(static_cast<std::uint64_t>(announced))) {
    cancel();
    return;
  }
  if (announced > 0) responseData_.reserve(std::min<std::size_t>(std::size_t(announced), kMaxReserve));
}

void TKRequestLoader::connectionDidReceiveData(ns::URLConnection&, const ns::Data& data) {
  auto self = shared_from_this();
  // Counted as they come: chunked answers and wrong announcements are held to the limit too.
  if (overLimit(responseData_.size() + data.size())) {
    cancel();
    return;
  }
  responseData_.insert(responseData_.end(), data.begin(), data.end());
}

void TKRequestLoader::connectionDidSendBodyData(ns::URLConnection&, std::int64_t, std::int64_t totalWritten,
                                                std::int64_t totalExpected) {
  auto self = shared_from_this();
  dispatchLoadedBytes(totalWritten, totalExpected);
}

void TKRequestLoader::connectionDidFinishLoading(ns::URLConnection&) {
  auto self = shared_from_this();
  ns::HTTPURLResponse response = response_.value_or(ns::HTTPURLResponse{});
  ns::Data data = std::move(responseData_);
  responseData_.clear();
  connection_.reset();
  TKNetworkActivityEnd();
  if (!queue_) return;
  if (response.statusCode == 200) {
    queue_->loaderDidLoadResponse(*this, response, data);
  } else {
    queue_->loaderDidFailLoadWithError(*this, ns::Error{ns::kURLErrorDomain, response.statusCode,
                                                        "The server answered with status " +
                                                            std::to_string(response.statusCode)});
  }
}

void TKRequestLoader::connectionDidFailWithError(ns::URLConnection&, const ns::Error& error) {
  auto self = shared_from_this();
  responseData_.clear();
  connection_.reset();
  TKNetworkActivityEnd();
  if (!queue_) return;
  if (error.domain == ns::kURLErrorDomain && error.code == ns::kURLErrorCannotFindHost && retriesLeft_ > 0) {
    --retriesLeft_;
    load(url_);
    return;
  }
  queue_->loaderDidFailLoadWithError(*this, error);
}
