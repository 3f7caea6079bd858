#pragma once
// Packs a folder of per-verse MP3 files named "SSSVVV.mp3" (surah and verse as
// three digits, verse 0 the opening formula) into the layout the reader
// downloads from a mirror:
//   <out>/downloads/iphone/audiov2.2/<folder>/<SSS>.tar.gz   one MP3 per verse
//   <out>/downloads/iphone/audioCont/<folder>/<SSS>.tar.gz   the surah's parts "SSS-PP.mp3"
// where <folder> is the reciter's mirror folder. A continuous part is the
// verses of its share of the surah decoded and encoded again as one MP3, and
// the verses' places in the parts (audioparts) and begin times (audiotimings)
// are written as SQL for the content database.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace recitation_packer {

// One member of a tar archive.
struct Member {
  std::string name;
  std::vector<std::uint8_t> data;
};

// A POSIX ustar archive of the members (regular files, mode 0644), ending in
// two zero blocks and padded to a multiple of 10240 bytes.
std::vector<std::uint8_t> tarArchive(const std::vector<Member>& members);
// The bytes gzip-compressed (a gzip file's framing).
std::vector<std::uint8_t> gzip(const std::vector<std::uint8_t>& bytes);

// Where each verse of a surah goes in continuous form: part 1 to `parts`, the
// verses (0 first, where the surah has it) shared out in order.
std::map<int, int> partOfVerse(int surah, int parts);

struct Result {
  std::vector<std::string> archives;  // the files written
  std::string timingsSQL;             // audioparts and audiotimings rows
  std::string error;                  // empty when all went well
};

// Packs the surahs found in `in` (all of them when `surahs` is empty) for the
// reciter, per verse and/or continuous.
Result pack(const std::string& in, const std::string& out, int reciter, bool perVerse, bool continuous,
            const std::vector<int>& surahs = {});

// The length in seconds of an MP3 as decoded; -1 when it is no MP3.
double mp3Seconds(const std::vector<std::uint8_t>& mp3);

}  // namespace recitation_packer
