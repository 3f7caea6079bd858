#pragma once
// The application's own folders (documents, config, caches): private to the
// person who runs it, since they hold notes and reading habits, and cleared
// at start of the temporary files that a process ended between writing and
// renaming (".<name>.tmp<digits>") left behind. Called once at start by the
// program's entry, before anything is written.
#include <string>
#include <vector>

namespace ui {

class DataFolders {
 public:
  // The documents, config and caches folders.
  static std::vector<std::string> all();

  // Creates the folders when missing and takes from them, and from
  // everything inside, what other users may do (folders 0700, files without
  // group or other permissions). What could not be changed, each with the
  // reason (empty when all is private).
  static std::vector<std::string> makePrivate();

  // Removes from the folders (not their subfolders) the temporary files of
  // interrupted atomic writes last changed more than `olderThan` seconds ago,
  // so that one being written now by another process is left alone. The
  // number removed.
  static int removeStaleTemporaries(double olderThan = 60);
};

}  // namespace ui
