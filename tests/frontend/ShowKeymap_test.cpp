#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/InputSettings.h"
#include "frontend/ShowKeymap.h"

namespace {

// The settings choose one of nine pictures; in shape-code input the pinyin
// settings do not matter.
TEST(ShowKeymap, PictureNames) {
  struct Case {
    int method, std, shuangPin, scheme;
    const char* name;
  } const cases[] = {
      {kPinYin, 1, 0, 0, "keymapPYStd.bmp"},
      {kPinYin, 1, 0, 2, "keymapPYStd.bmp"},  // the scheme counts only with ShuangPin
      {kPinYin, 1, 1, 0, "keymapSPStd.bmp"},
      {kPinYin, 1, 1, 1, "keymapSPStd1.bmp"},
      {kPinYin, 1, 1, 2, "keymapSPStd2.bmp"},
      {kPinYin, 0, 0, 0, "keymapPY.bmp"},
      {kPinYin, 0, 1, 0, "keymapSP.bmp"},
      {kPinYin, 0, 1, 1, "keymapSP1.bmp"},
      {kPinYin, 0, 1, 2, "keymapSP2.bmp"},
      {kXingMa, 1, 1, 2, "keymap.bmp"},
      {kXingMa, 0, 0, 0, "keymap.bmp"},
  };
  std::set<std::string> names;
  for (const Case& c : cases) {
    typInputSettings s{};
    s.InputMthd = c.method;
    s.StdPinYin = c.std;
    s.ShuangPin = c.shuangPin;
    s.ShuangPinScheme = c.scheme;
    EXPECT_EQ(std::string(KeymapPictureName(s)), c.name)
        << c.method << " " << c.std << c.shuangPin << c.scheme;
    names.insert(c.name);
  }
  EXPECT_EQ(names.size(), 9u);
}

}  // namespace
