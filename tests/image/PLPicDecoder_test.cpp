#include <gtest/gtest.h>

#include <string>

#include "image/PLAnyPicDecoder.h"
#include "image/PLConstants.h"
#include "image/PLMemSource.h"
#include "image/PLTextException.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TestPaths.h"

namespace {

using imgtest::Bytes;

// Opens the protected helpers of the base to the tests.
struct Probe : PLPicDecoder {
  void Open(PLDataSource*) override {}
  void GetImage(PLBmp&) override {}
  using PLPicDecoder::ReadILong;
  using PLPicDecoder::ReadIWord;
  using PLPicDecoder::ReadMLong;
  using PLPicDecoder::ReadMWord;
  using PLPicDecoder::unpackPictRow;
};

TEST(PLPicDecoder, ByteOrderReaders) {
  Bytes data = {0x12, 0x34, 0x12, 0x34, 0x56, 0x78, 0x12, 0x34, 0x12, 0x34, 0x56, 0x78};
  PLMemSource src;
  ASSERT_EQ(src.Open(data.data(), static_cast<int>(data.size())), 0);
  EXPECT_EQ(Probe::ReadIWord(&src), 0x3412);
  EXPECT_EQ(Probe::ReadILong(&src), 0x78563412u);
  EXPECT_EQ(Probe::ReadMWord(&src), 0x1234);
  EXPECT_EQ(Probe::ReadMLong(&src), 0x12345678u);
}

TEST(PLPicDecoder, PackBitsRowsStayInsideTheirBuffer) {
  struct Case {
    Bytes packed;
    int rowBytes;
    Bytes want;
    bool ok;
  } const cases[] = {
      // 2 literal bytes, then 0xAB three times (257 - 0xFE), 0x80 skipped.
      {{0x01, 0x10, 0x20, 0xFE, 0xAB, 0x80, 0x02, 1, 2, 3},
       8,
       {0x10, 0x20, 0xAB, 0xAB, 0xAB, 1, 2, 3},
       true},
      {{0x81, 0x55}, 8, Bytes(8, 0x55), false},  // 128 copies do not fit
      {{0x09, 1, 2}, 8, {}, false},              // literal longer than the data
      {{1, 2, 3}, 3, {1, 2, 3}, true},           // short rows are stored plain
  };
  for (const Case& c : cases) {
    Bytes packed = c.packed;
    PLMemSource src;
    ASSERT_EQ(src.Open(packed.data(), static_cast<int>(packed.size())), 0);
    Bytes row(static_cast<size_t>(c.rowBytes), 0);
    Probe probe;
    bool ok = true;
    try {
      probe.unpackPictRow(row.data(), &src, c.rowBytes, c.rowBytes,
                          static_cast<int>(packed.size()));
    } catch (const PLTextException& e) {
      ok = false;
      EXPECT_EQ(e.GetCode(), PL_ERRFORMAT_NOT_SUPPORTED);
    }
    EXPECT_EQ(ok, c.ok);
    if (c.ok) {
      EXPECT_EQ(row, c.want);
    }
  }
}

TEST(PLPicDecoder, ComposedTextsStopAt255Bytes) {
  const std::string path = "/nonexistent/" + std::string(400, 'x');
  PLAnyPicDecoder decoder;
  try {
    decoder.OpenFile(path.c_str());
    ADD_FAILURE();
  } catch (const PLTextException& e) {
    const std::string text = static_cast<const char*>(e);
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.rfind("Decoder error: Opening /nonexistent/xxx", 0), 0u);
  }
}

TEST(PLPicDecoder, UnknownDepthRequestsAreRefused) {
  imgtest::BmpLayout s;
  s.bpp = 24;
  s.pixels = {1, 2, 3, 0};
  for (int bpp : {16, 4, -1, 33}) {
    const imgtest::Decoded d = imgtest::Decode(imgtest::BuildBmp(s), bpp);
    EXPECT_FALSE(d.ok) << bpp;
    EXPECT_EQ(d.text, "Image bit depth doesn't match request.");
  }
}

TEST(PLPicDecoder, TraceGoesToItsFileOnlyWhenSet) {
  kvrtest::ScratchDir dir;
  const std::string trace = dir.File("trace.txt");
  const std::string picture = dir.File("p.bmp");
  imgtest::BmpLayout s;
  s.bpp = 24;
  s.pixels = {1, 2, 3, 0};
  imgtest::WriteFile(picture, imgtest::BuildBmp(s));
  PLAnyBmp bmp;
  PLPicDecoder::SetTraceConfig(2, trace.c_str());
  PLAnyPicDecoder().MakeBmpFromFile(picture.c_str(), &bmp, 32);
  PLPicDecoder::SetTraceConfig(0, nullptr);
  PLAnyPicDecoder().MakeBmpFromFile(picture.c_str(), &bmp, 32);
  EXPECT_EQ(kvrtest::ReadFileText(trace),
            "--- Decoding file " + picture +
                ". ---\nWindows bitmap recognized.\nBitmap file signature found\n"
                "Bitmap header is ok.\nDecoding true-color bitmap.\n");
}

}  // namespace
