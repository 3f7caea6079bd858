// Table views headless on the virtual clock: the height model of a long
// table, reuse of cells, selection by touch and by code, updates inside
// begin/end, editing and swipe to delete, and rows that do not exist.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "platform/graphics/Context.h"
#include "platform/ui/TableView.h"
#include "tests/platform/ui/WindowFixture.h"

using namespace ui;

namespace {

std::string name(const IndexPath& p) { return std::to_string(p.section) + "." + std::to_string(p.row); }

// Rows of given heights per section, answering as data source and delegate
// and writing down what it is asked and told.
class Rows : public TableViewDataSource, public TableViewDelegate {
 public:
  std::vector<std::vector<float>> heights;
  std::vector<std::string> headerTitles;
  std::vector<std::string> log;
  int cellsMade = 0;
  int heightAsks = 0;
  std::function<std::optional<IndexPath>(const IndexPath&)> willSelect;
  std::function<bool(const IndexPath&)> editable = [](const IndexPath&) { return false; };
  std::string deleteTitle = "Delete";
  std::vector<std::string> indexTitles;

  int numberOfSectionsInTableView(TableView*) override { return int(heights.size()); }
  int numberOfRowsInSection(TableView*, int s) override {
    return s >= 0 && s < int(heights.size()) ? int(heights[s].size()) : 0;
  }
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView* t, const IndexPath& p) override {
    auto cell = t->dequeueReusableCellWithIdentifier("Row");
    if (!cell) {
      cell = std::make_shared<TableViewCell>(TableViewCellStyle::Subtitle, "Row");
      ++cellsMade;
    }
    cell->textLabel()->setText("Row " + name(p));
    return cell;
  }
  float heightForRowAtIndexPath(TableView*, const IndexPath& p) override {
    ++heightAsks;
    return heights[p.section][p.row];
  }
  std::string titleForHeaderInSection(TableView*, int s) override {
    return s < int(headerTitles.size()) ? headerTitles[s] : "";
  }
  std::optional<IndexPath> willSelectRowAtIndexPath(TableView*, const IndexPath& p) override {
    return willSelect ? willSelect(p) : p;
  }
  void didSelectRowAtIndexPath(TableView*, const IndexPath& p) override { log.push_back("select " + name(p)); }
  void didDeselectRowAtIndexPath(TableView*, const IndexPath& p) override {
    log.push_back("deselect " + name(p));
  }
  bool canEditRowAtIndexPath(TableView*, const IndexPath& p) override { return editable(p); }
  void commitEditingStyle(TableView* t, TableViewCellEditingStyle, const IndexPath& p) override {
    log.push_back("commit " + name(p));
    heights[p.section].erase(heights[p.section].begin() + p.row);
    t->deleteRowsAtIndexPaths({p}, TableViewRowAnimation::Fade);
  }
  std::string titleForDeleteConfirmationButtonForRowAtIndexPath(TableView*, const IndexPath&) override {
    return deleteTitle;
  }
  void willBeginEditingRowAtIndexPath(TableView*, const IndexPath& p) override {
    log.push_back("beginEditing " + name(p));
  }
  void didEndEditingRowAtIndexPath(TableView*, const IndexPath& p) override {
    log.push_back("endEditing " + name(p));
  }
  std::vector<std::string> sectionIndexTitlesForTableView(TableView*) override { return indexTitles; }
  int sectionForSectionIndexTitle(TableView*, const std::string& title, int index) override {
    log.push_back("index " + title);
    return index == 0 ? -1 : index;
  }
  void accessoryButtonTappedForRowWithIndexPath(TableView*, const IndexPath& p) override {
    log.push_back("accessory " + name(p));
  }
};

using Log = std::vector<std::string>;

// The heights of the long surah: 573 rows, each different from its neighbours.
std::vector<float> variedHeights(int rows) {
  std::vector<float> h;
  for (int r = 0; r < rows; ++r) h.push_back(30 + float((r * 37) % 151));
  return h;
}

