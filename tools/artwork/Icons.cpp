// Icons drawn from simple geometry: the tab bar, the More menu, the audio
// states, the options panel, the lists' small controls. Line icons share one
// stroke width; their "-t" and "-w" twins are white, for selected rows.
#include <cmath>

#include "tools/artwork/Catalog.h"

namespace artwork {

namespace {

using namespace palette;

constexpr double kStroke = 1.7;

// --- glyphs, each inside a box --------------------------------------------------

void magnifier(cairo_t* cr, const Box& b, const Colour& c, double width = kStroke) {
  double r = b.w * 0.30;
  double cx = b.x + b.w * 0.42, cy = b.y + b.h * 0.42;
  circle(cr, cx, cy, r);
  stroke(cr, c, width);
  cairo_move_to(cr, cx + r * 0.72, cy + r * 0.72);
  cairo_line_to(cr, b.right() - b.w * 0.12, b.bottom() - b.h * 0.12);
  stroke(cr, c, width * 1.4);
}

void ribbon(cairo_t* cr, const Box& b, const Colour& c, bool filled) {
  double x0 = b.x + b.w * 0.26, x1 = b.right() - b.w * 0.26;
  cairo_move_to(cr, x0, b.y + b.h * 0.1);
  cairo_line_to(cr, x1, b.y + b.h * 0.1);
  cairo_line_to(cr, x1, b.bottom() - b.h * 0.08);
  cairo_line_to(cr, (x0 + x1) / 2, b.bottom() - b.h * 0.3);
  cairo_line_to(cr, x0, b.bottom() - b.h * 0.08);
  cairo_close_path(cr);
  if (filled) {
    cairo_path_t* p = cairo_copy_path(cr);
    fill(cr, c);
    cairo_append_path(cr, p);
    cairo_path_destroy(p);
  }
  stroke(cr, c, kStroke);
}

void openBook(cairo_t* cr, const Box& b, const Colour& c) {
  double mid = b.cx(), top = b.y + b.h * 0.2, bottom = b.bottom() - b.h * 0.16;
  for (int side : {-1, 1}) {
    double outer = mid + side * b.w * 0.44;
    cairo_move_to(cr, mid, top + 2);
    cairo_curve_to(cr, mid + side * b.w * 0.16, top - 1.5, outer - side * b.w * 0.1, top - 1.5, outer, top);
    cairo_line_to(cr, outer, bottom - 2);
    cairo_curve_to(cr, outer - side * b.w * 0.1, bottom - 3.5, mid + side * b.w * 0.16, bottom - 3.5, mid, bottom);
    stroke(cr, c, kStroke);
  }
  cairo_move_to(cr, mid, top + 2);
  cairo_line_to(cr, mid, bottom);
  stroke(cr, c, kStroke * 0.8);
}

void listLines(cairo_t* cr, const Box& b, const Colour& c) {
  for (int i = 0; i < 3; ++i) {
    double y = b.y + b.h * (0.25 + i * 0.25);
    circle(cr, b.x + b.w * 0.16, y, 1.6);
    fill(cr, c);
    cairo_move_to(cr, b.x + b.w * 0.32, y);
    cairo_line_to(cr, b.right() - b.w * 0.1, y);
    stroke(cr, c, kStroke);
  }
}

void gear(cairo_t* cr, const Box& b, const Colour& c) {
  double cx = b.cx(), cy = b.cy(), r = b.w * 0.32;
  cairo_new_sub_path(cr);
  for (int i = 0; i < 32; ++i) {
    double a = i * M_PI / 16;
    double rr = (i / 2) % 2 == 0 ? r * 1.22 : r;
    cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
  }
  cairo_close_path(cr);
  stroke(cr, c, kStroke * 0.9);
  circle(cr, cx, cy, r * 0.42);
  stroke(cr, c, kStroke);
}

void infoCircle(cairo_t* cr, const Box& b, const Colour& c) {
  circle(cr, b.cx(), b.cy(), b.w * 0.4);
  stroke(cr, c, kStroke);
  circle(cr, b.cx(), b.cy() - b.h * 0.18, 1.5);
  fill(cr, c);
  cairo_move_to(cr, b.cx(), b.cy() - b.h * 0.04);
  cairo_line_to(cr, b.cx(), b.cy() + b.h * 0.22);
  stroke(cr, c, kStroke * 1.2);
}

void octagon(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < 8; ++i) {
    double a = M_PI / 8 + i * M_PI / 4;
    cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
  }
  cairo_close_path(cr);
}

void stopSign(cairo_t* cr, const Box& b, const Colour& c) {
  octagon(cr, b.cx(), b.cy(), b.w * 0.42);
  stroke(cr, c, kStroke);
  cairo_move_to(cr, b.x + b.w * 0.3, b.cy());
  cairo_line_to(cr, b.right() - b.w * 0.3, b.cy());
  stroke(cr, c, kStroke * 1.3);
}

void swatches(cairo_t* cr, const Box& b, bool white) {
  const Colour colours[] = {rgb(204, 68, 58), rgb(58, 140, 84), rgb(62, 110, 190), rgb(214, 150, 40)};
  for (int i = 0; i < 4; ++i) {
    double cx = b.x + b.w * (i % 2 ? 0.68 : 0.32), cy = b.y + b.h * (i / 2 ? 0.68 : 0.32);
    circle(cr, cx, cy, b.w * 0.15);
    fill(cr, white ? palette::white.withAlpha(i % 2 ? 0.7 : 1) : colours[i]);
  }
}

// Prayer beads: a loop of beads and a tassel, for the supplications.
void prayerBeads(cairo_t* cr, const Box& b, const Colour& c) {
  double cx = b.cx(), cy = b.y + b.h * 0.4, r = b.w * 0.3;
  for (int i = 0; i < 11; ++i) {
    double a = M_PI / 2 + (i + 1) * 2 * M_PI / 12;
    circle(cr, cx + r * std::cos(a), cy + r * std::sin(a), b.w * 0.055);
    fill(cr, c);
  }
  cairo_move_to(cr, cx, cy + r);
  cairo_line_to(cr, cx, b.bottom() - b.h * 0.12);
  stroke(cr, c, kStroke * 0.8);
  circle(cr, cx, b.bottom() - b.h * 0.1, b.w * 0.07);
  fill(cr, c);
}

void bulb(cairo_t* cr, const Box& b, const Colour& c) {
  double cx = b.cx(), cy = b.y + b.h * 0.4, r = b.w * 0.27;
  cairo_arc(cr, cx, cy, r, M_PI * 0.78, M_PI * 2.22);
  cairo_line_to(cr, cx + r * 0.45, b.y + b.h * 0.74);
  cairo_line_to(cr, cx - r * 0.45, b.y + b.h * 0.74);
  cairo_close_path(cr);
  stroke(cr, c, kStroke);
  cairo_move_to(cr, cx - r * 0.4, b.y + b.h * 0.86);
  cairo_line_to(cr, cx + r * 0.4, b.y + b.h * 0.86);
  stroke(cr, c, kStroke);
}

void noteSheet(cairo_t* cr, const Box& b, const Colour& c, const Colour& ground) {
  Box s{b.x + b.w * 0.2, b.y + b.h * 0.12, b.w * 0.6, b.h * 0.76};
  roundedRect(cr, s, 2);
  fill(cr, ground);
  roundedRect(cr, s, 2);
  stroke(cr, c, kStroke * 0.9);
  for (int i = 0; i < 3; ++i) {
    double y = s.y + s.h * (0.3 + i * 0.22);
    cairo_move_to(cr, s.x + s.w * 0.2, y);
    cairo_line_to(cr, s.right() - s.w * (i == 2 ? 0.4 : 0.2), y);
    stroke(cr, c, kStroke * 0.7);
  }
}

void pencil(cairo_t* cr, const Box& b, const Colour& c) {
  cairo_save(cr);
  cairo_translate(cr, b.cx(), b.cy());
  cairo_rotate(cr, -M_PI / 4);
  double l = b.w * 0.42, t = b.w * 0.1;
  cairo_move_to(cr, -l, 0);
  cairo_line_to(cr, -l + t * 1.8, -t);
  cairo_line_to(cr, l, -t);
  cairo_line_to(cr, l, t);
  cairo_line_to(cr, -l + t * 1.8, t);
  cairo_close_path(cr);
  cairo_restore(cr);
  stroke(cr, c, kStroke * 0.8);
}

void starShape(cairo_t* cr, double cx, double cy, double r, int points = 5, double inner = 0.45) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    double a = -M_PI / 2 + i * M_PI / points;
    double rr = i % 2 == 0 ? r : r * inner;
    cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
  }
  cairo_close_path(cr);
}

