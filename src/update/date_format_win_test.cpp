// FormatDateTime through the real NLS calls. One binary runs under two locales: CTest runs the
// TwentyFourHour cases with zh_CN (24-hour clock) and the TwelveHour cases with en_US.
#include "update/date_format.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <oleauto.h>

namespace jc {
namespace {

double At(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME fields = {year, month, 0, day, hour, minute, second, 0};
  double time = 0;
  ::SystemTimeToVariantTime(&fields, &time);
  return time;
}

int LocaleClock() {
  char buffer[4] = {};
  ::GetLocaleInfoA(0, LOCALE_ITIME, buffer, sizeof buffer);
  return buffer[0] == '1' ? 24 : 12;
}

struct FormatCase {
  int style;
  int kind;
  const char* expected;
};

class TwentyFourHour : public testing::TestWithParam<FormatCase> {};

TEST_P(TwentyFourHour, Formats) {
  ASSERT_EQ(LocaleClock(), 24) << "run with LC_ALL=zh_CN.UTF-8";
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatDateTime(At(2019, 5, 31, 17, 20, 5), c.style, c.kind), c.expected)
      << c.style << "/" << c.kind;
}

// 年 C4EA 月 D4C2 日 C8D5 时 CAB1 分 B7D6 秒 C3EB
INSTANTIATE_TEST_SUITE_P(
    Cases, TwentyFourHour,
    testing::Values(
        FormatCase{0, 0, "2019\xC4\xEA" "05\xD4\xC2" "31\xC8\xD5 17\xCA\xB1" "20\xB7\xD6" "05\xC3\xEB"},
        FormatCase{1, 0, "2019-05-31 17:20:05"}, FormatCase{2, 0, "2019/05/31 17/20/05"},
        FormatCase{3, 0, "20190531172005"},
        FormatCase{-1, 0, "2019\xC4\xEA" "05\xD4\xC2" "31\xC8\xD5 17\xCA\xB1" "20\xB7\xD6" "05\xC3\xEB"},
        FormatCase{4, 6, "2019\xC4\xEA" "05\xD4\xC2" "31\xC8\xD5 17\xCA\xB1" "20\xB7\xD6" "05\xC3\xEB"},
        FormatCase{0, 1, "2019\xC4\xEA" "05\xD4\xC2" "31\xC8\xD5"},
        FormatCase{0, 2, "05\xD4\xC2" "31\xC8\xD5"},
        FormatCase{0, 3, "17\xCA\xB1" "20\xB7\xD6" "05\xC3\xEB"},
        FormatCase{0, 4, "17\xCA\xB1" "20\xB7\xD6"},
        FormatCase{0, 5, "20\xB7\xD6" "05\xC3\xEB"},
        FormatCase{0, -1, "2019\xC4\xEA" "05\xD4\xC2" "31\xC8\xD5 17\xCA\xB1" "20\xB7\xD6" "05\xC3\xEB"}));

TEST(TwentyFourHourEdges, UnconvertibleTimeGivesEmptyText) {
  EXPECT_EQ(FormatDateTime(1e12), "");
}

TEST(TwentyFourHourEdges, OmittedTimeIsNow) {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  Text stamp = FormatDateTime(std::nullopt, 3, 1);  // yyyyMMdd
  char today[16];
  snprintf(today, sizeof today, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  EXPECT_EQ(stamp, today);
}

class TwelveHour : public testing::TestWithParam<FormatCase> {};

TEST_P(TwelveHour, FormatsWithoutMarker) {
  ASSERT_EQ(LocaleClock(), 12) << "run with LC_ALL=en_US.UTF-8";
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatDateTime(At(2019, 5, 31, 17, 20, 5), c.style, c.kind), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TwelveHour,
    testing::Values(FormatCase{1, 0, "2019-05-31 05:20:05"},
                    FormatCase{0, 3, "05\xCA\xB1" "20\xB7\xD6" "05\xC3\xEB"},
                    FormatCase{3, 4, "0520"}));

}  // namespace
}  // namespace jc
