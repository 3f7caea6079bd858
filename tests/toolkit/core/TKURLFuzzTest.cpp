// Random and hostile URLs, queries and markup fed to the parsers, the URL map
// and the navigator: nothing crashes, nothing leaves but what the URL opener
// allows.
#include <gtest/gtest.h>

#include <random>

#include "platform/foundation/Clock.h"
#include "platform/services/URLOpener.h"
#include "platform/ui/Window.h"
#include "tests/toolkit/core/TKTestClasses.h"
#include "toolkit/core/String+TKCategory.h"
#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/View+TKCategory.h"

using namespace tktest;

namespace {

const char* const kHostile[] = {
    "", "#", "##", "?", "&", "=", ";", "%", "%%", "%0", "%zz", "%00", "(", ")", "()", "(:)", "://", ":", "//",
    "tt:", "tt://", "tt:///", "tt://#", "tt://?", "tt://item/", "tt://item//", "tt://item/(initWithItem)",
    "tt://item/999999999999999999999999", "tt://item/-2147483649", "tt://search/x?&&==;;%=%",
    "tt://search/%FF%FE?%C0%80=1", "tt://shared#highlight#close", "tt://x#initWithItem:", "#initWithItem:",
    "#close", "mailto:", "mailto:a@b.c?subject=%0A%0D", "http://[::1", "http://[", "http://@", "http://a:b@",
    "http://host:99999999", "javascript:alert(1)", "file:///etc/passwd", "data:text/html,<b>", "\x01\x02",
    "tt://\xC3\xA9", "a=1&b&c=2=3;d=%20x", "<b>&amp;&#xD800;&#99999999;<!--", "&#x;", "&;", "<![CDATA[x",
    "zarvel://2:255", "tt://make/1e9", "tt://doc#17", "tt://item/1/2/3/4/5/6/7/8/9",
};

std::string randomText(std::mt19937& rng) {
  static const std::string pieces[] = {"tt", "://", "item", "/", "?", "&", "=", "#", "%", "(", ")", ":", ";",
                                       "search", "shared", "highlight", "1", "-", "%20", "%FF", "http", "mailto",
                                       "@", "[", "]", " ", "\n", "\xC3", "\xA9", "<", ">", "&amp;", "doc", "make"};
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  std::string s;
  for (int i = length(rng); i > 0; --i) s += pieces[pick(rng)];
  return s;
}

TEST(TKURLFuzzTest, RandomAndHostileInputsAreHandled) {
  registerTestClasses();
  auto clock = ns::VirtualClock::install();
  std::vector<std::string> launched;
  ui::URLOpener::setLauncher([&](const std::string& url) {
    launched.push_back(url);
    return true;
  });
  TKNavigator::setNavigator(std::make_unique<TKNavigator>());
  auto window = std::make_shared<ui::Window>(cg::Rect(0, 0, 1024, 768));
  window->makeKeyAndVisible();
  TKNavigator& nav = TKNavigator::navigator();
  TKURLMap& map = nav.URLMap();
  map.fromToViewController("tt://item/(initWithItem)", "ItemController");
  map.fromToSharedViewController("tt://shared", "ItemController");
  map.fromToViewController("tt://search/(searchFor)", "ItemController");
  map.fromToObject("tt://make/(make)", TKURLTarget::forClass("Item"));
  map.fromToViewController("tt://doc#(initWithItem)", "ItemController");
  map.fromToURL("Item", "tt://item/(itemId)?owner=(owner.name)");
  auto target = std::make_shared<ItemController>();

  std::mt19937 rng(20261210);
  std::vector<std::string> inputs(std::begin(kHostile), std::end(kHostile));
  for (int i = 0; i < 20000; ++i) inputs.push_back(randomText(rng));

  for (const std::string& text : inputs) {
    ns::queryDictionary(text);
    ns::stringByAddingQueryDictionary(text, ns::queryDictionary(text));
    ns::stringByRemovingHTMLTags(text);
    ui::frameOfElementFromAnswer(text);
    if (auto url = TKURL::parse(text)) url->pathComponents();
    std::shared_ptr<TKURLNavigatorPattern> pattern;
    map.objectForURL(text, nullptr, &pattern);
    map.navigationModeForURL(text);
    map.transitionForURL(text);
    map.dispatchURL(text, target.get(), nullptr);
    ns::Dictionary query{{text, text}};
    nav.openURL(text, "", &query, nullptr, false, 0, false);

    // A pattern made of the text registers and matches without harm.
    TKURLMap scratch;
    scratch.fromToViewController(text, "ItemController");
    scratch.fromToURL("Item", text);
    scratch.objectForURL(text);
    Item item;
    item.owner = std::make_shared<Person>();
    item.owner->name = text;
    scratch.URLForObject(item);
    EXPECT_EQ(map.URLForObject(item).find(' '), std::string::npos);
  }
  EXPECT_EQ(target->closes, 0);  // never reached through a fragment
  for (const std::string& url : launched) EXPECT_TRUE(ui::URLOpener::canOpenURL(url)) << url;

  TKNavigator::setNavigator(nullptr);
  ui::URLOpener::setLauncher(nullptr);
}

}  // namespace
