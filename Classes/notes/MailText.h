#pragma once
// Pieces of the HTML mails the application writes (a verse, a note): outside
// text made safe for the markup, and the footer that links to the store page.
#include <sqlite3.h>

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

// One verse as the mails of bookmarks and search results write it: its
// heading, its Arabic text, then its text in the primary translation and in
// the secondary one (each only when it is a translation: not 0 or 1000; the
// secondary only when it differs from the primary), every text escaped.
std::string verseHTML(sqlite3* content, int surah, int verse, int primary, int secondary);

}  // namespace mailtext
