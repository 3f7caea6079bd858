#pragma once
// The toolkit's additions to strings: whitespace tests, markup stripping and
// URL queries (parsed and built).
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"

namespace ns {

// True when every character is whitespace or a newline (the empty string too).
bool isWhitespace(std::string_view s);
// True when nothing but spaces and tabs is there; a newline counts as content.
bool isEmptyOrWhitespace(std::string_view s);

// The text with its tags removed and the markup entities resolved.
std::string stringByRemovingHTMLTags(std::string_view s);

// The pairs of a query ("a=1&b=2;c=3"): "&" and ";" separate pairs; a pair
// needs exactly one "="; key and value lose their percent escapes (UTF-8). A
// later pair wins. Values are strings.
Dictionary queryDictionary(std::string_view query);

// The URL with the pairs appended after "?" (or "&" when it has a query
// already); keys and values are percent-encoded, leaving only the unreserved
// characters, so "&", "=", "#", "%", "+" and spaces survive the trip.
std::string stringByAddingQueryDictionary(std::string_view url, const Dictionary& query);
// The percent-encoding used for one query key or value.
std::string escapeQueryComponent(std::string_view s);

}  // namespace ns
