#pragma once
// The verses of one supplication theme in the Arabic text, one foldable
// section per surah run, in the search's result rows (dua mode: no counts,
// no press and hold). A verse opens the reading screen at it without
// playing. Folding lives in the section records only: each opening starts
// unfolded. The prostration verses list is the same screen with its own
// verses (SajdaViewController). Main thread only.
#include <memory>
#include <string>
#include <vector>

#include "Classes/core/SearchResult.h"
#include "Classes/search/SearchResultCellHost.h"
#include "Classes/settings/InfoColumnController.h"

class SearchCellView;

class SupplicationsDetailsController : public InfoColumnController, public SearchResultCellHost {
 public:
  const std::string& strHeader() const { return strHeader_; }
  void setStrHeader(const std::string& header) { strHeader_ = header; }
  int isection() const { return isection_; }
  void setIsection(int theme) { isection_ = theme; }

  // Groups "surah:verse" references (adjacent ones of a surah together) into
  // section records holding verse records, and makes a header per section.
  void createSectionForArray(const std::vector<std::string>& references);
  const std::vector<SearchResultPtr>& arrSectionedResults() const { return arrSectionedResults_; }
  const std::vector<std::shared_ptr<SearchCellView>>& arrSectionViews() const { return arrSectionViews_; }

  void loadView() override;
  void viewDidLoad() override;
  void viewWillAppear(bool) override { deselectSelectedRow(tblTable.get()); }

  int numberOfSectionsInTableView(ui::TableView*) override { return int(arrSectionedResults_.size()); }
  int numberOfRowsInSection(ui::TableView*, int section) override;
  std::shared_ptr<ui::View> viewForHeaderInSection(ui::TableView*, int section) override;
  std::optional<float> heightForHeaderInSection(ui::TableView*, int section) override;
  float heightForRowAtIndexPath(ui::TableView*, const ui::IndexPath& indexPath) override;
  std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView* tableView,
                                                           const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

  // SearchResultCellHost: a header folded or unfolded its section.
  void sectionWithRow(const SearchResultPtr& section, bool willCollapse) override;
  void tapAndHoldRow(SearchViewCell&) override {}

  std::shared_ptr<ui::TableView> tblTable;
  std::shared_ptr<ui::View> viewBottomFooter;
  std::shared_ptr<ui::Label> lblBottomLegend;

 protected:
  // The verse record of the reference at `position` in the list; the
  // prostration list marks the obligatory ones.
  virtual void prepareVerse(SearchResult& verse, size_t position) { (void)verse, (void)position; }
  // The screen's look once the table is filled.
  void setUpScreen(const std::vector<std::string>& references);

 private:
  SearchResultPtr verseAt(const ui::IndexPath& indexPath) const;

  std::string strHeader_;
  int isection_ = -1;
  std::vector<SearchResultPtr> arrSectionedResults_;
  std::vector<std::shared_ptr<SearchCellView>> arrSectionViews_;
};
