#include "platform/foundation/NotificationCenter.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using ns::NotificationCenter;
using ns::Observer;

TEST(NotificationCenter, DeliversToObserversInOrderWithUserInfo) {
  NotificationCenter center;
  std::vector<std::string> calls;
  Observer a = center.addObserver("TranslationDidChange", [&](const ns::Value& info) {
    calls.push_back("a" + info["n"].stringValue());
  });
  Observer b = center.addObserver("TranslationDidChange", [&](const ns::Value&) { calls.push_back("b"); });
  Observer other = center.addObserver("Other", [&](const ns::Value&) { calls.push_back("other"); });
  center.postNotificationName("TranslationDidChange", ns::Dictionary{{"n", 3}});
  EXPECT_EQ(calls, (std::vector<std::string>{"a3", "b"}));
}

TEST(NotificationCenter, ObserverTokenRemovesOnDestructionAndMoves) {
  NotificationCenter center;
  int count = 0;
  {
    Observer o = center.addObserver("X", [&](const ns::Value&) { ++count; });
    Observer moved = std::move(o);
    EXPECT_FALSE(o.isActive());
    center.postNotificationName("X");
    EXPECT_EQ(center.observerCount("X"), 1u);
  }
  center.postNotificationName("X");
  EXPECT_EQ(count, 1);
  EXPECT_EQ(center.observerCount("X"), 0u);
}

TEST(NotificationCenter, ObserversMayRemoveThemselvesOrOthersDuringAPost) {
  NotificationCenter center;
  std::vector<std::string> calls;
  std::optional<Observer> first, second, third;
  first = center.addObserver("N", [&](const ns::Value&) {
    calls.push_back("first");
    first.reset();   // itself, while running
    third.reset();   // a later one: skipped in this post
  });
  second = center.addObserver("N", [&](const ns::Value&) { calls.push_back("second"); });
  third = center.addObserver("N", [&](const ns::Value&) { calls.push_back("third"); });
  center.postNotificationName("N");
  center.postNotificationName("N");
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "second", "second"}));
}

TEST(NotificationCenter, AnObserverOutlivingItsCenterIsHarmless) {
  Observer o;
  {
    NotificationCenter center;
    o = center.addObserver("N", [](const ns::Value&) {});
  }
  o.remove();
  EXPECT_FALSE(o.isActive());
}
