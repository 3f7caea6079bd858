// Help (F1), its answers and its pages; About with the build's version, its
// pages and its mail link; the shipped pages and their links; the theme and
// start-up pickers. Through the shell, with a scripted web view in place of
// the engine.
#include <fstream>
#include <regex>
#include <sstream>

#include "Classes/settings/AboutViewController.h"
#include "Classes/settings/DefaultsPickerController.h"
#include "Classes/settings/HowToUseController.h"
#include "Classes/settings/InfoPages.h"
#include "platform/foundation/Paths.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/PopoverController.h"
#include "tests/Classes/settings/InfoScreensFixture.h"
#include "tests/support/ScriptedWebView.h"
#include "toolkit/core/TKWebController.h"

namespace infotest {
namespace {

namespace fs = std::filesystem;
using testing_support::ScriptedWebView;

class HelpAboutTest : public InfoScreensTest {
 protected:
  void SetUp() override {
    InfoScreensTest::SetUp();
    if (IsSkipped()) return;
    ScriptedWebView::install();
    // The shipped pages, copied: a page is shown only from inside the resources.
    fs::copy(testenv::builtResource("Pages"), fs::path(ns::resourceDirectory()) / "Pages",
             fs::copy_options::recursive);
    ui::URLOpener::setLauncher([this](const std::string& url) {
      opened.push_back(url);
      return true;
    });
  }
  void TearDown() override {
    ui::URLOpener::setLauncher(nullptr);
    ScriptedWebView::uninstall();
    InfoScreensTest::TearDown();
  }

  HowToUseController* help() {
    auto* nav = root ? dynamic_cast<ui::NavigationController*>(root->modalViewController()) : nullptr;
    return nav ? dynamic_cast<HowToUseController*>(nav->topViewController()) : nullptr;
  }
  HowToUseController& openHelp() {
    backend().key("F1");
    settle(0.5);
    EXPECT_NE(help(), nullptr);
    return *help();
  }
  static ui::ButtonPanel* panel() { return ui::ButtonPanel::visiblePanel(); }

  // About in the popover that the More menu's row opens.
  std::shared_ptr<AboutViewController> openAbout() {
    tapMoreRow("About");
    auto* menu = dynamic_cast<MoreViewController*>(moreTab()->topViewController());
    popover = menu ? menu->popoverView : nullptr;
    auto about = popover ? std::dynamic_pointer_cast<AboutViewController>(popover->contentViewController()) : nullptr;
    EXPECT_NE(about, nullptr);
    return about;
  }

  // The page a web controller shows, relative to the resources.
  static std::string pageOf(const TKWebController& web) {
    std::string url = web.URL();
    std::string prefix = "file://" + ns::resourceDirectory() + "/";
    return url.rfind(prefix, 0) == 0 ? url.substr(prefix.size()) : url;
  }

  void writeInfo(const std::string& version, const std::string& build) {
    fs::remove(ns::resourceDirectory() + "/Info.strings");
    std::ofstream(ns::resourceDirectory() + "/Info.strings")
        << "\"CFBundleShortVersionString\" = \"" << version << "\";\n\"CFBundleVersion\" = \"" << build << "\";\n";
  }

