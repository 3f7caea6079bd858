#include "GlyphFixture.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "Classes/glyphs/GlyphTables.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace glyphfixture {
namespace {

struct GroupShape {
  int charHeight, tashkilHeight, baseline, letterHeight;
  int madda, w166, w207, w211;
};
constexpr GroupShape kGroups[6] = {
    {26, 9, 23, 38, 11, 11, 12, 12},  {33, 8, 28, 47, 13, 12, 15, 15},
    {30, 10, 26, 43, 12, 11, 14, 14}, {36, 12, 31, 51, 15, 14, 18, 18},
    {40, 14, 34, 56, 16, 15, 19, 19}, {46, 16, 39, 64, 19, 17, 23, 23},
};
constexpr int kGroupOfStyle[10] = {0, 1, 3, 4, 5, 0, 2, 3, 4, 5};

const cg::Color kInk = cg::Color::black();
const cg::Color kMarkInk = cg::Color::fromRGB255(200, 0, 0);
const cg::Color kStrokeInk = cg::Color::fromRGB255(0, 0, 255);

bool isTall(int code) {
  static const std::set<int> tall = {111, 115, 130, 134, 165, 166, 167, 168, 170, 171, 175,
                                     176, 219, 220, 238, 239, 92,  93,  94,  95,  96,  97,
                                     98,  234, 235, 236, 237};
  return tall.count(code) > 0;
}

bool hasTail(int code) {
  static const std::set<int> tails = {87, 88, 91, 192, 193, 86, 224, 228, 232, 233, 229, 230};
  return tails.count(code) > 0;
}

int scaled(const GroupShape& g, double v) { return std::max(1, int(std::lround(v * g.charHeight / 26.0))); }

int advanceOf(const GroupShape& g, int code) {
  using namespace glyphtables;
  if (code == 160 || code == 162) return 1;
  if (code == 166) return g.w166;
  if (code == 207) return g.w207;
  if (code == 211) return g.w211;
  if (code == kMadda) return g.madda;
  if (code == kKashida) return scaled(g, 6);
  if (isMark(code)) return scaled(g, 6 + code % 3);
  if (isSmallLetter(code)) return scaled(g, 5);
  return scaled(g, 9 + (code * 7) % 11);
}

std::shared_ptr<cg::Image> draw(int group, int code) {
  using namespace glyphtables;
  const GroupShape& g = kGroups[group];
  const int w = advanceOf(g, code);
  const int t = scaled(g, 2);  // stroke thickness
  if (code == 160 || code == 162) return cg::Context::bitmap(1, 1).makeImage();
  if (code == kKashida) {
    auto ctx = cg::Context::bitmap(float(w), float(g.charHeight));
    ctx.setFillColor(kStrokeInk);
    ctx.fillRect(cg::Rect(0, float(g.baseline - t), float(w), float(t)));
    return ctx.makeImage();
  }
  if (isMark(code)) {
    const int h = g.tashkilHeight;
    auto ctx = cg::Context::bitmap(float(w), float(h));
    ctx.setFillColor(kMarkInk);
    const int inkH = std::min(h, scaled(g, 2 + code % 3));
    if (isMarkBelow(code) || (code >= 121 && code <= 126))
      ctx.fillRect(cg::Rect(0, 0, float(w), float(inkH)));  // top-aligned
    else
      ctx.fillRect(cg::Rect(0, float(h - inkH), float(w), float(inkH)));  // bottom-aligned
    return ctx.makeImage();
  }
  auto ctx = cg::Context::bitmap(float(w), float(g.letterHeight));
  ctx.setFillColor(kInk);
  if (isSmallLetter(code)) {
    ctx.fillRect(cg::Rect(1, float(scaled(g, 4)), float(std::max(1, w - 2)), float(t)));
    return ctx.makeImage();
  }
  // The joining bar along the baseline and a stem at the right, tall for
  // alefs and lams, with a tail below for the letters that have one.
  ctx.fillRect(cg::Rect(0, float(g.baseline - t), float(w), float(t)));
  const int stemW = std::min(w, scaled(g, 2));
  const int top = isTall(code) ? scaled(g, 2) : g.baseline - scaled(g, 8 + (code % 3) * 3);
  ctx.fillRect(cg::Rect(float(w - stemW), float(top), float(stemW), float(g.baseline - top)));
  if (hasTail(code)) ctx.fillRect(cg::Rect(0, float(g.baseline), float(stemW), float(scaled(g, 8))));
  return ctx.makeImage();
}

// First and last row with alpha of at least 64.
void inkRows(const cg::Image& image, int& top, int& bottom) {
  top = bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelAt(x, y).a >= 64) {
        if (top < 0) top = y;
        bottom = y;
        break;
      }
  if (top < 0) top = bottom = 0;
}

