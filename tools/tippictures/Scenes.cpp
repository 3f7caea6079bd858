#include "tools/tippictures/Scenes.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "Classes/core/ChapterInfo.h"
#include "Classes/reading/SurahViewController.h"
#include "Classes/search/SearchViewController.h"
#include "platform/ui/NavigationController.h"
#include "platform/foundation/Log.h"
#include "platform/ui/PopoverController.h"
#include "tools/tippictures/Photo.h"
#include "tools/tippictures/Studio.h"

namespace tippictures {

namespace fs = std::filesystem;

namespace {

const cg::Size kPictureSize{500, 300};

struct Scene {
  std::string name;                         // "3", "2b"
  std::function<cg::Rect(Studio&)> stage;   // brings the screen up; the part to show
  std::function<void(Studio&)> leave;       // puts the application back as it was
};

cg::Rect onWindow(const ui::View& v) { return v.convertRectToView(v.bounds(), nullptr); }

// The smallest 5:3 part of the window that holds `r` with a margin, at
// least `minWidth` wide, pushed inside the window.
cg::Rect framing(cg::Rect r, float minWidth = 0) {
  constexpr float kMargin = 24;
  float ratio = kPictureSize.width / kPictureSize.height;
  float width = std::max({minWidth, r.width() + 2 * kMargin, (r.height() + 2 * kMargin) * ratio});
  width = std::min(width, 1024.0f);
  float height = width / ratio;
  float x = std::clamp(r.midX() - width / 2, 0.0f, 1024 - width);
  float y = std::clamp(r.midY() - height / 2, 20.0f, 768 - height);
  return cg::Rect(x, y, width, height);
}

// The reading screen's popover, framed.
cg::Rect popoverPart(Studio& s) {
  auto& popover = s.root().viewContSurah()->popoverView;
  if (!popover || !popover->isPopoverVisible()) throw std::runtime_error("the popover did not open");
  return framing(popover->placement().frame, 560);
}

sqlite3* userDatabase(Studio& s) { return s.app().dbConnection(); }

std::vector<Scene> scenes() {
  std::vector<Scene> all;
  // The two translations: the reading view at rest beside the index, then
  // pushed right to uncover the second translation.
  all.push_back({"2b", [](Studio&) { return cg::Rect(0, 20, 1024, 614); }, nullptr});
  all.push_back({"2",
                 [](Studio& s) {
                   cg::Rect f = onWindow(*s.root().viewFloatingVerses);
                   s.backend().drag(cg::Point(f.midX(), f.y() + 300), cg::Point(f.midX() + 320, f.y() + 300), 0.4);
                   s.settle(1.0);
                   return cg::Rect(0, 20, 1024, 614);
                 },
                 [](Studio& s) {
                   s.root().showIndex();
                   s.settle(1.0);
                 }});
  // The verse column: a drag in it with its bubble.
  all.push_back({"3",
                 [](Studio& s) {
                   cg::Rect f = onWindow(*s.root().viewFloatingVerses);
                   float x = f.x() + 30;
                   s.backend().touchDown(cg::Point(x, 250));
                   for (int i = 1; i <= 20; ++i) {
                     s.backend().advance(1.0 / 60);
                     s.backend().touchMove(cg::Point(x, 250 + 12.0f * float(i)));
                   }
                   s.settle(0.3);
                   return framing(cg::Rect(f.x(), 250, f.width(), 300), 560);
                 },
                 [](Studio& s) {
                   cg::Rect f = onWindow(*s.root().viewFloatingVerses);
                   s.backend().touchUp(cg::Point(f.x() + 30, 490));
                   s.settle(1.0);
                   s.root().surahHighlightVerse(2, true, false, true);
                   s.settle(1.0);
                 }});
  // The options of a verse held down.
  all.push_back({"4",
                 [](Studio& s) {
                   cg::Rect f = onWindow(*s.root().viewFloatingVerses);
                   cg::Point p(f.midX() + 60, 300);
                   s.backend().touchDown(p);
                   s.backend().advance(0.9);
                   s.backend().touchUp(p);
                   s.settle(0.6);
                   return popoverPart(s);
                 },
                 [](Studio& s) {
                   auto& reading = *s.root().viewContSurah();
                   if (reading.popoverView) reading.popoverView->dismissPopoverAnimated(false);
                   s.settle(0.5);
                 }});
  // The notes panel over a verse with a note.
  all.push_back({"5",
                 [](Studio& s) {
                   ChapterInfo::insertBookmark(userDatabase(s), 2, 5, false, 1,
                                               s.app().IsLanguageArabic() ? "هدى وفلاح" : "Guidance, and success.");
                   s.root().surahHighlightVerse(5, true, false, true);
                   s.root().showNotesForSurah(2, 5, false, true);
                   s.settle(1.0);
                   return framing(onWindow(*s.root().viewNotesView), 760);
                 },
                 [](Studio& s) {
                   s.root().hideNotesWithSave(true, false, true);
                   s.settle(1.0);
                 }});
  // The surah's information.
  all.push_back({"6",
                 [](Studio& s) {
                   s.root().viewContSurah()->surahNameButtonPressed();
                   s.settle(1.0);
                   return popoverPart(s);
                 },
                 [](Studio& s) {
                   s.root().viewContSurah()->surahNameButtonPressed();
                   s.settle(1.0);
                 }});
  // The bookmarks by surah.
  all.push_back({"8",
                 [](Studio& s) {
                   for (auto [surah, verse, group] : {std::tuple{1, 1, 1}, {2, 255, 2}, {18, 10, 3}, {36, 1, 0}})
                     ChapterInfo::insertBookmark(userDatabase(s), surah, verse, false, group, "");
                   s.root().tabbarButtonPressed(2);
                   s.settle(1.5);
                   cg::Rect column = onWindow(*s.root().viewIndexList);
                   return framing(cg::Rect(column.x(), 20, column.width(), 300), 560);
                 },
                 [](Studio& s) {
                   s.root().tabbarButtonPressed(3);
                   s.settle(1.0);
                 }});
  // A search with an operator, its hits by surah.
  all.push_back({"9",
                 [](Studio& s) {
                   s.root().tabbarButtonPressed(1);
                   s.settle(1.0);
                   auto* nav = dynamic_cast<ui::NavigationController*>(s.root().currenController());
                   auto* search = nav ? dynamic_cast<SearchViewController*>(nav->visibleViewController()) : nullptr;
                   if (!search) throw std::runtime_error("the search screen did not open");
                   bool arabic = ZarvelSDKAppDelegate::IsLanguageArabic();
                   search->txtSearchBar()->setText(arabic ? "\u0627\u0644\u062C\u0646\u0629 OR \u0627\u0644\u0646\u0627\u0631"
                                                          : "heaven OR hell");
                   s.settle(1.5);
                   cg::Rect column = onWindow(*s.root().viewIndexList);
                   return framing(cg::Rect(column.x(), 20, column.width(), 400), 560);
                 },
                 [](Studio& s) {
                   s.root().tabbarButtonPressed(3);
                   s.settle(1.0);
                 }});
  return all;
}

}  // namespace

int takePictures(const std::string& resources, const std::string& language, const std::string& dir, bool explore) {
  Studio studio(resources, language);
  studio.launch();
  // Pictures go to a staging folder and into place only once every one passed.
  std::string staging = explore ? dir : dir + "/.tippictures-" + language;
  if (!explore) fs::remove_all(staging);
  fs::create_directories(staging);
  int written = 0;
  for (const Scene& scene : scenes()) {
    cg::Rect crop = scene.stage(studio);
    auto shot = studio.snapshot();
    if (!shot) throw std::runtime_error("scene " + scene.name + ": no window to photograph");
    std::string stem = staging + "/tips-" + language + "-" + scene.name;
    if (explore) {
      if (!shot->writePNG(stem + "-window.png")) throw std::runtime_error("cannot write " + stem + "-window.png");
      ++written;
    } else {
      for (int scale : {1, 2}) {
        auto picture = framed(*shot, crop, kPictureSize, scale);
        std::string path = stem + (scale == 2 ? "@2x.png" : ".png");
        std::string problem = picture ? checkPicture(*picture, kPictureSize, scale) : "lies outside the window";
        if (problem.empty() && !picture->writePNG(path)) problem = "cannot be written";
        if (!problem.empty()) {
          fs::remove_all(staging);
          throw std::runtime_error(fs::path(path).filename().string() + ": " + problem);
        }
        ++written;
      }
    }
    if (scene.leave) scene.leave(studio);
  }
  if (explore) return written;
  for (const auto& entry : fs::directory_iterator(staging)) fs::rename(entry.path(), fs::path(dir) / entry.path().filename());
  fs::remove_all(staging);
  return written;
}

}  // namespace tippictures
