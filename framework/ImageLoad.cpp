#include "framework/ImageLoad.h"

#include <dirent.h>
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

#include "base/FixedMaps.h"
#include "framework/CWinApp.h"
#include "framework/ResourceCompiler.h"
#include "image/PLAnyBmp.h"
#include "image/PLAnyPicDecoder.h"
#include "image/PLTextException.h"

namespace {

CString ResDir() {
  return (uniqueAFCAppPointer ? uniqueAFCAppPointer->m_strProgDir : CString()) + "res";
}

// dir + "/" + the matching name (dir + "/" when none matches).
CString MatchedPath(const CString& dir, const char* name) {
  return dir + "/" + GetMatchingRealFileNameForCaseInSensitiveName(dir, name);
}

}  // namespace

CString GetMatchingRealFileNameForCaseInSensitiveName(const char* dir, const char* name) {
  CString found;
  if (!dir || !name) return found;
  dirent** entries = nullptr;
  const int n = scandir(dir, &entries, nullptr, alphasort);
  if (n < 0) return found;
  for (int i = 0; i < n; ++i) {
    if (strcasecmp(entries[i]->d_name, name) == 0) found = entries[i]->d_name;
    std::free(entries[i]);
  }
  std::free(entries);
  return found;
}

CString GetResImgPathFromId(int id) {
  char key[16];
  std::snprintf(key, sizeof key, "%d", id);
  IResourceCompiler* rc =
      uniqueAFCAppPointer ? uniqueAFCAppPointer->GetResourceCompiler() : nullptr;
  CString name;
  bool known = false;
  if (rc) {
    const AMapStringToString* bitmaps = rc->GetBitmapTable();
    const AMapStringToString* icons = rc->GetIconTable();
    known = (bitmaps && bitmaps->Lookup(key, name)) || (icons && icons->Lookup(key, name));
  }
  if (!known) {
    std::printf("BMP %s not found!!!", key);
    return CString();
  }
  return MatchedPath(ResDir(), name);
}

PLAnyBmp* LoadPLBmp(const char* path) {
  const char* shown = path ? path : "";
  // The decoders report every failure by throwing; a broken or missing
  // image must never end the program.
  try {
    auto bitmap = std::make_unique<PLAnyBmp>();
    PLAnyPicDecoder decoder;
    decoder.OpenFile(shown, nullptr);
    decoder.MakeBmp(bitmap.get(), 32);
    decoder.Close();
    return bitmap.release();
  } catch (const PLTextException& e) {
    std::fprintf(stderr, "image \"%s\" not loaded: %s\n", shown, static_cast<const char*>(e));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "image \"%s\" not loaded: %s\n", shown, e.what());
  }
  return nullptr;
}

XImage* LoadBmpId(int id) { return LoadBmpFile(GetResImgPathFromId(id)); }

XImage* LoadBmp(char* name) {
  if (!name) return nullptr;
  return LoadBmpFile(MatchedPath(ResDir(), name));
}
