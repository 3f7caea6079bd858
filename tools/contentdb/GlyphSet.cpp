#include "tools/contentdb/GlyphSet.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb-ot.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace contentdb {
namespace {

constexpr char32_t kZwj = 0x200D, kDottedCircle = 0x25CC, kLam = 0x0644, kKasra = 0x0650;
constexpr int kSupersample = 4;

enum Form { Isolated, Initial, Medial, Final };

struct LetterRow {
  char32_t ch;
  int codes[4];  // isolated, initial, medial, final; 0 = no such form
};

const std::vector<LetterRow>& letterRows() {
  static const std::vector<LetterRow> rows = {
      {0x0671, {115, 0, 0, 111}}, {0x0621, {164, 0, 0, 0}},     {0x0622, {165, 0, 0, 166}},
      {0x0623, {167, 0, 0, 168}}, {0x0624, {169, 0, 0, 84}},    {0x0625, {170, 0, 0, 171}},
      {0x0626, {173, 172, 128, 174}}, {0x0627, {175, 0, 0, 176}}, {0x0628, {178, 177, 159, 158}},
      {0x0629, {179, 0, 0, 110}}, {0x062A, {181, 180, 157, 156}}, {0x062B, {183, 182, 155, 154}},
      {0x062C, {185, 184, 153, 152}}, {0x062D, {187, 186, 151, 150}}, {0x062E, {189, 188, 149, 148}},
      {0x062F, {190, 0, 0, 136}}, {0x0630, {191, 0, 0, 135}},   {0x0631, {192, 0, 0, 87}},
      {0x0632, {193, 0, 0, 86}},  {0x0633, {195, 194, 90, 119}}, {0x0634, {197, 196, 89, 118}},
      {0x0635, {199, 198, 147, 146}}, {0x0636, {201, 200, 145, 144}}, {0x0637, {202, 117, 143, 83}},
      {0x0638, {203, 116, 142, 82}}, {0x0639, {205, 204, 206, 207}}, {0x063A, {209, 208, 210, 211}},
      {0x0640, {212, 212, 212, 212}}, {0x0641, {214, 213, 141, 140}}, {0x0642, {216, 215, 139, 85}}, {0x0643, {218, 217, 138, 137}},
      {0x0644, {220, 219, 130, 134}}, {0x0645, {222, 221, 133, 132}}, {0x0646, {224, 223, 131, 88}},
      {0x0647, {226, 225, 227, 120}}, {0x0648, {228, 0, 0, 91}}, {0x0649, {229, 105, 104, 230}},
      {0x064A, {232, 231, 129, 233}},
  };
  return rows;
}

struct LetterForm {
  char32_t ch;
  Form form;
};

const std::map<int, LetterForm>& letterForms() {
  static const std::map<int, LetterForm> forms = [] {
    std::map<int, LetterForm> m;
    for (const auto& r : letterRows())
      for (int f = 0; f < 4; ++f)
        if (r.codes[f]) m[r.codes[f]] = {r.ch, static_cast<Form>(f)};
    return m;
  }();
  return forms;
}

// The text that shapes a letter in a form, and the index of the letter in it.
std::u32string formString(char32_t ch, Form form, size_t& index, std::u32string_view after = {}) {
  std::u32string s;
  if (form == Medial || form == Final) s.push_back(kZwj);
  index = s.size();
  s.push_back(ch);
  s += after;
  if (form == Initial || form == Medial) s.push_back(kZwj);
  return s;
}

// Lam-alef pieces: the alef after the lam and whether the lam is connected.
struct LamAlefPiece {
  char32_t alef;
  bool connected;
  bool lamHalf;
};
const std::map<int, LamAlefPiece>& lamAlefPieces() {
  static const std::map<int, LamAlefPiece> m = {
      {92, {0x0671, false, false}}, {94, {0x0671, true, false}},  {93, {0x0623, false, false}},
      {234, {0x0622, false, false}}, {95, {0x0622, true, false}}, {235, {0x0623, false, false}},
      {96, {0x0623, true, false}},  {236, {0x0625, false, false}}, {97, {0x0625, true, false}},
      {237, {0x0627, false, false}}, {98, {0x0627, true, false}}, {238, {0x0627, false, true}},
      {239, {0x0627, true, true}},
  };
  return m;
}

enum class MarkBox { Above, StopSign, Below };
struct MarkRecipe {
  std::u32string chars;  // shaped on a dotted circle
  MarkBox box;
};
const std::map<int, MarkRecipe>& markRecipes() {
  static const std::map<int, MarkRecipe> m = {
      {99, {U"\u08F0", MarkBox::Above}},  {100, {U"\u08F2", MarkBox::Below}},
      {101, {U"\u08F1", MarkBox::Above}}, {240, {U"\u064B", MarkBox::Above}},
      {242, {U"\u064C", MarkBox::Above}}, {243, {U"\u064D", MarkBox::Below}},
      {241, {U"\u06E2", MarkBox::Above}}, {249, {U"\u0650\u06ED", MarkBox::Below}},
      {244, {U"\u064E", MarkBox::Above}}, {246, {U"\u064F", MarkBox::Above}},
      {248, {U"\u0650", MarkBox::Below}}, {245, {U"\u0670", MarkBox::Above}},
      {251, {U"\u0653", MarkBox::Above}}, {250, {U"\u0651", MarkBox::Above}},
      {252, {U"\u06E1", MarkBox::Above}}, {247, {U"\u06DF", MarkBox::Above}},
      {107, {U"\u0654", MarkBox::Above}}, {121, {U"\u06D6", MarkBox::StopSign}},
      {122, {U"\u06D7", MarkBox::StopSign}}, {123, {U"\u06D8", MarkBox::StopSign}},
      {124, {U"\u06D9", MarkBox::StopSign}}, {125, {U"\u06DA", MarkBox::StopSign}},
      {126, {U"\u06DB", MarkBox::StopSign}},
  };
  return m;
}

std::string hex(char32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(c));
  return buf;
}

