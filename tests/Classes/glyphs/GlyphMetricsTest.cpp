// The per-group metric tables read from "glyphmetrics".
#include <gtest/gtest.h>

#include "Classes/glyphs/ArabicFont.h"
#include "Classes/glyphs/GlyphMetrics.h"
#include "GlyphFixture.h"
#include "platform/foundation/Log.h"

namespace {

struct Db {
  sqlite3* db = glyphfixture::create(":memory:", [] {
    glyphfixture::Options o;
    o.styles = {};
    return o;
  }());
  ~Db() { sqlite3_close(db); }
  void exec(const char* sql) { ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK); }
};

TEST(GlyphMetrics, EveryGroupIsReadByCode) {
  Db d;
  d.exec("UPDATE glyphmetrics SET advance = 31, inktop = 4, inkbottom = 29 WHERE grp = 5 AND glyph = 84");
  ns::LogCapture capture;
  capture.setEcho(false);
  const auto tables = GlyphMetrics::load(d.db);
  for (const auto& group : tables) EXPECT_TRUE(group.valid);
  EXPECT_EQ(tables[5].widths[84 - 82], 31u);
  EXPECT_EQ(tables[5].vertical[84 - 82], 4);
  EXPECT_EQ(tables[5].vertical[175 + 84 - 82], 29);
  EXPECT_EQ(capture.count("ERROR"), 0);
}

TEST(GlyphMetrics, AMissingRowOrTableLeavesTheGroupUnusableAndNamesIt) {
  Db d;
  d.exec("DELETE FROM glyphmetrics WHERE grp = 2 AND glyph = 150");
  ns::LogCapture capture;
  capture.setEcho(false);
  auto tables = GlyphMetrics::load(d.db);
  EXPECT_FALSE(tables[2].valid) << "never drawn with a table of zeros";
  for (int g : {0, 1, 3, 4, 5}) EXPECT_TRUE(tables[g].valid) << g;
  EXPECT_TRUE(capture.contains("Glyph metrics missing for group 2, code 150"));

  d.exec("DROP TABLE glyphmetrics");
  tables = GlyphMetrics::load(d.db);
  for (const auto& group : tables) EXPECT_FALSE(group.valid);
  EXPECT_TRUE(capture.contains("Glyph metrics could not be read"));
}

TEST(GlyphMetrics, EachContentDatabaseDrawsWithItsOwnTables) {
  glyphfixture::resetDefaults(false);
  Db first, second;
  second.exec("UPDATE glyphmetrics SET advance = 40, inkbottom = 30 WHERE grp = 5 AND glyph = 178");
  ArabicFont a(4, false, first.db, 1);
  ArabicFont b(4, false, second.db, 1);
  ArabicFont again(9, false, first.db, 2);
  EXPECT_NE(a.charWidth(178), 40);
  EXPECT_EQ(b.charWidth(178), 40);
  EXPECT_EQ(b.arabicFontCharVerticals[175 + 178 - 82], 30);
  EXPECT_EQ(again.charWidth(178), a.charWidth(178));
  EXPECT_EQ(again.arabicFontCharWidths, a.arabicFontCharWidths) << "one table per database and group";
}

}  // namespace
