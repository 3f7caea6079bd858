// The table data sources: sections from argument lists, lookups, the section
// index and its jump, removing rows, the model they stand for, and the cell
// class each kind of object gets.
#include <gtest/gtest.h>

#include "platform/ui/Switch.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "toolkit/styled/TKStyledText.h"
#include "toolkit/tables/TKTableActivityItemCell.h"
#include "toolkit/tables/TKTableControlCell.h"
#include "toolkit/tables/TKTableImageItemCell.h"
#include "toolkit/tables/TKTableItem.h"
#include "toolkit/tables/TKTableItemCell.h"
#include "toolkit/tables/TKStyledTextTableCell.h"
#include "toolkit/tables/TKTableView.h"
#include "toolkit/tables/TKTableViewDataSource.h"

namespace {

using Path = ui::IndexPath;

std::shared_ptr<TKTableTextItem> text(const std::string& t) { return TKTableTextItem::itemWithText(t); }

TEST(TKSectionedDataSources, TitlesStartSectionsAndEarlierObjectsAreDropped) {
  auto a1 = text("a1"), a2 = text("a2"), b1 = text("b1");
  auto source = TKSectionedDataSource::dataSourceWithObjects({text("dropped"), "A", a1, a2, "B", b1});
  EXPECT_EQ(source->numberOfSectionsInTableView(nullptr), 2);
  EXPECT_EQ(source->titleForHeaderInSection(nullptr, 0), "A");
  EXPECT_EQ(source->titleForHeaderInSection(nullptr, 1), "B");
  EXPECT_EQ(source->numberOfRowsInSection(nullptr, 0), 2);
  EXPECT_EQ(source->numberOfRowsInSection(nullptr, 1), 1);
  EXPECT_EQ(source->objectForRowAtIndexPath(nullptr, {1, 0}), TKTableObject(b1));
  EXPECT_EQ(source->indexPathForObject(nullptr, a2), (Path{0, 1}));
  EXPECT_FALSE(source->indexPathForObject(nullptr, text("a2")));  // equal text, another object

  auto arrays = TKSectionedDataSource::dataSourceWithArrays({"X", std::vector<TKTableObject>{a1}, "Y",
                                                             std::vector<TKTableObject>{a2, b1}});
  EXPECT_EQ(arrays->numberOfRowsInSection(nullptr, 1), 2);
  EXPECT_EQ(arrays->titleForHeaderInSection(nullptr, 1), "Y");
}

TEST(TKSectionedDataSources, WithoutTitlesOneUntitledSection) {
  auto a = text("a"), b = text("b");
  TKSectionedDataSource source(std::vector<TKTableObject>{a, b});
  EXPECT_EQ(source.numberOfSectionsInTableView(nullptr), 1);
  EXPECT_EQ(source.titleForHeaderInSection(nullptr, 0), "");
  EXPECT_EQ(source.numberOfRowsInSection(nullptr, 0), 2);
  EXPECT_EQ(source.objectForRowAtIndexPath(nullptr, {0, 1}), TKTableObject(b));
  EXPECT_TRUE(source.lettersForSectionsWithSearch(true, true).empty());
}

TEST(TKSectionedDataSources, LookupsOutsideTheArraysAnswerNothing) {
  auto source = TKSectionedDataSource::dataSourceWithObjects({"A", text("a")});
  for (Path p : {Path{0, 1}, Path{0, -1}, Path{1, 0}, Path{-1, 0}, Path{7, 7}})
    EXPECT_TRUE(source->objectForRowAtIndexPath(nullptr, p).isNil()) << p.section << "," << p.row;
  EXPECT_EQ(source->numberOfRowsInSection(nullptr, 5), 0);
  EXPECT_EQ(source->titleForHeaderInSection(nullptr, -1), "");
  TKListDataSource list({text("x")});
  EXPECT_TRUE(list.objectForRowAtIndexPath(nullptr, {0, 1}).isNil());
  EXPECT_TRUE(list.objectForRowAtIndexPath(nullptr, {0, -1}).isNil());
  EXPECT_FALSE(source->removeItemAtIndexPath({3, 0}));
  EXPECT_FALSE(source->removeItemAtIndexPath({0, 9}));
  EXPECT_EQ(source->numberOfRowsInSection(nullptr, 0), 1);
}

TEST(TKSectionedDataSources, RemovingTheLastRowOfASectionRemovesTheSection) {
  auto source = TKSectionedDataSource::dataSourceWithObjects({"A", text("a1"), text("a2"), "B", text("b1")});
  EXPECT_FALSE(source->removeItemAtIndexPath({0, 0}));
  EXPECT_TRUE(source->removeItemAtIndexPath({1, 0}));
  EXPECT_EQ(source->sections(), (std::vector<std::string>{"A"}));
  EXPECT_EQ(source->items().size(), 1u);

  TKSectionedDataSource untitled(std::vector<TKTableObject>{text("a"), text("b")});
  EXPECT_FALSE(untitled.removeItemAtIndexPath({1, 0}));
  EXPECT_EQ(untitled.numberOfRowsInSection(nullptr, 0), 2);
  EXPECT_FALSE(untitled.removeItemAtIndexPath({0, 0}));
  EXPECT_EQ(untitled.numberOfRowsInSection(nullptr, 0), 1);
}

TEST(TKDataSources, IndexLetters) {
  auto letters = TKTableViewDataSource::lettersForSectionsWithSearch(true, true);
  ASSERT_EQ(letters.size(), 28u);
  EXPECT_EQ(letters.front(), ui::TableViewIndexSearch);
  EXPECT_EQ(letters[1], "A");
  EXPECT_EQ(letters[26], "Z");
  EXPECT_EQ(letters.back(), "#");
  EXPECT_EQ(TKTableViewDataSource::lettersForSectionsWithSearch(false, false).size(), 26u);

  auto source = TKSectionedDataSource::dataSourceWithObjects({"Apples", "", "Melons", "Mint", "عنب"});
  EXPECT_EQ(source->lettersForSectionsWithSearch(false, true),
            (std::vector<std::string>{"A", "M", "M", "ع", "#"}));
}

class TKIndexJumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = TKSectionedDataSource::dataSourceWithObjects({"Apples", text("1"), "", text("2"), "Melons", text("3"),
                                                           "Mint", text("4")});
    table = std::make_shared<TKTableView>(cg::Rect(0, 0, 320, 200), ui::TableViewStyle::Plain);
    table->setDataSource(source);
    table->reloadData();
  }
  std::shared_ptr<TKSectionedDataSource> source;
  std::shared_ptr<TKTableView> table;
};

