// Controls: target-action and tracking, button states, labels and image views.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Pixels.h"
#include "WindowFixture.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Switch.h"

using namespace ui;
using testpixels::inkBox;
using testpixels::near;
using testpixels::solidImage;

namespace {

using ControlTest = WindowFixture;

// Records the events a control sends.
struct EventLog {
  std::vector<std::string> names;
  void attach(Control& c) {
    const std::pair<unsigned, const char*> events[] = {
        {ControlEventTouchDown, "down"},         {ControlEventTouchUpInside, "up-inside"},
        {ControlEventTouchUpOutside, "up-outside"}, {ControlEventTouchDragExit, "exit"},
        {ControlEventTouchDragEnter, "enter"},   {ControlEventTouchCancel, "cancel"},
        {ControlEventValueChanged, "changed"},
    };
    for (auto [event, name] : events)
      c.addTarget(this, [this, n = std::string(name)](Control&) { names.push_back(n); }, event);
  }
};

}  // namespace

TEST_F(ControlTest, TrackingSendsTheEventsOfEachWayATouchCanGo) {
  struct Case {
    const char* what;
    std::vector<cg::Point> moves;
    bool cancel;
    std::vector<std::string> events;
  } cases[] = {
      {"tap", {}, false, {"down", "up-inside"}},
      {"slip within reach", {{160, 140}}, false, {"down", "up-inside"}},
      {"drag away", {{400, 400}}, false, {"down", "exit", "up-outside"}},
      {"away and back", {{400, 400}, {110, 110}}, false, {"down", "exit", "enter", "up-inside"}},
      {"cancelled", {}, true, {"down", "cancel"}},
  };
  for (const auto& c : cases) {
    auto button = std::make_shared<Button>(cg::Rect(100, 100, 80, 40));
    window->addSubview(button);
    EventLog log;
    log.attach(*button);
    touch(TouchPhase::Began, {110, 110});
    EXPECT_TRUE(button->isHighlighted()) << c.what;
    cg::Point last{110, 110};
    for (auto p : c.moves) touch(TouchPhase::Moved, last = p);
    if (c.cancel) window->cancelAllTouches();
    else touch(TouchPhase::Ended, last);
    EXPECT_EQ(log.names, c.events) << c.what;
    EXPECT_FALSE(button->isHighlighted()) << c.what;
    button->removeFromSuperview();
  }
}

TEST_F(ControlTest, ADisabledControlLetsTouchesThroughAndSendsNothing) {
  auto under = std::make_shared<Button>(cg::Rect(0, 0, 300, 300));
  auto button = std::make_shared<Button>(cg::Rect(100, 100, 80, 40));
  window->addSubview(under);
  window->addSubview(button);
  EventLog top, bottom;
  top.attach(*button);
  bottom.attach(*under);
  button->setEnabled(false);
  touch(TouchPhase::Began, {110, 110});
  touch(TouchPhase::Ended, {110, 110});
  EXPECT_TRUE(top.names.empty());
  EXPECT_EQ(bottom.names, (std::vector<std::string>{"down", "up-inside"}));
  EXPECT_EQ(button->state(), unsigned(ControlStateDisabled));
}

TEST_F(ControlTest, RemovedTargetsHearNothingAndAnActionMayRemoveItsControl) {
  auto button = std::make_shared<Button>(cg::Rect(100, 100, 80, 40));
  window->addSubview(button);
  int a = 0, b = 0;
  int keyA = 0, keyB = 0;
  button->addTarget(&keyA, [&](Control&) { ++a; }, ControlEventTouchUpInside | ControlEventTouchDown);
  button->addTarget(&keyB, [&](Control& sender) {
    ++b;
    sender.removeFromSuperview();
  }, ControlEventTouchUpInside);
  button->removeTarget(&keyA, ControlEventTouchUpInside);
  EXPECT_EQ(button->allControlEvents(), unsigned(ControlEventTouchUpInside | ControlEventTouchDown));
  std::weak_ptr<Button> weak = button;
  button.reset();
  touch(TouchPhase::Began, {110, 110});
  touch(TouchPhase::Ended, {110, 110});
  EXPECT_EQ(a, 1);  // the touch down only
  EXPECT_EQ(b, 1);
  EXPECT_TRUE(weak.expired());
}

