#pragma once
// A scroll view of rows in sections, plain or grouped. The data source says
// how many rows there are and makes their cells; the delegate gives row
// heights, header and footer views and hears selection and editing. Row
// positions are kept as prefix sums of the heights, so finding the rows in a
// rectangle or under a point is a binary search; only the cells of visible
// rows exist, and cells leaving the screen wait in a pool for reuse by their
// identifier. Any operation on a row or section that does not exist does
// nothing. Main thread only.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/IndexPath.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCell.h"

namespace ui {

class TableView;
class TableViewIndex;

// The index entry that stands for a search (drawn as a magnifier).
inline constexpr const char* TableViewIndexSearch = "{search}";

// The platform's numbering.
enum class TableViewStyle { Plain = 0, Grouped = 1 };
enum class TableViewScrollPosition { None = 0, Top = 1, Middle = 2, Bottom = 3 };
enum class TableViewRowAnimation { Fade = 0, Right = 1, Left = 2, Top = 3, Bottom = 4, None = 5, Middle = 6 };

class TableViewDataSource {
 public:
  virtual ~TableViewDataSource() = default;
  virtual int numberOfRowsInSection(TableView* tableView, int section) = 0;
  virtual std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView* tableView,
                                                               const IndexPath& indexPath) = 0;
  virtual int numberOfSectionsInTableView(TableView* tableView) { (void)tableView; return 1; }
  // Empty: no title.
  virtual std::string titleForHeaderInSection(TableView* tableView, int section) {
    (void)tableView, (void)section;
    return "";
  }
  virtual std::string titleForFooterInSection(TableView* tableView, int section) {
    (void)tableView, (void)section;
    return "";
  }
  // A data source that does not take part in editing has no editable rows.
  virtual bool canEditRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) {
    (void)tableView, (void)indexPath;
    return false;
  }
  virtual void commitEditingStyle(TableView* tableView, TableViewCellEditingStyle style,
                                  const IndexPath& indexPath) {
    (void)tableView, (void)style, (void)indexPath;
  }
  // The titles of the section index down the table's right edge; none: no index.
  virtual std::vector<std::string> sectionIndexTitlesForTableView(TableView* tableView) {
    (void)tableView;
    return {};
  }
  // The section a touch on the index entry goes to; -1: none.
  virtual int sectionForSectionIndexTitle(TableView* tableView, const std::string& title, int index) {
    (void)tableView, (void)title;
    return index;
  }
};

class TableViewDelegate : public ScrollViewDelegate {
 public:
  // The table's rowHeight when not answered.
  virtual float heightForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath);
  // No answer: the style's height for a title or a view, else none (plain) or a gap (grouped).
  virtual std::optional<float> heightForHeaderInSection(TableView* tableView, int section) {
    (void)tableView, (void)section;
    return std::nullopt;
  }
  virtual std::optional<float> heightForFooterInSection(TableView* tableView, int section) {
    (void)tableView, (void)section;
    return std::nullopt;
  }
  // A view of the caller's instead of the title.
  virtual std::shared_ptr<View> viewForHeaderInSection(TableView* tableView, int section) {
    (void)tableView, (void)section;
    return nullptr;
  }
  virtual std::shared_ptr<View> viewForFooterInSection(TableView* tableView, int section) {
    (void)tableView, (void)section;
    return nullptr;
  }
  // The row to select instead, or none to refuse.
  virtual std::optional<IndexPath> willSelectRowAtIndexPath(TableView* tableView,
                                                            const IndexPath& indexPath) {
    (void)tableView;
    return indexPath;
  }
  virtual void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) {
    (void)tableView, (void)indexPath;
  }
  virtual void didDeselectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) {
    (void)tableView, (void)indexPath;
  }
  // The row's detail disclosure button was tapped.
  virtual void accessoryButtonTappedForRowWithIndexPath(TableView* tableView, const IndexPath& indexPath) {
    (void)tableView, (void)indexPath;
  }
  virtual TableViewCellEditingStyle editingStyleForRowAtIndexPath(TableView* tableView,
                                                                  const IndexPath& indexPath) {
    (void)tableView, (void)indexPath;
    return TableViewCellEditingStyle::Delete;
  }
  virtual std::string titleForDeleteConfirmationButtonForRowAtIndexPath(TableView* tableView,
                                                                       const IndexPath& indexPath) {
    (void)tableView, (void)indexPath;
    return "Delete";
  }
  virtual bool shouldIndentWhileEditingRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) {
    (void)tableView, (void)indexPath;
    return true;
  }
  // Around a swipe to delete.
  virtual void willBeginEditingRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) {
    (void)tableView, (void)indexPath;
  }
  virtual void didEndEditingRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) {
    (void)tableView, (void)indexPath;
  }
};

class TableView : public ScrollView {
 public:
  TableView(cg::Rect frame, TableViewStyle style);
  ~TableView() override;

