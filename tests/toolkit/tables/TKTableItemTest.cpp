// Table items: constructors that answer the class they are sent to, and the
// keyed archive round trip.
#include <gtest/gtest.h>

#include "platform/ui/View.h"
#include "toolkit/styled/TKStyledText.h"
#include "toolkit/tables/TKTableItem.h"

namespace {

template <class T>
std::shared_ptr<T> roundTrip(const T& item) {
  auto back = std::dynamic_pointer_cast<T>(TKTableItem::unarchive(TKTableItem::archive(item)));
  EXPECT_TRUE(back) << item.className();
  return back;
}

TEST(TKTableItems, InheritedConstructorsMakeTheReceivingClass) {
  auto subtext = TKTableSubtextItem::itemWithTextCaption("text", "caption");
  EXPECT_EQ(subtext->className(), "TKTableSubtextItem");
  EXPECT_EQ(subtext->text(), "text");
  EXPECT_EQ(subtext->caption(), "caption");
  EXPECT_EQ(TKTableMoreButton::itemWithTextCaption("more", "")->className(), "TKTableMoreButton");
  EXPECT_EQ(TKTableButton::itemWithText("b", "http://x")->URL(), "http://x");
  EXPECT_EQ(TKTableRightImageItem::itemWithTextImageURL("t", "bundle://a.png")->className(), "TKTableRightImageItem");
  auto message = TKTableMessageItem::itemWithTitle("T", "C", "body", ns::Date(100), "img", "url");
  EXPECT_EQ(message->imageURL(), "img");
  EXPECT_EQ(message->URL(), "url");
  EXPECT_FALSE(TKTableMoreButton().isLoading());
}

TEST(TKTableItems, AMessageItemComesBackWithItsSixArchivedFields) {
  auto message = TKTableMessageItem::itemWithTitle("Title", "Caption", "Body", ns::Date(1234.5), "http://i", "http://u");
  message->setAccessoryURL("http://accessory");
  message->setUserInfo(std::make_shared<int>(7));
  TKCoder coder = TKTableItem::archive(*message);
  EXPECT_EQ(coder.count(), 6u);
  auto back = roundTrip(*message);
  EXPECT_EQ(back->title(), "Title");
  EXPECT_EQ(back->caption(), "Caption");
  EXPECT_EQ(back->text(), "Body");
  EXPECT_EQ(back->timestamp(), ns::Date(1234.5));
  EXPECT_EQ(back->imageURL(), "http://i");
  EXPECT_EQ(back->URL(), "http://u");
  EXPECT_EQ(back->accessoryURL(), "");  // not archived
  EXPECT_FALSE(back->userInfo());
}

TEST(TKTableItems, MissingFieldsWriteNoKeyAndReadBackEmpty) {
  auto item = TKTableTextItem::itemWithText("only text");
  TKCoder coder = TKTableItem::archive(*item);
  EXPECT_FALSE(coder.containsValueForKey("URL"));
  EXPECT_TRUE(coder.containsValueForKey("text"));
  EXPECT_EQ(roundTrip(*item)->URL(), "");
  // An archive of a class that is not an item makes nothing.
  TKCoder stranger;
  stranger.setClassName("NSObject");
  EXPECT_FALSE(TKTableItem::unarchive(stranger));
  stranger.setClassName("bad name!");
  EXPECT_FALSE(TKTableItem::unarchive(stranger));
}

TEST(TKTableItems, DecodedItemsKeepTheirClassDefaults) {
  auto styled = TKTableStyledTextItem::itemWithText(TKStyledText::textFromXHTML("a <b>b</b>"), "http://x");
  styled->setMargin({1, 2, 3, 4});
  styled->setPadding({0, 0, 0, 0});
  auto back = roundTrip(*styled);
  EXPECT_EQ(back->text(), styled->text());
  EXPECT_EQ(back->URL(), "http://x");
  EXPECT_EQ(back->margin(), (cg::EdgeInsets{0, 0, 0, 0}));
  EXPECT_EQ(back->padding(), (cg::EdgeInsets{6, 6, 6, 6}));

  auto view = std::make_shared<ui::View>(cg::Rect(0, 0, 10, 10));
  auto viewItem = roundTrip(*TKTableViewItem::itemWithCaption("Caption", view));
  EXPECT_EQ(viewItem->caption(), "Caption");
  EXPECT_EQ(viewItem->view(), view);
  auto controlItem = roundTrip(*TKTableControlItem::itemWithCaption("Switch", view));
  EXPECT_EQ(controlItem->control(), view);

  auto subtitle = TKTableSubtitleItem::itemWithTextSubtitleImageURL("t", "s", "http://img", "http://u");
  auto subtitleBack = roundTrip(*subtitle);
  EXPECT_EQ(subtitleBack->subtitle(), "s");
  EXPECT_EQ(subtitleBack->imageURL(), "http://img");
  EXPECT_EQ(roundTrip(*TKTableCaptionItem::itemWithTextCaption("t", "c"))->caption(), "c");
  EXPECT_EQ(roundTrip(*TKTableImageItem::itemWithTextImageURL("t", "http://i"))->imageURL(), "http://i");
}

}  // namespace
