#pragma once
// The Bookmarks tab inside the shell the application builds, headless on the
// virtual clock, with the real content database and a fixture user database:
// bookmarks are stored straight into the user database, the tab is opened
// with its button, and the list's worker is waited for.
#include <sqlite3.h>

#include "Classes/bookmarks/BookmarkCell.h"
#include "Classes/bookmarks/BookmarkCellView.h"
#include "Classes/bookmarks/BookmarkGroupsViewController.h"
#include "Classes/bookmarks/BookmarksViewController.h"
#include "Classes/core/ChapterInfo.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/NavigationController.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace bookmarkstest {

class BookmarksTest : public shelltest::ShellTest {
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
    Language::resetForTesting();  // read them at the next look-up
  }

  sqlite3* user() { return delegate->dbConnection(); }
  sqlite3* content() { return delegate->dbConnectionStatic(); }

  // Before the launch into the bundle's user database, which the launch copies.
  void bookmark(int surah, int verse, int group = 0, const std::string& note = "", bool audio = false) {
    if (delegate) {
      ASSERT_TRUE(ChapterInfo::insertBookmark(user(), surah, verse, audio, group, note));
      return;
    }
    auto file = std::filesystem::path(std::getenv("ZARVEL_RESOURCES")) / "zarveldyn.db";
    sqlite3* db = fixtures::openReadWrite(file.string());
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO bookmarks (surah, verse, is_audio, note, bkgroup) VALUES (?, ?, ?, ?, ?)", -1,
                       &insert, nullptr);
    sqlite3_bind_int(insert, 1, surah);
    sqlite3_bind_int(insert, 2, verse);
    sqlite3_bind_int(insert, 3, audio);
    sqlite3_bind_text(insert, 4, note.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 5, group);
    EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_finalize(insert);
    sqlite3_close(db);
  }

  ui::NavigationController* tab() { return dynamic_cast<ui::NavigationController*>(root->currenController()); }
  BookmarksViewController* list() {
    auto* nav = tab();
    return nav ? dynamic_cast<BookmarksViewController*>(nav->visibleViewController()) : nullptr;
  }

  // Opens the Bookmarks tab and lets its list load.
  BookmarksViewController& openTab() {
    root->tabbarButtonPressed(2);
    waitForLoad();
    auto* l = list();
    EXPECT_NE(l, nullptr);
    return *l;
  }

  // Lets every worker end and their results reach the screen.
  void waitForLoad() {
    for (int round = 0; round < 3; ++round) {
      ns::Thread::waitForDetachedThreads();
      ns::RunLoop::main().runUntilIdle();
      backend().advance(0.4);
    }
  }

  // The surahs of the sections and, per section, the verses of its rows.
  static std::vector<std::pair<int, std::vector<int>>> shown(const BookmarksViewController& l) {
    std::vector<std::pair<int, std::vector<int>>> out;
    for (const auto& section : l.arrSectionedBookmarks()) {
      std::vector<int> verses;
      for (const auto& b : *section->AllBookmarks()) verses.push_back(b->verse());
      out.push_back({section->surah(), verses});
    }
    return out;
  }

  // The cell of a row in the list's table (scrolled into view).
  BookmarkCell* cellAt(BookmarksViewController& l, int section, int row) {
    ui::IndexPath p{section, row};
    l.tblBookmarks()->scrollToRowAtIndexPath(p, ui::TableViewScrollPosition::None, false);
    return dynamic_cast<BookmarkCell*>(l.tblBookmarks()->cellForRowAtIndexPath(p).get());
  }

  // Taps the middle of a view as a person would.
  void tapView(ui::View& v) {
    cg::Rect r = v.convertRectToView(v.bounds(), nullptr);
    backend().tap(cg::Point(r.midX(), r.midY()));
    settle(0.3);
  }

  int storedCount(const std::string& where = "") {
    return fixtures::scalarInt(user(), "SELECT count(*) FROM bookmarks" + (where.empty() ? "" : " WHERE " + where));
  }
};

}  // namespace bookmarkstest
