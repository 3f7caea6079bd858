#pragma once
// Recitation fixtures made at test time: MP3 audio of pure tones, encoded with
// LAME, whose pitch tells which verse a stretch of sound belongs to. Verse v
// sounds at verseFrequency(v); dominantFrequency reads the pitch back from
// decoded samples (by zero crossings, enough for a pure tone). Test programs
// that include this link mp3lame.
#include <lame/lame.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace tones {

inline constexpr int kRate = 44100;

inline double verseFrequency(int verse) { return 300.0 + 40.0 * verse; }
inline int verseOfFrequency(double hz) { return int(std::lround((hz - 300.0) / 40.0)); }

struct Tone {
  double hz;       // 0: silence
  double seconds;
};

// Mono PCM of the tones, each with 5 ms edges so it starts and ends softly.
inline std::vector<short> synthesize(const std::vector<Tone>& tones) {
  std::vector<short> pcm;
  for (const Tone& t : tones) {
    auto n = static_cast<std::size_t>(std::lround(t.seconds * kRate));
    std::size_t edge = std::min<std::size_t>(n / 2, kRate / 200);
    for (std::size_t i = 0; i < n; ++i) {
      double gain = 0.5;
      if (i < edge) gain *= double(i) / edge;
      if (n - i <= edge) gain *= double(n - i) / edge;
      double v = t.hz > 0 ? gain * std::sin(2 * std::numbers::pi * t.hz * double(i) / kRate) : 0.0;
      pcm.push_back(static_cast<short>(std::lround(v * 32767)));
    }
  }
  return pcm;
}

// An MP3 (CBR 64 kbit/s mono, with the encoder's gapless tag) of the tones.
inline std::vector<std::uint8_t> encode(const std::vector<Tone>& tones) {
  std::vector<short> pcm = synthesize(tones);
  lame_global_flags* gf = lame_init();
  lame_set_num_channels(gf, 1);
  lame_set_in_samplerate(gf, kRate);
  lame_set_out_samplerate(gf, kRate);
  lame_set_mode(gf, MONO);
  lame_set_brate(gf, 64);
  lame_set_quality(gf, 7);
  lame_set_bWriteVbrTag(gf, 1);
  lame_init_params(gf);
  std::vector<std::uint8_t> out(pcm.size() * 5 / 4 + 7200 + 16384);
  int n = lame_encode_buffer(gf, pcm.data(), pcm.data(), int(pcm.size()), out.data(), int(out.size()));
  int total = n > 0 ? n : 0;
  n = lame_encode_flush(gf, out.data() + total, int(out.size()) - total);
  if (n > 0) total += n;
  out.resize(std::size_t(total));
  // The tag frame (lengths, encoder delay and padding) goes over the first frame.
  std::vector<std::uint8_t> tag(4096);
  std::size_t tagSize = lame_get_lametag_frame(gf, tag.data(), tag.size());
  if (tagSize > 0 && tagSize <= out.size()) std::copy(tag.begin(), tag.begin() + long(tagSize), out.begin());
  lame_close(gf);
  return out;
}

// One verse: a tone of its pitch.
inline std::vector<std::uint8_t> verseMp3(int verse, double seconds = 1.0) {
  return encode({{verseFrequency(verse), seconds}});
}

// The pitch of the samples in Hz (0 when they are near silence).
inline double dominantFrequency(const float* samples, std::size_t n, int rate = kRate) {
  if (n < 2) return 0;
  double energy = 0;
  for (std::size_t i = 0; i < n; ++i) energy += double(samples[i]) * samples[i];
  if (std::sqrt(energy / double(n)) < 0.02) return 0;
  int crossings = 0;
  for (std::size_t i = 1; i < n; ++i)
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
  return crossings * double(rate) / (2.0 * double(n));
}

// The verse sounding in each window of the samples (-1 for silence).
inline std::vector<int> versesByWindow(const std::vector<float>& samples, double windowSeconds, int rate = kRate) {
  std::vector<int> verses;
  auto w = static_cast<std::size_t>(windowSeconds * rate);
  for (std::size_t at = 0; at + w <= samples.size(); at += w) {
    double hz = dominantFrequency(samples.data() + at, w, rate);
    verses.push_back(hz > 0 ? verseOfFrequency(hz) : -1);
  }
  return verses;
}

}  // namespace tones
