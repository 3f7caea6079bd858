#pragma once
// The mirrors recitation archives are downloaded from: up to six base
// addresses ("http://host[:port][/path]"), read at launch from the file
// "RecitationMirrors.txt" in the data folder, one address a line ('#' starts a
// comment), or from the environment variable ZARVEL_RECITATION_MIRRORS (the
// addresses separated by spaces or commas), which wins when set. The download
// sheet names them "Mirror 1" to "Mirror 6" as the mirrors are numbered there.
#include <optional>
#include <string>
#include <vector>

class RecitationMirrors {
 public:
  static constexpr int kMaxMirrors = 6;
  static constexpr const char* kFileName = "RecitationMirrors.txt";
  static constexpr const char* kEnvironmentVariable = "ZARVEL_RECITATION_MIRRORS";

  // The list in force, read on first use (and again after reload()).
  static const RecitationMirrors& shared();
  static void reload();

  // Reads the addresses of a text: valid http or https addresses, in order,
  // without a trailing slash, the first six kept; the others are reported.
  static RecitationMirrors parse(const std::string& text, const std::string& source);

  const std::vector<std::string>& baseURLs() const { return baseURLs_; }
  bool empty() const { return baseURLs_.empty(); }
  int count() const { return int(baseURLs_.size()); }
  // Mirror 1 to count(); empty outside.
  std::string baseURL(int mirror) const;
  // Why the list is empty or lines were left out ("" when all is well).
  const std::string& problem() const { return problem_; }
  // Where the list came from.
  const std::string& source() const { return source_; }

 private:
  std::vector<std::string> baseURLs_;
  std::string problem_;
  std::string source_;
};
