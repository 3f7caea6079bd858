// Recitation downloads from a mirror on the loopback interface, serving
// archives the mirror packer made from generated verses: a surah downloads,
// installs and plays; hostile and broken archives fail with a message, write
// nothing outside their folder and install nothing.
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "Classes/audio/Downloader.h"
#include "Classes/audio/RecitationArchive.h"
#include "Classes/audio/RecitationMirrors.h"
#include "platform/foundation/Paths.h"
#include "platform/services/BackgroundTask.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ProgressView.h"
#include "platform/ui/Window.h"
#include "tests/Classes/audio/AudioFixture.h"
#include "tests/support/LoopbackServer.h"
#include "tools/recitation-archive/RecitationPacker.h"

namespace audiotest {
namespace {

namespace fs = std::filesystem;
using testing_support::LoopbackServer;

constexpr int kSurah = 103;  // verses 0 to 3
constexpr int kReciter = 2;
const std::string kPath = "/downloads/iphone/audioCont/2/103.tar.gz";
const std::string kPerVersePath = "/downloads/iphone/audiov2.2/2/103.tar.gz";

std::string str(const std::vector<std::uint8_t>& b) { return std::string(b.begin(), b.end()); }

// A tar header by hand, for the members no honest packer writes.
std::vector<std::uint8_t> rawMember(const std::string& name, char type, const std::string& data, bool goodSum = true) {
  recitation_packer::Member m{name, std::vector<std::uint8_t>(data.begin(), data.end())};
  auto tar = recitation_packer::tarArchive({m});
  tar[156] = std::uint8_t(type);
  long sum = 0;
  std::memset(tar.data() + 148, ' ', 8);
  for (int i = 0; i < 512; ++i) sum += static_cast<signed char>(tar[i]);
  std::snprintf(reinterpret_cast<char*>(tar.data()) + 148, 8, "%06lo", goodSum ? sum : sum + 1);
  tar[155] = ' ';
  return tar;
}

// The strips' ground, opaque: what lies under a strip must not show through.
cg::RGBA stripColour() { return cg::RGBA{44, 52, 66, 255}; }

class DownloadTest : public AudioTest {
 public:
  void SetUp() override {
    AudioTest::SetUp();
    if (IsSkipped()) return;
    verses_ = fs::path(testenv::scratchFolder("audio-verses-" + std::to_string(::getpid())));
    fs::create_directories(verses_);
    for (int v = 0; v <= 3; ++v) {
      auto mp3 = tones::verseMp3(v, 0.4);
      std::ofstream(verses_ / ns::format("%03d%03d.mp3", kSurah, v), std::ios::binary)
          .write(reinterpret_cast<const char*>(mp3.data()), long(mp3.size()));
    }
    mirror_ = verses_ / "mirror";
    auto packed = recitation_packer::pack(verses_.string(), mirror_.string(), kReciter, true, true, {kSurah});
    ASSERT_EQ(packed.error, "");
    archive_ = packedArchive(kPath);
    // The parts' verse times go into this process's content copy.
    sqlite3* db = fixtures::openReadWrite(contentWithTimings().string());
    fixtures::exec(db, ns::format("DELETE FROM audioparts WHERE surah = %d; DELETE FROM audiotimings WHERE surah = %d;",
                                  kSurah, kSurah) + packed.timingsSQL);
    sqlite3_close(db);
    setenv(RecitationMirrors::kEnvironmentVariable, server.url("").c_str(), 1);
    RecitationMirrors::reload();
  }
  void TearDown() override {
    unsetenv(RecitationMirrors::kEnvironmentVariable);
    RecitationMirrors::reload();
    AudioTest::TearDown();
    fs::remove_all(verses_);
  }

  // Starts the download of the surah and lets it run to its end.
  void download() {
    useReciter(kReciter);
    delegate->downloadServer = 1;
    delegate->downloadSurahAudioAlert(kSurah);
    runToTheEnd();
  }

  // Real time for the network and the set-up's thread until the run has
  // ended (the network indicator goes off last, after the set-up's thread
  // has handed back its end), then the clock for the strips' fades.
  void runToTheEnd() {
    ns::RunLoop::main().runUntil(
        [&] { return !delegate->isDownloading() && !ui::Application::shared().isNetworkActivityIndicatorVisible(); },
        15.0);
    settle(0.5);
  }