// Each state shows its own background image; a state without one falls back
// to the normal image (darkened while highlighted, faint while disabled).
TEST_F(ControlTest, ButtonStatesShowTheirOwnImagesOrTheNormalOnes) {
  auto button = std::make_shared<Button>(cg::Rect(100, 100, 80, 40));
  window->addSubview(button);
  cg::Point mid{140, 120};
  auto red = solidImage(cg::Color::red(), {10, 10});
  button->setBackgroundImage(red, ControlStateNormal);
  EXPECT_TRUE(near(pixel(mid), {255, 0, 0, 255}));

  touch(TouchPhase::Began, mid);
  cg::RGBA darkened = pixel(mid);
  EXPECT_LT(darkened.r, 200);
  EXPECT_GT(darkened.r, 80);
  EXPECT_LT(darkened.g + darkened.b, 10);
  touch(TouchPhase::Ended, mid);

  button->setBackgroundImage(solidImage(cg::Color::green(), {10, 10}), ControlStateHighlighted);
  button->setBackgroundImage(solidImage(cg::Color::blue(), {10, 10}), ControlStateSelected);
  touch(TouchPhase::Began, mid);
  EXPECT_TRUE(near(pixel(mid), {0, 255, 0, 255}));
  touch(TouchPhase::Ended, mid);
  button->setSelected(true);
  EXPECT_TRUE(near(pixel(mid), {0, 0, 255, 255}));
  // Highlighted and selected together: the selected image, darkened.
  touch(TouchPhase::Began, mid);
  EXPECT_TRUE(near(pixel(mid), {0, 0, 153, 255}, 12));
  touch(TouchPhase::Ended, mid);
  button->setSelected(false);
  button->setEnabled(false);
  EXPECT_TRUE(near(pixel(mid), {255, 128, 128, 255}, 12));  // half-faint red over white
}

TEST_F(ControlTest, ButtonTitlesAndColoursFollowTheState) {
  auto button = Button::buttonWithType(ButtonType::RoundedRect);
  button->setTitle("Done", ControlStateNormal);
  button->setTitle("Pressed", ControlStateHighlighted);
  button->setTitleColor(cg::Color::red(), ControlStateDisabled);
  EXPECT_EQ(button->titleForState(ControlStateNormal), "Done");
  EXPECT_EQ(button->titleForState(ControlStateHighlighted), "Pressed");
  EXPECT_EQ(button->titleForState(ControlStateSelected), "Done");
  EXPECT_EQ(button->titleForState(ControlStateDisabled), "Done");
  EXPECT_EQ(button->titleColorForState(ControlStateDisabled), cg::Color::red());
  button->setHighlighted(true);
  EXPECT_EQ(button->titleLabel()->text(), "Pressed");
  EXPECT_EQ(button->titleLabel()->textColor(), cg::Color::white());
  button->setHighlighted(false);
  EXPECT_EQ(button->titleLabel()->text(), "Done");
}

// Content alignment and insets place the image and the title side by side.
TEST_F(ControlTest, ButtonLaysOutImageAndTitleByAlignmentAndInsets) {
  auto button = std::make_shared<Button>(cg::Rect(0, 0, 200, 40));
  button->setImage(solidImage(cg::Color::red(), {20, 20}), ControlStateNormal);
  button->setTitle("Go", ControlStateNormal);
  button->layoutIfNeeded();
  cg::Rect image = button->imageView()->frame(), title = button->titleLabel()->frame();
  EXPECT_EQ(image.y(), 10);
  EXPECT_EQ(title.x(), image.maxX());
  EXPECT_NEAR(image.x() + (title.maxX() - image.x()) / 2, 100, 1);  // centred as a pair

  button->setContentHorizontalAlignment(ControlContentHorizontalAlignment::Left);
  button->setContentEdgeInsets({0, 10, 0, 0});
  button->setTitleEdgeInsets({0, 5, 0, 0});
  button->layoutIfNeeded();
  EXPECT_EQ(button->imageView()->frame().x(), 10);
  EXPECT_EQ(button->titleLabel()->frame().x(), 10 + 5 + 20);

  button->setContentHorizontalAlignment(ControlContentHorizontalAlignment::Right);
  button->setContentEdgeInsets({});
  button->setTitleEdgeInsets({});
  button->layoutIfNeeded();
  EXPECT_EQ(button->titleLabel()->frame().maxX(), 200);
}

