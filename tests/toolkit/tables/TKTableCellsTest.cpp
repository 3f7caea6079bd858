// The item cells: their row heights for an object at a table's width, what
// they show for each kind of item, where they place it, and a contact sheet
// of every cell in plain and grouped tables; a second sheet shows the views
// the cells are made of.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/text/TextMeasure.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "tests/toolkit/tables/TKTablesTestSupport.h"
#include "toolkit/core/Font+TKCategory.h"
#include "toolkit/core/TKURLCache.h"
#include "toolkit/styled/TKFillStyle.h"
#include "toolkit/styled/TKShape.h"
#include "toolkit/styled/TKStyle.h"
#include "toolkit/styled/TKStyledText.h"
#include "toolkit/tables/TKActivityLabel.h"
#include "toolkit/tables/TKButton.h"
#include "toolkit/tables/TKErrorView.h"
#include "toolkit/tables/TKImageView.h"
#include "toolkit/tables/TKLayout.h"
#include "toolkit/tables/TKSearchlightLabel.h"
#include "toolkit/tables/TKStyledTextTableCell.h"
#include "toolkit/tables/TKTableActivityItemCell.h"
#include "toolkit/tables/TKTableControlCell.h"
#include "toolkit/tables/TKTableImageItemCell.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTableItemCell.h"
#include "toolkit/tables/TKTableView.h"
#include "toolkit/tables/TKTableViewController.h"
#include "toolkit/tables/TKTableViewDataSource.h"
#include "toolkit/tables/TKTextEditor.h"
#include "toolkit/tables/TKView.h"

namespace {

class TKTableCellsTest : public tktables::TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    plain = std::make_shared<TKTableView>(cg::Rect(0, 0, 320, 480), ui::TableViewStyle::Plain);
    grouped = std::make_shared<TKTableView>(cg::Rect(0, 0, 320, 480), ui::TableViewStyle::Grouped);
  }
  // A cell of the class, given the object and laid out at the size.
  template <class Cell>
  std::shared_ptr<Cell> cell(const TKTableObject& object, cg::Size size = {320, 44}) {
    auto c = std::make_shared<Cell>(ui::TableViewCellStyle::Default, "");
    c->setObject(object);
    c->setFrame(cg::Rect(0, 0, size.width, size.height));
    c->layoutSubviews();
    return c;
  }
  ui::ScopedMeasurer fixed{std::make_shared<ui::FixedAdvanceMeasurer>(10, 20)};
  std::shared_ptr<TKTableView> plain, grouped;
};

TEST_F(TKTableCellsTest, TextRowHeights) {
  auto huge = TKTableTextItem::itemWithText(std::string(4200, 'x'));  // 150 lines of 280
  EXPECT_EQ(TKTableTextItemCell::rowHeightForObject(*grouped, huge), 2020);
  auto line = TKTableTextItem::itemWithText(std::string(29, 'x'));  // 290 points of text
  EXPECT_EQ(TKTableTextItemCell::rowHeightForObject(*plain, line), 40);
  EXPECT_EQ(TKTableTextItemCell::rowHeightForObject(*grouped, line), 60);
  EXPECT_EQ(TKTableTextItemCell::rowHeightForObject(*plain, TKTableTextItem::itemWithText("")), 20);
  // Caption rows measure the text beside a 75-point caption column.
  auto caption = TKTableCaptionItem::itemWithTextCaption(std::string(21, 'x'), "Key");  // 210 points
  EXPECT_EQ(TKTableCaptionItemCell::rowHeightForObject(*plain, caption), 40);
  EXPECT_EQ(TKTableCaptionItemCell::rowHeightForObject(*grouped, caption), 60);
  auto subtext = TKTableSubtextItem::itemWithTextCaption("Text", "Caption under it");
  EXPECT_EQ(TKTableSubtextItemCell::rowHeightForObject(*plain, subtext), 60);
  EXPECT_EQ(TKTableMessageItemCell::rowHeightForObject(*plain, {}), 90);
  auto sheet = TKStyleSheet::globalStyleSheet();
  float subtitle = ui::TKLineHeight(sheet->tableFont()) + 20;
  EXPECT_EQ(TKTableSubtitleItemCell::rowHeightForObject(*plain, TKTableSubtitleItem::itemWithTextSubtitle("t", "")),
            subtitle);
  EXPECT_EQ(TKTableSubtitleItemCell::rowHeightForObject(*plain, TKTableSubtitleItem::itemWithTextSubtitle("t", "s")),
            subtitle + ui::TKLineHeight(sheet->font()));
  EXPECT_EQ(TKTableMoreButtonCell::rowHeightForObject(*plain, TKTableMoreButton::itemWithTextCaption("More", "")), 66);
}

