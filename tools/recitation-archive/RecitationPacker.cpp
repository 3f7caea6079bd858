#include "tools/recitation-archive/RecitationPacker.h"

#include <lame/lame.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "Classes/core/ChapterInfo.h"
#include "platform/foundation/Log.h"
#include "platform/media/Mp3Decoder.h"

namespace recitation_packer {

namespace fs = std::filesystem;

namespace {

void octal(char* field, std::size_t size, std::uint64_t value) {
  std::snprintf(field, size, "%0*llo", int(size - 1), static_cast<unsigned long long>(value));
}

std::vector<std::uint8_t> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(out);
}

// The MP3 decoded to interleaved stereo float at the device's rate.
std::vector<float> decode(const std::vector<std::uint8_t>& mp3) {
  auto decoder = av::Mp3Decoder::open(std::make_shared<const ns::Data>(mp3), nullptr);
  std::vector<float> pcm;
  if (!decoder) return pcm;
  std::vector<float> chunk(4096 * 2);
  for (;;) {
    std::size_t produced = 0;
    auto status = decoder->read(chunk.data(), 4096, &produced);
    pcm.insert(pcm.end(), chunk.begin(), chunk.begin() + long(produced * 2));
    if (status != av::Mp3Decoder::Status::Ok || produced == 0) break;
  }
  return pcm;
}

// Stereo float PCM at 44100 Hz encoded as one MP3 (128 kbit/s, gapless tag).
std::vector<std::uint8_t> encode(const std::vector<float>& pcm) {
  lame_global_flags* gf = lame_init();
  lame_set_num_channels(gf, 2);
  lame_set_in_samplerate(gf, 44100);
  lame_set_out_samplerate(gf, 44100);
  lame_set_brate(gf, 128);
  lame_set_quality(gf, 5);
  lame_set_bWriteVbrTag(gf, 1);
  lame_init_params(gf);
  int frames = int(pcm.size() / 2);
  std::vector<std::uint8_t> out(std::size_t(frames) * 5 / 4 + 7200 + 65536);
  int n = lame_encode_buffer_interleaved_ieee_float(gf, pcm.data(), frames, out.data(), int(out.size()));
  int total = std::max(n, 0);
  n = lame_encode_flush(gf, out.data() + total, int(out.size()) - total);
  total += std::max(n, 0);
  out.resize(std::size_t(total));
  std::vector<std::uint8_t> tag(4096);
  std::size_t tagSize = lame_get_lametag_frame(gf, tag.data(), tag.size());
  if (tagSize > 0 && tagSize <= out.size()) std::copy(tag.begin(), tag.begin() + long(tagSize), out.begin());
  lame_close(gf);
  return out;
}

}  // namespace

std::vector<std::uint8_t> tarArchive(const std::vector<Member>& members) {
  std::vector<std::uint8_t> tar;
  for (const Member& m : members) {
    char header[512] = {};
    std::snprintf(header, 100, "%s", m.name.c_str());
    octal(header + 100, 8, 0644);
    octal(header + 108, 8, 0);
    octal(header + 116, 8, 0);
    octal(header + 124, 12, m.data.size());
    octal(header + 136, 12, 0);
    std::memset(header + 148, ' ', 8);
    header[156] = '0';
    std::memcpy(header + 257, "ustar", 6);
    std::memcpy(header + 263, "00", 2);
    long sum = 0;
    for (char c : header) sum += static_cast<signed char>(c);
    std::snprintf(header + 148, 8, "%06lo", sum);
    header[155] = ' ';
    tar.insert(tar.end(), header, header + 512);
    tar.insert(tar.end(), m.data.begin(), m.data.end());
    tar.resize((tar.size() + 511) / 512 * 512, 0);
  }
  tar.resize(tar.size() + 1024, 0);
  tar.resize((tar.size() + 10239) / 10240 * 10240, 0);
  return tar;
}

