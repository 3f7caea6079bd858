// Styled text set as pango sets it: what is measured is drawn whole, lines
// take their words' own heights, right-to-left lines run from the right, long
// runs get their real height, and a document draws only what shows.
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/text/TextConfiguration.h"
#include "platform/text/TextMeasure.h"
#include "tests/toolkit/styled/StyledFrames.h"
#include "toolkit/styled/TKLaidOutText.h"
#include "toolkit/styled/TKStyleSheet.h"
#include "toolkit/styled/TKStyledFrame.h"
#include "toolkit/styled/TKStyledLayout.h"
#include "toolkit/styled/TKStyledNode.h"
#include "toolkit/styled/TKStyledText.h"
#include "toolkit/styled/TKStyledTextLabel.h"
#include "toolkit/styled/TKStyledTextParser.h"

namespace {

constexpr float kPad = 10;

const std::string kArabic = "ٱهۡدِنَا ٱلصِّرَٰطَ ٱلۡمُسۡتَقِيمَ صِرَٰطَ ٱلَّذِينَ أَنۡعَمۡتَ عَلَيۡهِمۡ غَيۡرِ ٱلۡمَغۡضُوبِ عَلَيۡهِمۡ";
const std::string kHebrew = "בראשית ברא אלהים את השמים ואת הארץ והארץ היתה תהו ובהו וחשך על פני תהום";

ui::Font baseFont() { return ui::Font::fontWithName("Helvetica", 15); }

// The sum of the alpha of every pixel: how much ink was put down.
double inkOf(const cg::Image& image) {
  double sum = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) sum += image.pixelAt(x, y).a;
  return sum;
}

// The leftmost and rightmost inked columns, or (-1, -1).
std::pair<int, int> inkColumns(const cg::Image& image) {
  int left = -1, right = -1;
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (image.pixelAt(x, y).a > 0) {
        if (left < 0) left = x;
        right = x;
        break;
      }
  return {left, right};
}

std::shared_ptr<cg::Image> drawDocument(TKStyledText& doc, float width) {
  auto ctx = cg::Context::bitmap(width + 2 * kPad, doc.height() + 2 * kPad);
  ctx.setFillColor(cg::Color::black());
  doc.drawAtPoint(ctx, {kPad, kPad});
  return ctx.makeImage();
}

// Pango's own paragraph of the text, its first `boldBytes` in the bold font.
std::shared_ptr<cg::Image> drawPangoParagraph(const std::string& text, size_t boldBytes, float width, float height) {
  auto ctx = cg::Context::bitmap(width + 2 * kPad, height + 2 * kPad);
  PangoContext* pc = ui::newConfiguredPangoContext();
  PangoLayout* layout = pango_layout_new(pc);
  pango_layout_set_font_description(layout, baseFont().pangoDescription());
  pango_layout_set_width(layout, int(width * PANGO_SCALE));
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_text(layout, text.data(), int(text.size()));
  if (boldBytes) {
    PangoAttrList* attrs = pango_attr_list_new();
    PangoAttribute* bold = pango_attr_font_desc_new(ui::Font::boldSystemFontOfSize(15).pangoDescription());
    bold->start_index = 0;
    bold->end_index = unsigned(boldBytes);
    pango_attr_list_insert(attrs, bold);
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
  }
  cairo_t* cr = ctx.cairo();
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, kPad, kPad);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  g_object_unref(pc);
  return ctx.makeImage();
}

std::shared_ptr<TKStyledText> document(const std::string& markup, float width) {
  auto doc = TKStyledText::textFromXHTML(markup, false, false);
  doc->setFont(baseFont());
  doc->setWidth(width);
  return doc;
}

using styledtest::textFrames;

class TKStyledTextSetting : public ::testing::Test {
 protected:
  void SetUp() override { TKStyleSheet::setGlobalStyleSheet(nullptr); }
};

TEST_F(TKStyledTextSetting, TheToolkitMeasuresAsThePlatformMeasurerDoes) {
  for (const std::string& text : {std::string("w"), std::string("Bismi Allahi "), kArabic, kHebrew})
    EXPECT_FLOAT_EQ(TKLaidOutText::measure(text, baseFont()).width, ui::currentMeasurer().width(text, baseFont()))
        << text;
}

