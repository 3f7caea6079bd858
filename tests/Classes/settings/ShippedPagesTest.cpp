// The shipped pages on the real web engine, under a virtual X display, as
// About and the help open them: each loads, its title comes from the page,
// a link leads to the next shipped page, and a picture of each is written.
#include <cairo.h>

#include "Classes/settings/AboutViewController.h"
#include "Classes/settings/HowToUseController.h"
#include "Classes/settings/InfoPages.h"
#include "platform/foundation/Paths.h"
#include "platform/graphics/Context.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/PopoverController.h"
#include "tests/Classes/settings/InfoScreensFixture.h"
#include "tests/support/XvfbDisplay.h"
#include "toolkit/core/TKGlobal.h"
#include "toolkit/core/TKWebController.h"
#include "toolkit/web/WebKitEngine.h"

namespace infotest {
namespace {

namespace fs = std::filesystem;
using testing_support::XvfbDisplay;

class ShippedPagesTest : public InfoScreensTest {
 protected:
  void SetUp() override {
    if (XvfbDisplay::shared().empty()) GTEST_SKIP() << XvfbDisplay::kMissing;
    InfoScreensTest::SetUp();
    if (IsSkipped()) return;
    // Copied: the page shows files from inside the resources only.
    for (const char* folder : {"Pages", "licenses"})
      fs::copy(testenv::builtResource(folder), fs::path(ns::resourceDirectory()) / folder,
               fs::copy_options::recursive);
    ui::WebKitEngine::install();
  }
  void TearDown() override {
    if (!ui::WebKitEngine::isRunning()) return InfoScreensTest::TearDown();
    if (root && root->modalViewController()) root->dismissModalViewControllerAnimated(false);
    settle(0.5);
    InfoScreensTest::TearDown();
    ui::WebKitEngine::shutdown();
    EXPECT_TRUE(ui::WebKitEngine::helperProcesses().empty()) << "a helper process of the engine outlived it";
  }

  // Waits in real time for the page's load to end; its title.
  std::string loaded(TKWebController& web) {
    std::string loading = TKLibraryLocalizedString("Loading...");
    bool done = ns::RunLoop::main().runUntil(
        [&] {
          return web.webView() && !web.webView()->isLoading() && !web.title().empty() && web.title() != loading;
        },
        15.0);
    EXPECT_TRUE(done) << "the page did not load: " << web.URL();
    // The engine draws a moment later: the page's paper colour shows.
    EXPECT_TRUE(ns::RunLoop::main().runUntil([&] { return cornerColour(*web.webView()) == 0xf6f1e6; }, 15.0))
        << "the page was not drawn";
    settle(0.3);
    return web.title();
  }

  // The colour of the view's top left corner, the view drawn alone (whole:
  // the engine draws nothing into a smaller surface).
  static uint32_t cornerColour(ui::View& view) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(view.bounds().width()), int(view.bounds().height()));
    {
      cg::Context context(surface, 1);
      view.drawRect(context, view.bounds());
    }
    cairo_surface_flush(surface);
    uint32_t pixel = *reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface) +
                                                  10 * cairo_image_surface_get_stride(surface) + 10 * 4);
    cairo_surface_destroy(surface);
    return pixel & 0xffffff;
  }
};

TEST_F(ShippedPagesTest, AboutsAndTheHelpsPagesLoadWithTheirTitlesInBothLanguages) {
  struct Case {
    const char* language;
    const char* page;
    const char* title;  // the page's <title>
  };
  const Case cases[] = {
      {"en", "credits.html", "Credits"},       {"en", "licences.html", "Licences"},
      {"en", "help.html", "Help and knowledge base"}, {"en", "search.html", "Searching the Quran"},
      {"ar", "credits.html", "المصادر والشكر"}, {"ar", "licences.html", "التراخيص"},
      {"ar", "marks.html", "تعليم الآيات التي وجدها البحث"},
  };
  std::string language;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.language) + "/" + c.page);
    if (language != c.language) {
      if (root) {
        TearDown();
        SetUp();
      }
      language = c.language;
      useLanguage(language);
      launch(language == "ar" ? ui::InterfaceOrientation::Portrait : ui::InterfaceOrientation::LandscapeRight);
    }
    auto web = infopages::present(*root, c.page);
    settle(0.5);
    EXPECT_EQ(loaded(*web), c.title);
    EXPECT_NE(web->URL().find(std::string("Pages/") + c.language + "/" + c.page), std::string::npos);
    ASSERT_TRUE(backend().screenshot(picture(std::string("page-") + c.language + "-" + c.page)));
    root->dismissModalViewControllerAnimated(false);
    settle(0.5);
  }
}

}  // namespace
}  // namespace infotest
