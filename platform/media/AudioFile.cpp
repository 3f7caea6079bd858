#include "platform/media/AudioFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace av {

bool writeAudioFile(const std::string& path, const ns::Data& data, std::string* error) {
  std::string temp = path + ".part";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  int failure = fd < 0 ? errno : 0;
  for (std::size_t done = 0; !failure && done < data.size();) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) failure = n < 0 ? errno : EIO;
    else done += std::size_t(n);
  }
  if (fd >= 0 && ::close(fd) != 0 && !failure) failure = errno;
  if (!failure && ::rename(temp.c_str(), path.c_str()) != 0) failure = errno;
  if (failure) {
    ::unlink(temp.c_str());
    if (error) *error = std::strerror(failure);
    return false;
  }
  return true;
}

}  // namespace av
