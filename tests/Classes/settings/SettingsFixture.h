#pragma once
// The More tab, its settings and the reading screen's tajweed legend inside
// the shell the program builds (loadMainInterface), headless on the virtual
// clock, with the real content database of the build, its images and string
// tables, and the silent sound device (the recitation fixtures of the audio
// tests, for the guide's examples).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "Classes/reading/TajweedInfoViewController.h"
#include "Classes/settings/MoreViewController.h"
#include "Classes/settings/SettingsSubView.h"
#include "Classes/settings/SettingsViewController.h"
#include "platform/foundation/Bundle.h"
#include "platform/graphics/Image.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "tests/Classes/audio/AudioFixture.h"

namespace settingstest {

class SettingsTest : public audiotest::AudioTest {
 protected:
  void SetUp() override {
    AudioTest::SetUp();
    if (IsSkipped()) return;
    // The string tables, so that the Arabic interface reads as it shows; the
    // main bundle keeps the folder of the program's first test.
    auto bundle = std::filesystem::path(ns::Bundle::main().bundlePath());
    std::filesystem::create_directories(bundle);
    for (const char* name : {"en.lproj", "ar.lproj", "images"})
      if (!std::filesystem::exists(bundle / name)) testenv::linkBuiltResources(bundle, {name});
  }

  // A guide still open stops its example while the sound device is there.
  void TearDown() override {
    if (delegate && root()) {
      if (auto& popover = reading().popoverView; popover && popover->isPopoverVisible()) popover->dismissPopoverAnimated(false);
      if (root()->iSelectedBottomTab() != 3) root()->tabbarButtonPressed(3);
      settle(0.5);
    }
    AudioTest::TearDown();
  }

  // Starts the application in the orientation, in the interface language.
  void launch(ui::InterfaceOrientation orientation = ui::InterfaceOrientation::LandscapeRight,
              const std::string& language = "en") {
    defaults().setObject(ns::Value(ns::Array{ns::Value(language)}), "AppleLanguages");
    Language::resetForTesting();
    ZarvelSDKAppDelegate::ResetArabicCheck();
    AudioTest::launch(orientation);
  }

  iPadRootViewController& rootScreen() { return *root(); }

  // The More tab's navigation controller and the screen it shows.
  ui::NavigationController* moreTab() { return dynamic_cast<ui::NavigationController*>(rootScreen().currenController()); }
  template <class Screen>
  Screen* shown() {
    auto* nav = moreTab();
    return nav ? dynamic_cast<Screen*>(nav->visibleViewController()) : nullptr;
  }

  // Opens the More tab with its button.
  MoreViewController& openMore() {
    rootScreen().tabbarButtonPressed(0);
    settle(0.5);
    auto* menu = shown<MoreViewController>();
    EXPECT_NE(menu, nullptr);
    return *menu;
  }

  // Taps the middle of a view as a person would.
  void tapView(ui::View& v) {
    delegate->window()->layoutIfNeeded();  // the tables place their rows first
    cg::Rect r = v.convertRectToView(v.bounds(), nullptr);
    backend().tap(cg::Point(r.midX(), r.midY()));
    settle(0.6);
  }

  // Taps a row of a table (scrolled into view first).
  void tapRow(ui::TableView& table, int section, int row) {
    table.scrollToRowAtIndexPath(ui::IndexPath{section, row}, ui::TableViewScrollPosition::Middle, false);
    auto cell = table.cellForRowAtIndexPath(ui::IndexPath{section, row});
    ASSERT_NE(cell, nullptr) << section << "." << row;
    tapView(*cell);
  }

  // The settings screen, from the More menu's Settings row.
  SettingsViewController& openSettings() {
    auto& menu = openMore();
    tapRow(*menu.tblGroups, 0, 4);
    auto* settings = shown<SettingsViewController>();
    EXPECT_NE(settings, nullptr);
    return *settings;
  }

  // A detail screen of the settings: its row on the settings screen.
  SettingsSubView& openDetail(int section, int row) {
    auto& settings = openSettings();
    tapRow(*settings.myTableView, section, row);
    auto* detail = shown<SettingsSubView>();
    EXPECT_NE(detail, nullptr);
    return *detail;
  }

  // Turns a switch with a tap on it.
  void flip(ui::Switch& control) { tapView(control); }

  // The alert on screen, if any.
  static ui::AlertView* alertShown() { return dynamic_cast<ui::AlertView*>(ui::ButtonPanel::visiblePanel()); }

  // A picture of the window, kept for a person to look at when asked.
  std::shared_ptr<cg::Image> picture(const std::string& name) {
    ui::Window* window = delegate->window();
    std::string path = (testenv::scratchFolder("settings-shots") / (name + ".png")).string();
    window->writeScreenshot(path);
    return window->snapshot();
  }

};

// The pixels of a rectangle of a picture that differ between two pictures.
inline int differingPixels(const cg::Image& a, const cg::Image& b, cg::Rect r) {
  int n = 0;
  for (int y = int(r.y()); y < int(r.maxY()); ++y)
    for (int x = int(r.x()); x < int(r.maxX()); ++x)
      if (!(a.pixelAt(x, y) == b.pixelAt(x, y))) ++n;
  return n;
}

}  // namespace settingstest
