#pragma once
// A bookmark, or a surah section row of the bookmarks list.
#include <memory>
#include <string>
#include <vector>

class Bookmark;
using BookmarkPtr = std::shared_ptr<Bookmark>;

class Bookmark {
 public:
  int surah() const { return surah_; }
  void setSurah(int v) { surah_ = v; }
  int verse() const { return verse_; }
  void setVerse(int v) { verse_ = v; }
  bool isAudio() const { return isAudio_; }
  void setIsAudio(bool v) { isAudio_ = v; }
  bool hasNote() const { return hasNote_; }
  void setHasNote(bool v) { hasNote_ = v; }
  int BookmarkGroup() const { return BookmarkGroup_; }
  void setBookmarkGroup(int v) { BookmarkGroup_ = v; }
  int SectionBookmarkCount() const { return SectionBookmarkCount_; }
  void setSectionBookmarkCount(int v) { SectionBookmarkCount_ = v; }
  bool HasExtraDetails() const { return HasExtraDetails_; }
  void setHasExtraDetails(bool v) { HasExtraDetails_ = v; }
  const std::string& ArabicVerse() const { return ArabicVerse_; }
  void setArabicVerse(std::string v) { ArabicVerse_ = std::move(v); }
  // Empty when no translation is shown.
  const std::string& Translation() const { return Translation_; }
  void setTranslation(std::string v) { Translation_ = std::move(v); }
  const std::string& BookmarkedNote() const { return BookmarkedNote_; }
  void setBookmarkedNote(std::string v) { BookmarkedNote_ = std::move(v); }
  // A section row's bookmarks, created empty on first read.
  const std::shared_ptr<std::vector<BookmarkPtr>>& AllBookmarks() {
    if (!AllBookmarks_) AllBookmarks_ = std::make_shared<std::vector<BookmarkPtr>>();
    return AllBookmarks_;
  }
  void setAllBookmarks(std::shared_ptr<std::vector<BookmarkPtr>> v) { AllBookmarks_ = std::move(v); }
  bool IsLastInSection() const { return IsLastInSection_; }
  void setIsLastInSection(bool v) { IsLastInSection_ = v; }
  bool IsSelected() const { return IsSelected_; }
  void setIsSelected(bool v) { IsSelected_ = v; }
  bool IsSurahSection() const { return IsSurahSection_; }
  void setIsSurahSection(bool v) { IsSurahSection_ = v; }
  bool IsSectionCollapsed() const { return IsSectionCollapsed_; }
  void setIsSectionCollapsed(bool v) { IsSectionCollapsed_ = v; }

 private:
  int surah_ = 0;
  int verse_ = 0;
  bool isAudio_ = false;
  bool hasNote_ = false;
  int BookmarkGroup_ = 0;
  int SectionBookmarkCount_ = 0;
  bool HasExtraDetails_ = false;
  std::string ArabicVerse_;
  std::string Translation_;
  std::string BookmarkedNote_;
  std::shared_ptr<std::vector<BookmarkPtr>> AllBookmarks_;
  bool IsLastInSection_ = false;
  bool IsSelected_ = false;
  bool IsSurahSection_ = false;
  bool IsSectionCollapsed_ = false;
};
