// ConvertImageFormat through the real GDI+ encoders.
#include "imaging/image_convert_win.h"

#include <gtest/gtest.h>

#include "common/file_win.h"
#include "imaging/gdiplus_win.h"
#include "tests/support/png_maker.h"
#include "tests/support/temp_folder_win.h"

namespace jc {
namespace {

struct Decoded {
  UINT width = 0, height = 0;
  Gdiplus::PixelFormat format = 0;
  bool opaque = false;  // every pixel sampled has alpha 255
};

// Decodes with GDI+ directly, independently of the code under test.
Decoded Decode(const Bytes& bytes) {
  Decoded result;
  GdiplusSession session;
  UniqueGlobal block;
  UniqueGpImage image;
  UniqueStream stream = StreamOverCopy(bytes, block);
  Gdiplus::GpBitmap* bitmap = nullptr;
  if (stream) gdip::GdipCreateBitmapFromStream(stream.get(), &bitmap);
  image.reset(bitmap);
  if (!image) return result;
  gdip::GdipGetImageWidth(image.get(), &result.width);
  gdip::GdipGetImageHeight(image.get(), &result.height);
  gdip::GdipGetImagePixelFormat(image.get(), &result.format);
  result.opaque = true;
  for (UINT y = 0; y < result.height; y += 3) {
    for (UINT x = 0; x < result.width; x += 3) {
      Gdiplus::ARGB argb = 0;
      gdip::GdipBitmapGetPixel(bitmap, static_cast<INT>(x), static_cast<INT>(y), &argb);
      if ((argb >> 24) != 0xFF) result.opaque = false;
    }
  }
  return result;
}

bool StartsWith(const Bytes& bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() && TextFromBytes(bytes).compare(0, prefix.size(), prefix) == 0;
}

struct FormatCase {
  int format;
  const char* extension;
  std::string_view signature;
  bool decodesBack;
};

class ConvertWinTest : public testing::TestWithParam<FormatCase> {
 protected:
  test::TempFolder folder;
  Bytes png = test::MakeEarthPng(40);
};

TEST_P(ConvertWinTest, EncodesWithSignatureAndWritesTheFile) {
  const FormatCase& c = GetParam();
  Bytes encoded;
  ASSERT_TRUE(ConvertImageFormat(png, c.format, folder.Path("out"), &encoded));
  EXPECT_TRUE(StartsWith(encoded, c.signature)) << "format " << c.format;
  EXPECT_EQ(ReadWholeFile(folder.Path("out") + c.extension), encoded);
  if (c.decodesBack) {
    Decoded back = Decode(encoded);
    EXPECT_EQ(back.width, 40u);
    EXPECT_EQ(back.height, 40u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ConvertWinTest,
    testing::Values(FormatCase{1, ".bmp", "BM", true},
                    FormatCase{2, ".jpg", "\xFF\xD8\xFF", true},
                    // Wine's GIF encoder writes only a 24-byte header, so GIF is checked on its
                    // signature alone.
                    FormatCase{3, ".gif", "GIF8", false},
                    FormatCase{4, ".tiff", std::string_view("II*\0", 4), true},
                    FormatCase{5, ".png", "\x89PNG\r\n\x1A\n", true}));

TEST(ConvertWinTest, BitmapHoldsExactlyTheBytesTheEncoderWrote) {
  Bytes bmp;
  ASSERT_TRUE(ConvertImageFormat(test::MakeEarthPng(37), 1, {}, &bmp));
  ASSERT_GE(bmp.size(), 6u);
  // The file header states the file's size: no stray bytes may follow.
  std::uint32_t stated = bmp[2] | (bmp[3] << 8) | (bmp[4] << 16) | (static_cast<std::uint32_t>(bmp[5]) << 24);
  EXPECT_EQ(stated, bmp.size());
}

TEST(ConvertWinTest, ServicePlaceholderConvertsAt550) {
  Bytes placeholder = ReadWholeFile(JC_SOURCE_DIR "\\..\\shared\\fixtures\\no-image.png");
  if (placeholder.empty()) GTEST_SKIP() << "fixture not beside the project";
  Bytes bmp;
  ASSERT_TRUE(ConvertImageFormat(placeholder, 1, {}, &bmp));
  Decoded back = Decode(bmp);
  EXPECT_EQ(back.width, 550u);
  EXPECT_EQ(back.height, 550u);
}

TEST(ConvertWinTest, TwoByteInputLeavesAnExistingFileUntouched) {
  test::TempFolder folder;
  const Text path = folder.Path("keep.bmp");
  ASSERT_TRUE(WriteWholeFile(path, BytesFromText("old contents")));
  Bytes out = BytesFromText("earlier");
  EXPECT_FALSE(ConvertImageFormat(BytesFromText("BM"), 1, path, &out));
  EXPECT_EQ(ReadWholeFile(path), BytesFromText("old contents"));
  EXPECT_EQ(out, BytesFromText("earlier"));
}

TEST(ConvertWinTest, ThreeBytesOfNoImageCreateNothing) {
  test::TempFolder folder;
  Bytes out = BytesFromText("earlier");
  EXPECT_FALSE(ConvertImageFormat(BytesFromText("abc"), 1, folder.Path("x"), &out));
  EXPECT_FALSE(FileExists(folder.Path("x.bmp")));
  EXPECT_EQ(out, BytesFromText("earlier"));
}

TEST(ConvertWinTest, FormatOutsideTheTableWritesNothing) {
  test::TempFolder folder;
  Bytes png = test::MakeEarthPng(16);
  for (int format : {0, 6}) {
    Bytes out = BytesFromText("earlier");
    EXPECT_FALSE(ConvertImageFormat(png, format, folder.Path("f"), &out)) << format;
    EXPECT_EQ(out, BytesFromText("earlier"));
  }
  EXPECT_TRUE(folder.IsEmpty());
}

TEST(ConvertWinTest, FlattenGivesAnOpaqueImage) {
  Bytes png = test::MakeEarthPng(30);  // transparent corners
  Bytes kept, flat;
  ASSERT_TRUE(ConvertImageFormat(png, 5, {}, &kept));
  ASSERT_TRUE(ConvertImageFormat(png, 5, {}, &flat, true));
  EXPECT_FALSE(Decode(kept).opaque) << "the source must have transparency for this test";
  Decoded back = Decode(flat);
  EXPECT_TRUE(back.opaque);
  EXPECT_EQ(back.width, 30u);
}

TEST(ClsidFromTextTest, ParsesBracedFormAndGivesZeroOtherwise) {
  CLSID bmp = ClsidFromText("{557CF400-1A04-11D3-9A73-0000F81EF32E}");
  EXPECT_EQ(bmp.Data1, 0x557CF400u);
  EXPECT_EQ(bmp.Data4[7], 0x2E);
  CLSID none = ClsidFromText("");
  CLSID bad = ClsidFromText("not a guid");
  CLSID zero = {};
  EXPECT_EQ(memcmp(&none, &zero, sizeof zero), 0);
  EXPECT_EQ(memcmp(&bad, &zero, sizeof zero), 0);
}

}  // namespace
}  // namespace jc
