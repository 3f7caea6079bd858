// recitation-archive: packs a folder of per-verse MP3s ("SSSVVV.mp3") into a
// mirror's layout, per verse and continuous, for serving as a local mirror.
//   recitation-archive --in FOLDER --out MIRROR --reciter N [--per-verse] [--continuous]
//                      [--surah S]... [--content-db zarvel.db]
// Without --per-verse or --continuous both are made. The continuous parts'
// verse times go to MIRROR/timings.sql, and into the content database when
// one is named (its rows for those surahs and that reciter replaced).
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "Classes/core/ChapterInfo.h"
#include "tools/recitation-archive/RecitationPacker.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: recitation-archive --in FOLDER --out MIRROR --reciter 0-8 [--per-verse] [--continuous] "
               "[--surah S]... [--content-db FILE]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string in, out, contentDb;
  int reciter = -1;
  bool perVerse = false, continuous = false;
  std::vector<int> surahs;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--in") in = value();
    else if (a == "--out") out = value();
    else if (a == "--reciter") reciter = std::atoi(value().c_str());
    else if (a == "--surah") surahs.push_back(std::atoi(value().c_str()));
    else if (a == "--content-db") contentDb = value();
    else if (a == "--per-verse") perVerse = true;
    else if (a == "--continuous") continuous = true;
    else return usage();
  }
  if (in.empty() || out.empty() || reciter < 0 || reciter > 8 || reciter == 7) return usage();
  if (!perVerse && !continuous) perVerse = continuous = true;
  auto result = recitation_packer::pack(in, out, reciter, perVerse, continuous, surahs);
  if (!result.error.empty()) {
    std::fprintf(stderr, "recitation-archive: %s\n", result.error.c_str());
    return 1;
  }
  for (const auto& archive : result.archives) std::printf("%s\n", archive.c_str());
  if (!result.timingsSQL.empty()) {
    std::ofstream(out + "/timings.sql") << result.timingsSQL;
    if (!contentDb.empty()) {
      sqlite3* db = nullptr;
      int hq = ChapterInfo::getRemoteReciterHQCode(reciter);
      std::string sql = "BEGIN;";
      for (int s = 1; s <= 114; ++s)
        if (result.timingsSQL.find(", " + std::to_string(s) + ", ") != std::string::npos)
          for (const char* table : {"audioparts", "audiotimings"})
            sql += "DELETE FROM " + std::string(table) + " WHERE reciter = " + std::to_string(hq) +
                   " AND surah = " + std::to_string(s) + ";";
      sql += result.timingsSQL + "COMMIT;";
      char* message = nullptr;
      if (sqlite3_open(contentDb.c_str(), &db) != SQLITE_OK ||
          sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::fprintf(stderr, "recitation-archive: %s: %s\n", contentDb.c_str(), message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        sqlite3_close(db);
        return 1;
      }
      sqlite3_close(db);
    }
  }
  return 0;
}
