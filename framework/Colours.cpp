#include "framework/Colours.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/internal/ColourAlloc.h"
#include "framework/internal/KernelHooks.h"
#include "framework/internal/PlatformRoot.h"

AMap<unsigned long, unsigned long, typRgbPxl, typRgbPxl&> gmapRgbToRgbPixel(16);
AMapDWordToPtr gmapRgbToClosestSysRgb(60);
AMapDWordToPtr gmapClrDB(60);

namespace {

afc::ColourAllocFn g_testAlloc = nullptr;

// Where the colour database may be. The first two are where older X
// installations keep it; Debian has neither and keeps it in /usr/share/X11.
constexpr const char* kRgbTxtPaths[] = {
    "/usr/lib/X11/rgb.txt",
    "/lib/X11/rgb.txt",
    "/usr/share/X11/rgb.txt",
};

int Red(unsigned long c) { return static_cast<int>((c >> 16) & 0xFF); }
int Green(unsigned long c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(unsigned long c) { return static_cast<int>(c & 0xFF); }
unsigned long Rgb(int r, int g, int b) {
  return (static_cast<unsigned long>(r) << 16) | (static_cast<unsigned long>(g) << 8) |
         static_cast<unsigned long>(b);
}

bool TryAlloc(unsigned long c, unsigned long* pixel) {
  return afc::AllocRgb(Red(c), Green(c), Blue(c), pixel) != 0;
}

// The greys around v, one step further out on each side per round, darker
// first. Grey v itself has just failed; 0 and 255 are not tried.
bool NearestAllocatableGrey(int v, unsigned long* colour, unsigned long* pixel) {
  int lo = v - 1, hi = v + 1;
  while (lo > 0 || hi < 255) {
    if (lo > 0) {
      if (TryAlloc(Rgb(lo, lo, lo), pixel)) {
        *colour = Rgb(lo, lo, lo);
        return true;
      }
      --lo;
    }
    if (hi < 255) {
      if (TryAlloc(Rgb(hi, hi, hi), pixel)) {
        *colour = Rgb(hi, hi, hi);
        return true;
      }
      ++hi;
    }
  }
  return false;
}

// The database colour nearest to rgb (smallest sum of squared component
// differences, the first of equals in the map's order), black for an empty
// database. Remembered per request.
unsigned long NearestDatabaseColour(unsigned long rgb) {
  void* known = nullptr;
  if (gmapRgbToClosestSysRgb.Lookup(static_cast<uint32_t>(rgb), known))
    return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(known));
  unsigned long best = 0;
  long bestDist = -1;
  long pos = gmapClrDB.GetStartPosition();
  while (pos) {
    uint32_t key = 0;
    void* unused = nullptr;
    gmapClrDB.GetNextMapRec(pos, key, unused);
    const long dr = Red(key) - Red(rgb), dg = Green(key) - Green(rgb), db = Blue(key) - Blue(rgb);
    const long dist = dr * dr + dg * dg + db * db;
    if (bestDist < 0 || dist < bestDist) {
      bestDist = dist;
      best = key;
    }
  }
  gmapRgbToClosestSysRgb.SetAt(static_cast<uint32_t>(rgb),
                               reinterpret_cast<void*>(static_cast<uintptr_t>(best)));
  return best;
}

int SnapTo2Pts(int v) { return v < 128 ? 0 : 255; }

// main reads the colour database through the kernel's hook.
[[maybe_unused]] const bool g_hookInstalled = [] {
  afc::KernelHooks hooks = afc::GetKernelHooks();
  hooks.colourInit = &AfcClrInit;
  afc::SetKernelHooks(hooks);
  return true;
}();

}  // namespace

namespace afc {

int AllocRgb(int r, int g, int b, unsigned long* pixel) {
  if (g_testAlloc) return g_testAlloc(r, g, b, pixel);
  unsigned long colormap = 0;
  return MyAllocXClr(r, g, b, colormap, *pixel);
}

ColourAllocFn SetColourAllocatorForTest(ColourAllocFn fn) {
  ColourAllocFn old = g_testAlloc;
  g_testAlloc = fn;
  return old;
}

}  // namespace afc

int AfcClrInit() {
  gmapClrDB.RemoveAll();
  gmapRgbToClosestSysRgb.RemoveAll();
  FILE* f = nullptr;
  for (const char* path : kRgbTxtPaths) {
    f = std::fopen(afc::UnderPlatformRoot(path).c_str(), "r");
    if (f) break;
  }
  if (!f) return 0;
  char line[256];
  while (std::fgets(line, sizeof line, f)) {
    int r = 0, g = 0, b = 0;
    char name[256];
    if (std::sscanf(line, "%d %d %d\t%255[^\n]", &r, &g, &b, name) != 4) continue;
    // A damaged line must not make a key outside 24 bits.
    if (r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255) continue;
    gmapClrDB.SetAt(static_cast<uint32_t>(Rgb(r, g, b)), nullptr);
  }
  std::fclose(f);
  return gmapClrDB.GetCount();
}

int GetSnapClrTo3Pts(int v) {
  if (v < 64) return 0;
  if (v <= 191) return 127;
  return 255;
}

unsigned long GetClosestSysClr(unsigned long rgb, unsigned long* pixel) {
  typRgbPxl known;
  if (gmapRgbToRgbPixel.Lookup(rgb, known)) {
    if (pixel) *pixel = known.pixel;
    return known.colour;
  }
  unsigned long c = rgb & 0xFFFFFFUL;
  unsigned long px = 0;
  for (int attempt = 1;; ++attempt) {
    if (TryAlloc(c, &px)) break;
    const bool grey = Red(c) == Green(c) && Green(c) == Blue(c);
    if (attempt == 1 && grey && NearestAllocatableGrey(Red(c), &c, &px)) break;
    if (attempt == 1) {
      c = NearestDatabaseColour(rgb);
    } else if (attempt == 2) {
      c = Rgb(GetSnapClrTo3Pts(Red(rgb)), GetSnapClrTo3Pts(Green(rgb)),
              GetSnapClrTo3Pts(Blue(rgb)));
    } else if (attempt == 3) {
      c = Rgb(SnapTo2Pts(Red(rgb)), SnapTo2Pts(Green(rgb)), SnapTo2Pts(Blue(rgb)));
    } else {
      if (pixel) *pixel = 0;
      return 0;
    }
  }
  typRgbPxl& rec = gmapRgbToRgbPixel[rgb];
  rec.colour = static_cast<uint32_t>(c);
  rec.pixel = static_cast<uint32_t>(px);
  if (pixel) *pixel = px;
  return c;
}
