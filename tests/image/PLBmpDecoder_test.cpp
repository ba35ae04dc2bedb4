#include <gtest/gtest.h>

#include <string>

#include "image/PLBmpDecoder.h"
#include "image/PLConstants.h"
#include "tests/image/ImageTestUtil.h"

namespace {

using imgtest::BmpLayout;
using imgtest::Bytes;
using imgtest::Decode;
using imgtest::Decoded;
using imgtest::Rgb;

// A 5 x 3 picture: odd width, not a multiple of 4 or 8.
constexpr int kW = 5;
constexpr int kH = 3;

// Palette index of pixel (x, y) at a depth with n colours.
uint8_t IndexAt(int x, int y, int n) { return static_cast<uint8_t>((x * 3 + y * 5 + 1) % n); }

Rgb PaletteColour(int i) {
  return Rgb{static_cast<uint8_t>(i * 16 + 3), static_cast<uint8_t>(200 - i * 7),
             static_cast<uint8_t>(i * 11 % 256)};
}

std::vector<Rgb> MakePalette(int n) {
  std::vector<Rgb> p;
  for (int i = 0; i < n; ++i) p.push_back(PaletteColour(i));
  return p;
}

std::vector<std::vector<uint8_t>> IndexRows(int n) {
  std::vector<std::vector<uint8_t>> rows(kH, std::vector<uint8_t>(kW));
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) rows[y][x] = IndexAt(x, y, n);
  return rows;
}

// A palette file of depth bpp (1, 4 or 8) holding the picture above.
BmpLayout PaletteLayout(int bpp, uint32_t headerSize = 40) {
  BmpLayout s;
  s.width = kW;
  s.height = kH;
  s.bpp = static_cast<uint16_t>(bpp);
  s.headerSize = headerSize;
  s.palette = MakePalette(1 << bpp);
  s.pixels = imgtest::PackIndexRows(IndexRows(1 << bpp), bpp);
  return s;
}

// True-colour pixel (x, y).
PLPixel32 TrueAt(int x, int y) {
  return PLPixel32(static_cast<uint8_t>(x * 40 + 8), static_cast<uint8_t>(y * 80 + 16),
                   static_cast<uint8_t>(255 - x * 24), static_cast<uint8_t>(x * 10 + y));
}

BmpLayout TrueLayout(int bpp) {
  BmpLayout s;
  s.width = kW;
  s.height = kH;
  s.bpp = static_cast<uint16_t>(bpp);
  for (int k = kH - 1; k >= 0; --k) {
    size_t n = 0;
    for (int x = 0; x < kW; ++x) {
      const PLPixel32 p = TrueAt(x, k);
      s.pixels.insert(s.pixels.end(), {p.GetB(), p.GetG(), p.GetR()});
      n += 3;
      if (bpp == 32) {
        s.pixels.push_back(p.GetA());
        ++n;
      }
    }
    while (bpp == 24 && n % 4 != 0) {
      s.pixels.push_back(0);
      ++n;
    }
  }
  return s;
}

// Turns bottom-up stored rows into top-down ones with a negative height.
BmpLayout TopDown(BmpLayout s, size_t rowBytes) {
  Bytes flipped;
  for (size_t k = s.pixels.size() / rowBytes; k-- > 0;) {
    flipped.insert(flipped.end(), s.pixels.begin() + k * rowBytes,
                   s.pixels.begin() + (k + 1) * rowBytes);
  }
  s.pixels = flipped;
  s.height = -s.height;
  return s;
}

void ExpectPalettePicture(const Decoded& d, int bpp) {
  ASSERT_TRUE(d.ok) << d.text;
  ASSERT_EQ(d.bmp.GetBitsPerPixel(), 32);
  ASSERT_EQ(d.bmp.GetWidth(), kW);
  ASSERT_EQ(d.bmp.GetHeight(), kH);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const Rgb c = PaletteColour(IndexAt(x, y, 1 << bpp));
      EXPECT_EQ(d.bmp.GetPixel(x, y), PLPixel32(c.r, c.g, c.b, 255)) << x << "," << y;
    }
  }
}

