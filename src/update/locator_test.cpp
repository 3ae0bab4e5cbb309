#include "update/locator.h"

#include <gtest/gtest.h>

namespace jc {
namespace {

struct DocumentCase {
  const char* name;
  Bytes document;
  const char* path;
};

Bytes B(std::string_view text) { return BytesFromText(text); }

class LatestImagePathTest : public testing::TestWithParam<DocumentCase> {};

TEST_P(LatestImagePathTest, RewritesFirstStringValue) {
  EXPECT_EQ(LatestImagePath(GetParam().document), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LatestImagePathTest,
    testing::Values(
        DocumentCase{"WorkedExample", B("{\"date\":\"2019-05-31 09:20:00\",\"file\":\"PI_H08\"}"),
                     "2019/05/31/092000_0_0.png"},
        DocumentCase{"Empty", {}, "_0_0.png"},
        DocumentCase{"NoColonQuote", B("<html><body>404 Not Found</body></html>"), "_0_0.png"},
        DocumentCase{"NoClosingQuote", B("{\"date\":\"2019-05-31"), "_0_0.png"},
        // Only the first colon-quote pair counts, whichever member it belongs to.
        DocumentCase{"FirstValueWins",
                     B("{\"file\":\"PI_H08_20190531\",\"date\":\"2019-05-31 09:20:00\"}"),
                     "PI_H08_20190531_0_0.png"},
        DocumentCase{"NumberBeforeString", B("{\"n\":5,\"date\":\"2020-01-02 03:04:05\"}"),
                     "2020/01/02/030405_0_0.png"},
        DocumentCase{"NotADate", B("{\"date\":\"soon: 1-2\"}"), "soon/1/2_0_0.png"},
        DocumentCase{"NulCutsTheBody",
                     Bytes{'{', '"', 'a', '"', 0, ':', '"', '1', '-', '2', '"', '}'}, "_0_0.png"},
        DocumentCase{"NulAfterValue",
                     Bytes{':', '"', '1', '-', '2', '"', 0, ':', '"', 'x', '"'}, "1/2_0_0.png"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LocateLatestImageTest, FetchesTheDocumentUrlOnce) {
  std::vector<Text> asked;
  Text path = LocateLatestImage("http://127.0.0.1:1/himawari8/img/FULL_24h/latest.json",
                                [&](const Text& url) {
                                  asked.push_back(url);
                                  return B("{\"date\":\"2019-05-31 09:20:00\"}");
                                });
  EXPECT_EQ(path, "2019/05/31/092000_0_0.png");
  EXPECT_EQ(asked, (std::vector<Text>{"http://127.0.0.1:1/himawari8/img/FULL_24h/latest.json"}));
}

struct BatchCase {
  const char* text;
  std::optional<int> count;
  int start;
  bool caseSensitive;
  const char* find1;
  const char* replace1;
  const char* find2;
  const char* replace2;
  const char* expected;
};

class BatchReplaceTest : public testing::TestWithParam<BatchCase> {};

TEST_P(BatchReplaceTest, AppliesPairsInOrder) {
  const BatchCase& c = GetParam();
  EXPECT_EQ(BatchReplace(c.text, c.count, c.start, c.caseSensitive, c.find1, c.replace1, c.find2,
                         c.replace2),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchReplaceTest,
    testing::Values(BatchCase{"a-b-c", std::nullopt, 0, false, "-", "/", "", "", "a/b/c"},
                    BatchCase{"a-b-c", 1, 0, false, "-", "/", "", "", "a/b-c"},
                    BatchCase{"a-b-c", std::nullopt, 3, false, "-", "/", "", "", "a-b/c"},
                    BatchCase{"a-b-c", 0, 0, false, "-", "/", "", "", "a-b-c"},
                    BatchCase{"a-b-c", -1, 0, false, "-", "/", "", "", "a/b/c"},
                    BatchCase{"AbA", std::nullopt, 0, false, "a", "x", "", "", "xbx"},
                    BatchCase{"AbA", std::nullopt, 0, true, "a", "x", "", "", "AbA"},
                    BatchCase{"a-b", std::nullopt, 0, false, "-", "/", "/", "+", "a+b"},
                    // The count applies to each pair afresh.
                    BatchCase{"a-b-c", 1, 0, false, "-", "/", "-", "+", "a/b+c"},
                    BatchCase{"a-b", std::nullopt, 0, false, "-", "", "", "", "ab"}));

}  // namespace
}  // namespace jc