// Two speech bubbles, the front one cut out of the back one.
void speechBubbles(cairo_t* cr, const Box& b, const Colour& c) {
  auto bubble = [cr](const Box& r, bool tailLeft) {
    roundedRect(cr, r, r.h * 0.3);
    double tx = tailLeft ? r.x + r.w * 0.25 : r.right() - r.w * 0.25;
    cairo_move_to(cr, tx - 2, r.bottom() - 0.5);
    cairo_line_to(cr, tx + (tailLeft ? -3 : 3), r.bottom() + r.h * 0.35);
    cairo_line_to(cr, tx + 2.5, r.bottom() - 0.5);
  };
  Box back{b.x + b.w * 0.06, b.y + b.h * 0.12, b.w * 0.6, b.h * 0.42};
  Box front{b.x + b.w * 0.34, b.y + b.h * 0.4, b.w * 0.6, b.h * 0.4};
  cairo_push_group(cr);  // the cut-out clears the back bubble only, not the ground
  bubble(back, true);
  stroke(cr, c, kStroke);
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  roundedRect(cr, front.inset(-kStroke), front.h * 0.3 + kStroke);
  cairo_fill(cr);
  cairo_restore(cr);
  bubble(front, false);
  stroke(cr, c, kStroke);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
}

void playTriangle(cairo_t* cr, double cx, double cy, double r, const Colour& c) {
  cairo_move_to(cr, cx - r * 0.45, cy - r * 0.62);
  cairo_line_to(cr, cx + r * 0.68, cy);
  cairo_line_to(cr, cx - r * 0.45, cy + r * 0.62);
  cairo_close_path(cr);
  fill(cr, c);
}

