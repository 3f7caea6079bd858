#pragma once
// For toolkit tests that load through the request queue: a URL cache in a
// fresh folder and a request queue of their own, put in place of the shared
// ones for the test's life, on the real clock.
#include <memory>

#include "platform/foundation/RunLoop.h"
#include "tests/platform/foundation/TempDir.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/core/TKURLRequestQueue.h"

namespace tktest {

class FreshURLLoading {
 public:
  FreshURLLoading() {
    ns::RunLoop::resetForTesting();
    cache = std::make_shared<TKURLCache>();
    cache->setCachePath(dir.file("cache"));
    TKURLCache::setSharedCache(cache);
    queue = std::make_shared<TKURLRequestQueue>();
    TKURLRequestQueue::setMainQueue(queue);
  }
  ~FreshURLLoading() {
    TKURLRequestQueue::setMainQueue(nullptr);
    TKURLCache::setSharedCache(nullptr);
  }
  FreshURLLoading(const FreshURLLoading&) = delete;
  FreshURLLoading& operator=(const FreshURLLoading&) = delete;

  testing_support::TempDir dir;
  std::shared_ptr<TKURLCache> cache;
  std::shared_ptr<TKURLRequestQueue> queue;
};

}  // namespace tktest
