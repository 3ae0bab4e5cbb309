#include "update/date_format.h"

#include <windows.h>
#include <oleauto.h>

namespace jc {
namespace {

bool LocaleUsesTwentyFourHours() {
  char buffer[4] = {' ', ' ', ' ', ' '};
  if (!::GetLocaleInfoA(0, LOCALE_ITIME, buffer, sizeof buffer)) return false;
  return TextToInteger(std::string_view(buffer, strnlen(buffer, sizeof buffer))) == 1;
}

constexpr int kOutputSize = 50;

Text Formatted(const Text& picture, const SYSTEMTIME& fields, bool date) {
  if (picture.size() < 3) return {};
  char buffer[kOutputSize] = {};
  int length = date ? ::GetDateFormatA(0, 0, &fields, picture.c_str(), buffer, kOutputSize)
                    : ::GetTimeFormatA(0, 0, &fields, picture.c_str(), buffer, kOutputSize);
  return length > 0 ? Text(buffer, strnlen(buffer, kOutputSize)) : Text();
}

}  // namespace

double CurrentLocalTime() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  now.wMilliseconds = 0;
  double time = 0;
  ::SystemTimeToVariantTime(&now, &time);
  return time;
}

Text FormatDateTime(std::optional<double> time, int style, int kind) {
  DateTimePictures pictures = PicturesFor(style, kind, LocaleUsesTwentyFourHours());
  SYSTEMTIME fields;
  if (!::VariantTimeToSystemTime(time ? *time : CurrentLocalTime(), &fields)) return {};
  return Formatted(pictures.date, fields, true) + Formatted(pictures.time, fields, false);
}

}  // namespace jc
