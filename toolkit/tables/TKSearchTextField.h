#pragma once
// A text field that searches a table data source as the user types and
// shows the results in a table that drops down below it, over the content
// of the nearest scroll view. While editing it may darken the content behind
// it with a tappable screen and put a Done button into the visible navigation
// bar. Its internal object is the platform delegate: it starts the searches
// and passes every event on to the delegate the client sets. The field is one
// of the delegates of its data source's model. Main thread only.
#include <memory>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "toolkit/core/TKModel.h"
#include "toolkit/tables/TKTableObject.h"

class TKSearchTextField;
class TKTableView;
class TKTableViewDataSource;
class TKView;

// A client delegate that also hears which result row was chosen.
class TKSearchTextFieldDelegate : public ui::TextFieldDelegate {
 public:
  virtual void textFieldDidSelectObject(TKSearchTextField& field, const TKTableObject& object) = 0;
};

class TKSearchTextFieldInternal : public ui::TextFieldDelegate {
 public:
  explicit TKSearchTextFieldInternal(TKSearchTextField* field) : textField_(field) {}
  std::shared_ptr<ui::TextFieldDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(std::weak_ptr<ui::TextFieldDelegate> delegate) { delegate_ = std::move(delegate); }

  bool textFieldShouldBeginEditing(ui::TextField& field) override;
  void textFieldDidBeginEditing(ui::TextField& field) override;
  bool textFieldShouldEndEditing(ui::TextField& field) override;
  void textFieldDidEndEditing(ui::TextField& field) override;
  bool shouldChangeCharactersInRange(ui::TextField& field, ns::Range range, const std::string& text) override;
  bool textFieldShouldClear(ui::TextField& field) override;
  bool textFieldShouldReturn(ui::TextField& field) override;

 private:
  TKSearchTextField* textField_;  // owns this object
  std::weak_ptr<ui::TextFieldDelegate> delegate_;
};

class TKSearchTextField : public ui::TextField, public TKModelDelegate, public ui::TableViewDelegate {
 public:
  // The portrait keyboard's height, when no keyboard has said its own yet.
  static constexpr float kDefaultKeyboardHeight = 216;
  static constexpr float kShadowHeight = 24;
  static constexpr double kScreenAnimationDuration = 0.3;

  explicit TKSearchTextField(cg::Rect frame = {});
  ~TKSearchTextField() override;

  // The client's delegate, kept by the internal object.
  std::shared_ptr<ui::TextFieldDelegate> delegate() const { return internal_->delegate(); }
  void setDelegate(std::weak_ptr<ui::TextFieldDelegate> delegate) { internal_->setDelegate(std::move(delegate)); }

  const std::shared_ptr<TKTableViewDataSource>& dataSource() const { return dataSource_; }
  // The field leaves the old model's delegates and joins the new one's; a
  // results table already made shows the new data source.
  void setDataSource(std::shared_ptr<TKTableViewDataSource> dataSource);
  float rowHeight() const { return rowHeight_; }
  void setRowHeight(float height) { rowHeight_ = height; }
  bool searchesAutomatically() const { return searchesAutomatically_; }
  // Searching as one types (return is Done) or on return (Search).
  void setSearchesAutomatically(bool automatically);
  bool showsDoneButton() const { return showsDoneButton_; }
  void setShowsDoneButton(bool shows) { showsDoneButton_ = shows; }
  bool showsDarkScreen() const { return showsDarkScreen_; }
  void setShowsDarkScreen(bool shows) { showsDarkScreen_ = shows; }

  // Also searches, when searching as one types (or when it empties the field).
  void setText(const std::string& text);
  bool hasText() const { return !text().empty(); }
  // The text without spaces and tabs at its ends.
  std::string searchText() const;
  void search();

  // Made on first use.
  TKTableView* tableView();
  void showSearchResults(bool show);
  void showDoneButton(bool show);
  void showDarkScreen(bool show);
  ui::View* superviewForSearchResults();
  cg::Rect rectForSearchResults(bool withKeyboard);
  void reloadTable();
  bool hasSearchResults();
  // Ends editing; with a data source it also empties the field.
  void doneAction();
  ui::View* screenView() const { return screenView_.get(); }

  // The internal object's hooks: every change of the characters restarts
  // the search timer.
  bool shouldUpdate(bool emptyReplacement);
  void autoSearch();

  // The model's delegate.
  void modelDidStartLoad(TKModel& model) override;
  void modelDidFinishLoad(TKModel& model) override;
  void modelDidFailLoadWithError(TKModel& model, const ns::Error& error) override;
  void modelDidChange(TKModel& model) override;

  // The results table's delegate.
  float heightForRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;
  void didSelectRowAtIndexPath(ui::TableView* tableView, const ui::IndexPath& indexPath) override;

 private:
  void delayedUpdate();
  void didBeginEditing();
  void didEndEditing();
  std::weak_ptr<ui::TableViewDelegate> asTableDelegate();

  std::shared_ptr<TKTableViewDataSource> dataSource_;
  std::shared_ptr<TKSearchTextFieldInternal> internal_;
  std::shared_ptr<TKTableView> tableView_;
  std::shared_ptr<TKView> shadowView_;
  std::shared_ptr<ui::Button> screenView_;
  std::shared_ptr<ui::NavigationItem> previousNavigationItem_;
  std::shared_ptr<ui::BarButtonItem> previousRightBarButtonItem_;
  ns::Timer searchTimer_;
  float rowHeight_ = 0;
  bool searchesAutomatically_ = true;
  bool showsDoneButton_ = false, showsDarkScreen_ = false;
};
