#include "toolkit/tables/TKTableItemCell.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/text/TextMeasure.h"
#include "toolkit/core/Date+TKCategory.h"
#include "toolkit/core/Font+TKCategory.h"
#include "toolkit/core/TKNavigator.h"
#include "toolkit/core/TableView+TKCategory.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/tables/TKTableItem.h"

namespace {

constexpr float kMargin = 10;
constexpr float kSmallMargin = 6;
constexpr float kKeyWidth = 75;
constexpr float kKeySpacing = 12;
constexpr float kMaxLabelHeight = 2000;
constexpr float kDefaultMessageImageWidth = 34;
constexpr float kDefaultMessageImageHeight = 34;
constexpr float kMoreButtonMargin = 40;
constexpr float kMessageTextLineCount = 2;

using ui::TKLineHeight;

std::shared_ptr<TKDefaultStyleSheet> sheet() { return TKStyleSheet::globalStyleSheet(); }

ui::TableViewCellSelectionStyle selectionStyleOfSheet() {
  return ui::TableViewCellSelectionStyle(sheet()->tableSelectionStyle());
}

void setText(ui::TableCellLabel* label, const std::string& text) {
  if (label) label->setText(text);
}

}  // namespace

namespace tkcells {

// The platform's truncating measure keeps to one line; a height measured
// within an unbounded height wraps like the word-wrap measure, as these
// heights are meant.
float textHeight(const std::string& text, const ui::Font& font, float width) {
  if (text.empty()) return 0;
  return ui::sizeWithFont(text, font, {std::max(0.0f, width), std::numeric_limits<float>::max()},
                          ui::LineBreakMode::WordWrap)
      .height;
}

float tableWidth(const ui::TableView& tableView) { return tableView.frame().width(); }
float cellMargin(const ui::TableView& tableView) { return ui::tableCellMargin(tableView); }

}  // namespace tkcells

using tkcells::cellMargin;
using tkcells::tableWidth;
using tkcells::textHeight;

// --- linked item -------------------------------------------------------------------------

void TKTableLinkedItemCell::setObject(const TKTableObject& object) {
  if (object == item_) return;
  TKTableViewCell::setObject(object);
  item_ = object;
  auto* item = object.as<TKTableLinkedItem>();
  if (item && !item->URL().empty()) {
    if (!item->accessoryURL().empty()) {
      setAccessoryType(ui::TableViewCellAccessoryType::DetailDisclosureButton);
    } else {
      bool opensController =
          TKNavigator::navigator().URLMap().navigationModeForURL(item->URL()) == TKNavigationModeCreate;
      setAccessoryType(opensController ? ui::TableViewCellAccessoryType::DisclosureIndicator
                                       : ui::TableViewCellAccessoryType::None);
    }
    setSelectionStyle(selectionStyleOfSheet());
  } else {
    setAccessoryType(ui::TableViewCellAccessoryType::None);
    setSelectionStyle(ui::TableViewCellSelectionStyle::None);
  }
}

// --- text item -------------------------------------------------------------------------

ui::Font TKTableTextItemCell::textFontForItem(const TKTableObject& object) {
  if (object.as<TKTableLongTextItem>() || object.as<TKTableGrayTextItem>()) return sheet()->font();
  return sheet()->tableFont();
}

float TKTableTextItemCell::rowHeightForObject(ui::TableView& tableView, const TKTableObject& object) {
  auto* item = object.as<TKTableTextItem>();
  float width = tableWidth(tableView) - (cellMargin(tableView) * 2 + kMargin * 2);
  float height = item ? textHeight(item->text(), textFontForItem(object), width) : 0;
  return std::min(height, kMaxLabelHeight) + kMargin * 2;
}

TKTableTextItemCell::TKTableTextItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : TKTableLinkedItemCell(style, reuseIdentifier) {
  textLabel()->setHighlightedTextColor(sheet()->highlightedTextColor());
  textLabel()->setLineBreakMode(ui::LineBreakMode::WordWrap);
  textLabel()->setNumberOfLines(0);
}