TEST_F(TKTableCellsTest, TheURLDecidesAccessoryAndSelection) {
  TKNavigator::navigator().URLMap().fromToViewController("tt://screen/(initWithId:)", "TKViewController");
  struct Case {
    std::string url, accessoryURL;
    ui::TableViewCellAccessoryType accessory;
    ui::TableViewCellSelectionStyle selection;
  } cases[] = {
      {"tt://screen/1", "http://x/detail", ui::TableViewCellAccessoryType::DetailDisclosureButton,
       ui::TableViewCellSelectionStyle::Blue},
      {"tt://screen/1", "", ui::TableViewCellAccessoryType::DisclosureIndicator, ui::TableViewCellSelectionStyle::Blue},
      {"http://unmapped/", "", ui::TableViewCellAccessoryType::None, ui::TableViewCellSelectionStyle::Blue},
      {"", "http://x/detail", ui::TableViewCellAccessoryType::None, ui::TableViewCellSelectionStyle::None},
  };
  for (const auto& c : cases) {
    auto text = cell<TKTableTextItemCell>(TKTableTextItem::itemWithText("t", c.url, c.accessoryURL));
    EXPECT_EQ(text->accessoryType(), c.accessory) << c.url << " " << c.accessoryURL;
    EXPECT_EQ(text->selectionStyle(), c.selection) << c.url;
  }
  // A button is centred in the link colour without an accessory, whatever its URL.
  auto button = cell<TKTableTextItemCell>(TKTableButton::itemWithText("Go", "tt://screen/2"));
  EXPECT_EQ(button->accessoryType(), ui::TableViewCellAccessoryType::None);
  EXPECT_EQ(button->textLabel()->textAlignment(), ui::TextAlignment::Center);
  EXPECT_EQ(button->textLabel()->textColor(), TKStyleSheet::globalStyleSheet()->linkTextColor());
  // Reuse lets the item go: no accessory, no selection, no text.
  button->prepareForReuse();
  EXPECT_TRUE(button->object().isNil());
  EXPECT_EQ(button->selectionStyle(), ui::TableViewCellSelectionStyle::None);
  EXPECT_EQ(button->textLabel()->text(), "");
}

TEST_F(TKTableCellsTest, CaptionAndSubtextLayouts) {
  auto caption = cell<TKTableCaptionItemCell>(TKTableCaptionItem::itemWithTextCaption("Value", "Key"), {320, 60});
  EXPECT_EQ(caption->captionLabel()->text(), "Key");
  EXPECT_EQ(caption->captionLabel()->frame().x(), 10);
  EXPECT_EQ(caption->captionLabel()->frame().width(), 75);
  float CH = caption->contentView()->bounds().height();
  EXPECT_EQ(caption->detailTextLabel()->frame(), cg::Rect(97, 10, 320 - 107, CH - 20));

  auto alone = cell<TKTableSubtextItemCell>(TKTableSubtextItem::itemWithTextCaption("Text", ""));
  cg::Rect f = alone->detailTextLabel()->frame();
  EXPECT_EQ(f.y(), std::floor(alone->contentView()->bounds().height() / 2 - f.height() / 2));
  EXPECT_EQ(f.x(), f.y() * 2);
  auto both = cell<TKTableSubtextItemCell>(TKTableSubtextItem::itemWithTextCaption("Text", "Caption"), {320, 60});
  EXPECT_EQ(both->detailTextLabel()->frame().origin, cg::Point(10, 10));
  EXPECT_EQ(both->captionLabel()->frame(), cg::Rect(10, both->detailTextLabel()->frame().maxY(), 70, 20));
}

