// A small screen of controls drawn headless: a search bar holding Arabic
// text, a grouped table with switches and a segmented control, and buttons in
// each state. Its picture is kept (controls-demo.png in the test folder) for a
// person to look at; the test checks what can be measured in it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "Pixels.h"
#include "WindowFixture.h"
#include "platform/ui/Button.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

using namespace ui;
using testpixels::inkBox;

namespace {

const std::string kBasmala =
    "\xD8\xA8\xD8\xB3\xD9\x85 \xD8\xA7\xD9\x84\xD9\x84\xD9\x87 \xD8\xA7\xD9\x84\xD8\xB1\xD8\xAD\xD9\x85\xD9\x86";

// Two sections of settings: switches, then a segmented control.
class Settings : public TableViewDataSource, public TableViewDelegate {
 public:
  std::shared_ptr<Switch> tajweed = std::make_shared<Switch>(cg::Rect());
  std::shared_ptr<Switch> stops = std::make_shared<Switch>(cg::Rect());
  std::shared_ptr<SegmentedControl> segments =
      std::make_shared<SegmentedControl>(std::vector<std::string>{"Qur'an", "Sahih International", "Pickthall"});

  int numberOfSectionsInTableView(TableView*) override { return 2; }
  int numberOfRowsInSection(TableView*, int section) override { return section == 0 ? 2 : 1; }
  std::string titleForHeaderInSection(TableView*, int section) override {
    return section == 0 ? "Display" : "Search in";
  }
  std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView*, const IndexPath& p) override {
    auto cell = std::make_shared<TableViewCell>(TableViewCellStyle::Default, "");
    cell->setSelectionStyle(TableViewCellSelectionStyle::None);
    if (p.section == 0) {
      cell->textLabel()->setText(p.row == 0 ? "Tajweed colours" : "Stop signs");
      auto& sw = p.row == 0 ? tajweed : stops;
      sw->setFrame(cg::Rect(cell->contentView()->bounds().width() - 94 - 10, 8, 0, 0));
      sw->setAutoresizingMask(ViewAutoresizingFlexibleLeftMargin);
      cell->contentView()->addSubview(sw);
    } else {
      segments->setFrame(cell->contentView()->bounds().insetBy(8, 5));
      segments->setAutoresizingMask(ViewAutoresizingFlexibleWidth);
      cell->contentView()->addSubview(segments);
    }
    return cell;
  }
};

std::shared_ptr<Image> gradientImage(cg::Color top, cg::Color bottom) {
  cg::Context ctx = cg::Context::bitmap(33, 30);
  ctx.beginPath();
  ctx.addRoundedRect(cg::Rect(0.5f, 0.5f, 32, 29), 6);
  ctx.clip();
  ctx.drawLinearGradient({top, bottom}, {0, 1}, {0, 0}, {0, 30});
  return Image::imageWithCGImage(ctx.makeImage())->stretchableImage(16, 0);
}

bool isBlue(cg::RGBA p) { return p.b > 180 && p.r < 120 && p.b > p.r + 80; }
bool isLight(cg::RGBA p) { return p.r > 200 && p.g > 200 && p.b > 200; }

}  // namespace

using ControlsDemoTest = WindowFixture;