std::vector<std::uint8_t> gzip(const std::vector<std::uint8_t>& bytes) {
  z_stream z{};
  deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::vector<std::uint8_t> out(deflateBound(&z, uLong(bytes.size())) + 64);
  z.next_in = const_cast<Bytef*>(bytes.data());
  z.avail_in = uInt(bytes.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::map<int, int> partOfVerse(int surah, int parts) {
  int verses = ChapterInfo::getVersesFromNumber(surah);
  int first = (surah == 1 || surah == 9) ? 1 : 0;
  int count = verses - first + 1;
  parts = std::max(1, std::min(parts, count));
  std::map<int, int> result;
  for (int v = first; v <= verses; ++v) result[v] = 1 + (v - first) * parts / count;
  return result;
}

double mp3Seconds(const std::vector<std::uint8_t>& mp3) {
  auto decoder = av::Mp3Decoder::open(std::make_shared<const ns::Data>(mp3), nullptr);
  return decoder ? double(decoder->lengthFrames()) / av::Mp3Decoder::kRate : -1;
}

Result pack(const std::string& in, const std::string& out, int reciter, bool perVerse, bool continuous,
            const std::vector<int>& only) {
  Result result;
  // The verse files by surah, from their names.
  std::map<int, std::map<int, fs::path>> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(in, ec)) {
    std::string name = entry.path().filename().string();
    int surah = 0, verse = 0;
    char tail[8] = {};
    if (name.size() != 10 || std::sscanf(name.c_str(), "%3d%3d%4s", &surah, &verse, tail) != 3 ||
        std::strcmp(tail, ".mp3") != 0 || surah < 1 || surah > 114 || verse < 0 ||
        verse > ChapterInfo::getVersesFromNumber(surah))
      continue;
    files[surah][verse] = entry.path();
  }
  if (ec) {
    result.error = "cannot read the folder " + in + ": " + ec.message();
    return result;
  }
  int folder = ChapterInfo::getRemoteFolderNumberForReciter(reciter);
  int hq = ChapterInfo::getRemoteReciterHQCode(reciter);
  for (auto& [surah, verses] : files) {
    if (!only.empty() && std::find(only.begin(), only.end(), surah) == only.end()) continue;
    int count = ChapterInfo::getVersesFromNumber(surah);
    for (int v = (surah == 1 || surah == 9) ? 1 : 1; v <= count; ++v)
      if (!verses.count(v)) {
        result.error = ns::format("surah %d lacks verse %d (%03d%03d.mp3)", surah, v, surah, v);
        return result;
      }
    std::string three = ns::format("%03d", surah);
    if (perVerse) {
      std::vector<Member> members;
      for (auto& [v, path] : verses) members.push_back({path.filename().string(), readFile(path)});
      fs::path archive = fs::path(out) / "downloads/iphone/audiov2.2" / std::to_string(folder) / (three + ".tar.gz");
      if (!writeFile(archive, gzip(tarArchive(members)))) {
        result.error = "cannot write " + archive.string();
        return result;
      }
      result.archives.push_back(archive.string());
    }
    if (continuous) {
      auto parts = partOfVerse(surah, ChapterInfo::getTotalPartsForChapter(surah));
      std::map<int, std::vector<float>> pcm;
      for (auto& [v, path] : verses) {
        int part = parts.count(v) ? parts[v] : 1;
        double begins = double(pcm[part].size() / 2) / av::Mp3Decoder::kRate;
        std::vector<float> verse = decode(readFile(path));
        if (verse.empty()) {
          result.error = "not an MP3: " + path.string();
          return result;
        }
        pcm[part].insert(pcm[part].end(), verse.begin(), verse.end());
        result.timingsSQL += ns::format("INSERT INTO audioparts VALUES (%d, %d, %d, %d);\n", hq, surah, v, part);
        result.timingsSQL += ns::format("INSERT INTO audiotimings VALUES (%d, %d, %d, %.3f);\n", hq, surah, v, begins);
      }
      std::vector<Member> members;
      for (auto& [part, samples] : pcm) members.push_back({ns::format("%s-%02d.mp3", three.c_str(), part), encode(samples)});
      fs::path archive = fs::path(out) / "downloads/iphone/audioCont" / std::to_string(folder) / (three + ".tar.gz");
      if (!writeFile(archive, gzip(tarArchive(members)))) {
        result.error = "cannot write " + archive.string();
        return result;
      }
      result.archives.push_back(archive.string());
    }
  }
  if (files.empty()) result.error = "no verse files (SSSVVV.mp3) in " + in;
  return result;
}

}  // namespace recitation_packer