void exec(sqlite3* db, const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

}  // namespace

ns::Data glyphPNG(int group, int code) { return draw(group, code)->pngData(); }

sqlite3* create(const std::string& path, const Options& options) {
  if (path != ":memory:") std::filesystem::remove(path);
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return nullptr;
  exec(db, "BEGIN");
  exec(db, "CREATE TABLE glyphs (style INTEGER, glyph INTEGER, data BLOB)");
  exec(db,
       "CREATE TABLE glyphmetrics (grp INTEGER NOT NULL, glyph INTEGER NOT NULL, advance INTEGER "
       "NOT NULL, inktop INTEGER NOT NULL, inkbottom INTEGER NOT NULL, PRIMARY KEY (grp, glyph))");
  sqlite3_stmt* glyphRow = nullptr;
  sqlite3_stmt* metricRow = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO glyphs VALUES (?, ?, ?)", -1, &glyphRow, nullptr);
  sqlite3_prepare_v2(db, "INSERT INTO glyphmetrics VALUES (?, ?, ?, ?, ?)", -1, &metricRow, nullptr);

  std::vector<std::vector<ns::Data>> pngs(6);
  for (int group = 0; group < 6; ++group) {
    for (int code = 82; code <= 255; ++code) {
      auto image = draw(group, code);
      int top, bottom;
      inkRows(*image, top, bottom);
      pngs[group].push_back(image->pngData());
      sqlite3_bind_int(metricRow, 1, group);
      sqlite3_bind_int(metricRow, 2, code);
      sqlite3_bind_int(metricRow, 3, advanceOf(kGroups[group], code));
      sqlite3_bind_int(metricRow, 4, top);
      sqlite3_bind_int(metricRow, 5, bottom);
      sqlite3_step(metricRow);
      sqlite3_reset(metricRow);
    }
  }
  const ns::Data junk = ns::dataFromString("not a png");
  for (int style : options.styles) {
    for (int code = 82; code <= 255; ++code) {
      if (options.missingCodes.count(code)) continue;
      const ns::Data& png =
          options.undecodableCodes.count(code) ? junk : pngs[kGroupOfStyle[style]][code - 82];
      sqlite3_bind_int(glyphRow, 1, style);
      sqlite3_bind_int(glyphRow, 2, code);
      sqlite3_bind_blob(glyphRow, 3, png.data(), int(png.size()), SQLITE_TRANSIENT);
      sqlite3_step(glyphRow);
      sqlite3_reset(glyphRow);
    }
  }
  sqlite3_finalize(glyphRow);
  sqlite3_finalize(metricRow);
  exec(db, "COMMIT");
  return db;
}

ns::Data verseOf(const std::vector<ns::Data>& words) {
  ns::Data out;
  for (const auto& w : words) {
    if (!out.empty()) out.push_back(32);
    out.insert(out.end(), w.begin(), w.end());
  }
  out.push_back(10);
  return out;
}

sqlite3* sharedDatabase() {
  // In memory, so test processes running side by side never share the file.
  static sqlite3* db = create(":memory:");
  return db;
}

std::string tmpDir() {
  const char* base = std::getenv("ZARVEL_TEST_TMP");
  std::filesystem::path dir = std::filesystem::path(base ? base : "/tmp") / "glyphs";
  std::filesystem::create_directories(dir);
  return dir.string();
}

void resetDefaults(bool tajweedOn) {
  auto& defaults = ns::UserDefaults::standardUserDefaults();
  defaults.resetForTesting();
  defaults.setFilePath(tmpDir() + "/defaults.json");
  for (const char* key : {"TajweedGhunna", "TajweedIkhfa", "TajweedIdgham", "TajweedIqlab",
                          "TajweedQalqala", "ColoredStopSigns"})
    defaults.setBool(tajweedOn, key);
}

}  // namespace glyphfixture
