// Colours.h: 0xRRGGBB colours (red in bits 16..23, green 8..15, blue 0..7)
// turned into X pixels of the default colour map. A colour that cannot be
// allocated exactly gets the best substitute: the nearest grey for a grey,
// then the nearest colour of the colour database (rgb.txt), then the colour
// snapped to three and to two levels per component; when even that fails
// the colour is drawn with pixel 0. Every request is remembered, so the
// second request for a colour costs no round trip to the X server.
//
// Also here: the graphics-context colour and raster-function setters.
// Everything runs on the program's one thread.
#pragma once

#include <cstdint>

#include "base/AMap.h"
#include "base/FixedMaps.h"
#include "framework/XTypes.h"

// The colour actually allocated for a request, and its pixel.
struct typRgbPxl {
  uint32_t colour = 0;  // 0xRRGGBB
  uint32_t pixel = 0;   // X pixel value
};

// requested colour -> what was allocated for it (written by GetClosestSysClr).
extern AMap<unsigned long, unsigned long, typRgbPxl, typRgbPxl&> gmapRgbToRgbPixel;
// requested colour -> nearest colour of the database (the value holds the
// colour, not a pointer).
extern AMapDWordToPtr gmapRgbToClosestSysRgb;
// The colour database: every colour of rgb.txt as a key (values 0).
extern AMapDWordToPtr gmapClrDB;

// Reads the colour database from the first of /usr/lib/X11/rgb.txt,
// /lib/X11/rgb.txt and /usr/share/X11/rgb.txt (where Debian keeps it) that
// opens. Lines "R G B<blank>name" with components 0..255 are taken, others
// (comments, damaged lines) skipped. A second call reads the file afresh.
// Returns the number of distinct colours, 0 without a file.
int AfcClrInit();

// The colour obtained for rgb (the request itself when it could be
// allocated, else the substitute, 0 when nothing could be allocated); its
// pixel goes to *pixel when pixel is not null (0 when nothing was).
unsigned long GetClosestSysClr(unsigned long rgb, unsigned long* pixel);

// XAllocColor of (r, g, b) x 257 in colormap (0: the screen's default). 1 and
// the pixel on success, 0 when the server refuses or no display is open.
int MyAllocXClr(int r, int g, int b, unsigned long& colormap, unsigned long& pixel);

// 0 below 64, 127 for 64..191, 255 above 191.
int GetSnapClrTo3Pts(int v);

// The GC's foreground / background becomes GetClosestSysClr(rgb)'s pixel;
// the previous pixel is returned.
unsigned long SetFgClr(GC gc, unsigned long rgb);
unsigned long SetBkClr(GC gc, unsigned long rgb);
// The same with a pixel value.
unsigned long SetFgClrPxl(GC gc, unsigned long pixel);
unsigned long SetBkClrPxl(GC gc, unsigned long pixel);
// Sets the GC's raster function (X codes: 3 copy, 6 xor, 8 nor, ...);
// returns the previous one.
int SetDrawMode(GC gc, int function);
