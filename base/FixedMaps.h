// FixedMaps.h: the four fixed-type hash maps over AMapCore.
//
//   AMapStringToString  CString -> CString   text hash, all 64 buckets
//                       (chndic2.bin in the engine, resource-script tables)
//   AMapStringToPtr     CString -> void*     text hash, all 64 buckets
//   AMapWordToPtr       uint16  -> void*     key & 15: buckets 0 to 15
//   AMapDWordToPtr      uint32  -> void*     key & 31: buckets 0 to 31
//                       (gMapHWinToData, the colour maps)
//
// The hashes and so the iteration order are fixed; callers depend on them
// (see AMapCore.h). String keys are passed as C strings and compare by
// length and bytes. The maps own their keys and string values; a pointer
// value is borrowed: removing a record or destroying a map never frees what
// it points to.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/AMapCore.h"
#include "base/CString.h"

namespace fixedmaps {

struct StringKeyTraits {
  using Key = CString;
  using ArgKey = const char*;
  static uint32_t Hash(const char* key) { return TextHash(key); }
  static bool Equal(const CString& a, const char* b) { return a == b; }
};
struct StringToStringTraits : StringKeyTraits {
  using Value = CString;
};
struct StringToPtrTraits : StringKeyTraits {
  using Value = void*;
};
struct WordToPtrTraits {
  using Key = uint16_t;
  using ArgKey = uint16_t;
  using Value = void*;
  static uint32_t Hash(uint16_t key) { return key & 15u; }
  static bool Equal(uint16_t a, uint16_t b) { return a == b; }
};
struct DWordToPtrTraits {
  using Key = uint32_t;
  using ArgKey = uint32_t;
  using Value = void*;
  static uint32_t Hash(uint32_t key) { return key & 31u; }
  static bool Equal(uint32_t a, uint32_t b) { return a == b; }
};

}  // namespace fixedmaps

class AMapStringToString : public AMapFixed<fixedmaps::StringToStringTraits> {
 public:
  explicit AMapStringToString(int blockSize = 16) : AMapFixed(blockSize) {}
  void SetAt(const char* key, const char* value) { (*this)[key] = value; }
  // load nonzero: reads the file form below from f's position and adds each
  // entry with SetAt; returns 1, or 0 when the file ends inside an entry
  // (the entries before it are kept and a message goes to stderr).
  // load 0: writes nothing and returns 1.
  //
  //   offset size  field
  //   0      2     entry count n, uint16 little-endian
  //   2      ...   n entries: key, then value, each a length byte L (0..255)
  //                followed by L bytes without a NUL
  // An entry whose key or value is empty is skipped; a later entry with the
  // same key replaces the earlier value.
  int DiskIO(int load, FILE* f);
};

class AMapStringToPtr : public AMapFixed<fixedmaps::StringToPtrTraits> {
 public:
  explicit AMapStringToPtr(int blockSize = 16) : AMapFixed(blockSize) {}
  void SetAt(const char* key, void* value) { (*this)[key] = value; }
  int DiskIO(int load, FILE* f) { return 1; }  // no file form
};

class AMapWordToPtr : public AMapFixed<fixedmaps::WordToPtrTraits> {
 public:
  explicit AMapWordToPtr(int blockSize = 16) : AMapFixed(blockSize) {}
  void SetAt(uint16_t key, void* value) { (*this)[key] = value; }
  int DiskIO(int load, FILE* f) { return 1; }  // no file form
};

class AMapDWordToPtr : public AMapFixed<fixedmaps::DWordToPtrTraits> {
 public:
  explicit AMapDWordToPtr(int blockSize = 16) : AMapFixed(blockSize) {}
  void SetAt(uint32_t key, void* value) { (*this)[key] = value; }
  int DiskIO(int load, FILE* f) { return 1; }  // no file form
};

// The sum of the text's bytes, each a signed char, modulo 7168 with the sign
// of the sum (a text of bytes above 0x7F gives a negative result).
int HashKey(const CString& s);
