// The build's folders, given to this file alone by the build system.
#include "platform/foundation/Paths.h"

namespace ns {

std::string builtResourceDirectory() {
#ifdef ZARVEL_RESOURCE_DIR
  return ZARVEL_RESOURCE_DIR;
#else
  return "resources";
#endif
}

std::string sourceDirectory() {
#ifdef ZARVEL_SOURCE_DIR
  return ZARVEL_SOURCE_DIR;
#else
  return ".";
#endif
}

}  // namespace ns
