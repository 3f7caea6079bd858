// Drawing verses: kashida justification, mark placement, tinted glyphs, glyph
// loading faults and rendered samples.
#include <gtest/gtest.h>

#include <vector>

#include "Classes/glyphs/ArabicFont.h"
#include "GlyphFixture.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace {

constexpr int kBaseline0 = 23;  // fixture baseline row of styles 0 and 5

using glyphfixture::verseOf;

struct Rendering {
  std::shared_ptr<cg::Image> image;
  VerseMetaData meta{0, 0};
  int startX = 0;
};

// Draws the verse the way a verse row does: right edge at the canvas width
// less 10, lines of the canvas width less 70.
Rendering render(ArabicFont& font, const ns::Data& v, int width, bool white = false) {
  const int canvasWidth = width + 70;
  const int height = font.GetHeightOfVerseImage(1, false, &v, 0, int(v.size()) - 1, width, false);
  auto ctx = cg::Context::bitmap(float(canvasWidth), float(std::max(height, 1)));
  if (white) {
    ctx.setFillColor(cg::Color::white());
    ctx.fillRect(cg::Rect(0, 0, float(canvasWidth), float(height)));
  }
  font.DrawVerseImageFromBytes(ctx, 1, false, &v, 0, int(v.size()) - 1, canvasWidth - 10, width);
  return {ctx.makeImage(), *font.currVerseMetaData(), canvasWidth - 10};
}

bool isStroke(cg::RGBA p) { return p.a > 128 && p.b > 150 && p.r < 80 && p.g < 80; }
bool isMarkInk(cg::RGBA p) { return p.a > 128 && p.r > 150 && p.g < 60 && p.b < 60; }
bool isColor(cg::RGBA p, int r, int g, int b) {
  return p.a > 200 && std::abs(p.r - r) <= 2 && std::abs(p.g - g) <= 2 && std::abs(p.b - b) <= 2;
}

struct StrokeRun {
  int from, to;  // [from, to)
};

// Runs of joining-stroke pixels along the stroke row of a line, right to left.
std::vector<StrokeRun> kashidaRuns(const Rendering& r, int line) {
  const int row = r.meta.arrLineStartYOffsets[line] + kBaseline0 - 1;
  std::vector<StrokeRun> runs;
  for (int x = r.image->width() - 1; x >= 0; --x) {
    if (!isStroke(r.image->pixelAt(x, row))) continue;
    int from = x;
    while (from > 0 && isStroke(r.image->pixelAt(from - 1, row))) --from;
    runs.push_back({from, x + 1});
    x = from;
  }
  return runs;
}

// The free space of a line: the width less its natural width, without the
// space that closes it.
int freeSpace(const ArabicFont& font, const Rendering& r, const ns::Data& v, int line, int width) {
  const std::int32_t word = r.meta.arrLineIndexes[line];
  const int end = VerseMetaData::lineStart(word) + VerseMetaData::lineLength(word);
  const int closing = v[end] == 32 ? font.SPACE_CHAR_WIDTH : 0;
  return width - (r.meta.arrLineActualWidth[line] - closing);
}

// The leftmost inked column of a line's letter band.
int leftEdge(const ArabicFont& font, const Rendering& r, int line) {
  const int y = r.meta.arrLineStartYOffsets[line];
  for (int x = 0; x < r.image->width(); ++x)
    for (int row = y; row < y + font.CHAR_HEIGHT; ++row)
      if (r.image->pixelAt(x, row).a > 0) return x;
  return -1;
}

ArabicFont makeFont(unsigned style, bool tajweed = false, float scale = 1, bool override = false) {
  glyphfixture::resetDefaults(tajweed);
  return ArabicFont(style, override, glyphfixture::sharedDatabase(), scale);
}

const ns::Data kBaBaBa = {178, 178, 178};

TEST(ArabicFontDrawing, EveryLineButTheLastGetsAtMostTwoKashidasOfHalfTheFreeSpace) {
  ArabicFont font = makeFont(0);
  const ns::Data v = verseOf(std::vector<ns::Data>(14, kBaBaBa));
  const int width = 200;
  Rendering r = render(font, v, width);
  const int lines = r.meta.lineCount();
  ASSERT_GE(lines, 2);
  for (int i = 0; i < lines; ++i) {
    auto runs = kashidaRuns(r, i);
    if (i == lines - 1) {
      EXPECT_TRUE(runs.empty()) << "the last line stays ragged";
      continue;
    }
    // A line closed by a space always has 2 or more points free.
    const int free = freeSpace(font, r, v, i, width);
    ASSERT_EQ(runs.size(), 2u) << "line " << i << " free " << free;
    for (const StrokeRun& run : runs) EXPECT_EQ(run.to - run.from, free / 2) << "line " << i;
    // The kashida of the first word stands at its last allowed pair.
    const int x = r.startX - font.charWidth(177) - font.charWidth(159);
    EXPECT_EQ(runs[0].to, x) << "line " << i;
  }
}

