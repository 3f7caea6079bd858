#pragma once
// The toolkit's free functions: orientation and screen geometry below the
// bars and above the keyboard, the network activity counter behind the status
// bar's indicator, the toolkit's own string table, user texts for loading
// errors, and the "bundle://" and "documents://" schemes with their folders.
// Main thread only.
#include <functional>
#include <optional>
#include <string>

#include "platform/foundation/Error.h"
#include "platform/foundation/Value.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/Keyboard.h"

// The keyboard's notifications (posted by the platform's keyboard and by a view
// presented like one) and the user-info entries the toolkit reads: rectangles
// as arrays of four numbers, points as arrays of two.
inline constexpr const char* TKKeyboardWillShowNotification = ui::KeyboardWillShowNotification;
inline constexpr const char* TKKeyboardWillHideNotification = ui::KeyboardWillHideNotification;
inline constexpr const char* TKKeyboardBoundsUserInfoKey = ui::KeyboardBoundsUserInfoKey;
inline constexpr const char* TKKeyboardCenterBeginUserInfoKey = ui::KeyboardCenterBeginUserInfoKey;
inline constexpr const char* TKKeyboardCenterEndUserInfoKey = ui::KeyboardCenterEndUserInfoKey;

// A rectangle or point entry of a keyboard notification; zero when absent or malformed.
cg::Rect TKKeyboardRect(const ns::Value& userInfo, const char* key);
cg::Point TKKeyboardPoint(const ns::Value& userInfo, const char* key);

// The device's orientation in the platform's numbering (0 unknown, 1-4 the
// interface orientations, 5 and 6 face up and down); unknown reads as portrait.
int TKCurrentDeviceOrientation();
// The status bar's orientation, which the interface follows.
ui::InterfaceOrientation TKCurrentInterfaceOrientation();
// The main screen's bounds, the long side across in landscape.
cg::Rect TKOrientedScreenBounds();
// The application frame's size less the height of one (two) navigation bars.
cg::Rect TKFrameBelowOneBar();
cg::Rect TKFrameBelowTwoBars();
// The height of the keyboard as its last notification gave it; 0 before any.
float TKKeyboardHeightForOrientation();
// True between the keyboard's will-show and will-hide notifications.
bool TKKeyboardIsShown();

cg::Rect TKRectShrinkSize(cg::Rect rect, float dx, float dy);
cg::Rect TKRectApplyInsets(cg::Rect rect, cg::EdgeInsets insets);

// Network activity: every begin is paired with one end. The indicator shows
// while the count is above 0.
void TKNetworkActivityBegin();
void TKNetworkActivityEnd();
int TKNetworkActivityCount();
// The status bar's indicator follows the count; a listener may watch it too.
void TKSetNetworkActivityIndicatorHandler(std::function<void(bool visible)> handler);

// The text for the key in "Toolkit.bundle"'s string table of the interface
// language (item 0 of AppleLanguages); the key itself when the table or the key
// is missing. The comment is not used.
std::string TKLibraryLocalizedString(const std::string& key, const std::string& comment = "");
// The text for the key in the application's own string table of the interface
// language (the table the application's screens read); the key when missing.
std::string TKApplicationLocalizedString(const std::string& key);

// A short title for a failed load: "Connection Timed Out", "No Internet
// Connection", "Connection Error" or "Error", localised.
std::string TKErrorDisplayText(const ns::Error& error);

bool TKHasBundleScheme(const std::string& url);     // starts exactly with "bundle://"
bool TKHasDocumentsScheme(const std::string& url);  // starts exactly with "documents://"

// The bundle's resource folder, or the user's Documents folder, with the
// relative path appended.
std::string TKMainBundleResourcePath(const std::string& relativePath);
std::string TKDocumentsPath(const std::string& relativePath);
// The file a "bundle://" or "documents://" URL names, when it exists inside
// its folder; nothing for any other URL and for a path that leaves the folder
// ("bundle://../x", or a link pointing out).
std::optional<std::string> TKLocalFilePath(const std::string& url);
