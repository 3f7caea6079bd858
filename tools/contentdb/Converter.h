#pragma once
// Turns the Uthmani text of a verse into its string of one-byte glyph codes:
// isolated letters followed by their marks, words joined by 32, ended by 10.
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace contentdb {

// A character the conversion rules do not map. The message names the code
// point, the surah and the verse.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Converts one word (no spaces) into its stored codes.
std::string convertWord(std::u32string_view word, int surah = 0, int verse = 0);

// Converts a whole verse: the words joined by 32 and the final 10.
std::string convertVerse(std::string_view utf8, int surah, int verse);

// The codes the converter may store (isolated letters, 212, marks, small
// letters, symbols); the renderer derives every other code.
const std::vector<int>& storedCodes();

}  // namespace contentdb
