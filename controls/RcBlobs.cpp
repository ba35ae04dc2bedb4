// The blob files of the compiled tables, res/*blob.brc under the program
// directory. Each file, from offset 0:
//
//   offset  size  content
//   0       2     number of entries, u16 little-endian (signed when read)
//   2       ...   the entries in the table's iteration order: the key as a
//                 string, then the value
//
// A string is a signed 32-bit little-endian length and that many bytes, no
// NUL. Values: bitmaps, icons, cursors and strings a string; menus the root
// cell, toolbars and accelerator tables and dialogs their records
// (MnuTemplate.h, DlgTemplate.h). No header, magic, version or checksum.
//
// Nothing in the programs reads the files back, but they are rewritten at
// every start of either program: each goes through a temporary file renamed
// over the old one, so an interrupted start never leaves a torn file. They
// are not fsynced: a start makes them again.
#include "controls/RcCmplr.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "controls/internal/BlobIO.h"

namespace {

// Table order of the files.
enum BlobTable {
  kMenus,
  kToolbars,
  kBitmaps,
  kIcons,
  kCursors,
  kAccels,
  kStrings,
  kDialogs,
  kNumBlobs
};
constexpr const char* kBlobNames[kNumBlobs] = {"mnublob.brc",  "tbarblob.brc", "bmpblob.brc",
                                               "iconblob.brc", "cursblob.brc", "accelblob.brc",
                                               "strblob.brc",  "dlgblob.brc"};

struct FileCloser {
  void operator()(FILE* f) const { fclose(f); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// The entry count: the table's count, low 16 bits.
void PutCount(FILE* f, int n) {
  rcblob::Put8(f, static_cast<uint8_t>(n));
  rcblob::Put8(f, static_cast<uint8_t>(n >> 8));
}

// Writes the entries of a table of record values.
template <class V>
void PutRecordMap(FILE* f, AMap<CString, CString&, V, V&>& map) {
  PutCount(f, map.GetCount());
  long pos = map.GetStartPosition();
  while (pos != 0) {
    CString key;
    V value;
    map.GetNextMapRec(pos, key, value);
    rcblob::PutStr(f, key);
    value.DiskIO(0, f);
  }
}

void PutStringMap(FILE* f, AMapStringToString& map) {
  PutCount(f, map.GetCount());
  long pos = map.GetStartPosition();
  while (pos != 0) {
    CString key, value;
    map.GetNextMapRec(pos, key, value);
    rcblob::PutStr(f, key);
    rcblob::PutStr(f, value);
  }
}

// The entry count; refused when negative.
bool GetEntryCount(FILE* f, int& n) {
  uint8_t lo, hi;
  if (!rcblob::Get8(f, lo) || !rcblob::Get8(f, hi)) return false;
  n = static_cast<int16_t>(lo | hi << 8);
  return n >= 0;
}

template <class V>
bool ReadTable(FILE* f, AMap<CString, CString&, V, V&>& map) {
  int n;
  if (!GetEntryCount(f, n)) return false;
  for (int i = 0; i < n; ++i) {
    CString key;
    V value;
    if (!rcblob::GetStr(f, key) || !value.DiskIO(1, f)) return false;
    map.SetAt(key, value);
  }
  return true;
}

bool ReadTable(FILE* f, AMapStringToString& map) {
  int n;
  if (!GetEntryCount(f, n)) return false;
  for (int i = 0; i < n; ++i) {
    CString key, value;
    if (!rcblob::GetStr(f, key) || !rcblob::GetStr(f, value)) return false;
    map.SetAt(key, value);
  }
  return true;
}

// Empties the table and reads it from f; a damaged file leaves it empty.
template <class Map>
bool Reload(FILE* f, Map& map) {
  map.RemoveAll();
  if (ReadTable(f, map)) return true;
  map.RemoveAll();
  return false;
}

}  // namespace

int CRcCmplr::SaveGuiRes() {
  for (int t = 0; t < kNumBlobs; ++t) {
    // The content is built in memory first, then replaces the file whole.
    char* data = nullptr;
    size_t nBytes = 0;
    FILE* mem = open_memstream(&data, &nBytes);
    if (mem == nullptr) return 1;
    switch (t) {
      case kMenus: {
        PutCount(mem, m_mapMenus.GetCount());
        long pos = m_mapMenus.GetStartPosition();
        while (pos != 0) {
          CString key;
          typMnuCell* root = nullptr;
          m_mapMenus.GetNextMapRec(pos, key, root);
          rcblob::PutStr(mem, key);
          root->DiskIO(0, mem);
        }
        break;
      }
      case kToolbars: PutRecordMap(mem, m_mapToolbars); break;
      case kBitmaps: PutStringMap(mem, m_mapBmps); break;
      case kIcons: PutStringMap(mem, m_mapIcons); break;
      case kCursors: PutStringMap(mem, m_mapCursors); break;
      case kAccels: PutRecordMap(mem, m_mapAccels); break;
      case kStrings: PutStringMap(mem, m_mapStrings); break;
      case kDialogs: PutRecordMap(mem, m_mapDlgs); break;
    }
    fclose(mem);
    const std::string content(data, nBytes);
    free(data);
    const std::string path =
        std::string(static_cast<const char*>(m_strProgDir)) + "res/" + kBlobNames[t];
    std::string error;
    // Derived from the script at every start and read by nothing: a crash
    // that drops one costs nothing, so the save is not synced to disk.
    if (!WriteFileAtomic(path, content, &error, *m_pFileOps, false)) {
      // Usually a missing res/ directory; the files after this one are not
      // tried either.
      ReportAt(SrcPos(), error.c_str());
      return 1;
    }
  }
  return 1;
}

int CRcCmplr::LoadGuiResFromBinary() {
  for (int t = 0; t < kNumBlobs; ++t) {
    const std::string path =
        std::string(static_cast<const char*>(m_strProgDir)) + "res/" + kBlobNames[t];
    UniqueFile f(fopen(path.c_str(), "rb"));
    if (!f) return 0;
    bool ok = false;
    switch (t) {
      case kMenus: {
        DeleteMenuRoots();
        int n;
        ok = GetEntryCount(f.get(), n);
        for (int i = 0; ok && i < n; ++i) {
          CString key;
          std::unique_ptr<typMnuCell> root(new typMnuCell);
          ok = rcblob::GetStr(f.get(), key) && root->DiskIO(1, f.get());
          if (ok) StoreMenuRoot(key, root.release());
        }
        if (!ok) DeleteMenuRoots();
        break;
      }
      case kToolbars: ok = Reload(f.get(), m_mapToolbars); break;
      case kBitmaps: ok = Reload(f.get(), m_mapBmps); break;
      case kIcons: ok = Reload(f.get(), m_mapIcons); break;
      case kCursors: ok = Reload(f.get(), m_mapCursors); break;
      case kAccels: ok = Reload(f.get(), m_mapAccels); break;
      case kStrings: ok = Reload(f.get(), m_mapStrings); break;
      case kDialogs: ok = Reload(f.get(), m_mapDlgs); break;
    }
    if (!ok) {
      CString msg;
      msg.Format("%s: damaged at offset %ld: a length or count does not fit in the file",
                 path.c_str(), ftell(f.get()));
      ReportAt(SrcPos(), msg);
      return 0;
    }
  }
  return 1;
}
