#include "platform/services/Device.h"

#include "platform/ui/Screen.h"

namespace ui {

Device& Device::current() {
  static Device device;
  return device;
}

float Device::screenScale() const { return Screen::main().scale(); }

void Device::resetForTesting() { *this = Device(); }

}  // namespace ui
