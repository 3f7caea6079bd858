#pragma once
// Pieces of the HTML mails the application writes (a verse, a note): outside
// text made safe for the markup, and the footer that links to the store page.
#include <string>
#include <string_view>

namespace mailtext {

// Where the application's page in the store is.
inline constexpr char kStorePageURL[] = "https://zarvel.example/app";

// The text with the HTML specials escaped and every line end ("\r\n", "\n"
// or "\r") written as "<br>", so a verse, translation or note shows as typed
// and cannot add markup of its own.
std::string escapeForHTML(std::string_view text);

// An anchor to the store page whose text is the given (already localised) text.
std::string storeLinkHTML(std::string_view text);

}  // namespace mailtext