void TKTableTextItemCell::layoutSubviews() {
  TKTableLinkedItemCell::layoutSubviews();
  textLabel()->setFrame(contentView()->bounds().insetBy(kMargin, kMargin));
}

void TKTableTextItemCell::setObject(const TKTableObject& object) {
  if (object == this->object()) return;
  TKTableLinkedItemCell::setObject(object);
  auto* item = object.as<TKTableTextItem>();
  setText(textLabel(), item ? item->text() : "");
  auto s = sheet();
  ui::Label* label = textLabel();
  if (object.as<TKTableButton>()) {
    label->setFont(s->tableButtonFont());
    label->setTextColor(s->linkTextColor());
    label->setTextAlignment(ui::TextAlignment::Center);
    setAccessoryType(ui::TableViewCellAccessoryType::None);
    setSelectionStyle(selectionStyleOfSheet());
  } else if (object.as<TKTableLink>()) {
    label->setFont(s->tableFont());
    label->setTextColor(s->linkTextColor());
    label->setTextAlignment(ui::TextAlignment::Left);
  } else if (object.as<TKTableSummaryItem>()) {
    label->setFont(s->tableSummaryFont());
    label->setTextColor(s->tableSubTextColor());
    label->setTextAlignment(ui::TextAlignment::Center);
  } else if (object.as<TKTableLongTextItem>()) {
    label->setFont(s->font());
    label->setTextColor(s->textColor());
    label->setTextAlignment(ui::TextAlignment::Left);
  } else if (object.as<TKTableGrayTextItem>()) {
    label->setFont(s->font());
    label->setTextColor(s->tableSubTextColor());
    label->setTextAlignment(ui::TextAlignment::Left);
  } else {
    label->setFont(s->tableFont());
    label->setTextColor(s->textColor());
    label->setTextAlignment(ui::TextAlignment::Left);
  }
}

// --- caption item ------------------------------------------------------------------------

float TKTableCaptionItemCell::rowHeightForObject(ui::TableView& tableView, const TKTableObject& object) {
  auto* item = object.as<TKTableCaptionItem>();
  float width = tableWidth(tableView) - (cellMargin(tableView) * 2 + kMargin * 2 + kKeyWidth + kKeySpacing);
  return (item ? textHeight(item->text(), sheet()->tableSmallFont(), width) : 0) + kMargin * 2;
}

TKTableCaptionItemCell::TKTableCaptionItemCell(ui::TableViewCellStyle, const std::string& reuseIdentifier)
    : TKTableLinkedItemCell(ui::TableViewCellStyle::Value2, reuseIdentifier) {
  auto s = sheet();
  ui::Label* caption = textLabel();
  caption->setFont(s->tableTitleFont());
  caption->setTextColor(s->linkTextColor());
  caption->setHighlightedTextColor(s->highlightedTextColor());
  caption->setTextAlignment(ui::TextAlignment::Right);
  caption->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  caption->setNumberOfLines(1);
  caption->setAdjustsFontSizeToFitWidth(true);
  ui::Label* text = detailTextLabel();
  text->setFont(s->tableSmallFont());
  text->setTextColor(s->textColor());
  text->setHighlightedTextColor(s->highlightedTextColor());
  text->setAdjustsFontSizeToFitWidth(true);
  text->setMinimumFontSize(8);
  text->setLineBreakMode(ui::LineBreakMode::WordWrap);
  text->setNumberOfLines(0);
}

void TKTableCaptionItemCell::layoutSubviews() {
  TKTableLinkedItemCell::layoutSubviews();
  cg::Rect c = contentView()->bounds();
  textLabel()->setFrame(cg::Rect(kMargin, kMargin, kKeyWidth, TKLineHeight(textLabel()->font())));
  detailTextLabel()->setFrame(cg::Rect(kMargin + kKeyWidth + kKeySpacing, kMargin,
                                       c.width() - (kMargin * 2 + kKeyWidth + kKeySpacing), c.height() - kMargin * 2));
}