void downloadArrow(cairo_t* cr, double cx, double cy, double r, const Colour& c, double width) {
  cairo_move_to(cr, cx, cy - r * 0.6);
  cairo_line_to(cr, cx, cy + r * 0.35);
  stroke(cr, c, width);
  chevron(cr, cx, cy + r * 0.22, r * 0.38, Direction::down, c, width);
  cairo_move_to(cr, cx - r * 0.55, cy + r * 0.68);
  cairo_line_to(cr, cx + r * 0.55, cy + r * 0.68);
  stroke(cr, c, width);
}

void smallBadge(cairo_t* cr, double cx, double cy, double r, const Colour& ground, const Colour& mark, bool plus) {
  circle(cr, cx, cy, r);
  fill(cr, ground);
  if (plus) {
    cairo_move_to(cr, cx - r * 0.5, cy);
    cairo_line_to(cr, cx + r * 0.5, cy);
    cairo_move_to(cr, cx, cy - r * 0.5);
    cairo_line_to(cr, cx, cy + r * 0.5);
    stroke(cr, mark, 1.3);
  } else {
    circle(cr, cx, cy, r * 0.35);
    fill(cr, mark);
  }
}

// --- families ----------------------------------------------------------------------

enum class Audio { dead, ready, multi, readyPlus };