struct Shaped {
  unsigned gid;
  unsigned cluster;
  double pen;  // pen position before the glyph, font units
  double xOff, yOff, advance;
};

// A glyph placed on the canvas: its origin in pixels (y is the baseline).
struct Placed {
  unsigned gid;
  double x, y;
};

}  // namespace

int SizeGroup::baseline() const { return static_cast<int>(std::ceil(1.011 * em())) + 1; }
int SizeGroup::letterHeight() const { return baseline() + static_cast<int>(std::ceil(0.620 * em())) + 2; }

const SizeGroup& sizeGroup(int grp) {
  static const SizeGroup groups[kGroupCount] = {
      {0, 26, 9}, {1, 33, 8}, {2, 30, 10}, {3, 36, 12}, {4, 40, 14}, {5, 46, 16}};
  if (grp < 0 || grp >= kGroupCount) throw GlyphError("no size group " + std::to_string(grp));
  return groups[grp];
}

int groupOfStyle(int style) {
  static const int groups[kStyleCount] = {0, 1, 3, 4, 5, 0, 2, 3, 4, 5};
  return groups[style];
}

int fixedAdvance(int grp, int code) {
  static const int table[kGroupCount][3] = {{11, 12, 12}, {12, 15, 15}, {11, 14, 14},
                                            {14, 18, 18}, {15, 19, 19}, {17, 23, 23}};
  int column = code == 166 ? 0 : code == 207 ? 1 : code == 211 ? 2 : -1;
  return column < 0 ? 0 : table[grp][column];
}

bool isLetterForm(int code) { return code != 212 && letterForms().count(code) != 0; }

GlyphMetric measure(const AlphaImage& img, int advance, bool letterForm, int baseline, int kasraRow) {
  GlyphMetric m;
  m.advance = std::max(1, advance);
  InkRows rows = inkRows(img, kMetricThreshold);
  m.inkTop = rows.top;
  m.inkBottom = rows.bottom;
  if (letterForm && rows.any && kasraRow >= 0)
    m.inkBottom = std::min(rows.bottom, std::max(baseline, kasraRow - 2));
  return m;
}

void applyFixedWidth(RenderedGlyph& g, int code, int fixed) {
  if (g.metric.advance > fixed)
    throw GlyphError("code " + std::to_string(code) + ": natural advance " +
                     std::to_string(g.metric.advance) + " exceeds the fixed width " + std::to_string(fixed));
  g.image = padLeft(g.image, fixed - g.metric.advance);
  g.metric.advance = fixed;
}

namespace {
// One FreeType library for the process: cairo may keep faces after a renderer is gone.
FT_Library freetype() {
  static FT_Library library = [] {
    FT_Library l = nullptr;
    return FT_Init_FreeType(&l) ? nullptr : l;
  }();
  return library;
}
}  // namespace

