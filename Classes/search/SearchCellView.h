#pragma once
// One row of a search-result list: a surah header (number, name as text or
// calligraphic image, hit count, fold arrow; the row folds its section) or a
// hit (verse badge and the plain Arabic verse, or a one-line translation
// snippet with the matched word on a white box). The box turns into white
// text while the row is selected or pressed. A press held 0.7 s goes to the
// host. In dua mode (the supplications and prostration lists) headers have
// no count and holds are not reported. Folding lives in the list's memory.
// Main thread only.
#include <memory>

#include "Classes/common/SurahSectionHeader.h"
#include "Classes/search/SearchResultCellHost.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "toolkit/styled/TKStyledTextLabel.h"

class SearchViewCell;

class SearchCellView : public ui::View {
 public:
  explicit SearchCellView(cg::Rect frame);
  ~SearchCellView() override;

  // Not retained.
  void setViewController(std::weak_ptr<SearchResultCellHost> host) { viewController_ = std::move(host); }
  void setDuaMode() { duaMode = true; }
  bool isDuaMode() const { return duaMode; }
  // The hosting cell, which owns this view (none for a header).
  void setCell(SearchViewCell* cell) { thisCell = cell; }
  const SearchResultPtr& ThisSearchResult() const { return ThisSearchResult_; }
  void setThisSearchResult(SearchResultPtr result);

  void btnVerseMetaPressed() {}
  void btnCollapsePressed();
  void setSelected(bool selected);
  void setHighlighted(bool highlighted);

  void touchesBegan(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesMoved(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesEnded(const ui::TouchSet& touches, const ui::Event& event) override;
  void touchesCancelled(const ui::TouchSet& touches, const ui::Event& event) override;
  void tapNHoldFired();
  void cancelTapNHold();

  // The parts, for the lists' tests and pictures.
  SurahSectionHeader header;
  std::shared_ptr<ui::View> contentView;
  std::shared_ptr<ui::Button> btnVerse;
  std::shared_ptr<ui::Label> lblArabicVerse, lblTranslation;
  std::shared_ptr<TKStyledTextLabel> lblTranslationHighlighted;
  std::shared_ptr<ui::View> viewBorder;

 private:
  void showHeader();
  void showHit();
  void makeHitParts();
  bool leftToRight() const;
  // The snippet drawn as selected (white text) or not (the white box).
  void showSnippetSelected(bool selected, bool highlighted);

  std::weak_ptr<SearchResultCellHost> viewController_;
  SearchViewCell* thisCell = nullptr;
  SearchResultPtr ThisSearchResult_;
  bool duaMode = false;
};
