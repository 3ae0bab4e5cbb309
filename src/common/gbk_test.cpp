// Pins every GBK constant against its Chinese written in UTF-8, so a slip in a hex escape
// shows up here rather than as a garbled caption.
#include <gtest/gtest.h>
#include <iconv.h>

#include "common/gbk.h"
#include "update/service_address.h"

namespace jc {
namespace {

std::string Gbk(const std::string& utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  std::string in = utf8, out(utf8.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  EXPECT_NE(done, static_cast<size_t>(-1)) << utf8;
  out.resize(out.size() - outLeft);
  return out;
}

TEST(GbkTextsTest, ConstantsMatchTheirChinese) {
  EXPECT_EQ(gbk::kFullWidthSpace, Gbk("　"));
  EXPECT_EQ(gbk::kQuoteWord, Gbk("#引号"));
  EXPECT_EQ(gbk::kProgramName, Gbk("霁窗"));
  EXPECT_EQ(kServiceSection, Gbk("服务"));
  EXPECT_EQ(kServiceKey, Gbk("地址"));
}

}  // namespace
}  // namespace jc