TEST_F(TKTableCellsTest, MessageRowLayout) {
  auto item = TKTableMessageItem::itemWithTitle("Title", "Caption", "Body", std::nullopt, "http://img.invalid/x", "");
  auto withThumb = cell<TKTableMessageItemCell>(item, {320, 90});
  ASSERT_TRUE(withThumb->hasImageView2());
  EXPECT_EQ(withThumb->imageView2()->frame(), cg::Rect(6, 6, 34, 34));
  float title = ui::TKLineHeight(withThumb->titleLabel()->font());
  EXPECT_EQ(withThumb->titleLabel()->frame(), cg::Rect(46, 6, 320 - 46, title));
  EXPECT_EQ(withThumb->captionLabel()->frame().y(), title + 6);

  auto stamped = TKTableMessageItem::itemWithTitle("Title", "", "Body", ns::Date::now(), "");
  auto row = cell<TKTableMessageItemCell>(stamped, {320, 90});
  EXPECT_FALSE(row->hasImageView2());
  cg::Rect stamp = row->timestampLabel()->frame();
  EXPECT_EQ(stamp.maxX(), 320 - 6);
  EXPECT_EQ(row->titleLabel()->frame().width(), 310 - (stamp.width() + 12));
  EXPECT_EQ(row->timestampLabel()->alpha(), 1);
  EXPECT_EQ(row->captionLabel()->frame(), cg::Rect());
}

TEST_F(TKTableCellsTest, LoadMoreRowsKeepTheirLabelsClearOfTheSpinner) {
  auto more = cell<TKTableMoreButtonCell>(TKTableMoreButton::itemWithTextCaption("Load more", ""), {320, 66});
  EXPECT_EQ(more->textLabel()->frame().x(), 40);
  EXPECT_EQ(more->textLabel()->frame().width(), 320 - 46);
  EXPECT_EQ(more->textLabel()->text(), "Load more");
  more->setAnimating(true);
  more->layoutSubviews();
  EXPECT_EQ(more->textLabel()->frame().x(), 40);
  cg::Rect spinner = more->activityIndicatorView()->frame();
  EXPECT_EQ(spinner.maxX(), 40 - 6);
  EXPECT_EQ(spinner.y(), std::floor(more->contentView()->bounds().height() / 2 - spinner.height() / 2));
  EXPECT_TRUE(more->activityIndicatorView()->isAnimating());
}

TEST_F(TKTableCellsTest, ImageRowsMakeRoomForTheImage) {
  auto pending = TKTableImageItem::itemWithTextImageURL(std::string(22, 'x'), "http://img.invalid/p.png");
  // Text measured at 320 - (50 + 52) = 218: 22 characters take two lines.
  EXPECT_EQ(TKTableImageItemCell::rowHeightForObject(*plain, pending), 70);
  auto styled = TKTableImageItem::itemWithTextImageURL(
      "x", "http://img.invalid/p.png", nullptr, TKImageStyle::styleWithImageURL("", nullptr, 1, {40, 0}, nullptr), "");
  EXPECT_EQ(TKTableImageItemCell::rowHeightForObject(*plain, styled), 40);  // the style's 40 x 0
  auto left = cell<TKTableImageItemCell>(styled, {320, 70});
  EXPECT_EQ(left->imageView2()->frame(), cg::Rect(10, 10, 40, 50));
  EXPECT_EQ(left->textLabel()->frame().x(), 62);

  auto cached = tktables::filledImage(30, 20, cg::Color::red());
  TKURLCache::sharedCache().storeImage(cached, "http://img.invalid/r.png");
  auto rightItem = TKTableRightImageItem::itemWithTextImageURL("x", "http://img.invalid/r.png");
  auto right = cell<TKTableImageItemCell>(rightItem, {320, 60});
  cg::Rect text = right->textLabel()->frame(), image = right->imageView2()->frame();
  EXPECT_EQ(image.x(), text.maxX() + 12);
  EXPECT_EQ(image, cg::Rect(text.maxX() + 12, 20, 30, 20));
  EXPECT_EQ(right->textLabel()->textAlignment(), ui::TextAlignment::Center);
  // Without a URL the text takes the whole row.
  auto none = cell<TKTableImageItemCell>(TKTableImageItem::itemWithTextImageURL("x", ""), {320, 44});
  EXPECT_EQ(none->imageView2()->frame(), cg::Rect());
  EXPECT_EQ(none->textLabel()->frame(), none->contentView()->bounds().insetBy(10, 10));
}