TEST_F(ControlTest, SwitchTurnsOnATapSlidingOnTheClockAndTellsOnlyTouches) {
  auto sw = std::make_shared<Switch>(cg::Rect(100, 100, 10, 10));
  EXPECT_EQ(sw->frame(), cg::Rect(100, 100, 94, 27));
  window->addSubview(sw);
  EventLog log;
  log.attach(*sw);
  sw->setOn(true);
  EXPECT_TRUE(sw->isOn());
  EXPECT_TRUE(log.names.empty());

  tap({140, 110});
  EXPECT_FALSE(sw->isOn());
  EXPECT_EQ(log.names, (std::vector<std::string>{"down", "changed", "up-inside"}));
  View* knob = sw->subviews().front().get();
  clock->advance(0.1);
  float midway = knob->presentationFrame().x();
  EXPECT_GT(midway, 5);
  EXPECT_LT(midway, 49);
  clock->advance(0.2);
  EXPECT_EQ(knob->presentationFrame().x(), 0);

  // A drag let go on the side it started on changes nothing.
  log.names.clear();
  touch(TouchPhase::Began, {110, 110});
  touch(TouchPhase::Moved, {125, 110});
  touch(TouchPhase::Ended, {125, 110});
  EXPECT_FALSE(sw->isOn());
  EXPECT_EQ(log.names, (std::vector<std::string>{"down", "up-inside"}));
}

// Titles in another language stand on their side of the knob whole, a
// longer one in a smaller font.
TEST_F(ControlTest, SwitchTitlesFitTheirSideOfTheKnob) {
  auto sw = std::make_shared<Switch>(cg::Rect(100, 100, 10, 10));
  window->addSubview(sw);
  const cg::RGBA offTrack = picture()->pixelAt(192, 104);
  for (const char* off : {"OFF", "\u0625\u064a\u0642\u0627\u0641", "Stopped"}) {
    sw->setTitles("ON", off);
    // The off side runs from the knob (x 140) to the frame's end (194).
    cg::Rect ink = inkBox(*picture(), cg::Rect(141, 103, 51, 21), offTrack);
    ASSERT_FALSE(ink.isEmpty()) << off;
    EXPECT_GE(ink.x(), 144) << off;
    EXPECT_LE(ink.maxX(), 190) << off;
  }
}

TEST_F(ControlTest, SegmentedControlSelectsTheTouchedSegmentOnce) {
  auto seg = std::make_shared<SegmentedControl>(std::vector<std::string>{"One", "Two", "Three"});
  seg->setFrame(cg::Rect(0, 0, 300, 40));
  window->addSubview(seg);
  EventLog log;
  log.attach(*seg);
  EXPECT_EQ(seg->selectedSegmentIndex(), SegmentedControl::NoSegment);
  tap({150, 20});
  EXPECT_EQ(seg->selectedSegmentIndex(), 1);
  tap({150, 20});
  EXPECT_EQ(log.names, (std::vector<std::string>{"down", "changed", "up-inside", "down", "up-inside"}));

  seg->setEnabled(false, 2);
  tap({250, 20});
  EXPECT_EQ(seg->selectedSegmentIndex(), 1);

  // Insertions and removals keep the same segment selected; bad indexes do nothing.
  seg->insertSegmentWithTitle("Zero", 0);
  EXPECT_EQ(seg->selectedSegmentIndex(), 2);
  EXPECT_EQ(seg->titleForSegmentAtIndex(2), "Two");
  seg->insertSegmentWithTitle("Last", 99);
  EXPECT_EQ(seg->titleForSegmentAtIndex(4), "Last");
  seg->removeSegmentAtIndex(7);
  seg->setTitle("x", -1);
  seg->setSelectedSegmentIndex(9);
  EXPECT_EQ(seg->selectedSegmentIndex(), 2);
  seg->removeSegmentAtIndex(2);
  EXPECT_EQ(seg->selectedSegmentIndex(), SegmentedControl::NoSegment);
  seg->removeAllSegments();
  EXPECT_EQ(seg->numberOfSegments(), 0);
  tap({150, 20});  // nothing to touch

  seg->insertSegmentWithTitle("A", 0);
  seg->insertSegmentWithTitle("B", 1);
  seg->setMomentary(true);
  tap({200, 20});
  EXPECT_EQ(seg->selectedSegmentIndex(), SegmentedControl::NoSegment);
  EXPECT_EQ(std::count(log.names.begin(), log.names.end(), "changed"), 2);
}

