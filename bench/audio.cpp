// Recitation playback: one minute of a verse-by-verse surah (60 verses of one
// second, tones encoded with LAME) played through our player on the silent
// device, verse after verse as the reading screen plays them, next to libmpg123
// decoding the same MP3s alone; and the silence the change of verse inserts in
// per-verse mode, on the real clock, where each next verse's file is written
// and opened on the main thread as the screen does. The ratios are printed at
// the end.
#include <benchmark/benchmark.h>
#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "bench/BenchSupport.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/RunLoop.h"
#include "platform/media/AudioFile.h"
#include "platform/media/AudioOutput.h"
#include "platform/media/AudioPlayer.h"
#include "tests/support/ToneMp3.h"

namespace {

constexpr int kVerses = 60;
double gGapMs = -1;

const std::vector<ns::Data>& verses() {
  static const std::vector<ns::Data> made = [] {
    std::vector<ns::Data> v;
    for (int i = 0; i < kVerses; ++i) v.push_back(tones::verseMp3(i % 20, 1.0));
    return v;
  }();
  return made;
}

// Plays the next verse when one ends, as the reading screen does.
class Sequencer : public av::AudioPlayerDelegate {
 public:
  explicit Sequencer(std::function<std::shared_ptr<av::AudioPlayer>(int)> make) : make_(std::move(make)) {}
  void start(std::shared_ptr<Sequencer> self) {
    self_ = self;
    next();
  }
  void audioPlayerDidFinishPlaying(av::AudioPlayer&, bool) override { next(); }
  bool done() const { return index_ > kVerses; }

 private:
  void next() {
    if (++index_ > kVerses) {
      player_.reset();
      return;
    }
    player_ = make_(index_ - 1);
    player_->setDelegate(self_);
    player_->play();
  }
  std::function<std::shared_ptr<av::AudioPlayer>(int)> make_;
  std::weak_ptr<Sequencer> self_;
  std::shared_ptr<av::AudioPlayer> player_;
  int index_ = 0;
};

void BM_PlayMinuteOurPlayer(benchmark::State& state) {
  verses();
  for (auto _ : state) {
    auto clock = ns::VirtualClock::install();
    av::AudioOutput::useSilentDevice();
    auto seq = std::make_shared<Sequencer>([](int i) { return av::AudioPlayer::initWithData(verses()[size_t(i)], nullptr); });
    seq->start(seq);
    while (!seq->done()) clock->advance(0.1);
    av::AudioOutput::resetForTesting();
  }
}
BENCHMARK(BM_PlayMinuteOurPlayer)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DecodeMinuteMpg123(benchmark::State& state) {
  verses();
  mpg123_init();
  std::vector<unsigned char> out(1 << 16);
  for (auto _ : state) {
    for (const auto& mp3 : verses()) {
      mpg123_handle* mh = mpg123_new(nullptr, nullptr);
      mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_FORCE_STEREO | MPG123_GAPLESS, 0);
      mpg123_format_none(mh);
      mpg123_format(mh, 44100, MPG123_STEREO, MPG123_ENC_FLOAT_32);
      mpg123_open_feed(mh);
      size_t done = 0;
      int r = mpg123_decode(mh, mp3.data(), mp3.size(), out.data(), out.size(), &done);
      while (r != MPG123_ERR && r != MPG123_NEED_MORE) r = mpg123_decode(mh, nullptr, 0, out.data(), out.size(), &done);
      benchmark::DoNotOptimize(out.data());
      mpg123_delete(mh);
    }
  }
}
BENCHMARK(BM_DecodeMinuteMpg123)->Unit(benchmark::kMillisecond)->UseRealTime();

// The longest run of inserted silence (exact zeros) between two verses, in
// seconds, on the real clock: each verse is written to a file (as the reading screen writes it) and opened from
// it when the one before ends.
double gapSeconds() {
  ns::RunLoop::resetForTesting(nullptr);
  av::AudioOutput::useSilentDevice();
  auto& device = static_cast<av::SilentAudioOutput&>(*av::AudioOutput::shared());
  std::string dir = ns::temporaryDirectory() + "/bench-audio-" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  bool alt = false;
  constexpr int kPlayed = 8;
  auto seq = std::make_shared<Sequencer>([&](int i) {
    std::string file = dir + (alt ? "/next.mp3" : "/current.mp3");
    alt = !alt;
    av::writeAudioFile(file, verses()[size_t(i)]);
    return av::AudioPlayer::initWithContentsOfFile(file, nullptr);
  });
  device.startRecording();
  seq->start(seq);
  ns::RunLoop::main().runFor(kPlayed * 1.0 + 0.5);
  auto sound = device.recording();
  av::AudioOutput::resetForTesting();
  std::filesystem::remove_all(dir);
  // Between the first sound and the last, the longest run of exact zeros.
  size_t first = 0, last = sound.size();
  while (first < sound.size() && sound[first] == 0.0f) ++first;
  while (last > first && sound[last - 1] == 0.0f) --last;
  size_t longest = 0, run = 0;
  for (size_t i = first; i < last; ++i) {
    run = sound[i] == 0.0f ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return double(longest) / av::AudioOutput::kRate;
}

void BM_VerseGap(benchmark::State& state) {
  verses();
  double worst = 0;
  for (auto _ : state) worst = std::max(worst, gapSeconds());
  state.counters["gap_ms"] = worst * 1000;
  gGapMs = worst * 1000;
}
BENCHMARK(BM_VerseGap)->Iterations(3)->Repetitions(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return bench::runAndPrintRatios(argc, argv, [](const bench::TimeKeeper& times) {
    std::printf("\nRatios (goals: playing at most 1.2 times decoding; a gap of at most 50 ms)\n");
    std::printf("  one minute played through our player / decoded by libmpg123 alone   %6.2f\n",
                times.ratio("BM_PlayMinuteOurPlayer", "BM_DecodeMinuteMpg123"));
    if (gGapMs >= 0) std::printf("  silence between two verses / 50 ms                                  %6.2f (%.1f ms)\n", gGapMs / 50, gGapMs);
  }, /*repetitions=*/5);
}
