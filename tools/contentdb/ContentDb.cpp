#include "tools/contentdb/ContentDb.h"

#include <filesystem>
#include <vector>

#include "tools/contentdb/Checks.h"
#include "tools/contentdb/Converter.h"
#include "tools/contentdb/Inputs.h"
#include "tools/contentdb/SearchText.h"
#include "tools/contentdb/Sqlite.h"

namespace contentdb {
namespace {

constexpr int kLastTranslation = 38;

std::string tableName(int number) { return "trans" + std::to_string(number); }

// A full-text table over a text table's own rows (external content), so the
// texts are stored once; only the translation is indexed.
std::string ftsTable(const std::string& name, const std::string& content) {
  return "CREATE VIRTUAL TABLE " + name + " USING fts4(content=\"" + content +
         "\", surah, verse, translation, notindexed=surah, notindexed=verse, matchinfo=fts3, tokenize=unicode61);";
}

std::string textTable(const std::string& name, const char* numberType) {
  return "CREATE TABLE " + name + " (surah " + numberType + " NOT NULL, verse " + numberType +
         " NOT NULL, translation TEXT);"
         "CREATE UNIQUE INDEX " + name + "_verse ON " + name + " (surah, verse);";
}

using TextForm = std::string (*)(std::string_view);

std::string asGiven(std::string_view text) { return std::string(text); }

void insertTexts(Database& db, const std::string& table, const std::vector<VerseText>& verses,
                 bool numbersAsText, TextForm form = asGiven) {
  Statement s(db.handle(), "INSERT INTO " + table + " (rowid, surah, verse, translation) VALUES (?, ?, ?, ?)");
  int64_t rowid = 0;
  for (const auto& v : verses) {
    s.bind(1, ++rowid);
    if (numbersAsText) {
      s.bind(2, std::to_string(v.surah)).bind(3, std::to_string(v.verse));
    } else {
      s.bind(2, int64_t{v.surah}).bind(3, int64_t{v.verse});
    }
    s.bind(4, form(v.text));
    s.run();
  }
}

void fillFts(Database& db, const std::string& fts) {
  db.exec("INSERT INTO " + fts + "(" + fts + ") VALUES('rebuild');");
  db.exec("INSERT INTO " + fts + "(" + fts + ") VALUES('optimize');");
}

void writeSchema(Database& db) {
  db.exec(
      "CREATE TABLE surahdata (surah INTEGER NOT NULL, verse INTEGER NOT NULL, data BLOB NOT NULL,"
      " PRIMARY KEY (surah, verse)) WITHOUT ROWID;"
      "CREATE TABLE hezbmeta (surah INTEGER NOT NULL, verse INTEGER NOT NULL, hezb INTEGER NOT NULL,"
      " PRIMARY KEY (surah, verse)) WITHOUT ROWID;"
      "CREATE TABLE glyphs (style INTEGER NOT NULL, glyph INTEGER NOT NULL, data BLOB NOT NULL,"
      " PRIMARY KEY (style, glyph));"
      "CREATE TABLE glyphmetrics (grp INTEGER NOT NULL, glyph INTEGER NOT NULL, advance INTEGER NOT NULL,"
      " inktop INTEGER NOT NULL, inkbottom INTEGER NOT NULL, PRIMARY KEY (grp, glyph));"
      "CREATE TABLE audioparts (reciter INTEGER NOT NULL, surah INTEGER NOT NULL, verse INTEGER NOT NULL,"
      " part INTEGER NOT NULL);"
      "CREATE INDEX audioparts_verse ON audioparts (surah, verse);"
      "CREATE TABLE audiotimings (reciter INTEGER NOT NULL, surah INTEGER NOT NULL, verse INTEGER NOT NULL,"
      " beginsat REAL NOT NULL);"
      "CREATE INDEX audiotimings_verse ON audiotimings (surah, verse);"
      "CREATE TABLE recitationmp3sizes (reciter INTEGER NOT NULL, surah INTEGER NOT NULL, size INTEGER NOT NULL);"
      "CREATE INDEX recitationmp3sizes_surah ON recitationmp3sizes (reciter, surah);");
  // The Arabic as drawn, which copy and mail hand on, and the standard
  // spelling a reader types, which the Arabic search table indexes.
  db.exec(textTable("simplearabic", "INTEGER"));
  db.exec(textTable("searcharabic", "INTEGER") + ftsTable("trans0fts", "searcharabic"));
  db.exec(textTable("transliterationdata", "TEXT") + ftsTable("trans10fts", "transliterationdata"));
  for (int n = 1; n <= kLastTranslation; ++n) {
    if (n == kTransliterationNumber) continue;
    db.exec(textTable(tableName(n), "INTEGER") + ftsTable(tableName(n) + "fts", tableName(n)));
  }
}

}  // namespace

ContentData loadContent(const std::string& distDir, const std::string& fontPath) {
  for (const auto& f : pinnedTextFiles()) verifyDigest(distDir + "/" + f.name, f.sha256);
  verifyFont(fontPath);

  ContentData data;
  data.arabic = loadVerses(distDir + "/quran.json", "text");
  checkVerseCounts(data.arabic, "quran.json");
  for (const auto& v : data.arabic) data.glyphStrings.push_back(convertVerse(v.text, v.surah, v.verse));

  for (const auto& t : shippedTranslations()) {
    auto verses = loadVerses(distDir + "/" + t.file, "translation");
    checkVerseCounts(verses, t.file);
    data.translations.emplace_back(t.number, std::move(verses));
  }
  data.transliteration = loadVerses(distDir + "/" + kTransliterationFile, "transliteration");
  checkVerseCounts(data.transliteration, kTransliterationFile);

  GlyphRenderer renderer(fontPath);
  for (int grp = 0; grp < kGroupCount; ++grp) data.groups.push_back(renderer.renderGroup(grp));
  return data;
}

void writeContent(Database& db, const ContentData& data) {
  db.exec("BEGIN;");
  writeSchema(db);

  Statement verse(db.handle(), "INSERT INTO surahdata (surah, verse, data) VALUES (?, ?, ?)");
  for (size_t i = 0; i < data.arabic.size(); ++i) {
    verse.bind(1, int64_t{data.arabic[i].surah}).bind(2, int64_t{data.arabic[i].verse});
    verse.bindBlob(3, data.glyphStrings[i]).run();
  }
  insertTexts(db, "simplearabic", data.arabic, false, drawnArabic);
  insertTexts(db, "searcharabic", data.arabic, false, searchArabic);
  fillFts(db, "trans0fts");
  for (const auto& [number, verses] : data.translations) {
    insertTexts(db, tableName(number), verses, false);
    fillFts(db, tableName(number) + "fts");
  }
  insertTexts(db, "transliterationdata", data.transliteration, true);
  fillFts(db, "trans10fts");

  Statement quarter(db.handle(), "INSERT INTO hezbmeta (surah, verse, hezb) VALUES (?, ?, ?)");
  int64_t number = 0;
  for (const auto& q : quarterStarts()) quarter.bind(1, int64_t{q.surah}).bind(2, int64_t{q.verse}).bind(3, ++number).run();

  Statement image(db.handle(), "INSERT INTO glyphs (style, glyph, data) VALUES (?, ?, ?)");
  Statement metric(db.handle(),
                   "INSERT INTO glyphmetrics (grp, glyph, advance, inktop, inkbottom) VALUES (?, ?, ?, ?, ?)");
  // Each group's images are encoded once; the styles that share a group get
  // byte copies of them.
  std::vector<std::vector<std::string>> pngs(data.groups.size());
  for (int grp = 0; grp < static_cast<int>(data.groups.size()); ++grp) {
    for (int i = 0; i < kGlyphCount; ++i) {
      const GlyphMetric& m = data.groups[grp][i].metric;
      metric.bind(1, grp).bind(2, kFirstCode + i).bind(3, m.advance).bind(4, m.inkTop).bind(5, m.inkBottom).run();
      pngs[grp].push_back(encodePng(data.groups[grp][i].image));
    }
  }
  for (int style = 0; style < kStyleCount; ++style) {
    const auto& group = pngs.at(groupOfStyle(style));
    for (int i = 0; i < kGlyphCount; ++i) image.bind(1, style).bind(2, kFirstCode + i).bindBlob(3, group[i]).run();
  }
  db.exec("COMMIT;");
}

void writeDatabaseFile(const ContentData& data, const KasraRowFn& kasraRow, const std::string& outPath) {
  namespace fs = std::filesystem;
  const std::string temp = outPath + ".tmp";
  fs::remove(temp);
  try {
    {
      Database db(temp, true);
      db.exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
      writeContent(db, data);
      checkDatabase(db, kasraRow);
      db.exec("VACUUM;");
    }
    fs::rename(temp, outPath);
  } catch (...) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw;
  }
}

void buildDatabase(const std::string& distDir, const std::string& fontPath, const std::string& outPath) {
  ContentData data = loadContent(distDir, fontPath);
  GlyphRenderer renderer(fontPath);
  writeDatabaseFile(data, [&](int code, int grp) { return renderer.kasraRow(code, grp); }, outPath);
}

}  // namespace contentdb