class TableTest : public WindowFixture {
 protected:
  std::shared_ptr<TableView> makeTable(std::vector<std::vector<float>> heights,
                                       TableViewStyle style = TableViewStyle::Plain,
                                       cg::Rect frame = cg::Rect(0, 0, 600, 700)) {
    rows->heights = std::move(heights);
    auto t = std::make_shared<TableView>(frame, style);
    t->setDataSource(rows);
    t->setDelegate(rows);
    window->addSubview(t);
    window->layoutIfNeeded();
    return t;
  }
  // Rows whose rectangles meet [top, bottom), by summing every height.
  std::vector<IndexPath> rowsMeeting(float top, float bottom) const {
    std::vector<IndexPath> result;
    float y = 0;
    for (int s = 0; s < int(rows->heights.size()); ++s)
      for (int r = 0; r < int(rows->heights[s].size()); ++r) {
        float h = rows->heights[s][r];
        if (y < bottom && y + h > top) result.push_back({s, r});
        y += h;
      }
    return result;
  }
  float top(int row) const {
    float y = 0;
    for (int r = 0; r < row; ++r) y += rows->heights[0][r];
    return y;
  }
  size_t cellSubviews(const TableView& t) const {
    size_t n = 0;
    for (auto& v : t.subviews())
      if (dynamic_cast<TableViewCell*>(v.get())) ++n;
    return n;
  }
  std::shared_ptr<Rows> rows = std::make_shared<Rows>();
};

}  // namespace

TEST_F(TableTest, ALongTableFindsRowsExactlyAndKeepsOnlyVisibleCells) {
  auto t = makeTable({variedHeights(573)});
  EXPECT_EQ(rows->heightAsks, 573);  // once each, at load
  EXPECT_EQ(t->contentSize().height, top(573));

  struct Case {
    float y;
    std::optional<int> row;
  };
  const Case cases[] = {
      {0, 0},           {top(1) - 0.01f, 0}, {top(1), 1},     {top(286), 286},
      {top(287) - 0.01f, 286}, {top(572), 572}, {top(573) - 0.01f, 572},
      {top(573), std::nullopt}, {-1, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.y);
    auto p = t->indexPathForRowAtPoint({10, c.y});
    ASSERT_EQ(p.has_value(), c.row.has_value());
    if (p) {
      EXPECT_EQ(*p, (IndexPath{0, *c.row}));
    }
  }
  EXPECT_EQ(t->rectForRowAtIndexPath({0, 300}), cg::Rect(0, top(300), 600, rows->heights[0][300]));

  // Selecting with scroll position top puts the row's top at the top edge,
  // and only the rows on screen have cells.
  t->selectRowAtIndexPath({0, 300}, false, TableViewScrollPosition::Top);
  EXPECT_EQ(t->contentOffset().y, top(300));
  EXPECT_EQ(t->indexPathsForVisibleRows(), rowsMeeting(top(300), top(300) + 700));
  EXPECT_EQ(cellSubviews(*t), t->visibleCells().size());
  ASSERT_TRUE(t->cellForRowAtIndexPath({0, 300}));
  EXPECT_TRUE(t->cellForRowAtIndexPath({0, 300})->isSelected());
  EXPECT_EQ(t->cellForRowAtIndexPath({0, 10}), nullptr);
  EXPECT_EQ(*t->indexPathForCell(t->cellForRowAtIndexPath({0, 301}).get()), (IndexPath{0, 301}));

  t->scrollToRowAtIndexPath({0, 400}, TableViewScrollPosition::Middle, false);
  cg::Rect r = t->rectForRowAtIndexPath({0, 400});
  EXPECT_EQ(t->contentOffset().y, r.midY() - 350);
  // The last rows cannot go to the top: the offset stops at the end.
  t->scrollToRowAtIndexPath({0, 572}, TableViewScrollPosition::Top, false);
  EXPECT_EQ(t->contentOffset().y, top(573) - 700);
  EXPECT_EQ(rows->heightAsks, 573);  // scrolling asks no heights
}

