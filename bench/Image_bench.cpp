// Decoding speed of the image subsystem: what the framework does on every
// use of a resource image (decode to 32 bits), and the quantizer.
#include <benchmark/benchmark.h>

#include "image/PLAnyBmp.h"
#include "image/PLAnyPicDecoder.h"
#include "image/PLFilterQuantize.h"
#include "tests/image/ImageTestUtil.h"

namespace {

imgtest::Bytes Bmp24(int w, int h) {
  imgtest::BmpLayout s;
  s.width = w;
  s.height = h;
  s.bpp = 24;
  const size_t row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
  for (size_t i = 0; i < row * h; ++i) s.pixels.push_back(static_cast<uint8_t>(i * 31));
  return imgtest::BuildBmp(s);
}

void Decode32(benchmark::State& state, imgtest::Bytes data) {
  for (auto _ : state) {
    PLAnyBmp bmp;
    PLAnyPicDecoder decoder;
    decoder.MakeBmpFromMemory(data.data(), static_cast<int>(data.size()), &bmp, 32);
    benchmark::DoNotOptimize(bmp.GetLineArray()[0]);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
}

void BM_DecodeBmp24(benchmark::State& state) { Decode32(state, Bmp24(256, 256)); }
BENCHMARK(BM_DecodeBmp24);

void BM_DecodeJpeg(benchmark::State& state) {
  Decode32(state, imgtest::MakeJpeg(imgtest::BlockJpegLayout(256, 256)));
}
BENCHMARK(BM_DecodeJpeg);

void BM_Quantize(benchmark::State& state) {
  imgtest::Bytes data = Bmp24(128, 128);
  PLAnyBmp src;
  PLAnyPicDecoder().MakeBmpFromMemory(data.data(), static_cast<int>(data.size()), &src, 32);
  const PLFilterQuantize q(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    PLAnyBmp dst;
    dst.CreateFilteredCopy(src, q);
    benchmark::DoNotOptimize(dst.GetLineArray()[0]);
  }
}
BENCHMARK(BM_Quantize)->Args({0, 0})->Args({1, 0})->Args({2, 1})->Args({2, 2});

}  // namespace

BENCHMARK_MAIN();