TEST_F(ControlTest, PageControlStepsTowardsTheTappedSide) {
  auto pages = std::make_shared<PageControl>(cg::Rect(0, 0, 200, 36));
  pages->setNumberOfPages(3);
  window->addSubview(pages);
  EventLog log;
  log.attach(*pages);
  tap({190, 18});
  tap({190, 18});
  tap({190, 18});
  EXPECT_EQ(pages->currentPage(), 2);
  EXPECT_EQ(std::count(log.names.begin(), log.names.end(), "changed"), 2);
  tap({5, 18});
  EXPECT_EQ(pages->currentPage(), 1);
  pages->setDefersCurrentPageDisplay(true);
  tap({5, 18});
  EXPECT_EQ(pages->currentPage(), 0);
  EXPECT_EQ(pages->displayedPage(), 1);
  pages->updateCurrentPageDisplay();
  EXPECT_EQ(pages->displayedPage(), 0);
  pages->setCurrentPage(7);
  EXPECT_EQ(pages->currentPage(), 2);
  pages->setNumberOfPages(1);
  EXPECT_EQ(pages->currentPage(), 0);
}

TEST_F(ControlTest, ProgressIsClampedAndFillsFromTheLeft) {
  auto bar = std::make_shared<ProgressView>(ProgressViewStyle::Default);
  bar->setFrame(cg::Rect(100, 100, 200, 9));
  window->addSubview(bar);
  for (float p : {-1.0f, 2.0f, std::nanf("")}) {
    bar->setProgress(p);
    EXPECT_GE(bar->progress(), 0);
    EXPECT_LE(bar->progress(), 1);
  }
  bar->setProgress(0.5f);
  auto image = picture();
  EXPECT_LT(image->pixelAt(150, 104).r, 150);   // filled blue
  EXPECT_GT(image->pixelAt(250, 104).r, 200);   // white track
}

TEST_F(ControlTest, ActivityIndicatorTurnsOnTheClockWhileAnimating) {
  auto spinner = std::make_shared<ActivityIndicatorView>(ActivityIndicatorViewStyle::WhiteLarge);
  EXPECT_EQ(spinner->frame().size, (cg::Size{37, 37}));
  EXPECT_TRUE(spinner->isHidden());
  window->addSubview(spinner);
  spinner->startAnimating();
  EXPECT_FALSE(spinner->isHidden());
  clock->advance(ActivityIndicatorView::kTurnInterval * 3.5);
  EXPECT_EQ(spinner->step(), 3);
  spinner->stopAnimating();
  clock->advance(1);
  EXPECT_EQ(spinner->step(), 3);
  EXPECT_TRUE(spinner->isHidden());
  spinner->setHidesWhenStopped(false);
  EXPECT_FALSE(spinner->isHidden());
  spinner->startAnimating();
  spinner->removeFromSuperview();
  spinner.reset();
  clock->advance(1);  // a spinner gone while turning leaves nothing behind
}

// Lines and truncation: one line is cut, n lines stop at n, 0 takes what the
// text needs; the label's size follows the same rule.
TEST_F(ControlTest, LabelLinesLimitWhatIsDrawnAndMeasured) {
  const std::string text = "A label whose text is far too long to stand on one line of this narrow width";
  struct Case {
    int lines;
    int drawnLines;
  } cases[] = {{1, 1}, {2, 2}, {0, 3}};
  Font font = Font::systemFontOfSize(17);
  float line = font.lineHeight();
  for (const auto& c : cases) {
    auto label = std::make_shared<Label>(cg::Rect(100, 100, 200, 200));
    label->setFont(font);
    label->setNumberOfLines(c.lines);
    label->setText(text);
    window->addSubview(label);
    cg::Rect ink = inkBox(*picture(), label->frame(), {255, 255, 255, 255});
    EXPECT_GT(ink.height(), line * (float(c.drawnLines) - 0.9f)) << c.lines;
    EXPECT_LT(ink.height(), line * float(c.drawnLines)) << c.lines;
    EXPECT_NEAR(label->sizeThatFits({200, 0}).height, std::ceil(line * float(c.drawnLines)), 2) << c.lines;
    label->removeFromSuperview();
  }
}

