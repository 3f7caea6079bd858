// The flags of the translation languages, simplified to what reads at a small
// size: stripes, crosses, discs, crescents and stars. Every flag has the same
// rounded frame and hairline.
#include <cmath>

#include "tools/artwork/Catalog.h"

namespace artwork {

namespace {

using namespace palette;

constexpr int kW = 32, kH = 22;

void rect(cairo_t* cr, double x, double y, double w, double h, const Colour& c) {
  cairo_rectangle(cr, x, y, w, h);
  fill(cr, c);
}

void horizontal(Canvas& c, std::initializer_list<Colour> colours) {
  double h = c.h / colours.size(), y = 0;
  for (const Colour& col : colours) {
    rect(c.cr, 0, y, c.w, h + 0.01, col);
    y += h;
  }
}

void vertical(Canvas& c, std::initializer_list<Colour> colours) {
  double w = c.w / colours.size(), x = 0;
  for (const Colour& col : colours) {
    rect(c.cr, x, 0, w + 0.01, c.h, col);
    x += w;
  }
}

void star(cairo_t* cr, double cx, double cy, double r, const Colour& c, double turn = 0) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < 10; ++i) {
    double a = -M_PI / 2 + turn + i * M_PI / 5;
    double rr = i % 2 == 0 ? r : r * 0.4;
    cairo_line_to(cr, cx + rr * std::cos(a), cy + rr * std::sin(a));
  }
  cairo_close_path(cr);
  fill(cr, c);
}

// A crescent opening to the right: a disc less an offset disc.
void crescent(cairo_t* cr, double cx, double cy, double r, const Colour& c, const Colour& ground) {
  circle(cr, cx, cy, r);
  fill(cr, c);
  circle(cr, cx + r * 0.28, cy, r * 0.8);
  fill(cr, ground);
}

void nordicCross(Canvas& c, const Colour& ground, const Colour& cross, const Colour* inner) {
  rect(c.cr, 0, 0, c.w, c.h, ground);
  double t = c.h * 0.22, x = c.w * 0.3;
  rect(c.cr, x, 0, t, c.h, cross);
  rect(c.cr, 0, (c.h - t) / 2, c.w, t, cross);
  if (inner) {
    double u = t * 0.5;
    rect(c.cr, x + (t - u) / 2, 0, u, c.h, *inner);
    rect(c.cr, 0, (c.h - u) / 2, c.w, u, *inner);
  }
}

void unionFlag(Canvas& c) {
  const Colour blue = rgb(1, 33, 105), red = rgb(200, 16, 46);
  rect(c.cr, 0, 0, c.w, c.h, blue);
  cairo_move_to(c.cr, 0, 0); cairo_line_to(c.cr, c.w, c.h);
  cairo_move_to(c.cr, c.w, 0); cairo_line_to(c.cr, 0, c.h);
  stroke(c.cr, white, c.h * 0.2);
  cairo_move_to(c.cr, 0, 0); cairo_line_to(c.cr, c.w, c.h);
  cairo_move_to(c.cr, c.w, 0); cairo_line_to(c.cr, 0, c.h);
  stroke(c.cr, red, c.h * 0.07);
  rect(c.cr, c.w / 2 - c.h * 0.17, 0, c.h * 0.34, c.h, white);
  rect(c.cr, 0, c.h * 0.33, c.w, c.h * 0.34, white);
  rect(c.cr, c.w / 2 - c.h * 0.1, 0, c.h * 0.2, c.h, red);
  rect(c.cr, 0, c.h * 0.4, c.w, c.h * 0.2, red);
}

// Frames every flag: clip to a rounded shape, draw, then the hairline.
void framed(Canvas& c, const std::function<void(Canvas&)>& draw) {
  Box b = c.bounds().inset(0.5, 1.5);
  cairo_save(c.cr);
  roundedRect(c.cr, b, 2.5);
  cairo_clip(c.cr);
  cairo_translate(c.cr, b.x, b.y);
  Canvas inner{c.cr, b.w, b.h};
  draw(inner);
  cairo_restore(c.cr);
  roundedRect(c.cr, b, 2.5);
  stroke(c.cr, black.withAlpha(0.25), 0.8);
}