TEST_F(TableTest, CellsAreReusedAcrossAScrollAndShowTheirOwnRows) {
  auto t = makeTable({variedHeights(573)});
  size_t mostVisible = 0;
  for (float y = 0; y < t->contentSize().height; y += 250) {
    t->setContentOffset({0, y});
    mostVisible = std::max(mostVisible, t->visibleCells().size());
    for (const auto& p : t->indexPathsForVisibleRows())
      ASSERT_EQ(t->cellForRowAtIndexPath(p)->textLabel()->text(), "Row " + name(p));
    ASSERT_EQ(cellSubviews(*t), t->visibleCells().size());
  }
  EXPECT_LE(size_t(rows->cellsMade), mostVisible + 2);

  // Reloading a row asks its height again, and nothing else.
  rows->heightAsks = 0;
  rows->heights[0][5] = 300;
  t->reloadRowsAtIndexPaths({{0, 5}}, TableViewRowAnimation::None);
  EXPECT_EQ(rows->heightAsks, 1);
  EXPECT_EQ(t->rectForRowAtIndexPath({0, 6}).y(), top(6));

  // With a fade the old cell fades out over the new one, then goes back to the pool.
  t->setContentOffset({0, 0});
  auto old = t->cellForRowAtIndexPath({0, 5});
  t->reloadRowsAtIndexPaths({{0, 5}}, TableViewRowAnimation::Fade);
  auto fresh = t->cellForRowAtIndexPath({0, 5});
  ASSERT_NE(fresh, old);
  clock->advance(0.15);
  EXPECT_GT(old->presentationAlpha(), 0);
  EXPECT_LT(old->presentationAlpha(), 1);
  EXPECT_LT(fresh->presentationAlpha(), 1);
  clock->advance(0.3);
  EXPECT_EQ(old->superview(), nullptr);
  EXPECT_EQ(fresh->presentationAlpha(), 1);
  EXPECT_EQ(cellSubviews(*t), t->visibleCells().size());
}

TEST_F(TableTest, ATapSelectsARowUnlessTheDelegateRefusesOrTheTouchStoppedAScroll) {
  auto t = makeTable({std::vector<float>(14, 44), std::vector<float>(30, 44)});
  script().tap({100, 2 * 44 + 20});
  EXPECT_EQ(rows->log, (Log{"select 0.2"}));
  EXPECT_TRUE(t->cellForRowAtIndexPath({0, 2})->isSelected());
  clock->advance(1);
  script().tap({100, 5 * 44 + 20});
  EXPECT_EQ(rows->log, (Log{"select 0.2", "deselect 0.2", "select 0.5"}));
  EXPECT_FALSE(t->cellForRowAtIndexPath({0, 2})->isSelected());

  // Refused, or redirected by will-select.
  rows->log.clear();
  rows->willSelect = [](const IndexPath&) { return std::nullopt; };
  clock->advance(1);
  script().tap({100, 7 * 44 + 20});
  EXPECT_TRUE(rows->log.empty());
  EXPECT_EQ(*t->indexPathForSelectedRow(), (IndexPath{0, 5}));
  rows->willSelect = [](const IndexPath&) { return IndexPath{0, 0}; };
  clock->advance(1);
  script().tap({100, 7 * 44 + 20});
  EXPECT_EQ(rows->log, (Log{"deselect 0.5", "select 0.0"}));
  rows->willSelect = nullptr;

  // The selection survives the row leaving the screen and coming back.
  t->setContentOffset({0, 1000});
  EXPECT_EQ(t->cellForRowAtIndexPath({0, 0}), nullptr);
  t->setContentOffset({0, 0});
  EXPECT_TRUE(t->cellForRowAtIndexPath({0, 0})->isSelected());
  EXPECT_FALSE(t->cellForRowAtIndexPath({0, 5})->isSelected());

  // A drag that begins on a row, and a touch that stops a flick, select nothing.
  rows->log.clear();
  clock->advance(1);
  script().drag({100, 300}, {100, 200}, 0.3);
  script().flick({100, 600}, {100, 400}, 2000);
  clock->advance(0.1);
  ASSERT_TRUE(t->isDecelerating());
  script().tap({100, 300});
  EXPECT_FALSE(t->isDecelerating());
  EXPECT_TRUE(rows->log.empty());
}

