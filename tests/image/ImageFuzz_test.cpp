// Bounded random mutation of valid BMP and JPEG files: every mutant must
// decode or be refused with PLTextException, and under the sanitizers no
// mutant may read or write outside its buffers. The generator is seeded, so a
// failure repeats; a mutant that ever fails belongs in the damaged-file table
// of its decoder's test as a fixture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "tests/image/ImageTestUtil.h"
#include "tests/support/TestPaths.h"

namespace {

using imgtest::BmpLayout;
using imgtest::Bytes;

// The files another program wrote (fixtures/README) seed the mutations too.
void AddFixtures(std::vector<Bytes>& seeds, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const std::string text =
        kvrtest::ReadFileText(kvrtest::SourceDir() + "/tests/image/fixtures/" + name);
    Bytes b(text.begin(), text.end());
    EXPECT_FALSE(b.empty()) << name;
    seeds.push_back(std::move(b));
  }
}

std::vector<Bytes> BmpSeeds() {
  std::vector<Bytes> seeds;
  AddFixtures(seeds, {"im_1bit.bmp", "im_4bit.bmp", "im_8bit.bmp", "im_rle.bmp", "im_os2.bmp",
                      "im_24bit.bmp", "im_32bit_v5.bmp", "im_565.bmp"});
  auto palette = [](int n) {
    std::vector<imgtest::Rgb> p;
    for (int i = 0; i < n; ++i) p.push_back({uint8_t(i * 9), uint8_t(255 - i), uint8_t(i * 3)});
    return p;
  };
  for (int bpp : {1, 4, 8}) {
    for (uint32_t header : {12u, 40u, 124u}) {
      BmpLayout s;
      s.width = 7;
      s.height = 3;
      s.bpp = static_cast<uint16_t>(bpp);
      s.headerSize = header;
      s.palette = palette(1 << bpp);
      std::vector<std::vector<uint8_t>> rows(3, std::vector<uint8_t>(7));
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) rows[y][x] = static_cast<uint8_t>((x + y) % (1 << bpp));
      s.pixels = imgtest::PackIndexRows(rows, bpp);
      seeds.push_back(imgtest::BuildBmp(s));
    }
  }
  BmpLayout rle8;
  rle8.width = 6;
  rle8.height = 3;
  rle8.compression = 1;
  rle8.colorsUsed = 4;
  rle8.palette = palette(4);
  rle8.pixels = {0x03, 0x01, 0x00, 0x03, 1,    2,    3,    0x00, 0x00,
                 0x06, 0x02, 0x00, 0x00, 0x02, 0x03, 0x00, 0x01};
  seeds.push_back(imgtest::BuildBmp(rle8));
  BmpLayout rle4 = rle8;
  rle4.bpp = 4;
  rle4.width = 5;
  rle4.compression = 2;
  rle4.pixels = {0x05, 0x12, 0x00, 0x00, 0x00, 0x03, 0x45, 0x60,
                 0x02, 0x77, 0x00, 0x00, 0x04, 0x30, 0x00, 0x01};
  seeds.push_back(imgtest::BuildBmp(rle4));
  for (int bpp : {16, 24, 32}) {
    BmpLayout s;
    s.width = 5;
    s.height = -3;
    s.bpp = static_cast<uint16_t>(bpp);
    if (bpp == 16) {
      s.compression = 3;
      s.masks = {0xF800, 0x07E0, 0x001F};
    }
    const size_t row = bpp == 32 ? 20 : ((5 * bpp / 8 + 3) & ~size_t{3});
    for (size_t i = 0; i < 3 * row; ++i) s.pixels.push_back(static_cast<uint8_t>(i * 37));
    seeds.push_back(imgtest::BuildBmp(s));
  }
  return seeds;
}