TEST(ArabicFontDrawing, OneWordWithAnOpportunityGetsOneKashidaAndOthersStayRagged) {
  ArabicFont font = makeFont(0);
  std::vector<ns::Data> words(14, ns::Data{175, 175});
  words[0] = kBaBaBa;
  const ns::Data v = verseOf(words);
  Rendering r = render(font, v, 200);
  ASSERT_GE(r.meta.lineCount(), 3);
  auto first = kashidaRuns(r, 0);
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].to - first[0].from, freeSpace(font, r, v, 0, 200) / 2);
  EXPECT_TRUE(kashidaRuns(r, 1).empty());
}

TEST(ArabicFontDrawing, TwoOrThreePointsOfFreeSpaceGiveOnePointEach) {
  for (auto [style, scale] : {std::pair{0u, 1.0f}, std::pair{5u, 2.0f}}) {
    ArabicFont font = makeFont(style, false, scale);
    const ns::Data v = verseOf(std::vector<ns::Data>(14, kBaBaBa));
    Rendering wide = render(font, v, 200);
    // The first line's letters and inner spaces, without its closing space.
    const int natural = wide.meta.arrLineActualWidth[0] - font.SPACE_CHAR_WIDTH;
    for (int extra : {2, 3}) {
      Rendering r = render(font, v, natural + extra);
      ASSERT_EQ(r.meta.arrLineIndexes[0], wide.meta.arrLineIndexes[0]);
      auto found = kashidaRuns(r, 0);
      ASSERT_EQ(found.size(), 2u) << "scale " << scale << " free " << extra;
      for (const StrokeRun& run : found) EXPECT_EQ(run.to - run.from, 1);
    }
  }
}

TEST(ArabicFontDrawing, ALineFullOnlyByItsClosingSpaceIsJustifiedAndLinesEndEvenly) {
  ArabicFont font = makeFont(0);
  const ns::Data v = verseOf(std::vector<ns::Data>(14, kBaBaBa));
  // At one point less than the first line's recorded width, that line is
  // full only because of the space that closes it.
  const int width = render(font, v, 200).meta.arrLineActualWidth[0] - 1;
  Rendering r = render(font, v, width);
  ASSERT_GT(r.meta.arrLineActualWidth[0], width);
  EXPECT_EQ(kashidaRuns(r, 0).size(), 2u);
  const int lines = r.meta.lineCount();
  ASSERT_GE(lines, 3);
  // Two kashidas of half the free space each leave at most one point over.
  const int edge = r.startX - width + 5;
  for (int i = 0; i + 1 < lines; ++i) {
    EXPECT_GE(leftEdge(font, r, i), edge) << "line " << i;
    EXPECT_LE(leftEdge(font, r, i), edge + 1) << "line " << i;
  }
}

// The small high rounded zero (103) stands over its letter and takes no room
// of its own: measured as drawn, its lines end on the same left edge.
TEST(ArabicFontDrawing, LinesWithTheSmallHighRoundedZeroEndEvenly) {
  ArabicFont font = makeFont(0);
  const ns::Data v = verseOf(std::vector<ns::Data>(14, ns::Data{178, 178, 175, 103}));
  const int width = 200;
  Rendering r = render(font, v, width);
  const int lines = r.meta.lineCount();
  ASSERT_GE(lines, 3);
  const int edge = r.startX - width + 5;
  for (int i = 0; i + 1 < lines; ++i) {
    ASSERT_EQ(kashidaRuns(r, i).size(), 2u) << "line " << i;
    EXPECT_GE(leftEdge(font, r, i), edge) << "line " << i;
    EXPECT_LE(leftEdge(font, r, i), edge + 1) << "line " << i;
  }
}

