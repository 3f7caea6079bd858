#include "platform/foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/String.h"
#include "TempDir.h"

using ns::UserDefaults;
using ns::Value;

namespace {

class UserDefaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    defaults.resetForTesting();
    defaults.setFilePath(dir.file("defaults.json"));
  }
  void TearDown() override { defaults.resetForTesting(); }

  // Simulates a new process: the registration is volatile, the file is not.
  void restart() {
    defaults.resetForTesting();
    defaults.setFilePath(dir.file("defaults.json"));
  }

  testing_support::TempDir dir;
  UserDefaults& defaults = UserDefaults::standardUserDefaults();
};

}  // namespace

TEST_F(UserDefaultsTest, ReadsStringsNumbersAndBoolsThroughTheConversionTable) {
  defaults.registerDefaults({{"One", "1"}, {"Zero", "0"}, {"Yes", "YES"}, {"No", "NO"}, {"Lead", "12abc"}});
  defaults.setBool(true, "Flag");
  defaults.setDouble(2.9, "Real");
  EXPECT_EQ(defaults.integerForKey("One"), 1);
  EXPECT_TRUE(defaults.boolForKey("One"));
  EXPECT_FALSE(defaults.boolForKey("Zero"));
  EXPECT_TRUE(defaults.boolForKey("Yes"));
  EXPECT_FALSE(defaults.boolForKey("No"));
  EXPECT_EQ(defaults.integerForKey("Lead"), 12);
  EXPECT_EQ(defaults.integerForKey("Flag"), 1);
  EXPECT_EQ(defaults.integerForKey("Real"), 2);
  EXPECT_EQ(defaults.stringForKey("Real"), "2.9");
  EXPECT_FLOAT_EQ(defaults.floatForKey("One"), 1.0f);
  // Absent keys read as the zero value.
  EXPECT_EQ(defaults.integerForKey("Missing"), 0);
  EXPECT_FALSE(defaults.boolForKey("Missing"));
  EXPECT_EQ(defaults.stringForKey("Missing"), "");
  EXPECT_TRUE(defaults.objectForKey("Missing").isNull());
  EXPECT_TRUE(defaults.arrayForKey("One").empty());
  EXPECT_FALSE(defaults.dateForKey("One").has_value());
}

TEST_F(UserDefaultsTest, RegisteredValuesOnlyFillGapsAndAreNeverWritten) {
  defaults.setObject("5", "LastSurah");
  defaults.registerDefaults({{"LastSurah", "1"}, {"LastVerse", "1"}});
  EXPECT_EQ(defaults.integerForKey("LastSurah"), 5);
  EXPECT_EQ(defaults.integerForKey("LastVerse"), 1);
  ASSERT_TRUE(defaults.synchronize());

  auto file = Value::fromJSON(ns::stringFromData(*ns::readFile(dir.file("defaults.json"), 1 << 20)));
  ASSERT_TRUE(file);
  EXPECT_EQ((*file)["LastSurah"], Value("5"));
  EXPECT_TRUE((*file)["LastVerse"].isNull());

  defaults.removeObjectForKey("LastSurah");
  EXPECT_EQ(defaults.integerForKey("LastSurah"), 1);  // the registered value shows again
}

TEST_F(UserDefaultsTest, ValuesSurviveARestartButTheRegistrationDoesNot) {
  defaults.registerDefaults({{"ArabicFontSize", "1"}});
  defaults.setInteger(3, "ArabicFontSize");
  defaults.setObject(ns::Array{"ar"}, "AppleLanguages");
  defaults.setObject(ns::Date(1767225600.5), "LastFridayRead");
  defaults.setObject(ns::Data{1, 2, 3}, "Blob");
  ASSERT_TRUE(defaults.synchronize());
  defaults.setInteger(4, "Unsynchronized");

  restart();
  EXPECT_EQ(defaults.integerForKey("ArabicFontSize"), 3);
  EXPECT_EQ(defaults.arrayForKey("AppleLanguages"), (ns::Array{"ar"}));
  EXPECT_EQ(defaults.dateForKey("LastFridayRead"), ns::Date(1767225600.5));
  EXPECT_EQ(defaults.objectForKey("Blob"), Value(ns::Data{1, 2, 3}));
  EXPECT_TRUE(defaults.objectForKey("Unsynchronized").isNull());

  defaults.removeObjectForKey("ArabicFontSize");
  ASSERT_TRUE(defaults.synchronize());
  restart();
  EXPECT_TRUE(defaults.objectForKey("ArabicFontSize").isNull());
}

TEST_F(UserDefaultsTest, ACorruptFileIsMovedAsideUnderADatedNameBeforeTheFirstWrite) {
  int round = 0;
  for (const char* content : {"{\"LastSurah\": 5,}", "[1, 2]", "\xFF\xFE garbage"}) {
    SCOPED_TRACE(content);
    ASSERT_TRUE(ns::writeFileAtomically(dir.file("defaults.json"), std::string_view(content)));
    ns::LogCapture capture;
    capture.setEcho(false);
    restart();
    defaults.registerDefaults({{"LastSurah", "1"}});
    EXPECT_EQ(defaults.integerForKey("LastSurah"), 1);
    EXPECT_TRUE(capture.contains("defaults"));
    EXPECT_EQ(defaults.setAsidePath(), "");  // reading alone touches nothing

    defaults.setInteger(9, "LastSurah");
    ASSERT_TRUE(defaults.synchronize());
    const std::string aside = defaults.setAsidePath();
    // defaults-unreadable-YYYYMMDD-HHMMSS.json, numbered when the second is taken.
    EXPECT_EQ(aside.rfind(dir.file("defaults-unreadable-"), 0), 0u) << aside;
    EXPECT_TRUE(ns::hasSuffix(aside, ".json")) << aside;
    EXPECT_GE(aside.size(), dir.file("defaults-unreadable-20261209-103000.json").size()) << aside;
    auto kept = ns::readFile(aside, 1024);
    ASSERT_TRUE(kept);
    EXPECT_EQ(std::string(kept->begin(), kept->end()), content);
    // Moved once: later writes leave it alone.
    ASSERT_TRUE(defaults.synchronize());
    EXPECT_EQ(ns::contentsOfDirectory(dir.path()).size(), 2u + round);
    restart();
    EXPECT_EQ(defaults.integerForKey("LastSurah"), 9);
    ++round;
  }
}