TEST_F(TKTableCellsTest, StyledTextRowsLeaveRoomForTheAccessory) {
  auto text = TKStyledText::textFromXHTML(std::string(60, 'x'));
  auto item = TKTableStyledTextItem::itemWithText(text);
  TKStyledTextTableItemCell::rowHeightForObject(*plain, item);
  float without = text->width();
  item->setURL("http://x.y");
  TKStyledTextTableItemCell::rowHeightForObject(*plain, item);
  EXPECT_EQ(text->width(), without - 23);
  EXPECT_EQ(without, 320 - 12);
  EXPECT_EQ(TKStyledTextTableItemCell::rowHeightForObject(*grouped, item), text->height() + 12);
  auto bare = TKStyledText::textFromXHTML("bare");
  EXPECT_EQ(TKStyledTextTableCell::rowHeightForObject(*grouped, bare), bare->height());
  EXPECT_EQ(bare->width(), 300);
}

TEST_F(TKTableCellsTest, ControlRows) {
  auto field = std::make_shared<ui::TextField>();
  EXPECT_EQ(TKTableControlCell::rowHeightForObject(*plain, field),
            std::max(44.0f, ui::TKLineHeight(field->font()) + 12));
  auto textView = std::make_shared<ui::TextView>();
  EXPECT_EQ(TKTableControlCell::rowHeightForObject(*plain, textView), ui::TKLineHeight(textView->font()) * 5);

  auto editor = std::make_shared<TKTextEditor>();
  EXPECT_EQ(TKTableControlCell::rowHeightForObject(*plain, editor), ui::TKLineHeight(editor->font()) * 5);
  EXPECT_EQ(TKListDataSource().cellClassForObject(nullptr, editor).name, "TKTableControlCell");
  auto editorRow = cell<TKTableControlCell>(editor, {320, 100});
  EXPECT_EQ(editor->frame(), editorRow->contentView()->bounds().insetBy(2, 4));

  auto sw = std::make_shared<ui::Switch>();
  auto switchRow = cell<TKTableControlCell>(TKTableControlItem::itemWithCaption("Wi-Fi", sw));
  EXPECT_EQ(sw->frame().maxX(), 320 - 8);
  EXPECT_EQ(switchRow->textLabel()->text(), "Wi-Fi");
  field->setFrame(cg::Rect(0, 0, 0, 31));
  auto fieldRow = cell<TKTableControlCell>(TKTableControlItem::itemWithCaption("Name", field));
  float lw = fieldRow->textLabel()->sizeThatFits({320, 44}).width + 8;
  EXPECT_EQ(field->frame(), cg::Rect(lw + 8, 6, 320 - 8 - lw, 31));
  auto textRow = cell<TKTableControlCell>(textView, {320, 100});
  EXPECT_EQ(textView->frame(), textRow->contentView()->bounds().insetBy(2, 4));
  EXPECT_EQ(textRow->object(), TKTableObject(textView));
  // Reuse drops the control.
  fieldRow->prepareForReuse();
  EXPECT_FALSE(field->superview());

  auto view = std::make_shared<ui::View>();
  auto flush = cell<TKTableFlushViewCell>(view);
  EXPECT_EQ(view->frame(), flush->contentView()->bounds());
  EXPECT_EQ(view->frame().height(), 43);  // the row less its separator
}

