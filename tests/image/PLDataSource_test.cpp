#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/PLConstants.h"
#include "image/PLFileSource.h"
#include "image/PLIProgressNotification.h"
#include "image/PLMemSource.h"
#include "image/PLTextException.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TestPaths.h"

namespace {

struct RecordingProgress : PLIProgressNotification {
  std::vector<double> parts;
  void OnProgress(double part) override { parts.push_back(part); }
};

std::vector<uint8_t> Counting(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + i / 256);
  return v;
}

int CodeOf(PLDataSource& s, int count) {
  try {
    s.ReadNBytes(count);
  } catch (const PLTextException& e) {
    EXPECT_STREQ(e, "End of file reached while decoding.\n");
    return e.GetCode();
  }
  return 0;
}

TEST(PLMemSource, ReadsExactlyToTheEndAndNoFurther) {
  std::vector<uint8_t> data = Counting(10);
  PLMemSource s;
  ASSERT_EQ(s.Open(data.data(), 10), 0);
  EXPECT_EQ(s.GetFileSize(), 10);
  EXPECT_STREQ(s.GetName(), "Mem");
  EXPECT_EQ(*s.Read1Byte(), data[0]);
  s.AlignToWord();
  EXPECT_EQ(*s.Read2Bytes(), data[2]);
  EXPECT_EQ(s.GetBytesLeft(), 6);
  EXPECT_EQ(CodeOf(s, 7), PL_ERREND_OF_FILE);
  EXPECT_EQ(CodeOf(s, -1), PL_ERREND_OF_FILE);
  EXPECT_EQ(CodeOf(s, 6), 0);
  EXPECT_EQ(CodeOf(s, 1), PL_ERREND_OF_FILE);
  EXPECT_EQ(CodeOf(s, 0), 0);
}

TEST(PLMemSource, RefusesABlockItCannotRead) {
  PLMemSource s;
  EXPECT_EQ(s.Open(static_cast<unsigned char*>(nullptr), 5), -1);
  uint8_t b = 0;
  EXPECT_EQ(s.Open(&b, -1), -1);
  EXPECT_EQ(s.Open(static_cast<unsigned char*>(nullptr), 0), 0);
  EXPECT_EQ(CodeOf(s, 1), PL_ERREND_OF_FILE);
}

TEST(PLMemSource, ProgressAtMostOncePerKilobyteAndOneAtClose) {
  std::vector<uint8_t> data = Counting(4096);
  RecordingProgress progress;
  PLMemSource s(&progress);
  ASSERT_EQ(s.Open(data.data(), 4096), 0);
  for (int i = 0; i < 8; ++i) s.Skip(512);
  s.Close();
  EXPECT_EQ(progress.parts, (std::vector<double>{0.25, 0.5, 0.75, 1.0, 1.0}));
}

TEST(PLFileSource, OpenFailsForEmptyAndMissingPaths) {
  PLFileSource s;
  EXPECT_EQ(s.Open(""), -1);
  EXPECT_EQ(s.Open(static_cast<const char*>(nullptr)), -1);
  EXPECT_EQ(s.Open("/nonexistent/dir/picture.bmp"), -1);
}

TEST(PLFileSource, LoadsAsReadsNeedAndHandsOutTheFileBytes) {
  kvrtest::ScratchDir dir;
  const std::vector<uint8_t> data = Counting(10000);
  const std::string path = dir.File("data.bin");
  imgtest::WriteFile(path, data);
  PLFileSource s;
  ASSERT_EQ(s.Open(path.c_str()), 0);
  EXPECT_EQ(s.GetFileSize(), 10000);
  EXPECT_EQ(s.GetName(), path);
  const uint8_t* head = s.GetBufferPtr(512);
  EXPECT_EQ(std::vector<uint8_t>(head, head + 512),
            std::vector<uint8_t>(data.begin(), data.begin() + 512));
  size_t at = 0;
  for (int n : {3, 4093, 5000, 900}) {
    const uint8_t* p = s.ReadNBytes(n);
    EXPECT_EQ(std::vector<uint8_t>(p, p + n),
              std::vector<uint8_t>(data.begin() + at, data.begin() + at + n))
        << at;
    at += n;
  }
  const uint8_t* rest = s.ReadEverything();
  EXPECT_EQ(rest[3], data[at + 3]);
  EXPECT_EQ(CodeOf(s, 5), PL_ERREND_OF_FILE);
  EXPECT_EQ(CodeOf(s, 4), 0);
  s.Close();
  EXPECT_EQ(s.GetFileSize(), 0);
}

TEST(PLFileSource, ShortFileGivesItsFewBytes) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("tiny");
  kvrtest::WriteFileText(path, "BM");
  PLFileSource s;
  ASSERT_EQ(s.Open(path.c_str()), 0);
  EXPECT_EQ(s.GetBytesLeft(), 2);
  EXPECT_EQ(s.GetBufferPtr(512)[1], 'M');
}

}  // namespace
