#include "toolkit/core/TKURLRequestModel.h"

#include "platform/foundation/Clock.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/core/TKURLRequestQueue.h"

TKURLRequestModel::~TKURLRequestModel() {
  TKURLRequestQueue::mainQueue().cancelRequestsWithDelegate(static_cast<TKURLRequestDelegate*>(this));
  if (_loadingRequest) _loadingRequest->cancel();
}

bool TKURLRequestModel::isOutdated() const {
  if (_cacheKey.empty()) return _loadedTime.has_value();
  if (!_loadedTime) return false;
  double age = ns::Clock::current().now() - _loadedTime->timeIntervalSince1970();
  return age > TKURLCache::sharedCache().invalidationAge();
}

void TKURLRequestModel::cancel() {
  if (_loadingRequest) _loadingRequest->cancel();
}

void TKURLRequestModel::invalidate(bool erase) {
  if (_cacheKey.empty()) return;
  if (erase)
    TKURLCache::sharedCache().removeKey(_cacheKey);
  else
    TKURLCache::sharedCache().invalidateKey(_cacheKey);
  _cacheKey.clear();
}

void TKURLRequestModel::reset() {
  _cacheKey.clear();
  _loadedTime.reset();
}

void TKURLRequestModel::requestDidStartLoad(TKURLRequest& request) {
  _loadingRequest = request.shared_from_this();
  didStartLoad();
}

void TKURLRequestModel::requestDidFinishLoad(TKURLRequest& request) {
  if (!_isLoadingMore) {
    _loadedTime = request.timestamp();
    _cacheKey = request.cacheKey();
  }
  _loadingRequest.reset();
  didFinishLoad();
}

void TKURLRequestModel::requestDidFailLoadWithError(TKURLRequest&, const ns::Error& error) {
  _loadingRequest.reset();
  didFailLoadWithError(error);
}

void TKURLRequestModel::requestDidCancelLoad(TKURLRequest&) {
  _loadingRequest.reset();
  didCancelLoad();
}