TEST(ArabicFontDrawing, MarksSitAboveAndBelowTheirLetterInk) {
  ArabicFont font = makeFont(0);
  const ns::Data v = verseOf({{178, 244}, {178, 248}});
  Rendering r = render(font, v, 300);
  const int y = r.meta.arrLineStartYOffsets[0];
  const int top = font.arabicFontCharVerticals[178 - 82];
  const int bottom = font.arabicFontCharVerticals[175 + 178 - 82];
  auto markRows = [&](int fromX, int toX, int& first, int& last) {
    first = last = -1;
    for (int row = 0; row < r.image->height(); ++row)
      for (int x = fromX; x < toX; ++x)
        if (isMarkInk(r.image->pixelAt(x, row))) {
          if (first < 0) first = row;
          last = row;
          break;
        }
  };
  // Twice the mid column of the mark ink within a letter's advance.
  auto markMiddle2 = [&](int fromX, int toX) {
    int left = -1, right = -1;
    for (int x = fromX; x < toX; ++x)
      for (int row = 0; row < r.image->height(); ++row)
        if (isMarkInk(r.image->pixelAt(x, row))) {
          if (left < 0) left = x;
          right = x;
          break;
        }
    return left + right;
  };
  const int a = font.charWidth(178);
  int first, last;
  markRows(r.startX - a, r.startX, first, last);
  EXPECT_EQ(last, y + top - font.TOP_TASHKIL_LETTER_PADDING - 1) << "fatha ends the padding above the ink";
  const int second = r.startX - a - font.SPACE_CHAR_WIDTH;
  markRows(second - a, second, first, last);
  EXPECT_EQ(first, y + bottom + ArabicFont::LETTER_MARK_GAP) << "kasra starts 2 points under the ink";
  // Each mark is centred on its letter's advance (to half a point).
  for (int right : {r.startX, second}) {
    ASSERT_NE(font.charWidth(244), font.charWidth(248)) << "marks of two widths";
    EXPECT_NEAR(markMiddle2(right - a, right), 2 * right - a - 1, 1) << "letter ending at " << right;
  }
}

TEST(ArabicFontDrawing, MarksUnderDeepTailsOfTheLastLineStayInsideTheHeight) {
  // A final ba whose bottom lies near the foot of its image, as deep tails
  // do: a kasra under it reaches below the line.
  glyphfixture::resetDefaults(false);
  sqlite3* db = glyphfixture::create(":memory:");
  sqlite3_exec(db, "UPDATE glyphmetrics SET inkbottom = inkbottom + 30 WHERE glyph = 158", nullptr,
               nullptr, nullptr);
  const ns::Data deep = {178, 178, 178, 248};
  for (auto [style, scale] : {std::pair{0u, 1.0f}, std::pair{4u, 1.0f}, std::pair{9u, 2.0f}}) {
    SCOPED_TRACE(testing::Message() << "style " << style);
    ArabicFont font(style, false, db, scale);
    const int lh = font.lineHeight();
    // The kasra on the last line grows the height; on a line above it does not.
    for (const auto& words : {std::vector<ns::Data>{deep}, std::vector<ns::Data>{kBaBaBa, deep},
                              std::vector<ns::Data>{deep, kBaBaBa}}) {
      const ns::Data v = verseOf(words);
      const int width = 30;  // one word a line
      const int height = font.GetHeightOfVerseImage(1, false, &v, 0, int(v.size()) - 1, width, false);
      auto ctx = cg::Context::bitmap(float(width + 70), float(height + 40));
      font.DrawVerseImageFromBytes(ctx, 1, false, &v, 0, int(v.size()) - 1, width + 60, width);
      auto image = ctx.makeImage();
      int lowest = -1;
      for (int y = 0; y < image->height(); ++y)
        for (int x = 0; x < image->width(); ++x)
          if (image->pixelAt(x, y).a > 0) lowest = y;
      EXPECT_LT(lowest, height) << "ink below the measured height";
      if (words.back() == deep) {
        EXPECT_EQ(lowest, height - 2) << "the height ends with the ink and a row for its smoothed edge";
        EXPECT_GT(height, int(words.size()) * lh);
      } else {
        EXPECT_EQ(height, 2 * lh) << "marks below a line above the last reach into the next line";
      }
    }
  }
  sqlite3_close(db);
}

