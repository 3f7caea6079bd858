#pragma once
// Table items: the plain model objects of table rows, one per row. An item
// carries only data (texts, URLs, images, a control or a view); the data
// source picks the cell that shows it from its class, and a tap opens its URL.
// Items encode themselves under string keys into a TKCoder and come back from
// one as the same class. Main thread only.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "platform/foundation/Date.h"
#include "platform/graphics/Geometry.h"
#include "toolkit/core/TKClassRegistry.h"

namespace ui {
class Control;
class Image;
class View;
}  // namespace ui
class TKStyle;
class TKStyledText;

// A keyed archive kept in memory: texts, dates, styled texts and views under
// keys, and the class name of the archived object.
class TKCoder {
 public:
  using Object = std::variant<std::string, ns::Date, std::shared_ptr<TKStyledText>, std::shared_ptr<ui::View>>;

  const std::string& className() const { return className_; }
  void setClassName(std::string name) { className_ = std::move(name); }

  void encodeObject(const std::string& key, Object value) { values_[key] = std::move(value); }
  bool containsValueForKey(const std::string& key) const { return values_.count(key) != 0; }
  std::size_t count() const { return values_.size(); }
  // The value under the key, or an empty one when it is missing or of another kind.
  std::string decodeString(const std::string& key) const;
  std::optional<ns::Date> decodeDate(const std::string& key) const;
  std::shared_ptr<TKStyledText> decodeStyledText(const std::string& key) const;
  std::shared_ptr<ui::View> decodeView(const std::string& key) const;

 private:
  template <class T>
  const T* find(const std::string& key) const;
  std::string className_;
  std::map<std::string, Object> values_;
};

// An empty string stands for a missing text throughout. An item is an object
// of the URL map, which may generate a URL for it.
class TKTableItem : public TKObject {
 public:
  std::string className() const override { return "TKTableItem"; }

  // Any object the caller attaches; found again by identity.
  const std::shared_ptr<void>& userInfo() const { return userInfo_; }
  void setUserInfo(std::shared_ptr<void> info) { userInfo_ = std::move(info); }

  // Each class writes its archived fields that are set, after its base's;
  // reading sets the fields found (the object was just made, so the rest keep
  // their defaults).
  virtual void encodeWithCoder(TKCoder& coder) const { (void)coder; }
  virtual void initWithCoder(const TKCoder& coder) { (void)coder; }
  static TKCoder archive(const TKTableItem& item);
  // A new item of the archived class; null for a class that is not an item.
  static std::shared_ptr<TKTableItem> unarchive(const TKCoder& coder);

 private:
  std::shared_ptr<void> userInfo_;
};

class TKTableLinkedItem : public TKTableItem {
 public:
  std::string className() const override { return "TKTableLinkedItem"; }
  const std::string& URL() const { return URL_; }
  void setURL(const std::string& url) { URL_ = url; }
  // Opened by the row's detail disclosure button; not archived.
  const std::string& accessoryURL() const { return accessoryURL_; }
  void setAccessoryURL(const std::string& url) { accessoryURL_ = url; }
  void encodeWithCoder(TKCoder& coder) const override;
  void initWithCoder(const TKCoder& coder) override;

 private:
  std::string URL_, accessoryURL_;
};

class TKTableTextItem : public TKTableLinkedItem {
 public:
  // An item of the class asked (a subclass gets one of its own).
  template <class T = TKTableTextItem>
  static std::shared_ptr<T> itemWithText(const std::string& text, const std::string& URL = "",
                                         const std::string& accessoryURL = "") {
    auto item = std::make_shared<T>();
    item->setText(text);
    item->setURL(URL);
    item->setAccessoryURL(accessoryURL);
    return item;
  }
  std::string className() const override { return "TKTableTextItem"; }
  const std::string& text() const { return text_; }
  void setText(const std::string& text) { text_ = text; }
  void encodeWithCoder(TKCoder& coder) const override;
  void initWithCoder(const TKCoder& coder) override;

 private:
  std::string text_;
};

// The text-only kinds, told apart by class alone.
#define TK_TEXT_ITEM_KIND(Name)                                                        \
  class Name : public TKTableTextItem {                                                \
   public:                                                                             \
    template <class... A>                                                              \
    static std::shared_ptr<Name> itemWithText(A&&... a) {                              \
      return TKTableTextItem::itemWithText<Name>(std::forward<A>(a)...);               \
    }                                                                                  \
    std::string className() const override { return #Name; }                           \
  }
TK_TEXT_ITEM_KIND(TKTableLongTextItem);
TK_TEXT_ITEM_KIND(TKTableGrayTextItem);
TK_TEXT_ITEM_KIND(TKTableSummaryItem);
TK_TEXT_ITEM_KIND(TKTableLink);
TK_TEXT_ITEM_KIND(TKTableButton);
#undef TK_TEXT_ITEM_KIND

class TKTableCaptionItem : public TKTableTextItem {
 public:
  template <class T = TKTableCaptionItem>
  static std::shared_ptr<T> itemWithTextCaption(const std::string& text, const std::string& caption,
                                                const std::string& URL = "", const std::string& accessoryURL = "") {
    auto item = std::make_shared<T>();
    item->setText(text);
    item->setCaption(caption);
    item->setURL(URL);
    item->setAccessoryURL(accessoryURL);
    return item;
  }
  std::string className() const override { return "TKTableCaptionItem"; }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption) { caption_ = caption; }
  void encodeWithCoder(TKCoder& coder) const override;
  void initWithCoder(const TKCoder& coder) override;

 private:
  std::string caption_;
};

