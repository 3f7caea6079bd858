#include "Classes/glyphs/GlyphMetrics.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "Classes/core/Database.h"
#include "platform/foundation/Log.h"

namespace {
constexpr int kFirstCode = 82;
}

int GlyphMetrics::groupOfStyle(unsigned style) {
  static constexpr int kGroupOfStyle[10] = {0, 1, 3, 4, 5, 0, 2, 3, 4, 5};
  return style < 10 ? kGroupOfStyle[style] : 0;
}

GlyphMetrics::Tables GlyphMetrics::load(sqlite3* db) {
  Tables tables;
  std::array<std::array<bool, kGlyphs>, kGroups> seen{};
  store::Guard guard(store::lock());
  sqlite3_stmt* stmt = nullptr;
  const char* sql = "SELECT grp, glyph, advance, inktop, inkbottom FROM glyphmetrics ORDER BY grp, glyph";
  if (!db || sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
    ns::logf("ERROR - [%s] Glyph metrics could not be read: %s", ns::logTimestamp().c_str(),
             db ? sqlite3_errmsg(db) : "no database");
    return tables;
  }
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    int grp = sqlite3_column_int(stmt, 0);
    int index = sqlite3_column_int(stmt, 1) - kFirstCode;
    if (grp < 0 || grp >= kGroups || index < 0 || index >= kGlyphs) continue;
    Group& g = tables[grp];
    g.widths[index] = std::uint32_t(std::max(1, sqlite3_column_int(stmt, 2)));
    g.vertical[index] = sqlite3_column_int(stmt, 3);
    g.vertical[175 + index] = sqlite3_column_int(stmt, 4);
    seen[grp][index] = true;
  }
  sqlite3_finalize(stmt);

  for (int grp = 0; grp < kGroups; ++grp) {
    tables[grp].valid = true;
    for (int i = 0; i < kGlyphs; ++i) {
      if (seen[grp][i]) continue;
      ns::logf("ERROR - [%s] Glyph metrics missing for group %d, code %d",
               ns::logTimestamp().c_str(), grp, i + kFirstCode);
      tables[grp].valid = false;
      break;
    }
  }
  return tables;
}

std::shared_ptr<GlyphMetrics::Tables> GlyphMetrics::forDatabase(sqlite3* db) {
  if (!db) return nullptr;
  // Weak entries: the tables live as long as a font uses them, so a
  // connection closed and another opened at the same address never finds
  // the old tables once their fonts are gone.
  static std::mutex mutex;
  static std::map<sqlite3*, std::weak_ptr<Tables>> cache;
  std::lock_guard<std::mutex> guard(mutex);
  if (auto tables = cache[db].lock()) return tables;
  auto loaded = std::make_shared<Tables>(load(db));
  // A database without any complete group is not kept: the next font tries again.
  if (std::none_of(loaded->begin(), loaded->end(), [](const Group& g) { return g.valid; })) {
    cache.erase(db);
    return nullptr;
  }
  std::erase_if(cache, [](const auto& entry) { return entry.second.expired(); });
  cache[db] = loaded;
  return loaded;
}
