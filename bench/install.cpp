// Installing a downloaded surah: our set-up (gunzip, untar into a folder,
// every MP3 stored gzip-compressed in the user database in one transaction,
// the surah marked installed) next to `tar xzf` of the same archive plus one
// SQLite transaction inserting the same blobs compressed the same way. The
// archive is a per-verse surah of 20 verses of 3 s, packed by the mirror
// packer. The ratio is printed at the end.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "Classes/audio/RecitationArchive.h"
#include "Classes/core/ChapterInfo.h"
#include "Classes/core/Data+Bzip2.h"
#include "Classes/core/Database.h"
#include "bench/BenchSupport.h"
#include "platform/foundation/Log.h"
#include "tests/support/ToneMp3.h"
#include "tools/recitation-archive/RecitationPacker.h"

namespace {

namespace fs = std::filesystem;
constexpr int kSurah = 87;  // 19 verses and the opening formula
constexpr int kReciter = 3;

fs::path workDir() {
  static const fs::path dir = fs::temp_directory_path() / ("bench-install-" + std::to_string(::getpid()));
  return dir;
}

const std::vector<std::uint8_t>& archive() {
  static const std::vector<std::uint8_t> bytes = [] {
    std::vector<recitation_packer::Member> members;
    for (int v = 0; v <= ChapterInfo::getVersesFromNumber(kSurah); ++v)
      members.push_back({ns::format("%03d%03d.mp3", kSurah, v), tones::verseMp3(v % 20, 3.0)});
    return recitation_packer::gzip(recitation_packer::tarArchive(members));
  }();
  return bytes;
}

void writeArchive(const fs::path& path) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(archive().data()), long(archive().size()));
}

sqlite3* freshUserDatabase(const fs::path& file) {
  fs::remove(file);
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  std::ifstream schema(ns::sourceDirectory() + "/resources/zarveldyn.sql");
  std::string sql((std::istreambuf_iterator<char>(schema)), std::istreambuf_iterator<char>());
  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return db;
}

void BM_InstallOurs(benchmark::State& state) {
  fs::create_directories(workDir());
  auto dbFile = workDir() / "ours.db";
  for (auto _ : state) {
    state.PauseTiming();
    sqlite3* db = freshUserDatabase(dbFile);
    auto path = workDir() / ns::format("%d.tar.gz", kSurah);
    writeArchive(path);
    state.ResumeTiming();
    std::string why;
    if (!recitation_archive::install(db, path.string(), kSurah, kReciter, false, &why)) state.SkipWithError(why.c_str());
    state.PauseTiming();
    ChapterInfo::finalizeDynamicQueries();
    store::finalizeAll();
    sqlite3_close(db);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InstallOurs)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InstallTarAndSQLite(benchmark::State& state) {
  fs::create_directories(workDir());
  auto dbFile = workDir() / "reference.db";
  auto folder = workDir() / "reference";
  for (auto _ : state) {
    state.PauseTiming();
    sqlite3* db = freshUserDatabase(dbFile);
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto path = workDir() / "reference.tar.gz";
    writeArchive(path);
    state.ResumeTiming();
    std::string command = "tar xzf '" + path.string() + "' -C '" + folder.string() + "'";
    if (std::system(command.c_str()) != 0) state.SkipWithError("tar failed");
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "REPLACE INTO recitationmp3s (reciter, surah, verse, mp3) VALUES (?, ?, ?, ?)", -1, &insert,
                       nullptr);
    for (int v = 0; v <= ChapterInfo::getVersesFromNumber(kSurah); ++v) {
      std::ifstream in(folder / ns::format("%03d%03d.mp3", kSurah, v), std::ios::binary);
      ns::Data mp3((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      ns::Data packed = ns::gzipDeflate(mp3);
      sqlite3_bind_int(insert, 1, kReciter);
      sqlite3_bind_int(insert, 2, kSurah);
      sqlite3_bind_int(insert, 3, v);
      sqlite3_bind_blob(insert, 4, packed.data(), int(packed.size()), SQLITE_TRANSIENT);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, ns::format("INSERT INTO recitations (reciter, surah) VALUES (%d, %d); COMMIT", kReciter, kSurah).c_str(),
                 nullptr, nullptr, nullptr);
    state.PauseTiming();
    sqlite3_close(db);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InstallTarAndSQLite)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  int status = bench::runAndPrintRatios(argc, argv, [](const bench::TimeKeeper& times) {
    std::printf("\nRatio (goal: at most 1.25)\n");
    std::printf("  a surah installed by our set-up / tar xzf and one SQLite transaction   %6.2f\n",
                times.ratio("BM_InstallOurs", "BM_InstallTarAndSQLite"));
  }, /*repetitions=*/5);
  fs::remove_all(workDir());
  return status;
}
