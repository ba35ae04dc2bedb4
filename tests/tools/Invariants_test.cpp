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
  // The fixture with a store of one phrase ("ab" at offset 1, after the
  // empty phrase at 0) and indexes that name only it, so that each case
  // below breaks exactly one thing.
  std::string storeAb(100, '\0');
  storeAb.replace(1, 3, std::string("ab\0", 3));
  datagen::FileSet good =
      gentest::ReadAll(kvrtest::BinaryDir() + "/tests/engine/fixtures/tiny_dict");
  good["CiZuFlat.igb"] = Scrambled(storeAb);
  good["pycizudic.idx"] = Bytes({0x80, 'a', 'b', 0x80, 0, 1, 5, 0});
  good["py2_3ZiCi1stZuMu.idx"] = Bytes({'a', 'b', 0x80, 0, 1, 5, 0});
  good["pxcizudic.idx"] = Bytes({'a', 'b', 0x80, 0, 1, 0});
  struct Case {
    const char* what;
    const char* file;  // the file the check must blame
    std::function<void(datagen::FileSet&)> damage;
  } const cases[] = {
      {"weights rise within a key", "pycizudic.idx",
       [&](datagen::FileSet& f) {
         f["pycizudic.idx"] = Bytes({0x80, 'a', 0x80, 0, 1, 2, 0x80, 0, 1, 3, 0});
       }},
      {"weight above 31", "pycizudic.idx",
       [&](datagen::FileSet& f) {
         f["pycizudic.idx"] = Bytes({0x80, 'a', 0x80, 0, 1, 32, 0});
       }},
      {"offset past the store", "pxcizudic.idx",
       [&](datagen::FileSet& f) {
         f["pxcizudic.idx"] = Bytes({'a', 0x80, 0x10, 0, 0, 0});
       }},
      {"offset inside a phrase", "pxcizudic.idx",
       [&](datagen::FileSet& f) {
         f["pxcizudic.idx"] = Bytes({'a', 0x80, 0, 2, 0});
       }},
      {"key of 100 bytes", "pxcizudic.idx",
       [&](datagen::FileSet& f) {
         f["pxcizudic.idx"] = std::string(100, 'a') + Bytes({0x80, 0, 1, 0});
       }},
      {"initials key over the cap", "py2_3ZiCi1stZuMu.idx",
       [&](datagen::FileSet& f) {
         std::string idx = "ab";
         for (int i = 0; i < 65; ++i) idx += Bytes({0x80, 0, 1, 1});
         f["py2_3ZiCi1stZuMu.idx"] = idx + Bytes({0});
       }},
      {"a phrase at offset 0", "CiZuFlat.igb",
       [&](datagen::FileSet& f) {
         std::string s = storeAb;
         s[0] = 'x';
         f["CiZuFlat.igb"] = Scrambled(s);
       }},
      {"entry naming offset 0", "pxcizudic.idx",
       [&](datagen::FileSet& f) {
         f["pxcizudic.idx"] = Bytes({'a', 0x80, 0, 0, 0});
       }},
      {"store shorter than 100 bytes", "CiZuFlat.igb",
       [&](datagen::FileSet& f) { f["CiZuFlat.igb"] = Scrambled(std::string(50, '\0')); }},
      {"run past the flat list", "pykeys.dic",
       [&](datagen::FileSet& f) {
         f["pykeys.dic"] = Bytes({'a', 0x80, 0x60, 0, 0, 0}) + std::string(94, '\0');
       }},
      {"runs with a gap", "pykeys.dic",
       [&](datagen::FileSet& f) {
         f["pykeys.dic"] =
             Bytes({'a', 0x80, 1, 0, 0, 'b', 0x80, 1, 2, 0, 0}) + std::string(89, '\0');
       }},
      {"syllables out of order", "pykeys.dic",
       [&](datagen::FileSet& f) {
         f["pykeys.dic"] =
             Bytes({'b', 0x80, 1, 0, 0, 'a', 0x80, 1, 1, 0, 0}) + std::string(89, '\0');
       }},
      {"gbk2b5.bin of the wrong size", "gbk2b5.bin",
       [&](datagen::FileSet& f) { f["gbk2b5.bin"].pop_back(); }},
      {"b5gbk.bin of the wrong size", "b5gbk.bin",
       [&](datagen::FileSet& f) { f["b5gbk.bin"] += "xx"; }},
      {"seven readings", "ch2pypz1.bin",
       [&](datagen::FileSet& f) {
         std::string r = Bytes({1, 0, 0, 0, 1, 0, 0xd6, 0xd0, 7});
         for (int i = 0; i < 7; ++i) r += Bytes({1, 'a', 1});
         f["ch2pypz1.bin"] = r + Bytes({0});
       }},
      {"truncated tone records", "ch2pypz1.bin",
       [&](datagen::FileSet& f) { f["ch2pypz1.bin"].resize(10); }},
      {"shape code longer than its buffer", "ch2key.bin",
       [&](datagen::FileSet& f) {
         f["ch2key.bin"] = Bytes({1, 0, 0xd6, 0xd0, 1, 0, 0x0c, 1, 0, 0}) + std::string(268, 'a');
       }},
      {"one-key line over 63 bytes", "py_1key.dic",
       [&](datagen::FileSet& f) { f["py_1key.dic"] = "b\n" + std::string(63, 'x') + "\n\n"; }},
      {"V-mode line without words", "vmodewords.dic",
       [&](datagen::FileSet& f) { f["vmodewords.dic"] = "ab,ab,ab,ab,\n"; }},
      {"V-mode key of 32 bytes", "vmodewords.dic",
       [&](datagen::FileSet& f) { f["vmodewords.dic"] = std::string(32, 'a') + ",a,a,a,w\n"; }},
      {"missing file", "bihuaku.bin", [&](datagen::FileSet& f) { f.erase("bihuaku.bin"); }},
      {"shape list out of order", "chdicres.bin",
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
    // A damaged store also leaves the indexes naming non-phrases; every
    // other damage is blamed on its own file only.
    size_t blamed = 0;
    for (const std::string& e : report.errors)
      blamed += e.rfind(std::string(c.file) + ": ", 0) == 0;
    EXPECT_GT(blamed, 0u);
    if (std::string(c.file) != "CiZuFlat.igb") {
      EXPECT_EQ(blamed, report.errors.size());
    }
  }
}
