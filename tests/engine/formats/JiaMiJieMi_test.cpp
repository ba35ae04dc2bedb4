#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/formats/JiaMiJieMi.h"

TEST(JiaMiJieMi, XorsEachByteWithTheKeyAtItsPositionModulo55) {
  std::vector<unsigned char> in(200), out(200);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<unsigned char>(i * 7);
  EXPECT_EQ(JiaMiJieMi(in.data(), out.data(), static_cast<int>(in.size())), 1);
  for (size_t i = 0; i < in.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(out[i], in[i] ^ pattern[i % 55]);
  }
}

TEST(JiaMiJieMi, TwiceRestoresTheInputAlsoInPlace) {
  std::string text = "the phrase store must read back exactly as it was written, byte for byte";
  std::string copy = text;
  auto* p = reinterpret_cast<unsigned char*>(&copy[0]);
  JiaMiJieMi(p, p, static_cast<int>(copy.size()));
  EXPECT_NE(copy, text);
  JiaMiJieMi(p, p, static_cast<int>(copy.size()));
  EXPECT_EQ(copy, text);
}

TEST(JiaMiJieMi, NonPositiveLengthWritesNothing) {
  unsigned char in[2] = {1, 2}, out[2] = {9, 9};
  EXPECT_EQ(JiaMiJieMi(in, out, 0), 1);
  EXPECT_EQ(JiaMiJieMi(in, out, -5), 1);
  EXPECT_EQ(out[0], 9);
  EXPECT_EQ(out[1], 9);
}

TEST(JiaMiJieMi, KeyHasNoZeroByteSoNoTextShowsThrough) {
  for (int i = 0; i < kJiaMiKeyLength; ++i) EXPECT_NE(pattern[i], 0) << i;
}