TEST_F(TKIndexJumpTest, ALetterGoesToTheFirstSectionItBegins) {
  EXPECT_EQ(source->sectionForSectionIndexTitle(table.get(), "M", 12), 2);
  EXPECT_EQ(source->sectionForSectionIndexTitle(table.get(), "A", 0), 0);
  // No title begins with Z: the touched index, at most the last section.
  EXPECT_EQ(source->sectionForSectionIndexTitle(table.get(), "Z", 25), 3);
  EXPECT_EQ(source->sectionForSectionIndexTitle(table.get(), "#", 1), 1);
  // An empty touched title matches nothing, an empty section title is passed over.
  EXPECT_EQ(source->sectionForSectionIndexTitle(table.get(), "", 2), 2);
}

TEST_F(TKIndexJumpTest, TheFirstEntryGoesToTheTableHeader) {
  table->setTableHeaderView(std::make_shared<ui::View>(cg::Rect(0, 0, 320, 40)));
  table->setContentOffset({0, 60});
  EXPECT_EQ(source->sectionForSectionIndexTitle(table.get(), ui::TableViewIndexSearch, 0), -1);
  EXPECT_EQ(table->contentOffset().y, 0);
  EXPECT_EQ(source->sectionForSectionIndexTitle(table.get(), "M", 1), 2);
}

TEST(TKDataSources, TheModelIsTheDataSourceUntilOneIsGiven) {
  auto list = std::make_shared<TKListDataSource>();
  EXPECT_EQ(list->model().get(), static_cast<TKModel*>(list.get()));
  EXPECT_TRUE(list->model()->isLoaded());
  EXPECT_FALSE(list->model()->isLoading());
  auto model = std::make_shared<TKModel>();
  list->setModel(model);
  EXPECT_EQ(list->model(), model);
  auto interstitial = std::make_shared<TKTableViewInterstialDataSource>();
  interstitial->setModel(model);
  EXPECT_EQ(interstitial->model().get(), static_cast<TKModel*>(interstitial.get()));
  EXPECT_TRUE(interstitial->model()->isLoading());
  EXPECT_FALSE(interstitial->model()->isLoaded());
}

