#include "update/date_format.h"

#include <gtest/gtest.h>

namespace jc {
namespace {

struct PictureCase {
  int style;
  int kind;
  bool twentyFour;
  const char* date;
  const char* time;
};

class PicturesTest : public testing::TestWithParam<PictureCase> {};

TEST_P(PicturesTest, ChoosesPictures) {
  const PictureCase& c = GetParam();
  DateTimePictures p = PicturesFor(c.style, c.kind, c.twentyFour);
  EXPECT_EQ(p.date, c.date) << c.style << "/" << c.kind;
  EXPECT_EQ(p.time, c.time) << c.style << "/" << c.kind;
}

// 年 C4EA 月 D4C2 日 C8D5 时 CAB1 分 B7D6 秒 C3EB
INSTANTIATE_TEST_SUITE_P(
    Cases, PicturesTest,
    testing::Values(
        PictureCase{0, 0, true, "yyyy\xC4\xEA" "MM\xD4\xC2" "dd\xC8\xD5 ", "HH\xCA\xB1" "mm\xB7\xD6" "ss\xC3\xEB"},
        PictureCase{0, 0, false, "yyyy\xC4\xEA" "MM\xD4\xC2" "dd\xC8\xD5 ", "hh\xCA\xB1" "mm\xB7\xD6" "ss\xC3\xEB"},
        PictureCase{1, 0, true, "yyyy-MM-dd ", "HH:mm:ss"},
        PictureCase{2, 0, true, "yyyy/MM/dd ", "HH/mm/ss"},
        PictureCase{3, 0, true, "yyyyMMdd", "HHmmss"},
        PictureCase{-1, 0, true, "yyyy\xC4\xEA" "MM\xD4\xC2" "dd\xC8\xD5 ", "HH\xCA\xB1" "mm\xB7\xD6" "ss\xC3\xEB"},
        PictureCase{4, 6, false, "yyyy\xC4\xEA" "MM\xD4\xC2" "dd\xC8\xD5 ", "hh\xCA\xB1" "mm\xB7\xD6" "ss\xC3\xEB"},
        PictureCase{0, 1, true, "yyyy\xC4\xEA" "MM\xD4\xC2" "dd\xC8\xD5", ""},  // trimmed
        PictureCase{1, 1, true, "yyyy-MM-dd", ""},
        PictureCase{0, 2, true, "MM\xD4\xC2" "dd\xC8\xD5", ""},
        PictureCase{0, 3, true, "", "HH\xCA\xB1" "mm\xB7\xD6" "ss\xC3\xEB"},
        PictureCase{0, 4, true, "", "HH\xCA\xB1" "mm\xB7\xD6"},
        PictureCase{1, 4, false, "", "hh:mm"},
        PictureCase{0, 5, true, "", "mm\xB7\xD6" "ss\xC3\xEB"},
        PictureCase{3, -1, false, "yyyyMMdd", "hhmmss"}));

}  // namespace
}  // namespace jc