// Every cell in a plain and a grouped table, side by side, for a person to look at.
TEST_F(TKTableCellsTest, ContactSheet) {
  ui::ScopedMeasurer pango{nullptr};
  auto thumb = tktables::filledImage(40, 40, cg::Color(0.2f, 0.5f, 0.3f));
  TKURLCache::sharedCache().storeImage(thumb, "http://sheet.invalid/thumb.png");
  auto rows = [&] {
    std::vector<TKTableObject> objects = {
        "Text",
        TKTableTextItem::itemWithText("A plain text row"),
        TKTableLink::itemWithText("A link", "http://x.y"),
        TKTableButton::itemWithText("A button"),
        TKTableSummaryItem::itemWithText("A summary"),
        TKTableGrayTextItem::itemWithText("Gray text that runs on over more than one line of the row"),
        TKTableCaptionItem::itemWithTextCaption("A value beside its key", "Key"),
        TKTableRightCaptionItem::itemWithTextCaption("Right caption", "Caption"),
        TKTableSubtextItem::itemWithTextCaption("Text on top", "The caption under it"),
        "Rich",
        TKTableSubtitleItem::itemWithTextSubtitleImageURL("Subtitle row", "Its subtitle", "http://sheet.invalid/thumb.png"),
        TKTableMessageItem::itemWithTitle("Title", "Caption", "The body of a message, two lines of it at most.",
                                          ns::Date::now(), "http://sheet.invalid/thumb.png", ""),
        TKTableImageItem::itemWithTextImageURL("Image at the left", "http://sheet.invalid/thumb.png"),
        TKTableRightImageItem::itemWithTextImageURL("Image at the right", "http://sheet.invalid/thumb.png"),
        TKTableActivityItem::itemWithText("Loading…"),
        TKTableActivityItem::itemWithText("جارٍ التحميل"),
        TKTableStyledTextItem::itemWithText(TKStyledText::textFromXHTML("Styled <b>bold</b> and <a href=\"http://x.y\">a link</a>")),
        TKTableMoreButton::itemWithTextCaption("Load more", ""),
        "Controls",
        TKTableControlItem::itemWithCaption("Switch", std::make_shared<ui::Switch>()),
        TKTableControlItem::itemWithCaption("Field", std::make_shared<ui::TextField>()),
    };
    return TKSectionedDataSource::dataSourceWithObjects(objects);
  };
  window->setFrame(cg::Rect(0, 0, 768, 1024));
  std::vector<std::shared_ptr<TKTableViewController>> controllers;
  auto root = std::make_shared<ui::View>(cg::Rect(0, 0, 768, 1024));
  window->addSubview(root);
  for (auto style : {ui::TableViewStyle::Plain, ui::TableViewStyle::Grouped}) {
    auto controller = std::make_shared<TKTableViewController>(style);
    controller->setVariableHeightRows(true);
    controller->setDataSource(rows());
    controller->view()->setFrame(cg::Rect(style == ui::TableViewStyle::Plain ? 0 : 384, 0, 384, 1024));
    root->addSubview(controller->view());
    controller->viewWillAppear(false);
    controllers.push_back(controller);
  }
  window->layoutIfNeeded();
  clock->advance(1);
  ASSERT_TRUE(window->writeScreenshot(tktables::sheetPath("contact-sheet.png"), 1));
  for (auto& c : controllers) EXPECT_GT(c->tableView()->visibleCells().size(), 10u);
}

// A picture for the sheet: a disc on a tinted square.
std::shared_ptr<ui::Image> discImage(float side, cg::Color back, cg::Color disc) {
  auto ctx = cg::Context::bitmap(side, side);
  ctx.setFillColor(back);
  ctx.fillRect(cg::Rect(0, 0, side, side));
  ctx.setFillColor(disc);
  ctx.fillEllipseInRect(cg::Rect(side * 0.2f, side * 0.2f, side * 0.6f, side * 0.6f));
  return std::make_shared<ui::Image>(ctx.makeImage(), 1);
}

