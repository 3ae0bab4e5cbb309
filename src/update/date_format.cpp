#include "update/date_format.h"

namespace jc {
namespace {

struct StylePictures {
  std::string_view date, time, monthDay, hourMinute, minuteSecond;
};

// 年 C4EA, 月 D4C2, 日 C8D5, 时 CAB1, 分 B7D6, 秒 C3EB.
constexpr StylePictures kStyles[] = {
    {"yyyy\xC4\xEA" "MM\xD4\xC2" "dd\xC8\xD5 ", "hh\xCA\xB1" "mm\xB7\xD6" "ss\xC3\xEB",
     "MM\xD4\xC2" "dd\xC8\xD5", "hh\xCA\xB1" "mm\xB7\xD6", "mm\xB7\xD6" "ss\xC3\xEB"},
    {"yyyy-MM-dd ", "hh:mm:ss", "MM-dd", "hh:mm", "mm:ss"},
    {"yyyy/MM/dd ", "hh/mm/ss", "MM/dd", "hh/mm", "mm/ss"},
    {"yyyyMMdd", "hhmmss", "MMdd", "hhmm", "mmss"},
};

}  // namespace

DateTimePictures PicturesFor(int style, int kind, bool twentyFourHour) {
  const StylePictures& s = kStyles[(style < 0 || style > 3) ? 0 : style];
  DateTimePictures pictures{Text(s.date), Text(s.time)};
  if (kind >= 3 && kind <= 5) pictures.date.clear();
  if (kind == 1 || kind == 2) pictures.time.clear();
  if (kind == 1) pictures.date = TrimSpaces(pictures.date);
  if (kind == 2) pictures.date = Text(s.monthDay);
  if (kind == 4) pictures.time = Text(s.hourMinute);
  if (kind == 5) pictures.time = Text(s.minuteSecond);
  if (twentyFourHour) pictures.time = ReplaceText(pictures.time, "hh", "HH", 1, -1, true);
  return pictures;
}

}  // namespace jc