TEST_F(ControlsDemoTest, ADemonstrationScreenOfControlsLooksRight) {
  auto bar = std::make_shared<SearchBar>(cg::Rect(0, 20, 1024, 0));
  bar->setPlaceholder("Search");
  bar->setText(kBasmala);
  window->addSubview(bar);

  auto settings = std::make_shared<Settings>();
  auto table = std::make_shared<TableView>(cg::Rect(0, 64, 1024, 330), TableViewStyle::Grouped);
  table->setDataSource(settings);
  table->setDelegate(settings);
  window->addSubview(table);
  settings->tajweed->setOn(true);
  settings->segments->setSelectedSegmentIndex(0);

  // One rounded button and one custom button per state.
  const char* names[] = {"Normal", "Highlighted", "Disabled", "Selected"};
  std::vector<std::shared_ptr<Button>> rounded, custom;
  for (int i = 0; i < 4; ++i) {
    auto r = Button::buttonWithType(ButtonType::RoundedRect);
    r->setFrame(cg::Rect(40 + 240 * float(i), 420, 200, 44));
    r->setTitle(names[i], ControlStateNormal);
    auto c = std::make_shared<Button>(cg::Rect(40 + 240 * float(i), 490, 200, 44));
    c->setTitle(names[i], ControlStateNormal);
    c->titleLabel()->setFont(Font::boldSystemFontOfSize(15));
    c->setBackgroundImage(gradientImage(cg::Color::gray(0.35f), cg::Color::gray(0.05f)), ControlStateNormal);
    c->setBackgroundImage(gradientImage(cg::Color::fromRGB255(90, 150, 240), cg::Color::fromRGB255(20, 80, 200)),
                          ControlStateSelected);
    c->setTitleColor(cg::Color::gray(0.85f), ControlStateDisabled);
    for (auto& b : {r, c}) {
      if (i == 1) b->setHighlighted(true);
      if (i == 2) b->setEnabled(false);
      if (i == 3) b->setSelected(true);
      window->addSubview(b);
    }
    rounded.push_back(r);
    custom.push_back(c);
  }

  auto image = picture();
  if (const char* dir = std::getenv("ZARVEL_TEST_TMP")) image->writePNG(std::string(dir) + "/controls-demo.png");

  // The search bar's tinted background, and its Arabic text in dark ink in the field.
  cg::RGBA tint = image->pixelAt(512, 22);
  EXPECT_GT(tint.b, tint.r);
  cg::Rect field = bar->searchField()->convertRectToView(bar->searchField()->bounds(), nullptr);
  cg::Rect text = inkBox(*image, field.insetBy(30, 6), {255, 255, 255, 255}, 120);
  EXPECT_GT(text.width(), 60);
  EXPECT_LT(text.minX(), field.minX() + 60);  // left-aligned, after the glass

  // The switch that is on shows blue on its left; the one that is off, light grey on its right.
  auto at = [&](View& v, float x, float y) {
    cg::Point p = v.convertPointToView({x, y}, nullptr);
    return image->pixelAt(int(p.x), int(p.y));
  };
  EXPECT_TRUE(isBlue(at(*settings->tajweed, 15, 13)));
  EXPECT_TRUE(isLight(at(*settings->stops, 89, 13)));
  EXPECT_FALSE(isBlue(at(*settings->stops, 15, 13)));
  // The selected segment is blue, the others light.
  SegmentedControl& seg = *settings->segments;
  EXPECT_TRUE(isBlue(at(seg, seg.rectForSegmentAtIndex(0).x() + 6, 6)));
  EXPECT_TRUE(isLight(at(seg, seg.rectForSegmentAtIndex(1).x() + 6, 6)));

  // Rounded buttons: white when normal and disabled, blue when highlighted or
  // selected; the disabled title is fainter than the normal one.
  EXPECT_TRUE(isLight(at(*rounded[0], 10, 10)));
  EXPECT_TRUE(isBlue(at(*rounded[1], 10, 10)));
  EXPECT_TRUE(isLight(at(*rounded[2], 10, 10)));
  EXPECT_TRUE(isBlue(at(*rounded[3], 10, 10)));
  auto darkest = [&](View& v) {
    cg::Rect r = v.convertRectToView(v.bounds(), nullptr).insetBy(30, 12);
    int best = 255;
    for (int y = int(r.minY()); y < int(r.maxY()); ++y)
      for (int x = int(r.minX()); x < int(r.maxX()); ++x) best = std::min(best, int(image->pixelAt(x, y).r));
    return best;
  };
  EXPECT_LT(darkest(*rounded[0]) + 40, darkest(*rounded[2]));
  // Custom buttons: dark normal, darker highlighted, faint disabled, the blue selected image.
  cg::RGBA normal = at(*custom[0], 10, 22), pressed = at(*custom[1], 10, 22), off = at(*custom[2], 10, 22);
  EXPECT_LT(pressed.r + 10, normal.r);
  EXPECT_GT(off.r, normal.r + 40);
  EXPECT_TRUE(isBlue(at(*custom[3], 10, 22)));
}
