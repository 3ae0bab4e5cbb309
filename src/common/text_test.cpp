#include "common/text.h"

#include <gtest/gtest.h>

#include <optional>

namespace jc {
namespace {

// GBK pieces used below. "\xB0\x5C" is one double-byte character whose second byte is a
// backslash, "\xB0\x41" one whose second byte is 'A'.
constexpr char kBackslashTrail[] = "\xB0\x5C";
constexpr char kFullWidth[] = "\xA1\xA1";

struct FindCase {
  const char* text;
  const char* search;
  int start;
  bool ignoreCase;
  int expected;
};

class FindTextTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindTextTest, FindsFirstMatchOnCharacterBoundary) {
  const FindCase& c = GetParam();
  EXPECT_EQ(FindText(c.text, c.search, c.start, c.ignoreCase), c.expected)
      << "text '" << c.text << "' search '" << c.search << "' start " << c.start;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTextTest,
    testing::Values(FindCase{"abc", "", 1, false, 1},       // empty search: 1
                    FindCase{"abc", "", 3, false, 1},       // 1, not the start
                    FindCase{"abc", "", 4, false, -1},      // nothing left to search
                    FindCase{"", "", 1, false, -1},
                    FindCase{"abcabc", "bc", 3, false, 5},
                    FindCase{"abcabc", "bc", 0, false, 2},  // below 1 counts as 1
                    FindCase{"abcabc", "bc", -4, false, 2},
                    FindCase{"abcabc", "bc", 99, false, -1},
                    FindCase{"abc", "abcd", 1, false, -1},  // longer than the text
                    FindCase{"aBc", "Bc", 1, false, 2},
                    FindCase{"aBc", "bc", 1, false, -1},
                    FindCase{"aBc", "bC", 1, true, 2},
                    FindCase{kBackslashTrail, "\\", 1, false, -1},  // second byte is no '\'
                    FindCase{"\xB0\x41" "A", "A", 1, false, 3},     // nor an 'A'
                    FindCase{"\xB0\x41" "a", "a", 1, true, 3},
                    // Ignoring case never folds a second byte: "\x81\x61" and "\x81\x41" differ.
                    FindCase{"x\x81\x61", "\x81\x41", 1, true, -1},
                    FindCase{"x\x81\x41", "\x81\x41", 1, true, 2},
                    FindCase{"x\x81\x41Z", "\x81\x41z", 1, true, 2},
                    FindCase{"x\xB0", "\xB0", 1, false, -1},       // dangling lead ends the scan
                    FindCase{"\xD6\xD0\xCE\xC4", "\xCE\xC4", 1, false, 3}));

TEST(FindTextTest, StartInsideAPairScansFromThatByte) {
  // A start on a second byte treats that byte as where the scan begins.
  EXPECT_EQ(FindText("\xB0\x5C\\", "\\", 2), 2);
}

struct ReverseCase {
  const char* text;
  const char* search;
  std::optional<int> start;
  int expected;
};

class FindTextReverseTest : public testing::TestWithParam<ReverseCase> {};

TEST_P(FindTextReverseTest, FindsLastMatchWhollyBeforeStart) {
  const ReverseCase& c = GetParam();
  EXPECT_EQ(FindTextReverse(c.text, c.search, c.start), c.expected)
      << "text '" << c.text << "' search '" << c.search << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTextReverseTest,
    testing::Values(ReverseCase{"a.b.c", ".", std::nullopt, 4}, ReverseCase{"a.b.c", ".", 4, 2},
                    ReverseCase{"a.b.c", ".", 2, -1}, ReverseCase{"a.b.c", ".", 1, -1},
                    ReverseCase{"a.b.c", ".", -3, -1}, ReverseCase{"a.b.c", ".", 99, 4},
                    ReverseCase{"abab", "ab", 4, 1},  // the match at 3 would end past the region
                    ReverseCase{"abab", "ab", 5, 3}, ReverseCase{"abc", "", std::nullopt, 1},
                    ReverseCase{"abc", "", 1, -1}, ReverseCase{"", "", std::nullopt, -1},
                    ReverseCase{"\\\xB0\x5C", "\\", std::nullopt, 1}));

TEST(FindTextReverseTest, FeedingTheResultBackWalksEveryOccurrence) {
  std::vector<int> found;
  for (int p = FindTextReverse("a.b.c.d", "."); p != -1; p = FindTextReverse("a.b.c.d", ".", p)) {
    found.push_back(p);
  }
  EXPECT_EQ(found, (std::vector<int>{6, 4, 2}));
}

TEST(SliceTest, CountsPlainBytes) {
  EXPECT_EQ(LeftText("abc", 2), "ab");
  EXPECT_EQ(LeftText("abc", 9), "abc");
  EXPECT_EQ(LeftText("abc", 0), "");
  EXPECT_EQ(LeftText("abc", -1), "");
  EXPECT_EQ(RightText("abc", 2), "bc");
  EXPECT_EQ(RightText("abc", 9), "abc");
  EXPECT_EQ(RightText("abc", -2), "");
  EXPECT_EQ(MidText("abcde", 2, 3), "bcd");
  EXPECT_EQ(MidText("abcde", 4, 9), "de");
  EXPECT_EQ(MidText("abcde", 0, 2), "");
  EXPECT_EQ(MidText("abcde", 6, 1), "");
  EXPECT_EQ(MidText("abcde", 1, 0), "");
  EXPECT_EQ(LeftText("\xB0\xA1z", 1), "\xB0");  // may cut a pair
}

struct ReplaceCase {
  const char* text;
  const char* search;
  const char* replacement;
  int start;
  int count;
  bool caseSensitive;
  const char* expected;
};

class ReplaceTextTest : public testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTextTest, Replaces) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceText(c.text, c.search, c.replacement, c.start, c.count, c.caseSensitive),
            c.expected)
      << "text '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceTextTest,
    testing::Values(
        ReplaceCase{"set-cookie: a; SET-COOKIE: b", "Set-Cookie", "Set-Cookie", 1, -1, false,
                    "Set-Cookie: a; Set-Cookie: b"},
        ReplaceCase{"AbA", "a", "x", 1, -1, false, "xbx"},
        ReplaceCase{"AbA", "a", "x", 1, -1, true, "AbA"},
        ReplaceCase{"a-b-c", "-", "/", 1, 1, false, "a/b-c"},
        ReplaceCase{"a-b-c", "-", "/", 3, -1, false, "a-b/c"},
        ReplaceCase{"a-b-c", "-", "/", 0, -1, false, "a/b/c"},
        ReplaceCase{"a-b-c", "-", "/", 1, 0, false, "a-b-c"},
        ReplaceCase{"a-b-c", "-", "/", 6, -1, false, "a-b-c"},  // start beyond the end
        ReplaceCase{"a-b-c", "", "/", 1, -1, false, "a-b-c"},
        ReplaceCase{"aaa", "a", "aa", 1, -1, true, "aaaaaa"},   // inserted text not searched
        ReplaceCase{"aaaa", "aa", "b", 1, -1, true, "bb"},      // no overlapping matches
        ReplaceCase{"x:y:z", ":", "", 1, -1, true, "xyz"},
        ReplaceCase{"\xB0\x5C\\", "\\", "/", 1, -1, true, "\xB0\x5C/"},
        ReplaceCase{"ab\xB0", "b", "c", 1, -1, true, "ac\xB0"},  // dangling byte kept
        ReplaceCase{"\x81\x61", "\x81\x41", "X", 1, -1, false, "\x81\x61"}));

