#pragma once
// Scratch audio files (the verse being played, written from the store just
// before it plays): written atomically, a temporary file renamed into place,
// but without waiting for the disk, which a copy made again at each play does
// not need and which would hold up the start of the next verse.
#include <string>

#include "platform/foundation/Data.h"

namespace av {

bool writeAudioFile(const std::string& path, const ns::Data& data, std::string* error = nullptr);

}  // namespace av