  std::vector<std::string> opened;
  std::shared_ptr<ui::PopoverController> popover;
};

TEST_F(HelpAboutTest, F1OpensTheHelpWhoseAnswersComeUpInAlertsAndChangeNothing) {
  launch();
  int surah = reading().iCurrentSurah();
  auto& h = openHelp();
  EXPECT_EQ(root->modalViewController()->modalPresentationStyle(), ui::ModalPresentationStyle::FormSheet);
  EXPECT_EQ(h.title(), "How to Use Zarvel");
  ASSERT_EQ(h.table->numberOfRowsInSection(0), HowToUseController::kQuestionCount);
  EXPECT_EQ(h.titleForHeaderInSection(h.table.get(), 0), "How do I...");
  EXPECT_EQ(h.table->rectForRowAtIndexPath({0, 1}).height(), 45);
  for (int row = 0; row < HowToUseController::kQuestionCount; ++row) {
    const auto& q = HowToUseController::question(row);
    EXPECT_EQ(q.answer[0] == 0, q.page[0] != 0) << "row " << row << " has one answer";
    EXPECT_EQ(std::string(q.title).find("Goto"), std::string::npos);
  }
  // The verse question: its alert has the question as title, and OK closes it.
  auto* cell = cellAt<ui::TableViewCell>(*h.table, 0, 3);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->textLabel()->text(), "Jump to a Verse");
  tapView(*cell);
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Jump to a Verse");
  EXPECT_NE(panel()->message().find("column of verse numbers"), std::string::npos);
  EXPECT_EQ(panel()->numberOfButtons(), 1);
  panel()->tapButtonAtIndex(0);
  settle(0.5);
  EXPECT_EQ(panel(), nullptr);
  EXPECT_EQ(help(), &h);
  EXPECT_EQ(reading().iCurrentSurah(), surah);
  EXPECT_EQ(h.table->indexPathForSelectedRow(), std::nullopt);
}

TEST_F(HelpAboutTest, KnowledgeBaseRowsOpenTheShippedPagesAndEscapeClosesPageThenHelp) {
  launch();
  auto& h = openHelp();
  const std::pair<int, const char*> pages[] = {{0, "terms.html"}, {10, "bugs.html"}, {11, "search.html"},
                                               {12, "marks.html"}};
  for (auto [row, page] : pages) {
    SCOPED_TRACE(page);
    h.didSelectRowAtIndexPath(h.table.get(), {0, row});
    settle(0.5);
    ASSERT_NE(h.answerPage(), nullptr);
    EXPECT_EQ(h.modalViewController()->modalPresentationStyle(), ui::ModalPresentationStyle::FormSheet);
    EXPECT_EQ(pageOf(*h.answerPage()), std::string("Pages/en/") + page);
    EXPECT_TRUE(opened.empty()) << "no page leaves for the desktop's browser";
    backend().key("Escape");
    settle(0.5);
    EXPECT_EQ(h.modalViewController(), nullptr);
    EXPECT_EQ(help(), &h);
  }
  // The keys move through the questions, Return answers, Escape closes.
  backend().key("Down");
  backend().key("Down");
  EXPECT_EQ(h.table->indexPathForSelectedRow(), ui::IndexPath(0, 1));
  backend().key("Return");
  settle(0.3);
  ASSERT_NE(panel(), nullptr);
  EXPECT_EQ(panel()->title(), "Change the Translation");
  panel()->tapButtonAtIndex(0);
  settle(0.3);
  backend().key("Escape");
  settle(0.5);
  EXPECT_EQ(help(), nullptr);
  EXPECT_TRUE(reading().isFirstResponder());
}

TEST_F(HelpAboutTest, TheArabicInterfaceAnswersInArabicAndOpensArabicPages) {
  useLanguage("ar");
  launch();
  auto& h = openHelp();
  auto* cell = cellAt<ui::TableViewCell>(*h.table, 0, 3);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->textLabel()->text(), Language::get("Jump to a Verse", ""));
  EXPECT_NE(cell->textLabel()->text(), "Jump to a Verse");
  EXPECT_EQ(cell->textLabel()->textAlignment(), ui::TextAlignment::Right);
  h.didSelectRowAtIndexPath(h.table.get(), {0, 11});
  settle(0.5);
  ASSERT_NE(h.answerPage(), nullptr);
  EXPECT_EQ(pageOf(*h.answerPage()), "Pages/ar/search.html");
}

