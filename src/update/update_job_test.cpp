#include "update/update_job.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <iterator>

#include "common/md5.h"

namespace jc {
namespace {

// Records every call of the job, in order, as one line each.
struct Recorder : UpdateSurface, UpdateServices {
  void SetTimerPeriod(int ms) override { log.push_back("timer " + std::to_string(ms)); }
  void SetButtonEnabled(bool on) override { log.push_back(on ? "button on" : "button off"); }
  void SetTrayItemEnabled(bool on) override { log.push_back(on ? "tray on" : "tray off"); }
  void AppendLog(const Text& text) override { log.push_back("log " + text); }
  void SetPicture(const Bytes& image) override {
    picture = image;
    log.push_back("picture " + std::to_string(image.size()));
  }
  Bytes Picture() override { return picture; }
  bool IsWallpaperChecked() override {
    log.push_back("checkbox");
    return wallpaperChecked;
  }

  Text TimeStamp() override { return "T" + std::to_string(++stamps); }
  ServiceAddress Address() override { return ServiceAddressFrom("127.0.0.1:9"); }
  Bytes Fetch(const Text& url) override {
    log.push_back("fetch " + url);
    auto it = answers.find(url);
    return it == answers.end() ? Bytes() : it->second;
  }
  bool DecodesAsImage(const Bytes& bytes) override {
    return bytes.size() >= 4 && bytes[0] == 0x89 && bytes[1] == 'P';
  }
  Text ImageFilePath() override { return "D:\\jc\\data\\vela.png"; }
  bool ReplaceImageFile(const Text& path, const Bytes& bytes) override {
    log.push_back("write " + path + " " + std::to_string(bytes.size()));
    return true;
  }
  void ApplyWallpaper(const Text& path) override { log.push_back("wallpaper " + path); }

  std::vector<Text> log;
  std::map<Text, Bytes> answers;
  Bytes picture;
  bool wallpaperChecked = false;
  int stamps = 0;
};

const Text kDocument = "http://127.0.0.1:9/himawari8/img/FULL_24h/latest.json";
const Text kImage =
    "http://127.0.0.1:9/himawari8/img/D531106/thumbnail/550/2019/05/31/092000_0_0.png";
const Text kStart = "log T1" + Text(kStartMessage) + "\r\n";
const Text kDone = "log T2" + Text(kDoneMessage) + "\r\n";
const Bytes kPng = {0x89, 'P', 'N', 'G', 1, 2, 3};

TEST(UpdateJobTest, ThirteenStepsInOrder) {
  Recorder r;
  r.answers[kDocument] = BytesFromText("{\"date\":\"2019-05-31 09:20:00\"}");
  r.answers[kImage] = kPng;
  r.wallpaperChecked = true;
  UpdateEarthImage(r, r);
  EXPECT_EQ(r.log, (std::vector<Text>{"timer 0", "button off", "tray off", kStart,
                                      "fetch " + kDocument, "fetch " + kImage, "picture 7",
                                      "write D:\\jc\\data\\vela.png 7", "checkbox",
                                      "wallpaper D:\\jc\\data\\vela.png", kDone, "timer 600000",
                                      "button on", "tray on"}));
}

TEST(UpdateJobTest, UncheckedWallpaperIsNotApplied) {
  Recorder r;
  r.answers[kDocument] = BytesFromText("{\"date\":\"2019-05-31 09:20:00\"}");
  r.answers[kImage] = kPng;
  UpdateEarthImage(r, r);
  EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "wallpaper D:\\jc\\data\\vela.png"), 0);
  EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "write D:\\jc\\data\\vela.png 7"), 1);
}

struct FailureCase {
  const char* name;
  Bytes document;
  Bytes image;  // served at whatever image URL the document leads to
};

class UpdateJobFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(UpdateJobFailureTest, KeepsTheFileAndStillFinishes) {
  Recorder r;
  r.wallpaperChecked = true;
  r.answers[kDocument] = GetParam().document;
  r.answers["http://127.0.0.1:9/himawari8/img/D531106/thumbnail/550/_0_0.png"] = GetParam().image;
  r.answers[kImage] = GetParam().image;
  UpdateEarthImage(r, r);
  for (const Text& line : r.log) EXPECT_NE(line.rfind("write ", 0), 0u) << line;
  // The picture box still gets what came back; the wallpaper step works on the old file.
  EXPECT_EQ(r.picture, GetParam().image);
  EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "wallpaper D:\\jc\\data\\vela.png"), 1);
  ASSERT_GE(r.log.size(), 4u);
  EXPECT_EQ(r.log[3], kStart);
  EXPECT_EQ(r.log[r.log.size() - 4], kDone);
  EXPECT_EQ(r.log[r.log.size() - 3], "timer 600000");
  EXPECT_EQ(r.log.back(), "tray on");
}

Bytes Placeholder() {
  std::ifstream in(JC_SOURCE_DIR "/../shared/fixtures/no-image.png", std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateJobFailureTest,
    testing::Values(FailureCase{"Unreachable", {}, {}},
                    FailureCase{"ErrorPage", BytesFromText("<html>404</html>"),
                                BytesFromText("<html>404</html>")},
                    FailureCase{"NoDate", BytesFromText("{\"n\":1}"), BytesFromText("<html>404</html>")},
                    FailureCase{"EmptyImage", BytesFromText("{\"date\":\"2019-05-31 09:20:00\"}"), {}},
                    FailureCase{"NotAnImage", BytesFromText("{\"date\":\"2019-05-31 09:20:00\"}"),
                                BytesFromText("GIF89a")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateJobTest, NoDateStillStoresAnImageServedAtTheBarePath) {
  // The locator's "_0_0.png" is requested as is; if that happens to be an image, it is one.
  Recorder r;
  r.answers[kDocument] = BytesFromText("{\"n\":1}");
  r.answers["http://127.0.0.1:9/himawari8/img/D531106/thumbnail/550/_0_0.png"] = kPng;
  UpdateEarthImage(r, r);
  EXPECT_EQ(std::count(r.log.begin(), r.log.end(), "write D:\\jc\\data\\vela.png 7"), 1);
}

TEST(UpdateJobTest, PlaceholderIsShownButNotStored) {
  Bytes placeholder = Placeholder();
  if (placeholder.empty()) GTEST_SKIP() << "fixture not beside the project";
  ASSERT_TRUE(IsNoImagePlaceholder(placeholder));
  Recorder r;
  r.answers[kDocument] = BytesFromText("{\"date\":\"2019-05-31 09:20:00\"}");
  r.answers[kImage] = placeholder;
  UpdateEarthImage(r, r);
  EXPECT_EQ(r.picture, placeholder);
  for (const Text& line : r.log) EXPECT_NE(line.rfind("write ", 0), 0u) << line;
}

TEST(PlaceholderTest, OnlyTheExactFileCounts) {
  Bytes placeholder = Placeholder();
  if (placeholder.empty()) GTEST_SKIP() << "fixture not beside the project";
  placeholder[100] ^= 1;
  EXPECT_FALSE(IsNoImagePlaceholder(placeholder));
  EXPECT_FALSE(IsNoImagePlaceholder(Bytes(2834, 0)));
}

TEST(Md5Test, KnownDigests) {
  EXPECT_EQ(Md5Hex({}), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Md5Hex(BytesFromText("abc")), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5Hex(BytesFromText(std::string(1000, 'a'))), "cabe45dcc9ae5b66ba86600cca6b8ba8");
}

}  // namespace
}  // namespace jc