  TableViewStyle style() const { return style_; }
  std::weak_ptr<TableViewDataSource> dataSource() const { return dataSource_; }
  void setDataSource(std::weak_ptr<TableViewDataSource> dataSource);
  std::weak_ptr<TableViewDelegate> delegate() const { return tableDelegate_; }
  void setDelegate(std::weak_ptr<TableViewDelegate> delegate);

  float rowHeight() const { return rowHeight_; }
  void setRowHeight(float height) { rowHeight_ = height; }
  float sectionHeaderHeight() const { return sectionHeaderHeight_; }
  void setSectionHeaderHeight(float height) { sectionHeaderHeight_ = height; }
  float sectionFooterHeight() const { return sectionFooterHeight_; }
  void setSectionFooterHeight(float height) { sectionFooterHeight_ = height; }
  TableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
  void setSeparatorStyle(TableViewCellSeparatorStyle style);
  cg::Color separatorColor() const { return separatorColor_; }
  void setSeparatorColor(cg::Color color);
  // Views above the first section and below the last.
  std::shared_ptr<View> tableHeaderView() const { return tableHeaderView_; }
  void setTableHeaderView(std::shared_ptr<View> view);
  std::shared_ptr<View> tableFooterView() const { return tableFooterView_; }
  void setTableFooterView(std::shared_ptr<View> view);
  bool allowsSelection() const { return allowsSelection_; }
  void setAllowsSelection(bool on) { allowsSelection_ = on; }
  bool allowsSelectionDuringEditing() const { return allowsSelectionDuringEditing_; }
  void setAllowsSelectionDuringEditing(bool on) { allowsSelectionDuringEditing_ = on; }

  // Asks the data source and the delegate again for everything.
  void reloadData();
  int numberOfSections();
  int numberOfRowsInSection(int section);

  // Geometry in the table's content coordinates; a zero rect for what does not exist.
  cg::Rect rectForSection(int section);
  cg::Rect rectForHeaderInSection(int section);
  cg::Rect rectForFooterInSection(int section);
  cg::Rect rectForRowAtIndexPath(const IndexPath& indexPath);
  std::optional<IndexPath> indexPathForRowAtPoint(cg::Point point);
  std::vector<IndexPath> indexPathsForRowsInRect(cg::Rect rect);

  // The cells of visible rows only: nothing for a row off screen.
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(const IndexPath& indexPath);
  std::vector<std::shared_ptr<TableViewCell>> visibleCells();
  std::vector<IndexPath> indexPathsForVisibleRows();
  std::optional<IndexPath> indexPathForCell(const TableViewCell* cell);
  std::shared_ptr<TableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
  // Gives a cell the table does not show the frame and look it would have
  // at the row and lays it out (a row drawn ahead of time).
  void layOutDetachedCell(TableViewCell& cell, const IndexPath& indexPath);

