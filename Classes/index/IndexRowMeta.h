#pragma once
// One hizb quarter as the sectioned index shows it: the opening text of its
// first verse, where that verse is, and whether the current reciter's
// recitation of its surah is installed. Built by the index controller.
#include <memory>
#include <string>

class IndexRowMeta {
 public:
  std::string Title;
  bool HasAudioInstalled = false;
  int Surah = 1;
  int Verse = 1;
};

using IndexRowMetaPtr = std::shared_ptr<IndexRowMeta>;
