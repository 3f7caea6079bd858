#include "tools/contentdb/SearchText.h"

#include <algorithm>
#include <vector>

#include "platform/foundation/String.h"

namespace contentdb {
namespace {

// Letters and the marks the Uthmani text of the package writes. Its open
// tanween are U+0657 (fathatan), U+065E (dammatan) and U+0656 (kasratan).
constexpr char32_t kHamza = 0x0621, kAlefMadda = 0x0622, kAlefHamza = 0x0623, kWawHamza = 0x0624,
                   kAlefHamzaBelow = 0x0625, kYaHamza = 0x0626, kAlef = 0x0627, kTatweel = 0x0640, kFa = 0x0641,
                   kNun = 0x0646, kHa = 0x0647, kWaw = 0x0648, kAlefMaqsura = 0x0649, kYa = 0x064A,
                   kAlefWasla = 0x0671, kSmallWaw = 0x06E5, kSmallYa = 0x06E6, kSmallHighYa = 0x06E7,
                   kSmallHighNoon = 0x06E8, kThinSpace = 0x2009;
constexpr char32_t kFathatan = 0x064B, kDammatan = 0x064C, kKasratan = 0x064D, kFatha = 0x064E,
                   kDamma = 0x064F, kKasra = 0x0650, kShadda = 0x0651, kSilent = 0x0652, kMadda = 0x0653,
                   kHamzaAbove = 0x0654, kHamzaBelow = 0x0655, kOpenKasratan = 0x0656,
                   kOpenFathatan = 0x0657, kOpenDammatan = 0x065E, kDaggerAlef = 0x0670;
// Stands for a dagger alef in the output until the words that keep it
// unwritten have been found; then it becomes an alef.
constexpr char32_t kDagger = kDaggerAlef;

bool isLetter(char32_t c) {
  return (c >= kHamza && c <= kYa) || c == kAlefWasla || (c >= kSmallWaw && c <= kSmallHighNoon);
}

struct Cluster {
  char32_t base;
  std::u32string marks;
  bool has(char32_t mark) const { return marks.find(mark) != std::u32string::npos; }
};

enum class Vowel { None, A, U, I };

Vowel vowelOf(const Cluster& c) {
  for (char32_t m : c.marks) {
    if (m == kFatha || m == kFathatan || m == kOpenFathatan) return Vowel::A;
    if (m == kDamma || m == kDammatan || m == kOpenDammatan) return Vowel::U;
    if (m == kKasra || m == kKasratan || m == kOpenKasratan) return Vowel::I;
  }
  return Vowel::None;
}

bool hasFathatan(const Cluster& c) { return c.has(kFathatan) || c.has(kOpenFathatan); }

// Letters with their marks; marks before any letter and signs standing alone go.
std::vector<Cluster> clustersOf(std::u32string_view word) {
  std::vector<Cluster> out;
  for (char32_t c : word) {
    if (isLetter(c)) {
      out.push_back({c, {}});
    } else if (!out.empty()) {
      out.back().marks.push_back(c);
    }
  }
  return out;
}

bool endsWith(const std::u32string& s, std::u32string_view tail) {
  return s.size() >= tail.size() && std::u32string_view(s).substr(s.size() - tail.size()) == tail;
}

void replaceAll(std::u32string& s, std::u32string_view from, std::u32string_view to) {
  for (size_t at = s.find(from); at != std::u32string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
}

class WordSpeller {
 public:
  explicit WordSpeller(const std::vector<Cluster>& cs) : cs_(cs) {}

  std::u32string spell() {
    for (i_ = 0; i_ < cs_.size(); ++i_) spellCluster();
    return out_;
  }

 private:
  const Cluster* next() const { return i_ + 1 < cs_.size() ? &cs_[i_ + 1] : nullptr; }
  char32_t lastOut() const { return out_.empty() ? 0 : out_.back(); }
  bool isSilentAlef(const Cluster& c) const { return c.base == kAlef && c.has(kSilent); }

  // Whether no letter but a silent alef follows the current one.
  bool isLastLetter() const {
    for (size_t j = i_ + 1; j < cs_.size(); ++j)
      if (!isSilentAlef(cs_[j])) return false;
    return true;
  }

  // Inside a word the seat follows the vowels of the hamza and the letter
  // before it (kasra before damma before fatha); after a long alef or waw it
  // sits on the line.
  char32_t medialSeat() const {
    Vowel hv = vowelOf(cs_[i_]);
    Vowel pv = i_ > 0 ? vowelOf(cs_[i_ - 1]) : Vowel::None;
    char32_t before = lastOut();
    if (hv == Vowel::I || pv == Vowel::I || (before == kYa && pv != Vowel::A && pv != Vowel::U)) return kYaHamza;
    if (before == kAlef || before == kDagger || before == kWaw) return kHamza;
    if (hv == Vowel::U || pv == Vowel::U) return kWawHamza;
    if (hv == Vowel::A || pv == Vowel::A) return kAlefHamza;
    return kHamza;
  }

  void spellHamza() {
    const Cluster& c = cs_[i_];
    const Cluster* n = next();
    Vowel hv = vowelOf(c);
    bool longA = n && n->base == kAlef && !n->has(kSilent);
    // Hamza with fatha and a long alef after it is written as a madda, also
    // right after a one-letter prefix (بآيات).
    bool afterPrefix = out_.size() == 1 && i_ == 1 && std::u32string_view(U"بلفوك").find(out_[0]) != std::u32string::npos;
    if (afterPrefix && hv == Vowel::A && longA) {
      out_ += kAlefMadda;
      ++i_;
      return;
    }
    if (out_.empty()) {
      if (hv == Vowel::A && longA && !hasFathatan(c)) {
        out_ += kAlefMadda;
        ++i_;
      } else {
        out_ += hv == Vowel::I ? kAlefHamzaBelow : kAlefHamza;
      }
      return;
    }
    if (isLastLetter()) {
      out_ += kHamza;
      return;
    }
    char32_t seat = medialSeat();
    bool onAlefOrLine = seat == kAlefHamza || seat == kHamza;
    if (onAlefOrLine && hv == Vowel::A && longA && !hasFathatan(c)) {
      out_ += kAlefMadda;
      ++i_;
      return;
    }
    out_ += seat;
    // A final tanween alef after a hamza on alef is not written (ملجأ, خطأ).
    if (seat == kAlefHamza && hasFathatan(c) && longA && i_ + 2 == cs_.size()) ++i_;
  }

  // A final waw seat with its silent alef (ٱلۡمَلَؤُاْ, جَزَٰٓؤُاْ): the
  // standard spelling seats the hamza by the letter before it.
  void spellFinalWawHamza() {
    Vowel pv = vowelOf(cs_[i_ - 1]);
    char32_t before = lastOut();
    if (before == kAlef || before == kDagger) {
      out_ += kHamza;
    } else if (pv == Vowel::A) {
      out_ += kAlefHamza;
    } else {
      out_ += kWawHamza;
    }
    if (i_ + 1 < cs_.size()) ++i_;  // the silent alef
  }

  void spellCluster() {
    const Cluster& c = cs_[i_];
    const Cluster* n = next();
    switch (c.base) {
      case kAlefWasla:
        out_ += kAlef;
        return;
      case kAlef:
        if (c.has(kSilent)) {
          // Kept after a plural waw at the end (قالوا) and before a ya seat (مائة).
          bool final = i_ + 1 == cs_.size();
          if ((final && lastOut() == kWaw) || (n && n->base == kYaHamza)) out_ += kAlef;
        } else if (c.has(kHamzaBelow)) {
          out_ += kAlefHamzaBelow;
        } else if (c.has(kHamzaAbove)) {
          out_ += kAlefHamza;
        } else {
          out_ += kAlef;
        }
        return;
      case kAlefHamza:
        out_ += c.has(kMadda) ? kAlefMadda : kAlefHamza;
        if (c.has(kDaggerAlef)) out_ += kDagger;
        return;
      case kHamza:
        spellHamza();
        if (c.has(kDaggerAlef)) out_ += kDagger;
        return;
      case kTatweel:
        if (c.has(kHamzaAbove)) spellHamza();
        if (c.has(kDaggerAlef)) out_ += kDagger;
        return;
      case kWawHamza:
        if (isLastLetter() && i_ > 0) {
          spellFinalWawHamza();
          return;
        }
        break;
      case kYa:
        if (c.has(kHamzaBelow)) {
          out_ += lastOut() == kAlef || lastOut() == kDagger ? kHamza : kYaHamza;
          return;
        }
        if (c.has(kSilent)) return;
        break;
      case kWaw:
        if (c.has(kHamzaBelow)) {
          out_ += kWawHamza;
          return;
        }
        break;
      case kSmallWaw:
        // Only the lengthening of a pronoun, and داود, write no waw for it.
        if (lastOut() != kHa && !endsWith(out_, U"داو")) out_ += kWaw;
        return;
      case kSmallYa:
        if (lastOut() != kHa) out_ += kYa;
        return;
      case kSmallHighYa:
        out_ += kYa;
        return;
      case kSmallHighNoon:
        out_ += kNun;
        return;
      default:
        break;
    }
    if (c.has(kDaggerAlef)) {
      if (c.has(kHamzaAbove)) {
        // The alef is the hamza's seat (فادارأتم).
        out_ += c.base;
        out_ += kAlefHamza;
      } else if (c.base == kWaw && vowelOf(c) == Vowel::None && !c.has(kShadda)) {
        out_ += kAlef;  // the waw only carries the alef: الصلاة
      } else if (c.base == kAlefMaqsura) {
        out_ += isLastLetter() ? kAlefMaqsura : kAlef;
      } else {
        out_ += c.base;
        out_ += kDagger;
      }
      return;
    }
    out_ += c.base;
  }

  const std::vector<Cluster>& cs_;
  std::u32string out_;
  size_t i_ = 0;
};

// Words the standard spelling writes with an unwritten dagger alef, or
// otherwise than the rules give.
void mendWord(std::u32string& word) {
  static const std::pair<std::u32string_view, std::u32string_view> kUnwritten[] = {
      {U"هٰذ", U"هذ"},     {U"هٰؤ", U"هؤ"},     {U"ذٰل", U"ذل"},           {U"لٰكن", U"لكن"},
      {U"أئلٰه", U"أإله"}, {U"إلٰه", U"إله"},   {U"رحمٰن", U"رحمن"},       {U"ولٰئك", U"ولئك"},
      {U"هٰكذا", U"هكذا"}, {U"الٰتي", U"اللاتي"}, {U"الٰئي", U"اللائي"},
  };
  for (const auto& [from, to] : kUnwritten) replaceAll(word, from, to);
  replaceAll(word, U"أٰ", U"آ");
  replaceAll(word, U"ءٰ", U"آ");
  std::replace(word.begin(), word.end(), kDagger, kAlef);
  // The plural waw after a hamza keeps its alef (جاءوا).
  if (endsWith(word, U"ءو")) word += kAlef;
  // الليل: the Uthmani text writes one lam, after at most two prefix letters.
  size_t night = word.find(U"اليل");
  if (night != std::u32string::npos && night <= 2 &&
      std::all_of(word.begin(), word.begin() + static_cast<long>(night),
                  [](char32_t c) { return std::u32string_view(U"وفبلك").find(c) != std::u32string::npos; }))
    word.replace(night, 4, U"الليل");
  // رأى, which the Uthmani text writes رءا.
  if (word == U"رآ" || word == U"ورآ" || word == U"فرآ") word.replace(word.size() - 1, 1, U"أى");
}

// Where a vocative يا or the ها of ها أنتم joins the next word in the
// Uthmani text: the index of its letter and of the next word's first letter.
bool findVocative(const std::vector<Cluster>& cs, size_t& letter, size_t& rest) {
  letter = cs.size() > 2 && (cs[0].base == kWaw || cs[0].base == kFa) ? 1 : 0;
  if (letter >= cs.size()) return false;
  const Cluster& c = cs[letter];
  if (c.base != kYa && c.base != kHa) return false;
  if (c.has(kDaggerAlef)) {
    rest = letter + 1;
  } else if (letter + 1 < cs.size() && cs[letter + 1].base == kTatweel && cs[letter + 1].has(kDaggerAlef)) {
    rest = letter + 2;
  } else {
    return false;
  }
  if (rest >= cs.size()) return false;
  return c.base == kYa || cs[rest].base == kAlefHamza;
}

}  // namespace

std::string drawnArabic(std::string_view uthmani) {
  std::u32string text = ns::utf8ToUtf32(uthmani);
  std::erase(text, kThinSpace);
  return ns::utf32ToUtf8(text);
}

std::string searchArabic(std::string_view uthmani) {
  std::u32string text = ns::utf8ToUtf32(uthmani), out;
  std::erase(text, kThinSpace);
  auto addWord = [&out](const std::u32string& word) {
    if (word.empty()) return;
    if (!out.empty()) out += U' ';
    out += word;
  };
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = std::min(text.find(U' ', start), text.size());
    std::vector<Cluster> cs = clustersOf(std::u32string_view(text).substr(start, end - start));
    start = end + 1;
    size_t letter = 0, rest = 0;
    if (findVocative(cs, letter, rest)) {
      std::vector<Cluster> prefix(cs.begin(), cs.begin() + static_cast<long>(letter));
      addWord(WordSpeller(prefix).spell() + (cs[letter].base == kYa ? U"يا" : U"ها"));
      cs.erase(cs.begin(), cs.begin() + static_cast<long>(rest));
    }
    std::u32string word = WordSpeller(cs).spell();
    mendWord(word);
    addWord(word);
  }
  return ns::utf32ToUtf8(out);
}

}  // namespace contentdb