TEST(TKDataSources, UserInfoIsFoundByIdentity) {
  auto info = std::make_shared<std::string>("tag");
  auto a = text("a"), b = text("b");
  b->setUserInfo(info);
  auto list = TKListDataSource::dataSourceWithObjects({a, b});
  EXPECT_EQ(list->indexPathOfItemWithUserInfo(info), (Path{0, 1}));
  EXPECT_FALSE(list->indexPathOfItemWithUserInfo(std::make_shared<std::string>("tag")));
  auto sections = TKSectionedDataSource::dataSourceWithObjects({"A", a, "B", text("c"), b});
  EXPECT_EQ(sections->indexPathOfItemWithUserInfo(info), (Path{1, 1}));
  EXPECT_EQ(list->labelForObject(nullptr, a), "a");
  EXPECT_EQ(list->labelForObject(nullptr, TKTableObject("plain")), "plain");
}

TEST(TKDataSources, EachKindOfObjectGetsItsCell) {
  TKListDataSource source;
  auto styled = TKStyledText::textFromXHTML("x");
  struct Case {
    TKTableObject object;
    const TKTableCellClass& cell;
  } cases[] = {
      {TKTableMoreButton::itemWithTextCaption("m", "c"), TKCellClass<TKTableMoreButtonCell>()},
      {TKTableSubtextItem::itemWithTextCaption("t", "c"), TKCellClass<TKTableSubtextItemCell>()},
      {TKTableRightCaptionItem::itemWithTextCaption("t", "c"), TKCellClass<TKTableRightCaptionItemCell>()},
      {TKTableCaptionItem::itemWithTextCaption("t", "c"), TKCellClass<TKTableCaptionItemCell>()},
      {TKTableSubtitleItem::itemWithTextSubtitle("t", "s"), TKCellClass<TKTableSubtitleItemCell>()},
      {TKTableMessageItem::itemWithTitle("t", "c", "x", std::nullopt, ""), TKCellClass<TKTableMessageItemCell>()},
      {TKTableRightImageItem::itemWithTextImageURL("t", "u"), TKCellClass<TKTableImageItemCell>()},
      {TKTableStyledTextItem::itemWithText(styled), TKCellClass<TKStyledTextTableItemCell>()},
      {TKTableActivityItem::itemWithText("t"), TKCellClass<TKTableActivityItemCell>()},
      {TKTableControlItem::itemWithCaption("c", std::make_shared<ui::Switch>()), TKCellClass<TKTableControlCell>()},
      {TKTableViewItem::itemWithCaption("c", std::make_shared<ui::View>()), TKCellClass<TKTableFlushViewCell>()},
      {TKTableButton::itemWithText("t"), TKCellClass<TKTableTextItemCell>()},
      {TKTableGrayTextItem::itemWithText("t"), TKCellClass<TKTableTextItemCell>()},
      {std::make_shared<TKTableLinkedItem>(), TKCellClass<TKTableTextItemCell>()},
      {styled, TKCellClass<TKStyledTextTableCell>()},
      {std::make_shared<ui::TextField>(), TKCellClass<TKTableControlCell>()},
      {std::make_shared<ui::TextView>(), TKCellClass<TKTableControlCell>()},
      {std::make_shared<ui::View>(), TKCellClass<TKTableFlushViewCell>()},
      {TKTableObject("a string"), TKCellClass<TKTableViewCell>()},
      {TKTableObject(), TKCellClass<TKTableViewCell>()},
  };
  for (const auto& c : cases)
    EXPECT_EQ(source.cellClassForObject(nullptr, c.object).name, c.cell.name) << c.object.description();
}

TEST(TKDataSources, CellsAreReusedByClassAndGivenTheirObject) {
  auto a = text("a");
  auto b = TKTableCaptionItem::itemWithTextCaption("b", "c");
  auto source = TKListDataSource::dataSourceWithObjects({a, b, TKTableObject("s")});
  auto table = std::make_shared<TKTableView>(cg::Rect(0, 0, 320, 400), ui::TableViewStyle::Plain);
  table->setDataSource(source);
  table->reloadData();
  auto cell0 = std::dynamic_pointer_cast<TKTableTextItemCell>(table->cellForRowAtIndexPath({0, 0}));
  ASSERT_TRUE(cell0);
  EXPECT_EQ(cell0->object(), TKTableObject(a));
  EXPECT_EQ(cell0->reuseIdentifier(), "TKTableTextItemCell");
  EXPECT_TRUE(std::dynamic_pointer_cast<TKTableCaptionItemCell>(table->cellForRowAtIndexPath({0, 1})));
  // Something of no known kind still gets a cell.
  EXPECT_TRUE(table->cellForRowAtIndexPath({0, 2}));
  // A cell handed out again has let its object go first.
  table->reloadData();
  auto again = std::dynamic_pointer_cast<TKTableTextItemCell>(table->cellForRowAtIndexPath({0, 0}));
  EXPECT_EQ(again, cell0);
  EXPECT_EQ(again->object(), TKTableObject(a));
}

}  // namespace
