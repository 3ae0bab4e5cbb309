// Pins every GBK constant against its Chinese written in UTF-8, so a slip in a hex escape
// shows up here rather than as a garbled caption.
#include <gtest/gtest.h>
#include <iconv.h>

#include "common/gbk.h"
#include "shell/settings.h"
#include "shell/shell_texts.h"
#include "update/service_address.h"
#include "update/update_job.h"
#include "imaging/wallpaper_texts.h"

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
  EXPECT_EQ(kStartMessage, Gbk(" 正在更新地球图片……"));
  EXPECT_EQ(kDoneMessage, Gbk(" 更新地球图片完成。"));
  EXPECT_EQ(kWallpaperBitmapName, Gbk("桌面背景图片.bmp"));
  EXPECT_EQ(texts::kWindowCaption, Gbk("霁窗"));
  EXPECT_EQ(texts::kTrayTip, Gbk("霁窗"));
  EXPECT_EQ(texts::kUpdateNow, Gbk("获取地球图片"));
  EXPECT_EQ(texts::kWallpaper, Gbk("设置壁纸"));
  EXPECT_EQ(texts::kAutostart, Gbk("开机启动"));
  EXPECT_EQ(texts::kBackground, Gbk("后台运行"));
  EXPECT_EQ(texts::kExit, Gbk("退出"));
  EXPECT_EQ(texts::kTrayMenu, Gbk("托盘菜单"));
  EXPECT_EQ(texts::kAlreadyRunning, Gbk("已运行本程序，请勿重复运行！"));
  EXPECT_EQ(texts::kReminderCaption, Gbk("友情提醒:"));
  EXPECT_EQ(texts::kCloseQuestion, Gbk("是否关闭本程序？"));
  EXPECT_EQ(texts::kQuestionCaption, Gbk("询问："));
  EXPECT_EQ(kSettingsSection, Gbk("设置"));
  EXPECT_EQ(kOnText, Gbk("真"));
  EXPECT_EQ(kOffText, Gbk("假"));
}

}  // namespace
}  // namespace jc
