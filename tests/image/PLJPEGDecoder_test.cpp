#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/PLConstants.h"
#include "image/PLJPEGDecoder.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TestPaths.h"

namespace {

using imgtest::Bytes;
using imgtest::Decode;
using imgtest::Decoded;
using imgtest::JpegLayout;

constexpr int kTolerance = 12;  // JPEG is lossy even at quality 100

void ExpectNear(const PLPixel32& got, int r, int g, int b, const char* where) {
  EXPECT_NEAR(got.GetR(), r, kTolerance) << where;
  EXPECT_NEAR(got.GetG(), g, kTolerance) << where;
  EXPECT_NEAR(got.GetB(), b, kTolerance) << where;
}

TEST(PLJPEGDecoder, ColourImageDecodesAtThirtyTwoBits) {
  const Decoded d = Decode(imgtest::MakeJpeg(imgtest::BlockJpegLayout(32, 16)), 0);
  ASSERT_TRUE(d.ok) << d.text;
  EXPECT_EQ(d.bmp.GetBitsPerPixel(), 32);
  EXPECT_FALSE(d.bmp.IsGreyscale());
  EXPECT_FALSE(d.bmp.HasAlpha());
  EXPECT_EQ(d.bmp.GetWidth(), 32);
  EXPECT_EQ(d.bmp.GetHeight(), 16);
  ExpectNear(d.bmp.GetPixel(3, 3), 200, 30, 30, "block 0");
  ExpectNear(d.bmp.GetPixel(12, 3), 30, 200, 30, "block 1");
  ExpectNear(d.bmp.GetPixel(20, 4), 30, 30, 200, "block 2");
  ExpectNear(d.bmp.GetPixel(28, 12), 200, 30, 30, "block 4 of row 1");
}

TEST(PLJPEGDecoder, GreyscaleIsEightBitGreyAndWidensToEqualChannels) {
  JpegLayout s = imgtest::JpegOf(16, 8, 1, JCS_GRAYSCALE);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) s.pixels.push_back(x < 8 ? 40 : 220);
  const Bytes jpeg = imgtest::MakeJpeg(s);
  const Decoded grey = Decode(jpeg, 0);
  ASSERT_TRUE(grey.ok) << grey.text;
  EXPECT_EQ(grey.bmp.GetBitsPerPixel(), 8);
  EXPECT_TRUE(grey.bmp.IsGreyscale());
  EXPECT_NEAR(grey.bmp.GetLineArray()[4][2], 40, kTolerance);
  EXPECT_EQ(grey.bmp.GetPalette()[200], PLPixel32(200, 200, 200, 255));
  const Decoded wide = Decode(jpeg, 32);
  ASSERT_TRUE(wide.ok) << wide.text;
  const PLPixel32 p = wide.bmp.GetPixel(12, 3);
  EXPECT_EQ(p.GetR(), p.GetG());
  EXPECT_EQ(p.GetG(), p.GetB());
  EXPECT_NEAR(p.GetR(), 220, kTolerance);
}

TEST(PLJPEGDecoder, ResolutionFromTheDensity) {
  struct Case {
    int unit, x, y;
    PLPoint want;
  } const cases[] = {{0, 1, 1, PLPoint(0, 0)},
                     {1, 72, 72, PLPoint(72, 72)},
                     {2, 28, 28, PLPoint(71, 71)},
                     {1, 300, 1, PLPoint(0, 0)},
                     {1, 96, 150, PLPoint(96, 150)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.unit << ":" << c.x << "x" << c.y);
    JpegLayout s = imgtest::BlockJpegLayout(8, 8);
    s.densityUnit = c.unit;
    s.xDensity = c.x;
    s.yDensity = c.y;
    const Decoded d = Decode(imgtest::MakeJpeg(s));
    ASSERT_TRUE(d.ok) << d.text;
    EXPECT_EQ(d.bmp.GetResolution(), c.want);
  }
}

TEST(PLJPEGDecoder, ProgressiveImageDecodes) {
  JpegLayout s = imgtest::BlockJpegLayout(24, 24);
  s.progressive = true;
  const Decoded d = Decode(imgtest::MakeJpeg(s));
  ASSERT_TRUE(d.ok) << d.text;
  ExpectNear(d.bmp.GetPixel(12, 20), 220, 220, 40, "block 1,2");
}

TEST(PLJPEGDecoder, AdobeCmykIsConvertedToRgb) {
  // Adobe CMYK files store the inks inverted: 255 is no ink.
  JpegLayout s = imgtest::JpegOf(16, 8, 4, JCS_CMYK);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 16; ++x) {
      if (x < 8)
        s.pixels.insert(s.pixels.end(), {255, 0, 0, 255});  // full magenta, yellow: red
      else
        s.pixels.insert(s.pixels.end(), {255, 255, 255, 128});  // half black: grey
    }
  }
  const Decoded d = Decode(imgtest::MakeJpeg(s));
  ASSERT_TRUE(d.ok) << d.text;
  EXPECT_EQ(d.bmp.GetBitsPerPixel(), 32);
  ExpectNear(d.bmp.GetPixel(2, 2), 255, 0, 0, "red half");
  ExpectNear(d.bmp.GetPixel(13, 5), 128, 128, 128, "grey half");
}