TEST_F(TableTest, RowsAndSectionsInsertedAndDeletedInsideUpdatesFade) {
  auto t = makeTable({{44, 44, 44}, {50, 50, 50, 50}, {60, 60}});
  auto survivor = t->cellForRowAtIndexPath({1, 0});
  auto doomed = t->cellForRowAtIndexPath({1, 1});
  cg::Rect before = survivor->frame();
  // In the model: a section of two rows in front, a row added to the first
  // section, one row of the second section and the whole third section gone.
  rows->heights = {{70, 70}, {44, 44, 44, 44}, {50, 50, 50}};
  t->beginUpdates();
  t->deleteRowsAtIndexPaths({{1, 1}}, TableViewRowAnimation::Fade);
  t->deleteSections({2}, TableViewRowAnimation::Fade);
  t->insertSections({0}, TableViewRowAnimation::Fade);
  t->insertRowsAtIndexPaths({{1, 3}}, TableViewRowAnimation::Fade);
  t->endUpdates();

  EXPECT_EQ(t->numberOfSections(), 3);
  EXPECT_EQ(t->numberOfRowsInSection(0), 2);
  EXPECT_EQ(t->numberOfRowsInSection(1), 4);
  EXPECT_EQ(t->numberOfRowsInSection(2), 3);
  EXPECT_EQ(t->cellForRowAtIndexPath({2, 0}), survivor);  // the same cell, moved
  EXPECT_EQ(t->rectForRowAtIndexPath({2, 1}).y(), 140 + 4 * 44 + 50);

  clock->advance(0.15);
  EXPECT_NE(survivor->presentationFrame(), survivor->frame());  // on its way down
  EXPECT_GT(survivor->presentationFrame().y(), before.y());
  EXPECT_LT(doomed->presentationAlpha(), 1);
  EXPECT_GT(doomed->presentationAlpha(), 0);
  EXPECT_LT(t->cellForRowAtIndexPath({0, 0})->presentationAlpha(), 1);  // fading in
  EXPECT_EQ(doomed->superview(), t.get());
  clock->advance(0.3);
  EXPECT_EQ(survivor->presentationFrame(), survivor->frame());
  EXPECT_EQ(doomed->superview(), nullptr);
  EXPECT_EQ(t->cellForRowAtIndexPath({0, 0})->presentationAlpha(), 1);
  EXPECT_EQ(cellSubviews(*t), t->visibleCells().size());

  // Changes the data source does not bear out: the table shows what the data
  // source says rather than rows that are not there.
  rows->heights = {{44}};
  t->deleteRowsAtIndexPaths({{0, 0}}, TableViewRowAnimation::Fade);
  EXPECT_EQ(t->numberOfSections(), 1);
  EXPECT_EQ(t->numberOfRowsInSection(0), 1);
  EXPECT_EQ(t->visibleCells().size(), 1u);
}

TEST_F(TableTest, EditingShowsDeleteControlsAndATappedConfirmationCommits) {
  rows->editable = [](const IndexPath& p) { return p.row != 0; };
  auto t = makeTable({std::vector<float>(6, 44)});
  t->setEditing(true, true);
  clock->advance(0.5);
  for (const auto& cell : t->visibleCells()) EXPECT_TRUE(cell->isEditing());
  EXPECT_EQ(t->cellForRowAtIndexPath({0, 0})->contentView()->frame().x(), 0);
  EXPECT_EQ(t->cellForRowAtIndexPath({0, 1})->contentView()->frame().x(), 32);

  script().tap({16, 44 + 22});  // the red minus of row 1
  clock->advance(0.5);
  auto cell = t->cellForRowAtIndexPath({0, 1});
  EXPECT_TRUE(cell->showingDeleteConfirmation());
  script().tap({600 - 10 - 32, 44 + 22});  // its Delete button
  EXPECT_EQ(rows->log, (Log{"commit 0.1"}));
  EXPECT_EQ(t->numberOfRowsInSection(0), 5);
  clock->advance(0.5);
  EXPECT_EQ(cellSubviews(*t), 5u);

  t->setEditing(false, false);
  for (const auto& c : t->visibleCells()) {
    EXPECT_FALSE(c->isEditing());
    EXPECT_EQ(c->contentView()->frame().x(), 0);
  }
}

