// The marks of the text: verse numbers, juz, hizb and its quarters, the
// prostration verses. Numbers are the buttons' titles, so the art leaves the
// middle (or the lower half, for the juz) quiet and light.
#include <cmath>

#include "tools/artwork/Catalog.h"

namespace artwork {

namespace {

using namespace palette;

const Colour kSearchHit = rgb(250, 226, 140);  // a search hit, as a marker pen would show it

// The eight-pointed star of the hizb: two squares, one turned by 45 degrees.
void star8(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < 16; ++i) {
    double a = -M_PI / 2 + i * M_PI / 8;
    double rr = i % 2 == 0 ? r : r * 0.80;
    cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
  }
  cairo_close_path(cr);
}

void ringedDisc(cairo_t* cr, double cx, double cy, double r, const Colour& fillColour, const Colour& ring) {
  circle(cr, cx, cy, r);
  fill(cr, fillColour);
  circle(cr, cx, cy, r);
  stroke(cr, ring, 1.3);
  circle(cr, cx, cy, r - 2.6);
  stroke(cr, ring.withAlpha(0.55), 0.7);
}

// A quarter disc: the share of the hizb done, filled from twelve o'clock.
void quarterDisc(cairo_t* cr, double cx, double cy, double r, int quarters, const Colour& ring,
                 const Colour& share, const Colour& ground) {
  circle(cr, cx, cy, r);
  fill(cr, ground);
  if (quarters > 0) {
    cairo_move_to(cr, cx, cy);
    cairo_arc(cr, cx, cy, r, -M_PI / 2, -M_PI / 2 + quarters * M_PI / 2);
    cairo_close_path(cr);
    fill(cr, share);
  }
  circle(cr, cx, cy, r);
  stroke(cr, ring, 1.3);
}

void hizbStar(Canvas& c, double r, const Colour& ring, const Colour& ground) {
  star8(c.cr, c.w / 2, c.h / 2, r);
  fill(c.cr, ground);
  star8(c.cr, c.w / 2, c.h / 2, r);
  stroke(c.cr, ring, 1.3);
  circle(c.cr, c.w / 2, c.h / 2, r * 0.56);
  stroke(c.cr, ring.withAlpha(0.5), 0.7);
}

// The juz medallion: the word in the upper half, room for the number below.
void juzMark(Canvas& c, const Colour& ring, const Colour& ground, const Colour& word) {
  Box b = c.bounds().inset(3.5);
  roundedRect(c.cr, b, 9);
  fill(c.cr, ground);
  roundedRect(c.cr, b, 9);
  stroke(c.cr, ring, 1.3);
  cairo_move_to(c.cr, b.x + 7, c.h * 0.53);
  cairo_line_to(c.cr, b.right() - 7, c.h * 0.53);
  stroke(c.cr, ring.withAlpha(0.5), 0.7);
  text(c.cr, "\u062C\u0632\u0621", Box{0, 5, c.w, 15}, TextStyle{"Amiri", 13, true, word, Align::centre});
}

void sajdaMark(Canvas& c, const Colour& ring, const Colour& ground, const Colour& glyph) {
  ringedDisc(c.cr, c.w / 2, c.h / 2, c.w / 2 - 3.5, ground, ring);
  // U+06E9, the place of prostration, as the Quran font draws it.
  text(c.cr, "\u06E9", c.bounds().inset(6), TextStyle{"Amiri Quran", c.w * 0.5, false, glyph, Align::centre});
}

// Verse numbers: the end-of-verse medallion, tinted by the row's state.
void verseBadge(Canvas& c, const Colour& ground, const Colour& ring, bool ribbon) {
  ringedDisc(c.cr, c.w / 2, c.h / 2, c.w / 2 - 5, ground, ring);
  if (ribbon) {  // a bookmark ribbon at the top right
    double x = c.w - 13, y = 2;
    cairo_move_to(c.cr, x, y);
    cairo_line_to(c.cr, x + 8, y);
    cairo_line_to(c.cr, x + 8, y + 12);
    cairo_line_to(c.cr, x + 4, y + 9);
    cairo_line_to(c.cr, x, y + 12);
    cairo_close_path(c.cr);
    fill(c.cr, accent);
  }
}

// One row of the bookmark list's marks: plain art, and the selected-row twin
// in white lines over the selection colour.
void bookmarkMark(Canvas& c, const std::string& kind, bool selected) {
  Colour ring = selected ? white : gold;
  Colour ground = selected ? white.withAlpha(0.18) : rgb(253, 248, 232);
  Colour share = selected ? white.withAlpha(0.7) : gold.withAlpha(0.45);
  double r = c.w / 2 - 9;
  if (kind == "sajda") {
    sajdaMark(c, ring, ground, selected ? white : gold.shade(-0.3));
  } else if (kind == "juz") {
    Box b = c.bounds().inset(9);
    roundedRect(c.cr, b, 6);
    fill(c.cr, ground);
    roundedRect(c.cr, b, 6);
    stroke(c.cr, ring, 1.3);
    text(c.cr, "\u062C\u0632\u0621", b, TextStyle{"Amiri", 12, true, selected ? white : gold.shade(-0.35), Align::centre});
  } else if (kind == "hezb") {
    star8(c.cr, c.w / 2, c.h / 2, r + 2);
    fill(c.cr, ground);
    star8(c.cr, c.w / 2, c.h / 2, r + 2);
    stroke(c.cr, ring, 1.3);
  } else {
    int quarters = kind == "hezb14" ? 1 : kind == "hezb12" ? 2 : 3;
    quarterDisc(c.cr, c.w / 2, c.h / 2, r, quarters, ring, share, ground);
  }
}

}  // namespace

