#include "Classes/glyphs/GlyphTables.h"

#include <array>
#include <initializer_list>
#include <utility>

namespace glyphtables {
namespace {

using Flags = std::array<bool, 256>;
using Map = std::array<std::uint8_t, 256>;

struct Range {
  int from, to;
};

Flags flagsOf(std::initializer_list<Range> ranges) {
  Flags f{};
  for (Range r : ranges)
    for (int c = r.from; c <= r.to; ++c) f[c] = true;
  return f;
}

Map mapOf(std::initializer_list<std::pair<int, int>> pairs) {
  Map m{};
  for (auto [from, to] : pairs) m[from] = std::uint8_t(to);
  return m;
}

const Flags& marks() {
  static const Flags f = flagsOf({{99, 101}, {107, 107}, {121, 126}, {240, 255}});
  return f;
}
const Flags& marksNarrow() {
  static const Flags f = flagsOf({{99, 101}, {240, 240}, {242, 255}});
  return f;
}
const Flags& marksAbove() {
  static const Flags f = flagsOf({{99, 99}, {101, 101}, {107, 107}, {109, 109}, {121, 126},
                                  {240, 242}, {244, 247}, {250, 254}});
  return f;
}
const Flags& marksBelow() {
  static const Flags f = flagsOf({{100, 100}, {243, 243}, {248, 249}, {255, 255}});
  return f;
}
const Flags& smallLetters() {
  static const Flags f = flagsOf({{102, 103}, {106, 109}, {113, 114}});
  return f;
}
const Flags& tanween() {
  static const Flags f = flagsOf({{99, 101}, {240, 240}, {242, 243}, {249, 249}, {253, 254}});
  return f;
}
const Flags& vowels() {
  static const Flags f =
      flagsOf({{99, 101}, {240, 240}, {242, 246}, {248, 249}, {253, 254}});
  return f;
}

const Flags& joinsForwardTable() {
  static const Flags f = flagsOf({{82, 83}, {85, 85}, {88, 90}, {104, 105}, {112, 112},
                                  {116, 119}, {129, 134}, {137, 160}, {172, 174}, {177, 178},
                                  {180, 189}, {194, 227}, {229, 233}, {241, 241}, {245, 245},
                                  {247, 247}, {249, 249}, {251, 251}, {253, 253}});
  return f;
}
const Flags& acceptsJoinTable() {
  static const Flags f = flagsOf({{82, 91}, {104, 105}, {110, 112}, {115, 120}, {129, 160},
                                  {165, 233}, {238, 239}, {241, 241}, {245, 245}, {247, 247},
                                  {249, 249}, {251, 251}, {253, 253}});
  return f;
}

const Map& forwardTable() {
  static const Map m = mapOf({
      {82, 142}, {83, 143}, {85, 139}, {88, 131}, {118, 196}, {119, 194}, {120, 227},
      {132, 133}, {134, 130}, {137, 138}, {140, 141}, {144, 145}, {146, 147}, {148, 149},
      {150, 151}, {152, 153}, {154, 155}, {156, 157}, {158, 159}, {160, 223}, {173, 172},
      {174, 172}, {178, 177}, {181, 180}, {183, 182}, {185, 184}, {187, 186}, {189, 188},
      {195, 194}, {197, 196}, {199, 198}, {201, 200}, {202, 117}, {203, 116}, {205, 204},
      {207, 206}, {209, 208}, {211, 210}, {214, 213}, {216, 215}, {218, 217}, {220, 219},
      {222, 221}, {224, 223}, {226, 225}, {229, 105}, {230, 104}, {232, 231}, {233, 231},
      {240, 241}, {241, 241}, {242, 242}, {243, 243}, {244, 245}, {245, 245}, {246, 247},
      {247, 247}, {248, 249}, {249, 249}, {250, 251}, {251, 251}, {252, 253}, {253, 253},
      {255, 241},
  });
  return m;
}
const Map& backwardTable() {
  static const Map m = mapOf({
      {105, 104}, {115, 111}, {116, 142}, {117, 143}, {165, 166}, {167, 168}, {169, 84},
      {170, 171}, {172, 128}, {173, 174}, {175, 176}, {177, 159}, {178, 158}, {179, 110},
      {180, 157}, {181, 156}, {182, 155}, {183, 154}, {184, 153}, {185, 152}, {186, 151},
      {187, 150}, {188, 149}, {189, 148}, {190, 136}, {191, 135}, {192, 87}, {193, 86},
      {194, 90}, {195, 119}, {196, 89}, {197, 118}, {198, 147}, {199, 146}, {200, 145},
      {201, 144}, {202, 83}, {203, 82}, {204, 206}, {205, 207}, {208, 210}, {209, 211},
      {213, 141}, {214, 140}, {215, 139}, {216, 85}, {217, 138}, {218, 137}, {219, 130},
      {220, 134}, {221, 133}, {222, 132}, {223, 131}, {224, 88}, {225, 227}, {226, 120},
      {228, 91}, {229, 230}, {231, 129}, {232, 233}, {238, 239}, {240, 241}, {241, 241},
      {242, 242}, {243, 243}, {244, 245}, {245, 245}, {246, 247}, {247, 247}, {248, 249},
      {249, 249}, {250, 251}, {251, 251}, {252, 253}, {253, 253}, {255, 241},
  });
  return m;
}

using ClassMap = std::array<std::int8_t, 256>;
const ClassMap& kashidaClasses() {
  static const ClassMap m = [] {
    ClassMap c;
    c.fill(-1);
    const std::initializer_list<int> rows[17] = {
        {115, 165, 167, 170, 175}, {178, 181, 183, 229, 232}, {185, 187, 189}, {190, 191},
        {86, 87, 192, 193}, {195, 197}, {83, 199, 201}, {82, 202, 203}, {205, 209}, {214},
        {85, 216}, {218}, {220}, {222}, {88, 224}, {226}, {91, 228}};
    for (int k = 0; k < 17; ++k)
      for (int code : rows[k]) c[code] = std::int8_t(k);
    return c;
  }();
  return m;
}

// Row: class of the following letter; column: class of the preceding one.
constexpr const char* kKashidaMatrix[17] = {
    "01100111111101000", "01000111010000010", "01100111111111000", "01100111111111010",
    "01100111111101010", "00000111000000110", "00000111000100000", "01100111111001000",
    "00100111111011000", "00000111000000000", "01000111000010000", "01100111000101000",
    "01100111111101000", "01100111111111000", "01100111100111000", "01100111100111010",
    "01100111111101110",
};

inline bool in(const Flags& f, int c) { return c >= 0 && c <= 255 && f[c]; }
inline int lookup(const Map& m, int c) { return c >= 0 && c <= 255 ? m[c] : 0; }

}  // namespace

bool isMark(int c) { return in(marks(), c); }
bool isMarkNarrow(int c) { return in(marksNarrow(), c); }
bool isMarkAbove(int c) { return in(marksAbove(), c); }
bool isMarkBelow(int c) { return in(marksBelow(), c); }
bool isSmallLetter(int c) { return in(smallLetters(), c); }
bool isTanween(int c) { return in(tanween(), c); }
bool isVowelMark(int c) { return in(vowels(), c); }
bool joinsForward(int c) { return in(joinsForwardTable(), c); }
bool acceptsJoin(int c) { return in(acceptsJoinTable(), c); }
int forwardForm(int c) { return lookup(forwardTable(), c); }
int backwardForm(int c) { return lookup(backwardTable(), c); }

int kashidaClass(int c) { return c >= 0 && c <= 255 ? kashidaClasses()[c] : -1; }

bool kashidaAllowed(int preceding, int following) {
  int col = kashidaClass(preceding), row = kashidaClass(following);
  return col >= 0 && row >= 0 && kKashidaMatrix[row][col] == '1';
}

bool tintOfClass(unsigned colorClass, int& r, int& g, int& b) {
  static constexpr int kTints[11][3] = {
      {0, 0, 0},     {185, 85, 200}, {182, 0, 0},   {188, 109, 200}, {182, 0, 0},     {229, 82, 0},
      {47, 153, 0},  {49, 100, 197}, {40, 128, 0},  {195, 0, 0},     {143, 143, 143},
  };
  if (colorClass < 1 || colorClass > 10) return false;
  r = kTints[colorClass][0];
  g = kTints[colorClass][1];
  b = kTints[colorClass][2];
  return true;
}

}  // namespace glyphtables
