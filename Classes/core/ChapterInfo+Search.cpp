// ChapterInfo: the search over one translation (or the Arabic text).
#include <algorithm>
#include <unordered_set>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"

namespace {

// Word terms beyond this many are ignored: a pasted essay must not build a giant statement.
constexpr size_t kMaxSearchWords = 16;

bool isOperatorSearch(const std::string& text) {
  for (const char* op : {" OR ", " AND "})
    if (ns::contains(text, op, /*caseInsensitive=*/true)) return true;
  return text.find_first_of("\"*-+") != std::string::npos;
}

// A LIKE pattern matching the text anywhere, with the wildcard and escape characters taken literally.
// Lower-cased as the engine's lower() does (ASCII only), which the statement applies to the verse.
std::string likeAnywhere(const std::string& text) {
  std::string pattern = "%";
  for (char c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern + "%";
}

// The word pass's LIKE patterns: each non-empty word, then the whole text.
// A pattern longer than the engine accepts would fail the whole pass, so it is
// left out (no verse is that long).
std::vector<std::string> wordPatterns(const std::string& text, size_t maxPatternLength) {
  std::vector<std::string> patterns;
  auto add = [&](const std::string& part) {
    std::string pattern = likeAnywhere(part);
    if (pattern.size() <= maxPatternLength) patterns.push_back(std::move(pattern));
  };
  for (const std::string& word : ns::componentsSeparatedByString(text, " ")) {
    if (word.empty()) continue;
    if (patterns.size() == kMaxSearchWords) break;
    add(word);
  }
  add(text);
  return patterns;
}

// Collects the rows of one pass, marking the last hit of each surah run.
class PassCollector {
 public:
  PassCollector(std::vector<SearchResultPtr>& results, int trans) : results_(results), trans_(trans) {}
  void add(int surah, int verse) {
    if (last_ && last_->surah() != surah) last_->setIsLastInSection(true);
    auto hit = std::make_shared<SearchResult>();
    hit->setSurah(surah);
    hit->setVerse(verse);
    hit->setTranslator(trans_);
    results_.push_back(hit);
    last_ = hit;
  }
  void finish() {
    if (last_) last_->setIsLastInSection(true);
  }

 private:
  std::vector<SearchResultPtr>& results_;
  int trans_;
  SearchResultPtr last_;
};

long long verseKey(int surah, int verse) { return (static_cast<long long>(surah) << 32) | static_cast<unsigned>(verse); }

void logSearchPrepareFailure(const store::Statement& q, const std::string& sql) {
  ns::logf("[getSearchResults] Error: failed to prepare statement with message '%s', SQL: %s", q.error().c_str(),
           sql.c_str());
}

}  // namespace

std::vector<SearchResultPtr> ChapterInfo::getSearchResults(sqlite3* db, int trans, const std::string& text,
                                                           bool* limitReached) {
  store::Guard guard(store::lock());
  std::vector<SearchResultPtr> results;
  if (trans < 0 || ns::trim(text).empty()) return results;

  std::unordered_set<long long> wordPassKeys;
  if (!isOperatorSearch(text)) {
    int likeLimit = db ? sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1) : 0;
    std::vector<std::string> patterns = wordPatterns(text, static_cast<size_t>(likeLimit));
    std::string condition = " LIKE '$+qwertyuiop+$' ";
    for (size_t i = 0; i < patterns.size(); ++i) condition += " OR lower(translation) LIKE ? ESCAPE '\\' ";
    std::string table = trans == 10 ? std::string("transliterationdata") : ns::format("trans%ifts", trans);
    std::string sql = "SELECT surah, verse FROM " + table + " WHERE translation " + condition +
                      " ORDER BY CAST(surah AS INTEGER), CAST(verse AS INTEGER) LIMIT 200";
    store::Statement q(db, sql, nullptr);
    if (!q) {
      logSearchPrepareFailure(q, sql);
      return results;
    }
    for (size_t i = 0; i < patterns.size(); ++i)
      sqlite3_bind_text(q.handle(), static_cast<int>(i + 1), patterns[i].c_str(), -1, SQLITE_TRANSIENT);
    PassCollector pass(results, trans);
    while (q.next()) {
      int surah = q.columnInt(0), verse = q.columnInt(1);
      pass.add(surah, verse);
      wordPassKeys.insert(verseKey(surah, verse));
    }
    pass.finish();
  }

  std::string sql = ns::format(
      "SELECT surah, verse FROM trans%ifts WHERE trans%ifts MATCH ? ORDER BY CAST(surah AS INTEGER), "
      "CAST(verse AS INTEGER) LIMIT 200",
      trans, trans);
  store::Statement q(db, sql, nullptr);
  if (!q) {
    logSearchPrepareFailure(q, sql);
    return results;
  }
  q.bind(text);
  PassCollector pass(results, trans);
  // Text the full-text module cannot parse fails at the step and simply ends the pass.
  while (q.next()) {
    int surah = q.columnInt(0), verse = q.columnInt(1);
    if (wordPassKeys.count(verseKey(surah, verse))) continue;
    pass.add(surah, verse);
  }
  pass.finish();

  if (results.size() > 199 && limitReached) *limitReached = true;
  std::stable_sort(results.begin(), results.end(), [](const SearchResultPtr& a, const SearchResultPtr& b) {
    return compareSearchResults(*a, *b) < 0;
  });
  return results;
}
