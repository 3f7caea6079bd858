// ChapterInfo: the search (word pass and full-text pass) and hostile search texts.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "Classes/core/ChapterInfo.h"
#include "Fixtures.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"

namespace {

using Verses = std::set<std::pair<int, int>>;

Verses fixtureVersesWhere(const std::function<bool(const std::string&)>& matches, int trans = 1) {
  Verses verses;
  for (int surah : fixtures::kFixtureSurahs)
    for (int verse = 1; verse <= ChapterInfo::getVersesFromNumber(surah); ++verse)
      if (matches(ns::lowercase(fixtures::verseText(trans, surah, verse)))) verses.insert({surah, verse});
  return verses;
}

Verses containing(const std::string& fragment) {
  return fixtureVersesWhere([&](const std::string& text) { return text.find(fragment) != std::string::npos; });
}

Verses versesOf(const std::vector<SearchResultPtr>& results) {
  Verses verses;
  for (const auto& r : results) verses.insert({r->surah(), r->verse()});
  return verses;
}

void expectSortedAndUnique(const std::vector<SearchResultPtr>& results) {
  for (size_t i = 1; i < results.size(); ++i)
    EXPECT_LT(compareSearchResults(*results[i - 1], *results[i]), 0) << i;
}

class SearchTest : public ::testing::Test {
 protected:
  std::vector<SearchResultPtr> search(const std::string& text, int trans = 1) {
    limit = false;
    return ChapterInfo::getSearchResults(store.content, trans, text, &limit);
  }
  fixtures::Store store;
  bool limit = false;
};

TEST_F(SearchTest, PlainWordMatchesInsideWordsAndAddsFullTextHits) {
  auto results = search("merc");
  EXPECT_EQ(versesOf(results), containing("merc"));  // "mercy" and "merciful"
  expectSortedAndUnique(results);
  EXPECT_FALSE(limit);
  for (const auto& r : results) EXPECT_EQ(r->translator(), 1);

  // The word pass marks the last hit of each surah run.
  auto mercy = search("mercy");
  ASSERT_FALSE(mercy.empty());
  EXPECT_EQ(versesOf(mercy), containing("mercy"));
  EXPECT_TRUE(mercy.back()->IsLastInSection());
  for (size_t i = 0; i + 1 < mercy.size(); ++i)
    EXPECT_EQ(mercy[i]->IsLastInSection(), mercy[i]->surah() != mercy[i + 1]->surah()) << i;
}

TEST_F(SearchTest, BothPassesTogetherReturnMoreThan200AndSetTheFlag) {
  // The word pass takes the first 200 verses (every verse holds "of"); the
  // full-text pass adds the later verses holding both words.
  auto results = search("of mercy");
  Verses expected;
  Verses all = containing("");
  for (auto it = all.begin(); expected.size() < 200; ++it) expected.insert(*it);
  Verses mercy = containing("mercy");
  expected.insert(mercy.begin(), mercy.end());
  EXPECT_GT(expected.size(), 200u);
  EXPECT_EQ(versesOf(results), expected);
  EXPECT_EQ(results.size(), expected.size());
  EXPECT_TRUE(limit);
  expectSortedAndUnique(results);

  // Exactly the 200 of one pass: the flag is set (more than 199).
  EXPECT_EQ(search("verse").size(), 200u);
  EXPECT_TRUE(limit);
  EXPECT_EQ(search("bismi", 10).size(), 200u);
}

TEST_F(SearchTest, OperatorTextRunsOnlyTheFullTextPass) {
  auto results = search("sun OR moon");
  Verses expected = fixtureVersesWhere([](const std::string& t) {
    return t.find(" sun") != std::string::npos || t.find(" moon") != std::string::npos;
  });
  EXPECT_EQ(versesOf(results), expected);
  // "merc*" is a prefix query: only the full-text pass, which matches whole tokens by prefix.
  EXPECT_EQ(versesOf(search("merc*")), containing("merc"));
  // A hyphen makes operator mode: "merc" alone is not a token, so nothing matches.
  EXPECT_TRUE(search("merc -sun").empty());
}

TEST_F(SearchTest, HostileTextsAreAnsweredSanely) {
  ns::LogCapture capture;
  capture.setEcho(false);
  struct Case {
    std::string text;
    Verses expected;
  };
  const Case cases[] = {
      {"'", containing("'")},
      {"o'brien", containing("o'brien")},
      {"%", containing("%")},
      {"_", containing("_")},
      {"\\", containing("\\")},
      {"100% x", containing("100%")},
      {"' OR 1=1 --", {}},
      {"x') OR 1=1 --", {}},
  };
  for (const Case& c : cases) {
    auto results = search(c.text);
    EXPECT_EQ(versesOf(results), c.expected) << c.text;
  }
  for (const char* blank : {"", " ", "   ", "\t\n"}) {
    limit = false;
    EXPECT_TRUE(search(blank).empty());
    EXPECT_FALSE(limit);
  }
  // An unbalanced quote is operator text; the full-text module copes or ends the pass.
  auto quoted = search("\"mercy");
  for (const auto& r : quoted) EXPECT_TRUE(containing("mercy").count({r->surah(), r->verse()}));
}

TEST_F(SearchTest, FiveThousandWordsAreCapped) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "mercy ";
  auto results = search(text);
  EXPECT_EQ(versesOf(results), containing("mercy"));
  // Longer than the engine takes as one LIKE pattern: the words still match.
  std::string pasted;
  for (int i = 0; i < 10000; ++i) pasted += "mercy ";
  EXPECT_EQ(versesOf(search(pasted)), containing("mercy"));
  std::string distinct;
  for (int i = 0; i < 5000; ++i) distinct += ns::format("zz%d ", i);
  EXPECT_TRUE(search(distinct).empty());
}

