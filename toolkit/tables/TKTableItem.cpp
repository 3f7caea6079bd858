#include "toolkit/tables/TKTableItem.h"

#include "platform/ui/View.h"
#include "toolkit/styled/TKArchive.h"
#include "toolkit/styled/TKStyledText.h"

// --- the coder ---------------------------------------------------------------------

template <class T>
const T* TKCoder::find(const std::string& key) const {
  auto it = values_.find(key);
  return it == values_.end() ? nullptr : std::get_if<T>(&it->second);
}

std::string TKCoder::decodeString(const std::string& key) const {
  const auto* s = find<std::string>(key);
  return s ? *s : std::string();
}

std::optional<ns::Date> TKCoder::decodeDate(const std::string& key) const {
  const auto* d = find<ns::Date>(key);
  return d ? std::optional(*d) : std::nullopt;
}

std::shared_ptr<TKStyledText> TKCoder::decodeStyledText(const std::string& key) const {
  const auto* t = find<std::shared_ptr<TKStyledText>>(key);
  return t ? *t : nullptr;
}

std::shared_ptr<ui::View> TKCoder::decodeView(const std::string& key) const {
  const auto* v = find<std::shared_ptr<ui::View>>(key);
  return v ? *v : nullptr;
}

namespace {

void encodeString(TKCoder& coder, const char* key, const std::string& value) {
  if (!value.empty()) coder.encodeObject(key, value);
}

tkarchive::Registry<TKTableItem>& itemClasses() {
  static bool once = [] {
    tkarchive::Registry<TKTableItem>::shared()
        .addClasses<TKTableItem, TKTableLinkedItem, TKTableTextItem, TKTableLongTextItem, TKTableGrayTextItem,
                    TKTableSummaryItem, TKTableLink, TKTableButton, TKTableCaptionItem, TKTableRightCaptionItem,
                    TKTableSubtextItem, TKTableMoreButton, TKTableSubtitleItem, TKTableMessageItem, TKTableImageItem,
                    TKTableRightImageItem, TKTableActivityItem, TKTableStyledTextItem, TKTableControlItem,
                    TKTableViewItem>();
    return true;
  }();
  (void)once;
  return tkarchive::Registry<TKTableItem>::shared();
}

}  // namespace

TKCoder TKTableItem::archive(const TKTableItem& item) {
  TKCoder coder;
  coder.setClassName(item.className());
  item.encodeWithCoder(coder);
  return coder;
}

std::shared_ptr<TKTableItem> TKTableItem::unarchive(const TKCoder& coder) {
  auto item = itemClasses().make(coder.className());
  if (item) item->initWithCoder(coder);
  return item;
}

// --- the family -------------------------------------------------------------------------

void TKTableLinkedItem::encodeWithCoder(TKCoder& coder) const {
  TKTableItem::encodeWithCoder(coder);
  encodeString(coder, "URL", URL_);
}

void TKTableLinkedItem::initWithCoder(const TKCoder& coder) {
  TKTableItem::initWithCoder(coder);
  setURL(coder.decodeString("URL"));
}

void TKTableTextItem::encodeWithCoder(TKCoder& coder) const {
  TKTableLinkedItem::encodeWithCoder(coder);
  encodeString(coder, "text", text_);
}

void TKTableTextItem::initWithCoder(const TKCoder& coder) {
  TKTableLinkedItem::initWithCoder(coder);
  setText(coder.decodeString("text"));
}

void TKTableCaptionItem::encodeWithCoder(TKCoder& coder) const {
  TKTableTextItem::encodeWithCoder(coder);
  encodeString(coder, "caption", caption_);
}

void TKTableCaptionItem::initWithCoder(const TKCoder& coder) {
  TKTableTextItem::initWithCoder(coder);
  setCaption(coder.decodeString("caption"));
}

std::shared_ptr<TKTableSubtitleItem> TKTableSubtitleItem::itemWithTextSubtitle(const std::string& text,
                                                                               const std::string& subtitle,
                                                                               const std::string& URL,
                                                                               const std::string& accessoryURL) {
  auto item = std::make_shared<TKTableSubtitleItem>();
  item->setText(text);
  item->setSubtitle(subtitle);
  item->setURL(URL);
  item->setAccessoryURL(accessoryURL);
  return item;
}

std::shared_ptr<TKTableSubtitleItem> TKTableSubtitleItem::itemWithTextSubtitleImageURL(const std::string& text,
                                                                                       const std::string& subtitle,
                                                                                       const std::string& imageURL,
                                                                                       const std::string& URL) {
  return itemWithTextSubtitleImageURL(text, subtitle, imageURL, nullptr, URL, "");
}

std::shared_ptr<TKTableSubtitleItem> TKTableSubtitleItem::itemWithTextSubtitleImageURL(
    const std::string& text, const std::string& subtitle, const std::string& imageURL,
    std::shared_ptr<ui::Image> defaultImage, const std::string& URL, const std::string& accessoryURL) {
  auto item = std::make_shared<TKTableSubtitleItem>();
  item->setText(text);
  item->setSubtitle(subtitle);
  item->setImageURL(imageURL);
  item->setDefaultImage(std::move(defaultImage));
  item->setURL(URL);
  item->setAccessoryURL(accessoryURL);
  return item;
}

