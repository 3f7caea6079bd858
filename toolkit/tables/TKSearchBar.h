#pragma once
// A styled bar holding one search field inside a styled box, with a
// magnifier at the field's left and, when asked, a Cancel button at the
// bar's right. In a table with a section index it makes room for the index,
// and hides it while the user types. Searching is the field's; the bar lays
// out, styles and passes calls on. Main thread only.
#include <memory>
#include <string>

#include "toolkit/tables/TKButton.h"
#include "toolkit/tables/TKSearchTextField.h"
#include "toolkit/tables/TKView.h"

class TKSearchBar : public TKView {
 public:
  static constexpr double kIndexAnimationDuration = 0.3;

  explicit TKSearchBar(cg::Rect frame = {});
  ~TKSearchBar() override;

  TKSearchTextField* searchField() const { return searchField_.get(); }
  TKView* boxView() const { return boxView_.get(); }
  TKButton* cancelButton() const { return cancelButton_.get(); }

  // Passed to the field.
  std::shared_ptr<ui::TextFieldDelegate> delegate() const { return searchField_->delegate(); }
  void setDelegate(std::weak_ptr<ui::TextFieldDelegate> delegate) { searchField_->setDelegate(std::move(delegate)); }
  const std::shared_ptr<TKTableViewDataSource>& dataSource() const { return searchField_->dataSource(); }
  void setDataSource(std::shared_ptr<TKTableViewDataSource> source) { searchField_->setDataSource(std::move(source)); }
  std::string text() const { return searchField_->text(); }
  void setText(const std::string& text) { searchField_->setText(text); }
  std::string placeholder() const { return searchField_->placeholder(); }
  void setPlaceholder(const std::string& text) { searchField_->setPlaceholder(text); }
  cg::Color textColor() const { return searchField_->textColor(); }
  void setTextColor(cg::Color color) { searchField_->setTextColor(color); }
  const ui::Font& font() const { return searchField_->font(); }
  void setFont(const ui::Font& font) { searchField_->setFont(font); }
  float rowHeight() const { return searchField_->rowHeight(); }
  void setRowHeight(float height) { searchField_->setRowHeight(height); }
  ui::ReturnKeyType returnKeyType() const { return searchField_->returnKeyType(); }
  void setReturnKeyType(ui::ReturnKeyType type) { searchField_->setReturnKeyType(type); }
  bool searchesAutomatically() const { return searchField_->searchesAutomatically(); }
  void setSearchesAutomatically(bool on) { searchField_->setSearchesAutomatically(on); }
  bool showsDoneButton() const { return searchField_->showsDoneButton(); }
  void setShowsDoneButton(bool on) { searchField_->setShowsDoneButton(on); }
  bool showsDarkScreen() const { return searchField_->showsDarkScreen(); }
  void setShowsDarkScreen(bool on) { searchField_->setShowsDarkScreen(on); }
  TKTableView* tableView() const { return searchField_->tableView(); }
  bool editing() const { return searchField_->isEditing(); }
  void search() { searchField_->search(); }
  void showSearchResults(bool show) { searchField_->showSearchResults(show); }
  bool becomeFirstResponder() override { return searchField_->becomeFirstResponder(); }
  bool resignFirstResponder() override { return searchField_->resignFirstResponder(); }
  bool isFirstResponder() const override { return searchField_->isFirstResponder(); }

  cg::Color tintColor() const { return tintColor_; }
  void setTintColor(cg::Color color) { tintColor_ = color; }
  const std::shared_ptr<TKStyle>& textFieldStyle() const { return textFieldStyle_; }
  // A new style is the box's too.
  void setTextFieldStyle(std::shared_ptr<TKStyle> style);
  bool showsCancelButton() const { return showsCancelButton_; }
  void setShowsCancelButton(bool shows);
  bool showsSearchIcon() const { return showsSearchIcon_; }
  void setShowsSearchIcon(bool shows);

  // The width of the enclosing table's section index, 0 without one.
  float indexViewWidth();
  void layoutSubviews() override;
  // The given width; a line and 20 points high, at least 44.
  cg::Size sizeThatFits(cg::Size size) const override;

 private:
  void textFieldDidBeginEditing();
  void textFieldDidEndEditing();
  void showIndexView(bool show);
  void scrollToTop();

  std::shared_ptr<TKSearchTextField> searchField_;
  std::shared_ptr<TKView> boxView_;
  cg::Color tintColor_;
  std::shared_ptr<TKStyle> textFieldStyle_;
  std::shared_ptr<TKButton> cancelButton_;
  bool showsCancelButton_ = false;
  bool showsSearchIcon_ = false;
};
