// The images that carry Arabic: the 114 surah names in Amiri, the basmala
// and the font-size previews in Amiri Quran (shaped by HarfBuzz through
// pango), the stop signs; and the application's emblem: the desktop icon and
// the launch pictures.
#include <cmath>
#include <cstdio>

#include "tools/artwork/Catalog.h"

namespace artwork {

namespace {

using namespace palette;

// The offset most surahs have: their names sit centred in the image.
constexpr int kUsualNameOffset = 13;

// A surah name in its 94 x 36 box. The lists place the image offset by the
// surah's alignment offset; the name's centre moves back by as much, so every
// name is centred on the same line of the list.
void surahName(Canvas& c, const std::string& name, int offset, const Colour& colour) {
  TextStyle style{"Amiri", 21, true, colour, Align::centre};
  double centre = c.w / 2 + kUsualNameOffset - offset;
  double room = 2 * std::min(centre, c.w - centre) - 4;
  double w = 0, h = 0;
  measureText(c.cr, name, style, &w, &h);
  double fit = std::min(room / std::max(w, 1.0), (c.h - 4) / std::max(h, 1.0));
  if (fit < 1) style.size *= fit;
  text(c.cr, name, Box{centre - c.w / 2, 0, c.w, c.h}, style);
}

void basmala(Canvas& c, const std::string& textUthmani, double size) {
  // A thin rule with a small diamond either side frames the line.
  TextStyle style{"Amiri Quran", size, false, ink, Align::centre};
  double w = 0, h = 0;
  measureText(c.cr, textUthmani, style, &w, &h);
  double fit = std::min((c.w - 80) / w, (c.h - 6) / h);  // room for the rules, and the marks above
  if (fit < 1) {
    style.size *= fit;
    w *= fit;
  }
  double gap = 14, y = c.h / 2 + 2;
  for (int side : {-1, 1}) {
    double inner = c.w / 2 + side * (w / 2 + gap), outer = side < 0 ? 6 : c.w - 6;
    cairo_move_to(c.cr, inner, y);
    cairo_line_to(c.cr, outer, y);
    stroke(c.cr, gold.withAlpha(0.55), 0.8);
    double dx = inner, s = 3;
    cairo_move_to(c.cr, dx, y - s);
    cairo_line_to(c.cr, dx + s, y);
    cairo_line_to(c.cr, dx, y + s);
    cairo_line_to(c.cr, dx - s, y);
    cairo_close_path(c.cr);
    fill(c.cr, gold);
  }
  text(c.cr, textUthmani, c.bounds(), style);
}

struct StopSign {
  const char* name;
  const char* mark;  // the letters of the sign as the text shows them
  Colour colour;
};

void stopSign(Canvas& c, const StopSign& sign) {
  Box tile = c.bounds().inset(2.5, 4.5);
  roundedRect(c.cr, tile, 8);
  fill(c.cr, paper);
  roundedRect(c.cr, tile, 8);
  stroke(c.cr, line.shade(-0.15), 1);
  if (std::string(sign.mark) == "\u2234") {  // three dots, a triangle: stop at one of the two
    for (auto [dx, dy] : {std::pair{0.0, -5.0}, std::pair{-5.5, 4.0}, std::pair{5.5, 4.0}}) {
      circle(c.cr, c.w / 2 + dx, c.h / 2 + dy, 3);
      fill(c.cr, sign.colour);
    }
    return;
  }
  double size = std::string(sign.mark).size() > 4 ? 19 : 26;
  text(c.cr, sign.mark, tile.inset(3), TextStyle{"Amiri", size, true, sign.colour, Align::centre});
}

// The emblem of the icon and the launch pictures: the hizb's eight-pointed
// star over an open book, drawn in a box of 256 x 256 units scaled by s.
void emblem(cairo_t* cr, double x, double y, double s, const Colour& pageLines) {
  // The star: two squares, one turned by 45 degrees, and a dot at the heart.
  double cx = x + 128 * s, cy = y + 88 * s, r = 34 * s;
  for (double turn : {M_PI / 4, 0.0}) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < 4; ++i) {
      double a = turn + i * M_PI / 2;
      cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
  }
  stroke(cr, gold.shade(0.2), 7 * s);
  circle(cr, cx, cy, 8 * s);
  fill(cr, gold.shade(0.2));
  // The book: two pages bowed at the spine.
  double top = 146 * s + y, bottom = 208 * s + y, mid = x + 128 * s;
  for (int side : {-1, 1}) {
    double outer = mid + side * 84 * s;
    cairo_move_to(cr, mid, top + 8 * s);
    cairo_curve_to(cr, mid + side * 30 * s, top - 6 * s, outer - side * 20 * s, top - 6 * s, outer, top);
    cairo_line_to(cr, outer, bottom - 8 * s);
    cairo_curve_to(cr, outer - side * 20 * s, bottom - 14 * s, mid + side * 30 * s, bottom - 14 * s, mid, bottom);
    cairo_close_path(cr);
    fill(cr, paper);
    for (int i = 0; i < 3; ++i) {
      double ly = top + (14 + i * 12) * s;
      cairo_move_to(cr, mid + side * 16 * s, ly + 2 * s);
      cairo_line_to(cr, outer - side * 14 * s, ly);
      stroke(cr, pageLines, 3 * s);
    }
  }
}

// The desktop icon: the emblem on the blue of the selection, in a rounded square.
void appIcon(Canvas& c) {
  double s = c.w / 256;
  Box b{8 * s, 8 * s, 240 * s, 240 * s};
  roundedRect(c.cr, b, 52 * s);
  fillVertical(c.cr, b, accentSoft, accentDeep);
  roundedRect(c.cr, b.inset(1.5 * s), 51 * s);
  stroke(c.cr, white.withAlpha(0.18), 2 * s);
  emblem(c.cr, 0, 0, s, accentSoft.withAlpha(0.6));
}

// The launch pictures: the reading page's ground and frame, the emblem in a
// quiet medallion at the centre.
void launchPicture(Canvas& c) {
  cairo_rectangle(c.cr, 0, 0, c.w, c.h);
  fillVertical(c.cr, c.bounds(), paper, paperShade);
  Box page = c.bounds().inset(c.w * 0.06, c.h * 0.06);
  roundedRect(c.cr, page, 10);
  stroke(c.cr, line, 1);
  roundedRect(c.cr, page.inset(6), 7);
  stroke(c.cr, gold.withAlpha(0.45), 1);
  double size = 150;
  circle(c.cr, c.w / 2, c.h / 2, size * 0.62);
  fillVertical(c.cr, Box{0, c.h / 2 - size * 0.62, c.w, size * 1.24}, accentSoft, accentDeep);
  emblem(c.cr, c.w / 2 - size / 2, c.h / 2 - size / 2, size / 256, accentSoft.withAlpha(0.6));
}

}  // namespace

