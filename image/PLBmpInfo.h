// PLBmpInfo.h: the description of an image: size in pixels, bits per pixel,
// resolution in dots per inch (0 when unknown), whether the A bytes of a
// 32-bit image mean anything, and whether it is greyscale. Bitmaps carry one,
// and a decoder fills its own after opening a file.
#pragma once

#include "image/PLObject.h"
#include "image/PLPoint.h"

class PLBmpInfo : public PLObject {
 public:
  // Fields unset; a decoder or bitmap sets them before they are read.
  PLBmpInfo() = default;
  PLBmpInfo(const PLPoint& size, int bpp, const PLPoint& resolution, bool alpha, bool greyscale);
  // Parses the form AsString writes:
  //   "{ Size: (%i, %i), bpp: %i, Resolution: (%i, %i), Alpha: %i, Greyscale: %i }"
  // A non-zero number sets a flag. Text that does not match leaves every field
  // that was not read at 0.
  explicit PLBmpInfo(const char* text);

  // Writes the form above into buffer, cut to length - 1 bytes and always
  // terminated; nothing for a null buffer or a length below 1.
  void AsString(char* buffer, int length) const;

  void SetBmpInfo(const PLPoint& size, int bpp, const PLPoint& resolution, bool alpha,
                  bool greyscale);
  void SetBmpInfo(const PLBmpInfo& other);

  const PLPoint& GetSize() const { return m_Size; }
  int GetWidth() const { return m_Size.x; }
  int GetHeight() const { return m_Size.y; }
  int GetBitsPerPixel() const { return m_bpp; }
  const PLPoint& GetResolution() const { return m_Resolution; }
  bool HasAlpha() const { return m_bAlphaChannel; }
  bool IsGreyscale() const { return m_bIsGreyscale; }

  // All five fields.
  bool operator==(const PLBmpInfo& other) const;
  bool operator!=(const PLBmpInfo& other) const { return !(*this == other); }

 protected:
  PLPoint m_Size;
  int32_t m_bpp;
  PLPoint m_Resolution;
  bool m_bAlphaChannel;
  bool m_bIsGreyscale;
};
