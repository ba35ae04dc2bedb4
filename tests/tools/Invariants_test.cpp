// The generator's invariant check fails the build on every broken limit:
// each case damages one file of the (valid) tiny fixture.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/TestPaths.h"
#include "tests/tools/GeneratedData.h"

namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(static_cast<char>(c));
  return s;
}

std::string Scrambled(const std::string& plain) { return gentest::Unscramble(plain); }

}  // namespace

TEST(Invariants, EachDamageIsReported) {
  const datagen::FileSet good =
      gentest::ReadAll(kvrtest::BinaryDir() + "/tests/engine/fixtures/tiny_dict");
  const std::string store(100, '\0');  // unscrambled: phrases at 0 ("ab")
  std::string storeAb = store;
  storeAb.replace(0, 3, std::string("ab\0", 3));
  struct Case {
    const char* what;
    std::function<void(datagen::FileSet&)> damage;
  } const cases[] = {
      {"weights rise within a key",
       [&](datagen::FileSet& f) {
         f["CiZuFlat.igb"] = Scrambled(storeAb);
         f["pycizudic.idx"] = Bytes({0x80, 'a', 0x80, 0, 0, 2, 0x80, 0, 0, 3, 0});
       }},
      {"weight above 31",
       [&](datagen::FileSet& f) {
         f["CiZuFlat.igb"] = Scrambled(storeAb);
         f["pycizudic.idx"] = Bytes({0x80, 'a', 0x80, 0, 0, 32, 0});
       }},
      {"offset past the store",
       [&](datagen::FileSet& f) { f["pxcizudic.idx"] = Bytes({'a', 0x80, 0x10, 0, 0, 0}); }},
      {"offset inside a phrase",
       [&](datagen::FileSet& f) {
         f["CiZuFlat.igb"] = Scrambled(storeAb);
         f["pxcizudic.idx"] = Bytes({'a', 0x80, 0, 1, 0});
       }},
      {"key of 100 bytes",
       [&](datagen::FileSet& f) {
         f["CiZuFlat.igb"] = Scrambled(storeAb);
         f["pxcizudic.idx"] = std::string(100, 'a') + Bytes({0x80, 0, 0, 0});
       }},
      {"initials key over the cap",
       [&](datagen::FileSet& f) {
         f["CiZuFlat.igb"] = Scrambled(storeAb);
         std::string idx = "ab";
         for (int i = 0; i < 65; ++i) idx += Bytes({0x80, 0, 0, 1});
         f["py2_3ZiCi1stZuMu.idx"] = idx + Bytes({0});
       }},
      {"store shorter than 100 bytes", [&](datagen::FileSet& f) { f["CiZuFlat.igb"] = Scrambled(std::string(50, '\0')); }},
      {"run past the flat list",
       [&](datagen::FileSet& f) { f["pykeys.dic"] = Bytes({'a', 0x80, 0x60, 0, 0, 0}) + std::string(94, '\0'); }},
      {"runs with a gap",
       [&](datagen::FileSet& f) {
         f["pykeys.dic"] = Bytes({'a', 0x80, 1, 0, 0, 'b', 0x80, 1, 2, 0, 0}) + std::string(89, '\0');
       }},
      {"syllables out of order",
       [&](datagen::FileSet& f) {
         f["pykeys.dic"] = Bytes({'b', 0x80, 1, 0, 0, 'a', 0x80, 1, 1, 0, 0}) + std::string(89, '\0');
       }},
      {"gbk2b5.bin of the wrong size", [&](datagen::FileSet& f) { f["gbk2b5.bin"].pop_back(); }},
      {"b5gbk.bin of the wrong size", [&](datagen::FileSet& f) { f["b5gbk.bin"] += "xx"; }},
      {"seven readings", [&](datagen::FileSet& f) {
         std::string r = Bytes({1, 0, 0, 0, 1, 0, 0xd6, 0xd0, 7});
         for (int i = 0; i < 7; ++i) r += Bytes({1, 'a', 1});
         f["ch2pypz1.bin"] = r + Bytes({0});
       }},
      {"truncated tone records", [&](datagen::FileSet& f) { f["ch2pypz1.bin"].resize(10); }},
      {"shape code longer than its buffer",
       [&](datagen::FileSet& f) {
         f["ch2key.bin"] = Bytes({1, 0, 0xd6, 0xd0, 1, 0, 0x0c, 1, 0, 0}) + std::string(268, 'a');
       }},
      {"one-key line over 63 bytes",
       [&](datagen::FileSet& f) { f["py_1key.dic"] = "b\n" + std::string(63, 'x') + "\n\n"; }},
      {"V-mode line without words", [&](datagen::FileSet& f) { f["vmodewords.dic"] = "ab,ab,ab,ab,\n"; }},
      {"V-mode key of 32 bytes",
       [&](datagen::FileSet& f) { f["vmodewords.dic"] = std::string(32, 'a') + ",a,a,a,w\n"; }},
      {"missing file", [&](datagen::FileSet& f) { f.erase("bihuaku.bin"); }},
      {"shape list out of order",
       [&](datagen::FileSet& f) {
         f["chdicres.bin"] = Bytes({'b', 0xd6, 0xd0, 'a', 0xd6, 0xd0, 0}) + std::string(93, '\0');
       }},
  };
  {
    datagen::Report report;
    datagen::CheckInvariants(good, report);
    ASSERT_TRUE(report.errors.empty()) << report.errors.front();
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    datagen::FileSet files = good;
    c.damage(files);
    datagen::Report report;
    datagen::CheckInvariants(files, report);
    EXPECT_FALSE(report.errors.empty());
  }
}