void addQuranic(Catalog& out, const Sources& sources) {
  for (std::size_t i = 0; i < sources.surahNames.size(); ++i) {
    std::string name = sources.surahNames[i];
    int offset = i < sources.nameOffsets.size() ? sources.nameOffsets[i] : kUsualNameOffset;
    char file[40];
    std::snprintf(file, sizeof file, "sname_%zu.png", i + 1);
    add(out, file, 94, 36, [name, offset](Canvas& c) { surahName(c, name, offset, ink); });
    std::snprintf(file, sizeof file, "sname_%zu-t.png", i + 1);
    add(out, file, 94, 36, [name, offset](Canvas& c) { surahName(c, name, offset, accent); });
  }
  std::string bism = sources.basmala;
  add(out, "bismillah.png", 420, 72, [bism](Canvas& c) { basmala(c, bism, 34); });
  add(out, "bismillah2.png", 360, 60, [bism](Canvas& c) { basmala(c, bism, 28); });

  // The font-size previews of the settings: a verse at the size each choice
  // gives, fitting its row; "_sel" for the selected row.
  const std::pair<const char*, int> previews[] = {
      {"previewsmall", 45}, {"previewnormal", 50}, {"previewbig", 60}, {"previewlarge", 70}, {"previewhuge", 85}};
  std::string sample = sources.sampleVerse;
  for (auto [stem, rowHeight] : previews) {
    double size = rowHeight * 0.42;
    for (bool selected : {false, true})
      add(out, std::string(stem) + (selected ? "_sel.png" : ".png"), 220, rowHeight - 4,
          [sample, size, selected](Canvas& c) {
            TextStyle style{"Amiri Quran", size, false, selected ? white : ink, Align::right};
            double w = 0;
            measureText(c.cr, sample, style, &w, nullptr);
            if (w > c.w - 8) style.size *= (c.w - 8) / w;
            text(c.cr, sample, c.bounds().inset(4, 0), style);
          });
  }

  // The stop signs (44 x 52).
  const StopSign signs[] = {
      {"sign1.png", "\u0645", red},                     // must stop
      {"sign2.png", "\u0644\u0627", green},             // do not stop
      {"sign3.png", "\u062C", ink},                     // either
      {"sign4.png", "\u0635\u0644\u0649", ink},         // better to continue
      {"sign5.png", "\u0642\u0644\u0649", ink},         // better to stop
      {"sign6.png", "\u2234", ink},                     // stop at one of the two
      {"sign7.png", "\u0633\u0643\u062A\u0629", sand},  // a slight pause
  };
  for (const StopSign& s : signs) add(out, s.name, 44, 52, [s](Canvas& c) { stopSign(c, s); });

  add(out, "Default-Portrait~ipad.png", 768, 1004, launchPicture);
  add(out, "Default-Landscape~ipad.png", 1024, 748, launchPicture);
  // The desktop icon: 256 (and 512 at scale 2), and the sizes menus ask for.
  out.push_back({"zarvel-icon.png", 256, 256, 0, 0, appIcon, true});
  for (int size : {48, 64, 128})
    out.push_back({"zarvel-icon-" + std::to_string(size) + ".png", size, size, 0, 0, appIcon, true});
}

}  // namespace artwork