TEST(ReplaceTextTest, EmptyTextStaysEmpty) { EXPECT_EQ(ReplaceText("", "a", "b"), ""); }

struct SplitCase {
  const char* text;
  const char* separator;
  std::optional<int> maxCount;
  TextList expected;
};

class SplitTextTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextTest, Splits) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(SplitText(c.text, c.separator, c.maxCount), c.expected) << "text '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTextTest,
    testing::Values(SplitCase{"", ";", std::nullopt, {}},
                    SplitCase{"a;;b;", ";", std::nullopt, {"a", "", "b"}},
                    SplitCase{";a", ";", std::nullopt, {"", "a"}},
                    SplitCase{"a,b", ",", std::nullopt, {"a", "b"}},
                    SplitCase{"a;b", "", std::nullopt, {"a;b"}},
                    SplitCase{"a\r\nb\r\n", "\r\n", std::nullopt, {"a", "b"}},
                    SplitCase{"a;b;c", ";", 2, {"a", "b"}},
                    SplitCase{"a;b", ";", 2, {"a", "b"}},
                    SplitCase{"a;b;c", ";", 0, {}},
                    SplitCase{"a;b;c", ";", -1, {}},
                    SplitCase{"\xB0\x5C\\x", "\\", std::nullopt, {"\xB0\x5C", "x"}}));

