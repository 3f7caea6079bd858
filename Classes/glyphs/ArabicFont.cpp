// Font instances: per-style constants, the tajweed switches, the glyph images
// and their tinted variants.
#include "Classes/glyphs/ArabicFont.h"

#include <cmath>

#include "Classes/core/Database.h"
#include "Classes/glyphs/DrawingLock.h"
#include "Classes/glyphs/GlyphMetrics.h"
#include "Classes/glyphs/GlyphTables.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Image+Normalize.h"
#include "platform/ui/Screen.h"

using namespace glyphtables;

namespace {

struct StyleConstants {
  std::uint8_t charHeight;
  std::int16_t tashkilHeight;
  std::int32_t spaceWidth, extraPrevTashkilOffset;
  std::uint32_t width166, width207, width211;
};

// By metric group: styles 0/5, 1, 6, 2/7, 3/8, 4/9.
constexpr StyleConstants kGroupConstants[GlyphMetrics::kGroups] = {
    {26, 9, 9, 4, 11, 12, 12},  {33, 8, 8, 5, 12, 15, 15},  {30, 10, 10, 5, 11, 14, 14},
    {36, 12, 12, 6, 14, 18, 18}, {40, 14, 14, 7, 15, 19, 19}, {46, 16, 16, 8, 17, 23, 23},
};

}  // namespace

ArabicFont::ArabicFont(unsigned fontResolution, bool overrideTajweed)
    : ArabicFont(fontResolution, overrideTajweed, store::contentConnection(),
                 ui::Screen::main().scale()) {}

ArabicFont::ArabicFont(unsigned fontResolution, bool overrideTajweed, sqlite3* contentDb,
                       float screenScale)
    : db_(contentDb) {
  alwaysShowTajweed = overrideTajweed;
  DrawingLock::replace();
  SCALE_FACTOR = screenScale;
  TOP_TASHKIL_LETTER_PADDING = SCALE_FACTOR == 2.0f ? 2 : 3;

  auto& defaults = ns::UserDefaults::standardUserDefaults();
  canShowGhunna = defaults.boolForKey("TajweedGhunna");
  canShowIkhfa = defaults.boolForKey("TajweedIkhfa");
  canShowIdgham = defaults.boolForKey("TajweedIdgham");
  canShowIqlab = defaults.boolForKey("TajweedIqlab");
  canShowQalqala = defaults.boolForKey("TajweedQalqala");
  canColorStopSigns = defaults.boolForKey("ColoredStopSigns");
  if (alwaysShowTajweed)
    canShowGhunna = canShowIkhfa = canShowIdgham = canShowIqlab = canShowQalqala = true;

  arrWordChars.assign(MAX_CHARS_IN_WORD, 0);
  arrWordOrigChars.assign(MAX_CHARS_IN_WORD, 0);
  arrWordCharActualWidthUsed.assign(MAX_CHARS_IN_WORD, 0);
  arrWordColor.assign(MAX_CHARS_IN_WORD, 0);
  ClearCache();

  FONT_RESOLUTION = fontResolution;
  const int group = GlyphMetrics::groupOfStyle(fontResolution);
  const StyleConstants& k = kGroupConstants[group];
  CHAR_HEIGHT = k.charHeight;
  TASHKIL_HEIGHT = k.tashkilHeight;
  SPACE_CHAR_WIDTH = k.spaceWidth;
  EXTRA_PREV_TASHKIL_OFFSET = k.extraPrevTashkilOffset;
  metrics_ = GlyphMetrics::forDatabase(db_);
  if (metrics_ && (*metrics_)[group].valid) {
    GlyphMetrics::Group& tables = (*metrics_)[group];
    arabicFontCharWidths = tables.widths.data();
    arabicFontCharVerticals = tables.vertical.data();
    arabicFontCharWidths[166 - kCharsStart] = k.width166;
    arabicFontCharWidths[207 - kCharsStart] = k.width207;
    arabicFontCharWidths[211 - kCharsStart] = k.width211;
  }
}

ArabicFont::~ArabicFont() = default;

void ArabicFont::ClearCache() {
  arrVerseMetaDataCache.assign(META_DATA_CACHE_COUNT, nullptr);
}

int ArabicFont::charWidth(int code) const {
  if (!arabicFontCharWidths || !isGlyph(code)) return 0;
  return int(arabicFontCharWidths[code - kCharsStart]);
}

int ArabicFont::inkTop(int code) const {
  return arabicFontCharVerticals && isGlyph(code) ? arabicFontCharVerticals[code - kCharsStart] : 0;
}

int ArabicFont::inkBottom(int code) const {
  return arabicFontCharVerticals && isGlyph(code) ? arabicFontCharVerticals[175 + code - kCharsStart]
                                                  : 0;
}

