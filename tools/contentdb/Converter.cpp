#include "tools/contentdb/Converter.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/foundation/String.h"

namespace contentdb {
namespace {

// Isolated (stored) code of every letter of the text.
const std::map<char32_t, int>& letterCodes() {
  static const std::map<char32_t, int> codes = {
      {0x0671, 115}, {0x0621, 164}, {0x0622, 165}, {0x0623, 167}, {0x0624, 169},
      {0x0625, 170}, {0x0626, 173}, {0x0627, 175}, {0x0628, 178}, {0x0629, 179},
      {0x062A, 181}, {0x062B, 183}, {0x062C, 185}, {0x062D, 187}, {0x062E, 189},
      {0x062F, 190}, {0x0630, 191}, {0x0631, 192}, {0x0632, 193}, {0x0633, 195},
      {0x0634, 197}, {0x0635, 199}, {0x0636, 201}, {0x0637, 202}, {0x0638, 203},
      {0x0639, 205}, {0x063A, 209}, {0x0640, 212}, {0x0641, 214}, {0x0642, 216},
      {0x0643, 218}, {0x0644, 220}, {0x0645, 222}, {0x0646, 224}, {0x0647, 226},
      {0x0648, 228}, {0x0649, 229}, {0x064A, 232},
      // Small letters and symbols that stand as bases of their own.
      {0x06E5, 113}, {0x06E6, 114}, {0x06E7, 108}, {0x06E8, 106},
      {0x06DE, 161}, {0x06E9, 127},
  };
  return codes;
}

// Code of every combining mark of the text (U+06ED only occurs inside 249).
const std::map<char32_t, int>& markCodes() {
  static const std::map<char32_t, int> codes = {
      {0x064B, 240}, {0x064C, 242}, {0x064D, 243}, {0x0657, 99},  {0x065E, 101},
      {0x0656, 100}, {0x064E, 244}, {0x064F, 246}, {0x0650, 248}, {0x0651, 250},
      {0x0652, 247}, {0x06E1, 252}, {0x0653, 251}, {0x0654, 107}, {0x0655, 255},
      {0x065C, 163}, {0x0670, 245}, {0x06D6, 121}, {0x06D7, 122}, {0x06D8, 123},
      {0x06D9, 124}, {0x06DA, 125}, {0x06DB, 126}, {0x06DC, 109}, {0x06E0, 103},
      {0x06E2, 241}, {0x06E4, 251}, {0x06EC, 102}, {0x06ED, -1},
  };
  return codes;
}

constexpr char32_t kTatweel = 0x0640, kAlef = 0x0627, kYa = 0x064A, kShadda = 0x0651,
                   kMaddah = 0x0653, kDaggerAlef = 0x0670, kHamzaBelow = 0x0655,
                   kSmallHighMeem = 0x06E2, kSmallLowMeem = 0x06ED, kRubElHizb = 0x06DE,
                   kSajdah = 0x06E9, kThinSpace = 0x2009;

bool isMark(char32_t c) { return markCodes().count(c) != 0; }

[[noreturn]] void unmapped(char32_t c, int surah, int verse) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "unmapped character U+%04X in verse %d:%d",
                static_cast<unsigned>(c), surah, verse);
  throw ConversionError(buf);
}

// Order of the marks of one cluster; text order is kept within a rank.
int markRank(int code) {
  switch (code) {
    case 107: return 0;
    case 250: return 1;
    case 255: return 3;  // after the vowel it shares the letter with
    case 245: return 4;
    case 251: return 5;
    case 241: return 6;
    case 102: case 103: case 109: case 163: return 7;
    default: break;
  }
  if (code >= 121 && code <= 126) return 8;
  return 2;  // vowels, tanween, sukun, 247
}

// Maps a cluster's marks: shadda first, the iqlab pairs combined, then sorted.
std::vector<int> convertMarks(std::u32string_view marks, int surah, int verse) {
  std::u32string m(marks);
  auto shadda = std::stable_partition(m.begin(), m.end(), [](char32_t c) { return c == kShadda; });
  (void)shadda;
  std::vector<int> codes;
  for (size_t i = 0; i < m.size(); ++i) {
    char32_t c = m[i];
    char32_t next = i + 1 < m.size() ? m[i + 1] : 0;
    if (next == kSmallHighMeem && (c == 0x064E || c == 0x064F)) {
      codes.push_back(c == 0x064E ? 254 : 253);
      ++i;
    } else if (next == kSmallLowMeem && c == 0x0650) {
      codes.push_back(249);
      ++i;
    } else {
      int code = markCodes().at(c);
      if (code < 0) unmapped(c, surah, verse);
      codes.push_back(code);
    }
  }
  std::stable_sort(codes.begin(), codes.end(),
                   [](int a, int b) { return markRank(a) < markRank(b); });
  return codes;
}