// Every letter measured is drawn: as much ink as pango's own paragraph of the
// same text, and none of it outside the width.
TEST_F(TKStyledTextSetting, WhatIsMeasuredIsDrawnWhole) {
  struct Case {
    const char* name;
    std::string markup;
    size_t boldBytes;
  } cases[] = {
      {"a word of 5000 letters", std::string(5000, 'w'), 0},
      {"a word of 5000 letters after a bold one", "<b>a</b> " + std::string(5000, 'w'), 1},
      {"Arabic", kArabic, 0},
      {"Arabic with a bold first word", "<b>ٱهۡدِنَا</b>" + kArabic.substr(kArabic.find(' ')), std::string("ٱهۡدِنَا").size()},
      {"Hebrew", kHebrew, 0},
      {"Hebrew with a bold first word", "<b>בראשית</b>" + kHebrew.substr(kHebrew.find(' ')), std::string("בראשית").size()},
      {"English with a bold first word", "<b>Bismi</b> Allahi alrrahmani alrraheemi alhamdu lillahi rabbi alAAalameena", 5},
  };
  // Widths where hinted or rounded advances would wrap the text otherwise.
  for (float width : {130.0f, 150.0f, 175.0f, 230.0f}) {
    for (const Case& c : cases) {
      auto doc = document(c.markup, width);
      auto drawn = drawDocument(*doc, width);
      auto pango = drawPangoParagraph(TKStyledTextStripTags(c.markup), c.boldBytes, width, doc->height() + 40);
      EXPECT_NEAR(inkOf(*drawn) / inkOf(*pango), 1.0, 0.03) << c.name << " at width " << width;
      auto [left, right] = inkColumns(*drawn);
      EXPECT_GE(left, kPad - 2) << c.name << " at width " << width;
      EXPECT_LE(right, kPad + width + 2) << c.name << " at width " << width;
    }
  }
}

// A line is as high as its words: an Arabic word stands higher than a Latin X.
TEST_F(TKStyledTextSetting, LinesTakeTheirWordsOwnHeight) {
  auto doc = document("<b>a</b> " + kArabic.substr(0, kArabic.find(' ')), 300);
  auto frames = textFrames(doc->rootFrame());
  ASSERT_EQ(frames.size(), 2u);
  float own = TKLaidOutText::measure(frames[1]->text, baseFont()).height;
  EXPECT_GT(own, TKLaidOutText::measure("X", baseFont()).height);
  EXPECT_GE(frames[1]->height(), own);
  EXPECT_GE(doc->height(), own);
}

// The frames of a right-to-left line run from the right: the bold first word
// at the right end, as pango sets it; a left-to-right line from the left.
TEST_F(TKStyledTextSetting, RightToLeftLinesRunFromTheRight) {
  struct Case {
    std::string markup;
    bool rightToLeft;
  } cases[] = {
      {"<b>ٱهۡدِنَا</b> ٱلصِّرَٰطَ ٱلۡمُسۡتَقِيمَ", true},
      {"<b>בראשית</b> ברא אלהים", true},
      {"<b>Bismi</b> Allahi", false},
      {"<b>12</b> ברא אלהים", true},  // digits are not strong: the Hebrew decides
  };
  for (const Case& c : cases) {
    const float width = 300;
    auto doc = document(c.markup, width);
    auto frames = textFrames(doc->rootFrame());
    ASSERT_EQ(frames.size(), 2u) << c.markup;
    EXPECT_TRUE(frames[0]->font()->isBold());
    if (c.rightToLeft) {
      EXPECT_NEAR(frames[0]->x() + frames[0]->width(), width, 0.01) << c.markup;
      EXPECT_NEAR(frames[1]->x() + frames[1]->width(), frames[0]->x(), 0.01) << c.markup;
    } else {
      EXPECT_FLOAT_EQ(frames[0]->x(), 0);
      EXPECT_FLOAT_EQ(frames[1]->x(), frames[0]->width());
    }
  }
}

// A paragraph too long for one pango layout (which reports one empty line for
// it), or broken markup around it shown as plain text, is as high as its
// lines: as high as its first twentieth is, twenty times over.
TEST_F(TKStyledTextSetting, ALongRunGetsItsRealHeight) {
  std::string text;
  for (int n = 0; text.size() < 300000; ++n) text += "word" + std::to_string(n % 10) + " ";
  const float width = 600;
  const float twentieth = document(text.substr(0, text.size() / 20), width)->height();
  auto doc = document(text, width);
  EXPECT_NEAR(doc->height(), 20 * twentieth, 0.01 * 20 * twentieth);
  EXPECT_EQ(document("<b>broken " + text, width)->height(), doc->height());
  // Cut between lines: each piece starts where the one before ends.
  auto frames = textFrames(doc->rootFrame());
  ASSERT_GT(frames.size(), 50u);
  std::string joined;
  for (auto* f : frames) joined += f->text;
  EXPECT_EQ(joined, text);
  for (size_t i = 1; i < frames.size(); ++i) EXPECT_FLOAT_EQ(frames[i]->y(), frames[i - 1]->y() + frames[i - 1]->height());
  // Paragraphs: pieces end with them, the blank ones included.
  std::string paragraphs;
  for (int n = 0; paragraphs.size() < 20000; ++n) paragraphs += n % 7 ? "Line " + std::to_string(n) + " of text\n" : "\n";
  const float line = TKLaidOutText::measure("Line", baseFont()).height;
  const auto lines = std::count(paragraphs.begin(), paragraphs.end(), '\n') + 1;
  EXPECT_NEAR(document(paragraphs, width)->height(), float(lines) * line, 1);
}