TEST_F(TableTest, ASwipeOffersDeleteWithTheDelegatesTitleAndATapElsewhereTakesItBack) {
  rows->editable = [](const IndexPath&) { return true; };
  rows->deleteTitle = " - ";
  auto t = makeTable({std::vector<float>(8, 44)});
  script().drag({400, 2 * 44 + 20}, {250, 2 * 44 + 22}, 0.2);
  auto cell = t->cellForRowAtIndexPath({0, 2});
  EXPECT_TRUE(cell->showingDeleteConfirmation());
  EXPECT_TRUE(cell->isEditing());
  EXPECT_FALSE(t->isEditing());
  EXPECT_FALSE(t->cellForRowAtIndexPath({0, 3})->isEditing());
  EXPECT_EQ(rows->log, (Log{"beginEditing 0.2"}));

  clock->advance(1);
  script().tap({100, 5 * 44 + 20});  // elsewhere: takes it back and selects nothing
  EXPECT_FALSE(cell->showingDeleteConfirmation());
  EXPECT_FALSE(cell->isEditing());
  EXPECT_EQ(rows->log, (Log{"beginEditing 0.2", "endEditing 0.2"}));

  rows->log.clear();
  clock->advance(1);
  script().drag({400, 2 * 44 + 20}, {250, 2 * 44 + 22}, 0.2);
  clock->advance(0.5);
  script().tap({600 - 10 - 32, 2 * 44 + 22});
  EXPECT_EQ(rows->log, (Log{"beginEditing 0.2", "commit 0.2", "endEditing 0.2"}));
  EXPECT_EQ(t->numberOfRowsInSection(0), 7);

  // Over rows that are not editable a sideways drag is a touch on the row.
  rows->editable = [](const IndexPath&) { return false; };
  rows->log.clear();
  clock->advance(1);
  script().drag({400, 2 * 44 + 20}, {250, 2 * 44 + 22}, 0.2);
  EXPECT_EQ(rows->log, (Log{"select 0.2"}));
  EXPECT_FALSE(t->cellForRowAtIndexPath({0, 2})->showingDeleteConfirmation());
}

TEST_F(TableTest, RowsAndSectionsThatDoNotExistAreIgnored) {
  auto t = makeTable({std::vector<float>(20, 44), std::vector<float>(3, 44)});
  t->setContentOffset({0, 100});
  using Op = std::pair<const char*, std::function<void()>>;
  const Op ops[] = {
      {"select", [&] { t->selectRowAtIndexPath({0, 20}, true, TableViewScrollPosition::Top); }},
      {"select in a missing section", [&] { t->selectRowAtIndexPath({5, 0}, false, TableViewScrollPosition::Middle); }},
      {"select a negative row", [&] { t->selectRowAtIndexPath({0, -1}, false, TableViewScrollPosition::None); }},
      {"deselect", [&] { t->deselectRowAtIndexPath({2, 0}, true); }},
      {"scroll to", [&] { t->scrollToRowAtIndexPath({1, 3}, TableViewScrollPosition::Bottom, true); }},
      {"reload", [&] { t->reloadRowsAtIndexPaths({{1, 9}, {-1, 0}}, TableViewRowAnimation::Fade); }},
      {"delete", [&] { t->deleteRowsAtIndexPaths({{0, 99}}, TableViewRowAnimation::Fade); }},
      {"delete a section", [&] { t->deleteSections({7, -2}, TableViewRowAnimation::Fade); }},
      {"insert past the end", [&] { t->insertRowsAtIndexPaths({{0, 50}}, TableViewRowAnimation::None); }},
      {"insert a section far away", [&] { t->insertSections({9}, TableViewRowAnimation::None); }},
      {"an end without a begin", [&] { t->endUpdates(); }},
  };
  for (const auto& [what, op] : ops) {
    SCOPED_TRACE(what);
    op();
    clock->advance(0.5);
    EXPECT_EQ(t->numberOfSections(), 2);
    EXPECT_EQ(t->numberOfRowsInSection(0), 20);
    EXPECT_EQ(t->numberOfRowsInSection(1), 3);
    EXPECT_EQ(t->contentOffset().y, 100);
    EXPECT_FALSE(t->indexPathForSelectedRow());
  }
  EXPECT_EQ(t->cellForRowAtIndexPath({3, 0}), nullptr);
  EXPECT_EQ(t->rectForRowAtIndexPath({0, 20}), cg::Rect());
  EXPECT_EQ(t->numberOfRowsInSection(-1), 0);
  EXPECT_FALSE(t->indexPathForCell(nullptr));
}

