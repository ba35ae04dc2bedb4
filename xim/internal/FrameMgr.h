// FrameMgr.h: the frame coder of the XIM server. Every XIM message is
// described by a frame template (XimFrames.h): a constant list of typed
// items. A FrameMgr walks one template over one message buffer and puts
// (encodes) or gets (decodes) its fields in order, in the peer's byte order,
// computing padding and byte-length counters itself. Protocol code never
// computes an offset: it sets the sizes of the variable parts
// (FrameMgrSetSize, FrameMgrSetIterCount), asks for the total size, then puts
// or gets the fields one by one.
//
// Fields on the wire are exactly 1, 2 or 4 bytes. Values travel through
// FrameMgrPutToken / FrameMgrGetToken, which accept only 1-, 2- and 4-byte
// integers (and pointers, for byte arrays); anything else, such as a `long`,
// `Window` or `Atom` on x86-64, does not compile.
//
// Decoding is always bounded: FrameMgrGetToken refuses to read until the
// real length of the message has been given with FrameMgrSetTotalSize, and
// no get, put or skip crosses that length. Counts and lengths read from a
// message are never used to allocate: lists grow one element at a time as the
// walk meets them.
//
// Ownership: the manager owns its walk state; the buffer is the caller's and
// must outlive the manager. Byte arrays got from a message point into that
// buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

enum XimFrameType : uint8_t {
  BIT8 = 1,
  BIT16 = 2,
  BIT32 = 3,
  BIT64 = 4,  // counted as 8 bytes in sizes; no template uses it
  BARRAY = 5,
  ITER = 6,
  POINTER = 7,
  PTR_ITEM = 8,
  PADDING = 9,
  EOL = 10,
  COUNTER_MASK = 0x10,
  COUNTER_BIT8 = COUNTER_MASK | BIT8,
  COUNTER_BIT16 = COUNTER_MASK | BIT16,
  COUNTER_BIT32 = COUNTER_MASK | BIT32,
  COUNTER_BIT64 = COUNTER_MASK | BIT64,
};

// One template item. `data` is a plain number whose meaning depends on the
// type: for PADDING, bits 8-15 the number of items it looks back over and
// bits 0-7 the alignment unit; for a counter, bits 8 and up the distance in
// template entries to the ITER it measures and bits 0-7 zero for a byte
// length, nonzero for an element count. A PTR_ITEM names its nested template
// in `nested`.
struct XimFrameRec {
  XimFrameType type;
  uint32_t data;
  const XimFrameRec* nested;
};
typedef const XimFrameRec* XimFrame;

constexpr uint32_t FmPadding(uint32_t nItems, uint32_t unit) { return (nItems << 8) | unit; }
constexpr uint32_t FmByteCounter(uint32_t distance) { return distance << 8; }
constexpr uint32_t FmCountCounter(uint32_t distance) { return (distance << 8) | 1; }

enum FmStatus {
  FmSuccess = 0,
  FmEOD = 1,          // the template's end was reached
  FmInvalidCall = 2,  // the call does not fit the item, or a size is unset
  FmBufExist = 3,     // a buffer is already set
  FmCannotCalc = 4,   // a counter's value cannot be computed (its list is open)
  FmNoMoreData = 5,   // nothing left to set, or the field crosses the size limit
};

struct FrameMgrRec;
struct FrameInstRec;
struct IterRec;
struct FrameIterRec;
typedef FrameMgrRec* FrameMgr;
typedef FrameInstRec* FrameInst;
typedef IterRec* Iter;

// What the walk keeps for one template entry or one list element: the size
// of a byte array (-1 unset), or the walk of a nested record or list.
struct ExtraDataRec {
  int size = -1;
  std::unique_ptr<FrameInstRec> fi;
  std::unique_ptr<IterRec> iter;
};

// A walk over one template.
struct FrameInstRec {
  XimFrame frame = nullptr;
  std::vector<ExtraDataRec> extra;  // one per template entry
  int cur = 0;                      // current template entry
};

// A walk over the elements of one list.
struct IterRec {
  const XimFrameRec* elem = nullptr;  // the element's template entry
  int max_count = 0;
  bool allow_expansion = true;      // the count is still open
  std::vector<ExtraDataRec> elems;  // one per element, grown as walked
  int cur_no = 0;                   // elements finished
  int sized_upto = 0;               // elements before it have every size set
  FrameIterRec* watch = nullptr;    // counter waiting for element 0
};

