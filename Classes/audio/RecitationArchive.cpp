#include "Classes/audio/RecitationArchive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <fstream>
#include <string_view>

#include "Classes/core/ChapterInfo.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace {

constexpr std::size_t kBlock = 512;

bool allZero(const unsigned char* block) {
  for (std::size_t i = 0; i < kBlock; ++i)
    if (block[i]) return false;
  return true;
}

// An octal field of the header (spaces and NULs end it); -1 when it holds no digits.
long long octal(const unsigned char* field, std::size_t size) {
  std::size_t i = 0;
  while (i < size && field[i] == ' ') ++i;
  long long value = 0;
  bool any = false;
  for (; i < size && field[i] >= '0' && field[i] <= '7'; ++i) {
    value = value * 8 + (field[i] - '0');
    any = true;
    if (value > (1ll << 40)) return -1;
  }
  return any ? value : -1;
}

// The header's checksum with the eight checksum bytes read as spaces, the
// bytes taken as signed values.
bool checksumMatches(const unsigned char* header) {
  long long stored = octal(header + 148, 8);
  long long sum = 0;
  for (std::size_t i = 0; i < kBlock; ++i)
    sum += (i >= 148 && i < 156) ? ' ' : static_cast<signed char>(header[i]);
  return stored >= 0 && stored == sum;
}

std::string memberName(const unsigned char* header) {
  std::string name;
  for (std::size_t i = 0; i < 100 && header[i] && !std::isspace(header[i]); ++i) name.push_back(char(header[i]));
  return name;
}

bool set(std::string* error, std::string why) {
  if (error) *error = std::move(why);
  return false;
}

}  // namespace

void untar_warn(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::fputs(buffer, stderr);
}

void untar_report_errno(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::fprintf(stderr, "%s: %s\n", buffer, std::strerror(errno));
}

bool gunzip_stream(void* stream, std::FILE* out, std::uint64_t maxBytes, std::string* error) {
  gzFile in = static_cast<gzFile>(stream);
  std::uint64_t total = 0;
  char buffer[16384];
  for (;;) {
    int n = gzread(in, buffer, sizeof buffer);
    if (n < 0) {
      int code = 0;
      return set(error, std::string("the archive is not readable gzip data: ") + gzerror(in, &code));
    }
    if (n == 0) break;
    total += std::uint64_t(n);
    if (total > maxBytes) return set(error, "the archive unpacks to more than its surah can hold");
    if (std::fwrite(buffer, 1, std::size_t(n), out) != std::size_t(n)) return set(error, "failed fwrite");
  }
  return true;
}

bool gunzip_file(const char* path, std::uint64_t maxBytes, std::string* error) {
  std::string name = path ? path : "";
  if (name.size() >= 1024) return set(error, "the archive's path is too long");
  std::string input, output;
  if (name.size() >= 4 && name.compare(name.size() - 3, 3, ".gz") == 0) {
    input = name;
    output = name.substr(0, name.size() - 3);
  } else {
    input = name + ".gz";
    output = name;
  }
  gzFile in = gzopen(input.c_str(), "rb");
  if (!in) return set(error, "can't gzopen " + input);
  // Only gzip data: a file that is not compressed would be copied as it is.
  if (gzdirect(in)) {
    gzclose(in);
    return set(error, "the archive is not gzip data");
  }
  std::FILE* out = std::fopen(output.c_str(), "wb");
  if (!out) {
    gzclose(in);
    return set(error, output + ": " + std::strerror(errno));
  }
  bool ok = gunzip_stream(in, out, maxBytes, error);
  if (std::fclose(out) != 0 && ok) ok = set(error, "failed fclose");
  // A stream cut short reads as a clean end: its close tells.
  int closed = gzclose(in);
  if (ok && closed == Z_BUF_ERROR) ok = set(error, "the archive ends before its gzip stream does");
  else if (ok && closed != Z_OK) ok = set(error, "failed gzclose");
  if (!ok) {
    std::remove(output.c_str());
    return false;
  }
  std::remove(input.c_str());
  return true;
}

int untar_entry(std::FILE* archive, const unsigned char* header, const char* destination,
                const std::set<std::string>& expected, std::uint64_t maxBytes, std::uint64_t* written,
                std::string* error) {
  auto failed = [error](std::string why) {
    if (error) *error = std::move(why);
    return -1;
  };
  if (!checksumMatches(header)) return failed("a member's header is damaged (bad checksum)");
  long long size = octal(header + 124, 12);
  if (size < 0) return failed("a member's header has no size");
  std::string name = memberName(header);
  if (name.rfind("./", 0) == 0) name.erase(0, 2);
  char type = char(header[156]);
  if (type == '5') {
    // Directories are never made: only the top level is read.
    if (!name.empty() && name.back() == '/') name.pop_back();
    if (!name.empty() && !ns::isSafePathComponent(name)) return failed("a member's name leaves its folder: " + name);
    return size == 0 ? 0 : failed("a directory member has data");
  }
  if (type != '0') return failed(ns::format("a member is not a plain file (type '%c'): %s", type ? type : '0', name.c_str()));
  if (!ns::isSafePathComponent(name)) return failed("a member's name leaves its folder: " + name);
  bool keep = expected.count(name) > 0;
  if (keep && *written + std::uint64_t(size) > maxBytes) return failed("the archive holds more than its surah can");
  int fd = -1;
  if (keep) {
    std::string path = std::string(destination) + "/" + name;
    // A new file: never over an existing one, never through a link.
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return failed("a member could not be written (" + name + "): " + std::strerror(errno));
  }
  unsigned char block[kBlock];
  for (long long left = size; left > 0; left -= static_cast<long long>(kBlock)) {
    if (std::fread(block, 1, kBlock, archive) != kBlock) {
      if (fd >= 0) ::close(fd);
      return failed("the archive ends inside a member: " + name);
    }
    std::size_t n = std::size_t(std::min<long long>(left, static_cast<long long>(kBlock)));
    if (fd >= 0 && ::write(fd, block, n) != ssize_t(n)) {
      ::close(fd);
      return failed("failed write of " + name);
    }
  }
  if (fd >= 0) {
    if (::close(fd) != 0) return failed("failed close of " + name);
    *written += std::uint64_t(size);
  }
  return 0;
}

