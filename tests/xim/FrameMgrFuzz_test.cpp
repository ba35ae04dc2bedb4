// A bounded random-input table for the message decoders: random bytes and
// damaged copies of valid messages, in both byte orders. Every input must
// end in a value or a refusal: no read past the message (each decoder runs
// on a heap block of exactly the message's length, so the sanitizers see
// any over-read), no endless loop. Seeds are fixed, so a failure repeats.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/xim/FrameDecoders.h"
#include "tests/xim/FrameFixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;
using namespace ximtest::fixtures;

std::vector<Bytes> Seeds(bool big) {
  return {EncodingNegotiationBytes(big),
          CreateICBytes(big),
          SetICValuesBytes(big),
          GetICValuesBytes(big),
          OpenBytes(big),
          ConnectBytes(big),
          ForwardEventBytes(big),
          TriggerNotifyBytes(big),
          QueryExtensionBytes(big),
          OpenReplyBytes(big)};
}

Bytes Mutate(Bytes b, std::mt19937& rng) {
  std::uniform_int_distribution<int> pick(0, 5);
  const int steps = 1 + static_cast<int>(rng() % 4);
  for (int s = 0; s < steps; ++s) {
    switch (pick(rng)) {
      case 0:  // flip a byte
        if (!b.empty()) b[rng() % b.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        break;
      case 1:  // a length or count at an extreme
        if (b.size() >= 2) {
          const size_t at = rng() % (b.size() - 1);
          const uint8_t v = (rng() & 1) ? 0xff : 0x00;
          b[at] = v;
          b[at + 1] = v;
        }
        break;
      case 2:  // cut
        b.resize(b.empty() ? 0 : rng() % b.size());
        break;
      case 3:  // grow with noise
        for (int i = static_cast<int>(rng() % 9); i > 0; --i)
          b.push_back(static_cast<uint8_t>(rng()));
        break;
      case 4:  // a small odd length where a length was
        if (!b.empty()) b[rng() % b.size()] = static_cast<uint8_t>(1 + 2 * (rng() % 8));
        break;
      default:  // duplicate a slice
        if (b.size() > 4) {
          const size_t from = rng() % (b.size() - 4);
          b.insert(b.end(), b.begin() + static_cast<long>(from),
                   b.begin() + static_cast<long>(from) + 4);
        }
        break;
    }
  }
  return b;
}

TEST(FrameMgrFuzz, DecodersEndOnRandomAndDamagedInput) {
  constexpr int kRandomPerDecoder = 10000;
  constexpr int kMutationsPerSeed = 1000;
  std::mt19937 rng(20261210);
  int refusals = 0, values = 0;
  auto run = [&](const ximtest::NamedDecoder& d, const Bytes& input, int swap) {
    const std::string got = d.decode(input, swap);
    ASSERT_EQ(got.find("error endless"), std::string::npos) << d.name << " looped";
    (got.rfind("error", 0) == 0 ? refusals : values)++;
  };
  for (const ximtest::NamedDecoder& d : ximtest::AllDecoders()) {
    SCOPED_TRACE(d.name);
    for (int i = 0; i < kRandomPerDecoder; ++i) {
      Bytes input(rng() % 80);
      for (uint8_t& c : input) c = static_cast<uint8_t>(rng());
      run(d, input, static_cast<int>(rng() & 1));
    }
    for (bool big : {false, true}) {
      for (const Bytes& seed : Seeds(big)) {
        for (int i = 0; i < kMutationsPerSeed; ++i)
          run(d, Mutate(seed, rng), ximtest::SwapFor(big));
      }
    }
  }
  // Both outcomes must occur, or the table tests nothing.
  EXPECT_GT(refusals, 0);
  EXPECT_GT(values, 0);
}

}  // namespace
