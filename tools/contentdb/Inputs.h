#pragma once
// The pinned inputs of the builder: the files of quran-json 3.1.2 it reads and
// the Amiri Quran font. Any other version changes the text or every bitmap, so
// a mismatch stops the build.
#include <stdexcept>
#include <string>
#include <vector>

namespace contentdb {

class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PinnedFile {
  std::string name;    // file name inside the package's dist/ folder
  std::string sha256;  // lower-case hex
};

// Every file of the package the builder reads, with its digest.
const std::vector<PinnedFile>& pinnedTextFiles();

inline constexpr const char* kFontVersion = "Version 0.113";
inline constexpr const char* kFontSha256 =
    "4b6042256d04ed5a63cf9aa24c326e1e8f52497d90672c98390ae85079820e9a";

// SHA-256 of a file's bytes, lower-case hex; throws InputError when unreadable.
std::string sha256File(const std::string& path);

// Throws InputError naming the file and both digests when they differ.
void verifyDigest(const std::string& path, const std::string& expected);

// The font's version string (name record 5).
std::string fontVersionString(const std::string& fontPath);

// Checks the font's version string and digest against the pins.
void verifyFont(const std::string& fontPath, const std::string& version = kFontVersion,
                const std::string& sha256 = kFontSha256);

// Reads a whole file; throws InputError when unreadable.
std::string readFile(const std::string& path);

}  // namespace contentdb