int untar_archive(std::FILE* archive, const char* deletePath, const char* destination,
                  const std::set<std::string>& expected, std::uint64_t maxBytes, std::string* error) {
  unsigned char block[kBlock];
  std::uint64_t written = 0;
  bool ended = false;
  while (std::fread(block, 1, kBlock, archive) == kBlock) {
    if (allZero(block)) {
      ended = true;
      break;
    }
    if (untar_entry(archive, block, destination, expected, maxBytes, &written, error) != 0) return -1;
  }
  if (!ended) {
    untar_warn("tar: zero blocks not found\n");
    if (error) *error = "the archive ends without its end blocks";
    return -1;
  }
  if (std::fread(block, 1, kBlock, archive) != kBlock) {
    if (error) *error = "the archive ends without its end blocks";
    return -1;
  }
  if (!allZero(block)) untar_warn("tar: not enough zero blocks\n");
  long position = std::ftell(archive);
  if (std::fseek(archive, 0, SEEK_END) == 0 && std::ftell(archive) % 10240 != 0)
    untar_warn("tar: not eough padding blocks at the end\n");
  std::fseek(archive, position, SEEK_SET);
  if (deletePath) std::remove(deletePath);
  return 0;
}

namespace recitation_archive {

std::set<std::string> memberNames(int surah, bool continuous, int parts, int verses) {
  std::set<std::string> names;
  if (continuous) {
    for (int p = 1; p <= parts; ++p) names.insert(ns::format("%03d-%02d.mp3", surah, p));
  } else {
    for (int v = 0; v <= verses; ++v) names.insert(ns::format("%03d%03d.mp3", surah, v));
  }
  return names;
}

std::uint64_t sizeCap(int verses) { return (std::uint64_t(verses) + 32) * 2 * 1024 * 1024; }

bool install(sqlite3* db, const std::string& archive, int surah, int reciter, bool continuous, std::string* error) {
  std::string dir = ns::deletingLastPathComponent(archive);
  std::string tar = ns::pathJoin(dir, ns::format("%i.tar", surah));
  std::string folder = ns::pathJoin(dir, ns::format("%i", surah));
  ns::removeItem(folder);
  ns::createDirectory(folder);
  struct Cleanup {
    std::string archive, tar, folder;
    ~Cleanup() {
      std::remove(archive.c_str());
      std::remove(tar.c_str());
      ns::removeItem(folder);
    }
  } cleanup{archive, tar, folder};

  int verses = ChapterInfo::getVersesFromNumber(surah);
  int parts = ChapterInfo::getTotalPartsForChapter(surah);
  if (!gunzip_file(archive.c_str(), sizeCap(verses), error)) return false;
  std::FILE* in = std::fopen(tar.c_str(), "rb");
  if (!in) {
    ns::log("FILE NOT OPENED");
    return set(error, "the unpacked archive could not be opened");
  }
  auto expected = memberNames(surah, continuous, parts, verses);
  int extracted = untar_archive(in, archive.c_str(), folder.c_str(), expected, sizeCap(verses), error);
  std::fclose(in);
  if (extracted != 0) return false;

  std::string openingFormula = ns::format("%03d000.mp3", surah);
  for (const auto& name : expected)
    if (!ns::fileExists(ns::pathJoin(folder, name)) && (continuous || name != openingFormula))
      return set(error, "the archive lacks " + name);
  if (!db || !ChapterInfo::beginTrans(db)) {
    if (db) ChapterInfo::rollbackTrans(db);
    return set(error, "the recitation store could not be opened for writing");
  }
  bool stored = true;
  int hq = ChapterInfo::getRemoteReciterHQCode(reciter);
  for (int index = continuous ? 1 : 0; stored && index <= (continuous ? parts : verses); ++index) {
    std::string name = continuous ? ns::format("%03d-%02d.mp3", surah, index) : ns::format("%03d%03d.mp3", surah, index);
    std::ifstream file(ns::pathJoin(folder, name), std::ios::binary);
    if (!file) continue;  // the opening formula may be absent
    ns::Data mp3((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    stored = continuous ? ChapterInfo::insertContMP3Blob(db, surah, index, hq, mp3)
                        : ChapterInfo::insertMP3Blob(db, surah, index, reciter, mp3);
  }
  stored = stored && ChapterInfo::markAudioAsInstalled(db, surah, reciter);
  if (stored && continuous)
    stored = ChapterInfo::deleteAudioMP3(db, surah, reciter) &&
             ChapterInfo::markContAudioAsInstalled(db, surah, hq, reciter == 1);
  if (!stored) {
    ChapterInfo::rollbackTrans(db);
    return set(error, "the recitation could not be stored");
  }
  if (!ChapterInfo::commitTrans(db)) return set(error, "the recitation could not be stored");
  return true;
}

}  // namespace recitation_archive