// The play button of the reading screen and the index's status: a play disc
// for audio of the current reciter, an outline for another reciter's, a
// download arrow for none; a badge when other reciters have it too.
void audioState(Canvas& c, Audio state, bool white) {
  double cx = c.w / 2, cy = c.h / 2, r = std::min(c.w, c.h) / 2 - 4;
  Colour main = white ? palette::white : state == Audio::dead ? inkSoft : accent;
  switch (state) {
    case Audio::ready:
    case Audio::readyPlus:
      circle(c.cr, cx, cy, r);
      fill(c.cr, main);
      playTriangle(c.cr, cx, cy, r * 0.72, white ? accent : palette::white);
      break;
    case Audio::multi:
      circle(c.cr, cx, cy, r - 0.8);
      stroke(c.cr, main, 1.6);
      playTriangle(c.cr, cx, cy, r * 0.72, main);
      break;
    case Audio::dead:
      circle(c.cr, cx, cy, r - 0.8);
      stroke(c.cr, main.withAlpha(0.7), 1.4);
      downloadArrow(c.cr, cx, cy, r * 0.75, main, 1.6);
      break;
  }
  if (state == Audio::readyPlus || state == Audio::multi)
    smallBadge(c.cr, cx + r * 0.78, cy - r * 0.78, r * 0.36, white ? palette::white : green,
               white ? accent : palette::white, true);
}

// A tab of the bottom bar: the icon over the dark bar, lit when selected.
void tab(Canvas& c, bool selected, void (*icon)(cairo_t*, const Box&, const Colour&)) {
  if (selected) {
    roundedRect(c.cr, c.bounds().inset(6, 3), 8);
    fillVertical(c.cr, c.bounds(), white.withAlpha(0.16), white.withAlpha(0.06));
  }
  Box glyph{c.w / 2 - 12, 7, 24, 24};
  icon(c.cr, glyph, selected ? white : rgb(178, 188, 202));
}

void moreIcon(Canvas& c, bool white, void (*icon)(cairo_t*, const Box&, const Colour&)) {
  icon(c.cr, c.bounds().inset(2), white ? palette::white : slate);
}

void hudButton(Canvas& c, bool on, bool note) {
  Box b = c.bounds().inset(0.5, 1);
  roundedRect(c.cr, b, 9);
  buttonFace(c.cr, b, on ? accent : slate, false);
  Box glyph{14, c.h / 2 - 12, 24, 24};
  if (note) noteSheet(c.cr, glyph, on ? gold.shade(0.4) : palette::white, on ? gold.shade(0.4).withAlpha(0.35) : palette::white.withAlpha(0.1));
  else ribbon(c.cr, glyph, on ? gold.shade(0.4) : palette::white, on);
}

void ornament(Canvas& c, bool previous, bool pressed) {
  double cx = c.w / 2, cy = c.h / 2, r = c.w / 2 - 4;
  circle(c.cr, cx, cy, r);
  if (pressed) fillVertical(c.cr, c.bounds(), accentSoft, accent);
  else fillVertical(c.cr, c.bounds(), rgb(253, 249, 238), rgb(240, 232, 212));
  circle(c.cr, cx, cy, r);
  stroke(c.cr, pressed ? accentDeep : gold, 1.3);
  circle(c.cr, cx, cy, r - 3);
  stroke(c.cr, (pressed ? palette::white : gold).withAlpha(0.45), 0.7);
  chevron(c.cr, cx + (previous ? -1 : 1), cy, r * 0.42, previous ? Direction::left : Direction::right,
          pressed ? palette::white : gold.shade(-0.35), 2.2);
}

void seekBadge(Canvas& c, bool rewind) {
  roundedRect(c.cr, c.bounds().inset(0.5), 10);
  fill(c.cr, slateDeep.withAlpha(0.85));
  Direction d = rewind ? Direction::left : Direction::right;
  triangle(c.cr, Box{c.w / 2 - 15, c.h / 2 - 8, 14, 16}, d, white);
  triangle(c.cr, Box{c.w / 2 + 1, c.h / 2 - 8, 14, 16}, d, white);
}

void reciterIcon(Canvas& c, bool ready, bool updated) {
  double cx = c.w / 2, cy = c.h / 2, r = c.w / 2 - 3;
  if (ready) {
    circle(c.cr, cx, cy, r);
    fill(c.cr, green);
    cairo_move_to(c.cr, cx - r * 0.45, cy + r * 0.02);
    cairo_line_to(c.cr, cx - r * 0.1, cy + r * 0.36);
    cairo_line_to(c.cr, cx + r * 0.48, cy - r * 0.34);
    stroke(c.cr, white, 2.2);
  } else {
    circle(c.cr, cx, cy, r - 0.8);
    stroke(c.cr, rgb(133, 133, 133), 1.5);
    downloadArrow(c.cr, cx, cy, r * 0.75, rgb(133, 133, 133), 1.7);
  }
  if (updated) smallBadge(c.cr, cx + r * 0.75, cy - r * 0.75, r * 0.34, accent, white, false);
}