// Every page ships in both languages, and its links to other shipped files
// lead to files that are there.
TEST_F(HelpAboutTest, TheShippedPagesExistInBothLanguagesAndTheirLinksLeadSomewhere) {
  fs::path built = ns::builtResourceDirectory();
  std::set<std::string> pages;
  for (const auto& entry : fs::directory_iterator(built / "Pages" / "en")) pages.insert(entry.path().filename());
  for (const char* page : {"index.html", "help.html", "credits.html", "licences.html", "terms.html", "bugs.html",
                           "search.html", "marks.html"})
    EXPECT_TRUE(pages.count(page)) << page;
  // Links within the shipped files: no scheme, up to a fragment or a query.
  std::regex link("href=\"([^\"#?:]+)(?:[#?][^\"]*)?\"");
  for (const char* language : {"en", "ar"})
    for (const auto& page : pages) {
      fs::path file = built / "Pages" / language / page;
      ASSERT_TRUE(fs::exists(file)) << file;
      std::stringstream text;
      text << std::ifstream(file).rdbuf();
      std::string html = text.str();
      EXPECT_NE(html.find("<title>"), std::string::npos) << file;
      EXPECT_EQ(html.find("dir=\"rtl\"") != std::string::npos, std::string(language) == "ar") << file;
      for (std::sregex_iterator m(html.begin(), html.end(), link), end; m != end; ++m) {
        fs::path target = file.parent_path() / (*m)[1].str();
        EXPECT_TRUE(fs::exists(target)) << file.filename() << " (" << language << ") links to " << (*m)[1];
      }
    }
  EXPECT_EQ(infopages::pathOf("credits.html"), "Pages/en/credits.html");
}

TEST_F(HelpAboutTest, AboutShowsTheBuildsVersionAndOpensItsPages) {
  writeInfo("2.5", "77");
  launch();
  auto about = openAbout();
  ASSERT_TRUE(popover->isPopoverVisible());
  EXPECT_EQ(about->lblVersion->text(), "v2.5 (Build 77)");
  EXPECT_EQ(about->lblAbout->text(), "About");
  EXPECT_EQ(about->lblDevelopedBy->text(), "Developed by");
  EXPECT_TRUE(about->btnBack->isHidden()) << "nothing to go back to in the popover";
  EXPECT_EQ(about->contentSizeForViewInPopover(), (cg::Size{320, 476}));

  tapView(*about->btnDisc);
  ASSERT_NE(about->page(), nullptr);
  EXPECT_EQ(pageOf(*about->page()), "Pages/en/index.html");
  about->cancelPressed();  // closes the page, not the About screen
  settle(0.5);
  EXPECT_EQ(about->modalViewController(), nullptr);
  EXPECT_TRUE(popover->isPopoverVisible());
  tapView(*about->btnMakers);
  EXPECT_EQ(pageOf(*about->page()), "Pages/en/help.html");
  about->cancelPressed();
  settle(0.5);

  // The sheet: credits, licences, contact, cancel.
  const std::pair<int, std::string> choices[] = {{0, "Pages/en/credits.html"}, {1, "Pages/en/licences.html"}};
  for (const auto& [button, page] : choices) {
    tapView(*about->btnOskel);
    ASSERT_NE(panel(), nullptr);
    EXPECT_EQ(panel()->numberOfButtons(), 4);
    EXPECT_EQ(panel()->cancelButtonIndex(), 3);
    EXPECT_EQ(panel()->buttonTitleAtIndex(0), "Credits");
    panel()->tapButtonAtIndex(button);
    settle(0.5);
    ASSERT_NE(about->modalViewController(), nullptr);
    EXPECT_EQ(pageOf(*about->page()), page);
    about->cancelPressed();
    settle(0.5);
  }
  // Contact goes to the mail program and leaves the screens as they are.
  tapView(*about->btnOskel);
  panel()->tapButtonAtIndex(AboutViewController::kContact);
  settle(0.5);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "mailto:" + infopages::contactAddress() + "?subject=Zarvel");
  EXPECT_EQ(about->modalViewController(), nullptr);
  EXPECT_TRUE(popover->isPopoverVisible());
  tapView(*about->btnOskel);
  panel()->tapButtonAtIndex(AboutViewController::kCancel);
  settle(0.5);
  EXPECT_EQ(about->modalViewController(), nullptr);
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HelpAboutTest, TheBuildStampsItsVersionAndNumber) {
  std::ifstream in(fs::path(ns::builtResourceDirectory()) / "Info.strings");
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_TRUE(std::regex_search(text.str(), std::regex("\"CFBundleShortVersionString\" = \"[0-9]+\\.[0-9]+\";")));
  EXPECT_TRUE(std::regex_search(text.str(), std::regex("\"CFBundleVersion\" = \"[0-9]+\";")));
}