  void scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position,
                              bool animated);

  // Selection: one row. Selecting from code does not ask the delegate.
  std::optional<IndexPath> indexPathForSelectedRow() const { return selected_; }
  virtual void selectRowAtIndexPath(const IndexPath& indexPath, bool animated,
                                    TableViewScrollPosition scrollPosition);
  void deselectRowAtIndexPath(const IndexPath& indexPath, bool animated);

  // Changes to rows and sections: deletions name the rows before the change,
  // insertions the rows after it. Between begin and end they take effect
  // together; outside, each at once.
  void beginUpdates();
  void endUpdates();
  void insertRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation);
  void deleteRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation);
  void insertSections(const std::vector<int>& sections, TableViewRowAnimation animation);
  void deleteSections(const std::vector<int>& sections, TableViewRowAnimation animation);
  // Asks the rows' heights and cells again (the old cells fade out).
  void reloadRowsAtIndexPaths(const std::vector<IndexPath>& indexPaths, TableViewRowAnimation animation);

  // The section index at the right edge while the data source gives titles;
  // null without one.
  View* indexView() const;

  // Editing: every shown cell hears it and editable rows show delete controls.
  bool isEditing() const { return editing_; }
  void setEditing(bool editing) { setEditing(editing, false); }
  virtual void setEditing(bool editing, bool animated);

  void setFrame(cg::Rect frame) override;
  void layoutSubviews() override;
  void touchesBegan(const TouchSet& touches, const Event& event) override;
  void touchesMoved(const TouchSet& touches, const Event& event) override;
  void touchesEnded(const TouchSet& touches, const Event& event) override;
  void touchesCancelled(const TouchSet& touches, const Event& event) override;

 protected:
  void contentOffsetDidChange() override;

 private:
  friend class TableViewCell;
  friend class SwipeToDeleteRecognizer;
  friend class TableViewIndex;

  struct Section {
    float top = 0;  // the header's top, in content coordinates
    float header = 0;
    float footer = 0;
    std::string headerTitle;
    std::string footerTitle;
    std::vector<float> rowTops{0.0f};  // prefix sums: row r spans rowTops[r]..rowTops[r + 1]
    int rows() const { return int(rowTops.size()) - 1; }
    float rowsHeight() const { return rowTops.back(); }
    float height() const { return header + rowsHeight() + footer; }
  };
  struct PendingUpdates {
    std::vector<IndexPath> insertedRows, deletedRows;
    std::vector<int> insertedSections, deletedSections;
    TableViewRowAnimation animation = TableViewRowAnimation::None;
  };

  std::shared_ptr<TableViewDataSource> liveDataSource() const { return dataSource_.lock(); }
  std::shared_ptr<TableViewDelegate> liveDelegate() const { return tableDelegate_.lock(); }
  bool isValid(const IndexPath& p) const;
  void ensureLoaded();
  Section measureSection(int section, TableViewDataSource* source, TableViewDelegate* delegate);
  void measureHeaderAndFooter(Section& s, int section, TableViewDelegate* delegate);
  float rowHeightFor(const IndexPath& p, TableViewDelegate* delegate);
  void layoutSections();
  float groupedMargin() const;
  cg::Rect rowRect(const IndexPath& p) const;
  std::optional<IndexPath> rowAt(float y) const;
  std::vector<IndexPath> rowsIn(float top, float bottom) const;
  std::vector<int> sectionsIn(float top, float bottom) const;

  // Cells: showing the visible rows, reuse, configuring.
  void tile();
  // Shows the rows of the visible rectangle; animated, surviving rows move to
  // their new places and the rows `inserted` names fade in.
  void tileAnimated(bool animate, const std::function<bool(const IndexPath&)>& inserted,
                    TableViewRowAnimation kind = TableViewRowAnimation::Fade);
  void tileHeadersAndFooters(float top, float bottom);
  void enqueue(const std::shared_ptr<TableViewCell>& cell);
  void configure(TableViewCell& cell, const IndexPath& p);
  void configureEditing(TableViewCell& cell, const IndexPath& p, bool animated);
  TableViewCell::GroupPosition groupPositionFor(const IndexPath& p) const;
  void dropAllCells();

  void applyUpdates(PendingUpdates updates);
  // Top slides the rows up out of the table as they fade.
  void fadeOut(std::vector<std::shared_ptr<TableViewCell>> cells, bool animate,
               TableViewRowAnimation kind = TableViewRowAnimation::Fade);
  bool animates(TableViewRowAnimation animation) const;

  // Touches on rows.
  void highlightPressedRow();
  void unhighlightPressedRow();
  void selectRowByUser(const IndexPath& p);
  bool swipedRowAtPoint(cg::Point point);  // false: that row is not swiped to delete
  void hideDeleteConfirmation(bool animated);
  void deleteControlTappedInCell(TableViewCell* cell);
  void deleteConfirmedInCell(TableViewCell* cell);
  void accessoryButtonTappedInCell(TableViewCell* cell);

  // The section index: made, updated or dropped from the data source's titles
  // at reload, kept at the right edge of what is shown.
  void updateSectionIndex();
  void layoutSectionIndex(bool place);
  void scrollToSectionIndexEntry(int entry);

  TableViewStyle style_;
  std::weak_ptr<TableViewDataSource> dataSource_;
  std::weak_ptr<TableViewDelegate> tableDelegate_;
  float rowHeight_ = 44;
  float sectionHeaderHeight_;
  float sectionFooterHeight_;
  TableViewCellSeparatorStyle separatorStyle_ = TableViewCellSeparatorStyle::SingleLine;
  cg::Color separatorColor_ = cg::Color::gray(0.88f);
  std::shared_ptr<View> tableHeaderView_;
  std::shared_ptr<View> tableFooterView_;
  bool allowsSelection_ = true;
  bool allowsSelectionDuringEditing_ = false;

  bool loaded_ = false;
  bool tiling_ = false;
  bool reloadWhenTiled_ = false;
  std::vector<Section> sections_;
  float contentHeight_ = 0;

  std::map<IndexPath, std::shared_ptr<TableViewCell>> visible_;
  std::unordered_map<std::string, std::vector<std::shared_ptr<TableViewCell>>> reusePool_;
  std::vector<std::shared_ptr<TableViewCell>> fading_;  // leaving with a fade
  std::map<int, std::shared_ptr<View>> headerViews_;
  std::map<int, std::shared_ptr<View>> footerViews_;
  std::shared_ptr<TableViewIndex> indexView_;

  int updateDepth_ = 0;
  PendingUpdates pending_;

  std::optional<IndexPath> selected_;
  std::optional<IndexPath> pressed_;
  std::optional<IndexPath> confirming_;  // the row showing its delete confirmation
  bool confirmingBySwipe_ = false;
  bool editing_ = false;
};

}  // namespace ui