// A label sized to its own text shows all of it: the same ink as with room to
// spare, and no ellipsis in place of its last letters.
TEST_F(ControlTest, ALabelSizedToItsTextIsNeverShortened) {
  for (const char* text : {"Al-Baqara", "Done", "Email", "Saheeh Intl.", "\u0627\u0644\u0628\u0642\u0631\u0629"}) {
    for (Font font : {Font::systemFontOfSize(15), Font::boldSystemFontOfSize(13)}) {
      auto fitted = std::make_shared<Label>(cg::Rect(100, 100, 10, 10));
      fitted->setFont(font);
      fitted->setText(text);
      fitted->sizeToFit();
      auto roomy = std::make_shared<Label>(cg::Rect(100, 200, fitted->frame().width() + 60, fitted->frame().height()));
      roomy->setFont(font);
      roomy->setText(text);
      window->addSubview(fitted);
      window->addSubview(roomy);
      auto image = picture();
      cg::Rect a = inkBox(*image, fitted->frame(), {255, 255, 255, 255});
      cg::Rect b = inkBox(*image, roomy->frame(), {255, 255, 255, 255});
      EXPECT_NEAR(a.width(), b.width(), 1) << text;
      fitted->removeFromSuperview();
      roomy->removeFromSuperview();
    }
  }
}

TEST_F(ControlTest, LabelDrawsItsHighlightedColourAndShadow) {
  auto label = std::make_shared<Label>(cg::Rect(100, 100, 300, 60));
  label->setFont(Font::boldSystemFontOfSize(40));
  label->setText("III");
  label->setTextColor(cg::Color::black());
  label->setHighlightedTextColor(cg::Color::red());
  window->addSubview(label);
  cg::Rect ink = inkBox(*picture(), label->frame(), {255, 255, 255, 255});
  cg::Point mid{ink.x() + 4, ink.midY()};
  EXPECT_TRUE(near(pixel(mid), {0, 0, 0, 255}, 30));
  label->setHighlighted(true);
  EXPECT_TRUE(near(pixel(mid), {255, 0, 0, 255}, 30));
  label->setShadowColor(cg::Color::blue());
  label->setShadowOffset({0, 4});
  cg::Rect shadowed = inkBox(*picture(), label->frame(), {255, 255, 255, 255});
  EXPECT_NEAR(shadowed.maxY(), ink.maxY() + 4, 1);
  EXPECT_TRUE(near(pixel({mid.x, ink.maxY() + 2}), {0, 0, 255, 255}, 30));
}