// A chain draws only the frames near the clip.
TEST_F(TKStyledTextSetting, DrawingAChainDrawsOnlyTheFramesThatShow) {
  struct Counting : TKStyledFrame {
    using TKStyledFrame::TKStyledFrame;
    int* draws;
    void drawInRect(cg::Context&, const cg::Rect&) override { ++*draws; }
  };
  int draws = 0;
  std::shared_ptr<TKStyledFrame> first;
  TKStyledFrame* last = nullptr;
  for (int i = 0; i < 1000; ++i) {
    auto f = std::make_shared<Counting>(nullptr);
    f->draws = &draws;
    f->bounds = cg::Rect(0, float(i) * 20, 300, 20);
    if (last) {
      TKStyledFrame* next = f.get();
      last->setNextFrame(std::move(f));
      last = next;
    } else {
      last = f.get();
      first = std::move(f);
    }
  }
  auto ctx = cg::Context::bitmap(300, 200);
  ctx.translate(0, -5000);  // the rows from 5000 to 5200
  TKStyledFrame::drawChain(ctx, first.get());
  EXPECT_GE(draws, 10);
  EXPECT_LE(draws, 13);
}

// A NUL character is left out alike when measured and when drawn.
TEST_F(TKStyledTextSetting, ANulCharacterIsLeftOutOfMeasureAndDrawing) {
  const std::string withNul = std::string("Allahi\0 alrrahmani alrraheemi", 29);
  const std::string without = "Allahi alrrahmani alrraheemi";
  for (bool oneRun : {true, false}) {
    auto make = [&](const std::string& text) {
      auto doc = std::make_shared<TKStyledText>();
      if (!oneRun) doc->addText("Bismi ");
      doc->addText(text);
      doc->setFont(baseFont());
      doc->setWidth(120);
      return doc;
    };
    auto a = make(withNul), b = make(without);
    EXPECT_EQ(a->height(), b->height()) << oneRun;
    EXPECT_EQ(inkOf(*drawDocument(*a, 120)), inkOf(*drawDocument(*b, 120))) << oneRun;
  }
}

// The label with Arabic, Hebrew and mixed lines (bold first words) beside
// pango's own paragraphs of the same texts, for a person to look at.
TEST_F(TKStyledTextSetting, PictureOfRightToLeftLinesBesidePango) {
  const float width = 220;
  const std::string texts[] = {
      "<b>ٱهۡدِنَا</b>" + kArabic.substr(kArabic.find(' ')),
      "<b>בראשית</b>" + kHebrew.substr(kHebrew.find(' ')),
      "<b>Bismi</b> Allahi ٱلرَّحۡمَٰنِ ٱلرَّحِيمِ alhamdu",
      "<b>بِسۡمِ</b> ٱللَّهِ Allahi ٱلرَّحِيمِ",
  };
  auto canvas = cg::Context::bitmap(2 * width + 60, 420);
  canvas.setFillColor(cg::Color::white());
  canvas.fillRect({0, 0, 2 * width + 60, 420});
  float y = 10;
  for (const std::string& markup : texts) {
    TKStyledTextLabel label(cg::Rect(0, 0, width, 10));
    label.setFont(baseFont());
    label.setText(TKStyledText::textFromXHTML(markup, false, false));
    label.layoutSubviews();
    float h = label.text()->height();
    canvas.save();
    canvas.translate(10, y);
    canvas.setFillColor(cg::Color::black());
    label.text()->drawAtPoint(canvas, {0, 0});
    canvas.restore();
    auto pango = drawPangoParagraph(TKStyledTextStripTags(markup), markup.find("</b>") - 3, width, h + 20);
    canvas.drawImage(*pango, cg::Rect(width + 50 - kPad, y - kPad, pango->width(), pango->height()));
    y += h + 30;
  }
  const char* tmp = std::getenv("ZARVEL_TEST_TMP");
  std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/styled";
  std::filesystem::create_directories(dir);
  canvas.makeImage()->writePNG(dir + "/right-to-left-beside-pango.png");
}

}  // namespace