struct Cluster {
  char32_t base;
  std::u32string marks;
};

std::vector<Cluster> clusters(std::u32string_view word, int surah, int verse) {
  std::vector<Cluster> out;
  for (char32_t c : word) {
    if (isMark(c)) {
      if (out.empty()) unmapped(c, surah, verse);
      out.back().marks.push_back(c);
    } else if (letterCodes().count(c)) {
      out.push_back({c, {}});
    } else {
      unmapped(c, surah, verse);
    }
  }
  return out;
}

void append(std::string& out, int code) { out.push_back(static_cast<char>(code)); }
void append(std::string& out, const std::vector<int>& codes) {
  for (int c : codes) append(out, c);
}

}  // namespace

std::string convertWord(std::u32string_view word, int surah, int verse) {
  std::vector<Cluster> cs = clusters(word, surah, verse);
  std::string out;
  for (size_t i = 0; i < cs.size(); ++i) {
    const Cluster& c = cs[i];
    std::u32string_view marks = c.marks;
    if (c.base == kTatweel) {
      if (marks.size() >= 2 && marks[0] == kDaggerAlef && marks[1] == kMaddah) {
        // The renderer draws the joining stroke under the dagger alef and its madda.
        append(out, {245, 251});
        append(out, convertMarks(marks.substr(2), surah, verse));
        continue;
      }
      bool beforeSmallLetter = i + 1 < cs.size() && (cs[i + 1].base == 0x06E7 || cs[i + 1].base == 0x06E8);
      if (marks.empty() && beforeSmallLetter) continue;  // ۧ and ۨ bring their own stroke
      append(out, 212);
      append(out, convertMarks(marks, surah, verse));
      continue;
    }
    if (c.base == kAlef && !marks.empty() && marks[0] == kMaddah) {
      append(out, 165);
      append(out, convertMarks(marks.substr(1), surah, verse));
      continue;
    }
    std::vector<int> codes = convertMarks(marks, surah, verse);
    int base = letterCodes().at(c.base);
    if (c.base == kYa && c.marks.find(kHamzaBelow) != std::u32string::npos) base = 229;
    auto dagger = std::find(codes.begin(), codes.end(), 245);
    auto madda = std::find(codes.begin(), codes.end(), 251);
    if (dagger != codes.end() && madda != codes.end() && madda > dagger) {
      // Stacked: the madda, then the dagger alef above it.
      codes.erase(madda);
      dagger = std::find(codes.begin(), codes.end(), 245);
      codes.insert(dagger, 251);
    }
    append(out, base);
    append(out, codes);
  }
  return out;
}

std::string convertVerse(std::string_view utf8, int surah, int verse) {
  // Malformed bytes decode to U+FFFD, which no rule maps: the verse is named.
  std::u32string text = ns::utf8ToUtf32(utf8);
  std::erase(text, kThinSpace);
  std::vector<std::u32string> words;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(U' ', start);
    if (end == std::u32string::npos) end = text.size();
    std::u32string w = text.substr(start, end - start);
    start = end + 1;
    if (w.empty()) continue;
    if (w.size() > 1 && w.front() == kRubElHizb) {
      words.push_back(w.substr(0, 1));
      w.erase(0, 1);
    }
    if (w.size() > 1 && w.back() == kSajdah) {
      words.push_back(w.substr(0, w.size() - 1));
      words.push_back(w.substr(w.size() - 1));
    } else {
      words.push_back(w);
    }
  }
  std::string out;
  for (const auto& w : words) {
    if (!out.empty()) append(out, 32);
    out += convertWord(w, surah, verse);
  }
  append(out, 10);
  return out;
}

const std::vector<int>& storedCodes() {
  static const std::vector<int> codes = [] {
    std::vector<int> v;
    for (auto& [c, code] : letterCodes()) v.push_back(code);
    for (auto& [c, code] : markCodes())
      if (code > 0) v.push_back(code);
    for (int extra : {249, 253, 254}) v.push_back(extra);
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return v;
  }();
  return codes;
}

}  // namespace contentdb
