#include "base/GbkBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The runs of a text as "a:<bytes>" (ASCII) and "d:<bytes>" (double-byte),
// joined by '|', then "ok" or "stop".
std::string Runs(const char* text) {
  std::string out;
  const bool whole = gbk::ForEachRun(text, [&out](const char* run, size_t n, bool doubleByte) {
    out += std::string(doubleByte ? "d:" : "a:") + std::string(run, n) + "|";
    return true;
  });
  return out + (whole ? "ok" : "stop");
}

TEST(GbkBytes, ForEachRunCutsAsciiFromDoubleByte) {
  const struct {
    const char* text;
    std::string want;
  } cases[] = {
      {"", "ok"},
      {"abc", "a:abc|ok"},
      {"\xD6\xD0\xB9\xFA", "d:\xD6\xD0\xB9\xFA|ok"},  // 中国
      {"a\xD6\xD0"
       "b",
       "a:a|d:\xD6\xD0|a:b|ok"},
      {"\x81\x40\xFE\xFE", "d:\x81\x40\xFE\xFE|ok"},  // the range's ends
      {"\xD6\x41z", "d:\xD6\x41|a:z|ok"},             // an ASCII-range trail
      {"ab\xD6", "a:ab|stop"},                        // a lead without its trail
      {"\xD6\xD0\xD6\x7F", "d:\xD6\xD0|stop"},        // 0x7F is no trail
      {"\x80\x40", "stop"},                           // 0x80 is no lead
      {"\xFF\xA1", "stop"},
      {"a\xD6\x20", "a:a|stop"},
  };
  for (const auto& c : cases) EXPECT_EQ(Runs(c.text), c.want) << c.want;
}

TEST(GbkBytes, ForEachRunStopsWhenTheCallerSays) {
  int calls = 0;
  const bool whole = gbk::ForEachRun(
      "a\xD6\xD0"
      "b",
      [&calls](const char*, size_t, bool doubleByte) {
        ++calls;
        return !doubleByte;
      });
  EXPECT_FALSE(whole);
  EXPECT_EQ(calls, 2);
}

}  // namespace
