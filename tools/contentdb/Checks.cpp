#include "tools/contentdb/Checks.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "platform/foundation/String.h"
#include "tools/contentdb/Converter.h"
#include "tools/contentdb/GlyphSet.h"
#include "tools/contentdb/QuranText.h"

namespace contentdb {
namespace {

std::string where(int surah, int verse) {
  return "verse " + std::to_string(surah) + ":" + std::to_string(verse);
}

bool isMarkCode(int code) {
  static const std::set<int> marks = {99,  100, 101, 102, 103, 107, 109, 121, 122, 123, 124, 125, 126,
                                      163, 240, 241, 242, 243, 244, 245, 246, 247, 248, 249, 250, 251,
                                      252, 253, 254, 255};
  return marks.count(code) != 0;
}

}  // namespace

void checkGlyphString(const std::string& data, int surah, int verse) {
  static const std::set<int> stored(storedCodes().begin(), storedCodes().end());
  if (data.empty() || data.back() != '\n')
    throw CheckError(where(surah, verse) + ": the glyph string does not end with 10");
  int word = 0;
  std::vector<int> letters;  // the word's codes without marks, for the lam test
  for (size_t i = 0; i + 1 < data.size(); ++i) {
    int code = static_cast<unsigned char>(data[i]);
    if (code == 10) throw CheckError(where(surah, verse) + ": 10 before the end, at byte " + std::to_string(i));
    if (code == 32) {
      if (word == 0 || i + 2 == data.size())
        throw CheckError(where(surah, verse) + ": an empty word at byte " + std::to_string(i));
      word = 0;
      letters.clear();
      continue;
    }
    if (!stored.count(code))
      throw CheckError(where(surah, verse) + ": unknown code " + std::to_string(code) + " at byte " +
                       std::to_string(i));
    if (++word > kMaxWordCodes)
      throw CheckError(where(surah, verse) + ": a word longer than " + std::to_string(kMaxWordCodes) + " codes");
    if (isMarkCode(code)) continue;
    letters.push_back(code);
    size_t n = letters.size();
    if (n >= 3 && letters[n - 3] == 220 && letters[n - 2] == 164 && letters[n - 1] == 175)
      throw CheckError(where(surah, verse) + ": lam followed by hamza and alef");
  }
}

void checkGlyphStrings(Database& db) {
  Statement s(db.handle(), "SELECT surah, verse, data FROM surahdata ORDER BY surah, verse");
  while (s.step()) checkGlyphString(s.text(2), static_cast<int>(s.integer(0)), static_cast<int>(s.integer(1)));
}

void checkSurahVerseCounts(Database& db) {
  Statement s(db.handle(), "SELECT surah, count(*), min(verse), max(verse) FROM surahdata GROUP BY surah");
  std::map<int, int> found;
  while (s.step()) {
    int surah = static_cast<int>(s.integer(0)), n = static_cast<int>(s.integer(1));
    if (surah < 1 || surah > 114) throw CheckError("surahdata: surah " + std::to_string(surah) + " does not exist");
    int expected = verseCounts()[surah - 1];
    if (n != expected || s.integer(2) != 1 || s.integer(3) != expected)
      throw CheckError("surahdata: surah " + std::to_string(surah) + " has " + std::to_string(n) +
                       " verses, expected " + std::to_string(expected));
    found[surah] = n;
  }
  for (int surah = 1; surah <= 114; ++surah)
    if (!found.count(surah)) throw CheckError("surahdata: surah " + std::to_string(surah) + " is missing");
}

void checkGlyphImages(Database& db) {
  std::map<int, std::map<int, std::string>> styles;
  Statement s(db.handle(), "SELECT style, glyph, data FROM glyphs ORDER BY style, glyph");
  while (s.step()) styles[static_cast<int>(s.integer(0))][static_cast<int>(s.integer(1))] = s.text(2);
  for (int style = 0; style < kStyleCount; ++style) {
    const auto& rows = styles[style];
    std::string name = "glyphs: style " + std::to_string(style);
    if (rows.size() != kGlyphCount)
      throw CheckError(name + " has " + std::to_string(rows.size()) + " rows, expected " + std::to_string(kGlyphCount));
    if (rows.begin()->first != kFirstCode || rows.rbegin()->first != kLastCode)
      throw CheckError(name + " does not hold the codes 82 to 255");
    for (const auto& [code, png] : rows) {
      AlphaImage img;
      if (!decodePng(png, img))
        throw CheckError(name + ", code " + std::to_string(code) + ": the PNG does not decode");
    }
  }
  for (int style : {5, 7, 8, 9})
    if (styles[style] != styles[style - 5])
      throw CheckError("glyphs: style " + std::to_string(style) + " differs from style " + std::to_string(style - 5));
  if (styles.size() != kStyleCount) throw CheckError("glyphs: styles outside 0 to 9");
}

void checkMetrics(Database& db, const KasraRowFn& kasraRow) {
  // The images of each group, from the first style that uses it.
  std::map<int, int> styleOfGroup;
  for (int style = kStyleCount - 1; style >= 0; --style) styleOfGroup[groupOfStyle(style)] = style;
  for (int grp = 0; grp < kGroupCount; ++grp) {
    std::string name = "glyphmetrics: group " + std::to_string(grp);
    Statement m(db.handle(),
                "SELECT m.glyph, m.advance, m.inktop, m.inkbottom, g.data FROM glyphmetrics m "
                "LEFT JOIN glyphs g ON g.style = ? AND g.glyph = m.glyph WHERE m.grp = ? ORDER BY m.glyph");
    m.bind(1, styleOfGroup[grp]).bind(2, grp);
    int rows = 0;
    while (m.step()) {
      ++rows;
      int code = static_cast<int>(m.integer(0));
      GlyphMetric stored{static_cast<int>(m.integer(1)), static_cast<int>(m.integer(2)),
                         static_cast<int>(m.integer(3))};
      std::string at = name + ", code " + std::to_string(code);
      if (stored.advance < 1) throw CheckError(at + ": advance " + std::to_string(stored.advance));
      if (int fixed = fixedAdvance(grp, code); fixed && stored.advance != fixed)
        throw CheckError(at + ": advance " + std::to_string(stored.advance) + " instead of the fixed " +
                         std::to_string(fixed));
      AlphaImage img;
      if (!decodePng(m.text(4), img)) throw CheckError(at + ": no image that decodes");
      int kasra = isLetterForm(code) ? kasraRow(code, grp) : -1;
      GlyphMetric again = measure(img, stored.advance, isLetterForm(code), sizeGroup(grp).baseline(), kasra);
      if (again.inkTop != stored.inkTop || again.inkBottom != stored.inkBottom)
        throw CheckError(at + ": stored rows " + std::to_string(stored.inkTop) + "-" +
                         std::to_string(stored.inkBottom) + " but the image measures " +
                         std::to_string(again.inkTop) + "-" + std::to_string(again.inkBottom));
    }
    if (rows != kGlyphCount)
      throw CheckError(name + " has " + std::to_string(rows) + " rows, expected " + std::to_string(kGlyphCount));
  }
}

void checkArabicTexts(Database& db) {
  Statement s(db.handle(),
              "SELECT d.surah, d.verse, a.translation, b.translation FROM surahdata d"
              " LEFT JOIN simplearabic a ON a.surah = d.surah AND a.verse = d.verse"
              " LEFT JOIN searcharabic b ON b.surah = d.surah AND b.verse = d.verse ORDER BY d.surah, d.verse");
  while (s.step()) {
    std::string verse = where(static_cast<int>(s.integer(0)), static_cast<int>(s.integer(1)));
    if (s.text(2).empty()) throw CheckError("simplearabic: " + verse + " has no text");
    std::u32string search = ns::utf8ToUtf32(s.text(3));
    if (search.empty()) throw CheckError("searcharabic: " + verse + " has no text");
    for (size_t i = 0; i < search.size(); ++i) {
      char32_t c = search[i];
      bool space = c == U' ' && i > 0 && i + 1 < search.size() && search[i - 1] != U' ';
      if (space || (c >= 0x0621 && c <= 0x064A && c != 0x0640)) continue;
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
      throw CheckError("searcharabic: " + verse + ": " + code + " at character " + std::to_string(i));
    }
  }
}

void checkQuarters(Database& db) {
  Statement s(db.handle(), "SELECT surah, verse, hezb FROM hezbmeta ORDER BY hezb");
  const auto& starts = quarterStarts();
  size_t i = 0;
  while (s.step()) {
    if (i >= starts.size() || s.integer(2) != static_cast<int64_t>(i + 1) || s.integer(0) != starts[i].surah ||
        s.integer(1) != starts[i].verse)
      throw CheckError("hezbmeta: unexpected row for quarter " + std::to_string(s.integer(2)));
    ++i;
  }
  if (i != starts.size()) throw CheckError("hezbmeta: " + std::to_string(i) + " quarters, expected 240");
}

void checkDatabase(Database& db, const KasraRowFn& kasraRow) {
  checkSurahVerseCounts(db);
  checkGlyphStrings(db);
  checkGlyphImages(db);
  checkMetrics(db, kasraRow);
  checkArabicTexts(db);
  checkQuarters(db);
}

}  // namespace contentdb
