// Time stamps for the log: a date-time as text through the Windows date and time pictures.
#pragma once

#include <optional>

#include "common/text.h"

namespace jc {

// The two pictures that make a formatted date-time, in GetDateFormat/GetTimeFormat syntax.
struct DateTimePictures {
  Text date;
  Text time;
};

// Style 0 "yyyy年MM月dd日 " + "hh时mm分ss秒", 1 "yyyy-MM-dd " + "hh:mm:ss", 2 "yyyy/MM/dd " +
// "hh/mm/ss", 3 "yyyyMMdd" + "hhmmss" (others count as 0). Kind 1 the date alone (trimmed),
// 2 month and day, 3 the time, 4 hour and minute, 5 minute and second, others both. On a
// 24-hour locale every "hh" becomes "HH".
DateTimePictures PicturesFor(int style, int kind, bool twentyFourHour);

// An automation date (days since 1899-12-30, the fraction the time of day) formatted with the
// user's locale, or the current local time when `time` is absent. Empty when the time cannot
// be converted (Windows build).
Text FormatDateTime(std::optional<double> time = std::nullopt, int style = 0, int kind = 0);

// The current local date and time in whole seconds as an automation date (Windows build).
double CurrentLocalTime();

}  // namespace jc
