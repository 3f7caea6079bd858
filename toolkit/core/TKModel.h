#pragma once
// A model loads the data a screen shows and tells its observers (not
// retained: an observer removes itself before it goes) of every step. The
// plain model counts as loaded from the start and never loads. Main thread.
#include <functional>
#include <vector>

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"

class TKModel;

// Every operation is optional.
class TKModelDelegate {
 public:
  virtual ~TKModelDelegate() = default;
  virtual void modelDidStartLoad(TKModel&) {}
  virtual void modelDidFinishLoad(TKModel&) {}
  virtual void modelDidFailLoadWithError(TKModel&, const ns::Error&) {}
  virtual void modelDidCancelLoad(TKModel&) {}
  virtual void modelDidChange(TKModel&) {}
  virtual void modelDidUpdateObject(TKModel&, const ns::Value& object, const ns::Value& indexPath) {
    (void)object, (void)indexPath;
  }
  virtual void modelDidInsertObject(TKModel&, const ns::Value& object, const ns::Value& indexPath) {
    (void)object, (void)indexPath;
  }
  virtual void modelDidDeleteObject(TKModel&, const ns::Value& object, const ns::Value& indexPath) {
    (void)object, (void)indexPath;
  }
  virtual void modelDidBeginUpdates(TKModel&) {}
  virtual void modelDidEndUpdates(TKModel&) {}
};

class TKModel {
 public:
  virtual ~TKModel() = default;

  const std::vector<TKModelDelegate*>& delegates() const { return _delegates; }
  void addDelegate(TKModelDelegate* delegate);
  void removeDelegate(TKModelDelegate* delegate);

  virtual bool isLoaded() const { return true; }
  virtual bool isLoading() const { return false; }
  virtual bool isLoadingMore() const { return false; }
  virtual bool isOutdated() const { return false; }
  // cachePolicy as the URL requests take it.
  virtual void load(int cachePolicy, bool more) { (void)cachePolicy, (void)more; }
  virtual void cancel() {}
  virtual void invalidate(bool erase) { (void)erase; }

  // Broadcasts to the observers, in order, over a snapshot; an observer
  // removed meanwhile is skipped.
  void didStartLoad();
  void didFinishLoad();
  void didFailLoadWithError(const ns::Error& error);
  void didCancelLoad();
  void beginUpdates();
  void endUpdates();
  void didUpdateObject(const ns::Value& object, const ns::Value& indexPath);
  void didInsertObject(const ns::Value& object, const ns::Value& indexPath);
  void didDeleteObject(const ns::Value& object, const ns::Value& indexPath);
  void didChange();

 private:
  void broadcast(const std::function<void(TKModelDelegate&)>& message);
  std::vector<TKModelDelegate*> _delegates;
};