struct GlyphRenderer::Impl {
  hb_blob_t* blob = nullptr;
  hb_face_t* face = nullptr;
  hb_font_t* font = nullptr;
  double upem = 1000;
  FT_Face ftFace = nullptr;
  cairo_font_face_t* cairoFace = nullptr;

  // The canvas of the group being rendered.
  SizeGroup group{0, 26, 9};
  double scale = 0;  // pixels per font unit
  int width = 0, height = 0, originX = 0, top = 0;

  explicit Impl(const std::string& path) {
    blob = hb_blob_create_from_file_or_fail(path.c_str());
    if (!blob) throw GlyphError("cannot read the font " + path);
    face = hb_face_create(blob, 0);
    font = hb_font_create(face);
    upem = hb_face_get_upem(face);
    if (!freetype() || FT_New_Face(freetype(), path.c_str(), 0, &ftFace))
      throw GlyphError("FreeType cannot open " + path);
    cairoFace = cairo_ft_font_face_create_for_ft_face(ftFace, FT_LOAD_NO_HINTING);
    // cairo may keep the face in its caches after we let go of it: the
    // FreeType face is released with the cairo face, whenever that happens.
    static cairo_user_data_key_t key;
    cairo_font_face_set_user_data(cairoFace, &key, ftFace,
                                  [](void* face) { FT_Done_Face(static_cast<FT_Face>(face)); });
  }
  ~Impl() {
    if (cairoFace) cairo_font_face_destroy(cairoFace);
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
  }

  void setGroup(int grp) {
    group = sizeGroup(grp);
    double em = group.em();
    scale = em / upem;
    top = static_cast<int>(std::ceil(em));
    width = static_cast<int>(std::ceil(6 * em));
    originX = static_cast<int>(std::lround(3 * em));
    height = top + group.letterHeight() + static_cast<int>(std::ceil(em));
  }
  double baselineRow() const { return top + group.baseline(); }

