#pragma once
// The metric tables of the six size groups, read from the content database's
// "glyphmetrics" table: advance widths by glyph index and the ink top and
// bottom of every glyph image. Loaded once per database and shared by the
// font instances drawing from it.
#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <memory>

class GlyphMetrics {
 public:
  static constexpr int kGroups = 6;
  static constexpr int kGlyphs = 174;
  static constexpr int kVertical = 350;  // entry code-82: ink top; 175+code-82: ink bottom

  struct Group {
    std::array<std::uint32_t, kGlyphs> widths{};
    std::array<std::int32_t, kVertical> vertical{};
    bool valid = false;  // every code had its row
  };
  using Tables = std::array<Group, kGroups>;

  // The group of a size style 0..9 (0/5, 1, 6, 2/7, 3/8, 4/9).
  static int groupOfStyle(unsigned style);

  // Reads every group from the database. A group with a missing row (or a
  // failed query) stays invalid and one error line names the group and code.
  static Tables load(sqlite3* db);

  // The tables of one content database, read on the first request while a
  // font drawing from that database holds them; null when no group of the
  // database is complete. Fonts on another database get that database's own
  // tables. The width tables are writable: a font writes its group's fixed
  // widths into them.
  static std::shared_ptr<Tables> forDatabase(sqlite3* db);
};