void TKTableCaptionItemCell::setObject(const TKTableObject& object) {
  if (object == this->object()) return;
  TKTableLinkedItemCell::setObject(object);
  auto* item = object.as<TKTableCaptionItem>();
  setText(textLabel(), item ? item->caption() : "");
  setText(detailTextLabel(), item ? item->text() : "");
}

// --- subtext item -----------------------------------------------------------------------

float TKTableSubtextItemCell::rowHeightForObject(ui::TableView& tableView, const TKTableObject& object) {
  auto* item = object.as<TKTableCaptionItem>();
  if (!item) return kMargin * 2;
  float width = tableWidth(tableView) - kMargin * 2;
  return textHeight(item->text(), sheet()->tableFont(), width) + textHeight(item->caption(), sheet()->font(), width) +
         kMargin * 2;
}

TKTableSubtextItemCell::TKTableSubtextItemCell(ui::TableViewCellStyle, const std::string& reuseIdentifier)
    : TKTableLinkedItemCell(ui::TableViewCellStyle::Value2, reuseIdentifier) {
  auto s = sheet();
  ui::Label* text = detailTextLabel();
  text->setFont(s->tableFont());
  text->setTextColor(s->textColor());
  text->setHighlightedTextColor(s->highlightedTextColor());
  text->setAdjustsFontSizeToFitWidth(true);
  text->setTextAlignment(ui::TextAlignment::Left);
  ui::Label* caption = textLabel();
  caption->setFont(s->font());
  caption->setTextColor(s->tableSubTextColor());
  caption->setHighlightedTextColor(s->highlightedTextColor());
  caption->setTextAlignment(ui::TextAlignment::Left);
  caption->setContentMode(ui::ContentMode::Top);
  caption->setLineBreakMode(ui::LineBreakMode::WordWrap);
  caption->setNumberOfLines(0);
}

void TKTableSubtextItemCell::layoutSubviews() {
  TKTableLinkedItemCell::layoutSubviews();
  cg::Rect c = contentView()->bounds();
  ui::Label* caption = textLabel();
  ui::Label* text = detailTextLabel();
  if (caption->text().empty()) {
    float heights = caption->frame().height() + text->frame().height();
    text->sizeToFit();
    float top = std::floor(c.height() / 2 - heights / 2);
    text->setFrame(cg::Rect(top * 2, top, text->frame().width(), text->frame().height()));
  } else {
    text->sizeToFit();
    text->setFrame(cg::Rect(kMargin, kMargin, text->frame().width(), text->frame().height()));
    cg::Size size = ui::sizeWithFont(caption->text(), caption->font(),
                                     {c.width() - kMargin * 2, std::numeric_limits<float>::max()},
                                     caption->lineBreakMode());
    caption->setFrame(cg::Rect(kMargin, text->frame().maxY(), size.width, size.height));
  }
}

void TKTableSubtextItemCell::setObject(const TKTableObject& object) {
  if (object == this->object()) return;
  TKTableLinkedItemCell::setObject(object);
  auto* item = object.as<TKTableCaptionItem>();
  setText(textLabel(), item ? item->caption() : "");
  setText(detailTextLabel(), item ? item->text() : "");
}

// --- right caption item -------------------------------------------------------------------

TKTableRightCaptionItemCell::TKTableRightCaptionItemCell(ui::TableViewCellStyle, const std::string& reuseIdentifier)
    : TKTableLinkedItemCell(ui::TableViewCellStyle::Value2, reuseIdentifier) {
  textLabel()->setHighlightedTextColor(sheet()->highlightedTextColor());
  textLabel()->setLineBreakMode(ui::LineBreakMode::WordWrap);
  textLabel()->setNumberOfLines(0);
  detailTextLabel()->setHighlightedTextColor(sheet()->highlightedTextColor());
}