// Caption kinds told apart by class alone.
class TKTableRightCaptionItem : public TKTableCaptionItem {
 public:
  template <class... A>
  static std::shared_ptr<TKTableRightCaptionItem> itemWithTextCaption(A&&... a) {
    return TKTableCaptionItem::itemWithTextCaption<TKTableRightCaptionItem>(std::forward<A>(a)...);
  }
  std::string className() const override { return "TKTableRightCaptionItem"; }
};

class TKTableSubtextItem : public TKTableCaptionItem {
 public:
  template <class... A>
  static std::shared_ptr<TKTableSubtextItem> itemWithTextCaption(A&&... a) {
    return TKTableCaptionItem::itemWithTextCaption<TKTableSubtextItem>(std::forward<A>(a)...);
  }
  std::string className() const override { return "TKTableSubtextItem"; }
};

// The "load more" row; the table delegate sets it loading when tapped.
class TKTableMoreButton : public TKTableSubtextItem {
 public:
  template <class... A>
  static std::shared_ptr<TKTableMoreButton> itemWithTextCaption(A&&... a) {
    return TKTableCaptionItem::itemWithTextCaption<TKTableMoreButton>(std::forward<A>(a)...);
  }
  std::string className() const override { return "TKTableMoreButton"; }
  bool isLoading() const { return isLoading_; }
  void setIsLoading(bool loading) { isLoading_ = loading; }

 private:
  bool isLoading_ = false;
};

class TKTableSubtitleItem : public TKTableTextItem {
 public:
  static std::shared_ptr<TKTableSubtitleItem> itemWithTextSubtitle(const std::string& text,
                                                                   const std::string& subtitle,
                                                                   const std::string& URL = "",
                                                                   const std::string& accessoryURL = "");
  static std::shared_ptr<TKTableSubtitleItem> itemWithTextSubtitleImageURL(const std::string& text,
                                                                           const std::string& subtitle,
                                                                           const std::string& imageURL,
                                                                           const std::string& URL = "");
  static std::shared_ptr<TKTableSubtitleItem> itemWithTextSubtitleImageURL(
      const std::string& text, const std::string& subtitle, const std::string& imageURL,
      std::shared_ptr<ui::Image> defaultImage, const std::string& URL, const std::string& accessoryURL);
  std::string className() const override { return "TKTableSubtitleItem"; }
  const std::string& subtitle() const { return subtitle_; }
  void setSubtitle(const std::string& subtitle) { subtitle_ = subtitle; }
  const std::string& imageURL() const { return imageURL_; }
  void setImageURL(const std::string& url) { imageURL_ = url; }
  const std::shared_ptr<ui::Image>& defaultImage() const { return defaultImage_; }
  void setDefaultImage(std::shared_ptr<ui::Image> image) { defaultImage_ = std::move(image); }
  void encodeWithCoder(TKCoder& coder) const override;
  void initWithCoder(const TKCoder& coder) override;

 private:
  std::string subtitle_, imageURL_;
  std::shared_ptr<ui::Image> defaultImage_;
};

class TKTableMessageItem : public TKTableTextItem {
 public:
  static std::shared_ptr<TKTableMessageItem> itemWithTitle(const std::string& title, const std::string& caption,
                                                           const std::string& text,
                                                           std::optional<ns::Date> timestamp,
                                                           const std::string& URL);
  static std::shared_ptr<TKTableMessageItem> itemWithTitle(const std::string& title, const std::string& caption,
                                                           const std::string& text,
                                                           std::optional<ns::Date> timestamp,
                                                           const std::string& imageURL, const std::string& URL);
  std::string className() const override { return "TKTableMessageItem"; }
  const std::string& title() const { return title_; }
  void setTitle(const std::string& title) { title_ = title; }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption) { caption_ = caption; }
  const std::optional<ns::Date>& timestamp() const { return timestamp_; }
  void setTimestamp(std::optional<ns::Date> timestamp) { timestamp_ = timestamp; }
  const std::string& imageURL() const { return imageURL_; }
  void setImageURL(const std::string& url) { imageURL_ = url; }
  void encodeWithCoder(TKCoder& coder) const override;
  void initWithCoder(const TKCoder& coder) override;

 private:
  std::string title_, caption_, imageURL_;
  std::optional<ns::Date> timestamp_;
};

