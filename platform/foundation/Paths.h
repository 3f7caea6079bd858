#pragma once
// Where the application's files live, and path text helpers.
//   documents: $XDG_DATA_HOME/zarvel   (default ~/.local/share/zarvel)
//   caches:    $XDG_CACHE_HOME/zarvel  (default ~/.cache/zarvel)
//   config:    $XDG_CONFIG_HOME/zarvel (default ~/.config/zarvel)
// ZARVEL_HOME moves all three under it: documents/, caches/, config/.
// The directories are not created here (see createDirectory).
#include <string>
#include <string_view>

namespace ns {

std::string documentsDirectory();
std::string cachesDirectory();
std::string configDirectory();
// The bundle's resource folder: $ZARVEL_RESOURCES, else the build's resources folder.
std::string resourceDirectory();
// Where this build put its resources, and the source tree it was built from
// (tests, benchmarks and tools read fixtures from both). Only the one file
// that defines these knows the build's paths, so every other object file is
// the same whatever folder the tree was built in.
std::string builtResourceDirectory();
std::string sourceDirectory();
// A folder for temporary files ($TMPDIR or /tmp).
std::string temporaryDirectory();

// "a" + "b" = "a/b", without doubled or missing separators; an absolute
// second part is still appended ("a" + "/b" = "a/b").
std::string pathJoin(std::string_view a, std::string_view b);
template <class... More>
std::string pathJoin(std::string_view a, std::string_view b, std::string_view c, More&&... more) {
  return pathJoin(pathJoin(a, b), c, std::forward<More>(more)...);
}
std::string lastPathComponent(std::string_view path);
std::string deletingLastPathComponent(std::string_view path);
std::string pathExtension(std::string_view path);            // "mp3" of "a/b.mp3"
std::string deletingPathExtension(std::string_view path);
// True when the name is one path component that cannot leave its folder
// (not empty, no "/", not "." or "..", no NUL).
bool isSafePathComponent(std::string_view name);

}  // namespace ns