void TKTableRightCaptionItemCell::setObject(const TKTableObject& object) {
  if (object == this->object()) return;
  TKTableLinkedItemCell::setObject(object);
  auto* item = object.as<TKTableCaptionItem>();
  setText(textLabel(), item ? item->caption() : "");
  setText(detailTextLabel(), item ? item->text() : "");
}

// --- subtitle item ---------------------------------------------------------------------------

float TKTableSubtitleItemCell::rowHeightForObject(ui::TableView&, const TKTableObject& object) {
  auto s = sheet();
  float height = TKLineHeight(s->tableFont()) + kMargin * 2;
  auto* item = object.as<TKTableSubtitleItem>();
  if (item && !item->subtitle().empty()) height += TKLineHeight(s->font());
  return height;
}

TKTableSubtitleItemCell::TKTableSubtitleItemCell(ui::TableViewCellStyle, const std::string& reuseIdentifier)
    : TKTableLinkedItemCell(ui::TableViewCellStyle::Value2, reuseIdentifier) {
  auto s = sheet();
  ui::Label* title = textLabel();
  title->setFont(s->tableFont());
  title->setTextColor(s->textColor());
  title->setHighlightedTextColor(s->highlightedTextColor());
  title->setTextAlignment(ui::TextAlignment::Left);
  title->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  title->setAdjustsFontSizeToFitWidth(true);
  ui::Label* subtitle = detailTextLabel();
  subtitle->setFont(s->font());
  subtitle->setTextColor(s->tableSubTextColor());
  subtitle->setHighlightedTextColor(s->highlightedTextColor());
  subtitle->setTextAlignment(ui::TextAlignment::Left);
  subtitle->setContentMode(ui::ContentMode::Top);
  subtitle->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  subtitle->setNumberOfLines(2);
}

TKImageView* TKTableSubtitleItemCell::imageView2() {
  if (!imageView2_) {
    imageView2_ = std::make_shared<TKImageView>();
    contentView()->addSubview(imageView2_);
  }
  return imageView2_.get();
}

void TKTableSubtitleItemCell::layoutSubviews() {
  TKTableLinkedItemCell::layoutSubviews();
  cg::Rect c = contentView()->bounds();
  float h = c.height();
  float left = kMargin, imageRight = 0;
  if (imageView2_) {
    imageView2_->setFrame(cg::Rect(0, 0, h, h));
    imageRight = imageView2_->frame().maxX();
    left = imageRight + kSmallMargin;
  }
  float w = c.width() - (h + kSmallMargin);
  ui::Label* title = textLabel();
  ui::Label* subtitle = detailTextLabel();
  if (subtitle->text().empty()) {
    title->setFrame(cg::Rect(imageRight + kSmallMargin, 0, w, h));
    subtitle->setFrame(cg::Rect());
  } else {
    float th = TKLineHeight(title->font()), sh = TKLineHeight(subtitle->font());
    float y = std::floor((h - (th + sh)) / 2);
    title->setFrame(cg::Rect(left, y, w, th));
    subtitle->setFrame(cg::Rect(left, title->frame().maxY(), w, sh));
  }
}

void TKTableSubtitleItemCell::setObject(const TKTableObject& object) {
  if (object == this->object()) return;
  TKTableLinkedItemCell::setObject(object);
  // A label keeps its text when the new object's field is empty. The "load
  // more" item has a text but none of the subtitle's fields: they read as empty.
  if (auto* item = object.as<TKTableTextItem>(); item && !item->text().empty()) setText(textLabel(), item->text());
  auto* item = object.as<TKTableSubtitleItem>();
  if (!item) return;
  if (!item->subtitle().empty()) setText(detailTextLabel(), item->subtitle());
  if (item->defaultImage()) imageView2()->setDefaultImage(item->defaultImage());
  if (!item->imageURL().empty()) imageView2()->setURL(item->imageURL());
}

// --- message item ----------------------------------------------------------------------------

float TKTableMessageItemCell::rowHeightForObject(ui::TableView&, const TKTableObject&) { return 90; }

