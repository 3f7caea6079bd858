#pragma once
// "Sajdas" of the More tab: the fifteen verses of prostration in the Arabic
// text, by surah, as the supplication themes show their verses; the four
// obligatory ones in green, which the legend under the list says. Main
// thread only.
#include <vector>

#include "Classes/settings/SupplicationsDetailsController.h"

class SajdaViewController : public SupplicationsDetailsController {
 public:
  static constexpr int kVerseCount = 15;
  // The references in order, and which are obligatory (1).
  static const std::vector<std::string>& sajdaVerses();
  static const std::vector<int>& obligatory();

  void viewDidLoad() override;

  const std::vector<int>& arrCompuls() const { return arrCompuls_; }

 protected:
  void prepareVerse(SearchResult& verse, size_t position) override;

 private:
  std::vector<int> arrCompuls_;
};
