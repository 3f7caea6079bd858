#pragma once
// A search bar: a tinted background (the first subview, reachable so a
// screen can fade it), a rounded search field with a placeholder, and an
// optional Cancel button. It stands for its field as first responder, and
// tells its delegate of editing, each change of the text, the search key
// (Return) and the Cancel button.
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"

namespace ui {

class SearchBar;

// Every call is optional.
class SearchBarDelegate {
 public:
  virtual ~SearchBarDelegate() = default;
  virtual bool searchBarShouldBeginEditing(SearchBar&) { return true; }
  virtual void searchBarTextDidBeginEditing(SearchBar&) {}
  virtual bool searchBarShouldEndEditing(SearchBar&) { return true; }
  virtual void searchBarTextDidEndEditing(SearchBar&) {}
  virtual void textDidChange(SearchBar&, const std::string& searchText) { (void)searchText; }
  virtual bool shouldChangeTextInRange(SearchBar&, ns::Range range, const std::string& text) {
    (void)range, (void)text;
    return true;
  }
  virtual void searchBarSearchButtonClicked(SearchBar&) {}
  virtual void searchBarCancelButtonClicked(SearchBar&) {}
};

class SearchBar : public View {
 public:
  static constexpr float kHeight = 44;
  explicit SearchBar(cg::Rect frame = {});

  std::string text() const { return field_->text(); }
  // Tells the delegate of the change, as typing does.
  void setText(const std::string& text);
  const std::string& placeholder() const { return field_->placeholder(); }
  void setPlaceholder(const std::string& placeholder) { field_->setPlaceholder(placeholder); }
  bool showsCancelButton() const { return showsCancel_; }
  void setShowsCancelButton(bool shows, bool animated = false);
  std::optional<cg::Color> tintColor() const { return tint_; }
  void setTintColor(std::optional<cg::Color> tint);

  void setDelegate(std::weak_ptr<SearchBarDelegate> delegate) { delegate_ = std::move(delegate); }
  std::shared_ptr<SearchBarDelegate> delegate() const { return delegate_.lock(); }
  void setInputAccessoryView(std::shared_ptr<View> view) { field_->setInputAccessoryView(std::move(view)); }

  View* backgroundView() const { return background_.get(); }
  TextField* searchField() const { return field_.get(); }
  Button* cancelButton() const { return cancel_.get(); }

  bool becomeFirstResponder() override { return field_->becomeFirstResponder(); }
  bool resignFirstResponder() override { return field_->resignFirstResponder(); }
  bool isFirstResponder() const override { return field_->isFirstResponder(); }

  void layoutSubviews() override;

 private:
  class FieldDelegate;
  std::shared_ptr<View> background_;
  std::shared_ptr<TextField> field_;
  std::shared_ptr<Button> cancel_;
  std::shared_ptr<FieldDelegate> fieldDelegate_;
  std::weak_ptr<SearchBarDelegate> delegate_;
  std::optional<cg::Color> tint_;
  bool showsCancel_ = false;
};

}  // namespace ui
