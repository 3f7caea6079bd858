#pragma once
// A search hit, or a surah section row of a hit list.
#include <memory>
#include <string>
#include <vector>

class SearchResult;
using SearchResultPtr = std::shared_ptr<SearchResult>;

class SearchResult {
 public:
  int surah() const { return surah_; }
  void setSurah(int v) { surah_ = v; }
  int verse() const { return verse_; }
  void setVerse(int v) { verse_ = v; }
  int translator() const { return translator_; }
  void setTranslator(int v) { translator_ = v; }
  // A section row's hits, created empty on first read.
  const std::shared_ptr<std::vector<SearchResultPtr>>& AllResults() {
    if (!AllResults_) AllResults_ = std::make_shared<std::vector<SearchResultPtr>>();
    return AllResults_;
  }
  void setAllResults(std::shared_ptr<std::vector<SearchResultPtr>> v) { AllResults_ = std::move(v); }
  const std::string& VerseText() const { return VerseText_; }
  void setVerseText(std::string v) { VerseText_ = std::move(v); }
  int SectionResultCount() const { return SectionResultCount_; }
  void setSectionResultCount(int v) { SectionResultCount_ = v; }
  bool IsSurahSection() const { return IsSurahSection_; }
  void setIsSurahSection(bool v) { IsSurahSection_ = v; }
  bool IsSectionCollapsed() const { return IsSectionCollapsed_; }
  void setIsSectionCollapsed(bool v) { IsSectionCollapsed_ = v; }
  bool IsLastInSection() const { return IsLastInSection_; }
  void setIsLastInSection(bool v) { IsLastInSection_ = v; }
  bool IsCompuslorySajda() const { return IsCompuslorySajda_; }
  void setIsCompuslorySajda(bool v) { IsCompuslorySajda_ = v; }
  int resultType() const { return resultType_; }
  void setResultType(int v) { resultType_ = v; }

 private:
  int surah_ = 0;
  int verse_ = 0;
  int translator_ = 0;
  std::shared_ptr<std::vector<SearchResultPtr>> AllResults_;
  std::string VerseText_;
  int SectionResultCount_ = 0;
  bool IsSurahSection_ = false;
  bool IsSectionCollapsed_ = false;
  bool IsLastInSection_ = false;
  bool IsCompuslorySajda_ = false;
  int resultType_ = 0;
};

// Orders search results by surah, then verse: negative, 0 or positive.
inline int compareSearchResults(const SearchResult& a, const SearchResult& b) {
  if (a.surah() != b.surah()) return a.surah() < b.surah() ? -1 : 1;
  if (a.verse() != b.verse()) return a.verse() < b.verse() ? -1 : 1;
  return 0;
}