TEST_F(TableTest, PlainHeadersStayOnTopAndGroupedRowsSitInset) {
  rows->headerTitles = {"First", "Second"};
  auto t = makeTable({std::vector<float>(20, 44), std::vector<float>(20, 44)});
  EXPECT_EQ(t->rectForHeaderInSection(1), cg::Rect(0, 22 + 20 * 44, 600, 22));
  EXPECT_EQ(t->rectForRowAtIndexPath({0, 0}).y(), 22);
  t->setContentOffset({0, 300});
  auto header = t->indexPathForRowAtPoint({10, 300});
  EXPECT_EQ(*header, (IndexPath{0, 6}));
  // The first section's header rides at the top edge while its rows pass under it.
  bool floating = false;
  for (auto& v : t->subviews())
    if (!dynamic_cast<TableViewCell*>(v.get()) && v->frame() == cg::Rect(0, 300, 600, 22)) floating = true;
  EXPECT_TRUE(floating);

  auto g = makeTable({{44, 44, 44}, {44}}, TableViewStyle::Grouped, cg::Rect(0, 0, 600, 700));
  cg::Rect r = g->rectForRowAtIndexPath({0, 1});
  EXPECT_EQ(r.x(), 45);
  EXPECT_EQ(r.width(), 510);
  EXPECT_EQ(g->rectForRowAtIndexPath({0, 0}).y(), 46);  // under the section's title
  EXPECT_EQ(g->rectForSection(1).y(), g->rectForSection(0).maxY());
}

TEST_F(TableTest, CellStylesAccessoriesAndSelectionDrawAsExpected) {
  // A small green disc drawn here, standing for an icon.
  auto noteIcon = [] {
    auto ctx = cg::Context::bitmap(24, 24, 1);
    ctx.setFillColor(cg::Color(0.2f, 0.6f, 0.3f));
    ctx.fillEllipseInRect(cg::Rect(2, 2, 20, 20));
    return Image::imageWithCGImage(ctx.makeImage());
  };
  class Demo : public TableViewDataSource, public TableViewDelegate {
   public:
    std::function<std::shared_ptr<Image>()> noteIcon;
    int numberOfSectionsInTableView(TableView*) override { return 2; }
    int numberOfRowsInSection(TableView*, int s) override { return s == 0 ? 3 : 2; }
    std::string titleForHeaderInSection(TableView*, int s) override { return s == 0 ? "Display" : "Recitation"; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView*, const IndexPath& p) override {
      if (p.section == 0) {
        auto c = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "");
        const char* names[] = {"Arabic only", "With translation", "Notes"};
        c->textLabel()->setText(names[p.row]);
        c->setAccessoryType(p.row == 1 ? TableViewCellAccessoryType::Checkmark
                                       : TableViewCellAccessoryType::DisclosureIndicator);
        if (p.row == 2) c->imageView()->setImage(noteIcon());
        return c;
      }
      if (p.row == 0) {
        auto c = std::make_shared<TableViewCell>(TableViewCellStyle::Value1, "");
        c->textLabel()->setText("Reciter");
        c->detailTextLabel()->setText("Mishary Alafasy");
        return c;
      }
      auto c = std::make_shared<TableViewCell>(TableViewCellStyle::Subtitle, "");
      c->textLabel()->setText("سورة البقرة");
      c->detailTextLabel()->setText("The Cow, 286 verses");
      return c;
    }
  };
  auto demo = std::make_shared<Demo>();
  demo->noteIcon = noteIcon;
  auto grouped = std::make_shared<TableView>(cg::Rect(0, 0, 512, 768), TableViewStyle::Grouped);
  grouped->setDataSource(demo);
  grouped->setDelegate(demo);
  window->addSubview(grouped);
  rows->headerTitles = {"Al-Fatiha"};
  auto plain = makeTable({variedHeights(30)}, TableViewStyle::Plain, cg::Rect(512, 0, 512, 768));
  plain->selectRowAtIndexPath({0, 2}, false, TableViewScrollPosition::None);
  grouped->selectRowAtIndexPath({1, 0}, false, TableViewScrollPosition::None);
  // The image sits at the left of the text.
  auto notes = grouped->cellForRowAtIndexPath({0, 2});
  EXPECT_EQ(notes->imageView()->frame(), cg::Rect(10, 10, 24, 24));  // centred in 44
  EXPECT_EQ(notes->textLabel()->frame().x(), 44);
  // The plain table edits, with the delete confirmation up on its fourth row.
  rows->editable = [](const IndexPath& p) { return p.row > 0; };
  plain->setEditing(true, false);
  cg::Rect fourth = plain->rectForRowAtIndexPath({0, 3});
  script().tap({512 + 16, fourth.midY()});
  clock->advance(0.5);
  window->layoutIfNeeded();

  auto image = window->snapshot();
  ASSERT_TRUE(image);
  if (const char* dir = std::getenv("ZARVEL_TEST_TMP")) {
    std::string path = std::string(dir) + "/tables.png";
    EXPECT_TRUE(image->writePNG(path));
  }
  // The selected value-1 row is blue; the grouped background shows in the margin.
  cg::Rect selected = grouped->rectForRowAtIndexPath({1, 0});
  auto pixel = image->pixelAt(int(selected.midX()), int(selected.y() + 5));
  EXPECT_LT(pixel.r, 50);
  EXPECT_GT(pixel.b, 180);
  auto margin = image->pixelAt(10, int(selected.midY()));
  EXPECT_NEAR(margin.r, 0.84 * 255, 5);
  // The confirmation is red at the right of the fourth row; its control at the left too.
  EXPECT_TRUE(plain->cellForRowAtIndexPath({0, 3})->showingDeleteConfirmation());
  auto button = image->pixelAt(1024 - 10 - 32, int(fourth.midY()) - 8);
  EXPECT_GT(button.r, 180);
  EXPECT_LT(button.g, 60);
  auto minus = image->pixelAt(512 + 16, int(fourth.midY()) - 6);
  EXPECT_GT(minus.r, 180);
}

