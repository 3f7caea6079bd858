#pragma once
// A row's place in a table: its section and its row within the section.
#include <compare>

namespace ui {

struct IndexPath {
  int section = 0;
  int row = 0;

  static IndexPath indexPathForRow(int row, int section) { return IndexPath{section, row}; }

  friend bool operator==(const IndexPath&, const IndexPath&) = default;
  friend auto operator<=>(const IndexPath&, const IndexPath&) = default;
};

}  // namespace ui
