#include "platform/foundation/Log.h"

#include <gtest/gtest.h>

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