TKTableMessageItemCell::TKTableMessageItemCell(ui::TableViewCellStyle, const std::string& reuseIdentifier)
    : TKTableLinkedItemCell(ui::TableViewCellStyle::Value2, reuseIdentifier) {
  auto s = sheet();
  ui::Label* caption = textLabel();
  caption->setFont(s->font());
  caption->setTextColor(s->textColor());
  caption->setHighlightedTextColor(s->highlightedTextColor());
  caption->setTextAlignment(ui::TextAlignment::Left);
  caption->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  caption->setAdjustsFontSizeToFitWidth(true);
  caption->setContentMode(ui::ContentMode::Left);
  ui::Label* body = detailTextLabel();
  body->setFont(s->font());
  body->setTextColor(s->tableSubTextColor());
  body->setHighlightedTextColor(s->highlightedTextColor());
  body->setTextAlignment(ui::TextAlignment::Left);
  body->setLineBreakMode(ui::LineBreakMode::TruncateTail);
  body->setNumberOfLines(int(kMessageTextLineCount));
  body->setContentMode(ui::ContentMode::Left);
}

ui::Label* TKTableMessageItemCell::titleLabel() {
  if (!titleLabel_) {
    titleLabel_ = std::make_shared<ui::Label>();
    titleLabel_->setTextColor(cg::Color::black());
    titleLabel_->setHighlightedTextColor(cg::Color::white());
    titleLabel_->setFont(sheet()->tableFont());
    titleLabel_->setContentMode(ui::ContentMode::Left);
    contentView()->addSubview(titleLabel_);
  }
  return titleLabel_.get();
}

ui::Label* TKTableMessageItemCell::timestampLabel() {
  if (!timestampLabel_) {
    timestampLabel_ = std::make_shared<ui::Label>();
    timestampLabel_->setFont(sheet()->tableTimestampFont());
    timestampLabel_->setTextColor(sheet()->timestampTextColor());
    timestampLabel_->setHighlightedTextColor(cg::Color::white());
    timestampLabel_->setContentMode(ui::ContentMode::Left);
    contentView()->addSubview(timestampLabel_);
  }
  return timestampLabel_.get();
}

TKImageView* TKTableMessageItemCell::imageView2() {
  if (!imageView2_) {
    imageView2_ = std::make_shared<TKImageView>();
    contentView()->addSubview(imageView2_);
  }
  return imageView2_.get();
}

void TKTableMessageItemCell::setObject(const TKTableObject& object) {
  if (object == this->object()) return;
  TKTableLinkedItemCell::setObject(object);
  auto* item = object.as<TKTableMessageItem>();
  if (!item) return;
  if (!item->title().empty()) titleLabel()->setText(item->title());
  if (!item->caption().empty()) setText(textLabel(), item->caption());
  if (!item->text().empty()) setText(detailTextLabel(), item->text());
  if (item->timestamp()) timestampLabel()->setText(ns::formatShortTime(*item->timestamp()));
  if (!item->imageURL().empty()) imageView2()->setURL(item->imageURL());
  setNeedsLayout();
}

void TKTableMessageItemCell::didMoveToSuperview() {
  TKTableLinkedItemCell::didMoveToSuperview();
  if (!superview()) return;
  for (ui::View* v : {static_cast<ui::View*>(imageView2_.get()), static_cast<ui::View*>(titleLabel_.get()),
                      static_cast<ui::View*>(timestampLabel_.get())})
    if (v) v->setBackgroundColor(backgroundColor());
}