TEST_F(ControlTest, ImageViewsPlaceTheirImageByContentModeAndHighlight) {
  cg::Rect b(0, 0, 100, 50);
  cg::Size wide{40, 10};
  struct Case {
    ContentMode mode;
    cg::Rect rect;
  } cases[] = {
      {ContentMode::ScaleToFill, b},
      {ContentMode::ScaleAspectFit, cg::Rect(0, 12.5f, 100, 25)},
      {ContentMode::ScaleAspectFill, cg::Rect(-50, 0, 200, 50)},
      {ContentMode::Center, cg::Rect(30, 20, 40, 10)},
      {ContentMode::Top, cg::Rect(30, 0, 40, 10)},
      {ContentMode::Bottom, cg::Rect(30, 40, 40, 10)},
      {ContentMode::Left, cg::Rect(0, 20, 40, 10)},
      {ContentMode::Right, cg::Rect(60, 20, 40, 10)},
      {ContentMode::TopLeft, cg::Rect(0, 0, 40, 10)},
      {ContentMode::BottomRight, cg::Rect(60, 40, 40, 10)},
  };
  for (const auto& c : cases) EXPECT_EQ(rectForContentMode(c.mode, wide, b), c.rect) << int(c.mode);

  auto view = std::make_shared<ImageView>(solidImage(cg::Color::red(), {10, 10}));
  EXPECT_EQ(view->frame(), cg::Rect(0, 0, 10, 10));
  EXPECT_FALSE(view->isUserInteractionEnabled());
  view->setFrame(cg::Rect(100, 100, 40, 40));
  view->setContentMode(ContentMode::Center);
  window->addSubview(view);
  EXPECT_TRUE(near(pixel({120, 120}), {255, 0, 0, 255}));
  EXPECT_TRUE(near(pixel({102, 102}), {255, 255, 255, 255}));
  view->setHighlighted(true);  // no highlighted image yet: the plain one
  EXPECT_TRUE(near(pixel({120, 120}), {255, 0, 0, 255}));
  view->setHighlightedImage(solidImage(cg::Color::green(), {10, 10}));
  EXPECT_TRUE(near(pixel({120, 120}), {0, 255, 0, 255}));
}

// A top cap keeps the rows above it and below the stretched row.
TEST_F(ControlTest, StretchableImagesKeepTheirTopAndBottomCaps) {
  cg::Context src = cg::Context::bitmap(1, 3);
  const cg::Color rows[] = {cg::Color::red(), cg::Color::green(), cg::Color::blue()};
  for (int y = 0; y < 3; ++y) {
    src.setFillColor(rows[y]);
    src.fillRect(cg::Rect(0, float(y), 1, 1));
  }
  auto image = Image::imageWithCGImage(src.makeImage())->stretchableImage(0, 1);
  cg::Context ctx = cg::Context::bitmap(4, 12);
  image->drawInRect(ctx, cg::Rect(0, 0, 4, 12));
  auto out = ctx.makeImage();
  EXPECT_EQ(out->pixelAt(2, 0), (cg::RGBA{255, 0, 0, 255}));
  for (int y = 1; y < 11; ++y) EXPECT_EQ(out->pixelAt(2, y), (cg::RGBA{0, 255, 0, 255})) << y;
  EXPECT_EQ(out->pixelAt(2, 11), (cg::RGBA{0, 0, 255, 255}));
}

TEST_F(ControlTest, GlyphButtonsComeSizedAndDrawTheirBadge) {
  struct Case {
    ButtonType type;
    cg::Size size;
    bool blue;
  } cases[] = {{ButtonType::DetailDisclosure, {29, 31}, true},
               {ButtonType::ContactAdd, {29, 29}, true},
               {ButtonType::InfoDark, {18, 19}, false}};
  float x = 100;
  for (const auto& c : cases) {
    auto b = Button::buttonWithType(c.type);
    EXPECT_EQ(b->frame().size, c.size);
    b->setCenter({x += 50, 100});
    window->addSubview(b);
    cg::RGBA edge = pixel({b->frame().minX() + 5, b->frame().midY()});
    EXPECT_EQ(edge.b > 180 && edge.r < 100, c.blue) << int(c.type);
    EXPECT_FALSE(near(edge, {255, 255, 255, 255}, 30)) << int(c.type);
  }
  EXPECT_EQ(Button::buttonWithType(ButtonType::RoundedRect)->frame().size, (cg::Size{0, 0}));
}

TEST_F(ControlTest, ALabelShrinksItsFontToFitDownToTheMinimum) {
  struct Case {
    float minimum;
    float expected;  // the point size drawn
  } cases[] = {{0, 20}, {10, 0}, {18, 18}};
  for (const auto& c : cases) {
    auto label = std::make_shared<Label>(cg::Rect(0, 0, 150, 30));
    label->setFont(Font::systemFontOfSize(20));
    label->setText("A title too wide for its label");
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(c.minimum);
    float size = label->fontForDrawing().pointSize();
    if (c.expected > 0) EXPECT_EQ(size, c.expected) << c.minimum;
    else {
      EXPECT_LT(size, 20) << c.minimum;
      EXPECT_LE(sizeWithFont(label->text(), label->fontForDrawing()).width, 150) << c.minimum;
    }
  }
}