TEST(ArabicFontDrawing, TheAlefSwallowedByLamAndHamzaIsNotDrawn) {
  // Lam, hamza, alef is drawn as the lam half and the hamza piece; nothing
  // is drawn left of them, whatever mark stands on the hamza.
  ArabicFont font = makeFont(0);
  for (const ns::Data& word : {ns::Data{220, 164, 175}, ns::Data{220, 164, 244, 175}}) {
    Rendering r = render(font, verseOf({word}), 300);
    const int left = r.startX - font.charWidth(238) - font.charWidth(93);
    int ink = 0;
    for (int y = 0; y < r.image->height(); ++y)
      for (int x = 0; x < left; ++x) ink += r.image->pixelAt(x, y).a > 0;
    EXPECT_EQ(ink, 0) << int(word.size()) << " codes";
    EXPECT_GT(leftEdge(font, r, 0), 0) << "the pieces are drawn";
  }
}

TEST(ArabicFontDrawing, ASmallLetterCarryingAMaddaGetsTheJoiningStrokeAndTheMadda) {
  // Lam, fatha, dagger alef with madda, ya-hamza: the dagger alef takes the
  // madda's width, with the joining stroke under it and the madda above it.
  ArabicFont font = makeFont(0);
  Rendering r = render(font, verseOf({{220, 244, 245, 251, 173}}), 300);
  const int to = r.startX - font.charWidth(219), from = to - font.charWidth(251);
  ASSERT_GT(font.charWidth(251), font.charWidth(245));
  const int y = r.meta.arrLineStartYOffsets[0];
  int stroke = 0, madda = 0;
  for (int x = from; x < to; ++x) {
    stroke += isStroke(r.image->pixelAt(x, y + kBaseline0 - 1));
    for (int row = 0; row < y; ++row) madda += isMarkInk(r.image->pixelAt(x, row));
  }
  EXPECT_EQ(stroke, to - from) << "the stroke spans the advance";
  EXPECT_GT(madda, 0);
}

TEST(ArabicFontDrawing, StopSignsInsideAColourRunKeepTheirOwnColour) {
  // A qalqala letter ending the verse colours everything to the end, stop
  // signs excepted: plain, or their own colour when stop signs are coloured.
  struct Case {
    std::uint8_t sign;
    bool colored;
    int r, g, b;
  } cases[] = {{122, true, 200, 0, 0}, {121, false, 200, 0, 0}, {121, true, 40, 128, 0},
               {123, true, 195, 0, 0}};
  for (const Case& c : cases) {
    ArabicFont font = makeFont(0, true);
    font.canColorStopSigns = c.colored;
    Rendering r = render(font, verseOf({{181, 216, c.sign}}), 300, true);
    Rendering unsigned_ = render(font, verseOf({{181, 216}}), 300, true);
    // The sign's pixels are those the verse without it lacks.
    int letterGreen = 0, signGreen = 0, sign = 0;
    for (int row = 0; row < r.image->height(); ++row)
      for (int x = 0; x < r.image->width(); ++x) {
        const auto p = r.image->pixelAt(x, row);
        const bool ofSign = p != unsigned_.image->pixelAt(x, row);
        (ofSign ? signGreen : letterGreen) += isColor(p, 47, 153, 0);
        sign += ofSign && isColor(p, c.r, c.g, c.b);
      }
    EXPECT_GT(letterGreen, 0) << "the qalqala letter, sign " << int(c.sign);
    EXPECT_EQ(signGreen, 0) << "sign " << int(c.sign);
    EXPECT_GT(sign, 0) << "sign " << int(c.sign);
  }
}

TEST(ArabicFontDrawing, AColourRunHandsOverWhereTheNextRunStarts) {
  // ta with fathatan | meem, noon with sukun, ta with fatha. The tanween
  // merges into the meem (idghaam, purple, through the meem); the rule of the
  // noon sakin before ta (ikhfa, red) is found at the meem but its colour
  // begins at the noon.
  ArabicFont font = makeFont(0, true);
  Rendering r = render(font, verseOf({{181, 240}, {222, 224, 252, 181, 244}}), 300, true);
  const int meemTo = r.startX - font.charWidth(181) - font.SPACE_CHAR_WIDTH;
  const int meemFrom = meemTo - font.charWidth(221), noonFrom = meemFrom - font.charWidth(131);
  const int y = r.meta.arrLineStartYOffsets[0];
  auto count = [&](int from, int to, int cr, int cg, int cb) {
    int n = 0;
    for (int row = y; row < y + font.CHAR_HEIGHT; ++row)
      for (int x = from; x < to; ++x) n += isColor(r.image->pixelAt(x, row), cr, cg, cb);
    return n;
  };
  EXPECT_GT(count(meemFrom, meemTo, 185, 85, 200), 0) << "meem in idghaam";
  EXPECT_EQ(count(meemFrom, meemTo, 182, 0, 0), 0) << "meem not yet in ikhfa";
  EXPECT_GT(count(noonFrom, meemFrom, 182, 0, 0), 0) << "noon in ikhfa";
  EXPECT_EQ(count(noonFrom, meemFrom, 185, 85, 200), 0) << "noon no longer in idghaam";
}

