#pragma once
// The toolkit's free functions: the network activity counter behind the status
// bar's indicator, the toolkit's own string table, user texts for loading
// errors, and the "bundle://" and "documents://" schemes with their folders.
// Main thread only.
#include <functional>
#include <string>

#include "platform/foundation/Error.h"

// Network activity: every begin is paired with one end. The indicator shows
// while the count is above 0.
void TKNetworkActivityBegin();
void TKNetworkActivityEnd();
int TKNetworkActivityCount();
// The status bar's indicator follows the count; a listener may watch it too.
void TKSetNetworkActivityIndicatorHandler(std::function<void(bool visible)> handler);

// The text for the key in "Toolkit.bundle"'s string table; the key itself when
// the table or the key is missing. The comment is not used.
std::string TKLibraryLocalizedString(const std::string& key, const std::string& comment = "");

// A short title for a failed load: "Connection Timed Out", "No Internet
// Connection", "Connection Error" or "Error", localised.
std::string TKErrorDisplayText(const ns::Error& error);

bool TKHasBundleScheme(const std::string& url);     // starts exactly with "bundle://"
bool TKHasDocumentsScheme(const std::string& url);  // starts exactly with "documents://"

// The bundle's resource folder, or the user's Documents folder, with the
// relative path appended.
std::string TKMainBundleResourcePath(const std::string& relativePath);
std::string TKDocumentsPath(const std::string& relativePath);
