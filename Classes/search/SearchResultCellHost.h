#pragma once
// What a search-result row asks of the list that holds it (the search screen,
// the supplications, the prostration verses): fold a section, and the sheet
// of a row held for 0.7 s.
#include "Classes/core/SearchResult.h"

class SearchViewCell;

class SearchResultCellHost {
 public:
  virtual ~SearchResultCellHost() = default;
  // The header has flipped the section's fold state.
  virtual void sectionWithRow(const SearchResultPtr& section, bool willCollapse) = 0;
  virtual void tapAndHoldRow(SearchViewCell& cell) = 0;
};