void addMarks(Catalog& out) {
  const Colour ground = rgb(253, 248, 232);
  // The verse column of the reading screen (43 x 43 buttons, black titles).
  add(out, "sura-marks-juz.png", 43, 43, [ground](Canvas& c) { juzMark(c, gold, ground, gold.shade(-0.35)); });
  add(out, "sura-marks-sajda.png", 43, 43, [ground](Canvas& c) { sajdaMark(c, gold, ground, gold.shade(-0.3)); });
  add(out, "sura-marks-hezb.png", 43, 43, [ground](Canvas& c) { hizbStar(c, 19, gold, ground); });
  const std::pair<const char*, int> quarters[] = {{"sura-marks-14.png", 1}, {"sura-marks-12.png", 2}, {"sura-marks-34.png", 3}};
  for (auto [name, q] : quarters)
    add(out, name, 43, 43, [q, ground](Canvas& c) {
      quarterDisc(c.cr, c.w / 2, c.h / 2, 16, q, gold, gold.withAlpha(0.35), ground);
    });
  add(out, "sura-aya.png", 43, 43, [ground](Canvas& c) { verseBadge(c, ground, gold, false); });
  add(out, "sura-aya-bookmark.png", 43, 43, [](Canvas& c) { verseBadge(c, rgb(226, 236, 248), accent, true); });
  add(out, "sura-aya-search.png", 43, 43, [](Canvas& c) { verseBadge(c, kSearchHit, gold.shade(-0.2), false); });
  add(out, "sura-aya-search-marked.png", 43, 43, [](Canvas& c) { verseBadge(c, kSearchHit, accent, true); });

  // The index's quarter marks (44 x 44 buttons): normal art and the selected row's.
  add(out, "ipad-index-marks-hezb.png", 44, 44, [ground](Canvas& c) { hizbStar(c, 17, gold, ground); });
  add(out, "index-marks-hezb-t.png", 44, 44, [](Canvas& c) { hizbStar(c, 17, white, white.withAlpha(0.92)); });
  add(out, "ipad-index-marks-34.png", 44, 44, [](Canvas& c) {
    ringedDisc(c.cr, c.w / 2, c.h / 2, 17, rgb(240, 245, 251), accentPale.shade(-0.2));
  });
  add(out, "index-marks-34-t.png", 44, 44, [](Canvas& c) {
    ringedDisc(c.cr, c.w / 2, c.h / 2, 17, white.withAlpha(0.92), white);
  });

  // The bookmark and search lists: the verse number badge and the marks.
  addPair(out, "ipad-bookmarks-search-aya.png", "-t", 44, 44, [ground](Canvas& c, bool t) {
    if (t) ringedDisc(c.cr, c.w / 2, c.h / 2, 15, white.withAlpha(0.2), white);
    else ringedDisc(c.cr, c.w / 2, c.h / 2, 15, ground, gold);
  });
  for (const char* kind : {"sajda", "juz", "hezb", "hezb14", "hezb12", "hezb34"}) {
    std::string k = kind;
    add(out, "ipad-bookmarks-mark-" + k + ".png", 44, 44, [k](Canvas& c) { bookmarkMark(c, k, false); });
    add(out, "bookmarks-mark-" + k + "-t.png", 44, 44, [k](Canvas& c) { bookmarkMark(c, k, true); });
  }
  // The verse counter of a surah's section in the lists (dark blue titles).
  add(out, "ipad-bookmark-count.png", 35, 43, [](Canvas& c) {
    Box b{3.5, 11.5, 28, 20};
    roundedRect(c.cr, b, 10);
    fill(c.cr, rgb(226, 236, 248));
    roundedRect(c.cr, b, 10);
    stroke(c.cr, accentPale.shade(-0.2), 1);
  });
}

}  // namespace artwork
