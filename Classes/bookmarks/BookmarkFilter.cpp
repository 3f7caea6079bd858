#include "Classes/bookmarks/BookmarkFilter.h"

#include "Classes/core/ChapterInfo.h"
#include "Classes/core/String+More.h"
#include "platform/foundation/String.h"

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

// The texts the filter compares, made once: reading the notes and folding
// every text costs more than all the keys typed after.
void BookmarkFilter::fold(sqlite3* user, sqlite3* content) {
  folded_ = true;
  for (Entry& e : entries_) {
    const Bookmark& b = *e.record;
    if (b.hasNote() && user) e.note = ChapterInfo::getBookmarkNote(user, b.surah(), b.verse());
    e.foldedTranslation = ns::lowercase(b.Translation());
    e.foldedNote = ns::lowercase(e.note);
    e.foldedArabic = ns::lowercase(ns::cleanArabicAccents(b.ArabicVerse()));
    if (content) e.foldedStandard = ns::lowercase(ChapterInfo::getTranslationFor(content, 0, b.surah(), b.verse()));
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