void lineIconPair(Catalog& out, const std::string& name, const std::string& suffix, int w, int h,
                  void (*icon)(cairo_t*, const Box&, const Colour&), const Colour& colour) {
  addPair(out, name, suffix, w, h, [icon, colour](Canvas& c, bool t) {
    icon(c.cr, c.bounds().inset(3), t ? white : colour);
  });
}

}  // namespace

void addIcons(Catalog& out) {
  // The bottom tab bar of the tablet root (dark bar; titles below the icons).
  const std::pair<const char*, void (*)(cairo_t*, const Box&, const Colour&)> tabs[] = {
      {"ipad-tabbar-more.png", listLines},
      {"ipad-tabbar-search.png", [](cairo_t* cr, const Box& b, const Colour& c) { magnifier(cr, b, c); }},
      {"ipad-tabbar-bookmarks.png", [](cairo_t* cr, const Box& b, const Colour& c) { ribbon(cr, b, c, false); }},
      {"ipad-tabbar-quran.png", openBook},
  };
  for (auto [name, icon] : tabs)
    addPair(out, name, "-t", 80, 49, [icon](Canvas& c, bool t) { tab(c, t, icon); });
  // The zoom button of the floating reading view, on the same bar: arrows to
  // the corners to widen it, arrows to the middle to narrow it.
  for (bool expand : {true, false})
    add(out, expand ? "ipad-zoom.png" : "ipad-zoom-out.png", 44, 44, [expand](Canvas& c) {
      const Colour col = rgb(200, 208, 220);
      double cx = c.w / 2, cy = c.h / 2;
      for (int side : {1, -1}) {  // top right, bottom left
        double cornerX = cx + side * 10, cornerY = cy - side * 10, innerX = cx + side * 3, innerY = cy - side * 3;
        double tipX = expand ? cornerX : innerX, tipY = expand ? cornerY : innerY;
        double back = expand ? -side * 6 : side * 6;  // the head's arms run back from the tip
        cairo_move_to(c.cr, cornerX, cornerY);
        cairo_line_to(c.cr, innerX, innerY);
        cairo_move_to(c.cr, tipX + back, tipY);
        cairo_line_to(c.cr, tipX, tipY);
        cairo_line_to(c.cr, tipX, tipY - back);
        stroke(c.cr, col, 2);
      }
    });

  // The More menu (rows of 44 points): dark icons, white twins for the selected row.
  const std::tuple<const char*, const char*, void (*)(cairo_t*, const Box&, const Colour&)> menu[] = {
      {"more-icon-tajweed.png", "-w", [](cairo_t* cr, const Box& b, const Colour& c) { swatches(cr, b, c.r > 0.99); }},
      {"more-icon-stops.png", "-w", stopSign},
      {"more-icon-sajdas.png", "-t", [](cairo_t* cr, const Box& b, const Colour& c) {
         text(cr, "\u06E9", b, TextStyle{"Amiri Quran", b.h * 0.9, false, c, Align::centre});
       }},
      {"more-icon-supplications.png", "-w", prayerBeads},
      {"more-icon-settings.png", "-w", gear},
      {"more-tips.png", "-w", bulb},
      {"more-icon-about.png", "-w", infoCircle},
  };
  for (auto [name, suffix, icon] : menu)
    addPair(out, name, suffix, 29, 29, [icon](Canvas& c, bool w) { moreIcon(c, w, icon); });

  // Audio: the reading screen's play button and the index's per-surah status.
  const std::pair<const char*, Audio> states[] = {{"dead", Audio::dead}, {"ready", Audio::ready},
                                                  {"multi", Audio::multi}, {"ready-plus", Audio::readyPlus}};
  for (auto [suffix, state] : states) {
    std::string s = suffix;
    add(out, "ipad-sound-" + s + ".png", 44, 44, [state](Canvas& c) { audioState(c, state, false); });
    addPair(out, "ipad-sound-index-" + s + ".png", "-t", 32, 32,
            [state](Canvas& c, bool t) { audioState(c, state, t); });
  }
  add(out, "ipad-sound-on.png", 44, 44, [](Canvas& c) {  // playing: the pause bars
    double cx = c.w / 2, cy = c.h / 2, r = c.w / 2 - 4;
    circle(c.cr, cx, cy, r);
    fill(c.cr, accent);
    roundedRect(c.cr, Box{cx - 6, cy - 7, 4, 14}, 1);
    roundedRect(c.cr, Box{cx + 2, cy - 7, 4, 14}, 1);
    fill(c.cr, white);
  });
  add(out, "Reciter-ready.png", 32, 32, [](Canvas& c) { reciterIcon(c, true, false); });
  add(out, "Reciter-icon-updated.png", 32, 32, [](Canvas& c) { reciterIcon(c, true, true); });
  add(out, "Reciter-download.png", 32, 32, [](Canvas& c) { reciterIcon(c, false, false); });
  add(out, "Reciter-download-updated.png", 32, 32, [](Canvas& c) { reciterIcon(c, false, true); });
  // The recitation bar: rewind, pause (its selected state shows play) and
  // fast-forward on a dark round face, and the repeat bubbles' pill.
  enum class Transport { rewind, pause, play, forward };
  auto transport = [](Canvas& c, Transport kind, bool pressed) {
    double cx = c.w / 2, cy = c.h / 2, r = c.h / 2 - 3;
    circle(c.cr, cx, cy, r);
    fill(c.cr, pressed ? slateDeep : slate);
    double s = r * 0.5;
    switch (kind) {
      case Transport::pause:
        roundedRect(c.cr, Box{cx - s * 0.75, cy - s, s * 0.5, 2 * s}, 1);
        roundedRect(c.cr, Box{cx + s * 0.25, cy - s, s * 0.5, 2 * s}, 1);
        fill(c.cr, white);
        break;
      case Transport::play: triangle(c.cr, Box{cx - s * 0.6, cy - s, 2 * s, 2 * s}, Direction::right, white); break;
      case Transport::rewind:
      case Transport::forward: {
        Direction d = kind == Transport::rewind ? Direction::left : Direction::right;
        triangle(c.cr, Box{cx - s * 1.05, cy - s * 0.8, s * 1.1, s * 1.6}, d, white);
        triangle(c.cr, Box{cx - s * 0.05, cy - s * 0.8, s * 1.1, s * 1.6}, d, white);
        break;
      }
    }
  };
  const std::pair<const char*, Transport> buttons[] = {{"audio-rr.png", Transport::rewind},
                                                       {"audio-pause.png", Transport::pause},
                                                       {"audio-play.png", Transport::play},
                                                       {"audio-ff.png", Transport::forward}};
  for (auto [name, kind] : buttons)
    addPair(out, name, "-t", 44, 44, [transport, kind](Canvas& c, bool t) { transport(c, kind, t); });
  addPair(out, "sura-bubble.png", "-t", 41, 31, [](Canvas& c, bool t) {
    roundedRect(c.cr, Box{0.5, 0.5, c.w - 1, c.h - 1}, (c.h - 1) / 2);
    fill(c.cr, t ? sandPale.shade(-0.12) : sandPale);
    roundedRect(c.cr, Box{0.5, 0.5, c.w - 1, c.h - 1}, (c.h - 1) / 2);
    stroke(c.cr, sand, 1);
  }, 20, 0);
  add(out, "sura-hud-ff.png", 64, 40, [](Canvas& c) { seekBadge(c, false); });
  add(out, "sura-hud-rr.png", 64, 40, [](Canvas& c) { seekBadge(c, true); });

  // The reading screen's top bar and options panel.
  addPair(out, "ipad-sura-previous.png", "-t", 44, 44, [](Canvas& c, bool t) { ornament(c, true, t); });
  addPair(out, "ipad-sura-next.png", "-t", 44, 44, [](Canvas& c, bool t) { ornament(c, false, t); });
  add(out, "sura-navbar-arrow.png", 10, 9, [](Canvas& c) { triangle(c.cr, Box{1, 2, 8, 5}, Direction::down, ink); });
  add(out, "hud-arrow.png", 10, 9, [](Canvas& c) { triangle(c.cr, Box{1, 2, 8, 5}, Direction::down, white); });
  add(out, "hud-bookmark.png", 147, 52, [](Canvas& c) { hudButton(c, false, false); }, 73, 0);
  add(out, "hud-bookmark-on.png", 147, 52, [](Canvas& c) { hudButton(c, true, false); }, 73, 0);
  add(out, "hud-note.png", 147, 52, [](Canvas& c) { hudButton(c, false, true); }, 73, 0);
  add(out, "hud-note-on.png", 147, 52, [](Canvas& c) { hudButton(c, true, true); }, 73, 0);
  add(out, "ipad-note-little.png", 18, 18, [](Canvas& c) {
    noteSheet(c.cr, c.bounds(), sand, rgb(250, 240, 200));
  });
  add(out, "ipad-translation-note-icon.png", 16, 16, [](Canvas& c) {
    pencil(c.cr, c.bounds().inset(0.5), rgb(121, 134, 165));
  });

  // The tajweed guide's listen buttons (titles sand, blue or green by state).
  const std::tuple<const char*, Colour, Colour> listen[] = {
      {"taj-example.png", sandPale, sand},
      {"taj-example-on.png", rgb(222, 238, 214), green},
      {"taj-example-blue.png", rgb(232, 240, 249), accentSoft},
      {"taj-example-blue-t.png", rgb(205, 221, 240), accentSoft.shade(-0.2)},
  };
  for (auto [name, ground, edge] : listen)
    add(out, name, 88, 30, [ground, edge](Canvas& c) {
      roundedRect(c.cr, c.bounds().inset(0.5, 1), 14);
      fill(c.cr, ground);
      roundedRect(c.cr, c.bounds().inset(1, 1.5), 13.5);
      stroke(c.cr, edge.withAlpha(0.8), 1);
    });

  // The lists: bookmark groups, notes, batch-edit circles, search history.
  const std::pair<const char*, void (*)(cairo_t*, const Box&, const Colour&)> groups[] = {
      {"bk-bmg-all.png", [](cairo_t* cr, const Box& b, const Colour& c) { ribbon(cr, b, c, false); }},
      {"bk-bmg-reading.png", openBook},
      {"bk-bmg-memo.png", pencil},
      {"bk-bmg-int.png", [](cairo_t* cr, const Box& b, const Colour& c) {
         starShape(cr, b.cx(), b.cy() + 1, b.w * 0.42);
         stroke(cr, c, kStroke);
       }},
      {"bk-bmg-disc.png", speechBubbles},
  };
  for (auto [name, icon] : groups) lineIconPair(out, name, "-t", 30, 30, icon, slate);
  addPair(out, "ipad-bookmark-note.png", "-t", 44, 44, [](Canvas& c, bool t) {
    noteSheet(c.cr, c.bounds().inset(9), t ? white : sand, t ? white.withAlpha(0.2) : rgb(250, 240, 200));
  });
  add(out, "ipad-bookmarks-arrow.png", 44, 44, [](Canvas& c) {
    triangle(c.cr, Box{c.w / 2 - 5, c.h / 2 - 3, 10, 6}, Direction::down, rgb(75, 109, 148));
  });
  for (auto [name, state] : {std::pair{"todo-edit.png", 0}, std::pair{"todo-edit-on.png", 1}, std::pair{"todo-edit-t.png", 2}})
    add(out, name, 43, 44, [state](Canvas& c) {
      double cx = c.w / 2, cy = c.h / 2, r = 11;
      circle(c.cr, cx, cy, r);
      fill(c.cr, state == 1 ? accent : state == 2 ? line : white);
      circle(c.cr, cx, cy, r);
      stroke(c.cr, state == 1 ? accentDeep : inkSoft.withAlpha(0.6), 1.2);
      if (state == 1) {
        cairo_move_to(c.cr, cx - 5, cy);
        cairo_line_to(c.cr, cx - 1.5, cy + 4);
        cairo_line_to(c.cr, cx + 5, cy - 4);
        stroke(c.cr, white, 2);
      }
    });
  for (auto [name, state] : {std::pair{"search-eye.png", 0}, std::pair{"search-eye-on.png", 1}, std::pair{"search-eye-t.png", 2}})
    add(out, name, 50, 44, [state](Canvas& c) {
      Colour col = state == 1 ? purple : state == 2 ? white : inkSoft.withAlpha(0.7);
      double cx = c.w / 2, cy = c.h / 2;
      cairo_move_to(c.cr, cx - 13, cy);
      cairo_curve_to(c.cr, cx - 6, cy - 9, cx + 6, cy - 9, cx + 13, cy);
      cairo_curve_to(c.cr, cx + 6, cy + 9, cx - 6, cy + 9, cx - 13, cy);
      cairo_close_path(c.cr);
      stroke(c.cr, col, 1.6);
      circle(c.cr, cx, cy, 3.6);
      if (state == 0) stroke(c.cr, col, 1.6);
      else fill(c.cr, col);
    });
  add(out, "lang-indecator.png", 36, 17, [](Canvas& c) {
    roundedRect(c.cr, c.bounds().inset(0.5), 5);
    fill(c.cr, black.withAlpha(0.07));
    roundedRect(c.cr, c.bounds().inset(0.5), 5);
    stroke(c.cr, black.withAlpha(0.22), 1);
  });

  // Settings and sharing.
  add(out, "set-twitter-account.png", 29, 29, [](Canvas& c) {
    roundedRect(c.cr, c.bounds().inset(1), 6);
    fillVertical(c.cr, c.bounds(), rgb(98, 170, 230), rgb(58, 132, 200));
    speechBubbles(c.cr, c.bounds().inset(5), white);
  });
  add(out, "tweet-pic-holder.png", 40, 40, [](Canvas& c) {
    roundedRect(c.cr, c.bounds().inset(0.5), 6);
    fill(c.cr, rgb(214, 220, 228));
    circle(c.cr, c.w / 2, c.h * 0.38, c.w * 0.17);
    fill(c.cr, white);
    cairo_arc(c.cr, c.w / 2, c.h * 0.98, c.w * 0.32, M_PI, 2 * M_PI);
    fill(c.cr, white);
    roundedRect(c.cr, c.bounds().inset(0.5), 6);
    stroke(c.cr, black.withAlpha(0.15), 1);
  });
  auto closeDisc = [](Canvas& c) {
    double cx = c.w / 2, cy = c.h / 2, r = c.w / 2 - 4;
    circle(c.cr, cx, cy, r);
    fill(c.cr, inkSoft.withAlpha(0.75));
    double k = r * 0.38;
    cairo_move_to(c.cr, cx - k, cy - k);
    cairo_line_to(c.cr, cx + k, cy + k);
    cairo_move_to(c.cr, cx + k, cy - k);
    cairo_line_to(c.cr, cx - k, cy + k);
    stroke(c.cr, white, 1.8);
  };
  add(out, "tweet-x.png", 28, 28, closeDisc);
  add(out, "SNDialog.bundle/images/close.png", 29, 29, closeDisc);
  add(out, "SNDialog.bundle/images/snicon.png", 16, 16, [](Canvas& c) {
    roundedRect(c.cr, c.bounds().inset(0.5), 3);
    fill(c.cr, accent);
    speechBubbles(c.cr, c.bounds().inset(2), white);
  });

  // The toolkit's own small images: the web page's back and forward, the search field's lens.
  add(out, "Toolkit.bundle/images/backIcon.png", 20, 20, [](Canvas& c) {
    triangle(c.cr, Box{4, 3, 12, 14}, Direction::left, slate);
  });
  add(out, "Toolkit.bundle/images/forwardIcon.png", 20, 20, [](Canvas& c) {
    triangle(c.cr, Box{4, 3, 12, 14}, Direction::right, slate);
  });
  add(out, "Toolkit.bundle/images/searchIcon.png", 14, 14, [](Canvas& c) {
    magnifier(c.cr, c.bounds(), inkSoft, 1.4);
  });
}

}  // namespace artwork
