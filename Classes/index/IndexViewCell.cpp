#include "Classes/index/IndexViewCell.h"

#include <cmath>

int IndexViewCell::soundStatusFor(int surah) const {
  IndexViewCellHost* host = delgate();
  if (!host) return 0;
  int code = host->isSurahAudioInstalled(surah) ? 1 : 0;
  if (host->isSurahAudioInstalledForOthers(surah)) code = code ? 3 : 2;
  return code;
}

namespace {

// Normal and highlighted art of each status code.
const char* const kSoundImages[4][2] = {
    {"ipad-sound-index-dead.png", "ipad-sound-index-dead-t.png"},
    {"ipad-sound-index-ready.png", "ipad-sound-index-ready-t.png"},
    {"ipad-sound-index-multi.png", "ipad-sound-index-multi-t.png"},
    {"ipad-sound-index-ready-plus.png", "ipad-sound-index-ready-plus-t.png"},
};

}  // namespace

void IndexViewCell::ensureSoundButton(float h) {
  if (btnSoundIcon) return;
  btnSoundIcon = std::make_shared<ui::Button>(cg::Rect(0, std::floor((h - 44) / 2), 44, 44));
  btnSoundIcon->setAdjustsImageWhenDisabled(false);
  btnSoundIcon->setAdjustsImageWhenHighlighted(false);
  btnSoundIcon->addTarget(this, [this](ui::Control&) { soundButtonPressed(); }, ui::ControlEventTouchUpInside);
  addSubview(btnSoundIcon);
}

void IndexViewCell::showSoundStatus(int code, int& lastCode) {
  if (code < 0 || code > 3) code = 0;
  if (code != lastCode) {
    btnSoundIcon->setImage(ui::Image::imageNamed(kSoundImages[code][0]), ui::ControlStateNormal);
    btnSoundIcon->setImage(ui::Image::imageNamed(kSoundImages[code][1]), ui::ControlStateHighlighted);
  }
  lastCode = code;
}