TEST_F(UserDefaultsTest, AValueFailingItsValidatorReadsAsTheRegisteredValue) {
  auto sizeIndex = [](const Value& v) {
    if (!(v.isString() || v.isInteger())) return false;
    auto i = v.integerValue();
    return i >= 0 && i <= 4;
  };
  defaults.registerDefaults({{"ArabicFontSize", "1"}, {"TranslationFontSize", "1"}});
  defaults.setValidator("ArabicFontSize", sizeIndex);
  defaults.setValidator("TranslationFontSize", sizeIndex);
  ASSERT_TRUE(ns::writeFileAtomically(
      dir.file("defaults.json"), std::string_view(R"({"ArabicFontSize": 99, "TranslationFontSize": [1]})")));
  defaults.reload();
  EXPECT_EQ(defaults.integerForKey("ArabicFontSize"), 1);
  EXPECT_EQ(defaults.integerForKey("TranslationFontSize"), 1);
  defaults.setObject("3", "ArabicFontSize");
  EXPECT_EQ(defaults.integerForKey("ArabicFontSize"), 3);
}

TEST_F(UserDefaultsTest, PreferredLanguagesComeFromTheEnvironmentUntilStored) {
  setenv("LANGUAGE", "ar_SA:en", 1);
  EXPECT_EQ(defaults.arrayForKey("AppleLanguages"), (ns::Array{"ar", "en"}));
  unsetenv("LANGUAGE");
  defaults.setObject(ns::Array{"fr"}, "AppleLanguages");
  EXPECT_EQ(defaults.arrayForKey("AppleLanguages"), (ns::Array{"fr"}));
}

TEST_F(UserDefaultsTest, AFailedWriteReportsFailureAndKeepsTheOldFile) {
  defaults.setInteger(1, "A");
  ASSERT_TRUE(defaults.synchronize());
  defaults.setFilePath(dir.file("no-such-dir-file/defaults.json"));
  // A plain file where the folder should be: the write cannot succeed.
  ASSERT_TRUE(ns::writeFileAtomically(dir.file("no-such-dir-file"), std::string_view("x")));
  ns::LogCapture capture;
  capture.setEcho(false);
  EXPECT_FALSE(defaults.synchronize());
  EXPECT_EQ(defaults.lastWriteError().rfind(dir.file("no-such-dir-file") + ": ", 0), 0u) << defaults.lastWriteError();
  restart();
  EXPECT_EQ(defaults.integerForKey("A"), 1);
}

// Within a turn of the main loop the file is written once, as the turn ends,
// with every change of the turn; outside a turn, at once.
TEST_F(UserDefaultsTest, WritesWithinATurnOfTheLoopAreMadeOnceAtItsEnd) {
  ns::RunLoop::main();  // this thread is the main thread
  std::string path = dir.file("defaults.json");
  auto stored = [&] {
    auto data = ns::readFile(path, 1 << 20);
    return data ? std::string(data->begin(), data->end()) : std::string();
  };
  int writes = 0;
  defaults.setFilePath(dir.file("no-such-dir-file/defaults.json"));
  ASSERT_TRUE(ns::writeFileAtomically(dir.file("no-such-dir-file"), std::string_view("x")));
  defaults.setWriteFailureHandler([&](const std::string&) { ++writes; });  // each write fails here
  ns::LogCapture capture;
  capture.setEcho(false);
  {
    ns::RunLoop::Turn turn;
    for (int i = 0; i < 10; ++i) {
      defaults.setInteger(i, "Launches");
      defaults.synchronize();
    }
    EXPECT_EQ(writes, 0);
  }
  EXPECT_EQ(writes, 1);
  defaults.synchronize();
  EXPECT_EQ(writes, 2) << "outside a turn the write is at once";

  defaults.setFilePath(path);
  {
    ns::RunLoop::Turn turn;
    ns::RunLoop::main().post([&] {
      defaults.setInteger(7, "Verse");
      defaults.synchronize();
    });
    ns::RunLoop::main().runOnce();  // a nested turn: still waiting for the outer one
    EXPECT_EQ(stored().find("Verse"), std::string::npos);
  }
  EXPECT_NE(stored().find("\"Verse\": 7"), std::string::npos) << stored();
}

TEST_F(UserDefaultsTest, ConcurrentWritersAndReadersAreSafe) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([this, t] {
      for (int i = 0; i < 500; ++i) {
        defaults.setInteger(i, "Key" + std::to_string(t));
        (void)defaults.integerForKey("Key" + std::to_string((t + 1) % 4));
        if (i % 100 == 0) defaults.synchronize();
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(defaults.integerForKey("Key" + std::to_string(t)), 499);
}
