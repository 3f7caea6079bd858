// The Quran text's data the images need, read apart from the drawing: the
// JSON reader is the slowest header of the tool to compile.
#include <nlohmann/json.hpp>

#include "Classes/core/ChapterInfo.h"
#include "tools/artwork/Render.h"
#include "tools/contentdb/Inputs.h"

namespace artwork {

Sources loadSources(const std::string& quranJsonPath) {
  for (const auto& pinned : contentdb::pinnedTextFiles())
    if (pinned.name == "quran.json") contentdb::verifyDigest(quranJsonPath, pinned.sha256);
  Sources sources;
  try {
    auto chapters = nlohmann::json::parse(contentdb::readFile(quranJsonPath));
    for (const auto& chapter : chapters) sources.surahNames.push_back(chapter.at("name").get<std::string>());
    const auto& first = chapters.at(0).at("verses");
    sources.basmala = first.at(0).at("text").get<std::string>();
    sources.sampleVerse = first.at(1).at("text").get<std::string>();
  } catch (const nlohmann::json::exception& e) {
    throw ArtworkError(quranJsonPath + ": " + e.what());
  }
  if (sources.surahNames.size() != 114)
    throw ArtworkError(quranJsonPath + ": " + std::to_string(sources.surahNames.size()) + " surahs, not 114");
  for (int surah = 1; surah <= 114; ++surah)
    sources.nameOffsets.push_back(ChapterInfo::getSurahNameOffsetForAlignment(surah));
  return sources;
}

}  // namespace artwork
