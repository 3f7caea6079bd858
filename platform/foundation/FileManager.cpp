#include "platform/foundation/FileManager.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/foundation/Paths.h"

namespace fs = std::filesystem;

namespace ns {

namespace {

// Sets the reason when one was asked for; answers false for chaining.
bool fail(std::string* error, const std::string& reason) {
  if (error) *error = reason;
  return false;
}

}  // namespace

bool fileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool createDirectory(const std::string& path, std::string* error) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (ec) return fail(error, ec.message());
  return fs::is_directory(path, ec) || fail(error, "not a folder");
}

bool removeItem(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
  return !ec && !fs::exists(fs::symlink_status(path, ec));
}

bool copyItem(const std::string& from, const std::string& to, std::string* error) {
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) return fail(error, ec ? ec.message() : "not a file");
  if (fs::exists(to, ec)) return fail(error, "the destination exists");
  if (!fs::copy_file(from, to, fs::copy_options::none, ec) || ec) return fail(error, ec.message());
  return true;
}

bool moveItem(const std::string& from, const std::string& to, std::string* error) {
  std::error_code ec;
  if (!fs::exists(from, ec)) return fail(error, ec ? ec.message() : "no such file");
  if (fs::exists(to, ec)) return fail(error, "the destination exists");
  fs::rename(from, to, ec);
  return !ec || fail(error, ec.message());
}

std::vector<std::string> contentsOfDirectory(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
    names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::uint64_t> fileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_size);
}

std::optional<std::string> pathInsideFolder(const std::string& folder, const std::string& relativePath) {
  if (folder.empty() || relativePath.find('\0') != std::string::npos) return std::nullopt;
  std::error_code error;
  fs::path root = fs::canonical(folder, error);
  if (error) return std::nullopt;
  fs::path resolved = fs::canonical(pathJoin(root.string(), relativePath), error);
  if (error) return std::nullopt;
  // Compared component by component, so "/a/bc" is not taken for inside "/a/b".
  auto [rootEnd, inside] = std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end());
  if (rootEnd != root.end()) return std::nullopt;
  return resolved.string();
}

std::optional<Data> readFile(const std::string& path, std::uint64_t maxBytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return std::nullopt;
  }
  Data data;
  data.reserve(static_cast<std::size_t>(st.st_size));
  std::uint8_t buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    // The file may grow while read: the cap holds for what is read, not only the size seen.
    if (data.size() + static_cast<std::size_t>(n) > maxBytes) {
      ::close(fd);
      return std::nullopt;
    }
    data.insert(data.end(), buf, buf + n);
  }
  ::close(fd);
  return data;
}

bool writeFileAtomically(const std::string& path, const Data& data, std::string* error) {
  std::string dir = deletingLastPathComponent(path);
  if (dir.empty()) dir = ".";
  std::random_device rd;
  std::string temp = pathJoin(dir, "." + lastPathComponent(path) + ".tmp" + std::to_string(rd()));
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);  // the person's own
  if (fd < 0) return fail(error, std::strerror(errno));
  int failure = 0;  // errno of the first step that failed
  std::size_t done = 0;
  while (!failure && done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) failure = n < 0 ? errno : ENOSPC;
    else done += static_cast<std::size_t>(n);
  }
  if (!failure && ::fsync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && !failure) failure = errno;
  if (!failure && ::rename(temp.c_str(), path.c_str()) != 0) failure = errno;
  if (failure) {
    ::unlink(temp.c_str());
    return fail(error, std::strerror(failure));
  }
  // Make the rename itself durable.
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

bool writeFileAtomically(const std::string& path, std::string_view text, std::string* error) {
  return writeFileAtomically(path, Data(text.begin(), text.end()), error);
}

}  // namespace ns

namespace ns {

std::optional<double> modificationDate(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return double(st.st_mtim.tv_sec) + double(st.st_mtim.tv_nsec) / 1e9;
}

bool setModificationDate(const std::string& path, double secondsSince1970) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;  // access time unchanged
  double whole = std::floor(secondsSince1970);
  times[1].tv_sec = static_cast<time_t>(whole);
  times[1].tv_nsec = static_cast<long>((secondsSince1970 - whole) * 1e9);
  return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace ns
