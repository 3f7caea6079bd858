// contentdb: builds the content database zarvel.db from quran-json 3.1.2 and
// the Amiri Quran font, or checks a built one.
//   contentdb --data <quran-json dist/> --font <AmiriQuran.ttf> --out <zarvel.db>
//   contentdb --check <zarvel.db> --font <AmiriQuran.ttf>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/contentdb/Checks.h"
#include "tools/contentdb/ContentDb.h"
#include "tools/contentdb/Inputs.h"
#include "tools/contentdb/Sqlite.h"

using namespace contentdb;

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: contentdb --data <dist dir> --font <font> --out <database>\n"
               "       contentdb --check <database> --font <font>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string data, font, out, check;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string opt = argv[i], value = argv[i + 1];
    if (opt == "--data") data = value;
    else if (opt == "--font") font = value;
    else if (opt == "--out") out = value;
    else if (opt == "--check") check = value;
    else return usage();
  }
  if (argc % 2 == 0 || font.empty() || (check.empty() && (data.empty() || out.empty()))) return usage();
  try {
    auto start = std::chrono::steady_clock::now();
    if (!check.empty()) {
      verifyFont(font);
      Database db(check, false);
      GlyphRenderer renderer(font);
      checkDatabase(db, [&](int code, int grp) { return renderer.kasraRow(code, grp); });
      std::printf("contentdb: %s passes every check\n", check.c_str());
      return 0;
    }
    buildDatabase(data, font, out);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("contentdb: wrote %s (%.1f MB) in %.1f s\n", out.c_str(),
                std::filesystem::file_size(out) / 1e6, seconds);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "contentdb: %s\n", e.what());
    return 1;
  }
  return 0;
}
