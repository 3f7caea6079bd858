#pragma once
// A model whose data come from a URL request: it records when the data were
// obtained and under which cache key, and counts as outdated once the shared
// URL cache's invalidation age has passed. A subclass sends the requests, with
// the model among their delegates. Main thread only.
#include <memory>
#include <optional>
#include <string>

#include "toolkit/core/TKModel.h"
#include "toolkit/core/TKURLRequest.h"

class TKURLRequestModel : public TKModel, public TKURLRequestDelegate {
 public:
  ~TKURLRequestModel() override;

  const std::optional<ns::Date>& loadedTime() const { return _loadedTime; }
  void setLoadedTime(std::optional<ns::Date> time) { _loadedTime = time; }
  const std::string& cacheKey() const { return _cacheKey; }
  void setCacheKey(const std::string& key) { _cacheKey = key; }
  bool hasNoMore() const { return _hasNoMore; }
  void setHasNoMore(bool on) { _hasNoMore = on; }
  void setLoadingMore(bool on) { _isLoadingMore = on; }

  bool isLoaded() const override { return _loadedTime.has_value(); }
  bool isLoading() const override { return _loadingRequest != nullptr; }
  bool isLoadingMore() const override { return _isLoadingMore; }
  bool isOutdated() const override;
  void cancel() override;
  // Drops the cache key, removing (erase) or invalidating its cached data first.
  void invalidate(bool erase) override;
  // Forgets the key and the load time.
  void reset();

  void requestDidStartLoad(TKURLRequest& request) override;
  void requestDidFinishLoad(TKURLRequest& request) override;
  void requestDidFailLoadWithError(TKURLRequest& request, const ns::Error& error) override;
  void requestDidCancelLoad(TKURLRequest& request) override;

 private:
  std::shared_ptr<TKURLRequest> _loadingRequest;
  std::optional<ns::Date> _loadedTime;
  std::string _cacheKey;
  bool _isLoadingMore = false;
  bool _hasNoMore = false;
};