  std::vector<Shaped> shape(const std::u32string& text) {
    hb_buffer_t* buf = hb_buffer_create();
    hb_buffer_set_cluster_level(buf, HB_BUFFER_CLUSTER_LEVEL_CHARACTERS);
    std::vector<uint32_t> cps(text.begin(), text.end());
    hb_buffer_add_utf32(buf, cps.data(), static_cast<int>(cps.size()), 0, static_cast<int>(cps.size()));
    hb_buffer_set_direction(buf, HB_DIRECTION_RTL);
    hb_buffer_set_script(buf, HB_SCRIPT_ARABIC);
    hb_buffer_set_language(buf, hb_language_from_string("ar", -1));
    hb_shape(font, buf, nullptr, 0);
    unsigned n = 0;
    hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &n);
    hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &n);
    std::vector<Shaped> out;
    double pen = 0;
    for (unsigned i = 0; i < n; ++i) {
      out.push_back({info[i].codepoint, info[i].cluster, pen, double(pos[i].x_offset),
                     double(pos[i].y_offset), double(pos[i].x_advance)});
      pen += pos[i].x_advance;
    }
    hb_buffer_destroy(buf);
    return out;
  }

  std::vector<Shaped> glyphsOfCluster(const std::vector<Shaped>& all, unsigned cluster) {
    std::vector<Shaped> out;
    for (const auto& g : all)
      if (g.cluster == cluster) out.push_back(g);
    return out;
  }

  std::string glyphName(unsigned gid) {
    char buf[128] = {0};
    hb_font_get_glyph_name(font, gid, buf, sizeof buf);
    return buf;
  }

  // Places glyphs so that the glyph `anchor` has its origin at originX.
  std::vector<Placed> place(const std::vector<Shaped>& gs, double anchorPen) {
    std::vector<Placed> out;
    for (const auto& g : gs)
      out.push_back({g.gid, originX + (g.pen - anchorPen + g.xOff) * scale,
                     baselineRow() - g.yOff * scale});
    return out;
  }

  // Draws at four times the size and averages each 4 x 4 block. Glyphs after
  // `clipFrom` are clipped to the columns left of clipX.
  AlphaImage draw(const std::vector<Placed>& glyphs, size_t clipFrom = SIZE_MAX,
                  double clipX = 0) {
    const int k = kSupersample;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, width * k, height * k);
    cairo_t* cr = cairo_create(s);
    cairo_set_font_face(cr, cairoFace);
    cairo_set_font_size(cr, group.em() * k);
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, opts);
    cairo_font_options_destroy(opts);
    for (size_t i = 0; i < glyphs.size(); ++i) {
      if (i == clipFrom) {
        cairo_rectangle(cr, 0, 0, clipX * k, height * k);
        cairo_clip(cr);
      }
      cairo_glyph_t g{glyphs[i].gid, glyphs[i].x * k, glyphs[i].y * k};
      cairo_show_glyphs(cr, &g, 1);
    }
    cairo_destroy(cr);
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    AlphaImage out(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        int sum = 0;
        for (int dy = 0; dy < k; ++dy) {
          const unsigned char* row = data + static_cast<size_t>(y * k + dy) * stride + x * k;
          for (int dx = 0; dx < k; ++dx) sum += row[dx];
        }
        out.at(x, y) = static_cast<uint8_t>((sum + k * k / 2) / (k * k));
      }
    }
    cairo_surface_destroy(s);
    return out;
  }

  // Crops a letter-like canvas: from `left` to max(origin + advance, ink right + 1),
  // the rows of a letter image.
  RenderedGlyph letterCrop(const AlphaImage& canvas, int left, double originPlusAdvance) {
    InkColumns cols = inkColumns(canvas);
    int end = static_cast<int>(std::lround(originPlusAdvance));
    int right = std::max(end, cols.any ? cols.right + 1 : end);
    RenderedGlyph g;
    g.image = crop(canvas, left, top, right - left, group.letterHeight());
    g.metric.advance = std::max(1, end - left);
    return g;
  }

  Shaped single(const std::vector<Shaped>& all, unsigned cluster, const std::string& what) {
    auto gs = glyphsOfCluster(all, cluster);
    if (gs.size() != 1)
      throw GlyphError(what + " shapes into " + std::to_string(gs.size()) + " glyphs, expected one");
    return gs[0];
  }

  RenderedGlyph letter(int code, char32_t ch, Form form) {
    size_t index = 0;
    auto all = shape(formString(ch, form, index));
    Shaped g = single(all, static_cast<unsigned>(index), "code " + std::to_string(code) + " (" + hex(ch) + ")");
    static const char* suffix[4] = {nullptr, ".init", ".medi", ".fina"};
    std::string name = glyphName(g.gid);
    if (suffix[form] && name.find(suffix[form]) == std::string::npos)
      throw GlyphError("code " + std::to_string(code) + ": glyph " + name + " is not the expected form");
    AlphaImage canvas = draw(place({g}, g.pen));
    InkColumns cols = inkColumns(canvas);
    bool fromOrigin = form == Initial || form == Medial;
    int left = fromOrigin || !cols.any ? originX : std::min(originX, cols.left);
    return letterCrop(canvas, left, originX + g.advance * scale);
  }

  // A spacing glyph cropped like an isolated letter (small waw and yeh, ۞, ۩).
  RenderedGlyph spacing(int code, char32_t ch) { return letter(code, ch, Isolated); }

  RenderedGlyph tatweel(bool stroke) {
    auto all = shape(U"\u0640");
    Shaped g = single(all, 0, "tatweel");
    AlphaImage canvas = draw(place({g}, g.pen));
    RenderedGlyph r = letterCrop(canvas, originX, originX + g.advance * scale);
    if (stroke) {
      // Stretched to any width by the renderer: exactly CHAR_HEIGHT rows.
      r.image = crop(r.image, 0, 0, r.image.width, group.charHeight);
      return r;
    }
    int wanted = static_cast<int>(std::lround(0.3 * group.em()));
    if (r.metric.advance < wanted) {
      // Widen by repeating the middle column, so that a mark fits over it.
      int extra = wanted - r.metric.advance;
      int mid = r.image.width / 2;
      AlphaImage wide(r.image.width + extra, r.image.height);
      for (int y = 0; y < wide.height; ++y)
        for (int x = 0; x < wide.width; ++x)
          wide.at(x, y) = r.image.at(x <= mid ? x : std::max(mid, x - extra), y);
      r.image = wide;
      r.metric.advance = wanted;
    }
    return r;
  }

  RenderedGlyph lamAlef(int code, const LamAlefPiece& p) {
    std::u32string text;
    if (p.connected) text.push_back(kZwj);
    unsigned lamIndex = static_cast<unsigned>(text.size());
    text.push_back(kLam);
    text.push_back(p.alef);
    auto all = shape(text);
    std::string what = "lam-alef piece " + std::to_string(code);
    Shaped lam = single(all, lamIndex, what + " (lam)");
    Shaped alef = single(all, lamIndex + 1, what + " (alef)");
    // The lam's origin column is the cut.
    auto placed = place({alef, lam}, lam.pen);
    const int cut = originX;
    if (p.lamHalf) {
      AlphaImage canvas = draw({placed[1]});
      return letterCrop(canvas, cut, cut + lam.advance * scale);
    }
    AlphaImage canvas = draw(placed, 1, cut);
    InkColumns cols = inkColumns(canvas);
    int alefOrigin = static_cast<int>(std::floor(originX + (alef.pen - lam.pen) * scale));
    int left = cols.any ? std::min(alefOrigin, cols.left) : alefOrigin;
    int right = std::max(cut, cols.any ? cols.right + 1 : cut);
    RenderedGlyph g;
    g.image = crop(canvas, left, top, right - left, group.letterHeight());
    g.metric.advance = std::max(1, cut - left);
    return g;
  }

  // The mark glyphs of a dotted-circle shaping, placed on the canvas.
  std::vector<Placed> markGlyphs(const std::u32string& base, const std::u32string& marks,
                                 double dx = 0, double dy = 0) {
    auto all = shape(base + marks);
    std::vector<Shaped> gs;
    for (const auto& g : all)
      if (g.cluster >= base.size()) gs.push_back(g);
    if (gs.empty()) throw GlyphError("no glyph for the mark " + hex(marks[0]));
    auto placed = place(gs, 0);
    for (auto& p : placed) {
      p.x += dx * scale;
      p.y -= dy * scale;
    }
    return placed;
  }

  struct InkBox {
    int left, right, top, bottom;
  };
  InkBox inkBox(const AlphaImage& canvas, const std::string& what) {
    InkColumns c = inkColumns(canvas);
    InkRows r = inkRows(canvas, kCropThreshold);
    if (!c.any || !r.any) throw GlyphError(what + " has no ink");
    return {c.left, c.right, r.top, r.bottom};
  }

  // The ink in a box TASHKIL_HEIGHT high (or taller), bottom- or top-aligned.
  RenderedGlyph boxed(const AlphaImage& canvas, MarkBox box, int code, int boxWidth = 0) {
    InkBox b = inkBox(canvas, "code " + std::to_string(code));
    int w = b.right - b.left + 1, h = b.bottom - b.top + 1;
    int boxH = std::max(group.tashkilHeight, h);
    int y0 = box == MarkBox::Above ? b.top - (boxH - h) : b.top;
    RenderedGlyph g;
    g.image = crop(canvas, b.left, y0, std::max(w, boxWidth), boxH);
    g.metric.advance = g.image.width;
    return g;
  }

  RenderedGlyph mark(int code, const MarkRecipe& r) {
    return boxed(draw(markGlyphs(U"\u25CC", r.chars)), r.box, code);
  }

  // 253 and 254: the vowel, with the small high meem 260 units to its left, 40 higher.
  RenderedGlyph iqlabVowel(int code, char32_t vowel) {
    auto glyphs = markGlyphs(U"\u25CC", std::u32string(1, vowel));
    auto meem = markGlyphs(U"\u25CC", U"\u06E2", -260, 40);
    glyphs.insert(glyphs.end(), meem.begin(), meem.end());
    return boxed(draw(glyphs), MarkBox::Above, code);
  }

  // 255: the hamza below a dotless ya, at the left of a box wide enough for a kasra beside it.
  RenderedGlyph hamzaBelow() {
    AlphaImage canvas = draw(markGlyphs(U"\u0649", U"\u0655"));
    InkBox b = inkBox(canvas, "code 255");
    int w = b.right - b.left + 1;
    int k = static_cast<int>(std::lround(0.230 * group.em()));
    return boxed(canvas, MarkBox::Below, 255, 2 * (w + 1 + k / 2));
  }

  // Small signs drawn at their own height: rows from the letter row 0 down
  // to the ink bottom, `padding` empty columns each side, `shift` more on the left.
  RenderedGlyph ownHeight(const AlphaImage& canvas, int code, int padding, int shift = 0) {
    InkBox b = inkBox(canvas, "code " + std::to_string(code));
    if (b.bottom < top) throw GlyphError("code " + std::to_string(code) + " lies above the letter row");
    int w = b.right - b.left + 1;
    RenderedGlyph g;
    g.image = crop(canvas, b.left - padding - shift, top, w + 2 * padding + shift, b.bottom - top + 1);
    g.metric.advance = w;
    return g;
  }

  RenderedGlyph smallSign(int code, char32_t ch) {
    AlphaImage canvas = draw(markGlyphs(U"\u25CC", std::u32string(1, ch)));
    RenderedGlyph g = ownHeight(canvas, code, code == 106 || code == 108 ? 1 : 0);
    if (code == 106 || code == 108) g.metric.advance += 2;
    if (code == 109) g.metric.advance = 2;
    if (code == 102) g.metric.advance = 1;
    return g;
  }

  // 163: the vowel dot under a ra, moved right so it sits under the preceding ra.
  RenderedGlyph dotBelow() {
    AlphaImage canvas = draw(markGlyphs(U"\u0631", U"\u065C"));
    InkBox b = inkBox(canvas, "code 163");
    int w = b.right - b.left + 1;
    int r = static_cast<int>(std::lround(0.399 * group.em()));
    RenderedGlyph g = ownHeight(canvas, 163, 0, std::max(0, 1 + r / 2 - w / 2));
    g.metric.advance = 1;
    return g;
  }

  RenderedGlyph render(int code) {
    if (auto it = letterForms().find(code); it != letterForms().end()) {
      if (code == 212) return tatweel(false);
      return letter(code, it->second.ch, it->second.form);
    }
    if (auto it = lamAlefPieces().find(code); it != lamAlefPieces().end()) return lamAlef(code, it->second);
    if (auto it = markRecipes().find(code); it != markRecipes().end()) return mark(code, it->second);
    switch (code) {
      case 112: return tatweel(true);
      case 253: return iqlabVowel(code, 0x064F);
      case 254: return iqlabVowel(code, 0x064E);
      case 255: return hamzaBelow();
      case 113: return spacing(code, 0x06E5);
      case 114: return spacing(code, 0x06E6);
      case 127: return spacing(code, 0x06E9);
      case 161: return spacing(code, 0x06DE);
      case 106: return smallSign(code, 0x06E8);
      case 108: return smallSign(code, 0x06E7);
      case 109: return smallSign(code, 0x06DC);
      case 102: return smallSign(code, 0x06EC);
      case 103: return smallSign(code, 0x06E0);
      case 163: return dotBelow();
      case 160:
      case 162: {
        RenderedGlyph g;
        g.image = AlphaImage(1, 1);
        return g;
      }
      default: break;
    }
    throw GlyphError("no recipe for code " + std::to_string(code));
  }

  int kasraRow(int code) {
    auto it = letterForms().find(code);
    if (it == letterForms().end() || code == 212) return -1;
    size_t index = 0;
    auto all = shape(formString(it->second.ch, it->second.form, index, U"\u0650"));
    auto kasra = glyphsOfCluster(all, static_cast<unsigned>(index + 1));
    if (kasra.size() != 1) return -1;
    hb_glyph_extents_t ext;
    if (!hb_font_get_glyph_extents(font, kasra[0].gid, &ext)) return -1;
    double inkTop = kasra[0].yOff + ext.y_bearing;  // font units, up positive
    return static_cast<int>(std::lround(group.baseline() - inkTop * scale));
  }
};

GlyphRenderer::GlyphRenderer(const std::string& fontPath) : impl_(std::make_unique<Impl>(fontPath)) {}
GlyphRenderer::~GlyphRenderer() = default;

int GlyphRenderer::kasraRow(int code, int grp) {
  impl_->setGroup(grp);
  return impl_->kasraRow(code);
}

std::vector<RenderedGlyph> GlyphRenderer::renderGroup(int grp) {
  impl_->setGroup(grp);
  std::vector<RenderedGlyph> out;
  out.reserve(kGlyphCount);
  for (int code = kFirstCode; code <= kLastCode; ++code) {
    RenderedGlyph g = impl_->render(code);
    if (int fixed = fixedAdvance(grp, code)) applyFixedWidth(g, code, fixed);
    g.metric = measure(g.image, g.metric.advance, isLetterForm(code), impl_->group.baseline(),
                       impl_->kasraRow(code));
    out.push_back(std::move(g));
  }
  return out;
}

}  // namespace contentdb
