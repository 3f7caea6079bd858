#pragma once
// Renders the 174 glyph images of each size group from Amiri Quran and
// measures their metrics.
#include <array>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/contentdb/GlyphImage.h"

namespace contentdb {

class GlyphError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kFirstCode = 82;
inline constexpr int kLastCode = 255;
inline constexpr int kGlyphCount = kLastCode - kFirstCode + 1;  // 174
inline constexpr int kGroupCount = 6;
inline constexpr int kStyleCount = 10;

// The constants of one size group.
struct SizeGroup {
  int grp;
  int charHeight;
  int tashkilHeight;
  double em() const { return 0.8 * charHeight; }
  int baseline() const;      // row of the baseline in every letter image
  int letterHeight() const;  // height of every letter-like image
};
const SizeGroup& sizeGroup(int grp);
// The group whose images a style uses: 0 = styles 0 and 5, 1 = 1, 2 = 6,
// 3 = 2 and 7, 4 = 3 and 8, 5 = 4 and 9.
int groupOfStyle(int style);

// Fixed advances of codes 166, 207 and 211 per group.
int fixedAdvance(int grp, int code);

struct GlyphMetric {
  int advance = 1;
  int inkTop = 0;
  int inkBottom = 0;
};

struct RenderedGlyph {
  AlphaImage image;
  GlyphMetric metric;
};

// True for the letter forms of the code page (every joining form of every
// letter, 212 excepted): their bottom follows the kasra rule.
bool isLetterForm(int code);

// Top and bottom per the measuring rules: the ink rows (alpha >= 64); for a
// letter form the bottom is raised to max(baseline, kasraRow - 2) when that
// is higher. kasraRow < 0 means shaping gave no kasra.
GlyphMetric measure(const AlphaImage& img, int advance, bool letterForm, int baseline, int kasraRow);

// Pads a fixed-width code on its left to `fixed`; throws GlyphError when its
// natural advance is wider.
void applyFixedWidth(RenderedGlyph& g, int code, int fixed);

class GlyphRenderer {
 public:
  explicit GlyphRenderer(const std::string& fontPath);
  ~GlyphRenderer();
  GlyphRenderer(const GlyphRenderer&) = delete;
  GlyphRenderer& operator=(const GlyphRenderer&) = delete;

  // The 174 glyphs of a group, indexed by code - 82.
  std::vector<RenderedGlyph> renderGroup(int grp);

  // Where Amiri attaches a kasra to a letter form (image row); -1 when none.
  int kasraRow(int code, int grp);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace contentdb
