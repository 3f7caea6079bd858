#pragma once
// The toolkit's additions to dates: day bounds, short English formats and the
// relative time of a past (or future) moment. Days are local; every text and
// format passes through TKLibraryLocalizedString. Main thread only.
#include <string>

#include "platform/foundation/Calendar.h"
#include "platform/foundation/Date.h"

namespace ns {

// The start of today.
Date dateWithToday();
// The first moment of the date's day, from its calendar components: on a day
// whose midnight does not exist (clocks go forward at 00:00) it is the first
// moment that does.
Date dateAtMidnight(Date date);
Date dateJustAtStartOfDay(Date date);
// 23:59:59 of the date's day.
Date dateJustBeforeEndOfDay(Date date);

// The date written with a pattern of the platform's date formatter ("h:mm a",
// "EEEE, LLLL d, yyyy", "M/d/yy"): y, M, L, d, E, h, H, m, s, a and quoted
// text, in English.
std::string formatDatePattern(Date date, const std::string& pattern);

std::string formatTime(Date date);      // "h:mm a"
std::string formatDate(Date date);      // "EEEE, LLLL d, yyyy"
// By the whole seconds between the date and now (a future date reads as past):
// the time within a day, then the weekday within a week, then the date.
std::string formatShortTime(Date date);
std::string formatDateTime(Date date);
// "just a moment ago", "%d seconds ago", "about a minute ago", "%d minutes
// ago", "about an hour ago", "%d hours ago", then formatDateTime.
std::string formatRelativeTime(Date date);
// "Today", "Yesterday" (compared by year, month and day) or "MMMM d".
std::string formatDay(Date date, const DateComponents& today, const DateComponents& yesterday);

}  // namespace ns