std::vector<Bytes> JpegSeeds() {
  std::vector<Bytes> seeds;
  AddFixtures(seeds, {"im_rgb.jpg", "im_grey.jpg"});
  seeds.push_back(imgtest::MakeJpeg(imgtest::BlockJpegLayout(24, 16)));
  imgtest::JpegLayout progressive = imgtest::BlockJpegLayout(16, 16);
  progressive.progressive = true;
  seeds.push_back(imgtest::MakeJpeg(progressive));
  imgtest::JpegLayout grey = imgtest::JpegOf(16, 8, 1, JCS_GRAYSCALE);
  for (int i = 0; i < 128; ++i) grey.pixels.push_back(static_cast<uint8_t>(i * 2));
  seeds.push_back(imgtest::MakeJpeg(grey));
  imgtest::JpegLayout cmyk = imgtest::JpegOf(8, 8, 4, JCS_CMYK);
  for (int i = 0; i < 256; ++i) cmyk.pixels.push_back(static_cast<uint8_t>(i * 5));
  seeds.push_back(imgtest::MakeJpeg(cmyk));
  return seeds;
}

// One random damage: bytes overwritten, bits flipped, a 32-bit field set to a
// value that breaks arithmetic, the tail cut, or a piece repeated.
Bytes Mutate(Bytes b, std::mt19937& rng) {
  static const uint32_t kNasty[] = {0,          1,          2,          3,         0x7F,   0x80,
                                    0xFF,       0x100,      0x7FFF,     0x8000,    0xFFFF, 0x10000,
                                    0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE};
  const int edits = 1 + static_cast<int>(rng() % 4);
  for (int e = 0; e < edits && !b.empty(); ++e) {
    const size_t at = rng() % b.size();
    switch (rng() % 6) {
      case 0: b[at] = static_cast<uint8_t>(rng()); break;
      case 1: b[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
      case 2:
        if (at + 4 <= b.size()) imgtest::Poke32(b, at, kNasty[rng() % (sizeof kNasty / 4)]);
        break;
      case 3: b.resize(at); break;
      case 4: {
        const size_t n = std::min<size_t>(1 + rng() % 16, b.size() - at);
        b.insert(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at),
                 b.begin() + static_cast<long>(at + n));
        break;
      }
      default: b[at] = static_cast<uint8_t>(kNasty[rng() % (sizeof kNasty / 4)]); break;
    }
  }
  return b;
}

// KVR_FUZZ_SCALE=n runs n times as many mutants (and other ones), for a long
// search by hand; the default keeps the test a few seconds under ASan.
int Scale() {
  const char* s = std::getenv("KVR_FUZZ_SCALE");
  const int n = s != nullptr ? std::atoi(s) : 1;
  return n > 0 ? n : 1;
}

void DecodeMutants(const std::vector<Bytes>& seeds, int perSeed, unsigned seed) {
  perSeed *= Scale();
  std::mt19937 rng(seed + static_cast<unsigned>(Scale()) - 1);
  int accepted = 0;
  int refused = 0;
  imgtest::QuietStderr quiet;  // libjpeg warns on stderr about damaged data
  for (size_t s = 0; s < seeds.size(); ++s) {
    for (int i = 0; i < perSeed; ++i) {
      const Bytes mutant = Mutate(seeds[s], rng);
      for (int bpp : {0, 32}) {
        try {
          const imgtest::Decoded d = imgtest::Decode(mutant, bpp);
          (d.ok ? accepted : refused)++;
        } catch (const std::exception& e) {
          ADD_FAILURE() << "seed " << s << " mutant " << i << ": " << e.what();
        }
      }
    }
  }
  // Both outcomes must occur, or the mutations are not reaching the decoders.
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}

TEST(ImageFuzz, MutatedBitmapsDecodeOrAreRefused) { DecodeMutants(BmpSeeds(), 300, 1); }

TEST(ImageFuzz, MutatedJpegsDecodeOrAreRefused) { DecodeMutants(JpegSeeds(), 200, 2); }

}  // namespace
