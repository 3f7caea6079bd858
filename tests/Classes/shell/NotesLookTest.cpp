// The notes panel as a reader sees it, read from its picture: the text keeps
// right of the pad's margin rule, a paragraph that starts right to left
// stands at the right, the title reads clearly on its bar, and More shows a
// "more" mark rather than a keyboard.
#include <cmath>

#include "platform/graphics/Image.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"
#include "tests/Classes/shell/ShellFixture.h"

namespace shelltest {
namespace {

bool isInk(cg::RGBA p) { return p.r + p.g + p.b < 240; }
bool isMarginRed(cg::RGBA p) { return p.r > p.b + 25 && p.r > p.g + 15 && p.r > 200; }

// The first and last columns with ink in a band of rows, within [x0, x1).
std::pair<int, int> inkExtent(const cg::Image& image, int x0, int x1, int y0, int y1) {
  int first = -1, last = -1;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (isInk(image.pixelAt(x, y))) {
        if (first < 0 || x < first) first = x;
        last = std::max(last, x);
      }
  return {first, last};
}

double luminance(double r, double g, double b) {
  auto lin = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
  return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
}

TEST_F(ShellTest, TheNotesPanelAsAReaderSeesIt) {
  defaults().setInteger(2, "CurrentlyShowingSurah");
  defaults().setInteger(3, "CurrentlyShowingVerse");
  launch();
  settle();
  root->showNotesForSurah(2, 3, false, true);
  settle();
  ui::TextView& text = *root->txtNotes->textView();
  text.setText("Read again with the commentary.\nبسم الله الرحمن الرحيم");
  text.resignFirstResponder();
  settle();
  std::string path = shotPath("notes-panel.png");
  ASSERT_TRUE(backend().screenshot(path));
  auto image = cg::Image::fromFile(path);
  ASSERT_TRUE(image);

  cg::Rect sheet = root->viewNotesView->convertRectToView(root->viewNotesView->bounds(), nullptr);
  cg::Rect box = text.convertRectToView(text.bounds(), nullptr);
  int below = int(box.maxY()) - 6;  // an empty line of the pad
  int margin = -1;
  for (int x = int(sheet.minX()); x < int(sheet.maxX()) && margin < 0; ++x)
    if (isMarginRed(image->pixelAt(x, below))) margin = x;
  ASSERT_GE(margin, 0) << "the margin rule";

  const int line = 19;  // the pad's ruling
  int top = int(box.minY() + text.contentInset().top);
  auto english = inkExtent(*image, int(sheet.minX()) + 2, int(sheet.maxX()) - 2, top, top + line);
  auto arabic = inkExtent(*image, int(sheet.minX()) + 2, int(sheet.maxX()) - 2, top + line, top + 2 * line);
  ASSERT_GE(english.first, 0);
  ASSERT_GE(arabic.first, 0);
  EXPECT_GT(english.first, margin + 3) << "the text starts right of the margin rule";
  EXPECT_LT(english.first, box.midX()) << "an English paragraph at the left";
  EXPECT_GT(arabic.first, box.midX()) << "an Arabic paragraph at the right";
  EXPECT_GT(arabic.second, box.maxX() - 40);

  // The title against its bar: a contrast a reader can read (4.5 to 1 at least).
  ui::Label& title = *root->lblTopBarLabel;
  cg::Rect t = title.convertRectToView(title.bounds(), nullptr);
  cg::RGBA bar = image->pixelAt(int(t.minX()) + 2, int(t.midY()));
  cg::Color ink = title.textColor();
  double a = luminance(ink.r, ink.g, ink.b), b = luminance(bar.r / 255.0, bar.g / 255.0, bar.b / 255.0);
  EXPECT_GE((std::max(a, b) + 0.05) / (std::min(a, b) + 0.05), 4.5);

  EXPECT_FALSE(root->btnNotesNavMore->imageForState(ui::ControlStateNormal)) << "no keyboard mark";
  EXPECT_TRUE(root->btnNotesNavMore->backgroundImageForState(ui::ControlStateNormal));
}

}  // namespace
}  // namespace shelltest
