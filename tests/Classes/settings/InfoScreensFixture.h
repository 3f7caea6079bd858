#pragma once
// The More tab's information screens inside the shell the application
// builds, headless on the virtual clock, with the real content database and
// the built string tables and images. Screens are reached as a person
// reaches them, from the More tab.
#include <algorithm>
#include <string>

#include "Classes/common/ScreenSupport.h"
#include "Classes/settings/MoreMenu.h"
#include "Classes/settings/MoreViewController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Paths.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace infotest {

class InfoScreensTest : public shelltest::ShellTest {
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
    // The emblem and the build's information lie beside the images, in this
    // test's own resources.
    testenv::linkBuiltResources(ns::resourceDirectory(), {"zarvel-icon.png", "zarvel-icon@2x.png", "Info.strings"});
    Language::resetForTesting();
  }

  void TearDown() override {
    useLanguage("en");
    ShellTest::TearDown();
  }

  static void useLanguage(const std::string& code) {
    Language::setLanguage(code);
    ZarvelSDKAppDelegate::ResetArabicCheck();
  }

  ui::NavigationController* moreTab() {
    if (root->iSelectedBottomTab() != 0) root->tabbarButtonPressed(0);
    settle(0.5);
    return dynamic_cast<ui::NavigationController*>(root->currenController());
  }

  // Pushes the screen on the More tab as its menu does, and lets it slide in.
  template <class Screen>
  std::shared_ptr<Screen> push(std::shared_ptr<Screen> screen) {
    auto* nav = moreTab();
    EXPECT_NE(nav, nullptr);
    if (!nav) return screen;
    nav->pushViewController(screen, true);
    settle(0.6);
    return screen;
  }

  // Taps the More menu's row of that title, as a person opens its screen.
  void tapMoreRow(const std::string& title) {
    auto* nav = moreTab();
    ASSERT_NE(nav, nullptr);
    nav->popToRootViewControllerAnimated(false);
    settle(0.3);
    auto* menu = dynamic_cast<MoreViewController*>(nav->topViewController());
    ASSERT_NE(menu, nullptr);
    const auto& rows = moreMenuRows();
    auto row = std::find_if(rows.begin(), rows.end(), [&](const MoreMenuRow& r) { return r.title == title; });
    ASSERT_NE(row, rows.end()) << title;
    auto* cell = cellAt<ui::TableViewCell>(*menu->tblGroups, 0, int(row - rows.begin()));
    ASSERT_NE(cell, nullptr) << title;
    tapView(*cell);
  }

  // The screen that the More menu's row pushes.
  template <class Screen>
  std::shared_ptr<Screen> openFromMore(const std::string& title) {
    tapMoreRow(title);
    auto* nav = moreTab();
    auto* top = nav ? nav->topViewController() : nullptr;
    auto screen = top ? std::dynamic_pointer_cast<Screen>(top->shared_from_this()) : nullptr;
    EXPECT_NE(screen, nullptr) << title;
    return screen;
  }

  // Taps the middle of a view as a person would.
  void tapView(ui::View& v) {
    cg::Rect r = v.convertRectToView(v.bounds(), nullptr);
    backend().tap(cg::Point(r.midX(), r.midY()));
    settle(0.3);
  }

  // The cell of a row (scrolled into view).
  template <class Cell>
  Cell* cellAt(ui::TableView& table, int section, int row) {
    ui::IndexPath p{section, row};
    table.scrollToRowAtIndexPath(p, ui::TableViewScrollPosition::None, false);
    return dynamic_cast<Cell*>(table.cellForRowAtIndexPath(p).get());
  }

  std::string picture(const std::string& name) {
    return (testenv::scratchFolder("info-pictures") / (name + ".png")).string();
  }

  // Runs `body` once per orientation and interface language, each on a fresh
  // launch; `name` tells the pictures apart ("landscape-en", "portrait-ar").
  template <class Body>
  void inEveryLook(Body body) {
    for (auto orientation : {ui::InterfaceOrientation::LandscapeRight, ui::InterfaceOrientation::Portrait})
      for (const char* language : {"en", "ar"}) {
        std::string name = std::string(ui::isLandscape(orientation) ? "landscape-" : "portrait-") + language;
        SCOPED_TRACE(name);
        useLanguage(language);
        launch(orientation);
        body(name);
        ShellTest::TearDown();
        root.reset();
        delegate.reset();
        SetUp();
      }
  }
};

}  // namespace infotest
