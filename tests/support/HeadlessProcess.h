#pragma once
// What a headless test of the application starts from: a folder of its own
// under the tests' scratch space with a home and a bundle's resources (a new
// user database, and the content database either linked from the build or
// copied from the small fixture one), the environment pointed at them in
// British English, and the settings and class-level state of a new process.
// The fixtures keep their own clock, root and extra defaults.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "Classes/core/Language.h"
#include "Classes/core/ZarvelSDKAppDelegate.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/services/BackgroundTask.h"
#include "platform/services/Device.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "tests/Classes/core/Fixtures.h"

namespace testenv {

inline std::filesystem::path scratchSpace() {
  const char* tmp = std::getenv("ZARVEL_TEST_TMP");
  return tmp ? tmp : "/tmp";
}

// A folder under the scratch space, made if missing.
inline std::filesystem::path scratchFolder(const std::string& name) {
  auto folder = scratchSpace() / name;
  std::filesystem::create_directories(folder);
  return folder;
}

inline std::filesystem::path builtResource(const std::string& name) {
  return std::filesystem::path(ns::builtResourceDirectory()) / name;
}

inline bool realContentBuilt() { return std::filesystem::exists(builtResource("zarvel.db")); }

// An empty folder <area>/<suite>.<test> for the running test, with
// ZARVEL_HOME at its home/ and ZARVEL_RESOURCES at its resources/, which
// holds a user database new from the shipped schema. Returns the folder.
inline std::filesystem::path prepareTestFolder(const std::string& area) {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  auto dir = scratchSpace() / area / (std::string(info->test_suite_name()) + "." + info->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir / "resources");
  setenv("ZARVEL_HOME", (dir / "home").c_str(), 1);
  setenv("ZARVEL_RESOURCES", (dir / "resources").c_str(), 1);
  for (const char* var : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(var);
  setenv("LANG", "en_GB.UTF-8", 1);
  fixtures::buildUserDatabase((dir / "resources" / "zarveldyn.db").string(), fixtures::UserSchema::Shipped);
  return dir;
}

// Links files and folders of the build's resources into a test's resources.
inline void linkBuiltResources(const std::filesystem::path& resources, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    auto source = builtResource(name);
    if (std::filesystem::is_directory(source)) std::filesystem::create_directory_symlink(source, resources / name);
    else std::filesystem::create_symlink(source, resources / name);
  }
}

// The small content database of the fixtures, built once per test program;
// each test gets a copy, since the application may write to it.
inline void copyFixtureContent(const std::filesystem::path& resources) {
  static const std::string built = [] {
    std::string file = fixtures::makeTempDir() + "/zarvel.db";
    fixtures::buildContentDatabase(file);
    return file;
  }();
  std::filesystem::copy_file(built, resources / "zarvel.db");
}

// The settings read again and every class-level state and platform service
// forgotten, as a new process starts.
inline void forgetProcessState() {
  ui::Application::shared().resetForTesting();
  ui::ButtonPanel::resetForTesting();
  ns::UserDefaults::standardUserDefaults().resetForTesting();
  ns::UserDefaults::standardUserDefaults().reload();
  Language::resetForTesting();
  ZarvelSDKAppDelegate::ResetClassStateForTesting();
  ZarvelSDKAppDelegate::ResetAppStateForTesting();
  ZarvelSDKAppDelegate::initialize();  // the class initialiser registers the defaults
  ui::BackgroundTasks::resetForTesting();
  ui::Device::current().resetForTesting();
}

}  // namespace testenv
