#include "shell/settings.h"

#include <gtest/gtest.h>

#include "shell/autostart.h"

namespace jc {
namespace {

TEST(SettingsTest, OnlyTheOnTextReadsAsOn) {
  const struct {
    std::string_view stored;
    bool on;
  } cases[] = {
      {"\xD5\xE6", true},           // "真"
      {"\xBC\xD9", false},          // "假"
      {"", false},
      {"1", false},
      {"true", false},
      {"TRUE", false},
      {"\xD5\xE6 ", false},         // a trailing space is another text
      {"\xD5", false},              // the first byte alone
      {"\xD5\xE6\xD5\xE6", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingIsOn(c.stored), c.on) << testing::PrintToString(std::string(c.stored));
  }
  EXPECT_TRUE(SettingIsOn(SettingText(true)));
  EXPECT_FALSE(SettingIsOn(SettingText(false)));
  EXPECT_EQ(SettingText(false), "\xBC\xD9");
}

TEST(AutostartTest, CommandIsQuotedOnlyWhenThePathHoldsASpace) {
  const struct {
    std::string_view directory, fileName, command;
  } cases[] = {
      {"C:\\Tools", "app.exe", "C:\\Tools\\app.exe"},
      {"C:\\Program Files\\Tools", "app.exe", "\"C:\\Program Files\\Tools\\app.exe\""},
      {"C:\\Tools", "my app.exe", "\"C:\\Tools\\my app.exe\""},
      {"D:\\\xC8\xED\xBC\xFE", "jichuang.exe", "D:\\\xC8\xED\xBC\xFE\\jichuang.exe"},  // "软件"
      {"C:\\Tools", "", "C:\\Tools\\"},  // a snapshot that missed the process
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AutostartCommand(c.directory, c.fileName), c.command);
  }
}

TEST(AutostartTest, RegistryItemSplitsAtItsLastRealBackslash) {
  const struct {
    std::string_view item, keyPath, valueName;
  } cases[] = {
      {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\\xF6\xAB\xB4\xB0",
       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", "\xF6\xAB\xB4\xB0"},
      // "A\表" with 表 as the second byte 0x5C of a double-byte character (0x95 0x5C).
      {"Run\\A\x95\x5C", "Run", "A\x95\x5C"},
      {"Run\\", "Run", ""},
      {"name", "", "name"},
  };
  for (const auto& c : cases) {
    RegistryItem item = SplitRegistryItem(c.item);
    EXPECT_EQ(item.keyPath, c.keyPath) << c.item;
    EXPECT_EQ(item.valueName, c.valueName) << c.item;
  }
}

}  // namespace
}  // namespace jc
