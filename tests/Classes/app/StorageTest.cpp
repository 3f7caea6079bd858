// Where the reader's data cannot be kept as it should: a settings file that
// does not parse, and a data folder the application may not write. The
// permission cases run in a child process as an ordinary user (root may
// write anywhere).
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "AppTestEnvironment.h"
#include "Classes/core/RegisteredDefaults.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/String.h"
#include "platform/ui/Window.h"

namespace apptest {
namespace {

constexpr uid_t kNobody = 65534;

class StorageTest : public AppTest {
 protected:
  std::string home() const { return ns::deletingLastPathComponent(documents()); }
  std::string settingsFile() const { return ns::pathJoin(home(), "config", "defaults.json"); }

  // Continues as an ordinary user, for whom permissions hold.
  static void becomeOrdinaryUser() {
    if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(90);
  }
};

TEST_F(StorageTest, ASettingsFileWithAStrayCommaIsKeptAsideAndThePersonIsTold) {
  const std::string broken = R"({"LastSurah": "36", "ArabicFontSize": "3", "AlKahfReminders": false,})";
  ns::createDirectory(ns::deletingLastPathComponent(settingsFile()));
  ASSERT_TRUE(ns::writeFileAtomically(settingsFile(), std::string_view(broken)));
  restartProcess();  // the class initialiser synchronises: the file is moved first
  launch();

  const std::string aside = defaults().setAsidePath();
  ASSERT_FALSE(aside.empty());
  auto kept = ns::readFile(aside, 4096);
  ASSERT_TRUE(kept);
  EXPECT_EQ(std::string(kept->begin(), kept->end()), broken);
  ASSERT_NE(visiblePanel(), nullptr);
  EXPECT_EQ(visiblePanel()->title(), "Settings Reset");
  EXPECT_TRUE(ns::hasSuffix(visiblePanel()->message(), "\n" + aside)) << visiblePanel()->message();
  EXPECT_EQ(ui::ButtonPanel::queuedCount(), 0u);

  // The next start finds good settings and says nothing.
  ui::Application::shared().terminate();
  restartProcess();
  launch();
  EXPECT_EQ(visiblePanel(), nullptr);
}

TEST_F(StorageTest, AFreshStartInAFolderItMayNotWriteNamesTheFolderAndTheCause) {
  std::filesystem::create_directories(home());
  chmod(home().c_str(), 0555);
  EXPECT_EXIT(
      {
        becomeOrdinaryUser();
        restartProcess();
        launch();
      },
      ::testing::ExitedWithCode(1),
      "Failed to create writable database file with message 'The folder .*/home/documents could not be "
      "created: Permission denied'");
}

TEST_F(StorageTest, ExistingDataThatCanOnlyBeReadIsSaidOnceInAnAlert) {
  launch();
  ui::Application::shared().terminate();
  chmod((documents() + "/zarveldyn.db").c_str(), 0444);
  chmod(documents().c_str(), 0555);
  chmod(ns::deletingLastPathComponent(settingsFile()).c_str(), 0555);
  EXPECT_EXIT(
      {
        becomeOrdinaryUser();
        restartProcess();
        launch();
        ui::ButtonPanel* panel = visiblePanel();
        bool told = panel && panel->title() == "Changes Will Not Be Saved" &&
                    panel->message().find(documents() + "/zarveldyn.db: Permission denied") != std::string::npos &&
                    panel->message().find(ns::deletingLastPathComponent(settingsFile())) != std::string::npos &&
                    ui::ButtonPanel::queuedCount() == 0;
        if (told) std::fprintf(stderr, "told: %s\n", panel->message().c_str());
        std::fflush(stderr);
        _exit(told ? 0 : 2);
      },
      ::testing::ExitedWithCode(0), "told: ");
}

TEST_F(StorageTest, ASettingsWriteThatFailsDuringTheSessionIsSaidOnceWithTheFileAndTheReason) {
  launch();
  ASSERT_EQ(visiblePanel(), nullptr);
  // A folder where the settings file should be: every write fails.
  ns::removeItem(settingsFile());
  ASSERT_TRUE(ns::createDirectory(ns::pathJoin(settingsFile(), "in the way")));
  for (int verse : {7, 8}) {
    defaults().setInteger(verse, kLastVerse);
    EXPECT_FALSE(defaults().synchronize());
    advance(0.1);
    ns::RunLoop::main().runUntilIdle();
  }
  ui::ButtonPanel* panel = visiblePanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->title(), "Changes Will Not Be Saved");
  EXPECT_NE(panel->message().find("\n" + settingsFile() + ": "), std::string::npos) << panel->message();
  EXPECT_EQ(ui::ButtonPanel::queuedCount(), 0u);  // once, not once per write
  panel->tapButtonAtIndex(0);
  defaults().setInteger(9, kLastVerse);
  defaults().synchronize();
  advance(1);
  ns::RunLoop::main().runUntilIdle();
  EXPECT_EQ(visiblePanel(), nullptr);
}

}  // namespace
}  // namespace apptest
