#pragma once
// The bookmarks of one group with their texts, read from the store once, so
// that each key typed into the filter narrows them in memory: a bookmark
// matches when its translation, its note or its Arabic text (as drawn, or in
// the standard spelling the search reads) holds the typed text, ignoring case
// and vowel marks. Built and used on the list's worker,
// one at a time; the main thread only hands it on. The records it read may
// be shown (and checked) by the list: it reads nothing of theirs that the
// list changes.
#include <sqlite3.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Classes/core/Bookmark.h"

class BookmarkFilter {
 public:
  // Every bookmark of the group (-1: all groups) with its Arabic text and the
  // reading screen's translation, in list order.
  static std::shared_ptr<BookmarkFilter> load(sqlite3* db, int group);

  int group() const { return group_; }
  // How many bookmarks were read.
  size_t size() const { return entries_.size(); }
  // The records read, to be shown as they are.
  std::vector<BookmarkPtr> records() const;
  // New records of the bookmarks that match (all of them for no text or an
  // empty one). The first text given reads the notes and the standard
  // spellings from the store (user and content databases).
  std::vector<BookmarkPtr> matching(sqlite3* user, sqlite3* content, const std::optional<std::string>& text);

 private:
  struct Entry {
    BookmarkPtr record;
    std::string note;
    // Lower case; the Arabic without marks.
    std::string foldedTranslation, foldedNote, foldedArabic, foldedStandard;
  };
  void fold(sqlite3* user, sqlite3* content);

  int group_ = -1;
  bool folded_ = false;
  std::vector<Entry> entries_;
};