TEST(PLJPEGDecoder, DataCutInTheScanDecodeWithTheTopIntact) {
  const Bytes whole = imgtest::MakeJpeg(imgtest::BlockJpegLayout(64, 64));
  const Bytes cut(whole.begin(), whole.begin() + whole.size() * 3 / 4);
  Decoded d;
  {
    imgtest::QuietStderr quiet;  // the premature-end warning
    d = Decode(cut);
  }
  ASSERT_TRUE(d.ok) << d.text;
  EXPECT_EQ(d.bmp.GetHeight(), 64);
  ExpectNear(d.bmp.GetPixel(3, 3), 200, 30, 30, "first block");
}

TEST(PLJPEGDecoder, DamagedDataFailWithTheLibrarysMessage) {
  const Bytes whole = imgtest::MakeJpeg(imgtest::BlockJpegLayout(16, 16));
  Bytes badMarker = whole;
  for (size_t i = 0; i + 4 < badMarker.size(); ++i) {
    if (badMarker[i] == 0xFF && badMarker[i + 1] == 0xC0) {
      badMarker[i + 4] = 7;  // sample precision 7: unsupported
      break;
    }
  }
  struct Case {
    const char* name;
    Bytes data;
  } const cases[] = {
      {"signature and garbage", {0xFF, 0xD8, 0xFF, 'g', 'a', 'r', 'b', 'a', 'g', 'e', 0, 1, 2}},
      {"signature alone", {0xFF, 0xD8, 0xFF}},
      {"header cut short", Bytes(whole.begin(), whole.begin() + 40)},
      {"bad sample precision", badMarker},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Decoded d;
    {
      imgtest::QuietStderr quiet;
      d = Decode(c.data);
    }
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.code, PL_ERRFORMAT_NOT_SUPPORTED) << d.text;
    EXPECT_EQ(d.text.rfind("Decoder error: ", 0), 0u) << d.text;
    EXPECT_GT(d.text.size(), std::string("Decoder error: \n").size());
  }
}

TEST(PLJPEGDecoder, OversizedImagesAreRefused) {
  JpegLayout s = imgtest::JpegOf(40000, 8, 1, JCS_GRAYSCALE);
  s.quality = 10;
  s.pixels.assign(static_cast<size_t>(s.width) * s.height, 128);
  const Decoded d = Decode(imgtest::MakeJpeg(s));
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.code, PL_ERRFORMAT_NOT_SUPPORTED);
  EXPECT_NE(d.text.find("40000 x 8 is too large"), std::string::npos) << d.text;
}

TEST(PLJPEGDecoder, DecoderIsReusableAfterEachKindOfFailure) {
  PLJPEGDecoder decoder;
  PLAnyBmp bmp;
  Bytes garbage = {0xFF, 0xD8, 0xFF, 0xE0, 0, 2, 0xFF, 0xFF};
  Bytes good = imgtest::MakeJpeg(imgtest::BlockJpegLayout(16, 8));
  {
    imgtest::QuietStderr quiet;
    EXPECT_THROW(
        decoder.MakeBmpFromMemory(garbage.data(), static_cast<int>(garbage.size()), &bmp, 0),
        PLTextException);
  }
  // A depth request that fails after the header was read.
  EXPECT_THROW(decoder.MakeBmpFromMemory(good.data(), static_cast<int>(good.size()), &bmp, 8),
               PLTextException);
  decoder.MakeBmpFromMemory(good.data(), static_cast<int>(good.size()), &bmp, 32);
  EXPECT_EQ(bmp.GetWidth(), 16);
  ExpectNear(bmp.GetPixel(2, 2), 200, 30, 30, "after failures");
}

TEST(PLJPEGDecoder, ContentDecidesNotTheFileName) {
  kvrtest::ScratchDir dir;
  const Bytes jpeg = imgtest::MakeJpeg(imgtest::BlockJpegLayout(8, 8));
  const std::string path = dir.File("picture.bmp");
  imgtest::WriteFile(path, jpeg);
  PLAnyPicDecoder decoder;
  PLAnyBmp bmp;
  decoder.MakeBmpFromFile(path.c_str(), &bmp, 32);
  EXPECT_EQ(decoder.GetFileFormat(), PLAnyPicDecoder::PL_FT_JPEG);
  ExpectNear(bmp.GetPixel(1, 1), 200, 30, 30, "from file");
}

}  // namespace
