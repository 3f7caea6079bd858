#pragma once
// Helpers shared by the ChapterInfo source files (not part of its interface).
#include <string>

namespace chapterinfo_detail {

// A shown text through the interface language, the English text as key and fallback.
std::string localized(const std::string& key);

// The statement reading a verse of a translation (0 to 38), bound to surah and verse.
std::string translationForSql(int trans);

}  // namespace chapterinfo_detail
