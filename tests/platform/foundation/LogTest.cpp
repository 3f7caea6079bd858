#include "platform/foundation/Log.h"

#include <gtest/gtest.h>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"

TEST(Log, CaptureCollectsFormattedLinesWhileAlive) {
  {
    ns::LogCapture capture;
    capture.setEcho(false);
    ns::logf("[%s] Error: failed to prepare statement with message '%s'.", "getAllBookmarks", "no such table");
    EXPECT_EQ(capture.count("getAllBookmarks"), 1);
    EXPECT_TRUE(capture.contains("no such table"));
  }
  ns::LogCapture later;
  later.setEcho(false);
  EXPECT_TRUE(later.lines().empty());
}

TEST(Log, TimestampIsTheDateOfTheProcessClock) {
  auto clock = ns::VirtualClock::install(1767225600.0);  // 2026-01-01 00:00:00 UTC
  clock->advance(3661.5);
  EXPECT_EQ(ns::logTimestamp(), "2026-01-01 01:01:01 +0000");
  ns::RunLoop::resetForTesting();
}

TEST(Log, FatalTellsItsHandlerOnceThenExits) {
  EXPECT_EXIT(
      {
        ns::setFatalHandler([](std::string_view message) {
          std::fprintf(stderr, "shown: %s\n", std::string(message).c_str());
          ns::fatal("the handler failed too");  // no second call, no loop
        });
        ns::fatal("no data folder");
      },
      ::testing::ExitedWithCode(1), "FATAL - no data folder\n.*shown: no data folder\n.*FATAL - the handler failed too");
}
