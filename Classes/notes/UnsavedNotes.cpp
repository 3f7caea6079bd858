#include "Classes/notes/UnsavedNotes.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "Classes/core/ChapterInfo.h"
#include "platform/foundation/Calendar.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

namespace {

// Never destroyed: an editor released during the process's exit still finds it.
std::map<int, UnsavedNotes::Source>& sources() {
  static auto* list = new std::map<int, UnsavedNotes::Source>;
  return *list;
}
int gNextId = 1;

ns::DateComponents now() { return ns::Calendar::components(ns::Date(ns::Clock::current().now())); }

// Appends the note under a heading naming the verse and the time; false when
// the file cannot be written.
bool keepAside(const UnsavedNotes::Note& note) {
  ns::DateComponents c = now();
  std::string name = ChapterInfo::getNameFromNumber(note.surah);
  std::string block = ns::format("%s %d:%d (%04d-%02d-%02d %02d:%02d)\n", name.c_str(), note.surah, note.verse,
                                 c.year, c.month, c.day, c.hour, c.minute) +
                      note.text + "\n\n";
  ns::createDirectory(ns::documentsDirectory());
  int fd = ::open(UnsavedNotes::keptFilePath().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool written = true;
  for (std::size_t done = 0; written && done < block.size();) {
    ssize_t n = ::write(fd, block.data() + done, block.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) written = false;
    else done += std::size_t(n);
  }
  written = ::fsync(fd) == 0 && written;
  return ::close(fd) == 0 && written;
}

}  // namespace

UnsavedNotes::Registration::Registration(Source source) : id_(gNextId++) { sources()[id_] = std::move(source); }

UnsavedNotes::Registration::~Registration() {
  if (id_) sources().erase(id_);
}

UnsavedNotes::Registration::Registration(Registration&& other) noexcept : id_(std::exchange(other.id_, 0)) {}

UnsavedNotes::Registration& UnsavedNotes::Registration::operator=(Registration&& other) noexcept {
  if (this != &other) {
    if (id_) sources().erase(id_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

int UnsavedNotes::saveAll() {
  int kept = 0;
  std::vector<int> ids;
  for (const auto& entry : sources()) ids.push_back(entry.first);
  for (int id : ids) {
    auto it = sources().find(id);
    if (it == sources().end()) continue;  // an earlier save closed that editor
    std::optional<Note> note = it->second();
    if (!note || (note->save && note->save())) continue;
    ns::logf("ERROR - [%s] The note of %i:%i could not be stored at exit", ns::logTimestamp().c_str(), note->surah,
             note->verse);
    if (keepAside(*note)) {
      ++kept;
      continue;
    }
    // The last place left: the log, which the session keeps.
    ns::logf("ERROR - [%s] The note of %i:%i could not be kept in %s either; its text:\n%s",
             ns::logTimestamp().c_str(), note->surah, note->verse, keptFilePath().c_str(), note->text.c_str());
  }
  return kept;
}

std::string UnsavedNotes::keptFilePath() { return ns::pathJoin(ns::documentsDirectory(), "unsaved-notes.txt"); }

std::string UnsavedNotes::takeKeptFile() {
  std::string path = keptFilePath();
  if (!ns::fileExists(path)) return {};
  ns::DateComponents c = now();
  std::string stem = ns::pathJoin(ns::documentsDirectory(), ns::format("unsaved-notes-%04d%02d%02d-%02d%02d%02d", c.year,
                                                                      c.month, c.day, c.hour, c.minute, c.second));
  std::string dated = stem + ".txt";
  for (int n = 2; ns::fileExists(dated); ++n) dated = stem + ns::format("-%d.txt", n);
  return ns::moveItem(path, dated) ? dated : path;
}
