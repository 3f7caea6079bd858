#include "Classes/glyphs/GlyphTables.h"

#include <array>
#include <initializer_list>

namespace glyphtables {
namespace {

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

}  // namespace

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
