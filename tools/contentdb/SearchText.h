#pragma once
// The two Unicode forms of a verse the database keeps beside its glyph codes:
// the Uthmani text as it is drawn (what copy and mail hand on), and the
// standard (imla'i) spelling without marks that the Arabic search indexes,
// since that is what a reader types.
#include <string>
#include <string_view>

namespace contentdb {

// The verse as drawn: the Uthmani text without the thin spaces the converter drops.
std::string drawnArabic(std::string_view uthmani);

// The verse in the standard spelling, without marks: a dagger alef becomes a
// written alef (except in the words the standard spelling writes without one:
// هذا, ذلك, إله, الرحمن, لكن, أولئك ...), a waw or alef maqsura that only
// carries it becomes an alef (الصلاة, التوراة), the vocative and ها are
// written apart (يا أيها, ها أنتم), hamzas sit on the seats the standard rules
// give them, small waw and ya are written out where they are letters (داوود is
// the exception the standard spelling makes: داود), and silent letters the
// standard spelling drops are dropped. Signs, pause marks and tatweel go.
std::string searchArabic(std::string_view uthmani);

}  // namespace contentdb
