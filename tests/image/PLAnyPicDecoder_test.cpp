#include <gtest/gtest.h>

#include <string>

#include "image/PLAnyPicDecoder.h"
#include "image/PLConstants.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TestPaths.h"

namespace {

using imgtest::Bytes;
using T = PLAnyPicDecoder;

Bytes Padded(Bytes head, size_t size, uint8_t fill = 0x20) {
  head.resize(size, fill);
  return head;
}

Bytes Pict(size_t size, std::initializer_list<uint8_t> at522) {
  Bytes b(size, 0x20);
  std::copy(at522.begin(), at522.end(), b.begin() + 522);
  return b;
}

// Each test of the content table, with data just long enough and one byte too
// short; the short data must not be read past their end (ASan) and match
// nothing longer.
TEST(PLAnyPicDecoder, RecognisesFormatsByContentOnly) {
  Bytes eps = Padded({0xC5, 0xD0, 0xD3, 0xC6}, 28, 0);
  eps[20] = 1;
  eps[24] = 1;
  Bytes epsZero = eps;
  epsZero[24] = 0;
  Bytes targa = Padded({0, 0, 2}, 17, 0);
  targa[7] = 0;
  targa[16] = 24;
  struct Case {
    const char* name;
    Bytes data;
    int type;
  } const cases[] = {
      {"BM", {'B', 'M'}, T::PL_FT_WINBMP},
      {"BA", {'B', 'A'}, T::PL_FT_WINBMP},
      {"IC", {'I', 'C', 0}, T::PL_FT_WINBMP},
      {"CI", {'C', 'I'}, T::PL_FT_WINBMP},
      {"CP", {'C', 'P'}, T::PL_FT_WINBMP},
      {"B alone", {'B'}, T::PL_FT_UNKNOWN},
      {"JPEG", {0xFF, 0xD8, 0xFF}, T::PL_FT_JPEG},
      {"JPEG cut", {0xFF, 0xD8}, T::PL_FT_UNKNOWN},
      {"GIF", Padded({'G', 'I', 'F', '8'}, 30), T::PL_FT_GIF},
      {"TIFF Intel", {'I', 'I', 0x2A, 0x00}, T::PL_FT_TIFF},
      {"TIFF Motorola", {'M', 'M', 0x00, 0x2A}, T::PL_FT_TIFF},
      {"PNG", Padded({0x89, 'P', 'N', 'G'}, 30), T::PL_FT_PNG},
      {"PNG cut", {0x89, 'P', 'N'}, T::PL_FT_UNKNOWN},
      {"Targa", targa, T::PL_FT_TARGA},
      {"Targa cut", Bytes(targa.begin(), targa.end() - 1), T::PL_FT_UNKNOWN},
      {"EPS", eps, T::PL_FT_EPSTIFF},
      {"EPS cut", Bytes(eps.begin(), eps.end() - 1), T::PL_FT_UNKNOWN},
      {"EPS without sizes", epsZero, T::PL_FT_UNKNOWN},
      {"PCX", {10, 5, 1}, T::PL_FT_PCX},
      {"PGM", {'P', '5'}, T::PL_FT_PGM},
      {"PPM", {'P', '6'}, T::PL_FT_PPM},
      {"PSD", {'8', 'B', 'P', 'S'}, T::PL_FT_PSD},
      {"PICT 541 bytes", Pict(541, {0x00, 0x11, 0x02, 0xFF}), T::PL_FT_MACPICT},
      {"PICT version 1", Pict(600, {0x00, 0x11, 0x01}), T::PL_FT_MACPICT},
      {"PICT other form", Pict(600, {0x11, 0x01, 0x01, 0x00}), T::PL_FT_MACPICT},
      {"PICT at 540 bytes is not", Pict(540, {0x00, 0x11, 0x02, 0xFF}), T::PL_FT_UNKNOWN},
      {"text", Padded({'h', 'e', 'l', 'l', 'o'}, 40), T::PL_FT_UNKNOWN},
      {"empty", {}, T::PL_FT_UNKNOWN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes exact = c.data;  // exactly sized, so ASan catches a read past it
    EXPECT_EQ(
        T::getFileType(exact.empty() ? nullptr : exact.data(), static_cast<int>(exact.size())),
        c.type);
  }
}

TEST(PLAnyPicDecoder, UnsupportedAndUnknownFormats) {
  struct Case {
    const char* name;
    Bytes data;
    int code;
    const char* text;
  } const cases[] = {
      {"PNG", Padded({0x89, 'P', 'N', 'G'}, 64), PL_ERRFORMAT_NOT_COMPILED,
       "Decoder error: Library not compiled for this file type.\n"},
      {"GIF", Padded({'G', 'I', 'F', '8', '9', 'a'}, 64), PL_ERRFORMAT_NOT_COMPILED,
       "Decoder error: Library not compiled for this file type.\n"},
      {"text", Padded({'t', 'e', 'x', 't'}, 64), PL_ERRUNKNOWN_FILE_TYPE,
       "Decoder error: Unknown file type.\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const imgtest::Decoded d = imgtest::Decode(c.data);
    EXPECT_FALSE(d.ok);
    EXPECT_EQ(d.code, c.code);
    EXPECT_EQ(d.text, c.text);
  }
}

TEST(PLAnyPicDecoder, OpenFileFailuresNameThePath) {
  struct Case {
    const char* path;
    const char* text;
  } const cases[] = {
      {"", "Decoder error: Opening  failed\n"},
      {"/nonexistent/x.bmp", "Decoder error: Opening /nonexistent/x.bmp failed\n"},
  };
  for (const Case& c : cases) {
    PLAnyPicDecoder decoder;
    try {
      decoder.OpenFile(c.path);
      ADD_FAILURE() << "opened " << c.path;
    } catch (const PLTextException& e) {
      EXPECT_EQ(e.GetCode(), PL_ERROPEN);
      EXPECT_STREQ(e, c.text);
    }
  }
}

TEST(PLAnyPicDecoder, BmpFromAFileWhateverItsName) {
  kvrtest::ScratchDir dir;
  imgtest::BmpLayout layout;
  layout.width = 2;
  layout.height = 1;
  layout.bpp = 24;
  layout.pixels = {10, 20, 30, 40, 50, 60, 0, 0};
  const Bytes bmp = imgtest::BuildBmp(layout);
  const std::string path = dir.File("photo.jpg");
  imgtest::WriteFile(path, bmp);
  // The framework's road: OpenFile, MakeBmp at 32 bits, Close.
  PLAnyBmp* bitmap = new PLAnyBmp;
  {
    PLAnyPicDecoder decoder;
    decoder.OpenFile(path.c_str());
    decoder.MakeBmp(bitmap, 32);
    decoder.Close();
    EXPECT_EQ(decoder.GetFileFormat(), T::PL_FT_WINBMP);
  }
  EXPECT_EQ(bitmap->GetWidth(), 2);
  EXPECT_EQ(bitmap->GetLineArray32()[0][1].GetR(), 60);
  EXPECT_EQ(bitmap->GetLineArray32()[0][1].GetB(), 40);
  delete static_cast<PLBmp*>(bitmap);
}

TEST(PLAnyPicDecoder, MakeBmpWithoutAnOpenImageIsRefused) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("a.jpg");
  imgtest::WriteFile(path, imgtest::MakeJpeg(imgtest::BlockJpegLayout(8, 8)));
  PLAnyBmp bmp;
  PLAnyPicDecoder never;
  EXPECT_THROW(never.MakeBmp(&bmp, 32), PLTextException);
  PLAnyPicDecoder closed;
  closed.OpenFile(path.c_str());
  closed.Close();  // the library must not read the freed file buffer (ASan)
  EXPECT_THROW(closed.MakeBmp(&bmp, 32), PLTextException);
}

TEST(PLAnyPicDecoder, DestroyingAnOpenDecoderReleasesTheFile) {
  kvrtest::ScratchDir dir;
  const Bytes jpeg = imgtest::MakeJpeg(imgtest::BlockJpegLayout(8, 8));
  const std::string path = dir.File("a");
  imgtest::WriteFile(path, jpeg);
  PLAnyPicDecoder decoder;
  decoder.OpenFile(path.c_str());
  decoder.OpenFile(path.c_str());  // a second open closes the first (LeakSanitizer)
  EXPECT_EQ(decoder.GetWidth(), 8);
}

}  // namespace