TEST_F(TKTableCellsTest, ViewsContactSheet) {
  ui::ScopedMeasurer pango{nullptr};
  window->setBackgroundColor(cg::Color::white());
  auto place = [&](std::shared_ptr<ui::View> view, cg::Rect frame) {
    view->setFrame(frame);
    window->addSubview(view);
    return view;
  };
  // Left: error views in both languages, then image views in styled shapes.
  auto error = std::make_shared<TKErrorView>("No Connection", "Check the network and try again.",
                                             discImage(64, cg::Color::clear(), cg::Color::gray(0.6f)));
  place(error, {0, 0, 384, 260})->setBackgroundColor(cg::Color::gray(0.93f));
  auto arabicError = std::make_shared<TKErrorView>("لا يوجد اتصال", "تحقق من الشبكة ثم حاول مرة أخرى.",
                                                   discImage(64, cg::Color::clear(), cg::Color::gray(0.6f)));
  place(arabicError, {0, 262, 384, 240})->setBackgroundColor(cg::Color::gray(0.93f));
  std::vector<std::shared_ptr<TKStyle>> imageStyles = {
      TKShapeStyle::styleWithShape(TKRoundedRectangleShape::shapeWithRadius(12),
                                   TKContentStyle::styleWithNext(nullptr)),
      TKShadowStyle::styleWithColor(cg::Color(0, 0, 0, 0.5f), 4, {0, 2},
                                    TKContentStyle::styleWithNext(
                                        TKSolidBorderStyle::styleWithColor(cg::Color::black(), 2, nullptr))),
      TKShapeStyle::styleWithShape(TKRoundedRectangleShape::shapeWithRadius(-1),
                                   TKContentStyle::styleWithNext(nullptr)),
  };
  std::vector<std::shared_ptr<TKImageView>> images;
  for (size_t i = 0; i < imageStyles.size(); ++i) {
    auto image = std::make_shared<TKImageView>();
    image->setImage(discImage(90, cg::Color(0.2f, 0.45f, 0.7f), cg::Color(1, 0.85f, 0.3f)));
    image->setStyle(imageStyles[i]);
    place(image, {20 + 120 * float(i), 520, 90, 90});
    images.push_back(image);
  }
  // Right: the activity label's looks, one a strip with its progress bar.
  struct Activity {
    TKActivityLabelStyle style;
    const char* text;
    float height;
  };
  const Activity activities[] = {{TKActivityLabelStyle::BlackBezel, "Loading…", 90},
                                 {TKActivityLabelStyle::WhiteBezel, "جارٍ التحميل", 90},
                                 {TKActivityLabelStyle::BlackBanner, "Downloading the recitation", 60},
                                 {TKActivityLabelStyle::WhiteBox, "Searching", 44},
                                 {TKActivityLabelStyle::Gray, "جارٍ البحث", 44}};
  float y = 0;
  std::vector<std::shared_ptr<TKActivityLabel>> labels;
  for (const auto& a : activities) {
    auto label = std::make_shared<TKActivityLabel>(cg::Rect(), a.style, a.text);
    if (a.style == TKActivityLabelStyle::BlackBanner) label->setProgress(0.4f);
    auto back = std::make_shared<ui::View>();
    back->setBackgroundColor(cg::Color::gray(0.6f));
    place(back, {394, y, 364, a.height});
    label->setFrame(cg::Rect(0, 0, 364, a.height));
    back->addSubview(label);
    labels.push_back(label);
    y += a.height + 6;
  }
  // The searchlight labels, their glints part way across.
  std::vector<std::shared_ptr<TKSearchlightLabel>> searchlights;
  for (const char* text : {"Slide to search", "اسحب للبحث في القرآن"}) {
    auto strip = std::make_shared<ui::View>();
    strip->setBackgroundColor(cg::Color::black());
    place(strip, {394, y, 364, 44});
    auto label = std::make_shared<TKSearchlightLabel>(cg::Rect(10, 0, 344, 44));
    label->setFont(ui::Font::systemFontOfSize(22));
    label->setText(text);
    label->setTextColor(cg::Color::gray(0.45f));
    label->setTextAlignment(searchlights.empty() ? 0 : 2);
    strip->addSubview(label);
    label->startAnimating();
    searchlights.push_back(label);
    y += 50;
  }
  for (int i = 0; i < 20; ++i) clock->advance(TKSearchlightLabel::kTick);
  // Styled buttons, one pressed, and a flow of them inside a styled view.
  std::vector<std::shared_ptr<TKButton>> buttons = {
      TKButton::buttonWithStyle("toolbarButton:", "Done"),
      TKButton::buttonWithStyle("toolbarBackButton:", "Back"),
      TKButton::buttonWithStyle("blackToolbarButton:", "Cancel"),
      TKButton::buttonWithStyle("toolbarRoundButton:", "?"),
      TKButton::buttonWithStyle("grayToolbarButton:", "إلغاء"),
      TKButton::buttonWithStyle("toolbarButton:", "Pressed"),
      TKButton::buttonWithStyle("blackToolbarForwardButton:", "Next"),
  };
  buttons[5]->setHighlighted(true);
  auto flowView = std::make_shared<TKView>();
  flowView->setStyle(TKShapeStyle::styleWithShape(
      TKRoundedRectangleShape::shapeWithRadius(10),
      TKSolidFillStyle::styleWithColor(cg::Color(0.43f, 0.52f, 0.64f), nullptr)));
  auto flow = std::make_shared<TKFlowLayout>();
  flow->setPadding(10);
  flow->setSpacing(8);
  flowView->setLayout(flow);
  for (auto& b : buttons) {
    b->setFrame(cg::Rect({0, 0}, b->sizeThatFits({})));
    flowView->addSubview(b);
  }
  place(flowView, {394, y + 4, 250, 120});
  // A grid of styled tiles, three to a row.
  auto gridView = std::make_shared<TKView>();
  gridView->setStyle(TKSolidBorderStyle::styleWithColor(cg::Color::gray(0.5f), 1, nullptr));
  auto grid = std::make_shared<TKGridLayout>();
  grid->setColumnCount(3);
  // The cells share the width inside the padding and the gaps come on top:
  // a padding of 16 keeps the last column and its two gaps of 6 inside.
  grid->setPadding(16);
  grid->setSpacing(6);
  gridView->setLayout(grid);
  for (int i = 0; i < 7; ++i) {
    // The grid asks each tile its height: the padding gives it 40.
    auto tile = std::make_shared<TKView>();
    tile->setStyle(TKBoxStyle::styleWithPadding(
        {20, 0, 20, 0}, TKShapeStyle::styleWithShape(TKRoundedRectangleShape::shapeWithRadius(6),
                                                     TKSolidFillStyle::styleWithColor(
                                                         cg::Color(0.9f - 0.1f * float(i), 0.5f, 0.2f + 0.1f * float(i)),
                                                         nullptr))));
    gridView->addSubview(tile);
  }
  place(gridView, {20, 640, 344, 160});

  window->layoutIfNeeded();
  clock->advance(0.1);
  ASSERT_TRUE(window->writeScreenshot(tktables::sheetPath("views-contact-sheet.png"), 1));
  EXPECT_GT(error->titleView()->frame().width(), 0);
  EXPECT_GT(arabicError->subtitleView()->frame().height(), 0);
  // The flow wraps the seven buttons onto more than one row; the grid's tiles
  // fill equal columns.
  EXPECT_GT(buttons.back()->frame().y(), buttons.front()->frame().y());
  EXPECT_EQ(gridView->subviews()[0]->frame().size, gridView->subviews()[2]->frame().size);
  EXPECT_EQ(gridView->subviews()[0]->frame().height(), 40);
  EXPECT_GT(gridView->subviews()[6]->frame().y(), gridView->subviews()[3]->frame().y());
  for (auto& s : searchlights) EXPECT_TRUE(s->isAnimating());
}

}  // namespace