// A byte-length counter read while decoding: it closes its list once as
// many bytes as it announced have been read from the list.
struct FrameIterRec {
  Iter iter;
  bool counting;
  uint32_t counted;
  uint32_t end;
};

struct FrameMgrRec {
  FrameInstRec fi;
  uint8_t* area = nullptr;  // borrowed: the caller's buffer
  int idx = 0;
  int byte_swap = 0;    // 1 when the peer's byte order is not the host's
  int total_size = -1;  // limit of put, get and skip; -1 none
  std::vector<std::unique_ptr<FrameIterRec>> iters;
};

// A new manager at index 0 with no size limit; `area` may be null and set
// later. Returns null only when memory runs out.
FrameMgr FrameMgrInit(XimFrame frame, void* area, int byte_swap);
// The same into caller storage; the record releases its walk state in its
// destructor.
void FrameMgrInitWithData(FrameMgrRec* fm, XimFrame frame, void* area, int byte_swap);
// Frees the manager and its walk state, never the buffer. Null is allowed.
void FrameMgrFree(FrameMgr fm);
// FmBufExist when a buffer is already set (and the first one stays).
FmStatus FrameMgrSetBuffer(FrameMgr fm, void* area);

// Puts or gets the next field. `addr` holds the value (put) or receives it
// (get); `width` is its size: 1, 2 or 4 for a number, sizeof(void*) with
// `addr` the address of a pointer for a byte array. Any other width is
// refused with FmInvalidCall and the walk does not move.
FmStatus _FrameMgrPutToken(FrameMgr fm, const void* addr, int width);
FmStatus _FrameMgrGetToken(FrameMgr fm, void* addr, int width);

namespace ximframe {
template <class T>
constexpr bool IsFieldValue() {
  return (std::is_integral<T>::value || std::is_enum<T>::value) &&
         (sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4);
}
}  // namespace ximframe

// Typed forms: a number of 1, 2 or 4 bytes, or a pointer to the bytes of a
// byte array. A wider variable is a compile-time error.
template <class T>
FmStatus FrameMgrPutToken(FrameMgr fm, T value) {
  static_assert(ximframe::IsFieldValue<T>() || std::is_pointer<T>::value,
                "wire fields are 1, 2 or 4 bytes wide: narrow the value first");
  return _FrameMgrPutToken(fm, &value, static_cast<int>(sizeof(T)));
}
template <class T>
FmStatus FrameMgrGetToken(FrameMgr fm, T& value) {
  static_assert(ximframe::IsFieldValue<T>() || std::is_pointer<T>::value,
                "wire fields are 1, 2 or 4 bytes wide: read into a uint32_t");
  static_assert(!std::is_const<T>::value, "cannot get into a constant");
  return _FrameMgrGetToken(fm, &value, static_cast<int>(sizeof(T)));
}

// Gives the first byte array whose size is unset, in walk order, that size
// (growing an open list by one element when all its elements are sized);
// FmNoMoreData when there is none. Negative sizes are refused.
FmStatus FrameMgrSetSize(FrameMgr fm, int size);
// Closes the first list that has no count yet, in walk order, at `count`;
// FmNoMoreData when there is none.
FmStatus FrameMgrSetIterCount(FrameMgr fm, int count);
// The limit after which put, get and skip return FmNoMoreData. A decoder
// must set it to the message's real length before its first get.
FmStatus FrameMgrSetTotalSize(FrameMgr fm, int size);
// The size in bytes of the whole message with the sizes and counts set so
// far; -1 while a byte array's size is unset.
int FrameMgrGetTotalSize(FrameMgr fm);
// The size set for the byte array at the current position; -1 when it is
// unset or the current item is no byte array.
int FrameMgrGetSize(FrameMgr fm);
// Skips n items (not inside a list: FmInvalidCall; past the end: FmEOD).
FmStatus FrameMgrSkipToken(FrameMgr fm, int n);
// Index 0 and every walk back to its start; sizes and counts stay.
void FrameMgrReset(FrameMgr fm);
// 1 when the list at the current position has no further element, after
// stepping over any padding in front of it; 0 otherwise. Also 1, with
// *status FmNoMoreData, when the next field would cross the size limit, so
// that a loop over a list always ends. *status is FmSuccess otherwise.
int FrameMgrIsIterLoopEnd(FrameMgr fm, FmStatus* status);
