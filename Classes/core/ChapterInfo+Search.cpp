// ChapterInfo: the search over one translation (or the Arabic text).
#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/String.h"

namespace {

// Word terms beyond this many are ignored: a pasted essay must not build a giant
// statement. The full-text pass gets as many terms, in at most kMaxFullTextBytes:
// its cost grows faster than linearly with the terms, all of it under the store lock.
constexpr size_t kMaxSearchWords = 16;
constexpr size_t kMaxFullTextBytes = 1024;

// The function the word pass folds the verse text with, as likeAnywhere folds the words.
constexpr char kFoldFunction[] = "foldcase";

bool isOperatorSearch(const std::string& text) {
  for (const char* op : {" OR ", " AND "})
    if (ns::contains(text, op, /*caseInsensitive=*/true)) return true;
  return text.find_first_of("\"*-+") != std::string::npos;
}

// Folds case with the foundation's Unicode case mapping, final sigma folding with
// sigma (a capital word has no final form); ASCII text takes a short cut.
std::string foldCase(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      folded.clear();
      for (char32_t u : ns::utf8ToUtf32(text)) {
        u = ns::toLower(u);
        ns::appendUtf8(folded, u == 0x3C2 ? 0x3C3 : u);
      }
      return folded;
    }
    folded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return folded;
}

// The word pass folds the same verse once per term: the last verse folded is kept.
void foldCaseFunction(sqlite3_context* context, int, sqlite3_value** args) {
  thread_local std::string lastText, lastFolded;
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
  if (!text) {
    sqlite3_result_null(context);
    return;
  }
  std::string_view verse(text, static_cast<size_t>(sqlite3_value_bytes(args[0])));
  if (verse != lastText) {
    lastText.assign(verse);
    lastFolded = foldCase(verse);
  }
  sqlite3_result_text(context, lastFolded.data(), static_cast<int>(lastFolded.size()), SQLITE_TRANSIENT);
}

// A LIKE pattern matching the text anywhere, with the wildcard and escape characters
// taken literally, folded as the statement folds the verse.
std::string likeAnywhere(const std::string& text) {
  std::string pattern = "%";
  for (char c : foldCase(text)) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern + "%";
}

// The text the full-text pass receives: the typed text up to its
// (kMaxSearchWords + 1)th term and at most kMaxFullTextBytes long, cut between
// characters. A term is a run of letters and digits, as the module's tokenizer
// splits (every byte of a non-ASCII character counts as a letter).
std::string fullTextQuery(const std::string& text) {
  size_t end = std::min(text.size(), kMaxFullTextBytes);
  while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  size_t terms = 0;
  bool inTerm = false;
  for (size_t i = 0; i < end; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool termByte = c >= 0x80 || std::isalnum(c);
    if (termByte && !inTerm && ++terms > kMaxSearchWords) return text.substr(0, i);
    inTerm = termByte;
  }
  return text.substr(0, end);
}

// The word pass's LIKE patterns: the first kMaxSearchWords non-empty words, then
// the whole text. An empty word would match every verse.
std::vector<std::string> wordPatterns(const std::string& text) {
  std::vector<std::string> patterns;
  for (const std::string& word : ns::componentsSeparatedByString(text, " ")) {
    if (word.empty()) continue;
    if (patterns.size() == kMaxSearchWords) break;
    patterns.push_back(likeAnywhere(word));
  }
  patterns.push_back(likeAnywhere(text));
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

// Prepares the word pass, first giving the connection the folding function when it lacks it.
void prepareWordPass(sqlite3* db, const std::string& sql, std::optional<store::Statement>& q) {
  q.emplace(db, sql, nullptr);
  if (!*q && db && ns::hasPrefix(q->error(), std::string("no such function: ") + kFoldFunction)) {
    sqlite3_create_function(db, kFoldFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                            foldCaseFunction, nullptr, nullptr);
    q.emplace(db, sql, nullptr);
  }
}

}  // namespace

std::vector<SearchResultPtr> ChapterInfo::getSearchResults(sqlite3* db, int trans, const std::string& text,
                                                           bool* limitReached) {
  std::vector<SearchResultPtr> results;
  if (trans < 0 || ns::trim(text).empty()) return results;
  // The texts are built before the lock is taken: a pasted megabyte costs nobody else.
  const bool wordPass = !isOperatorSearch(text);
  std::vector<std::string> patterns;
  if (wordPass) patterns = wordPatterns(text);
  const std::string query = fullTextQuery(text);

  store::Guard guard(store::lock());
  std::unordered_set<long long> wordPassKeys;
  if (wordPass) {
    // A pattern longer than the engine accepts would fail the whole pass: no verse is that long.
    size_t likeLimit = db ? static_cast<size_t>(sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1)) : 0;
    std::erase_if(patterns, [likeLimit](const std::string& pattern) { return pattern.size() > likeLimit; });
    std::string condition = " LIKE '$+qwertyuiop+$' ";
    for (size_t i = 0; i < patterns.size(); ++i)
      condition += ns::format(" OR %s(translation) LIKE ? ESCAPE '\\' ", kFoldFunction);
    std::string table = trans == 10 ? std::string("transliterationdata") : ns::format("trans%ifts", trans);
    std::string sql = "SELECT surah, verse FROM " + table + " WHERE translation " + condition +
                      " ORDER BY CAST(surah AS INTEGER), CAST(verse AS INTEGER) LIMIT 200";
    std::optional<store::Statement> q;
    prepareWordPass(db, sql, q);
    if (!*q) {
      logSearchPrepareFailure(*q, sql);
      return results;
    }
    for (size_t i = 0; i < patterns.size(); ++i)
      sqlite3_bind_text(q->handle(), static_cast<int>(i + 1), patterns[i].c_str(), -1, SQLITE_TRANSIENT);
    PassCollector pass(results, trans);
    while (q->next()) {
      int surah = q->columnInt(0), verse = q->columnInt(1);
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
  q.bind(query);
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
