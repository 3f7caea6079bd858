#pragma once
// What a table row shows: a table item, a styled text, a view (a control, a
// text view, an editor or any other view), a plain string, or nothing. Two
// row objects are equal when they hold the same object (strings: the same
// text). Cheap to copy: it shares what it holds.
#include <memory>
#include <string>
#include <type_traits>

namespace ui {
class View;
}
class TKTableItem;
class TKStyledText;

class TKTableObject {
 public:
  TKTableObject() = default;
  TKTableObject(std::string string) : string_(std::move(string)), isString_(true) {}
  TKTableObject(const char* string) : TKTableObject(std::string(string)) {}
  template <class T>
    requires std::is_base_of_v<TKTableItem, T>
  TKTableObject(std::shared_ptr<T> item) : item_(std::move(item)) {}
  template <class T>
    requires std::is_base_of_v<ui::View, T>
  TKTableObject(std::shared_ptr<T> view) : view_(std::move(view)) {}
  TKTableObject(std::shared_ptr<TKStyledText> text) : styledText_(std::move(text)) {}

  bool isNil() const { return !isString_ && !item_ && !view_ && !styledText_; }
  explicit operator bool() const { return !isNil(); }
  bool isString() const { return isString_; }
  const std::string& string() const { return string_; }
  const std::shared_ptr<TKTableItem>& item() const { return item_; }
  const std::shared_ptr<ui::View>& view() const { return view_; }
  const std::shared_ptr<TKStyledText>& styledText() const { return styledText_; }

  // The held item or view when it is of the class (or a subclass); null otherwise.
  template <class T>
  T* as() const {
    if constexpr (std::is_base_of_v<TKTableItem, T>) return dynamic_cast<T*>(item_.get());
    else if constexpr (std::is_base_of_v<ui::View, T>) return dynamic_cast<T*>(view_.get());
    else return nullptr;
  }
  template <class T>
  std::shared_ptr<T> shared() const {
    if constexpr (std::is_base_of_v<TKTableItem, T>) return std::dynamic_pointer_cast<T>(item_);
    else return std::dynamic_pointer_cast<T>(view_);
  }

  // A text for logs and for rows that show an object by its description.
  std::string description() const;

  friend bool operator==(const TKTableObject& a, const TKTableObject& b) {
    return a.isString_ == b.isString_ && a.string_ == b.string_ && a.item_ == b.item_ && a.view_ == b.view_ &&
           a.styledText_ == b.styledText_;
  }

 private:
  std::string string_;
  bool isString_ = false;
  std::shared_ptr<TKTableItem> item_;
  std::shared_ptr<ui::View> view_;
  std::shared_ptr<TKStyledText> styledText_;
};
