#include "toolkit/tables/TKTableImageItemCell.h"

#include <algorithm>
#include <cmath>

#include "toolkit/core/TKURLCache.h"
#include "toolkit/styled/TKDefaultStyleSheet.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/tables/TKTableItem.h"

namespace {

constexpr float kMargin = 10;
constexpr float kSpacing = 12;
constexpr float kDefaultImageSize = 50;

// The image the row shows now and its size: the cached one, else the default,
// else a placeholder for one still to come (none without a URL).
cg::Size imageSizeOf(const TKTableImageItem& item) {
  std::shared_ptr<ui::Image> image;
  if (!item.imageURL().empty()) image = TKURLCache::sharedCache().imageForURL(item.imageURL());
  if (!image) image = item.defaultImage();
  if (image) return image->size();
  return item.imageURL().empty() ? cg::Size() : cg::Size(kDefaultImageSize, kDefaultImageSize);
}

TKImageStyle* imageStyleOf(const TKTableImageItem& item) {
  return item.imageStyle() ? item.imageStyle()->firstStyleOfClass<TKImageStyle>() : nullptr;
}

}  // namespace

float TKTableImageItemCell::rowHeightForObject(ui::TableView& tableView, const TKTableObject& object) {
  auto* item = object.as<TKTableImageItem>();
  if (!item) return TKTableTextItemCell::rowHeightForObject(tableView, object);
  cg::Size image = imageSizeOf(*item);
  if (auto* style = imageStyleOf(*item); style && !(style->size == cg::Size())) image = style->size;
  float width = tkcells::tableWidth(tableView) - (image.width + kSpacing + kMargin * 2 + kMargin * 2);
  float height = tkcells::textHeight(item->text(), TKStyleSheet::globalStyleSheet()->tableSmallFont(), width);
  return std::max(height, image.height) + kMargin * 2;
}

TKTableImageItemCell::TKTableImageItemCell(ui::TableViewCellStyle style, const std::string& reuseIdentifier)
    : TKTableTextItemCell(style, reuseIdentifier) {
  imageView2_ = std::make_shared<TKImageView>();
  contentView()->addSubview(imageView2_);
}

void TKTableImageItemCell::setObject(const TKTableObject& object) {
  if (object == this->object()) return;
  TKTableTextItemCell::setObject(object);
  auto* item = object.as<TKTableImageItem>();
  imageView2_->setStyle(item ? item->imageStyle() : nullptr);
  imageView2_->setDefaultImage(item ? item->defaultImage() : nullptr);
  imageView2_->setURL(item ? item->imageURL() : "");
  auto sheet = TKStyleSheet::globalStyleSheet();
  if (object.as<TKTableRightImageItem>()) {
    textLabel()->setFont(sheet->tableSmallFont());
    textLabel()->setTextAlignment(ui::TextAlignment::Center);
    setAccessoryType(ui::TableViewCellAccessoryType::None);
  } else {
    textLabel()->setFont(sheet->tableFont());
    textLabel()->setTextAlignment(ui::TextAlignment::Left);
  }
}

void TKTableImageItemCell::didMoveToSuperview() {
  TKTableTextItemCell::didMoveToSuperview();
  if (superview()) imageView2_->setBackgroundColor(backgroundColor());
}

void TKTableImageItemCell::layoutSubviews() {
  TKTableTextItemCell::layoutSubviews();
  cg::Rect c = contentView()->bounds();
  auto* item = this->item().as<TKTableImageItem>();
  if (!item || imageView2_->URL().empty()) {
    textLabel()->setFrame(c.insetBy(kMargin, kMargin));
    imageView2_->setFrame(cg::Rect());
    return;
  }
  cg::Size image = imageSizeOf(*item);
  float cellHeight = frame().height();
  if (dynamic_cast<TKTableRightImageItem*>(item)) {
    textLabel()->setFrame(cg::Rect(kMargin, kMargin, c.width() - (image.width + kMargin * 2 + kSpacing),
                                   c.height() - kMargin * 2));
    imageView2_->setFrame(cg::Rect(textLabel()->frame().maxX() + kSpacing,
                                   std::floor(cellHeight / 2 - image.height / 2), image.width, image.height));
    return;
  }
  if (auto* style = imageStyleOf(*item)) {
    imageView2_->setContentMode(ui::ContentMode(style->contentMode));
    imageView2_->setClipsToBounds(true);
    imageView2_->setBackgroundColor(cg::Color::clear());
    if (style->size.width != 0) image.width = style->size.width;
    if (style->size.height != 0) image.height = style->size.height;
  }
  imageView2_->setFrame(cg::Rect(kMargin, std::floor(cellHeight / 2 - image.height / 2), image.width, image.height));
  textLabel()->setFrame(
      cg::Rect(image.width + kMargin * 2 + 2, kMargin, c.width() - (image.width + kMargin * 3 + 2), c.height() - kMargin * 2));
}
