#pragma once
// The marks a saved search leaves on the verses it finds (shown in the reading
// screen's verse numbers): switched on, the entry's hits are marked; switched
// off, every mark of the entry goes, whatever its query finds today. One
// transaction: a failure leaves the marks and the entry as they were. Any
// thread; the store keeps other threads' statements out of the transaction.
#include <sqlite3.h>

#include "Classes/core/SavedSearch.h"

namespace searchmarks {

// The text the entry's query runs on: without vowel marks for the Arabic.
std::string queryText(const SavedSearch& entry);

// Marks or unmarks the entry's verses and stores its new state (and the time,
// which brings it to the top of the history). False when the store failed:
// nothing changed then, the entry's state included.
bool reflect(sqlite3* user, sqlite3* content, SavedSearch& entry, bool highlighted);

}  // namespace searchmarks
