#include "web/cookies.h"

#include <gtest/gtest.h>

namespace jc {
namespace {

struct MergeCase {
  const char* submitted;
  const char* collected;
  const char* merged;
};

class MergeCookiesTest : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTest, MergesAndLeavesResultInSubmitted) {
  const MergeCase& c = GetParam();
  Text submitted = c.submitted, collected = c.collected;
  EXPECT_EQ(MergeCookies(submitted, collected), c.merged);
  EXPECT_EQ(submitted, c.merged);
  EXPECT_EQ(collected, RemoveSpaces(c.collected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeCookiesTest,
    testing::Values(MergeCase{"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1"},
                    MergeCase{"a=1", "b=2", "b=2; a=1"},
                    MergeCase{"a=1", "a=deleted", ""},
                    MergeCase{"", "x=1; y=2", "x=1; y=2"},
                    MergeCase{"a=1;a=5", "", "a=1"},
                    MergeCase{"", "a=1; a=1; b=2", "a=1; b=2"},
                    MergeCase{"", "a=1; a=2", "a=1; a=2"},
                    MergeCase{"k=v w", "", "k=vw"},
                    MergeCase{"flag", "flag=1", "flag=1"},
                    MergeCase{"", "", ""},
                    MergeCase{"a=1\xA1\xA1", "", "a=1"},           // full-width space removed
                    MergeCase{"A=1", "a=2", "a=2; A=1"},           // names keep their case
                    MergeCase{"a=1", "b=deleted; c=3", "c=3; a=1"}));

TEST(CookieNameTest, TakesBytesBeforeFirstEqualsTrimmed) {
  EXPECT_EQ(CookieName(" a =1=2"), "a");
  EXPECT_EQ(CookieName("flag "), "flag");
  EXPECT_EQ(CookieName(""), "");
}

TEST(JoinDistinctTest, KeepsFirstOfIdenticalPieces) {
  EXPECT_EQ(JoinDistinct("a; b; a; c; b", "; "), "a; b; c");
  EXPECT_EQ(JoinDistinct("", "; "), "");
  EXPECT_EQ(IndexOfText({"x", "y", "y"}, "y"), 2);
  EXPECT_EQ(IndexOfText({}, "y"), -1);
  EXPECT_FALSE(HasCookieName({}, "a"));
  EXPECT_TRUE(HasCookieName({"b=1", "a=2"}, "a"));
}

}  // namespace
}  // namespace jc