ArabicFont::Glyph ArabicFont::makeGlyphImage(const ns::Data& png) const {
  // Glyph images are drawn with their pixel size as points, whatever the screen.
  return cg::Image::fromPNGData(png, 1);
}

void ArabicFont::initGlyphs() {
  if (glyphsLoaded_) return;
  glyphsLoaded_ = true;
  for (auto* cache : {&arabicFontImgsColorIdghaam, &arabicFontImgsColorIkhfa,
                      &arabicFontImgsColorIdghaamMeemSakin, &arabicFontImgsColorIdghaamWithoutGhunna,
                      &arabicFontImgsColorIkhfaMeemSakin, &arabicFontImgsColorGhunna,
                      &arabicFontImgsColorQalqala, &arabicFontImgsColorQalb, &arabicFontImgs})
    cache->assign(kGlyphCount, nullptr);
  arabicFontImgsColorStopSigns.assign(2, nullptr);
  arrGlyphHeight.assign(kGlyphCount, 0);
  arrGlyphWidth.assign(kGlyphCount, 0);

  store::Guard guard(store::lock());
  sqlite3_stmt* stmt = nullptr;
  const char* sql = "SELECT glyph, data FROM glyphs WHERE style = ? ORDER BY glyph ASC";
  if (!db_ || sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr) != SQLITE_OK) {
    // Nothing is drawn without glyphs; the pass goes on instead of aborting.
    ns::logf("Error: failed to prepare statement with message '%s'.",
             db_ ? sqlite3_errmsg(db_) : "no content database");
    return;
  }
  sqlite3_bind_int(stmt, 1, int(FONT_RESOLUTION));
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    // Each image goes to the slot of its code, so a missing row shifts nothing.
    const int index = sqlite3_column_int(stmt, 0) - kCharsStart;
    if (index < 0 || index >= kGlyphCount) continue;
    const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, 1));
    ns::Data png(blob, blob + sqlite3_column_bytes(stmt, 1));
    Glyph image = makeGlyphImage(png);
    if (!image) continue;
    arabicFontImgs[index] = image;
    arrGlyphWidth[index] = std::ceil(image->size().width);
    arrGlyphHeight[index] = std::ceil(image->size().height);
  }
  sqlite3_finalize(stmt);
  for (int i = 0; i < kGlyphCount; ++i)
    if (!arabicFontImgs[i])
      ns::logf("   EXCEPTION, CANNOT LOAD GLYPH: no image for glyph %d in style %u", i + kCharsStart,
               FONT_RESOLUTION);
}

std::vector<ArabicFont::Glyph>* ArabicFont::colorCache(unsigned colorClass) {
  switch (colorClass) {
    case 0: return &arabicFontImgs;
    case 1: return &arabicFontImgsColorIdghaam;
    case 2: return &arabicFontImgsColorIkhfa;
    case 3: return &arabicFontImgsColorIdghaamMeemSakin;
    case 4: return &arabicFontImgsColorIkhfaMeemSakin;
    case 5: return &arabicFontImgsColorGhunna;
    case 6: return &arabicFontImgsColorQalqala;
    case 7: return &arabicFontImgsColorQalb;
    case 8:
    case 9: return &arabicFontImgsColorStopSigns;
    case 10: return &arabicFontImgsColorIdghaamWithoutGhunna;
    default: return nullptr;
  }
}

ArabicFont::Glyph ArabicFont::getGlyph(int glyphIndex, unsigned colorClass) {
  std::vector<Glyph>* cache = colorCache(colorClass);
  if (!cache) return nullptr;
  int slot = glyphIndex;
  if (colorClass == 8) slot = 1;
  if (colorClass == 9) slot = 0;
  if (slot < 0 || slot >= int(cache->size())) return nullptr;
  Glyph& cached = (*cache)[slot];
  if (!cached && colorClass != 0) cached = generateColoredGlyph(glyphIndex, colorClass);
  return cached;
}

ArabicFont::Glyph ArabicFont::generateColoredGlyph(int glyphIndex, unsigned colorClass) {
  if (colorClass == 8) glyphIndex = 121 - kCharsStart;
  if (colorClass == 9) glyphIndex = 123 - kCharsStart;
  if (glyphIndex < 0 || glyphIndex >= int(arabicFontImgs.size())) return nullptr;
  const Glyph& plain = arabicFontImgs[glyphIndex];
  if (colorClass == 0 || !plain) return plain;
  int r, g, b;
  if (!tintOfClass(colorClass, r, g, b)) return nullptr;
  const auto tinted = ui::copyImageWithColor(ui::Image(plain, 1), cg::Color::fromRGB255(r, g, b));
  return tinted ? tinted->cgImage() : nullptr;
}
