#include "image/PLJPEGDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "image/PLBmp.h"
#include "image/PLConstants.h"
#include "image/PLDataSource.h"
#include "image/PLTextException.h"
#include "image/internal/PLBmpLock.h"
#include "image/internal/PLJpegMemSrc.h"

namespace {

constexpr int kJpegLibVersion = 62;  // the API this decoder is written against
constexpr int kDensityPerCm = 2;     // density_unit: dots per centimetre
constexpr double kCmPerInch = 2.54;

// The library's error manager, followed by where to jump on a fatal error and
// the text of that error.
struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char text[JMSG_LENGTH_MAX + 2];
};

// Never returns: jumps back to the Guarded call that started the library call.
[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
  ErrorManager* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->text);
  std::strcat(err->text, "\n");
  std::longjmp(err->jump, 1);
}

// Runs f, which calls into the library. A fatal library error lands here and
// gives false. Between setjmp and the library there must be no object with a
// destructor, so f must hold only plain values and pointers.
template <class F>
bool Guarded(ErrorManager& err, F&& f) {
  if (setjmp(err.jump) != 0) return false;
  f();
  return true;
}

void JNotification(j_common_ptr cinfo) {
  PLDataSource* source = static_cast<PLDataSource*>(cinfo->client_data);
  const jpeg_progress_mgr* p = cinfo->progress;
  if (source == nullptr || p == nullptr || p->total_passes <= 0) return;
  const double inPass =
      p->pass_limit > 0 ? static_cast<double>(p->pass_counter) / p->pass_limit : 0;
  source->OProgressNotification((p->completed_passes + inPass) / p->total_passes);
}

// CMYK samples to RGB. Files with an Adobe marker store the inks inverted
// (255 means no ink), which is what nearly every CMYK JPEG has.
void CmykToRgb(const uint8_t* cmyk, PLPixel32* dst, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4) {
    int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    dst[x].Set(static_cast<uint8_t>(c * k / 255), static_cast<uint8_t>(m * k / 255),
               static_cast<uint8_t>(y * k / 255), 255);
  }
}

}  // namespace

struct PLJPEGDecoder::State {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
};

PLJPEGDecoder::PLJPEGDecoder() : m_pState(new State), m_bFast(true) {
  State& s = *m_pState;
  std::memset(&s.cinfo, 0, sizeof s.cinfo);
  s.cinfo.err = jpeg_std_error(&s.err.pub);
  s.err.pub.error_exit = ErrorExit;
  s.err.text[0] = '\0';
  jpeg_decompress_struct* cinfo = &s.cinfo;
  if (!Guarded(s.err, [cinfo] {
        jpeg_CreateDecompress(cinfo, kJpegLibVersion, sizeof(jpeg_decompress_struct));
      })) {
    throw PLTextException(PL_ERRFORMAT_NOT_SUPPORTED, s.err.text);
  }
}

PLJPEGDecoder::~PLJPEGDecoder() { jpeg_destroy_decompress(&m_pState->cinfo); }

void PLJPEGDecoder::fail() {
  jpeg_abort_decompress(&m_pState->cinfo);
  raiseError(PL_ERRFORMAT_NOT_SUPPORTED, m_pState->err.text);
}

void PLJPEGDecoder::Close() {
  jpeg_abort_decompress(&m_pState->cinfo);
  PLPicDecoder::Close();
}

