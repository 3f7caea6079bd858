#pragma once
// Sends a call to an object on the main thread: the grabber records the call
// (its invocation) and, when asked, runs it on the main run loop, waiting for
// it and handing back its result.
//
//   auto font = dd_invokeOnMainThreadAndWaitUntilDone(delegate, true)
//                   .call([&](ZarvelSDKAppDelegate& d) { return d.getSharedArabicFontLoader(r); });
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/foundation/RunLoop.h"

// What every grabber has whatever its target: the recorded call and the flags.
class DDInvocationGrabberBase {
 public:
  // The last recorded call, bound to its target (empty before the first).
  const std::function<void()>& invocation() const { return invocation_; }
  void setInvocation(std::function<void()> invocation) { invocation_ = std::move(invocation); }
  bool forwardInvokesOnMainThread() const { return forwardInvokesOnMainThread_; }
  void setForwardInvokesOnMainThread(bool value) { forwardInvokesOnMainThread_ = value; }
  bool waitUntilDone() const { return waitUntilDone_; }
  void setWaitUntilDone(bool value) { waitUntilDone_ = value; }

 protected:
  // Queues the recorded call on the main run loop without waiting (also from
  // the main thread itself); the posted job owns the call and what it holds.
  void postInvocation() const;

 private:
  std::function<void()> invocation_;
  bool forwardInvokesOnMainThread_ = false;
  bool waitUntilDone_ = false;
};

template <class T>
class DDInvocationGrabber : public DDInvocationGrabberBase {
 public:
  // A grabber with no target, no invocation and both flags off.
  static DDInvocationGrabber invocationGrabber() { return {}; }

  const std::shared_ptr<T>& target() const { return target_; }
  void setTarget(std::shared_ptr<T> target) { target_ = std::move(target); }
  DDInvocationGrabber& prepareWithInvocationTarget(std::shared_ptr<T> target) {
    setTarget(std::move(target));
    return *this;
  }

  // Records fn(target) as the invocation and, when forwarding, runs it on the
  // main thread: waiting, it runs at once on the main thread or blocks a
  // worker until the main thread has run it, and returns its result; without
  // waiting it is queued (the target kept alive) and a default value returns.
  // Without a target nothing runs.
  template <class F>
  auto call(F fn) -> std::invoke_result_t<F&, T&> {
    using R = std::invoke_result_t<F&, T&>;
    std::shared_ptr<T> target = target_;
    setInvocation([target, fn]() mutable {
      if (target) fn(*target);
    });
    if (!target || !forwardInvokesOnMainThread()) return defaultResult<R>();
    if (!waitUntilDone()) {
      postInvocation();
      return defaultResult<R>();
    }
    return ns::performOnMainAndWait([&]() -> R { return fn(*target); });
  }

 private:
  template <class R>
  static R defaultResult() {
    if constexpr (!std::is_void_v<R>) return R{};
  }

  std::shared_ptr<T> target_;
};

// A grabber that forwards the next call to the target on the main thread,
// waiting for it when asked.
template <class T>
DDInvocationGrabber<T> dd_invokeOnMainThreadAndWaitUntilDone(std::shared_ptr<T> target, bool wait) {
  DDInvocationGrabber<T> grabber;
  grabber.setForwardInvokesOnMainThread(true);
  grabber.setWaitUntilDone(wait);
  grabber.setTarget(std::move(target));
  return grabber;
}

// The same, without waiting.
template <class T>
DDInvocationGrabber<T> dd_invokeOnMainThread(std::shared_ptr<T> target) {
  return dd_invokeOnMainThreadAndWaitUntilDone(std::move(target), false);
}