struct SpacesCase {
  const char* text;
  const char* trimmed;
  const char* removed;
};

class SpacesTest : public testing::TestWithParam<SpacesCase> {};

TEST_P(SpacesTest, TrimsAndRemovesOnlySpaces) {
  const SpacesCase& c = GetParam();
  EXPECT_EQ(TrimSpaces(c.text), c.trimmed);
  EXPECT_EQ(RemoveSpaces(c.text), c.removed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpacesTest,
    testing::Values(SpacesCase{"  a b  ", "a b", "ab"},
                    SpacesCase{"\xA1\xA1" "a" "\xA1\xA1", "a", "a"},  // full-width spaces
                    SpacesCase{"\ta\r\n", "\ta\r\n", "\ta\r\n"},      // tab, CR, LF stay
                    SpacesCase{"   ", "", ""}, SpacesCase{"", "", ""},
                    SpacesCase{"\xB0\x20", "\xB0\x20", "\xB0\x20"},   // 0x20 as a second byte
                    SpacesCase{" a\xB0", "a", "a"}));                 // dangling byte left out

TEST(LowerCaseTest, LowersAsciiOnlyAndSkipsSecondBytes) {
  EXPECT_EQ(LowerCase("HTTP://A.B/X"), "http://a.b/x");
  EXPECT_EQ(LowerCase("\xB0\x41Z"), "\xB0\x41z");
  EXPECT_EQ(LowerCase("\xC0\xC1"), "\xC0\xC1");
}

TEST(TextToIntegerTest, ReadsSignedDecimal) {
  EXPECT_EQ(TextToInteger("8080"), 8080);
  EXPECT_EQ(TextToInteger(" \t\r\n-42x"), -42);
  EXPECT_EQ(TextToInteger("+7"), 7);
  EXPECT_EQ(TextToInteger("x1"), 0);
  EXPECT_EQ(TextToInteger(""), 0);
  EXPECT_EQ(TextToInteger("1    "), 1);
  EXPECT_EQ(TextToInteger("99999999999"), 2147483647);
  EXPECT_EQ(TextToInteger("-99999999999"), -2147483647 - 1);
}

struct BetweenCase {
  const char* text;
  const char* left;
  const char* right;
  int start;
  bool ignoreCase;
  const char* expected;
};

class TextBetweenTest : public testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, CutsBetweenMarkers) {
  const BetweenCase& c = GetParam();
  EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.expected)
      << "text '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    testing::Values(
        BetweenCase{"{\"date\":\"2019-05-31 09:20:00\"}", ":\"", "\"", 1, false,
                    "2019-05-31 09:20:00"},
        BetweenCase{"{\"date\":\"x\"}", ":#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5", 1, false, "x"},
        BetweenCase{"no marker here", ":\"", "\"", 1, false, ""},
        BetweenCase{"a:\"b", ":\"", "\"", 1, false, ""},       // no right marker
        BetweenCase{"abc", "", "c", 2, false, "ab"},           // empty left: from position 1
        BetweenCase{"abc", "a", "", 1, false, ""},             // empty right: always empty
        BetweenCase{"[]", "[", "]", 1, false, ""},             // markers touch
        BetweenCase{"[a][b]", "[", "]", 3, false, "b"},
        BetweenCase{"X-A: 1\r\n", "x-a:", "\r\n", 1, true, " 1"},
        BetweenCase{"X-A: 1\r\n", "x-a:", "\r\n", 1, false, ""},
        BetweenCase{"ab]", "[", "]", 1, false, ""}));

}  // namespace
}  // namespace jc
