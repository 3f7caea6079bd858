// Bars, buttons, rows, panels and backgrounds. Stretchable images keep their
// stretch row and column free of detail, so they grow without smearing.
#include <cmath>

#include "tools/artwork/Catalog.h"

namespace artwork {

namespace {

using namespace palette;

// Light header bars carry dark titles; dark buttons carry white ones.
const Colour kHeaderTop = rgb(249, 247, 242), kHeaderBottom = rgb(229, 225, 215);

void lightHeader(Canvas& c) { bar(c, kHeaderTop, kHeaderBottom, line.shade(-0.15)); }

// A rounded button filling the canvas.
void roundButton(Canvas& c, const Colour& base, bool pressed, double radius = 6) {
  Box b = c.bounds().inset(0.5, 1);
  roundedRect(c.cr, b, radius);
  buttonFace(c.cr, b, base, pressed);
}

void arrowButton(Canvas& c, const Colour& base, bool pressed, bool left) {
  Box b = c.bounds().inset(0.5, 1);
  arrowCapsule(c.cr, b, left, 6);
  buttonFace(c.cr, b, base, pressed);
}

// A full-width selection row: the accent, lighter at the top.
void selectionRow(Canvas& c) {
  cairo_rectangle(c.cr, 0, 0, c.w, c.h);
  fillVertical(c.cr, c.bounds(), accentSoft, accent);
  cairo_rectangle(c.cr, 0, 0, c.w, 1);
  fill(c.cr, white.withAlpha(0.25));
  cairo_rectangle(c.cr, 0, c.h - 1, c.w, 1);
  fill(c.cr, accentDeep);
}

// A small glyph in a button: a keyboard with a down chevron (hide keyboard).
void keyboardGlyph(cairo_t* cr, double cx, double cy, const Colour& col) {
  Box k{cx - 8, cy - 8, 16, 10};
  roundedRect(cr, k, 1.5);
  stroke(cr, col, 1.2);
  for (int row = 0; row < 2; ++row)
    for (int i = 0; i < 4; ++i) {
      cairo_rectangle(cr, k.x + 2.2 + i * 3.1, k.y + 2.2 + row * 3, 1.6, 1.4);
      fill(cr, col);
    }
  chevron(cr, cx, cy + 6.5, 3, Direction::down, col, 1.3);
}

void dotsGlyph(cairo_t* cr, double cx, double cy, const Colour& col) {
  for (int i = -1; i <= 1; ++i) {
    circle(cr, cx + i * 5.5, cy, 1.7);
    fill(cr, col);
  }
}

// A wood ground with grain: broad bands of a darker brown and fine wavy
// lines over them, the same for every run of the build (a fixed generator).
void woodGround(Canvas& c) {
  cairo_rectangle(c.cr, 0, 0, c.w, c.h);
  fillVertical(c.cr, c.bounds(), wood, woodDark);
  unsigned seed = 7;
  auto next = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return double((seed >> 16) & 0x7fff) / 32767.0;
  };
  auto wave = [&c](double y, double amp, double phase, double freq) {
    return [=](double x) { return y + amp * std::sin(phase + x * freq) + amp * 0.5 * std::sin(phase * 2 + x * freq * 2.7); };
  };
  // Bands.
  for (double y = -10; y < c.h; y += 14 + next() * 22) {
    auto top = wave(y, 3 + next() * 4, next() * 6.28, 0.003 + next() * 0.004);
    double thick = 4 + next() * 9;
    cairo_move_to(c.cr, 0, top(0));
    for (double x = 0; x <= c.w; x += 6) cairo_line_to(c.cr, x, top(x));
    for (double x = c.w; x >= 0; x -= 6) cairo_line_to(c.cr, x, top(x) + thick);
    cairo_close_path(c.cr);
    fill(c.cr, brownTint.withAlpha(0.08 + next() * 0.1));
  }
  // Fine grain.
  for (double y = 0; y < c.h; y += 3 + next() * 6) {
    auto line = wave(y, 1 + next() * 3, next() * 6.28, 0.003 + next() * 0.006);
    cairo_move_to(c.cr, 0, line(0));
    for (double x = 0; x <= c.w; x += 6) cairo_line_to(c.cr, x, line(x));
    stroke(c.cr, brownTint.withAlpha(0.08 + next() * 0.14), 0.5 + next() * 0.8);
  }
  // Light from above, shade below.
  cairo_rectangle(c.cr, 0, 0, c.w, c.h);
  fillVertical(c.cr, c.bounds(), white.withAlpha(0.08), black.withAlpha(0.18));
}

// A bezel of the heads-up displays: dark, translucent, rounded.
void darkBezel(Canvas& c, double radius) {
  roundedRect(c.cr, c.bounds().inset(0.5), radius);
  fillVertical(c.cr, c.bounds(), slateDeep.withAlpha(0.86), black.withAlpha(0.86));
  roundedRect(c.cr, c.bounds().inset(1), radius - 0.5);
  stroke(c.cr, white.withAlpha(0.14), 1);
}

// The posting screen's ground: a header band for the name and the counter,
// a card for the text, and room for the two buttons.
void tweetGround(Canvas& c, bool loggedIn) {
  cairo_rectangle(c.cr, 0, 0, c.w, c.h);
  fillVertical(c.cr, c.bounds(), paper, paperShade);
  cairo_rectangle(c.cr, 0, 0, c.w, 62);
  fillVertical(c.cr, Box{0, 0, c.w, 62}, loggedIn ? accentSoft : slate.shade(0.15), loggedIn ? accent : slate);
  cairo_rectangle(c.cr, 0, 61, c.w, 1);
  fill(c.cr, black.withAlpha(0.25));
  // The picture's frame.
  roundedRect(c.cr, Box{22.5, 9.5, 44, 44}, 6);
  fill(c.cr, white.withAlpha(0.25));
  // The text card behind the text view and the clear button.
  Box card{14.5, 60.5, 291, 99};
  roundedRect(c.cr, card.inset(0, 0), 8);
  fill(c.cr, white);
  roundedRect(c.cr, card, 8);
  stroke(c.cr, line.shade(-0.1), 1);
}

}  // namespace