void PLJPEGDecoder::Open(PLDataSource* source) {
  State& s = *m_pState;
  jpeg_decompress_struct* cinfo = &s.cinfo;
  // A decode that an earlier failure left half done starts over.
  jpeg_abort_decompress(cinfo);
  const JOCTET* data = source->ReadEverything();
  const size_t size = static_cast<size_t>(source->GetBytesLeft());
  if (!Guarded(s.err, [=] {
        PLJpegMemSrc(cinfo, data, size, source, JNotification);
        jpeg_read_header(cinfo, TRUE);
      })) {
    fail();
  }
  int bpp = 32;
  switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
      cinfo->out_color_space = JCS_GRAYSCALE;
      bpp = 8;
      break;
    case JCS_YCbCr:
    case JCS_RGB: cinfo->out_color_space = JCS_RGB; break;
    case JCS_CMYK:
    case JCS_YCCK: cinfo->out_color_space = JCS_CMYK; break;
    default:
      jpeg_abort_decompress(cinfo);
      raiseErrorF(PL_ERRFORMAT_NOT_SUPPORTED,
                  "JPEG decoder: %d colour components in colour space %d are not supported.",
                  cinfo->num_components, static_cast<int>(cinfo->jpeg_color_space));
  }
  const int64_t width = cinfo->image_width;
  const int64_t height = cinfo->image_height;
  if (width > kPLMaxDimension || height > kPLMaxDimension || width * height > kPLMaxPixels) {
    jpeg_abort_decompress(cinfo);
    raiseErrorF(PL_ERRFORMAT_NOT_SUPPORTED, "JPEG decoder: size %u x %u is too large.",
                cinfo->image_width, cinfo->image_height);
  }
  int x = cinfo->X_density;
  int y = cinfo->Y_density;
  if (x == 1 || y == 1) x = y = 0;  // an aspect ratio, not a resolution
  if (cinfo->density_unit == kDensityPerCm) {
    x = static_cast<int>(x * kCmPerInch);
    y = static_cast<int>(y * kCmPerInch);
  }
  SetBmpInfo(PLPoint(static_cast<int32_t>(width), static_cast<int32_t>(height)), bpp, PLPoint(x, y),
             false, bpp == 8);
}

void PLJPEGDecoder::GetImage(PLBmp& bitmap) {
  State& s = *m_pState;
  jpeg_decompress_struct* cinfo = &s.cinfo;
  if (bitmap.GetSize() != GetSize() || bitmap.GetBitsPerPixel() != GetBitsPerPixel()) {
    jpeg_abort_decompress(cinfo);
    raiseError(PL_ERRFORMAT_NOT_SUPPORTED, "JPEG decoder: the bitmap does not match the image.");
  }
  if (m_bFast) cinfo->do_fancy_upsampling = FALSE;
  cinfo->dct_method = JDCT_FLOAT;
  if (!Guarded(s.err, [cinfo] { jpeg_start_decompress(cinfo); })) fail();
  const int wantComponents = cinfo->out_color_space == JCS_GRAYSCALE ? 1
                             : cinfo->out_color_space == JCS_CMYK    ? 4
                                                                     : 3;
  if (cinfo->output_components != wantComponents ||
      static_cast<int64_t>(cinfo->output_width) != GetWidth() ||
      static_cast<int64_t>(cinfo->output_height) != GetHeight()) {
    jpeg_abort_decompress(cinfo);
    raiseError(PL_ERRFORMAT_NOT_SUPPORTED,
               "JPEG decoder: the library's output does not match the header.");
  }
  readRows(bitmap);
  if (!Guarded(s.err, [cinfo] { jpeg_finish_decompress(cinfo); })) fail();
}

void PLJPEGDecoder::readRows(PLBmp& bitmap) {
  State& s = *m_pState;
  jpeg_decompress_struct* cinfo = &s.cinfo;
  PLBmpLock lock(bitmap, false, true);
  uint8_t** lines = bitmap.GetLineArray();
  const int width = GetWidth();
  const int height = GetHeight();
  const int components = cinfo->output_components;
  const bool inverted = cinfo->saw_Adobe_marker != FALSE;
  // The row buffer lives out here: a fatal error jumps over the loop below.
  std::vector<uint8_t> buffer(components == 1 ? 0 : static_cast<size_t>(width) * 4);
  uint8_t* rowBuffer = buffer.data();
  bool complete = false;
  const bool ok = Guarded(s.err, [&] {
    for (int y = 0; y < height; ++y) {
      JSAMPROW row = components == 1 ? lines[y] : rowBuffer;
      if (jpeg_read_scanlines(cinfo, &row, 1) != 1) return;
      if (components == 1) continue;
      PLPixel32* dst = reinterpret_cast<PLPixel32*>(lines[y]);
      if (components == 4) {
        CmykToRgb(rowBuffer, dst, width, inverted);
        continue;
      }
      const uint8_t* rgb = rowBuffer;
      for (int x = 0; x < width; ++x, rgb += 3) dst[x].Set(rgb[0], rgb[1], rgb[2], 255);
    }
    complete = true;
  });
  if (!ok) fail();
  if (!complete) {
    jpeg_abort_decompress(cinfo);
    raiseError(PL_ERRFORMAT_NOT_SUPPORTED, "JPEG decoder: the library delivered too few rows.");
  }
}