void TKTableSubtitleItem::encodeWithCoder(TKCoder& coder) const {
  TKTableTextItem::encodeWithCoder(coder);
  encodeString(coder, "subtitle", subtitle_);
  encodeString(coder, "imageURL", imageURL_);
}

void TKTableSubtitleItem::initWithCoder(const TKCoder& coder) {
  TKTableTextItem::initWithCoder(coder);
  setSubtitle(coder.decodeString("subtitle"));
  setImageURL(coder.decodeString("imageURL"));
}

std::shared_ptr<TKTableMessageItem> TKTableMessageItem::itemWithTitle(const std::string& title,
                                                                      const std::string& caption,
                                                                      const std::string& text,
                                                                      std::optional<ns::Date> timestamp,
                                                                      const std::string& URL) {
  return itemWithTitle(title, caption, text, timestamp, "", URL);
}

std::shared_ptr<TKTableMessageItem> TKTableMessageItem::itemWithTitle(const std::string& title,
                                                                      const std::string& caption,
                                                                      const std::string& text,
                                                                      std::optional<ns::Date> timestamp,
                                                                      const std::string& imageURL,
                                                                      const std::string& URL) {
  auto item = std::make_shared<TKTableMessageItem>();
  item->setTitle(title);
  item->setCaption(caption);
  item->setText(text);
  item->setTimestamp(timestamp);
  item->setImageURL(imageURL);
  item->setURL(URL);
  return item;
}

void TKTableMessageItem::encodeWithCoder(TKCoder& coder) const {
  TKTableTextItem::encodeWithCoder(coder);
  encodeString(coder, "title", title_);
  encodeString(coder, "caption", caption_);
  if (timestamp_) coder.encodeObject("timestamp", *timestamp_);
  encodeString(coder, "imageURL", imageURL_);
}

void TKTableMessageItem::initWithCoder(const TKCoder& coder) {
  TKTableTextItem::initWithCoder(coder);
  setTitle(coder.decodeString("title"));
  setCaption(coder.decodeString("caption"));
  setTimestamp(coder.decodeDate("timestamp"));
  setImageURL(coder.decodeString("imageURL"));
}

void TKTableImageItem::encodeWithCoder(TKCoder& coder) const {
  TKTableTextItem::encodeWithCoder(coder);
  encodeString(coder, "imageURL", imageURL_);
}

void TKTableImageItem::initWithCoder(const TKCoder& coder) {
  TKTableTextItem::initWithCoder(coder);
  setImageURL(coder.decodeString("imageURL"));
}

std::shared_ptr<TKTableActivityItem> TKTableActivityItem::itemWithText(const std::string& text) {
  auto item = std::make_shared<TKTableActivityItem>();
  item->setText(text);
  return item;
}

std::shared_ptr<TKTableStyledTextItem> TKTableStyledTextItem::itemWithText(std::shared_ptr<TKStyledText> text,
                                                                           const std::string& URL,
                                                                           const std::string& accessoryURL) {
  auto item = std::make_shared<TKTableStyledTextItem>();
  item->setText(std::move(text));
  item->setURL(URL);
  item->setAccessoryURL(accessoryURL);
  return item;
}

void TKTableStyledTextItem::encodeWithCoder(TKCoder& coder) const {
  TKTableLinkedItem::encodeWithCoder(coder);
  if (text_) coder.encodeObject("text", text_);
}

void TKTableStyledTextItem::initWithCoder(const TKCoder& coder) {
  TKTableLinkedItem::initWithCoder(coder);
  setText(coder.decodeStyledText("text"));
}

std::shared_ptr<TKTableControlItem> TKTableControlItem::itemWithCaption(const std::string& caption,
                                                                        std::shared_ptr<ui::View> control) {
  auto item = std::make_shared<TKTableControlItem>();
  item->setCaption(caption);
  item->setControl(std::move(control));
  return item;
}

void TKTableControlItem::encodeWithCoder(TKCoder& coder) const {
  TKTableItem::encodeWithCoder(coder);
  encodeString(coder, "caption", caption_);
  if (control_) coder.encodeObject("control", control_);
}

void TKTableControlItem::initWithCoder(const TKCoder& coder) {
  TKTableItem::initWithCoder(coder);
  setCaption(coder.decodeString("caption"));
  setControl(coder.decodeView("control"));
}

std::shared_ptr<TKTableViewItem> TKTableViewItem::itemWithCaption(const std::string& caption,
                                                                  std::shared_ptr<ui::View> view) {
  auto item = std::make_shared<TKTableViewItem>();
  item->setCaption(caption);
  item->setView(std::move(view));
  return item;
}

void TKTableViewItem::encodeWithCoder(TKCoder& coder) const {
  TKTableItem::encodeWithCoder(coder);
  encodeString(coder, "caption", caption_);
  if (view_) coder.encodeObject("view", view_);
}

void TKTableViewItem::initWithCoder(const TKCoder& coder) {
  TKTableItem::initWithCoder(coder);
  setCaption(coder.decodeString("caption"));
  setView(coder.decodeView("view"));
}
