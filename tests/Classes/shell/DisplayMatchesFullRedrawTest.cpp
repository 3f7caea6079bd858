// The window draws only what changed from frame to frame (moving scrolled
// pixels, skipping what is covered or unchanged); every frame it shows must
// be, pixel for pixel, the frame a full redraw makes. Checked on every screen
// of the shell in both orientations, at scale 1 and 2, through scrolls,
// turns, fades, slides, popovers and the notes panel.
#include <cstring>
#include <typeinfo>

#include "Classes/reading/SurahViewCell.h"
#include "Classes/reading/VerseOptionsPanel.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextView.h"
#include "tests/Classes/shell/ShellFixture.h"
#include "tests/platform/ui/Pixels.h"

namespace shelltest {
namespace {

class DisplayTest : public ShellTest {
 protected:
  // Launches and shows frames as a window backend does: each frame a
  // sixtieth of a second passes and the window displays what changed on
  // the surface it keeps.
  void start(ui::InterfaceOrientation orientation, float scale = 1) {
    ui::Screen::main().setScale(scale);
    launch(orientation, 0.1);
    cg::Rect b = ui::Window::keyWindow()->bounds();
    frame_ = std::make_unique<cg::Context>(cg::Context::bitmap(b.width(), b.height(), scale));
    scale_ = scale;
    frames(1);
  }
  void TearDown() override {
    frame_.reset();
    ui::Screen::main().setScale(1);
    ShellTest::TearDown();
  }

  // Frames for the time, each compared with a full redraw.
  void frames(double seconds) {
    for (double t = 0; t < seconds; t += 1.0 / 60) frameNow(1.0 / 60);
  }
  void frameNow(double step = 0) {
    if (step > 0) backend().advance(step);
    ns::Thread::waitForDetachedThreads();
    ns::RunLoop::main().runUntilIdle();
    ui::Window& w = *ui::Window::keyWindow();
    if (frame_->pixelWidth() != int(w.bounds().width() * scale_) ||
        frame_->pixelHeight() != int(w.bounds().height() * scale_))
      frame_ = std::make_unique<cg::Context>(cg::Context::bitmap(w.bounds().width(), w.bounds().height(), scale_));
    auto changed = w.display(*frame_);
    // What a backend shows: only the changed areas are copied to its screen.
    if (!screen_ || screen_->pixelWidth() != frame_->pixelWidth() || screen_->pixelHeight() != frame_->pixelHeight())
      screen_ = std::make_unique<cg::Context>(cg::Context::bitmap(w.bounds().width(), w.bounds().height(), scale_));
    testpixels::copyAreas(*frame_, *screen_, changed);
    ++count_;
    if (failures_ > 0) return;  // one picture of the first fault is enough
    // A full redraw at scale 2 costs four times as much: every other frame
    // is compared there (a fault that stays shows in the next one).
    if (scale_ >= 2 && count_ % 2) return;
    auto shown = frame_->makeImage();
    auto full = w.snapshot(scale_);
    cg::Rect bad = testpixels::differingPixels(*shown, *full);
    if (bad.isEmpty()) {
      shown = screen_->makeImage();
      bad = testpixels::differingPixels(*shown, *full);
      if (bad.isEmpty()) return;
      ADD_FAILURE() << "the drawn frame is right, but the areas reported as changed miss some of it";
    }
    ++failures_;
    std::string name = scene_ + "-frame" + std::to_string(count_);
    shown->writePNG(shotPath(name + "-shown.png"));
    full->writePNG(shotPath(name + "-full.png"));
    cg::Rect points(bad.x() / scale_, bad.y() / scale_, bad.width() / scale_, bad.height() / scale_);
    ADD_FAILURE() << scene_ << ": frame " << count_ << " differs from a full redraw in pixels " << bad.x() << ","
                  << bad.y() << " " << bad.width() << "x" << bad.height() << " (see " << name << "-*.png); views there:\n"
                  << viewsAt(w, points) << "drawn again:" << describe(changed);
  }
  static std::string describe(const std::vector<cg::Rect>& rects) {
    std::string c;
    for (const cg::Rect& r : rects)
      c += " " + std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
    return c;
  }
  // The views drawn over an area, front-most last, for finding the one at fault.
  static std::string viewsAt(ui::View& v, cg::Rect area, int depth = 0) {
    if (v.isHidden() || v.alpha() <= 0) return "";
    std::string out;
    cg::Rect r = v.rectOnScreen(v.bounds());
    if (r.intersects(area))
      out += std::string(size_t(depth), ' ') + typeid(v).name() + " at " + std::to_string(r.x()) + "," +
             std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" + std::to_string(r.height()) +
             " alpha " + std::to_string(v.presentationAlpha()) + "\n";
    for (auto& sub : v.subviews()) out += viewsAt(*sub, area, depth + 1);
    return out;
  }
  void scene(const std::string& name) { scene_ = name; }
  int failures() const { return failures_; }

  ui::TableView& verses() { return *reading().tblVerses; }
  cg::Point middleOf(ui::View& v) { return v.convertPointToView({v.bounds().midX(), v.bounds().midY()}, nullptr); }