TEST(PLBmpDecoder, PaletteDepthsInEveryHeaderKind) {
  // The 12-byte header has 3-byte palette entries; every other header, V4
  // (108) and V5 (124) included, has 4-byte entries.
  for (int bpp : {1, 4, 8}) {
    for (uint32_t header : {12u, 40u, 52u, 108u, 124u}) {
      SCOPED_TRACE(testing::Message() << bpp << " bpp, header " << header);
      ExpectPalettePicture(Decode(imgtest::BuildBmp(PaletteLayout(bpp, header))), bpp);
    }
  }
}

TEST(PLBmpDecoder, PaletteFilesDecodeAtEightBitsWithTheirPalette) {
  const Decoded d = Decode(imgtest::BuildBmp(PaletteLayout(4)), 0);
  ASSERT_TRUE(d.ok) << d.text;
  EXPECT_EQ(d.bmp.GetBitsPerPixel(), 8);
  EXPECT_EQ(d.bmp.GetLineArray()[2][4], IndexAt(4, 2, 16));
  EXPECT_EQ(d.bmp.GetPalette()[3],
            PLPixel32(PaletteColour(3).r, PaletteColour(3).g, PaletteColour(3).b, 255));
}

TEST(PLBmpDecoder, TrueColourDepths) {
  for (int bpp : {24, 32}) {
    SCOPED_TRACE(bpp);
    const Decoded d = Decode(imgtest::BuildBmp(TrueLayout(bpp)), 0);
    ASSERT_TRUE(d.ok) << d.text;
    EXPECT_EQ(d.bmp.GetBitsPerPixel(), 32);
    EXPECT_EQ(d.bmp.HasAlpha(), bpp == 32);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        PLPixel32 want = TrueAt(x, y);
        if (bpp == 24) want.SetA(255);
        EXPECT_EQ(d.bmp.GetPixel(x, y), want) << x << "," << y;
      }
    }
  }
}

TEST(PLBmpDecoder, NegativeHeightMeansTopDownRows) {
  struct Case {
    BmpLayout layout;
    size_t rowBytes;
  } const cases[] = {{PaletteLayout(1), 4}, {PaletteLayout(4), 4}, {PaletteLayout(8), 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout.bpp);
    ExpectPalettePicture(Decode(imgtest::BuildBmp(TopDown(c.layout, c.rowBytes))), c.layout.bpp);
  }
  const Decoded d = Decode(imgtest::BuildBmp(TopDown(TrueLayout(32), 4 * kW)));
  ASSERT_TRUE(d.ok) << d.text;
  EXPECT_EQ(d.bmp.GetHeight(), kH);
  EXPECT_EQ(d.bmp.GetPixel(1, 0), TrueAt(1, 0));
  EXPECT_EQ(d.bmp.GetPixel(4, 2), TrueAt(4, 2));
}