TEST(ArabicFontDrawing, TintedGlyphsAreMadeOnceAndUnknownClassesGiveNothing) {
  ArabicFont font = makeFont(0);
  font.initGlyphs();
  const int index = 178 - 82;
  auto tinted = font.getGlyph(index, 6);
  ASSERT_TRUE(tinted);
  EXPECT_EQ(font.getGlyph(index, 6), tinted);
  EXPECT_EQ(font.arabicFontImgsColorQalqala[index], tinted);
  EXPECT_EQ(font.getGlyph(index, 11), nullptr);
  EXPECT_EQ(font.getGlyph(index, 0), font.arabicFontImgs[index]);
  const auto& plain = *font.arabicFontImgs[index];
  ASSERT_EQ(tinted->width(), plain.width());
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      const auto p = tinted->pixelAt(x, y);
      ASSERT_NEAR(p.a, plain.pixelAt(x, y).a, 1);
      if (p.a == 255) {
        ASSERT_TRUE(isColor(p, 47, 153, 0));
      }
    }
  // Stop-sign classes always tint their own sign, whatever index is asked.
  struct {
    unsigned cls;
    int code, r, g, b;
  } signs[] = {{8, 121, 40, 128, 0}, {9, 123, 195, 0, 0}};
  for (auto s : signs) {
    auto sign = font.getGlyph(0, s.cls);
    ASSERT_TRUE(sign);
    EXPECT_EQ(font.getGlyph(s.code - 82, s.cls), sign);
    EXPECT_EQ(sign->width(), font.arabicFontImgs[s.code - 82]->width());
    EXPECT_TRUE(isColor(sign->pixelAt(0, 0), s.r, s.g, s.b));
  }
}

TEST(ArabicFontDrawing, TajweedAndStopSignColoursFollowTheSwitches) {
  const ns::Data v = verseOf({{167, 244, 216, 252, 181, 244}, {178, 121}});
  auto count = [&](ArabicFont& font, int r, int g, int b) {
    Rendering out = render(font, v, 400);
    int n = 0;
    for (int y = 0; y < out.image->height(); ++y)
      for (int x = 0; x < out.image->width(); ++x) n += isColor(out.image->pixelAt(x, y), r, g, b);
    return n;
  };
  ArabicFont on = makeFont(0, true), off = makeFont(0, false), forced = makeFont(0, false, 1, true);
  EXPECT_GT(count(on, 47, 153, 0), 0) << "qalqala green";
  EXPECT_EQ(count(off, 47, 153, 0), 0);
  EXPECT_GT(count(forced, 47, 153, 0), 0);
  EXPECT_GT(count(on, 40, 128, 0), 0) << "stop sign green";
  EXPECT_EQ(count(forced, 40, 128, 0), 0) << "override leaves stop signs to their setting";
}

TEST(ArabicFontDrawing, NoonSakinColourBeginsAtTheNoonAndRunsThroughTheTarget) {
  // ta, noon with sukun | ta with fatha: ikhfa. The ta before the noon, where
  // the rule is found, stays plain; the noon, its sukun and the target ta with
  // its fatha are red.
  ArabicFont font = makeFont(0, true);
  const ns::Data v = verseOf({{181, 224, 252}, {181, 244}});
  Rendering r = render(font, v, 300, true);
  auto ikhfaIn = [&](int from, int to) {
    int n = 0;
    for (int y = 0; y < r.image->height(); ++y)
      for (int x = from; x < to; ++x) n += isColor(r.image->pixelAt(x, y), 182, 0, 0);
    return n;
  };
  const int taTo = r.startX, taFrom = taTo - font.charWidth(180);
  const int noonFrom = taFrom - font.charWidth(88);
  const int targetTo = noonFrom - font.SPACE_CHAR_WIDTH, targetFrom = targetTo - font.charWidth(181);
  EXPECT_EQ(ikhfaIn(taFrom, taTo), 0);
  EXPECT_GT(ikhfaIn(noonFrom, taFrom), 0);
  EXPECT_GT(ikhfaIn(targetFrom, targetTo), 0);
  EXPECT_EQ(ikhfaIn(0, targetFrom), 0) << "nothing after the target's marks";
}