TEST_F(TableTest, FollowerTablesKeepTheLeadersOffsetThroughAFlick) {
  // The reading screen and its two translation panes: whichever is dragged
  // leads, the others follow from its did-scroll with an ignore flag of their
  // own, so the echo does not bounce back.
  struct Pane : Rows {
    std::vector<TableView*> others;
    bool ignoring = false;
    int echoes = 0;
    void scrollViewDidScroll(ScrollView* s) override {
      if (ignoring) {
        ++echoes;
        return;
      }
      for (TableView* t : others) {
        auto* pane = static_cast<Pane*>(t->delegate().lock().get());
        pane->ignoring = true;
        t->setContentOffset(s->contentOffset());
        pane->ignoring = false;
      }
    }
  };
  std::vector<std::shared_ptr<Pane>> panes;
  std::vector<std::shared_ptr<TableView>> tables;
  for (int i = 0; i < 3; ++i) {
    auto pane = std::make_shared<Pane>();
    pane->heights = {variedHeights(573)};
    auto t = std::make_shared<TableView>(cg::Rect(i * 340.0f, 0, 340, 700), TableViewStyle::Plain);
    t->setDataSource(pane);
    t->setDelegate(pane);
    window->addSubview(t);
    panes.push_back(pane);
    tables.push_back(t);
  }
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (i != j) panes[i]->others.push_back(tables[j].get());
  window->layoutIfNeeded();

  script().flick({170, 600}, {170, 300}, 2500);
  for (int frame = 0; frame < 200 && tables[0]->isDecelerating(); ++frame) {
    clock->advance(GestureScript::kFrame);
    ASSERT_EQ(tables[1]->contentOffset(), tables[0]->contentOffset());
    ASSERT_EQ(tables[2]->contentOffset(), tables[0]->contentOffset());
  }
  EXPECT_FALSE(tables[0]->isDecelerating());
  EXPECT_GT(tables[0]->contentOffset().y, 1000);
  EXPECT_EQ(tables[2]->indexPathsForVisibleRows(), tables[0]->indexPathsForVisibleRows());
  EXPECT_GT(panes[1]->echoes, 0);

  // The middle pane leads the next drag.
  script().drag({500, 400}, {500, 600}, 0.3);
  EXPECT_EQ(tables[0]->contentOffset(), tables[1]->contentOffset());
  EXPECT_EQ(tables[2]->contentOffset(), tables[1]->contentOffset());
}