TEST_F(SearchTest, EmptyWordsMatchNothingByThemselves) {
  Verses mercyOrLight = containing("mercy");
  Verses light = containing("light");
  mercyOrLight.insert(light.begin(), light.end());
  ASSERT_LT(mercyOrLight.size(), 200u);
  const std::pair<const char*, Verses> cases[] = {
      {" mercy", containing("mercy")},
      {"mercy ", containing("mercy")},
      {"  mercy  ", containing("mercy")},
      {"mercy  light", mercyOrLight},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(versesOf(search(text)), expected) << '"' << text << '"';
}

TEST_F(SearchTest, TermsBeyondTheCapAreIgnoredByBothPasses) {
  // Sixteen terms, then one no verse holds: the full-text pass would match nothing if it got it.
  std::string spaced, punctuated;
  for (int i = 0; i < 16; ++i) {
    spaced += "mercy ";
    punctuated += "mercy,";
  }
  spaced += "zzz";
  punctuated += "zzz";
  EXPECT_EQ(versesOf(search(spaced)), containing("mercy"));
  EXPECT_EQ(versesOf(search(punctuated)), containing("mercy"));  // one word for the word pass, 17 terms for the other
  // A megabyte without a term break, and one of separators only.
  EXPECT_TRUE(search(std::string(1 << 20, 'm')).empty());
  EXPECT_TRUE(search(std::string(1 << 20, ',')).empty());
}

// Capitals of other scripts fold as the verse text does.
TEST(SearchCaseFolding, UnicodeCapitalsFindWhatLowerCaseFinds) {
  std::string path = fixtures::makeTempDir() + "/folding.db";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  fixtures::exec(db,
                 "CREATE VIRTUAL TABLE trans13fts USING fts4 (surah, verse, translation);"
                 "INSERT INTO trans13fts VALUES ('1', '1', 'Милость Аллаха'), ('1', '2', 'он милостив'),"
                 " ('1', '3', 'Έλεος και ΕΙΡΗΝΗ'), ('1', '4', 'L''École du soir'), ('1', '5', 'plain words');");
  using V = Verses;
  const std::pair<const char*, V> cases[] = {
      {"милост", V{{1, 1}, {1, 2}}}, {"МИЛОСТ", V{{1, 1}, {1, 2}}}, {"Милость", V{{1, 1}}},
      {"έλεος", V{{1, 3}}},          {"ΈΛΕΟΣ", V{{1, 3}}},          {"ειρηνη", V{{1, 3}}},
      {"école", V{{1, 4}}},          {"ÉCOLE", V{{1, 4}}},          {"PLAIN", V{{1, 5}}},
  };
  for (const auto& [text, expected] : cases) {
    bool limit = false;
    EXPECT_EQ(versesOf(ChapterInfo::getSearchResults(db, 13, text, &limit)), expected) << text;
  }
  sqlite3_close(db);
}

TEST_F(SearchTest, EmptyValuesAndFailures) {
  limit = true;
  EXPECT_TRUE(ChapterInfo::getSearchResults(store.content, -1, "mercy", &limit).empty());
  EXPECT_TRUE(limit);  // never cleared by the search

  ns::LogCapture capture;
  capture.setEcho(false);
  EXPECT_TRUE(search("mercy", 99).empty());
  EXPECT_TRUE(capture.contains("[getSearchResults] Error: failed to prepare statement with message 'no such table: trans99fts', SQL: SELECT"));
}

TEST(SearchResultOrder, ComparesSurahThenVerse) {
  auto make = [](int s, int v) {
    SearchResult r;
    r.setSurah(s);
    r.setVerse(v);
    return r;
  };
  EXPECT_LT(compareSearchResults(make(1, 9), make(2, 1)), 0);
  EXPECT_GT(compareSearchResults(make(2, 10), make(2, 9)), 0);
  EXPECT_EQ(compareSearchResults(make(3, 3), make(3, 3)), 0);
}

}  // namespace
