// artwork: draws every image the screens name into the resource folder, at
// scale 1 and 2, or a contact sheet of them all for review.
//   artwork [--quran-json <quran.json>] --out <resource dir>
//   artwork [--quran-json <quran.json>] --sheet <sheet.png>
// The Quran text defaults to the one the build was configured with.
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "tools/artwork/Render.h"

using namespace artwork;

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: artwork [--quran-json <quran.json>] --out <resource dir>\n"
               "       artwork [--quran-json <quran.json>] --sheet <sheet.png>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string quranJson = ZARVEL_QURAN_JSON, out, sheet;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string opt = argv[i], value = argv[i + 1];
    if (opt == "--quran-json") quranJson = value;
    else if (opt == "--out") out = value;
    else if (opt == "--sheet") sheet = value;
    else return usage();
  }
  if (argc % 2 == 0 || quranJson.empty() || (out.empty() == sheet.empty())) return usage();
  try {
    auto start = std::chrono::steady_clock::now();
    Catalog table = catalog(loadSources(quranJson));
    if (!sheet.empty()) {
      writeSheet(table, sheet);
      std::printf("artwork: wrote the contact sheet %s (%zu images)\n", sheet.c_str(), table.size());
      return 0;
    }
    writeAll(table, out);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("artwork: drew %zu images at two scales into %s in %.2f s\n", table.size(), out.c_str(), seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "artwork: %s\n", e.what());
    return 1;
  }
  return 0;
}
