#pragma once
// Process-wide state the delegate's category files share.

namespace app_state {
// The Friday alert was shown (cleared on any day that is not a Friday).
extern bool gFridayAlertShown;
}  // namespace app_state