// One 16-bit pixel in several encodings.
TEST(PLBmpDecoder, HighColourMasks) {
  struct Case {
    const char* name;
    uint32_t compression, headerSize;
    std::vector<uint32_t> masks;
    uint16_t value;
    PLPixel32 want;
  } const cases[] = {
      {"plain 5-5-5", 0, 40, {}, 0x7FFF, PLPixel32(248, 248, 248, 255)},
      {"plain red", 0, 40, {}, 0x7C00, PLPixel32(248, 0, 0, 255)},
      {"bit fields 5-6-5 after the header",
       3,
       40,
       {0xF800, 0x07E0, 0x001F},
       0x07E0,
       PLPixel32(0, 248, 0, 255)},  // the low green bit is dropped
      {"bit fields 5-5-5 after the header",
       3,
       40,
       {0x7C00, 0x03E0, 0x001F},
       0x03E0,
       PLPixel32(0, 248, 0, 255)},
      {"bit fields 5-5-5 inside a V5 header",
       3,
       124,
       {0x7C00, 0x03E0, 0x001F},
       0x001F,
       PLPixel32(0, 0, 248, 255)},
      {"bit fields 5-6-5 inside a V4 header",
       3,
       108,
       {0xF800, 0x07E0, 0x001F},
       0xF800,
       PLPixel32(248, 0, 0, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpLayout s;
    s.width = 1;
    s.height = 1;
    s.bpp = 16;
    s.compression = c.compression;
    s.headerSize = c.headerSize;
    s.masks = c.masks;
    s.pixels = {static_cast<uint8_t>(c.value), static_cast<uint8_t>(c.value >> 8), 0, 0};
    const Decoded d = Decode(imgtest::BuildBmp(s));
    ASSERT_TRUE(d.ok) << d.text;
    EXPECT_EQ(d.bmp.GetPixel(0, 0), c.want);
  }
}

TEST(PLBmpDecoder, PixelsAreReadAtThePixelOffset) {
  BmpLayout s = PaletteLayout(8);
  s.gap = 37;
  ExpectPalettePicture(Decode(imgtest::BuildBmp(s)), 8);
  BmpLayout t = TrueLayout(24);
  t.gap = 12;
  const Decoded d = Decode(imgtest::BuildBmp(t));
  ASSERT_TRUE(d.ok) << d.text;
  EXPECT_EQ(d.bmp.GetPixel(0, 0),
            PLPixel32(TrueAt(0, 0).GetR(), TrueAt(0, 0).GetG(), TrueAt(0, 0).GetB(), 255));
}

TEST(PLBmpDecoder, ColoursUsedSetsTheTableLength) {
  // With the pixel offset left at 0 the pixels follow the table, so reading
  // the wrong number of entries would shift them.
  for (uint32_t used : {5u, 16u}) {
    SCOPED_TRACE(used);
    BmpLayout s;
    s.width = 2;
    s.height = 1;
    s.bpp = 4;
    s.colorsUsed = used == 16 ? 0 : used;
    s.palette = MakePalette(static_cast<int>(used));
    s.autoOffset = false;
    s.pixels = {0x41, 0, 0, 0};
    const Decoded d = Decode(imgtest::BuildBmp(s));
    ASSERT_TRUE(d.ok) << d.text;
    const Rgb c4 = PaletteColour(4), c1 = PaletteColour(1);
    EXPECT_EQ(d.bmp.GetPixel(0, 0), PLPixel32(c4.r, c4.g, c4.b, 255));
    EXPECT_EQ(d.bmp.GetPixel(1, 0), PLPixel32(c1.r, c1.g, c1.b, 255));
  }
}

TEST(PLBmpDecoder, BitmapArrayHeadersAreSkipped) {
  for (uint32_t header : {12u, 40u}) {
    BmpLayout s = PaletteLayout(8, header);
    s.arrayHeaders = 2;
    ExpectPalettePicture(Decode(imgtest::BuildBmp(s)), 8);
  }
}

TEST(PLBmpDecoder, ResolutionInDotsPerInch) {
  struct Case {
    int32_t ppm;
    int dpi;
  } const cases[] = {{3780, 96}, {2835, 72}, {39, 0}, {0, 0}, {-5, 0}};
  for (const Case& c : cases) {
    BmpLayout s = PaletteLayout(1);
    s.xPelsPerMeter = c.ppm;
    s.yPelsPerMeter = 3780;
    const Decoded d = Decode(imgtest::BuildBmp(s), 0);
    ASSERT_TRUE(d.ok) << d.text;
    EXPECT_EQ(d.bmp.GetResolution(), PLPoint(c.dpi, 96)) << c.ppm;
  }
}

// Run-length files: 8 x 3, given as the stored bytes and the expected rows
// from the top.
TEST(PLBmpDecoder, RunLengthData) {
  struct Case {
    const char* name;
    int bpp;
    int width;
    Bytes data;
    std::vector<std::vector<uint8_t>> rows;  // top row first
  } const cases[] = {
      {"RLE8 runs and row ends",
       8,
       4,
       {0x03, 0x41, 0x00, 0x00, 0x04, 0x07, 0x00, 0x00, 0x02, 0x09, 0x02, 0x08, 0x00, 0x01},
       {{9, 9, 8, 8}, {7, 7, 7, 7}, {0x41, 0x41, 0x41, 0}}},
      {"RLE8 end of bitmap leaves the rest",
       8,
       4,
       {0x04, 0x05, 0x00, 0x01},
       {{0, 0, 0, 0}, {0, 0, 0, 0}, {5, 5, 5, 5}}},
      {"RLE8 literal with pad byte",
       8,
       4,
       {0x00, 0x03, 0x0A, 0x0B, 0x0C, 0x00, 0x01, 0x0D, 0x00, 0x00, 0x00, 0x01},
       {{0, 0, 0, 0}, {0, 0, 0, 0}, {0x0A, 0x0B, 0x0C, 0x0D}}},
      {"RLE4 runs alternate nibbles",
       4,
       5,
       {0x05, 0x12, 0x00, 0x00, 0x04, 0x30, 0x00, 0x01},
       {{0, 0, 0, 0, 0}, {3, 0, 3, 0, 0}, {1, 2, 1, 2, 1}}},
      {"RLE8 runs into the row padding",
       8,
       5,
       {0x08, 0x06, 0x00, 0x00, 0x00, 0x06, 1, 2, 3, 4, 5, 6, 0x02, 0x09, 0x00, 0x01},
       {{0, 0, 0, 0, 0}, {1, 2, 3, 4, 5}, {6, 6, 6, 6, 6}}},
      {"RLE4 literal and odd-width pad nibble",
       4,
       5,
       {0x00, 0x03, 0x45, 0x60, 0x02, 0x77, 0x00, 0x00, 0x06, 0x89, 0x00, 0x01},
       {{0, 0, 0, 0, 0}, {8, 9, 8, 9, 8}, {4, 5, 6, 7, 7}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpLayout s;
    s.width = c.width;
    s.height = 3;
    s.bpp = static_cast<uint16_t>(c.bpp);
    s.compression = c.bpp == 8 ? 1 : 2;
    s.palette = MakePalette(1 << c.bpp);
    s.pixels = c.data;
    const Decoded d = Decode(imgtest::BuildBmp(s), 0);
    ASSERT_TRUE(d.ok) << d.text;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < c.width; ++x)
        EXPECT_EQ(d.bmp.GetLineArray()[y][x], c.rows[y][x]) << x << "," << y;
  }
}

TEST(PLBmpDecoder, UnsupportedDepthOpensThenFailsWithCode2) {
  BmpLayout s = PaletteLayout(8);
  s.bpp = 2;
  s.palette = MakePalette(4);
  const Decoded d = Decode(imgtest::BuildBmp(s), 0);
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.code, PL_ERRFORMAT_UNKNOWN);
  EXPECT_EQ(d.text, "Decoder error: Decoding bmp: Illegal bpp value.\n");
}

TEST(PLBmpDecoder, DepthRequests) {
  const Decoded low = Decode(imgtest::BuildBmp(TrueLayout(24)), 8);
  EXPECT_EQ(low.code, PL_ERRFORMAT_NOT_SUPPORTED);
  EXPECT_EQ(low.text, "Image bit depth doesn't match request.");
  const Decoded same = Decode(imgtest::BuildBmp(PaletteLayout(8)), 8);
  ASSERT_TRUE(same.ok);
  EXPECT_EQ(same.bmp.GetBitsPerPixel(), 8);
  const Decoded wide = Decode(imgtest::BuildBmp(PaletteLayout(8)), 24);
  ASSERT_TRUE(wide.ok) << wide.text;
  EXPECT_EQ(wide.bmp.GetBitsPerPixel(), 24);
  const Rgb c = PaletteColour(IndexAt(2, 1, 256));
  EXPECT_EQ(wide.bmp.GetLineArray24()[1][2], PLPixel24(c.r, c.g, c.b));
}

// Damaged files: each is refused with a code, and ASan watches that no byte
// outside the data or the bitmap is touched.
TEST(PLBmpDecoder, DamagedFilesAreRefused) {
  auto bmp = [](auto edit) {
    BmpLayout s = PaletteLayout(8);
    edit(s);
    return imgtest::BuildBmp(s);
  };
  auto patched = [](Bytes b, size_t at, uint32_t v) {
    imgtest::Poke32(b, at, v);
    return b;
  };
  const Bytes good = imgtest::BuildBmp(PaletteLayout(8));
  Bytes shortPixels = good;
  shortPixels.pop_back();
  BmpLayout rle;
  rle.width = 4;
  rle.height = 2;
  rle.compression = 1;
  rle.palette = MakePalette(2);
  rle.colorsUsed = 2;
  auto rleWith = [&](Bytes data, int bpp = 8) {
    BmpLayout s = rle;
    s.bpp = static_cast<uint16_t>(bpp);
    s.compression = bpp == 8 ? 1 : 2;
    s.pixels = std::move(data);
    return imgtest::BuildBmp(s);
  };
  struct Case {
    const char* name;
    Bytes data;
    int code;
    const char* textPart;
  } const cases[] = {
      {"empty", {}, PL_ERRUNKNOWN_FILE_TYPE, "Unknown file type"},
      {"signature only", {'B', 'M'}, PL_ERREND_OF_FILE, "End of file"},
      {"bad signature after BA",
       {'B', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'X', 'Y'},
       PL_ERRWRONG_SIGNATURE,
       "This isn't a bitmap"},
      {"endless BA chain",
       {'B', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'B', 'A', 1},
       PL_ERREND_OF_FILE,
       "End of file"},
      {"pixels one byte short", shortPixels, PL_ERREND_OF_FILE, "remain"},
      {"width 0", bmp([](BmpLayout& s) { s.width = 0; }), PL_ERRWRONG_SIGNATURE, "not a picture"},
      {"negative width", bmp([](BmpLayout& s) { s.width = -5; }), PL_ERRWRONG_SIGNATURE,
       "not a picture"},
      {"height 0", bmp([](BmpLayout& s) { s.height = 0; }), PL_ERRWRONG_SIGNATURE, "not a picture"},
      {"most negative height", bmp([](BmpLayout& s) { s.height = INT32_MIN; }),
       PL_ERRWRONG_SIGNATURE, "too large"},
      {"huge width", bmp([](BmpLayout& s) { s.width = 0x7FFFFFFF; }), PL_ERRWRONG_SIGNATURE,
       "too large"},
      {"huge area", bmp([](BmpLayout& s) {
         s.width = 30000;
         s.height = 30000;
       }),
       PL_ERRWRONG_SIGNATURE, "too large"},
      {"257 colours", bmp([](BmpLayout& s) { s.colorsUsed = 257; }), PL_ERRWRONG_SIGNATURE,
       "257 entries"},
      {"colour count wraps", bmp([](BmpLayout& s) { s.colorsUsed = 0xFFFFFFFF; }),
       PL_ERRWRONG_SIGNATURE, "colour table"},
      {"table past the end", bmp([](BmpLayout& s) {
         s.palette.resize(100);
         s.pixels.clear();
       }),
       PL_ERREND_OF_FILE, "End of file"},
      {"header size 20", bmp([](BmpLayout& s) { s.headerSize = 20; }), PL_ERRWRONG_SIGNATURE,
       "header of 20"},
      {"header size huge", patched(good, 14, 0xFFFFFFF0), PL_ERRWRONG_SIGNATURE, "passes the end"},
      {"pixel offset past the end", patched(good, 10, 0x00100000), PL_ERRWRONG_SIGNATURE,
       "past the end"},
      {"pixel offset at the very end", patched(good, 10, static_cast<uint32_t>(good.size())),
       PL_ERREND_OF_FILE, "remain"},
      {"RLE8 run passes the row", rleWith({0x05, 0x01, 0x00, 0x01}), PL_ERRFORMAT_NOT_SUPPORTED,
       "passes the end of row 0"},
      {"RLE8 long run", rleWith({0xFF, 0x01, 0x00, 0x01}), PL_ERRFORMAT_NOT_SUPPORTED,
       "run of 255"},
      {"RLE8 runs add up past the row", rleWith({0x03, 0x01, 0x02, 0x01}),
       PL_ERRFORMAT_NOT_SUPPORTED, "column 3"},
      {"RLE8 literal passes the row", rleWith({0x00, 0x06, 1, 2, 3, 4, 5, 6}),
       PL_ERRFORMAT_NOT_SUPPORTED, "passes the end"},
      {"RLE8 literal cut short", rleWith({0x00, 0x04, 1, 2}), PL_ERREND_OF_FILE, "End of file"},
      {"RLE8 without an end", rleWith({0x02, 0x01}), PL_ERREND_OF_FILE, "End of file"},
      {"RLE8 delta", rleWith({0x00, 0x02, 0x01, 0x01}), PL_ERRFORMAT_NOT_SUPPORTED, "delta escape"},
      {"RLE8 run passes the padded row", rleWith({0x02, 0x01, 0x03, 0x01, 0x00, 0x01}),
       PL_ERRFORMAT_NOT_SUPPORTED, "4 with padding"},
      {"RLE4 run passes the padded row", rleWith({0x09, 0x11, 0x00, 0x01}, 4),
       PL_ERRFORMAT_NOT_SUPPORTED, "8 with padding"},
      {"RLE4 literal passes the padded row",
       rleWith({0x00, 0x09, 0x12, 0x34, 0x56, 0x78, 0x90, 0x00}, 4), PL_ERRFORMAT_NOT_SUPPORTED,
       "passes the end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Decoded d = Decode(c.data);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.code, c.code) << d.text;
    EXPECT_NE(d.text.find(c.textPart), std::string::npos) << d.text;
  }
}

TEST(PLBmpDecoder, RowsPastTheLastAreIgnored) {
  BmpLayout s;
  s.width = 2;
  s.height = 1;
  s.bpp = 8;
  s.compression = 1;
  s.palette = MakePalette(4);
  s.colorsUsed = 4;
  // Two row ends for a one-row image, then garbage that is never read.
  s.pixels = {0x02, 0x03, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0xFF};
  const Decoded d = Decode(imgtest::BuildBmp(s), 0);
  ASSERT_TRUE(d.ok) << d.text;
  EXPECT_EQ(d.bmp.GetLineArray()[0][1], 3);
}

// Every cut of a valid file is refused, and the whole file is accepted.
TEST(PLBmpDecoder, EveryTruncationIsRefused) {
  for (const BmpLayout& layout :
       {PaletteLayout(1), PaletteLayout(4, 12), TrueLayout(24), TrueLayout(32)}) {
    const Bytes whole = imgtest::BuildBmp(layout);
    for (size_t n = 0; n < whole.size(); ++n) {
      const Decoded d = Decode(Bytes(whole.begin(), whole.begin() + n));
      EXPECT_FALSE(d.ok) << layout.bpp << " bpp cut at " << n;
    }
    EXPECT_TRUE(Decode(whole).ok) << layout.bpp;
  }
}

TEST(PLBmpDecoder, DecoderIsReusableAfterAFailure) {
  PLBmpDecoder decoder;
  PLAnyBmp bmp;
  Bytes bad = imgtest::BuildBmp(PaletteLayout(8));
  imgtest::Poke32(bad, 18, 0);  // width 0
  EXPECT_THROW(decoder.MakeBmpFromMemory(bad.data(), static_cast<int>(bad.size()), &bmp, 32),
               PLTextException);
  Bytes good = imgtest::BuildBmp(PaletteLayout(8));
  decoder.MakeBmpFromMemory(good.data(), static_cast<int>(good.size()), &bmp, 32);
  EXPECT_EQ(bmp.GetWidth(), kW);
}

}  // namespace
