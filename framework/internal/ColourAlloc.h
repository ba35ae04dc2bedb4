// ColourAlloc.h: the one place where the colour code asks the X server for a
// colour, so that tests can stand in a colour map that refuses what they
// choose (a full colour map cannot be had from Xvfb on demand).
#pragma once

namespace afc {

// Allocates the 8-bit components (r, g, b) in the default colour map; 1 and
// *pixel on success, else 0.
using ColourAllocFn = int (*)(int r, int g, int b, unsigned long* pixel);

// The allocator GetClosestSysClr uses: the test's when one is set, else
// XAllocColor through MyAllocXClr.
int AllocRgb(int r, int g, int b, unsigned long* pixel);

// Sets the allocator (null: the X server's again); returns the previous one.
// Tests only.
ColourAllocFn SetColourAllocatorForTest(ColourAllocFn fn);

}  // namespace afc