TEST(ArabicFontDrawing, MissingAndUndecodableGlyphsKeepTheirSlotsAndLogOnce) {
  glyphfixture::resetDefaults(false);
  glyphfixture::Options options;
  options.styles = {0};
  options.missingCodes = {100, 150};
  options.undecodableCodes = {200};
  sqlite3* db = glyphfixture::create(":memory:", options);
  ArabicFont font(0, false, db, 1);
  ns::LogCapture capture;
  capture.setEcho(false);
  font.initGlyphs();
  font.initGlyphs();
  EXPECT_EQ(capture.count("   EXCEPTION, CANNOT LOAD GLYPH:"), 3);
  EXPECT_EQ(font.getGlyph(150 - 82, 0), nullptr);
  EXPECT_EQ(font.getGlyph(150 - 82, 1), nullptr);
  ASSERT_TRUE(font.getGlyph(151 - 82, 0));
  auto expected = cg::Image::fromPNGData(glyphfixture::glyphPNG(0, 151));
  EXPECT_EQ(font.getGlyph(151 - 82, 0)->width(), expected->width()) << "later glyphs are not shifted";

  // Drawing around the holes: dad ba hah is drawn 200 (undecodable), 159,
  // 150 (missing). The holes stay empty but advance by their table width,
  // so the ba between them lands where the complete set puts it.
  const ns::Data v = verseOf({{201, 178, 187}, {181, 100}});
  Rendering r = render(font, v, 300);
  EXPECT_EQ(r.meta.lineCount(), 1);
  ArabicFont complete = makeFont(0);
  Rendering full = render(complete, v, 300);
  const int dadTo = r.startX, dadFrom = dadTo - font.charWidth(200);
  const int baFrom = dadFrom - font.charWidth(159);
  const int hahFrom = baFrom - font.charWidth(150);
  auto inkIn = [](const Rendering& img, int from, int to) {
    int n = 0;
    for (int y = 0; y < img.image->height(); ++y)
      for (int x = from; x < to; ++x) n += img.image->pixelAt(x, y).a > 0;
    return n;
  };
  for (auto [from, to] : {std::pair{dadFrom, dadTo}, std::pair{hahFrom, baFrom}}) {
    EXPECT_GT(inkIn(full, from, to), 0);
    EXPECT_EQ(inkIn(r, from, to), 0) << "a hole draws nothing";
  }
  EXPECT_GT(inkIn(r, baFrom, dadFrom), 0);
  for (int y = 0; y < r.image->height(); ++y)
    for (int x = baFrom; x < dadFrom; ++x)
      ASSERT_EQ(r.image->pixelAt(x, y), full.image->pixelAt(x, y)) << "ba at " << x << "," << y;
  sqlite3_close(db);
}

TEST(ArabicFontDrawing, FailedGlyphQueryOrMissingBytesDrawNothing) {
  glyphfixture::resetDefaults(false);
  glyphfixture::Options options;
  options.styles = {};
  sqlite3* empty = glyphfixture::create(":memory:", options);
  sqlite3_exec(empty, "DROP TABLE glyphs", nullptr, nullptr, nullptr);
  ArabicFont font(0, false, empty, 1);
  ns::LogCapture capture;
  capture.setEcho(false);
  const ns::Data v = verseOf({kBaBaBa});
  Rendering r = render(font, v, 300);
  EXPECT_TRUE(capture.contains("Error: failed to prepare statement with message"));
  for (int y = 0; y < r.image->height(); ++y)
    for (int x = 0; x < r.image->width(); ++x) ASSERT_EQ(r.image->pixelAt(x, y).a, 0);
  sqlite3_close(empty);

  ArabicFont fine = makeFont(0);
  auto ctx = cg::Context::bitmap(100, 100);
  fine.DrawVerseImageFromBytes(ctx, 7, false, nullptr, 0, 10, 90, 30);
  ASSERT_TRUE(fine.currVerseMetaData());
  EXPECT_EQ(fine.currVerseMetaData()->verse(), 7);
  EXPECT_EQ(fine.currVerseMetaData()->arrLineIndexes[0], -1);
}

