// The desktop's sound card through SDL2 audio. SDL calls back on its own audio
// thread for the next frames, which the players are mixed into. No window is
// needed: only SDL's audio subsystem starts here.
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/foundation/Log.h"
#include "platform/media/AudioOutput.h"

namespace av {

namespace {

class SdlAudioOutput : public AudioOutput {
 public:
  ~SdlAudioOutput() override {
    if (device_) SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  // The device opens paused; the first player to start wakes it.
  void playerChanged() override { SDL_PauseAudioDevice(device_, 0); }

  // Empty when it opened; else why not.
  std::string open() {
    SDL_AudioSpec want{}, have{};
    want.freq = kRate;
    want.format = AUDIO_F32SYS;
    want.channels = kChannels;
    want.samples = 1024;
    want.callback = &SdlAudioOutput::callback;
    want.userdata = this;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    return device_ ? std::string() : std::string(SDL_GetError());
  }

 private:
  static void callback(void* self, Uint8* stream, int bytes) {
    static_cast<SdlAudioOutput*>(self)->mix(reinterpret_cast<float*>(stream),
                                           std::size_t(bytes) / (sizeof(float) * kChannels));
  }

  SDL_AudioDeviceID device_ = 0;
};

void logSilent(const std::string& why) {
  ns::logf("INFO  - [%s] No sound device could be opened (%s): recitations play silently", ns::logTimestamp().c_str(),
           why.c_str());
}

}  // namespace

// The sound card, or nothing (and one log line) when none opens. ZARVEL_AUDIO=silent
// asks for the silent device without trying.
std::shared_ptr<AudioOutput> openSoundCard() {
  const char* wanted = std::getenv("ZARVEL_AUDIO");
  if (wanted && std::strcmp(wanted, "silent") == 0) return nullptr;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    logSilent(SDL_GetError());
    return nullptr;
  }
  auto output = std::make_shared<SdlAudioOutput>();
  std::string why = output->open();
  if (!why.empty()) {
    logSilent(why);
    return nullptr;  // the destructor closes the subsystem again
  }
  return output;
}

}  // namespace av