  void scrollScenes() {
    cg::Point table = middleOf(verses());
    scene("flick");
    backend().flick(table, {table.x, table.y - 300}, 2500);
    frames(2);
    scene("drag back");
    backend().drag({table.x, table.y - 200}, {table.x, table.y + 100}, 0.3);
    frames(0.6);
    scene("wheel");
    for (int i = 0; i < 4; ++i) {
      backend().wheel(table, 0, 2);
      frames(0.05);
    }
    frames(0.3);
    scene("offsets by code");
    for (float y : {40.0f, 95.5f, 600.0f, 613.25f, 3000.0f, 2950.0f, 0.0f}) {
      verses().setContentOffset({0, y});
      frameNow(1.0 / 60);
    }
  }

  void paneScenes() {
    scene("index slides away");
    root->showOrHideIndex();
    frames(0.8);
    cg::Point pane = middleOf(*primary().view());
    scene("pane scrolls");
    backend().flick(pane, {pane.x, pane.y - 250}, 2000);
    frames(1.5);
    scene("index slides back");
    root->showOrHideIndex();
    frames(0.8);
  }

  void optionsPanelScene() {
    scene("options panel");
    auto path = ui::IndexPath::indexPathForRow(reading().verseToRow(7), 0);
    verses().scrollToRowAtIndexPath(path, ui::TableViewScrollPosition::Top, false);
    frames(0.2);
    auto cell = std::dynamic_pointer_cast<SurahViewCell>(verses().cellForRowAtIndexPath(path));
    ASSERT_TRUE(cell);
    reading().showDialControlForVerseCell(cell.get(), cell->CellView(), &verses(), 7, 2);
    frames(0.8);
    reading().optionsPanel()->ayahHudButtonPressed(reading().optionsPanel()->btnHUDTranslation.get());
    frames(0.5);
    reading().optionsPanel()->dialCancelledPressed();
    frames(0.8);
  }

  void notesScene() {
    scene("notes panel");
    root->surahHighlightVerse(3, false);
    root->showNotesForSurah(2, 3, true, root->IsInLandscape());
    frames(1);
    root->txtNotes->textView()->setText("The believers in the unseen:\nread again with the commentary.");
    frames(0.2);
    root->hideNotesWithoutSave();
    frames(1);
  }

  void tabScenes() {
    scene("tabs");
    for (int tab : {2, 3, 1, 0}) {
      root->tabbarButtonPressed(tab);
      frames(0.4);
    }
    scene("full screen");
    root->expandFloatingView(true);
    frames(1.2);
    root->shrinkFloatingView(true);
    frames(1.2);
  }

  void turnScene(ui::InterfaceOrientation to) {
    scene("turn");
    ASSERT_TRUE(ui::Window::keyWindow()->rotateToInterfaceOrientation(to));
    frames(1.2);
  }

  void setUpReadingPlace() {
    defaults().setInteger(1, "CurrentTranslationPrimary");
    defaults().setInteger(5, "CurrentTranslationSecondary");
    defaults().setInteger(1, "CurrentTranslationv22");
    defaults().setInteger(2, "CurrentlyShowingSurah");
  }

 private:
  std::unique_ptr<cg::Context> frame_;
  std::unique_ptr<cg::Context> screen_;
  float scale_ = 1;
  std::string scene_ = "launch";
  int count_ = 0;
  int failures_ = 0;
};

TEST_F(DisplayTest, ScrollingInLandscape) {
  setUpReadingPlace();
  start(ui::InterfaceOrientation::LandscapeRight);
  scrollScenes();
  EXPECT_EQ(failures(), 0);
}

TEST_F(DisplayTest, PanesAndTheIndexSlidingInLandscape) {
  setUpReadingPlace();
  start(ui::InterfaceOrientation::LandscapeRight);
  paneScenes();
  EXPECT_EQ(failures(), 0);
}

TEST_F(DisplayTest, TheOptionsPanelAndTheNotesPanel) {
  setUpReadingPlace();
  start(ui::InterfaceOrientation::LandscapeRight);
  optionsPanelScene();
  notesScene();
  EXPECT_EQ(failures(), 0);
}

TEST_F(DisplayTest, TabsAndFullScreen) {
  setUpReadingPlace();
  start(ui::InterfaceOrientation::LandscapeRight);
  tabScenes();
  EXPECT_EQ(failures(), 0);
}

TEST_F(DisplayTest, PortraitScrollingAndPanelsThenATurn) {
  setUpReadingPlace();
  start(ui::InterfaceOrientation::Portrait);
  scrollScenes();
  optionsPanelScene();
  turnScene(ui::InterfaceOrientation::LandscapeLeft);
  scrollScenes();
  EXPECT_EQ(failures(), 0);
}

TEST_F(DisplayTest, ScrollingAtScaleTwo) {
  setUpReadingPlace();
  start(ui::InterfaceOrientation::LandscapeRight, 2);
  scrollScenes();
  EXPECT_EQ(failures(), 0);
}

TEST_F(DisplayTest, TurningAtScaleTwo) {
  setUpReadingPlace();
  start(ui::InterfaceOrientation::LandscapeRight, 2);
  turnScene(ui::InterfaceOrientation::Portrait);
  EXPECT_EQ(failures(), 0);
}

}  // namespace
}  // namespace shelltest