TEST(ArabicFontDrawing, DrawingLeavesTheMeasuredLayout) {
  ArabicFont font = makeFont(4);
  const ns::Data v = verseOf(std::vector<ns::Data>(20, kBaBaBa));
  font.initCurrentVerseMetaData(1, 300);
  font.GetHeightOfVerseImage(1, false, &v, 0, int(v.size()) - 1, 300, true);
  const VerseMetaData measured = *font.currVerseMetaData();
  Rendering r = render(font, v, 300);
  EXPECT_EQ(r.meta.arrLineIndexes, measured.arrLineIndexes);
  EXPECT_EQ(r.meta.arrLineKashidaCount, measured.arrLineKashidaCount);
  EXPECT_EQ(r.meta.arrLineActualWidth, measured.arrLineActualWidth);
}

// Sample verses from the conversion examples, written out for a look.
TEST(ArabicFontDrawing, RendersSampleVersesToPNG) {
  const std::vector<ns::Data> words = {
      {178, 248, 195, 252, 222, 248},
      {115, 220, 220, 250, 244, 226, 248},
      {167, 246, 228, 247, 220, 244, 245, 251, 173, 248, 218, 244},
      {205, 244, 220, 244, 229, 251, 245},
      {115, 220, 252, 167, 251, 189, 248, 192, 244, 179, 248},
      {232, 244, 245, 251, 212, 107, 244, 175, 190, 244, 222, 246},
      {199, 246, 222, 250, 253},
      {195, 244, 222, 248, 232, 205, 254, 175},
      {220, 244, 165, 121},
      {115, 220, 224, 250, 244, 178, 248, 232, 250, 248, 108, 224, 244},
      {181, 248, 220, 252, 216, 244, 165, 229, 248, 255},
      {167, 244, 224, 244, 175, 103, 123},
      {222, 248, 224, 252},
      {178, 244, 205, 252, 190, 248},
      {181, 224, 252},
      {181, 244, 205, 240},
      {178, 244, 216, 252, 192, 244},
  };
  const ns::Data v = verseOf(words);
  for (unsigned style : {0u, 4u}) {
    for (bool tajweed : {false, true}) {
      ArabicFont font = makeFont(style, tajweed);
      Rendering r = render(font, v, style == 0 ? 330 : 520, true);
      const std::string path = glyphfixture::tmpDir() + "/verse-style" + std::to_string(style) +
                               (tajweed ? "-tajweed" : "-plain") + ".png";
      EXPECT_TRUE(r.image->writePNG(path)) << path;
      EXPECT_GE(r.meta.lineCount(), 2);
    }
  }
}

// The Divine Name is never stretched: a word that is only the name offers no
// kashida, and "bi-llahi" takes its kashida after the ba, before the name.
TEST(ArabicFontDrawing, NoKashidaInsideTheDivineName) {
  ArabicFont font = makeFont(0);
  const ns::Data allah = {115, 220, 220, 250, 244, 245, 226, 248};  // ٱللَّهِ
  const ns::Data lillah = {220, 248, 220, 250, 244, 245, 226, 248};  // لِلَّهِ
  const ns::Data billah = {178, 248, 115, 220, 220, 250, 244, 245, 226, 248};  // بِٱللَّهِ
  for (const ns::Data& word : {allah, lillah}) {
    const ns::Data v = verseOf(std::vector<ns::Data>(14, word));
    Rendering r = render(font, v, 200);
    ASSERT_GE(r.meta.lineCount(), 2);
    for (int i = 0; i < r.meta.lineCount(); ++i) {
      EXPECT_EQ(r.meta.arrLineKashidaCount[i], 0) << "line " << i;
      EXPECT_TRUE(kashidaRuns(r, i).empty()) << "line " << i;
    }
  }
  const ns::Data v = verseOf(std::vector<ns::Data>(14, billah));
  Rendering r = render(font, v, 200);
  ASSERT_GE(r.meta.lineCount(), 2);
  auto runs = kashidaRuns(r, 0);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].to, r.startX - font.charWidth(177)) << "after the ba's initial form";
  // Lam, lam and heh without the shadda are another word, which may stretch.
  const ns::Data plain = verseOf(std::vector<ns::Data>(14, ns::Data{203, 220, 220, 226}));
  Rendering p = render(font, plain, 200);
  EXPECT_EQ(kashidaRuns(p, 0).size(), 2u);
}

}  // namespace
