#include "platform/services/IdleTimer.h"

namespace ui {

namespace {
bool gDisabled = false;
std::function<void(bool)>& observer() {
  static std::function<void(bool)> o;
  return o;
}
}  // namespace

bool IdleTimer::isDisabled() { return gDisabled; }

void IdleTimer::setDisabled(bool disabled) {
  if (gDisabled == disabled) return;
  gDisabled = disabled;
  if (observer()) observer()(disabled);
}

void IdleTimer::setObserver(std::function<void(bool)> o) {
  observer() = std::move(o);
  if (observer()) observer()(gDisabled);
}

}  // namespace ui