void TKTableMessageItemCell::layoutSubviews() {
  TKTableLinkedItemCell::layoutSubviews();
  cg::Rect c = contentView()->bounds();
  float left = kMargin;
  if (imageView2_) {
    imageView2_->setFrame(
        cg::Rect(kSmallMargin, kSmallMargin, kDefaultMessageImageWidth, kDefaultMessageImageHeight));
    left = kSmallMargin + kDefaultMessageImageWidth + kSmallMargin;
  }
  float w = c.width() - left;
  float y = kSmallMargin;
  if (titleLabel_ && !titleLabel_->text().empty()) {
    titleLabel_->setFrame(cg::Rect(left, kSmallMargin, w, TKLineHeight(titleLabel_->font())));
    y = titleLabel_->frame().height() + kSmallMargin;
  } else if (titleLabel_) {
    titleLabel_->setFrame(cg::Rect());
  }
  ui::Label* caption = textLabel();
  if (!caption->text().empty()) {
    caption->setFrame(cg::Rect(left, y, w, TKLineHeight(caption->font())));
    y += caption->frame().height();
  } else {
    caption->setFrame(cg::Rect());
  }
  ui::Label* body = detailTextLabel();
  if (!body->text().empty()) body->setFrame(cg::Rect(left, y, w, TKLineHeight(body->font()) * kMessageTextLineCount));
  else body->setFrame(cg::Rect());
  if (timestampLabel_ && !timestampLabel_->text().empty()) {
    timestampLabel_->setAlpha(showingDeleteConfirmation() ? 0 : 1);
    timestampLabel_->sizeToFit();
    cg::Rect t = timestampLabel_->frame();
    float top = titleLabel_ ? titleLabel_->frame().y() : 0;
    timestampLabel_->setFrame(cg::Rect(c.width() - (t.width() + kSmallMargin), top, t.width(), t.height()));
    if (titleLabel_) {
      cg::Rect f = titleLabel_->frame();
      titleLabel_->setFrame(cg::Rect(f.x(), f.y(), f.width() - (t.width() + kSmallMargin * 2), f.height()));
    }
  } else if (timestampLabel_) {
    timestampLabel_->setFrame(cg::Rect());
  }
}

// --- load more -------------------------------------------------------------------------------

float TKTableMoreButtonCell::rowHeightForObject(ui::TableView& tableView, const TKTableObject& object) {
  return std::max(TKTableSubtitleItemCell::rowHeightForObject(tableView, object), 66.0f);
}

TKTableMoreButtonCell::TKTableMoreButtonCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : TKTableSubtitleItemCell(style, reuseIdentifier) {
  textLabel()->setFont(sheet()->tableSmallFont());
}

ui::ActivityIndicatorView* TKTableMoreButtonCell::activityIndicatorView() {
  if (!activityIndicatorView_) {
    activityIndicatorView_ = std::make_shared<ui::ActivityIndicatorView>(ui::ActivityIndicatorViewStyle::Gray);
    contentView()->addSubview(activityIndicatorView_);
  }
  return activityIndicatorView_.get();
}

void TKTableMoreButtonCell::setAnimating(bool animating) {
  if (animating == animating_) return;
  animating_ = animating;
  if (animating) activityIndicatorView()->startAnimating();
  else if (activityIndicatorView_) activityIndicatorView_->stopAnimating();
  setNeedsLayout();
}

void TKTableMoreButtonCell::setObject(const TKTableObject& object) {
  if (object == this->object()) return;
  TKTableSubtitleItemCell::setObject(object);
  auto* item = object.as<TKTableMoreButton>();
  setAnimating(item && item->isLoading());
  textLabel()->setTextColor(sheet()->moreLinkTextColor());
  setSelectionStyle(selectionStyleOfSheet());
}

void TKTableMoreButtonCell::layoutSubviews() {
  TKTableSubtitleItemCell::layoutSubviews();
  cg::Rect c = contentView()->bounds();
  if (activityIndicatorView_) {
    cg::Rect a = activityIndicatorView_->frame();
    activityIndicatorView_->setFrame(cg::Rect(kMoreButtonMargin - (a.width() + kSmallMargin),
                                              std::floor(c.height() / 2 - a.height() / 2), a.width(), a.height()));
  }
  for (ui::Label* label : {textLabel(), detailTextLabel()}) {
    cg::Rect f = label->frame();
    label->setFrame(cg::Rect(kMoreButtonMargin, f.y(), c.width() - (kMoreButtonMargin + kSmallMargin), f.height()));
  }
}
