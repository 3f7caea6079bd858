#include "Classes/bookmarks/BookmarkFilter.h"

#include <algorithm>
#include <utility>

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Database.h"
#include "Classes/core/String+More.h"
#include "platform/foundation/String.h"

namespace {

using Verse = std::pair<int, int>;

// Where a verse is in the sorted, unique list, or the list's end.
size_t indexOf(const std::vector<Verse>& verses, Verse verse) {
  auto at = std::lower_bound(verses.begin(), verses.end(), verse);
  return at != verses.end() && *at == verse ? size_t(at - verses.begin()) : verses.size();
}

// The standard spellings of the verses (sorted, unique), read in one pass
// over the search table: it has no index on the verse, so a look-up per
// bookmark would read all of it once per bookmark.
std::vector<std::string> standardSpellings(sqlite3* content, const std::vector<Verse>& verses) {
  std::vector<std::string> texts(verses.size());
  if (!content || verses.empty()) return texts;
  store::Guard guard(store::lock());
  store::Statement q(content, "SELECT surah, verse, translation FROM trans0fts", nullptr);
  while (q && q.next())
    if (size_t i = indexOf(verses, {q.columnInt(0), q.columnInt(1)}); i < verses.size()) texts[i] = q.columnTextOr(2, "");
  return texts;
}

// The notes of the verses (sorted, unique) in one statement: for each verse
// the note of its first bookmark, as a look-up by surah and verse finds it.
std::vector<std::string> notesOf(sqlite3* user, const std::vector<Verse>& verses) {
  std::vector<std::string> notes(verses.size());
  if (!user || verses.empty()) return notes;
  store::Guard guard(store::lock());
  store::Statement q(user, "SELECT surah, verse, note FROM bookmarks ORDER BY surah, verse, is_audio", "notesOf");
  std::optional<Verse> last;
  while (q && q.next()) {
    Verse verse{q.columnInt(0), q.columnInt(1)};
    if (verse == last) continue;
    last = verse;
    if (size_t i = indexOf(verses, verse); i < verses.size()) notes[i] = q.columnTextOr(2, "");
  }
  return notes;
}

// ns::lowercase of the text, without Arabic vowel marks if asked (as
// ns::cleanArabicAccents leaves it), in one pass: ASCII and the Arabic block,
// which has no case, are copied as they are; a run of other characters goes
// through the general functions.
std::string folded(std::string_view text, bool withoutMarks) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    unsigned char b = byte(i);
    if (b < 0x80) {
      out += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
      ++i;
    } else if (b >= 0xD8 && b <= 0xDB && i + 1 < text.size() && (byte(i + 1) & 0xC0) == 0x80) {
      char32_t c = (char32_t(b & 0x1F) << 6) | (byte(i + 1) & 0x3F);
      if (!withoutMarks || !ns::isArabicAccent(c)) out.append(text.substr(i, 2));
      i += 2;
    } else {
      // Up to the next ASCII byte, which always starts a character of its own.
      size_t end = i + 1;
      while (end < text.size() && byte(end) >= 0x80) ++end;
      std::string_view run = text.substr(i, end - i);
      out += ns::lowercase(withoutMarks ? ns::cleanArabicAccents(run) : std::string(run));
      i = end;
    }
  }
  return out;
}

}  // namespace

std::shared_ptr<BookmarkFilter> BookmarkFilter::load(sqlite3* db, int group) {
  auto filter = std::make_shared<BookmarkFilter>();
  filter->group_ = group;
  for (BookmarkPtr& bookmark : ChapterInfo::getAllBookmarks(db, false, group, std::nullopt))
    filter->entries_.push_back({std::move(bookmark), {}, {}, {}, {}, {}});
  return filter;
}

std::vector<BookmarkPtr> BookmarkFilter::records() const {
  std::vector<BookmarkPtr> out;
  out.reserve(entries_.size());
  for (const Entry& e : entries_) out.push_back(e.record);
  return out;
}

// The texts the filter compares, made once, at the first text typed after a
// load: each store read covers every bookmark in one statement.
void BookmarkFilter::fold(sqlite3* user, sqlite3* content) {
  folded_ = true;
  std::vector<Verse> verses;
  verses.reserve(entries_.size());
  for (const Entry& e : entries_) verses.emplace_back(e.record->surah(), e.record->verse());
  std::sort(verses.begin(), verses.end());
  verses.erase(std::unique(verses.begin(), verses.end()), verses.end());
  std::vector<std::string> standard = standardSpellings(content, verses);
  std::vector<std::string> notes = notesOf(user, verses);
  for (Entry& e : entries_) {
    const Bookmark& b = *e.record;
    size_t i = indexOf(verses, {b.surah(), b.verse()});
    if (b.hasNote()) e.note = notes[i];
    e.foldedTranslation = folded(b.Translation(), false);
    e.foldedNote = folded(e.note, false);
    e.foldedArabic = folded(b.ArabicVerse(), true);
    e.foldedStandard = folded(standard[i], false);
  }
}

std::vector<BookmarkPtr> BookmarkFilter::matching(sqlite3* user, sqlite3* content,
                                                  const std::optional<std::string>& text) {
  std::vector<BookmarkPtr> out;
  bool filtering = text && !text->empty();
  if (filtering && !folded_) fold(user, content);
  // The verse texts have no vowel marks: a text typed with them is compared without them.
  std::string needle = filtering ? ns::lowercase(*text) : std::string();
  std::string bareNeedle = filtering ? ns::lowercase(ns::cleanArabicAccents(*text)) : std::string();
  for (const Entry& e : entries_) {
    bool arabic = !bareNeedle.empty() &&
                  (ns::contains(e.foldedArabic, bareNeedle) || ns::contains(e.foldedStandard, bareNeedle));
    if (filtering && !ns::contains(e.foldedTranslation, needle) && !ns::contains(e.foldedNote, needle) && !arabic)
      continue;
    // A record of its own: only what the list never changes is read.
    const Bookmark& b = *e.record;
    auto copy = std::make_shared<Bookmark>();
    copy->setSurah(b.surah());
    copy->setVerse(b.verse());
    copy->setIsAudio(b.isAudio());
    copy->setHasNote(b.hasNote());
    copy->setBookmarkGroup(b.BookmarkGroup());
    copy->setHasExtraDetails(b.HasExtraDetails());
    copy->setArabicVerse(b.ArabicVerse());
    copy->setTranslation(b.Translation());
    copy->setBookmarkedNote(e.note);
    out.push_back(std::move(copy));
  }
  return out;
}