TEST_F(TableTest, TheSectionIndexTakesTheTableFromSectionToSection) {
  rows->indexTitles = {TableViewIndexSearch, "A", "B", "C"};
  auto t = makeTable({std::vector<float>(10, 50), std::vector<float>(10, 50), std::vector<float>(10, 50)},
                     TableViewStyle::Plain, cg::Rect(0, 0, 600, 400));
  View* index = t->indexView();
  ASSERT_TRUE(index);
  cg::Rect f = index->frame();
  EXPECT_EQ(f.maxX(), 600);
  EXPECT_EQ(f.height(), 400);
  // A drag down the index moves from entry to entry, not the table.
  cg::Point entry2 = index->convertPointToView({f.width() / 2, 400 * 2.5f / 4}, nullptr);
  touch(TouchPhase::Began, index->convertPointToView({f.width() / 2, 400 * 1.5f / 4}, nullptr));
  EXPECT_EQ(t->contentOffset().y, t->rectForSection(1).y());
  for (int i = 1; i <= 4; ++i) {
    clock->advance(1.0 / 60);
    touch(TouchPhase::Moved, {entry2.x, entry2.y - 25 + 25 * float(i) / 4});
  }
  touch(TouchPhase::Ended, entry2);
  EXPECT_EQ(t->contentOffset().y, t->rectForSection(2).y());
  EXPECT_FALSE(t->isDragging());
  EXPECT_TRUE(t->isScrollEnabled());
  EXPECT_EQ(rows->log, (Log{"index A", "index B"}));
  // It stays at the right edge while the rows scroll under it.
  EXPECT_EQ(index->frame().y(), t->contentOffset().y);
  // An entry that names no section moves nothing; no titles, no index.
  tap(index->convertPointToView({f.width() / 2, 10}, nullptr));
  EXPECT_EQ(t->contentOffset().y, t->rectForSection(2).y());
  rows->indexTitles.clear();
  t->reloadData();
  EXPECT_FALSE(t->indexView());
}

TEST_F(TableTest, TheDetailButtonIsTappedApartFromItsRow) {
  auto t = makeTable({{44, 44}});
  auto cell = t->cellForRowAtIndexPath({0, 1});
  cell->setAccessoryType(TableViewCellAccessoryType::DetailDisclosureButton);
  tap({585, 44 + 22});
  EXPECT_EQ(rows->log, (Log{"accessory 0.1"}));
  cell->setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
  tap({585, 44 + 22});
  EXPECT_EQ(rows->log, (Log{"accessory 0.1", "select 0.1"}));
}

TEST_F(TableTest, RowsSlideInAndOutAtTheTop) {
  auto t = makeTable({{40, 40, 40}});
  auto leaving = t->cellForRowAtIndexPath({0, 1});
  rows->heights[0].erase(rows->heights[0].begin() + 1);
  t->deleteRowsAtIndexPaths({{0, 1}}, TableViewRowAnimation::Top);
  clock->advance(0.15);
  EXPECT_LT(leaving->presentationFrame().y(), 40);  // moving up as it fades
  EXPECT_GT(leaving->presentationAlpha(), 0);
  clock->advance(0.3);
  rows->heights[0].insert(rows->heights[0].begin() + 1, 40);
  t->insertRowsAtIndexPaths({{0, 1}}, TableViewRowAnimation::Top);
  auto arriving = t->cellForRowAtIndexPath({0, 1});
  EXPECT_LT(arriving->presentationFrame().y(), 40);
  clock->advance(0.4);
  EXPECT_EQ(arriving->presentationFrame().y(), 40);
  EXPECT_EQ(arriving->presentationAlpha(), 1);
}

TEST_F(TableTest, ADeletedRowSlidesOutToTheLeft) {
  auto t = makeTable({{40, 40, 40}});
  auto leaving = t->cellForRowAtIndexPath({0, 1});
  rows->heights[0].erase(rows->heights[0].begin() + 1);
  t->deleteRowsAtIndexPaths({{0, 1}}, TableViewRowAnimation::Left);
  clock->advance(0.15);
  EXPECT_LT(leaving->presentationFrame().x(), 0);  // moving left as it fades
  EXPECT_EQ(leaving->presentationFrame().y(), 40);
  EXPECT_GT(leaving->presentationAlpha(), 0);
  clock->advance(0.3);
  EXPECT_EQ(leaving->presentationFrame().x(), -leaving->frame().width());
}

TEST_F(TableTest, AValue2CellSetsItsCaptionBesideTheDetail) {
  TableViewCell cell(TableViewCellStyle::Value2, "");
  cell.setFrame(cg::Rect(0, 0, 320, 44));
  cell.textLabel()->setText("Key");
  cell.detailTextLabel()->setText("Value");
  cell.layoutSubviews();
  cg::Rect caption = cell.textLabel()->frame(), detail = cell.detailTextLabel()->frame();
  EXPECT_EQ(caption.width(), 67);
  EXPECT_EQ(cell.textLabel()->textAlignment(), TextAlignment::Right);
  EXPECT_EQ(detail.x(), caption.maxX() + 6);
  EXPECT_NEAR(caption.midY(), 21.5f, 1);
  EXPECT_NEAR(detail.midY(), 21.5f, 1);
}