TEST_F(HelpAboutTest, PickersTickTheStoredRowAndStoreTheChoiceAsText) {
  launch();
  int told = 0;
  auto picker = std::make_shared<DefaultsPickerController>(DefaultsPickerController::List::Theme, [&] { ++told; });
  push(picker);
  auto ticked = [&](int row) {
    auto* cell = cellAt<ui::TableViewCell>(*picker->table, 0, row);
    return cell && cell->accessoryType() == ui::TableViewCellAccessoryType::Checkmark;
  };
  EXPECT_TRUE(defaults().objectForKey("CurrentTheme").isNull());
  EXPECT_TRUE(ticked(0));
  EXPECT_FALSE(ticked(1));
  tapView(*cellAt<ui::TableViewCell>(*picker->table, 0, 1));
  EXPECT_EQ(defaults().objectForKey("CurrentTheme").stringValue(), "1");
  EXPECT_TRUE(ticked(1));
  EXPECT_FALSE(ticked(0));
  EXPECT_EQ(told, 1);
  tapView(*cellAt<ui::TableViewCell>(*picker->table, 0, 1));  // again: stored and told again
  EXPECT_EQ(told, 2);
  EXPECT_EQ(defaults().objectForKey("CurrentTheme").stringValue(), "1");

  auto theme = std::make_shared<ThemeController>();
  auto start = std::make_shared<StartupScreenController>();
  theme->view();
  start->view();
  EXPECT_EQ(theme->title(), "Select Theme");
  EXPECT_EQ(theme->numberOfRowsInSection(theme->table.get(), 0), 2);
  EXPECT_NE(theme->table->tableFooterView(), nullptr);
  EXPECT_EQ(theme->chosenRow(), 1);
  EXPECT_EQ(start->title(), "Startup Screen");
  EXPECT_EQ(start->titleForHeaderInSection(start->table.get(), 0), "Select Startup Screen");
  EXPECT_EQ(start->numberOfRowsInSection(start->table.get(), 0), 4);
  EXPECT_EQ(start->chosenRow(), 0);
}

TEST_F(HelpAboutTest, Pictures) {
  inEveryLook([&](const std::string& name) {
    auto& h = openHelp();
    ASSERT_TRUE(backend().screenshot(picture("help-" + name)));
    h.didSelectRowAtIndexPath(h.table.get(), {0, 3});
    settle(0.3);
    ASSERT_TRUE(backend().screenshot(picture("help-answer-" + name)));
    if (panel()) panel()->tapButtonAtIndex(0);
    h.closeModal();
    settle(0.5);
    auto about = openAbout();
    ASSERT_TRUE(backend().screenshot(picture("about-" + name)));
    about->oskelLogoPressed();
    settle(0.3);
    ASSERT_TRUE(backend().screenshot(picture("about-sheet-" + name)));
    if (panel()) panel()->tapButtonAtIndex(AboutViewController::kCancel);
    popover->dismissPopoverAnimated(false);
    auto theme = push(std::make_shared<ThemeController>());
    ASSERT_TRUE(backend().screenshot(picture("theme-" + name)));
  });
}

}  // namespace
}  // namespace infotest
