#pragma once
// The cells of the text-bearing table items: plain, link, button, summary,
// long and gray texts, caption rows in three arrangements, subtitle rows
// with a thumbnail, message rows and the "load more" row. Each answers its
// row height for an object at a table's width and fills its labels from the
// object; layout places them from their current texts. Style sheet values
// are read each time. Main thread only.
#include <memory>
#include <string>

#include "platform/text/Font.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "toolkit/tables/TKImageView.h"
#include "toolkit/tables/TKTableViewCell.h"

class TKTableItem;
class TKTableLinkedItem;

// Any linked item: a URL gives the row its accessory and selection.
class TKTableLinkedItemCell : public TKTableViewCell {
 public:
  static constexpr const char* kClassName = "TKTableLinkedItemCell";
  using TKTableViewCell::TKTableViewCell;

  TKTableObject object() const override { return item_; }
  void setObject(const TKTableObject& object) override;

 protected:
  const TKTableObject& item() const { return item_; }

 private:
  TKTableObject item_;
};

// A text in the look of its item's kind.
class TKTableTextItemCell : public TKTableLinkedItemCell {
 public:
  static constexpr const char* kClassName = "TKTableTextItemCell";
  // The text's height at the table's width less margins and padding (at most
  // 2000), plus 20.
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);
  static ui::Font textFontForItem(const TKTableObject& object);

  TKTableTextItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;
};

// A caption at the left, the text beside it.
class TKTableCaptionItemCell : public TKTableLinkedItemCell {
 public:
  static constexpr const char* kClassName = "TKTableCaptionItemCell";
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  TKTableCaptionItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  ui::Label* captionLabel() const { return textLabel(); }
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;
};

// The text on top, the caption under it.
class TKTableSubtextItemCell : public TKTableLinkedItemCell {
 public:
  static constexpr const char* kClassName = "TKTableSubtextItemCell";
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  TKTableSubtextItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  ui::Label* captionLabel() const { return textLabel(); }
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;
};

// The platform's caption-beside-detail row.
class TKTableRightCaptionItemCell : public TKTableLinkedItemCell {
 public:
  static constexpr const char* kClassName = "TKTableRightCaptionItemCell";
  TKTableRightCaptionItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  ui::Label* captionLabel() const { return textLabel(); }
  void setObject(const TKTableObject& object) override;
};

// A thumbnail, a title and a subtitle.
class TKTableSubtitleItemCell : public TKTableLinkedItemCell {
 public:
  static constexpr const char* kClassName = "TKTableSubtitleItemCell";
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  TKTableSubtitleItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  ui::Label* subtitleLabel() const { return detailTextLabel(); }
  // Made on first use.
  TKImageView* imageView2();
  bool hasImageView2() const { return imageView2_ != nullptr; }
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;

 private:
  std::shared_ptr<TKImageView> imageView2_;
};

// A title, a caption, two lines of text, a timestamp and a thumbnail.
class TKTableMessageItemCell : public TKTableLinkedItemCell {
 public:
  static constexpr const char* kClassName = "TKTableMessageItemCell";
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  TKTableMessageItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  ui::Label* captionLabel() const { return textLabel(); }
  // Each made on first use.
  ui::Label* titleLabel();
  ui::Label* timestampLabel();
  TKImageView* imageView2();
  bool hasImageView2() const { return imageView2_ != nullptr; }
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;
  void didMoveToSuperview() override;

 private:
  std::shared_ptr<ui::Label> titleLabel_, timestampLabel_;
  std::shared_ptr<TKImageView> imageView2_;
};

// "Load more": a gray spinner at the left while it loads.
class TKTableMoreButtonCell : public TKTableSubtitleItemCell {
 public:
  static constexpr const char* kClassName = "TKTableMoreButtonCell";
  // The subtitle row's height, at least 66.
  static float rowHeightForObject(ui::TableView& tableView, const TKTableObject& object);

  TKTableMoreButtonCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier);
  bool isAnimating() const { return animating_; }
  void setAnimating(bool animating);
  // Made on first use.
  ui::ActivityIndicatorView* activityIndicatorView();
  void setObject(const TKTableObject& object) override;
  void layoutSubviews() override;

 private:
  std::shared_ptr<ui::ActivityIndicatorView> activityIndicatorView_;
  bool animating_ = false;
};

// Row-height helpers shared by the cells: a text's height at a width, and
// the table's width and cell margin.
namespace tkcells {
float textHeight(const std::string& text, const ui::Font& font, float width);
float tableWidth(const ui::TableView& tableView);
float cellMargin(const ui::TableView& tableView);
}  // namespace tkcells