void addFlag(Catalog& out, const std::string& name, std::function<void(Canvas&)> draw) {
  add(out, name, kW, kH, [draw](Canvas& c) { framed(c, draw); });
}

}  // namespace

void addFlags(Catalog& out) {
  const Colour red = rgb(206, 17, 38), yellow = rgb(252, 209, 22), darkGreen = rgb(1, 65, 28);
  addFlag(out, "UK.png", unionFlag);
  addFlag(out, "Indonesia.png", [=](Canvas& c) { horizontal(c, {red, white}); });
  addFlag(out, "Malaysia.png", [=](Canvas& c) {
    for (int i = 0; i < 7; ++i) rect(c.cr, 0, i * c.h / 7, c.w, c.h / 7 + 0.01, i % 2 ? white : red);
    rect(c.cr, 0, 0, c.w * 0.5, c.h * 4 / 7, rgb(1, 0, 102));
    crescent(c.cr, c.w * 0.2, c.h * 0.29, c.h * 0.2, yellow, rgb(1, 0, 102));
    star(c.cr, c.w * 0.36, c.h * 0.29, c.h * 0.13, yellow);
  });
  addFlag(out, "Germany.png", [=](Canvas& c) { horizontal(c, {black, rgb(221, 0, 0), rgb(255, 206, 0)}); });
  addFlag(out, "France.png", [=](Canvas& c) { vertical(c, {rgb(0, 35, 149), white, rgb(237, 41, 57)}); });
  addFlag(out, "Spain.png", [=](Canvas& c) {
    horizontal(c, {rgb(170, 21, 27), rgb(241, 191, 0), rgb(241, 191, 0), rgb(170, 21, 27)});
  });
  addFlag(out, "Turkey.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, rgb(227, 10, 23));
    crescent(c.cr, c.w * 0.38, c.h / 2, c.h * 0.27, white, rgb(227, 10, 23));
    star(c.cr, c.w * 0.56, c.h / 2, c.h * 0.14, white, -M_PI / 2);
  });
  addFlag(out, "Russia.png", [=](Canvas& c) { horizontal(c, {white, rgb(0, 57, 166), rgb(213, 43, 30)}); });
  addFlag(out, "Bosnia.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, rgb(0, 35, 149));
    cairo_move_to(c.cr, c.w * 0.28, 0);
    cairo_line_to(c.cr, c.w * 0.78, 0);
    cairo_line_to(c.cr, c.w * 0.78, c.h);
    cairo_close_path(c.cr);
    fill(c.cr, yellow);
    for (int i = 0; i < 6; ++i) star(c.cr, c.w * (0.2 + i * 0.1), c.h * (i * 0.19), c.h * 0.07, white);
  });
  addFlag(out, "Pakistan.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, darkGreen);
    rect(c.cr, 0, 0, c.w * 0.25, c.h, white);
    crescent(c.cr, c.w * 0.6, c.h * 0.52, c.h * 0.28, white, darkGreen);
    star(c.cr, c.w * 0.74, c.h * 0.4, c.h * 0.1, white);
  });
  addFlag(out, "Iran.png", [=](Canvas& c) {
    horizontal(c, {rgb(35, 159, 64), white, rgb(218, 0, 0)});
    circle(c.cr, c.w / 2, c.h / 2, c.h * 0.11);
    stroke(c.cr, rgb(218, 0, 0), 1);
  });
  addFlag(out, "Netherlands.png", [=](Canvas& c) { horizontal(c, {rgb(174, 28, 40), white, rgb(33, 70, 139)}); });
  addFlag(out, "Italy.png", [=](Canvas& c) { vertical(c, {rgb(0, 146, 70), white, rgb(206, 43, 55)}); });
  addFlag(out, "Albania.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, rgb(228, 30, 32));
    // The eagle, reduced to its silhouette: two heads and spread wings.
    double cx = c.w / 2, cy = c.h / 2;
    cairo_move_to(c.cr, cx, cy - c.h * 0.3);
    cairo_line_to(c.cr, cx + c.w * 0.2, cy - c.h * 0.15);
    cairo_line_to(c.cr, cx + c.w * 0.08, cy + c.h * 0.05);
    cairo_line_to(c.cr, cx + c.w * 0.04, cy + c.h * 0.35);
    cairo_line_to(c.cr, cx - c.w * 0.04, cy + c.h * 0.35);
    cairo_line_to(c.cr, cx - c.w * 0.08, cy + c.h * 0.05);
    cairo_line_to(c.cr, cx - c.w * 0.2, cy - c.h * 0.15);
    cairo_close_path(c.cr);
    fill(c.cr, black);
  });
  addFlag(out, "Romania.png", [=](Canvas& c) { vertical(c, {rgb(0, 43, 127), yellow, rgb(206, 17, 38)}); });
  addFlag(out, "Japan.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, white);
    circle(c.cr, c.w / 2, c.h / 2, c.h * 0.3);
    fill(c.cr, rgb(188, 0, 45));
  });
  addFlag(out, "Bangladesh.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, rgb(0, 106, 78));
    circle(c.cr, c.w * 0.45, c.h / 2, c.h * 0.3);
    fill(c.cr, rgb(244, 42, 65));
  });
  addFlag(out, "Azerbaijan.png", [=](Canvas& c) {
    horizontal(c, {rgb(0, 181, 226), rgb(239, 51, 64), rgb(80, 158, 47)});
    crescent(c.cr, c.w * 0.47, c.h / 2, c.h * 0.14, white, rgb(239, 51, 64));
    star(c.cr, c.w * 0.57, c.h / 2, c.h * 0.07, white);
  });
  addFlag(out, "China.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, rgb(238, 28, 37));
    star(c.cr, c.w * 0.17, c.h * 0.27, c.h * 0.16, rgb(255, 255, 0));
    for (int i = 0; i < 4; ++i)
      star(c.cr, c.w * (0.32 + (i % 3 == 0 ? 0 : 0.05)), c.h * (0.1 + i * 0.12), c.h * 0.05, rgb(255, 255, 0));
  });
  addFlag(out, "Bulgaria.png", [=](Canvas& c) { horizontal(c, {white, rgb(0, 150, 110), rgb(214, 38, 18)}); });
  addFlag(out, "India.png", [=](Canvas& c) {
    horizontal(c, {rgb(255, 153, 51), white, rgb(19, 136, 8)});
    circle(c.cr, c.w / 2, c.h / 2, c.h * 0.12);
    stroke(c.cr, rgb(0, 0, 128), 0.9);
  });
  addFlag(out, "SaudiArabia.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, rgb(0, 108, 53));
    text(c.cr, "\u0644\u0627 \u0625\u0644\u0647 \u0625\u0644\u0627 \u0627\u0644\u0644\u0647",
         Box{c.w * 0.15, c.h * 0.12, c.w * 0.7, c.h * 0.45}, TextStyle{"Amiri", c.h * 0.3, true, white, Align::centre});
    rect(c.cr, c.w * 0.22, c.h * 0.68, c.w * 0.56, c.h * 0.06, white);  // the sword
  });
  addFlag(out, "SouthKorea.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, white);
    double cx = c.w / 2, cy = c.h / 2, r = c.h * 0.25;
    cairo_arc(c.cr, cx, cy, r, M_PI, 2 * M_PI);
    fill(c.cr, rgb(205, 46, 58));
    cairo_arc(c.cr, cx, cy, r, 0, M_PI);
    fill(c.cr, rgb(0, 71, 160));
    circle(c.cr, cx - r / 2, cy, r / 2);
    fill(c.cr, rgb(205, 46, 58));
    circle(c.cr, cx + r / 2, cy, r / 2);
    fill(c.cr, rgb(0, 71, 160));
    for (auto [x, y] : {std::pair{0.16, 0.2}, std::pair{0.84, 0.2}, std::pair{0.16, 0.8}, std::pair{0.84, 0.8}})
      for (int i = -1; i <= 1; ++i) {
        cairo_save(c.cr);
        cairo_translate(c.cr, c.w * x, c.h * y);
        cairo_rotate(c.cr, (x < 0.5) == (y < 0.5) ? -0.6 : 0.6);
        cairo_rectangle(c.cr, -c.w * 0.07, i * 1.4 - 0.45, c.w * 0.14, 0.9);
        cairo_restore(c.cr);
        fill(c.cr, black);
      }
  });
  addFlag(out, "Czech.png", [=](Canvas& c) {
    horizontal(c, {white, rgb(215, 20, 26)});
    cairo_move_to(c.cr, 0, 0);
    cairo_line_to(c.cr, c.w * 0.5, c.h / 2);
    cairo_line_to(c.cr, 0, c.h);
    cairo_close_path(c.cr);
    fill(c.cr, rgb(17, 69, 126));
  });
  const Colour swedishYellow = rgb(254, 204, 0), norwegianBlue = rgb(0, 32, 91);
  addFlag(out, "Sweden.png", [=](Canvas& c) { nordicCross(c, rgb(0, 106, 167), swedishYellow, nullptr); });
  addFlag(out, "Norway.png", [=](Canvas& c) { nordicCross(c, rgb(186, 12, 47), white, &norwegianBlue); });
  addFlag(out, "Thailand.png", [=](Canvas& c) {
    const Colour r = rgb(165, 25, 49), b = rgb(45, 42, 74);
    horizontal(c, {r, white, b, b, white, r});
  });
  addFlag(out, "Poland.png", [=](Canvas& c) { horizontal(c, {white, rgb(220, 20, 60)}); });
  addFlag(out, "Portugal.png", [=](Canvas& c) {
    rect(c.cr, 0, 0, c.w, c.h, rgb(255, 0, 0));
    rect(c.cr, 0, 0, c.w * 0.4, c.h, rgb(0, 102, 0));
    circle(c.cr, c.w * 0.4, c.h / 2, c.h * 0.22);
    fill(c.cr, rgb(255, 204, 0));
    circle(c.cr, c.w * 0.4, c.h / 2, c.h * 0.12);
    fill(c.cr, white);
  });
  addFlag(out, "Uzbekistan.png", [=](Canvas& c) {
    horizontal(c, {rgb(0, 153, 181), white, rgb(30, 181, 58)});
    rect(c.cr, 0, c.h / 3 - 0.5, c.w, 0.8, rgb(206, 17, 38));
    rect(c.cr, 0, 2 * c.h / 3 - 0.3, c.w, 0.8, rgb(206, 17, 38));
    crescent(c.cr, c.w * 0.16, c.h * 0.17, c.h * 0.12, white, rgb(0, 153, 181));
    for (int i = 0; i < 3; ++i) star(c.cr, c.w * (0.3 + i * 0.07), c.h * 0.17, c.h * 0.04, white);
  });

  // No translation, and the reader's own notes in place of one.
  add(out, "translation-none.png", kW, kH, [](Canvas& c) {
    Box b = c.bounds().inset(0.5, 1.5);
    roundedRect(c.cr, b, 2.5);
    fill(c.cr, paperShade);
    roundedRect(c.cr, b, 2.5);
    stroke(c.cr, black.withAlpha(0.25), 0.8);
    circle(c.cr, c.w / 2, c.h / 2, 6);
    stroke(c.cr, inkSoft, 1.4);
    cairo_move_to(c.cr, c.w / 2 - 4.2, c.h / 2 + 4.2);
    cairo_line_to(c.cr, c.w / 2 + 4.2, c.h / 2 - 4.2);
    stroke(c.cr, inkSoft, 1.4);
  });
  add(out, "trnslation-note.png", kW, kH, [](Canvas& c) {
    Box b = c.bounds().inset(0.5, 1.5);
    roundedRect(c.cr, b, 2.5);
    fill(c.cr, rgb(250, 240, 200));
    for (int i = 0; i < 3; ++i) {
      cairo_move_to(c.cr, 7, 7.5 + i * 4);
      cairo_line_to(c.cr, c.w - (i == 2 ? 13 : 7), 7.5 + i * 4);
      stroke(c.cr, sand, 1);
    }
    roundedRect(c.cr, b, 2.5);
    stroke(c.cr, sand.withAlpha(0.6), 0.8);
  });
}

}  // namespace artwork