void addBars(Catalog& out) {
  // Top bars and their buttons.
  add(out, "sura-navbar.png", 319, 44, lightHeader, 159, 0);
  add(out, "ipad-column-header-s9.png", 11, 44, lightHeader, 5, 0);
  add(out, "search-saved-proxy.png", 319, 64, [](Canvas& c) {
    cairo_rectangle(c.cr, 0, 0, c.w, c.h);
    fillVertical(c.cr, c.bounds(), rgb(242, 246, 251), rgb(226, 233, 242));
    cairo_rectangle(c.cr, 0, c.h - 1, c.w, 1);
    fill(c.cr, accentPale.shade(-0.15));
  }, 159, 0);
  add(out, "tabbar-pattern.png", 3, 49, [](Canvas& c) { bar(c, slate.shade(0.1), slateDeep, black.withAlpha(0.5)); }, 1, 0);

  addPair(out, "sura-button.png", "-t", 33, 30, [](Canvas& c, bool t) { roundButton(c, slate, t); }, 16, 0);
  addPair(out, "black-button.png", "-t", 33, 30, [](Canvas& c, bool t) { roundButton(c, slateDeep, t); }, 16, 0);
  addPair(out, "ipad-black-button.png", "-t", 33, 30, [](Canvas& c, bool t) { roundButton(c, slateDeep, t); }, 16, 0);
  addPair(out, "ipad-note-brown-button.png", "-t", 33, 30,
          [](Canvas& c, bool t) { roundButton(c, wood.shade(-0.2), t); }, 16, 0);
  addPair(out, "ipad-button-arrow-left.png", "-t", 52, 30,
          [](Canvas& c, bool t) { arrowButton(c, slate, t, true); }, 19, 0);
  addPair(out, "ipad-button-arrow-right.png", "-t", 52, 30,
          [](Canvas& c, bool t) { arrowButton(c, slate, t, false); }, 19, 0);
  addPair(out, "button-arrow-right.png", "-t", 52, 30,
          [](Canvas& c, bool t) { arrowButton(c, accent, t, false); }, 19, 0);
  // The note pad's More button: "extras" while typing is done, "close keyboard" while typing.
  add(out, "extras-arrow.png", 33, 30, [](Canvas& c) {
    roundButton(c, slateDeep, false);
    dotsGlyph(c.cr, c.w / 2, c.h / 2, white);
  }, 16, 0);
  // The notes panel's More button, drawn at its size: a "more" mark on the
  // brown of its Cancel and Done.
  addPair(out, "ipad-note-more.png", "-t", 36, 30, [](Canvas& c, bool t) {
    roundButton(c, wood.shade(-0.2), t);
    dotsGlyph(c.cr, c.w / 2, c.h / 2, white);
  });
  add(out, "note-close-keyboard.png", 33, 30, [](Canvas& c) {
    roundButton(c, slateDeep, false);
    keyboardGlyph(c.cr, c.w / 2, c.h / 2, white);
  }, 16, 0);

  // Wide buttons of the options panel and the posting screen.
  add(out, "short-button-black.png", 147, 52, [](Canvas& c) { roundButton(c, slateDeep, false, 9); }, 73, 0);
  add(out, "short-button-sand.png", 147, 52, [](Canvas& c) { roundButton(c, sandPale.shade(-0.08), false, 9); }, 73, 0);
  add(out, "short-button-white-.png", 147, 52, [](Canvas& c) { roundButton(c, rgb(246, 246, 246), false, 9); }, 73, 0);
  add(out, "short-button-t.png", 147, 52, [](Canvas& c) { roundButton(c, accent, false, 9); }, 73, 0);

  // Rows and partitions of the lists.
  add(out, "ipad-index-row-t.png", 11, 44, selectionRow, 5, 0);
  add(out, "search-row-t.png", 319, 43, selectionRow, 159, 21);
  add(out, "ipad-index-sections-partition.png", 13, 23, [](Canvas& c) {
    bar(c, rgb(120, 140, 166), rgb(96, 116, 143), rgb(78, 96, 122));
  }, 6, 0);
  addPair(out, "ipad-search-bookmark-partition.png", "-t", 287, 44, [](Canvas& c, bool t) {
    if (t) {
      selectionRow(c);
      return;
    }
    bar(c, rgb(244, 247, 251), rgb(228, 234, 242), accentPale.shade(-0.12));
  }, 143, 0);
  // The juz bar: a faint track, and the touched pill behind the labels.
  add(out, "scroller-blank-s9.png", 44, 207, [](Canvas& c) {
    roundedRect(c.cr, c.bounds().inset(10, 2), 12);
    fill(c.cr, slate.withAlpha(0.05));
  });
  add(out, "scroller-bg-s9.png", 44, 39, [](Canvas& c) {
    roundedRect(c.cr, c.bounds().inset(8, 1), 12);
    fillVertical(c.cr, c.bounds(), rgb(100, 106, 111, 0.22), rgb(100, 106, 111, 0.30));
  }, 0, 19);

  // Panels of the reading screen.
  add(out, "hud-bg.png", 319, 305, [](Canvas& c) { darkBezel(c, 14); }, 159, 152);
  add(out, "hud-bg-light.png", 319, 305, [](Canvas& c) {
    roundedRect(c.cr, c.bounds().inset(0.5), 14);
    fillVertical(c.cr, c.bounds(), paper, paperShade);
    roundedRect(c.cr, c.bounds().inset(0.5), 14);
    stroke(c.cr, line.shade(-0.2), 1);
  }, 159, 152);
  add(out, "fastscrollbezel.png", 217, 147, [](Canvas& c) { darkBezel(c, 14); });
  add(out, "fastscroll-bg.png", 36, 315, [](Canvas& c) {
    roundedRect(c.cr, c.bounds().inset(8, 2), 10);
    fill(c.cr, slate.withAlpha(0.16));
  }, 0, 157);
  add(out, "fastscroll-arrows.png", 36, 315, [](Canvas& c) {
    chevron(c.cr, c.w / 2, 14, 6, Direction::up, slate.withAlpha(0.75), 2);
    chevron(c.cr, c.w / 2, c.h - 14, 6, Direction::down, slate.withAlpha(0.75), 2);
  }, 0, 157);
  // The cover under the tajweed legend bar, per orientation.
  for (auto [name, w] : {std::pair{"note-cover.png", 768}, std::pair{"note-cover-ls.png", 1024}})
    add(out, name, w, 50, [](Canvas& c) {
      cairo_rectangle(c.cr, 0, 0, c.w, c.h);
      fillVertical(c.cr, c.bounds(), paper.withAlpha(0.0), paper);
      cairo_rectangle(c.cr, 0, c.h - 1, c.w, 1);
      fill(c.cr, line);
    });
  add(out, "taj-bg.png", 24, 24, [](Canvas& c) {
    cairo_rectangle(c.cr, 0, 0, c.w, c.h);
    fill(c.cr, sandPale.shade(0.55));
    circle(c.cr, 6, 6, 0.8);
    circle(c.cr, 18, 18, 0.8);
    fill(c.cr, sand.withAlpha(0.22));
  });

  // The note pad.
  add(out, "note-bg.png", 319, 351, [](Canvas& c) {
    cairo_rectangle(c.cr, 0, 0, c.w, c.h);
    fill(c.cr, rgb(253, 250, 238));
    cairo_rectangle(c.cr, 34, 0, 1, c.h);  // the margin rule
    fill(c.cr, red.withAlpha(0.35));
    cairo_rectangle(c.cr, 0, 0, 1, c.h);
    cairo_rectangle(c.cr, c.w - 1, 0, 1, c.h);
    fill(c.cr, sand.withAlpha(0.25));
  }, 159, 175);
  add(out, "note-header.png", 319, 44, [](Canvas& c) {
    bar(c, wood.shade(0.05), woodDark, brownTint);
  }, 159, 0);
  add(out, "note-fade.png", 319, 16, [](Canvas& c) {
    cairo_rectangle(c.cr, 0, 0, c.w, c.h);
    fillVertical(c.cr, c.bounds(), rgb(253, 250, 238), rgb(253, 250, 238, 0));
  }, 159, 0);
  add(out, "ipad-note-wood-bg-pr.png", 768, 281, woodGround);
  add(out, "ipad-note-wood-bg-ls.png", 1024, 218, woodGround);

  // The posting screen.
  add(out, "tweet-bg.png", 320, 460, [](Canvas& c) { tweetGround(c, true); });
  add(out, "tweet-bg-2.png", 320, 460, [](Canvas& c) { tweetGround(c, false); });
}

}  // namespace artwork
