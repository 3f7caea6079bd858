#include "Classes/reading/PreparedRows.h"

#include <algorithm>

#include "platform/graphics/Image.h"

namespace {

template <class Entries, class Key>
std::shared_ptr<cg::Image> take(Entries& entries, const Key& key, std::size_t& taken) {
  auto it = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.key == key; });
  if (it == entries.end()) return nullptr;
  auto image = std::move(it->image);
  entries.erase(it);
  ++taken;
  return image;
}

template <class Entries, class Key>
void keep(Entries& entries, int row, const Key& key, std::shared_ptr<cg::Image> image) {
  if (!image) return;
  std::erase_if(entries, [&](const auto& e) { return e.row == row || e.key == key; });
  entries.push_back({row, key, std::move(image)});
}

template <class Entries>
std::size_t bytesOf(const Entries& entries) {
  std::size_t n = 0;
  for (const auto& e : entries) n += std::size_t(e.image->width()) * std::size_t(e.image->height()) * 4;
  return n;
}

}  // namespace

void PreparedRows::keepVerse(int row, const VerseKey& key, std::shared_ptr<cg::Image> image) {
  keep(verses_, row, key, std::move(image));
}

void PreparedRows::keepText(int row, const KeptTextLabel::Key& key, std::shared_ptr<cg::Image> image) {
  keep(texts_, row, key, std::move(image));
}

std::shared_ptr<cg::Image> PreparedRows::takeVerse(const VerseKey& key) { return take(verses_, key, taken_); }

std::shared_ptr<cg::Image> PreparedRows::takeText(const KeptTextLabel::Key& key) { return take(texts_, key, taken_); }

void PreparedRows::keepNothing(int row) {
  if (!hasRow(row)) empty_.push_back(row);
}

bool PreparedRows::hasRow(int row) const {
  auto at = [row](const auto& e) { return e.row == row; };
  return std::any_of(verses_.begin(), verses_.end(), at) || std::any_of(texts_.begin(), texts_.end(), at) ||
         std::find(empty_.begin(), empty_.end(), row) != empty_.end();
}

void PreparedRows::keepOnly(int first, int last) {
  auto outside = [=](const auto& e) { return e.row < first || e.row > last; };
  std::erase_if(verses_, outside);
  std::erase_if(texts_, outside);
  std::erase_if(empty_, [=](int row) { return row < first || row > last; });
}

void PreparedRows::clear() {
  verses_.clear();
  texts_.clear();
  empty_.clear();
}

std::size_t PreparedRows::bytes() const { return bytesOf(verses_) + bytesOf(texts_); }
