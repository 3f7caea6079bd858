#pragma once
// A fresh settings store and interface-language state per test: files under a
// temporary ZARVEL_HOME, the string tables of the source tree, and a chosen
// locale environment.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"

class CoreSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmp = std::getenv("ZARVEL_TEST_TMP");
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    home_ = std::filesystem::path(tmp ? tmp : "/tmp") / "core-settings" /
            (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(home_);
    std::filesystem::create_directories(home_);
    setenv("ZARVEL_HOME", home_.c_str(), 1);
    setenv("ZARVEL_RESOURCES", (ns::sourceDirectory() + "/resources").c_str(), 1);
    for (const char* var : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(var);
    setLocale("en_GB.UTF-8");
    restart();
  }

  void TearDown() override { std::filesystem::remove_all(home_); }

  static void setLocale(const char* lang) {
    if (lang) {
      setenv("LANG", lang, 1);
    } else {
      unsetenv("LANG");
    }
  }

  // A new process as far as these classes can tell: the store re-reads its file
  // and every class-level state is forgotten.
  static void restart() {
    ns::UserDefaults::standardUserDefaults().resetForTesting();
    ns::UserDefaults::standardUserDefaults().reload();
    Language::resetForTesting();
    ZarvelSDKAppDelegate::ResetClassStateForTesting();
  }

  static ns::UserDefaults& defaults() { return ns::UserDefaults::standardUserDefaults(); }

  std::filesystem::path home_;
};
