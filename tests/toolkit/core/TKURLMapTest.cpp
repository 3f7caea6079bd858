// URL patterns and the URL map: parsing, specificity, matching, typed
// arguments, shared objects, fragments, URL classes and generated URLs.
#include <gtest/gtest.h>

#include "tests/toolkit/core/TKTestClasses.h"
#include "toolkit/core/String+TKCategory.h"
#include "toolkit/core/TKURLMap.h"

using namespace tktest;

namespace {

class TKURLMapTest : public ::testing::Test {
 protected:
  void SetUp() override { registerTestClasses(); }
  template <typename T>
  std::shared_ptr<T> object(const std::string& url, const ns::Dictionary* query = nullptr) {
    return std::dynamic_pointer_cast<T>(map.objectForURL(url, query));
  }
  TKURLMap map;
};

TEST(TKURLPatternTest, ParsingComponents) {
  struct Case {
    const char* text;
    bool wildcard;
    const char* name;
    int specificity;
  } cases[] = {
      {"(name)", true, "name", 1}, {"(name:)", true, "name", 1}, {"()", true, "", 1},
      {"(a)", true, "a", 1},       {"(:)", true, ":", 1},        {"name", false, "name", 2},
      {"(", false, "(", 2},        {"(x", false, "(x", 2},       {"x)", false, "x)", 2},
  };
  for (const auto& c : cases) {
    TKURLNavigatorPattern pattern;
    auto component = pattern.parseText(c.text);
    EXPECT_EQ(component->isWildcard(), c.wildcard) << c.text;
    EXPECT_EQ(component->name(), c.name) << c.text;
    EXPECT_EQ(pattern.specificity(), c.specificity) << c.text;
  }
}

TEST_F(TKURLMapTest, TheMoreSpecificPatternWinsAndWildcardsAreTyped) {
  map.fromToViewController("tt://item/(initWithItem)", "ItemController");
  map.fromToViewController("tt://item/item", "ItemController");

  auto literal = object<ItemController>("tt://item/item");
  ASSERT_TRUE(literal);
  EXPECT_TRUE(literal->viaNavigatorURL);
  EXPECT_EQ(literal->itemId, -1);

  auto wildcard = object<ItemController>("tt://item/42");
  ASSERT_TRUE(wildcard);
  EXPECT_FALSE(wildcard->viaNavigatorURL);
  EXPECT_EQ(wildcard->itemId, 42);
  EXPECT_EQ(object<ItemController>("tt://item/x")->itemId, 0);  // not a number: the platform's 0

  EXPECT_FALSE(map.objectForURL("tt://item/1/2"));  // a component too many
  EXPECT_FALSE(map.objectForURL("other://item/1"));
  EXPECT_EQ(map.navigationModeForURL("tt://item/1"), TKNavigationModeCreate);
}

TEST_F(TKURLMapTest, HostOnlyURLsAndFragmentsMustAgree) {
  map.fromToViewController("tt://home", "ItemController");
  EXPECT_TRUE(object<ItemController>("tt://home"));
  EXPECT_TRUE(object<ItemController>("tt://home/"));
  EXPECT_FALSE(map.objectForURL("tt://home/more"));
  EXPECT_FALSE(map.objectForURL("tt://home#top"));  // the URL has a fragment, the pattern none

  map.fromToViewController("tt://page/(initWithItem)#(section)", "ItemController");
  EXPECT_FALSE(map.objectForURL("tt://page/3"));  // the pattern has a fragment, the URL none
}

TEST_F(TKURLMapTest, SharedObjectsComeBackWhileAlive) {
  map.fromToSharedViewController("tt://shared", "ItemController");
  auto first = object<ItemController>("tt://shared");
  ASSERT_TRUE(first);
  EXPECT_EQ(object<ItemController>("tt://shared"), first);
  ItemController* old = first.get();
  first.reset();  // the map does not keep it
  auto again = object<ItemController>("tt://shared");
  ASSERT_TRUE(again);
  (void)old;

  auto item = std::make_shared<Item>();
  map.setObjectForURL(item, "tt://nopattern");
  EXPECT_EQ(map.objectForURL("tt://nopattern"), item);
  std::shared_ptr<TKURLNavigatorPattern> pattern;
  EXPECT_FALSE(map.objectForURL("tt://nopattern", nullptr, &pattern));  // the navigator asks with a pattern
  map.removeObjectForURL("tt://nopattern");
  EXPECT_FALSE(map.objectForURL("tt://nopattern"));
}

TEST_F(TKURLMapTest, QueryLeftoversBecomeTheLastArgument) {
  map.fromToViewController("tt://search/(searchFor)", "ItemController");
  ns::Dictionary extra{{"from", "caller"}};
  auto c = object<ItemController>("tt://search/abc%20d?x=1&y=two", &extra);
  ASSERT_TRUE(c);
  EXPECT_EQ(c->search, "abc d");
  EXPECT_EQ(c->leftovers, (ns::Dictionary{{"from", "caller"}, {"x", "1"}, {"y", "two"}}));
}

TEST_F(TKURLMapTest, ClassMethodsAndUnknownSelectors) {
  map.fromToObject("tt://make/(make)", TKURLTarget::forClass("Item"));
  auto made = object<Item>("tt://make/9");
  ASSERT_TRUE(made);
  EXPECT_EQ(made->itemId, 9);

  // No registered selector: nothing is called and nothing is created.
  map.fromToObject("tt://nothing/(unknownSelector)", TKURLTarget::forClass("Item"));
  EXPECT_FALSE(map.objectForURL("tt://nothing/1"));
  map.fromToViewController("tt://ghost", "NoSuchClass");
  EXPECT_FALSE(map.objectForURL("tt://ghost"));
}

TEST_F(TKURLMapTest, FragmentsRunOnlyRegisteredActions) {
  auto target = std::make_shared<ItemController>();
  for (const char* url : {"tt://x#close", "tt://x#highlight", "tt://x#initWithItem:", "tt://x#", "tt://x"})
    map.dispatchURL(url, target.get(), nullptr);
  EXPECT_EQ(target->highlights, 1);
  EXPECT_EQ(target->closes, 0);
  EXPECT_EQ(target->itemId, -1);

  // A fragment pattern calls its selector with the fragment as argument.
  map.fromToViewController("tt://doc#(initWithItem)", "ItemController");
  map.dispatchURL("tt://doc#17", target.get(), nullptr);
  EXPECT_EQ(target->itemId, 17);
}

TEST_F(TKURLMapTest, URLClasses) {
  struct Case {
    const char* url;
    bool web, app;
  } cases[] = {
      {"http://example.com", true, false},  {"https://example.com/a", true, false},
      {"mailto:a@example.com", false, true}, {"zarvel://2:255", false, false},  // the system would not open it
      {"ftp://example.com", true, false},   {"http://itunes.apple.com/app", true, true},
  };
  for (const auto& c : cases) {
    auto url = TKURL::parse(c.url);
    ASSERT_TRUE(url) << c.url;
    EXPECT_EQ(map.isWebURL(*url), c.web) << c.url;
    EXPECT_EQ(map.isAppURL(*url), c.app) << c.url;
  }
  // A scheme a pattern registered belongs to this application.
  map.fromToObject("mailto://(make)", TKURLTarget::forClass("Item"));
  EXPECT_TRUE(map.isSchemeSupported("mailto"));
  EXPECT_FALSE(map.isAppURL(*TKURL::parse("mailto:a@example.com")));
  EXPECT_EQ(map.navigationModeForURL("nonsense with spaces"), TKNavigationModeExternal);
}

TEST_F(TKURLMapTest, GeneratedURLsFollowTheClassChain) {
  map.fromToURL("Item", "tt://item/(itemId)?owner=(owner.name)&w=(weight)");
  map.fromToURL("Item", "tt://named/(itemId)", "short");
  auto special = std::make_shared<SpecialItem>();
  special->itemId = 5;
  special->weight = 1.5;
  special->owner = std::make_shared<Person>();
  special->owner->name = "Ann Lee&Co";
  EXPECT_EQ(map.URLForObject(*special), "tt://item/5?owner=Ann%20Lee%26Co&w=1.500000");
  EXPECT_EQ(map.URLForObject(*special, "short"), "tt://named/5");
  EXPECT_EQ(map.URLForObject(*special, "other"), "");
  EXPECT_EQ(map.URLForObject(Person()), "");

  // What was generated reads back through a pattern.
  auto url = TKURL::parse(map.URLForObject(*special));
  ASSERT_TRUE(url);
  EXPECT_EQ(ns::queryDictionary(url->query)["owner"], ns::Value("Ann Lee&Co"));
}

}  // namespace
