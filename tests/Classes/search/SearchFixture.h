#pragma once
// The Search tab inside the shell the application builds, headless on the
// virtual clock, with the real content database and a fixture user
// database: text is typed into the search bar, the 0.2 s pause passes, and
// the query's worker is waited for.
#include <sqlite3.h>

#include "Classes/core/ChapterInfo.h"
#include "Classes/search/SavedSearchCell.h"
#include "Classes/search/SavedSearchesViewController.h"
#include "Classes/search/SearchCellView.h"
#include "Classes/search/SearchViewCell.h"
#include "Classes/search/SearchViewController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/ui/NavigationController.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace searchtest {

class SearchTest : public shelltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    if (IsSkipped()) return;
    // The string tables and images, so that the screens read as they show; the
    // main bundle keeps the folder of the program's first test.
    auto resources = std::filesystem::path(ns::Bundle::main().bundlePath());
    std::filesystem::create_directories(resources);
    for (const char* table : {"en.lproj", "ar.lproj", "images"})
      if (!std::filesystem::exists(resources / table)) testenv::linkBuiltResources(resources, {table});
    Language::resetForTesting();
    defaults().setInteger(1, "FirstTimeInstall");  // no example searches unless a test asks
  }

  sqlite3* user() { return delegate->dbConnection(); }
  sqlite3* content() { return delegate->dbConnectionStatic(); }

  ui::NavigationController* tab() { return dynamic_cast<ui::NavigationController*>(root->currenController()); }
  SearchViewController* screen() {
    auto* nav = tab();
    return nav ? dynamic_cast<SearchViewController*>(nav->visibleViewController()) : nullptr;
  }
  SavedSearchesViewController* history() {
    auto* nav = tab();
    return nav ? dynamic_cast<SavedSearchesViewController*>(nav->visibleViewController()) : nullptr;
  }

  // Opens the Search tab and lets its first query end.
  SearchViewController& openTab() {
    root->tabbarButtonPressed(1);
    waitForQuery();
    auto* s = screen();
    EXPECT_NE(s, nullptr);
    return *s;
  }

  // Lets the pause, the workers and their hand-overs run until no query is
  // running or waiting.
  void waitForQuery() {
    for (int round = 0; round < 6; ++round) {
      backend().advance(0.25);
      ns::Thread::waitForDetachedThreads();
      ns::RunLoop::main().runUntilIdle();
    }
  }

  void type(SearchViewController& s, const std::string& text) {
    s.txtSearchBar()->setText(text);
    waitForQuery();
  }

  // "surah:verse" of every hit shown, in order.
  static std::vector<std::string> hits(const SearchViewController& s) {
    std::vector<std::string> out;
    for (const auto& section : s.arrSectionedResults())
      for (const auto& hit : *section->AllResults()) out.push_back(ns::format("%d:%d", hit->surah(), hit->verse()));
    return out;
  }

  int marks(int savedID) {
    return fixtures::scalarInt(user(), ns::format("SELECT count(*) FROM searchmatches WHERE savesearch_id = %d", savedID));
  }
};

}  // namespace searchtest
