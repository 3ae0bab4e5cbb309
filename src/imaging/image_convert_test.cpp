#include "imaging/image_convert.h"

#include <gtest/gtest.h>

#include <map>

namespace jc {
namespace {

struct ExtensionCase {
  const char* path;
  int format;
  const char* target;  // empty: no file
};

class OutputFileTest : public testing::TestWithParam<ExtensionCase> {};

TEST_P(OutputFileTest, AppendsTheExtensionUnlessPresent) {
  const ExtensionCase& c = GetParam();
  EXPECT_EQ(OutputFileFor(c.path, ImageFormatFor(c.format).extension), c.target) << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputFileTest,
    testing::Values(ExtensionCase{"C:\\w\\a.bmp", 1, "C:\\w\\a.bmp"},
                    ExtensionCase{"C:\\w\\a.BMP", 1, "C:\\w\\a.BMP"},
                    ExtensionCase{"C:\\w\\a", 1, "C:\\w\\a.bmp"},
                    ExtensionCase{"C:\\w\\a.dib", 1, "C:\\w\\a.dib.bmp"},
                    ExtensionCase{"C:\\w\\a.tif", 4, "C:\\w\\a.tif.tiff"},
                    ExtensionCase{"C:\\w\\a.jpeg", 2, "C:\\w\\a.jpeg.jpg"},
                    ExtensionCase{"C:\\w\\a.Png", 5, "C:\\w\\a.Png"},
                    ExtensionCase{"   ", 1, ""},
                    ExtensionCase{"\xA1\xA1 ", 1, ""},  // full-width space counts as blank
                    ExtensionCase{"", 1, ""},
                    ExtensionCase{"  \xB0", 1, "  \xB0.bmp"},  // a dangling lead byte is no blank
                    ExtensionCase{" a.bmp", 1, " a.bmp"},  // only the emptiness test trims
                    ExtensionCase{"a.bmp ", 1, "a.bmp .bmp"},
                    ExtensionCase{"bmp", 1, "bmp.bmp"},   // shorter than the extension
                    ExtensionCase{"C:\\w\\a", 0, "C:\\w\\a"},  // no format, no extension
                    ExtensionCase{"C:\\\xCD\xBC.BMP", 1, "C:\\\xCD\xBC.BMP"}));  // "图.BMP"

TEST(ImageFormatTest, TableOfFiveEncoders) {
  const std::map<int, std::pair<std::string, std::string>> expected = {
      {1, {"{557CF400-1A04-11D3-9A73-0000F81EF32E}", ".bmp"}},
      {2, {"{557CF401-1A04-11D3-9A73-0000F81EF32E}", ".jpg"}},
      {3, {"{557CF402-1A04-11D3-9A73-0000F81EF32E}", ".gif"}},
      {4, {"{557CF405-1A04-11D3-9A73-0000F81EF32E}", ".tiff"}},
      {5, {"{557CF406-1A04-11D3-9A73-0000F81EF32E}", ".png"}}};
  for (int code = -1; code <= 7; ++code) {
    ImageFormat format = ImageFormatFor(code);
    auto it = expected.find(code);
    EXPECT_EQ(format.encoderClsid, it == expected.end() ? "" : it->second.first) << code;
    EXPECT_EQ(format.extension, it == expected.end() ? "" : it->second.second) << code;
  }
}

TEST(AnsiToUtf16Test, WidensGbkWithAndWithoutTerminator) {
  // "霁窗" is U+9701 U+7A97.
  EXPECT_EQ(AnsiToUtf16("\xF6\xAB\xB4\xB0"), (Bytes{0x01, 0x97, 0x97, 0x7A, 0, 0}));
  EXPECT_EQ(AnsiToUtf16("\xF6\xAB\xB4\xB0", true), (Bytes{0x01, 0x97, 0x97, 0x7A}));
  EXPECT_EQ(AnsiToUtf16("{A}"), (Bytes{'{', 0, 'A', 0, '}', 0, 0, 0}));
  EXPECT_EQ(AnsiToUtf16(""), Bytes{});
  EXPECT_EQ(AnsiToUtf16("", true), Bytes{});
}

// Encodes by prefixing "ENC:" and the format's identifier; an empty identifier (no format)
// or an input starting "bad" gives nothing, like an undecodable image.
class FakeEncoder final : public ImageEncoder {
 public:
  Bytes Encode(const Bytes& image, std::string_view clsid, bool flatten) override {
    ++calls;
    lastFlatten = flatten;
    if (clsid.empty() || TextFromBytes(image).rfind("bad", 0) == 0) return {};
    return BytesFromText("ENC:" + Text(clsid.substr(1, 8)));
  }
  int calls = 0;
  bool lastFlatten = false;
};

struct ConvertFixture : testing::Test {
  bool Convert(const Bytes& image, int format, const Text& path, Bytes* out, bool flatten = false) {
    return ConvertImageFormat(encoder, [this](const Text& p, const Bytes& b) {
      written[p] = b;
      return writeSucceeds;
    }, image, format, path, out, flatten);
  }
  FakeEncoder encoder;
  std::map<Text, Bytes> written;
  bool writeSucceeds = true;
  Bytes kept = BytesFromText("earlier");
};

TEST_F(ConvertFixture, ShortInputFailsWithoutEncoding) {
  EXPECT_FALSE(Convert(BytesFromText("ab"), 1, "C:\\a.bmp", &kept));
  EXPECT_EQ(encoder.calls, 0);
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(kept, BytesFromText("earlier"));
}

TEST_F(ConvertFixture, UndecodableInputFailsAndKeepsOutputBytes) {
  EXPECT_FALSE(Convert(BytesFromText("bad"), 1, "C:\\a.bmp", &kept));
  EXPECT_EQ(encoder.calls, 1);
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(kept, BytesFromText("earlier"));
}

TEST_F(ConvertFixture, FormatOutsideTheTableWritesNothing) {
  for (int format : {0, 6}) {
    EXPECT_FALSE(Convert(BytesFromText("png"), format, "C:\\a", &kept)) << format;
  }
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(kept, BytesFromText("earlier"));
}

TEST_F(ConvertFixture, BlankPathWritesNoFileButFillsBytes) {
  EXPECT_TRUE(Convert(BytesFromText("png"), 1, "   ", &kept));
  EXPECT_TRUE(written.empty());
  EXPECT_EQ(kept, BytesFromText("ENC:557CF400"));
}

TEST_F(ConvertFixture, WritesUnderTheExtendedName) {
  EXPECT_TRUE(Convert(BytesFromText("png"), 4, " C:\\w\\a.tif", nullptr, true));
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written.begin()->first, " C:\\w\\a.tif.tiff");
  EXPECT_EQ(written.begin()->second, BytesFromText("ENC:557CF405"));
  EXPECT_TRUE(encoder.lastFlatten);
}

TEST_F(ConvertFixture, FailedWriteStillSucceeds) {
  writeSucceeds = false;
  EXPECT_TRUE(Convert(BytesFromText("png"), 2, "C:\\a", &kept));
  EXPECT_EQ(written.count("C:\\a.jpg"), 1u);
  EXPECT_EQ(kept, BytesFromText("ENC:557CF401"));
}

}  // namespace
}  // namespace jc
