#pragma once
// The builder's own checks over a content database: they name what failed
// and where by throwing CheckError.
#include <functional>
#include <stdexcept>
#include <string>

#include "tools/contentdb/Sqlite.h"

namespace contentdb {

class CheckError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kMaxWordCodes = 80;

// One verse's glyph string: ends with 10 and holds it nowhere else, holds
// only 32 and stored codes otherwise, no word over 80 codes, and no lam
// followed by hamza then alef (marks in between ignored).
void checkGlyphString(const std::string& data, int surah, int verse);

// Every row of surahdata passes checkGlyphString.
void checkGlyphStrings(Database& db);

// surahdata holds exactly the verses of the reference verse counts.
void checkSurahVerseCounts(Database& db);

// Each style 0 to 9 has 174 rows, codes 82 to 255, every PNG decodes, and
// the rows of styles 5, 7, 8 and 9 equal those of 0, 2, 3 and 4.
void checkGlyphImages(Database& db);

// Where Amiri attaches a kasra to a letter form (image row) in a group, or -1.
using KasraRowFn = std::function<int(int code, int grp)>;

// 174 rows per group, every advance at least 1, the rows of every decoded
// image measured again equal to the stored ones, and the fixed widths.
void checkMetrics(Database& db, const KasraRowFn& kasraRow);

// Every verse has its drawn Arabic text, and a search text of Arabic letters
// only (no marks, signs or tatweel), its words apart by single spaces.
void checkArabicTexts(Database& db);

// 240 quarter starts numbered 1 to 240 in text order.
void checkQuarters(Database& db);

// All of the above.
void checkDatabase(Database& db, const KasraRowFn& kasraRow);

}  // namespace contentdb