class TKTableImageItem : public TKTableTextItem {
 public:
  template <class T = TKTableImageItem>
  static std::shared_ptr<T> itemWithTextImageURL(const std::string& text, const std::string& imageURL,
                                                 const std::string& URL = "") {
    return itemWithTextImageURL<T>(text, imageURL, nullptr, nullptr, URL);
  }
  template <class T = TKTableImageItem>
  static std::shared_ptr<T> itemWithTextImageURL(const std::string& text, const std::string& imageURL,
                                                 std::shared_ptr<ui::Image> defaultImage, const std::string& URL) {
    return itemWithTextImageURL<T>(text, imageURL, std::move(defaultImage), nullptr, URL);
  }
  template <class T = TKTableImageItem>
  static std::shared_ptr<T> itemWithTextImageURL(const std::string& text, const std::string& imageURL,
                                                 std::shared_ptr<ui::Image> defaultImage,
                                                 std::shared_ptr<TKStyle> imageStyle, const std::string& URL) {
    auto item = std::make_shared<T>();
    item->setText(text);
    item->setImageURL(imageURL);
    item->setDefaultImage(std::move(defaultImage));
    item->setImageStyle(std::move(imageStyle));
    item->setURL(URL);
    return item;
  }
  std::string className() const override { return "TKTableImageItem"; }
  const std::string& imageURL() const { return imageURL_; }
  void setImageURL(const std::string& url) { imageURL_ = url; }
  const std::shared_ptr<ui::Image>& defaultImage() const { return defaultImage_; }
  void setDefaultImage(std::shared_ptr<ui::Image> image) { defaultImage_ = std::move(image); }
  const std::shared_ptr<TKStyle>& imageStyle() const { return imageStyle_; }
  void setImageStyle(std::shared_ptr<TKStyle> style) { imageStyle_ = std::move(style); }
  void encodeWithCoder(TKCoder& coder) const override;
  void initWithCoder(const TKCoder& coder) override;

 private:
  std::string imageURL_;
  std::shared_ptr<ui::Image> defaultImage_;
  std::shared_ptr<TKStyle> imageStyle_;
};

class TKTableRightImageItem : public TKTableImageItem {
 public:
  template <class... A>
  static std::shared_ptr<TKTableRightImageItem> itemWithTextImageURL(A&&... a) {
    return TKTableImageItem::itemWithTextImageURL<TKTableRightImageItem>(std::forward<A>(a)...);
  }
  std::string className() const override { return "TKTableRightImageItem"; }
};

// A spinner beside a message; its text is not archived.
class TKTableActivityItem : public TKTableItem {
 public:
  static std::shared_ptr<TKTableActivityItem> itemWithText(const std::string& text);
  std::string className() const override { return "TKTableActivityItem"; }
  const std::string& text() const { return text_; }
  void setText(const std::string& text) { text_ = text; }

 private:
  std::string text_;
};

class TKTableStyledTextItem : public TKTableLinkedItem {
 public:
  static std::shared_ptr<TKTableStyledTextItem> itemWithText(std::shared_ptr<TKStyledText> text,
                                                             const std::string& URL = "",
                                                             const std::string& accessoryURL = "");
  std::string className() const override { return "TKTableStyledTextItem"; }
  const std::shared_ptr<TKStyledText>& text() const { return text_; }
  void setText(std::shared_ptr<TKStyledText> text) { text_ = std::move(text); }
  // Neither is archived.
  cg::EdgeInsets margin() const { return margin_; }
  void setMargin(cg::EdgeInsets margin) { margin_ = margin; }
  cg::EdgeInsets padding() const { return padding_; }
  void setPadding(cg::EdgeInsets padding) { padding_ = padding; }
  void encodeWithCoder(TKCoder& coder) const override;
  void initWithCoder(const TKCoder& coder) override;

 private:
  std::shared_ptr<TKStyledText> text_;
  cg::EdgeInsets margin_{0, 0, 0, 0};
  cg::EdgeInsets padding_{6, 6, 6, 6};
};

// A live control beside a caption.
class TKTableControlItem : public TKTableItem {
 public:
  static std::shared_ptr<TKTableControlItem> itemWithCaption(const std::string& caption,
                                                             std::shared_ptr<ui::View> control);
  std::string className() const override { return "TKTableControlItem"; }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption) { caption_ = caption; }
  // A control, a text view or an editor.
  const std::shared_ptr<ui::View>& control() const { return control_; }
  void setControl(std::shared_ptr<ui::View> control) { control_ = std::move(control); }
  void encodeWithCoder(TKCoder& coder) const override;
  void initWithCoder(const TKCoder& coder) override;

 private:
  std::string caption_;
  std::shared_ptr<ui::View> control_;
};

// Any view shown edge to edge.
class TKTableViewItem : public TKTableItem {
 public:
  static std::shared_ptr<TKTableViewItem> itemWithCaption(const std::string& caption,
                                                          std::shared_ptr<ui::View> view);
  std::string className() const override { return "TKTableViewItem"; }
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption) { caption_ = caption; }
  const std::shared_ptr<ui::View>& view() const { return view_; }
  void setView(std::shared_ptr<ui::View> view) { view_ = std::move(view); }
  void encodeWithCoder(TKCoder& coder) const override;
  void initWithCoder(const TKCoder& coder) override;

 private:
  std::string caption_;
  std::shared_ptr<ui::View> view_;
};