  std::string packedArchive(const std::string& path) {
    std::ifstream in(mirror_ / path.substr(1), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // The verses heard, in order, from a play of the open surah.
  std::vector<int> heardVerses(double seconds) {
    backend().advance(seconds);
    std::vector<int> heard;
    for (int v : tones::versesByWindow(device().recording(), 0.05))
      if (v >= 0 && v <= 3) heard.push_back(v);
    return runs(heard);
  }

  // The strip's ground in the window's picture, below its bar in the middle.
  cg::RGBA stripGround(ui::View& strip) {
    cg::Rect r = strip.convertRectToView(strip.bounds(), nullptr);
    return delegate->window()->snapshot()->pixelAt(int(r.midX()), int(r.maxY()) - 3);
  }

  bool installed() { return ChapterInfo::isSurahAudioInstalled(user(), kSurah, kReciter); }
  int storedParts() { return fixtures::scalarInt(user(), "SELECT count(*) FROM contrecitationmp3s WHERE surah = 103"); }

  LoopbackServer server;
  std::string archive_;
  fs::path verses_, mirror_;
};

TEST_F(DownloadTest, ASurahDownloadsInstallsAndPlays) {
  launch();
  server.on(kPath, LoopbackServer::ok(archive_));
  int sleepBefore = ZarvelSDKAppDelegate::sleepCounter();
  device().startRecording();
  download();
  EXPECT_EQ(delegate->lastSetupFailure(), "");
  EXPECT_TRUE(installed());
  EXPECT_TRUE(ChapterInfo::isSurahAudioContinuous(user(), kSurah, kReciter));
  EXPECT_EQ(storedParts(), ChapterInfo::getTotalPartsForChapter(kSurah));
  EXPECT_EQ(ZarvelSDKAppDelegate::sleepCounter(), sleepBefore);
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  // The surah opens and plays its verses in order.
  EXPECT_EQ(reading().iCurrentSurah(), kSurah);
  ASSERT_TRUE(reading().IsInPlayMode());
  EXPECT_EQ(heardVerses(2.0), (std::vector<int>{0, 1, 2, 3}));
  // Nothing of the archive stays behind.
  EXPECT_FALSE(fs::exists(fs::path(ns::cachesDirectory()) / "audio/2/103.tar.gz"));
  EXPECT_FALSE(fs::exists(fs::path(ns::cachesDirectory()) / "audio/2/103"));
}

// The download controller asks for the continuous kind (every reciter has a
// continuous set); the per-verse kind of older mirrors still downloads,
// installs and plays verse by verse through the same downloader and set-up.
TEST_F(DownloadTest, BothKindsOfArchiveDownloadInstallAndPlayTheirVersesInOrder) {
  struct Case {
    const char* name;
    std::string path;
    bool continuous;
  } cases[] = {{"per verse", kPerVersePath, false}, {"continuous", kPath, true}};
  launch();
  useReciter(kReciter);
  struct Outcome : DownloaderDelegate {
    bool finished = false, failed = false;
    void setCorrectTotal(int) override {}
    void setUpgradeProgress(int) override {}
    void downloadFailed() override { failed = true; }
    void downloadFinished() override { finished = true; }
  };
  std::string folder = ns::pathJoin(ns::cachesDirectory(), "audio", "2");
  fs::create_directories(folder);
  std::string target = ns::pathJoin(folder, "103.tar.gz");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.on(c.path, LoopbackServer::ok(packedArchive(c.path)));
    auto outcome = std::make_shared<Outcome>();
    auto downloader = Downloader::downloadURL(server.url(c.path), target, outcome, 0);
    ASSERT_TRUE(downloader);
    ns::RunLoop::main().runUntil([&] { return outcome->finished || outcome->failed; }, 10.0);
    ASSERT_TRUE(outcome->finished) << downloader->failureReason();
    std::string why;
    ASSERT_TRUE(recitation_archive::install(delegate->dbConnectionAudioDownload(), target, kSurah, kReciter,
                                            c.continuous, &why))
        << why;
    EXPECT_TRUE(installed());
    EXPECT_EQ(ChapterInfo::isSurahAudioContinuous(user(), kSurah, kReciter), c.continuous);
    EXPECT_EQ(storedParts(), c.continuous ? ChapterInfo::getTotalPartsForChapter(kSurah) : 0);
    for (int v = 0; v <= 3; ++v)
      EXPECT_EQ(ChapterInfo::getMP3Recitation(user(), kSurah, v, kReciter).empty(), c.continuous) << v;
    EXPECT_FALSE(fs::exists(target));
    open(kSurah);
    reading().updateReciterLabel();
    device().startRecording();
    reading().playStopOrDownload();
    ASSERT_TRUE(reading().IsInPlayMode());
    EXPECT_EQ(reading().isUsingContinuousPlayback(), c.continuous);
    EXPECT_EQ(heardVerses(2.5), (std::vector<int>{0, 1, 2, 3}));
    if (reading().IsInPlayMode()) reading().stopPlaying(false, false);
    settle(1.0);
    ASSERT_TRUE(ChapterInfo::deleteAudio(user(), kSurah, kReciter, true));
  }
}

TEST_F(DownloadTest, BrokenAndHostileArchivesFailAndInstallNothing) {
  launch();
  // The good members of the archive, to put a hostile one beside.
  std::string tar;
  {
    gzFile in = gzopen((mirror_ / kPath.substr(1)).c_str(), "rb");
    char buf[65536];
    for (int n; (n = gzread(in, buf, sizeof buf)) > 0;) tar.append(buf, std::size_t(n));
    gzclose(in);
  }
  std::size_t end = 0;
  while (end + 512 <= tar.size() && tar.compare(end, 512, std::string(512, '\0')) != 0) {
    std::size_t size = std::strtoull(tar.substr(end + 124, 12).c_str(), nullptr, 8);
    end += 512 + (size + 511) / 512 * 512;
  }
  const std::string members = tar.substr(0, end);
  auto withMember = [&](const std::vector<std::uint8_t>& raw, std::size_t dataSize) {
    std::string t = members + str(raw).substr(0, 512 + (dataSize + 511) / 512 * 512);
    t.append(1024, '\0');
    t.resize((t.size() + 10239) / 10240 * 10240, '\0');
    return str(recitation_packer::gzip(std::vector<std::uint8_t>(t.begin(), t.end())));
  };
  std::string bomb = str(recitation_packer::gzip(std::vector<std::uint8_t>(size_t(120) * 1024 * 1024, 0)));
  LoopbackServer::Answer notFound;
  notFound.status = 404;
  notFound.chunks = {"<html><body>Not Found</body></html>"};
  LoopbackServer::Answer shortBody = LoopbackServer::ok(archive_.substr(0, archive_.size() / 2));
  shortBody.contentLength = (long long)archive_.size();
  // What the reader is told: the download's failure, or the set-up's, whose
  // cause goes to the log.
  const std::string noServer = "Downloading Audio for Al-Asr Failed\nCould not connect to Download Server";
  const std::string setupFailed = "Setup Failed\n";
  struct Case {
    const char* name;
    LoopbackServer::Answer answer;
    const std::string& told;
    const char* cause;  // for a failed set-up
  } cases[] = {
      {"404 page", notFound, noServer, ""},
      {"cut short of its stated length", shortBody, noServer, ""},
      {"gzip stream cut short", LoopbackServer::ok(archive_.substr(0, archive_.size() - 40)), setupFailed,
       "the archive ends before its gzip stream does"},
      {"not gzip", LoopbackServer::ok("PK\x03\x04 this is a zip, not a tar.gz"), setupFailed,
       "the archive is not gzip data"},
      {"bad checksum", LoopbackServer::ok(withMember(rawMember("103-09.mp3", '0', "x", false), 1)), setupFailed,
       "a member's header is damaged (bad checksum)"},
      {"a member ../x", LoopbackServer::ok(withMember(rawMember("../x", '0', "escape"), 6)), setupFailed,
       "a member's name leaves its folder: ../x"},
      {"a member /abs", LoopbackServer::ok(withMember(rawMember("/tmp/abs-escape", '0', "escape"), 6)), setupFailed,
       "a member's name leaves its folder: /tmp/abs-escape"},
      {"a link", LoopbackServer::ok(withMember(rawMember("103-01.mp3", '2', ""), 0)), setupFailed,
       "a member is not a plain file (type '2'): 103-01.mp3"},
      {"a missing member", LoopbackServer::ok(str(recitation_packer::gzip(recitation_packer::tarArchive({})))),
       setupFailed, "the archive lacks 103-01.mp3"},
      {"inflates far beyond", LoopbackServer::ok(bomb), setupFailed, "the archive unpacks to more than its surah can hold"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.on(kPath, c.answer);
    download();
    auto* sheet = ui::ButtonPanel::visiblePanel();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->title().rfind(c.told, 0), 0u) << sheet->title();
    if (c.told == setupFailed) {
      EXPECT_EQ(delegate->lastSetupFailure(), c.cause);
    }
    EXPECT_FALSE(installed());
    EXPECT_EQ(storedParts(), 0);
    EXPECT_FALSE(delegate->isDownloading());
    EXPECT_FALSE(delegate->settingUpSurah());
    EXPECT_FALSE(fs::exists(fs::path(ns::cachesDirectory()) / "audio/2/x"));
    EXPECT_FALSE(fs::exists(fs::path(ns::cachesDirectory()) / "audio/x"));
    EXPECT_FALSE(fs::exists("/tmp/abs-escape"));
    ui::ButtonPanel::resetForTesting();
    settle(2.5);  // the failure sheet closes itself
  }
}

TEST_F(DownloadTest, AStoreFailureHalfWayLeavesNoPartOfTheSurah) {
  launch();
  // The parts go in; the installation mark after them fails.
  fixtures::exec(user(), "CREATE TRIGGER full BEFORE INSERT ON recitations BEGIN SELECT RAISE(ABORT, 'disk full'); END");
  server.on(kPath, LoopbackServer::ok(archive_));
  download();
  EXPECT_EQ(delegate->lastSetupFailure(), "the recitation could not be stored");
  EXPECT_EQ(storedParts(), 0);  // the parts went back with the mark
  EXPECT_FALSE(installed());
}

TEST_F(DownloadTest, AFailedSetUpEndsADownloadAllRun) {
  launch();
  useReciter(kReciter);
  // Only this surah is missing, and its archive holds nothing to install.
  for (int n = 1; n <= 114; ++n) {
    if (n == kSurah) continue;
    ASSERT_TRUE(ChapterInfo::markAudioAsInstalled(user(), n, kReciter));
  }
  server.on(kPath, LoopbackServer::ok(str(recitation_packer::gzip(recitation_packer::tarArchive({})))));
  int sleepBefore = ZarvelSDKAppDelegate::sleepCounter();
  size_t tasksBefore = ui::BackgroundTasks::openTaskCount();
  delegate->downloadServer = 1;
  delegate->downloadAllSurahAudio();
  ASSERT_TRUE(delegate->downloadingAllSurahs());
  EXPECT_EQ(delegate->downloadingSurah(), kSurah);
  runToTheEnd();
  EXPECT_EQ(delegate->lastSetupFailure(), "the archive lacks 103-01.mp3");
  EXPECT_FALSE(delegate->downloadingAllSurahs());
  EXPECT_FALSE(delegate->isDownloading());
  EXPECT_EQ(server.received().size(), 1u);  // the same surah is not fetched again
  EXPECT_EQ(ZarvelSDKAppDelegate::sleepCounter(), sleepBefore);
  EXPECT_EQ(ui::BackgroundTasks::openTaskCount(), tasksBefore);
  EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
  auto* sheet = ui::ButtonPanel::visiblePanel();
  ASSERT_TRUE(sheet);
  EXPECT_EQ(sheet->title().rfind("Setup Failed\n", 0), 0u) << sheet->title();
  EXPECT_TRUE(reading().viewDownloadAudioProgress->isHidden());
}

TEST_F(DownloadTest, CancellingAtEveryStageLeavesThePreviousState) {
  launch();
  useReciter(kReciter);
  delegate->downloadServer = 1;
  int sleepBefore = ZarvelSDKAppDelegate::sleepCounter();
  size_t tasksBefore = ui::BackgroundTasks::openTaskCount();
  LoopbackServer::Answer stalled = LoopbackServer::ok(archive_);
  stalled.stallMs = 3000;
  struct Case {
    const char* name;
    LoopbackServer::Answer answer;
    std::function<bool()> ready;  // when to cancel
  } cases[] = {
      {"before the answer", stalled, [] { return true; }},
      {"in the body", LoopbackServer::drip(archive_, 1024, 20),
       [&] { return delegate->downloaderObj() && delegate->downloaderObj()->loadedBytes() > 0; }},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.on(kPath, c.answer);
    delegate->downloadSurahAudioAlert(kSurah);
    ASSERT_TRUE(delegate->isDownloading());
    EXPECT_NE(ZarvelSDKAppDelegate::sleepCounter(), sleepBefore);
    ns::RunLoop::main().runUntil(c.ready, 10.0);
    delegate->cancelDownload();
    EXPECT_FALSE(delegate->isDownloading());
    EXPECT_EQ(ZarvelSDKAppDelegate::sleepCounter(), sleepBefore);
    EXPECT_EQ(ui::BackgroundTasks::openTaskCount(), tasksBefore);
    EXPECT_FALSE(ui::Application::shared().isNetworkActivityIndicatorVisible());
    ns::RunLoop::main().runUntil([] { return false; }, 0.3);  // nothing more arrives
    EXPECT_FALSE(installed());
    EXPECT_FALSE(delegate->isDownloading());
  }
  // During the set-up the cancel is refused: the set-up runs to its end.
  server.on(kPath, LoopbackServer::ok(archive_));
  delegate->downloadSurahAudioAlert(kSurah);
  ns::RunLoop::main().runUntil([&] { return delegate->settingUpSurah(); }, 10.0);
  delegate->cancelDownload();
  runToTheEnd();
  EXPECT_TRUE(installed());
  EXPECT_EQ(ZarvelSDKAppDelegate::sleepCounter(), sleepBefore);
  EXPECT_EQ(ui::BackgroundTasks::openTaskCount(), tasksBefore);
}

TEST_F(DownloadTest, TheReadingScreensStripFollowsTheDownloadInBothLayouts) {
  for (auto orientation : {ui::InterfaceOrientation::LandscapeRight, ui::InterfaceOrientation::Portrait}) {
    bool landscape = ui::isLandscape(orientation);
    if (!delegate) launch(orientation);
    else {
      ui::Application::shared().setStatusBarOrientation(orientation);
      ui::Screen::main().setBounds(cg::Rect(0, 0, 768, 1024));
      delegate->window()->setFrame(ui::Screen::main().bounds());
      root()->willAnimateRotationToInterfaceOrientation(orientation, 0);
      root()->didRotateFromInterfaceOrientation(ui::InterfaceOrientation::LandscapeRight);
      settle(0.5);
    }
    useReciter(kReciter);
    open(kSurah);
    delegate->downloadServer = 1;
    server.on(kPath, LoopbackServer::drip(archive_, 256, 50));  // slow enough to be cancelled
    delegate->downloadSurahAudioAlert(kSurah);
    ns::RunLoop::main().runUntil([&] { return delegate->lastDownloadProgress() > 0.2f; }, 10.0);
    settle(0.3);
    auto& r = reading();
    EXPECT_FALSE(r.viewDownloadAudioProgress->isHidden());
    EXPECT_EQ(r.viewDownloadAudioProgressContainer->alpha(), 1.0f);
    EXPECT_EQ(r.lblAudioDownloadDetails->text().rfind("Downloading Al-Asr (", 0), 0u) << r.lblAudioDownloadDetails->text();
    EXPECT_GT(r.downloadAudioProgressBar->progress(), 0.2f);
    EXPECT_FALSE(r.btnPlay->isEnabled());  // no playing while a download runs
    EXPECT_EQ(stripGround(*r.viewDownloadAudioProgress), stripColour());
    ASSERT_TRUE(backend().screenshot(shotPath(landscape ? "download-landscape.png" : "download-portrait.png")));
    if (landscape) {
      // The status bar's network spinner turns while the download runs.
      EXPECT_TRUE(ui::Application::shared().isNetworkActivityIndicatorVisible());
      ASSERT_TRUE(backend().screenshot(shotPath("spinner-a.png")));
      backend().advance(1.0 / 12);
      ASSERT_TRUE(backend().screenshot(shotPath("spinner-b.png")));
      auto read = [&](const char* name) {
        std::ifstream in(shotPath(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      };
      EXPECT_NE(read("spinner-a.png"), read("spinner-b.png"));
    }
    r.btnAudioDownloadCancel->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
    settle(0.5);
    EXPECT_FALSE(delegate->isDownloading());
    EXPECT_TRUE(r.viewDownloadAudioProgress->isHidden());
    EXPECT_TRUE(r.btnPlay->isEnabled());
  }
}

TEST_F(DownloadTest, TheIndexsStripFollowsADownloadStartedFromTheIndexAndGoesAtItsEnd) {
  launch();
  useReciter(kReciter);
  auto index = root()->viewContIndex();
  ASSERT_EQ(delegate->downloadDelegate(), index.get());  // the index on screen listens
  auto& strip = *index->viewIndexDownloadContainer;
  EXPECT_TRUE(strip.isHidden());
  server.on(kPath, LoopbackServer::drip(archive_, 256, 50));
  // Asked to play a surah whose recitation is missing, the index offers its
  // download: this surah, then the first mirror.
  index->showSurahView(nullptr, kSurah, -1, true, false);
  for (const char* title : {"Download 103. Al-Asr", "Select server"}) {
    settle(0.3);
    auto* sheet = ui::ButtonPanel::visiblePanel();
    ASSERT_TRUE(sheet) << title;
    EXPECT_NE(sheet->title().find(title), std::string::npos) << sheet->title();
    sheet->tapButtonAtIndex(0);
  }
  ASSERT_TRUE(delegate->isDownloading());
  ns::RunLoop::main().runUntil([&] { return delegate->lastDownloadProgress() > 0.3f; }, 10.0);
  settle(0.3);
  EXPECT_FALSE(strip.isHidden());
  EXPECT_EQ(strip.alpha(), 1.0f);
  EXPECT_EQ(index->lblIndexDownload->text().rfind("Downloading Al-Asr (", 0), 0u) << index->lblIndexDownload->text();
  EXPECT_NE(index->lblIndexDownload->text(), "Downloading Al-Asr (-- kB)");  // the stated size came
  EXPECT_GT(index->progressIndexDownload->progress(), 0.3f);
  EXPECT_TRUE(index->btnIndexDownload->isEnabled());
  EXPECT_EQ(index->surahListTable()->contentInset().bottom, strip.bounds().height());  // the last rows clear it
  EXPECT_FALSE(reading().viewDownloadAudioProgress->isHidden());  // the panel beside it follows too
  EXPECT_EQ(stripGround(strip), stripColour());
  ASSERT_TRUE(backend().screenshot(shotPath("index-download-landscape.png")));
  // The set-up fills the bar and refuses the cancel.
  ns::RunLoop::main().runUntil([&] { return delegate->settingUpSurah(); }, 10.0);
  EXPECT_EQ(index->progressIndexDownload->progress(), 1.0f);
  EXPECT_EQ(index->lblIndexDownload->text(), "Setting Up... Please Wait");
  EXPECT_FALSE(index->btnIndexDownload->isEnabled());
  runToTheEnd();
  EXPECT_TRUE(installed());
  EXPECT_TRUE(strip.isHidden());
  EXPECT_EQ(index->surahListTable()->contentInset().bottom, 0.0f);
  EXPECT_TRUE(reading().viewDownloadAudioProgress->isHidden());
  // The strip's own cancel ends the next download and takes the strip away.
  ASSERT_TRUE(ChapterInfo::deleteAudio(user(), kSurah, kReciter, true));
  reading().stopPlaying(false, false);
  settle(0.5);
  delegate->downloadSurahAudioAlert(kSurah);
  settle(0.3);
  EXPECT_FALSE(strip.isHidden());
  index->btnIndexDownload->sendActionsForControlEvents(ui::ControlEventTouchUpInside);
  settle(0.5);
  EXPECT_FALSE(delegate->isDownloading());
  EXPECT_TRUE(strip.isHidden());
}

TEST_F(DownloadTest, SetUpShowsAFullBarAndRefusesTheCancel) {
  launch();
  auto& r = reading();
  r.didBeginDownloading();
  r.willPerformAudioSetup();
  EXPECT_EQ(r.downloadAudioProgressBar->progress(), 1.0f);
  EXPECT_EQ(r.lblAudioDownloadDetails->text(), "Setting Up... Please Wait");
  EXPECT_FALSE(r.btnAudioDownloadCancel->isEnabled());
  r.didBeginDownloading();
  EXPECT_TRUE(r.btnAudioDownloadCancel->isEnabled());
}

TEST_F(DownloadTest, TheMirrorListIsReadFromTheDataFolder) {
  unsetenv(RecitationMirrors::kEnvironmentVariable);
  const std::string path = ns::pathJoin(ns::documentsDirectory(), RecitationMirrors::kFileName);
  // Without the file there is no mirror, and the reason names the file.
  RecitationMirrors::reload();
  EXPECT_TRUE(RecitationMirrors::shared().empty());
  EXPECT_NE(RecitationMirrors::shared().problem().find(path), std::string::npos);
  fs::create_directories(ns::documentsDirectory());
  std::ofstream(path) << "# the loopback mirror\n" << server.url("") << "\nftp://refused.example\n";
  RecitationMirrors::reload();
  launch();
  server.on(kPath, LoopbackServer::ok(archive_));
  download();
  EXPECT_TRUE(installed());
  EXPECT_EQ(RecitationMirrors::shared().source(), path);
  EXPECT_EQ(RecitationMirrors::shared().baseURLs(), (std::vector<std::string>{server.url("")}));
  EXPECT_NE(RecitationMirrors::shared().problem().find("ftp://refused.example"), std::string::npos);
}

TEST_F(DownloadTest, AnEmptyMirrorListSaysSoInsteadOfDownloading) {
  setenv(RecitationMirrors::kEnvironmentVariable, "   # none", 1);
  RecitationMirrors::reload();
  launch();
  useReciter(kReciter);
  delegate->downloadSurahAudioAlert(kSurah);
  EXPECT_FALSE(delegate->isDownloading());
  EXPECT_TRUE(server.received().empty());
}

}  // namespace
}  // namespace audiotest

namespace audiotest {
namespace {

TEST(DownloadSizeText, WholeMegabytesFromOneMegabyteAndKilobytesBelow) {
  struct Case {
    long long bytes;
    const char* text;
  } cases[] = {{0, "-- kB"},          {1023, "0 kB"},        {1500, "1 kB"},
               {1047552, "1023 kB"},  {1047553, "1023 kB"},  {1048575, "1023 kB"},
               {1048576, "1 MB"},     {5000000, "4 MB"}};
  for (auto c : cases) EXPECT_EQ(downloadSizeText(c.bytes), c.text) << c.bytes;
}

TEST(RecitationMirrorsList, ReadsUpToSixAddressesAndSaysWhatItLeftOut) {
  auto m = RecitationMirrors::parse("# mirrors\nhttp://127.0.0.1:8080/\n  https://a.example/recitations  # two\n"
                                    "ftp://no.example\nhttp://b.example, http://c.example http://d.example\n"
                                    "http://e.example\nhttp://f.example\n",
                                    "test");
  EXPECT_EQ(m.baseURLs(), (std::vector<std::string>{"http://127.0.0.1:8080", "https://a.example/recitations",
                                                    "http://b.example", "http://c.example", "http://d.example",
                                                    "http://e.example"}));
  EXPECT_EQ(m.baseURL(7), "");
  EXPECT_NE(m.problem().find("ftp://no.example"), std::string::npos);
  EXPECT_TRUE(RecitationMirrors::parse("", "test").empty());
  EXPECT_FALSE(RecitationMirrors::parse("", "test").problem().empty());
  EXPECT_TRUE(RecitationMirrors::parse("http://\"quoted\"/x http:///path", "test").empty());
}

}  // namespace
}  // namespace audiotest
