#pragma once
// Bitmaps of verse rows drawn ahead of the frame that shows them: the verse
// bitmap of an Arabic row and the text bitmap of a translation row, each
// under everything it was drawn for, so a row takes one only when it would
// draw exactly the same. A row takes its bitmap out of the store; what stays
// is dropped once its row is no longer ahead. Main thread only.
#include <cstddef>
#include <memory>
#include <vector>

#include "Classes/reading/KeptTextLabel.h"

class ArabicFont;
class ArabicVerseMeta;
namespace cg {
class Image;
}

class PreparedRows {
 public:
  // What a verse bitmap was drawn for.
  struct VerseKey {
    const ArabicVerseMeta* record = nullptr;
    const ArabicFont* font = nullptr;
    float width = 0, height = 0, scale = 0;
    friend bool operator==(const VerseKey&, const VerseKey&) = default;
  };

  void keepVerse(int row, const VerseKey& key, std::shared_ptr<cg::Image> image);
  void keepText(int row, const KeptTextLabel::Key& key, std::shared_ptr<cg::Image> image);
  // The bitmap prepared for the key, taken out of the store; null when none.
  std::shared_ptr<cg::Image> takeVerse(const VerseKey& key);
  std::shared_ptr<cg::Image> takeText(const KeptTextLabel::Key& key);

  // Notes a row that has no bitmap to prepare (a heading, an empty text).
  void keepNothing(int row);
  // Whether the row was prepared (or has nothing to prepare).
  bool hasRow(int row) const;
  // Drops every bitmap of a row outside first..last.
  void keepOnly(int first, int last);
  void clear();

  std::size_t count() const { return verses_.size() + texts_.size(); }
  // The pixels' bytes held.
  std::size_t bytes() const;
  // Bitmaps a row took instead of drawing its own (for tests and measuring).
  std::size_t taken() const { return taken_; }

 private:
  template <class Key>
  struct Entry {
    int row = 0;
    Key key;
    std::shared_ptr<cg::Image> image;
  };
  std::vector<Entry<VerseKey>> verses_;
  std::vector<Entry<KeptTextLabel::Key>> texts_;
  std::vector<int> empty_;
  std::size_t taken_ = 0;
};
