#pragma once
// Builds the content database from the pinned inputs: the glyph strings,
// glyph images and metrics, the plain and search Arabic texts, the
// translations with their full-text tables, the hizb quarters and the empty
// recitation tables.
#include <string>
#include <vector>

#include "tools/contentdb/Checks.h"
#include "tools/contentdb/GlyphSet.h"
#include "tools/contentdb/QuranText.h"

namespace contentdb {

class Database;

// Everything that goes into the file, already converted and rendered.
struct ContentData {
  std::vector<VerseText> arabic;                             // the Uthmani text
  std::vector<std::string> glyphStrings;                     // one per verse of `arabic`
  std::vector<std::pair<int, std::vector<VerseText>>> translations;  // number, verses
  std::vector<VerseText> transliteration;
  std::vector<std::vector<RenderedGlyph>> groups;            // kGroupCount x kGlyphCount
};

// Reads, checks and converts the inputs (dist/ folder of quran-json, font).
ContentData loadContent(const std::string& distDir, const std::string& fontPath);

// Writes every table into an open, empty database, in one transaction.
void writeContent(Database& db, const ContentData& data);

// Writes the content under a temporary name, runs every check on it and
// renames it to `outPath` only when complete, so a failure leaves whatever was
// at `outPath` before and no temporary file.
void writeDatabaseFile(const ContentData& data, const KasraRowFn& kasraRow, const std::string& outPath);

// The whole build: loadContent, then writeDatabaseFile.
void buildDatabase(const std::string& distDir, const std::string& fontPath, const std::string& outPath);

}  // namespace contentdb
