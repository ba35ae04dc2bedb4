// PLBmp.h: the abstract bitmap: a description (PLBmpInfo), a palette for
// depths of 8 bits and less, and one pointer per row, row 0 at the top.
// Depths are 1 (eight pixels a byte, leftmost in bit 7, a set bit meaning
// palette entry 1), 8 (one palette index a pixel), 24 (PLPixel24) and 32
// (PLPixel32). Rows have no fill bytes.
//
// The palette and the rows belong to the derived class that allocated them
// (PLAnyBmp); this class only points at them. CreateCopy converts between the
// four depths; an 8-bit copy of a colour bitmap goes through the colour
// quantizer (PLFilterQuantize) with the modes SetQuantizationMode chose.
//
// Creating a bitmap with a depth other than 1, 8, 24 or 32, a negative size or
// more than kPLMaxPixels pixels throws PLTextException (PLConstants.h).
#pragma once

#include <cstdint>

#include "image/PLBmpInfo.h"
#include "image/PLPixel24.h"
#include "image/PLPixel32.h"

class PLFilter;

class PLBmp : public PLBmpInfo {
 public:
  PLBmp();
  ~PLBmp() override;
  void AssertValid() const override;

  // Drops the old contents and makes a bitmap of the given size and depth,
  // pixels cleared to 0; depths of 8 bits and less get the grey palette.
  virtual void Create(long width, long height, unsigned short bpp, bool alpha, bool greyscale,
                      const PLPoint& resolution = PLPoint(0, 0));
  virtual void Create(const PLBmpInfo& info);
  virtual long GetMemUsed() = 0;
  virtual long GetBytesPerLine() = 0;
  // A usage count around row access; the flags are not used.
  // Const: a source is locked for reading through a const reference.
  virtual void Lock(bool readable, bool writable) const;
  virtual void Unlock() const;

  // Makes this bitmap a copy of source at bpp bits per pixel (0: the
  // source's depth). Copying a bitmap onto itself changes nothing.
  void CreateCopy(const PLBmp& source, int bpp = 0);
  // CreateCopy(source, 0).
  PLBmp& operator=(const PLBmp& source);

  uint8_t** GetLineArray() const { return m_pLineArray; }
  PLPixel32** GetLineArray32() const { return reinterpret_cast<PLPixel32**>(m_pLineArray); }
  PLPixel24** GetLineArray24() const { return reinterpret_cast<PLPixel24**>(m_pLineArray); }
  // A pixel of a 32-bit bitmap. Out of range or at another depth GetPixel
  // answers (0, 0, 0, 0) and SetPixel does nothing.
  PLPixel32 GetPixel(int x, int y) const;
  void SetPixel(int x, int y, PLPixel32 pixel);

  // The palette: GetNumColors entries at 8 bits and less, null above.
  PLPixel32* GetPalette() const { return m_pClrTab; }
  // Copies GetNumColors entries; nothing for a bitmap without palette or a
  // null pointer.
  void SetPalette(const PLPixel32* entries);
  // Entries outside the palette are ignored.
  void SetPaletteEntry(uint8_t index, uint8_t r, uint8_t g, uint8_t b, uint8_t a);
  void SetPaletteEntry(uint8_t index, PLPixel32 entry);
  // Entry i = (i * step, i * step, i * step, 255), step = 255 / (colours - 1).
  void SetGrayPalette();
  // 1 << bpp up to 8 bits, 16777216 above.
  int GetNumColors() const;
  // The palette index whose colour is nearest (PLPixel32::BoxDist) to colour,
  // the first of equals; -1 for a bitmap without palette.
  int FindNearestColor(PLPixel32 colour) const;

  void SetResolution(const PLPoint& resolution) { m_Resolution = resolution; }
  void SetHasAlpha(bool alpha) { m_bAlphaChannel = alpha; }
  // Modes of the quantizer for an 8-bit copy of a colour bitmap: dither type
  // 0 none, 1 ordered, 2 Floyd-Steinberg; palette type 0 median cut,
  // 1 popularity, 2 default palette, 3 user palette.
  void SetQuantizationMode(int ditherType, int ditherPaletteType);
  bool IsLocked() const { return m_LockCount > 0; }

  // For a 32-bit bitmap: every pixel's A becomes the byte at the same place of
  // the 8-bit bitmap alpha, and the bitmap has alpha from then on. Nothing
  // happens when alpha is null, not 8-bit or of another size.
  void SetAlphaChannel(PLBmp* alpha);

  // Same size, depth, flags and resolution, and pixels (and palette entries)
  // within epsilon per channel; 24-bit pixels must match exactly.
  bool AlmostEqual(const PLBmp& other, int epsilon) const;
  bool operator==(const PLBmp& other) const { return AlmostEqual(other, 0); }

  // Runs filter in place on this bitmap / from source into this bitmap.
  void ApplyFilter(const PLFilter& filter);
  void CreateFilteredCopy(PLBmp& source, const PLFilter& filter);

 protected:
  virtual void internalCreate(long width, long height, unsigned short bpp, bool alpha,
                              bool greyscale) = 0;
  virtual void freeMembers() = 0;
  virtual void initLineArray() = 0;

  // Makes this bitmap an exact copy of source (size, depth, flags, rows,
  // palette, resolution).
  void internalCopy(const PLBmp& source);
  // Throws PLTextException unless the size and depth can be created.
  static void checkCreateArgs(long width, long height, int bpp);

  PLPixel32* m_pClrTab;    // borrowed: the derived class owns the palette
  uint8_t** m_pLineArray;  // borrowed: the derived class owns the rows
  mutable int32_t m_LockCount;
  int32_t m_DitherType;
  int32_t m_DitherPaletteType;

 private:
  template <class PixelT>
  void createTrueColorCopy(const PLBmp& source);
  void create8BPPCopy(const PLBmp& source);
  void create1BPPCopy(const PLBmp& source);
  bool rowsAlmostEqual(const PLBmp& other, int epsilon) const;
};
